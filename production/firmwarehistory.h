#ifndef FIRMWAREHISTORY_H
#define FIRMWAREHISTORY_H

#include "production/recorddatabase.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

// Every firmware change of a driver, on every station of the line: which
// file went into which driver, when, and how it ended.
struct FirmwareChange
{
    QString serial;            // the application's nine characters, without the bootloader's "b"
    QString station;
    QString startedAt;         // UTC, as RecordDatabase::now()
    QString endedAt;
    QString fileName;
    QString fileSha256;        // lower-case hex
    QString keyFingerprint;    // of the scrambling key table the change used
    bool succeeded = false;
    QString outcome;           // "success", or the line that ended the change
    // The signature of a signed upgrade file; empty for an unsigned one.
    QString signatureKeyId;    // 16 hex digits
    QString trustedComment;
};

// A file's SHA-256 as the history keeps it (fileSha256); empty when it cannot be read.
QString fileSha256(const QString &fileName);

class FirmwareHistory
{
public:
    explicit FirmwareHistory(RecordDatabase &record) : record(record) {}

    bool add(const FirmwareChange &change, QString *reason);

    // Newest first; of one driver when `serial` is given, from `since` (UTC)
    // on when it is valid.
    std::optional<QList<FirmwareChange>> changes(const QString &serial, const QDateTime &since, QString *reason);

private:
    RecordDatabase &record;
};

#endif // FIRMWAREHISTORY_H
