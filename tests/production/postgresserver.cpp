#include "postgresserver.h"

#include <QDir>
#include <QFile>
#include <QProcess>

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

bool PostgresServer::restart()
{
    QString output;
    started = pgCtl({ QStringLiteral("-l"), folder.filePath(QStringLiteral("server.log")), QStringLiteral("-w"),
                      QStringLiteral("-o"),
                      QStringLiteral("-k %1 -c listen_addresses='' -c fsync=off").arg(folder.path()),
                      QStringLiteral("start") },
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
    return QStringLiteral("postgresql://vn274@/postgres?host=%1").arg(folder.path());
}
