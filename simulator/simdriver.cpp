#include "simulator/simdriver.h"

#include "usb/transferscrambling.h"

#include <QElapsedTimer>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QtEndian>

#include <usb.h>

#include <cstring>
#include <memory>
#include <set>
#include <vector>

namespace sim {
namespace model {
struct Device;
}
}

// What usb_open hands out: one opening of one device. It stops working when
// the device leaves the bus (its attachment changes).
struct usb_dev_handle
{
    sim::model::Device *device;
    quint64 attachment;
    bool claimed;
};

struct usb_bus *usb_busses = nullptr;

namespace sim {
namespace model {

constexpr quint16 RootHubVendor = 0x1D6B;
constexpr quint16 RootHubProduct = 0x0002;
constexpr int VendorIn = USB_ENDPOINT_IN | USB_TYPE_VENDOR | USB_RECIP_DEVICE;     // 0xC0
constexpr int VendorOut = USB_ENDPOINT_OUT | USB_TYPE_VENDOR | USB_RECIP_DEVICE;   // 0x40
constexpr int MaxRead = 2048;
constexpr int MaxExternalRead = 512;
constexpr int MaxExternalWrite = 256;
constexpr int TestWriteLength = 512;
constexpr int SerialLength = 9;

// One device on the simulated buses. The usb_device is what enumeration hands
// out; the rest is the device's side.
struct Device
{
    struct usb_device usb;
    int number = 0;                 // 0: the Vn274; 1, 2, ...: added ones; -1: root hubs
    int bus = 0;                    // 0: bus 001, 1: bus 002
    QByteArray identification;      // reply to request 255
    QByteArray serial;              // string descriptor 3 (others than the Vn274)
    quint64 attachment = 1;         // changes whenever the device leaves the bus
    bool retired = false;           // belongs to the state before the last reset()
};

struct Rule
{
    enum Kind { Fail, Shorten } kind;
    int request;
    int skip;
    int times;
    int value;                      // errno for Fail, length for Shorten
};

struct Corruption
{
    Memory memory;
    quint32 address;
    int times;
};

struct State
{
    QMutex mutex;
    std::vector<std::unique_ptr<Device>> devices;   // root hubs, the Vn274, added ones
    std::vector<std::unique_ptr<Device>> retired;   // kept so stale pointers stay valid
    Device *vn274 = nullptr;
    struct usb_bus buses[2];
    std::set<usb_dev_handle *> handles;
    bool initialised = false;

    // The Vn274's side.
    Mode mode = Mode::Application;
    bool plugged = true;
    bool restarting = false;
    int missedEnumerations = 0;
    QElapsedTimer restartClock;
    int returnEnumerations = 5;
    int returnMilliseconds = 500;
    bool neverReturns = false;
    QByteArray internal;
    QByteArray external;
    quint32 status = 0;
    quint32 lockedBits = 0;
    QByteArray testWrite;
    QByteArray bulkLoop;

    // Faults.
    QList<Rule> rules;
    QList<Corruption> corruptions;
    int refuseOpenErrno = 0;
    int refuseOpenTimes = 0;
    int refuseConfigurationTimes = 0;
    int refuseConfigurationErrno = EBUSY;
    int refuseClaimTimes = 0;
    int latencyMs = 0;

    // Inspection.
    QList<Transfer> log;
    quint64 clock = 0;
    int activeTransfers = 0;
    Counters counters;
    int lastOpenErrno = 0;

