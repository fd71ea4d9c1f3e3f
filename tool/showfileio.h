#ifndef TOOL_SHOWFILEIO_H
#define TOOL_SHOWFILEIO_H

#include "shows/showjson.h"
#include "tool/console.h"

#include <QByteArray>

// Programs and scenes files as the subcommands read and write them, in their
// binary form (.pgm, .scn) or as JSON. Each returns ExitSuccess or the status
// to end with, the problem said on the console.
namespace tool {

// "programs" or "scenes"
QString showKindName(Shows::ShowKind kind);

// The whole table from a file of either form: JSON when its name ends in
// ".json" or it begins with "{", the binary form of this kind otherwise.
int readShowFile(Shows::ShowKind kind, const QString &fileName, Console &console, QByteArray *table);
// A binary file of either kind: the kind is told by its header.
int readBinaryShowFile(const QString &fileName, Console &console, Shows::ShowKind *kind, QByteArray *table);

int writeBinaryShowFile(Shows::ShowKind kind, const QString &fileName, const QByteArray &table, Console &console);
int writeJsonShowFile(Shows::ShowKind kind, const QString &fileName, const QByteArray &table, Console &console);

} // namespace tool

#endif // TOOL_SHOWFILEIO_H
