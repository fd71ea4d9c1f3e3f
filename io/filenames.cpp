#include "io/filenames.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace filenames {

namespace {

constexpr char16_t EscapeBase = 0xDC00;   // U+DC80-U+DCFF stand for the bytes 0x80-0xFF

// The length of the valid UTF-8 sequence at `at`, 0 when its first byte
// begins none (overlong forms, surrogates and values past U+10FFFF included).
int sequenceLength(const unsigned char *at, const unsigned char *end)
{
    const unsigned char lead = at[0];
    if (lead < 0x80)
        return 1;
    int length = 0;
    unsigned char low = 0x80, high = 0xBF;   // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (end - at < length || at[1] < low || at[1] > high)
        return 0;
    for (int i = 2; i < length; ++i)
        if (at[i] < 0x80 || at[i] > 0xBF)
            return 0;
    return length;
}

bool isEscape(char16_t c)
{
    return c >= EscapeBase + 0x80 && c <= EscapeBase + 0xFF;
}

} // namespace

QString fromBytes(const QByteArray &bytes)
{
    const auto *begin = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = begin + bytes.size();
    QString name;
    const unsigned char *run = begin;   // valid UTF-8 not decoded yet
    for (const unsigned char *at = begin; at < end;) {
        const int length = sequenceLength(at, end);
        if (length > 0) {
            at += length;
            continue;
        }
        name += QString::fromUtf8(reinterpret_cast<const char *>(run), at - run);
        name += QChar(char16_t(EscapeBase + *at));
        run = ++at;
    }
    return name + QString::fromUtf8(reinterpret_cast<const char *>(run), end - run);
}

QByteArray toBytes(const QString &name)
{
    QByteArray bytes;
    qsizetype run = 0;   // characters not encoded yet
    for (qsizetype i = 0; i < name.size(); ++i) {
        const char16_t c = name.at(i).unicode();
        // The second half of a surrogate pair is never an escape.
        if (!isEscape(c) || (i > 0 && name.at(i - 1).isHighSurrogate()))
            continue;
        bytes += QStringView(name).mid(run, i - run).toUtf8();
        bytes += char(c - EscapeBase);
        run = i + 1;
    }
    return bytes + QStringView(name).mid(run).toUtf8();
}

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

bool exists(const QString &name)
{
    struct stat status;
    return ::stat(toBytes(name).constData(), &status) == 0;
}

bool remove(const QString &name, QString *reason)
{
    if (::unlink(toBytes(name).constData()) == 0)
        return true;
    if (reason)
        *reason = systemReason(errno);
    return false;
}

bool makePath(const QString &folder, QString *reason)
{
    const QByteArray path = toBytes(folder);
    // Each parent in turn, then the folder itself, as mkdir -p does.
    for (qsizetype slash = path.indexOf('/', 1); ; slash = path.indexOf('/', slash + 1)) {
        const QByteArray part = slash < 0 ? path : path.left(slash);
        int error = 0;
        if (!part.isEmpty() && ::mkdir(part.constData(), 0777) != 0) {
            error = errno;
            struct stat status;
            if (error == EEXIST)   // fine when it is a folder
                error = ::stat(part.constData(), &status) != 0 ? errno : S_ISDIR(status.st_mode) ? 0 : ENOTDIR;
        }
        if (error != 0) {
            if (reason)
                *reason = QStringLiteral("%1: %2").arg(fromBytes(part), systemReason(error));
            return false;
        }
        if (slash < 0)
            return true;
    }
}

} // namespace filenames

bool InputFile::open(OpenMode mode)
{
    if (mode != ReadOnly) {
        setErrorString(QStringLiteral("only reading"));
        return false;
    }
    const int descriptor = ::open(filenames::toBytes(name).constData(), O_RDONLY | O_CLOEXEC);
    // A folder opens, and fails only at the first read.
    struct stat status;
    const int error = descriptor < 0 ? errno
                      : ::fstat(descriptor, &status) != 0 ? errno
                      : S_ISDIR(status.st_mode) ? EISDIR : 0;
    if (error != 0) {
        if (descriptor >= 0)
            ::close(descriptor);
        setErrorString(filenames::systemReason(error));
        return false;
    }
    return QFile::open(descriptor, mode, AutoCloseHandle);
}
