#include "tool/simsetup.h"

#include "simulator/simdriver.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

void setUpSimulatedDriver()
{
    const QStringList words = qEnvironmentVariable("VN274_TOOL_SIM").split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString &word : words) {
        if (word == QLatin1String("bootloader")) {
            sim::setMode(sim::Mode::Bootloader);
        } else if (word == QLatin1String("unplugged")) {
            sim::unplug();
        } else if (word == QLatin1String("no-permission")) {
            sim::refuseOpen(EACCES);
        } else if (word == QLatin1String("read-only")) {
            sim::refuseSetConfiguration(sim::Forever, EPERM);
        } else {
            std::fprintf(stderr, "vn274-tool-sim: unknown word '%s' in VN274_TOOL_SIM\n", qPrintable(word));
            std::exit(2);
        }
    }
}
