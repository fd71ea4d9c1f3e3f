// Programs and scenes: the editors of the two tabs, the tables in the
// simulated driver's external flash, and the .pgm / .scn files.
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "common/testfiles.h"
#include "shows/showfiles.h"
#include "shows/showtables.h"
#include "simulator/simdriver.h"
#include "usb/transferscrambling.h"
#include "usb/usbrq518.h"
#include "widgets/superrgb.h"

#include <QDataStream>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QLoggingCategory>
#include <QtTest>

namespace {

// A programs table with something different in every record.
QByteArray patternedTable(int size)
{
    QByteArray table(size, '\0');
    for (int i = 0; i < size; ++i)
        table[i] = char((i * 7 + i / 48) & 0xff);
    return table;
}

void writeShowFile(const QString &fileName, const QString &header, const QString &version, const QByteArray &table)
{
    QFile file(fileName);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QDataStream out(&file);
    out << header << version << table;
}

// The two editor tabs of a window, as the user sees them.
class Editors
{
public:
    explicit Editors(Vn274_bootloader &window) : w(window) {}

    QSpinBox *spin(const char *name) const { return w.findChild<QSpinBox *>(name); }
    QList<SuperRGB *> lamps(const char *contents) const
    {
        w.programEditors();
        w.sceneEditors();
        return w.findChild<QWidget *>(contents)->findChildren<SuperRGB *>(QString(), Qt::FindDirectChildrenOnly);
    }
    QList<SuperRGB *> programLamps() const { return lamps("scrollAreaWidgetContents"); }
    QList<SuperRGB *> sceneLamps() const { return lamps("scrollAreaWidgetContents_2"); }

    static void paint(SuperRGB *lamp, int red, int green, int blue)
    {
        lamp->setRedColor(red);
        lamp->setGreenColor(green);
        lamp->setBlueColor(blue);
    }

    void editProgram(int rise, int stay, int end, int lamp, int red, int green, int blue)
    {
        spin("spinBoxRiseTime")->setValue(rise);
        spin("spinBoxStaticTime")->setValue(stay);
        spin("spinBoxEndMarker")->setValue(end);
        paint(programLamps().at(lamp), red, green, blue);
    }

    SceneRecord programRecord(int program, int step) const
    {
        return Shows::recordAt(w.programTable(), Shows::programRecordOffset(program - 1, step - 1));
    }
    SceneRecord sceneRecord(int scene) const
    {
        return Shows::recordAt(w.sceneTable(), Shows::sceneRecordOffset(scene - 1));
    }

    Vn274_bootloader &w;
};

QColor rgbOf(const SceneRecord &record, int lamp)
{
    return QColor(record.lampRgb[3 * lamp], record.lampRgb[3 * lamp + 1], record.lampRgb[3 * lamp + 2]);
}

int requestCount(int request)
{
    int count = 0;
    for (const sim::Transfer &t : sim::transfers())
        count += t.request == request ? 1 : 0;
    return count;
}

} // namespace

class TestShows : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    // editors
    void selectionChangeCommitsTheShownRecord();
    void settingTheSameNumberCommitsNothing();
    void editsBeforeTheFirstNumberChangeAreKept();
    void loadedValuesAreShownAsTheEditorsCanHoldThem();
    void sceneCommitLeavesTheEndMarkerAlone();

    // driver
    void setWritesTheScrambledTablesInPlace();
    void statusBitFramesEveryTransfer();
    void getReplacesTheTableAndShowsTheSelectedRecord();
    void failedAcquireChangesNothing();
    void failedReadKeepsTheTableWithItsEdits();
    void failedWriteKeepsTheCommit();

    // files
    void filesRoundTripByteIdentical();
    void refusedFilesLeaveTheTableAlone_data();
    void refusedFilesLeaveTheTableAlone();
    void longerTableUsesItsFirstBytes();
    void failedSaveKeepsTheOldFile();
    void saveTakesWhatTheEditorShows();
    void cancelledDialogsDoNothing();
};

