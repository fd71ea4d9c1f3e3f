#ifndef TOOL_STATIONDRIVERS_H
#define TOOL_STATIONDRIVERS_H

#include "upgrade/concurrentupgrade.h"

#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>

namespace tool {

// The drivers a station has seen in this run, by serial number: what a
// driver that arrives is to it, and how each one's change ended.
//
// A driver restarts twice during its change, and each restart is a departure
// and an arrival under a new device number. The arrivals while its change
// runs are its own; so is an arrival told only after its change has ended
// (udev may tell it after the change has already found the driver there),
// which is known by its device: the change's link took the driver at every
// device it came back at. An arrival anywhere else after the change has
// ended is the driver plugged in again.
class StationDrivers
{
public:
    enum class State { InProgress, Changed, Failed, Skipped };
    enum class Arrival {
        OwnRestart,       // not an arrival: its change runs, or took it at this device
        New,              // not seen before in this run, or seen and not changed
        PluggedInAgain    // its change in this run has ended, and it is back at another device
    };

    // A driver with this serial number is at the device "BUS/DEVICE" now:
    // found at the start, plugged in, or back from a restart.
    Arrival arrived(const QByteArray &serial, const QString &device);
    void started(const QByteArray &serial);
    void finished(const DriverResult &result);

    // The serial numbers in this state, in order.
    QStringList inState(State state) const;
    // Of those stopped halfway, the ones that answer from their bootloaders.
    QStringList inBootloader() const;

private:
    struct Seen
    {
        State state = State::Skipped;
        QStringList devices;         // where it has been, "BUS/DEVICE"
        bool inBootloader = false;
    };
    QMap<QByteArray, Seen> seen;
};

} // namespace tool

#endif // TOOL_STATIONDRIVERS_H
