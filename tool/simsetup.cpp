#include "tool/simsetup.h"

#include "simulator/simdriver.h"

#include <QString>
#include <QStringList>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int FirstApplicationPage = 16;   // 0x08004000 / 1024
constexpr int LastApplicationPage = 127;
constexpr int WritePageRequest = 3;

// Where the words come from, for the messages.
const char *programName = "vn274-tool-sim";
QString variableName = QStringLiteral("VN274_TOOL_SIM");

[[noreturn]] void refuse(const QString &message)
{
    std::fprintf(stderr, "%s: %s\n", programName, qPrintable(message));
    std::exit(2);
}

// The number after the prefix in a word ("unplugged-at-page-40": 40), from
// least to most; -1 for a word without the prefix.
int numberAfter(const QString &word, const QString &prefix, int least, int most, const QString &what)
{
    if (!word.startsWith(prefix))
        return -1;
    bool ok = false;
    const int number = word.mid(prefix.size()).toInt(&ok);
    if (!ok || number < least || number > most)
        refuse(QStringLiteral("'%1' in %2 names no %3 (%4 to %5)").arg(word, variableName, what).arg(least).arg(most));
    return number;
}

// False for a word that is no fault.
bool plantFault(const sim::Driver &driver, const QString &fault)
{
    if (fault == QLatin1String("never-back"))
        driver.setNeverReturns(true);
    else if (fault == QLatin1String("stays-in-bootloader"))
        driver.setStaysInBootloader(true);
    else if (const int page = numberAfter(fault, QStringLiteral("unplugged-at-page-"), FirstApplicationPage,
                                          LastApplicationPage, QStringLiteral("application page"));
             page >= 0)
        // The pages are written in order, one request 3 each.
        driver.unplugAtTransfer(WritePageRequest, page - FirstApplicationPage);
    else if (const int milliseconds = numberAfter(fault, QStringLiteral("latency-"), 0, 2000, QStringLiteral("latency in ms"));
             milliseconds >= 0)
        driver.setLatency(milliseconds);
    else
        return false;
    return true;
}

// Another Vn274 after the first: "240611028" runs its application,
// "240611028b" its bootloader; faults follow after colons.
void addDriver(const QString &description)
{
    QStringList parts = description.split(QLatin1Char(':'));
    const QByteArray serial = parts.takeFirst().toLatin1();
    const bool bootloader = serial.size() == 10 && serial.endsWith('b');
    const QByteArray number = bootloader ? serial.left(9) : serial;
    if (number.isEmpty() || number.size() > 9)
        refuse(QStringLiteral("'%1' in %2 is not a serial number").arg(QString::fromLatin1(serial), variableName));
    const sim::Driver driver = sim::addDriver(number, bootloader ? sim::Mode::Bootloader : sim::Mode::Application);
    for (const QString &fault : std::as_const(parts))
        if (!plantFault(driver, fault))
            refuse(QStringLiteral("unknown fault '%1' in %2").arg(fault, variableName));
}

} // namespace

void setUpSimulatedDriver(const char *variable, const char *program)
{
    programName = program;
    variableName = QString::fromLatin1(variable);
    const QStringList words = qEnvironmentVariable(variable).split(QLatin1Char(','), Qt::SkipEmptyParts);
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
            addDriver(word.mid(7));
        } else if (!plantFault(sim::driver(0), word)) {
            refuse(QStringLiteral("unknown word '%1' in %2").arg(word, variableName));
        }
    }
}
