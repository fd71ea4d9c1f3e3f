#include "benchmark.h"

#include "firmwarehex.h"

#include "upgrade/releasesignature.h"
#include "upgrade/upgradefile.h"

#include <QElapsedTimer>
#include <QStandardPaths>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <fcntl.h>
#include <limits>
#include <spawn.h>
#include <sys/wait.h>
#include <vector>

extern char **environ;

namespace bench {

bool signRelease(const QString &file, bool legacy)
{
    const QString minisign = QStandardPaths::findExecutable(QStringLiteral("minisign"));
    QStringList args{ QStringLiteral("-S"), QStringLiteral("-s"), QStringLiteral(VN274_TEST_KEYS_DIR "/test.key"),
                      QStringLiteral("-m"), file, QStringLiteral("-x"), signatureFileName(file),
                      QStringLiteral("-t"), QStringLiteral("Vn274 bench release") };
    if (legacy)
        args << QStringLiteral("-l");
    return !minisign.isEmpty() && runProcess(minisign, args) == 0;
}

int runProcess(const QString &program, const QStringList &args)
{
    std::vector<QByteArray> strings { QFile::encodeName(program) };
    for (const QString &arg : args)
        strings.push_back(QFile::encodeName(arg));
    std::vector<char *> argv;
    for (QByteArray &s : strings)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}


void report(const char *name, double value, const char *unit)
{
    std::printf("%s: %.3g %s\n", name, value, unit);
    std::fflush(stdout);
}

double bestSeconds(const std::function<void()> &work, double minSeconds, int minRuns)
{
    double best = std::numeric_limits<double>::max();
    double total = 0;
    QElapsedTimer timer;
    for (int run = 0; run < minRuns || total < minSeconds; ++run) {
        timer.start();
        work();
        const double seconds = double(timer.nsecsElapsed()) * 1e-9;
        total += seconds;
        if (seconds < best)
            best = seconds;
    }
    return best;
}

QString scratchPath(const QString &name)
{
    static QTemporaryDir dir;
    return dir.filePath(name);
}

QString signedSampleRelease()
{
    const QString upg = scratchPath("upgrade.upg");
    const UpgradeImage built = buildUpgradeImage(firmwareHexFile());
    if (!writeUpgradeFile(upg, built.image) || !signRelease(upg))
        qFatal("cannot make the benchmark's signed upgrade file (minisign: Debian package minisign)");
    return upg;
}

} // namespace bench
