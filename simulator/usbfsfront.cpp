#include "simulator/usbfsfront.h"

#include "simulator/bus.h"
#include "simulator/descriptors.h"

#include <cerrno>
#include <cstring>

namespace sim::usbfs {

using model::Bus;
using model::Device;

namespace {

QString nodePath(const Device &device)
{
    return QString::asprintf("/dev/bus/usb/%03d/%03d", device.busIndex + 1, device.address);
}

QByteArray descriptorsOf(const Device &device)
{
    return model::deviceDescriptor(device) + model::configurationDescriptor(device);
}

} // namespace

QList<Node> nodes()
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    QList<Node> list;
    for (Device *device : b.devices()) {
        if (!b.present(*device))
            continue;
        Node node;
        node.path = nodePath(*device);
        node.busNumber = device->busIndex + 1;
        node.deviceNumber = device->address;
        node.device = device->number;
        node.vendorId = device->vendorId;
        node.productId = device->productId;
        node.serial = model::serialNumber(*device);
        node.descriptors = descriptorsOf(*device);
        node.accessPending = device->accessPending();
        list << node;
    }
    return list;
}

File::File(const QString &path, bool writable)
    : writable(writable)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    for (Device *candidate : b.devices()) {
        if (b.present(*candidate) && nodePath(*candidate) == path) {
            // A refused opening leaves the file without a device: its calls
            // fail as for a device that has gone.
            if (b.open(*candidate) == 0) {
                device = candidate;
                attachment = candidate->attachment;
            }
            break;
        }
    }
}

File::~File()
{
    if (!device)
        return;
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    b.close(*device, this);
}

// usbfs looks at the file's mode first, then at the device.
template<typename Call>
int File::ioctl(Call call)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    if (!writable)
        return -EPERM;
    if (!device || !b.works(*device, attachment))
        return -ENODEV;
    return call(b, lock);
}

int File::read(char *buffer, int length)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    if (!device || !b.works(*device, attachment))
        return -ENODEV;
    if (length < 0)
        return -EINVAL;
    const QByteArray descriptors = descriptorsOf(*device);
    const int n = qBound(0, int(descriptors.size()) - position, length);
    std::memcpy(buffer, descriptors.constData() + position, size_t(n));
    position += n;
    return n;
}

int File::setConfiguration(unsigned int configuration)
{
    return ioctl([&](Bus &b, QMutexLocker<QMutex> &) {
        return b.setConfiguration(*device, attachment, int(configuration));
    });
}

int File::claimInterface(unsigned int interface)
{
    return ioctl([&](Bus &b, QMutexLocker<QMutex> &) {
        return b.claimInterface(*device, attachment, this, int(interface));
    });
}

int File::releaseInterface(unsigned int interface)
{
    return ioctl([&](Bus &b, QMutexLocker<QMutex> &) {
        return b.releaseInterface(*device, attachment, this, int(interface));
    });
}

int File::control(const usbdevfs_ctrltransfer &transfer, void *data)
{
    return ioctl([&](Bus &b, QMutexLocker<QMutex> &lock) {
        return b.control(lock, *device, attachment, transfer.bRequestType, transfer.bRequest, transfer.wValue,
                         transfer.wIndex, static_cast<char *>(data), transfer.wLength, int(transfer.timeout));
    });
}

int File::connectInfo(usbdevfs_connectinfo *info)
{
    return ioctl([&](Bus &, QMutexLocker<QMutex> &) {
        info->devnum = unsigned(device->address);
        info->slow = 0;         // full or high speed
        return 0;
    });
}

int File::otherIoctl()
{
    return ioctl([](Bus &, QMutexLocker<QMutex> &) { return -ENOTTY; });
}

} // namespace sim::usbfs
