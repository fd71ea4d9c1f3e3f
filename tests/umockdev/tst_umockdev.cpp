// The real vn274-tool, linked with the system's libusb 0.1, against the
// simulated driver at the kernel's interface: umockdev's preload library
// serves the tool /dev/bus/usb and /sys from a testbed, and hands every read
// and ioctl of the driver's node to the simulator's kernel front. What the
// other tests cannot see shows here: how libusb enumerates, opens, configures
// and talks to the device, and what reaches the tool of a refusal.
//
// Debian's libusb 0.1 is the original 0.1.12 (not libusb-compat), and reads
// neither sysfs nor udev. usb_find_busses lists /dev/bus/usb; usb_find_devices
// opens every node (read-write, else read-only), asks CONNECTINFO for its
// number, reads the device descriptor (18 bytes) and each configuration (its
// first 8 bytes, then the rest), and opens each node once more for
// USBDEVFS_IOCTL (a hub's ports; other devices answer ENOTTY). usb_open opens
// the node again; set_configuration, claim and release_interface are their
// ioctls; usb_control_msg and usb_get_descriptor (string 3, 1000 ms) are
// USBDEVFS_CONTROL. A device that restarts is seen only as a node that is
// gone at the next usb_find_devices and another number that has appeared.

#include "emulatedbuses.h"
#include "usbfshandler.h"
#include "toolprocess.h"

#include "common/testfiles.h"
#include "shows/showtables.h"
#include "simulator/simdriver.h"
#include "upgrade/upgradefile.h"

#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

#include <csignal>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr char ConnectingOpen[] = "SETCONFIGURATION 1";

bool isVn274Node(const NodeCall &call, const QStringList &vn274Nodes)
{
    return vn274Nodes.contains(call.node);
}

// The Vn274's node paths as the handler saw them, in the order first used.
QStringList vn274NodesSeen(const QList<NodeCall> &calls)
{
    QStringList nodes;
    for (const NodeCall &call : calls)
        if (call.what == QLatin1String(ConnectingOpen) && !nodes.contains(call.node))
            nodes << call.node;
    return nodes;
}

// The calls through one opening, without the enumeration's reads.
QStringList callsOf(const QList<NodeCall> &calls, int opening)
{
    QStringList seen;
    for (const NodeCall &call : calls)
        if (call.opening == opening)
            seen << QStringLiteral("%1 -> %2").arg(call.what).arg(call.result);
    return seen;
}

QByteArray randomBytes(int size)
{
    QByteArray bytes(size, '\0');
    for (char &b : bytes)
        b = char(QRandomGenerator::global()->bounded(256));
    return bytes;
}

} // namespace

class TstUmockdev : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void info_data();
    void info();
    void connectSequence();
    void programsAndScenesRoundTrip_data();
    void programsAndScenesRoundTrip();
    void upgradeThroughTwoRestarts();
    void upgradeConfirmsTheRestart_data();
    void upgradeConfirmsTheRestart();
    void twoDrivers();
    void stationChangesDriversAsTheyCome();
    void stationKnowsADriverPluggedInAgain_data();
    void stationKnowsADriverPluggedInAgain();
    void stalledRequest();
    void nodeTheUserMayOnlyRead();
    void runawayToolIsKilled();

private:
    ToolRun tool(const QStringList &arguments, Account as = Account(),
                 const std::function<void(const RunningTool &)> &whileRunning = {});

    std::unique_ptr<EmulatedBuses> buses;
    QTemporaryDir files;
};

void TstUmockdev::initTestCase()
{
    // A wrong preload path only warns, and the tool would go to the real /dev.
    QVERIFY2(QFileInfo(QStringLiteral(VN274_UMOCKDEV_PRELOAD)).isFile(),
             "umockdev's preload library " VN274_UMOCKDEV_PRELOAD " is missing (Debian package umockdev)");
    QVERIFY2(QFileInfo(QStringLiteral(VN274_TOOL_PROGRAM)).isExecutable(), VN274_TOOL_PROGRAM);
    QVERIFY(files.isValid());
    // The tool's production record, never the user's.
    qputenv("VN274_DB", files.filePath(QStringLiteral("record.sqlite")).toUtf8());
}

