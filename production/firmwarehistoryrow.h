#ifndef FIRMWAREHISTORYROW_H
#define FIRMWAREHISTORYROW_H

#include "production/firmwarehistory.h"

#include <QByteArray>
#include <QString>

// How a firmware change ended.
enum class ChangeEnding {
    Succeeded,     // the new application runs on the driver
    Failed,        // a line of the change said where it stopped
    Interrupted    // stopped at once by a second stop request
};

// The row one firmware change adds to the firmware history, made alike by
// every program that changes firmware (vn274-tool upgrade, the window's
// "Firmware Change", and each driver of a change of several at once), so
// that the history reads the same whichever made it. The messages are
// translated in the context "UpgradeRecorder".
class FirmwareHistoryRow
{
public:
    // The change reaches the driver with this serial string, in either form
    // (the row keeps the nine characters without the bootloader's "b"), from
    // this file; its SHA-256 as the caller read it, else read now.
    void begin(const QByteArray &driverSerial, const QString &fileName, const QString &fileSha256 = QString());
    bool begun() const { return !row.startedAt.isEmpty(); }
    // The signature of a signed upgrade file; nothing for an unsigned one.
    void setSignature(const QString &keyId, const QString &trustedComment);
    // The change has ended; `lastLine` is the line that ended a failed one.
    void end(ChangeEnding ending, const QString &lastLine);
    const FirmwareChange &change() const { return row; }

    // Adds the row. True when the record took it; *warning then says that the
    // record never issued the driver's serial number (empty otherwise). False
    // with the database's reason in *reason.
    bool addTo(RecordDatabase &record, QString *warning, QString *reason) const;
    // "the firmware change (OUTCOME) is not in the record: REASON"
    static QString notRecorded(const QString &outcome, const QString &reason);

    // The history's words for an ending: "success", "interrupted", or the
    // line that ended the change on one line ("failed" when there was none).
    static QString outcome(ChangeEnding ending, const QString &lastLine);

private:
    FirmwareChange row;
};

#endif // FIRMWAREHISTORYROW_H
