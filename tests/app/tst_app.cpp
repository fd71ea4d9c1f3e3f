// The application shell: the main window as built, the tab switch, the
// restart loop with its translations, the about box and the demo's driver.
#include "app/demo.h"
#include "app/startup.h"
#include "app/translation.h"
#include "app/userprompts.h"
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "common/testfiles.h"
#include "shows/showtables.h"
#include "simulator/simdriver.h"
#include "usb/usbrq518.h"
#include "widgets/superrgb.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMetaMethod>
#include <QPixmap>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <QTreeView>
#include <QLoggingCategory>
#include <QXmlStreamReader>
#include <QtTest>

namespace {

// How many connections a signal has (QObject::receivers is protected).
struct ReceiverCount : QObject
{
    static int of(const QObject *sender, const char *signal)
    {
        return (sender->*(&ReceiverCount::receivers))(signal);
    }
};

// The title as the window system shows it: Qt's modified marker placeholder
// resolved.
QString shownTitle(QWidget &window)
{
    window.winId();
    return window.windowHandle()->title();
}

QStringList menuTexts(const QList<QAction *> &actions)
{
    QStringList texts;
    for (const QAction *action : actions)
        texts << action->text();
    return texts;
}

// Restores the working directory when a test leaves.
struct WorkingDirectory
{
    explicit WorkingDirectory(const QString &path) : saved(QDir::currentPath()) { QDir::setCurrent(path); }
    ~WorkingDirectory() { QDir::setCurrent(saved); }
    QString saved;
};

} // namespace

class TestApp : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void windowAsBuilt();
    void slotTableInOrder();
    void externalFlashBarsFollowOnlyTheSettingsTab();
    void translationSearchOrder();
    void languageSwitchRebuildsTheWindow();
    void languageSwitchKeepsTheWork();
    void startsInTheSystemLanguage_data();
    void startsInTheSystemLanguage();
    void fileDialogFollowsTheLanguage_data();
    void fileDialogFollowsTheLanguage();
    void saveDialogTellsTheFilterChosen();
    void stepNamesCapitalisedAlike_data();
    void stepNamesCapitalisedAlike();
    void aboutDialog();
    void demoDriverHoldsShows();
};

void TestApp::initTestCase()
{
    // The window and the device narrate every step; keep the test log readable.
    QLoggingCategory::setFilterRules("default.debug=false");
}

void TestApp::init()
{
    sim::reset();
}

