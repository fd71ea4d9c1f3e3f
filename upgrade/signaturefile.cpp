#include "upgrade/signaturefile.h"

#include <QIODevice>
#include <QList>
#include <QtGlobal>

using namespace signaturefile;

namespace {

constexpr char UntrustedPrefix[] = "untrusted comment: ";
constexpr char TrustedPrefix[] = "trusted comment: ";
constexpr int AlgorithmSize = 2;

SignatureFile refuse(SignatureFile::Result result, const char *problem)
{
    SignatureFile file;
    file.result = result;
    file.problem = problem;
    return file;
}

bool isBase64(const QByteArray &text)
{
    int padding = 0;
    for (char c : text) {
        const bool digit = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+'
                           || c == '/';
        if (c == '=')
            ++padding;
        else if (!digit || padding > 0)
            return false;
    }
    return padding <= 2;
}

// The bytes of a base64 line that must hold exactly `size` bytes: fewer is a
// line cut short, more or other characters a line that is not one of ours.
SignatureFile::Result decode(const QByteArray &line, int size, QByteArray *bytes)
{
    if (!isBase64(line))
        return SignatureFile::Result::Malformed;
    *bytes = QByteArray::fromBase64(line);
    if (bytes->size() < size)
        return SignatureFile::Result::Truncated;
    return bytes->size() == size ? SignatureFile::Result::Ok : SignatureFile::Result::Malformed;
}

} // namespace

SignatureFile readSignatureFile(QIODevice &device)
{
    const QByteArray text = device.read(MaxSize + 1);
    if (text.size() > MaxSize)
        return refuse(SignatureFile::Result::TooLarge, nullptr);

    QList<QByteArray> lines = text.split('\n');
    // A last line break (minisign writes one) leaves an empty piece behind it.
    if (!lines.isEmpty() && lines.constLast().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    if (lines.size() > 4)
        return refuse(SignatureFile::Result::Malformed, QT_TRANSLATE_NOOP("ReleaseSignature", "more than four lines"));
    if (lines.size() < 4)
        return refuse(SignatureFile::Result::Truncated, QT_TRANSLATE_NOOP("ReleaseSignature", "fewer than four lines"));
    if (!lines.at(0).startsWith(UntrustedPrefix))
        return refuse(SignatureFile::Result::Malformed,
                      QT_TRANSLATE_NOOP("ReleaseSignature", "the first line is not an untrusted comment"));
    if (!lines.at(2).startsWith(TrustedPrefix))
        return refuse(SignatureFile::Result::Malformed,
                      QT_TRANSLATE_NOOP("ReleaseSignature", "the third line is not a trusted comment"));

    SignatureFile file;
    QByteArray signatureLine;
    SignatureFile::Result result = decode(lines.at(1), AlgorithmSize + KeyIdSize + SignatureSize, &signatureLine);
    if (result != SignatureFile::Result::Ok)
        return refuse(result, QT_TRANSLATE_NOOP("ReleaseSignature", "the signature line is not 74 bytes in base64"));
    file.algorithm = signatureLine.left(AlgorithmSize);
    if (file.algorithm != "ED" && file.algorithm != "Ed")
        return refuse(SignatureFile::Result::Malformed,
                      QT_TRANSLATE_NOOP("ReleaseSignature", "the signature algorithm is neither ED nor Ed"));
    file.keyId = signatureLine.mid(AlgorithmSize, KeyIdSize);
    file.signature = signatureLine.mid(AlgorithmSize + KeyIdSize);

    result = decode(lines.at(3), SignatureSize, &file.globalSignature);
    if (result != SignatureFile::Result::Ok)
        return refuse(result, QT_TRANSLATE_NOOP("ReleaseSignature",
                                                "the comment signature line is not 64 bytes in base64"));
    file.trustedComment = lines.at(2).mid(int(qstrlen(TrustedPrefix)));
    file.result = SignatureFile::Result::Ok;
    return file;
}
