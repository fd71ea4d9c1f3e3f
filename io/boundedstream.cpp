#include "io/boundedstream.h"

#include <QIODevice>
#include <QtEndian>

namespace boundedstream {

namespace {

bool fail(QDataStream &in, QDataStream::Status status)
{
    if (in.status() == QDataStream::Ok)
        in.setStatus(status);
    return false;
}

} // namespace

bool readLength(QDataStream &in, quint32 *length)
{
    if (in.status() != QDataStream::Ok)
        return false;
    in >> *length;
    return in.status() == QDataStream::Ok;
}

bool readText(QDataStream &in, quint32 maxBytes, QString *text)
{
    quint32 length = 0;
    if (!readLength(in, &length))
        return false;
    if (length == NullLength) {
        *text = QString();
        return true;
    }
    // UTF-16 has an even number of bytes.
    if (length > maxBytes || length % 2 != 0)
        return fail(in, QDataStream::ReadCorruptData);
    QByteArray utf16;
    if (!readBytes(in, length, &utf16))
        return false;
    QString decoded(qsizetype(length / 2), Qt::Uninitialized);
    const char *unit = utf16.constData();
    for (qsizetype i = 0; i < decoded.size(); ++i, unit += 2)
        decoded[i] = QChar(in.byteOrder() == QDataStream::BigEndian ? qFromBigEndian<quint16>(unit)
                                                                    : qFromLittleEndian<quint16>(unit));
    *text = decoded;
    return true;
}

bool readBytes(QDataStream &in, quint32 count, QByteArray *bytes)
{
    if (in.status() != QDataStream::Ok)
        return false;
    // The count is the caller's, checked against its format: it may be allocated.
    QByteArray read(qsizetype(count), Qt::Uninitialized);
    if (count > 0 && in.readRawData(read.data(), int(count)) != int(count))
        return fail(in, QDataStream::ReadPastEnd);
    *bytes = read;
    return true;
}

bool skipBytes(QDataStream &in, quint64 count)
{
    if (in.status() != QDataStream::Ok)
        return false;
    QIODevice *device = in.device();
    // A file seeks, a pipe reads through in chunks: no more memory either way.
    while (count > 0) {
        const qint64 skipped = device ? device->skip(qint64(qMin<quint64>(count, 1u << 30))) : -1;
        if (skipped <= 0)
            return fail(in, QDataStream::ReadPastEnd);
        count -= quint64(skipped);
    }
    return true;
}

} // namespace boundedstream
