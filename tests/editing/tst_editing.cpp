// Editing on the Programs and Scenes tabs beyond one slider at a time, driven
// through the real window: group editing of selected sliders, copy and paste
// of a scene, the program overview, and changes that are never lost without a
// word (the modified marker, the question on closing).
#include "app/startup.h"
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "common/testfiles.h"
#include "shows/programoverview.h"
#include "shows/sceneclipboard.h"
#include "shows/showfiles.h"
#include "shows/showtables.h"
#include "simulator/simdriver.h"
#include "widgets/colorlineedit.h"
#include "widgets/colorslider.h"
#include "widgets/superrgb.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

enum Tab { Programs = 1, Scenes = 2 };

// The main window on screen and active, so that keys reach its shortcuts, with
// the parts of its two editor tabs found as the user sees them.
class Window
{
public:
    Window()
    {
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
    }

    void showTab(Tab tab) { w.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(tab); }
    QWidget *page(Tab tab) const { return w.findChild<QWidget *>(tab == Programs ? "tabPrograms" : "tabScenes"); }
    QSpinBox *spin(const char *name) const { return w.findChild<QSpinBox *>(name); }
    QList<SuperRGB *> lamps(Tab tab) const
    {
        const char *contents = tab == Programs ? "scrollAreaWidgetContents" : "scrollAreaWidgetContents_2";
        return w.findChild<QWidget *>(contents)->findChildren<SuperRGB *>(QString(), Qt::FindDirectChildrenOnly);
    }
    ColorSlider *slider(Tab tab, int lamp, const char *name) const
    {
        return lamps(tab).at(lamp)->findChild<ColorSlider *>(name);
    }
    QList<ColorSlider *> sliders(Tab tab) const
    {
        QList<ColorSlider *> all;
        for (SuperRGB *lamp : lamps(tab)) {
            for (const char *name : { "SliderRed", "SliderGreen", "SliderBlue" })
                all << lamp->findChild<ColorSlider *>(name);
        }
        return all;
    }
    QList<int> values(Tab tab) const
    {
        QList<int> all;
        for (const ColorSlider *slider : sliders(tab))
            all << slider->value();
        return all;
    }
    QList<bool> selected(Tab tab) const
    {
        QList<bool> all;
        for (const ColorSlider *slider : sliders(tab))
            all << slider->isSelected();
        return all;
    }
    QPushButton *button(Tab tab, const char *name) const { return page(tab)->findChild<QPushButton *>(name); }
    QAction *action(Tab tab, const char *name) const { return page(tab)->findChild<QAction *>(name); }
    ProgramOverview *overview() const { return w.findChild<ProgramOverview *>("programOverview"); }

    QString title() const { return w.windowHandle()->title(); }

    SceneRecord programRecord(int program, int step) const
    {
        return Shows::recordAt(w.programTable(), Shows::programRecordOffset(program - 1, step - 1));
    }
    SceneRecord sceneRecord(int scene) const
    {
        return Shows::recordAt(w.sceneTable(), Shows::sceneRecordOffset(scene - 1));
    }

    Vn274_bootloader w;
};

void paint(SuperRGB *lamp, int red, int green, int blue)
{
    lamp->setRedColor(red);
    lamp->setGreenColor(green);
    lamp->setBlueColor(blue);
}

QColor rgbOf(const SceneRecord &record, int lamp)
{
    return QColor(record.lampRgb[3 * lamp], record.lampRgb[3 * lamp + 1], record.lampRgb[3 * lamp + 2]);
}

// Where the handle of a slider stands, as its style draws it.
QPoint handleCentre(ColorSlider *slider)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = slider->sliderPosition();
    option.sliderValue = slider->value();
    option.upsideDown = slider->orientation() == Qt::Vertical ? !slider->invertedAppearance()
                                                              : slider->invertedAppearance();
    option.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderHandle;
    return slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider).center();
}

// A drag of the handle by the mouse, upwards by the given pixels.
void dragHandleUp(ColorSlider *slider, int pixels)
{
    const QPoint from = handleCentre(slider);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, from);
    for (int step = 1; step <= 4; ++step)
        QTest::mouseMove(slider, from - QPoint(0, pixels * step / 4));
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, from - QPoint(0, pixels));
}

void ctrlClick(ColorSlider *slider)
{
    QTest::mouseClick(slider, Qt::LeftButton, Qt::ControlModifier, QPoint(slider->width() / 2, 5));
}

