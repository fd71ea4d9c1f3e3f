#ifndef UPGRADESTEPS_H
#define UPGRADESTEPS_H

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <functional>

class USBRQ518;

// The device steps of a firmware change, shared by the interactive change of
// the service panel and the worker's unattended one. They report nothing to
// the user: each procedure words its own lines and boxes.
namespace upgradesteps {

inline constexpr quint32 ApplicationAddress = 0x08004000;   // internal flash page of application offset 0
inline constexpr int PageSize = 1024;
inline constexpr quint32 BootloaderVersionAddress = 0x08003FD0;   // two 16-byte texts
inline constexpr int BootloaderVersionLength = 32;

// The driver tells its mode by its serial string: 9 characters while the
// application runs, 10 ending in 'b' while the bootloader runs.
enum class DriverMode { Application, Bootloader, Neither };
DriverMode driverMode(const QByteArray &serial);

// The bootloader's two version texts, read as 32 bytes at
// BootloaderVersionAddress: the text at offset 0 and the one at offset 16,
// each up to its first NUL and never beyond the bytes read. False, with the
// texts untouched, when the read fails.
bool readBootloaderVersion(USBRQ518 &usb, QString *first, QString *second);

// After a reset the bootloader is recognised more leniently: at least 10
// characters, the 10th a 'b'.
bool reportsBootloader(const QByteArray &serial);

// Up to `attempts` times: connect and, once connected, read the serial string;
// true as soon as it reports the bootloader. A failed attempt is followed by a
// pause of pauseMs (none for 0). No disconnect between attempts: each connect
// reopens the link by itself. A `stop` that says true before an attempt ends
// the wait with false.
bool waitForBootloader(USBRQ518 &usb, int attempts, int pauseMs, const std::function<bool()> &stop = {});

// After the new application was started: up to `attempts` times, with a pause
// of pauseMs after each miss, looks for the driver with this serial number
// (9 characters) running its application. A refused opening is a miss like
// any other (the node of a device that has just come may not be open to us
// yet); so is another driver. Only this serial number is taken meanwhile;
// the device's own choice of driver is restored before it returns, and the
// link is left closed. `stop` as for waitForBootloader.
bool waitForApplication(USBRQ518 &usb, const QByteArray &serialNumber, int attempts, int pauseMs,
                        const std::function<bool()> &stop = {});

// One connection to the driver with this serial number (restoring the
// device's choice): true when it answers from its bootloader.
bool inBootloader(USBRQ518 &usb, const QByteArray &serialNumber);

// One application page: the bytes at `offset` (0xFF after the region's end),
// written to ApplicationAddress + offset and read back for comparison.
enum class PageResult { Verified, WriteFailed, ReadFailed, Differs };
PageResult writeAndVerifyPage(USBRQ518 &usb, const QByteArray &application, int offset);

// The page's number in the internal flash (16 for the first application page)
// and its device address.
quint32 pageNumber(int offset);
quint32 pageAddress(int offset);

// The external flash data as the driver keeps them: scrambled.
QByteArray scrambledCopy(const QByteArray &plain);

// Reads back the external flash data written from address 0, descrambles them
// into *readBack and compares them with `plain`.
enum class ExternalFlashCheck { Equal, ReadFailed, Differs };
ExternalFlashCheck verifyExternalFlash(USBRQ518 &usb, const QByteArray &plain, QByteArray *readBack);

// The waits of a firmware change while the driver restarts. They go through a
// replaceable function so that tests and benchmarks can run a change without
// waiting; a null function restores QThread::msleep.
using SleepFunction = void (*)(unsigned long milliseconds);
void setSleepFunction(SleepFunction sleep);
void sleep(unsigned long milliseconds);

} // namespace upgradesteps

#endif // UPGRADESTEPS_H
