// The release signature check of an upgrade file (262210 bytes) in-process,
// as every path that writes firmware runs it before anything else, beside
// minisign -V on the same file as a process. The file is signed by minisign
// with the project's test key, which this program pins.
#include "benchmark.h"
#include "firmwarehex.h"

#include "upgrade/releasesignature.h"
#include "upgrade/upgradefile.h"

#include <QFile>
#include <QStandardPaths>

namespace {

const char TestKeysDir[] = VN274_TEST_KEYS_DIR;

// The best time of the whole check, opening both files included.
double checkMilliseconds(const QString &file)
{
    if (checkReleaseSignature(file).verdict != SignatureVerdict::Verified)
        qFatal("the benchmark's release does not verify");
    return bench::bestSeconds([&] { checkReleaseSignature(file); }) * 1e3;
}

} // namespace

void measureReleaseVerification()
{
    const QString upg = bench::scratchPath("release.upg");
    const QString legacyUpg = bench::scratchPath("legacy.upg");
    const UpgradeImage built = buildUpgradeImage(bench::firmwareHexFile());
    if (!writeUpgradeFile(upg, built.image) || !QFile::copy(upg, legacyUpg)
        || QFile(upg).size() != upgradefile::FileSize)
        qFatal("cannot make the benchmark's upgrade file");
    if (!bench::signRelease(upg) || !bench::signRelease(legacyUpg, true))
        qFatal("minisign cannot sign the benchmark's release (Debian package minisign)");

    bench::report("verify_upg_ms", checkMilliseconds(upg), "ms");
    bench::report("verify_upg_legacy_ms", checkMilliseconds(legacyUpg), "ms");

    const QString minisign = QStandardPaths::findExecutable(QStringLiteral("minisign"));
    const QStringList args{ QStringLiteral("-V"), QStringLiteral("-q"), QStringLiteral("-p"),
                            QLatin1String(TestKeysDir) + QStringLiteral("/test.pub"), QStringLiteral("-m"), upg };
    if (bench::runProcess(minisign, args) != 0)
        qFatal("minisign -V does not verify the benchmark's release");
    bench::report("minisign_verify_process_ms", bench::bestSeconds([&] { bench::runProcess(minisign, args); }) * 1e3,
                  "ms");
}
