// The service panel of the main window against the simulated driver, with
// scripted dialogs: connection controls and the step machine, memory and
// status commands, external flash commands and their progress bars.
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "common/testfiles.h"
#include "service/servicepresets.h"
#include "simulator/simdriver.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"
#include "widgets/monospacefont.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QFontInfo>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

namespace {

// Debug output, line by line, with the time it was written.
struct LogLine
{
    qint64 ms;
    QString text;
};
QList<LogLine> debugLog;
QElapsedTimer testClock;
QtMessageHandler previousHandler = nullptr;

void recordMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtDebugMsg)
        debugLog << LogLine{ testClock.elapsed(), message };
    else
        previousHandler(type, context, message);
}

QStringList debugLines()
{
    QStringList lines;
    for (const LogLine &line : debugLog)
        lines << line.text;
    return lines;
}

QList<LogLine> timerStates()
{
    QList<LogLine> states;
    std::copy_if(debugLog.cbegin(), debugLog.cend(), std::back_inserter(states),
                 [](const LogLine &line) { return line.text.startsWith("TIMER_STATE_"); });
    return states;
}

QTextBrowser *messageArea(Vn274_bootloader &window)
{
    return window.findChild<QTextBrowser *>("txt");
}

QStringList shownLines(Vn274_bootloader &window)
{
    return messageArea(window)->toPlainText().split('\n');
}

// The lines of a hex dump, "0x0010: ..." and so on.
QStringList dumpLines(const QStringList &lines)
{
    static const QRegularExpression dumpLine("^0x[0-9a-f]{4,}:");
    QStringList found;
    for (const QString &line : lines)
        if (dumpLine.match(line).hasMatch())
            found << line;
    return found;
}

// The bytes a hex dump shows, read back from its hex columns.
QByteArray dumpedBytes(const QStringList &lines)
{
    QByteArray bytes;
    for (const QString &line : dumpLines(lines)) {
        const QString hex = line.section(':', 1).section(" < ", 0, 0);
        for (const QString &pair : hex.split(' ', Qt::SkipEmptyParts))
            bytes += char(pair.toUInt(nullptr, 16));
    }
    return bytes;
}

QByteArray patterned(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 13 + i / 256 + seed) & 0xff);
    return bytes;
}

QList<sim::Transfer> transfersOf(int request)
{
    QList<sim::Transfer> found;
    for (const sim::Transfer &t : sim::transfers())
        if (t.device == 0 && t.request == request)
            found << t;
    return found;
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QList<int> intDialog(const AskedPrompt &p)
{
    return { p.value, p.minValue, p.maxValue, p.step };
}

} // namespace

class TestService : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    // connection
    void connectReportsTheLink();
    void disconnectWritesAPermutation();
    void runApplicationSwitchesFirmware();
    void stepMachineWalksIntoTheBootloader();
    // memory and status
    void readPresetsAndConversion();
    void readShowsTheMemory();
    void failedReadShowsZerosFromTheFailingTransfer();
    void testWriteSendsThePattern();
    void writePageFillsOnePage();
    void statusCommands();
    // external flash
    void writeExtFlashBin();
    void writeExtFlashBinFailures();
    void writeExternalFlash();
    void readExternalFlash();
    void progressBarsFollowOnlyTheSettingsTab();
};

void TestService::initTestCase()
{
    testClock.start();
    previousHandler = qInstallMessageHandler(recordMessage);
}

void TestService::init()
{
    sim::reset();
    servicePresets() = ServicePresets();
    debugLog.clear();
}

void TestService::connectReportsTheLink()
{
    Vn274_bootloader window;
    window.slotpushButtonConnect(false);
    QCOMPARE(sim::openHandles(), 1);

    sim::unplug();
    window.slotpushButtonConnect(false);
    QCOMPARE(shownLines(window), QStringList({ "Connect OK", "Connect ERROR" }));
    QVERIFY(debugLines().contains("Vn274_bootloader::slotpushButtonConnect(bool t)"));
    QCOMPARE(debugLines().filter(QRegularExpression("^Connect ")), QStringList({ "Connect OK", "Connect ERROR" }));
}

