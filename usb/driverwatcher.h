#ifndef DRIVERWATCHER_H
#define DRIVERWATCHER_H

#include <QByteArray>
#include <QMap>
#include <QMetaType>
#include <QObject>
#include <QString>

#include "usb/usbrq518.h"

class QSocketNotifier;
struct udev;
struct udev_device;
struct udev_monitor;

// A driver that came onto the buses or left them, as udev tells it.
struct DriverEvent
{
    enum class Action { Arrived, Left };
    Action action = Action::Arrived;
    QString bus;           // "002"
    QString device;        // "003": a new number at every arrival, a restart's included
    QString node;          // "/dev/bus/usb/002/003"
    QByteArray serial;     // its serial string as the kernel read it on arrival; may be empty
};

// Tells when drivers are plugged in and taken away, and when they restart
// (a restart is a departure and an arrival under a new device number), from
// udev's monitor: nothing polls the buses. Only whole USB devices with the
// driver's vendor and product ids pass.
//
// The monitor listens to udev's events, sent once udev has applied its rules,
// so an arrival comes when the device node is open to the users the rules
// name. Where no udev runs (a container), start() works and nothing arrives.
class DriverWatcher : public QObject
{
    Q_OBJECT

public:
    explicit DriverWatcher(quint16 vendorId = USBRQ518::Vn274VendorId, quint16 productId = USBRQ518::Vn274ProductId,
                           QObject *parent = nullptr);
    ~DriverWatcher() override;

    // Begins listening; false when udev's monitor cannot be opened.
    bool start();
    // An arrival for each driver on the buses now, as udev lists them
    // (nothing is opened). Called after start(), nothing is missed between.
    void announcePresent();

    // An event as udev sends it: its action ("add", "remove", "change", ...)
    // and its properties (SUBSYSTEM, DEVTYPE, PRODUCT "16c0/789/100",
    // BUSNUM, DEVNUM, DEVNAME, ID_SERIAL_SHORT). The monitor hands every
    // event here; tests feed their own.
    void feed(const QByteArray &action, const QMap<QByteArray, QByteArray> &properties);

signals:
    void driverArrived(const DriverEvent &event);
    void driverLeft(const DriverEvent &event);

private:
    void receive();
    static QMap<QByteArray, QByteArray> propertiesOf(struct udev_device *device, const QByteArray &action);
    bool isWatchedDevice(const QMap<QByteArray, QByteArray> &properties) const;

    quint16 vendorId;
    quint16 productId;
    struct udev *context = nullptr;
    struct udev_monitor *monitor = nullptr;
    QSocketNotifier *notifier = nullptr;
};

Q_DECLARE_METATYPE(DriverEvent)

#endif // DRIVERWATCHER_H
