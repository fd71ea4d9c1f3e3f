// vn274-guiprobe: the measurements of vn274-bench that need a GUI process of
// their own. vn274-bench starts it; by hand:
//   vn274-guiprobe window T0        the program's start (translation, main
//                                   window) until the window's first paint;
//                                   prints "<ms since T0> <width> <height>"
//   vn274-guiprobe bare T0 W H      the same for a bare QMainWindow of W x H
//   vn274-guiprobe labelled T0 W H  the bare window with one line of text, so
//                                   Qt's font set-up, which any text pays
//   vn274-guiprobe edits            first_programs_tab_ms (its lamp editors made),
//                                   undo_ms, step_move_ms on full tables
//   vn274-guiprobe alldrivers UPG   the window's event loop while "Change
//                                   Firmware Of All Drivers…" changes eight
//                                   simulated drivers from UPG: the longest
//                                   gap between two ticks of a 10 ms timer
// T0 is the starter's CLOCK_MONOTONIC in nanoseconds, so the time counted runs
// from before the process was made.
#include "app/startup.h"
#include "app/userprompts.h"
#include "app/vn274_bootloader.h"
#include "simulator/udevfront.h"
#include "upgrade/alldriversdialog.h"
#include "usb/driverwatcher.h"
#include "shows/editedtable.h"
#include "shows/programoverview.h"
#include "shows/showtables.h"
#include "simulator/simdriver.h"
#include "usb/transferscrambling.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QRandomGenerator>
#include <QTabWidget>
#include <QUndoStack>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace {

qint64 monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Reports the first paint of the window, counted from t0, and ends the loop.
class FirstPaint : public QObject
{
public:
    FirstPaint(QWidget *window, qint64 t0) : window(window), t0(t0) { window->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == window && event->type() == QEvent::Paint) {
            const double ms = double(monotonicNs() - t0) / 1e6;
            timespec cpu {};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
            const double cpuMs = double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6;
            std::printf("%.2f %d %d %.2f\n", ms, window->width(), window->height(), cpuMs);
            std::fflush(stdout);
            // Shown: that is all there is to measure. Ending here leaves the
            // tearing down out of a profile (valgrind --tool=callgrind) too.
            std::_Exit(0);
        }
        return false;
    }

private:
    QWidget *window;
    qint64 t0;
};

void dropDebugOutput(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

struct Times
{
    QList<double> wall;
    QList<double> cpu;   // the GUI thread's own, less of the rest of the machine
};

void report(const char *name, const Times &times)
{
    std::printf("%s: %.3g ms\n%s_worst: %.3g ms\n", name, median(times.wall), name,
                *std::max_element(times.wall.begin(), times.wall.end()));
    std::printf("%s_cpu: %.3g ms\n%s_cpu_worst: %.3g ms\n", name, median(times.cpu), name,
                *std::max_element(times.cpu.begin(), times.cpu.end()));
}

double threadCpuMs()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// Each operation on full tables, then the tab's editor and strip repainted
// at once, as the next frame would.
int measureEdits()
{
    qInstallMessageHandler(dropDebugOutput);
    QRandomGenerator random(16);
    QByteArray programs(Shows::ProgramTableSize, '\0');
    for (char &byte : programs)
        byte = char(random.bounded(256));
    encodeTransfer(programs.data(), int(programs.size()));
    sim::reset();
    sim::writeExternalFlash(Shows::ProgramTableAddress, programs);

    // The window opens on Settings; the Programs tab's lamp editors are made
    // when it is first shown, once per window.
    Vn274_bootloader window;
    window.show();
    QCoreApplication::processEvents();
    QWidget *tab = window.findChild<QWidget *>("tabPrograms");
    QElapsedTimer firstShow;
    firstShow.start();
    const double firstShowCpu = threadCpuMs();
    window.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(1);
    tab->repaint();
    std::printf("first_programs_tab_ms: %.3g ms\nfirst_programs_tab_cpu_ms: %.3g ms\n",
                double(firstShow.nsecsElapsed()) / 1e6, threadCpuMs() - firstShowCpu);
    auto *strip = window.findChild<ProgramOverview *>("programOverview");
    QUndoStack *history = window.programEdits()->history();
    window.slotpushButtonGetProgramsFromVn274(false);

    const auto timed = [tab](Times &times, const std::function<void()> &operation) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = threadCpuMs();
        operation();
        tab->repaint();
        times.cpu << threadCpuMs() - cpuStart;
        times.wall << double(timer.nsecsElapsed()) / 1e6;
    };
    Times moves;
    for (int i = 0; i < 200; ++i) {
        const int from = random.bounded(20);
        const int to = random.bounded(20);
        timed(moves, [&] { emit strip->stepDropped(from, to == from ? (to + 1) % 20 : to, false); });
    }
    Times undos;
    while (history->canUndo())   // the moves, then the Get of a whole table
        timed(undos, [history] { history->undo(); });
    Times redos;
    while (history->canRedo())
        timed(redos, [history] { history->redo(); });
    report("step_move_ms", moves);
    report("undo_ms", undos);
    report("redo_ms", redos);
    return 0;
}