void TestApp::windowAsBuilt()
{
    Vn274_bootloader window;
    QCOMPARE(shownTitle(window), QString("Vn274 ver. 1.02"));
    QVERIFY(!window.isWindowModified());
    QCOMPARE(window.objectName(), QString("Vn274_bootloaderClass"));

    // Only "Firmware Change" in the button column.
    const auto *column = window.findChild<QGridLayout *>("gridLayout_2");
    QStringList usable;
    int buttons = 0;
    for (int i = 0; i < column->count(); ++i) {
        auto *button = qobject_cast<QPushButton *>(column->itemAt(i)->widget());
        if (!button)
            continue;
        ++buttons;
        if (button->isVisibleTo(&window) || button->isEnabled())
            usable << button->text();
    }
    QCOMPARE(buttons, 16);
    QCOMPARE(usable, QStringList("Firmware Change"));

    // Menus: File (Close), Edit (Undo, Redo), Driver, Language (Polish, English), Help; Open in none.
    QCOMPARE(menuTexts(window.menuBar()->actions()), QStringList({ "File", "Edit", "Driver", "Language", "Help" }));
    QCOMPARE(menuTexts(window.findChild<QMenu *>("menuDriver")->actions()),
             QStringList({ "No driver connected", "", "Change Firmware Of All Drivers…" }));
    QCOMPARE(menuTexts(window.findChild<QMenu *>("menuFile")->actions()), QStringList("Close"));
    QCOMPARE(menuTexts(window.findChild<QMenu *>("menuLanguage")->actions()), QStringList({ "Polish", "English" }));
    QCOMPARE(menuTexts(window.findChild<QMenu *>("menuHelp")->actions()), QStringList("Vn274 - info"));
    QVERIFY(!window.findChild<QAction *>("actionPolish")->isCheckable());
    QVERIFY(window.findChild<QAction *>("actionOpen")->associatedObjects().isEmpty());

    // Final ranges.
    const QList<std::tuple<const char *, int, int>> ranges = {
        { "spinBoxProgramNumber", 1, 8 }, { "spinBoxSceneNumber", 1, 20 },
        { "spinBoxRiseTime", 0, 100000 }, { "spinBoxStaticTime", 0, 900000 }, { "spinBoxEndMarker", 0, 1 },
        { "spinBoxSceneSceneNumber", 1, 8 }, { "spinBoxSceneRiseTime", 0, 100000 },
        { "spinBoxSceneStaticTime", 0, 900000 },
    };
    for (const auto &[name, minimum, maximum] : ranges) {
        const auto *box = window.findChild<QSpinBox *>(name);
        QVERIFY2(box->minimum() == minimum && box->maximum() == maximum && box->value() == minimum, name);
    }

    // No lamp editor until its tab is first shown; then twelve black lamps on
    // each tab, in lamp order, wearing the window's skin.
    QCOMPARE(window.findChild<QTabWidget *>("tabWidget")->currentIndex(), 0);
    QVERIFY(window.findChildren<SuperRGB *>().isEmpty());
    for (const char *contents : { "scrollAreaWidgetContents", "scrollAreaWidgetContents_2" }) {
        auto *tabs = window.findChild<QTabWidget *>("tabWidget");
        tabs->setCurrentIndex(tabs->currentIndex() + 1);
        const QList<SuperRGB *> lamps =
            window.findChild<QWidget *>(contents)->findChildren<SuperRGB *>(QString(), Qt::FindDirectChildrenOnly);
        QCOMPARE(lamps.size(), 12);
        for (int i = 0; i < lamps.size(); ++i) {
            QCOMPARE(lamps.at(i)->color(), QColor(0, 0, 0));
            QCOMPARE(lamps.at(i)->findChild<QLabel *>("LabelAddress1")->text(), QString::number(3 * i + 1));
            QCOMPARE(lamps.at(i)->style(), window.style());
            for (const QWidget *child : lamps.at(i)->findChildren<QWidget *>())
                QCOMPARE(child->style(), window.style());
        }
    }
    QVERIFY(window.style() != QApplication::style());

    QCOMPARE(window.programTable(), QByteArray(7680, '\0'));
    QCOMPARE(window.sceneTable(), QByteArray(384, '\0'));
    for (const char *bar : { "progressBarFlash", "progressBarExtFlashWr", "progressBarExtFlashRd" })
        QCOMPARE(window.findChild<QProgressBar *>(bar)->value(), 0);
}

void TestApp::slotTableInOrder()
{
    const QStringList expected = {
        "slotpushButtonConnect(bool)", "slotpushButtonDisconnect(bool)", "slotpushButtonRead(bool)",
        "slotpushButtonWrite(bool)", "slotpushButtonWritePage(bool)", "slotpushButtonFirmware(bool)",
        "slotpushButtonWriteExtFlashBin(bool)", "slotpushButtonRunApplication(bool)",
        "slotpushButtonWriteExternalFlash(bool)", "slotpushButtonReadExternalFlash(bool)",
        "slotpushButtonCreateUpg(bool)", "slotpushButtonCreateBootBin(bool)", "slotpushButtonStatusGet(bool)",
        "slotpushButtonStatusSet(bool)", "slotpushButtonStatusClr(bool)", "slotTimeout()", "slotpushButtonCHF(bool)",
        "slotUpdateProgramScene(int)", "slotpushButtonGetProgramsFromVn274(bool)",
        "slotpushButtonSetProgramsInVn274(bool)", "slotUpdateScene(int)", "slotpushButtonGetScenesFromVn274(bool)",
        "slotpushButtonSetScenesInVn274(bool)", "slotpushButtonLoadScenesFromFile(bool)",
        "slotpushButtonLoadProgramsFromFile(bool)", "slotpushButtonSaveScenesToFile(bool)",
        "slotpushButtonSaveProgramsToFile(bool)", "slotShowInfo(bool)", "slotTabChange(int)", "slotPolish(bool)",
        "slotEnglish(bool)",
    };
    const QMetaObject &meta = Vn274_bootloader::staticMetaObject;
    QStringList declared;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        QCOMPARE(meta.method(i).methodType(), QMetaMethod::Slot);
        declared << QString::fromLatin1(meta.method(i).methodSignature());
    }
    QCOMPARE(declared, expected);
}

