// vn274-tool: its subcommands run in-process against the simulated driver and
// on files, the files compared with those the window's slots write from the
// same input; then the simulated program itself, for its streams, exit
// statuses and the driver set up from its environment.
#include "toolnamespace.h"
#include "app/demo.h"
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "common/testfiles.h"
#include "io/filenames.h"
#include "io/outputfile.h"
#include "shows/editedtable.h"
#include "shows/showfiles.h"
#include "shows/showjson.h"
#include "shows/showtables.h"
#include "simulator/simdriver.h"
#include "tool/tool.h"
#include "common/releasesigning.h"
#include "upgrade/bootimage.h"
#include "upgrade/releasesignature.h"
#include "upgrade/samplefirmware.h"
#include "upgrade/upgradesteps.h"
#include "usb/transferscrambling.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLoggingCategory>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QThread>
#include <QTimeZone>
#include <QtEndian>
#include <QtTest>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace {

struct Run
{
    int status = -1;
    QString out;
    QString err;
};

Run tool(const QStringList &args, bool terminal = false)
{
    Run run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    run.status = runTool(args, out, err, terminal);
    out.flush();
    err.flush();
    return run;
}

QByteArray streamBytes(const QString &header, const QString &version, const QByteArray &image)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << header << version << image;
    return bytes;
}

QByteArray patterned(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 13 + i / 48);
    return bytes;
}

QByteArray randomTable(quint32 seed, int size)
{
    QByteArray table(size, '\0');
    QRandomGenerator(seed).fillRange(reinterpret_cast<quint32 *>(table.data()), size / 4);
    return table;
}

// The JSON text with the nth match (from 0) of `pattern` on `line` (from 1)
// replaced.
QByteArray edited(const QByteArray &json, int line, const QString &pattern, const QString &replacement, int nth = 0)
{
    QList<QByteArray> lines = json.split('\n');
    QString text = QString::fromUtf8(lines.at(line - 1));
    QRegularExpressionMatchIterator matches = QRegularExpression(pattern).globalMatch(text);
    for (int i = 0; i < nth; ++i)
        matches.next();
    const QRegularExpressionMatch match = matches.next();
    Q_ASSERT(match.hasMatch());
    text.replace(match.capturedStart(), match.capturedLength(), replacement);
    lines[line - 1] = text.toUtf8();
    return lines.join('\n');
}

// "Flash 10%" ... "Flash 100%", as a log shows a bar.
QStringList tenths(const QString &label)
{
    QStringList lines;
    for (int percent = 10; percent <= 100; percent += 10)
        lines << QStringLiteral("%1 %2%").arg(label).arg(percent);
    return lines;
}

QString word(const QByteArray &image, int offset)
{
    return "0x" + QStringLiteral("%1").arg(qFromLittleEndian<quint32>(image.constData() + offset), 8, 16, QLatin1Char('0')).toUpper();
}

void noSleep(unsigned long)
{
}

// Standard output of a --json run: one JSON object on one line, nothing else.
QJsonObject jsonObject(const QString &out)
{
    if (!out.endsWith('\n') || out.count('\n') != 1) {
        qWarning("not one line: %s", qPrintable(out));
        return {};
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(out.toUtf8(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        qWarning("not a JSON object (%s): %s", qPrintable(error.errorString()), qPrintable(out));
        return {};
    }
    return document.object();
}


// The simulated program itself, its driver set up as VN274_TOOL_SIM says, in
// the test's production record (VN274_DB).
void startProgram(QProcess &process, const QStringList &args, const QString &driver = QString(),
                  const QString &program = VN274_TOOL_SIM_PROGRAM)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("VN274_TOOL_SIM", driver);
    environment.insert("LANG", "C.UTF-8");
    environment.remove("QT_LOGGING_RULES");
    process.setProcessEnvironment(environment);
    process.start(program, args);
}

// A shell word giving the argument's bytes (io/filenames.h): QProcess passes
// every argument as UTF-8, so a name that is not is made by printf.
QString shellWord(const QString &arg)
{
    QString format;
    bool plain = true;
    for (const char c : filenames::toBytes(arg)) {
        const uchar u = uchar(c);
        if (u >= 0x20 && u < 0x7F && c != '\'' && c != '\\' && c != '%') {
            format += QChar(c);
        } else {
            format += QStringLiteral("\\%1").arg(u, 3, 8, QLatin1Char('0'));
            plain = false;
        }
    }
    return plain ? "'" + format + "'" : "\"$(printf '" + format + "')\"";
}

// Only identified, never written or read: request 255 and nothing else.
bool onlyIdentified(const sim::Driver &driver)
{
    for (const sim::Transfer &transfer : driver.transfers())
        if (transfer.request != 255)
            return false;
    return true;
}

// All a driver holds: its flashes, mode and status word.
QByteArray snapshot(const sim::Driver &driver)
{
    return driver.internalFlash(sim::InternalFlashBase, sim::InternalFlashSize)
            + driver.externalFlash(0, sim::ExternalFlashSize) + driver.serialString()
            + QByteArray::number(driver.statusWord());
}

// Added by the sleep during the first driver's restart, ahead of it on the bus.
bool intruderArrived = false;
void sleepWhileAnIntruderArrives(unsigned long)
{
    if (!intruderArrived) {
        intruderArrived = true;
        sim::addDriver("240611099", sim::Mode::Bootloader, true).setReenumeration(2, 600000);
    }
}
// What a terminal shows once the text is drawn: the cursor goes up
// (ESC [ n A), a line is cleared (ESC [ K) and written over from its start.
QStringList screen(const QString &text)
{
    QStringList lines{ QString() };
    int row = 0;
    int column = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QChar(0x1B)) {
            const int end = text.indexOf(QRegularExpression("[A-Za-z]"), i);
            if (text.at(end) == 'A')
                row = qMax(0, row - text.mid(i + 2, end - i - 2).toInt());
            else if (text.at(end) == 'K')
                lines[row].truncate(column);
            i = end;
        } else if (c == '\r') {
            column = 0;
        } else if (c == '\n') {
            column = 0;
            if (++row == lines.size())
                lines << QString();
        } else {
            QString &line = lines[row];
            if (column < line.size())
                line[column] = c;
            else
                line += c;
            ++column;
        }
    }
    return lines;
}

// Reads the program's standard output into *out until it shows every one of
// these texts, then sends it the signal `times` times, and waits for its end.
// False when the texts never came.
bool interruptWhenShown(QProcess &process, const QStringList &texts, int signal, int times, QByteArray *out)
{
    const auto shown = [&] {
        for (const QString &text : texts)
            if (!out->contains(text.toUtf8()))
                return false;
        return true;
    };
    while (!shown() && process.waitForReadyRead(30000))
        *out += process.readAllStandardOutput();
    if (!shown())
        return false;
    for (int i = 0; i < times; ++i) {
        ::kill(pid_t(process.processId()), signal);
        QThread::msleep(100);   // one signal at a time: two pending ones would be one
    }
    process.waitForFinished(30000);
    *out += process.readAllStandardOutput();
    return true;
}

// The outcomes of the firmware history's rows, sorted.
QStringList historyOutcomes(const QJsonArray &rows)
{
    QStringList outcomes;
    for (const QJsonValue &row : rows)
        outcomes << row["outcome"].toString();
    outcomes.sort();
    return outcomes;
}

// The tests' release is signed with the project's test key, which this
// program and vn274-tool-sim pin.
const QString SignedLine = "Signed release: Vn274 firmware 2.1 (release key 53BE7B6EA04F19A8)";
const QString RunsLine = "The new application runs on the driver 240611027";
const QString NeverBackLine = "The new application did not start: the driver 240611027 did not come back within 10 s";
const QString ReleaseKeyLine = "release key: 53BE7B6EA04F19A8\n";
} // namespace

class TstTool : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString hexFile;       // the sample firmware release
    QString brokenHex;     // a record with a wrong checksum
    QString bootHex;       // a bootloader with its version texts
    QString upgFile;       // the release as an upgrade file
    QByteArray image;      // its plain image

    QString path(const QString &name) const { return dir.filePath(name); }
    QStringList withPaths(QStringList args) const;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    // Files.
    void helpAndUsage();
    void refusals_data();
    void refusals();
    void hex2binWindow();
    void filesAsTheWindowWritesThem();
    void bootloaderBatch();
    void largeBootloaderBatches_data();
    void largeBootloaderBatches();
    void upginfo_data();
    void upginfo();
    void upginfoAsJson();

    // The driver.
    void upgradeFromApplicationMode();
    void upgradeWithoutItsRecord();
    void upgradeOnATerminal();
    void upgradeWaitsForTheDriverAsTheWorkerDoes();
    void upgradeFailures_data();
    void upgradeFailures();
    void info_data();
    void info();
    void infoAsJson();
    void showsRoundTrip_data();
    void showsRoundTrip();
    void showsFailures_data();
    void showsFailures();

    // Shows as JSON.
    void showsAsJson_data();
    void showsAsJson();
    void jsonRefusals_data();
    void jsonRefusals();

    // Several drivers.
    void listDrivers();
    void chooseBySerial_data();
    void chooseBySerial();
    void severalDriversWithoutSerial_data();
    void severalDriversWithoutSerial();
    void upgradeTheSecondOfTwo();
    void upgradeFollowsItsDriverThroughTheRestart();
    void upgradeAllOutputs_data();
    void upgradeAllOutputs();
    void stationKnowsItsDrivers_data();
    void stationKnowsItsDrivers();

    // The program.
    void theProgramItself_data();
    void theProgramItself();
    void lengthFieldsCostNoMemory_data();
    void lengthFieldsCostNoMemory();
    void outputsAsTheyStand_data();
    void outputsAsTheyStand();
    void namesThatAreNotUtf8_data();
    void namesThatAreNotUtf8();
    void writeErrorsOnStandardOutput_data();
    void writeErrorsOnStandardOutput();
    void interruptedUpgrade_data();
    void interruptedUpgrade();

    // Several drivers at once, the program itself.
    void upgradeAllAtOnce();
    void interruptedChangesOfSeveral_data();
    void interruptedChangesOfSeveral();
    void stationOptions_data();
    void stationOptions();
};

// "@name" stands for a file of the test folder.
QStringList TstTool::withPaths(QStringList args) const
{
    for (QString &arg : args)
        if (arg.startsWith('@'))
            arg = path(arg.mid(1));
    return args;
}

void TstTool::initTestCase()
{
    QLoggingCategory::setFilterRules("default.debug=false");
    QVERIFY(dir.isValid());
    watchNoDriversPluggedIn();

    hexFile = path("sample.hex");
    writeBytes(hexFile, samplefirmware::hexFile());
    QList<QByteArray> records = samplefirmware::intelHex({ { 0x08004000, QByteArray(256, 0x5A) } }).split('\n');
    records[5].replace(records[5].size() - 3, 2, "00");
    brokenHex = path("broken.hex");
    writeBytes(brokenHex, records.join('\n'));
    QVERIFY(QFile::link(hexFile, path("linked.hex")));   // a symbolic link: another name of the same file
    writeBytes(path("cut.hex"), samplefirmware::hexFile().chopped(13));   // without its end-of-file record
    bootHex = path("boot.hex");
    writeBytes(bootHex, samplefirmware::intelHex({ { 0x08000000, patterned(0x300) },
                                                   { 0x08003FD0, QByteArray("Vn274 boot 2.0\0\0Jan 01 2025\0\0\0\0\0", 32) },
                                                   { 0x08003FF0, QByteArray("999999999ABCDEF") } }));

    upgFile = path("sample.upg");
    QCOMPARE(tool({ "mkupg", hexFile, upgFile }).status, 0);
    QVERIFY(releasesigning::sign(upgFile, "Vn274 firmware 2.1"));
    image = fileBytes(upgFile).mid(66);
    decodeTransfer(image.data(), int(image.size()));

    writeBytes(path("shows.scn"), streamBytes("Vn274 Scenes File", "Version 01", QByteArray(Shows::SceneTableSize, 1)));
}

void TstTool::init()
{
    // Each test its own production record, never the user's.
    static int records = 0;
    qputenv("VN274_DB", path(QStringLiteral("record-%1.sqlite").arg(++records)).toUtf8());
    sim::reset();
    sim::setReenumeration(2, 600000);   // back after a reset at once, counted in enumerations
    upgradesteps::setSleepFunction(noSleep);
}

void TstTool::cleanup()
{
    upgradesteps::setSleepFunction(nullptr);
    setProductionDateSource(nullptr);
}

// --- Files -------------------------------------------------------------------

void TstTool::helpAndUsage()
{
    const Run overview = tool({ "--help" });
    QCOMPARE(overview.status, 0);
    for (const char *name : { "hex2bin", "mkupg", "upginfo", "mkboot", "show2json", "json2show", "upgrade", "station", "info",
                              "get-programs", "set-programs", "get-scenes", "set-scenes" }) {
        QVERIFY2(overview.out.contains(QStringLiteral("\n  %1 ").arg(name)), name);
        const Run help = tool({ name, "--help" });
        QCOMPARE(help.status, 0);
        QVERIFY2(help.out.startsWith(QStringLiteral("usage: vn274-tool %1").arg(name)), qPrintable(help.out));
        QVERIFY(help.err.isEmpty());
    }

    // Without a command the overview goes to standard error.
    const Run none = tool({});
    QCOMPARE(none.status, 2);
    QVERIFY(none.out.isEmpty());
    QVERIFY(none.err.startsWith("usage: vn274-tool COMMAND"));
    QCOMPARE(tool({ "help", "mkboot" }).out, tool({ "mkboot", "--help" }).out);

    // Words the program does not take are refused, not passed over.
    const struct { QStringList args; const char *error; } refused[] = {
        { { "flash", "x.upg" }, "vn274-tool: unknown command flash    (vn274-tool --help lists them)\n" },
        { { "help", "bogus" }, "vn274-tool: unknown command bogus    (vn274-tool --help lists them)\n" },
        { { "--help", "mkupg", "info" }, "vn274-tool: --help takes one command at most\n" },
        { { "--version", "extra" }, "vn274-tool: --version takes no arguments\n" },
    };
    for (const auto &words : refused) {
        const Run run = tool(words.args);
        QCOMPARE(run.status, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, QString(words.error));
    }

    verifyRepeatableOptions();
}

