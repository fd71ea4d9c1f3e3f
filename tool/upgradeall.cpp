// upgrade --all: every connected driver, or those --serial names, changed at
// once from one release.
#include "tool/commands.h"

#include "tool/drivers.h"
#include "tool/driversdisplay.h"
#include "tool/firmwarechanges.h"
#include "tool/interruption.h"
#include "tool/record.h"

#include <QJsonObject>
#include <QVariantList>

namespace tool {

namespace {

const QString JsonOption = QStringLiteral("json");

// The closing table: serial number, seconds, result line, in the order of
// the drivers' lines. The result comes last, for a long one runs over the
// terminal's width.
void printTable(Console &console, const QList<DriverResult> &results)
{
    QList<QVariantList> rows;
    for (const DriverResult &result : results)
        rows << QVariantList{ QString::fromLatin1(result.serial),
                              QString::number(double(result.milliseconds) / 1000.0, 'f', 1).rightJustified(7),
                              resultLine(result) };
    printRows(console, ListFormat::Text, QString(), { "serial", "seconds", "result" }, rows);
}

QStringList serialsOf(const QList<DriverResult> &results, ChangeEnding ending)
{
    QStringList serials;
    for (const DriverResult &result : results)
        if (result.ending == ending)
            serials << QString::fromLatin1(result.serial);
    return serials;
}

// The exit status, said: an interruption first, as for one driver, then any
// driver whose new application does not run.
int ending(Console &console, const QList<DriverResult> &results, int status)
{
    const QStringList stopped = serialsOf(results, ChangeEnding::Interrupted);
    if (!stopped.isEmpty())
        return console.fail(ExitInterrupted, QStringLiteral("interrupted again: the changes of the drivers %1 were "
                                                            "stopped; they may be left in their bootloaders")
                                                     .arg(stopped.join(QStringLiteral(", "))));
    if (InterruptGuard::interrupted())
        return console.fail(ExitInterrupted, QStringLiteral("interrupted; the changes in progress ran to their end "
                                                            "first"));
    const QStringList failed = serialsOf(results, ChangeEnding::Failed);
    if (!failed.isEmpty())
        return console.fail(ExitFailure, QStringLiteral("the firmware change failed on %1 of %2 drivers: %3")
                                                 .arg(failed.size())
                                                 .arg(results.size())
                                                 .arg(failed.join(QStringLiteral(", "))));
    return status;
}

} // namespace

int upgradeAll(const QString &fileName, const Arguments &args, Console &console)
{
    const bool json = args.has(JsonOption);
    ConcurrentUpgrade upgrade;
    if (const int refused = setRelease(upgrade, fileName, console))
        return refused;
    // A line that asked for a record changes no firmware it cannot record.
    OpenedRecord record = openRecord(args, console, RecordUse::WriteOrWarn);
    if (record.status != ExitSuccess)
        return record.status;
    upgrade.setRecord(record.database.get());

    USBRQ518 usb;
    QList<DriverOnBus> drivers;
    QList<UsbDevice::FoundDevice> unusable;
    if (const int refused = chooseDrivers(usb, args, console, &drivers, &unusable))
        return refused;
    // A device that cannot be opened may be a driver left out: said, and the
    // others go on.
    int status = ExitSuccess;
    if (!args.has(SerialOption))
        for (const UsbDevice::FoundDevice &device : std::as_const(unusable))
            status = console.fail(ExitFailure, unusableDevice(device));
    if (drivers.isEmpty()) {
        if (unusable.isEmpty())
            return console.fail(ExitFailure, connectionProblem(UsbDevice::ConnectionFailure::NotFound));
        return status;
    }

    QList<QByteArray> serials;
    for (const DriverOnBus &driver : std::as_const(drivers))
        serials << USBRQ518::serialNumber(driver.serial);
    const QString prefix = QStringLiteral("vn274-tool upgrade: ");
    const InterruptGuard guard(
            prefix + QStringLiteral("interrupted: the changes of %1 drivers will finish, for stopping now would leave "
                                    "them in their bootloaders; interrupt again to stop at once").arg(serials.size()),
            prefix + QStringLiteral("interrupted again: the changes stop at their next step, which may leave the "
                                    "drivers in their bootloaders"));
    const StopRequests stops(upgrade);
    {
        if (!json)
            for (const QString &line : upgrade.releaseLines())
                console.print(line);
        std::unique_ptr<DriversDisplay> display;
        if (!json) {
            display = std::make_unique<DriversDisplay>(console, serials);
            QObject::connect(&upgrade, &ConcurrentUpgrade::driverProgress, display.get(), &DriversDisplay::progress);
            QObject::connect(&upgrade, &ConcurrentUpgrade::driverLine, display.get(), &DriversDisplay::line);
            QObject::connect(&upgrade, &ConcurrentUpgrade::driverFinished, display.get(), &DriversDisplay::finished);
            QObject::connect(&stops, &StopRequests::requested, display.get(), &DriversDisplay::interrupted);
        }
        for (const QByteArray &serial : std::as_const(serials))
            upgrade.start(serial);
        upgrade.waitUntilIdle();
    }

    // In the order of the drivers' lines, not of their endings.
    QList<DriverResult> results;
    for (const QByteArray &serial : std::as_const(serials))
        for (const DriverResult &result : upgrade.results())
            if (result.serial == serial)
                results << result;
    if (json) {
        for (const DriverResult &result : std::as_const(results))
            console.printJson(resultJson(result));
    } else {
        console.print(QString());
        printTable(console, results);
    }
    if (reportRecordProblems(results, record.named, false, console))
        status = ExitFailure;
    return ending(console, results, status);
}

} // namespace tool