void TestApp::externalFlashBarsFollowOnlyTheSettingsTab()
{
    Vn274_bootloader window;
    USBRQ518 *device = window.device();
    auto *tabs = window.findChild<QTabWidget *>("tabWidget");
    auto *written = window.findChild<QProgressBar *>("progressBarExtFlashWr");
    auto *read = window.findChild<QProgressBar *>("progressBarExtFlashRd");
    const auto connections = [device] {
        return QPair<int, int>(ReceiverCount::of(device, SIGNAL(sendPercentExtFlashWrite(int))),
                               ReceiverCount::of(device, SIGNAL(sendPercentExtFlashRead(int))));
    };
    QCOMPARE(connections(), qMakePair(1, 1));

    for (int index : { 1, 0, 2, 1, 0, 0 })
        tabs->setCurrentIndex(index);
    QCOMPARE(connections(), qMakePair(1, 1));
    emit device->sendPercentExtFlashWrite(37);
    emit device->sendPercentExtFlashRead(64);
    QCOMPARE(written->value(), 37);
    QCOMPARE(read->value(), 64);

    tabs->setCurrentIndex(2);
    QCOMPARE(connections(), qMakePair(0, 0));
    emit device->sendPercentExtFlashWrite(90);
    QCOMPARE(written->value(), 37);
}

void TestApp::translationSearchOrder()
{
    const QString besideProgram = QCoreApplication::applicationDirPath() + "/vn274_pl.qm";
    QVERIFY2(QFile::exists(besideProgram), "the translations are built beside the programs");

    QTemporaryDir dir;
    WorkingDirectory cwd(dir.path());

    // Found only beside the program.
    QTranslator fromProgramDir;
    QVERIFY(loadTranslation(fromProgramDir, "vn274_pl_PL"));
    QCOMPARE(QFileInfo(fromProgramDir.filePath()).canonicalFilePath(), QFileInfo(besideProgram).canonicalFilePath());
    QCOMPARE(fromProgramDir.translate("Vn274_bootloaderClass", "Scenes"), QString("Sceny"));

    // The working directory comes first.
    QVERIFY(QFile::copy(QCoreApplication::applicationDirPath() + "/vn274_en.qm", dir.filePath("vn274_pl.qm")));
    QTranslator fromWorkingDir;
    QVERIFY(loadTranslation(fromWorkingDir, "vn274_pl"));
    QCOMPARE(QFileInfo(fromWorkingDir.filePath()).canonicalFilePath(),
             QFileInfo(dir.filePath("vn274_pl.qm")).canonicalFilePath());

    // Nowhere: an empty translator, English texts.
    QTranslator none;
    QVERIFY(!loadTranslation(none, "vn274_de_DE"));
    QVERIFY(none.isEmpty());
    QVERIFY(!loadTranslation(none, "vn274_pl", { dir.filePath("nothing here") }));

    // After the program's directory, the installed translations as seen from the
    // program (a staged or moved installation), then their configured place.
    const QStringList path = translationSearchPath();
    QCOMPARE(path.size(), 4);
    QCOMPARE(path.at(2), QDir::cleanPath(QCoreApplication::applicationDirPath() + "/" VN274_TRANSLATIONS_FROM_PROGRAM));
    QCOMPARE(path.at(3), QString(VN274_TRANSLATIONS_INSTALL_DIR));
}

void TestApp::languageSwitchRebuildsTheWindow()
{
    QStringList titles;
    QStringList files;
    QList<Vn274_bootloader *> windows;
    // Each window picks the next language from its menu; the last one is closed.
    const QStringList picks = { "actionPolish", "actionPolish", "actionEnglish", "actionClose" };
    const int code = runMainWindow("de_DE", [&](Vn274_bootloader &window, const QTranslator &translator) {
        titles << window.findChild<QTabWidget *>("tabWidget")->tabText(2);
        files << QFileInfo(translator.filePath()).fileName();
        windows << &window;
        const QString pick = picks.value(windows.size() - 1, "actionClose");
        QAction *action = window.findChild<QAction *>(pick);
        QTimer::singleShot(0, action, &QAction::trigger);
    });
    QCOMPARE(code, 0);
    QCOMPARE(files, QStringList({ "", "vn274_pl.qm", "vn274_pl.qm", "vn274_en.qm" }));
    QCOMPARE(titles, QStringList({ "Scenes", "Sceny", "Sceny", "Scenes" }));
    for (QWidget *widget : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<Vn274_bootloader *>(widget));
}

