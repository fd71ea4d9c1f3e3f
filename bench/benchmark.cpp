#include "benchmark.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <limits>

namespace bench {

void report(const char *name, double value, const char *unit)
{
    std::printf("%s: %.3g %s\n", name, value, unit);
    std::fflush(stdout);
}

double bestSeconds(const std::function<void()> &work, double minSeconds, int minRuns)
{
    double best = std::numeric_limits<double>::max();
    double total = 0;
    QElapsedTimer timer;
    for (int run = 0; run < minRuns || total < minSeconds; ++run) {
        timer.start();
        work();
        const double seconds = double(timer.nsecsElapsed()) * 1e-9;
        total += seconds;
        if (seconds < best)
            best = seconds;
    }
    return best;
}

QString scratchPath(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

} // namespace bench