void TstTool::refusals_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("error");

    QTest::newRow("hex2bin, three arguments") << QStringList({ "hex2bin", "@sample.hex", "0", "@out.bin" })
                                              << "expected four arguments, got 3";
    QTest::newRow("hex2bin, not an address") << QStringList({ "hex2bin", "@sample.hex", "0x0800400G", "0x08004FFF", "@out.bin" })
                                             << "FIRST '0x0800400G' is not a 32-bit address";
    QTest::newRow("hex2bin, beyond 32 bits") << QStringList({ "hex2bin", "@sample.hex", "0", "4294967296", "@out.bin" })
                                             << "LAST '4294967296' is not a 32-bit address";
    QTest::newRow("hex2bin, signed address") << QStringList({ "hex2bin", "@sample.hex", "+0", "15", "@out.bin" })
                                             << "FIRST '+0' is not a 32-bit address";
    QTest::newRow("hex2bin, last below first") << QStringList({ "hex2bin", "@sample.hex", "0x08004FFF", "0x08004000", "@out.bin" })
                                               << "LAST 0x08004000 lies below FIRST 0x08004FFF";
    QTest::newRow("hex2bin, window over 16 MiB") << QStringList({ "hex2bin", "@sample.hex", "0", "0x01000000", "@out.bin" })
                                                 << "a window of 16777217 bytes is more than the 16 MiB allowed";
    QTest::newRow("hex2bin, fill not a byte") << QStringList({ "hex2bin", "@sample.hex", "0", "15", "@out.bin", "--fill", "256" })
                                              << "--fill '256' is not a byte";
    QTest::newRow("hex2bin, unknown option") << QStringList({ "hex2bin", "@sample.hex", "0", "15", "@out.bin", "--fil=0" })
                                             << "unknown option --fil=0";
    QTest::newRow("hex2bin, option without value") << QStringList({ "hex2bin", "@sample.hex", "0", "15", "@out.bin", "--fill" })
                                                   << "option --fill needs a value";
    QTest::newRow("hex2bin, option twice") << QStringList({ "hex2bin", "@sample.hex", "0", "15", "@out.bin", "--fill", "0",
                                                            "--fill=1" })
                                           << "option --fill given twice";
    QTest::newRow("hex2bin, missing HEX file") << QStringList({ "hex2bin", "@missing.hex", "0", "15", "@out.bin" })
                                               << "missing.hex: HexToBin error: -9) cannot read file: No such file or directory";
    QTest::newRow("hex2bin, a folder as HEX file") << QStringList({ "hex2bin", "@", "0", "15", "@out.bin" })
                                                   << "HexToBin error: -9) cannot read file: Is a directory";
    QTest::newRow("hex2bin, output is the input") << QStringList({ "hex2bin", "@sample.hex", "0", "15", "@sample.hex" })
                                                  << "sample.hex is the input " + path("sample.hex");
    QTest::newRow("hex2bin, HEX error") << QStringList({ "hex2bin", "@broken.hex", "0x08004000", "0x080040FF", "@out.bin" })
                                        << "broken.hex: HexToBin error: -8) bad checksum";
    QTest::newRow("mkupg, HEX error") << QStringList({ "mkupg", "@broken.hex", "@out.upg" })
                                      << "broken.hex: HexToBin error: -8) bad checksum\n";
    QTest::newRow("mkupg, unwritable") << QStringList({ "mkupg", "@sample.hex", "@no-folder/out.upg" })
                                       << "cannot write " + path("no-folder/out.upg") + ": No such file or directory";
    QTest::newRow("mkupg, output is the input under another name") << QStringList({ "mkupg", "@sample.hex", "@linked.hex" })
                                                                   << "linked.hex is the input " + path("sample.hex");
    QTest::newRow("mkupg, no end-of-file record") << QStringList({ "mkupg", "@cut.hex", "@out.upg" })
                                                  << "cut.hex ends without its end-of-file record: it may be cut short";
    QTest::newRow("mkupg, the bootloader's HEX file") << QStringList({ "mkupg", "@boot.hex", "@out.upg" })
                                                      << "boot.hex puts no byte into the application window "
                                                         "0x08004000-0x0801FFFF";
    QTest::newRow("upginfo, missing file") << QStringList({ "upginfo", "@missing.upg" })
                                           << "cannot open " + path("missing.upg") + ": No such file or directory";
    QTest::newRow("show2json, output is the input") << QStringList({ "show2json", "@shows.scn", "@shows.scn" })
                                                    << "shows.scn is the input " + path("shows.scn");
    QTest::newRow("upginfo, flag twice") << QStringList({ "upginfo", "--json", "@sample.upg", "--json" })
                                         << "option --json given twice";
    QTest::newRow("mkboot, month 13") << QStringList({ "mkboot", "@boot.hex", "241301001", "@out.bin" })
                                      << "'241301001' is not a serial number";
    QTest::newRow("mkboot, day 00") << QStringList({ "mkboot", "@boot.hex", "241200001", "@out.bin" })
                                    << "'241200001' is not a serial number";
    QTest::newRow("mkboot, number 000") << QStringList({ "mkboot", "@boot.hex", "241231000", "@out.bin" })
                                        << "'241231000' is not a serial number";
    QTest::newRow("mkboot, eight digits") << QStringList({ "mkboot", "@boot.hex", "24123101", "@out.bin" })
                                          << "'24123101' is not a serial number";
    QTest::newRow("mkboot, HEX error") << QStringList({ "mkboot", "@broken.hex", "241231001", "@out.bin" })
                                       << "HexToBin error: -8) bad checksum";
    QTest::newRow("mkboot, the application's HEX file") << QStringList({ "mkboot", "@sample.hex", "241231001", "@out.bin" })
                                                        << "sample.hex puts no byte into the bootloader window "
                                                           "0x08000000-0x08003FFF";
    QTest::newRow("mkboot, a batch of the application's HEX file")
            << QStringList({ "mkboot", "@sample.hex", "--next", "2", "--out-dir", "@out" }) << "puts no byte into the bootloader";
    QTest::newRow("mkboot, image is the input") << QStringList({ "mkboot", "@boot.hex", "241231001", "@boot.hex" })
                                                << "boot.hex is the input";
    QTest::newRow("mkboot, option twice")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241231001", "--count", "2", "--out-dir", "@out",
                             "--serial-from", "241231005" })
            << "option --serial-from given twice";
    QTest::newRow("mkboot, count in hexadecimal")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241231001", "--count", "0x2", "--out-dir", "@out" })
            << "--count '0x2' is not a number from 1 to 999";
    QTest::newRow("mkboot, next in hexadecimal") << QStringList({ "mkboot", "@boot.hex", "--next", "0x2", "--out-dir", "@out" })
                                                 << "--next '0x2' is not a number from 1 to 999";
    QTest::newRow("mkboot, next with its folder under a file")
            << QStringList({ "mkboot", "@boot.hex", "--next", "2", "--out-dir", "@boot.hex/out" })
            << "cannot make the images in " + path("boot.hex/out") + ": " + path("boot.hex") + ": Not a directory";
    QTest::newRow("serials, option twice") << QStringList({ "serials", "--date", "241208", "--date", "241209" })
                                           << "option --date given twice";
    QTest::newRow("history, a date with more") << QStringList({ "history", "--since", "2024-12-08x" })
                                               << "--since '2024-12-08x' is neither a date (2024-12-08) nor an ISO 8601 time";
    QTest::newRow("history, a blank for the T") << QStringList({ "history", "--since", "2024-12-08 19:32" })
                                                << "is neither a date";
    QTest::newRow("history, an hour alone") << QStringList({ "history", "--since", "2024-12-08T19" }) << "is neither a date";
    QTest::newRow("mkboot, batch with a HEX error")
            << QStringList({ "mkboot", "@broken.hex", "--serial-from", "241231001", "--count", "2", "--out-dir", "@out" })
            << "HexToBin error: -8) bad checksum";
    QTest::newRow("mkboot, batch past 999")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241231998", "--count", "3", "--out-dir", "@out" })
            << "3 images from 241231998 would run past number 999 (the last is 241231999)";
    QTest::newRow("mkboot, batch of none")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241231001", "--count", "0", "--out-dir", "@out" })
            << "--count '0' is not a number from 1 to 999";
    QTest::newRow("mkboot, batch without folder")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241231001", "--count", "2" })
            << "a batch takes FILE.hex with --serial-from, --count and --out-dir";
    QTest::newRow("mkboot, batch with a bad serial")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241232001", "--count", "2", "--out-dir", "@out" })
            << "'241232001' is not a serial number";
    QTest::newRow("upgrade, missing file") << QStringList({ "upgrade", "@missing.upg" })
                                           << "cannot open file, the upgrade refuses this file";
    QTest::newRow("upgrade, two files") << QStringList({ "upgrade", "@sample.upg", "@sample.upg" })
                                        << "expected 1 argument(s), got 2";
    QTest::newRow("upgrade, serial twice") << QStringList({ "upgrade", "--serial", "240611027", "--serial=240611028",
                                                            "@sample.upg" })
                                           << "option --serial given twice: several drivers at once take --all";
    QTest::newRow("upgrade, JSON of one") << QStringList({ "upgrade", "--json", "@sample.upg" }) << "--json goes with --all";
    QTest::newRow("upgrade --all, missing file") << QStringList({ "upgrade", "--all", "@missing.upg" })
                                                 << "cannot open file, the upgrade refuses this file";
    QTest::newRow("station, missing file") << QStringList({ "station", "@missing.upg" })
                                           << "cannot open file, the upgrade refuses this file";
    QTest::newRow("station, count 0") << QStringList({ "station", "--count", "0", "@sample.upg" })
                                      << "--count takes a number of changes, 1 or more";
    QTest::newRow("info, an argument") << QStringList({ "info", "now" }) << "expected 0 argument(s), got 1";
    QTest::newRow("info, serial twice") << QStringList({ "info", "--serial", "240611027", "--serial=240611028" })
                                        << "option --serial given twice";
    QTest::newRow("set-programs, missing file") << QStringList({ "set-programs", "@missing.pgm" })
                                                << "cannot open " + path("missing.pgm") + ": No such file or directory";
    QTest::newRow("set-programs, a scenes file") << QStringList({ "set-programs", "@shows.scn" })
                                                 << "shows.scn is not a programs file (wrong file header)";
    QTest::newRow("set-scenes, an upgrade file") << QStringList({ "set-scenes", "@sample.upg" })
                                                 << "sample.upg is not a scenes file";
    QTest::newRow("show2json, three arguments") << QStringList({ "show2json", "@shows.scn", "@out.bin", "@out" })
                                                << "expected one or two arguments, got 3";
    QTest::newRow("show2json, an upgrade file") << QStringList({ "show2json", "@sample.upg", "@out" })
                                                << "sample.upg is not a programs or scenes file (wrong file header)";
    QTest::newRow("json2show, missing file") << QStringList({ "json2show", "@missing.json", "@out.bin" }) << "cannot open";
}

// Every refusal says why on standard error, ends with status 2, writes nothing
// and never touches the driver.
void TstTool::refusals()
{
    QFETCH(QStringList, args);
    QFETCH(QString, error);
    const QByteArray inputs = fileBytes(hexFile) + fileBytes(bootHex);
    const Run run = tool(withPaths(args));
    QCOMPARE(run.status, 2);
    QVERIFY2(run.err.startsWith("vn274-tool " + args.first() + ": "), qPrintable(run.err));
    QVERIFY2(run.err.count(error) == 1, qPrintable(run.err));   // said once
    QVERIFY(!QFile::exists(path("out.bin")) && !QFile::exists(path("out.upg")) && !QFile::exists(path("out")));
    QCOMPARE(fileBytes(hexFile) + fileBytes(bootHex), inputs);
    QVERIFY(sim::transfers().isEmpty());
    // Nothing taken from the production record either (when there is one).
    const Run record = tool({ "serials", "--json" });
    QVERIFY(record.status != 0 || jsonObject(record.out)["serials"].toArray().isEmpty());
}

void TstTool::hex2binWindow()
{
    // 16 bytes on either side of the application, FIRST in decimal, LAST in hexadecimal.
    const QByteArray application = samplefirmware::application();
    const QString first = QString::number(samplefirmware::ApplicationAddress - 16);
    const QString last = QStringLiteral("0x%1").arg(samplefirmware::ApplicationAddress + application.size() + 15, 0, 16);

    Run run = tool({ "hex2bin", hexFile, first, last, path("erased.bin") });
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.isEmpty() && run.err.isEmpty());
    QCOMPARE(fileBytes(path("erased.bin")), QByteArray(16, char(0xFF)) + application + QByteArray(16, char(0xFF)));

    run = tool({ "hex2bin", "--fill", "0X5a", hexFile, first, last, path("filled.bin") });
    QCOMPARE(run.status, 0);
    QCOMPARE(fileBytes(path("filled.bin")), QByteArray(16, 0x5A) + application + QByteArray(16, 0x5A));
}

