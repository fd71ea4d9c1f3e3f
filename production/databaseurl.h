#ifndef DATABASEURL_H
#define DATABASEURL_H

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

// Where the production record lives, as a user names it:
//   a plain path, or sqlite:PATH                       an SQLite file
//   postgresql://[user[:password]@][host][:port]/dbname[?parameter=value&...]
// "postgres://" is taken as PostgreSQL's own tools take it. The parameters are
// libpq's: host (a socket folder), sslmode, sslrootcert, sslcert, sslkey,
// connect_timeout, application_name and service (an entry of pg_service.conf,
// which may also name the database). Without a password in the URL, libpq
// reads PGPASSWORD, the password file (PGPASSFILE, ~/.pgpass) or the service.
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
    // libpq's connection parameters after "?", host= excepted, in their order.
    QList<QPair<QString, QString>> parameters;

    QString parameter(const QString &name) const;
    // The parameters as the Qt PostgreSQL driver passes them on to libpq.
    QString connectOptions() const;

    // The URL for messages: never with the password.
    QString display() const;
};

// The URL's parts, or nothing with the reason in *error. The reason names the
// part that is wrong and never repeats what may be a password.
std::optional<DatabaseUrl> parseDatabaseUrl(const QString &text, QString *error);

#endif // DATABASEURL_H
