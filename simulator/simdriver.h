#ifndef SIMDRIVER_H
#define SIMDRIVER_H

// The simulated Vn274 driver.
//
// Linked in place of libusb 0.1, it exports the functions of <usb.h>
// (usb_init, usb_find_busses, usb_find_devices, usb_get_busses, usb_open,
// usb_close, usb_set_configuration, usb_claim_interface,
// usb_release_interface, usb_control_msg, usb_get_descriptor, the bulk pair
// and trivial forms of the rest) and answers them like the driver's firmware.
// This header is its control interface for tests and the demo program.
//
// The model
// - Buses "001" and "002", each with a root hub (1d6b:0002) first. The Vn274
//   (16c0:0789) sits on bus 002 after its hub. Devices added "before" the
//   Vn274 go on bus 001, the others on bus 002 after it.
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
//   larger than the reply gets the reply (fewer bytes).
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

// --- The device --------------------------------------------------------------

// A fresh device: application mode, on the bus, flash as described above,
// status 0, no other devices, no faults, defaults for re-enumeration, no
// latency, empty log and counters. Handles opened before fail from now on,
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

// Another device, listed before the Vn274 (bus 001) or after it (bus 002). It
// answers request 255 with identificationReply, e.g. another model's word
// {0x17, 0x02} or a single byte.
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
// Transfers are usb_control_msg calls to the Vn274. Rules count only the
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
void clearFaults();

// --- Inspection --------------------------------------------------------------

struct Transfer
{
    int device = 0;          // 0: the Vn274; 1, 2, ...: devices in order added
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
QList<Transfer> transfers(); // every usb_control_msg since reset()/clearTransfers()
void clearTransfers();

struct Counters
{
    int inits = 0;               // usb_init
    int enumerations = 0;        // usb_find_devices
    int opens = 0;               // successful usb_open of the Vn274
    int closes = 0;              // usb_close of a Vn274 handle
    int setConfigurations = 0;   // successful usb_set_configuration(.., 1) on the Vn274
    int claims = 0;              // successful usb_claim_interface(.., 0) on the Vn274
    int releases = 0;            // successful usb_release_interface on the Vn274
    int descriptorReads = 0;     // usb_get_descriptor on the Vn274
    int maxConcurrentTransfers = 0;   // control transfers and descriptor reads at once
};
Counters counters();

int openHandles();           // Vn274 handles opened and not closed yet
bool interfaceClaimed();     // interface 0 claimed through a handle that still works
int lastOpenErrno();         // errno of the last refused usb_open, 0 after a success

} // namespace sim

#endif // SIMDRIVER_H
