#ifndef EMULATEDBUSES_H
#define EMULATEDBUSES_H

#include <QMap>
#include <QProcessEnvironment>
#include <QSet>
#include <QString>

#include <memory>

#include <sys/types.h>

typedef struct _UMockdevTestbed UMockdevTestbed;
class UsbfsHandler;

namespace sim::usbfs {
struct Node;
}

// An umockdev testbed that shows the simulated buses as the kernel would:
// for every device on them a sysfs entry (idVendor, idProduct, busnum,
// devnum, descriptors, ...) and its node /dev/bus/usb/BBB/DDD, with the
// handler that answers through the simulator's kernel front attached.
// sync() follows the model: a device that leaves loses its sysfs entry and
// its node, one that arrives (again) gets them under its new number, each with
// its uevent ("remove", "add") to the udev monitors of programs under the
// testbed. umockdev sends uevents only from a program that runs under its
// preload library itself: the test programs here do (their CTest environment). A
// Vn274 node the model calls pending (just come, udev has not set its
// permissions yet) is 0600, root's alone, until it is not.
//
// umockdev lets a /dev path that is not in the testbed through to the real
// /dev. libusb opens only nodes it has just listed, and the driver leaves the
// bus only right after a request of the tool, which then waits, so nothing of
// the tool reaches a real device node.
class EmulatedBuses
{
public:
    EmulatedBuses();
    ~EmulatedBuses();
    EmulatedBuses(const EmulatedBuses &) = delete;
    EmulatedBuses &operator=(const EmulatedBuses &) = delete;

    UsbfsHandler &handler() { return *nodeHandler; }
    QString root() const { return rootDir; }

    // The testbed shows the devices on the buses now.
    void sync();
    // The mode of the Vn274 nodes, from now on (the kernel's default with
    // the project's udev rule is 0664, owner root).
    void setVn274NodeMode(mode_t mode);
    // Lets another user than root reach the testbed (its directory and
    // umockdev's sockets), as the program under test runs as that user.
    void openToOtherUsers();

    // The environment of a program that is to see the testbed: umockdev's
    // preload library and the testbed's root on top of this process's own.
    QProcessEnvironment environment() const;

    // How often a Vn274 node was shown pending (0600) so far.
    int pendingShown() const { return pendingCount; }

private:
    void show(const sim::usbfs::Node &node);
    void followAccess(const sim::usbfs::Node &node);

    UMockdevTestbed *testbed;
    QString rootDir;
    std::unique_ptr<UsbfsHandler> nodeHandler;
    QMap<QString, QString> shown;       // sysfs paths of the devices there now, by node path
    QSet<QString> vn274Nodes;           // node paths of Vn274s, present or not
    QSet<QString> attached;             // node paths with the handler attached, present or not
    QSet<QString> pending;              // Vn274 node paths shown 0600 while udev "has not run"
    int pendingCount = 0;
    mode_t vn274Mode = 0664;
    bool forOtherUsers = false;
};

#endif // EMULATEDBUSES_H
