#include "upgrade/releasesignature.h"

#include "io/filenames.h"
#include "upgrade/pinnedreleasekey.h"
#include "upgrade/signaturefile.h"
#include "upgrade/upgradefile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <algorithm>

#include <sodium.h>

namespace {

constexpr int PublicKeyLineBytes = 2 + signaturefile::KeyIdSize + crypto_sign_PUBLICKEYBYTES;
constexpr int HashBytes = crypto_generichash_BYTES_MAX;   // BLAKE2b-512, as minisign hashes
constexpr qint64 ChunkBytes = 64 * 1024;

// The context of the messages' translations.
class ReleaseSignature
{
    Q_DECLARE_TR_FUNCTIONS(ReleaseSignature)
};

SignatureCheck verdict(SignatureVerdict verdict, const QString &message)
{
    SignatureCheck check;
    check.verdict = verdict;
    check.message = message;
    return check;
}

bool verify(const QByteArray &signature, const unsigned char *message, qint64 length, const ReleaseKey &key)
{
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char *>(signature.constData()), message,
                                       quint64(length),
                                       reinterpret_cast<const unsigned char *>(key.publicKey.constData()))
           == 0;
}

// The file from its start, hashed as it is read: BLAKE2b-512, minisign's "ED".
std::optional<QByteArray> hashOf(QIODevice &file)
{
    crypto_generichash_state state;
    crypto_generichash_init(&state, nullptr, 0, HashBytes);
    QByteArray chunk(ChunkBytes, '\0');
    for (;;) {
        const qint64 got = file.read(chunk.data(), ChunkBytes);
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        crypto_generichash_update(&state, reinterpret_cast<const unsigned char *>(chunk.constData()), quint64(got));
    }
    QByteArray hash(HashBytes, '\0');
    crypto_generichash_final(&state, reinterpret_cast<unsigned char *>(hash.data()), HashBytes);
    return hash;
}

// minisign's two kinds of file signature; nothing when it verifies. The
// legacy "Ed" is plain Ed25519 over the message itself, which needs the whole
// message at once (no streaming form exists for it): the file is read whole,
// and only up to the size of an upgrade file.
std::optional<SignatureCheck> fileSignatureRefusal(QIODevice &file, const SignatureFile &signature,
                                                   const ReleaseKey &key)
{
    bool verified = false;
    if (signature.prehashed()) {
        const std::optional<QByteArray> hash = hashOf(file);
        if (!hash)
            return verdict(SignatureVerdict::CannotRead, ReleaseSignature::tr("Release signature refused: the file cannot be read"));
        verified = verify(signature.signature, reinterpret_cast<const unsigned char *>(hash->constData()),
                          hash->size(), key);
    } else {
        const QByteArray whole = file.read(upgradefile::FileSize + 1);
        if (whole.size() > upgradefile::FileSize)
            return verdict(SignatureVerdict::FileTooLarge,
                           ReleaseSignature::tr("Release signature refused: a legacy signature (Ed) over a file larger than an "
                              "upgrade file"));
        verified = verify(signature.signature, reinterpret_cast<const unsigned char *>(whole.constData()),
                          whole.size(), key);
    }
    if (verified)
        return std::nullopt;
    return verdict(SignatureVerdict::FileChanged,
                   ReleaseSignature::tr("Release signature refused: it does not match the file (the file or its signature was "
                      "changed)"));
}

// The signature file beside the file, read bounded.
std::optional<SignatureFile> readSignature(const QString &signatureFile, SignatureCheck *refusal)
{
    InputFile file(signatureFile);
    if (!filenames::exists(signatureFile)) {
        *refusal = verdict(SignatureVerdict::NoSignature,
                           ReleaseSignature::tr("Release signature refused: no signature file %1 beside the file").arg(signatureFile));
        return std::nullopt;
    }
    if (!file.open()) {
        *refusal = verdict(SignatureVerdict::CannotRead, ReleaseSignature::tr("Release signature refused: %1 cannot be read: %2")
                                                                 .arg(signatureFile, file.errorString()));
        return std::nullopt;
    }
    const SignatureFile read = readSignatureFile(file);
    switch (read.result) {
    case SignatureFile::Result::Ok:
        return read;
    case SignatureFile::Result::TooLarge:
        *refusal = verdict(SignatureVerdict::TooLarge,
                           ReleaseSignature::tr("Release signature refused: %1 is too large for a signature file (more than %2 bytes)")
                                   .arg(signatureFile)
                                   .arg(signaturefile::MaxSize));
        break;
    case SignatureFile::Result::Truncated:
        *refusal = verdict(SignatureVerdict::Truncated, ReleaseSignature::tr("Release signature refused: %1 is truncated (%2)")
                                                                .arg(signatureFile, ReleaseSignature::tr(read.problem)));
        break;
    case SignatureFile::Result::Malformed:
        *refusal = verdict(SignatureVerdict::Malformed, ReleaseSignature::tr("Release signature refused: %1 is malformed (%2)")
                                                                .arg(signatureFile, ReleaseSignature::tr(read.problem)));
        break;
    }
    return std::nullopt;
}

} // namespace

std::optional<ReleaseKey> ReleaseKey::fromBase64(const QByteArray &line)
{
    const QByteArray::FromBase64Result decoded =
            QByteArray::fromBase64Encoding(line.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.size() != PublicKeyLineBytes || !decoded.decoded.startsWith("Ed"))
        return std::nullopt;
    ReleaseKey key;
    key.keyId = decoded.decoded.mid(2, signaturefile::KeyIdSize);
    key.publicKey = decoded.decoded.mid(2 + signaturefile::KeyIdSize);
    return key;
}

