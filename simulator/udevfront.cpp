#include "simulator/udevfront.h"

#include "simulator/simdriver.h"
#include "simulator/usbfsfront.h"
#include "usb/driverwatcher.h"

#include <QTimer>

namespace sim {

namespace {

constexpr int LookEveryMs = 50;

QByteArray number(int value)
{
    return QByteArray::number(value).rightJustified(3, '0');
}

// The properties udev gives a Vn274's event.
QMap<QByteArray, QByteArray> properties(const usbfs::Node &node)
{
    return {
        { "SUBSYSTEM", "usb" },
        { "DEVTYPE", "usb_device" },
        { "PRODUCT", QByteArray::number(node.vendorId, 16) + '/' + QByteArray::number(node.productId, 16) + "/100" },
        { "BUSNUM", number(node.busNumber) },
        { "DEVNUM", number(node.deviceNumber) },
        { "DEVNAME", node.path.toLocal8Bit() },
        { "ID_SERIAL_SHORT", node.serial },
    };
}

} // namespace

UdevFront::UdevFront(DriverWatcher *watcher)
    : QObject(watcher), watcher(watcher), timer(new QTimer(this))
{
    timer->setInterval(LookEveryMs);
    connect(timer, &QTimer::timeout, this, &UdevFront::look);
}

void UdevFront::start()
{
    look();
    timer->start();
}

void UdevFront::look()
{
    QMap<QString, usbfs::Node> now;
    for (const usbfs::Node &node : usbfs::nodes())
        if (node.vendorId == VendorId && node.productId == ProductId)
            now.insert(node.path, node);
    for (auto it = shown.begin(); it != shown.end();) {
        if (now.contains(it.key())) {
            ++it;
            continue;
        }
        usbfs::Node gone;
        gone.path = it.key();
        const QStringList parts = it.key().split(QLatin1Char('/'));   // /dev/bus/usb/BBB/DDD
        gone.busNumber = parts.value(4).toInt();
        gone.deviceNumber = parts.value(5).toInt();
        gone.vendorId = VendorId;
        gone.productId = ProductId;
        gone.serial = it.value();
        it = shown.erase(it);
        watcher->feed("remove", properties(gone));
    }
    for (const usbfs::Node &node : std::as_const(now)) {
        if (shown.contains(node.path))
            continue;
        shown.insert(node.path, node.serial);
        watcher->feed("add", properties(node));
    }
}

} // namespace sim