void TstTool::filesAsTheWindowWritesThem()
{
    Vn274_bootloader window;
    {
        ScriptedPrompts prompts;
        prompts.answer(hexFile).answer(path("window.upg"));
        window.slotpushButtonCreateUpg(false);
    }
    QCOMPARE(fileBytes(upgFile).size(), 262210);
    QCOMPARE(fileBytes(upgFile), fileBytes(path("window.upg")));

    {
        ScriptedPrompts prompts;
        prompts.answer(bootHex).answer("24").answer("12").answer("31").answer("007").answer(path("window.bin"));
        window.slotpushButtonCreateBootBin(false);
    }
    QCOMPARE(tool({ "mkboot", bootHex, "241231007", path("tool.bin") }).status, 0);
    const QByteArray made = fileBytes(path("tool.bin"));
    QCOMPARE(made.size(), 16384);
    QCOMPARE(made, fileBytes(path("window.bin")));
}

void TstTool::bootloaderBatch()
{
    const QString folder = path("batch/line 2");   // made with its parent
    const Run run = tool({ "mkboot", bootHex, "--serial-from", "241231997", "--count", "3", "--out-dir", folder });
    QCOMPARE(run.status, 0);

    QStringList names;
    for (const char *serial : { "241231997", "241231998", "241231999" })
        names << QDir(folder).filePath(QStringLiteral("Vn274Bootloader_%1.bin").arg(serial));
    QCOMPARE(run.out, names.join('\n') + '\n');
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), 3);
    for (int i = 0; i < 3; ++i) {
        // Each image is the single one of its serial number.
        const QString serial = QStringLiteral("24123199%1").arg(7 + i);
        QCOMPARE(tool({ "mkboot", bootHex, serial, path("single.bin"), "--no-record" }).status, 0);
        const QByteArray made = fileBytes(names.at(i));
        QCOMPARE(made, fileBytes(path("single.bin")));
        QCOMPARE(made.mid(0x3FF0, 9), serial.toLatin1());
    }

    // --next looks at its folder before it takes numbers: a try that cannot
    // write its images leaves none of the day's numbers void.
    QCOMPARE(tool({ "mkboot", bootHex, "--next", "2", "--date", "250301", "--out-dir", bootHex + "/next" }).status, 2);
    const Run next = tool({ "mkboot", bootHex, "--next", "1", "--date", "250301", "--out-dir", path("next") });
    QCOMPARE(next.out, QDir(path("next")).filePath("Vn274Bootloader_250301001.bin") + '\n');
}

void TstTool::largeBootloaderBatches_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("count");
    QTest::newRow("999 from 001") << "250101001" << 999;
    QTest::newRow("500 from 500") << "250101500" << 500;
}

// Every file of a batch as large as the line makes: its name and its serial
// number, the rest the same bootloader.
void TstTool::largeBootloaderBatches()
{
    QFETCH(QString, from);
    QFETCH(int, count);
    const QString folder = path("large batch");
    QDir(folder).removeRecursively();
    const Run run = tool({ "mkboot", bootHex, "--serial-from", from, "--count", QString::number(count), "--out-dir", folder });
    QCOMPARE(run.status, 0);
    QVERIFY(run.err.isEmpty());

    QCOMPARE(tool({ "mkboot", bootHex, from, path("single.bin"), "--no-record" }).status, 0);
    const QByteArray single = fileBytes(path("single.bin"));
    const QStringList printed = run.out.split('\n', Qt::SkipEmptyParts);
    QCOMPARE(printed.size(), count);
    QCOMPARE(QDir(folder).entryList(QDir::Files).size(), count);
    const int firstNumber = from.mid(6).toInt();
    for (int i = 0; i < count; ++i) {
        const QString serial = from.left(6) + QStringLiteral("%1").arg(firstNumber + i, 3, 10, QLatin1Char('0'));
        const QString name = QDir(folder).filePath(QStringLiteral("Vn274Bootloader_%1.bin").arg(serial));
        QCOMPARE(printed.at(i), name);
        const QByteArray made = fileBytes(name);
        QCOMPARE(made.size(), 16384);
        QCOMPARE(made.mid(0x3FF0, 9), serial.toLatin1());
        QVERIFY2(made.left(0x3FF0) == single.left(0x3FF0) && made.mid(0x3FF9) == single.mid(0x3FF9), qPrintable(name));
    }
}

void TstTool::upginfo_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("lines");

    const QString header = "Vn274 Upgrade File Header";
    const QByteArray file = fileBytes(upgFile);
    const QString application = word(image, 0x1FFFC);
    const QString external = word(image, 0x33FFC);
    const QString headerOk = "header: \"Vn274 Upgrade File Header\" (ok)";
    const QString refused = "verdict: %1, the upgrade refuses this file";

    QTest::newRow("accepted") << file << 0
                              << QStringList({ headerOk, "version: \"01\" (ok)", "image: 262144 bytes (ok)",
                                               QStringLiteral("application checksum: stored %1, computed %1 (ok)").arg(application),
                                               QStringLiteral("external flash checksum: stored %1, computed %1 (ok)").arg(external),
                                               "verdict: ok, the upgrade accepts this file" });

    // The external flash's stored word one too high.
    QByteArray damaged = image;
    qToLittleEndian(qFromLittleEndian<quint32>(damaged.constData() + 0x33FFC) + 1, damaged.data() + 0x33FFC);
    const QString higher = word(damaged, 0x33FFC);
    QTest::newRow("wrong checksum") << streamBytes(header, "01", scrambled(damaged)) << 2
                                    << QStringList({ headerOk, "version: \"01\" (ok)", "image: 262144 bytes (ok)",
                                                     QStringLiteral("application checksum: stored %1, computed %1 (ok)").arg(application),
                                                     QStringLiteral("external flash checksum: stored %1, computed %2 (WRONG)").arg(higher, external),
                                                     refused.arg("wrong file checksum") });
    QTest::newRow("wrong header") << streamBytes("Vn274 Programs File", "01", file.mid(66)) << 2
                                  << QStringList({ "header: \"Vn274 Programs File\" (WRONG)", refused.arg("wrong file header") });
    // Another file's text, shown on one line: nothing in it reaches the terminal as a control.
    QTest::newRow("foreign header") << streamBytes("Bad\nheader\x1b[31m\"q\"\\\u202e", "01", file.mid(66)) << 2
                                    << QStringList({ "header: \"Bad\\nheader\\u001b[31m\\\"q\\\"\\\\\\u202e\" (WRONG)",
                                                     refused.arg("wrong file header") });
    QTest::newRow("wrong version") << streamBytes(header, "02", file.mid(66)) << 2
                                   << QStringList({ headerOk, "version: \"02\" (WRONG)", refused.arg("wrong file version") });
    QTest::newRow("image too short") << streamBytes(header, "01", QByteArray(1000, '\0')) << 2
                                     << QStringList({ headerOk, "version: \"01\" (ok)", "image: 1000 bytes (WRONG)",
                                                      refused.arg("wrong file version") });
    QTest::newRow("cut short") << file.left(100000) << 2
                               << QStringList({ headerOk, "version: \"01\" (ok)", "image: cut short (WRONG)",
                                                refused.arg("wrong file length") });
}

void TstTool::upginfo()
{
    QFETCH(QByteArray, content);
    QFETCH(int, status);
    QFETCH(QStringList, lines);
    const QString fileName = path("examined.upg");
    writeBytes(fileName, content);
    QVERIFY(releasesigning::sign(fileName, "Vn274 firmware 2.1"));
    lines.insert(lines.size() - 1, "signature: verified, release key 53BE7B6EA04F19A8");
    lines.insert(lines.size() - 1, "trusted comment: Vn274 firmware 2.1");

    const Run run = tool({ "upginfo", fileName });
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, QStringList(QStringList("file: " + fileName) + lines).join('\n') + '\n');
    if (status == 0)
        QVERIFY(run.err.isEmpty());
    else
        QCOMPARE(run.err, "vn274-tool upginfo: " + fileName + ": " + lines.last().mid(9) + '\n');

    // The same verdict in JSON, with the same errors and status.
    const Run asJson = tool({ "upginfo", fileName, "--json" });
    QCOMPARE(asJson.status, status);
    QCOMPARE(asJson.err, run.err);
    const QJsonObject object = jsonObject(asJson.out);
    QCOMPARE(object["path"].toString(), fileName);
    QCOMPARE(object["accepted"].toBool(), status == 0);
    QCOMPARE(object["verdict"].toString(), lines.last().mid(9).section(',', 0, 0));   // "ok", "wrong file checksum"
}

void TstTool::upginfoAsJson()
{
    QJsonObject object = jsonObject(tool({ "upginfo", "--json", upgFile }).out);
    QCOMPARE(object["header"].toString(), QString("Vn274 Upgrade File Header"));
    QCOMPARE(object["header_ok"], QJsonValue(true));
    QCOMPARE(object["version"].toString(), QString("01"));
    QCOMPARE(object["version_ok"], QJsonValue(true));
    QCOMPARE(object["image_size"], QJsonValue(262144));
    QCOMPARE(object["image_size_ok"], QJsonValue(true));
    QCOMPARE(object["verdict"].toString(), QString("ok"));
    const QJsonObject signature = object["signature"].toObject();
    QCOMPARE(signature["verdict"].toString(), QString("verified"));
    QCOMPARE(signature["release_key_id"].toString(), QString("53BE7B6EA04F19A8"));
    QCOMPARE(signature["trusted_comment"].toString(), QString("Vn274 firmware 2.1"));
    const struct { const char *key; int offset; } regions[] = { { "application_checksum", 0x1FFFC },
                                                                 { "external_flash_checksum", 0x33FFC } };
    for (const auto &region : regions) {
        const QJsonObject checksum = object[region.key].toObject();
        const double stored = qFromLittleEndian<quint32>(image.constData() + region.offset);
        QCOMPARE(checksum["stored"], QJsonValue(stored));   // a number, not "0x..."
        QCOMPARE(checksum["computed"], QJsonValue(stored));
        QCOMPARE(checksum["ok"], QJsonValue(true));
    }

    // A good file without its signature: refused, and nothing of it trusted.
    writeBytes(path("unsigned.upg"), fileBytes(upgFile));
    QFile::remove(signatureFileName(path("unsigned.upg")));
    const Run refused = tool({ "upginfo", "--json", path("unsigned.upg") });
    QCOMPARE(refused.status, 2);
    QVERIFY2(refused.err.contains("no signature file"), qPrintable(refused.err));
    object = jsonObject(refused.out);
    QCOMPARE(object["accepted"], QJsonValue(false));
    QCOMPARE(object["verdict"].toString(), QString("signature refused"));   // not "ok" beside "accepted": false
    QCOMPARE(object["signature"].toObject()["verdict"].toString(), QString("no signature"));
    QVERIFY(object["signature"].toObject()["trusted_comment"].isNull());

    // Signed with bytes after it: refused, as the change refuses it.
    writeBytes(path("longer.upg"), fileBytes(upgFile) + "tail");
    QVERIFY(releasesigning::sign(path("longer.upg")));
    const Run longer = tool({ "upginfo", "--json", path("longer.upg") });
    QCOMPARE(longer.status, 2);
    const QJsonObject tooLarge = jsonObject(longer.out)["signature"].toObject();
    QCOMPARE(tooLarge["verdict"].toString(), QString("file too large"));
    QCOMPARE(tooLarge["release_key_id"].toString(), QString("53BE7B6EA04F19A8"));

    // What a cut file does not reach is null; the refusal is named.
    writeBytes(path("cut.upg"), fileBytes(upgFile).left(100000));
    const Run cut = tool({ "upginfo", "--json", path("cut.upg") });
    QCOMPARE(cut.status, 2);
    object = jsonObject(cut.out);
    QCOMPARE(object["version_ok"], QJsonValue(true));
    QVERIFY(object["image_size"].isNull());
    QVERIFY(object["application_checksum"].isNull());
    QCOMPARE(object["verdict"].toString(), QString("wrong file length"));

    // A file that cannot be opened: nothing on standard output.
    const Run missing = tool({ "upginfo", "--json", path("missing.upg") });
    QCOMPARE(missing.status, 2);
    QVERIFY(missing.out.isEmpty());
    QVERIFY(missing.err.contains("cannot open"));
    QCOMPARE(tool({ "upginfo", "--json=yes", upgFile }).err.section('\n', 0, 0),
             QString("vn274-tool upginfo: option --json takes no value"));
}

// --- The driver ----------------------------------------------------------------

