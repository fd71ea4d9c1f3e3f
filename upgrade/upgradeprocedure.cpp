#include "upgrade/upgradeprocedure.h"

#include "upgrade/upgradefile.h"
#include "upgrade/upgradesteps.h"
#include "usb/hexdump.h"
#include "usb/usbrq518.h"

#include <QCoreApplication>
#include <QtDebug>

using namespace upgradesteps;

namespace {

constexpr int ConnectAttempts = 4;
constexpr int BootloaderAttempts = 10;
constexpr unsigned long RetryPauseMs = 200;
constexpr unsigned long AfterResetMs = 2000;
constexpr unsigned long AfterDisconnectMs = 500;
constexpr unsigned long AfterStartMs = 1000;

// Sends the lines and percentages. The fixed texts are marked with
// QT_TRANSLATE_NOOP in the context of the worker that shows them.
class Report
{
public:
    explicit Report(const UpgradeProgress &progress) : progress(progress) {}

    void line(const QString &text) const
    {
        if (progress.line)
            progress.line(text);
    }
    void say(const char *source) const { line(QCoreApplication::translate("Upgrader", source)); }
    void percent(int value) const
    {
        if (progress.percent)
            progress.percent(value);
    }

private:
    const UpgradeProgress &progress;
};

QString serialLine(USBRQ518 &usb)
{
    return QCoreApplication::translate("Upgrader", "Serial:") + QString::fromLatin1(usb.getSerial());
}

bool showBootloaderVersion(USBRQ518 &usb, const Report &report)
{
    QString first, second;
    if (!readBootloaderVersion(usb, &first, &second)) {
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Bootloader Version Read Error"));
        return false;
    }
    report.line(first);
    report.line(second);
    return true;
}

bool restartIntoBootloader(USBRQ518 &usb, const Report &report)
{
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Apllication mode"));
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Reset device"));
    usb.RunApplication();
    qDebug("usb->RunApplication()");
    upgradesteps::sleep(AfterResetMs);
    usb.disconnect();
    qDebug("usb->disconnect()");
    upgradesteps::sleep(AfterDisconnectMs);

    if (!waitForBootloader(usb, BootloaderAttempts, RetryPauseMs)) {
        report.say(QT_TRANSLATE_NOOP("Upgrader", "USB timout\nCheck USB cable"));
        return false;
    }
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Disconnect"));
    usb.disconnect();
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Connect"));
    usb.connect();
    report.line(serialLine(usb));
    return true;
}

enum class ApplicationWrite { Verified, NotVerified, Stopped };

// Pages that fail their read-back are reported and the loop goes on; a page
// that cannot be written stops it. The percentage follows every page that was
// written.
ApplicationWrite writeApplication(USBRQ518 &usb, const QByteArray &application, const Report &report)
{
    const quint32 total = quint32(application.size());
    bool verified = true;
    for (int offset = 0; offset < application.size(); offset += PageSize) {
        switch (writeAndVerifyPage(usb, application, offset)) {
        case PageResult::Verified:
            break;
        case PageResult::WriteFailed:
            report.say(QT_TRANSLATE_NOOP("Upgrader", "ERROR"));
            return ApplicationWrite::Stopped;
        case PageResult::ReadFailed:   // the debug line is all it shows
            verified = false;
            break;
        case PageResult::Differs:
            verified = false;
            report.say(QT_TRANSLATE_NOOP("Upgrader", "ERROR"));
            break;
        }
        const quint32 remaining = total - qMin(total, quint32(offset + PageSize));
        report.percent(int((total - remaining) * 100u / total));
    }
    return verified ? ApplicationWrite::Verified : ApplicationWrite::NotVerified;
}

// Writes the data block, reads it back and, only when it verified, starts the
// new application.
bool writeExternalFlashAndStart(USBRQ518 &usb, const QByteArray &data, const Report &report)
{
    const QByteArray scrambled = scrambledCopy(data);
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Writting External Flash ... "));
    if (usb.WriteExternalFlashToAddress(scrambled.constData(), 0, quint32(scrambled.size())) != 0) {
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Error"));
        return false;
    }
    report.say(QT_TRANSLATE_NOOP("Upgrader", "OK"));
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Verify External Flash ...  "));

    QByteArray readBack;
    switch (verifyExternalFlash(usb, data, &readBack)) {
    case ExternalFlashCheck::Equal:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "OK"));
        usb.RunApplication();
        upgradesteps::sleep(AfterStartMs);
        usb.disconnect();
        return true;
    case ExternalFlashCheck::ReadFailed:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Error"));
        return false;
    case ExternalFlashCheck::Differs:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Error"));
        report.say(QT_TRANSLATE_NOOP("Upgrader", "read_buffer"));
        report.line(QString::fromLatin1(hexDump(readBack.constData(), int(readBack.size()))));
        report.say(QT_TRANSLATE_NOOP("Upgrader", "ext_datas.data()"));
        report.line(QString::fromLatin1(hexDump(data.constData(), int(data.size()))));
        return false;
    }
    return false;
}

} // namespace

bool connectForFirmwareUpgrade(USBRQ518 &usb)
{
    usb.disconnect();
    for (int attempt = 1;; ++attempt) {
        if (usb.connect() == 0)
            return true;
        if (attempt == ConnectAttempts)
            return false;
        qDebug("usb->connect()\nmssleep(200)");
        upgradesteps::sleep(RetryPauseMs);
    }
}

bool runFirmwareUpgrade(USBRQ518 &usb, const QString &fileName, const UpgradeProgress &progress)
{
    if (fileName.isEmpty())
        return false;
    const Report report(progress);
    qDebug("Start firmware upgrade");
    report.line(fileName);

    // A damaged file never reaches the driver.
    const UpgradeFileContent file = readUpgradeFile(fileName);
    switch (file.result) {
    case UpgradeFileResult::Ok:
        break;
    case UpgradeFileResult::CannotOpen:
    case UpgradeFileResult::WrongHeader:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Wrong file header"));
        return false;
    case UpgradeFileResult::WrongVersion:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Wrong file version"));
        return false;
    case UpgradeFileResult::WrongChecksum:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Wrong file checksum"));
        return false;
    }

    report.percent(0);
    if (!connectForFirmwareUpgrade(usb)) {
        report.say(QT_TRANSLATE_NOOP("Upgrader", "USB Timeout\nCheck USB Cable"));
        return false;
    }
    const QByteArray serial = usb.getSerial();
    report.line(QString::fromLatin1(serial));
    if (!showBootloaderVersion(usb, report))
        return false;

    switch (driverMode(serial)) {
    case DriverMode::Application:
        if (!restartIntoBootloader(usb, report))
            return false;
        break;
    case DriverMode::Bootloader:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Bootloader mode"));
        break;
    case DriverMode::Neither:
        report.line(serialLine(usb));
        return false;
    }

    report.say(QT_TRANSLATE_NOOP("Upgrader", "Writting firmware ... "));
    switch (writeApplication(usb, file.application, report)) {
    case ApplicationWrite::Verified:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "OK"));
        break;
    case ApplicationWrite::NotVerified:
        // An application that failed its verification is never started; the
        // driver stays in its bootloader, ready for another attempt.
        report.say(QT_TRANSLATE_NOOP("Upgrader", "ERROR"));
        return false;
    case ApplicationWrite::Stopped:
        return false;
    }
    return writeExternalFlashAndStart(usb, file.externalFlash, report);
}
