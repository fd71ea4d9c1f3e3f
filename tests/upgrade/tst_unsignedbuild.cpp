// A build without release keys takes every upgrade file, as before signatures
// existed, and never without a word: the window's message area and vn274-tool
// upgrade say that nothing was checked before the change starts.
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "simulator/simdriver.h"
#include "tool/tool.h"
#include "upgrade/releasesignature.h"
#include "upgrade/upgrader.h"
#include "upgrade/upgradesteps.h"

#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTranslator>
#include <QtTest>

namespace {

const QString Notice = "Release signatures are not checked by this build";
const QString RunsLine = "The new application runs on the driver 240611027";

void noSleep(unsigned long)
{
}

QStringList messageArea(Vn274_bootloader &window)
{
    return window.findChild<QTextBrowser *>("txt")->toPlainText().split('\n');
}

} // namespace

class TstUnsignedBuild : public QObject
{
    Q_OBJECT

    QTemporaryDir dir;
    QString sample;   // the demo's release, never signed

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void windowChangeSaysSo();
    void serviceChangeSaysSo();
    void toolSaysSoOnStandardError();
    void inPolish();
};

void TstUnsignedBuild::initTestCase()
{
    QLoggingCategory::setFilterRules("default.debug=false");
    QVERIFY(dir.isValid());
    sample = QCoreApplication::applicationDirPath() + "/vn274-sample.upg";
    QVERIFY2(QFileInfo::exists(sample), qPrintable(sample));
    QVERIFY(pinnedReleaseKeys().isEmpty());
    qputenv("VN274_DB", dir.filePath("record.sqlite").toUtf8());
}

void TstUnsignedBuild::init()
{
    sim::reset();
    sim::setReenumeration(2, 600000);   // back after a reset at once
    upgradesteps::setSleepFunction(noSleep);
}

void TstUnsignedBuild::cleanup()
{
    upgradesteps::setSleepFunction(nullptr);
}

// "Firmware Change": the notice, then the worker's lines, to the new application.
void TstUnsignedBuild::windowChangeSaysSo()
{
    ScriptedPrompts prompts;
    prompts.answer(sample);
    Vn274_bootloader window;
    window.slotpushButtonCHF(false);
    QVERIFY(window.firmwareWorker()->wait(60000));
    QTRY_VERIFY(messageArea(window).contains(RunsLine));
    QCOMPARE(messageArea(window).mid(0, 2), QStringList({ Notice, sample }));
    QCOMPARE(sim::mode(), sim::Mode::Application);

    // No file, no change: nothing to say.
    window.findChild<QTextBrowser *>("txt")->clear();
    prompts.cancel();
    window.slotpushButtonCHF(false);
    QVERIFY(window.firmwareWorker()->wait(30000));
    QCOMPARE(messageArea(window), QStringList({ "" }));
}

// The service panel's change: after the file's name and time, before the driver.
void TstUnsignedBuild::serviceChangeSaysSo()
{
    ScriptedPrompts prompts;
    prompts.answer(sample).answer(int(QMessageBox::Yes));
    Vn274_bootloader window;
    window.slotpushButtonFirmware(false);
    const QStringList lines = messageArea(window);
    QCOMPARE(lines.value(2), Notice);
    QCOMPARE(lines.value(3), QString("240611027"));
    QCOMPARE(prompts.boxes().constLast(), QString("information|Info|Write OK"));
}

void TstUnsignedBuild::toolSaysSoOnStandardError()
{
    QString out, err;
    QTextStream outStream(&out), errStream(&err);
    QCOMPARE(runTool({ "upgrade", sample }, outStream, errStream), 0);
    outStream.flush();
    errStream.flush();
    QCOMPARE(err, "vn274-tool upgrade: warning: " + Notice + "\n"
                  "vn274-tool upgrade: warning: the record never issued the serial number '240611027'; its firmware "
                  "change is recorded all the same\n");
    QVERIFY2(!out.contains(Notice) && out.endsWith(RunsLine + "\n"), qPrintable(out));

    out.clear();
    QCOMPARE(runTool({ "--version" }, outStream, errStream), 0);
    outStream.flush();
    QVERIFY2(out.endsWith("\nrelease signatures: not checked\n"), qPrintable(out));
}

void TstUnsignedBuild::inPolish()
{
    QTranslator polish;
    QVERIFY(polish.load("vn274_pl", QCoreApplication::applicationDirPath()));
    QCoreApplication::installTranslator(&polish);
    const QString notice = releaseCheckNotice();
    QCoreApplication::removeTranslator(&polish);
    QCOMPARE(notice, QString("Ta wersja programu nie sprawdza podpisów wydań"));
    QCOMPARE(releaseCheckNotice(), Notice);
}

QTEST_MAIN(TstUnsignedBuild)
#include "tst_unsignedbuild.moc"
