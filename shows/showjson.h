#ifndef SHOWJSON_H
#define SHOWJSON_H

#include <QByteArray>
#include <QString>

#include <optional>

class QIODevice;

// The programs and scenes tables as JSON, a second form of the same bytes
// that people can read, review and merge, and scripts can write:
//
//   {"format": "vn274-programs", "version": 1, "programs": [{"steps": [record x 20]} x 8]}
//   {"format": "vn274-scenes", "version": 1, "scenes": [record x 8]}
//
// and each record, on a line of its own so that a change of one lamp is a
// change of one line:
//
//   {"xfade": 50, "scene_time_ms": 400, "end_marker": 0, "lamps": ["#FF0000", ... 12], "reserved": "000000"}
//
// The fields are those the window shows ("XFade", "Scene Time" in ms, "End
// Marker") and hold their whole bytes, so any table comes back byte for byte:
// end_marker is the byte (the window shows anything but 0 as 1), reserved the
// three bytes no field names, as six hexadecimal digits.
namespace Shows {

enum class ShowKind { Programs, Scenes };

// Files larger than this are refused before they are parsed; the JSON of a
// programs table is about 40 KB.
constexpr qint64 MaxJsonBytes = 1024 * 1024;

// The table (ProgramTableSize or SceneTableSize bytes) as the JSON text above,
// keys always in the same order, UTF-8, ending in a new line.
QByteArray showToJson(ShowKind kind, const QByteArray &table);

// What reading a JSON show found.
struct JsonShow
{
    bool ok = false;
    ShowKind kind = ShowKind::Programs;
    QByteArray table;   // the whole table, when ok
    QString problem;    // otherwise where and why, in the language installed:
                        // "programs[2].steps[5].lamps[3]: "#12345" is not a colour #RRGGBB",
                        // "broken JSON at line 4, column 17: ..."
};

// Reads a JSON show from the device's current position; `expected` refuses
// the other kind, none takes either. Nothing in the text is trusted: every
// key (none missing, unknown or given twice), type, count and value is
// checked, and at most MaxJsonBytes are read.
JsonShow readShowJson(QIODevice &device, std::optional<ShowKind> expected);
JsonShow readShowJson(const QString &fileName, std::optional<ShowKind> expected);

// Writes the JSON text of the table; the file is replaced only when all of it
// was written. False with the system's reason otherwise.
bool saveShowJson(const QString &fileName, ShowKind kind, const QByteArray &table, QString *reason);

// A name ending in ".json", in any case.
bool isJsonFileName(const QString &fileName);
// Whether to read the file as JSON: its name ends in ".json", or it begins
// with "{" (a programs or scenes file begins with a zero byte).
bool isJsonShowFile(const QString &fileName);

} // namespace Shows

#endif // SHOWJSON_H
