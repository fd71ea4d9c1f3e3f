// The window and its drivers: the Driver menu follows the drivers udev tells
// of, every operation goes to the chosen driver alone (a chosen driver that
// is gone is said, never replaced), and "Change Firmware Of All Drivers…"
// changes every driver at once in its dialog, each with its history row.
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "common/simulateddrivers.h"
#include "production/databaseurl.h"
#include "production/firmwarehistory.h"
#include "production/recorddatabase.h"
#include "simulator/simdriver.h"
#include "upgrade/alldriversdialog.h"
#include "upgrade/samplefirmware.h"
#include "upgrade/upgrader.h"
#include "upgrade/upgradesteps.h"
#include "usb/connecteddrivers.h"
#include "usb/driverwatcher.h"

#include <QAction>
#include <QLoggingCategory>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QtTest>

#include <atomic>

namespace {

constexpr int WritePageRequest = 3;
constexpr int RunApplicationRequest = 4;
constexpr int IdentifyRequest = 255;

void noSleep(unsigned long) {}

// "+002/003/240611027b" an arrival, "-002/003" a departure, as udev tells them.
void feed(Vn274_bootloader &window, const QString &event)
{
    const QStringList parts = event.mid(1).split('/');
    QMap<QByteArray, QByteArray> properties = {
        { "SUBSYSTEM", "usb" }, { "DEVTYPE", "usb_device" }, { "PRODUCT", "16c0/789/100" },
        { "BUSNUM", parts.at(0).toLatin1() }, { "DEVNUM", parts.at(1).toLatin1() },
    };
    if (parts.size() > 2)
        properties.insert("ID_SERIAL_SHORT", parts.at(2).toLatin1());
    window.driverWatcher()->feed(event.startsWith('+') ? "add" : "remove", properties);
}

// The simulated drivers as udev would announce them now.
void announceSimulatedDrivers(Vn274_bootloader &window)
{
    for (int i = 0; i < sim::driverCount(); ++i) {
        const sim::Driver driver = sim::driver(i);
        feed(window, QStringLiteral("+%1/%2/%3").arg(driver.busNumber()).arg(driver.deviceNumber())
                         .arg(QString::fromLatin1(driver.serialString())));
    }
}

// The Driver menu's driver entries, "*" after the marked one.
QStringList driverEntries(Vn274_bootloader &window)
{
    QStringList entries;
    for (QAction *action : window.findChild<QMenu *>("menuDriver")->actions()) {
        if (action->isSeparator() || action->objectName() == "actionChangeFirmwareOfAllDrivers")
            continue;
        entries << action->text() + (action->isChecked() ? "*" : "");
    }
    return entries;
}

void chooseInMenu(Vn274_bootloader &window, const QByteArray &serial)
{
    for (QAction *action : window.findChild<QMenu *>("menuDriver")->actions()) {
        if (action->data().toByteArray() == serial) {
            action->trigger();
            return;
        }
    }
    QFAIL("no such driver in the menu");
}

// What a driver was sent, its identification left out: every link asks each
// driver on the bus for it while it looks for its own.
int requestsTo(const sim::Driver &driver)
{
    int requests = 0;
    for (const sim::Transfer &t : driver.transfers())
        requests += t.request != IdentifyRequest;
    return requests;
}

// Hidden before it is ever painted: Qt paints a window this large in
// segments on threads of its own, which a thread sanitizer cannot follow.
// Closing it still asks, as for the one shown.
void unpainted(QWidget *dialog)
{
    dialog->hide();
}

QStringList column(const QTableWidget *table, int column)
{
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << table->item(row, column)->text();
    return texts;
}

} // namespace

class TestWindowDrivers : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString upgFile;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void menuFollowsDrivers_data();
    void menuFollowsDrivers();
    void operationsGoToTheChosenDriver_data();
    void operationsGoToTheChosenDriver();
    void firmwareChangeKeepsItsDriver();
    void allDriversDialog();
    void refusedFileTouchesNoDriver();
    void closingWhileChanging_data();
    void closingWhileChanging();
};

void TestWindowDrivers::initTestCase()
{
    QLoggingCategory::setFilterRules("default.debug=false");
    QVERIFY(dir.isValid());
    upgFile = signedRelease(dir.path(), samplefirmware::hexFile());
    QVERIFY(!upgFile.isEmpty());
}

void TestWindowDrivers::init()
{
    sim::reset();
    upgradesteps::setSleepFunction(noSleep);
    static int run = 0;
    qputenv("VN274_DB", dir.filePath(QStringLiteral("record-%1.sqlite").arg(++run)).toUtf8());
}

