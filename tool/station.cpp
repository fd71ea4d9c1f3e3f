// station: the drivers there at the start and every driver plugged in
// afterwards, each changed from one release as it comes, beside those in
// progress, until Ctrl+C or --count.
#include "tool/commands.h"

#include "production/serialregister.h"
#include "tool/drivers.h"
#include "tool/firmwarechanges.h"
#include "tool/interruption.h"
#include "tool/record.h"
#include "tool/stationdrivers.h"
#include "usb/driverwatcher.h"

#include <QEventLoop>

namespace tool {

namespace {

bool startUdevMonitor(DriverWatcher &watcher)
{
    return watcher.start();
}

bool (*watchStart)(DriverWatcher &) = startUdevMonitor;

struct StationOptions
{
    bool again = false;        // a driver plugged in again is changed anew
    bool issuedOnly = false;   // a serial number the record never issued is not changed
    int count = 0;             // the station ends after this many changes; 0: never
    bool recordNamed = false;  // a row the record does not take fails the station
};

// What the station does with drivers as they come and their changes as they
// end, and the summary it ends with.
class Station
{
public:
    Station(Console &console, ConcurrentUpgrade &upgrade, RecordDatabase *record, const StationOptions &options)
        : console(console), upgrade(upgrade), record(record), options(options)
    {
    }

    // A driver is there: found at the start, or plugged in (or back from a
    // restart) at the device "BUS/DEVICE".
    void arrived(const QByteArray &serialString, const QString &device);
    void finished(const DriverResult &result);
    void stopRequested() { stopping = true; }

    // Nothing more will start.
    bool closed() const { return stopping || countReached(); }
    // Nothing is in progress either.
    bool over() const { return upgrade.running() == 0 && closed(); }
    // Prints the summary; the exit status.
    int summary() const;

private:
    bool countReached() const { return options.count > 0 && started >= options.count; }
    // Why this driver is not to be changed now (empty: it is), and what is
    // worth saying of it on its line.
    QString refusal(const QByteArray &serial, QStringList *notes) const;
    void say(const QByteArray &serial, const QStringList &parts) const;

