#include "tool/record.h"

#include "production/recordlocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

namespace tool {

const QString DatabaseOption = QStringLiteral("db");

namespace {

QString csvField(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) + QLatin1Char('"');
}

} // namespace

void warn(Console &console, const QString &message)
{
    console.warn(message);
}

OpenedRecord openRecord(const Arguments &args, Console &console, RecordUse use, const QString &instead)
{
    OpenedRecord opened;
    QString text = args.value(DatabaseOption);
    QString origin = QStringLiteral("--db");
    opened.named = args.has(DatabaseOption);
    if (!opened.named && qEnvironmentVariableIsSet("VN274_DB")) {
        text = qEnvironmentVariable("VN274_DB");
        origin = QStringLiteral("VN274_DB");
        opened.named = true;
    }
    DatabaseUrl url;
    if (opened.named) {
        QString error;
        const std::optional<DatabaseUrl> parsed = parseDatabaseUrl(text, &error);
        if (!parsed) {
            opened.status = console.usageError(QStringLiteral("%1: %2").arg(origin, error));
            return opened;
        }
        url = *parsed;
        if (!url.password.isEmpty())
            warn(console, QStringLiteral("the password in %1 %2; keep it in a password file (PGPASSFILE, ~/.pgpass) "
                                         "or a service entry (service=) instead")
                                  .arg(origin, origin == QLatin1String("--db")
                                                       ? QStringLiteral("can be read by every user of this machine in "
                                                                        "the process list")
                                                       : QStringLiteral("stands in clear text wherever the variable "
                                                                        "is set")));
    } else {
        // The tool's own data folder: vn274-tool-sim keeps a record apart.
        url.path = defaultRecordPath(QCoreApplication::applicationName());
        if (use != RecordUse::Read)
            QDir().mkpath(QFileInfo(url.path).absolutePath());
    }

    auto database = std::make_unique<RecordDatabase>();
    const bool reading = use == RecordUse::Read;
    if (database->open(url, reading ? RecordDatabase::Access::Read : RecordDatabase::Access::Write)) {
        opened.database = std::move(database);
        return opened;
    }
    QString problem = database->errorString();
    if (origin == QLatin1String("VN274_DB"))
        problem += QStringLiteral(" (the record VN274_DB names)");
    if (reading) {
        opened.status = console.fail(ExitFailure, problem);
        return opened;
    }
    if (opened.named || use == RecordUse::Write) {
        problem += QStringLiteral("; nothing was done");
        if (!opened.named && !instead.isEmpty())
            problem += QStringLiteral(" (%1)").arg(instead);
        opened.status = console.fail(ExitFailure, problem);
        return opened;
    }
    warn(console, QStringLiteral("%1; going on without a production record").arg(problem));
    return opened;
}

bool listFormat(const Arguments &args, Console &console, ListFormat *format)
{
    const bool json = args.has(QStringLiteral("json")), csv = args.has(QStringLiteral("csv"));
    if (json && csv) {
        console.usageError(QStringLiteral("--json and --csv exclude each other"));
        return false;
    }
    *format = json ? ListFormat::Json : csv ? ListFormat::Csv : ListFormat::Text;
    return true;
}

void printRows(Console &console, ListFormat format, const QString &key, const QStringList &columns,
               const QList<QVariantList> &rows)
{
    switch (format) {
    case ListFormat::Json: {
        QJsonArray array;
        for (const QVariantList &row : rows) {
            QJsonObject object;
            for (int i = 0; i < columns.size(); ++i)
                object[columns.at(i)] = QJsonValue::fromVariant(row.at(i));
            array.append(object);
        }
        console.printJson({ { key, array } });
        return;
    }
    case ListFormat::Csv: {
        console.print(columns.join(QLatin1Char(',')));
        for (const QVariantList &row : rows) {
            QStringList fields;
            for (const QVariant &value : row)
                fields << csvField(value.toString());
            console.print(fields.join(QLatin1Char(',')));
        }
        return;
    }
    case ListFormat::Text: {
        QList<int> widths;
        for (const QString &column : columns)
            widths << int(column.size());
        for (const QVariantList &row : rows)
            for (int i = 0; i < columns.size(); ++i)
                widths[i] = qMax(widths.at(i), int(row.at(i).toString().size()));
        const auto line = [&](const QStringList &fields) {
            QString text;
            for (int i = 0; i < fields.size(); ++i)
                text += i + 1 < fields.size() ? fields.at(i).leftJustified(widths.at(i) + 2) : fields.at(i);
            console.print(text);
        };
        line(columns);
        for (const QVariantList &row : rows) {
            QStringList fields;
            for (const QVariant &value : row)
                fields << value.toString();
            line(fields);
        }
        return;
    }
    }
}

} // namespace tool
