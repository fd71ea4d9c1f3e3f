#include "common/releasesigning.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QtDebug>

namespace releasesigning {

namespace {

bool minisign(const QStringList &arguments)
{
    const QString program = QStandardPaths::findExecutable(QStringLiteral("minisign"));
    if (program.isEmpty()) {
        qWarning("minisign is not installed (Debian package minisign, scripts/install-deps.sh)");
        return false;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    process.closeWriteChannel();   // never a passphrase: the keys are unencrypted
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning() << "minisign" << arguments << "failed:" << process.readAll();
        return false;
    }
    return true;
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

QString testKeyIdFromMinisign()
{
    QFile file(testPublicKeyFile());
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readLine().trimmed()).section(QLatin1Char(' '), -1);
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

} // namespace releasesigning