    State();
    void reset();
};

State &state()
{
    static State s;
    return s;
}

// --- The device as the buses see it -----------------------------------------

Device *addDeviceLocked(State &s, int bus, int number, quint16 vendor, quint16 product)
{
    auto device = std::make_unique<Device>();
    std::memset(&device->usb, 0, sizeof device->usb);
    device->number = number;
    device->bus = bus;
    struct usb_device_descriptor &d = device->usb.descriptor;
    d.bLength = USB_DT_DEVICE_SIZE;
    d.bDescriptorType = USB_DT_DEVICE;
    d.bcdUSB = 0x0200;
    d.bMaxPacketSize0 = 64;
    d.idVendor = vendor;
    d.idProduct = product;
    d.bcdDevice = 0x0100;
    d.iManufacturer = 1;
    d.iProduct = 2;
    d.iSerialNumber = 3;
    d.bNumConfigurations = 1;
    device->usb.bus = &s.buses[bus];
    s.devices.push_back(std::move(device));
    return s.devices.back().get();
}

void putText(QByteArray &memory, quint32 offset, const char *text)
{
    std::memcpy(memory.data() + offset, text, std::strlen(text) + 1);
}

State::State()
{
    for (int i = 0; i < 2; ++i) {
        std::memset(&buses[i], 0, sizeof buses[i]);
        std::snprintf(buses[i].dirname, sizeof buses[i].dirname, "%03d", i + 1);
        buses[i].location = quint32(i + 1);
    }
    reset();
}

void State::reset()
{
    for (auto &device : devices) {
        device->retired = true;
        retired.push_back(std::move(device));
    }
    devices.clear();
    addDeviceLocked(*this, 0, -1, RootHubVendor, RootHubProduct);
    addDeviceLocked(*this, 1, -1, RootHubVendor, RootHubProduct);
    vn274 = addDeviceLocked(*this, 1, 0, VendorId, ProductId);
    vn274->identification = QByteArray("\xBA\x00", 2);
    initialised = false;

    mode = Mode::Application;
    plugged = true;
    restarting = false;
    missedEnumerations = 0;
    returnEnumerations = 5;
    returnMilliseconds = 500;
    neverReturns = false;
    internal = QByteArray(int(InternalFlashSize), char(0xFF));
    putText(internal, BootloaderVersionAddress - InternalFlashBase, DefaultBootloaderVersion);
    putText(internal, BootloaderVersionAddress + 16 - InternalFlashBase, DefaultBootloaderDate);
    std::memcpy(internal.data() + (SerialAddress - InternalFlashBase), DefaultSerial, SerialLength);
    external = QByteArray(int(ExternalFlashSize), char(0xFF));
    status = 0;
    lockedBits = 0;
    testWrite.clear();
    bulkLoop.clear();

    rules.clear();
    corruptions.clear();
    refuseOpenErrno = 0;
    refuseOpenTimes = 0;
    refuseConfigurationTimes = 0;
    refuseClaimTimes = 0;
    latencyMs = 0;

    log.clear();
    activeTransfers = 0;
    counters = Counters();
    lastOpenErrno = 0;
}

// A restart that has run its time ends here; counting enumerations is left
// to usb_find_devices.
void settle(State &s)
{
    if (s.restarting && !s.neverReturns && s.restartClock.elapsed() >= s.returnMilliseconds)
        s.restarting = false;
}

bool vn274Present(State &s)
{
    settle(s);
    return s.plugged && !s.restarting;
}

bool present(State &s, const Device *device)
{
    return !device->retired && (device != s.vn274 || vn274Present(s));
}

// The Vn274 drops off the bus: every open handle is dead from now on, and
// the firmware forgets its RAM.
void leaveBus(State &s)
{
    ++s.vn274->attachment;
    s.status = 0;
    s.bulkLoop.clear();
}

void restartInto(State &s, Mode mode)
{
    leaveBus(s);
    s.mode = mode;
    s.restarting = true;
    s.missedEnumerations = 0;
    s.restartClock.start();
}

bool works(State &s, usb_dev_handle *handle)
{
    return s.handles.count(handle) && present(s, handle->device) && handle->attachment == handle->device->attachment;
}

Device *deviceOf(State &s, const struct usb_device *dev)
{
    for (const auto &device : s.devices)
        if (&device->usb == dev)
            return device.get();
    return nullptr;
}

QByteArray serialOf(State &s)
{
    QByteArray serial;
    for (int i = 0; i < SerialLength; ++i) {
        const char c = s.internal.at(int(SerialAddress - InternalFlashBase) + i);
        if (c == '\0' || c == char(0xFF))
            break;
        serial += c;
    }
    if (s.mode == Mode::Bootloader)
        serial += 'b';
    return serial;
}

QByteArray stringDescriptor(const QByteArray &text)
{
    QByteArray descriptor(2, '\0');
    for (char c : text.left(126)) {
        descriptor += c;
        descriptor += '\0';
    }
    descriptor[0] = char(descriptor.size());
    descriptor[1] = char(USB_DT_STRING);
    return descriptor;
}

int fail(int errnoValue)
{
    errno = errnoValue;
    return -errnoValue;
}

bool inRange(quint64 address, quint64 length, quint64 base, quint64 size)
{
    return address >= base && address + length <= base + size;
}

// The words of one transfer, key restarting at its first word. Written out
// here rather than taken from the tool, so that a fault in the tool's
// scrambling is not shared by its yardstick.
void scramble(QByteArray &data)
{
    for (int i = 0; i + 4 <= data.size(); i += 4) {
        const quint32 k = qFromLittleEndian<quint32>(transferKey + (i / 4 % 32) * 4);
        const quint32 w = qFromLittleEndian<quint32>(data.constData() + i);
        qToLittleEndian<quint32>((w ^ k) + k, data.data() + i);
    }
}

void descramble(QByteArray &data)
{
    for (int i = 0; i + 4 <= data.size(); i += 4) {
        const quint32 k = qFromLittleEndian<quint32>(transferKey + (i / 4 % 32) * 4);
        const quint32 w = qFromLittleEndian<quint32>(data.constData() + i);
        qToLittleEndian<quint32>((w - k) ^ k, data.data() + i);
    }
}

void corrupt(State &s, Memory memory, quint32 address, QByteArray &data)
{
    for (Corruption &c : s.corruptions) {
        if (c.memory != memory || c.times == 0 || c.address < address || c.address - address >= quint32(data.size()))
            continue;
        data[int(c.address - address)] = char(~data.at(int(c.address - address)));
        if (c.times > 0)
            --c.times;
    }
}

// --- The Vn274's vendor requests --------------------------------------------

// A reply to an "in" request, or a negative errno.
int answer(State &s, int request, quint32 address, int length, QByteArray &reply)
{
    switch (request) {
    case 255:
        reply = s.vn274->identification;
        return 0;
    case 1:
        if (length > MaxRead || !inRange(address, quint64(length), InternalFlashBase, InternalFlashSize))
            return -EPIPE;
        reply = s.internal.mid(int(address - InternalFlashBase), length);
        corrupt(s, Memory::Internal, address, reply);
        scramble(reply);
        return 0;
    case 5:
        if (length > MaxExternalRead || !inRange(address, quint64(length), 0, ExternalFlashSize))
            return -EPIPE;
        reply = s.external.mid(int(address), length);
        corrupt(s, Memory::External, address, reply);
        return 0;
    case 9:
        reply.resize(4);
        qToLittleEndian(s.status, reply.data());
        return 0;
    default:
        return -EPIPE;
    }
}

// Bytes taken by an "out" request, or a negative errno.
int take(State &s, int request, quint32 address, const QByteArray &data)
{
    const int length = data.size();
    switch (request) {
    case 2:
        if (length != TestWriteLength)
            return -EPIPE;
        s.testWrite = data;
        return length;
    case 3: {
        if (s.mode != Mode::Bootloader || length != int(PageSize) || address % PageSize != 0
                || !inRange(address, PageSize, ApplicationBase, InternalFlashBase + InternalFlashSize - ApplicationBase))
            return -EPIPE;
        QByteArray page = data;
        descramble(page);
        std::memcpy(s.internal.data() + (address - InternalFlashBase), page.constData(), PageSize);
        return length;
    }
    case 4:
        if (length != 0)
            return -EPIPE;
        // Acknowledged first, then the device restarts into its other firmware.
        restartInto(s, s.mode == Mode::Application ? Mode::Bootloader : Mode::Application);
        return 0;
    case 6:
        if (length < 1 || length > MaxExternalWrite || !inRange(address, quint64(length), 0, ExternalFlashSize))
            return -EPIPE;
        std::memcpy(s.external.data() + address, data.constData(), size_t(length));
        return length;
    case 7:
    case 8: {
        if (length != 4)
            return -EPIPE;
        const quint32 mask = qFromLittleEndian<quint32>(data.constData()) & ~s.lockedBits;
        s.status = request == 7 ? s.status | mask : s.status & ~mask;
        return length;
    }
    default:
        return -EPIPE;
    }
}

// The first fault rule that hits this transfer, if any. Every matching rule
// counts the transfer.
const Rule *hitRule(State &s, int request)
{
    const Rule *hit = nullptr;
    for (Rule &rule : s.rules) {
        if (rule.request != AnyRequest && rule.request != request)
            continue;
        if (rule.skip > 0) {
            --rule.skip;
            continue;
        }
        if (rule.times == 0)
            continue;
        if (rule.times > 0)
            --rule.times;
        if (!hit)
            hit = &rule;
    }
    return hit;
}

int controlTransfer(State &s, usb_dev_handle *handle, int requestType, int request, int value, int index,
                    char *bytes, int size)
{
    if (!works(s, handle))
        return -ENODEV;
    if (size < 0 || size > 0xFFFF || (size > 0 && !bytes))
        return -EINVAL;
    const bool in = requestType & USB_ENDPOINT_IN;
    if (requestType != (in ? VendorIn : VendorOut))
        return -EPIPE;

    const Device *device = handle->device;
    if (device != s.vn274) {
        if (!in || request != 255 || device->identification.isEmpty())
            return -EPIPE;
        const int n = qMin(size, int(device->identification.size()));
        std::memcpy(bytes, device->identification.constData(), size_t(n));
        return n;
    }

    const Rule *rule = hitRule(s, request);
    if (rule && rule->kind == Rule::Fail)
        return -rule->value;
    const quint32 address = quint32(index) << 16 | quint32(value);
    if (in) {
        QByteArray reply;
        const int error = answer(s, request, address, size, reply);
        if (error < 0)
            return error;
        int n = qMin(size, int(reply.size()));
        if (rule)
            n = qMin(n, rule->value);
        std::memcpy(bytes, reply.constData(), size_t(n));
        return n;
    }
    if (rule)   // a short "out": part of the data accepted, nothing done with it
        return qMin(size, rule->value);
    return take(s, request, address, QByteArray(bytes, size));
}

} // namespace model

using namespace model;

// --- Control interface -------------------------------------------------------

void reset()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.reset();
}

