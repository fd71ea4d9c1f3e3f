// Several simulated drivers changed at once: each followed through its
// restarts by its serial number, each exactly as a driver changed alone, a
// fault ending only its own change, each with its row in the firmware history.

#include "common/simulateddrivers.h"
#include "common/testfiles.h"
#include "production/databaseurl.h"
#include "production/firmwarehistory.h"
#include "production/recorddatabase.h"
#include "simulator/simdriver.h"
#include "upgrade/concurrentupgrade.h"
#include "upgrade/samplefirmware.h"
#include "upgrade/upgradefile.h"
#include "upgrade/upgradesteps.h"
#include "usb/usbrq518.h"

#include <QLoggingCategory>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>


namespace {

constexpr int Drivers = 8;
constexpr int WritePageRequest = 3;
constexpr int IdentifyRequest = 255;

void noSleep(unsigned long) {}

// What a driver was sent, the link's identification requests left out: other
// links ask every driver on the bus for its word while they look for theirs.
QStringList requestsTo(const sim::Driver &driver)
{
    QStringList requests;
    for (const sim::Transfer &t : driver.transfers())
        if (t.request != IdentifyRequest)
            requests << QStringLiteral("%1 %2 %3 %4 -> %5").arg(t.request).arg(t.value).arg(t.index).arg(t.length).arg(t.result);
    return requests;
}

QSet<Qt::HANDLE> threadsOf(const sim::Driver &driver)
{
    QSet<Qt::HANDLE> threads;
    for (const sim::Transfer &t : driver.transfers())
        if (t.request != IdentifyRequest)
            threads.insert(t.thread);
    return threads;
}

enum Fault { UnpluggedAtPage40, StaysInBootloader, NeverBack, ExternalFlashDiffers };

void plant(const sim::Driver &driver, Fault fault)
{
    switch (fault) {
    case UnpluggedAtPage40: driver.unplugAtTransfer(WritePageRequest, 40 - 16); break;
    case StaysInBootloader: driver.setStaysInBootloader(true); break;
    case NeverBack: driver.setNeverReturns(true); break;
    case ExternalFlashDiffers: driver.corruptReads(sim::Memory::External, 0x100); break;
    }
}

} // namespace

Q_DECLARE_METATYPE(Fault)
Q_DECLARE_METATYPE(DriverResult::Ending)

class TstConcurrentUpgrade : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir dir;
    QString upgFile;
    UpgradeFileContent release;
    QStringList aloneRequests;     // what a driver changed alone is sent

private slots:
    void initTestCase();
    void init();
    void cleanup() { upgradesteps::setSleepFunction(nullptr); }

    void eightDriversAtOnce_data();
    void eightDriversAtOnce();
    void refusedReleaseTouchesNoDriver();
    void stopRequests_data();
    void stopRequests();
};

void TstConcurrentUpgrade::initTestCase()
{
    QLoggingCategory::setFilterRules("default.debug=false");
    QVERIFY(dir.isValid());
    upgFile = signedRelease(dir.path(), samplefirmware::hexFile());
    QVERIFY(!upgFile.isEmpty());
    release = readUpgradeFile(upgFile);

    // The yardstick: one driver alone, changed as vn274-tool upgrade does.
    init();
    USBRQ518 usb;
    usb.selectSerial(simulatedSerial(0));
    QVERIFY(changeFirmware(usb, upgFile, UpgradeProgress()).succeeded);
    aloneRequests = requestsTo(sim::driver(0));
    QVERIFY(aloneRequests.size() > 500);
}

void TstConcurrentUpgrade::init()
{
    sim::reset();
    upgradesteps::setSleepFunction(noSleep);
    setUpSimulatedDrivers(1);
}

void TstConcurrentUpgrade::eightDriversAtOnce_data()
{
    QTest::addColumn<Fault>("firstFault");     // of the third driver
    QTest::addColumn<QString>("firstOutcome");
    QTest::addColumn<Fault>("secondFault");    // of the sixth
    QTest::addColumn<QString>("secondOutcome");

    QTest::newRow("unplugged at page 40, new application stays in its bootloader")
        << UnpluggedAtPage40 << "ERROR" << StaysInBootloader
        << "The new application did not start: the driver 240611032 is still in its bootloader, ready for another attempt";
    QTest::newRow("never back from the reset, external flash differs")
        << NeverBack << "USB timout; Check USB cable" << ExternalFlashDiffers << "Error";
}

