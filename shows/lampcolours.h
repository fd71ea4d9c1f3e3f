#ifndef LAMPCOLOURS_H
#define LAMPCOLOURS_H

#include <QList>

struct SceneRecord;
class SuperRGB;

// The twelve lamp editors of a tab against the lamp bytes of one record.
namespace Shows {

// The editors' colours into the record's lamp bytes, lamp 0 first.
void takeLampColours(const QList<SuperRGB *> &lamps, SceneRecord &record);
// The record's lamp bytes into the editors (red, then green, then blue).
void showLampColours(const SceneRecord &record, const QList<SuperRGB *> &lamps);

} // namespace Shows

#endif // LAMPCOLOURS_H