void TestApp::languageSwitchKeepsTheWork()
{
    ScriptedPrompts prompts;
    prompts.answer(int(QMessageBox::Close));
    QList<EditingState> seen;
    QStringList titles;
    int windows = 0;
    const int code = runMainWindow("en_GB", [&](Vn274_bootloader &window, const QTranslator &) {
        const auto spin = [&window](const char *name) { return window.findChild<QSpinBox *>(name); };
        const auto lamps = [&window](const char *contents) {
            window.programEditors();
            window.sceneEditors();
            return window.findChild<QWidget *>(contents)->findChildren<SuperRGB *>(QString(), Qt::FindDirectChildrenOnly);
        };
        ++windows;
        titles << shownTitle(window);
        if (windows == 1) {
            // Committed edits, uncommitted ones in both editors, selected
            // sliders on both tabs, and the Programs tab shown.
            spin("spinBoxSceneNumber")->setValue(2);
            lamps("scrollAreaWidgetContents").at(0)->setRedColor(11);
            spin("spinBoxProgramNumber")->setValue(3);
            spin("spinBoxSceneNumber")->setValue(4);
            spin("spinBoxRiseTime")->setValue(44);
            lamps("scrollAreaWidgetContents").at(5)->setBlueColor(155);
            spin("spinBoxSceneSceneNumber")->setValue(6);
            spin("spinBoxSceneStaticTime")->setValue(6000);
            lamps("scrollAreaWidgetContents_2").at(11)->setGreenColor(66);
            lamps("scrollAreaWidgetContents").at(1)->selectGreen(true);
            lamps("scrollAreaWidgetContents").at(7)->setAll(true);
            lamps("scrollAreaWidgetContents_2").at(2)->selectBlue(true);
            window.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(1);
            titles << shownTitle(window);
            QTimer::singleShot(0, window.findChild<QAction *>("actionPolish"), &QAction::trigger);
            return;
        }

        // The Polish window shows the same records, selections and tab, and
        // still knows the changes are pending.
        QCOMPARE(spin("spinBoxProgramNumber")->value(), 3);
        QCOMPARE(spin("spinBoxSceneNumber")->value(), 4);
        QCOMPARE(spin("spinBoxSceneSceneNumber")->value(), 6);
        QCOMPARE(spin("spinBoxRiseTime")->value(), 44);
        QCOMPARE(lamps("scrollAreaWidgetContents").at(5)->color(), QColor(0, 0, 155));
        QCOMPARE(spin("spinBoxSceneStaticTime")->value(), 6000);
        QCOMPARE(lamps("scrollAreaWidgetContents_2").at(11)->color(), QColor(0, 66, 0));
        QCOMPARE(window.findChild<QTabWidget *>("tabWidget")->currentIndex(), 1);
        const auto record = [](const QByteArray &table, int offset) { return Shows::recordAt(table, offset); };
        QCOMPARE(int(record(window.programTable(), Shows::programRecordOffset(0, 1)).lampRgb[0]), 11);
        QCOMPARE(int(record(window.programTable(), Shows::programRecordOffset(2, 3)).riseTime), 44);
        QCOMPARE(int(record(window.sceneTable(), Shows::sceneRecordOffset(5)).staticTime), 6000);
        QList<bool> programSliders(36, false);
        programSliders[4] = programSliders[21] = programSliders[22] = programSliders[23] = true;
        QList<bool> sceneSliders(36, false);
        sceneSliders[8] = true;
        const EditingState state = window.editingState();
        QCOMPARE(state.programSliders, programSliders);
        QCOMPARE(state.sceneSliders, sceneSliders);
        QVERIFY(window.isWindowModified());

        // Moving on commits nothing over the records taken over.
        spin("spinBoxSceneNumber")->setValue(5);
        QCOMPARE(int(record(window.programTable(), Shows::programRecordOffset(2, 3)).lampRgb[17]), 155);
        QTimer::singleShot(0, &window, &QWidget::close);
    });
    QCOMPARE(code, 0);
    QCOMPARE(windows, 2);
    QCOMPARE(titles, QStringList({ "Vn274 ver. 1.02", "Vn274 ver. 1.02*", "Vn274 wer. 1.02*" }));
    // The close asked, since the work was never saved.
    QCOMPARE(prompts.boxes().size(), 1);
    QVERIFY(prompts.unexpected.isEmpty());
}

void TestApp::startsInTheSystemLanguage_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("qtCancel");
    QTest::newRow("Polish") << "pl_PL" << "Vn274 wer. 1.02" << "Anuluj";
    QTest::newRow("English") << "en_GB" << "Vn274 ver. 1.02" << "Cancel";
    // No translation of ours: Qt's texts stay English as well.
    QTest::newRow("German") << "de_DE" << "Vn274 ver. 1.02" << "Cancel";
}