void TestService::disconnectWritesAPermutation()
{
    Vn274_bootloader window;
    window.slotpushButtonConnect(false);
    QFile::remove("dane.csv");

    QStringList orders;
    for (int press = 0; press < 2; ++press) {
        window.slotpushButtonDisconnect(false);
        QCOMPARE(sim::openHandles(), 0);

        const QByteArray csv = fileBytes("dane.csv");
        QVERIFY2(QRegularExpression("^([0-9]+,){191}$").match(QString::fromLatin1(csv)).hasMatch(), csv.constData());
        const QList<QByteArray> fields = csv.chopped(1).split(',');
        QSet<int> numbers, expected;
        for (const QByteArray &field : fields)
            numbers << field.toInt();
        for (int n = 351; n <= 541; ++n)
            expected << n;
        QCOMPARE(numbers, expected);

        // One "r -> n" line per number, in the file's order; the area was cleared first.
        const QStringList lines = shownLines(window);
        QCOMPARE(lines.size(), 191);
        for (int i = 0; i < lines.size(); ++i) {
            const QRegularExpressionMatch pair = QRegularExpression("^(\\d+) -> (\\d+)$").match(lines.at(i));
            QVERIFY2(pair.hasMatch(), qPrintable(lines.at(i)));
            QCOMPARE(pair.captured(2).toInt(), fields.at(i).toInt());
            QCOMPARE(pair.captured(1).toInt() % 191 + 351, fields.at(i).toInt());
        }
        orders << QString::fromLatin1(csv);
    }
    QVERIFY(orders.at(0) != orders.at(1));
}

void TestService::runApplicationSwitchesFirmware()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    window.slotpushButtonRunApplication(false);
    QCOMPARE(transfersOf(USBRQ518::RunApplicationRequest).size(), 1);
    QCOMPARE(sim::mode(), sim::Mode::Bootloader);
    QVERIFY(messageArea(window)->toPlainText().isEmpty());
    QVERIFY(prompts.asked.isEmpty());

    // The device may still be away; the next operation finds it in its bootloader.
    QTRY_COMPARE(window.device()->connect(), 0);
    QCOMPARE(window.device()->getSerial(), QByteArray(sim::DefaultSerial) + 'b');
}

void TestService::stepMachineWalksIntoTheBootloader()
{
    Vn274_bootloader window;

    // From state 0 the machine only arms itself. Called again at once, it runs
    // all steps; a timer left over from state 0 would show up as two steps
    // without a second between them.
    window.slotTimeout();
    QCOMPARE(timerStates().size(), 1);
    window.slotTimeout();
    QTRY_VERIFY_WITH_TIMEOUT(timerStates().size() == 8, 12000);

    const QStringList expected = { "TIMER_STATE_NULL", "TIMER_STATE_DISCONNECT1", "TIMER_STATE_CONNECT1",
                                   "TIMER_STATE_RUN_BOOTLOADER", "TIMER_STATE_DISCONNECT2",
                                   "TIMER_STATE_CONNECT_BOOTLOADER", "TIMER_STATE_PROGRAM", "TIMER_STATE_NULL" };
    const QList<LogLine> states = timerStates();
    for (int i = 0; i < states.size(); ++i) {
        QCOMPARE(states.at(i).text, expected.at(i));
        if (i >= 2)
            QVERIFY2(states.at(i).ms - states.at(i - 1).ms >= 950, qPrintable(states.at(i).text));
    }
    QCOMPARE(debugLines().count("Vn274_bootloader::slotTimeout(void)"), 8);

    // The last step armed nothing.
    QTest::qWait(1300);
    QCOMPARE(timerStates().size(), 8);

    QCOMPARE(transfersOf(USBRQ518::RunApplicationRequest).size(), 1);
    QCOMPARE(sim::mode(), sim::Mode::Bootloader);
    QCOMPARE(window.device()->getSerial(), QByteArray(sim::DefaultSerial) + 'b');

    // Left in state 1: the next call starts the next run at once.
    window.slotTimeout();
    QCOMPARE(timerStates().last().text, QString("TIMER_STATE_DISCONNECT1"));
}

