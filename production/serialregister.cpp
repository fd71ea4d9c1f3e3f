#include "production/serialregister.h"

#include <QFileInfo>
#include <QSqlQuery>
#include <QUuid>
#include <QVariant>

namespace {

constexpr int LastNumber = 999;

QString serialOf(const QString &day, int number)
{
    return day + QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

SerialRegister::Result failed(const QString &sqlReason, QString *reason)
{
    *reason = QStringLiteral("the record failed: %1").arg(sqlReason);
    return SerialRegister::Result::Failed;
}

} // namespace

SerialRegister::SerialRegister(RecordDatabase &record)
    : record(record), batch(QUuid::createUuid().toString(QUuid::WithoutBraces))
{
}

SerialRegister::Result SerialRegister::reserveNext(const QString &day, int count, QStringList *serials, QString *reason)
{
    QString refusal;
    const RecordDatabase::Outcome outcome = record.write([&](QString *why) {
        serials->clear();
        QSqlQuery &query = record.query();
        query.prepare(QStringLiteral("SELECT serial FROM serials WHERE serial BETWEEN ? AND ?"));
        query.addBindValue(serialOf(day, 1));
        query.addBindValue(serialOf(day, LastNumber));
        if (!record.exec(query))
            return false;
        QSet<QString> taken;
        while (query.next())
            taken.insert(query.value(0).toString());
        for (int number = 1; number <= LastNumber && serials->size() < count; ++number)
            if (!taken.contains(serialOf(day, number)))
                *serials << serialOf(day, number);
        if (serials->size() < count) {
            *why = QStringLiteral("%1 has %2 production numbers left, fewer than the %3 asked for")
                           .arg(day).arg(serials->size()).arg(count);
            return false;
        }
        // A number another station took since the read above breaks the
        // unique key: write() rolls back and starts again from the read.
        query.prepare(QStringLiteral("INSERT INTO serials (serial, status, station, image_file, batch, reserved_at)"
                                     " VALUES (?, 'reserved', ?, '', ?, ?)"));
        const QString station = RecordDatabase::station(), now = RecordDatabase::now();
        for (const QString &serial : std::as_const(*serials)) {
            query.addBindValue(serial);
            query.addBindValue(station);
            query.addBindValue(batch);
            query.addBindValue(now);
            if (!record.exec(query))
                return false;
        }
        return true;
    }, &refusal);
    *reason = refusal;
    if (outcome == RecordDatabase::Outcome::GaveUp)
        return Result::Refused;
    return outcome == RecordDatabase::Outcome::Committed ? Result::Done : failed(refusal, reason);
}

SerialRegister::Result SerialRegister::reserve(const QStringList &serials, bool reissue, QStringList *clashes,
                                               QString *reason, QStringList *unfinished)
{
    QString refusal;
    QStringList reservedBefore;
    const RecordDatabase::Outcome outcome = record.write([&](QString *why) {
        clashes->clear();
        reservedBefore.clear();
        reissued.clear();
        QSqlQuery &status = record.query(), &change = record.query();
        status.prepare(QStringLiteral("SELECT status FROM serials WHERE serial = ?"));
        const QString station = RecordDatabase::station(), now = RecordDatabase::now();
        for (const QString &serial : serials) {
            status.addBindValue(serial);
            if (!record.exec(status))
                return false;
            const QString current = status.next() ? status.value(0).toString() : QString();
            status.finish();
            if (current == QLatin1String("issued") || current == QLatin1String("reserved")) {
                if (reissue) {
                    reissued.insert(serial);
                } else {
                    *clashes << serial;
                    if (current == QLatin1String("reserved"))
                        reservedBefore << serial;
                }
                continue;
            }
            // Never taken, or void: its image was never made. A void one that
            // another station took since the read above is a clash.
            change.prepare(current.isEmpty()
                    ? QStringLiteral("INSERT INTO serials (status, station, image_file, batch, reserved_at, serial)"
                                     " VALUES ('reserved', ?, '', ?, ?, ?)")
                    : QStringLiteral("UPDATE serials SET status = 'reserved', station = ?, image_file = '',"
                                     " batch = ?, reserved_at = ?, issued_at = NULL"
                                     " WHERE serial = ? AND status = 'void'"));
            change.addBindValue(station);
            change.addBindValue(batch);
            change.addBindValue(now);
            change.addBindValue(serial);
            if (!record.exec(change))
                return false;
            if (change.numRowsAffected() != 1) {   // another station's batch has it now
                if (reissue) {
                    reissued.insert(serial);
                } else {
                    *clashes << serial;
                    reservedBefore << serial;
                }
            }
        }
        if (!clashes->isEmpty()) {
            *why = QStringLiteral("already issued");
            return false;
        }
        return true;
    }, &refusal);
    *reason = refusal;
    if (unfinished)
        *unfinished = reservedBefore;
    if (outcome == RecordDatabase::Outcome::GaveUp)
        return Result::Refused;
    return outcome == RecordDatabase::Outcome::Committed ? Result::Done : failed(refusal, reason);
}

bool SerialRegister::confirm(const QList<Image> &images, QString *reason)
{
    QString why;
    const RecordDatabase::Outcome outcome = record.write([&](QString *) {
        QSqlQuery &issue = record.query(), &again = record.query(), &count = record.query();
        issue.prepare(QStringLiteral("UPDATE serials SET status = 'issued', image_file = ?, issued_at = ?"
                                     " WHERE serial = ? AND batch = ? AND status = 'reserved'"));
        again.prepare(QStringLiteral("INSERT INTO reissues (serial, station, image_file, issued_at) VALUES (?, ?, ?, ?)"));
        // A reissue of a number whose batch never confirmed it makes it issued.
        count.prepare(QStringLiteral("UPDATE serials SET reissues = reissues + 1, status = 'issued',"
                                     " issued_at = COALESCE(issued_at, ?),"
                                     " image_file = CASE WHEN image_file = '' THEN ? ELSE image_file END"
                                     " WHERE serial = ?"));
        const QString station = RecordDatabase::station(), now = RecordDatabase::now();
        for (const Image &image : images) {
            const QString file = QFileInfo(image.file).absoluteFilePath();
            if (reissued.contains(image.serial)) {
                again.addBindValue(image.serial);
                again.addBindValue(station);
                again.addBindValue(file);
                again.addBindValue(now);
                count.addBindValue(now);
                count.addBindValue(file);
                count.addBindValue(image.serial);
                if (!record.exec(again) || !record.exec(count))
                    return false;
                continue;
            }
            issue.addBindValue(file);
            issue.addBindValue(now);
            issue.addBindValue(image.serial);
            issue.addBindValue(batch);
            if (!record.exec(issue))
                return false;
        }
        return true;
    }, &why);
    if (outcome == RecordDatabase::Outcome::Committed)
        return true;
    *reason = why;
    return false;
}

bool SerialRegister::voidUnconfirmed(QString *reason)
{
    QString why;
    const RecordDatabase::Outcome outcome = record.write([&](QString *) {
        QSqlQuery &query = record.query();
        query.prepare(QStringLiteral("UPDATE serials SET status = 'void' WHERE batch = ? AND status = 'reserved'"));
        query.addBindValue(batch);
        return record.exec(query);
    }, &why);
    if (outcome == RecordDatabase::Outcome::Committed)
        return true;
    *reason = why;
    return false;
}

std::optional<QList<SerialRegister::Entry>> SerialRegister::entries(const QString &day, QString *reason)
{
    QSqlQuery query(record.database());
    query.prepare(QStringLiteral("SELECT serial, status, station, image_file, COALESCE(issued_at, reserved_at), reissues"
                                 " FROM serials WHERE status <> 'void' AND serial BETWEEN ? AND ? ORDER BY serial"));
    query.addBindValue(day.isEmpty() ? QStringLiteral("000000000") : serialOf(day, 0));
    query.addBindValue(day.isEmpty() ? QStringLiteral("999999999") : serialOf(day, LastNumber));
    if (!query.exec()) {
        *reason = query.lastError().text().simplified();
        return std::nullopt;
    }
    QList<Entry> list;
    while (query.next())
        list.append({ query.value(0).toString(), query.value(1).toString(), query.value(2).toString(),
                      query.value(3).toString(), query.value(4).toString(), query.value(5).toInt() });
    return list;
}

std::optional<bool> SerialRegister::wasIssued(const QString &serial, QString *reason)
{
    QSqlQuery query(record.database());
    query.prepare(QStringLiteral("SELECT 1 FROM serials WHERE serial = ? AND status = 'issued'"));
    query.addBindValue(serial);
    if (!query.exec()) {
        *reason = query.lastError().text().simplified();
        return std::nullopt;
    }
    return query.next();
}
