#include "upgrade/signedupgrade.h"

#include "io/filenames.h"

#include <QBuffer>
#include <QCoreApplication>

namespace {

SignatureCheck refused(SignatureVerdict verdict, const QString &message)
{
    SignatureCheck check;
    check.verdict = verdict;
    check.message = message;
    return check;
}

bool signatureFileRefused(SignatureVerdict verdict)
{
    switch (verdict) {
    case SignatureVerdict::NoSignature:
    case SignatureVerdict::CannotRead:
    case SignatureVerdict::TooLarge:
    case SignatureVerdict::Truncated:
    case SignatureVerdict::Malformed:
    case SignatureVerdict::OtherKey:
        return true;
    default:
        return false;
    }
}

} // namespace

SignedUpgradeFile readSignedUpgradeFile(const QString &fileName)
{
    return readSignedUpgradeFile(fileName, pinnedReleaseKeys());
}

SignedUpgradeFile readSignedUpgradeFile(const QString &fileName, const ReleaseKeys &keys)
{
    SignedUpgradeFile signedFile;
    InputFile file(fileName);
    if (!file.open() || keys.isEmpty()) {
        // Nothing to check: NotChecked, and the reader's own CannotOpen says
        // what a failed opening is.
        signedFile.signature = checkReleaseSignature(file, signatureFileName(fileName), ReleaseKeys());
        if (file.isOpen())
            signedFile.content = readUpgradeFile(file);
        return signedFile;
    }

    // Read once, into the one buffer both the check and the reader use: the
    // bytes that reach the driver are the bytes checked, even when the file
    // is written over in place meanwhile. An upgrade file has one size, so
    // the buffer is bounded.
    QByteArray bytes = file.read(upgradefile::FileSize + 1);
    if (file.error() != QFileDevice::NoError) {
        signedFile.signature = refused(SignatureVerdict::CannotRead,
                                       QCoreApplication::translate("ReleaseSignature",
                                                                   "Release signature refused: %1 cannot be read: %2")
                                               .arg(fileName, file.errorString()));
        return signedFile;
    }
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    signedFile.signature = checkReleaseSignature(buffer, signatureFileName(fileName), keys);
    // What the signature file itself says (none, malformed, another key)
    // comes first; past it, a file larger than an upgrade file is refused for
    // that, whatever its beginning verified to.
    if (bytes.size() > upgradefile::FileSize && !signatureFileRefused(signedFile.signature.verdict)) {
        const QString signer = signedFile.signature.keyId;
        signedFile.signature = refused(SignatureVerdict::FileTooLarge,
                                       QCoreApplication::translate("ReleaseSignature",
                                                                   "Release signature refused: %1 is larger than an upgrade file")
                                               .arg(fileName));
        signedFile.signature.keyId = signer;
        return signedFile;
    }
    if (signedFile.signature.accepted() && buffer.seek(0))
        signedFile.content = readUpgradeFile(buffer);
    return signedFile;
}
