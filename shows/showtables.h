#ifndef SHOWTABLES_H
#define SHOWTABLES_H

#include <QByteArray>
#include <QtEndian>

// One scene of a light show as the driver plays it: the colours of the twelve
// lamps, the cross-fade, the hold time and, inside a program, the end marker.
// The same 48 bytes in memory, in the driver's external flash (scrambled) and
// in programs and scenes files; integers are little-endian.
struct SceneRecord
{
    quint8 lampRgb[36];     // lamp 0 first: red, green, blue
    qint32_le riseTime;     // "XFade", percent
    qint32_le staticTime;   // "Scene Time", ms
    quint8 endMarker;       // 0 or 1; programs only
    quint8 reserved[3];     // never set by the editors, carried unchanged
};
static_assert(sizeof(SceneRecord) == 48, "a scene record is 48 bytes");

namespace Shows {

constexpr int LampsPerScene = 12;
constexpr int RecordSize = int(sizeof(SceneRecord));
constexpr int ProgramCount = 8;
constexpr int StepsPerProgram = 20;
constexpr int SceneCount = 8;

// The programs: 8 programs of 20 steps, program-major. The scenes: 8 records.
constexpr int ProgramTableSize = ProgramCount * StepsPerProgram * RecordSize;   // 7680
constexpr int SceneTableSize = SceneCount * RecordSize;                         // 384

// Where the driver keeps them in its external flash, each block scrambled on its own.
constexpr quint32 SceneTableAddress = 0x14000;
constexpr quint32 ProgramTableAddress = 0x14180;

// Byte offset of a record in its table; all numbers 0-based.
constexpr int programRecordOffset(int program, int step)
{
    return (program * StepsPerProgram + step) * RecordSize;
}
constexpr int sceneRecordOffset(int scene)
{
    return scene * RecordSize;
}

// Copies of one record out of and into a table (offset from above).
SceneRecord recordAt(const QByteArray &table, int offset);
void setRecordAt(QByteArray &table, int offset, const SceneRecord &record);

} // namespace Shows

#endif // SHOWTABLES_H
