#include "tool/stationdrivers.h"

namespace tool {

namespace {

void addOnce(QStringList &devices, const QString &device)
{
    if (!devices.contains(device))
        devices << device;
}

} // namespace

StationDrivers::Arrival StationDrivers::arrived(const QByteArray &serial, const QString &device)
{
    const bool known = seen.contains(serial);
    Seen &driver = seen[serial];
    const bool ownRestart = driver.state == State::InProgress || driver.devices.contains(device);
    addOnce(driver.devices, device);
    if (known && ownRestart)
        return Arrival::OwnRestart;
    return known && driver.state != State::Skipped ? Arrival::PluggedInAgain : Arrival::New;
}

void StationDrivers::started(const QByteArray &serial)
{
    seen[serial].state = State::InProgress;
}

void StationDrivers::finished(const DriverResult &result)
{
    Seen &driver = seen[result.serial];
    driver.state = result.ending == ChangeEnding::Succeeded ? State::Changed : State::Failed;
    driver.inBootloader = result.ending == ChangeEnding::Interrupted && result.inBootloader;
    for (const QString &device : result.devices)
        addOnce(driver.devices, device);
}

QStringList StationDrivers::inState(State state) const
{
    QStringList serials;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it->state == state)
            serials << QString::fromLatin1(it.key());
    return serials;
}

QStringList StationDrivers::inBootloader() const
{
    QStringList serials;
    for (auto it = seen.cbegin(); it != seen.cend(); ++it)
        if (it->inBootloader)
            serials << QString::fromLatin1(it.key());
    return serials;
}

} // namespace tool