void TstConcurrentUpgrade::eightDriversAtOnce()
{
    QFETCH(Fault, firstFault);
    QFETCH(QString, firstOutcome);
    QFETCH(Fault, secondFault);
    QFETCH(QString, secondOutcome);
    setUpSimulatedDrivers(Drivers);
    const int faulty[2] = { 2, 5 };
    plant(sim::driver(faulty[0]), firstFault);
    plant(sim::driver(faulty[1]), secondFault);

    RecordDatabase record;
    QString error;
    QVERIFY(record.open(*parseDatabaseUrl(dir.filePath(QTest::currentDataTag() + QStringLiteral(".sqlite")), &error)));
    ConcurrentUpgrade upgrade;
    upgrade.setRecord(&record);
    QVERIFY(upgrade.setRelease(upgFile));
    QCOMPARE(upgrade.releaseLines(), QStringList({ upgFile, "Signed release: Vn274 firmware 2.1 (release key 53BE7B6EA04F19A8)" }));
    QMap<QByteArray, QStringList> lines;
    QMap<QByteArray, QList<UpgradeStep>> steps;
    connect(&upgrade, &ConcurrentUpgrade::driverLine, this,
            [&lines](const QByteArray &serial, const QString &line) { lines[serial] << line; });
    connect(&upgrade, &ConcurrentUpgrade::driverProgress, this, [&steps](const DriverProgress &progress) {
        QList<UpgradeStep> &seen = steps[progress.serial];
        if (seen.isEmpty() || seen.last() != progress.step)
            seen << progress.step;
    });

    const QList<QByteArray> connected = ConcurrentUpgrade::connectedDrivers();
    QCOMPARE(connected.size(), Drivers);
    for (const QByteArray &serial : connected)
        QVERIFY(upgrade.start(serial));
    QVERIFY(!upgrade.start(simulatedSerial(0) + 'b'));   // in progress already
    QCOMPARE(upgrade.running(), Drivers);
    upgrade.waitUntilIdle();

    const QList<DriverResult> results = upgrade.results();
    QCOMPARE(results.size(), Drivers);
    const QList<UpgradeStep> allSteps = { UpgradeStep::Connecting, UpgradeStep::RestartingIntoBootloader,
                                          UpgradeStep::WritingApplication, UpgradeStep::WritingExternalFlash,
                                          UpgradeStep::VerifyingExternalFlash, UpgradeStep::StartingApplication };
    for (const DriverResult &result : results) {
        const int index = int(result.serial.toInt() - 240611027);
        const sim::Driver driver = sim::driver(index);
        QVERIFY(result.recorded);
        QVERIFY(result.recordWarning.contains("never issued the serial number '" + result.serial + "'"));
        QCOMPARE(threadsOf(driver).size(), 1);   // its own thread alone talked to it
        if (index == faulty[0] || index == faulty[1]) {
            QCOMPARE(result.ending, DriverResult::Ending::Failed);
            QCOMPARE(result.outcome.trimmed().replace('\n', "; "), index == faulty[0] ? firstOutcome : secondOutcome);
            continue;
        }
        QCOMPARE(result.ending, DriverResult::Ending::Succeeded);
        QCOMPARE(result.step, UpgradeStep::StartingApplication);
        QCOMPARE(steps.value(result.serial), allSteps);
        QCOMPARE(lines.value(result.serial).last(), "The new application runs on the driver " + result.serial);
        QCOMPARE(driver.mode(), sim::Mode::Application);
        QCOMPARE(driver.internalFlash(0x08004000, upgradefile::ApplicationSize), release.application);
        QCOMPARE(driver.externalFlash(0, upgradefile::ExternalFlashSize), scrambled(release.externalFlash));
        QCOMPARE(requestsTo(driver), aloneRequests);
        // Taken in its application, its bootloader and its new application, each a device of its own.
        QCOMPARE(result.devices.size(), 3);
        QCOMPARE(result.devices.last(), QStringLiteral("002/%1").arg(driver.deviceNumber(), 3, 10, QLatin1Char('0')));
    }

    const std::optional<QList<FirmwareChange>> rows = FirmwareHistory(record).changes(QString(), QDateTime(), &error);
    QVERIFY2(rows, qPrintable(error));
    QCOMPARE(rows->size(), Drivers);
    QSet<QString> serials;
    for (const FirmwareChange &row : *rows) {
        serials << row.serial;
        const int index = row.serial.toInt() - 240611027;
        const bool failed = index == faulty[0] || index == faulty[1];
        QCOMPARE(row.succeeded, !failed);
        QCOMPARE(row.outcome, !failed ? QString("success") : index == faulty[0] ? firstOutcome : secondOutcome);
        QCOMPARE(row.fileName, QString("sample.upg"));
        QCOMPARE(row.trustedComment, QString("Vn274 firmware 2.1"));
    }
    QCOMPARE(serials.size(), Drivers);
}