void TestWindowDrivers::cleanup()
{
    sim::setHooks(sim::Hooks());
    upgradesteps::setSleepFunction(nullptr);
    qunsetenv("VN274_DB");
}

void TestWindowDrivers::menuFollowsDrivers_data()
{
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QStringList>("entries");
    QTest::addColumn<QString>("title");

    QTest::newRow("none") << QStringList() << QStringList("No driver connected") << "Vn274 ver. 1.02";
    QTest::newRow("one: marked, the title as ever")
        << QStringList("+002/002/240611027") << QStringList("240611027 (application)*") << "Vn274 ver. 1.02";
    QTest::newRow("a second arrives: the first is chosen")
        << QStringList({ "+002/002/240611027", "+002/003/240611028b" })
        << QStringList({ "240611027 (application)*", "240611028 (bootloader)" }) << "Vn274 ver. 1.02 - 240611027";
    QTest::newRow("the chosen one leaves: still chosen, not connected")
        << QStringList({ "+002/002/240611027", "+002/003/240611028", "-002/002" })
        << QStringList({ "240611028 (application)", "240611027 (not connected)*" })
        << "Vn274 ver. 1.02 - 240611027 (not connected)";
    QTest::newRow("the chosen one restarts into its bootloader")
        << QStringList({ "+002/002/240611027", "+002/003/240611028", "-002/002", "+002/004/240611027b" })
        << QStringList({ "240611028 (application)", "240611027 (bootloader)*" }) << "Vn274 ver. 1.02 - 240611027";
    QTest::newRow("the other one leaves: one left, still chosen")
        << QStringList({ "+002/002/240611027", "+002/003/240611028", "-002/003" })
        << QStringList("240611027 (application)*") << "Vn274 ver. 1.02 - 240611027";
    QTest::newRow("an arrival without a serial, another device leaving")
        << QStringList({ "+002/002/240611027", "+002/002/", "-001/005" })
        << QStringList("240611027 (application)*") << "Vn274 ver. 1.02";
}

void TestWindowDrivers::menuFollowsDrivers()
{
    QFETCH(QStringList, events);
    QFETCH(QStringList, entries);
    QFETCH(QString, title);
    Vn274_bootloader window;
    for (const QString &event : events)
        feed(window, event);
    QCOMPARE(driverEntries(window), entries);
    QCOMPARE(window.windowTitle().remove("[*]"), title);
    QCOMPARE(window.device()->selectedSerial(), window.connectedDrivers()->chosen());

    // Chosen in the menu: the window works on that one alone, and says so.
    if (entries.size() == 2) {
        const QByteArray other = entries.at(entries.at(0).endsWith('*') ? 1 : 0).left(9).toLatin1();
        chooseInMenu(window, other);
        QCOMPARE(window.connectedDrivers()->chosen(), other);
        QCOMPARE(window.device()->selectedSerial(), other);
        QVERIFY(window.windowTitle().contains(QString::fromLatin1(other)));
        QVERIFY(window.findChild<QTextBrowser *>("txt")->toPlainText().endsWith("Working on the driver " + other));
    }
}

void TestWindowDrivers::operationsGoToTheChosenDriver_data()
{
    QTest::addColumn<QString>("slot");

    QTest::newRow("Get Programs") << "slotpushButtonGetProgramsFromVn274";
    QTest::newRow("Set Scenes") << "slotpushButtonSetScenesInVn274";
    QTest::newRow("StatusGet of the service panel") << "slotpushButtonStatusGet";
    QTest::newRow("Firmware Change") << "slotpushButtonCHF";
}

