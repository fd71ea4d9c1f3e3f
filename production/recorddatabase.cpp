#include "production/recorddatabase.h"

#include <QAtomicInt>
#include <QDateTime>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QThread>
#include <QUrl>
#include <QVariant>

namespace {

// How long a writer waits for another process's transaction on an SQLite file.
constexpr int SqliteBusyTimeoutMs = 30000;
constexpr int PostgreSqlConnectTimeoutS = 10;
constexpr int WriteAttempts = 100;

QAtomicInt connectionCount;

// SQLite's primary result codes, as the low byte of an extended one
// (SQLITE_READONLY_DIRECTORY is 1544).
constexpr int SqliteBusy = 5;
constexpr int SqliteLocked = 6;
constexpr int SqliteReadOnly = 8;
constexpr int SqliteCantOpen = 14;

int sqliteCode(const QSqlError &error)
{
    return error.nativeErrorCode().toInt() & 0xFF;
}

const char *driverName(DatabaseUrl::Kind kind)
{
    return kind == DatabaseUrl::Kind::Sqlite ? "QSQLITE" : "QPSQL";
}

const char *driverPackage(DatabaseUrl::Kind kind)
{
    return kind == DatabaseUrl::Kind::Sqlite ? "libqt6sql6-sqlite" : "libqt6sql6-psql";
}

// A clash with another station's transaction that a new attempt resolves:
// PostgreSQL's unique violation, serialization failure and deadlock, and the
// duplicate table or type of two stations making the schema at once; SQLite's
// busy and locked.
bool isConflict(DatabaseUrl::Kind kind, const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    if (kind == DatabaseUrl::Kind::PostgreSql)
        return code == QLatin1String("23505") || code == QLatin1String("40001") || code == QLatin1String("40P01")
                || code == QLatin1String("42P07") || code == QLatin1String("42710");
    return sqliteCode(error) == SqliteBusy || sqliteCode(error) == SqliteLocked;
}

QStringList schemaStatements(DatabaseUrl::Kind kind)
{
    const QString id = kind == DatabaseUrl::Kind::Sqlite ? QStringLiteral("INTEGER PRIMARY KEY")
                                                         : QStringLiteral("BIGSERIAL PRIMARY KEY");
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS serials ("
                       " serial CHAR(9) PRIMARY KEY,"
                       " status VARCHAR(8) NOT NULL,"
                       " station TEXT NOT NULL,"
                       " image_file TEXT NOT NULL,"
                       " batch TEXT NOT NULL,"
                       " reserved_at TEXT NOT NULL,"
                       " issued_at TEXT,"
                       " reissues INTEGER NOT NULL DEFAULT 0)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS reissues ("
                       " id %1, serial CHAR(9) NOT NULL, station TEXT NOT NULL,"
                       " image_file TEXT NOT NULL, issued_at TEXT NOT NULL)").arg(id),
        QStringLiteral("CREATE TABLE IF NOT EXISTS firmware_history ("
                       " id %1, serial TEXT NOT NULL, station TEXT NOT NULL,"
                       " started_at TEXT NOT NULL, ended_at TEXT NOT NULL,"
                       " file_name TEXT NOT NULL, file_sha256 TEXT NOT NULL, key_fingerprint TEXT NOT NULL,"
                       " succeeded INTEGER NOT NULL, outcome TEXT NOT NULL,"
                       " signature_key_id TEXT NOT NULL, trusted_comment TEXT NOT NULL)").arg(id),
        QStringLiteral("CREATE INDEX IF NOT EXISTS firmware_history_by_serial ON firmware_history (serial)"),
    };
}

} // namespace

RecordDatabase::RecordDatabase()
    : connectionName(QStringLiteral("vn274-record-%1").arg(connectionCount.fetchAndAddRelaxed(1)))
{
}

