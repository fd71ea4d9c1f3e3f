// The libusb 0.1 front of the simulated buses: the functions of <usb.h>, for
// programs linked with the simulator in libusb's place.
#include "simulator/bus.h"
#include "simulator/descriptors.h"

#include <QMutexLocker>
#include <QtEndian>

#include <usb.h>

#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <set>

using sim::Hooks;
using sim::model::Bus;
using sim::model::Device;

// What usb_open hands out: one opening of one device, made at one of its
// attachments. It stops working when the device leaves the bus.
struct usb_dev_handle
{
    Device *device;
    quint64 attachment;
};

struct usb_bus *usb_busses = nullptr;

namespace {

// libusb's side of the buses: the structures it hands to the program. They
// live as long as the process, so that pointers from before a reset() stay
// valid. Guarded by the bus's mutex.
struct Front
{
    struct usb_bus buses[sim::model::BusCount];
    std::map<const Device *, std::unique_ptr<struct usb_device>> devices;
    std::set<usb_dev_handle *> handles;
    std::map<const struct usb_device *, int> listedIn;   // the enumeration that last listed it
    quint64 initialisedIn = 0;      // the bus generation usb_init was called in

    Front()
    {
        for (int i = 0; i < sim::model::BusCount; ++i) {
            std::memset(&buses[i], 0, sizeof buses[i]);
            std::snprintf(buses[i].dirname, sizeof buses[i].dirname, "%03d", i + 1);
            buses[i].location = quint32(i + 1);
        }
    }
};

Front &front()
{
    static Front f;
    return f;
}

int fail(int errnoValue)
{
    errno = errnoValue;
    return -errnoValue;
}

// A negative errno also sets errno, as libusb leaves it.
int result(int value)
{
    if (value < 0)
        errno = -value;
    return value;
}

struct usb_device *usbDevice(Front &f, const Device *device)
{
    std::unique_ptr<struct usb_device> &dev = f.devices[device];
    if (!dev) {
        dev = std::make_unique<struct usb_device>();
        std::memset(dev.get(), 0, sizeof *dev);
        const QByteArray d = sim::model::deviceDescriptor(*device);
        struct usb_device_descriptor &descriptor = dev->descriptor;
        descriptor.bLength = quint8(d.at(0));
        descriptor.bDescriptorType = quint8(d.at(1));
        descriptor.bcdUSB = qFromLittleEndian<quint16>(d.constData() + 2);
        descriptor.bDeviceClass = quint8(d.at(4));
        descriptor.bDeviceSubClass = quint8(d.at(5));
        descriptor.bDeviceProtocol = quint8(d.at(6));
        descriptor.bMaxPacketSize0 = quint8(d.at(7));
        descriptor.idVendor = qFromLittleEndian<quint16>(d.constData() + 8);
        descriptor.idProduct = qFromLittleEndian<quint16>(d.constData() + 10);
        descriptor.bcdDevice = qFromLittleEndian<quint16>(d.constData() + 12);
        descriptor.iManufacturer = quint8(d.at(14));
        descriptor.iProduct = quint8(d.at(15));
        descriptor.iSerialNumber = quint8(d.at(16));
        descriptor.bNumConfigurations = quint8(d.at(17));
        dev->bus = &f.buses[device->busIndex];
    }
    return dev.get();
}

Device *deviceOf(Front &f, const struct usb_device *dev)
{
    for (const auto &entry : f.devices)
        if (entry.second.get() == dev)
            return const_cast<Device *>(entry.first);
    return nullptr;
}

// The handle's device while the handle is open; null for anything else.
Device *deviceOf(Front &f, usb_dev_handle *handle)
{
    return f.handles.count(handle) ? handle->device : nullptr;
}

// Runs a hook of the bus outside its lock.
void runHook(std::function<void()> Hooks::*which)
{
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    const std::function<void()> hook = b.hooks.*which;
    lock.unlock();
    if (hook)
        hook();
}

// f(bus, device, lock) for the device of an open handle, under the bus's
// lock; -errnoIfNotOpen for anything else. A negative result sets errno.
template<typename F>
int onHandle(usb_dev_handle *handle, int errnoIfNotOpen, F f)
{
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    Device *device = deviceOf(front(), handle);
    if (!device)
        return fail(errnoIfNotOpen);
    return result(f(b, *device, lock));
}

} // namespace

