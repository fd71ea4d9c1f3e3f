#include "usb/driverwatcher.h"

#include "usb/usbdevice.h"

#include <QSocketNotifier>

#include <libudev.h>

namespace {

// The kernel's PRODUCT of a USB device: "idVendor/idProduct/bcdDevice" in
// hexadecimal without leading zeros, as in "16c0/789/100".
bool productMatches(const QByteArray &product, quint16 vendorId, quint16 productId)
{
    const QList<QByteArray> parts = product.split('/');
    if (parts.size() < 2)
        return false;
    bool vendorOk = false;
    bool productOk = false;
    const uint vendor = parts.at(0).toUInt(&vendorOk, 16);
    const uint productNumber = parts.at(1).toUInt(&productOk, 16);
    return vendorOk && productOk && vendor == vendorId && productNumber == productId;
}

// "2" or "002" as the buses name them: three digits.
QString busName(const QByteArray &number)
{
    bool ok = false;
    const int value = number.toInt(&ok);
    return ok ? QStringLiteral("%1").arg(value, 3, 10, QLatin1Char('0')) : QString::fromLatin1(number);
}

} // namespace

DriverWatcher::DriverWatcher(quint16 vendorId, quint16 productId, QObject *parent)
    : QObject(parent), vendorId(vendorId), productId(productId)
{
    qRegisterMetaType<DriverEvent>();
}

DriverWatcher::~DriverWatcher()
{
    delete notifier;
    if (monitor)
        udev_monitor_unref(monitor);
    if (context)
        udev_unref(context);
}

bool DriverWatcher::start()
{
    if (monitor)
        return true;
    context = udev_new();
    if (!context)
        return false;
    monitor = udev_monitor_new_from_netlink(context, "udev");
    // The kernel filters by subsystem and type; the ids are looked at here.
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "usb", "usb_device") < 0
            || udev_monitor_enable_receiving(monitor) < 0) {
        if (monitor)
            udev_monitor_unref(monitor);
        monitor = nullptr;
        return false;
    }
    notifier = new QSocketNotifier(udev_monitor_get_fd(monitor), QSocketNotifier::Read);
    connect(notifier, &QSocketNotifier::activated, this, &DriverWatcher::receive);
    return true;
}

void DriverWatcher::receive()
{
    // The socket does not block: every event waiting, then none.
    while (struct udev_device *device = udev_monitor_receive_device(monitor)) {
        const QByteArray action = udev_device_get_action(device);
        feed(action, propertiesOf(device, action));
        udev_device_unref(device);
    }
}

void DriverWatcher::announcePresent()
{
    if (!context && !(context = udev_new()))
        return;
    struct udev_enumerate *enumeration = udev_enumerate_new(context);
    if (!enumeration)
        return;
    udev_enumerate_add_match_subsystem(enumeration, "usb");
    udev_enumerate_add_match_property(enumeration, "DEVTYPE", "usb_device");
    udev_enumerate_scan_devices(enumeration);
    for (struct udev_list_entry *entry = udev_enumerate_get_list_entry(enumeration); entry;
         entry = udev_list_entry_get_next(entry)) {
        if (struct udev_device *device = udev_device_new_from_syspath(context, udev_list_entry_get_name(entry))) {
            feed("add", propertiesOf(device, "add"));
            udev_device_unref(device);
        }
    }
    udev_enumerate_unref(enumeration);
}

QMap<QByteArray, QByteArray> DriverWatcher::propertiesOf(struct udev_device *device, const QByteArray &action)
{
    QMap<QByteArray, QByteArray> properties;
    for (struct udev_list_entry *entry = udev_device_get_properties_list_entry(device); entry;
         entry = udev_list_entry_get_next(entry))
        properties.insert(udev_list_entry_get_name(entry), udev_list_entry_get_value(entry));
    // Without udev's rules (usb_id) the serial is only in sysfs, there while
    // the device is: on its arrival, not after it left.
    if (action == "add" && !properties.contains("ID_SERIAL_SHORT")) {
        if (const char *serial = udev_device_get_sysattr_value(device, "serial"))
            properties.insert("ID_SERIAL_SHORT", serial);
    }
    return properties;
}

bool DriverWatcher::isWatchedDevice(const QMap<QByteArray, QByteArray> &properties) const
{
    // A device's interfaces have events of their own, with the same PRODUCT.
    return properties.value("SUBSYSTEM", "usb") == "usb" && properties.value("DEVTYPE") == "usb_device"
           && productMatches(properties.value("PRODUCT"), vendorId, productId);
}

void DriverWatcher::feed(const QByteArray &action, const QMap<QByteArray, QByteArray> &properties)
{
    const bool arrived = action == "add";
    if ((!arrived && action != "remove") || !isWatchedDevice(properties))
        return;
    DriverEvent event;
    event.action = arrived ? DriverEvent::Action::Arrived : DriverEvent::Action::Left;
    event.bus = busName(properties.value("BUSNUM"));
    event.device = busName(properties.value("DEVNUM"));
    event.node = QString::fromLocal8Bit(properties.value("DEVNAME"));
    // The kernel's is the string descriptor in UTF-8; a link reads it one
    // byte a character.
    event.serial = serialWithoutControls(QString::fromUtf8(properties.value("ID_SERIAL_SHORT")).toLatin1());
    if (arrived)
        emit driverArrived(event);
    else
        emit driverLeft(event);
}
