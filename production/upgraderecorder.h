#ifndef UPGRADERECORDER_H
#define UPGRADERECORDER_H

#include "production/firmwarehistoryrow.h"

#include <functional>
#include <memory>

// The row a change of one driver adds to the firmware history (vn274-tool
// upgrade, the window's "Firmware Change"): opened before the driver is
// touched, told the driver and the lines of the change, written when the
// change ends, whichever way. The row itself is a FirmwareHistoryRow, as for
// each driver of a change of several.
class UpgradeRecorder
{
public:
    // warn: a problem with the record that stops nothing.
    explicit UpgradeRecorder(std::function<void(const QString &)> warn) : warn(std::move(warn)) {}

    // The record (none: no row); one the user named must take the row.
    void setRecord(std::unique_ptr<RecordDatabase> database, bool named);

    // The change starts on the driver with this serial string, from this file.
    void start(const QByteArray &driverSerial, const QString &fileName) { row.begin(driverSerial, fileName); }
    // The upgrade file's signature, when it is signed.
    void signature(const QString &keyId, const QString &trustedComment) { row.setSignature(keyId, trustedComment); }
    // A text of the change's progress: the last line tells how it ended. A
    // memory dump and the label before it are not such a line.
    void line(const QString &text);
    // Adds the row; false, with the reason in *problem, when a named record
    // failed to take it.
    bool finish(ChangeEnding ending, QString *problem);
    bool finish(bool succeeded, QString *problem)
    {
        return finish(succeeded ? ChangeEnding::Succeeded : ChangeEnding::Failed, problem);
    }

private:
    std::function<void(const QString &)> warn;
    std::unique_ptr<RecordDatabase> record;
    bool named = false;
    FirmwareHistoryRow row;
    QString lastLine;
    QString lineBefore;
};

#endif // UPGRADERECORDER_H