void TestShows::initTestCase()
{
    // The window and the device narrate every step; keep the test log readable.
    QLoggingCategory::setFilterRules("default.debug=false");
}

void TestShows::init()
{
    sim::reset();
}

void TestShows::selectionChangeCommitsTheShownRecord()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    Editors e(window);

    e.spin("spinBoxSceneNumber")->setValue(5);
    e.editProgram(42, 1234, 1, 3, 10, 20, 30);
    e.spin("spinBoxProgramNumber")->setValue(2);

    const SceneRecord committed = e.programRecord(1, 5);
    QCOMPARE(int(committed.riseTime), 42);
    QCOMPARE(int(committed.staticTime), 1234);
    QCOMPARE(int(committed.endMarker), 1);
    QCOMPARE(rgbOf(committed, 3), QColor(10, 20, 30));
    QCOMPARE(rgbOf(committed, 2), QColor(0, 0, 0));
    // Only that record changed.
    QByteArray expected(Shows::ProgramTableSize, '\0');
    Shows::setRecordAt(expected, Shows::programRecordOffset(0, 4), committed);
    QCOMPARE(window.programTable(), expected);

    // (2, 5) is shown: empty.
    QCOMPARE(e.spin("spinBoxRiseTime")->value(), 0);
    QCOMPARE(e.spin("spinBoxEndMarker")->value(), 0);
    QCOMPARE(e.programLamps().at(3)->color(), QColor(0, 0, 0));

    // Going back shows the committed record again.
    e.spin("spinBoxProgramNumber")->setValue(1);
    QCOMPARE(e.spin("spinBoxStaticTime")->value(), 1234);
    QCOMPARE(e.programLamps().at(3)->color(), QColor(10, 20, 30));
    QVERIFY(prompts.asked.isEmpty());
}

void TestShows::settingTheSameNumberCommitsNothing()
{
    Vn274_bootloader window;
    Editors e(window);
    e.editProgram(9, 9, 1, 0, 9, 9, 9);
    // Every edit is in the table as it is made; setting the same numbers
    // changes nothing more.
    const QByteArray edited = window.programTable();
    QCOMPARE(int(e.programRecord(1, 1).riseTime), 9);
    e.spin("spinBoxProgramNumber")->setValue(1);
    e.spin("spinBoxSceneNumber")->setValue(1);
    QCOMPARE(window.programTable(), edited);
    // The editor keeps the edit.
    QCOMPARE(e.spin("spinBoxRiseTime")->value(), 9);
    QCOMPARE(e.programLamps().at(0)->color(), QColor(9, 9, 9));
}

void TestShows::editsBeforeTheFirstNumberChangeAreKept()
{
    Vn274_bootloader window;
    Editors e(window);

    e.editProgram(11, 22, 1, 0, 99, 0, 0);
    e.spin("spinBoxProgramNumber")->setValue(2);
    QCOMPARE(int(e.programRecord(1, 1).riseTime), 11);
    QCOMPARE(rgbOf(e.programRecord(1, 1), 0), QColor(99, 0, 0));

    e.spin("spinBoxSceneRiseTime")->setValue(33);
    Editors::paint(e.sceneLamps().at(11), 1, 2, 3);
    e.spin("spinBoxSceneSceneNumber")->setValue(8);
    QCOMPARE(int(e.sceneRecord(1).riseTime), 33);
    QCOMPARE(rgbOf(e.sceneRecord(1), 11), QColor(1, 2, 3));
}

