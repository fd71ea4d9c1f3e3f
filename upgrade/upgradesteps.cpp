#include "upgrade/upgradesteps.h"

#include "upgrade/upgradefile.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"

#include <QThread>
#include <QtDebug>

#include <atomic>
#include <cstring>

namespace upgradesteps {

namespace {

constexpr int ApplicationSerialLength = 9;
constexpr int BootloaderSerialLength = 10;
constexpr char BootloaderMark = 'b';

void threadSleep(unsigned long milliseconds)
{
    QThread::msleep(milliseconds);
}

std::atomic<SleepFunction> sleepFunction { threadSleep };

// The text at `offset` of the version area, up to its first NUL and never
// beyond the bytes read.
QString versionText(const QByteArray &area, int offset)
{
    const char *text = area.constData() + offset;
    const void *end = std::memchr(text, '\0', size_t(area.size() - offset));
    return QString::fromLatin1(text, end ? int(static_cast<const char *>(end) - text) : int(area.size()) - offset);
}

} // namespace

DriverMode driverMode(const QByteArray &serial)
{
    if (serial.size() == ApplicationSerialLength)
        return DriverMode::Application;
    if (serial.size() == BootloaderSerialLength && serial.at(BootloaderSerialLength - 1) == BootloaderMark)
        return DriverMode::Bootloader;
    return DriverMode::Neither;
}

bool readBootloaderVersion(USBRQ518 &usb, QString *first, QString *second)
{
    QByteArray area(BootloaderVersionLength, '\0');
    if (usb.ReadFromAddress(area.data(), BootloaderVersionAddress, quint32(area.size())) != 0)
        return false;
    *first = versionText(area, 0);
    *second = versionText(area, 16);
    return true;
}

bool reportsBootloader(const QByteArray &serial)
{
    return serial.size() >= BootloaderSerialLength && serial.at(BootloaderSerialLength - 1) == BootloaderMark;
}

bool waitForBootloader(USBRQ518 &usb, int attempts, int pauseMs, const std::function<bool()> &stop)
{
    for (int attempt = 0; attempt < attempts && !(stop && stop()); ++attempt) {
        if (usb.connect() == 0 && reportsBootloader(usb.getSerial()))
            return true;
        if (pauseMs > 0)
            sleep(pauseMs);
    }
    return false;
}

namespace {

// Runs `look` with only this serial number taken, then gives the device its
// own choice back and closes the link.
template<typename Look>
bool withSerialSelected(USBRQ518 &usb, const QByteArray &serialNumber, Look look)
{
    const QByteArray chosen = usb.selectedSerial();
    usb.selectSerial(serialNumber);
    const bool found = look();
    usb.disconnect();
    usb.selectSerial(chosen);
    return found;
}

} // namespace

bool waitForApplication(USBRQ518 &usb, const QByteArray &serialNumber, int attempts, int pauseMs,
                        const std::function<bool()> &stop)
{
    return withSerialSelected(usb, serialNumber, [&] {
        for (int attempt = 0; attempt < attempts; ++attempt) {
            if (attempt > 0 && pauseMs > 0)
                sleep(pauseMs);
            if (stop && stop())
                return false;
            if (usb.connect() != 0)
                continue;
            const QByteArray serial = usb.getSerial();
            if (driverMode(serial) == DriverMode::Application && serial == serialNumber)
                return true;
        }
        return false;
    });
}

bool inBootloader(USBRQ518 &usb, const QByteArray &serialNumber)
{
    return withSerialSelected(usb, serialNumber, [&] {
        return usb.connect() == 0 && usb.getSerial() == serialNumber + 'b';
    });
}

PageResult writeAndVerifyPage(USBRQ518 &usb, const QByteArray &application, int offset)
{
    const quint32 address = pageAddress(offset);
    QByteArray page(PageSize, char(0xFF));
    std::memcpy(page.data(), application.constData() + offset, size_t(qMin(PageSize, int(application.size()) - offset)));
    // Writing scrambles the page buffer in place; the comparison needs it plain.
    const QByteArray sent(page.constData(), page.size());

    if (usb.WritePageToAddress(page.data(), address) != 0) {
        qDebug("page write ERROR");
        return PageResult::WriteFailed;
    }
    qDebug("page write OK");

    QByteArray readBack(PageSize, char(0xFF));
    if (usb.ReadFromAddress(readBack.data(), address, PageSize) != 0) {
        qDebug("page read ERROR");
        return PageResult::ReadFailed;
    }
    return readBack == sent ? PageResult::Verified : PageResult::Differs;
}

quint32 pageNumber(int offset)
{
    // Pages count from the start of the internal flash.
    return (quint32(offset) + quint32(upgradefile::ApplicationOffset)) / PageSize;
}

quint32 pageAddress(int offset)
{
    return ApplicationAddress + quint32(offset);
}

QByteArray scrambledCopy(const QByteArray &plain)
{
    QByteArray copy(plain.constData(), plain.size());
    encodeTransfer(copy.data(), int(copy.size()));
    return copy;
}

ExternalFlashCheck verifyExternalFlash(USBRQ518 &usb, const QByteArray &plain, QByteArray *readBack)
{
    *readBack = QByteArray(plain.size(), '\0');
    if (usb.ReadExternalFlashFromAddress(readBack->data(), 0, quint32(plain.size())) != 0)
        return ExternalFlashCheck::ReadFailed;
    decodeTransfer(readBack->data(), int(readBack->size()));
    return *readBack == plain ? ExternalFlashCheck::Equal : ExternalFlashCheck::Differs;
}

void setSleepFunction(SleepFunction function)
{
    sleepFunction = function ? function : threadSleep;
}

void sleep(unsigned long milliseconds)
{
    sleepFunction.load()(milliseconds);
}

} // namespace upgradesteps
