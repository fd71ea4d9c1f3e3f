#ifndef SIM_USBFSFRONT_H
#define SIM_USBFSFRONT_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <linux/usbdevice_fs.h>
#include <sys/ioctl.h>

namespace sim::model {
struct Device;
}

// The kernel front of the simulated buses: what the Linux kernel shows a
// process of the devices through usbfs, the device nodes /dev/bus/usb/BBB/DDD.
// A harness that emulates those nodes (umockdev) hands every open, read and
// ioctl of a node here, so that a program on the real libusb talks to the
// same model of the driver as the programs linked with the libusb 0.1 front.
// The control interface (simdriver.h) sets the model up and inspects it as
// for the other front. Thread-safe (the model's lock).
namespace sim::usbfs {

// A device node as the kernel has it now.
struct Node
{
    QString path;               // "/dev/bus/usb/002/003"
    int busNumber = 0;
    int deviceNumber = 0;
    int device = 0;             // the model's number (Transfer::device); -1 for a root hub
    quint16 vendorId = 0;
    quint16 productId = 0;
    QByteArray serial;          // string descriptor 3 as the device gives it now
    QByteArray descriptors;     // device and configuration descriptors: what read() gives, and
                                // the sysfs attribute "descriptors"
    bool accessPending = false; // just come: udev has not set the node's permissions yet
};

// The nodes of the devices on the buses now, bus by bus.
QList<Node> nodes();

// One open file of a device node. It belongs to the device that had the
// node when it was opened: once that device leaves the bus (a restart, an
// unplugged cable) every call fails with -ENODEV, as the kernel answers for a
// disconnected device, even when another device later gets the same number.
//
// Results are what the system call gives: bytes or 0, or a negative errno.
// A file opened without write permission may read the descriptors, and every
// ioctl on it fails with -EPERM, as usbfs refuses them. Closing the file (the
// destructor) releases the interface it claimed.
class File
{
public:
    File(const QString &path, bool writable);
    ~File();
    File(const File &) = delete;
    File &operator=(const File &) = delete;

    // The descriptors from the file position on, which then advances.
    int read(char *buffer, int length);

    int setConfiguration(unsigned int configuration);       // USBDEVFS_SETCONFIGURATION
    int claimInterface(unsigned int interface);              // USBDEVFS_CLAIMINTERFACE
    int releaseInterface(unsigned int interface);            // USBDEVFS_RELEASEINTERFACE
    // USBDEVFS_CONTROL: data holds wLength bytes (in or out).
    int control(const usbdevfs_ctrltransfer &transfer, void *data);
    int connectInfo(usbdevfs_connectinfo *info);             // USBDEVFS_CONNECTINFO
    // USBDEVFS_IOCTL and every other request: usbfs passes them to the
    // interface's kernel driver, and none is bound to these devices.
    int otherIoctl();

private:
    // call(bus) under the model's lock when an ioctl may reach the device;
    // otherwise the negative errno it fails with.
    template<typename Call>
    int ioctl(Call call);

    model::Device *device = nullptr;    // the node's device at the open; null: there was none
    quint64 attachment = 0;
    bool writable;
    int position = 0;
};

} // namespace sim::usbfs

#endif // SIM_USBFSFRONT_H
