#include "tool/tool.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <cstdio>
#include <unistd.h>

#ifdef VN274_TOOL_SIM
#include "tool/simsetup.h"
#endif

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    // The library narrates every USB transfer on the debug output; the
    // environment's QT_LOGGING_RULES="default.debug=true" brings it back.
    QLoggingCategory::setFilterRules(QStringLiteral("default.debug=false"));
#ifdef VN274_TOOL_SIM
    setUpSimulatedDriver();
#endif
    QTextStream out(stdout);
    QTextStream err(stderr);
    return runTool(app.arguments().mid(1), out, err, isatty(STDOUT_FILENO) == 1);
}