void TstTool::upgradeFromApplicationMode()
{
    const Run run = tool({ "upgrade", upgFile });
    QVERIFY2(run.status == 0, qPrintable(run.err));
    QCOMPARE(run.err, QString("vn274-tool upgrade: warning: the record never issued the serial number '240611027'; "
                              "its firmware change is recorded all the same\n"));

    const QStringList expected = QStringList({ upgFile, SignedLine, "240611027", "Vn274 boot 1.3", "Jun 11 2024",
                                               "Apllication mode", "Reset device", "Disconnect", "Connect",
                                               "Serial:240611027b", "Writting firmware ... " })
            + tenths("Flash") + QStringList({ "OK", "Writting External Flash ... " }) + tenths("External flash write")
            + QStringList({ "OK", "Verify External Flash ...  " }) + tenths("External flash verify")
            + QStringList({ "OK", RunsLine, "" });
    QCOMPARE(run.out.split('\n'), expected);

    QCOMPARE(sim::internalFlash(0x08004000, 0x1C000), image.mid(0x4000, 0x1C000));
    QCOMPARE(sim::externalFlash(0, 0x14000), scrambled(image.mid(0x20000, 0x14000)));
    QCOMPARE(sim::mode(), sim::Mode::Application);

    // The change in the firmware history, found by either form of the serial.
    const Run history = tool({ "history", "--serial", "240611027b", "--since", "2000-01-01", "--json" });
    QCOMPARE(history.status, 0);
    const QJsonArray rows = jsonObject(history.out)["history"].toArray();
    QCOMPARE(rows.size(), 1);
    const QJsonObject row = rows.at(0).toObject();
    const QString sha256 = QCryptographicHash::hash(fileBytes(upgFile), QCryptographicHash::Sha256).toHex();
    const QStringList fields = { "serial", "station", "outcome", "file_name", "sha256", "scrambling_key", "release_key_id",
                                 "trusted_comment" };
    const QStringList values = { "240611027", QSysInfo::machineHostName(), "success", "sample.upg", sha256,
                                 transferKeyFingerprint(), "53BE7B6EA04F19A8", "Vn274 firmware 2.1" };
    for (int i = 0; i < fields.size(); ++i)
        QCOMPARE(row[fields.at(i)].toString(), values.at(i));
    QVERIFY(row["succeeded"].toBool());
    QVERIFY(row["started"].toString() <= row["ended"].toString());
    QVERIFY(QDateTime::fromString(row["started"].toString(), Qt::ISODateWithMs).secsTo(QDateTime::currentDateTimeUtc()) < 60);
    QCOMPARE(tool({ "history", "--serial", "240611028", "--csv" }).out.count('\n'), 1);   // the header alone

    // --since with a time: its offset counts, and so does the time itself.
    const QDateTime started = QDateTime::fromString(row["started"].toString(), Qt::ISODateWithMs);
    const QTimeZone plusFive(5 * 3600);
    const struct { QString since; int rows; } sinceRows[] = {
        { started.addSecs(-60).toTimeZone(plusFive).toString(Qt::ISODate), 1 },   // 2026-12-08T19:31:00+05:00
        { started.addSecs(60).toTimeZone(plusFive).toString(Qt::ISODate), 0 },
        { started.addSecs(60).toString("yyyy-MM-dd'T'HH:mm:ss"), 0 },              // UTC without a zone
        { started.addSecs(-60).toString("yyyy-MM-dd'T'HH:mm:ss.zzz'Z'"), 1 },
        { started.date().toString(Qt::ISODate), 1 },
    };
    for (const auto &since : sinceRows) {
        const Run listed = tool({ "history", "--since", since.since, "--json" });
        QVERIFY2(listed.status == 0, qPrintable(listed.err));
        QVERIFY2(jsonObject(listed.out)["history"].toArray().size() == since.rows, qPrintable(since.since));
    }
}

// A line that named a record it cannot use changes no firmware; the local
// record failing only warns.
void TstTool::upgradeWithoutItsRecord()
{
    qputenv("VN274_DB", "postgresql://line@/vn274?host=" + path("no server here").toUtf8());
    Run run = tool({ "upgrade", upgFile });
    QCOMPARE(run.status, 1);
    QVERIFY2(run.err.contains("cannot open the record postgresql://line@/vn274?host="), qPrintable(run.err));
    QVERIFY(sim::transfers().isEmpty());

    qunsetenv("VN274_DB");
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", path("data").toUtf8());
    QVERIFY(QDir().mkpath(path("data")));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QVERIFY(folder.startsWith(path("data")));
    writeBytes(folder, "a file where the folder of the local record belongs");
    run = tool({ "upgrade", upgFile });
    qputenv("XDG_DATA_HOME", dataHome);
    QCOMPARE(run.status, 0);
    QVERIFY2(run.err.contains("warning:") && run.err.contains("going on without a production record"), qPrintable(run.err));
    QCOMPARE(sim::mode(), sim::Mode::Application);
}

// On a terminal each bar redraws its own line and ends it at 100%; the text
// lines stay whole between them.
void TstTool::upgradeOnATerminal()
{
    sim::setMode(sim::Mode::Bootloader);
    const Run run = tool({ "upgrade", upgFile }, true);
    QCOMPARE(run.status, 0);

    QStringList shown;   // each line as it stands once redrawn
    for (const QString &line : run.out.split('\n'))
        shown << line.section('\r', -1);
    const QString full = "[" + QString(40, '#') + "] 100%";
    QCOMPARE(shown, QStringList({ upgFile, SignedLine, "240611027b", "Vn274 boot 1.3", "Jun 11 2024", "Bootloader mode",
                                  "Writting firmware ... ", "Flash                 " + full, "OK",
                                  "Writting External Flash ... ", "External flash write  " + full, "OK",
                                  "Verify External Flash ...  ", "External flash verify " + full, "OK", RunsLine,
                                  "" }));
    // One redraw for each new percentage.
    QCOMPARE(run.out.count("\rFlash "), 100);
    QVERIFY(run.out.contains("\rFlash                 [" + QString(20, '#') + QString(20, '.') + "]  50%"));
}

// A driver that cannot be used yet is tried four times, as the worker's own
// first connection does, before the tool gives up.
void TstTool::upgradeWaitsForTheDriverAsTheWorkerDoes()
{
    sim::refuseClaimInterface(3);
    Run run = tool({ "upgrade", upgFile });
    QCOMPARE(run.status, 0);
    QCOMPARE(sim::mode(), sim::Mode::Application);

    sim::reset();
    sim::refuseClaimInterface(4);
    run = tool({ "upgrade", upgFile });
    QCOMPARE(run.status, 1);
    QVERIFY(run.out.isEmpty());
    QVERIFY2(run.err.contains("another program may be using it"), qPrintable(run.err));
    QCOMPARE(sim::counters().enumerations, 1 + 4);   // the drivers counted, then four attempts
}

void TstTool::upgradeFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::addColumn<QString>("shown");   // part of standard output; empty: nothing at all
    QTest::addColumn<QString>("outcome"); // in the firmware history; empty: no row

    QTest::newRow("damaged file") << "damaged" << 2 << "wrong file checksum, the upgrade refuses this file" << "" << "";
    QTest::newRow("no signature") << "unsigned" << 2 << "upg: Release signature refused: no signature file" << "" << "";
    QTest::newRow("trusted comment changed") << "comment changed" << 2
                                             << "Release signature refused: the trusted comment" << "" << "";
    QTest::newRow("never back after the start") << "never back after the start" << 1
        << "the firmware change failed; the lines above tell where"
        << "OK\n" + NeverBackLine + "\n" << NeverBackLine;
    QTest::newRow("back with another serial") << "another serial" << 1
        << "the firmware change failed; the lines above tell where"
        << "OK\n" + NeverBackLine + "\n" << NeverBackLine;
    QTest::newRow("no driver") << "unplugged" << 1 << "no Vn274 on USB (vendor id 16c0, product id 0789)" << "" << "";
    QTest::newRow("no permission") << "no permission" << 1 << "this user may not open it (permission denied)" << ""
                                   << "";
    QTest::newRow("never back after the reset") << "never returns" << 1
                                                << "the firmware change failed; the lines above tell where"
                                                << "Reset device\nUSB timout\nCheck USB cable\n"
                                                << "USB timout; Check USB cable";
    QTest::newRow("external flash differs") << "external differs" << 1
                                            << "the firmware change failed; the lines above tell where"
                                            << "External flash verify 100%\nError\nread_buffer\n" << "Error";
}

void TstTool::upgradeFailures()
{
    QFETCH(QString, fault);
    QFETCH(int, status);
    QFETCH(QString, error);
    QFETCH(QString, shown);
    QFETCH(QString, outcome);

    QString fileName = upgFile;
    if (fault == "damaged") {
        QByteArray damaged = image;
        damaged[0x5000] = char(damaged[0x5000] ^ 1);
        fileName = path("damaged.upg");
        writeBytes(fileName, streamBytes("Vn274 Upgrade File Header", "01", scrambled(damaged)));
        QVERIFY(releasesigning::sign(fileName));   // the file's own checks still hold
    } else if (fault == "unsigned" || fault == "comment changed") {
        fileName = path(fault + ".upg");
        QFile::remove(fileName);
        QVERIFY(QFile::copy(upgFile, fileName));
        if (fault == "comment changed") {
            QVERIFY(releasesigning::sign(fileName, "Vn274 firmware 2.1"));
            const QString signature = signatureFileName(fileName);
            writeBytes(signature, fileBytes(signature).replace("2.1", "3.0"));
        }
    } else if (fault == "never back after the start") {
        sim::setMode(sim::Mode::Bootloader);
        sim::setNeverReturns(true);
    } else if (fault == "another serial") {
        sim::setReturnSerial("240611099");
    } else if (fault == "unplugged") {
        sim::unplug();
    } else if (fault == "no permission") {
        sim::refuseOpen(EACCES);
    } else if (fault == "never returns") {
        sim::setNeverReturns(true);
    } else {
        sim::corruptReads(sim::Memory::External, 0x100);
    }

    const Run run = tool({ "upgrade", fileName });
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.startsWith("vn274-tool upgrade: "), qPrintable(run.err));
    QVERIFY2(run.err.contains(error), qPrintable(run.err));
    // Refusals come before the procedure begins.
    QVERIFY2(shown.isEmpty() ? run.out.isEmpty() : run.out.contains(shown), qPrintable(run.out.left(2000)));
    if (fault == "no permission")
        QVERIFY(run.err.contains("60-vn274.rules") && !run.err.contains("cable"));
    if (status == 2)
        QVERIFY(sim::transfers().isEmpty());

    // A change that reached the driver is in the firmware history with the
    // line that ended it; a refusal before is not.
    const QJsonArray rows = jsonObject(tool({ "history", "--json" }).out)["history"].toArray();
    QCOMPARE(rows.size(), outcome.isEmpty() ? 0 : 1);
    if (!outcome.isEmpty()) {
        QCOMPARE(rows.at(0)["outcome"].toString(), outcome);
        QCOMPARE(rows.at(0)["succeeded"].toBool(), false);
    }
}

void TstTool::info_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");
    QTest::addColumn<QString>("error");

    const QString key = "scrambling key: " + transferKeyFingerprint() + "\n" + ReleaseKeyLine;   // of this build
    QTest::newRow("application") << "application" << 0
                                 << "mode: application\nserial: 240611027\nbootloader text 1: Vn274 boot 1.3\n"
                                    "bootloader text 2: Jun 11 2024\nstatus word: 0x80000041\n" + key << "";
    QTest::newRow("bootloader") << "bootloader" << 0
                                << "mode: bootloader\nserial: 240611027b\nbootloader text 1: Vn274 boot 1.3\n"
                                   "bootloader text 2: Jun 11 2024\nstatus word: 0x80000041\n" + key << "";
    QTest::newRow("no driver") << "unplugged" << 1 << "" << "no Vn274 on USB";
    QTest::newRow("no permission") << "no permission" << 1 << "" << "60-vn274.rules";
    QTest::newRow("read-only device node") << "read-only" << 1 << "" << "60-vn274.rules";
    QTest::newRow("held by another program") << "busy" << 1 << "" << "another program may be using it";
    QTest::newRow("version texts unreadable") << "version read fails" << 1
                                              << "mode: application\nserial: 240611027\nstatus word: 0x80000041\n" + key
                                              << "cannot read the bootloader's version texts";
}

void TstTool::info()
{
    QFETCH(QString, setup);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, error);

    sim::setStatusWord(0x80000041);
    if (setup == "bootloader")
        sim::setMode(sim::Mode::Bootloader);
    else if (setup == "unplugged")
        sim::unplug();
    else if (setup == "no permission")
        sim::refuseOpen(EACCES);
    else if (setup == "read-only")
        sim::refuseSetConfiguration(sim::Forever, EPERM);
    else if (setup == "busy")
        sim::refuseClaimInterface();
    else if (setup == "version read fails")
        sim::failTransfers(1, 1);

    const Run run = tool({ "info" });
    QCOMPARE(run.status, status);
    QCOMPARE(run.out, out);
    QVERIFY2(error.isEmpty() ? run.err.isEmpty() : run.err.contains(error), qPrintable(run.err));
}

void TstTool::infoAsJson()
{
    sim::setStatusWord(0x80000041);
    sim::setMode(sim::Mode::Bootloader);
    Run run = tool({ "info", "--json" });
    QCOMPARE(run.status, 0);
    QVERIFY(run.err.isEmpty());
    const QJsonObject expected{ { "connected", true }, { "mode", "bootloader" }, { "serial", "240611027b" },
                                { "bootloader_texts", QJsonArray({ "Vn274 boot 1.3", "Jun 11 2024" }) },
                                { "status_word", 2147483713.0 }, { "status_bits", QJsonArray({ 0, 6, 31 }) },
                                { "scrambling_key", transferKeyFingerprint() },
                                { "release_key_ids", QJsonArray({ "53BE7B6EA04F19A8" }) },
                                { "release_key_id", "53BE7B6EA04F19A8" } };
    QCOMPARE(jsonObject(run.out), expected);

    // A read that failed is null, and said on standard error with status 1.
    sim::failTransfers(9, 1);
    run = tool({ "info", "--json" });
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QString("vn274-tool info: cannot read the status word\n"));
    QJsonObject object = jsonObject(run.out);
    QVERIFY(object["status_word"].isNull() && object["status_bits"].isNull());
    QCOMPARE(object["bootloader_texts"].toArray().size(), 2);

    // No driver: the object says so, as list's empty list does.
    sim::unplug();
    run = tool({ "info", "--json" });
    QCOMPARE(run.status, 1);
    object = jsonObject(run.out);
    QCOMPARE(object["connected"], QJsonValue(false));
    for (const char *key : { "mode", "serial", "bootloader_texts", "status_word", "status_bits" })
        QVERIFY2(object[key].isNull(), key);
    QCOMPARE(object["release_key_id"], expected["release_key_id"]);
    QVERIFY(run.err.contains("no Vn274 on USB"));
}