void TestShows::loadedValuesAreShownAsTheEditorsCanHoldThem()
{
    QTemporaryDir dir;
    QByteArray programs(Shows::ProgramTableSize, '\0');
    SceneRecord record = {};
    record.riseTime = 200000;
    record.staticTime = -5;
    record.endMarker = 7;
    record.lampRgb[0] = 255;
    Shows::setRecordAt(programs, Shows::programRecordOffset(0, 0), record);
    const QString fileName = dir.filePath("odd.pgm");
    QCOMPARE(Shows::saveProgramsFile(fileName, programs), Shows::FileResult::Ok);

    ScriptedPrompts prompts;
    prompts.answer(fileName);
    Vn274_bootloader window;
    Editors e(window);
    window.slotpushButtonLoadProgramsFromFile(false);

    QCOMPARE(e.spin("spinBoxRiseTime")->value(), 100000);
    QCOMPARE(e.spin("spinBoxStaticTime")->value(), 0);
    QCOMPARE(e.spin("spinBoxEndMarker")->value(), 1);
    QCOMPARE(e.programLamps().at(0)->color(), QColor(255, 0, 0));

    // A record left as shown keeps its bytes when the selection moves away,
    // so nothing is pending either.
    e.spin("spinBoxSceneNumber")->setValue(2);
    QCOMPARE(window.programTable(), programs);
    QVERIFY(!window.hasPendingChanges());

    // An edited one stores the values as the editor holds them.
    e.spin("spinBoxSceneNumber")->setValue(1);
    Editors::paint(e.programLamps().at(1), 1, 2, 3);
    e.spin("spinBoxSceneNumber")->setValue(2);
    QCOMPARE(int(e.programRecord(1, 1).riseTime), 100000);
    QCOMPARE(int(e.programRecord(1, 1).staticTime), 0);
    QCOMPARE(int(e.programRecord(1, 1).endMarker), 1);
    QCOMPARE(rgbOf(e.programRecord(1, 1), 1), QColor(1, 2, 3));
}

void TestShows::sceneCommitLeavesTheEndMarkerAlone()
{
    QTemporaryDir dir;
    QByteArray scenes(Shows::SceneTableSize, '\0');
    scenes[Shows::sceneRecordOffset(0) + 44] = 5;   // end marker
    scenes[Shows::sceneRecordOffset(0) + 46] = 0x5a; // reserved
    const QString fileName = dir.filePath("marked.scn");
    QCOMPARE(Shows::saveScenesFile(fileName, scenes), Shows::FileResult::Ok);

    ScriptedPrompts prompts;
    prompts.answer(fileName);
    Vn274_bootloader window;
    Editors e(window);
    window.slotpushButtonLoadScenesFromFile(false);
    e.spin("spinBoxSceneStaticTime")->setValue(700);
    e.spin("spinBoxSceneSceneNumber")->setValue(2);

    QCOMPARE(int(e.sceneRecord(1).staticTime), 700);
    QCOMPARE(int(e.sceneRecord(1).endMarker), 5);
    QCOMPARE(int(e.sceneRecord(1).reserved[1]), 0x5a);
}

void TestShows::setWritesTheScrambledTablesInPlace()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    Editors e(window);

    // Fresh start: zero tables, the selected record holds the editor.
    e.spin("spinBoxProgramNumber")->setValue(8);
    e.spin("spinBoxSceneNumber")->setValue(20);
    e.editProgram(100, 900000, 1, 11, 1, 2, 3);
    window.slotpushButtonSetProgramsInVn274(false);

    e.spin("spinBoxSceneSceneNumber")->setValue(8);
    e.spin("spinBoxSceneRiseTime")->setValue(5);
    Editors::paint(e.sceneLamps().at(0), 200, 100, 50);
    window.slotpushButtonSetScenesInVn274(false);
    QVERIFY(prompts.asked.isEmpty());

    QByteArray programs(Shows::ProgramTableSize, '\0');
    SceneRecord last = {};
    last.riseTime = 100;
    last.staticTime = 900000;
    last.endMarker = 1;
    last.lampRgb[33] = 1; last.lampRgb[34] = 2; last.lampRgb[35] = 3;
    Shows::setRecordAt(programs, 7632, last);
    QCOMPARE(window.programTable(), programs);

    QByteArray scenes(Shows::SceneTableSize, '\0');
    SceneRecord eighth = {};
    eighth.riseTime = 5;
    eighth.lampRgb[0] = 200; eighth.lampRgb[1] = 100; eighth.lampRgb[2] = 50;
    Shows::setRecordAt(scenes, 336, eighth);
    QCOMPARE(window.sceneTable(), scenes);

    QCOMPARE(sim::externalFlash(0x14000, 384), scrambled(scenes));
    QCOMPARE(sim::externalFlash(0x14180, 7680), scrambled(programs));
    // Nothing around the two blocks was touched.
    QCOMPARE(sim::externalFlash(0x13FFC, 4), QByteArray(4, char(0xff)));
    QCOMPARE(sim::externalFlash(0x14180 + 7680, 4), QByteArray(4, char(0xff)));
}

