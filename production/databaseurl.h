#ifndef DATABASEURL_H
#define DATABASEURL_H

#include <QString>

#include <optional>

// Where the production record lives, as a user names it:
//   a plain path, or sqlite:PATH                       an SQLite file
//   postgresql://[user[:password]@][host][:port]/dbname[?host=/socket/dir]
// "postgres://" is taken as PostgreSQL's own tools take it. Without a password
// in the URL, PostgreSQL's client library reads PGPASSWORD or ~/.pgpass.
struct DatabaseUrl
{
    enum class Kind { Sqlite, PostgreSql };

    Kind kind = Kind::Sqlite;
    QString path;       // SQLite
    QString user;       // PostgreSQL, each empty when not given
    QString password;
    QString host;       // a name, an address, or a folder with the server's socket
    int port = -1;
    QString databaseName;

    // The URL for messages: never with the password.
    QString display() const;
};

// The URL's parts, or nothing with the reason in *error.
std::optional<DatabaseUrl> parseDatabaseUrl(const QString &text, QString *error);

#endif // DATABASEURL_H
