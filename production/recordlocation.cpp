#include "production/recordlocation.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString defaultRecordPath(const QString &toolName)
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation))
        .filePath(toolName + QStringLiteral("/production-record.sqlite"));
}

std::unique_ptr<RecordDatabase> openDefaultRecord(const QString &toolName, QString *problem)
{
    DatabaseUrl url;
    if (qEnvironmentVariableIsSet("VN274_DB")) {
        QString error;
        const std::optional<DatabaseUrl> parsed = parseDatabaseUrl(qEnvironmentVariable("VN274_DB"), &error);
        if (!parsed) {
            *problem = QStringLiteral("VN274_DB: %1").arg(error);
            return nullptr;
        }
        url = *parsed;
    } else {
        url.path = defaultRecordPath(toolName);
        QDir().mkpath(QFileInfo(url.path).absolutePath());
    }
    auto database = std::make_unique<RecordDatabase>();
    if (!database->open(url)) {
        *problem = database->errorString();
        return nullptr;
    }
    return database;
}
