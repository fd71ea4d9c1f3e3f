#ifndef TOOL_UPGRADERECORDER_H
#define TOOL_UPGRADERECORDER_H

#include "production/firmwarehistory.h"
#include "tool/record.h"

// The row vn274-tool upgrade adds to the firmware history: opened before the
// driver is touched, told the driver and the lines of the change, written
// when the change ends, whichever way.
namespace tool {

class UpgradeRecorder
{
public:
    explicit UpgradeRecorder(Console &console) : console(console) {}

    // Opens the record; a status to stop with when a named record fails.
    int open(const Arguments &args);

    // The change starts on the driver with this serial string, from this file.
    void start(const QByteArray &driverSerial, const QString &fileName);
    // The upgrade file's signature, when it is signed.
    void signature(const QString &keyId, const QString &trustedComment)
    {
        change.signatureKeyId = keyId;
        change.trustedComment = trustedComment;
    }
    // A text of the change's progress: the last line tells how it ended. A
    // memory dump and the label before it are not such a line.
    void line(const QString &text);
    // Adds the row and returns `status`, or ExitFailure when a named record
    // failed to take it.
    int finish(bool succeeded, int status);

private:
    Console &console;
    OpenedRecord record;
    FirmwareChange change;
    QString lastLine;
    QString lineBefore;
    bool started = false;
};

} // namespace tool

#endif // TOOL_UPGRADERECORDER_H