void TstUmockdev::init()
{
    sim::reset();
    buses = std::make_unique<EmulatedBuses>();
}

void TstUmockdev::cleanup()
{
    buses.reset();
    sim::reset();
}

// A run of the tool that must have reached the emulated nodes: anything else
// means the preload did not take and the tool saw the real /dev.
ToolRun TstUmockdev::tool(const QStringList &arguments, Account as,
                          const std::function<void(const RunningTool &)> &whileRunning)
{
    buses->handler().clearCalls();
    ToolRun run = runTool(*buses, arguments, as, 60000, whileRunning);
    bool reached = false;
    for (const NodeCall &call : buses->handler().calls())
        reached = reached || call.what == QLatin1String("OPEN");
    if (!reached) {
        run.finished = false;
        run.err.prepend(QStringLiteral("[the tool opened no emulated node: umockdev's preload did not take, and "
                                       "it saw the real /dev]\n"));
    }
    return run;
}

void TstUmockdev::info_data()
{
    QTest::addColumn<bool>("bootloader");
    QTest::newRow("application") << false;
    QTest::newRow("bootloader") << true;
}

void TstUmockdev::info()
{
    QFETCH(bool, bootloader);
    if (bootloader)
        sim::setMode(sim::Mode::Bootloader);
    sim::setStatusWord(0x80000005);

    const ToolRun run = tool({ "info" });
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.err.isEmpty(), qPrintable(run.err));
    QCOMPARE(run.status, 0);
    const QStringList lines = run.out.split('\n');
    QCOMPARE(lines.at(0), bootloader ? QString("mode: bootloader") : QString("mode: application"));
    QCOMPARE(lines.at(1), bootloader ? QString("serial: 240611027b") : QString("serial: 240611027"));
    QVERIFY(lines.contains("bootloader text 1: Vn274 boot 1.3"));
    QVERIFY(lines.contains("bootloader text 2: Jun 11 2024"));
    QVERIFY(lines.contains("status word: 0x80000005"));
    QCOMPARE(sim::counters().setConfigurations, sim::counters().claims);
    QCOMPARE(sim::counters().releases, sim::counters().claims);
    QCOMPARE(sim::openHandles(), 0);
}

// What libusb does with the node, in order: the enumeration opens it, asks
// for its number and reads the descriptors; usb_open opens it again, and the
// link configures, claims, identifies and reads the serial through it.
void TstUmockdev::connectSequence()
{
    const ToolRun run = tool({ "info" });
    QCOMPARE(run.status, 0);
    const QList<NodeCall> calls = buses->handler().calls();
    QCOMPARE(vn274NodesSeen(calls), QStringList({ "/dev/bus/usb/002/002" }));

    int enumerating = 0;
    int connecting = 0;
    for (const NodeCall &call : calls) {
        if (!isVn274Node(call, { "/dev/bus/usb/002/002" }))
            continue;
        if (!enumerating && call.what == QLatin1String("CONNECTINFO"))
            enumerating = call.opening;
        if (!connecting && call.what == QLatin1String(ConnectingOpen))
            connecting = call.opening;
    }
    QCOMPARE(callsOf(calls, enumerating), QStringList({ "OPEN -> 0", "CONNECTINFO -> 0", "READ 18 -> 18", "READ 8 -> 8",
                                                        "READ 24 -> 24" }));
    const QStringList link = callsOf(calls, connecting);
    QCOMPARE(link.mid(0, 5), QStringList({ "OPEN -> 0", "SETCONFIGURATION 1 -> 0", "CLAIMINTERFACE 0 -> 0",
                                           "CONTROL c0 255 0 0 2 -> 2",       // the identification word
                                           "CONTROL 80 6 771 0 256 -> 20" })); // string descriptor 3
    QCOMPARE(link.last(), QString("RELEASEINTERFACE 0 -> 0"));

    // The transfers as the driver saw them: 2000 ms each, the link's own.
    const QList<sim::Transfer> transfers = sim::transfers();
    QVERIFY(!transfers.isEmpty());
    QCOMPARE(transfers.first().request, 255);
    for (const sim::Transfer &transfer : transfers)
        QCOMPARE(transfer.timeout, 2000);
}

