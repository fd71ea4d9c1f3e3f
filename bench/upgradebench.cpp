// A complete firmware change against the simulated driver, as the "Firmware
// Change" worker runs it, without its waits for the driver's restarts; and
// changes with those waits, of one driver and of eight at once.
#include "benchmark.h"
#include "firmwarehex.h"

#include "simulator/simdriver.h"
#include "upgrade/concurrentupgrade.h"
#include "upgrade/upgradefile.h"
#include "upgrade/upgradeprocedure.h"
#include "upgrade/upgradesteps.h"
#include "usb/usbrq518.h"

#include <QElapsedTimer>

#include <algorithm>
#include <ctime>
#include <limits>

namespace {

constexpr int Runs = 10;
constexpr int WaitedRuns = 3;
// The driver is back on the bus this long after request 4, in either
// direction, however often the buses are enumerated meanwhile.
constexpr int RestartMs = 500;
// And every control transfer takes this long on the wire (a full-speed
// transfer of a 1024-byte page spans a frame): what several links overlap.
constexpr int TransferMs = 1;
constexpr int ManyDrivers = 8;

void noWait(unsigned long) {}

// CPU time of the whole process: the tool's code and, in this program, the
// simulated driver's answers too, so the figure is an upper bound.
double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// Drivers in their applications, from the fresh one of sim::reset() on.
void setUpDrivers(int count)
{
    sim::reset();
    for (int i = 1; i < count; ++i)
        sim::addDriver(QByteArray::number(240611027 + i));
    for (int i = 0; i < count; ++i) {
        sim::driver(i).setReenumeration(std::numeric_limits<int>::max(), RestartMs);
        sim::driver(i).setLatency(TransferMs);
    }
}

// The wall-clock time of the change of `count` drivers at once, the waits
// for the restarts included.
double waitedChangeSeconds(const QString &upg, int count)
{
    setUpDrivers(count);
    ConcurrentUpgrade upgrade;
    if (!upgrade.setRelease(upg))
        qFatal("the benchmark's release was refused");
    QElapsedTimer clock;
    clock.start();
    for (const QByteArray &serial : ConcurrentUpgrade::connectedDrivers())
        upgrade.start(serial);
    upgrade.waitUntilIdle();
    const double seconds = double(clock.nsecsElapsed()) * 1e-9;
    for (const DriverResult &result : upgrade.results())
        if (result.ending != DriverResult::Ending::Succeeded)
            qFatal("the benchmark's change of %s failed: %s", result.serial.constData(), qPrintable(result.outcome));
    if (upgrade.results().size() != count)
        qFatal("the benchmark changed %d drivers of %d", int(upgrade.results().size()), count);
    return seconds;
}

} // namespace

void measureUpgrade()
{
    const QString upg = bench::signedSampleRelease();

    upgradesteps::setSleepFunction(noWait);
    double best = std::numeric_limits<double>::max();
    qsizetype transfers = 0;
    for (int run = 0; run < Runs; ++run) {
        sim::reset();   // a driver running its application, as in use
        USBRQ518 usb;
        const double start = processCpuSeconds();
        const bool upgraded = runFirmwareUpgrade(usb, upg, UpgradeProgress());
        const double spent = processCpuSeconds() - start;
        if (!upgraded || sim::mode() != sim::Mode::Application)
            qFatal("the benchmark's firmware change failed");
        best = std::min(best, spent);
        transfers = sim::transfers().size();
    }
    upgradesteps::setSleepFunction(nullptr);

    bench::report("upgrade_cpu_ms", best * 1e3, "ms");
    bench::report("upgrade_transfers", double(transfers), "transfers");
}

void measureConcurrentUpgrade()
{
    const QString upg = bench::signedSampleRelease();
    double one = std::numeric_limits<double>::max();
    double many = std::numeric_limits<double>::max();
    for (int run = 0; run < WaitedRuns; ++run) {
        one = std::min(one, waitedChangeSeconds(upg, 1));
        many = std::min(many, waitedChangeSeconds(upg, ManyDrivers));
    }
    bench::report("upgrade_1_ms", one * 1e3, "ms");
    bench::report("upgrade_all_8_ms", many * 1e3, "ms");
    bench::report("upgrade_all_8_ratio", many / one, "x");   // the target: at most 1.25
}
