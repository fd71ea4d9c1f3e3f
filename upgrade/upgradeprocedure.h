#ifndef UPGRADEPROCEDURE_H
#define UPGRADEPROCEDURE_H

#include "upgrade/releasesignature.h"
#include "upgrade/upgradefile.h"

#include <QByteArray>
#include <QString>

#include <functional>

class USBRQ518;


// The steps of an unattended firmware change, in their order. An application
// skips the restart when the driver already runs its bootloader.
enum class UpgradeStep {
    Connecting,
    RestartingIntoBootloader,
    WritingApplication,       // with the percentage of pages written
    WritingExternalFlash,     // the device's sendPercentExtFlashWrite tells how far
    VerifyingExternalFlash,   // the device's sendPercentExtFlashRead tells how far
    StartingApplication       // the new application is started and looked for
};

// Where an unattended firmware change reports as it goes. Any may be empty.
struct UpgradeProgress
{
    std::function<void(const QString &line)> line;   // one line of progress text
    std::function<void(int percent)> percent;        // application pages written, 0-100
    std::function<void(UpgradeStep step)> step;      // the change begins this step
    // The driver reached, by the serial string it answered with at the first
    // connection; not called when the change reaches none.
    std::function<void(const QByteArray &serial)> driver;
    // Asked between the steps (each page, each try and pause of a wait): true
    // stops the change there, whatever that leaves on the driver.
    std::function<bool()> stopNow;
};

// The complete firmware change from an upgrade file, without questions and
// without message boxes, as the "Firmware Change" worker runs it (and a
// command-line program may):
//
//  1. the release signature is checked (upgrade/releasesignature.h) and the
//     file read and checked (header, version, image length, checksums) before
//     any USB traffic; a verified release is named by its trusted comment;
//  2. connect (4 attempts, 200 ms apart), show the serial string and the
//     bootloader's two version texts;
//  3. an application is reset into the bootloader (2000 ms, disconnect, 500 ms,
//     then up to 10 attempts 200 ms apart);
//  4. the 112 application pages are written and read back, with a percentage
//     after each page;
//  5. only if every page verified: the external flash data block is written
//     and read back, and only if it verified the new application is started
//     (then 1000 ms and disconnect);
//  6. the change ends when the driver is back in application mode under the
//     serial number it had at the start: a try at once, then every 200 ms for
//     up to 10 s. Refused openings (a node whose permissions udev has not set
//     yet) and other drivers meanwhile are tried past.
//
// Every stop is reported by one line. The lines are translated in the context
// "Upgrader". Returns true when the new application was verified, started and
// came back; an empty file name returns false at once without any line.
bool runFirmwareUpgrade(USBRQ518 &usb, const QString &fileName, const UpgradeProgress &progress);

// The same change, with what a record of it needs.
struct FirmwareChangeOutcome
{
    bool succeeded = false;     // the new application runs on the driver
    bool stopped = false;       // stopNow ended it between two steps
    SignatureCheck signature;   // the release's verdict, trusted comment and key id
    QString outcome;            // the last line sent: the new application runs, or where it stopped
};
FirmwareChangeOutcome changeFirmware(USBRQ518 &usb, const QString &fileName, const UpgradeProgress &progress);

// The change in two parts, for programs that change several drivers from one
// file: the release is read and checked once (step 1, with its lines: the
// file name, then the signature's verdict or the refusal), and each driver is
// changed from it (steps 2 to 6), exactly as changeFirmware does.
struct CheckedRelease
{
    QString fileName;
    SignatureCheck signature;
    UpgradeFileContent content;   // the regions, only when usable()
    QString refusal;              // the line that refused it

    bool usable() const { return signature.accepted() && content.result == UpgradeFileResult::Ok; }
};
CheckedRelease checkRelease(const QString &fileName, const UpgradeProgress &progress);
// The driver must be one the device object may take through its restarts
// (USBRQ518::selectSerial), where several share the buses.
FirmwareChangeOutcome changeFirmware(USBRQ518 &usb, const CheckedRelease &release, const UpgradeProgress &progress);

// The change's first connection on its own (step 2 above, without a line):
// disconnect, then up to 4 attempts 200 ms apart. For callers that want to
// say why no driver could be used before the change begins.
bool connectForFirmwareUpgrade(USBRQ518 &usb);

#endif // UPGRADEPROCEDURE_H
