#ifndef USBDEVICE_H
#define USBDEVICE_H

#include <QByteArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>

struct usb_dev_handle;   // libusb 0.1 (<usb.h>)
struct usb_device;

// A serial string as the program keeps it: one Latin-1 byte a character, a
// control character (ESC and the other C0 and C1 controls) as '?'. A serial
// number never holds one, and printed it would drive the terminal showing it.
QByteArray serialWithoutControls(QByteArray latin1);

// The program's only path to the hardware: finds the driver on the USB buses
// through libusb 0.1, opens it (configuration 1, interface 0), checks that it
// answers request 255 with the expected identification word, and carries
// vendor control transfers in both directions.
//
// Any failed control transfer closes the link; the next transfer opens the
// device again by itself, so callers never reconnect explicitly.
//
// All results are 0 or a byte count for success and -1 for failure.
//
// Locks. Each device object is one link with its own lock, linkMutex, not
// recursive: every single operation on the link (connect, disconnect, one
// control or bulk transfer, reading the serial string) holds it for its whole
// duration; sequences of transfers are not protected. Public operations take
// it; the ...Private ones expect it to be held and are the only ones that may
// run while it is. Several device objects, one per driver, may work at once:
// their transfers run side by side. libusb 0.1 keeps the bus list in global
// state that every enumeration rebuilds (and frees the devices gone from it),
// so enumerating the buses and opening a device from the list run under one
// process-wide lock of their own, always taken after a link's lock. (Its
// error text, usb_strerror, is global too: nothing here reads it.)
class UsbDevice : public QObject
{
    Q_OBJECT

public:
    UsbDevice();
    ~UsbDevice() override;

    void setVidPid(quint16 vendorId, quint16 productId);
    void setDeviceId(quint16 id);
    // With several devices on the buses: only one whose serial string (string
    // descriptor 3) is among these is taken, by connect() and by every
    // reconnection of a transfer. Empty, the default: the first device that
    // identifies itself, whatever its serial string.
    void setSerialFilter(const QList<QByteArray> &serials);
    QList<QByteArray> serialFilter();

    // Closes an open link, enumerates the buses and opens the first matching
    // device that identifies itself (and passes the serial filter). 0 when
    // connected, -1 otherwise.
    int connect();
    void disconnect();

    // Why the last connection attempt (by connect() or by a transfer that
    // reconnected) found no usable driver; None after one that succeeded.
    // Where several devices carry the ids, the most telling cause is kept:
    // PermissionDenied before Unavailable before SerialMismatch before
    // NotIdentified. The window does not
    // look at it; programs that explain failures in words do.
    enum class ConnectionFailure {
        None,
        NotFound,           // no device with the vendor and product id on the buses
        NotIdentified,      // such a device, but it did not answer with the identification word
        SerialMismatch,     // it identified itself, but its serial string is not one the filter takes
        Unavailable,        // it could not be opened, configured or claimed: in use by another
                            // program, or gone meanwhile
        PermissionDenied    // present, but this user may not open it (EACCES, EPERM)
    };
    ConnectionFailure lastConnectionFailure();

    // A device with the vendor and product id, as findDevices() saw it.
    struct FoundDevice
    {
        QString bus;                // the bus's name, "002"
        QString device;             // the device's name on its bus, "003"
        QByteArray serial;          // string descriptor 3, when it identified itself
        ConnectionFailure failure = ConnectionFailure::None;   // None: it identified itself
    };
    // Every device with the vendor and product id, in the order connect()
    // tries them, each opened, identified, asked for its serial string and
    // closed again, whatever the serial filter. Closes this object's link first.
    QList<FoundDevice> findDevices();
    // How many devices with the vendor and product id the buses hold, none of
    // them opened.
    int countDevices();
    // The devices connect() has taken, as "BUS/DEVICE" ("002/004"), each
    // once, in the order first taken: a driver that restarts comes back under
    // a new device number, so these are where it was.
    QStringList connectedDevices();

    // Vendor control transfers on the default endpoint, 2000 ms time-out.
    // control_receive: bytes received (may be fewer than length) or -1; a
    // receive without buffer or with length 0 is a failure.
    // control_send: bytes sent (0 for a request without data stage) or -1; a
    // null buffer or length 0 sends the request without data.
    int control_receive(quint8 bRequest, quint16 wValue, quint16 wIndex, void *buffer, int length);
    int control_send(quint8 bRequest, quint16 wValue, quint16 wIndex, const void *buffer, int length);

    // Bulk endpoints 0x02 (out) and 0x81 (in), 2000 ms time-out. They neither
    // connect nor close the link: -1 without a transfer when closed.
    int bulk_write(const void *buffer, int length);
    int bulk_read(void *buffer, int length);

    // The device's string descriptor 3 as 8-bit characters: 9 characters from
    // the application firmware, 10 ending in 'b' from the bootloader. Empty
    // when the link is closed or the request fails; never connects.
    QByteArray getSerial();

protected:
    int connectPrivate();
    void disconnectPrivate();
    int control_receivePrivate(quint8 bRequest, quint16 wValue, quint16 wIndex, void *buffer, int length);

private:
    // Enumerates the buses and returns the devices with the vendor and product
    // id. The bus list lock must be held until the last of them is opened.
    QList<struct usb_device *> matchingDevicesPrivate();
    // Opens, configures and claims the device into handle and checks its
    // identification word. False, with the link closed and the cause in
    // *failure, for a device that cannot be used.
    bool openIdentifiedPrivate(struct usb_device *dev, ConnectionFailure *failure);
    QByteArray serialPrivate();

    QMutex linkMutex;
    quint16 productId = 0;
    quint16 vendorId = 0;
    quint16 deviceId = 0;
    usb_dev_handle *handle = nullptr;
    ConnectionFailure connectionFailure = ConnectionFailure::None;
    QList<QByteArray> acceptedSerials;
    QStringList takenDevices;
};

#endif // USBDEVICE_H