void setMode(Mode mode)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    ++s.vn274->attachment;
    s.mode = mode;
    s.plugged = true;
    s.restarting = false;
}

Mode mode()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.mode;
}

bool onBus()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return vn274Present(s);
}

void unplug()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    leaveBus(s);
    s.plugged = false;
}

void plug()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.plugged = true;
    s.restarting = false;
}

void setReenumeration(int enumerations, int milliseconds)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.returnEnumerations = enumerations;
    s.returnMilliseconds = milliseconds;
}

void setNeverReturns(bool never)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.neverReturns = never;
}

void addDevice(quint16 vendorId, quint16 productId, const QByteArray &identificationReply, bool beforeVn274)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    int added = 0;
    for (const auto &device : s.devices)
        added = qMax(added, device->number);
    Device *device = addDeviceLocked(s, beforeVn274 ? 0 : 1, added + 1, vendorId, productId);
    device->identification = identificationReply;
    device->serial = QByteArray("OTHER") + QByteArray::number(added + 1).rightJustified(4, '0');
}

QByteArray internalFlash(quint32 address, int length)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (length < 0 || !inRange(address, quint64(length), InternalFlashBase, InternalFlashSize))
        return QByteArray();
    return s.internal.mid(int(address - InternalFlashBase), length);
}

