#include "production/databaseurl.h"

#include <QRegularExpression>
#include <QStringList>
#include <QUrl>

namespace {

const QString PostgreSqlForm =
        QStringLiteral("postgresql://[user[:password]@][host][:port]/dbname[?parameter=value&...]");

const QString HostParameter = QStringLiteral("host");
const QString ServiceParameter = QStringLiteral("service");
const QString TimeoutParameter = QStringLiteral("connect_timeout");
const QString SslModeParameter = QStringLiteral("sslmode");

// libpq's parameters the record may be reached with: the server's address,
// its certificate and ours, and how long to wait.
const QStringList knownParameters = { HostParameter,
                                      SslModeParameter,
                                      QStringLiteral("sslrootcert"),
                                      QStringLiteral("sslcert"),
                                      QStringLiteral("sslkey"),
                                      TimeoutParameter,
                                      QStringLiteral("application_name"),
                                      ServiceParameter };

const QStringList sslModes = { QStringLiteral("disable"), QStringLiteral("allow"),     QStringLiteral("prefer"),
                               QStringLiteral("require"), QStringLiteral("verify-ca"), QStringLiteral("verify-full") };

std::nullopt_t refuse(QString *error, const QString &reason)
{
    *error = reason;
    return std::nullopt;
}

QString decoded(QStringView part)
{
    return QUrl::fromPercentEncoding(part.toUtf8());
}

// A parameter's name as the user wrote it, when it can be shown: a word, not
// a fragment of a password that lost its way.
QString shownName(QStringView name)
{
    static const QRegularExpression word(QStringLiteral("^[A-Za-z_]{1,40}$"));
    return word.match(name).hasMatch() ? QStringLiteral("'%1'").arg(name) : QStringLiteral("(a name not shown)");
}

// "host[:port]", or "[address][:port]" for an IPv6 address and its colons.
bool splitHostAndPort(QStringView hostPort, DatabaseUrl *url, QString *error)
{
    qsizetype hostEnd = 0;
    if (hostPort.startsWith(QLatin1Char('['))) {
        const qsizetype close = hostPort.indexOf(QLatin1Char(']'));
        if (close < 0) {
            *error = QStringLiteral("the host of the PostgreSQL URL opens an address with '[' and never closes it");
            return false;
        }
        url->host = hostPort.mid(1, close - 1).toString();
        hostEnd = close + 1;
        if (hostEnd < hostPort.size() && hostPort.at(hostEnd) != QLatin1Char(':')) {
            *error = QStringLiteral("the host of the PostgreSQL URL goes on after its ']'");
            return false;
        }
    } else {
        hostEnd = hostPort.indexOf(QLatin1Char(':'));
        if (hostEnd < 0)
            hostEnd = hostPort.size();
        url->host = decoded(hostPort.left(hostEnd));
    }
    if (hostEnd == hostPort.size())
        return true;
    const QStringView portText = hostPort.mid(hostEnd + 1);
    // The port is not repeated: a password with a '/' in it, not written
    // %2F, would end up here.
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const int port = digits.match(portText).hasMatch() ? portText.toInt() : 0;
    if (port < 1 || port > 65535) {
        *error = QStringLiteral("the port of the PostgreSQL URL is not a number from 1 to 65535 (a '/' in the "
                                "user name or password is written %2F)");
        return false;
    }
    url->port = port;
    return true;
}

bool takeParameter(QStringView parameter, DatabaseUrl *url, QStringList *seen, QString *error)
{
    const qsizetype equals = parameter.indexOf(QLatin1Char('='));
    const QStringView name = parameter.left(equals < 0 ? parameter.size() : equals);
    if (!knownParameters.contains(name)) {
        *error = QStringLiteral("unknown parameter %1 in the PostgreSQL URL (known: %2)")
                         .arg(shownName(name), knownParameters.join(QStringLiteral(", ")));
        return false;
    }
    if (equals < 0) {
        *error = QStringLiteral("the parameter '%1' of the PostgreSQL URL has no value (%1=...)").arg(name);
        return false;
    }
    const QString value = decoded(parameter.mid(equals + 1));
    if (seen->contains(name)) {
        *error = QStringLiteral("the parameter '%1' is given twice in the PostgreSQL URL").arg(name);
        return false;
    }
    seen->append(name.toString());
    // The Qt PostgreSQL driver takes ';' for the end of a parameter.
    if (value.contains(QLatin1Char(';'))) {
        *error = QStringLiteral("the parameter '%1' of the PostgreSQL URL holds a ';', which cannot be passed on "
                                "to the server's client library").arg(name);
        return false;
    }
    if (name == SslModeParameter && !sslModes.contains(value)) {
        *error = QStringLiteral("the parameter 'sslmode' of the PostgreSQL URL is none of %1")
                         .arg(sslModes.join(QStringLiteral(", ")));
        return false;
    }
    static const QRegularExpression seconds(QStringLiteral("^[0-9]{1,6}$"));
    if (name == TimeoutParameter && !seconds.match(value).hasMatch()) {
        *error = QStringLiteral("the parameter 'connect_timeout' of the PostgreSQL URL is not a number of seconds");
        return false;
    }
    if (name == HostParameter)
        url->host = value;   // over one before the path, as libpq takes it
    else
        url->parameters.append({ name.toString(), value });
    return true;
}

// After "postgresql:". Nothing of the text is repeated in an error but the
// names of parameters: a password may stand anywhere in a URL typed wrong.
std::optional<DatabaseUrl> parsePostgreSql(QStringView rest, QString *error)
{
    if (!rest.startsWith(QLatin1String("//")))
        return refuse(error, QStringLiteral("the PostgreSQL URL needs \"//\" after \"postgresql:\" (%1)").arg(PostgreSqlForm));
    rest = rest.mid(2);
    DatabaseUrl url;
    url.kind = DatabaseUrl::Kind::PostgreSql;

    // The user and host end at the first '/' or '?'; those in a user name or
    // password are written %2F and %3F.
    qsizetype authorityEnd = rest.size();
    for (const QChar end : { QLatin1Char('/'), QLatin1Char('?') }) {
        const qsizetype at = rest.indexOf(end);
        if (at >= 0)
            authorityEnd = qMin(authorityEnd, at);
    }
    const QStringView authority = rest.left(authorityEnd);
    const QStringView after = rest.mid(authorityEnd);
    const qsizetype at = authority.lastIndexOf(QLatin1Char('@'));
    if (at >= 0) {
        const QStringView userInfo = authority.left(at);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        url.user = decoded(userInfo.left(colon < 0 ? userInfo.size() : colon));
        if (colon >= 0)
            url.password = decoded(userInfo.mid(colon + 1));
    }
    if (!splitHostAndPort(authority.mid(at + 1), &url, error))
        return std::nullopt;

    const qsizetype question = after.indexOf(QLatin1Char('?'));
    const QStringView path = after.left(question < 0 ? after.size() : question);
    const QStringView query = question < 0 ? QStringView() : after.mid(question + 1);
    url.databaseName = decoded(path.mid(1));
    if (path.mid(1).contains(QLatin1Char('/')) || path.mid(1).contains(QLatin1Char('@')))
        return refuse(error, QStringLiteral("the database name of the PostgreSQL URL holds a '/' or an '@' (in a user "
                                            "name or password they are written %2F and %40)"));
    QStringList seen;
    for (const QStringView parameter : query.split(QLatin1Char('&'), Qt::SkipEmptyParts))
        if (!takeParameter(parameter, &url, &seen, error))
            return std::nullopt;
    // A service entry may name the database itself.
    if (url.databaseName.isEmpty() && url.parameter(ServiceParameter).isNull())
        return refuse(error, QStringLiteral("the PostgreSQL URL names no database (%1)").arg(PostgreSqlForm));
    return url;
}

// A plain path that is a URL typed wrong ("postgresql//line:pw@db/x"): taken
// for a file, it would be made, and shown with its password in every message.
std::optional<QString> urlTypedWrong(const QString &text)
{
    static const QRegularExpression schemeWithoutColon(QStringLiteral("^(postgres(?:ql)?|sqlite)/"),
                                                       QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = schemeWithoutColon.match(text);
    if (match.hasMatch())
        return QStringLiteral("the database URL lacks the ':' after \"%1\" (%1:...)").arg(match.captured(1));
    if (text.contains(QLatin1String("://")))
        return QStringLiteral("the database URL has an unknown scheme before its \"://\" (known: a file path, "
                              "sqlite:PATH, postgresql://...)");
    return std::nullopt;
}

} // namespace

QString DatabaseUrl::parameter(const QString &name) const
{
    for (const auto &[key, value] : parameters)
        if (key == name)
            return value;
    return QString();
}

QString DatabaseUrl::connectOptions() const
{
    // The driver joins them into libpq's connection string, "name='value'",
    // with a backslash before a quote or a backslash in the value.
    QStringList options;
    for (const auto &[name, value] : parameters)
        options << QStringLiteral("%1='%2'").arg(name, QString(value)
                                                               .replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                                                               .replace(QLatin1Char('\''), QStringLiteral("\\'")));
    return options.join(QLatin1Char(';'));
}

QString DatabaseUrl::display() const
{
    if (kind == Kind::Sqlite)
        return QStringLiteral("sqlite:") + path;
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + (password.isEmpty() ? QString() : QStringLiteral(":***")) + QLatin1Char('@');
    const bool socket = host.startsWith(QLatin1Char('/'));
    if (!socket)
        text += host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    if (port > 0)
        text += QLatin1Char(':') + QString::number(port);
    text += QLatin1Char('/') + databaseName;
    QStringList shown;
    if (socket)
        shown << HostParameter + QLatin1Char('=') + host;
    for (const auto &[name, value] : parameters)
        shown << name + QLatin1Char('=') + value;
    if (!shown.isEmpty())
        text += QLatin1Char('?') + shown.join(QLatin1Char('&'));
    return text;
}

std::optional<DatabaseUrl> parseDatabaseUrl(const QString &text, QString *error)
{
    if (text.isEmpty())
        return refuse(error, QStringLiteral("the database URL is empty"));
    if (text.front().isSpace())
        return refuse(error, QStringLiteral("the database URL begins with a blank"));
    if (text.back().isSpace())
        return refuse(error, QStringLiteral("the database URL ends with a blank"));
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control)
            return refuse(error, QStringLiteral("the database URL holds a control character"));
    // A scheme is a word and a colon at the start; a path with a colon of its
    // own is given as sqlite:PATH or ./PATH.
    static const QRegularExpression scheme(QStringLiteral("^([A-Za-z][A-Za-z0-9+.-]*):"));
    const QRegularExpressionMatch match = scheme.match(text);
    if (!match.hasMatch()) {
        if (const std::optional<QString> wrong = urlTypedWrong(text))
            return refuse(error, *wrong);
        DatabaseUrl url;
        url.path = text;
        return url;
    }
    const QString name = match.captured(1).toLower();
    if (name == QLatin1String("sqlite")) {
        DatabaseUrl url;
        url.path = text.mid(match.capturedLength());
        if (url.path.isEmpty())
            return refuse(error, QStringLiteral("sqlite: names no file"));
        return url;
    }
    if (name == QLatin1String("postgresql") || name == QLatin1String("postgres"))
        return parsePostgreSql(QStringView(text).mid(match.capturedLength()), error);
    return refuse(error, QStringLiteral("unknown database scheme '%1:' (known: a file path, sqlite:PATH, "
                                        "postgresql://...)").arg(match.captured(1)));
}