    Console &console;
    ConcurrentUpgrade &upgrade;
    RecordDatabase *record;
    const StationOptions options;
    StationDrivers drivers;
    int started = 0;
    bool stopping = false;
    bool recordFailed = false;
};

void Station::say(const QByteArray &serial, const QStringList &parts) const
{
    console.print(QString::fromLatin1(serial) + QStringLiteral(": ") + parts.join(QStringLiteral("; ")));
}

void Station::arrived(const QByteArray &serialString, const QString &device)
{
    const QByteArray serial = USBRQ518::serialNumber(serialString);
    if (serial.isEmpty()) {
        console.print(QStringLiteral("%1: a Vn274 without a serial number arrived; not changed").arg(device));
        return;
    }
    const StationDrivers::Arrival arrival = drivers.arrived(serial, device);
    if (arrival == StationDrivers::Arrival::OwnRestart)
        return;
    const bool again = arrival == StationDrivers::Arrival::PluggedInAgain;
    QStringList parts{ again ? QStringLiteral("plugged in again")
                             : QStringLiteral("arrived in %1 mode").arg(modeWord(serialString)) };
    if (again && !options.again) {
        say(serial, parts << QStringLiteral("changed in this run already, not changed again"));
        return;
    }
    const QString notChanged = refusal(serial, &parts);
    if (!notChanged.isEmpty()) {
        say(serial, parts << QStringLiteral("not changed: ") + notChanged);
        return;
    }
    say(serial, parts << (again ? QStringLiteral("its change begins anew") : QStringLiteral("its change begins")));
    drivers.started(serial);
    ++started;
    upgrade.start(serial);
}

QString Station::refusal(const QByteArray &serial, QStringList *notes) const
{
    // Flagged on its line whatever becomes of it; the record can tell only
    // when there is one.
    bool issued = !record;
    if (record) {
        QString reason;
        const std::optional<bool> known = SerialRegister(*record).wasIssued(QString::fromLatin1(serial), &reason);
        issued = known.value_or(false);
        if (!issued)
            *notes << (known ? QStringLiteral("never issued by the production record")
                             : QStringLiteral("the production record cannot tell whether it issued this serial "
                                              "number: %1").arg(reason));
    }
    if (stopping)
        return QStringLiteral("the station is stopping");
    if (countReached())
        return QStringLiteral("--count %1 reached").arg(options.count);
    if (options.issuedOnly && !issued)
        return QStringLiteral("--issued-only");
    return QString();
}

void Station::finished(const DriverResult &result)
{
    drivers.finished(result);
    say(result.serial, { resultLine(result) });
    // A serial number the record never issued was said on its arrival line.
    recordFailed = reportRecordProblems({ result }, options.recordNamed, true, console) || recordFailed;
}

int Station::summary() const
{
    using State = StationDrivers::State;
    const QStringList changed = drivers.inState(State::Changed);
    const QStringList failed = drivers.inState(State::Failed);
    const QStringList skipped = drivers.inState(State::Skipped);
    console.print(QStringLiteral("summary: %1 changed, %2 failed, %3 skipped")
                          .arg(changed.size())
                          .arg(failed.size())
                          .arg(skipped.size()));
    const QList<QPair<QString, QStringList>> lists = {
        { QStringLiteral("changed"), changed },
        { QStringLiteral("failed"), failed },
        { QStringLiteral("skipped"), skipped },
        { QStringLiteral("left in their bootloaders, ready for another attempt"), drivers.inBootloader() },
    };
    for (const auto &[what, list] : lists)
        if (!list.isEmpty())
            console.print(QStringLiteral("  %1: %2").arg(what, list.join(QStringLiteral(", "))));
    return failed.isEmpty() && !recordFailed ? ExitSuccess : ExitFailure;
}

} // namespace

void setDriverWatchStart(bool (*start)(DriverWatcher &watcher))
{
    watchStart = start ? start : startUdevMonitor;
}

int station(const QStringList &args, Console &console)
{
    const QString again = QStringLiteral("again"), issuedOnly = QStringLiteral("issued-only"),
                  count = QStringLiteral("count");
    const std::optional<Arguments> parsed =
            commandArguments(args, 1, console, { { count, DatabaseOption }, { again, issuedOnly } });
    if (!parsed)
        return ExitBadInput;
    StationOptions options;
    options.again = parsed->has(again);
    options.issuedOnly = parsed->has(issuedOnly);
    if (parsed->has(count)) {
        quint64 number = 0;
        if (!parseDecimal(parsed->value(count), 1000000, &number) || number == 0)
            return console.usageError(QStringLiteral("--count takes a number of changes, 1 or more"));
        options.count = int(number);
    }

    ConcurrentUpgrade upgrade;
    if (const int refused = setRelease(upgrade, parsed->positional.first(), console))
        return refused;
    // Telling issued serial numbers apart needs the record itself.
    OpenedRecord record = openRecord(*parsed, console, options.issuedOnly ? RecordUse::Write : RecordUse::WriteOrWarn);
    if (record.status != ExitSuccess)
        return record.status;
    options.recordNamed = record.named;
    upgrade.setRecord(record.database.get());

    // Watching before looking: a driver plugged in meanwhile is not missed.
    DriverWatcher watcher;
    if (!watchStart(watcher))
        return console.fail(ExitFailure, QStringLiteral("cannot watch for drivers plugged in: udev's monitor cannot "
                                                        "be opened"));
    USBRQ518 usb;
    QList<DriverOnBus> present;
    QList<UsbDevice::FoundDevice> unusable;
    if (const int refused = chooseDrivers(usb, *parsed, console, &present, &unusable))
        return refused;
    for (const UsbDevice::FoundDevice &device : std::as_const(unusable))
        console.warn(unusableDevice(device));

    const QString prefix = QStringLiteral("vn274-tool station: ");
    const InterruptGuard guard(
            prefix + QStringLiteral("interrupted: no new change starts; those in progress will finish, for stopping "
                                    "them now would leave their drivers in their bootloaders; interrupt again to "
                                    "stop at once"),
            prefix + QStringLiteral("interrupted again: the changes in progress stop at their next step, which may "
                                    "leave their drivers in their bootloaders"));
    const StopRequests stops(upgrade);
    Station station(console, upgrade, record.database.get(), options);
    QEventLoop loop;
    const auto quitWhenOver = [&station, &loop] {
        if (station.over())
            loop.quit();
    };
    QObject::connect(&upgrade, &ConcurrentUpgrade::driverFinished, &loop, [&](const DriverResult &result) {
        station.finished(result);
        quitWhenOver();
    });
    QObject::connect(&watcher, &DriverWatcher::driverArrived, &loop, [&](const DriverEvent &event) {
        station.arrived(event.serial, event.bus + QLatin1Char('/') + event.device);
    });
    QObject::connect(&stops, &StopRequests::requested, &loop, [&] {
        station.stopRequested();
        quitWhenOver();
    });

    for (const QString &line : upgrade.releaseLines())
        console.print(line);
    for (const DriverOnBus &driver : std::as_const(present))
        station.arrived(driver.serial, driver.bus + QLatin1Char('/') + driver.device);
    if (!station.closed())
        console.print(QStringLiteral("waiting for drivers to be plugged in (Ctrl+C ends the station)"));
    if (!station.over())
        loop.exec();
    return station.summary();
}

} // namespace tool
