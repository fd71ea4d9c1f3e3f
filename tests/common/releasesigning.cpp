#include "common/releasesigning.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QtDebug>

#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace releasesigning {

namespace {

// minisign is started with posix_spawn, not QProcess: the thread tests sign
// their releases too, and a fork beside their other threads trips the thread
// sanitizer's runtime of clang 14 (a CHECK in its fork handling). Its exit
// status, -1 when it could not run; what it said in *output.
int runMinisign(const QStringList &arguments, QByteArray *output)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("minisign"));
    if (program.isEmpty()) {
        qWarning("minisign is not installed (Debian package minisign, scripts/install-deps.sh)");
        return -1;
    }
    QTemporaryFile said;
    if (!said.open())
        return -1;
    QList<QByteArray> words{ QFile::encodeName(program) };
    for (const QString &argument : arguments)
        words << QFile::encodeName(argument);
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // Never a passphrase: the keys are unencrypted.
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, said.handle(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, said.handle(), STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    const bool ran = spawned == 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status);
    *output = said.readAll();
    return ran ? WEXITSTATUS(status) : -1;
}

// minisign doing its part of a test: false, with its words in a warning, when
// it fails.
bool minisign(const QStringList &arguments)
{
    QByteArray output;
    if (runMinisign(arguments, &output) == 0)
        return true;
    qWarning() << "minisign" << arguments << "failed:" << output;
    return false;
}

} // namespace

QString testPublicKeyFile()
{
    return QStringLiteral(VN274_TEST_KEYS_DIR "/test.pub");
}

QString testSecretKeyFile()
{
    return QStringLiteral(VN274_TEST_KEYS_DIR "/test.key");
}

QString keyIdFromMinisign(const QString &publicKeyFile)
{
    QFile file(publicKeyFile);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // minisign prints the id as a number, so an id that begins with 0 comes
    // out shorter than its 16 digits.
    return QString::fromLatin1(file.readLine().trimmed())
        .section(QLatin1Char(' '), -1)
        .rightJustified(16, QLatin1Char('0'));
}

bool sign(const QString &fileName, const QString &trustedComment, const QString &secretKey, bool legacy)
{
    QStringList arguments{ QStringLiteral("-S"), QStringLiteral("-s"), secretKey, QStringLiteral("-m"), fileName,
                           QStringLiteral("-t"), trustedComment };
    if (legacy)
        arguments << QStringLiteral("-l");
    return minisign(arguments);
}

bool generateKeyPair(const QString &folder, const QString &name, QString *secretKey, QString *publicKey)
{
    *secretKey = folder + QLatin1Char('/') + name + QStringLiteral(".key");
    *publicKey = folder + QLatin1Char('/') + name + QStringLiteral(".pub");
    return minisign({ QStringLiteral("-G"), QStringLiteral("-W"), QStringLiteral("-f"), QStringLiteral("-s"),
                      *secretKey, QStringLiteral("-p"), *publicKey });
}

bool minisignVerifies(const QString &fileName, const QString &signatureFile, const QString &publicKey)
{
    QByteArray output;
    return runMinisign({ QStringLiteral("-V"), QStringLiteral("-q"), QStringLiteral("-p"), publicKey,
                         QStringLiteral("-m"), fileName, QStringLiteral("-x"), signatureFile },
                       &output)
           == 0;
}

} // namespace releasesigning
