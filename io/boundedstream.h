#ifndef BOUNDEDSTREAM_H
#define BOUNDEDSTREAM_H

#include <QByteArray>
#include <QDataStream>
#include <QString>

// Reading the QDataStream values of a file a user hands the program (upgrade,
// programs and scenes files) without trusting its length fields. QDataStream's
// own >> operators keep reading as long as a length field says, so a file that
// claims a 4 GiB value costs 4 GiB before anything can be compared. Here each
// 32-bit length is read first and checked against what the format allows, and
// only then is the value read: memory stays bounded whatever the file holds.
//
// The values are those the >> operators read from a stream of 32-bit lengths
// (every Qt 6 stream version before 6.7, and any value below 4 GiB after):
// a QString is its byte count and then UTF-16 in the stream's byte order, a
// QByteArray its byte count and then the bytes; 0xFFFFFFFF stands for a null
// value. On a failure the stream's status says ReadPastEnd (the data ended) or
// ReadCorruptData (a length the format does not allow).
namespace boundedstream {

inline constexpr quint32 NullLength = 0xFFFFFFFF;

// The 32-bit length in front of the next QString or QByteArray.
bool readLength(QDataStream &in, quint32 *length);

// A QString of at most maxBytes bytes, as >> would read it. A longer one is
// refused before its characters are read.
bool readText(QDataStream &in, quint32 maxBytes, QString *text);

// The next `count` bytes of the stream, as they stand.
bool readBytes(QDataStream &in, quint32 count, QByteArray *bytes);

// Passes over the next `count` bytes without keeping them; false when the
// stream holds fewer.
bool skipBytes(QDataStream &in, quint64 count);

} // namespace boundedstream

#endif // BOUNDEDSTREAM_H