RecordDatabase::~RecordDatabase()
{
    {
        QSqlDatabase db = QSqlDatabase::database(connectionName, false);
        if (db.isValid())
            db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
}

QSqlDatabase RecordDatabase::database() const
{
    return QSqlDatabase::database(connectionName, false);
}

bool RecordDatabase::fail(const QString &what, const QSqlError &sqlError)
{
    error = QStringLiteral("%1: %2").arg(what, sqlError.text().simplified());
    return false;
}

bool RecordDatabase::open(const DatabaseUrl &databaseUrl, Access access)
{
    url = databaseUrl;
    const QString driver = QLatin1String(driverName(url.kind));
    if (!QSqlDatabase::isDriverAvailable(driver)) {
        error = QStringLiteral("Qt's %1 database driver is not installed (Debian: %2)")
                        .arg(driver, QLatin1String(driverPackage(url.kind)));
        return false;
    }
    // SQLite would make a new, empty file.
    if (access == Access::Read && url.kind == DatabaseUrl::Kind::Sqlite && !QFileInfo::exists(url.path)) {
        error = noRecord();
        return false;
    }
    QSqlDatabase db = QSqlDatabase::addDatabase(driver, connectionName);
    configure(db, access, false);
    if (!db.open())
        return fail(QStringLiteral("cannot open the record %1").arg(url.display()), db.lastError());
    quietNotices();
    return access == Access::Write ? prepare() : checkReadable();
}

void RecordDatabase::configure(QSqlDatabase &db, Access access, bool immutable) const
{
    if (url.kind == DatabaseUrl::Kind::Sqlite) {
        QStringList options{ QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(SqliteBusyTimeoutMs) };
        if (access == Access::Read)
            options << QStringLiteral("QSQLITE_OPEN_READONLY");
        db.setDatabaseName(url.path);
        if (immutable) {
            options << QStringLiteral("QSQLITE_OPEN_URI");
            db.setDatabaseName(QUrl::fromLocalFile(QFileInfo(url.path).absoluteFilePath()).toString(QUrl::FullyEncoded)
                               + QStringLiteral("?immutable=1"));
        }
        db.setConnectOptions(options.join(QLatin1Char(';')));
        return;
    }
    db.setDatabaseName(url.databaseName);
    db.setUserName(url.user);
    // Without a password here libpq reads PGPASSWORD, the password file or
    // the service entry itself.
    db.setPassword(url.password);
    db.setHostName(url.host);
    db.setPort(url.port);
    QStringList options;
    if (url.parameter(QStringLiteral("connect_timeout")).isNull())
        options << QStringLiteral("connect_timeout=%1").arg(PostgreSqlConnectTimeoutS);
    if (!url.parameters.isEmpty())
        options << url.connectOptions();
    db.setConnectOptions(options.join(QLatin1Char(';')));
}

QString RecordDatabase::newerSchema(int version) const
{
    return QStringLiteral("the record %1 has schema version %2, newer than this vn274-tool knows (%3): "
                          "use a newer vn274-tool")
            .arg(url.display()).arg(version).arg(SchemaVersion);
}

QString RecordDatabase::noRecord() const
{
    return QStringLiteral("no production record at %1")
            .arg(url.kind == DatabaseUrl::Kind::Sqlite ? url.path : url.display());
}

void RecordDatabase::quietNotices()
{
    // The server's notices ("relation ... already exists, skipping") are no
    // news to a user of the tool.
    if (url.kind == DatabaseUrl::Kind::PostgreSql)
        QSqlQuery(database()).exec(QStringLiteral("SET client_min_messages = warning"));
}

std::optional<int> RecordDatabase::schemaVersion(QSqlQuery &query)
{
    const QString exists = url.kind == DatabaseUrl::Kind::Sqlite
            ? QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'table' AND name = 'vn274_schema'")
            : QStringLiteral("SELECT CASE WHEN to_regclass('vn274_schema') IS NULL THEN 0 ELSE 1 END");
    if (!exec(query, exists) || !query.next())
        return std::nullopt;
    if (query.value(0).toInt() == 0)
        return 0;
    if (!exec(query, QStringLiteral("SELECT version FROM vn274_schema")))
        return std::nullopt;
    return query.next() ? query.value(0).toInt() : 0;
}

bool RecordDatabase::prepare()
{
    QSqlDatabase db = database();
    if (url.kind == DatabaseUrl::Kind::Sqlite) {
        // Several processes of one station share the file: readers never wait
        // for a writer, and a writer waits for another (the busy time-out).
        const QSqlError walError = switchToWal(db);
        if (walError.isValid())
            return fail(QStringLiteral("%1 is not a usable SQLite record").arg(url.path), walError);
    }
    QString reason;
    const Outcome outcome = write([&](QString *why) {
        QSqlQuery &query = this->query();
        const std::optional<int> found = schemaVersion(query);
        if (!found)
            return false;
        if (*found > SchemaVersion) {
            *why = newerSchema(*found);
            return false;
        }
        // Made on first use. A record made already is not made again: that
        // needs rights on the database itself, which a station's role lacks.
        if (*found < SchemaVersion) {
            if (!exec(query, QStringLiteral("CREATE TABLE IF NOT EXISTS vn274_schema ("
                                            " id INTEGER PRIMARY KEY CHECK (id = 1), version INTEGER NOT NULL)"))
                || !exec(query, QStringLiteral("INSERT INTO vn274_schema (id, version) SELECT 1, %1"
                                               " WHERE NOT EXISTS (SELECT 1 FROM vn274_schema)").arg(SchemaVersion)))
                return false;
            for (const QString &statement : schemaStatements(url.kind))
                if (!exec(query, statement))
                    return false;
        }
        return mayWrite(query, why);
    }, &reason);
    if (outcome != Outcome::Committed) {
        error = outcome == Outcome::GaveUp ? reason
                                           : QStringLiteral("cannot use the record %1: %2").arg(url.display(), reason);
        return false;
    }
    return true;
}

// Proves that this user may write here, before any command relies on it.
bool RecordDatabase::mayWrite(QSqlQuery &query, QString *why)
{
    if (url.kind == DatabaseUrl::Kind::Sqlite)
        return exec(query, QStringLiteral("UPDATE vn274_schema SET version = version"));

    // PostgreSQL: the rights a station's role needs, and no more (README).
    // Asked, not tried: a role that may not change the schema's version
    // still writes serial numbers and the firmware history.
    struct Right
    {
        const char *privilege;
        const char *object;
        bool sequence;
    };
    static const Right rights[] = {
        { "SELECT", "vn274_schema", false }, { "SELECT", "serials", false },
        { "INSERT", "serials", false },      { "UPDATE", "serials", false },
        { "INSERT", "reissues", false },     { "USAGE", "reissues_id_seq", true },
        { "INSERT", "firmware_history", false }, { "USAGE", "firmware_history_id_seq", true },
    };
    QStringList asked;
    for (const Right &right : rights)
        asked << QStringLiteral("%1('%2', '%3')")
                         .arg(QLatin1String(right.sequence ? "has_sequence_privilege" : "has_table_privilege"),
                              QLatin1String(right.object), QLatin1String(right.privilege));
    if (!exec(query, QStringLiteral("SELECT current_user, current_setting('transaction_read_only'), ")
                             + asked.join(QStringLiteral(", ")))
        || !query.next())
        return false;
    const QString role = query.value(0).toString();
    if (query.value(1).toString() == QLatin1String("on")) {
        *why = QStringLiteral("the record %1 takes no writes (a standby server, or default_transaction_read_only)")
                       .arg(url.display());
        return false;
    }
    QStringList missing;
    for (int i = 0; i < int(std::size(rights)); ++i)
        if (!query.value(2 + i).toBool())
            missing << QStringLiteral("%1 on %2").arg(QLatin1String(rights[i].privilege), QLatin1String(rights[i].object));
    if (missing.isEmpty())
        return true;
    *why = QStringLiteral("the role %1 may not write the record %2: it lacks %3")
                   .arg(role, url.display(), missing.join(QStringLiteral(", ")));
    return false;
}

bool RecordDatabase::checkReadable()
{
    QSqlQuery query(database());
    std::optional<int> found = schemaVersion(query);
    // SQLite reads a record in WAL mode through files beside it, which a
    // user who may not write the folder cannot make. When they are missing,
    // no writer has the record open and everything is in the file itself:
    // it is read as it lies.
    const int code = sqliteCode(lastSqlError);
    if (!found && url.kind == DatabaseUrl::Kind::Sqlite && (code == SqliteReadOnly || code == SqliteCantOpen)
        && !QFileInfo::exists(url.path + QStringLiteral("-wal"))) {
        query = QSqlQuery();
        QSqlDatabase db = database();
        db.close();
        configure(db, Access::Read, true);
        if (!db.open())
            return fail(QStringLiteral("cannot open the record %1").arg(url.display()), db.lastError());
        query = QSqlQuery(db);
        found = schemaVersion(query);
    }
    if (!found)
        return fail(QStringLiteral("cannot read the record %1").arg(url.display()), lastSqlError);
    if (*found == 0) {
        error = noRecord();
        return false;
    }
    if (*found > SchemaVersion) {
        error = newerSchema(*found);
        return false;
    }
    return true;
}

QSqlError RecordDatabase::switchToWal(const QSqlDatabase &db) const
{
    // The switch needs the file to itself for a moment, and SQLite answers
    // "database is locked" at once, without its busy handler, while another
    // process makes or switches the same new file: try again within the time
    // a writer would wait.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        QSqlQuery wal(db);
        if (wal.exec(QStringLiteral("PRAGMA journal_mode=WAL")))
            return QSqlError();
        if (!isConflict(url.kind, wal.lastError()) || waited.elapsed() > SqliteBusyTimeoutMs)
            return wal.lastError();
        QThread::usleep(1000 + QRandomGenerator::global()->bounded(20000));
    }
}