void TestApp::startsInTheSystemLanguage()
{
    QFETCH(QString, locale);
    QFETCH(QString, title);
    QFETCH(QString, qtCancel);
    QString titleShown, cancelShown;
    int chfRoom = 0;   // beside the label of "Firmware Change", for the caps of its skin
    const int code = runMainWindow(locale, [&](Vn274_bootloader &window, const QTranslator &) {
        titleShown = shownTitle(window);
        const auto *chf = window.findChild<QPushButton *>("pushButtonCHF");
        chfRoom = chf->width() - chf->fontMetrics().horizontalAdvance(chf->text());
        // Qt's own texts, as its standard buttons and dialogs take them.
        cancelShown = QCoreApplication::translate("QPlatformTheme", "Cancel");
        QTimer::singleShot(0, &window, &QWidget::close);
    });
    QCOMPARE(code, 0);
    QCOMPARE(titleShown, title);
    QCOMPARE(cancelShown, qtCancel);
    QVERIFY2(chfRoom >= 2 * 10, qPrintable(QString::number(chfRoom)));
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
}

void TestApp::fileDialogFollowsTheLanguage_data()
{
    QTest::addColumn<QString>("locale");   // the system's, as the program is started
    QTest::addColumn<int>("language");     // the program's, and of the dialog's dates and sizes
    QTest::addColumn<QString>("folder");   // the type of a folder in the list
    QTest::addColumn<QString>("open");     // Qt's own text of the dialog's button
    QTest::newRow("Polish") << "pl_PL" << int(QLocale::Polish) << "Katalog" << "&Otwórz";
    QTest::newRow("English") << "en_GB" << int(QLocale::English) << "Folder" << "&Open";
}

// The real file dialog of "Load Programs From FIle": its buttons, the folders'
// type and the dates and sizes of the files in the program's language, not in
// the system's.
void TestApp::fileDialogFollowsTheLanguage()
{
    QFETCH(QString, locale);
    QFETCH(int, language);
    QFETCH(QString, folder);
    QFETCH(QString, open);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("shows"));
    writeBytes(dir.filePath("big.pgm"), QByteArray(7680 * 300, '\0'));
    const QFileInfo big(dir.filePath("big.pgm"));
    WorkingDirectory cwd(dir.path());

    QStringList shown;   // language of the default locale, folder type, file date, file size, button
    QString expectedDate, expectedSize;
    const int code = runMainWindow(locale, [&](Vn274_bootloader &window, const QTranslator &) {
        expectedDate = QLocale().toString(big.lastModified(), QLocale::ShortFormat);
        expectedSize = QLocale().formattedDataSize(big.size());
        QTimer::singleShot(0, &window, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            const auto *view = dialog->findChild<QTreeView *>("treeView");
            QTRY_COMPARE(view->model()->rowCount(view->rootIndex()), 2);
            QMap<QString, QModelIndex> rows;   // by name
            for (int row = 0; row < 2; ++row) {
                const QModelIndex name = view->model()->index(row, 0, view->rootIndex());
                rows[name.data().toString()] = name;
            }
            const auto cell = [&rows](const char *name, int column) {
                return rows.value(name).siblingAtColumn(column).data().toString();
            };
            const QAbstractButton *accept = dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Open);
            shown << QLocale::languageToString(QLocale().language()) << cell("shows", 2) << cell("big.pgm", 3)
                  << cell("big.pgm", 1) << accept->text();
            dialog->reject();
        });
        window.slotpushButtonLoadProgramsFromFile(false);
        QTimer::singleShot(0, &window, &QWidget::close);
    });
    QCOMPARE(code, 0);
    QCOMPARE(shown, QStringList({ QLocale::languageToString(QLocale::Language(language)), folder, expectedDate,
                                  expectedSize, open }));
    QVERIFY(expectedDate != QLocale(QLocale::Language(language == QLocale::Polish ? QLocale::English
                                                                                   : QLocale::Polish))
                                .toString(big.lastModified(), QLocale::ShortFormat));
}

