#include "io/filenames.h"
#include "tool/standardstream.h"
#include "tool/tool.h"

#include <QCoreApplication>
#include <QLoggingCategory>

#include <csignal>
#include <unistd.h>

#ifdef VN274_TOOL_SIM
#include "simulator/udevfront.h"
#include "tool/commands.h"
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
    // The station hears of drivers coming and going (their restarts) on the
    // simulated buses, never of real ones.
    tool::setDriverWatchStart([](DriverWatcher &watcher) {
        (new sim::UdevFront(&watcher))->start();
        return true;
    });
#endif
    // A reader that went away is a write error like any other, said and
    // ending with status 2: not a signal that cuts a firmware change short.
    std::signal(SIGPIPE, SIG_IGN);

    // The arguments as the system's bytes: arguments() would make U+FFFD of a
    // file name that is not UTF-8, and that file could not be opened.
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << filenames::fromBytes(QByteArray(argv[i]));
    StandardStream standardOutput(STDOUT_FILENO);
    StandardStream standardError(STDERR_FILENO);
    QTextStream out(&standardOutput);
    QTextStream err(&standardError);
    return runTool(args, out, err, isatty(STDOUT_FILENO) == 1);
}
