// A complete firmware change against the simulated driver, as the "Firmware
// Change" worker runs it, without its waits for the driver's restarts.
#include "benchmark.h"
#include "firmwarehex.h"

#include "simulator/simdriver.h"
#include "upgrade/upgradefile.h"
#include "upgrade/upgradeprocedure.h"
#include "upgrade/upgradesteps.h"
#include "usb/usbrq518.h"

#include <algorithm>
#include <ctime>
#include <limits>

namespace {

constexpr int Runs = 10;

void noWait(unsigned long) {}

// CPU time of the whole process: the tool's code and, in this program, the
// simulated driver's answers too, so the figure is an upper bound.
double processCpuSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

} // namespace

void measureUpgrade()
{
    const QString upg = bench::scratchPath("upgrade.upg");
    const UpgradeImage built = buildUpgradeImage(bench::firmwareHexFile());
    if (!writeUpgradeFile(upg, built.image) || !bench::signRelease(upg))
        qFatal("cannot make the benchmark's signed upgrade file (minisign: Debian package minisign)");

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
