#ifndef SIMDRIVER_H
#define SIMDRIVER_H

// The simulated Vn274 driver: a model of the driver's firmware on simulated
// USB buses (library vn274simmodel), and two fronts that programs reach it
// through.
// - Linked in place of libusb 0.1 (library vn274sim), it exports the
//   functions of <usb.h> (usb_init, usb_find_busses, usb_find_devices,
//   usb_get_busses, usb_open, usb_close, usb_set_configuration,
//   usb_claim_interface, usb_release_interface, usb_control_msg,
//   usb_get_descriptor, the bulk pair and trivial forms of the rest).
// - Its kernel front (usbfsfront.h, library vn274simusbfs) answers the reads
//   and ioctls of the device nodes /dev/bus/usb/BBB/DDD, for the real libusb
//   under umockdev (tests/umockdev).
// This header is its control interface for tests and the demo program.
//
// The model
// - Buses "001" and "002", each with a root hub (1d6b:0002, device number 1)
//   first. The first Vn274 (16c0:0789) sits on bus 002 after its hub. Devices
//   added "before" it go on bus 001, the others on bus 002 after it, each in
//   the order added. A device that arrives gets the next free device number
//   on its bus, as from the kernel: 2, 3, ... and a new one whenever it comes
//   back after leaving.
// - Several Vn274s: after reset() there is one (driver(0)); addDriver() adds
//   more. Each has its own serial, flashes, mode, status word, restarts,
//   faults and counters. The free functions below act on driver(0), the
//   first Vn274; Driver acts on any.
// - Two modes. Application: string descriptor 3 is the 9-character serial
//   stored at 0x08003FF0. Bootloader: the same followed by "b" (10 chars).
// - Request 4 (no data) is acknowledged, then the device leaves the bus: open
//   handles fail with -ENODEV and enumerations do not list it. It comes back
//   in the other mode once it has been missing from `enumerations` calls of
//   usb_find_devices, or `milliseconds` after it left, whichever comes first
//   (defaults 5 and 500). Any departure clears the status word.
// - Internal flash 0x08000000-0x0801FFFF, erased 0xFF, with the bootloader's
//   two NUL-terminated version texts at 0x08003FD0 and 0x08003FE0 and the
//   9-digit serial at 0x08003FF0. External flash of 1 MiB, erased 0xFF.
// - Vendor requests (0xC0 = in, 0x40 = out; address = wIndex << 16 | wValue):
//     255 in   2 bytes: identification word 0x00BA, little-endian
//       1 in   <= 2048 bytes of internal flash, scrambled per transfer (the key
//              restarts at the transfer's first word)
//       2 out  exactly 512 bytes, kept for lastTestWrite()
//       3 out  exactly 1024 bytes, descrambled and written as one page at a
//              1024-aligned address in 0x08004000-0x0801FFFF; bootloader only
//       4 out  no data: restart into the other mode (see above)
//       5 in   <= 512 bytes of external flash, as stored
//       6 out  <= 256 bytes to external flash, stored as given
//     7, 8 out exactly 4 bytes: mask of status bits to set / clear
//       9 in   the status word, 4 bytes little-endian
//   Anything else, a wrong direction, a wrong length or an address outside
//   the memory stalls: -EPIPE, with no effect. An "in" request with a buffer
//   larger than the reply gets the reply (fewer bytes). The standard
//   GET_DESCRIPTOR (0x80, 6) gives the device, configuration and string
//   descriptors (1 "Vn274", 2 "RGB LED driver", 3 the serial string).
// - Every failure answers at once with a negative errno, as libusb does, and
//   sets errno. Nothing waits unless setLatency() asks for it.
// - Bulk endpoints 0x02 (out) and 0x81 (in) loop data back.
// - Other devices added with addDevice() answer request 255 with the given
//   bytes and stall every other vendor request.
//
// Everything here and every exported function is thread-safe (one mutex).
// The state lives from the start of the process: a fresh device in
// application mode, as after reset().

#include <QByteArray>
#include <QList>
#include <QtGlobal>

#include <cerrno>
#include <functional>