void TstUmockdev::programsAndScenesRoundTrip_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("size");
    QTest::addColumn<quint32>("address");
    QTest::newRow("programs") << "programs" << Shows::ProgramTableSize << Shows::ProgramTableAddress;
    QTest::newRow("scenes") << "scenes" << Shows::SceneTableSize << Shows::SceneTableAddress;
}

void TstUmockdev::programsAndScenesRoundTrip()
{
    QFETCH(QString, table);
    QFETCH(int, size);
    QFETCH(quint32, address);
    const QString suffix = table == "programs" ? ".pgm" : ".scn";

    // A file the tool itself makes, with the driver's random content.
    const QByteArray content = randomBytes(size);
    sim::writeExternalFlash(address, scrambled(content));
    const QString original = files.filePath(table + suffix);
    ToolRun run = tool({ "get-" + table, original });
    QVERIFY2(run.finished && run.status == 0, qPrintable(run.err));

    sim::writeExternalFlash(address, QByteArray(size, char(0xFF)));
    run = tool({ "set-" + table, original });
    QVERIFY2(run.finished && run.status == 0, qPrintable(run.err));
    QCOMPARE(sim::externalFlash(address, size), scrambled(content));

    const QString back = files.filePath(table + "-back" + suffix);
    run = tool({ "get-" + table, back });
    QVERIFY2(run.finished && run.status == 0, qPrintable(run.err));
    QCOMPARE(fileBytes(back), fileBytes(original));
    QCOMPARE(sim::statusWord() & 1, 0u);   // the flash is left to the driver again
}

// The sample release from the driver's application: into the bootloader and
// back into the new application, each time as a new device on the bus.
void TstUmockdev::upgradeThroughTwoRestarts()
{
    const QString sample = QStringLiteral(VN274_SAMPLE_UPGRADE);
    const UpgradeFileContent release = readUpgradeFile(sample);
    QCOMPARE(int(release.result), int(UpgradeFileResult::Ok));

    QElapsedTimer clock;
    clock.start();
    const ToolRun run = tool({ "upgrade", sample });
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.status, 0);
    // The tool of this build pins no release key: it says so.
    QCOMPARE(run.err, QStringLiteral("vn274-tool upgrade: warning: Release signatures are not checked by this build\n"
                                     "vn274-tool upgrade: warning: the record never issued the serial number "
                                     "'240611027'; its firmware change is recorded all the same\n"));
    QVERIFY(run.out.contains("Serial:240611027b"));
    qInfo("upgrade through the real libusb: %lld ms", clock.elapsed());

    QCOMPARE(sim::mode(), sim::Mode::Application);
    QCOMPARE(sim::internalFlash(upgradefile::FlashBase + upgradefile::ApplicationOffset, upgradefile::ApplicationSize),
             release.application);
    QCOMPARE(sim::externalFlash(0, upgradefile::ExternalFlashSize), scrambled(release.externalFlash));

    // The driver was configured under three numbers: before the first
    // restart, in the bootloader, and back in the new application after the
    // second, where the tool looked for it before it ended.
    const QStringList nodes = vn274NodesSeen(buses->handler().calls());
    QCOMPARE(nodes, QStringList({ "/dev/bus/usb/002/002", "/dev/bus/usb/002/003", "/dev/bus/usb/002/004" }));
    QVERIFY(run.out.endsWith("The new application runs on the driver 240611027\n"));
    QCOMPARE(sim::driver(0).deviceNumber(), 4);   // back in the application after the second
    QCOMPARE(fileBytes(buses->root() + "/sys/devices/2-1/devnum"), QByteArray("4"));
    QVERIFY(QFileInfo::exists(buses->root() + "/dev/bus/usb/002/004"));
    QVERIFY(!QFileInfo::exists(buses->root() + "/dev/bus/usb/002/003"));
}

