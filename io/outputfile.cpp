#include "io/outputfile.h"

#include "io/filenames.h"

#include <QRandomGenerator>

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace outputfile {

namespace {

// Keeps the errno value of the call that failed.
bool fail(int *error)
{
    *error = errno;
    return false;
}

// The folder part of a path, as dirname(1) gives it.
QByteArray folderOf(QByteArray path)
{
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    const qsizetype slash = path.lastIndexOf('/');
    if (slash < 0)
        return QByteArrayLiteral(".");
    return slash == 0 ? QByteArrayLiteral("/") : path.left(slash);
}

QByteArray leafOf(const QByteArray &path)
{
    return path.mid(path.lastIndexOf('/') + 1);
}

// Into a device or FIFO as it stands: opened for writing, never replaced.
bool writeInto(const QByteArray &path, const QByteArray &bytes, int *error)
{
    const int descriptor = ::open(path.constData(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (descriptor < 0)
        return fail(error);
    const bool written = writeAll(descriptor, bytes.constData(), bytes.size(), error);
    if (::close(descriptor) != 0 && written)
        return fail(error);
    return written;
}

// A new file beside the target, in the folder the rename needs: ".NAME.XXXXXX",
// with the target's permissions, or those a new file gets.
int createBeside(const QByteArray &target, const struct stat *existing, QByteArray *temporary)
{
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    const QByteArray stem = folderOf(target) + '/' + '.' + leafOf(target) + '.';
    const mode_t mode = existing ? existing->st_mode & 07777 : 0666;
    for (int attempt = 0; attempt < 100; ++attempt) {
        *temporary = stem;
        for (int i = 0; i < 6; ++i)
            *temporary += letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)];
        const int descriptor = ::open(temporary->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (descriptor >= 0) {
            // The umask took bits of the old file's permissions: give them back.
            if (existing && ::fchmod(descriptor, mode) != 0) {
                const int error = errno;
                ::close(descriptor);
                ::unlink(temporary->constData());
                errno = error;
                return -1;
            }
            return descriptor;
        }
        if (errno != EEXIST)
            return -1;
    }
    return -1;
}

// The atomic save: a whole new file renamed over the name, or nothing changed.
bool replace(const QByteArray &path, const QByteArray &bytes, int *error)
{
    // Through a link the file it names is replaced, and the link stays.
    QByteArray target = path;
    struct stat link, status;
    const bool existing = ::stat(path.constData(), &status) == 0;
    if (existing && ::lstat(path.constData(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char *resolved = ::realpath(path.constData(), nullptr);
        if (!resolved)
            return fail(error);
        target = resolved;
        std::free(resolved);
    }
    // A file the user may not write is not replaced behind its back.
    if (existing && ::access(target.constData(), W_OK) != 0)
        return fail(error);

    QByteArray temporary;
    const int descriptor = createBeside(target, existing ? &status : nullptr, &temporary);
    if (descriptor < 0)
        return fail(error);
    bool done = writeAll(descriptor, bytes.constData(), bytes.size(), error);
    if (done && ::fdatasync(descriptor) != 0)
        done = fail(error);
    if (::close(descriptor) != 0 && done)
        done = fail(error);
    if (done && ::rename(temporary.constData(), target.constData()) != 0)
        done = fail(error);
    if (!done)
        ::unlink(temporary.constData());
    return done;
}

} // namespace

bool write(const QString &fileName, const QByteArray &bytes, QString *reason)
{
    const QByteArray path = filenames::toBytes(fileName);
    int error = 0;
    struct stat status;
    const bool written = ::stat(path.constData(), &status) == 0 && !S_ISREG(status.st_mode)
            ? writeInto(path, bytes, &error)
            : replace(path, bytes, &error);
    if (!written && reason)
        *reason = filenames::systemReason(error);
    return written;
}

bool isSameFile(const QString &first, const QString &second)
{
    struct stat a, b;
    return ::stat(filenames::toBytes(first).constData(), &a) == 0
            && ::stat(filenames::toBytes(second).constData(), &b) == 0
            && a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

bool canMakeFilesIn(const QString &folder, QString *reason)
{
    const QByteArray asked = filenames::toBytes(folder);
    QByteArray path = asked;
    int error = 0;
    for (;;) {
        struct stat status;
        const QByteArray parent = folderOf(path);
        if (::stat(path.constData(), &status) != 0) {
            error = errno;
            // A missing folder is made later, and a file above it is named as
            // such: what counts is the part where the path stops.
            if ((error == ENOENT || error == ENOTDIR) && parent != path) {
                path = parent;
                continue;
            }
        } else if (!S_ISDIR(status.st_mode)) {
            error = ENOTDIR;
        } else if (::access(path.constData(), W_OK | X_OK) != 0) {
            error = errno;
        } else {
            return true;
        }
        *reason = path == asked ? filenames::systemReason(error)
                                : QStringLiteral("%1: %2").arg(filenames::fromBytes(path), filenames::systemReason(error));
        return false;
    }
}

bool writeAll(int descriptor, const char *data, qint64 size, int *error)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size_t(size));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            *error = errno;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

} // namespace outputfile