// Gives the dialog its release; a question (there is none) is answered no.
class ReleasePrompts : public UserPrompts
{
public:
    explicit ReleasePrompts(const QString &release) : release(release) {}
    QString getOpenFileName(QWidget *, const QString &, const QString &, const QString &) override { return release; }

private:
    QString release;
};

int measureAllDriversDialog(const QString &release)
{
    constexpr int Drivers = 8;
    constexpr int TickMs = 10;
    qInstallMessageHandler(dropDebugOutput);
    // The drivers restart as the real ones do: back 500 ms after request 4,
    // and each transfer spends a millisecond on the wire.
    sim::reset();
    for (int i = 1; i < Drivers; ++i)
        sim::addDriver(QByteArray::number(240611027 + i));
    for (int i = 0; i < Drivers; ++i) {
        sim::driver(i).setReenumeration(std::numeric_limits<int>::max(), 500);
        sim::driver(i).setLatency(1);
    }
    QTemporaryDir scratch;
    qputenv("VN274_DB", scratch.filePath(QStringLiteral("record.sqlite")).toUtf8());
    ReleasePrompts prompts(release);
    UserPrompts::install(&prompts);
    // The window hears of the drivers as the demo's does.
    Vn274_bootloader::setDriverEventSource([](DriverWatcher &watcher) { (new sim::UdevFront(&watcher))->start(); });

    Vn274_bootloader window;
    window.show();
    QCoreApplication::processEvents();

    QElapsedTimer clock;
    qint64 last = 0;
    qint64 longest = 0;
    int ticks = 0;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longest = std::max(longest, now - last);
        last = now;
        ++ticks;
    });
    clock.start();
    tick.start(TickMs);
    QElapsedTimer opening;
    opening.start();
    window.findChild<QAction *>("actionChangeFirmwareOfAllDrivers")->trigger();
    const qint64 openingNs = opening.nsecsElapsed();
    AllDriversDialog *dialog = window.allDriversDialog();
    if (!dialog || !dialog->changing())
        qFatal("the dialog changes no driver");
    QEventLoop loop;
    QObject::connect(dialog, &AllDriversDialog::changesEnded, &loop, &QEventLoop::quit);
    loop.exec();
    tick.stop();
    const qint64 total = clock.nsecsElapsed();
    UserPrompts::install(nullptr);
    for (const DriverResult &result : dialog->upgrade().results())
        if (result.ending != DriverResult::Ending::Succeeded)
            qFatal("the change of %s failed: %s", result.serial.constData(), qPrintable(result.outcome));

    std::printf("alldrivers_8_tick_gap_ms: %.3g ms\n", double(longest) / 1e6);
    // Checking the release, finding the drivers and opening the record and
    // the dialog, before the first change starts: in the gap above.
    std::printf("alldrivers_8_opening_ms: %.3g ms\n", double(openingNs) / 1e6);
    std::printf("alldrivers_8_ticks: %d ticks in %.3g s\n", ticks, double(total) / 1e9);
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QString mode = argc > 1 ? QString::fromLatin1(argv[1]) : QString();
    if (mode == QLatin1String("edits"))
        return measureEdits();
    if (mode == QLatin1String("alldrivers") && argc == 3)
        return measureAllDriversDialog(QString::fromLocal8Bit(argv[2]));
    if (argc < 3)
        return 2;
    const qint64 t0 = QByteArray(argv[2]).toLongLong();
    if (mode == QLatin1String("window")) {
        std::unique_ptr<FirstPaint> watch;
        return runMainWindow(QLocale::system().name(), [&](Vn274_bootloader &window, const QTranslator &) {
            watch = std::make_unique<FirstPaint>(&window, t0);
        });
    }
    if ((mode == QLatin1String("bare") || mode == QLatin1String("labelled")) && argc == 5) {
        QMainWindow window;
        if (mode == QLatin1String("labelled"))
            window.setCentralWidget(new QLabel(QStringLiteral("Vn274")));
        window.resize(QByteArray(argv[3]).toInt(), QByteArray(argv[4]).toInt());
        FirstPaint watch(&window, t0);
        window.show();
        return QApplication::exec();
    }
    return 2;
}
