#ifndef USBFSHANDLER_H
#define USBFSHANDLER_H

#include <QList>
#include <QMutex>
#include <QString>

#include <map>
#include <memory>

#include <sys/types.h>

typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

namespace sim::usbfs {
class File;
}

// One call on a device node as the handler saw it.
struct NodeCall
{
    QString node;           // "/dev/bus/usb/002/003"
    int opening = 0;        // which opening of a node: 1, 2, ... in the order opened
    QString what;           // "OPEN", "READ 18", "SETCONFIGURATION 1", "CLAIMINTERFACE 0",
                            // "RELEASEINTERFACE 0", "CONNECTINFO", "CONTROL c0 255 0 0 2", "IOCTL 5512"
    long result = 0;        // what the call returned: bytes or 0, or a negative errno
};

// The umockdev handler of the emulated device nodes: every open, read and
// ioctl that a program under umockdev's preload makes on a node it is
// attached to goes to the simulator's kernel front (sim::usbfs::File). It
// runs in umockdev's own thread.
//
// umockdev does not report closes here (no "client-vanished"); a client whose
// connection has ended is closed when the handler next runs, or by
// closeFinishedFiles().
class UsbfsHandler
{
public:
    explicit UsbfsHandler(const QString &testbedRoot);
    ~UsbfsHandler();
    UsbfsHandler(const UsbfsHandler &) = delete;
    UsbfsHandler &operator=(const UsbfsHandler &) = delete;

    UMockdevIoctlBase *object() const { return handler; }

    // The user the emulated program runs as. A node it opens is writable
    // when the node's mode in the testbed lets that user write, as the kernel
    // decides at open() (root may always).
    void setCaller(uid_t uid, gid_t gid);

    QList<NodeCall> calls() const;
    void clearCalls();
    // Closes the files of programs that have closed them or ended; waits up
    // to `milliseconds` for the last ones. True when none is open.
    bool closeFinishedFiles(int milliseconds);

private:
    // umockdev's signals (gboolean is an int).
    static void clientConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self);
    static int handleIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self);
    static int handleRead(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self);
    static int handleWrite(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self);

    bool mayWrite(const QString &node) const;
    sim::usbfs::File *fileOf(UMockdevIoctlClient *client, int *opening);
    int closeFinishedLocked();
    void record(UMockdevIoctlClient *client, int opening, const QString &what, long result);
    class Memory;
    long ioctl(UMockdevIoctlClient *client, sim::usbfs::File &file, Memory &memory, QString *what);

    UMockdevIoctlBase *handler;
    QString root;
    mutable QMutex mutex;       // the members below
    uid_t callerUid = 0;
    gid_t callerGid = 0;
    struct Opening
    {
        int number;
        std::unique_ptr<sim::usbfs::File> file;
    };
    std::map<UMockdevIoctlClient *, Opening> files;   // a reference on each client
    int openings = 0;
    QList<NodeCall> log;
};

#endif // USBFSHANDLER_H