// The index of a slider in Window::sliders.
int at(int lamp, int channel)
{
    return 3 * lamp + channel;
}

} // namespace

class TestEditing : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void modifiedMarkerFollowsTheBytes();
    void closingWithPendingChangesAsks();
    void realQuestionBoxKeepsOrClosesTheWindow();
    void closedWithPendingChangesTheProgramStillEndsWithZero();
    void dragMovesExactlyTheSelectedSliders();
    void brighterDarkerAndSelectNone();
    void nothingSelectedLeavesEverySliderAlone();
    void sceneCopiedIntoAProgramStep();
    void programStepCopiedIntoAScene();
    void copyAndPasteFromTheTextFieldsAndTheMenu();
    void clipboardOnlyTakesWellFormedScenes();
    void overviewClickShowsTheStepAndCommitsTheOneBefore();
    void overviewFollowsEveryChange();
};

void TestEditing::initTestCase()
{
    // The window and the device narrate every step; keep the test log readable.
    QLoggingCategory::setFilterRules("default.debug=false");
}

void TestEditing::init()
{
    sim::reset();
    QGuiApplication::clipboard()->clear();
}

void TestEditing::modifiedMarkerFollowsTheBytes()
{
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    Window win;
    QCOMPARE(win.title(), QString("Vn274 ver. 1.02"));

    // An edit shows the marker; the same edit undone by hand takes it away.
    SuperRGB *lamp = win.lamps(Programs).at(4);
    lamp->setGreenColor(77);
    QVERIFY(win.w.isWindowModified());
    QCOMPARE(win.title(), QString("Vn274 ver. 1.02*"));
    lamp->setGreenColor(0);
    QVERIFY(!win.w.isWindowModified());
    QCOMPARE(win.title(), QString("Vn274 ver. 1.02"));

    // Also once committed to the table by moving away, and back.
    win.spin("spinBoxRiseTime")->setValue(40);
    win.spin("spinBoxSceneNumber")->setValue(2);
    QVERIFY(win.w.isWindowModified());
    win.spin("spinBoxSceneNumber")->setValue(1);
    win.spin("spinBoxRiseTime")->setValue(0);
    QVERIFY(!win.w.isWindowModified());

    // Scenes count as well. Saving the scenes leaves the programs pending.
    win.spin("spinBoxSceneStaticTime")->setValue(500);
    QVERIFY(win.w.isWindowModified());
    win.spin("spinBoxStaticTime")->setValue(600);
    prompts.answer(dir.filePath("a.scn"));
    win.w.slotpushButtonSaveScenesToFile(false);
    QVERIFY(win.w.isWindowModified());
    prompts.answer(dir.filePath("a.pgm"));
    win.w.slotpushButtonSaveProgramsToFile(false);
    QVERIFY(!win.w.isWindowModified());

    // Set in the driver: in step. A failed write is not.
    win.spin("spinBoxSceneStaticTime")->setValue(501);
    win.w.slotpushButtonSetScenesInVn274(false);
    QVERIFY(!win.w.isWindowModified());
    win.spin("spinBoxSceneStaticTime")->setValue(502);
    sim::failTransfers(6, sim::Forever);
    win.w.slotpushButtonSetScenesInVn274(false);
    QVERIFY(win.w.isWindowModified());
    sim::clearFaults();

    // Got from the driver: in step with it, whatever the editor held.
    win.w.slotpushButtonGetScenesFromVn274(false);
    QCOMPARE(win.spin("spinBoxSceneStaticTime")->value(), 501);
    QVERIFY(!win.w.isWindowModified());

    // Loaded from a file: in step with the file.
    win.spin("spinBoxStaticTime")->setValue(9);
    prompts.answer(dir.filePath("a.pgm"));
    win.w.slotpushButtonLoadProgramsFromFile(false);
    QCOMPARE(win.spin("spinBoxStaticTime")->value(), 600);
    QVERIFY(!win.w.isWindowModified());
    QCOMPARE(prompts.boxes(), QStringList({ "critical|Error|WriteExternalFlashToAddress" }));
}

