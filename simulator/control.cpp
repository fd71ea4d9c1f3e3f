// The control interface of simdriver.h on the bus model.
#include "simulator/simdriver.h"

#include "simulator/bus.h"

#include <QtGlobal>

namespace sim {

using model::Bus;
using model::Device;

namespace {

Device &vn274(Bus &b, int index)
{
    Device *device = b.vn274(index);
    if (!device)
        qFatal("sim::driver(%d): there is no such Vn274 (there are %d)", index, b.vn274Count());
    return *device;
}

// Runs f(bus, device) for the Vn274 with this index, under the bus's lock.
template<typename F>
auto onDriver(int index, F f)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    return f(b, vn274(b, index));
}

} // namespace

// --- Driver ------------------------------------------------------------------

Driver driver(int index)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    vn274(b, index);
    return Driver(index);
}

int driverCount()
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    return b.vn274Count();
}

Driver addDriver(const QByteArray &serial, Mode mode, bool beforeFirst)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    b.addVn274(beforeFirst ? 0 : 1, serial, mode);
    return Driver(b.vn274Count() - 1);
}

int Driver::number() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.number; });
}

int Driver::busNumber() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.busIndex + 1; });
}

int Driver::deviceNumber() const
{
    return onDriver(driverIndex, [](Bus &b, Device &d) { return b.present(d) ? d.address : 0; });
}

void Driver::setMode(Mode mode) const
{
    onDriver(driverIndex, [mode](Bus &b, Device &d) {
        b.portReset(d);
        d.firmware->setMode(mode);
        b.arrive(d);
    });
}

Mode Driver::mode() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.firmware->mode(); });
}

bool Driver::onBus() const
{
    return onDriver(driverIndex, [](Bus &b, Device &d) { return b.present(d); });
}

void Driver::unplug() const
{
    onDriver(driverIndex, [](Bus &b, Device &d) {
        b.leave(d);
        d.plugged = false;
    });
}

void Driver::plug() const
{
    onDriver(driverIndex, [](Bus &b, Device &d) { b.arrive(d); });
}

void Driver::setReenumeration(int enumerations, int milliseconds) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) {
        d.returnEnumerations = enumerations;
        d.returnMilliseconds = milliseconds;
    });
}

void Driver::setNeverReturns(bool never) const
{
    onDriver(driverIndex, [never](Bus &, Device &d) { d.neverReturns = never; });
}

void Driver::setStaysInBootloader(bool stays) const
{
    onDriver(driverIndex, [stays](Bus &, Device &d) { d.staysInBootloader = stays; });
}

void Driver::setReturnSerial(const QByteArray &serial) const
{
    onDriver(driverIndex, [serial](Bus &, Device &d) { d.returnSerial = serial; });
}

void Driver::refuseOpenAfterReturn(int milliseconds, int errnoValue) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) {
        d.accessDelayMs = milliseconds;
        d.accessErrno = errnoValue;
    });
}

QByteArray Driver::internalFlash(quint32 address, int length) const
{
    return onDriver(driverIndex, [=](Bus &, Device &d) { return d.firmware->internalFlash(address, length); });
}

void Driver::writeInternalFlash(quint32 address, const QByteArray &bytes) const
{
    onDriver(driverIndex, [&](Bus &, Device &d) { d.firmware->writeInternalFlash(address, bytes); });
}

QByteArray Driver::externalFlash(quint32 address, int length) const
{
    return onDriver(driverIndex, [=](Bus &, Device &d) { return d.firmware->externalFlash(address, length); });
}

void Driver::writeExternalFlash(quint32 address, const QByteArray &bytes) const
{
    onDriver(driverIndex, [&](Bus &, Device &d) { d.firmware->writeExternalFlash(address, bytes); });
}

QByteArray Driver::serialString() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.firmware->serialString(); });
}

quint32 Driver::statusWord() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.firmware->status; });
}

void Driver::setStatusWord(quint32 word) const
{
    onDriver(driverIndex, [word](Bus &, Device &d) { d.firmware->status = word; });
}

void Driver::setStatusLockedBits(quint32 mask) const
{
    onDriver(driverIndex, [mask](Bus &, Device &d) { d.firmware->lockedBits = mask; });
}

QByteArray Driver::lastTestWrite() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.firmware->testWrite; });
}

void Driver::failTransfers(int request, int times, int skip, int errnoValue) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.failTransfers(request, times, skip, errnoValue); });
}

void Driver::shortenTransfers(int request, int length, int times, int skip) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.shortenTransfers(request, length, times, skip); });
}

void Driver::unplugAtTransfer(int request, int skip) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.unplugAtTransfer(request, skip); });
}

void Driver::corruptReads(Memory memory, quint32 address, int times) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.corruptReads(memory, address, times); });
}

