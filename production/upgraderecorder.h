#ifndef UPGRADERECORDER_H
#define UPGRADERECORDER_H

#include "production/firmwarehistory.h"

#include <functional>
#include <memory>

// The row a firmware change adds to the firmware history: opened before the
// driver is touched, told the driver and the lines of the change, written
// when the change ends, whichever way. vn274-tool upgrade and the window's
// "Firmware Change" keep it alike. Its messages are translated in the context
// "UpgradeRecorder".
class UpgradeRecorder
{
public:
    // warn: a problem with the record that does not stop anything.
    explicit UpgradeRecorder(std::function<void(const QString &message)> warn) : warn(std::move(warn)) {}

    // The record to add the row to; without one the change is not recorded.
    // A record the user named must take the row (finish() fails otherwise);
    // the default one only warns.
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
    // Adds the row of a started change. False, with the reason in *problem,
    // when a named record failed to take it.
    bool finish(bool succeeded, QString *problem);

private:
    std::function<void(const QString &message)> warn;
    std::unique_ptr<RecordDatabase> record;
    bool named = false;
    FirmwareChange change;
    QString lastLine;
    QString lineBefore;
    bool started = false;
};

#endif // UPGRADERECORDER_H