void TestEditing::closingWithPendingChangesAsks()
{
    ScriptedPrompts prompts;
    {
        // Nothing pending: closes without a word.
        Window win;
        QVERIFY(win.w.close());
        QVERIFY(prompts.asked.isEmpty());
    }

    Window win;
    paint(win.lamps(Scenes).at(0), 1, 2, 3);
    prompts.answer(int(QMessageBox::Cancel));
    win.w.findChild<QAction *>("actionClose")->trigger();
    QVERIFY(win.w.isVisible());
    QCOMPARE(prompts.asked.size(), 1);
    const AskedPrompt &asked = prompts.asked.first();
    QCOMPARE(asked.kind, QString("question"));
    QCOMPARE(asked.parent, &win.w);
    QCOMPARE(asked.title, QString("Unsaved changes"));
    QCOMPARE(asked.label, QString("The scenes have changes that were neither saved to a file nor set in the Vn274."
                                  "\n\nClose the window and lose them?"));
    QCOMPARE(asked.buttons, QMessageBox::StandardButtons(QMessageBox::Close | QMessageBox::Cancel));
    QCOMPARE(asked.defaultButton, QMessageBox::Cancel);

    // Both tables pending, and the answer is Close.
    win.spin("spinBoxEndMarker")->setValue(1);
    prompts.answer(int(QMessageBox::Close));
    QVERIFY(win.w.close());
    QVERIFY(!win.w.isVisible());
    QVERIFY(prompts.asked.last().label.startsWith("The programs and the scenes have changes"));
    QVERIFY(prompts.unexpected.isEmpty());
}

void TestEditing::realQuestionBoxKeepsOrClosesTheWindow()
{
    Window win;
    win.spin("spinBoxRiseTime")->setValue(12);

    // The question box as the user gets it, answered with its own buttons.
    QStringList seen;
    const auto answerWith = [&seen](QMessageBox::StandardButton answer) {
        QTimer::singleShot(0, [&seen, answer] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            seen << box->windowTitle() + "|" + box->text();
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Close | QMessageBox::Cancel));
            QCOMPARE(box->defaultButton(), box->button(QMessageBox::Cancel));
            QTest::mouseClick(box->button(answer), Qt::LeftButton);
        });
    };

    answerWith(QMessageBox::Cancel);
    QVERIFY(!win.w.close());
    QVERIFY(win.w.isVisible());
    QCOMPARE(win.spin("spinBoxRiseTime")->value(), 12);

    answerWith(QMessageBox::Close);
    QVERIFY(win.w.close());
    QVERIFY(!win.w.isVisible());
    QCOMPARE(seen.size(), 2);
    QCOMPARE(seen.first(), QString("Unsaved changes|The programs have changes that were neither saved to a file "
                                   "nor set in the Vn274.\n\nClose the window and lose them?"));
}

void TestEditing::closedWithPendingChangesTheProgramStillEndsWithZero()
{
    ScriptedPrompts prompts;
    prompts.answer(int(QMessageBox::Cancel)).answer(int(QMessageBox::Close));
    int shown = 0;
    const int code = runMainWindow("de_DE", [&](Vn274_bootloader &window, const QTranslator &) {
        ++shown;
        window.findChild<QSpinBox *>("spinBoxStaticTime")->setValue(100);
        QAction *close = window.findChild<QAction *>("actionClose");
        QTimer::singleShot(0, close, &QAction::trigger);   // Cancel: the window stays
        QTimer::singleShot(0, close, &QAction::trigger);   // Close
    });
    QCOMPARE(code, 0);
    QCOMPARE(shown, 1);
    QCOMPARE(prompts.boxes().size(), 2);
    QVERIFY(prompts.unexpected.isEmpty());
}

