// The subcommands that read the production record, and the one that makes it.
#include "tool/commands.h"

#include "production/firmwarehistory.h"
#include "production/serialregister.h"
#include "tool/record.h"
#include "upgrade/bootimage.h"

#include <QDateTime>

namespace tool {

namespace {

const QStringList formatFlags = { QStringLiteral("json"), QStringLiteral("csv") };

// "2024-12-08T00:00:00Z" from 2024-12-08, or a date and time as ISO 8601.
QDateTime sinceTime(const QString &text)
{
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (date.isValid())
        return QDateTime(date, QTime(0, 0), Qt::UTC);
    QDateTime time = QDateTime::fromString(text, Qt::ISODateWithMs);
    if (time.isValid() && time.timeSpec() == Qt::LocalTime && !text.contains(QLatin1Char('+')))
        time.setTimeSpec(Qt::UTC);   // without a zone: UTC, as the record keeps times
    return time;
}

} // namespace

int serials(const QStringList &args, Console &console)
{
    const QString date = QStringLiteral("date");
    const std::optional<Arguments> parsed = commandArguments(args, 0, console, { DatabaseOption, date }, formatFlags);
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
              { "serial", "date", "status", "station", "time", "image_file", "reissues" }, rows);
    return ExitSuccess;
}

int history(const QStringList &args, Console &console)
{
    const QString serial = QStringLiteral("serial"), since = QStringLiteral("since");
    const std::optional<Arguments> parsed = commandArguments(args, 0, console, { DatabaseOption, serial, since },
                                                             formatFlags);
    ListFormat format;
    if (!parsed || !listFormat(*parsed, console, &format))
        return ExitBadInput;
    QDateTime from;
    if (parsed->has(since)) {
        from = sinceTime(parsed->value(since));
        if (!from.isValid())
            return console.usageError(QStringLiteral("--since '%1' is not a date (2024-12-08) or an ISO 8601 time")
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
              { "started", "ended", "serial", "station", "succeeded", "outcome", "file", "sha256", "scrambling_key",
                "signature_key_id", "trusted_comment" },
              rows);
    return ExitSuccess;
}

int initRecord(const QStringList &args, Console &console)
{
    const std::optional<Arguments> parsed = commandArguments(args, 0, console, { DatabaseOption });
    if (!parsed)
        return ExitBadInput;
    const OpenedRecord record = openRecord(*parsed, console, RecordUse::Write);
    if (!record.database)
        return record.status;
    console.print(QStringLiteral("production record ready: %1").arg(record.database->location().display()));
    return ExitSuccess;
}

} // namespace tool
