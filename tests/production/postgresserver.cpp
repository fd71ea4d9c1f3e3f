#include "postgresserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// The newest of /usr/lib/postgresql/<version>/bin.
QString serverBinaries()
{
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(), [](const QString &a, const QString &b) { return a.toInt() < b.toInt(); });
    for (auto version = found.crbegin(); version != found.crend(); ++version) {
        const QString bin = versions.filePath(*version + QStringLiteral("/bin"));
        if (QFileInfo(bin + QStringLiteral("/initdb")).isExecutable() && QFileInfo(bin + QStringLiteral("/pg_ctl")).isExecutable())
            return bin;
    }
    return QString();
}

bool asRoot()
{
    return geteuid() == 0;
}

// A TCP port of 127.0.0.1 that nothing listens on now.
int freePort()
{
    const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (probe >= 0 && ::bind(probe, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0
        && ::getsockname(probe, reinterpret_cast<sockaddr *>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (probe >= 0)
        ::close(probe);
    return port;
}

// Stations reach the server over TLS only, with their password; the tests'
// administration goes through the socket.
const char hostBasedAuthentication[] = "local all all scram-sha-256\n"
                                       "hostssl all all 127.0.0.1/32 scram-sha-256\n";

} // namespace

int PostgresServer::runAsServerUser(const QString &program, const QStringList &args, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    if (asRoot())
        process.start(QStringLiteral("runuser"), QStringList{ QStringLiteral("-u"), QStringLiteral("nobody"),
                                                              QStringLiteral("--"), program } + args);
    else
        process.start(program, args);
    const bool finished = process.waitForFinished(120000);
    if (output)
        *output = QString::fromLocal8Bit(process.readAll());
    if (!finished || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

PostgresServer::~PostgresServer()
{
    if (started)
        stop();
}

bool PostgresServer::start(QString *why)
{
    binaries = serverBinaries();
    if (binaries.isEmpty()) {
        *why = QStringLiteral("no PostgreSQL server here (Debian: postgresql, scripts/install-deps.sh)");
        return false;
    }
    if (!folder.isValid()) {
        *why = QStringLiteral("no temporary folder for the server");
        return false;
    }
    if (asRoot() && QProcess::execute(QStringLiteral("chown"), { QStringLiteral("nobody"), folder.path() }) != 0) {
        *why = QStringLiteral("cannot give the server's folder to the user nobody");
        return false;
    }
    QString output;
    QFile passwordFile(folder.filePath(QStringLiteral("password")));
    if (!passwordFile.open(QIODevice::WriteOnly) || passwordFile.write(Password) < 0 || !passwordFile.flush()) {
        *why = QStringLiteral("cannot write the server's password file");
        return false;
    }
    passwordFile.close();
    // No fsync: the cluster lives as long as the test.
    if (runAsServerUser(binaries + QStringLiteral("/initdb"),
                        { QStringLiteral("-D"), folder.filePath(QStringLiteral("data")), QStringLiteral("-U"),
                          QStringLiteral("vn274"), QStringLiteral("--auth=scram-sha-256"),
                          QStringLiteral("--pwfile=") + passwordFile.fileName(), QStringLiteral("-E"),
                          QStringLiteral("UTF8"), QStringLiteral("--no-sync") },
                        &output) != 0) {
        *why = QStringLiteral("initdb failed: %1").arg(output);
        return false;
    }
    port = freePort();
    QFile hba(folder.filePath(QStringLiteral("data/pg_hba.conf")));
    if (port == 0 || !makeCertificates(why) || !hba.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || hba.write(hostBasedAuthentication) < 0 || !hba.flush()) {
        if (why->isEmpty())
            *why = QStringLiteral("no free port or no pg_hba.conf for the server");
        return false;
    }
    hba.close();
    if (!restart()) {
        *why = QStringLiteral("the server did not start: %1").arg(QString::fromLocal8Bit([&] {
            QFile log(folder.filePath(QStringLiteral("server.log")));
            return log.open(QIODevice::ReadOnly) ? log.readAll() : QByteArray();
        }()));
        return false;
    }
    return true;
}

bool PostgresServer::pgCtl(const QStringList &args, QString *output)
{
    return runAsServerUser(binaries + QStringLiteral("/pg_ctl"),
                           QStringList{ QStringLiteral("-D"), folder.filePath(QStringLiteral("data")) } + args, output) == 0;
}

// The certificate authority, the server's key and its certificate for
// localhost, and another authority; made by the server's user, who must own
// the key.
bool PostgresServer::makeCertificates(QString *why)
{
    const QString tlsFolder = folder.filePath(QStringLiteral("tls"));
    QFile extensions(folder.filePath(QStringLiteral("server.ext")));
    if (!extensions.open(QIODevice::WriteOnly) || extensions.write("subjectAltName=DNS:localhost\n") < 0
        || !extensions.flush()) {
        *why = QStringLiteral("cannot write the certificate's extensions");
        return false;
    }
    extensions.close();
    const QString key = QStringLiteral("-newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 2");
    const QStringList steps = {
        QStringLiteral("mkdir -m 700 tls"),
        QStringLiteral("openssl req -x509 %1 -keyout tls/ca.key -out tls/ca.crt -subj /CN=vn274-test-ca").arg(key),
        QStringLiteral("openssl req -x509 %1 -keyout tls/other-ca.key -out tls/other-ca.crt -subj /CN=vn274-other-ca")
                .arg(key),
        QStringLiteral("openssl req %1 -keyout tls/server.key -out tls/server.csr -subj /CN=localhost").arg(key),
        QStringLiteral("openssl x509 -req -in tls/server.csr -CA tls/ca.crt -CAkey tls/ca.key -CAcreateserial"
                       " -days 2 -extfile server.ext -out tls/server.crt"),
        QStringLiteral("chmod 600 tls/server.key"),
        // The clients read the authorities' certificates.
        QStringLiteral("chmod 755 tls"),
        QStringLiteral("chmod 644 tls/ca.crt tls/other-ca.crt"),
    };
    for (const QString &step : steps) {
        QString output;
        if (runAsServerUser(QStringLiteral("sh"), { QStringLiteral("-c"),
                                                    QStringLiteral("cd '%1' && %2").arg(folder.path(), step) },
                            &output)
            != 0) {
            *why = QStringLiteral("%1 failed: %2").arg(step, output);
            return false;
        }
    }
    return QFileInfo::exists(tlsFolder + QStringLiteral("/server.crt"));
}

QString PostgresServer::caFile() const
{
    return folder.filePath(QStringLiteral("tls/ca.crt"));
}

QString PostgresServer::otherCaFile() const
{
    return folder.filePath(QStringLiteral("tls/other-ca.crt"));
}

bool PostgresServer::restart()
{
    QString options = QStringLiteral("-k %1 -c listen_addresses=127.0.0.1 -p %2 -c fsync=off")
                              .arg(folder.path())
                              .arg(port);
    if (tls)
        options += QStringLiteral(" -c ssl=on -c ssl_cert_file=%1/tls/server.crt -c ssl_key_file=%1/tls/server.key")
                           .arg(folder.path());
    QString output;
    started = pgCtl({ QStringLiteral("-l"), folder.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                      QStringLiteral("-o"), options, QStringLiteral("start") },
                    &output);
    return started;
}

bool PostgresServer::stop()
{
    QString output;
    const bool stopped = pgCtl({ QStringLiteral("-w"), QStringLiteral("-m"), QStringLiteral("immediate"),
                                 QStringLiteral("stop") },
                               &output);
    started = started && !stopped;
    return stopped;
}

QString PostgresServer::url() const
{
    return QStringLiteral("postgresql://vn274@:%1/postgres?host=%2").arg(port).arg(folder.path());
}