void TestService::readPresetsAndConversion()
{
    ScriptedPrompts prompts;
    {
        Vn274_bootloader window;
        prompts.answer("not hex").answer(20);
        window.slotpushButtonRead(false);
        const AskedPrompt address = prompts.asked.at(0);
        QVERIFY(address.parent == &window);
        QCOMPARE(address.echoMode, QLineEdit::Normal);
        QCOMPARE(QStringList({ address.title, address.label, address.text }),
                 QStringList({ "Read From Rq518", "Address (hex)", "0x8000000" }));
        QCOMPARE(QStringList({ prompts.asked.at(1).title, prompts.asked.at(1).label }),
                 QStringList({ "Read From Rq518", "Length (dec)" }));
        QCOMPARE(intDialog(prompts.asked.at(1)), QList<int>({ 256, 1, 1048576, 1 }));
        QCOMPARE(prompts.boxes(), QStringList("warning|error|Conversion error"));
        QCOMPARE(prompts.asked.at(2).buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        QVERIFY(transfersOf(USBRQ518::ReadRequest).isEmpty());
    }

    // A new window, as after a language change, proposes what the last Read left.
    Vn274_bootloader window;
    prompts.asked.clear();
    prompts.answer("0x08000010").cancel();
    window.slotpushButtonRead(false);
    QCOMPARE(prompts.asked.at(0).text, QString("0x0"));
    QCOMPARE(prompts.asked.at(1).value, 20);

    // The length dialog was cancelled: nothing read, the address not taken.
    QVERIFY(transfersOf(USBRQ518::ReadRequest).isEmpty());
    prompts.answer("1").answer(1);
    window.slotpushButtonRead(false);
    QCOMPARE(prompts.asked.at(2).text, QString("0x0"));
}

void TestService::readShowsTheMemory()
{
    const QByteArray bootloader = patterned(256, 1);
    sim::writeInternalFlash(0x08000000, bootloader);
    ScriptedPrompts prompts;
    Vn274_bootloader window;

    // The presets: 256 bytes from 0x08000000 in 16 full lines.
    prompts.answer("0x8000000").answer(256);
    window.slotpushButtonRead(false);
    QVERIFY(shownLines(window).at(1).startsWith(" src address: 0x"));
    QCOMPARE(dumpLines(shownLines(window)).size(), 16);
    QCOMPARE(dumpedBytes(shownLines(window)), bootloader);
    // Drawn in the fixed-width face, which the message area takes with its
    // first text, so the columns of the dump line up.
    QCOMPARE(messageArea(window)->font().family(), QString("Courier New"));
    QCOMPARE(QFontInfo(messageArea(window)->document()->defaultFont()).family(), monospaceFamily());

    // 20 bytes, without the prefix: one full line and one of 4 bytes, its
    // separator in the column of the full line's.
    prompts.answer("8000000").answer(20);
    window.slotpushButtonRead(false);
    const QStringList lines = dumpLines(shownLines(window));
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines.at(1).startsWith("0x0010: " + bootloader.mid(16, 4).toHex(' ') + " "));
    QCOMPARE(lines.at(1).indexOf(" < "), lines.at(0).indexOf(" < "));
    QCOMPARE(dumpedBytes(shownLines(window)), bootloader.left(20));
    const sim::Transfer last = transfersOf(USBRQ518::ReadRequest).last();
    QCOMPARE(QList<int>({ last.value, last.index, last.length }), QList<int>({ 0, 0x0800, 20 }));
    QVERIFY(!shownLines(window).contains("ReadFromAddress error"));
}

void TestService::failedReadShowsZerosFromTheFailingTransfer()
{
    const QByteArray memory = patterned(5000, 2);
    sim::writeInternalFlash(0x08004000, memory);
    ScriptedPrompts prompts;
    Vn274_bootloader window;

    // The second of three transfers (2048, 2048, 904) brings only part of its bytes.
    sim::shortenTransfers(USBRQ518::ReadRequest, 100, 1, 1);
    prompts.answer("0x08004000").answer(5000);
    window.slotpushButtonRead(false);
    const QStringList lines = shownLines(window);
    QCOMPARE(lines.first(), QString("ReadFromAddress error"));
    QVERIFY(lines.at(2).startsWith(" src address: 0x"));
    QCOMPARE(dumpedBytes(lines), memory.left(2048) + QByteArray(5000 - 2048, '\0'));
    QCOMPARE(transfersOf(USBRQ518::ReadRequest).size(), 2);
}

