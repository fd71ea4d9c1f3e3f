#ifndef TOOL_OUTPUTS_H
#define TOOL_OUTPUTS_H

#include "tool/console.h"

// The files a command of vn274-tool writes, as io/outputfile.h writes them,
// with the command's words when it cannot.
namespace tool {

// An output that is one of the command's inputs is refused before anything is
// read or written: writing it would destroy what is to be read. Returns
// ExitBadInput (said) or ExitSuccess.
int refuseInputAsOutput(Console &console, const QString &output, const QStringList &inputs);

// Writes the file's whole content; when it cannot, says "cannot write OUTPUT:
// the system's reason" and returns ExitBadInput.
int writeOutput(Console &console, const QString &output, const QByteArray &bytes);

} // namespace tool

#endif // TOOL_OUTPUTS_H