void TestEditing::dragMovesExactlyTheSelectedSliders()
{
    Window win;
    win.showTab(Scenes);
    paint(win.lamps(Scenes).at(0), 10, 20, 30);
    paint(win.lamps(Scenes).at(5), 40, 50, 60);
    paint(win.lamps(Scenes).at(11), 70, 80, 90);

    // Three sliders of three lamps, picked with Ctrl+click: the values stay.
    ctrlClick(win.slider(Scenes, 0, "SliderRed"));
    ctrlClick(win.slider(Scenes, 5, "SliderGreen"));
    ctrlClick(win.slider(Scenes, 11, "SliderBlue"));
    QList<bool> expected(36, false);
    expected[at(0, 0)] = expected[at(5, 1)] = expected[at(11, 2)] = true;
    QCOMPARE(win.selected(Scenes), expected);
    const QList<int> before = win.values(Scenes);
    QCOMPARE(before.at(at(5, 1)), 50);

    // One drag of lamp 6's green moves exactly those three, to one value.
    dragHandleUp(win.slider(Scenes, 5, "SliderGreen"), 60);
    const QList<int> after = win.values(Scenes);
    const int dragged = after.at(at(5, 1));
    QVERIFY2(dragged > 50, qPrintable(QString::number(dragged)));
    for (int i = 0; i < 36; ++i)
        QCOMPARE(after.at(i), expected.at(i) ? dragged : before.at(i));

    // The group change is an edit like any other: it is in the table at once.
    win.spin("spinBoxSceneSceneNumber")->setValue(2);
    QCOMPARE(rgbOf(win.sceneRecord(1), 11), QColor(70, 80, dragged));
    QCOMPARE(rgbOf(win.sceneRecord(1), 0), QColor(dragged, 20, 30));
    QVERIFY(win.w.isWindowModified());

    // The wheel on a selected slider moves the group too.
    win.spin("spinBoxSceneSceneNumber")->setValue(1);
    ColorSlider *red = win.slider(Scenes, 0, "SliderRed");
    const QPoint centre = handleCentre(red);
    QWheelEvent wheel(centre, red->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(red, &wheel);
    QVERIFY(red->value() != dragged);
    QCOMPARE(win.slider(Scenes, 11, "SliderBlue")->value(), red->value());
    QCOMPARE(win.slider(Scenes, 11, "SliderRed")->value(), 70);
}

void TestEditing::brighterDarkerAndSelectNone()
{
    Window win;
    win.showTab(Programs);
    paint(win.lamps(Programs).at(1), 100, 100, 100);
    paint(win.lamps(Programs).at(2), 0, 200, 250);
    win.lamps(Programs).at(1)->selectRed(true);
    win.lamps(Programs).at(2)->selectGreen(true);
    win.lamps(Programs).at(2)->selectBlue(true);
    const QList<int> before = win.values(Programs);

    // The button: +10 % and at least 5, capped at 255; nothing else moves.
    QTest::mouseClick(win.button(Programs, "pushButtonBrighter"), Qt::LeftButton);
    QList<int> expected = before;
    expected[at(1, 0)] = 115;
    expected[at(2, 1)] = 225;
    expected[at(2, 2)] = 255;
    QCOMPARE(win.values(Programs), expected);

    // The keys, which the tool tips name.
    QVERIFY(win.button(Programs, "pushButtonBrighter")->toolTip().contains("Ctrl+Up"));
    QVERIFY(win.button(Programs, "pushButtonDarker")->toolTip().contains("Ctrl+Down"));
    QVERIFY(win.button(Programs, "pushButtonSelectNone")->toolTip().contains("Esc"));
    QTest::keyClick(&win.w, Qt::Key_Down, Qt::ControlModifier);
    expected[at(1, 0)] = 115 - 11 - 5;
    expected[at(2, 1)] = 225 - 22 - 5;
    expected[at(2, 2)] = 255 - 25 - 5;
    QCOMPARE(win.values(Programs), expected);
    QTest::mouseClick(win.button(Programs, "pushButtonDarker"), Qt::LeftButton);
    QTest::keyClick(&win.w, Qt::Key_Up, Qt::ControlModifier);
    QVERIFY(win.values(Programs) != expected);
    QCOMPARE(win.values(Programs).at(at(0, 0)), 0);

    // The Scenes tab keeps its own selection: Escape there clears nothing here.
    win.lamps(Scenes).at(7)->selectRed(true);
    win.showTab(Scenes);
    QTest::keyClick(&win.w, Qt::Key_Escape);
    QVERIFY(!win.selected(Scenes).contains(true));
    QCOMPARE(win.selected(Programs).count(true), 3);

    // Escape and the button clear the whole tab's selection.
    win.showTab(Programs);
    QTest::keyClick(&win.w, Qt::Key_Escape);
    QVERIFY(!win.selected(Programs).contains(true));
    win.lamps(Programs).at(11)->setAll(true);
    QTest::mouseClick(win.button(Programs, "pushButtonSelectNone"), Qt::LeftButton);
    QVERIFY(!win.selected(Programs).contains(true));

    // A focused text field does not take the keys away.
    win.lamps(Programs).at(1)->selectRed(true);
    QLineEdit *field = win.lamps(Programs).at(3)->findChild<ColorLineEdit *>("EditGreen");
    field->setFocus();
    const int red = win.slider(Programs, 1, "SliderRed")->value();
    QTest::keyClick(field, Qt::Key_Up, Qt::ControlModifier);
    QCOMPARE(win.slider(Programs, 1, "SliderRed")->value(), red + red / 10 + 5);
    win.spin("spinBoxStaticTime")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!win.selected(Programs).contains(true));
}

