// The program's start beside a bare Qt main window of the same size and beside
// that window with one line of text (medians of 15 starts each, taken in
// turns: on a shared two-core machine the median of 7 still moved by a tenth
// from run to run), and the editing figures, each measured in processes of
// vn274-guiprobe.
#include "benchmark.h"

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {

constexpr int Starts = 15;

QString probe()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/vn274-guiprobe");
}

// Without a display the probes draw off screen, both alike.
QProcessEnvironment probeEnvironment()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    if (!environment.contains(QStringLiteral("QT_QPA_PLATFORM")) && !environment.contains(QStringLiteral("DISPLAY"))
        && !environment.contains(QStringLiteral("WAYLAND_DISPLAY")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    return environment;
}

QStringList runProbe(QStringList arguments, bool timed)
{
    QProcess process;
    process.setProcessEnvironment(probeEnvironment());
    process.setStandardErrorFile(QProcess::nullDevice());
    if (timed) {
        timespec now {};
        clock_gettime(CLOCK_MONOTONIC, &now);
        arguments.insert(1, QString::number(qint64(now.tv_sec) * 1000000000 + now.tv_nsec));
    }
    process.start(probe(), arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        qFatal("vn274-guiprobe %s failed", qPrintable(arguments.join(QLatin1Char(' '))));
    return QString::fromLocal8Bit(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

} // namespace

void measureStartup()
{
    // A first start warms the disk cache and tells the window's size.
    const QStringList size = runProbe({ QStringLiteral("window") }, true).value(0).split(QLatin1Char(' '));
    if (size.size() != 4)
        qFatal("vn274-guiprobe gave no size");
    // Wall-clock time is what the user waits; the process's CPU time is the
    // same start with less of the rest of the machine in it.
    QList<double> program, bare, labelled, programCpu, bareCpu;
    for (int start = 0; start < Starts; ++start) {   // side by side, in turns
        const QStringList window = runProbe({ QStringLiteral("window") }, true).value(0).split(QLatin1Char(' '));
        const QStringList plain = runProbe({ QStringLiteral("bare"), size.at(1), size.at(2) }, true)
                                      .value(0).split(QLatin1Char(' '));
        const QStringList text = runProbe({ QStringLiteral("labelled"), size.at(1), size.at(2) }, true)
                                     .value(0).split(QLatin1Char(' '));
        program << window.value(0).toDouble();
        programCpu << window.value(3).toDouble();
        bare << plain.value(0).toDouble();
        bareCpu << plain.value(3).toDouble();
        labelled << text.value(0).toDouble();
    }
    bench::report("startup_window_ms", median(program), "ms");
    bench::report("startup_bare_window_ms", median(bare), "ms");
    bench::report("startup_ratio", median(program) / median(bare), "x");
    bench::report("startup_window_cpu_ms", median(programCpu), "ms");
    bench::report("startup_bare_window_cpu_ms", median(bareCpu), "ms");
    bench::report("startup_cpu_ratio", median(programCpu) / median(bareCpu), "x");
    // The bare window shows no text, so it never reads the font configuration
    // nor loads a font; this one does, and nothing else.
    bench::report("startup_labelled_window_ms", median(labelled), "ms");
    bench::report("startup_ratio_to_labelled", median(program) / median(labelled), "x");
}

void measureEditing()
{
    for (const QString &line : runProbe({ QStringLiteral("edits") }, false))
        std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// The window's event loop while "Change Firmware Of All Drivers…" changes
// eight simulated drivers with their real restart times: the longest gap
// between two ticks of a 10 ms timer (the target: at most 16 ms), in five
// runs: their median and the worst. On two cores the eight changes' threads
// and the GUI thread take turns, which is most of what a gap holds.
void measureDialogEventLoop()
{
    constexpr int Runs = 5;
    const QString upg = bench::signedSampleRelease();
    QList<double> gaps;
    QList<double> openings;
    for (int run = 0; run < Runs; ++run) {
        for (const QString &line : runProbe({ QStringLiteral("alldrivers"), upg }, false)) {
            const QStringList parts = line.split(QLatin1Char(' '));
            if (parts.value(0) == QLatin1String("alldrivers_8_tick_gap_ms:"))
                gaps << parts.value(1).toDouble();
            else if (parts.value(0) == QLatin1String("alldrivers_8_opening_ms:"))
                openings << parts.value(1).toDouble();
        }
    }
    if (gaps.size() != Runs || openings.size() != Runs)
        qFatal("vn274-guiprobe alldrivers gave no figures");
    bench::report("alldrivers_8_tick_gap_ms", median(gaps), "ms");
    bench::report("alldrivers_8_tick_gap_worst_ms", *std::max_element(gaps.begin(), gaps.end()), "ms");
    bench::report("alldrivers_8_opening_ms", median(openings), "ms");
}