// The file is checked once, before any driver: a refused one starts none.
void TstConcurrentUpgrade::refusedReleaseTouchesNoDriver()
{
    setUpSimulatedDrivers(2);
    QFile::remove(dir.filePath("unsigned.upg"));
    QVERIFY(QFile::copy(upgFile, dir.filePath("unsigned.upg")));
    ConcurrentUpgrade upgrade;
    QVERIFY(!upgrade.setRelease(dir.filePath("unsigned.upg")));
    QCOMPARE(upgrade.releaseLines().last(), upgrade.release().refusal);
    QVERIFY(upgrade.releaseLines().last().startsWith("Release signature refused: no signature file"));
    QVERIFY(!upgrade.start(simulatedSerial(0)));
    QCOMPARE(upgrade.running(), 0);
    QVERIFY(sim::transfers().isEmpty());
}

void TstConcurrentUpgrade::stopRequests_data()
{
    QTest::addColumn<int>("requests");
    QTest::addColumn<DriverResult::Ending>("ending");
    QTest::addColumn<QString>("outcome");   // in the firmware history

    QTest::newRow("once: the changes in progress finish") << 1 << DriverResult::Ending::Succeeded << "success";
    QTest::newRow("twice: they stop before the next page") << 2 << DriverResult::Ending::Interrupted << "interrupted";
}

// Three drivers are held at their page 40 while the stop is requested.
void TstConcurrentUpgrade::stopRequests()
{
    QFETCH(int, requests);
    QFETCH(DriverResult::Ending, ending);
    QFETCH(QString, outcome);
    constexpr int Held = 3;
    setUpSimulatedDrivers(Held + 1);

    PageFortyHold hold(Held);

    RecordDatabase record;
    QString error;
    QVERIFY(record.open(*parseDatabaseUrl(dir.filePath(QStringLiteral("stop-%1.sqlite").arg(requests)), &error)));
    ConcurrentUpgrade upgrade;
    upgrade.setRecord(&record);
    QVERIFY(upgrade.setRelease(upgFile));
    for (int i = 0; i < Held; ++i)
        QVERIFY(upgrade.start(simulatedSerial(i)));
    QVERIFY(hold.waitUntilHeld());
    for (int i = 0; i < requests; ++i)
        upgrade.requestStop();
    QVERIFY(!upgrade.start(simulatedSerial(Held)));   // nothing new
    hold.release();
    upgrade.waitUntilIdle();

    QCOMPARE(upgrade.results().size(), Held);
    for (const DriverResult &result : upgrade.results()) {
        QCOMPARE(result.ending, ending);
        // Stopped while it wrote its application: in its bootloader, ready for another attempt.
        QCOMPARE(result.inBootloader, ending == DriverResult::Ending::Interrupted);
        QCOMPARE(result.step, ending == DriverResult::Ending::Interrupted ? UpgradeStep::WritingApplication
                                                                          : UpgradeStep::StartingApplication);
    }
    for (int i = 0; i < Held; ++i)
        QCOMPARE(hold.pagesWritten(i), ending == DriverResult::Ending::Interrupted ? 40 - 16 + 1 : 112);
    QVERIFY(requestsTo(sim::driver(Held)).isEmpty());
    const std::optional<QList<FirmwareChange>> rows = FirmwareHistory(record).changes(QString(), QDateTime(), &error);
    QVERIFY2(rows, qPrintable(error));
    QCOMPARE(rows->size(), Held);
    for (const FirmwareChange &row : *rows)
        QCOMPARE(row.outcome, outcome);
}

QTEST_GUILESS_MAIN(TstConcurrentUpgrade)
#include "tst_concurrentupgrade.moc"