namespace sim {

enum class Mode { Application, Bootloader };
enum class Memory { Internal, External };
enum class Direction { In, Out };

constexpr quint16 VendorId = 0x16C0;
constexpr quint16 ProductId = 0x0789;
constexpr quint16 IdentificationWord = 0x00BA;

constexpr quint32 InternalFlashBase = 0x08000000;
constexpr quint32 InternalFlashSize = 0x20000;
constexpr quint32 ApplicationBase = 0x08004000;
constexpr quint32 BootloaderVersionAddress = 0x08003FD0;    // first text; the second at +16
constexpr quint32 SerialAddress = 0x08003FF0;
constexpr quint32 PageSize = 1024;
constexpr quint32 ExternalFlashSize = 0x100000;

constexpr char DefaultSerial[] = "240611027";
constexpr char DefaultBootloaderVersion[] = "Vn274 boot 1.3";
constexpr char DefaultBootloaderDate[] = "Jun 11 2024";

constexpr int AnyRequest = -1;   // a fault for every request
constexpr int Forever = -1;      // a fault that never runs out

// --- Inspection records --------------------------------------------------------

struct Transfer
{
    int device = 0;          // 0: the first Vn274; 1, 2, ...: devices in the order added
                             // (addDriver and addDevice), as Driver::number() has it
    int request = 0;
    quint16 value = 0;
    quint16 index = 0;
    int length = 0;          // as asked by the host
    int timeout = 0;         // milliseconds, as asked by the host
    Direction direction = Direction::In;
    int result = 0;          // bytes moved, or a negative errno
    quint64 begin = 0;       // order of the call's start and end on one
    quint64 end = 0;         //   clock shared by all transfers
    Qt::HANDLE thread = nullptr;
};

struct Counters
{
    int inits = 0;               // usb_init (the bus's)
    int enumerations = 0;        // usb_find_devices (the bus's)
    int opens = 0;               // successful usb_open / opening of its device node
    int closes = 0;              // usb_close of its handles / closing of its node
    int setConfigurations = 0;   // successful usb_set_configuration(.., 1)
    int claims = 0;              // successful usb_claim_interface(.., 0)
    int releases = 0;            // successful usb_release_interface
    int descriptorReads = 0;     // usb_get_descriptor, or GET_DESCRIPTOR through the node
    int maxConcurrentTransfers = 0;   // control transfers and descriptor reads at once (the bus's)
    // usb_open of a device that the last usb_find_devices did not list (it
    // was away then), in the libusb front (the bus's). The real libusb 0.1
    // frees the devices gone from its list at every enumeration: one
    // enumeration and the openings from its list must not be split by another.
    int staleOpens = 0;
};

// Code run in the calling thread, outside the model's lock, so that a test
// can make two threads meet at a chosen point. Empty ones are skipped;
// reset() clears them.
struct Hooks
{
    // At the start of every control transfer to a Vn274 (before its
    // latency), with the Vn274's number (as Transfer::device has it) and the request.
    std::function<void(int device, int request)> transfer;
    // At the start of usb_find_devices and of usb_open in the libusb front.
    std::function<void()> enumeration;
    std::function<void()> open;
};

// --- One Vn274 -------------------------------------------------------------------

// A Vn274 on the simulated bus, by its index: 0 the first one, 1, 2, ... in
// the order addDriver() added them. A Driver is only a name for it (hence
// every call is const): copy it freely. Its calls are those of the free functions below, on this Vn274.
class Driver
{
public:
    int index() const { return driverIndex; }
    int number() const;          // as Transfer::device has it
    int busNumber() const;       // 1 or 2
    int deviceNumber() const;    // on its bus now; 0 while off the bus

    void setMode(Mode mode) const;
    Mode mode() const;
    bool onBus() const;
    void unplug() const;
    void plug() const;
    void setReenumeration(int enumerations, int milliseconds) const;
    void setNeverReturns(bool never) const;
    void setStaysInBootloader(bool stays) const;
    void setReturnSerial(const QByteArray &serial) const;
    void refuseOpenAfterReturn(int milliseconds, int errnoValue = EACCES) const;

    QByteArray internalFlash(quint32 address, int length) const;
    void writeInternalFlash(quint32 address, const QByteArray &bytes) const;
    QByteArray externalFlash(quint32 address, int length) const;
    void writeExternalFlash(quint32 address, const QByteArray &bytes) const;
    QByteArray serialString() const;
    quint32 statusWord() const;
    void setStatusWord(quint32 word) const;
    void setStatusLockedBits(quint32 mask) const;
    QByteArray lastTestWrite() const;

    void failTransfers(int request, int times, int skip = 0, int errnoValue = EIO) const;
    void shortenTransfers(int request, int length, int times = 1, int skip = 0) const;
    void unplugAtTransfer(int request, int skip = 0) const;
    void corruptReads(Memory memory, quint32 address, int times = 1) const;
    void refuseOpen(int errnoValue = EACCES, int times = Forever) const;
    void refuseSetConfiguration(int times = Forever, int errnoValue = EBUSY) const;
    void refuseClaimInterface(int times = Forever) const;
    void setLatency(int milliseconds) const;
    void clearFaults() const;

