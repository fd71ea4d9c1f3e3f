#ifndef RECORDLOCATION_H
#define RECORDLOCATION_H

#include "production/recorddatabase.h"

#include <QString>

#include <memory>

// Where a program finds the production record when no command line names one:
// the URL in the environment variable VN274_DB, else the file
// production-record.sqlite in the data folder of the tool whose record the
// program keeps (~/.local/share/vn274-tool/ for vn274-tool).

// The default file of the tool named toolName.
QString defaultRecordPath(const QString &toolName);

// The record VN274_DB names, else the tool's default file (its folder made
// first). Null, with the reason in *problem, when it cannot be used.
std::unique_ptr<RecordDatabase> openDefaultRecord(const QString &toolName, QString *problem);

#endif // RECORDLOCATION_H
