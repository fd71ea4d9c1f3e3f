#ifndef POSTGRESSERVER_H
#define POSTGRESSERVER_H

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A PostgreSQL server of Debian's postgresql package, for the tests alone:
// initdb and pg_ctl from its binary folder make a cluster in a temporary
// folder and start it listening on a Unix socket there. As root it runs as
// the unprivileged user nobody, who owns the folder (the server refuses
// root). The socket asks for the password, which the tests give as
// PostgreSQL's users do, in PGPASSWORD. The destructor stops it.
//
// It also listens as a server across a network would: on 127.0.0.1 at a free
// port, with TLS only (hostssl, scram-sha-256 in pg_hba.conf). Its
// certificate is for localhost, signed by a certificate authority that
// openssl makes in the folder (caFile()); another one signed nothing
// (otherCaFile()). setTls(false) takes TLS away at the next restart.
class PostgresServer
{
public:
    PostgresServer() = default;
    ~PostgresServer();
    PostgresServer(const PostgresServer &) = delete;
    PostgresServer &operator=(const PostgresServer &) = delete;

    // False, with the reason in *why, where no server can be started here.
    bool start(QString *why);
    bool stop();      // at once, as a server that dies
    bool restart();
    bool running() const { return started; }

    // postgresql://vn274@:<port>/postgres?host=<the folder> (the socket is named
    // by the port), without the password
    QString url() const;
    QString folderPath() const { return folder.path(); }
    int tcpPort() const { return port; }
    QString caFile() const;
    QString otherCaFile() const;
    void setTls(bool on) { tls = on; }
    static constexpr const char *Password = "vn274 test";

    // Runs a program as the user the server runs as: nobody when root.
    static int runAsServerUser(const QString &program, const QStringList &args, QString *output);

private:
    bool pgCtl(const QStringList &args, QString *output);
    bool makeCertificates(QString *why);

    QTemporaryDir folder;
    QString binaries;
    bool started = false;
    int port = 0;
    bool tls = true;
};

#endif // POSTGRESSERVER_H