// The change ends only when the new application is back under the driver's
// serial number, seen through the real libusb as the kernel shows it: nodes
// that go and come under new numbers, and one that is root's alone for its
// first 500 ms (as until udev has set its permissions) for a tool run by
// another user. The driver starts in its bootloader: one restart, at the end.
void TstUmockdev::upgradeConfirmsTheRestart_data()
{
    QTest::addColumn<int>("restartMs");       // -1: never back
    QTest::addColumn<QByteArray>("serial");   // it comes back with; empty: its own
    QTest::addColumn<int>("refusedMs");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("last");

    const QString runs = "The new application runs on the driver 240611027";
    const QString gone = "The new application did not start: the driver 240611027 did not come back within 10 s";
    QTest::newRow("back after 0.3 s") << 300 << QByteArray() << 0 << 0 << runs;
    QTest::newRow("back after 3 s") << 3000 << QByteArray() << 0 << 0 << runs;
    QTest::newRow("node refuses opening for 500 ms") << 700 << QByteArray() << 500 << 0 << runs;
    QTest::newRow("never back") << -1 << QByteArray() << 0 << 1 << gone;
    QTest::newRow("back with another serial") << 300 << QByteArray("240611099") << 0 << 1 << gone;
}

void TstUmockdev::upgradeConfirmsTheRestart()
{
    QFETCH(int, restartMs);
    QFETCH(QByteArray, serial);
    QFETCH(int, refusedMs);
    QFETCH(int, status);
    QFETCH(QString, last);
    static QMap<int, qint64> runMs;   // of the successful rows, by restart time

    Account as;
    if (refusedMs > 0) {
        if (::geteuid() != 0)
            QSKIP("needs root: runs the tool as the unprivileged user nobody");
        const struct passwd *nobody = ::getpwnam("nobody");
        QVERIFY(nobody);
        as = Account{ nobody->pw_uid, nobody->pw_gid };
        buses->setVn274NodeMode(0666);
        buses->openToOtherUsers();
    }
    // The tool keeps its production record where the user it runs as may write.
    QTemporaryDir ownRecord;
    QVERIFY(ownRecord.isValid());
    if (refusedMs > 0)
        QVERIFY(::chown(QFile::encodeName(ownRecord.path()).constData(), as.uid, as.gid) == 0);
    const QByteArray sharedRecord = qgetenv("VN274_DB");
    qputenv("VN274_DB", ownRecord.filePath(QStringLiteral("record.sqlite")).toUtf8());
    const auto restoreRecord = qScopeGuard([&] { qputenv("VN274_DB", sharedRecord); });
    sim::setMode(sim::Mode::Bootloader);
    sim::setReenumeration(1000000, qMax(0, restartMs));
    sim::setNeverReturns(restartMs < 0);
    sim::setReturnSerial(serial);
    sim::refuseOpenAfterReturn(refusedMs);

    QElapsedTimer clock;
    clock.start();
    const ToolRun run = tool({ "upgrade", QStringLiteral(VN274_SAMPLE_UPGRADE) }, as);
    const qint64 elapsed = clock.elapsed();
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.status, status);
    QCOMPARE(run.out.trimmed().section('\n', -1), last);
    qInfo("%s: %lld ms", QTest::currentDataTag(), elapsed);
    if (refusedMs > 0)
        QVERIFY(buses->pendingShown() > 0);   // the tool met the refusal and tried again
    if (status != 0)
        return;
    // The change's wall time grows by no more than the driver's own restart
    // time: the 1000 ms after "run application" are part of it.
    runMs[restartMs] = elapsed;
    if (runMs.contains(300) && runMs.contains(3000))
        QVERIFY2(runMs[3000] - runMs[300] <= 3000 - 1000 + 200 + 300,
                 qPrintable(QString("%1 ms against %2 ms").arg(runMs[3000]).arg(runMs[300])));
}

