#include "usb/usbdevice.h"

#include <QMutexLocker>
#include <QtDebug>

#include <usb.h>

#include <cerrno>

namespace {

// The process-wide lock of libusb's bus list: enumerating it and opening a
// device from it. Constant-initialised (QMutex has a constexpr constructor),
// so it is ready before any static constructor or main runs. Always taken
// after a link's own lock, never before.
QMutex busListMutex;

constexpr int TimeoutMs = 2000;
constexpr int ConfigurationValue = 1;
constexpr int InterfaceNumber = 0;
constexpr int RequestTypeIn = USB_ENDPOINT_IN | USB_TYPE_VENDOR | USB_RECIP_DEVICE;    // 0xC0
constexpr int RequestTypeOut = USB_ENDPOINT_OUT | USB_TYPE_VENDOR | USB_RECIP_DEVICE;  // 0x40
constexpr int BulkOutEndpoint = 0x02;
constexpr int BulkInEndpoint = 0x81;
constexpr quint8 IdentifyRequest = 255;
constexpr unsigned char StringDescriptor = 3;
constexpr unsigned char SerialStringIndex = 3;

void logDevice(const struct usb_bus *bus, const struct usb_device *dev)
{
    qDebug("bus: %p", static_cast<const void *>(bus));
    qDebug("bus->devices: %p", static_cast<const void *>(bus->devices));
    qDebug("dev->descriptor.idVendor: 0x%04x", unsigned(dev->descriptor.idVendor));
    qDebug("dev->descriptor.idProduct: 0x%04x", unsigned(dev->descriptor.idProduct));
    qDebug("dev->descriptor.iSerialNumber: %u", unsigned(dev->descriptor.iSerialNumber));
    qDebug("dev->descriptor.bMaxPacketSize0: %u", unsigned(dev->descriptor.bMaxPacketSize0));
}

void logTransfer(const char *direction, quint8 bRequest, quint16 wValue, quint16 wIndex, int length, bool ok)
{
    const char *outcome = ok ? "OK" : "ERROR";
    if (length != 0)
        qDebug("USB Control %s bRequest=%u, wValue=%u, wIndex=%u, dataLength=%d - %s.", direction,
               unsigned(bRequest), unsigned(wValue), unsigned(wIndex), length, outcome);
    else
        qDebug("USB Control %s bRequest=%u, wValue=%u, wIndex=%u - %s.", direction,
               unsigned(bRequest), unsigned(wValue), unsigned(wIndex), outcome);
}

// libusb reports a refusal for lack of rights as EACCES or EPERM: usb_open
// through errno, the later steps through their negative result (libusb 0.1
// opens a device it may only read, and then its first request is refused).
bool isPermissionError(int errnoValue)
{
    return errnoValue == EACCES || errnoValue == EPERM;
}

// A device's bus and its own name as libusb lists them: "002", "004".
QString busName(const struct usb_device *dev)
{
    return QString::fromLocal8Bit(dev->bus ? dev->bus->dirname : "");
}

QString deviceName(const struct usb_device *dev)
{
    return QString::fromLocal8Bit(dev->filename);
}

// The more telling of two causes (the enumeration's order is their rank).
UsbDevice::ConnectionFailure moreTelling(UsbDevice::ConnectionFailure a, UsbDevice::ConnectionFailure b)
{
    return int(a) > int(b) ? a : b;
}

} // namespace

QByteArray serialWithoutControls(QByteArray latin1)
{
    for (char &c : latin1) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || (byte >= 0x7F && byte < 0xA0))
            c = '?';
    }
    return latin1;
}

UsbDevice::UsbDevice() = default;

UsbDevice::~UsbDevice()
{
    qDebug("UsbDevice destructor");
    if (handle)
        disconnect();
}

void UsbDevice::setVidPid(quint16 vendor, quint16 product)
{
    QMutexLocker lock(&linkMutex);
    vendorId = vendor;
    productId = product;
}

void UsbDevice::setDeviceId(quint16 id)
{
    deviceId = id;
}

void UsbDevice::setSerialFilter(const QList<QByteArray> &serials)
{
    QMutexLocker lock(&linkMutex);
    acceptedSerials = serials;
}

QList<QByteArray> UsbDevice::serialFilter()
{
    QMutexLocker lock(&linkMutex);
    return acceptedSerials;
}

