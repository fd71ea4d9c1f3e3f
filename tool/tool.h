#ifndef TOOL_H
#define TOOL_H

#include <QStringList>
#include <QTextStream>

// vn274-tool: the production line's and the firmware team's tasks from the
// command line. Runs the subcommand named by args (the program name left out),
// writes to out and err and returns the exit status: 0 success, 1 a failure of
// the driver or of a check, 2 bad usage or bad input. `terminal` tells that
// standard output is a terminal, where progress bars may redraw their line.
int runTool(const QStringList &args, QTextStream &out, QTextStream &err, bool terminal = false);

#endif // TOOL_H