void writeInternalFlash(quint32 address, const QByteArray &bytes)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (inRange(address, quint64(bytes.size()), InternalFlashBase, InternalFlashSize))
        std::memcpy(s.internal.data() + (address - InternalFlashBase), bytes.constData(), size_t(bytes.size()));
}

QByteArray externalFlash(quint32 address, int length)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (length < 0 || !inRange(address, quint64(length), 0, ExternalFlashSize))
        return QByteArray();
    return s.external.mid(int(address), length);
}

void writeExternalFlash(quint32 address, const QByteArray &bytes)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (inRange(address, quint64(bytes.size()), 0, ExternalFlashSize))
        std::memcpy(s.external.data() + address, bytes.constData(), size_t(bytes.size()));
}

QByteArray serialString()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return serialOf(s);
}

quint32 statusWord()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.status;
}

void setStatusWord(quint32 word)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.status = word;
}

void setStatusLockedBits(quint32 mask)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.lockedBits = mask;
}

QByteArray lastTestWrite()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.testWrite;
}

void failTransfers(int request, int times, int skip, int errnoValue)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.rules.append(Rule{Rule::Fail, request, skip, times, errnoValue});
}

void shortenTransfers(int request, int length, int times, int skip)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.rules.append(Rule{Rule::Shorten, request, skip, times, length});
}