int UsbDevice::connect()
{
    QMutexLocker lock(&linkMutex);
    return connectPrivate();
}

void UsbDevice::disconnect()
{
    QMutexLocker lock(&linkMutex);
    disconnectPrivate();
}

int UsbDevice::connectPrivate()
{
    qDebug("USB Connect");
    if (handle) {
        usb_close(handle);
        handle = nullptr;
    }

    // From the enumeration to the end of the search: another link's
    // enumeration would rebuild the list under it. The other links' transfers
    // go on meanwhile; a device another link holds cannot be claimed here and
    // is passed over untouched.
    QMutexLocker busList(&busListMutex);
    ConnectionFailure failure = ConnectionFailure::NotFound;
    for (struct usb_device *dev : matchingDevicesPrivate()) {
        if (!openIdentifiedPrivate(dev, &failure))
            continue;
        if (!acceptedSerials.isEmpty() && !acceptedSerials.contains(serialPrivate())) {
            failure = moreTelling(failure, ConnectionFailure::SerialMismatch);
            disconnectPrivate();
            continue;
        }
        connectionFailure = ConnectionFailure::None;
        const QString taken = busName(dev) + QLatin1Char('/') + deviceName(dev);
        if (!takenDevices.contains(taken))
            takenDevices << taken;
        return 0;
    }
    connectionFailure = failure;
    return -1;
}

QList<struct usb_device *> UsbDevice::matchingDevicesPrivate()
{
    usb_init();
    usb_find_busses();
    usb_find_devices();

    QList<struct usb_device *> matching;
    for (struct usb_bus *bus = usb_get_busses(); bus; bus = bus->next) {
        for (struct usb_device *dev = bus->devices; dev; dev = dev->next) {
            logDevice(bus, dev);
            if (dev->descriptor.idVendor == vendorId && dev->descriptor.idProduct == productId)
                matching << dev;
        }
    }
    return matching;
}

bool UsbDevice::openIdentifiedPrivate(struct usb_device *dev, ConnectionFailure *failure)
{
    errno = 0;
    handle = usb_open(dev);
    if (!handle) {
        *failure = moreTelling(*failure, isPermissionError(errno) ? ConnectionFailure::PermissionDenied
                                                                   : ConnectionFailure::Unavailable);
        return false;
    }
    qDebug("usb_opened ");

    if (const int result = usb_set_configuration(handle, ConfigurationValue); result < 0) {
        *failure = moreTelling(*failure, isPermissionError(-result) ? ConnectionFailure::PermissionDenied
                                                                    : ConnectionFailure::Unavailable);
        disconnectPrivate();
        return false;
    }
    qDebug("usb_set_configuration ");

    if (const int result = usb_claim_interface(handle, InterfaceNumber); result < 0) {
        *failure = moreTelling(*failure, isPermissionError(-result) ? ConnectionFailure::PermissionDenied
                                                                    : ConnectionFailure::Unavailable);
        disconnectPrivate();
        return false;
    }
    qDebug("usb_claim_interface ");

    // A failing transfer closes the handle inside control_receivePrivate.
    unsigned char id[2] = {0, 0};
    qDebug("control_receivePrivate( %u, %u, %u, %p, %d )", unsigned(IdentifyRequest), 0u, 0u,
           static_cast<void *>(id), int(sizeof id));
    if (control_receivePrivate(IdentifyRequest, 0, 0, id, sizeof id) == int(sizeof id)) {
        const quint16 word = quint16(id[0] | id[1] << 8);
        qDebug("identification word: 0x%04x, deviceId: 0x%04x", unsigned(word), unsigned(deviceId));
        if (word == deviceId)
            return true;
    }
    // Short reply or another model: not ours.
    *failure = moreTelling(*failure, ConnectionFailure::NotIdentified);
    disconnectPrivate();
    return false;
}

QList<UsbDevice::FoundDevice> UsbDevice::findDevices()
{
    QMutexLocker lock(&linkMutex);
    disconnectPrivate();
    QMutexLocker busList(&busListMutex);
    QList<FoundDevice> found;
    for (struct usb_device *dev : matchingDevicesPrivate()) {
        FoundDevice device;
        device.bus = busName(dev);
        device.device = deviceName(dev);
        if (openIdentifiedPrivate(dev, &device.failure)) {
            device.serial = serialPrivate();
            disconnectPrivate();
        }
        found << device;
    }
    return found;
}