    QList<Transfer> transfers() const;   // the log's transfers to this Vn274
    Counters counters() const;
    int openHandles() const;
    bool interfaceClaimed() const;
    int lastOpenErrno() const;

private:
    friend Driver driver(int index);
    friend Driver addDriver(const QByteArray &serial, Mode mode, bool beforeFirst);
    explicit Driver(int index) : driverIndex(index) {}
    int driverIndex;
};

// The Vn274 with this index; a program error (abort) when there is none.
Driver driver(int index);
int driverCount();
// Another Vn274 with this serial (up to 9 characters) running this mode, on
// bus 002 after the devices there, or on bus 001 when beforeFirst. It is on
// the bus at once, with fresh flash and the defaults of reset().
Driver addDriver(const QByteArray &serial, Mode mode = Mode::Application, bool beforeFirst = false);

// --- The device ------------------------------------------------------------------
// The calls in this section and the next two act on driver(0), except where
// they say otherwise.

// A fresh bus: one Vn274 in application mode, on the bus, flash as described
// above, status 0, no other devices, no faults, defaults for re-enumeration,
// no latency, empty log and counters. Handles opened before fail from now on,
// and usb_init must be called again, as in a new process.
void reset();

// Puts the device on the bus in this mode at once, as if it had just started
// there. Open handles fail from now on; the status word is kept.
void setMode(Mode mode);
Mode mode();                 // the mode it runs, or is restarting into
bool onBus();                // on the bus now: plugged in and not restarting

// The device leaves the bus (open handles fail) until plug(). plug() puts it
// back at once, in its current mode, ending any restart in progress.
void unplug();
void plug();

// How long a restart after request 4 keeps the device off the bus: missing
// from this many enumerations, or this many milliseconds, whichever is first.
void setReenumeration(int enumerations, int milliseconds);
// After request 4 the device never comes back by itself (plug() brings it).
void setNeverReturns(bool never);
// Request 4 in the bootloader restarts the device into its bootloader again:
// a new application that does not start.
void setStaysInBootloader(bool stays);
// At its next restart into the application the device comes back with this
// serial number (up to 9 characters, stored at 0x08003FF0) instead of its
// own: to the host, another driver in its place. Empty: its own.
void setReturnSerial(const QByteArray &serial);
// For this long after each return (from a restart, or plug()), opening the
// device is refused with errnoValue, as while the kernel's new node waits for
// udev to set its permissions. The usbfs front's Node tells it (accessPending).
void refuseOpenAfterReturn(int milliseconds, int errnoValue = EACCES);

// Another device, listed before the first Vn274 (bus 001) or after the
// devices on bus 002. It answers request 255 with identificationReply, e.g.
// another model's word {0x17, 0x02} or a single byte.
void addDevice(quint16 vendorId, quint16 productId, const QByteArray &identificationReply,
               bool beforeVn274 = false);

// --- Memory and status -------------------------------------------------------

QByteArray internalFlash(quint32 address, int length);   // plain, as stored
void writeInternalFlash(quint32 address, const QByteArray &bytes);
QByteArray externalFlash(quint32 address, int length);
void writeExternalFlash(quint32 address, const QByteArray &bytes);
QByteArray serialString();   // string descriptor 3 as the mode has it now

quint32 statusWord();
void setStatusWord(quint32 word);
// Bits that requests 7 and 8 cannot change (e.g. 1: bit 0 never sets).
void setStatusLockedBits(quint32 mask);

QByteArray lastTestWrite();  // payload of the last accepted request 2

// --- Faults (cleared by reset() and clearFaults()) ---------------------------
// Transfers are control transfers to the Vn274. Rules count only the
// transfers they match (request, or AnyRequest); the first `skip` matching
// transfers pass, the next `times` are hit. A hit transfer has no effect.
// Every rule counts every transfer it matches; when two hit the same
// transfer, the one added first decides.

// Fail with -errnoValue, e.g. failTransfers(AnyRequest, 3) for the next three
// transfers, failTransfers(5, 1, 2) for the third transfer of request 5.
void failTransfers(int request, int times, int skip = 0, int errnoValue = EIO);
// Answer with only `length` bytes (in), or accept only `length` (out; the
// data is then dropped).
void shortenTransfers(int request, int length, int times = 1, int skip = 0);
// The cable comes out as the matching transfer arrives: it fails with
// -ENODEV, without effect, and the device stays off the bus until plug().
void unplugAtTransfer(int request, int skip = 0);
// Reads (request 1 for Internal, 5 for External) that cover this address
// return its byte inverted, for the next `times` such reads. The stored byte
// is not changed.
void corruptReads(Memory memory, quint32 address, int times = 1);
// usb_open of the Vn274 returns null with errno set to errnoValue (EACCES,
// EPERM, ...); lastOpenErrno() tells it afterwards.
void refuseOpen(int errnoValue = EACCES, int times = Forever);
// usb_set_configuration of the Vn274 fails with -errnoValue: -EBUSY as when
// another program holds it, -EPERM as libusb 0.1 answers for a device it could
// open only for reading (no write permission on its device node).
void refuseSetConfiguration(int times = Forever, int errnoValue = EBUSY);
void refuseClaimInterface(int times = Forever);     // -EBUSY
// Every transfer to the Vn274, descriptor reads included, takes this long
// (slept outside the lock).
void setLatency(int milliseconds);
// The faults of every Vn274.
void clearFaults();

void setHooks(const Hooks &hooks);

// --- Inspection --------------------------------------------------------------

QList<Transfer> transfers(); // every control transfer to any device since reset()/clearTransfers(),
                             // except the standard descriptor reads
void clearTransfers();
Counters counters();

int openHandles();           // Vn274 handles opened and not closed yet
bool interfaceClaimed();     // interface 0 claimed through a handle that still works
int lastOpenErrno();         // errno of the last refused usb_open, 0 after a success

} // namespace sim

#endif // SIMDRIVER_H
