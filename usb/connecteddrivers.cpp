#include "usb/connecteddrivers.h"

#include "usb/usbrq518.h"

ConnectedDrivers::ConnectedDrivers(QObject *parent)
    : QObject(parent)
{
}

void ConnectedDrivers::arrived(const DriverEvent &event, const QByteArray &linkSerial)
{
    // A driver is chosen by its serial number: one the kernel could not read
    // cannot be told from another, and the link would not take it anyway.
    const QByteArray number = USBRQ518::serialNumber(event.serial);
    if (number.isEmpty())
        return;
    const int known = indexOfNode(event.bus, event.device);
    if (known >= 0)
        present.removeAt(known);
    Driver driver;
    driver.serial = number;
    driver.bootloader = event.serial.size() == number.size() + 1;
    driver.bus = event.bus;
    driver.device = event.device;
    present << driver;

    if (choice.isEmpty() && present.size() >= 2) {
        const QByteArray onLink = USBRQ518::serialNumber(linkSerial);
        choice = isPresent(onLink) ? onLink : present.first().serial;
    }
    emit changed();
}

void ConnectedDrivers::left(const DriverEvent &event)
{
    const int known = indexOfNode(event.bus, event.device);
    if (known < 0)
        return;
    present.removeAt(known);
    emit changed();
}

bool ConnectedDrivers::isPresent(const QByteArray &serial) const
{
    for (const Driver &driver : present)
        if (driver.serial == serial)
            return true;
    return false;
}

void ConnectedDrivers::choose(const QByteArray &serial)
{
    const QByteArray number = USBRQ518::serialNumber(serial);
    if (number == choice)
        return;
    choice = number;
    emit changed();
}

QByteArray ConnectedDrivers::workedOn() const
{
    if (!choice.isEmpty())
        return choice;
    return present.size() == 1 ? present.first().serial : QByteArray();
}

QString ConnectedDrivers::modeText(const QByteArray &serial) const
{
    for (const Driver &driver : present)
        if (driver.serial == serial)
            return driver.bootloader ? tr("bootloader") : tr("application");
    return tr("not connected");
}

int ConnectedDrivers::indexOfNode(const QString &bus, const QString &device) const
{
    for (int i = 0; i < present.size(); ++i)
        if (present.at(i).bus == bus && present.at(i).device == device)
            return i;
    return -1;
}