void TstTool::showsRoundTrip_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<quint32>("address");
    QTest::addColumn<int>("size");
    QTest::newRow("programs") << "programs" << Shows::ProgramTableAddress << Shows::ProgramTableSize;
    QTest::newRow("scenes") << "scenes" << Shows::SceneTableAddress << Shows::SceneTableSize;
}

// From the driver into a file the window would write, from that file into a
// fresh driver, and back.
void TstTool::showsRoundTrip()
{
    QFETCH(QString, kind);
    QFETCH(quint32, address);
    QFETCH(int, size);
    const QByteArray table = patterned(size);
    sim::writeExternalFlash(address, scrambled(table));
    const QString extension = kind == "programs" ? ".pgm" : ".scn";

    {
        ScriptedPrompts prompts;
        prompts.answer(path("window" + extension));
        Vn274_bootloader window;
        if (kind == "programs") {
            window.slotpushButtonGetProgramsFromVn274(false);
            window.slotpushButtonSaveProgramsToFile(false);
        } else {
            window.slotpushButtonGetScenesFromVn274(false);
            window.slotpushButtonSaveScenesToFile(false);
        }
    }
    const QString fileName = path("tool" + extension);
    const Run get = tool({ "get-" + kind, fileName });
    QCOMPARE(get.status, 0);
    QVERIFY(get.out.isEmpty() && get.err.isEmpty());
    QCOMPARE(fileBytes(fileName), fileBytes(path("window" + extension)));
    QCOMPARE(sim::statusWord() & 1, 0u);   // left to the driver's player again

    sim::reset();
    QCOMPARE(tool({ "set-" + kind, fileName }).status, 0);
    QCOMPARE(sim::externalFlash(address, size), scrambled(table));
    QCOMPARE(sim::statusWord() & 1, 0u);
    QCOMPARE(tool({ "get-" + kind, path("again" + extension) }).status, 0);
    QCOMPARE(fileBytes(path("again" + extension)), fileBytes(fileName));
}

void TstTool::showsFailures_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");

    const QStringList get = { "get-programs", "@got.pgm" };
    const QStringList set = { "set-programs", "@set.pgm" };
    QTest::newRow("get, no driver") << "unplugged" << get << 1 << "no Vn274 on USB";
    QTest::newRow("set, no permission") << "no permission" << set << 1 << "60-vn274.rules";
    QTest::newRow("get, flash never left free") << "status locked" << get << 1 << "status bit 0 stayed clear";
    QTest::newRow("get, read fails") << "read fails" << get << 1 << "reading the programs from the driver's external flash failed";
    QTest::newRow("get, unwritable file") << "" << QStringList({ "get-scenes", "@no-folder/got.scn" }) << 2 << "cannot write";
    QTest::newRow("get, unwritable JSON") << "" << QStringList({ "get-programs", "@no-folder/got.json" }) << 2
                                          << "cannot write " + path("no-folder/got.json") + ": ";
    QTest::newRow("set, write fails") << "write fails" << set << 1 << "writing the programs to the driver's external flash failed";
    QTest::newRow("set, read back differs") << "read back differs" << set << 1
                                            << "the programs read back from the driver differ from " + path("set.pgm");
}

void TstTool::showsFailures()
{
    QFETCH(QString, fault);
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, error);

    writeBytes(path("set.pgm"), streamBytes("Vn274 Programs File", "Version 01", patterned(Shows::ProgramTableSize)));
    if (fault == "unplugged")
        sim::unplug();
    else if (fault == "no permission")
        sim::refuseOpen(EACCES);
    else if (fault == "status locked")
        sim::setStatusLockedBits(1);
    else if (fault == "read fails")
        sim::failTransfers(5, sim::Forever);
    else if (fault == "write fails")
        sim::failTransfers(6, sim::Forever);
    else if (fault == "read back differs")
        sim::corruptReads(sim::Memory::External, Shows::ProgramTableAddress + 100);

    const Run run = tool(withPaths(args));
    QCOMPARE(run.status, status);
    QVERIFY2(run.err.contains(error), qPrintable(run.err));
    QVERIFY(!QFile::exists(path("got.pgm")));
}

// --- Shows as JSON ----------------------------------------------------------------

void TstTool::showsAsJson_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QByteArray>("table");

    for (const QString kind : { "programs", "scenes" }) {
        const int size = kind == "programs" ? Shows::ProgramTableSize : Shows::SceneTableSize;
        const auto row = [&kind](const char *name) -> QTestData & { return QTest::newRow(qPrintable(kind + ", " + name)) << kind; };
        row("fresh window") << QByteArray(size, '\0');
        row("erased driver") << QByteArray(size, char(0xFF));
        row("patterned") << patterned(size);
        row("demo") << (kind == "programs" ? demoPrograms() : demoScenes());
        for (quint32 seed = 1; seed <= 3; ++seed)
            row(qPrintable(QStringLiteral("random %1").arg(seed))) << randomTable(seed, size);
    }
}

// Every table comes back byte for byte through JSON: through the tool, the
// window and the driver.
void TstTool::showsAsJson()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, table);
    const bool programs = kind == "programs";
    const Shows::ShowKind showKind = programs ? Shows::ShowKind::Programs : Shows::ShowKind::Scenes;
    const QString suffix = programs ? ".pgm" : ".scn";
    const QString binary = path("show" + suffix);
    const QString json = path("show.json");
    QCOMPARE(programs ? Shows::saveProgramsFile(binary, table) : Shows::saveScenesFile(binary, table), Shows::FileResult::Ok);

    QCOMPARE(tool({ "show2json", binary, json }).status, 0);
    const Run printed = tool({ "show2json", binary });
    QCOMPARE(printed.status, 0);
    QCOMPARE(printed.out.toUtf8(), fileBytes(json));
    QCOMPARE(tool({ "json2show", json, path("back" + suffix) }).status, 0);
    QCOMPARE(fileBytes(path("back" + suffix)), fileBytes(binary));

    // A change of one lamp is a change of one line.
    QByteArray changed = table;
    changed[5 * Shows::RecordSize + 7] = char(changed.at(5 * Shows::RecordSize + 7) ^ 0x10);
    const QList<QByteArray> before = fileBytes(json).split('\n');
    const QList<QByteArray> after = Shows::showToJson(showKind, changed).split('\n');
    QCOMPARE(after.size(), before.size());
    int changedLines = 0;
    for (int i = 0; i < before.size(); ++i)
        changedLines += before.at(i) != after.at(i) ? 1 : 0;
    QCOMPARE(changedLines, 1);

    // The window loads it as one step and saves both forms; "window" chosen
    // under the JSON filter is JSON without the extension.
    const QString filters = programs ? "Programs Files (*.pgm);;Programs as JSON (*.json)"
                                     : "Scens Files (*.scn);;Scenes as JSON (*.json)";
    {
        ScriptedPrompts prompts;
        prompts.answer(json).answer(path("window" + suffix)).answer(QStringList({ path("window"), filters.section(";;", 1) }));
        Vn274_bootloader window;
        EditedTable *edits = programs ? window.programEdits() : window.sceneEdits();
        if (programs) {
            window.slotpushButtonLoadProgramsFromFile(false);
            window.slotpushButtonSaveProgramsToFile(false);
            window.slotpushButtonSaveProgramsToFile(false);
        } else {
            window.slotpushButtonLoadScenesFromFile(false);
            window.slotpushButtonSaveScenesToFile(false);
            window.slotpushButtonSaveScenesToFile(false);
        }
        QVERIFY(prompts.boxes().isEmpty());
        QCOMPARE(prompts.asked.at(0).filter, filters);
        QCOMPARE(prompts.asked.at(1).filter, filters);
        QCOMPARE(edits->bytes(), table);
        QCOMPARE(fileBytes(path("window" + suffix)), fileBytes(binary));
        QCOMPARE(fileBytes(path("window")), fileBytes(json));
        const bool zero = table.count('\0') == table.size();
        QCOMPARE(edits->history()->count(), zero ? 0 : 1);
        edits->history()->undo();
        QCOMPARE(edits->bytes(), QByteArray(table.size(), '\0'));
    }

    // Into the driver from the JSON without its extension, and out as JSON.
    QCOMPARE(tool({ "set-" + kind, path("window") }).status, 0);
    QCOMPARE(sim::externalFlash(programs ? Shows::ProgramTableAddress : Shows::SceneTableAddress, table.size()),
             scrambled(table));
    QCOMPARE(tool({ "get-" + kind, path("got.json") }).status, 0);
    QCOMPARE(fileBytes(path("got.json")), fileBytes(json));
}

void TstTool::jsonRefusals_data()
{
    QTest::addColumn<QString>("kind");        // offered as
    QTest::addColumn<QByteArray>("json");
    QTest::addColumn<bool>("eitherKind");     // refused by json2show too, which takes either kind
    QTest::addColumn<QString>("problem");

    const QByteArray programs = Shows::showToJson(Shows::ShowKind::Programs, patterned(Shows::ProgramTableSize));
    const QByteArray scenes = Shows::showToJson(Shows::ShowKind::Scenes, patterned(Shows::SceneTableSize));
    const int step = 6 + 2 * 22 + 5;   // the line of programs[2].steps[5]
    const int scene = 5 + 7;           // of scenes[7]
    const QString at = "programs[2].steps[5]";
    const auto row = [](const char *name, const QByteArray &json, const QString &problem) {
        QTest::newRow(name) << "programs" << json << true << problem;
    };

    row("broken JSON", edited(programs, 3, "1,", "1,,"), "broken JSON at line 3, column 17");
    row("empty", "", "broken JSON at line 1, column 1");
    row("an array", "[]", "expected an object, found an array");
    // Not "vn274-programs" for set-programs; neither kind for json2show.
    row("unknown format", edited(programs, 2, "vn274-programs", "vn274-show"), "format: \"vn274-show\" is n");
    QTest::newRow("scenes as programs") << "programs" << scenes << false << "format: \"vn274-scenes\" is not \"vn274-programs\"";
    QTest::newRow("programs as scenes") << "scenes" << programs << false << "format: \"vn274-programs\" is not \"vn274-scenes\"";
    row("version 2", edited(programs, 3, "1", "2"), "version: 2 is not a version this program reads (it reads 1)");
    row("no version", edited(programs, 3, ".*", ""), "missing key \"version\"");
    row("a comment", edited(programs, 3, "1,", "1, \"comment\": \"Tuesday\","), "unknown key \"comment\"");
    row("seven programs", programs.left(programs.lastIndexOf(",\n    {\"steps\"")) + programs.mid(programs.lastIndexOf("\n  ]")),
        "programs: expected 8 entries, found 7");
    row("steps misspelt", edited(programs, 5, "steps", "step"), "programs[0]: unknown key \"step\"");
    // The parser keeps the second and says nothing; a key written \u-escaped is the same key.
    row("xfade twice", edited(programs, step, "\"xfade\"", "\"xfade\": 7, \"\\u0078fade\""), at + ": key \"xfade\" given twice");
    row("a key given twice in a thrown-away value", edited(programs, step, "\"xfade\"", "\"xfade\": {\"\\n\": {\"a\": 1, \"a\": 2}}, \"xfade\""),
        at + ".xfade[\"\\n\"]: key \"a\" given twice");
    row("19 steps", edited(programs, step, ".*", ""), "programs[2].steps: expected 20 entries, found 19");
    row("xfade not whole", edited(programs, step, "(?<=xfade\": )-?\\d+", "2.5"), at + ".xfade: 2.5 is not a whole number");
    row("scene time past 32 bits", edited(programs, step, "(?<=scene_time_ms\": )-?\\d+", "2147483648"),
        at + ".scene_time_ms: 2147483648 does not fit its field (-2147483648 to 2147483647)");
    row("end marker 256", edited(programs, step, "(?<=end_marker\": )\\d+", "256"),
        at + ".end_marker: 256 does not fit its field (0 to 255)");
    row("end marker true", edited(programs, step, "(?<=end_marker\": )\\d+", "true"),
        at + ".end_marker: expected a whole number, found true");
    row("no lamps", edited(programs, step, "\"lamps\": \\[[^]]*\\], ", ""), at + ": missing key \"lamps\"");
    row("eleven lamps", edited(programs, step, "\"#\\w+\", ", ""), at + ".lamps: expected 12 entries, found 11");
    row("short colour", edited(programs, step, "\"#\\w+\"", "\"#12345\"", 3), at + ".lamps[3]: \"#12345\" is not a colour #RRGGBB");
    row("colour not hexadecimal", edited(programs, step, "\"#\\w+\"", "\"#GG0000\"", 3),
        at + ".lamps[3]: \"#GG0000\" is not a colour #RRGGBB");
    row("colour as a number", edited(programs, step, "\"#\\w+\"", "16711680", 3), at + ".lamps[3]: expected a string, found a number");
    row("reserved short", edited(programs, step, "(?<=reserved\": )\"\\w+\"", "\"0000\""),
        at + ".reserved: \"0000\" is not 6 hexadecimal digits");
    row("over 1 MiB", programs + QByteArray(Shows::MaxJsonBytes, ' '), "larger than 1 MiB");
    const auto sceneRow = [](const char *name, const QByteArray &json, const QString &problem) {
        QTest::newRow(name) << "scenes" << json << true << problem;
    };
    sceneRow("nine scenes", edited(scenes, scene, "$", ",\n" + QString::fromUtf8(scenes.split('\n').at(scene - 1))),
             "scenes: expected 8 entries, found 9");
    sceneRow("scene lamp", edited(scenes, scene, "\"#\\w+\"", "\"#00000G\"", 11), "scenes[7].lamps[11]: \"#00000G\" is not a colour #RRGGBB");
}