void TestShows::statusBitFramesEveryTransfer()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    QList<quint32> statusDuring;
    const auto sample = [&statusDuring](int) { statusDuring << (sim::statusWord() & 1); };
    connect(window.device(), &USBRQ518::sendPercentExtFlashWrite, this, sample);
    connect(window.device(), &USBRQ518::sendPercentExtFlashRead, this, sample);

    window.slotpushButtonSetProgramsInVn274(false);
    QCOMPARE(statusDuring.size(), 30);          // 30 chunks of 256 bytes
    QCOMPARE(sim::statusWord() & 1, 0u);
    window.slotpushButtonGetProgramsFromVn274(false);
    window.slotpushButtonSetScenesInVn274(false);
    window.slotpushButtonGetScenesFromVn274(false);
    QCOMPARE(statusDuring.size(), 30 + 15 + 2 + 1);
    QVERIFY(!statusDuring.contains(0u));
    QCOMPARE(sim::statusWord() & 1, 0u);
    QCOMPARE(requestCount(8), 4);               // one release each
    QVERIFY(prompts.asked.isEmpty());

    // From the Programs and Scenes tabs the external flash bars stay put.
    auto *bars = window.findChild<QTabWidget *>("tabWidget");
    auto *written = window.findChild<QProgressBar *>("progressBarExtFlashWr");
    auto *read = window.findChild<QProgressBar *>("progressBarExtFlashRd");
    QCOMPARE(read->value(), 100);
    written->setValue(0);
    read->setValue(0);
    bars->setCurrentIndex(1);
    window.slotpushButtonSetProgramsInVn274(false);
    bars->setCurrentIndex(2);
    window.slotpushButtonGetScenesFromVn274(false);
    QCOMPARE(written->value(), 0);
    QCOMPARE(read->value(), 0);
}

void TestShows::getReplacesTheTableAndShowsTheSelectedRecord()
{
    const QByteArray programs = patternedTable(Shows::ProgramTableSize);
    const QByteArray scenes = patternedTable(Shows::SceneTableSize);
    sim::writeExternalFlash(0x14180, scrambled(programs));
    sim::writeExternalFlash(0x14000, scrambled(scenes));

    ScriptedPrompts prompts;
    Vn274_bootloader window;
    Editors e(window);
    e.spin("spinBoxProgramNumber")->setValue(3);
    e.spin("spinBoxSceneNumber")->setValue(4);
    e.spin("spinBoxSceneSceneNumber")->setValue(6);
    e.editProgram(1, 1, 1, 0, 1, 1, 1);   // not committed: the driver's record wins

    window.slotpushButtonGetProgramsFromVn274(false);
    window.slotpushButtonGetScenesFromVn274(false);
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(window.programTable(), programs);
    QCOMPARE(window.sceneTable(), scenes);

    const SceneRecord shown = e.programRecord(3, 4);
    QCOMPARE(e.spin("spinBoxRiseTime")->value(), qBound(0, int(shown.riseTime), 100000));
    for (int lamp = 0; lamp < 12; ++lamp)
        QCOMPARE(e.programLamps().at(lamp)->color(), rgbOf(shown, lamp));
    for (int lamp = 0; lamp < 12; ++lamp)
        QCOMPARE(e.sceneLamps().at(lamp)->color(), rgbOf(e.sceneRecord(6), lamp));
}

