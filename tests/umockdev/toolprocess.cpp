#include "toolprocess.h"

#include "emulatedbuses.h"
#include "usbfshandler.h"

#include <QEventLoop>
#include <QProcess>
#include <QTimer>

#include <grp.h>
#include <unistd.h>

namespace {

constexpr int SyncIntervalMs = 5;       // how soon the testbed follows a device leaving or coming
constexpr int ClosingMs = 1000;         // for umockdev to notice the program's last closes

} // namespace

ToolRun runTool(EmulatedBuses &buses, const QStringList &arguments, Account as, int timeoutMs,
                const std::function<void(const RunningTool &tool)> &whileRunning)
{
    buses.sync();
    buses.handler().setCaller(as.uid, as.gid);
    QProcess process;
    process.setProgram(QStringLiteral(VN274_TOOL_PROGRAM));
    process.setArguments(arguments);
    process.setProcessEnvironment(buses.environment());
    if (as.uid != 0) {
        process.setChildProcessModifier([as] {
            if (::setgroups(0, nullptr) != 0 || ::setgid(as.gid) != 0 || ::setuid(as.uid) != 0)
                ::_exit(126);
        });
    }

    QEventLoop loop;
    QByteArray out;
    QObject::connect(&process, &QProcess::readyReadStandardOutput, [&] { out += process.readAllStandardOutput(); });
    QTimer sync;
    QObject::connect(&sync, &QTimer::timeout, [&] {
        if (whileRunning)
            whileRunning(RunningTool{ QString::fromLocal8Bit(out), pid_t(process.processId()) });
        buses.sync();
    });
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &process, &QProcess::kill);
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    sync.start(SyncIntervalMs);
    deadline.start(timeoutMs);
    process.start();
    const bool started = process.waitForStarted();
    if (started)
        loop.exec();
    sync.stop();

    ToolRun run;
    run.finished = started && deadline.isActive() && process.exitStatus() == QProcess::NormalExit;
    run.status = process.exitCode();
    run.out = QString::fromLocal8Bit(out + process.readAllStandardOutput());
    run.err = QString::fromLocal8Bit(process.readAllStandardError());
    if (!deadline.isActive())
        run.err += QStringLiteral("\n[killed after %1 ms]").arg(timeoutMs);
    buses.handler().closeFinishedFiles(ClosingMs);
    return run;
}