void TestService::testWriteSendsThePattern()
{
    QByteArray pattern(512, '\0');
    for (int i = 0; i < 512; ++i)
        pattern[i] = char(i);
    Vn274_bootloader window;
    window.slotpushButtonWrite(false);
    QCOMPARE(sim::lastTestWrite(), pattern);
    const QString dump = debugLines().filter(" src address: 0x").value(0);
    QCOMPARE(dumpLines(dump.split('\n')).size(), 32);
    QCOMPARE(dumpedBytes(dump.split('\n')), pattern);
    QVERIFY(messageArea(window)->toPlainText().isEmpty());

    // Not all of it accepted: no dump.
    debugLog.clear();
    sim::shortenTransfers(USBRQ518::TestWriteRequest, 256);
    window.slotpushButtonWrite(false);
    QVERIFY(debugLines().filter(" src address: 0x").isEmpty());
}

void TestService::writePageFillsOnePage()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;

    sim::setMode(sim::Mode::Bootloader);
    prompts.answer(0x5A);
    window.slotpushButtonWritePage(false);
    QCOMPARE(QStringList({ prompts.asked.first().title, prompts.asked.first().label }),
             QStringList({ "Fill pattern", "Number (dec)" }));
    QCOMPARE(intDialog(prompts.asked.first()), QList<int>({ 0, 0, 255, 1 }));
    QCOMPARE(sim::internalFlash(0x08005000, 1024), QByteArray(1024, char(0x5A)));
    QCOMPARE(sim::internalFlash(0x08005400, 4), QByteArray(4, char(0xFF)));
    QVERIFY(debugLines().contains("page write OK"));

    // The application refuses pages; only the debug output tells.
    sim::setMode(sim::Mode::Application);
    prompts.answer(0x11);
    window.slotpushButtonWritePage(false);
    QCOMPARE(prompts.asked.last().value, 0x5A);
    QVERIFY(debugLines().contains("page write ERROR"));
    QVERIFY(messageArea(window)->toPlainText().isEmpty());
    QVERIFY(prompts.boxes().isEmpty());
}

void TestService::statusCommands()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    const QString zeros31(31, '0');

    sim::setStatusWord(5);
    window.slotpushButtonStatusClr(false);
    QCOMPARE(sim::statusWord(), 4u);
    window.slotpushButtonStatusSet(false);
    QCOMPARE(sim::statusWord(), 5u);
    window.slotpushButtonStatusGet(false);

    sim::failTransfers(USBRQ518::StatusGetRequest, 1);
    window.slotpushButtonStatusGet(false);
    sim::shortenTransfers(USBRQ518::StatusSetRequest, 2);
    window.slotpushButtonStatusSet(false);
    sim::failTransfers(USBRQ518::StatusClrRequest, 1);
    window.slotpushButtonStatusClr(false);

    QCOMPARE(shownLines(window), QStringList({ "StatusClr(" + zeros31 + "1)", "StatusSet(" + zeros31 + "1)",
                                               "Status: " + QString(29, '0') + "101", "Status: ERROR",
                                               "StatusSet() ERROR", "StatusClr() ERROR" }));
    QVERIFY(prompts.asked.isEmpty());
}

void TestService::writeExtFlashBin()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    Vn274_bootloader window;

    // Refused for its length: nothing sent.
    prompts.answer(writeFile(dir, "six.bin", "abcdef"));
    window.slotpushButtonWriteExtFlashBin(false);
    const AskedPrompt open = prompts.asked.first();
    QCOMPARE(QStringList({ open.title, open.text, open.filter }), QStringList({ "Open File", ".", "Bin (*.bin)" }));
    QCOMPARE(prompts.boxes(), QStringList("critical|Length error|Length should be aligned to 4"));
    QVERIFY(debugLines().contains("length error"));
    QVERIFY(transfersOf(USBRQ518::WriteExternalFlashRequest).isEmpty());

    prompts.asked.clear();
    prompts.answer(writeFile(dir, "four.bin", "\x01\x02\x03\x04"));
    window.slotpushButtonWriteExtFlashBin(false);
    QCOMPARE(prompts.boxes(), QStringList("information|Info|Write OK"));
    QCOMPARE(sim::externalFlash(0, 8), scrambled("\x01\x02\x03\x04") + QByteArray(4, char(0xFF)));

    // Beyond the firmware's data block: the file reaches the scenes and programs.
    const QByteArray image = patterned(81920 + 512, 3);
    prompts.asked.clear();
    prompts.answer(writeFile(dir, "long.bin", image));
    window.slotpushButtonWriteExtFlashBin(false);
    QCOMPARE(prompts.boxes(), QStringList("information|Info|Write OK"));
    QCOMPARE(sim::externalFlash(0, image.size()), scrambled(image));
    QVERIFY(prompts.unexpected.isEmpty());
}

