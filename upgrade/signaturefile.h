#ifndef SIGNATUREFILE_H
#define SIGNATUREFILE_H

#include <QByteArray>

class QIODevice;

// A release signature as minisign writes it beside a file (FILE.minisig):
// four lines,
//     untrusted comment: <anything>
//     <base64 of: algorithm (2 bytes), key id (8), signature (64)>
//     trusted comment: <text>
//     <base64 of: the global signature (64) over signature || text>
// The algorithm is "ED" (the signature is over the file's BLAKE2b-512 hash,
// minisign's default) or "Ed" (over the file itself, minisign -l). Read as
// minisign -V reads it: line ends of CR LF, and anything after the fourth
// line (the blank line an editor or a mail program adds), are taken; what
// minisign refuses is refused.
namespace signaturefile {

// A real one is a few hundred bytes; anything longer is not read.
inline constexpr int MaxSize = 4096;
inline constexpr int KeyIdSize = 8;
inline constexpr int SignatureSize = 64;

} // namespace signaturefile

struct SignatureFile
{
    enum class Result { Ok, TooLarge, Truncated, Malformed };
    Result result = Result::Malformed;
    // What is wrong with a Truncated or Malformed one, a short English text
    // marked for translation in the context "ReleaseSignature".
    const char *problem = nullptr;

    QByteArray algorithm;         // "ED" or "Ed"
    QByteArray keyId;             // 8 bytes as stored
    QByteArray signature;         // 64 bytes
    QByteArray trustedComment;    // the fourth line's text after "trusted comment: "
    QByteArray globalSignature;   // 64 bytes

    bool prehashed() const { return algorithm == "ED"; }
};

// Reads at most MaxSize + 1 bytes of the device. The fields are filled only
// with Ok.
SignatureFile readSignatureFile(QIODevice &device);

#endif // SIGNATUREFILE_H
