#include "upgrade/upgradeprocedure.h"

#include "upgrade/signedupgrade.h"
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
// How often a pause asks whether the change is to stop.
constexpr unsigned long PauseSliceMs = 100;
// The new application has 10 s to come back: a try at once, then every 200 ms.
constexpr int ApplicationAttempts = 1 + 10000 / int(RetryPauseMs);

// Sends the lines and percentages. The fixed texts are marked with
// QT_TRANSLATE_NOOP in the context of the worker that shows them.
class Report
{
public:
    explicit Report(const UpgradeProgress &progress) : progress(progress) {}

    void line(const QString &text)
    {
        last = text;
        detail(text);
    }
    // A line that shows what was found, not where the change ended: a memory
    // dump and the label before it.
    void detail(const QString &text)
    {
        if (progress.line)
            progress.line(text);
    }
    void say(const char *source) { line(QCoreApplication::translate("Upgrader", source)); }
    void percent(int value)
    {
        if (progress.percent)
            progress.percent(value);
    }
    void step(UpgradeStep value)
    {
        if (progress.step)
            progress.step(value);
    }
    void driver(const QByteArray &serial)
    {
        if (progress.driver)
            progress.driver(serial);
    }
    // Whether the change is to stop here; once asked, it stays stopped.
    bool stopping()
    {
        stopped = stopped || (progress.stopNow && progress.stopNow());
        return stopped;
    }
    std::function<bool()> stopCheck()
    {
        return [this] { return stopping(); };
    }
    // A wait that a stop cuts short.
    void pause(unsigned long milliseconds)
    {
        if (!progress.stopNow) {
            upgradesteps::sleep(milliseconds);
            return;
        }
        while (milliseconds > 0 && !stopping()) {
            const unsigned long slice = qMin(milliseconds, PauseSliceMs);
            upgradesteps::sleep(slice);
            milliseconds -= slice;
        }
    }

    QString last;          // the last line sent: where the change ended
    bool stopped = false;  // stopNow said so between two steps

private:
    const UpgradeProgress &progress;
};

QString serialLine(USBRQ518 &usb)
{
    return QCoreApplication::translate("Upgrader", "Serial:") + QString::fromLatin1(usb.getSerial());
}

bool showBootloaderVersion(USBRQ518 &usb, Report &report)
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

