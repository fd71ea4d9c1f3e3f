#include "upgrade/signedupgrade.h"

#include <QCoreApplication>
#include <QFile>

SignedUpgradeFile readSignedUpgradeFile(const QString &fileName)
{
    return readSignedUpgradeFile(fileName, pinnedReleaseKey());
}

SignedUpgradeFile readSignedUpgradeFile(const QString &fileName, const std::optional<ReleaseKey> &key)
{
    SignedUpgradeFile signedFile;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        // Nothing to check: the reader's own CannotOpen says it.
        signedFile.signature = checkReleaseSignature(file, signatureFileName(fileName), std::nullopt);
        return signedFile;
    }
    signedFile.signature = checkReleaseSignature(file, signatureFileName(fileName), key);
    if (!signedFile.signature.accepted() || !file.seek(0))
        return signedFile;
    signedFile.content = readUpgradeFile(file);
    return signedFile;
}
