#ifndef SIM_FIRMWARE_H
#define SIM_FIRMWARE_H

#include "simulator/simdriver.h"

#include <QByteArray>

namespace sim::model {

class Faults;

// The firmware of one simulated Vn274: the mode it runs, its internal and
// external flash, its status word, and its answers to the vendor requests,
// its side of the transfer scrambling included. It knows nothing of buses,
// handles or device nodes: it is handed one request at a time by the bus.
class Firmware
{
public:
    // A fresh driver: erased flash with the bootloader's version texts and
    // this serial (up to 9 characters) in the bootloader's area.
    Firmware(const QByteArray &serial, Mode mode);

    Mode mode() const { return runningMode; }
    void setMode(Mode mode) { runningMode = mode; }

    // The serial string (string descriptor 3) as the mode has it now: the
    // stored serial, followed by "b" in the bootloader.
    QByteArray serialString() const;

    // An "in" request: 0 with the reply (reads go through the faults'
    // corruption), or a negative errno for a stall.
    int answer(int request, quint32 address, int length, Faults &faults, QByteArray &reply);
    // An "out" request: the bytes taken, or a negative errno for a stall.
    // Request 4 is acknowledged; *restart then says the firmware leaves the bus
    // to start the other one.
    int take(int request, quint32 address, const QByteArray &data, bool *restart);

    // What a restart or an unplugged cable clears: the status word and the
    // bulk data in flight.
    void forgetRam();

    // Direct access for the control interface. Out of range: empty / ignored.
    QByteArray internalFlash(quint32 address, int length) const;
    void writeInternalFlash(quint32 address, const QByteArray &bytes);
    QByteArray externalFlash(quint32 address, int length) const;
    void writeExternalFlash(quint32 address, const QByteArray &bytes);

    quint32 status = 0;
    quint32 lockedBits = 0;     // bits requests 7 and 8 cannot change
    QByteArray testWrite;       // payload of the last accepted request 2
    QByteArray bulkLoop;        // bulk out data waiting to be read back

private:
    Mode runningMode;
    QByteArray internal;
    QByteArray external;
};

} // namespace sim::model

#endif // SIM_FIRMWARE_H