void TestEditing::nothingSelectedLeavesEverySliderAlone()
{
    Window win;
    win.showTab(Programs);
    paint(win.lamps(Programs).at(3), 10, 10, 10);
    const QList<int> before = win.values(Programs);

    QTest::mouseClick(win.button(Programs, "pushButtonBrighter"), Qt::LeftButton);
    QTest::keyClick(&win.w, Qt::Key_Down, Qt::ControlModifier);
    QCOMPARE(win.values(Programs), before);

    dragHandleUp(win.slider(Programs, 3, "SliderBlue"), 40);
    const QList<int> after = win.values(Programs);
    for (int i = 0; i < 36; ++i) {
        if (i != at(3, 2))
            QCOMPARE(after.at(i), before.at(i));
    }
    QVERIFY(after.at(at(3, 2)) > 10);
}

void TestEditing::sceneCopiedIntoAProgramStep()
{
    Window win;
    win.showTab(Scenes);
    win.spin("spinBoxSceneSceneNumber")->setValue(3);
    win.spin("spinBoxSceneRiseTime")->setValue(35);
    win.spin("spinBoxSceneStaticTime")->setValue(4200);
    for (int lamp = 0; lamp < 12; ++lamp)
        paint(win.lamps(Scenes).at(lamp), lamp * 20, 255 - lamp, lamp % 2 ? 255 : 0);
    QTest::keyClick(&win.w, Qt::Key_C, Qt::ControlModifier);

    // Into step 7 of program 2, whose end marker stays as it was.
    win.showTab(Programs);
    win.spin("spinBoxProgramNumber")->setValue(2);
    win.spin("spinBoxSceneNumber")->setValue(7);
    win.spin("spinBoxEndMarker")->setValue(1);
    QTest::keyClick(&win.w, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(win.spin("spinBoxRiseTime")->value(), 35);
    QCOMPARE(win.spin("spinBoxStaticTime")->value(), 4200);
    QCOMPARE(win.spin("spinBoxEndMarker")->value(), 1);

    // The paste is an edit: pending and in the table at once.
    QVERIFY(win.w.isWindowModified());
    win.spin("spinBoxSceneNumber")->setValue(8);
    const SceneRecord step = win.programRecord(2, 7);
    const SceneRecord scene = [&] {
        win.spin("spinBoxSceneSceneNumber")->setValue(4);   // commits scene 3
        return win.sceneRecord(3);
    }();
    QCOMPARE(int(step.riseTime), 35);
    QCOMPARE(int(step.staticTime), 4200);
    QCOMPARE(int(step.endMarker), 1);
    for (int lamp = 0; lamp < 12; ++lamp) {
        QCOMPARE(rgbOf(step, lamp), QColor(lamp * 20, 255 - lamp, lamp % 2 ? 255 : 0));
        QCOMPARE(rgbOf(step, lamp), rgbOf(scene, lamp));
    }
}

void TestEditing::programStepCopiedIntoAScene()
{
    QTemporaryDir dir;
    QByteArray scenes(Shows::SceneTableSize, '\0');
    scenes[Shows::sceneRecordOffset(1) + 44] = 0;    // scene 2: no end marker
    scenes[Shows::sceneRecordOffset(1) + 45] = 0x33; // and a reserved byte
    QCOMPARE(Shows::saveScenesFile(dir.filePath("s.scn"), scenes), Shows::FileResult::Ok);
    ScriptedPrompts prompts;
    prompts.answer(dir.filePath("s.scn"));

    Window win;
    win.showTab(Programs);
    win.spin("spinBoxEndMarker")->setValue(1);
    win.spin("spinBoxRiseTime")->setValue(7);
    paint(win.lamps(Programs).at(9), 9, 99, 199);
    QTest::keyClick(&win.w, Qt::Key_C, Qt::ControlModifier);
    const std::optional<Shows::CopiedScene> copied = Shows::sceneOnClipboard();
    QVERIFY(copied && copied->hasEndMarker);
    QCOMPARE(int(copied->record.endMarker), 1);

    win.w.slotpushButtonLoadScenesFromFile(false);
    win.showTab(Scenes);
    win.spin("spinBoxSceneSceneNumber")->setValue(2);
    QTest::keyClick(&win.w, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(win.lamps(Scenes).at(9)->color(), QColor(9, 99, 199));
    win.w.slotpushButtonSetScenesInVn274(false);
    QCOMPARE(int(win.sceneRecord(2).riseTime), 7);
    QCOMPARE(rgbOf(win.sceneRecord(2), 9), QColor(9, 99, 199));
    QCOMPARE(int(win.sceneRecord(2).endMarker), 0);
    QCOMPARE(int(win.sceneRecord(2).reserved[0]), 0x33);
}

void TestEditing::copyAndPasteFromTheTextFieldsAndTheMenu()
{
    Window win;
    win.showTab(Programs);
    paint(win.lamps(Programs).at(0), 1, 2, 3);

    // The lamp area's context menu offers the same commands.
    auto *area = win.w.findChild<QScrollArea *>("scrollArea");
    QCOMPARE(area->contextMenuPolicy(), Qt::ActionsContextMenu);
    QStringList texts;
    for (const QAction *action : area->actions())
        texts << action->text();
    QCOMPARE(texts, QStringList({ "Copy scene", "Paste scene", "", "Brighter", "Darker", "Select none" }));
    QVERIFY(!win.action(Programs, "actionPasteScene")->isEnabled());   // nothing to paste yet

    // In a channel field without selected text, Ctrl+C copies the scene.
    ColorLineEdit *field = win.lamps(Programs).at(0)->findChild<ColorLineEdit *>("EditRed");
    field->setFocus();
    field->deselect();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    QVERIFY(Shows::clipboardHoldsScene());
    QVERIFY(win.action(Programs, "actionPasteScene")->isEnabled());

    // With selected text it copies the text, as anywhere else.
    field->selectAll();
    QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("001"));
    QVERIFY(!Shows::clipboardHoldsScene());
    QVERIFY(!win.action(Programs, "actionPasteScene")->isEnabled());

    // The menu's copy; the spin box's Ctrl+V then pastes the scene, not text.
    win.action(Programs, "actionCopyScene")->trigger();
    win.spin("spinBoxSceneNumber")->setValue(2);
    QCOMPARE(win.lamps(Programs).at(0)->color(), QColor(0, 0, 0));
    win.spin("spinBoxStaticTime")->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(win.lamps(Programs).at(0)->color(), QColor(1, 2, 3));
    QCOMPARE(win.spin("spinBoxStaticTime")->value(), 0);

    // The copy outlives its window: a new one pastes it.
    Window other;
    other.showTab(Scenes);
    other.action(Scenes, "actionPasteScene")->trigger();
    QCOMPARE(other.lamps(Scenes).at(0)->color(), QColor(1, 2, 3));
}

void TestEditing::clipboardOnlyTakesWellFormedScenes()
{
    Shows::CopiedScene scene;
    scene.record.lampRgb[35] = 200;
    scene.record.riseTime = -4;
    scene.record.staticTime = 900000;
    scene.record.endMarker = 1;
    scene.record.reserved[2] = 9;   // not copied
    scene.hasEndMarker = true;
    std::unique_ptr<QMimeData> mime(Shows::sceneMimeData(scene));
    const std::optional<Shows::CopiedScene> back = Shows::sceneFromMimeData(mime.get());
    QVERIFY(back);
    QCOMPARE(int(back->record.lampRgb[35]), 200);
    QCOMPARE(int(back->record.riseTime), -4);
    QCOMPARE(int(back->record.staticTime), 900000);
    QCOMPARE(int(back->record.endMarker), 1);
    QCOMPARE(int(back->record.reserved[2]), 0);
    QVERIFY(back->hasEndMarker);

    // From the Scenes tab no end marker travels.
    scene.hasEndMarker = false;
    mime.reset(Shows::sceneMimeData(scene));
    QCOMPARE(int(Shows::sceneFromMimeData(mime.get())->record.endMarker), 0);

    // Anything else on the clipboard is no scene.
    const QByteArray good = mime->data(Shows::SceneMimeType);
    QCOMPARE(good.size(), 49);
    for (const QByteArray &bad : { good.left(48), good + 'x', good.left(48) + '\2', QByteArray() }) {
        QMimeData other;
        other.setData(Shows::SceneMimeType, bad);
        QVERIFY(!Shows::sceneFromMimeData(&other));
    }
    QMimeData text;
    text.setText("L1 255 0 0");
    QVERIFY(!Shows::sceneFromMimeData(&text));
    QVERIFY(!Shows::sceneFromMimeData(nullptr));
}

void TestEditing::overviewClickShowsTheStepAndCommitsTheOneBefore()
{
    Window win;
    win.showTab(Programs);
    ProgramOverview *overview = win.overview();
    QVERIFY(overview->isVisible());
    QVERIFY(overview->geometry().bottom() < win.w.findChild<QScrollArea *>("scrollArea")->geometry().top());

    // Step 1 edited, then the third tile clicked.
    paint(win.lamps(Programs).at(2), 33, 0, 0);
    win.spin("spinBoxStaticTime")->setValue(3000);
    QTest::mouseClick(overview, Qt::LeftButton, Qt::NoModifier, overview->tileRect(2).center());
    QCOMPARE(win.spin("spinBoxSceneNumber")->value(), 3);
    QCOMPARE(overview->shownStep(), 2);
    QCOMPARE(rgbOf(win.programRecord(1, 1), 2), QColor(33, 0, 0));
    QCOMPARE(int(win.programRecord(1, 1).staticTime), 3000);
    QCOMPARE(win.spin("spinBoxStaticTime")->value(), 0);
    QCOMPARE(overview->lampColour(0, 2), QColor(33, 0, 0));

    // Between the tiles and beside them nothing happens.
    QTest::mouseClick(overview, Qt::LeftButton, Qt::NoModifier, QPoint(0, overview->height() / 2));
    QCOMPARE(win.spin("spinBoxSceneNumber")->value(), 3);
}

void TestEditing::overviewFollowsEveryChange()
{
    QTemporaryDir dir;
    QByteArray programs(Shows::ProgramTableSize, '\0');
    for (int step = 0; step < 20; ++step) {
        SceneRecord record = {};
        record.lampRgb[0] = quint8(step * 10);
        record.endMarker = step == 4 ? 1 : 0;
        Shows::setRecordAt(programs, Shows::programRecordOffset(1, step), record);
    }
    QCOMPARE(Shows::saveProgramsFile(dir.filePath("p.pgm"), programs), Shows::FileResult::Ok);
    sim::writeExternalFlash(0x14180, scrambled(programs));

    ScriptedPrompts prompts;
    Window win;
    win.showTab(Programs);
    ProgramOverview *overview = win.overview();
    QCOMPARE(overview->endStep(), -1);

    // An edit shows at once, before any commit.
    paint(win.lamps(Programs).at(11), 0, 0, 250);
    QCOMPARE(overview->lampColour(0, 11), QColor(0, 0, 250));
    win.spin("spinBoxEndMarker")->setValue(1);
    QCOMPARE(overview->endStep(), 0);
    QVERIFY(overview->isDimmed(1) && overview->isDimmed(19) && !overview->isDimmed(0));

    // The selected program, loaded: step 5 ends it.
    win.spin("spinBoxProgramNumber")->setValue(2);
    prompts.answer(dir.filePath("p.pgm"));
    win.w.slotpushButtonLoadProgramsFromFile(false);
    QCOMPARE(overview->endStep(), 4);
    QVERIFY(!overview->isDimmed(4) && overview->isDimmed(5));
    QCOMPARE(overview->lampColour(19, 0), QColor(190, 0, 0));

    // A paste.
    win.spin("spinBoxSceneNumber")->setValue(6);
    paint(win.lamps(Programs).at(3), 4, 5, 6);
    QTest::keyClick(&win.w, Qt::Key_C, Qt::ControlModifier);
    win.spin("spinBoxSceneNumber")->setValue(20);
    QTest::keyClick(&win.w, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(overview->lampColour(19, 3), QColor(4, 5, 6));
    QCOMPARE(overview->shownStep(), 19);

    // A Get: the driver's program, edits gone.
    win.w.slotpushButtonGetProgramsFromVn274(false);
    QCOMPARE(overview->lampColour(19, 3), QColor(0, 0, 0));
    QCOMPARE(overview->lampColour(5, 3), QColor(0, 0, 0));
    QCOMPARE(overview->lampColour(5, 0), QColor(50, 0, 0));
    QVERIFY(prompts.boxes().isEmpty());
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
