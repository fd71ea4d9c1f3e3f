#ifndef RECORDDATABASE_H
#define RECORDDATABASE_H

#include "production/databaseurl.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QList>
#include <QString>

#include <functional>
#include <list>
#include <optional>

// One connection to the production record, SQLite or PostgreSQL. Opened for
// writing, it creates the schema on first use and refuses a record of a newer
// schema, and proves that the record can be written, so that a command learns
// of a record it cannot use before it makes anything. Opened for reading, it
// takes only a record that exists, and changes nothing: a user who may only
// read it can list it, and a mistyped path makes no new, empty record.
//
// Schema version 1:
//   vn274_schema(version)                  one row
//   serials(serial PRIMARY KEY, status, station, image_file, batch,
//           reserved_at, issued_at, reissues)
//       status: reserved (taken by a batch, image not yet confirmed), issued
//       (image written), void (its image was never written: free again)
//   reissues(id, serial, station, image_file, issued_at)
//   firmware_history(id, serial, station, started_at, ended_at, file_name,
//           file_sha256, key_fingerprint, succeeded, outcome,
//           signature_key_id, trusted_comment)
// Times are UTC text as 2024-12-08T07:20:00.123Z, which sorts as it reads.
class RecordDatabase
{
public:
    static constexpr int SchemaVersion = 1;

    RecordDatabase();
    ~RecordDatabase();
    RecordDatabase(const RecordDatabase &) = delete;
    RecordDatabase &operator=(const RecordDatabase &) = delete;

    enum class Access { Read, Write };

    // False, with the reason in errorString(), when the record cannot be
    // reached, is no record of ours, is of a newer schema, or (for writing)
    // cannot be written.
    bool open(const DatabaseUrl &url, Access access = Access::Write);
    QString errorString() const { return error; }
    DatabaseUrl::Kind kind() const { return url.kind; }
    DatabaseUrl location() const { return url; }
    QSqlDatabase database() const;

    // Runs `work` in one writing transaction and commits. `work` returns false
    // to give up (rolled back, its own reason in *reason); a clash with another
    // station's concurrent transaction (a unique key, a serialization
    // failure) rolls back and runs `work` again from the start. A PostgreSQL
    // connection lost since the last transaction is opened again, once.
    enum class Outcome { Committed, GaveUp, Failed };
    // Failed: *reason is the database's own word.
    Outcome write(const std::function<bool(QString *reason)> &work, QString *reason);

    // For the work of write(): a query on this connection that lives until
    // the transaction has ended (PostgreSQL cannot free a prepared statement
    // inside a transaction that failed).
    QSqlQuery &query();
    // Runs a statement, and on failure keeps its error for write() to judge.
    bool exec(QSqlQuery &query, const QString &statement);
    bool exec(QSqlQuery &query);   // prepared

    // UTC now, as the record keeps times.
    static QString now();
    // This station, as the record names it: the host name.
    static QString station();

private:
    void configure(QSqlDatabase &db, Access access, bool immutable) const;
    bool prepare();
    bool checkReadable();
    std::optional<int> schemaVersion(QSqlQuery &query);
    bool mayWrite(QSqlQuery &query, QString *why);
    QString noRecord() const;
    QString newerSchema(int version) const;
    QSqlError switchToWal(const QSqlDatabase &db) const;
    void quietNotices();
    bool fail(const QString &what, const QSqlError &sqlError);

    DatabaseUrl url;
    QString connectionName;
    QString error;
    QSqlError lastSqlError;   // of the last statement that failed in write()
    std::list<QSqlQuery> transactionQueries;   // a list: references to them stay valid
};

#endif // RECORDDATABASE_H