void corruptReads(Memory memory, quint32 address, int times)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.corruptions.append(Corruption{memory, address, times});
}

void refuseOpen(int errnoValue, int times)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.refuseOpenErrno = errnoValue;
    s.refuseOpenTimes = times;
}

void refuseSetConfiguration(int times, int errnoValue)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.refuseConfigurationTimes = times;
    s.refuseConfigurationErrno = errnoValue;
}

void refuseClaimInterface(int times)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.refuseClaimTimes = times;
}

void setLatency(int milliseconds)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.latencyMs = milliseconds;
}

void clearFaults()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.rules.clear();
    s.corruptions.clear();
    s.refuseOpenTimes = 0;
    s.refuseConfigurationTimes = 0;
    s.refuseClaimTimes = 0;
    s.latencyMs = 0;
}

QList<Transfer> transfers()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.log;
}

void clearTransfers()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.log.clear();
}

Counters counters()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.counters;
}

int openHandles()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    int open = 0;
    for (usb_dev_handle *handle : s.handles)
        open += handle->device == s.vn274;
    return open;
}

bool interfaceClaimed()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    for (usb_dev_handle *handle : s.handles)
        if (handle->device == s.vn274 && handle->claimed && works(s, handle))
            return true;
    return false;
}

int lastOpenErrno()
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    return s.lastOpenErrno;
}

} // namespace sim

// --- libusb 0.1 ---------------------------------------------------------------

using sim::model::State;
using sim::model::state;
namespace model = sim::model;

extern "C" {

void usb_init(void)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    s.initialised = true;
    ++s.counters.inits;
}

void usb_set_debug(int)
{
}

int usb_find_busses(void)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!s.initialised)
        return model::fail(EINVAL);
    s.buses[0].next = &s.buses[1];
    s.buses[1].prev = &s.buses[0];
    usb_busses = &s.buses[0];
    return 0;
}

int usb_find_devices(void)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!s.initialised)
        return model::fail(EINVAL);
    ++s.counters.enumerations;
    if (s.restarting && !s.neverReturns) {
        if (s.missedEnumerations >= s.returnEnumerations || s.restartClock.elapsed() >= s.returnMilliseconds)
            s.restarting = false;
        else
            ++s.missedEnumerations;
    }

    struct usb_device *last[2] = {nullptr, nullptr};
    int devnum[2] = {0, 0};
    s.buses[0].devices = s.buses[1].devices = nullptr;
    for (const auto &device : s.devices) {
        if (!model::present(s, device.get()))
            continue;
        struct usb_device *dev = &device->usb;
        const int bus = device->bus;
        dev->devnum = quint8(++devnum[bus]);
        std::snprintf(dev->filename, sizeof dev->filename, "%03d", dev->devnum);
        dev->prev = last[bus];
        dev->next = nullptr;
        if (last[bus])
            last[bus]->next = dev;
        else
            s.buses[bus].devices = dev;
        last[bus] = dev;
    }
    return 0;
}