bool restartIntoBootloader(USBRQ518 &usb, Report &report)
{
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Apllication mode"));
    if (report.stopping())
        return false;
    report.step(UpgradeStep::RestartingIntoBootloader);
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Reset device"));
    usb.RunApplication();
    qDebug("usb->RunApplication()");
    report.pause(AfterResetMs);
    usb.disconnect();
    qDebug("usb->disconnect()");
    report.pause(AfterDisconnectMs);

    if (!waitForBootloader(usb, BootloaderAttempts, RetryPauseMs, report.stopCheck())) {
        if (!report.stopping())
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
ApplicationWrite writeApplication(USBRQ518 &usb, const QByteArray &application, Report &report)
{
    const quint32 total = quint32(application.size());
    bool verified = true;
    for (int offset = 0; offset < application.size(); offset += PageSize) {
        if (report.stopping())
            return ApplicationWrite::Stopped;
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
bool writeExternalFlashAndStart(USBRQ518 &usb, const QByteArray &data, Report &report)
{
    const QByteArray scrambled = scrambledCopy(data);
    if (report.stopping())
        return false;
    report.step(UpgradeStep::WritingExternalFlash);
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Writting External Flash ... "));
    if (usb.WriteExternalFlashToAddress(scrambled.constData(), 0, quint32(scrambled.size())) != 0) {
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Error"));
        return false;
    }
    report.say(QT_TRANSLATE_NOOP("Upgrader", "OK"));
    if (report.stopping())
        return false;
    report.step(UpgradeStep::VerifyingExternalFlash);
    report.say(QT_TRANSLATE_NOOP("Upgrader", "Verify External Flash ...  "));

    QByteArray readBack;
    switch (verifyExternalFlash(usb, data, &readBack)) {
    case ExternalFlashCheck::Equal:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "OK"));
        if (report.stopping())
            return false;
        report.step(UpgradeStep::StartingApplication);
        usb.RunApplication();
        report.pause(AfterStartMs);
        usb.disconnect();
        return !report.stopping();
    case ExternalFlashCheck::ReadFailed:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Error"));
        return false;
    case ExternalFlashCheck::Differs:
        report.say(QT_TRANSLATE_NOOP("Upgrader", "Error"));
        report.detail(QCoreApplication::translate("Upgrader", "read_buffer"));
        report.detail(QString::fromLatin1(hexDump(readBack.constData(), int(readBack.size()))));
        report.detail(QCoreApplication::translate("Upgrader", "ext_datas.data()"));
        report.detail(QString::fromLatin1(hexDump(data.constData(), int(data.size()))));
        return false;
    }
    return false;
}

// The change ends only when the new application runs: the driver must come
// back in application mode under the serial number it had at the start.
bool confirmApplicationRuns(USBRQ518 &usb, const QByteArray &serialNumber, Report &report)
{
    if (waitForApplication(usb, serialNumber, ApplicationAttempts, RetryPauseMs, report.stopCheck())) {
        report.line(QCoreApplication::translate("Upgrader", "The new application runs on the driver %1")
                            .arg(QString::fromLatin1(serialNumber)));
        return true;
    }
    if (report.stopping())
        return false;
    if (inBootloader(usb, serialNumber))
        report.line(QCoreApplication::translate("Upgrader", "The new application did not start: the driver %1 is "
                                                            "still in its bootloader, ready for another attempt")
                            .arg(QString::fromLatin1(serialNumber)));
    else
        report.line(QCoreApplication::translate("Upgrader", "The new application did not start: the driver %1 did "
                                                            "not come back within 10 s")
                            .arg(QString::fromLatin1(serialNumber)));
    return false;
}

// The release's signature first, then the file's own checks: nothing of a
// refused file is used. A verified release is named by its trusted comment.
CheckedRelease readRelease(const QString &fileName, Report &report)
{
    SignedUpgradeFile file = readSignedUpgradeFile(fileName);
    CheckedRelease release;
    release.fileName = fileName;
    release.signature = file.signature;
    if (!file.signature.accepted()) {
        report.line(file.signature.message);
    } else {
        switch (file.content.result) {
        case UpgradeFileResult::Ok:
            if (file.signature.verdict == SignatureVerdict::Verified)
                report.line(file.signature.message);
            release.content = std::move(file.content);
            return release;
        case UpgradeFileResult::CannotOpen:
        case UpgradeFileResult::WrongHeader:
            report.say(QT_TRANSLATE_NOOP("Upgrader", "Wrong file header"));
            break;
        case UpgradeFileResult::WrongVersion:
            report.say(QT_TRANSLATE_NOOP("Upgrader", "Wrong file version"));
            break;
        case UpgradeFileResult::WrongLength:
            report.say(QT_TRANSLATE_NOOP("Upgrader", "Wrong file length"));
            break;
        case UpgradeFileResult::WrongChecksum:
            report.say(QT_TRANSLATE_NOOP("Upgrader", "Wrong file checksum"));
            break;
        }
    }
    release.refusal = report.last;
    return release;
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

namespace {

// The change of one driver from a release that was checked: it never reaches
// the driver otherwise.
bool changeDriver(USBRQ518 &usb, const UpgradeFileContent &file, Report &report)
{
    if (report.stopping())
        return false;
    report.step(UpgradeStep::Connecting);
    report.percent(0);
    if (report.stopping())
        return false;
    if (!connectForFirmwareUpgrade(usb)) {
        report.say(QT_TRANSLATE_NOOP("Upgrader", "USB Timeout\nCheck USB Cable"));
        return false;
    }
    const QByteArray serial = usb.getSerial();
    report.driver(serial);
    report.line(QString::fromLatin1(serial));
    if (!showBootloaderVersion(usb, report) || report.stopping())
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

    if (report.stopping())
        return false;
    report.step(UpgradeStep::WritingApplication);
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
    return writeExternalFlashAndStart(usb, file.externalFlash, report)
           && confirmApplicationRuns(usb, USBRQ518::serialNumber(serial), report);
}

} // namespace

bool runFirmwareUpgrade(USBRQ518 &usb, const QString &fileName, const UpgradeProgress &progress)
{
    return changeFirmware(usb, fileName, progress).succeeded;
}

CheckedRelease checkRelease(const QString &fileName, const UpgradeProgress &progress)
{
    Report report(progress);
    report.line(fileName);
    return readRelease(fileName, report);
}

FirmwareChangeOutcome changeFirmware(USBRQ518 &usb, const CheckedRelease &release, const UpgradeProgress &progress)
{
    FirmwareChangeOutcome outcome;
    outcome.signature = release.signature;
    if (!release.usable()) {
        outcome.outcome = release.refusal;
        return outcome;
    }
    Report report(progress);
    outcome.succeeded = changeDriver(usb, release.content, report);
    outcome.stopped = report.stopped;
    outcome.outcome = report.last;
    return outcome;
}

FirmwareChangeOutcome changeFirmware(USBRQ518 &usb, const QString &fileName, const UpgradeProgress &progress)
{
    if (fileName.isEmpty())
        return FirmwareChangeOutcome();
    qDebug("Start firmware upgrade");
    // A refused or damaged file never reaches the driver.
    return changeFirmware(usb, checkRelease(fileName, progress), progress);
}