// A refused JSON show writes no file, leaves the driver untouched and the
// window's table as it was, and says where and why.
void TstTool::jsonRefusals()
{
    QFETCH(QString, kind);
    QFETCH(QByteArray, json);
    QFETCH(bool, eitherKind);
    QFETCH(QString, problem);
    const bool programs = kind == "programs";
    const QString file = path("refused.json");
    writeBytes(file, json);

    const QString out = path("refused.show");
    if (eitherKind) {
        const Run run = tool({ "json2show", file, out });
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.startsWith("vn274-tool json2show: " + file + ": ") && run.err.contains(problem), qPrintable(run.err));
        QVERIFY(!QFile::exists(out));
    }
    const Run set = tool({ "set-" + kind, file });
    QCOMPARE(set.status, 2);
    QVERIFY2(set.err.startsWith("vn274-tool set-" + kind + ": " + file + ": ") && set.err.contains(problem), qPrintable(set.err));
    QVERIFY(sim::transfers().isEmpty());

    ScriptedPrompts prompts;
    prompts.answer(file);
    Vn274_bootloader window;
    const QByteArray before = programs ? window.programTable() : window.sceneTable();
    if (programs)
        window.slotpushButtonLoadProgramsFromFile(false);
    else
        window.slotpushButtonLoadScenesFromFile(false);
    QCOMPARE(prompts.boxes().size(), 1);
    QVERIFY2(prompts.boxes().first().startsWith("critical|File error|") && prompts.boxes().first().contains(problem),
             qPrintable(prompts.boxes().first()));
    QCOMPARE(programs ? window.programTable() : window.sceneTable(), before);
    QCOMPARE((programs ? window.programEdits() : window.sceneEdits())->history()->count(), 0);
}

// --- Several drivers -------------------------------------------------------------

void TstTool::listDrivers()
{
    sim::addDriver("240611028", sim::Mode::Bootloader);
    sim::addDevice(sim::VendorId, sim::ProductId, QByteArray("\x17\x02", 2));   // another model: left out
    Run run = tool({ "list" });
    QCOMPARE(run.status, 0);
    QVERIFY(run.err.isEmpty());
    QCOMPARE(run.out, QString("bus 002 device 002 application 240611027\n"
                              "bus 002 device 003 bootloader 240611028b\n"));

    run = tool({ "list", "--json" });
    QCOMPARE(run.status, 0);
    const QJsonObject expected{ { "drivers", QJsonArray{
            QJsonObject{ { "bus", 2 }, { "device", 2 }, { "mode", "application" }, { "serial", "240611027" } },
            QJsonObject{ { "bus", 2 }, { "device", 3 }, { "mode", "bootloader" }, { "serial", "240611028b" } } } } };
    QCOMPARE(jsonObject(run.out), expected);
    QVERIFY(onlyIdentified(sim::driver(0)) && onlyIdentified(sim::driver(1)));

    // A device with the ids that cannot be opened may be a driver missing from the list.
    sim::driver(1).refuseOpen(EACCES);
    run = tool({ "list" });
    QCOMPARE(run.status, 1);
    QCOMPARE(run.out, QString("bus 002 device 002 application 240611027\n"));
    QVERIFY2(run.err.startsWith("vn274-tool list: bus 002 device 003: the Vn274 is there but this user may not open it"),
             qPrintable(run.err));

    sim::reset();
    sim::unplug();
    run = tool({ "list", "--json" });
    QCOMPARE(run.status, 1);
    QCOMPARE(jsonObject(run.out), QJsonObject({ { "drivers", QJsonArray() } }));
    QVERIFY(run.err.contains("no Vn274 on USB"));
}

void TstTool::chooseBySerial_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("secondInBootloader");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("shown");   // part of standard output or, failing, of standard error

    QTest::newRow("info of the second") << QStringList({ "info", "--serial", "240611028" }) << false << 0
                                        << "serial: 240611028\nbootloader text 1: Vn274 boot 1.3\n"
                                           "bootloader text 2: Jun 11 2024\nstatus word: 0x00000005\n";
    QTest::newRow("the bootloader's form") << QStringList({ "info", "--serial=240611028b" }) << false << 0
                                           << "serial: 240611028\n";
    QTest::newRow("the second in its bootloader") << QStringList({ "info", "--json", "--serial", "240611028" }) << true << 0
                                                  << "\"serial\":\"240611028b\"";
    QTest::newRow("the first") << QStringList({ "info", "--serial", "240611027" }) << false << 0
                               << "serial: 240611027\n";
    QTest::newRow("scenes of the second") << QStringList({ "get-scenes", "--serial", "240611028", "@got.scn" }) << false
                                          << 0 << "";
    QTest::newRow("no such driver") << QStringList({ "info", "--serial", "999999999" }) << false << 1
                                    << "vn274-tool info: no Vn274 with the serial number 999999999 on USB";
    QTest::newRow("no serial number") << QStringList({ "get-scenes", "--serial=", "@got.scn" }) << false << 2
                                      << "--serial takes the driver's serial number";
    QTest::newRow("upgrade --all of the second") << QStringList({ "upgrade", "--all", "--serial", "240611028", "@sample.upg" })
                                                 << true << 0 << "  the new application runs\n";
    QTest::newRow("upgrade --all, one of them missing")
            << QStringList({ "upgrade", "--all", "--serial", "240611028", "--serial", "999999999", "@sample.upg" })
            << false << 1 << "vn274-tool upgrade: no Vn274 with the serial number 999999999 on USB";
}

void TstTool::chooseBySerial()
{
    QFETCH(QStringList, args);
    QFETCH(bool, secondInBootloader);
    QFETCH(int, status);
    QFETCH(QString, shown);

    const sim::Driver first = sim::driver(0);
    const sim::Driver second = sim::addDriver("240611028", secondInBootloader ? sim::Mode::Bootloader
                                                                              : sim::Mode::Application);
    second.setStatusWord(5);
    const QByteArray secondScenes = patterned(Shows::SceneTableSize);
    second.writeExternalFlash(Shows::SceneTableAddress, scrambled(secondScenes));

    const Run run = tool(withPaths(args));
    QCOMPARE(run.status, status);
    QVERIFY2((status == 0 ? run.out : run.err).contains(shown), qPrintable(run.out + run.err));
    QVERIFY(onlyIdentified(args.contains("240611027") ? second : first));
    if (args.first() == "get-scenes" && status == 0) {
        writeBytes(path("expected.scn"), streamBytes("Vn274 Scenes File", "Version 01", secondScenes));
        QCOMPARE(fileBytes(path("got.scn")), fileBytes(path("expected.scn")));
    }
    QFile::remove(path("got.scn"));
}

void TstTool::severalDriversWithoutSerial_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QString>("second");    // the second driver's serial string
    QTest::addColumn<QString>("refusal");   // the first line of the refusal
    const QString none = "2 Vn274 drivers are connected; choose one with --serial:";
    for (const QStringList &args : { QStringList({ "upgrade", "@sample.upg" }), QStringList({ "info" }),
                                     QStringList({ "get-programs", "@got.pgm" }), QStringList({ "set-scenes", "@shows.scn" }) })
        QTest::newRow(qPrintable(args.first())) << args << "240611028" << none;
    // Two drivers stamped with one serial number: --serial cannot tell them apart either.
    const QString same = "2 Vn274 drivers have the serial number 240611027; --serial cannot choose between them:";
    QTest::newRow("upgrade, one serial twice") << QStringList({ "upgrade", "--serial", "240611027", "@sample.upg" })
                                               << "240611027b" << same;
    QTest::newRow("info, one serial twice") << QStringList({ "info", "--serial=240611027b" }) << "240611027" << same;
    // Nor can a change of several at once follow either through its restarts.
    const QString apart = "2 Vn274 drivers have the serial number 240611027; a change could not tell them apart:";
    QTest::newRow("upgrade --all, one serial twice") << QStringList({ "upgrade", "--all", "@sample.upg" })
                                                     << "240611027b" << apart;
    QTest::newRow("station, one serial twice") << QStringList({ "station", "@sample.upg" }) << "240611027b" << apart;
}

// Two drivers and no --serial: the command names them and touches neither.
void TstTool::severalDriversWithoutSerial()
{
    QFETCH(QStringList, args);
    QFETCH(QString, second);
    QFETCH(QString, refusal);
    const bool bootloader = second.endsWith('b');
    sim::addDriver(second.left(9).toLatin1(), bootloader ? sim::Mode::Bootloader : sim::Mode::Application);
    const QByteArray before = snapshot(sim::driver(0)) + snapshot(sim::driver(1));

    const Run run = tool(withPaths(args));
    QCOMPARE(run.status, 2);
    QVERIFY(run.out.isEmpty());
    QCOMPARE(run.err, "vn274-tool " + args.first() + ": " + refusal + "\n"
                      "  bus 002 device 002 application 240611027\n"
                      "  bus 002 device 003 " + (bootloader ? "bootloader " : "application ") + second + "\n");
    QVERIFY(onlyIdentified(sim::driver(0)) && onlyIdentified(sim::driver(1)));
    QCOMPARE(snapshot(sim::driver(0)) + snapshot(sim::driver(1)), before);
    QVERIFY(!QFile::exists(path("got.pgm")));

    // One Vn274 beside a device of another model with the same ids: nothing to choose.
    sim::reset();
    sim::addDevice(sim::VendorId, sim::ProductId, QByteArray("\x17\x02", 2), true);
    QCOMPARE(tool({ "info" }).status, 0);
}

void TstTool::upgradeTheSecondOfTwo()
{
    const sim::Driver first = sim::driver(0);
    first.writeExternalFlash(Shows::SceneTableAddress, scrambled(patterned(Shows::SceneTableSize)));
    first.setStatusWord(0x41);
    const sim::Driver second = sim::addDriver("240611028");
    second.setReenumeration(2, 600000);
    const QByteArray firstBefore = snapshot(first);

    const Run run = tool({ "upgrade", "--serial", "240611028", upgFile });
    QCOMPARE(run.status, 0);
    QVERIFY(run.out.contains("\nSerial:240611028b\n"));
    QCOMPARE(second.internalFlash(0x08004000, 0x1C000), image.mid(0x4000, 0x1C000));
    QCOMPARE(second.externalFlash(0, 0x14000), scrambled(image.mid(0x20000, 0x14000)));
    QCOMPARE(second.mode(), sim::Mode::Application);
    // The first, enumerated ahead of it all along, untouched byte for byte.
    QCOMPARE(snapshot(first), firstBefore);
    QVERIFY(onlyIdentified(first));
}

// Without --serial the one driver there is, is followed by its serial through
// the restart, even when another one, already in its bootloader, comes onto
// the bus ahead of it meanwhile.
void TstTool::upgradeFollowsItsDriverThroughTheRestart()
{
    intruderArrived = false;
    upgradesteps::setSleepFunction(sleepWhileAnIntruderArrives);
    const Run run = tool({ "upgrade", upgFile });
    QVERIFY(intruderArrived);
    QCOMPARE(run.status, 0);
    QCOMPARE(sim::driver(0).internalFlash(0x08004000, 0x1C000), image.mid(0x4000, 0x1C000));
    const sim::Driver intruder = sim::driver(1);
    QCOMPARE(intruder.internalFlash(0x08004000, 0x1C000), QByteArray(0x1C000, char(0xFF)));
    QVERIFY(onlyIdentified(intruder));
}

void TstTool::upgradeAllOutputs_data()
{
    QTest::addColumn<bool>("terminal");
    QTest::addColumn<QStringList>("options");
    QTest::newRow("on a terminal") << true << QStringList();
    QTest::newRow("as JSON") << false << QStringList("--json");
}

// Three drivers at once, the second never back from its restart into its
// bootloader, the third in its bootloader from the start: on a terminal
// their lines are redrawn in place and end with their results, above the
// table; as JSON, one object each and nothing else.
void TstTool::upgradeAllOutputs()
{
    QFETCH(bool, terminal);
    QFETCH(QStringList, options);
    sim::addDriver("240611028").setNeverReturns(true);
    sim::addDriver("240611029", sim::Mode::Bootloader).setReenumeration(2, 600000);

    const Run run = tool(QStringList({ "upgrade", "--all", upgFile }) + options, terminal);
    QCOMPARE(run.status, 1);
    QCOMPARE(run.err, QString("vn274-tool upgrade: warning: the record never issued the serial numbers 240611027, "
                              "240611028, 240611029; their firmware changes are recorded all the same\n"
                              "vn274-tool upgrade: the firmware change failed on 1 of 3 drivers: 240611028\n"));
    const QString neverBack = "USB timout; Check USB cable";
    if (terminal) {
        const QStringList shown = screen(run.out);
        QCOMPARE(shown.mid(0, 7), QStringList({ upgFile, SignedLine, "240611027   the new application runs",
                                                "240611028   " + neverBack + " (restarting into its bootloader)",
                                                "240611029   the new application runs", "",
                                                "serial     seconds  result" }));
        QVERIFY2(QRegularExpression("^240611028 +[0-9]+\\.[0-9]  " + neverBack).match(shown.at(8)).hasMatch(),
                 qPrintable(shown.at(8)));
        QVERIFY(run.out.count("\x1b[3A") >= 1);   // redrawn in place, at the end at least
        return;
    }
    QStringList lines = run.out.split('\n');
    QCOMPARE(lines.takeLast(), QString());
    QCOMPARE(lines.size(), 3);
    const QStringList outcomes = { "success", neverBack, "success" };
    const QStringList steps = { "starting_application", "restarting_into_bootloader", "starting_application" };
    for (int i = 0; i < 3; ++i) {
        const QJsonObject object = jsonObject(lines.at(i) + '\n');
        QCOMPARE(object["serial"].toString(), QString::number(240611027 + i));
        QCOMPARE(object["succeeded"].toBool(), i != 1);
        QCOMPARE(object["outcome"].toString(), outcomes.at(i));
        QCOMPARE(object["step"].toString(), steps.at(i));
        QVERIFY(object["in_bootloader"].isNull() && object["recorded"].toBool() && object["seconds"].isDouble());
    }
}

