#ifndef STEPARRANGEMENT_H
#define STEPARRANGEMENT_H

#include <QByteArray>

// Rearranging a row of records: a program's 20 steps or the 8 scenes. Each
// function takes the row's bytes and gives the new row, of the same length;
// indices are 0-based. A record that falls off the end is gone; one that comes
// in at the end is empty (all zero: lamps, XFade, Scene Time, end marker and
// reserved bytes).
namespace Shows {

// The record at from takes place to; those between shift one place toward from.
QByteArray movedRecord(const QByteArray &row, int from, int to);
// A copy of the record at from goes in at to; from there on the records shift
// one place on and the last falls off.
QByteArray copiedRecord(const QByteArray &row, int from, int to);
// An empty record goes in at index; the last falls off.
QByteArray withEmptyRecord(const QByteArray &row, int index);
// The record at index goes; the later ones shift up and an empty one ends the row.
QByteArray withoutRecord(const QByteArray &row, int index);

bool isEmptyRecord(const QByteArray &row, int index);

} // namespace Shows

#endif // STEPARRANGEMENT_H
