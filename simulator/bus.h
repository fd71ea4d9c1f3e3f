#ifndef SIM_BUS_H
#define SIM_BUS_H

#include "simulator/device.h"
#include "simulator/simdriver.h"

#include <QList>
#include <QMutex>
#include <QMutexLocker>

#include <memory>
#include <vector>

namespace sim::model {

constexpr int BusCount = 2;     // buses 001 and 002

// The simulated USB buses and everything on them: which devices are there
// now and under which device number, who has them open, and every control
// transfer that reaches one, routed to the Vn274's firmware and logged.
//
// The fronts (the libusb 0.1 functions, the kernel's device node files) and
// the control interface all work on this one model. `mutex` guards all of
// it; every member function expects it held, and only the transfers let go
// of it (through the locker they are given) while the device takes its time.
//
// An "opening" is what a front hands out (a usb_dev_handle, an open device
// node): it is made at one attachment of the device and stops working when
// the device leaves the bus. `opener` identifies it for the interface claim.
class Bus
{
public:
    Bus();

    QMutex mutex;

    // A fresh bus: root hubs, one Vn274 in application mode on bus 002,
    // empty log and counters. Devices from before are retired: openings made
    // on them fail from now on.
    void reset();
    quint64 generation() const { return resets; }   // changes with every reset()

    Device &addVn274(int busIndex, const QByteArray &serial, Mode mode);
    Device &addOther(int busIndex, quint16 vendorId, quint16 productId, const QByteArray &identification);
    Device *vn274(int index);                       // in the order added; nullptr past the last
    int vn274Count() const { return int(vn274s.size()); }
    // Every device, present or not: bus by bus, each in the order added
    // (root hub first).
    QList<Device *> devices();

    // --- Presence ---
    // On the bus now. A restart whose time has run out ends here, and a
    // device that has just arrived gets its device number.
    bool present(Device &device);
    // An enumeration of the buses (usb_find_devices): restarting devices
    // that have missed enough of them come back.
    void enumerate();
    void leave(Device &device);                     // off the bus; openings die, RAM is lost
    void arrive(Device &device);                    // back at once, as after a restart or a replug
    void restart(Device &device, Mode mode);        // off the bus, back later in this mode
    bool works(Device &device, quint64 attachment); // an opening made then still reaches it

    // --- Openings ---
    int open(Device &device);                       // 0, or the errno of a refusal
    void close(Device &device, const void *opener);
    // 0 or a negative errno, as the kernel answers.
    int setConfiguration(Device &device, quint64 attachment, int value);
    int claimInterface(Device &device, quint64 attachment, const void *opener, int interface);
    int releaseInterface(Device &device, quint64 attachment, const void *opener, int interface);
    bool interfaceClaimed(Device &device);          // by an opening that still works
    void portReset(Device &device);                 // re-enumerates at once, in the mode it runs

    // --- Transfers ---
    // A control transfer on the device's default endpoint: vendor requests
    // go to the Vn274's firmware (or the identification reply of another
    // device), a standard GET_DESCRIPTOR to readDescriptor. Bytes moved, or a
    // negative errno. Logged, except descriptor reads.
    int control(QMutexLocker<QMutex> &lock, Device &device, quint64 attachment, int requestType, int request,
                int value, int index, char *bytes, int size, int timeout);
    // A standard descriptor (device, configuration or string), the Vn274's
    // latency included. Bytes, or a negative errno.
    int readDescriptor(QMutexLocker<QMutex> &lock, Device &device, quint64 attachment, int type, int index,
                       void *buffer, int size);
    // The Vn274's bulk endpoints loop data back: out 0x02, in 0x81.
    int bulkWrite(Device &device, quint64 attachment, int endpoint, const char *bytes, int size);
    int bulkRead(Device &device, quint64 attachment, int endpoint, char *bytes, int size);

    // --- Inspection ---
    QList<Transfer> log;
    int inits = 0;              // usb_init calls, counted by the libusb front
    int enumerations = 0;
    int maxConcurrentTransfers = 0;
    int staleOpens = 0;         // counted by the libusb front
    Hooks hooks;
    Counters counters(const Device &device) const;  // its own and the bus's

private:
    void comeBack(Device &device);                  // the end of a restart
    Device &add(int busIndex, int number, quint16 vendorId, quint16 productId);
    int nextAddress(int busIndex);
    void beginTransfer();
    void endTransfer() { --activeTransfers; }
    int route(Device &device, int requestType, int request, int value, int index, char *bytes, int size);

    std::vector<std::unique_ptr<Device>> all;       // root hubs, the Vn274s, added ones
    std::vector<std::unique_ptr<Device>> retired;   // kept so that stale openings stay valid
    std::vector<Device *> vn274s;
    int lastAddress[BusCount] = {0, 0};
    int addedDevices = 0;
    quint64 resets = 0;
    quint64 clock = 0;
    int activeTransfers = 0;
};

Bus &bus();

} // namespace sim::model

#endif // SIM_BUS_H
