#ifndef TOOL_H
#define TOOL_H

#include <QStringList>
#include <QTextStream>

// vn274-tool: the production line's and the firmware team's tasks from the
// command line. Runs the subcommand named by args (the program name left out),
// writes to out and err and returns the exit status: 0 success, 1 a failure of
// the driver or of a check, 2 bad usage, bad input or a failed write to
// standard output, 130 interrupted. `terminal` tells that standard output is a
// terminal, where progress bars may redraw their line. File names in args are
// the system's bytes as io/filenames.h spells them.
int runTool(const QStringList &args, QTextStream &out, QTextStream &err, bool terminal = false);

#endif // TOOL_H
