// Reading the firmware build's HEX output and making upgrade files of it.
#include "benchmark.h"
#include "firmwarehex.h"

#include "upgrade/hextobin.h"
#include "upgrade/upgradefile.h"

#include <QFileInfo>

#include <cstdlib>
#include <vector>

void measureHexToBin()
{
    const QString hex = bench::firmwareHexFile();
    std::vector<unsigned char> image(256 * 1024);
    int result = 0;
    const double seconds = bench::bestSeconds([&] {
        result = HexToBin(hex, image.data(), 0x08000000, 0x0803FFFF);
    });
    if (result != 0 || QByteArray(reinterpret_cast<char *>(image.data()), int(image.size())) != bench::firmwareBytes())
        qFatal("HexToBin read the benchmark's firmware wrongly (%d)", result);
    // Throughput over the HEX text read.
    bench::report("hex2bin_mb_per_s", double(QFileInfo(hex).size()) / seconds / 1e6, "MB/s");
}

void measureUpgradeFileCreation()
{
    const QString hex = bench::firmwareHexFile();
    const QString upg = bench::scratchPath("firmware.upg");
    const double seconds = bench::bestSeconds([&] {
        const UpgradeImage built = buildUpgradeImage(hex);
        if (built.applicationResult != 0 || built.externalFlashResult != 0 || !writeUpgradeFile(upg, built.image))
            qFatal("cannot make the benchmark's upgrade file");
    }, 1.0);
    bench::report("mkupg_ms", seconds * 1e3, "ms");
}
