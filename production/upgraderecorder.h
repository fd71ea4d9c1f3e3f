#ifndef UPGRADERECORDER_H
#define UPGRADERECORDER_H

#include "production/firmwarehistory.h"

#include <functional>
#include <memory>

// The row vn274-tool upgrade adds to the firmware history: opened before the
// driver is touched, told the driver and the lines of the change, written
// when the change ends, whichever way. The window's "Firmware Change" adds
// the same row. The messages are translated in the context "UpgradeRecorder".
class UpgradeRecorder
{
public:
    // warn: a problem with the record that stops nothing.
    explicit UpgradeRecorder(std::function<void(const QString &)> warn) : warn(std::move(warn)) {}

    // The record (none: no row); one the user named must take the row.
    void setRecord(std::unique_ptr<RecordDatabase> database, bool named);

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
    // Adds the row; false, with the reason in *problem, when a named record
    // failed to take it.
    bool finish(bool succeeded, QString *problem);

private:
    std::function<void(const QString &)> warn;
    std::unique_ptr<RecordDatabase> record;
    bool named = false;
    FirmwareChange change;
    QString lastLine;
    QString lineBefore;
    bool started = false;
};

#endif // UPGRADERECORDER_H