void TstTool::stationKnowsItsDrivers_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("arrivals");

    const QStringList changed = { "arrive 240611027 002/002", "start 240611027", "arrive 240611027 002/003",
                                  "end 240611027 002/002 002/003 002/004" };
    QTest::newRow("its restarts while its change runs")
            << QStringList({ "arrive 240611027 002/002", "start 240611027", "arrive 240611027 002/003",
                             "arrive 240611027 002/004", "end 240611027 002/002 002/003 002/004" })
            << QStringList({ "new", "own restart", "own restart" });
    QTest::newRow("its last restart told after its change ended")
            << changed + QStringList("arrive 240611027 002/004") << QStringList({ "new", "own restart", "own restart" });
    QTest::newRow("plugged in again") << changed + QStringList({ "arrive 240611027 002/004", "arrive 240611027 002/005" })
                                      << QStringList({ "new", "own restart", "own restart", "plugged in again" });
    QTest::newRow("not changed, then plugged in again")
            << QStringList({ "arrive 240611027 002/002", "arrive 240611027 002/003" }) << QStringList({ "new", "new" });
}

// What the station takes a driver that arrives for: its own restarts, told
// while its change runs or only after it ended, are no arrival; a driver back
// at a device its change never took has been plugged in again.
void TstTool::stationKnowsItsDrivers()
{
    QFETCH(QStringList, events);
    QFETCH(QStringList, arrivals);
    QCOMPARE(stationArrivals(events), arrivals);
}

// --- The program -----------------------------------------------------------------

void TstTool::theProgramItself_data()
{
    QTest::addColumn<QString>("driver");   // VN274_TOOL_SIM
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("out");      // all of standard output
    QTest::addColumn<QString>("error");    // part of standard error; empty: none at all

    const QString key = "scrambling key: " + transferKeyFingerprint() + "\n" + ReleaseKeyLine;
    QTest::newRow("version") << "" << QStringList("--version") << 0 << "vn274-tool 1.02\n" + key << "";
    QTest::newRow("info") << "" << QStringList("info") << 0
                          << "mode: application\nserial: 240611027\nbootloader text 1: Vn274 boot 1.3\n"
                             "bootloader text 2: Jun 11 2024\nstatus word: 0x00000000\n" + key << "";
    QTest::newRow("info, bootloader") << "bootloader" << QStringList("info") << 0
                                      << "mode: bootloader\nserial: 240611027b\nbootloader text 1: Vn274 boot 1.3\n"
                                         "bootloader text 2: Jun 11 2024\nstatus word: 0x00000000\n" + key << "";
    QTest::newRow("no driver") << "unplugged" << QStringList("info") << 1 << ""
                               << "vn274-tool info: no Vn274 on USB (vendor id 16c0, product id 0789): check the USB cable\n";
    QTest::newRow("no permission") << "no-permission" << QStringList({ "get-scenes", "@x.scn" }) << 1 << ""
                                   << "vn274-tool get-scenes: the Vn274 is there but this user may not open it (permission denied).\n"
                                      "  The udev rule 60-vn274.rules";
    QTest::newRow("bad usage") << "" << QStringList({ "mkboot", "@boot.hex", "241231001" }) << 2 << ""
                               << "usage: vn274-tool mkboot FILE.hex YYMMDDNNN OUT.bin [--reissue]\n";
    QTest::newRow("file made") << "" << QStringList({ "mkupg", "@sample.hex", "@process.upg" }) << 0 << "" << "";
    QTest::newRow("driver set up wrongly") << "bootloder" << QStringList("info") << 2 << ""
                                           << "unknown word 'bootloder' in VN274_TOOL_SIM";
    QTest::newRow("two drivers") << "driver=240611028b" << QStringList("list") << 0
                                 << "bus 002 device 002 application 240611027\nbus 002 device 003 bootloader 240611028b\n"
                                 << "";
    QTest::newRow("two drivers, none chosen") << "driver=240611028" << QStringList("info") << 2 << ""
                                              << "2 Vn274 drivers are connected; choose one with --serial:\n";
    QTest::newRow("two drivers, one chosen") << "driver=240611028" << QStringList({ "get-scenes", "--serial", "240611028", "@x.scn" })
                                             << 0 << "" << "";
    QTest::newRow("drivers with faults")
        << "never-back,driver=240611028:stays-in-bootloader,driver=240611029b:unplugged-at-page-40:never-back"
        << QStringList("list") << 0
        << "bus 002 device 002 application 240611027\nbus 002 device 003 application 240611028\n"
           "bus 002 device 004 bootloader 240611029b\n" << "";
    QTest::newRow("unknown fault") << "driver=240611028:never-come-back" << QStringList("list") << 2 << ""
                                   << "unknown fault 'never-come-back' in VN274_TOOL_SIM";
    QTest::newRow("no such page") << "unplugged-at-page-15" << QStringList("list") << 2 << ""
                                  << "'unplugged-at-page-15' in VN274_TOOL_SIM names no application page (16 to 127)";
}

void TstTool::theProgramItself()
{
    QFETCH(QString, driver);
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, out);
    QFETCH(QString, error);

    QProcess process;
    startProgram(process, withPaths(args), driver);
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QString standardOutput = QString::fromUtf8(process.readAllStandardOutput());
    const QString standardError = QString::fromUtf8(process.readAllStandardError());

    QCOMPARE(process.exitCode(), status);
    QCOMPARE(standardOutput, out);
    // No debug lines of the USB link among the errors.
    QVERIFY2(error.isEmpty() ? standardError.isEmpty() : standardError.contains(error), qPrintable(standardError));
    if (args.first() == "mkupg")
        QCOMPARE(fileBytes(path("process.upg")), fileBytes(upgFile));
}

void TstTool::lengthFieldsCostNoMemory_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QByteArray>("start");   // the file's first bytes; 3 GB of zeros follow
    QTest::addColumn<QString>("error");

    const QByteArray claim("\xFF\xFF\xFF\xFE", 4);   // 4 GiB less 2
    const auto texts = [](const QStringList &values) {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        for (const QString &value : values)
            out << value;
        return bytes;
    };
    const QByteArray upgrade = texts({ "Vn274 Upgrade File Header", "01" });
    const QByteArray programs = texts({ "Vn274 Programs File", "Version 01" });
    const QByteArray scenes = texts({ "Vn274 Scenes File" });

    QTest::newRow("upgrade header") << QStringList({ "upginfo", "@huge" }) << claim << "wrong file header";
    QTest::newRow("upgrade image") << QStringList({ "upginfo", "@huge" }) << upgrade + claim << "wrong file version";
    // The change looks at the release signature first: the file is not read.
    QTest::newRow("upgrade, the change") << QStringList({ "upgrade", "@huge" }) << upgrade + claim
                                         << "Release signature refused: no signature file";
    QTest::newRow("programs table") << QStringList({ "set-programs", "@huge" }) << programs + claim << "wrong file length";
    QTest::newRow("scenes version") << QStringList({ "set-scenes", "@huge" }) << scenes + claim << "wrong version";
    // JSON is known by its first character; it is refused before it is read.
    QTest::newRow("JSON programs") << QStringList({ "set-programs", "@huge" }) << QByteArray("{") << "larger than 1 MiB";
}

// A file whose length field claims 4 GiB and that holds 3 GB is refused with
// the program's usual message under an address-space limit of 1 GB: the claim
// is checked before anything is read, and nothing reads the file whole.
void TstTool::lengthFieldsCostNoMemory()
{
#ifdef VN274_SANITIZER
    QSKIP("a sanitizer's shadow memory does not fit under an address-space limit; "
          "the fuzz harnesses' -malloc_limit_mb checks this in such a build");
#endif
    QFETCH(QStringList, args);
    QFETCH(QByteArray, start);
    QFETCH(QString, error);

    // Sparse: the zeros take no disk.
    QFile huge(path("huge"));
    QVERIFY(huge.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(huge.write(start), start.size());
    QVERIFY(huge.resize(3000000000LL));
    huge.close();

    QProcess process;
    process.start("sh", QStringList({ "-c", "ulimit -v 1000000 && exec \"$0\" \"$@\"", VN274_TOOL_SIM_PROGRAM })
                                + withPaths(args));
    QVERIFY(process.waitForFinished(60000));
    QFile::remove(path("huge"));
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    const QString standardError = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 2);
    QVERIFY2(standardError.contains(error), qPrintable(standardError));
}

// --- What the program writes to -----------------------------------------------------

void TstTool::outputsAsTheyStand_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("error");
    QTest::newRow("a device like /dev/null") << "@null" << 0 << "";
    QTest::newRow("a full device") << "/dev/full" << 2 << "cannot write /dev/full: No space left on device\n";
    QTest::newRow("a FIFO") << "@fifo" << 0 << "";
    QTest::newRow("a file, its permissions kept") << "@kept.bin" << 0 << "";
}

// What stands at an output's name stays what it is: a device or a FIFO is
// written into, never replaced by a file renamed over it (as root, over the
// system's /dev/null); a regular file is replaced whole and keeps its
// permissions. A failure is said with the system's reason.
void TstTool::outputsAsTheyStand()
{
    QFETCH(QString, output);
    QFETCH(int, status);
    QFETCH(QString, error);
    QString name = withPaths({ output }).first();
    int reader = -1;
    if (output == "@null" && ::mknod(QFile::encodeName(name), S_IFCHR | 0666, makedev(1, 3)) != 0)
        name = "/dev/null";   // not root: the real one, which this user cannot replace anyway
    if (output == "@fifo") {
        QCOMPARE(::mkfifo(QFile::encodeName(name), 0600), 0);
        reader = ::open(QFile::encodeName(name), O_RDONLY | O_NONBLOCK);
    }
    if (output == "@kept.bin") {
        writeBytes(name, "old");
        QVERIFY(QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    }
    struct stat before, after;
    QCOMPARE(::stat(QFile::encodeName(name), &before), 0);

    const Run run = tool({ "hex2bin", hexFile, "0x08004000", "0x080040FF", name });
    QCOMPARE(run.status, status);
    QCOMPARE(run.err, error.isEmpty() ? QString() : "vn274-tool hex2bin: " + error);
    QCOMPARE(::stat(QFile::encodeName(name), &after), 0);
    QCOMPARE(after.st_mode, before.st_mode);
    QCOMPARE(after.st_rdev, before.st_rdev);
    const QByteArray written = samplefirmware::application().left(256);
    if (reader >= 0) {
        QByteArray got(512, '\0');
        got.resize(::read(reader, got.data(), got.size()));
        ::close(reader);
        QCOMPARE(got, written);
    }
    if (output == "@kept.bin") {
        QCOMPARE(fileBytes(name), written);
        QCOMPARE(QDir(dir.path()).entryList({ ".kept.bin*" }, QDir::Hidden | QDir::Files), QStringList());
    }
    if (name.startsWith(dir.path()))   // never the system's own devices
        QFile::remove(name);
}

void TstTool::namesThatAreNotUtf8_data()
{
    QTest::addColumn<QStringList>("args");    // "%L": a name with Latin-2 bytes, "@": the test's folder
    QTest::addColumn<int>("status");
    QTest::addColumn<QString>("made");        // the file made, in its bytes
    QTest::addColumn<QString>("printed");     // the start of standard output, in its bytes

    QTest::newRow("hex2bin") << QStringList({ "hex2bin", "%L.hex", "0x08004000", "0x080040FF", "%L.bin" }) << 0
                             << "%L.bin" << "";
    QTest::newRow("mkupg") << QStringList({ "mkupg", "%L.hex", "%L.upg" }) << 0 << "%L.upg" << "";
    QTest::newRow("upginfo with its signature beside it") << QStringList({ "upginfo", "%L-signed.upg" }) << 0
                                                          << "" << "file: %L-signed.upg\n";
    QTest::newRow("get-scenes") << QStringList({ "get-scenes", "%L.scn" }) << 0 << "%L.scn" << "";
    QTest::newRow("get-scenes as JSON") << QStringList({ "get-scenes", "%L.json" }) << 0 << "%L.json" << "";
    QTest::newRow("show2json") << QStringList({ "show2json", "@shows.scn", "%L-shows.json" }) << 0 << "%L-shows.json"
                               << "";
    QTest::newRow("mkboot prints the paths as they are")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241231001", "--count", "1", "--out-dir", "%L",
                             "--no-record" })
            << 0 << "%L/Vn274Bootloader_241231001.bin" << "%L/Vn274Bootloader_241231001.bin\n";
    QTest::newRow("a missing file named as given") << QStringList({ "upginfo", "%L-missing.upg" }) << 2 << "" << "";
}

