#include "tool/simsetup.h"

#include "simulator/simdriver.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

// Another Vn274 after the first: "240611028" runs its application,
// "240611028b" its bootloader.
void addDriver(const QByteArray &serial)
{
    const bool bootloader = serial.size() == 10 && serial.endsWith('b');
    const QByteArray number = bootloader ? serial.left(9) : serial;
    if (number.isEmpty() || number.size() > 9) {
        std::fprintf(stderr, "vn274-tool-sim: '%s' in VN274_TOOL_SIM is not a serial number\n", serial.constData());
        std::exit(2);
    }
    sim::addDriver(number, bootloader ? sim::Mode::Bootloader : sim::Mode::Application);
}

} // namespace

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
        } else if (word.startsWith(QLatin1String("driver="))) {
            addDriver(word.mid(7).toLatin1());
        } else {
            std::fprintf(stderr, "vn274-tool-sim: unknown word '%s' in VN274_TOOL_SIM\n", qPrintable(word));
            std::exit(2);
        }
    }
}
