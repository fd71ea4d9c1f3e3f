#include "simulator/bus.h"

#include "simulator/descriptors.h"

#include <QThread>

#include <cerrno>
#include <cstring>

namespace sim::model {

namespace {

constexpr quint16 RootHubVendor = 0x1D6B;
constexpr quint16 RootHubProduct = 0x0002;
constexpr quint8 HubClass = 9;
constexpr int MaxAddress = 127;
constexpr int VendorIn = 0xC0;
constexpr int VendorOut = 0x40;
constexpr int StandardIn = 0x80;
constexpr int GetDescriptor = 6;
constexpr int DeviceDescriptorType = 1;
constexpr int ConfigurationDescriptorType = 2;
constexpr int StringDescriptorType = 3;

void sleepOutside(QMutexLocker<QMutex> &lock, int milliseconds)
{
    if (milliseconds <= 0)
        return;
    lock.unlock();
    QThread::msleep(ulong(milliseconds));
    lock.relock();
}

} // namespace

Bus &bus()
{
    static Bus b;
    return b;
}

Bus::Bus()
{
    reset();
}

void Bus::reset()
{
    for (auto &device : all) {
        device->retired = true;
        retired.push_back(std::move(device));
    }
    all.clear();
    vn274s.clear();
    for (int &address : lastAddress)
        address = 0;
    addedDevices = 0;
    ++resets;

    add(0, RootHubNumber, RootHubVendor, RootHubProduct).deviceClass = HubClass;
    add(1, RootHubNumber, RootHubVendor, RootHubProduct).deviceClass = HubClass;
    Device &first = add(1, 0, VendorId, ProductId);
    first.firmware = std::make_unique<Firmware>(DefaultSerial, Mode::Application);
    vn274s.push_back(&first);

    log.clear();
    inits = 0;
    enumerations = 0;
    staleOpens = 0;
    hooks = Hooks();
    maxConcurrentTransfers = 0;
    activeTransfers = 0;
}

Device &Bus::add(int busIndex, int number, quint16 vendorId, quint16 productId)
{
    auto device = std::make_unique<Device>();
    device->number = number;
    device->busIndex = busIndex;
    device->vendorId = vendorId;
    device->productId = productId;
    device->address = nextAddress(busIndex);
    all.push_back(std::move(device));
    return *all.back();
}

Device &Bus::addVn274(int busIndex, const QByteArray &serial, Mode mode)
{
    Device &device = add(busIndex, ++addedDevices, VendorId, ProductId);
    device.firmware = std::make_unique<Firmware>(serial, mode);
    vn274s.push_back(&device);
    return device;
}

Device &Bus::addOther(int busIndex, quint16 vendorId, quint16 productId, const QByteArray &identification)
{
    Device &device = add(busIndex, ++addedDevices, vendorId, productId);
    device.identification = identification;
    device.serial = QByteArray("OTHER") + QByteArray::number(device.number).rightJustified(4, '0');
    return device;
}

Device *Bus::vn274(int index)
{
    return index >= 0 && index < int(vn274s.size()) ? vn274s[size_t(index)] : nullptr;
}

QList<Device *> Bus::devices()
{
    QList<Device *> list;
    for (int busIndex = 0; busIndex < BusCount; ++busIndex)
        for (const auto &device : all)
            if (device->busIndex == busIndex)
                list << device.get();
    return list;
}

// Like the kernel: the next free number after the last one given, wrapping
// round; the root hub keeps 1.
int Bus::nextAddress(int busIndex)
{
    int address = lastAddress[busIndex];
    for (int tries = 0; tries < MaxAddress; ++tries) {
        address = address >= MaxAddress ? 1 : address + 1;
        bool taken = false;
        for (const auto &device : all)
            taken = taken || (device->busIndex == busIndex && device->address == address);
        if (!taken)
            break;
    }
    lastAddress[busIndex] = address;
    return address;
}

// --- Presence -------------------------------------------------------------------

bool Bus::present(Device &device)
{
    if (device.retired)
        return false;
    if (device.restarting && !device.neverReturns && device.restartClock.elapsed() >= device.returnMilliseconds)
        comeBack(device);
    const bool there = device.plugged && !device.restarting;
    if (there && device.address == 0)
        device.address = nextAddress(device.busIndex);
    return there;
}

void Bus::enumerate()
{
    ++enumerations;
    for (const auto &device : all) {
        if (!device->restarting || device->neverReturns)
            continue;
        if (device->missedEnumerations >= device->returnEnumerations
                || device->restartClock.elapsed() >= device->returnMilliseconds)
            comeBack(*device);
        else
            ++device->missedEnumerations;
    }
}

void Bus::leave(Device &device)
{
    ++device.attachment;
    device.address = 0;
    if (device.firmware)
        device.firmware->forgetRam();
}

void Bus::arrive(Device &device)
{
    device.plugged = true;
    comeBack(device);
}

void Bus::comeBack(Device &device)
{
    // A restart that ran out of time ended when it did, not when someone
    // looked: its node has been there since.
    device.arrivedEarlierMs = device.restarting && device.restartClock.isValid()
            ? qMax<qint64>(0, device.restartClock.elapsed() - device.returnMilliseconds)
            : 0;
    device.restarting = false;
    device.arrivalClock.start();
}

void Bus::restart(Device &device, Mode mode)
{
    leave(device);
    device.firmware->setMode(mode);
    if (mode == Mode::Application && !device.returnSerial.isEmpty()) {
        device.firmware->writeInternalFlash(SerialAddress, device.returnSerial.left(9).leftJustified(9, '\0'));
        device.returnSerial.clear();
    }
    device.restarting = true;
    device.missedEnumerations = 0;
    device.restartClock.start();
}

bool Bus::works(Device &device, quint64 attachment)
{
    return present(device) && attachment == device.attachment;
}

// --- Openings -------------------------------------------------------------------

int Bus::open(Device &device)
{
    if (!present(device))
        return ENODEV;
    if (device.accessPending()) {
        device.lastOpenErrno = device.accessErrno;
        return device.accessErrno;
    }
    if (const int refusal = device.faults.openRefusal()) {
        device.lastOpenErrno = refusal;
        return refusal;
    }
    device.lastOpenErrno = 0;
    ++device.counters.opens;
    ++device.openings;
    return 0;
}

void Bus::close(Device &device, const void *opener)
{
    --device.openings;
    ++device.counters.closes;
    if (device.claimant == opener)
        device.claimant = nullptr;
}

int Bus::setConfiguration(Device &device, quint64 attachment, int value)
{
    if (!works(device, attachment))
        return -ENODEV;
    if (const int refusal = device.faults.configurationRefusal())
        return -refusal;
    if (value != 1)
        return -EINVAL;
    ++device.counters.setConfigurations;
    return 0;
}

int Bus::claimInterface(Device &device, quint64 attachment, const void *opener, int interface)
{
    if (!works(device, attachment))
        return -ENODEV;
    if (const int refusal = device.faults.claimRefusal())
        return -refusal;
    if (interface != 0)
        return -ENOENT;
    if (device.claimant && device.claimant != opener && device.claimAttachment == device.attachment)
        return -EBUSY;
    device.claimant = opener;
    device.claimAttachment = attachment;
    ++device.counters.claims;
    return 0;
}

int Bus::releaseInterface(Device &device, quint64 attachment, const void *opener, int interface)
{
    if (!works(device, attachment))
        return -ENODEV;
    if (interface != 0 || device.claimant != opener || device.claimAttachment != attachment)
        return -ENOENT;
    device.claimant = nullptr;
    ++device.counters.releases;
    return 0;
}

bool Bus::interfaceClaimed(Device &device)
{
    return device.claimant && device.claimAttachment == device.attachment && present(device);
}

void Bus::portReset(Device &device)
{
    ++device.attachment;
    device.address = 0;
}

// --- Transfers ------------------------------------------------------------------

void Bus::beginTransfer()
{
    maxConcurrentTransfers = qMax(maxConcurrentTransfers, ++activeTransfers);
}

int Bus::control(QMutexLocker<QMutex> &lock, Device &device, quint64 attachment, int requestType, int request,
                 int value, int index, char *bytes, int size, int timeout)
{
    requestType &= 0xFF;
    request &= 0xFF;
    value &= 0xFFFF;
    index &= 0xFFFF;
    if (requestType == StandardIn && request == GetDescriptor)
        return readDescriptor(lock, device, attachment, value >> 8, value & 0xFF, bytes, size);

    Transfer entry;
    entry.device = device.number;
    entry.request = request;
    entry.value = quint16(value);
    entry.index = quint16(index);
    entry.length = size;
    entry.timeout = timeout;
    entry.direction = requestType & 0x80 ? Direction::In : Direction::Out;
    entry.begin = ++clock;
    entry.thread = QThread::currentThreadId();
    beginTransfer();
    if (hooks.transfer && device.isVn274()) {
        const std::function<void(int, int)> hook = hooks.transfer;
        lock.unlock();
        hook(entry.device, request);
        lock.relock();
    }
    sleepOutside(lock, device.faults.latency());

    entry.result = works(device, attachment) ? route(device, requestType, request, value, index, bytes, size)
                                             : -ENODEV;
    entry.end = ++clock;
    endTransfer();
    log.append(entry);
    return entry.result;
}

int Bus::route(Device &device, int requestType, int request, int value, int index, char *bytes, int size)
{
    if (size < 0 || size > 0xFFFF || (size > 0 && !bytes))
        return -EINVAL;
    const bool in = requestType & 0x80;
    if (requestType != (in ? VendorIn : VendorOut))
        return -EPIPE;

    if (!device.isVn274()) {
        if (!in || request != 255 || device.identification.isEmpty())
            return -EPIPE;
        const int n = qMin(size, int(device.identification.size()));
        std::memcpy(bytes, device.identification.constData(), size_t(n));
        return n;
    }

    const Faults::Hit hit = device.faults.transfer(request);
    if (hit.kind == Faults::Hit::Fail)
        return -hit.value;
    if (hit.kind == Faults::Hit::Unplug) {   // the cable comes out as the request arrives
        leave(device);
        device.plugged = false;
        return -hit.value;
    }
    const quint32 address = quint32(index) << 16 | quint32(value);
    if (in) {
        QByteArray reply;
        const int error = device.firmware->answer(request, address, size, device.faults, reply);
        if (error < 0)
            return error;
        int n = qMin(size, int(reply.size()));
        if (hit.kind == Faults::Hit::Shorten)
            n = qMin(n, hit.value);
        std::memcpy(bytes, reply.constData(), size_t(n));
        return n;
    }
    if (hit.kind == Faults::Hit::Shorten)   // part of the data accepted, nothing done with it
        return qMin(size, hit.value);
    bool restartNow = false;
    const int taken = device.firmware->take(request, address, QByteArray(bytes, size), &restartNow);
    if (restartNow) {
        const bool toBootloader = device.firmware->mode() == Mode::Application || device.staysInBootloader;
        restart(device, toBootloader ? Mode::Bootloader : Mode::Application);
    }
    return taken;
}

int Bus::readDescriptor(QMutexLocker<QMutex> &lock, Device &device, quint64 attachment, int type, int index,
                        void *buffer, int size)
{
    if (!works(device, attachment))
        return -ENODEV;
    // A control transfer on the wire too: it takes the latency and counts
    // as in progress, so that a read overlapping another transfer shows.
    ++device.counters.descriptorReads;
    beginTransfer();
    sleepOutside(lock, device.faults.latency());
    endTransfer();
    if (!works(device, attachment))
        return -ENODEV;

    QByteArray descriptor;
    if (type == DeviceDescriptorType)
        descriptor = deviceDescriptor(device);
    else if (type == ConfigurationDescriptorType && index == 0)
        descriptor = configurationDescriptor(device);
    else if (type == StringDescriptorType)
        descriptor = stringDescriptor(device, index);
    if (descriptor.isEmpty())
        return -EPIPE;
    if (size < 0 || (size > 0 && !buffer))
        return -EINVAL;
    const int n = qMin(size, int(descriptor.size()));
    std::memcpy(buffer, descriptor.constData(), size_t(n));
    return n;
}

int Bus::bulkWrite(Device &device, quint64 attachment, int endpoint, const char *bytes, int size)
{
    if (!works(device, attachment))
        return -ENODEV;
    if (!device.isVn274() || endpoint != 0x02 || size < 0 || (size > 0 && !bytes))
        return -EPIPE;
    device.firmware->bulkLoop.append(bytes, size);
    return size;
}

int Bus::bulkRead(Device &device, quint64 attachment, int endpoint, char *bytes, int size)
{
    if (!works(device, attachment))
        return -ENODEV;
    if (!device.isVn274() || endpoint != 0x81 || size < 0 || (size > 0 && !bytes))
        return -EPIPE;
    if (device.firmware->bulkLoop.isEmpty())
        return -ETIMEDOUT;
    const int n = qMin(size, int(device.firmware->bulkLoop.size()));
    std::memcpy(bytes, device.firmware->bulkLoop.constData(), size_t(n));
    device.firmware->bulkLoop.remove(0, n);
    return n;
}

Counters Bus::counters(const Device &device) const
{
    Counters c = device.counters;
    c.inits = inits;
    c.enumerations = enumerations;
    c.maxConcurrentTransfers = maxConcurrentTransfers;
    c.staleOpens = staleOpens;
    return c;
}

} // namespace sim::model
