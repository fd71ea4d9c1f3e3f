#ifndef TOOL_RECORD_H
#define TOOL_RECORD_H

#include "production/recorddatabase.h"
#include "tool/console.h"

#include <memory>

// The production record as the commands of vn274-tool choose it: --db URL,
// else the environment's VN274_DB, else an SQLite file in the user's data
// folder. A record that was named must work, or the command stops before it
// makes anything: a line that asked for a record never makes a driver it does
// not record. The local file failing is only a warning.
namespace tool {

extern const QString DatabaseOption;   // "db"

// How to go on without the record.
enum class WithoutRecord {
    Refuse,   // the command needs one
    Warn      // the default local file may fail with a warning
};

struct OpenedRecord
{
    std::unique_ptr<RecordDatabase> database;   // null: none, go on without
    int status = ExitSuccess;                   // otherwise the command stops with it (said why)
    bool named = false;                         // --db or VN274_DB
};

OpenedRecord openRecord(const Arguments &args, Console &console, WithoutRecord without);

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