struct usb_bus *usb_get_busses(void)
{
    return usb_busses;
}

usb_dev_handle *usb_open(struct usb_device *dev)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    model::Device *device = model::deviceOf(s, dev);
    if (!device || !model::present(s, device)) {
        errno = ENODEV;
        return nullptr;
    }
    if (device == s.vn274) {
        if (s.refuseOpenTimes != 0) {
            if (s.refuseOpenTimes > 0)
                --s.refuseOpenTimes;
            s.lastOpenErrno = errno = s.refuseOpenErrno;
            return nullptr;
        }
        s.lastOpenErrno = 0;
        ++s.counters.opens;
    }
    usb_dev_handle *handle = new usb_dev_handle{device, device->attachment, false};
    s.handles.insert(handle);
    return handle;
}

int usb_close(usb_dev_handle *handle)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!s.handles.erase(handle))
        return model::fail(EINVAL);
    if (handle->device == s.vn274)
        ++s.counters.closes;
    delete handle;
    return 0;
}

struct usb_device *usb_device(usb_dev_handle *handle)
{
    return handle ? &handle->device->usb : nullptr;
}

int usb_set_configuration(usb_dev_handle *handle, int configuration)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    if (handle->device == s.vn274 && s.refuseConfigurationTimes != 0) {
        if (s.refuseConfigurationTimes > 0)
            --s.refuseConfigurationTimes;
        return model::fail(s.refuseConfigurationErrno);
    }
    if (configuration != 1)
        return model::fail(EINVAL);
    if (handle->device == s.vn274)
        ++s.counters.setConfigurations;
    return 0;
}

int usb_claim_interface(usb_dev_handle *handle, int interface)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    if (handle->device == s.vn274 && s.refuseClaimTimes != 0) {
        if (s.refuseClaimTimes > 0)
            --s.refuseClaimTimes;
        return model::fail(EBUSY);
    }
    if (interface != 0)
        return model::fail(ENOENT);
    for (usb_dev_handle *other : s.handles)
        if (other != handle && other->device == handle->device && other->claimed && model::works(s, other))
            return model::fail(EBUSY);
    handle->claimed = true;
    if (handle->device == s.vn274)
        ++s.counters.claims;
    return 0;
}

int usb_release_interface(usb_dev_handle *handle, int interface)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    if (interface != 0 || !handle->claimed)
        return model::fail(ENOENT);
    handle->claimed = false;
    if (handle->device == s.vn274)
        ++s.counters.releases;
    return 0;
}

int usb_set_altinterface(usb_dev_handle *handle, int alternate)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    return alternate == 0 ? 0 : model::fail(EINVAL);
}

int usb_control_msg(usb_dev_handle *handle, int requesttype, int request, int value, int index, char *bytes,
                    int size, int timeout)
{
    State &s = state();
    sim::Transfer entry;
    int latency = 0;
    {
        QMutexLocker lock(&s.mutex);
        if (!s.handles.count(handle))
            return model::fail(EINVAL);
        entry.device = handle->device->number;
        entry.request = request & 0xFF;
        entry.value = quint16(value);
        entry.index = quint16(index);
        entry.length = size;
        entry.timeout = timeout;
        entry.direction = requesttype & USB_ENDPOINT_IN ? sim::Direction::In : sim::Direction::Out;
        entry.begin = ++s.clock;
        entry.thread = QThread::currentThreadId();
        s.counters.maxConcurrentTransfers = qMax(s.counters.maxConcurrentTransfers, ++s.activeTransfers);
        latency = s.latencyMs;
    }
    if (latency > 0)
        QThread::msleep(ulong(latency));

    QMutexLocker lock(&s.mutex);
    entry.result = model::controlTransfer(s, handle, requesttype, request & 0xFF, value & 0xFFFF, index & 0xFFFF,
                                        bytes, size);
    entry.end = ++s.clock;
    --s.activeTransfers;
    s.log.append(entry);
    if (entry.result < 0)
        errno = -entry.result;
    return entry.result;
}

