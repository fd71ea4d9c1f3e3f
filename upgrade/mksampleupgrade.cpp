// vn274-mksampleupgrade HEX UPG: writes the sample firmware as an Intel HEX
// file and makes an upgrade file of it with the tool's own builder, for the
// demo program.
#include "upgrade/hextobin.h"
#include "upgrade/samplefirmware.h"
#include "upgrade/upgradefile.h"

#include <QCoreApplication>
#include <QFile>

#include <cstdio>

namespace {

// The builder narrates its scrambling on the debug output; a build log does
// not need it.
void dropDebugOutput(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type != QtDebugMsg && type != QtInfoMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    qInstallMessageHandler(dropDebugOutput);
    const QStringList args = app.arguments();
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: vn274-mksampleupgrade HEX UPG\n");
        return 2;
    }

    QFile hex(args.at(1));
    const QByteArray text = samplefirmware::hexFile();
    if (!hex.open(QIODevice::WriteOnly) || hex.write(text) != text.size() || !hex.flush()) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(args.at(1)), qPrintable(hex.errorString()));
        return 1;
    }
    hex.close();

    const UpgradeImage built = buildUpgradeImage(args.at(1));
    for (int result : { built.applicationResult, built.externalFlashResult }) {
        if (result != 0) {
            std::fprintf(stderr, "HexToBin error %d (%s)\n", result, hexToBinResultName(result));
            return 1;
        }
    }
    QString reason;
    if (!writeUpgradeFile(args.at(2), built.image, &reason)) {
        std::fprintf(stderr, "cannot write %s: %s\n", qPrintable(args.at(2)), qPrintable(reason));
        return 1;
    }
    return 0;
}