void Driver::refuseOpen(int errnoValue, int times) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.refuseOpen(errnoValue, times); });
}

void Driver::refuseSetConfiguration(int times, int errnoValue) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.refuseSetConfiguration(times, errnoValue); });
}

void Driver::refuseClaimInterface(int times) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.refuseClaimInterface(times); });
}

void Driver::setLatency(int milliseconds) const
{
    onDriver(driverIndex, [=](Bus &, Device &d) { d.faults.setLatency(milliseconds); });
}

void Driver::clearFaults() const
{
    onDriver(driverIndex, [](Bus &, Device &d) { d.faults.clear(); });
}

QList<Transfer> Driver::transfers() const
{
    return onDriver(driverIndex, [](Bus &b, Device &d) {
        QList<Transfer> own;
        for (const Transfer &t : b.log)
            if (t.device == d.number)
                own << t;
        return own;
    });
}

Counters Driver::counters() const
{
    return onDriver(driverIndex, [](Bus &b, Device &d) { return b.counters(d); });
}

int Driver::openHandles() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.openings; });
}

bool Driver::interfaceClaimed() const
{
    return onDriver(driverIndex, [](Bus &b, Device &d) { return b.interfaceClaimed(d); });
}

int Driver::lastOpenErrno() const
{
    return onDriver(driverIndex, [](Bus &, Device &d) { return d.lastOpenErrno; });
}

// --- The first Vn274, and the bus ----------------------------------------------

void reset()
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    b.reset();
}

void addDevice(quint16 vendorId, quint16 productId, const QByteArray &identificationReply, bool beforeVn274)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    b.addOther(beforeVn274 ? 0 : 1, vendorId, productId, identificationReply);
}

void setHooks(const Hooks &hooks)
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    b.hooks = hooks;
}

void clearFaults()
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    for (int i = 0; i < b.vn274Count(); ++i)
        b.vn274(i)->faults.clear();
}

QList<Transfer> transfers()
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    return b.log;
}

void clearTransfers()
{
    Bus &b = model::bus();
    QMutexLocker lock(&b.mutex);
    b.log.clear();
}

void setMode(Mode mode) { driver(0).setMode(mode); }
Mode mode() { return driver(0).mode(); }
bool onBus() { return driver(0).onBus(); }
void unplug() { driver(0).unplug(); }
void plug() { driver(0).plug(); }
void setReenumeration(int enumerations, int milliseconds) { driver(0).setReenumeration(enumerations, milliseconds); }
void setNeverReturns(bool never) { driver(0).setNeverReturns(never); }
void setStaysInBootloader(bool stays) { driver(0).setStaysInBootloader(stays); }
void setReturnSerial(const QByteArray &serial) { driver(0).setReturnSerial(serial); }
void refuseOpenAfterReturn(int milliseconds, int errnoValue) { driver(0).refuseOpenAfterReturn(milliseconds, errnoValue); }

QByteArray internalFlash(quint32 address, int length) { return driver(0).internalFlash(address, length); }
void writeInternalFlash(quint32 address, const QByteArray &bytes) { driver(0).writeInternalFlash(address, bytes); }
QByteArray externalFlash(quint32 address, int length) { return driver(0).externalFlash(address, length); }
void writeExternalFlash(quint32 address, const QByteArray &bytes) { driver(0).writeExternalFlash(address, bytes); }
QByteArray serialString() { return driver(0).serialString(); }
quint32 statusWord() { return driver(0).statusWord(); }
void setStatusWord(quint32 word) { driver(0).setStatusWord(word); }
void setStatusLockedBits(quint32 mask) { driver(0).setStatusLockedBits(mask); }
QByteArray lastTestWrite() { return driver(0).lastTestWrite(); }

void failTransfers(int request, int times, int skip, int errnoValue)
{
    driver(0).failTransfers(request, times, skip, errnoValue);
}

void shortenTransfers(int request, int length, int times, int skip)
{
    driver(0).shortenTransfers(request, length, times, skip);
}

void unplugAtTransfer(int request, int skip) { driver(0).unplugAtTransfer(request, skip); }
void corruptReads(Memory memory, quint32 address, int times) { driver(0).corruptReads(memory, address, times); }
void refuseOpen(int errnoValue, int times) { driver(0).refuseOpen(errnoValue, times); }
void refuseSetConfiguration(int times, int errnoValue) { driver(0).refuseSetConfiguration(times, errnoValue); }
void refuseClaimInterface(int times) { driver(0).refuseClaimInterface(times); }
void setLatency(int milliseconds) { driver(0).setLatency(milliseconds); }

Counters counters() { return driver(0).counters(); }
int openHandles() { return driver(0).openHandles(); }
bool interfaceClaimed() { return driver(0).interfaceClaimed(); }
int lastOpenErrno() { return driver(0).lastOpenErrno(); }

} // namespace sim