// Two drivers, the second chosen: it alone is talked to. Once it is gone the
// operation says so and reaches no driver at all; when the window has not
// heard of its going yet, the link still takes no other driver.
void TestWindowDrivers::operationsGoToTheChosenDriver()
{
    QFETCH(QString, slot);
    setUpSimulatedDrivers(2);
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    announceSimulatedDrivers(window);
    const QString gone = QStringLiteral("-%1/%2").arg(sim::driver(1).busNumber()).arg(sim::driver(1).deviceNumber());
    chooseInMenu(window, simulatedSerial(1));
    const auto run = [&] {
        if (slot == "slotpushButtonCHF")
            prompts.answer(upgFile);
        QVERIFY(QMetaObject::invokeMethod(&window, slot.toLatin1(), Q_ARG(bool, false)));
        // Its lines are taken once it has ended, not beside it (the thread
        // sanitizer cannot follow Qt's shared strings between the two).
        QVERIFY(window.firmwareWorker()->wait(30000));
        QCoreApplication::processEvents();
    };

    run();
    QVERIFY(requestsTo(sim::driver(1)) > 0);
    QCOMPARE(requestsTo(sim::driver(0)), 0);
    QVERIFY2(prompts.boxes().isEmpty(), qPrintable(prompts.boxes().join('\n')));

    // Pulled out; the window has not heard of it yet.
    sim::driver(1).unplug();
    sim::clearTransfers();
    run();
    QCOMPARE(requestsTo(sim::driver(0)), 0);

    // Heard of: the next operation says so before anything is sent.
    feed(window, gone);
    QVERIFY(!window.connectedDrivers()->isPresent(simulatedSerial(1)));
    prompts.asked.clear();
    sim::clearTransfers();
    if (slot == "slotpushButtonCHF")
        prompts.answers.clear();
    QVERIFY(QMetaObject::invokeMethod(&window, slot.toLatin1(), Q_ARG(bool, false)));
    QCOMPARE(prompts.boxes(), QStringList("critical|Error|The Vn274 240611028 is not connected.\n"
                                          "Plug it in again, or choose another driver in the Driver menu."));
    QVERIFY(sim::transfers().isEmpty());
}

// With no driver chosen (one driver), the window's firmware change follows
// the driver it reached through both restarts, though another one in its
// bootloader turns up first on the bus meanwhile.
void TestWindowDrivers::firmwareChangeKeepsItsDriver()
{
    setUpSimulatedDrivers(1);
    sim::Hooks hooks;
    std::atomic<bool> added = false;
    hooks.transfer = [&added](int device, int request) {
        if (device == 0 && request == RunApplicationRequest && !added.exchange(true))
            sim::addDriver("240611099", sim::Mode::Bootloader, true);
    };
    sim::setHooks(hooks);
    ScriptedPrompts prompts;
    prompts.answer(upgFile);
    Vn274_bootloader window;
    window.slotpushButtonCHF(false);
    QVERIFY(window.firmwareWorker()->wait(30000));
    QCoreApplication::processEvents();
    QVERIFY(added);

    const sim::Driver intruder = sim::driver(1);
    QCOMPARE(intruder.serialString(), QByteArray("240611099b"));
    for (const sim::Transfer &t : intruder.transfers())
        QVERIFY(t.request != WritePageRequest);
    QVERIFY(window.findChild<QTextBrowser *>("txt")->toPlainText().contains(
        "The new application runs on the driver 240611027"));
    QVERIFY(window.device()->selectedSerial().isEmpty());
}

// Eight drivers, the third pulled out at its page 40 and the sixth never
// starting its new application: six are changed, two reported, eight rows.
void TestWindowDrivers::allDriversDialog()
{
    setUpSimulatedDrivers(8);
    sim::driver(2).unplugAtTransfer(WritePageRequest, 40 - 16);
    sim::driver(5).setStaysInBootloader(true);
    ScriptedPrompts prompts;
    prompts.answer(upgFile);
    Vn274_bootloader window;
    announceSimulatedDrivers(window);
    window.findChild<QAction *>("actionChangeFirmwareOfAllDrivers")->trigger();

    AllDriversDialog *dialog = window.allDriversDialog();
    QVERIFY(dialog && dialog->isVisible());
    unpainted(dialog);
    QVERIFY(dialog->changing());
    // The window goes on, its device operations and choices held meanwhile.
    QVERIFY(!window.findChild<QPushButton *>("pushButtonGetProgramsFormVn274")->isEnabled());
    QVERIFY(!window.findChild<QAction *>("actionChangeFirmwareOfAllDrivers")->isEnabled());
    QVERIFY(!window.close());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog->changing(), 60000);
    QVERIFY(window.findChild<QPushButton *>("pushButtonGetProgramsFormVn274")->isEnabled());

    const auto *table = dialog->findChild<QTableWidget *>("tableDrivers");
    QStringList serials;
    for (int i = 0; i < 8; ++i)
        serials << QString::fromLatin1(simulatedSerial(i));
    QCOMPARE(column(table, 0), serials);
    QStringList results(8, "The new application runs");
    results[2] = "Failed: ERROR";
    results[5] = "Failed: The new application did not start: the driver 240611032 is still in its bootloader, "
                 "ready for another attempt";
    QCOMPARE(column(table, 4), results);
    for (int row = 0; row < 8; ++row) {
        const int percent = static_cast<QProgressBar *>(table->cellWidget(row, 2))->value();
        QVERIFY2((percent == 100) == (row != 2 && row != 5), qPrintable(QString::number(row)));
    }
    QCOMPARE(table->item(0, 3)->text(), "The new application runs on the driver 240611027");
    QVERIFY(window.findChild<QTextBrowser *>("txt")->toPlainText().contains(
        "240611030: The new application runs on the driver 240611030"));

    RecordDatabase record;
    QString error;
    QVERIFY(record.open(*parseDatabaseUrl(qEnvironmentVariable("VN274_DB"), &error)));
    const std::optional<QList<FirmwareChange>> rows = FirmwareHistory(record).changes(QString(), QDateTime(), &error);
    QVERIFY2(rows, qPrintable(error));
    QCOMPARE(rows->size(), 8);
    int succeeded = 0;
    for (const FirmwareChange &row : *rows)
        succeeded += row.succeeded;
    QCOMPARE(succeeded, 6);
    QVERIFY(prompts.boxes().contains("information|Info|Firmware change in progress"));
}

