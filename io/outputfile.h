#ifndef OUTPUTFILE_H
#define OUTPUTFILE_H

#include <QByteArray>
#include <QString>

// The files the program writes for a user (images, upgrade files, shows), by
// what stands at the name:
//  - nothing, or a regular file: the bytes go into a new file beside it,
//    which is synced and renamed over the name, so an existing file stays as
//    it was unless the whole new one was written; it keeps its permissions;
//  - anything else (a device such as /dev/null, a FIFO, a terminal): the
//    bytes are written into it, and it stays what it is. Renaming a file
//    over /dev/null would replace the system's device.
// Names are the system's bytes (io/filenames.h), and every failure comes with
// the system's reason ("Permission denied", "No space left on device").
// QSaveFile does the same atomic save, but it can name no file that is not
// valid UTF-8, reports a full disk as "Unknown error", and renames over
// whatever stands at the name.
namespace outputfile {

// Writes `bytes` as the file's whole content; false, with the system's
// reason in *reason, when it cannot.
bool write(const QString &fileName, const QByteArray &bytes, QString *reason = nullptr);

// Whether the two names reach one existing file (the same device and inode,
// through links, other spellings or hard links): an output that is its own
// input would be lost before it is read.
bool isSameFile(const QString &first, const QString &second);

// Whether new files can be made in the folder now: it is a folder this user
// may write, or it is missing and the nearest folder above it is one (so it
// can be made). False, with the system's reason, after the part at fault
// when that is not the folder itself.
bool canMakeFilesIn(const QString &folder, QString *reason);

// Writes all of `size` bytes to an open descriptor, trying again where the
// system took fewer; false, with the errno value in *error, when it fails.
bool writeAll(int descriptor, const char *data, qint64 size, int *error);

} // namespace outputfile

#endif // OUTPUTFILE_H
