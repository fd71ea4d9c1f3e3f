#include "production/databaseurl.h"

#include <QRegularExpression>
#include <QUrl>

namespace {

QString decoded(const QString &part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

std::optional<DatabaseUrl> parsePostgreSql(const QString &text, QString *error)
{
    // scheme, user, password, host, port, database name, parameters
    static const QRegularExpression form(QStringLiteral(
            "^postgres(?:ql)?://(?:([^:@/?]*)(?::([^@/?]*))?@)?([^:/?@]*)(?::([0-9]{1,5}))?/([^/?]+)(?:\\?(.*))?$"));
    const QRegularExpressionMatch match = form.match(text);
    if (!match.hasMatch()) {
        *error = QStringLiteral("'%1' is not a PostgreSQL URL: postgresql://[user[:password]@][host][:port]/dbname"
                                "[?host=/socket/dir]")
                         .arg(text.section(QLatin1Char('@'), -1));   // leaves out what may be a password
        return std::nullopt;
    }
    DatabaseUrl url;
    url.kind = DatabaseUrl::Kind::PostgreSql;
    url.user = decoded(match.captured(1));
    url.password = decoded(match.captured(2));
    url.host = decoded(match.captured(3));
    url.databaseName = decoded(match.captured(5));
    if (!match.captured(4).isEmpty()) {
        url.port = match.captured(4).toInt();
        if (url.port < 1 || url.port > 65535) {
            *error = QStringLiteral("port %1 is not from 1 to 65535").arg(match.captured(4));
            return std::nullopt;
        }
    }
    const QString parameters = match.captured(6);
    for (const QString &parameter : parameters.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const QString name = parameter.section(QLatin1Char('='), 0, 0);
        if (name != QLatin1String("host") || !parameter.contains(QLatin1Char('='))) {
            *error = QStringLiteral("unknown parameter '%1' in the PostgreSQL URL (only host=/socket/dir is known)")
                             .arg(name);
            return std::nullopt;
        }
        url.host = decoded(parameter.section(QLatin1Char('='), 1));
    }
    return url;
}

} // namespace

QString DatabaseUrl::display() const
{
    if (kind == Kind::Sqlite)
        return QStringLiteral("sqlite:") + path;
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + (password.isEmpty() ? QString() : QStringLiteral(":***")) + QLatin1Char('@');
    const bool socket = host.startsWith(QLatin1Char('/'));
    if (!socket)
        text += host;
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    text += QLatin1Char('/') + databaseName;
    if (socket)
        text += QStringLiteral("?host=") + host;
    return text;
}

std::optional<DatabaseUrl> parseDatabaseUrl(const QString &text, QString *error)
{
    if (text.isEmpty()) {
        *error = QStringLiteral("the database URL is empty");
        return std::nullopt;
    }
    // A scheme is a word and a colon at the start; a path with a colon of its
    // own is given as sqlite:PATH or ./PATH.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const QRegularExpressionMatch match = scheme.match(text);
    if (!match.hasMatch()) {
        DatabaseUrl url;
        url.path = text;
        return url;
    }
    const QString name = match.captured(1).toLower();
    if (name == QLatin1String("sqlite")) {
        DatabaseUrl url;
        url.path = text.mid(match.capturedLength());
        if (url.path.isEmpty()) {
            *error = QStringLiteral("sqlite: names no file");
            return std::nullopt;
        }
        return url;
    }
    if (name == QLatin1String("postgresql") || name == QLatin1String("postgres"))
        return parsePostgreSql(text, error);
    *error = QStringLiteral("unknown database scheme '%1:' (known: a file path, sqlite:PATH, postgresql://...)")
                     .arg(match.captured(1));
    return std::nullopt;
}
