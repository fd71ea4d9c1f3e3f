#ifndef TOOL_RECORD_H
#define TOOL_RECORD_H

#include "production/recorddatabase.h"
#include "tool/console.h"

#include <memory>

// The production record as the commands of vn274-tool choose it: --db URL,
// else the environment's VN274_DB, else an SQLite file in the user's data
// folder. A record that a command writes must work, or the command stops
// before it makes anything: a line never makes a driver or a serial number it
// does not record. Only the firmware change may go on without the local file,
// with a warning. The listing commands read a record that exists, and make none.
namespace tool {

extern const QString DatabaseOption;   // "db"

// What the command does with the record.
enum class RecordUse {
    Read,         // lists it: an existing record, opened for reading only
    Write,        // writes it: a record that cannot be used stops the command
    WriteOrWarn   // writes it, but the default local file may fail with a warning
};

struct OpenedRecord
{
    std::unique_ptr<RecordDatabase> database;   // null: none, go on without
    int status = ExitSuccess;                   // otherwise the command stops with it (said why)
    bool named = false;                         // --db or VN274_DB
};

// `instead` ends the message when the default local file fails for a
// command that needs it: what the user may do instead.
OpenedRecord openRecord(const Arguments &args, Console &console, RecordUse use, const QString &instead = QString());

// "vn274-tool COMMAND: warning: message" on standard error.
void warn(Console &console, const QString &message);

// How the listing commands print their rows.
enum class ListFormat { Text, Json, Csv };

// --json or --csv, at most one of them; false (usage shown) for both.
bool listFormat(const Arguments &args, Console &console, ListFormat *format);

// Rows of named columns: as aligned text under a header, as CSV with a header
// line, or as one JSON object {key: [{column: value}]}.
void printRows(Console &console, ListFormat format, const QString &key, const QStringList &columns,
               const QList<QVariantList> &rows);

} // namespace tool

#endif // TOOL_RECORD_H
