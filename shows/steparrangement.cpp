#include "shows/steparrangement.h"

#include "shows/showtables.h"

namespace Shows {

namespace {

QByteArray recordOf(const QByteArray &row, int index)
{
    return row.mid(qsizetype(index) * RecordSize, RecordSize);
}

QByteArray emptyRecord()
{
    return QByteArray(RecordSize, '\0');
}

// The row with record inserted at index, the last record dropped.
QByteArray insertedDroppingLast(const QByteArray &row, int index, const QByteArray &record)
{
    QByteArray result = row;
    result.insert(qsizetype(index) * RecordSize, record);
    result.chop(RecordSize);
    return result;
}

} // namespace

QByteArray movedRecord(const QByteArray &row, int from, int to)
{
    const QByteArray moving = recordOf(row, from);
    QByteArray result = row;
    result.remove(qsizetype(from) * RecordSize, RecordSize);
    result.insert(qsizetype(to) * RecordSize, moving);
    return result;
}

QByteArray copiedRecord(const QByteArray &row, int from, int to)
{
    return insertedDroppingLast(row, to, recordOf(row, from));
}

QByteArray withEmptyRecord(const QByteArray &row, int index)
{
    return insertedDroppingLast(row, index, emptyRecord());
}

QByteArray withoutRecord(const QByteArray &row, int index)
{
    QByteArray result = row;
    result.remove(qsizetype(index) * RecordSize, RecordSize);
    result.append(emptyRecord());
    return result;
}

bool isEmptyRecord(const QByteArray &row, int index)
{
    return recordOf(row, index) == emptyRecord();
}

} // namespace Shows
