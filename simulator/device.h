#ifndef SIM_DEVICE_H
#define SIM_DEVICE_H

#include "simulator/faults.h"
#include "simulator/firmware.h"
#include "simulator/simdriver.h"

#include <QByteArray>
#include <QElapsedTimer>

#include <memory>

namespace sim::model {

constexpr int RootHubNumber = -1;

// One device on the simulated buses: a Vn274 (it has firmware), a root hub,
// or another device that shares the bus. What the buses know of it: where
// it sits, whether it is there now, who has it open.
struct Device
{
    int number = 0;             // 0: the first Vn274; 1, 2, ...: devices added since; -1: root hubs
    int busIndex = 0;           // 0: bus 001, 1: bus 002
    quint16 vendorId = 0;
    quint16 productId = 0;
    quint8 deviceClass = 0;     // 9 for a hub
    QByteArray identification;  // reply to request 255 of a device that is no Vn274
    QByteArray serial;          // string descriptor 3 of a device that is no Vn274
    std::unique_ptr<Firmware> firmware;     // Vn274s only
    Faults faults;
    Counters counters;          // the per-device ones; inits and enumerations are the bus's
    int lastOpenErrno = 0;

    // On the bus. A restart keeps it away until it has missed enough
    // enumerations or enough time has passed.
    bool plugged = true;
    bool restarting = false;
    int missedEnumerations = 0;
    QElapsedTimer restartClock;
    int returnEnumerations = 5;
    int returnMilliseconds = 500;
    bool neverReturns = false;
    bool staysInBootloader = false;   // request 4 in the bootloader restarts it into the bootloader
    QByteArray returnSerial;    // the serial it comes back with from its next restart into the application
    // After each return the kernel's node exists before udev has set its
    // permissions: opening it is refused with accessErrno for accessDelayMs.
    int accessDelayMs = 0;
    int accessErrno = EACCES;
    QElapsedTimer arrivalClock; // since its last return was noticed; invalid before any
    qint64 arrivedEarlierMs = 0;// how long before that it had come back
    quint64 attachment = 1;     // changes whenever it leaves the bus
    int address = 0;            // its device number on the bus while there, 0 while away
    bool retired = false;       // belongs to the state before the last reset()

    // Openings (usb_open handles, device node files).
    int openings = 0;
    const void *claimant = nullptr;     // the opening that holds interface 0
    quint64 claimAttachment = 0;

    bool isVn274() const { return bool(firmware); }
    bool accessPending() const
    {
        return accessDelayMs > 0 && arrivalClock.isValid()
               && arrivalClock.elapsed() + arrivedEarlierMs < accessDelayMs;
    }
    bool isRootHub() const { return number == RootHubNumber; }
};

} // namespace sim::model

#endif // SIM_DEVICE_H