void TestShows::failedAcquireChangesNothing()
{
    sim::setStatusLockedBits(1);   // bit 0 never reads back set
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    Editors e(window);
    e.editProgram(5, 5, 1, 0, 5, 5, 5);
    e.spin("spinBoxSceneRiseTime")->setValue(6);

    window.slotpushButtonSetProgramsInVn274(false);
    window.slotpushButtonGetProgramsFromVn274(false);
    window.slotpushButtonSetScenesInVn274(false);
    window.slotpushButtonGetScenesFromVn274(false);

    QCOMPARE(prompts.boxes(), QStringList(4, "critical|Error|USB Timeout\nCheck USB Cable"));
    QCOMPARE(prompts.asked.first().parent, &window);
    QCOMPARE(prompts.asked.first().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(int(e.programRecord(1, 1).riseTime), 5);   // the edits, and nothing else
    QCOMPARE(window.programTable().count('\0'), Shows::ProgramTableSize - 6);
    QCOMPARE(window.sceneTable().count('\0'), Shows::SceneTableSize - 1);
    QCOMPARE(e.spin("spinBoxRiseTime")->value(), 5);
    QCOMPARE(e.programLamps().at(0)->color(), QColor(5, 5, 5));
    QCOMPARE(e.spin("spinBoxSceneRiseTime")->value(), 6);
    QCOMPARE(requestCount(5) + requestCount(6) + requestCount(8), 0);

    // A driver that is not there at all reads the same.
    sim::clearFaults();
    sim::setStatusLockedBits(0);
    sim::unplug();
    window.slotpushButtonGetScenesFromVn274(false);
    QCOMPARE(prompts.boxes().size(), 5);
    QCOMPARE(prompts.boxes().last(), QString("critical|Error|USB Timeout\nCheck USB Cable"));
}

void TestShows::failedReadKeepsTheTableWithItsEdits()
{
    sim::writeExternalFlash(0x14180, scrambled(patternedTable(Shows::ProgramTableSize)));
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    Editors e(window);
    e.editProgram(8, 8, 1, 0, 8, 8, 8);
    const QByteArray programs = window.programTable();

    // The edits are in the table as they are made; a failed read loses none.
    sim::failTransfers(5, sim::Forever);
    window.slotpushButtonGetProgramsFromVn274(false);
    QCOMPARE(prompts.boxes(), QStringList("critical|Error|ReadExternalFlashFromAddress"));
    QCOMPARE(window.programTable(), programs);
    QCOMPARE(int(e.programRecord(1, 1).riseTime), 8);
    QCOMPARE(e.spin("spinBoxRiseTime")->value(), 8);
    QCOMPARE(e.programLamps().at(0)->color(), QColor(8, 8, 8));
    QCOMPARE(sim::statusWord() & 1, 0u);

    e.spin("spinBoxSceneRiseTime")->setValue(8);
    const QByteArray scenes = window.sceneTable();
    window.slotpushButtonGetScenesFromVn274(false);
    QCOMPARE(prompts.boxes().last(), QString("critical|Error|ReadExternalFlashFromAddress"));
    QCOMPARE(window.sceneTable(), scenes);
    QCOMPARE(e.spin("spinBoxSceneRiseTime")->value(), 8);
    QCOMPARE(sim::statusWord() & 1, 0u);
}

void TestShows::failedWriteKeepsTheCommit()
{
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    Editors e(window);
    e.spin("spinBoxProgramNumber")->setValue(2);
    e.editProgram(3, 4, 0, 5, 6, 7, 8);
    sim::failTransfers(6, sim::Forever);

    window.slotpushButtonSetProgramsInVn274(false);
    QCOMPARE(prompts.boxes(), QStringList("critical|Error|WriteExternalFlashToAddress"));
    QCOMPARE(int(e.programRecord(2, 1).staticTime), 4);
    QCOMPARE(rgbOf(e.programRecord(2, 1), 5), QColor(6, 7, 8));
    QCOMPARE(sim::statusWord() & 1, 0u);
    QCOMPARE(sim::externalFlash(0x14180, 4), QByteArray(4, char(0xff)));

    Editors::paint(e.sceneLamps().at(2), 9, 9, 9);
    window.slotpushButtonSetScenesInVn274(false);
    QCOMPARE(prompts.boxes().last(), QString("critical|Error|WriteExternalFlashToAddress"));
    QCOMPARE(rgbOf(e.sceneRecord(1), 2), QColor(9, 9, 9));
    QCOMPARE(sim::statusWord() & 1, 0u);
}

void TestShows::filesRoundTripByteIdentical()
{
    QTemporaryDir dir;
    const QByteArray programs = patternedTable(Shows::ProgramTableSize);
    const QByteArray scenes = patternedTable(Shows::SceneTableSize);
    QCOMPARE(Shows::saveProgramsFile(dir.filePath("a.pgm"), programs), Shows::FileResult::Ok);
    QCOMPARE(Shows::saveScenesFile(dir.filePath("a.scn"), scenes), Shows::FileResult::Ok);

    // The layout other tools and older files rely on.
    const QByteArray pgm = fileBytes(dir.filePath("a.pgm"));
    const QByteArray scn = fileBytes(dir.filePath("a.scn"));
    QCOMPARE(pgm.size(), 7750);
    QCOMPARE(scn.size(), 450);
    QCOMPARE(pgm.left(4), QByteArray::fromHex("00000026"));
    QCOMPARE(pgm.mid(4, 38), QByteArray("\0V\0n\0002\0007\0004\0 \0P\0r\0o\0g\0r\0a\0m\0s\0 \0F\0i\0l\0e", 38));
    QCOMPARE(pgm.mid(42, 4), QByteArray::fromHex("00000014"));
    QCOMPARE(pgm.mid(66, 4), QByteArray::fromHex("00001e00"));
    QCOMPARE(pgm.mid(70), programs);
    QCOMPARE(scn.left(4), QByteArray::fromHex("00000022"));
    QCOMPARE(scn.mid(62, 4), QByteArray::fromHex("00000180"));
    QCOMPARE(scn.mid(66), scenes);

    // Through the window: load, save again, same bytes.
    ScriptedPrompts prompts;
    prompts.answer(dir.filePath("a.pgm")).answer(dir.filePath("b.pgm"))
           .answer(dir.filePath("a.scn")).answer(dir.filePath("b.scn"));
    Vn274_bootloader window;
    window.slotpushButtonLoadProgramsFromFile(false);
    window.slotpushButtonSaveProgramsToFile(false);
    window.slotpushButtonLoadScenesFromFile(false);
    window.slotpushButtonSaveScenesToFile(false);
    QVERIFY(prompts.boxes().isEmpty());
    QCOMPARE(fileBytes(dir.filePath("b.pgm")), pgm);
    QCOMPARE(fileBytes(dir.filePath("b.scn")), scn);

    const QStringList kinds = { "open", "save", "open", "save" };
    const QStringList captions = { "Open Programs File", "Save Programs File", "Open Scenes File", "Save Scenes File" };
    // The binary form first, as the filter the dialogs start with.
    const QString programsFilters = "Programs Files (*.pgm);;Programs as JSON (*.json)";
    const QString scenesFilters = "Scens Files (*.scn);;Scenes as JSON (*.json)";
    const QStringList filters = { programsFilters, programsFilters, scenesFilters, scenesFilters };
    for (int i = 0; i < 4; ++i) {
        QCOMPARE(prompts.asked.at(i).kind, kinds.at(i));
        QCOMPARE(prompts.asked.at(i).title, captions.at(i));
        QCOMPARE(prompts.asked.at(i).filter, filters.at(i));
        QCOMPARE(prompts.asked.at(i).text, QString("."));
        QCOMPARE(prompts.asked.at(i).parent, &window);
    }

    // Saving right after start: zero tables.
    ScriptedPrompts fresh;
    fresh.answer(dir.filePath("zero.pgm"));
    Vn274_bootloader other;
    other.slotpushButtonSaveProgramsToFile(false);
    QCOMPARE(fileBytes(dir.filePath("zero.pgm")).mid(70), QByteArray(7680, '\0'));
}

void TestShows::refusedFilesLeaveTheTableAlone_data()
{
    QTest::addColumn<bool>("programs");
    QTest::addColumn<QString>("header");
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("box");

    QTest::newRow("scenes file as programs") << true << "Vn274 Scenes File" << "Version 01" << 384 << "Wrong file header";
    QTest::newRow("programs file as scenes") << false << "Vn274 Programs File" << "Version 01" << 7680 << "Wrong file header";
    QTest::newRow("header case") << true << "vn274 programs file" << "Version 01" << 7680 << "Wrong file header";
    QTest::newRow("no file") << true << QString() << QString() << -1 << "Wrong file header";
    QTest::newRow("other version") << true << "Vn274 Programs File" << "Version 02" << 7680 << "Wrong version";
    QTest::newRow("short programs") << true << "Vn274 Programs File" << "Version 01" << 7679 << "Wrong file length";
    QTest::newRow("short scenes") << false << "Vn274 Scenes File" << "Version 01" << 100 << "Wrong file length";
    QTest::newRow("truncated file") << false << "Vn274 Scenes File" << "Version 01" << -2 << "Wrong file length";
    QTest::newRow("longer table cut short") << false << "Vn274 Scenes File" << "Version 01" << -3 << "Wrong file length";
    QTest::newRow("table claiming 4 GiB") << true << "Vn274 Programs File" << "Version 01" << -4 << "Wrong file length";
    QTest::newRow("header claiming 4 GiB") << true << "" << "" << -5 << "Wrong file header";
}

void TestShows::refusedFilesLeaveTheTableAlone()
{
    QFETCH(bool, programs);
    QFETCH(QString, header);
    QFETCH(QString, version);
    QFETCH(int, length);
    QFETCH(QString, box);

    QTemporaryDir dir;
    const QString fileName = dir.filePath("offered");
    if (length >= 0) {
        writeShowFile(fileName, header, version, QByteArray(length, 'x'));
    } else if (length == -2 || length == -3) {
        writeShowFile(fileName, header, version, QByteArray(length == -2 ? 384 : 500, 'x'));
        QFile file(fileName);
        QVERIFY(file.resize(file.size() - 10));
    } else if (length <= -4) {
        // The length field in front of the table, or of the header, says 4 GiB;
        // the file holds far less, and is not read whole to find it out.
        writeShowFile(fileName, header, version, QByteArray(10000, 'x'));
        QFile file(fileName);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.seek(length == -4 ? file.size() - 10004 : 0));
        QCOMPARE(file.write("\xFF\xFF\xFF\xFE", 4), 4);
    }

    // The library refuses without touching the table.
    QByteArray table = patternedTable(programs ? Shows::ProgramTableSize : Shows::SceneTableSize);
    const QByteArray before = table;
    const Shows::FileResult result = programs ? Shows::loadProgramsFile(fileName, table)
                                              : Shows::loadScenesFile(fileName, table);
    QVERIFY(result != Shows::FileResult::Ok);
    QCOMPARE(table, before);

    // The window says why and keeps its table and editor.
    ScriptedPrompts prompts;
    prompts.answer(fileName);
    Vn274_bootloader window;
    Editors e(window);
    const char *riseName = programs ? "spinBoxRiseTime" : "spinBoxSceneRiseTime";
    e.spin(riseName)->setValue(77);
    const QByteArray edited = programs ? window.programTable() : window.sceneTable();
    if (programs)
        window.slotpushButtonLoadProgramsFromFile(false);
    else
        window.slotpushButtonLoadScenesFromFile(false);
    QCOMPARE(prompts.boxes(), QStringList("critical|File error|" + box));
    QCOMPARE(prompts.asked.last().buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    QCOMPARE(prompts.asked.last().defaultButton, QMessageBox::NoButton);
    QCOMPARE(programs ? window.programTable() : window.sceneTable(), edited);
    QCOMPARE(e.spin(riseName)->value(), 77);
}

void TestShows::longerTableUsesItsFirstBytes()
{
    QTemporaryDir dir;
    const QByteArray stored = patternedTable(500);
    writeShowFile(dir.filePath("long.scn"), "Vn274 Scenes File", "Version 01", stored);
    QByteArray scenes(Shows::SceneTableSize, '\0');
    QCOMPARE(Shows::loadScenesFile(dir.filePath("long.scn"), scenes), Shows::FileResult::Ok);
    QCOMPARE(scenes, stored.left(384));
}

void TestShows::failedSaveKeepsTheOldFile()
{
    QTemporaryDir dir;
    // A name so long that no temporary file can be made beside it: the save
    // fails before the old file is touched, even for root.
    const QString fileName = dir.filePath(QString(250, 'p') + ".pgm");
    writeShowFile(fileName, "Vn274 Programs File", "Version 01", patternedTable(Shows::ProgramTableSize));
    const QByteArray old = fileBytes(fileName);
    QCOMPARE(old.size(), 7750);

    ScriptedPrompts prompts;
    prompts.answer(fileName).answer(dir.filePath("no/such/folder/x.scn"));
    Vn274_bootloader window;
    window.slotpushButtonSaveProgramsToFile(false);
    window.slotpushButtonSaveScenesToFile(false);
    QCOMPARE(prompts.boxes(), QStringList(2, "critical|File error|Can't write file"));
    QCOMPARE(fileBytes(fileName), old);
}

void TestShows::saveTakesWhatTheEditorShows()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    prompts.answer(dir.filePath("p.pgm")).answer(dir.filePath("s.scn"));
    Vn274_bootloader window;
    window.show();
    Editors e(window);

    // Typed into lamp 1's red field of program 3, step 2, never committed by a
    // change of number.
    e.spin("spinBoxProgramNumber")->setValue(3);
    e.spin("spinBoxSceneNumber")->setValue(2);
    e.spin("spinBoxStaticTime")->setValue(2500);
    QLineEdit *red = e.programLamps().at(0)->findChild<QLineEdit *>("EditRed");
    red->clear();
    QTest::keyClicks(red, "123");
    window.slotpushButtonSaveProgramsToFile(false);

    QByteArray programs(Shows::ProgramTableSize, '\0');
    QCOMPARE(Shows::loadProgramsFile(dir.filePath("p.pgm"), programs), Shows::FileResult::Ok);
    const SceneRecord saved = Shows::recordAt(programs, Shows::programRecordOffset(2, 1));
    QCOMPARE(rgbOf(saved, 0), QColor(123, 0, 0));
    QCOMPARE(int(saved.staticTime), 2500);
    QCOMPARE(programs, window.programTable());

    e.spin("spinBoxSceneSceneNumber")->setValue(4);
    Editors::paint(e.sceneLamps().at(11), 7, 8, 9);
    window.slotpushButtonSaveScenesToFile(false);
    QByteArray scenes(Shows::SceneTableSize, '\0');
    QCOMPARE(Shows::loadScenesFile(dir.filePath("s.scn"), scenes), Shows::FileResult::Ok);
    QCOMPARE(rgbOf(Shows::recordAt(scenes, Shows::sceneRecordOffset(3)), 11), QColor(7, 8, 9));
    QVERIFY(prompts.boxes().isEmpty());
}

void TestShows::cancelledDialogsDoNothing()
{
    ScriptedPrompts prompts;
    prompts.cancel().cancel().cancel().cancel();
    Vn274_bootloader window;
    window.slotpushButtonLoadProgramsFromFile(false);
    window.slotpushButtonSaveProgramsToFile(false);
    window.slotpushButtonLoadScenesFromFile(false);
    window.slotpushButtonSaveScenesToFile(false);
    QCOMPARE(prompts.asked.size(), 4);
    QVERIFY(prompts.boxes().isEmpty());
}

QTEST_MAIN(TestShows)
#include "tst_shows.moc"
