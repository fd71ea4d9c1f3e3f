// vn274-tool hex2bin beside the usual converters of Intel HEX to a raw image,
// each run as a whole process on the same 256 KiB firmware HEX file, so that
// the figures include starting the program as a build pipeline pays for it.
#include "benchmark.h"
#include "firmwarehex.h"

#include "upgrade/bootimage.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cstdio>

namespace {

struct Converter
{
    const char *name;
    const char *package;    // where to find it when it is missing
    QString program;        // empty: not installed
    QStringList args;       // writing the image to `output`
    QString output;
};

QByteArray fileBytes(const QString &fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

void measureToolHexToBin()
{
    const QString hex = bench::firmwareHexFile();
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/vn274-tool");
    Converter converters[] = {
        { "vn274_tool", "this build", QFileInfo(tool).isExecutable() ? tool : QString(),
          { "hex2bin", hex, "0x08000000", "0x0803FFFF", bench::scratchPath("tool.bin") }, bench::scratchPath("tool.bin") },
        { "objcopy", "binutils", QStandardPaths::findExecutable("objcopy"),
          { "-I", "ihex", "-O", "binary", hex, bench::scratchPath("objcopy.bin") }, bench::scratchPath("objcopy.bin") },
        { "srec_cat", "srecord", QStandardPaths::findExecutable("srec_cat"),
          { hex, "-Intel", "-offset", "-0x08000000", "-o", bench::scratchPath("srec_cat.bin"), "-Binary" },
          bench::scratchPath("srec_cat.bin") },
    };

    double toolSeconds = 0;
    for (Converter &converter : converters) {
        if (converter.program.isEmpty()) {
            std::printf("hex2bin_process_%s: skipped, not installed (%s)\n", converter.name, converter.package);
            continue;
        }
        // Each must make the same image, or the comparison means nothing.
        if (bench::runProcess(converter.program, converter.args) != 0 || fileBytes(converter.output) != bench::firmwareBytes())
            qFatal("%s did not convert the benchmark's firmware", converter.name);
        const double seconds = bench::bestSeconds([&] { bench::runProcess(converter.program, converter.args); }, 1.0, 10);
        bench::report(qPrintable(QStringLiteral("hex2bin_process_%1_ms").arg(QLatin1String(converter.name))),
                      seconds * 1e3, "ms");
        if (&converter == &converters[0]) {
            toolSeconds = seconds;
            // What of it is starting the program (loading Qt) rather than converting.
            const double startup = bench::bestSeconds([&] { bench::runProcess(converter.program, { "--version" }); }, 1.0, 10);
            bench::report("hex2bin_process_vn274_tool_startup_ms", startup * 1e3, "ms");
        }
        else if (toolSeconds > 0)
            bench::report(qPrintable(QStringLiteral("hex2bin_process_ratio_vs_%1").arg(QLatin1String(converter.name))),
                          toolSeconds / seconds, "(vn274-tool / other)");
    }
    std::fflush(stdout);
}

// A production line's batch: 999 bootloader images from one HEX file, the
// program run as a whole process. The HEX file is read once, so the figure
// should come close to writing the 999 files alone, measured beside it.
// mkboot_next_999_ms: the same batch with its serial numbers reserved in and
// confirmed to an SQLite production record, each run a day of its own in one
// record; the record may add at most 20 %.
void measureToolBootloaderBatch()
{
    const QString hex = bench::firmwareHexFile();
    const QString tool = QCoreApplication::applicationDirPath() + QStringLiteral("/vn274-tool");
    if (!QFileInfo(tool).isExecutable()) {
        std::printf("mkboot_999_ms: skipped, vn274-tool not built\n");
        return;
    }
    // Each run into a folder of its own: replacing files costs a file system
    // such as ext4 a flush that new files do not, and the two figures compare.
    int run = 0;
    const auto plainBatch = [&] {
        const QString folder = bench::scratchPath(QStringLiteral("batch-%1").arg(++run));
        if (bench::runProcess(tool, { "mkboot", hex, "--serial-from", "250101001", "--count", "999", "--out-dir", folder,
                               "--no-record" }) != 0
            || QDir(folder).entryList(QDir::Files).size() != 999)
            qFatal("vn274-tool mkboot did not make the benchmark's batch");
    };
    const double batch = bench::bestSeconds(plainBatch, 2.0, 5);
    bench::report("mkboot_999_ms", batch * 1e3, "ms");

    const QString record = bench::scratchPath("record.sqlite");
    int day = 0;
    const auto recordedBatch = [&] {
        ++day;
        const QString date = QDate(2025, 1, 1).addDays(day).toString(QStringLiteral("yyMMdd"));
        const QString dayFolder = bench::scratchPath(QStringLiteral("recorded-") + date);
        if (bench::runProcess(tool, { "mkboot", hex, "--next", "999", "--date", date, "--out-dir", dayFolder, "--db", record }) != 0
            || QDir(dayFolder).entryList(QDir::Files).size() != 999)
            qFatal("vn274-tool mkboot --next did not make the benchmark's batch");
    };
    recordedBatch();   // the record's schema made outside the measurement
    recordedBatch();
    const double recorded = bench::bestSeconds(recordedBatch, 2.0, 5);
    bench::report("mkboot_next_999_ms", recorded * 1e3, "ms");
    bench::report("mkboot_next_999_vs_999", recorded / batch, "(with the record / without)");

    const double read = bench::bestSeconds([&] { readBootloaderHex(hex); });
    bench::report("mkboot_hex_read_ms", read * 1e3, "ms");
    const QByteArray image = readBootloaderHex(hex).image;
    const QString files = bench::scratchPath("files");
    QDir().mkpath(files);
    const double writing = bench::bestSeconds([&] {
        for (int number = 1; number <= 999; ++number) {
            const QString serial = QStringLiteral("250101%1").arg(number, 3, 10, QLatin1Char('0'));
            writeBootloaderImage(QDir(files).filePath(serial + QStringLiteral(".bin")), stampSerial(image, serial));
        }
    }, 2.0, 5);
    bench::report("mkboot_999_files_only_ms", writing * 1e3, "ms");
}
