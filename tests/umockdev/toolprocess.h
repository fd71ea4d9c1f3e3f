#ifndef TOOLPROCESS_H
#define TOOLPROCESS_H

#include <QString>
#include <QStringList>

#include <functional>

#include <sys/types.h>

class EmulatedBuses;

struct ToolRun
{
    bool finished = false;      // false: it did not start, crashed, or ran out of time and was killed
    int status = -1;
    QString out;
    QString err;
};

// The user a program runs as.
struct Account
{
    uid_t uid = 0;
    gid_t gid = 0;
};

// The running tool as `whileRunning` sees it: its standard output so far,
// and its process id, for signals.
struct RunningTool
{
    QString out;
    pid_t pid = 0;
};

// Runs the real vn274-tool (linked with the system's libusb) with these
// arguments, in the testbed's environment, as this user, and keeps the
// testbed in step with the simulated buses while it runs: `whileRunning`, when
// given, runs just before each step, so that it may plug drivers in or take
// them away under the running tool, or signal it. A run that takes longer
// than `timeoutMs` is killed. When it has ended, the handler has closed all
// the files it left open.
ToolRun runTool(EmulatedBuses &buses, const QStringList &arguments, Account as = Account(), int timeoutMs = 60000,
                const std::function<void(const RunningTool &tool)> &whileRunning = {});

#endif // TOOLPROCESS_H