int usb_get_descriptor(usb_dev_handle *handle, unsigned char type, unsigned char index, void *buf, int size)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    if (handle->device == s.vn274) {
        // A control transfer on the wire too: it takes the latency and counts
        // as in progress, so that a read overlapping another transfer shows.
        ++s.counters.descriptorReads;
        s.counters.maxConcurrentTransfers = qMax(s.counters.maxConcurrentTransfers, ++s.activeTransfers);
        const int latency = s.latencyMs;
        if (latency > 0) {
            lock.unlock();
            QThread::msleep(ulong(latency));
            lock.relock();
        }
        --s.activeTransfers;
        if (!model::works(s, handle))
            return model::fail(ENODEV);
    }
    const model::Device *device = handle->device;

    QByteArray descriptor;
    if (type == USB_DT_DEVICE) {
        descriptor = QByteArray(reinterpret_cast<const char *>(&device->usb.descriptor), USB_DT_DEVICE_SIZE);
    } else if (type == USB_DT_STRING) {
        switch (index) {
        case 0: descriptor = QByteArray("\x04\x03\x09\x04", 4); break;
        case 1: descriptor = model::stringDescriptor(device->number < 0 ? "Linux Foundation" : "Vn274"); break;
        case 2: descriptor = model::stringDescriptor(device->number < 0 ? "Root Hub" : "RGB LED driver"); break;
        case 3: descriptor = model::stringDescriptor(device == s.vn274 ? model::serialOf(s) : device->serial); break;
        default: return model::fail(EPIPE);
        }
    } else {
        return model::fail(EPIPE);
    }
    if (size < 0 || (size > 0 && !buf))
        return model::fail(EINVAL);
    const int n = qMin(size, int(descriptor.size()));
    std::memcpy(buf, descriptor.constData(), size_t(n));
    return n;
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
        return model::fail(EINVAL);
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
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    if (handle->device != s.vn274 || ep != 0x02 || size < 0 || (size > 0 && !bytes))
        return model::fail(EPIPE);
    s.bulkLoop.append(bytes, size);
    return size;
}

int usb_bulk_read(usb_dev_handle *handle, int ep, char *bytes, int size, int /*timeout*/)
{
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    if (handle->device != s.vn274 || ep != 0x81 || size < 0 || (size > 0 && !bytes))
        return model::fail(EPIPE);
    if (s.bulkLoop.isEmpty())
        return model::fail(ETIMEDOUT);
    const int n = qMin(size, int(s.bulkLoop.size()));
    std::memcpy(bytes, s.bulkLoop.constData(), size_t(n));
    s.bulkLoop.remove(0, n);
    return n;
}

int usb_interrupt_write(usb_dev_handle *, int, const char *, int, int)
{
    return model::fail(EPIPE);
}

int usb_interrupt_read(usb_dev_handle *, int, char *, int, int)
{
    return model::fail(EPIPE);
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
    State &s = state();
    QMutexLocker lock(&s.mutex);
    if (!model::works(s, handle))
        return model::fail(ENODEV);
    if (handle->device == s.vn274)
        ++s.vn274->attachment;
    return 0;
}

int usb_get_driver_np(usb_dev_handle *, int, char *, unsigned int)
{
    return model::fail(ENODATA);
}

int usb_detach_kernel_driver_np(usb_dev_handle *, int)
{
    return model::fail(ENODATA);
}

char *usb_strerror(void)
{
    static char text[] = "simulated Vn274: transfer failed";
    return text;
}

} // extern "C"