QString keyIdText(const QByteArray &keyId)
{
    QByteArray reversed(keyId);
    std::reverse(reversed.begin(), reversed.end());
    return QString::fromLatin1(reversed.toHex().toUpper());
}

ReleaseKeys pinnedReleaseKeys()
{
    // The build checked the keys' form; a key that still does not decode
    // would refuse every file rather than take any.
    ReleaseKeys keys;
    const QList<QByteArray> lines = QByteArray(pinnedReleaseKeyText).split('\n');
    for (const QByteArray &line : lines) {
        if (line.isEmpty())
            continue;
        const std::optional<ReleaseKey> key = ReleaseKey::fromBase64(line);
        keys.append(key ? *key : ReleaseKey{ QByteArray(signaturefile::KeyIdSize, '\0'), QByteArray() });
    }
    return keys;
}

QString releaseKeyDescription(const ReleaseKeys &keys)
{
    if (keys.isEmpty())
        return QStringLiteral("release signatures: not checked");
    QStringList ids;
    for (const ReleaseKey &key : keys)
        ids << keyIdText(key.keyId);
    return (keys.size() == 1 ? QStringLiteral("release key: ") : QStringLiteral("release keys: "))
            + ids.join(QStringLiteral(", "));
}

QString releaseCheckNotice(const ReleaseKeys &keys)
{
    return keys.isEmpty() ? ReleaseSignature::tr("Release signatures are not checked by this build") : QString();
}

const char *signatureVerdictName(SignatureVerdict verdict)
{
    switch (verdict) {
    case SignatureVerdict::Verified:       return "verified";
    case SignatureVerdict::NotChecked:     return "not checked";
    case SignatureVerdict::NoSignature:    return "no signature";
    case SignatureVerdict::CannotRead:     return "cannot read";
    case SignatureVerdict::TooLarge:       return "signature file too large";
    case SignatureVerdict::Truncated:      return "signature file truncated";
    case SignatureVerdict::Malformed:      return "signature file malformed";
    case SignatureVerdict::OtherKey:       return "other key";
    case SignatureVerdict::FileChanged:    return "file changed";
    case SignatureVerdict::CommentChanged: return "trusted comment changed";
    case SignatureVerdict::FileTooLarge:   return "file too large";
    }
    return "unknown";
}

QString signatureFileName(const QString &fileName)
{
    return fileName + QStringLiteral(".minisig");
}

SignatureCheck checkReleaseSignature(QIODevice &file, const QString &signatureFile, const ReleaseKeys &keys)
{
    if (keys.isEmpty())
        return verdict(SignatureVerdict::NotChecked, releaseCheckNotice(keys));
    if (sodium_init() < 0)
        return verdict(SignatureVerdict::CannotRead, ReleaseSignature::tr("Release signature refused: libsodium cannot start"));

    SignatureCheck refusal;
    const std::optional<SignatureFile> signature = readSignature(signatureFile, &refusal);
    if (!signature)
        return refusal;
    const QString signer = keyIdText(signature->keyId);
    auto withKey = [&signer](SignatureCheck check) {
        check.keyId = signer;
        return check;
    };
    // The key ids tell which of the pinned keys made it (the build refuses
    // two keys of one id).
    const auto key = std::find_if(keys.cbegin(), keys.cend(),
                                  [&](const ReleaseKey &pinned) { return pinned.keyId == signature->keyId; });
    if (key == keys.cend()) {
        QStringList pinned;
        for (const ReleaseKey &each : keys)
            pinned << keyIdText(each.keyId);
        const QString message =
                keys.size() == 1
                        ? ReleaseSignature::tr("Release signature refused: signed by another key (%1), not by the release key %2")
                        : ReleaseSignature::tr("Release signature refused: signed by another key (%1), not by one of the release keys %2");
        return withKey(verdict(SignatureVerdict::OtherKey, message.arg(signer, pinned.join(QStringLiteral(", ")))));
    }

    if (const std::optional<SignatureCheck> refused = fileSignatureRefusal(file, *signature, *key))
        return withKey(*refused);

    // The trusted comment is signed together with the file's signature.
    const QByteArray signedComment = signature->signature + signature->trustedComment;
    if (!verify(signature->globalSignature, reinterpret_cast<const unsigned char *>(signedComment.constData()),
                signedComment.size(), *key))
        return withKey(verdict(SignatureVerdict::CommentChanged,
                               ReleaseSignature::tr("Release signature refused: the trusted comment or its signature was changed")));

    SignatureCheck check = withKey(verdict(SignatureVerdict::Verified, QString()));
    check.trustedComment = QString::fromUtf8(signature->trustedComment);
    check.message = ReleaseSignature::tr("Signed release: %1 (release key %2)").arg(check.trustedComment, signer);
    return check;
}

SignatureCheck checkReleaseSignature(const QString &fileName)
{
    const ReleaseKeys keys = pinnedReleaseKeys();
    InputFile file(fileName);
    if (!keys.isEmpty() && !file.open())
        return verdict(SignatureVerdict::CannotRead,
                       ReleaseSignature::tr("Release signature refused: %1 cannot be read: %2").arg(fileName, file.errorString()));
    return checkReleaseSignature(file, signatureFileName(fileName), keys);
}