QSqlQuery &RecordDatabase::query()
{
    return transactionQueries.emplace_back(database());
}

bool RecordDatabase::exec(QSqlQuery &query, const QString &statement)
{
    if (query.exec(statement))
        return true;
    lastSqlError = query.lastError();
    return false;
}

bool RecordDatabase::exec(QSqlQuery &query)
{
    if (query.exec())
        return true;
    lastSqlError = query.lastError();
    return false;
}

RecordDatabase::Outcome RecordDatabase::write(const std::function<bool(QString *reason)> &work, QString *reason)
{
    QSqlDatabase db = database();
    bool reconnected = false;
    if (!db.isOpen()) {   // lost before, and not back then
        reconnected = true;
        if (!db.open()) {
            *reason = db.lastError().text().simplified();
            return Outcome::Failed;
        }
        quietNotices();
    }
    for (int attempt = 1;; ++attempt) {
        lastSqlError = QSqlError();
        QSqlQuery control(db);
        // SQLite: take the write lock at the start, so that two writers never
        // both read and then clash; the busy time-out makes the second wait.
        const bool begun = url.kind == DatabaseUrl::Kind::Sqlite
                ? exec(control, QStringLiteral("BEGIN IMMEDIATE"))
                : exec(control, QStringLiteral("BEGIN"));
        QString why;
        bool done = begun && work(&why);
        if (done)
            done = exec(control, QStringLiteral("COMMIT"));
        if (!done && begun) {
            const QSqlError failure = lastSqlError;
            QSqlQuery rollback(db);
            rollback.exec(QStringLiteral("ROLLBACK"));
            lastSqlError = failure;
        }
        transactionQueries.clear();
        if (done)
            return Outcome::Committed;
        if (lastSqlError.type() == QSqlError::NoError) {
            *reason = why;
            return Outcome::GaveUp;
        }
        // A server that restarted since the last transaction (an upgrade
        // takes a minute) is connected to once more.
        if (!begun && !reconnected && url.kind == DatabaseUrl::Kind::PostgreSql) {
            reconnected = true;
            db.close();
            if (db.open()) {
                quietNotices();
                continue;
            }
        }
        if (!isConflict(url.kind, lastSqlError) || attempt == WriteAttempts) {
            *reason = lastSqlError.text().simplified();
            return Outcome::Failed;
        }
        // Another station took what this attempt wanted: try again a moment
        // later, each at its own moment.
        QThread::usleep(1000 + QRandomGenerator::global()->bounded(20000));
    }
}

QString RecordDatabase::now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs);
}

QString RecordDatabase::station()
{
    return QSysInfo::machineHostName();
}
