#include "production/firmwarehistory.h"

#include "io/filenames.h"

#include <QCryptographicHash>
#include <QSqlQuery>
#include <QVariant>

namespace {

// An empty text, never NULL: the columns hold text, empty when unknown.
QVariant text(const QString &value)
{
    return value.isNull() ? QVariant(QString(QLatin1String(""))) : QVariant(value);
}

} // namespace

QString fileSha256(const QString &fileName)
{
    InputFile file(fileName);   // by the name's own bytes
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!file.open() || !hash.addData(&file))
        return QString();
    return QString::fromLatin1(hash.result().toHex());
}

bool FirmwareHistory::add(const FirmwareChange &change, QString *reason)
{
    const RecordDatabase::Outcome outcome = record.write([&](QString *) {
        QSqlQuery &query = record.query();
        query.prepare(QStringLiteral("INSERT INTO firmware_history (serial, station, started_at, ended_at, file_name,"
                                     " file_sha256, key_fingerprint, succeeded, outcome, signature_key_id,"
                                     " trusted_comment) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        for (const QVariant &value : { text(change.serial), text(change.station), text(change.startedAt),
                                       text(change.endedAt), text(change.fileName), text(change.fileSha256),
                                       text(change.keyFingerprint), QVariant(change.succeeded ? 1 : 0),
                                       text(change.outcome), text(change.signatureKeyId), text(change.trustedComment) })
            query.addBindValue(value);
        return record.exec(query);
    }, reason);
    return outcome == RecordDatabase::Outcome::Committed;
}

std::optional<QList<FirmwareChange>> FirmwareHistory::changes(const QString &serial, const QDateTime &since,
                                                              QString *reason)
{
    QString where = QStringLiteral(" WHERE 1 = 1");
    if (!serial.isEmpty())
        where += QStringLiteral(" AND serial = :serial");
    if (since.isValid())
        where += QStringLiteral(" AND started_at >= :since");
    QSqlQuery query(record.database());
    query.prepare(QStringLiteral("SELECT serial, station, started_at, ended_at, file_name, file_sha256, key_fingerprint,"
                                 " succeeded, outcome, signature_key_id, trusted_comment FROM firmware_history")
                  + where + QStringLiteral(" ORDER BY started_at DESC, id DESC"));
    if (!serial.isEmpty())
        query.bindValue(QStringLiteral(":serial"), serial);
    if (since.isValid())
        query.bindValue(QStringLiteral(":since"), since.toUTC().toString(Qt::ISODateWithMs));
    if (!query.exec()) {
        *reason = query.lastError().text().simplified();
        return std::nullopt;
    }
    QList<FirmwareChange> list;
    while (query.next()) {
        FirmwareChange change;
        change.serial = query.value(0).toString();
        change.station = query.value(1).toString();
        change.startedAt = query.value(2).toString();
        change.endedAt = query.value(3).toString();
        change.fileName = query.value(4).toString();
        change.fileSha256 = query.value(5).toString();
        change.keyFingerprint = query.value(6).toString();
        change.succeeded = query.value(7).toInt() != 0;
        change.outcome = query.value(8).toString();
        change.signatureKeyId = query.value(9).toString();
        change.trustedComment = query.value(10).toString();
        list.append(change);
    }
    return list;
}
