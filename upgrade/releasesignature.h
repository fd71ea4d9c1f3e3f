#ifndef RELEASESIGNATURE_H
#define RELEASESIGNATURE_H

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

class QIODevice;

// Release signatures: the maker signs each upgrade file with minisign
// (minisign -S -s maker.key -m release.upg -t "Vn274 firmware 2.1"), which
// writes release.upg.minisig beside it. A build pinned to the maker's public
// keys (VN274_RELEASE_KEY_FILE) writes firmware only from files whose
// signature, trusted comment included, verifies against one of them.

// A minisign public key.
struct ReleaseKey
{
    QByteArray keyId;       // 8 bytes as minisign stores them
    QByteArray publicKey;   // 32 bytes, Ed25519

    // The base64 line of a public key file ("RW..."): "Ed", key id, key.
    static std::optional<ReleaseKey> fromBase64(const QByteArray &line);
};

// The keys a build pins: up to four, so that a maker who rotates its key
// signs with the new one while drivers in the field still take the old one's
// releases. None in a build without keys.
using ReleaseKeys = QList<ReleaseKey>;

// A key id as minisign shows it: 16 upper-case hex digits of the 8 bytes read
// as a little-endian number ("53BE7B6EA04F19A8").
QString keyIdText(const QByteArray &keyId);

// The keys this build pins, none in a build without them.
ReleaseKeys pinnedReleaseKeys();
// "release key: 53BE7B6EA04F19A8", "release keys: 53BE7B6EA04F19A8,
// 1F2E3D4C5B6A7988", or "release signatures: not checked" in a build without
// a key: the line vn274-tool --version and info show.
QString releaseKeyDescription(const ReleaseKeys &keys = pinnedReleaseKeys());
// "Release signatures are not checked by this build" (translated) in a build
// without keys, said before each firmware change; empty in one with keys.
QString releaseCheckNotice(const ReleaseKeys &keys = pinnedReleaseKeys());

enum class SignatureVerdict {
    Verified,        // a good signature by the key, trusted comment included
    NotChecked,      // a build without a release key: every file passes, as before
    NoSignature,     // no FILE.minisig beside the file
    CannotRead,      // the file or its signature could not be read
    TooLarge,        // a signature file longer than any real one
    Truncated,       // a signature file cut short
    Malformed,       // a signature file of another form
    OtherKey,        // signed by another key
    FileChanged,     // the signature does not match the file: it or the signature was changed
    CommentChanged,  // the trusted comment or its signature was changed
    FileTooLarge     // more than an upgrade file's size: under a legacy signature (Ed), or to be written
};

// What the check of a release's signature found, by value.
struct SignatureCheck
{
    SignatureVerdict verdict = SignatureVerdict::NotChecked;
    QString message;          // for the user, translated (context "ReleaseSignature")
    QString trustedComment;   // of a verified signature only
    QString keyId;            // the signature's key id, 16 hex digits, once its file was read

    bool accepted() const
    {
        return verdict == SignatureVerdict::Verified || verdict == SignatureVerdict::NotChecked;
    }
};

// A short English name of a verdict, for logs and JSON ("verified", "other key").
const char *signatureVerdictName(SignatureVerdict verdict);

// The signature file beside a file: FILE.minisig.
QString signatureFileName(const QString &fileName);

// Checks the file read from `file` (open, read from its start, streamed)
// against the signature in signatureFile with the one of `keys` that made it;
// without keys, NotChecked at once. The signature file is read bounded.
SignatureCheck checkReleaseSignature(QIODevice &file, const QString &signatureFile, const ReleaseKeys &keys);
// The same for a named file and its FILE.minisig, with the pinned keys.
SignatureCheck checkReleaseSignature(const QString &fileName);

#endif // RELEASESIGNATURE_H