// Two drivers: the list as libusb enumerates them, and an upgrade of the
// second that follows it by its serial through both its restarts while the
// first, listed before it, stays as it was.
void TstUmockdev::twoDrivers()
{
    const sim::Driver second = sim::addDriver("241231001");
    sim::writeExternalFlash(0, "first");
    ToolRun run = tool({ "list" });
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.status, 0);
    QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    lines.sort();
    QCOMPARE(lines, QStringList({ "bus 002 device 002 application 240611027",
                                  "bus 002 device 003 application 241231001" }));

    // While the second is in its bootloader, a third driver is plugged in and
    // the first taken away (their uevents go out): neither is the tool's business.
    const QString sample = QStringLiteral(VN274_SAMPLE_UPGRADE);
    bool cameAndWent = false;
    run = tool({ "upgrade", "--serial", "241231001", sample }, Account(), [&](const RunningTool &) {
        if (!cameAndWent && second.onBus() && second.mode() == sim::Mode::Bootloader) {
            cameAndWent = true;
            sim::addDriver("241231002");
            sim::unplug();
        }
    });
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.status, 0);
    QVERIFY(cameAndWent);
    for (const sim::Transfer &transfer : sim::driver(2).transfers())
        QCOMPARE(transfer.request, 255);   // identified, nothing more
    const UpgradeFileContent release = readUpgradeFile(sample);
    QCOMPARE(second.internalFlash(upgradefile::FlashBase + upgradefile::ApplicationOffset,
                                  upgradefile::ApplicationSize), release.application);
    QCOMPARE(second.mode(), sim::Mode::Application);
    QCOMPARE(second.deviceNumber(), 6);   // the third took 5
    QCOMPARE(sim::internalFlash(upgradefile::FlashBase + upgradefile::ApplicationOffset, 16), QByteArray(16, char(0xFF)));
    QCOMPARE(sim::externalFlash(0, 5), QByteArray("first"));
    QCOMPARE(sim::mode(), sim::Mode::Application);
}

// The station under the real libusb and udev's monitor: the driver there at
// the start is changed; two more are added to the testbed while it runs, each
// with its "add" uevent, and changed beside it; the third's cable comes out
// at its page 40, and that is said on its line alone. With --again: the
// drivers' own restarts (each a "remove" and an "add" under a new number,
// some told only after the change has ended) are never taken for drivers
// plugged in again.
void TstUmockdev::stationChangesDriversAsTheyCome()
{
    bool added = false;
    const ToolRun run = tool({ "station", "--again", "--count", "3", QStringLiteral(VN274_SAMPLE_UPGRADE) }, Account(),
                             [&](const RunningTool &running) {
                                 if (added || !running.out.contains("240611027: arrived"))
                                     return;
                                 added = true;
                                 sim::addDriver("240611028");
                                 sim::addDriver("240611029").unplugAtTransfer(3, 40 - 16);
                             });
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out.count(": arrived in application mode; "), 3);
    QVERIFY2(!run.out.contains("plugged in again"), qPrintable(run.out));
    for (const QString &line : { "240611027: the new application runs\n", "240611028: the new application runs\n",
                                 "240611029: ERROR (writing the application)\n" })
        QVERIFY2(run.out.contains(line), qPrintable(run.out));
    QVERIFY2(run.out.endsWith("summary: 2 changed, 1 failed, 0 skipped\n  changed: 240611027, 240611028\n"
                              "  failed: 240611029\n"), qPrintable(run.out));

    const UpgradeFileContent release = readUpgradeFile(QStringLiteral(VN274_SAMPLE_UPGRADE));
    for (int i : { 0, 1 }) {
        QCOMPARE(sim::driver(i).mode(), sim::Mode::Application);
        QCOMPARE(sim::driver(i).internalFlash(upgradefile::FlashBase + upgradefile::ApplicationOffset,
                                              upgradefile::ApplicationSize), release.application);
    }
    QVERIFY(!sim::driver(2).onBus());
}

void TstUmockdev::stationKnowsADriverPluggedInAgain_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("line");     // once it is plugged in again
    QTest::addColumn<int>("changes");

    QTest::newRow("known by its serial number") << QStringList() << "240611027: plugged in again; changed in this run "
                                                                    "already, not changed again\n" << 1;
    QTest::newRow("--again: changed anew") << QStringList("--again")
                                           << "240611027: plugged in again; never issued by the production record; "
                                              "its change begins anew\n" << 2;
}

