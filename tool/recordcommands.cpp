// The subcommands that read the production record, and the one that makes it.
#include "tool/commands.h"

#include "production/firmwarehistory.h"
#include "production/serialregister.h"
#include "tool/record.h"
#include "upgrade/bootimage.h"

#include <QDateTime>
#include <QRegularExpression>

namespace tool {

namespace {

const QStringList formatFlags = { QStringLiteral("json"), QStringLiteral("csv") };

// The start of 2024-12-08 (UTC), or an ISO 8601 time: 2024-12-08T19:32,
// seconds and their fractions optional, then Z or an offset (+05:00, -0430,
// +05), UTC without one, as the record keeps its times. Anything else is
// invalid: QDate reads only the first ten characters of "2024-12-08T19:32Z"
// (the time would be lost), and QDateTime takes forms ISO 8601 has not, such
// as a blank for the T or an hour alone.
QDateTime sinceTime(const QString &text)
{
    static const QRegularExpression day(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
    static const QRegularExpression time(QStringLiteral(
            "^\\d{4}-\\d{2}-\\d{2}T\\d{2}:\\d{2}(:\\d{2}([.,]\\d+)?)?(Z|[+-]\\d{2}(:?\\d{2})?)?$"));
    if (day.match(text).hasMatch()) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        return date.isValid() ? QDateTime(date, QTime(0, 0), Qt::UTC) : QDateTime();
    }
    const QRegularExpressionMatch match = time.match(text);
    if (!match.hasMatch())
        return QDateTime();
    QDateTime parsed = QDateTime::fromString(QString(text).replace(QLatin1Char(','), QLatin1Char('.')), Qt::ISODateWithMs);
    if (parsed.isValid() && match.captured(3).isEmpty())
        parsed.setTimeSpec(Qt::UTC);
    return parsed;
}

} // namespace

int serials(const QStringList &args, Console &console)
{
    const QString date = QStringLiteral("date");
    const std::optional<Arguments> parsed = commandArguments(args, 0, console, { { DatabaseOption, date }, formatFlags });
    ListFormat format;
    if (!parsed || !listFormat(*parsed, console, &format))
        return ExitBadInput;
    const QString day = parsed->value(date);
    if (parsed->has(date) && !isValidBootloaderSerial(day + QStringLiteral("001")))
        return console.usageError(QStringLiteral("--date '%1' is not a production date YYMMDD").arg(day));

    const OpenedRecord record = openRecord(*parsed, console, RecordUse::Read);
    if (!record.database)
        return record.status;
    QString reason;
    const auto entries = SerialRegister(*record.database).entries(day, &reason);
    if (!entries)
        return console.fail(ExitFailure, QStringLiteral("cannot read the record: %1").arg(reason));
    QList<QVariantList> rows;
    for (const SerialRegister::Entry &entry : *entries)
        rows.append({ entry.serial, entry.serial.left(6), entry.status, entry.station, entry.issuedAt,
                      entry.imageFile, entry.reissues });
    printRows(console, format, QStringLiteral("serials"),
              { "serial", "date", "status", "station", "time", "path", "reissues" }, rows);
    return ExitSuccess;
}

int history(const QStringList &args, Console &console)
{
    const QString serial = QStringLiteral("serial"), since = QStringLiteral("since");
    const std::optional<Arguments> parsed = commandArguments(args, 0, console,
                                                             { { DatabaseOption, serial, since }, formatFlags });
    ListFormat format;
    if (!parsed || !listFormat(*parsed, console, &format))
        return ExitBadInput;
    QDateTime from;
    if (parsed->has(since)) {
        from = sinceTime(parsed->value(since));
        if (!from.isValid())
            return console.usageError(QStringLiteral("--since '%1' is neither a date (2024-12-08) nor an ISO 8601 time "
                                                     "(2024-12-08T19:32:00Z, 2024-12-08T19:32+05:00)")
                                              .arg(parsed->value(since)));
    }
    // Either form of a driver's serial string names it.
    QString driver = parsed->value(serial);
    if (driver.size() == 10 && driver.endsWith(QLatin1Char('b')))
        driver.chop(1);

    const OpenedRecord record = openRecord(*parsed, console, RecordUse::Read);
    if (!record.database)
        return record.status;
    QString reason;
    const auto changes = FirmwareHistory(*record.database).changes(driver, from, &reason);
    if (!changes)
        return console.fail(ExitFailure, QStringLiteral("cannot read the record: %1").arg(reason));
    QList<QVariantList> rows;
    for (const FirmwareChange &change : *changes)
        rows.append({ change.startedAt, change.endedAt, change.serial, change.station, change.succeeded, change.outcome,
                      change.fileName, change.fileSha256, change.keyFingerprint, change.signatureKeyId,
                      change.trustedComment });
    printRows(console, format, QStringLiteral("history"),
              { "started", "ended", "serial", "station", "succeeded", "outcome", "file_name", "sha256",
                "scrambling_key", "release_key_id", "trusted_comment" },
              rows);
    return ExitSuccess;
}

int initRecord(const QStringList &args, Console &console)
{
    const std::optional<Arguments> parsed = commandArguments(args, 0, console, { { DatabaseOption } });
    if (!parsed)
        return ExitBadInput;
    const OpenedRecord record = openRecord(*parsed, console, RecordUse::Write);
    if (!record.database)
        return record.status;
    console.print(QStringLiteral("production record ready: %1").arg(record.database->location().display()));
    return ExitSuccess;
}

} // namespace tool
