#include "tool/outputs.h"

#include "io/outputfile.h"

namespace tool {

int refuseInputAsOutput(Console &console, const QString &output, const QStringList &inputs)
{
    for (const QString &input : inputs)
        if (outputfile::isSameFile(output, input))
            return console.fail(ExitBadInput, QStringLiteral("%1 is the input %2: it would be written over before "
                                                             "it is read; nothing was written").arg(output, input));
    return ExitSuccess;
}

int writeOutput(Console &console, const QString &output, const QByteArray &bytes)
{
    QString reason;
    if (outputfile::write(output, bytes, &reason))
        return ExitSuccess;
    return console.fail(ExitBadInput, QStringLiteral("cannot write %1: %2").arg(output, reason));
}

} // namespace tool