// The driver is unplugged and plugged in again the moment its change has
// ended, while the uevents of its own last restart may still be on their
// way: it is known by its serial number and not changed again, unless
// --again. Ctrl+C then ends the station with its summary.
void TstUmockdev::stationKnowsADriverPluggedInAgain()
{
    QFETCH(QStringList, options);
    QFETCH(QString, line);
    QFETCH(int, changes);

    bool replugged = false;
    bool interrupted = false;
    const ToolRun run = tool(QStringList({ "station", "--count", "2", QStringLiteral(VN274_SAMPLE_UPGRADE) }) + options,
                             Account(), [&](const RunningTool &running) {
                                 if (!replugged && running.out.contains("240611027: the new application runs")) {
                                     replugged = true;
                                     sim::unplug();
                                     sim::plug();
                                 }
                                 if (replugged && !interrupted && running.out.contains(line)) {
                                     interrupted = true;
                                     ::kill(running.pid, SIGINT);
                                 }
                             });
    QVERIFY2(run.finished, qPrintable(run.err));
    QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
    QVERIFY(interrupted);
    QCOMPARE(run.out.count(line), 1);
    QCOMPARE(run.out.count("240611027: the new application runs\n"), changes);
    QVERIFY2(run.out.endsWith("summary: 1 changed, 0 failed, 0 skipped\n  changed: 240611027\n"), qPrintable(run.out));
}

// A request the driver stalls: the tool says what it could not do, status 1.
void TstUmockdev::stalledRequest()
{
    sim::failTransfers(9, sim::Forever, 0, EPIPE);
    const ToolRun run = tool({ "info" });
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QString("vn274-tool info: cannot read the status word\n"));
    QVERIFY(run.out.contains("mode: application"));
    bool stalled = false;
    for (const NodeCall &call : buses->handler().calls())
        stalled = stalled || (call.what == "CONTROL c0 9 0 0 4" && call.result == -EPIPE);
    QVERIFY(stalled);
}

// The driver is plugged in but its node (0664, root) is not the user's to
// write: libusb opens it for reading only, and the kernel refuses the
// configuration with EPERM.
void TstUmockdev::nodeTheUserMayOnlyRead()
{
    if (::geteuid() != 0)
        QSKIP("needs root: runs the tool as the unprivileged user nobody");
    const struct passwd *nobody = ::getpwnam("nobody");
    QVERIFY(nobody);
    buses->setVn274NodeMode(0664);
    buses->openToOtherUsers();

    const ToolRun run = tool({ "info" }, Account{ nobody->pw_uid, nobody->pw_gid });
    QVERIFY2(run.finished, qPrintable(run.err));
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("this user may not open it (permission denied)"), qPrintable(run.err));
    QVERIFY(run.err.contains("60-vn274.rules"));
    QVERIFY(run.out.isEmpty());

    bool refused = false;
    for (const NodeCall &call : buses->handler().calls()) {
        QVERIFY2(!call.what.startsWith("CLAIMINTERFACE") && !call.what.startsWith("CONTROL"), qPrintable(call.what));
        refused = refused || (call.what == QLatin1String(ConnectingOpen) && call.result == -EPERM);
    }
    QVERIFY(refused);
    QCOMPARE(sim::counters().setConfigurations, 0);
    QVERIFY(sim::transfers().isEmpty());
}

// A tool that waits for ever (a libusb time-out the emulation does not model)
// is ended by the harness, not by CTest.
void TstUmockdev::runawayToolIsKilled()
{
    sim::setLatency(600);     // info makes more than four transfers: 2400 ms
    QElapsedTimer clock;
    clock.start();
    const ToolRun run = runTool(*buses, { "info" }, Account(), 300);
    QVERIFY(!run.finished);
    QVERIFY(run.err.endsWith("[killed after 300 ms]"));
    QVERIFY(clock.elapsed() < 2400);
}

QTEST_GUILESS_MAIN(TstUmockdev)
#include "tst_umockdev.moc"
