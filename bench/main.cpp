// vn274-bench: the speed figures of the tool, one a line, "name: value unit".
// With arguments, runs only the measurements named.
#include "benchmark.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

struct Measurement
{
    const char *name;
    void (*run)();
};

const Measurement measurements[] = {
    { "scrambling", measureScrambling },
    { "hex2bin", measureHexToBin },
    { "mkupg", measureUpgradeFileCreation },
    { "upgrade", measureUpgrade },
    { "upgradeall", measureConcurrentUpgrade },
    { "tool", measureToolHexToBin },
    { "mkboot", measureToolBootloaderBatch },
    { "verify", measureReleaseVerification },
    { "startup", measureStartup },
    { "editing", measureEditing },
    { "alldriversdialog", measureDialogEventLoop },
};

// The code under measurement writes debug lines (two per encodeTransfer call);
// printing them would be measured instead of the code.
void dropDebugOutput(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool wanted(const char *name, int argc, char **argv)
{
    if (argc < 2)
        return true;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], name) == 0)
            return true;
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(dropDebugOutput);
    for (const Measurement &m : measurements)
        if (wanted(m.name, argc, argv))
            m.run();
    return 0;
}