void TestService::writeExtFlashBinFailures()
{
    QTemporaryDir dir;
    const QString file = writeFile(dir, "data.bin", patterned(1024, 4));
    ScriptedPrompts prompts;
    Vn274_bootloader window;

    // Every write fails: no read-back.
    sim::failTransfers(USBRQ518::WriteExternalFlashRequest, sim::Forever);
    prompts.answer(file);
    window.slotpushButtonWriteExtFlashBin(false);
    QCOMPARE(prompts.boxes(), QStringList("critical|Error|WriteExternalFlashToAddress"));
    QVERIFY(transfersOf(USBRQ518::ReadExternalFlashRequest).isEmpty());

    // Every read-back fails.
    sim::clearFaults();
    sim::failTransfers(USBRQ518::ReadExternalFlashRequest, sim::Forever);
    prompts.asked.clear();
    prompts.answer(file);
    window.slotpushButtonWriteExtFlashBin(false);
    QCOMPARE(prompts.boxes(), QStringList("critical|Error|ReadExternalFlashFromAddress"));

    // One byte reads back wrong.
    sim::clearFaults();
    sim::corruptReads(sim::Memory::External, 700);
    prompts.asked.clear();
    prompts.answer(file);
    window.slotpushButtonWriteExtFlashBin(false);
    QCOMPARE(prompts.boxes(), QStringList("critical|Error|memcmp"));
}

void TestService::writeExternalFlash()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    const QString title = "Write To External Flash Rq518";

    prompts.answer("0x30000").answer(20).answer("0x1ff");
    window.slotpushButtonWriteExternalFlash(false);
    QCOMPARE(QStringList({ prompts.asked.at(0).label, prompts.asked.at(0).text, prompts.asked.at(1).label,
                           prompts.asked.at(2).label, prompts.asked.at(2).text }),
             QStringList({ "Address (hex)", "0x0", "Length (dec)", "Data(hex)", "0x1" }));
    QCOMPARE(intDialog(prompts.asked.at(1)), QList<int>({ 1, 1, 1048576, 1 }));
    for (const AskedPrompt &asked : prompts.asked)
        QCOMPARE(asked.title, title);

    // 20 bytes of 0xFF, scrambled, and the dump shows them as sent.
    const QByteArray sent = scrambled(QByteArray(20, char(0xFF)));
    QCOMPARE(sim::externalFlash(0x30000, 24), sent + QByteArray(4, char(0xFF)));
    const QStringList lines = shownLines(window);
    QCOMPARE(lines.mid(0, 2), QStringList({ "lenght:       20", "address: 0x   30000" }));
    QCOMPARE(dumpedBytes(lines), sent);
    QVERIFY(!lines.contains("WriteExternalFlashToAddress error"));

    // The values are remembered; a data text that is no number sends nothing.
    prompts.asked.clear();
    sim::clearTransfers();
    prompts.answer("1ff").answer(3).answer("0xg");
    window.slotpushButtonWriteExternalFlash(false);
    QCOMPARE(prompts.asked.at(0).text, QString("0x30000"));
    QCOMPARE(prompts.asked.at(1).value, 20);
    QCOMPARE(prompts.asked.at(2).text, QString("0x1ff"));
    QCOMPARE(prompts.boxes(), QStringList("warning|error|Conversion error"));
    QVERIFY(sim::transfers().isEmpty());

    // An address that is no number stops before the length.
    prompts.asked.clear();
    prompts.answer("x");
    window.slotpushButtonWriteExternalFlash(false);
    QCOMPARE(prompts.asked.size(), 2);
    QCOMPARE(prompts.asked.at(0).text, QString("0x1ff"));
    QCOMPARE(prompts.boxes(), QStringList("warning|error|Conversion error"));
    QVERIFY(sim::transfers().isEmpty());
    QVERIFY(prompts.unexpected.isEmpty());
}

