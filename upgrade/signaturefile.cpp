#include "upgrade/signaturefile.h"

#include <QIODevice>
#include <QList>
#include <QtGlobal>

#include <optional>

using namespace signaturefile;

namespace {

constexpr char UntrustedPrefix[] = "untrusted comment: ";
constexpr char TrustedPrefix[] = "trusted comment: ";
constexpr int AlgorithmSize = 2;
// Of the first two lines, before their line breaks: what minisign reads.
constexpr int MaxUntrustedLine = 1022;
constexpr int MaxSignatureLine = 101;

SignatureFile refuse(SignatureFile::Result result, const char *problem)
{
    SignatureFile file;
    file.result = result;
    file.problem = problem;
    return file;
}

// minisign's base64: whole groups of four, '=' only at the end. The bits a
// last group does not use may be anything, as minisign takes them.
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
// line cut short, more, other characters or a group left open a line that
// is not one of ours.
SignatureFile::Result decode(const QByteArray &line, int size, QByteArray *bytes)
{
    if (!isBase64(line))
        return SignatureFile::Result::Malformed;
    *bytes = QByteArray::fromBase64(line);
    if (bytes->size() < size)
        return SignatureFile::Result::Truncated;
    return bytes->size() == size && line.size() % 4 == 0 ? SignatureFile::Result::Ok : SignatureFile::Result::Malformed;
}

// The first four lines as minisign reads them: each of the first three ends
// in a line break, the fourth at a line break, a NUL byte or the end; a
// line's text ends at its first carriage return, and whatever follows the
// fourth line is not read. Nothing when the data ends before four lines.
std::optional<QList<QByteArray>> firstFourLines(const QByteArray &data, QList<QByteArray> *whole)
{
    QList<QByteArray> lines;
    qsizetype from = 0;
    for (int i = 0; i < 4; ++i) {
        qsizetype end = data.indexOf('\n', from);
        if (end < 0 && (i < 3 || from == data.size()))
            return std::nullopt;
        if (end < 0)
            end = data.size();
        QByteArray line = data.mid(from, end - from);
        whole->append(line);
        if (i == 3 && line.contains('\0'))
            line.truncate(line.indexOf('\0'));
        if (line.contains('\r'))
            line.truncate(line.indexOf('\r'));
        lines << line;
        from = end + 1;
    }
    return lines;
}

// minisign reads the first two lines into buffers of fixed size and a line
// longer than its buffer, or with a NUL byte in it, is not one to minisign.
const char *unreadable(const QList<QByteArray> &whole)
{
    for (int i = 0; i < 3; ++i)
        if (whole.at(i).contains('\0'))
            return QT_TRANSLATE_NOOP("ReleaseSignature", "a line holds a NUL byte");
    if (whole.at(0).size() > MaxUntrustedLine)
        return QT_TRANSLATE_NOOP("ReleaseSignature", "the untrusted comment is longer than 1022 bytes");
    if (whole.at(1).size() > MaxSignatureLine)
        return QT_TRANSLATE_NOOP("ReleaseSignature", "the signature line is longer than 101 bytes");
    return nullptr;
}

} // namespace

SignatureFile readSignatureFile(QIODevice &device)
{
    const QByteArray text = device.read(MaxSize + 1);
    if (text.size() > MaxSize)
        return refuse(SignatureFile::Result::TooLarge, nullptr);

    QList<QByteArray> whole;
    const std::optional<QList<QByteArray>> read = firstFourLines(text, &whole);
    if (!read)
        return refuse(SignatureFile::Result::Truncated, QT_TRANSLATE_NOOP("ReleaseSignature", "fewer than four lines"));
    if (const char *problem = unreadable(whole))
        return refuse(SignatureFile::Result::Malformed, problem);
    const QList<QByteArray> &lines = *read;
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