extern "C" {

void usb_init(void)
{
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    front().initialisedIn = b.generation();
    ++b.inits;
}

void usb_set_debug(int)
{
}

int usb_find_busses(void)
{
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    Front &f = front();
    if (f.initialisedIn != b.generation())
        return fail(EINVAL);
    f.buses[0].next = &f.buses[1];
    f.buses[1].prev = &f.buses[0];
    usb_busses = &f.buses[0];
    return 0;
}

int usb_find_devices(void)
{
    runHook(&Hooks::enumeration);
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    Front &f = front();
    if (f.initialisedIn != b.generation())
        return fail(EINVAL);
    b.enumerate();

    struct usb_device *last[sim::model::BusCount] = {nullptr, nullptr};
    for (struct usb_bus &bus : f.buses)
        bus.devices = nullptr;
    for (Device *device : b.devices()) {
        if (!b.present(*device))
            continue;
        struct usb_device *dev = usbDevice(f, device);
        const int busIndex = device->busIndex;
        dev->devnum = quint8(device->address);
        std::snprintf(dev->filename, sizeof dev->filename, "%03d", device->address);
        dev->prev = last[busIndex];
        dev->next = nullptr;
        if (last[busIndex])
            last[busIndex]->next = dev;
        else
            f.buses[busIndex].devices = dev;
        last[busIndex] = dev;
        f.listedIn[dev] = b.enumerations;
    }
    return 0;
}

struct usb_bus *usb_get_busses(void)
{
    return usb_busses;
}

usb_dev_handle *usb_open(struct usb_device *dev)
{
    runHook(&Hooks::open);
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    Front &f = front();
    Device *device = deviceOf(f, dev);
    if (!device) {
        errno = ENODEV;
        return nullptr;
    }
    if (f.listedIn[dev] != b.enumerations)
        ++b.staleOpens;
    if (const int refusal = b.open(*device)) {
        errno = refusal;
        return nullptr;
    }
    usb_dev_handle *handle = new usb_dev_handle{device, device->attachment};
    f.handles.insert(handle);
    return handle;
}

int usb_close(usb_dev_handle *handle)
{
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    if (!front().handles.erase(handle))
        return fail(EINVAL);
    b.close(*handle->device, handle);
    delete handle;
    return 0;
}

struct usb_device *usb_device(usb_dev_handle *handle)
{
    Bus &b = sim::model::bus();
    QMutexLocker lock(&b.mutex);
    Front &f = front();
    Device *device = deviceOf(f, handle);
    return device ? usbDevice(f, device) : nullptr;
}

int usb_set_configuration(usb_dev_handle *handle, int configuration)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &) {
        return b.setConfiguration(d, handle->attachment, configuration);
    });
}

int usb_claim_interface(usb_dev_handle *handle, int interface)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &) {
        return b.claimInterface(d, handle->attachment, handle, interface);
    });
}

int usb_release_interface(usb_dev_handle *handle, int interface)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &) {
        return b.releaseInterface(d, handle->attachment, handle, interface);
    });
}

int usb_set_altinterface(usb_dev_handle *handle, int alternate)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &) {
        return !b.works(d, handle->attachment) ? -ENODEV : alternate == 0 ? 0 : -EINVAL;
    });
}

int usb_control_msg(usb_dev_handle *handle, int requesttype, int request, int value, int index, char *bytes,
                    int size, int timeout)
{
    return onHandle(handle, EINVAL, [&](Bus &b, Device &d, QMutexLocker<QMutex> &lock) {
        return b.control(lock, d, handle->attachment, requesttype, request, value, index, bytes, size, timeout);
    });
}

int usb_get_descriptor(usb_dev_handle *handle, unsigned char type, unsigned char index, void *buf, int size)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &lock) {
        return b.readDescriptor(lock, d, handle->attachment, type, index, buf, size);
    });
}

int usb_get_descriptor_by_endpoint(usb_dev_handle *handle, int, unsigned char type, unsigned char index, void *buf,
                                   int size)
{
    return usb_get_descriptor(handle, type, index, buf, size);
}

int usb_get_string(usb_dev_handle *handle, int index, int /*langid*/, char *buf, size_t buflen)
{
    return usb_get_descriptor(handle, USB_DT_STRING, static_cast<unsigned char>(index), buf,
                              int(qMin(buflen, size_t(255))));
}

int usb_get_string_simple(usb_dev_handle *handle, int index, char *buf, size_t buflen)
{
    if (!buf || buflen == 0)
        return fail(EINVAL);
    unsigned char descriptor[255];
    const int n = usb_get_descriptor(handle, USB_DT_STRING, static_cast<unsigned char>(index), descriptor,
                                     sizeof descriptor);
    if (n < 0)
        return n;
    size_t length = 0;
    for (int i = 2; i + 1 < n && length + 1 < buflen; i += 2)
        buf[length++] = descriptor[i + 1] ? '?' : char(descriptor[i]);
    buf[length] = '\0';
    return int(length);
}

int usb_bulk_write(usb_dev_handle *handle, int ep, const char *bytes, int size, int /*timeout*/)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &) {
        return b.bulkWrite(d, handle->attachment, ep, bytes, size);
    });
}

int usb_bulk_read(usb_dev_handle *handle, int ep, char *bytes, int size, int /*timeout*/)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &) {
        return b.bulkRead(d, handle->attachment, ep, bytes, size);
    });
}

int usb_interrupt_write(usb_dev_handle *, int, const char *, int, int)
{
    return fail(EPIPE);
}

int usb_interrupt_read(usb_dev_handle *, int, char *, int, int)
{
    return fail(EPIPE);
}

int usb_resetep(usb_dev_handle *, unsigned int)
{
    return 0;
}

int usb_clear_halt(usb_dev_handle *, unsigned int)
{
    return 0;
}

// A port reset: the device re-enumerates at once in the mode it runs.
int usb_reset(usb_dev_handle *handle)
{
    return onHandle(handle, ENODEV, [&](Bus &b, Device &d, QMutexLocker<QMutex> &) {
        if (!b.works(d, handle->attachment))
            return -ENODEV;
        b.portReset(d);
        return 0;
    });
}

int usb_get_driver_np(usb_dev_handle *, int, char *, unsigned int)
{
    return fail(ENODATA);
}

int usb_detach_kernel_driver_np(usb_dev_handle *, int)
{
    return fail(ENODATA);
}

char *usb_strerror(void)
{
    static char text[] = "simulated Vn274: transfer failed";
    return text;
}

} // extern "C"