// The file is checked before any driver is looked at.
void TestWindowDrivers::refusedFileTouchesNoDriver()
{
    setUpSimulatedDrivers(2);
    const QString unsignedFile = dir.filePath("unsigned.upg");
    QFile::remove(unsignedFile);
    QVERIFY(QFile::copy(upgFile, unsignedFile));
    ScriptedPrompts prompts;
    prompts.answer(unsignedFile);
    Vn274_bootloader window;
    window.findChild<QAction *>("actionChangeFirmwareOfAllDrivers")->trigger();
    QCOMPARE(prompts.boxes().size(), 1);
    QVERIFY(prompts.boxes().first().startsWith("critical|File error|Release signature refused: no signature file"));
    QVERIFY(!window.allDriversDialog());
    QVERIFY(sim::transfers().isEmpty());
    QVERIFY(window.findChild<QPushButton *>("pushButtonCHF")->isEnabled());
}

void TestWindowDrivers::closingWhileChanging_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("result");

    QTest::newRow("no: the changes go on")
        << int(QMessageBox::No) << "The new application runs";
    QTest::newRow("yes: they stop, and the dialog closes")
        << int(QMessageBox::Yes) << "Stopped in its bootloader, ready for another attempt";
}

// Three drivers held at their page 40 while the dialog is closed.
void TestWindowDrivers::closingWhileChanging()
{
    QFETCH(int, answer);
    QFETCH(QString, result);
    constexpr int Held = 3;
    setUpSimulatedDrivers(Held);
    PageFortyHold hold(Held);

    ScriptedPrompts prompts;
    prompts.answer(upgFile);
    Vn274_bootloader window;
    window.findChild<QAction *>("actionChangeFirmwareOfAllDrivers")->trigger();
    QPointer<AllDriversDialog> dialog = window.allDriversDialog();
    unpainted(dialog);
    QVERIFY(hold.waitUntilHeld());
    prompts.answer(answer);
    QVERIFY(!dialog->close());
    QCOMPARE(prompts.asked.last().kind, QString("question"));
    QCOMPARE(prompts.asked.last().label,
             "Drivers still being changed: 240611027, 240611028, 240611029.\n\nStop their changes and close? "
             "Each stops at its next step; a driver left in its bootloader is ready for another attempt.");
    hold.release();
    QTRY_VERIFY_WITH_TIMEOUT(!dialog || !dialog->changing(), 30000);

    if (answer == QMessageBox::Yes) {
        QTRY_VERIFY(!dialog);
        QVERIFY(!window.allDriversDialog());
    } else {
        QVERIFY(dialog);
        const auto *table = dialog->findChild<QTableWidget *>("tableDrivers");
        QCOMPARE(column(table, 4), QStringList(Held, result));
        dialog->close();
    }
    RecordDatabase record;
    QString error;
    QVERIFY(record.open(*parseDatabaseUrl(qEnvironmentVariable("VN274_DB"), &error)));
    const std::optional<QList<FirmwareChange>> rows = FirmwareHistory(record).changes(QString(), QDateTime(), &error);
    QVERIFY2(rows, qPrintable(error));
    QCOMPARE(rows->size(), Held);
    for (const FirmwareChange &row : *rows)
        QCOMPARE(row.outcome, answer == QMessageBox::Yes ? QString("interrupted") : QString("success"));
    QCOMPARE(prompts.unexpected, QStringList());
}

QTEST_MAIN(TestWindowDrivers)
#include "tst_windowdrivers.moc"