// A file name that is not UTF-8 (a Latin-2 byte from an old USB stick),
// under LANG=C.UTF-8: found, made and printed as the bytes it was given as.
void TstTool::namesThatAreNotUtf8()
{
    QFETCH(QStringList, args);
    QFETCH(int, status);
    QFETCH(QString, made);
    QFETCH(QString, printed);
    // "z" and the Latin-2 bytes of "łę": not UTF-8.
    const QString latin = filenames::fromBytes(QFile::encodeName(path("z")) + "\xB3\xEA");
    QVERIFY(latin.contains(QChar(0xDCB3)));
    const auto named = [&](QString text) { return text.replace("%L", latin); };
    QVERIFY(outputfile::write(named("%L.hex"), fileBytes(hexFile)));
    QVERIFY(outputfile::write(named("%L-signed.upg"), fileBytes(upgFile)));
    QVERIFY(outputfile::write(named("%L-signed.upg.minisig"), fileBytes(upgFile + ".minisig")));

    QStringList words;
    for (const QString &arg : withPaths(args))
        words << shellWord(named(arg));
    QProcess process;
    startProgram(process, { "-c", "exec \"$0\" " + words.join(' '), VN274_TOOL_SIM_PROGRAM }, QString(), "sh");
    QVERIFY(process.waitForFinished(30000));
    const QByteArray out = process.readAllStandardOutput(), err = process.readAllStandardError();
    QVERIFY2(process.exitCode() == status, err.constData());
    if (!made.isEmpty())
        QVERIFY2(filenames::exists(named(made)), err.constData());
    QVERIFY2(out.startsWith(filenames::toBytes(named(printed))) && out.isEmpty() == printed.isEmpty(), out.constData());
    if (status != 0)
        QVERIFY2(err.contains(filenames::toBytes(named(args.last()) + ": No such file or directory")), err.constData());
}

void TstTool::writeErrorsOnStandardOutput_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::newRow("list --json") << QStringList({ "list", "--json" });
    QTest::newRow("info") << QStringList("info");
    QTest::newRow("serials") << QStringList({ "serials", "--csv" });
    QTest::newRow("history") << QStringList("history");
    QTest::newRow("upginfo") << QStringList({ "upginfo", "@sample.upg" });
    QTest::newRow("the paths mkboot prints")
            << QStringList({ "mkboot", "@boot.hex", "--serial-from", "241231002", "--count", "2", "--out-dir", "@full" });
    QTest::newRow("--version") << QStringList("--version");
    QTest::newRow("help") << QStringList({ "help", "mkboot" });
}

// Standard output on a full disk (> /dev/full): said once on standard error
// with the system's reason, and status 2, never 0.
void TstTool::writeErrorsOnStandardOutput()
{
    QFETCH(QStringList, args);
    QCOMPARE(tool({ "mkboot", bootHex, "241231001", path("first.bin") }).status, 0);   // a record with a row
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    startProgram(process, withPaths(args));
    QVERIFY(process.waitForFinished(30000));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 2);
    QVERIFY2(err.count(QRegularExpression("^vn274-tool( [a-z]+)?: cannot write to standard output: "
                                          "No space left on device\n", QRegularExpression::MultilineOption)) == 1,
             qPrintable(err));
}

void TstTool::interruptedUpgrade_data()
{
    QTest::addColumn<int>("signal");
    QTest::addColumn<int>("times");
    QTest::addColumn<QString>("outcome");   // in the firmware history
    QTest::addColumn<QStringList>("said");  // on standard error

    const QString prefix = "vn274-tool upgrade: ";
    QTest::newRow("once: the change finishes")
            << int(SIGTERM) << 1 << "success"
            << QStringList({ prefix + "interrupted: the change of the driver 240611027 will finish, for stopping now "
                                    "would leave it in its bootloader; interrupt again to stop at once\n",
                             prefix + "interrupted; the change of the driver 240611027 ran to its end first\n" });
    QTest::newRow("twice: it stops at once")
            << int(SIGINT) << 2 << "interrupted"
            << QStringList({ prefix + "interrupted again: the change of the driver 240611027 stops at its next step, "
                                    "which may leave it in its bootloader\n",
                             prefix + "the change of the driver 240611027 was stopped after \"Reset device\"; it may be "
                                    "left in its bootloader\n" });
}

// Ctrl+C (or SIGTERM) while the driver restarts into its bootloader: once,
// the change runs to its end; twice, it stops at its next step. Either way the
// firmware history gets its row, and the status is 130.
void TstTool::interruptedUpgrade()
{
    QFETCH(int, signal);
    QFETCH(int, times);
    QFETCH(QString, outcome);
    QFETCH(QStringList, said);

    QProcess process;
    startProgram(process, { "upgrade", upgFile });
    QByteArray out;
    QVERIFY2(interruptWhenShown(process, { "Reset device\n" }, signal, times, &out), out.constData());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 130);
    for (const QString &line : said)
        QVERIFY2(err.contains(line), qPrintable(err));
    QCOMPARE(out.endsWith(RunsLine.toUtf8() + '\n'), outcome == "success");
    QCOMPARE(out.contains("Writting firmware"), outcome == "success");

    const QJsonArray rows = jsonObject(tool({ "history", "--json" }).out)["history"].toArray();
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows.at(0)["outcome"].toString(), outcome);
    QCOMPARE(rows.at(0)["succeeded"].toBool(), outcome == "success");
}

// --- Several drivers at once, the program itself ------------------------------------

// Eight simulated drivers at once into a pipe, two of them faulty: the six
// good ones run their new application, the two are reported for themselves
// alone, every line is its driver's, and each has its row in the history.
void TstTool::upgradeAllAtOnce()
{
    QProcess process;
    startProgram(process, { "upgrade", upgFile, "--all" },
                 "driver=240611028,driver=240611029:never-back,driver=240611030b,driver=240611031,"
                 "driver=240611032:unplugged-at-page-40,driver=240611033,driver=240611034");
    QVERIFY(process.waitForFinished(60000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitCode(), 1);
    QVERIFY2(err.endsWith("vn274-tool upgrade: the firmware change failed on 2 of 8 drivers: 240611029, 240611032\n"),
             qPrintable(err));

    const QMap<QString, QString> failures = { { "240611029", "USB timout; Check USB cable" },
                                              { "240611032", "ERROR" } };
    const QStringList log = out.section("\n\n", 0, 0).split('\n');
    QCOMPARE(log.mid(0, 2), QStringList({ upgFile, SignedLine }));
    for (const QString &line : log.mid(2))
        QVERIFY2(QRegularExpression("^2406110(2[7-9]|3[0-4]): ").match(line).hasMatch(), qPrintable(line));
    QStringList table = out.section("\n\n", 1).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(table.takeFirst(), QString("serial     seconds  result"));
    QCOMPARE(table.size(), 8);
    for (int i = 0; i < 8; ++i) {
        const QString serial = QString::number(240611027 + i);
        QVERIFY2(table.at(i).startsWith(serial), qPrintable(table.at(i)));
        if (failures.contains(serial)) {
            QVERIFY2(table.at(i).contains("  " + failures[serial] + " ("), qPrintable(table.at(i)));
            continue;
        }
        QVERIFY2(table.at(i).endsWith("  the new application runs"), qPrintable(table.at(i)));
        QVERIFY(log.contains(serial + ": The new application runs on the driver " + serial));
    }

    const QJsonArray rows = jsonObject(tool({ "history", "--json" }).out)["history"].toArray();
    QCOMPARE(rows.size(), 8);
    QCOMPARE(historyOutcomes(rows), QStringList({ "ERROR", "USB timout; Check USB cable" })
                                            + QStringList(6, "success"));
}

void TstTool::interruptedChangesOfSeveral_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<QStringList>("waitFor");    // on standard output before the signals
    QTest::addColumn<int>("times");
    QTest::addColumn<int>("status");
    QTest::addColumn<QStringList>("said");       // on standard error
    QTest::addColumn<QStringList>("shown");      // on standard output
    QTest::addColumn<QStringList>("outcomes");   // in the firmware history

    const QString upgrade = "vn274-tool upgrade: ", station = "vn274-tool station: ";
    const QStringList all = { "upgrade", "--all", "@sample.upg" };
    const QStringList writing = { "240611027: Writting firmware", "240611028: Writting firmware" };
    const QStringList bootloaders = { "; in its bootloader, ready for another attempt" };
    QTest::newRow("upgrade --all, once: the changes finish")
            << all << writing << 1 << 130
            << QStringList({ upgrade + "interrupted: the changes of 2 drivers will finish, for stopping now would leave "
                                       "them in their bootloaders; interrupt again to stop at once\n",
                             upgrade + "interrupted; the changes in progress ran to their end first\n" })
            << QStringList({ "240611027: " + RunsLine, "240611028: The new application runs on the driver 240611028" })
            << QStringList({ "success", "success" });
    QTest::newRow("upgrade --all, twice: they stop at once")
            << all << writing << 2 << 130
            << QStringList({ upgrade + "interrupted again: the changes stop at their next step, which may leave the "
                                       "drivers in their bootloaders\n",
                             upgrade + "interrupted again: the changes of the drivers 240611027, 240611028 were "
                                       "stopped; they may be left in their bootloaders\n" })
            << bootloaders << QStringList({ "interrupted", "interrupted" });
    QTest::newRow("station, once: no new change, those in progress finish")
            << QStringList({ "station", "@sample.upg" }) << QStringList("waiting for drivers") << 1 << 0
            << QStringList(station + "interrupted: no new change starts; those in progress will finish, for stopping "
                                     "them now would leave their drivers in their bootloaders; interrupt again to "
                                     "stop at once\n")
            << QStringList({ "240611027: the new application runs\n", "240611028: the new application runs\n",
                             "summary: 2 changed, 0 failed, 0 skipped\n" })
            << QStringList({ "success", "success" });
    QTest::newRow("station, twice: the summary names the drivers left in their bootloaders")
            << QStringList({ "station", "@sample.upg" }) << QStringList("waiting for drivers") << 2 << 1
            << QStringList(station + "interrupted again: the changes in progress stop at their next step, which may "
                                     "leave their drivers in their bootloaders\n")
            << QStringList({ "summary: 0 changed, 2 failed, 0 skipped\n  failed: 240611027, 240611028\n"
                             "  left in their bootloaders, ready for another attempt: 240611027, 240611028\n" })
            << QStringList({ "interrupted", "interrupted" });
}

// Ctrl+C (real signals to the program) while two drivers in their
// bootloaders are changed over a slow link: once, the changes run to their
// end; twice, they stop at their next page. upgrade --all ends with 130 as
// for one driver, the station with its summary. Every row says how it ended.
void TstTool::interruptedChangesOfSeveral()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, waitFor);
    QFETCH(int, times);
    QFETCH(int, status);
    QFETCH(QStringList, said);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, outcomes);

    QProcess process;
    startProgram(process, withPaths(args), "bootloader,latency-2,driver=240611028b:latency-2");
    QByteArray out;
    QVERIFY2(interruptWhenShown(process, waitFor, SIGINT, times, &out), out.constData());
    const QString err = QString::fromUtf8(process.readAllStandardError());
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), status);
    for (const QString &text : said)
        QVERIFY2(err.contains(text), qPrintable(err));
    for (const QString &text : shown)
        QVERIFY2(out.contains(text.toUtf8()), out.constData());
    QCOMPARE(historyOutcomes(jsonObject(tool({ "history", "--json" }).out)["history"].toArray()), outcomes);
}

void TstTool::stationOptions_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QString>("issued");    // a serial number the record issued first
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("summary");

    QTest::newRow("--count") << QStringList({ "--count", "1" }) << ""
        << QStringList({ "240611027: arrived in bootloader mode; never issued by the production record; its change begins\n",
                         "240611028: arrived in bootloader mode; never issued by the production record; not changed: "
                         "--count 1 reached\n",
                         "240611027: the new application runs\n" })
        << "summary: 1 changed, 0 failed, 1 skipped\n  changed: 240611027\n  skipped: 240611028\n";
    QTest::newRow("--issued-only") << QStringList({ "--issued-only", "--count", "1" }) << "240611028"
        << QStringList({ "240611027: arrived in bootloader mode; never issued by the production record; not changed: "
                         "--issued-only\n",
                         "240611028: arrived in bootloader mode; its change begins\n",
                         "240611028: the new application runs\n" })
        << "summary: 1 changed, 0 failed, 1 skipped\n  changed: 240611028\n  skipped: 240611027\n";
}

// Two drivers in their bootloaders at the station: --count ends it after
// the changes it names, --issued-only leaves a serial number the record never
// issued alone (a flag on its line otherwise).
void TstTool::stationOptions()
{
    QFETCH(QStringList, options);
    QFETCH(QString, issued);
    QFETCH(QStringList, shown);
    QFETCH(QString, summary);
    if (!issued.isEmpty())
        QCOMPARE(tool({ "mkboot", bootHex, issued, path("issued.bin") }).status, 0);

    QProcess process;
    startProgram(process, QStringList({ "station", upgFile }) + options, "bootloader,driver=240611028b");
    QVERIFY(process.waitForFinished(30000));
    const QString out = QString::fromUtf8(process.readAllStandardOutput());
    QCOMPARE(process.exitCode(), 0);
    for (const QString &line : shown)
        QVERIFY2(out.count(line) == 1, qPrintable(out));
    QVERIFY2(out.endsWith(summary), qPrintable(out));
    const QByteArray err = process.readAllStandardError();
    QVERIFY2(err.isEmpty(), err.constData());
}

QTEST_MAIN(TstTool)
#include "tst_tool.moc"