void TestService::readExternalFlash()
{
    const QByteArray scenes = patterned(384, 5);
    const QByteArray programs = patterned(7680, 6);
    sim::writeExternalFlash(0x14000, scrambled(scenes));
    sim::writeExternalFlash(0x14180, scrambled(programs));
    ScriptedPrompts prompts;
    Vn274_bootloader window;

    prompts.answer("0x14000").answer(512);
    window.slotpushButtonReadExternalFlash(false);
    QCOMPARE(QStringList({ prompts.asked.at(0).title, prompts.asked.at(0).label, prompts.asked.at(0).text }),
             QStringList({ "Read External Flash From Rq518", "Address (hex)", "0x0" }));
    QCOMPARE(intDialog(prompts.asked.at(1)), QList<int>({ 512, 1, 1048576, 1 }));
    QCOMPARE(dumpLines(shownLines(window)).size(), 32);
    QCOMPARE(dumpedBytes(shownLines(window)), scenes + programs.left(128));

    // A read that never succeeds: a warning, the area keeps what it showed.
    const QString shown = messageArea(window)->toPlainText();
    sim::failTransfers(USBRQ518::ReadExternalFlashRequest, sim::Forever);
    prompts.asked.clear();
    prompts.answer("14000").answer(16);
    window.slotpushButtonReadExternalFlash(false);
    QCOMPARE(prompts.asked.at(0).text, QString("0x14000"));
    QCOMPARE(prompts.boxes(), QStringList("warning|error|ReadExternalFlashFromAddress error"));
    QCOMPARE(messageArea(window)->toPlainText(), shown);

    // The address is converted after both dialogs.
    sim::clearFaults();
    sim::clearTransfers();
    prompts.asked.clear();
    prompts.answer("0x-1").answer(16);
    window.slotpushButtonReadExternalFlash(false);
    QCOMPARE(prompts.asked.size(), 3);
    QCOMPARE(prompts.boxes(), QStringList("warning|error|Conversion error"));
    QVERIFY(sim::transfers().isEmpty());
    QVERIFY(prompts.unexpected.isEmpty());
}

void TestService::progressBarsFollowOnlyTheSettingsTab()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    auto *tabs = window.findChild<QTabWidget *>("tabWidget");
    auto *written = window.findChild<QProgressBar *>("progressBarExtFlashWr");
    auto *read = window.findChild<QProgressBar *>("progressBarExtFlashRd");
    const auto writeAndRead = [&] {
        prompts.answer("0x100").answer(1000).answer("0x33");
        window.slotpushButtonWriteExternalFlash(false);
        prompts.answer("0x100").answer(1000);
        window.slotpushButtonReadExternalFlash(false);
    };

    tabs->setCurrentIndex(1);
    writeAndRead();
    QCOMPARE(written->value(), 0);
    QCOMPARE(read->value(), 0);

    tabs->setCurrentIndex(0);
    writeAndRead();
    QCOMPARE(written->value(), 100);
    QCOMPARE(read->value(), 100);

    // A write that gives up after its first chunk of 256 bytes leaves the bar
    // where it got to, and says so below the dump.
    sim::failTransfers(USBRQ518::WriteExternalFlashRequest, sim::Forever, 1);
    prompts.answer("0x100").answer(1000).answer("0x33");
    window.slotpushButtonWriteExternalFlash(false);
    QCOMPARE(written->value(), 25);
    QCOMPARE(shownLines(window).last(), QString("WriteExternalFlashToAddress error"));
    QCOMPARE(transfersOf(USBRQ518::WriteExternalFlashRequest).size(), 4 + 4 + 1 + 101);
    QVERIFY(prompts.unexpected.isEmpty());
}

QTEST_MAIN(TestService)
#include "tst_service.moc"
