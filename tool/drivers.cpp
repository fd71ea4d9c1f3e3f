#include "tool/drivers.h"

#include "tool/commands.h"
#include "upgrade/upgradesteps.h"

#include <QJsonArray>
#include <QJsonObject>

namespace tool {

namespace {

// The message, then the drivers one a line.
QString listed(QString message, const QList<DriverOnBus> &drivers)
{
    for (const DriverOnBus &driver : drivers)
        message += QStringLiteral("\n  ") + driver.line();
    return message;
}

// "002" as 2 for a machine; a name that is not a number stays as it is.
QJsonValue busNumber(const QString &name)
{
    bool ok = false;
    const int number = name.toInt(&ok);
    return ok ? QJsonValue(number) : QJsonValue(name);
}

} // namespace

const QString SerialOption = QStringLiteral("serial");

QString connectionProblem(UsbDevice::ConnectionFailure failure, const QByteArray &serial)
{
    switch (failure) {
    case UsbDevice::ConnectionFailure::None:
        break;
    case UsbDevice::ConnectionFailure::NotFound:
        return QStringLiteral("no Vn274 on USB (vendor id 16c0, product id 0789): check the USB cable");
    case UsbDevice::ConnectionFailure::NotIdentified:
        return QStringLiteral("a device with the Vn274's USB ids did not identify itself as a Vn274");
    case UsbDevice::ConnectionFailure::SerialMismatch:
        return QStringLiteral("no Vn274 with the serial number %1 on USB (vn274-tool list shows those there are)")
                .arg(QString::fromLatin1(serial));
    case UsbDevice::ConnectionFailure::Unavailable:
        return QStringLiteral("the Vn274 is there but cannot be opened: another program may be using it");
    case UsbDevice::ConnectionFailure::PermissionDenied:
        return QStringLiteral(
            "the Vn274 is there but this user may not open it (permission denied).\n"
            "  The udev rule 60-vn274.rules grants access to the user at the seat and to the\n"
            "  group plugdev: install vn274 (it puts the rule into lib/udev/rules.d), or copy\n"
            "  packaging/60-vn274.rules to /etc/udev/rules.d, then unplug the driver and plug\n"
            "  it in again.");
    }
    return QStringLiteral("the driver did not answer");
}

QString connectionProblem(USBRQ518 &usb)
{
    return connectionProblem(usb.lastConnectionFailure(), usb.selectedSerial());
}

QString modeWord(const QByteArray &serial)
{
    switch (upgradesteps::driverMode(serial)) {
    case upgradesteps::DriverMode::Application: return QStringLiteral("application");
    case upgradesteps::DriverMode::Bootloader:  return QStringLiteral("bootloader");
    case upgradesteps::DriverMode::Neither:     break;
    }
    return QStringLiteral("unknown");
}

QString DriverOnBus::line() const
{
    return QStringLiteral("bus %1 device %2 %3 %4").arg(bus, device, modeWord(serial), QString::fromLatin1(serial));
}

QJsonObject DriverOnBus::json() const
{
    return { { "bus", busNumber(bus) }, { "device", busNumber(device) }, { "mode", modeWord(serial) },
             { "serial", QString::fromLatin1(serial) } };
}

QList<DriverOnBus> findDrivers(USBRQ518 &usb, QList<UsbDevice::FoundDevice> *unusable)
{
    QList<DriverOnBus> drivers;
    for (const UsbDevice::FoundDevice &found : usb.findDevices()) {
        if (found.failure == UsbDevice::ConnectionFailure::None)
            drivers << DriverOnBus{ found.bus, found.device, found.serial };
        else if (found.failure != UsbDevice::ConnectionFailure::NotIdentified && unusable)
            *unusable << found;
    }
    return drivers;
}

int chooseDriver(USBRQ518 &usb, const Arguments &args, Console &console)
{
    if (args.has(SerialOption)) {
        const QByteArray serial = args.value(SerialOption).toLatin1();
        if (serial.isEmpty())
            return console.usageError(QStringLiteral("--serial takes the driver's serial number"));
        // Two drivers with one serial number (an image stamped twice, a
        // reissue): either could be the one meant, and the link would take
        // whichever comes first.
        if (usb.countDevices() >= 2) {
            QList<DriverOnBus> same;
            for (const DriverOnBus &driver : findDrivers(usb))
                if (USBRQ518::serialNumber(driver.serial) == USBRQ518::serialNumber(serial))
                    same << driver;
            if (same.size() > 1)
                return console.fail(ExitBadInput, listed(QStringLiteral("%1 Vn274 drivers have the serial number %2; "
                                                                        "--serial cannot choose between them:")
                                                                 .arg(same.size())
                                                                 .arg(QString::fromLatin1(USBRQ518::serialNumber(serial))),
                                                         same));
        }
        usb.selectSerial(serial);
        return ExitSuccess;
    }
    // At most one device with the ids: nothing to choose and nothing opened,
    // the command goes on exactly as without the choice.
    if (usb.countDevices() < 2)
        return ExitSuccess;
    const QList<DriverOnBus> drivers = findDrivers(usb);
    if (drivers.size() > 1)
        return console.fail(ExitBadInput, listed(QStringLiteral("%1 Vn274 drivers are connected; choose one with --serial:")
                                                         .arg(drivers.size()),
                                                 drivers));
    // The one Vn274 beside devices of another model: only it, ever.
    if (drivers.size() == 1)
        usb.selectSerial(drivers.first().serial);
    return ExitSuccess;
}

int list(const QStringList &args, Console &console)
{
    const QString json = QStringLiteral("json");
    const std::optional<Arguments> parsed = commandArguments(args, 0, console, { {}, { json } });
    if (!parsed)
        return ExitBadInput;

    USBRQ518 usb;
    QList<UsbDevice::FoundDevice> unusable;
    const QList<DriverOnBus> drivers = findDrivers(usb, &unusable);
    if (parsed->has(json)) {
        QJsonArray array;
        for (const DriverOnBus &driver : drivers)
            array.append(driver.json());
        console.printJson({ { "drivers", array } });
    } else {
        for (const DriverOnBus &driver : drivers)
            console.print(driver.line());
    }

    // A device that could not be opened may be a Vn274 missing from the list.
    int status = ExitSuccess;
    for (const UsbDevice::FoundDevice &device : unusable)
        status = console.fail(ExitFailure, QStringLiteral("bus %1 device %2: %3")
                                                   .arg(device.bus, device.device, connectionProblem(device.failure)));
    if (drivers.isEmpty() && unusable.isEmpty())
        status = console.fail(ExitFailure, connectionProblem(UsbDevice::ConnectionFailure::NotFound));
    return status;
}

} // namespace tool