// The real save dialog starts on the filter it is given and tells the one
// the user chose.
void TestApp::saveDialogTellsTheFilterChosen()
{
    QTemporaryDir dir;
    QString filterShown;
    QTimer::singleShot(0, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        filterShown = dialog->selectedNameFilter();
        dialog->selectNameFilter("Programs (*.pgm)");
        dialog->selectFile(dir.filePath("show.pgm"));
        QMetaObject::invokeMethod(dialog, "accept");
    });
    QString filter = "JSON (*.json)";
    const QString chosen = UserPrompts::current().getSaveFileName(nullptr, "Save", dir.path(),
                                                                  "Programs (*.pgm);;JSON (*.json)", &filter);
    QCOMPARE(filterShown, QString("JSON (*.json)"));
    QCOMPARE(filter, QString("Programs (*.pgm)"));
    QCOMPARE(chosen, dir.filePath("show.pgm"));
}

void TestApp::stepNamesCapitalisedAlike_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("capital");   // the first letter; the later words start small
    // English names stand after "Undo" and on their own; Polish ones read
    // after "Cofnij" and "Ponów" (Cofnij zmianę koloru).
    QTest::newRow("English") << "vn274_en.ts" << true;
    QTest::newRow("Polish") << "vn274_pl.ts" << false;
}

void TestApp::stepNamesCapitalisedAlike()
{
    QFETCH(QString, file);
    QFETCH(bool, capital);
    QFile ts(QStringLiteral(VN274_TRANSLATIONS_SOURCE_DIR "/") + file);
    QVERIFY(ts.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&ts);
    QString context, source;
    QStringList names;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QLatin1String("name"))
            context = xml.readElementText();
        else if (xml.name() == QLatin1String("source"))
            source = xml.readElementText();
        else if (xml.name() == QLatin1String("translation") && context == "EditedTable") {
            const QString name = xml.readElementText();
            names << name;
            QVERIFY2(!name.isEmpty() && name.at(0).isUpper() == capital, qPrintable(source + " -> " + name));
            // Names of the system's own (a field as labelled, the driver) keep their capitals.
            for (const QString &word : name.split(' ').mid(1))
                QVERIFY2(!word.at(0).isUpper() || word == "XFade" || word == "Vn274",
                         qPrintable(source + " -> " + name));
        }
    }
    QVERIFY(!xml.hasError());
    QVERIFY2(names.size() > 15, qPrintable(names.join(", ")));
}

void TestApp::aboutDialog()
{
    Vn274_bootloader window;
    window.show();
    QString version, title, objectName, text;
    bool closedByOk = false;
    QTimer::singleShot(0, this, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        objectName = dialog->objectName();
        title = dialog->windowTitle();
        version = dialog->findChild<QLabel *>("labelVersion")->text();
        text = dialog->findChild<QLabel *>("label")->text();
        QVERIFY(dialog->parentWidget() == &window);
        auto *buttons = dialog->findChild<QDialogButtonBox *>("buttonBox");
        QCOMPARE(buttons->buttons().size(), 1);
        QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
        closedByOk = !dialog->isVisible();
    });
    window.findChild<QAction *>("actionVn274_info")->trigger();
    QVERIFY(closedByOk);
    QCOMPARE(objectName, QString("DialogInfo"));
    QCOMPARE(title, QString("Vn274 Information"));
    QCOMPARE(version, QString("Vn274 ver. 1.02"));
    QVERIFY(text.contains("Vn274 driver configuration software"));
    QVERIFY(text.contains("example.com"));
    const QRegularExpressionMatch logo = QRegularExpression("<img src=\"([^\"]+)\"").match(text);
    QVERIFY(logo.hasMatch());
    QVERIFY2(!QPixmap(logo.captured(1)).isNull(), qPrintable(logo.captured(1)));
    QVERIFY(QApplication::activeModalWidget() == nullptr);
}

void TestApp::demoDriverHoldsShows()
{
    seedDemoDriver();
    ScriptedPrompts prompts;
    Vn274_bootloader window;
    window.slotpushButtonGetProgramsFromVn274(false);
    window.slotpushButtonGetScenesFromVn274(false);
    QVERIFY(prompts.asked.isEmpty());
    QCOMPARE(window.programTable(), demoPrograms());
    QCOMPARE(window.sceneTable(), demoScenes());

    // Colours at once, in the first program step and the first scene, also in
    // editors made after the tables were got.
    window.programEditors();
    window.sceneEditors();
    for (const char *contents : { "scrollAreaWidgetContents", "scrollAreaWidgetContents_2" }) {
        const QList<SuperRGB *> lamps =
            window.findChild<QWidget *>(contents)->findChildren<SuperRGB *>(QString(), Qt::FindDirectChildrenOnly);
        QVERIFY(lamps.first()->color() != QColor(0, 0, 0));
    }
}

QTEST_MAIN(TestApp)
#include "tst_app.moc"