int UsbDevice::countDevices()
{
    QMutexLocker lock(&linkMutex);
    disconnectPrivate();
    QMutexLocker busList(&busListMutex);
    return int(matchingDevicesPrivate().size());
}

QStringList UsbDevice::connectedDevices()
{
    QMutexLocker lock(&linkMutex);
    return takenDevices;
}

UsbDevice::ConnectionFailure UsbDevice::lastConnectionFailure()
{
    QMutexLocker lock(&linkMutex);
    return connectionFailure;
}

void UsbDevice::disconnectPrivate()
{
    qDebug("USB Disconnect");
    if (handle) {
        usb_release_interface(handle, InterfaceNumber);
        usb_close(handle);
        handle = nullptr;
    }
}

int UsbDevice::control_receive(quint8 bRequest, quint16 wValue, quint16 wIndex, void *buffer, int length)
{
    QMutexLocker lock(&linkMutex);
    return control_receivePrivate(bRequest, wValue, wIndex, buffer, length);
}

int UsbDevice::control_receivePrivate(quint8 bRequest, quint16 wValue, quint16 wIndex, void *buffer, int length)
{
    if (!handle && connectPrivate() < 0)
        return -1;

    // A negative length would be taken as a huge wLength by libusb: no transfer.
    int result = -1;
    if (buffer && length > 0)
        result = usb_control_msg(handle, RequestTypeIn, bRequest, wValue, wIndex,
                                 static_cast<char *>(buffer), length, TimeoutMs);

    logTransfer("Receive", bRequest, wValue, wIndex, length, result >= 0);
    if (result < 0) {
        disconnectPrivate();
        return -1;
    }
    return result;
}

int UsbDevice::control_send(quint8 bRequest, quint16 wValue, quint16 wIndex, const void *buffer, int length)
{
    QMutexLocker lock(&linkMutex);
    qDebug("UsbDevice::control_send()");
    if (!handle && connectPrivate() < 0)
        return -1;

    // Without data the request goes out with no data stage.
    if (!buffer || length == 0) {
        buffer = nullptr;
        length = 0;
    }
    // libusb sends nothing from a const buffer, whatever its prototype says.
    // A negative length would be taken as a huge wLength by libusb: no transfer.
    const int result = length < 0
            ? -1
            : usb_control_msg(handle, RequestTypeOut, bRequest, wValue, wIndex,
                              static_cast<char *>(const_cast<void *>(buffer)), length, TimeoutMs);

    logTransfer("Send", bRequest, wValue, wIndex, length, result >= 0);
    if (result < 0) {
        disconnectPrivate();
        return -1;
    }
    return result;
}

int UsbDevice::bulk_write(const void *buffer, int length)
{
    QMutexLocker lock(&linkMutex);
    if (!buffer || length < 1 || !handle)
        return -1;
    const int result = usb_bulk_write(handle, BulkOutEndpoint, static_cast<const char *>(buffer), length, TimeoutMs);
    return result < 0 ? -1 : result;
}

int UsbDevice::bulk_read(void *buffer, int length)
{
    QMutexLocker lock(&linkMutex);
    if (!buffer || length < 1 || !handle)
        return -1;
    const int result = usb_bulk_read(handle, BulkInEndpoint, static_cast<char *>(buffer), length, TimeoutMs);
    return result < 0 ? -1 : result;
}

QByteArray UsbDevice::getSerial()
{
    // Takes the lock too: unlocked, it could read through a handle that a
    // connect in the other thread is closing at that moment.
    QMutexLocker lock(&linkMutex);
    return serialPrivate();
}

QByteArray UsbDevice::serialPrivate()
{
    QByteArray serial;
    if (!handle)
        return serial;

    unsigned char descriptor[256];
    const int received = usb_get_descriptor(handle, StringDescriptor, SerialStringIndex, descriptor, sizeof descriptor);
    // UTF-16LE units from byte 2 on; the low byte of each is the character.
    for (int i = 2; i + 1 < received; i += 2) {
        if (descriptor[i] == 0 && descriptor[i + 1] == 0)
            break;
        serial += char(descriptor[i]);
    }
    return serialWithoutControls(serial);
}

// The meta-object code in this file's own object, so that a program using the
// link alone (vn274-tool) does not pull in the window's.
#include "moc_usbdevice.cpp"
