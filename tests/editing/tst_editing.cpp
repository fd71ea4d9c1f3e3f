// Editing on the Programs and Scenes tabs beyond one slider at a time, driven
// through the real window: group editing of selected sliders, copy and paste
// of a scene, the overview strips and the steps arranged on them, undo and
// redo of every kind of change, and changes that are never lost without a
// word (the modified marker, the question on closing).
#include "app/startup.h"
#include "app/vn274_bootloader.h"
#include "common/scriptedprompts.h"
#include "common/testfiles.h"
#include "shows/editedtable.h"
#include "shows/programoverview.h"
#include "shows/sceneclipboard.h"
#include "shows/showfiles.h"
#include "shows/showtables.h"
#include "shows/steparrangement.h"
#include "simulator/simdriver.h"
#include "widgets/colorlineedit.h"
#include "widgets/colorslider.h"
#include "widgets/superrgb.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QMimeData>
#include <QMenu>
#include <QPushButton>
#include <QRandomGenerator>
#include <QScrollArea>
#include <QSpinBox>
#include <QStyleOptionSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

enum Tab { Programs = 1, Scenes = 2 };

QColor rgbOf(const SceneRecord &record, int lamp)
{
    return QColor(record.lampRgb[3 * lamp], record.lampRgb[3 * lamp + 1], record.lampRgb[3 * lamp + 2]);
}

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
        tab == Programs ? w.programEditors() : w.sceneEditors();
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
    ProgramOverview *sceneOverview() const { return w.findChild<ProgramOverview *>("sceneOverview"); }
    QAction *undo() const { return w.findChild<QAction *>("actionUndo"); }
    QAction *redo() const { return w.findChild<QAction *>("actionRedo"); }
    QByteArray tables() const { return w.programTable() + w.sceneTable(); }
    // Both histories' steps, undone or not.
    int steps() const { return w.programEdits()->history()->count() + w.sceneEdits()->history()->count(); }

    // The editor of the tab shows exactly the selected record of its table.
    bool editorShowsTable(Tab tab) const
    {
        const bool programs = tab == Programs;
        const SceneRecord record = programs ? programRecord(spin("spinBoxProgramNumber")->value(),
                                                            spin("spinBoxSceneNumber")->value())
                                            : sceneRecord(spin("spinBoxSceneSceneNumber")->value());
        const auto shows = [this](const char *name, int value) {
            QSpinBox *box = spin(name);
            return box->value() == qBound(box->minimum(), value, box->maximum());
        };
        bool same = shows(programs ? "spinBoxRiseTime" : "spinBoxSceneRiseTime", record.riseTime)
                    && shows(programs ? "spinBoxStaticTime" : "spinBoxSceneStaticTime", record.staticTime)
                    && (!programs || shows("spinBoxEndMarker", record.endMarker != 0 ? 1 : 0));
        for (int lamp = 0; lamp < 12; ++lamp)
            same = same && lamps(tab).at(lamp)->color() == rgbOf(record, lamp);
        const ProgramOverview *strip = programs ? overview() : sceneOverview();
        const int shown = programs ? spin("spinBoxSceneNumber")->value() : spin("spinBoxSceneSceneNumber")->value();
        return same && strip->shownStep() == shown - 1 && strip->lampColour(shown - 1, 0) == rgbOf(record, 0);
    }

    QString title() const { return w.windowHandle()->title(); }

    SceneRecord programRecord(int program, int step) const
    {
        return Shows::recordAt(w.programTable(), Shows::programRecordOffset(program - 1, step - 1));
    }
    SceneRecord sceneRecord(int scene) const
    {
        return Shows::recordAt(w.sceneTable(), Shows::sceneRecordOffset(scene - 1));
    }

    mutable Vn274_bootloader w;   // its lamp editors are made when first asked for
};

void paint(SuperRGB *lamp, int red, int green, int blue)
{
    lamp->setRedColor(red);
    lamp->setGreenColor(green);
    lamp->setBlueColor(blue);
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

void wheel(ColorSlider *slider, int notches)
{
    const QPoint centre = handleCentre(slider);
    for (int i = 0; i < notches; ++i) {
        QWheelEvent event(centre, slider->mapToGlobal(centre), QPoint(), QPoint(0, 120), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(slider, &event);
    }
}

// A tile of a strip dragged onto another, as the drag would end there.
void dropTile(ProgramOverview *strip, int from, int to, Qt::KeyboardModifiers modifiers,
              ProgramOverview *source = nullptr)
{
    std::unique_ptr<QMimeData> mime((source ? source : strip)->dragData(from));
    const QPoint at = strip->tileRect(to).center();
    QDragEnterEvent enter(at, Qt::MoveAction | Qt::CopyAction, mime.get(), Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(strip, &enter);
    QDropEvent drop(at, Qt::MoveAction | Qt::CopyAction, mime.get(), Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(strip, &drop);
}

void typeInto(QWidget *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field, text);
}

QByteArray randomTable(QRandomGenerator &random, int size)
{
    QByteArray table(size, '\0');
    for (char &byte : table)
        byte = char(random.bounded(256));
    return table;
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
    void groupButtonsReachedWithTab_data();
    void groupButtonsReachedWithTab();
    void nothingSelectedLeavesEverySliderAlone();
    void sceneCopiedIntoAProgramStep();
    void programStepCopiedIntoAScene();
    void editsBeforeTheLampEditorsAreMade();
    void copyAndPasteFromTheTextFieldsAndTheMenu();
    void clipboardOnlyTakesWellFormedScenes();
    void overviewClickShowsTheStepAndCommitsTheOneBefore();
    void overviewFollowsEveryChange();
    void tilesShowEveryLampAtEveryWindowSize_data();
    void tilesShowEveryLampAtEveryWindowSize();
    void everyKindOfChangeUndoesAndRedoes();
    void randomEditsUndoToTheStartAndRedoToTheEnd();
    void editMenuNamesTheStepAndYieldsToTextFields();
    void rowsRearranged_data();
    void rowsRearranged();
    void stripsByKeyboardMenuAndRefusedDrops();
    void historyIsBoundedAndOutlivesALanguageSwitch();
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

void TestEditing::groupButtonsReachedWithTab_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("tabs");   // presses of Tab after the column's last button
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("action");
    for (const int tab : { int(Programs), int(Scenes) }) {
        const char *name = tab == Programs ? "programs" : "scenes";
        QTest::addRow("%s: Brighter", name) << tab << 1 << "pushButtonBrighter" << "actionBrighter";
        QTest::addRow("%s: Darker", name) << tab << 2 << "pushButtonDarker" << "actionDarker";
        QTest::addRow("%s: Select none", name) << tab << 3 << "pushButtonSelectNone" << "actionSelectNone";
    }
}

// The group buttons come after the tab's other buttons in the Tab order, and
// Space on one does what a click does.
void TestEditing::groupButtonsReachedWithTab()
{
    QFETCH(int, tab);
    QFETCH(int, tabs);
    QFETCH(QString, button);
    QFETCH(QString, action);
    Window win;
    win.showTab(Tab(tab));
    QPushButton *last = win.button(Tab(tab), tab == Programs ? "pushButtonSaveProgramsToFile"
                                                             : "pushButtonSaveScenesToFile");
    last->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), last);
    for (int i = 0; i < tabs; ++i)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), win.button(Tab(tab), qPrintable(button)));

    QSignalSpy triggered(win.action(Tab(tab), qPrintable(action)), &QAction::triggered);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    QCOMPARE(triggered.count(), 1);

    // A click leaves the focus where it was.
    QSpinBox *field = win.spin(tab == Programs ? "spinBoxRiseTime" : "spinBoxSceneRiseTime");
    field->setFocus(Qt::TabFocusReason);
    QTest::mouseClick(win.button(Tab(tab), qPrintable(button)), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), field);
    QCOMPARE(triggered.count(), 2);
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

// The lamp editors are made when their tab is first shown; until then an edit,
// a copy and an undo work on the table alone and keep its colours.
void TestEditing::editsBeforeTheLampEditorsAreMade()
{
    QTemporaryDir dir;
    QByteArray programs(Shows::ProgramTableSize, '\0');
    for (int i = 0; i < 36; ++i)
        programs[Shows::programRecordOffset(0, 0) + i] = char(10 + i);
    QCOMPARE(Shows::saveProgramsFile(dir.filePath("p.prg"), programs), Shows::FileResult::Ok);
    ScriptedPrompts prompts;
    prompts.answer(dir.filePath("p.prg"));

    Window win;
    win.w.slotpushButtonLoadProgramsFromFile(false);
    win.spin("spinBoxRiseTime")->setValue(7);
    win.action(Programs, "actionCopyScene")->trigger();
    QVERIFY(win.w.findChildren<SuperRGB *>().isEmpty());
    QCOMPARE(int(win.programRecord(1, 1).riseTime), 7);
    const std::optional<Shows::CopiedScene> copied = Shows::sceneOnClipboard();
    QVERIFY(copied);
    for (int lamp = 0; lamp < 12; ++lamp) {
        QCOMPARE(rgbOf(win.programRecord(1, 1), lamp), QColor(10 + 3 * lamp, 11 + 3 * lamp, 12 + 3 * lamp));
        QCOMPARE(rgbOf(copied->record, lamp), rgbOf(win.programRecord(1, 1), lamp));
    }

    win.showTab(Programs);
    QCOMPARE(win.w.findChildren<SuperRGB *>().size(), 12);
    QVERIFY(win.editorShowsTable(Programs));
    win.undo()->trigger();
    QCOMPARE(win.tables(), programs + QByteArray(Shows::SceneTableSize, '\0'));
    QVERIFY(win.editorShowsTable(Programs));
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
    // So does a channel field's.
    win.spin("spinBoxSceneNumber")->setValue(3);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(win.lamps(Programs).at(0)->color(), QColor(1, 2, 3));

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

void TestEditing::tilesShowEveryLampAtEveryWindowSize_data()
{
    QTest::addColumn<int>("tab");
    QTest::addColumn<int>("width");   // of the window; 0: as built, -1: its smallest
    for (const int tab : { int(Programs), int(Scenes) }) {
        const char *name = tab == Programs ? "programs" : "scenes";
        QTest::addRow("%s, as built", name) << tab << 0;
        QTest::addRow("%s, smallest", name) << tab << -1;
        for (const int width : { 1000, 1333, 1920 })
            QTest::addRow("%s, %d wide", name, width) << tab << width;
    }
}

// Every tile of a strip shows its twelve lamps, each in its own colour, from
// lamp 1 on the left to lamp 12 on the right.
void TestEditing::tilesShowEveryLampAtEveryWindowSize()
{
    QFETCH(int, tab);
    QFETCH(int, width);
    QList<QColor> colours;
    SceneRecord record = {};
    for (int lamp = 0; lamp < 12; ++lamp) {
        const QColor hue = QColor::fromHsv(lamp * 30, 255, 255 - lamp * 8);
        colours << QColor(hue.red(), hue.green(), hue.blue());
        record.lampRgb[3 * lamp] = quint8(colours.last().red());
        record.lampRgb[3 * lamp + 1] = quint8(colours.last().green());
        record.lampRgb[3 * lamp + 2] = quint8(colours.last().blue());
    }
    QByteArray programs(Shows::ProgramTableSize, '\0');
    QByteArray scenes(Shows::SceneTableSize, '\0');
    for (int step = 0; step < 20; ++step)
        Shows::setRecordAt(programs, Shows::programRecordOffset(0, step), record);
    for (int scene = 0; scene < 8; ++scene)
        Shows::setRecordAt(scenes, Shows::sceneRecordOffset(scene), record);
    sim::writeExternalFlash(0x14180, scrambled(programs));
    sim::writeExternalFlash(0x14000, scrambled(scenes));

    Window win;
    win.showTab(Tab(tab));
    win.w.slotpushButtonGetProgramsFromVn274(false);
    win.w.slotpushButtonGetScenesFromVn274(false);
    if (width != 0)
        win.w.resize(width < 0 ? 1 : width, win.w.height());
    QApplication::processEvents();
    ProgramOverview *strip = tab == Programs ? win.overview() : win.sceneOverview();
    const QImage shown = strip->grab().toImage();
    for (int tile = 0; tile < strip->tileCount(); ++tile) {
        const QRect rect = strip->tileRect(tile);
        QVERIFY2(rect.right() < shown.width(), qPrintable(QString("tile %1 beyond the strip").arg(tile + 1)));
        QList<QColor> seen;
        for (int x = rect.left(); x <= rect.right(); ++x) {
            const QColor pixel = shown.pixelColor(x, rect.center().y());
            if (seen.isEmpty() || seen.last() != pixel)
                seen << pixel;
        }
        int next = 0;   // each lamp in its order
        for (const QColor &pixel : seen)
            next += next < colours.size() && pixel == colours.at(next) ? 1 : 0;
        QVERIFY2(next == colours.size(), qPrintable(QString("tile %1, %2 px wide: lamps 1 to %3 of 12")
                                                         .arg(tile + 1).arg(rect.width()).arg(next)));
    }
}

// Each kind of change through the widgets a user would use: the steps it makes
// and their name; undo gives the bytes before and shows the record concerned
// (switching to it), redo the bytes after.
void TestEditing::everyKindOfChangeUndoesAndRedoes()
{
    QTemporaryDir dir;
    QRandomGenerator random(18);
    const QByteArray startPrograms = randomTable(random, Shows::ProgramTableSize);
    const QByteArray startScenes = randomTable(random, Shows::SceneTableSize);
    QCOMPARE(Shows::saveProgramsFile(dir.filePath("start.pgm"), startPrograms), Shows::FileResult::Ok);
    QCOMPARE(Shows::saveScenesFile(dir.filePath("start.scn"), startScenes), Shows::FileResult::Ok);
    QCOMPARE(Shows::saveProgramsFile(dir.filePath("other.pgm"), randomTable(random, Shows::ProgramTableSize)),
             Shows::FileResult::Ok);
    QCOMPARE(Shows::saveScenesFile(dir.filePath("other.scn"), randomTable(random, Shows::SceneTableSize)),
             Shows::FileResult::Ok);
    const QByteArray otherProgram = randomTable(random, 20 * 48);

    struct Kind
    {
        const char *name;
        Tab tab;
        int steps;          // undo steps it makes
        int focus;          // the step (Programs, in program 2) or scene it is about, 1-based
        std::function<void(Window &, ScriptedPrompts &)> change;
    };
    const QList<Kind> kinds = {
        { "Change colour", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              typeInto(win.lamps(Programs).at(1)->findChild<ColorLineEdit *>("EditRed"), "123"); } },
        { "Change colour", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              dragHandleUp(win.slider(Programs, 4, "SliderGreen"), 60); } },
        { "Change colour", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              wheel(win.slider(Programs, 5, "SliderBlue"), 4); } },
        { "Change colour", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {   // a group drag
              win.lamps(Programs).at(0)->selectRed(true);
              win.lamps(Programs).at(6)->selectRed(true);
              win.lamps(Programs).at(11)->selectBlue(true);
              dragHandleUp(win.slider(Programs, 6, "SliderRed"), 50); } },
        { "Change colour", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {   // "+" held
              win.lamps(Programs).at(2)->setRedColor(7);
              win.w.programEdits()->history()->undo();
              for (int i = 0; i < 3; ++i)
                  QTest::mouseClick(win.lamps(Programs).at(2)->findChild<QPushButton *>("ButtonRPlus"), Qt::LeftButton); } },
        { "Change colour", Programs, 2, 3, [](Window &win, ScriptedPrompts &) {   // dropped, then "+" at once
              QMimeData mime;
              mime.setColorData(QColor(1, 2, 3));
              ColorLineEdit *preview = win.lamps(Programs).at(9)->findChild<ColorLineEdit *>("EditColor");
              QDragEnterEvent enter(QPoint(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
              QCoreApplication::sendEvent(preview, &enter);
              QDropEvent drop(QPointF(2, 2), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
              QCoreApplication::sendEvent(preview, &drop);
              QTest::mouseClick(win.lamps(Programs).at(9)->findChild<QPushButton *>("ButtonRPlus"), Qt::LeftButton);
              QCOMPARE(win.programRecord(2, 3).lampRgb[27], quint8(2)); } },
        { "Change colour", Programs, 1, 3, [](Window &win, ScriptedPrompts &prompts) {   // the real colour dialog
              UserPrompts::install(nullptr);
              QTimer::singleShot(0, [] {
                  auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
                  QVERIFY(dialog);
                  dialog->setCurrentColor(QColor(4, 5, 6));
                  dialog->accept();
              });
              QTest::mouseDClick(win.lamps(Programs).at(10)->findChild<ColorLineEdit *>("EditColor"), Qt::LeftButton);
              UserPrompts::install(&prompts);
              QCOMPARE(rgbOf(win.programRecord(2, 3), 10), QColor(4, 5, 6)); } },
        { "Change XFade", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              typeInto(win.spin("spinBoxRiseTime"), "4321"); } },
        { "Change scene time", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              typeInto(win.spin("spinBoxStaticTime"), "7000"); } },
        { "Change end marker", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              QSpinBox *end = win.spin("spinBoxEndMarker");
              end->setFocus();
              QTest::keyClick(end, end->value() == 0 ? Qt::Key_Up : Qt::Key_Down); } },
        { "Brighter", Programs, 2, 3, [](Window &win, ScriptedPrompts &) {   // pressed twice: two steps
              win.lamps(Programs).at(3)->setAll(true);
              win.lamps(Programs).at(8)->selectGreen(true);
              QTest::mouseClick(win.button(Programs, "pushButtonBrighter"), Qt::LeftButton);
              QTest::mouseClick(win.button(Programs, "pushButtonBrighter"), Qt::LeftButton); } },
        { "Darker", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              win.lamps(Programs).at(3)->setAll(true);
              QTest::keyClick(&win.w, Qt::Key_Down, Qt::ControlModifier); } },
        { "Paste scene", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              Shows::CopiedScene copied;
              copied.record.lampRgb[4] = 44;
              copied.record.staticTime = 1500;
              Shows::copySceneToClipboard(copied);
              QTest::keyClick(&win.w, Qt::Key_V, Qt::ControlModifier); } },
        { "Load programs from file", Programs, 1, 3, [&dir](Window &win, ScriptedPrompts &prompts) {
              prompts.answer(dir.filePath("other.pgm"));
              win.w.slotpushButtonLoadProgramsFromFile(false); } },
        { "Get programs from the Vn274", Programs, 1, 3, [&random](Window &win, ScriptedPrompts &) {
              sim::writeExternalFlash(0x14180, scrambled(randomTable(random, Shows::ProgramTableSize)));
              win.w.slotpushButtonGetProgramsFromVn274(false); } },
        { "Move step", Programs, 1, 7, [](Window &win, ScriptedPrompts &) {
              dropTile(win.overview(), 2, 6, Qt::NoModifier); } },
        { "Copy step", Programs, 1, 1, [](Window &win, ScriptedPrompts &prompts) {
              prompts.answer(int(QMessageBox::Yes));   // step 20 is not empty
              dropTile(win.overview(), 2, 0, Qt::ControlModifier); } },
        { "Insert empty step", Programs, 1, 3, [](Window &win, ScriptedPrompts &prompts) {
              prompts.answer(int(QMessageBox::Yes));
              win.overview()->findChild<QAction *>("actionInsertStep")->trigger(); } },
        { "Delete step", Programs, 1, 3, [](Window &win, ScriptedPrompts &) {
              win.overview()->findChild<QAction *>("actionDeleteStep")->trigger(); } },
        { "Paste program", Programs, 1, 3, [&otherProgram](Window &win, ScriptedPrompts &) {
              Shows::copyProgramToClipboard(otherProgram);
              win.overview()->findChild<QAction *>("actionPasteProgram")->trigger(); } },
        { "Change scene time", Scenes, 1, 4, [](Window &win, ScriptedPrompts &) {
              typeInto(win.spin("spinBoxSceneStaticTime"), "99"); } },
        { "Change colour", Scenes, 1, 4, [](Window &win, ScriptedPrompts &) {
              dragHandleUp(win.slider(Scenes, 0, "SliderRed"), 40); } },
        { "Move scene", Scenes, 1, 1, [](Window &win, ScriptedPrompts &) {
              dropTile(win.sceneOverview(), 3, 0, Qt::NoModifier); } },
        { "Insert empty scene", Scenes, 1, 4, [](Window &win, ScriptedPrompts &prompts) {
              prompts.answer(int(QMessageBox::Yes));
              win.sceneOverview()->findChild<QAction *>("actionInsertScene")->trigger(); } },
        { "Load scenes from file", Scenes, 1, 4, [&dir](Window &win, ScriptedPrompts &prompts) {
              prompts.answer(dir.filePath("other.scn"));
              win.w.slotpushButtonLoadScenesFromFile(false); } },
    };

    for (const Kind &kind : kinds) {
        const QByteArray tag = QByteArray(kind.name) + " (" + QByteArray::number(int(&kind - kinds.data())) + ")";
        ScriptedPrompts prompts;
        prompts.answer(dir.filePath("start.pgm")).answer(dir.filePath("start.scn"));
        Window win;
        win.w.slotpushButtonLoadProgramsFromFile(false);
        win.w.slotpushButtonLoadScenesFromFile(false);
        win.showTab(kind.tab);
        win.spin("spinBoxProgramNumber")->setValue(2);
        win.spin("spinBoxSceneNumber")->setValue(3);
        win.spin("spinBoxSceneSceneNumber")->setValue(4);
        const QByteArray before = win.tables();
        const int stepsBefore = win.steps();

        kind.change(win, prompts);
        const QByteArray after = win.tables();
        // A load or a Get leaves the table in step with what it came from.
        const bool inStep = tag.startsWith("Load") || tag.startsWith("Get");
        QVERIFY2(after != before, tag);
        QVERIFY2(win.w.isWindowModified() != inStep, tag);
        QCOMPARE(win.steps() - stepsBefore, kind.steps);
        QCOMPARE(win.undo()->text(), QString("Undo ") + kind.name);
        QVERIFY2(prompts.unexpected.isEmpty(), tag);

        // Elsewhere meanwhile: undo goes back to the record concerned.
        win.spin(kind.tab == Programs ? "spinBoxSceneNumber" : "spinBoxSceneSceneNumber")->setValue(8);
        win.spin("spinBoxProgramNumber")->setValue(kind.tab == Programs ? 5 : 2);
        for (int i = 0; i < kind.steps; ++i)
            win.undo()->trigger();
        QVERIFY2(win.tables() == before, tag);
        QVERIFY2(win.w.isWindowModified() == inStep, tag);   // back to what was loaded first
        QCOMPARE(win.spin(kind.tab == Programs ? "spinBoxSceneNumber" : "spinBoxSceneSceneNumber")->value(),
                 kind.focus);
        if (kind.tab == Programs)
            QCOMPARE(win.spin("spinBoxProgramNumber")->value(), 2);
        QVERIFY2(win.editorShowsTable(kind.tab), tag);

        for (int i = 0; i < kind.steps; ++i)
            win.redo()->trigger();
        QVERIFY2(win.tables() == after, tag);
        QVERIFY2(win.editorShowsTable(kind.tab), tag);
        QVERIFY2(!win.redo()->isEnabled(), tag);
    }
}

// 500 edits of every kind at random on both tabs; undoing them all gives the
// start byte for byte, redoing them all the end.
void TestEditing::randomEditsUndoToTheStartAndRedoToTheEnd()
{
    QTemporaryDir dir;
    QRandomGenerator random(274);
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(Shows::saveProgramsFile(dir.filePath(QString("%1.pgm").arg(i)), randomTable(random, 7680)),
                 Shows::FileResult::Ok);
        QCOMPARE(Shows::saveScenesFile(dir.filePath(QString("%1.scn").arg(i)), randomTable(random, 384)),
                 Shows::FileResult::Ok);
    }
    ScriptedPrompts prompts;
    Window win;
    const QByteArray start = win.tables();

    for (int edit = 0; edit < 500; ++edit) {
        const Tab tab = random.bounded(3) == 0 ? Scenes : Programs;
        win.showTab(tab);
        QList<SuperRGB *> lamps = win.lamps(tab);
        SuperRGB *lamp = lamps.at(random.bounded(12));
        ProgramOverview *strip = tab == Programs ? win.overview() : win.sceneOverview();
        const int tiles = strip->tileCount();
        const auto stepAction = [&](const char *name) {
            prompts.answer(int(random.bounded(2) ? QMessageBox::Yes : QMessageBox::Cancel));
            strip->findChild<QAction *>(name)->trigger();
            prompts.answers.clear();
        };
        switch (random.bounded(14)) {
        case 0: lamp->setRedColor(random.bounded(256)); break;
        case 1: wheel(lamp->findChild<ColorSlider *>("SliderGreen"), 1 + random.bounded(3)); break;
        case 2: dragHandleUp(lamp->findChild<ColorSlider *>("SliderBlue"), random.bounded(-80, 80)); break;
        case 3: win.spin(tab == Programs ? "spinBoxRiseTime" : "spinBoxSceneRiseTime")->setValue(random.bounded(100001)); break;
        case 4: win.spin(tab == Programs ? "spinBoxEndMarker" : "spinBoxSceneStaticTime")->setValue(random.bounded(2)); break;
        case 5:
            lamp->setAll(random.bounded(2));
            QTest::keyClick(&win.w, random.bounded(2) ? Qt::Key_Up : Qt::Key_Down, Qt::ControlModifier);
            break;
        case 6:
            QTest::keyClick(&win.w, random.bounded(2) ? Qt::Key_C : Qt::Key_V, Qt::ControlModifier);
            break;
        case 7:
            dropTile(strip, random.bounded(tiles), random.bounded(tiles), Qt::NoModifier);
            break;
        case 8:
            prompts.answer(int(QMessageBox::Yes));
            dropTile(strip, random.bounded(tiles), random.bounded(tiles), Qt::ControlModifier);
            prompts.answers.clear();
            break;
        case 9: stepAction(tab == Programs ? "actionInsertStep" : "actionInsertScene"); break;
        case 10: stepAction(tab == Programs ? "actionDeleteStep" : "actionDeleteScene"); break;
        case 11:
            if (tab == Programs)
                win.overview()->findChild<QAction *>(random.bounded(2) ? "actionCopyProgram" : "actionPasteProgram")->trigger();
            else
                win.spin("spinBoxSceneSceneNumber")->setValue(1 + random.bounded(8));
            break;
        case 12:
            prompts.answer(dir.filePath(QString("%1.%2").arg(random.bounded(3)).arg(tab == Programs ? "pgm" : "scn")));
            if (tab == Programs)
                win.w.slotpushButtonLoadProgramsFromFile(false);
            else
                win.w.slotpushButtonLoadScenesFromFile(false);
            break;
        default:
            win.spin("spinBoxProgramNumber")->setValue(1 + random.bounded(8));
            win.spin("spinBoxSceneNumber")->setValue(1 + random.bounded(20));
            break;
        }
        if (random.bounded(25) == 0)   // now and then an undo, and maybe its redo
            random.bounded(2) ? win.w.programEdits()->history()->undo() : win.w.sceneEdits()->history()->undo();
        if (random.bounded(50) == 0)
            win.w.programEdits()->history()->redo();
    }
    const QByteArray end = win.tables();
    QVERIFY(end != start);
    QVERIFY(win.steps() > 200);

    for (QUndoStack *history : { win.w.programEdits()->history(), win.w.sceneEdits()->history() }) {
        while (history->canUndo())
            history->undo();
    }
    QVERIFY(win.tables() == start);
    QVERIFY(win.editorShowsTable(Programs) && win.editorShowsTable(Scenes));
    for (QUndoStack *history : { win.w.programEdits()->history(), win.w.sceneEdits()->history() }) {
        while (history->canRedo())
            history->redo();
    }
    QVERIFY(win.tables() == end);
    QVERIFY(win.editorShowsTable(Programs) && win.editorShowsTable(Scenes));
}

void TestEditing::editMenuNamesTheStepAndYieldsToTextFields()
{
    Window win;
    auto *menu = win.w.findChild<QMenu *>("menuEdit");
    QCOMPARE(menu->title(), QString("Edit"));
    QCOMPARE(menu->actions(), QList<QAction *>({ win.undo(), win.redo() }));
    QCOMPARE(win.undo()->shortcuts(), QKeySequence::keyBindings(QKeySequence::Undo));
    QCOMPARE(win.redo()->shortcuts(), QKeySequence::keyBindings(QKeySequence::Redo));
    win.showTab(Programs);
    QVERIFY(!win.undo()->isEnabled() && !win.redo()->isEnabled());

    // Each tab its own history; the Settings tab has none.
    win.spin("spinBoxStaticTime")->setValue(5);
    QCOMPARE(win.undo()->text(), QString("Undo Change scene time"));
    win.showTab(Scenes);
    QVERIFY(!win.undo()->isEnabled());
    win.w.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(0);
    QVERIFY(!win.undo()->isEnabled());

    // Ctrl+Z in a spin box is the box's own undo: the typed text goes back and
    // that is a new change, nothing to redo.
    win.showTab(Programs);
    typeInto(win.spin("spinBoxRiseTime"), "77");
    QCOMPARE(win.spin("spinBoxRiseTime")->value(), 77);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(win.spin("spinBoxRiseTime")->value() != 77);
    QVERIFY(!win.redo()->isEnabled());

    // Elsewhere Ctrl+Z and Ctrl+Shift+Z are the window's; after Set the
    // history goes on, and undoing past the set makes the marker come back.
    win.w.slotpushButtonSetProgramsInVn274(false);
    QVERIFY(!win.w.isWindowModified());
    win.overview()->setFocus();
    QTest::keyClick(win.overview(), Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(win.redo()->isEnabled());
    QVERIFY(win.w.isWindowModified());
    QTest::keyClick(win.overview(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QVERIFY(!win.w.isWindowModified());
}

// The row's records named by letters: "ABCDE" is five records whose first
// byte is that letter.
void TestEditing::rowsRearranged_data()
{
    QTest::addColumn<QString>("operation");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("expected");   // '.' an empty record
    QTest::newRow("step 1 onto 3") << "move" << 0 << 2 << "BCADE";
    QTest::newRow("step 4 onto 2") << "move" << 3 << 1 << "ADBCE";
    QTest::newRow("last onto first") << "move" << 4 << 0 << "EABCD";
    QTest::newRow("copy 1 onto 3") << "copy" << 0 << 2 << "ABACD";
    QTest::newRow("copy 5 onto 1") << "copy" << 4 << 0 << "EABCD";
    QTest::newRow("copy onto itself") << "copy" << 1 << 1 << "ABBCD";
    QTest::newRow("insert before 2") << "insert" << 1 << 0 << "A.BCD";
    QTest::newRow("insert before last") << "insert" << 4 << 0 << "ABCD.";
    QTest::newRow("delete 2") << "delete" << 1 << 0 << "ACDE.";
    QTest::newRow("delete last") << "delete" << 4 << 0 << "ABCD.";
}

void TestEditing::rowsRearranged()
{
    QFETCH(QString, operation);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, expected);
    const auto row = [](const QString &letters) {
        QByteArray bytes;
        for (const QChar letter : letters) {
            QByteArray record(48, '\0');
            if (letter != '.') {
                record[0] = char(letter.toLatin1());
                record[47] = 1;   // a reserved byte travels with its record
            }
            bytes += record;
        }
        return bytes;
    };
    const QByteArray start = row("ABCDE");
    const QByteArray result = operation == "move" ? Shows::movedRecord(start, from, to)
                            : operation == "copy" ? Shows::copiedRecord(start, from, to)
                            : operation == "insert" ? Shows::withEmptyRecord(start, from)
                                                    : Shows::withoutRecord(start, from);
    QCOMPARE(result, row(expected));
    QCOMPARE(Shows::isEmptyRecord(result, 4), expected.endsWith('.'));
}

void TestEditing::stripsByKeyboardMenuAndRefusedDrops()
{
    ScriptedPrompts prompts;
    Window win;
    win.showTab(Programs);
    ProgramOverview *strip = win.overview();

    // Left and Right step through the program; the menu key opens the menu on
    // the shown step.
    strip->setFocus();
    QCOMPARE(strip->focusPolicy(), Qt::StrongFocus);
    QTest::keyClick(strip, Qt::Key_Right);
    QTest::keyClick(strip, Qt::Key_Right);
    QTest::keyClick(strip, Qt::Key_Left);
    QCOMPARE(win.spin("spinBoxSceneNumber")->value(), 2);
    QTest::keyClick(strip, Qt::Key_Left);
    QTest::keyClick(strip, Qt::Key_Left);
    QCOMPARE(win.spin("spinBoxSceneNumber")->value(), 1);
    QStringList menuTexts;
    QTimer::singleShot(0, [&menuTexts] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QVERIFY(menu);
        for (const QAction *action : menu->actions())
            menuTexts << action->text();
        menu->close();
    });
    QTest::keyClick(strip, Qt::Key_Menu);
    QCOMPARE(menuTexts, QStringList({ "Insert empty step before", "Delete step", "", "Copy program", "Paste program" }));

    // Copy program 1 into program 4 through the clipboard.
    win.lamps(Programs).at(0)->setRedColor(10);
    QVERIFY(!strip->findChild<QAction *>("actionPasteProgram")->isEnabled());
    strip->findChild<QAction *>("actionCopyProgram")->trigger();
    QVERIFY(strip->findChild<QAction *>("actionPasteProgram")->isEnabled());
    win.spin("spinBoxProgramNumber")->setValue(4);
    strip->findChild<QAction *>("actionPasteProgram")->trigger();
    QCOMPARE(win.w.programTable().mid(3 * 960, 960), win.w.programTable().mid(0, 960));

    // A copy that would push a step off the end asks; Cancel changes nothing.
    win.spin("spinBoxSceneNumber")->setValue(20);
    win.lamps(Programs).at(1)->setGreenColor(20);
    const QByteArray before = win.tables();
    prompts.answer(int(QMessageBox::Cancel));
    dropTile(strip, 0, 1, Qt::ControlModifier);
    QCOMPARE(win.tables(), before);
    QCOMPARE(prompts.asked.last().title, QString("Step 20 is not empty"));
    QCOMPARE(prompts.asked.last().label, QString("Step 20 of program 4 is not empty. It falls off the end of the "
                                                 "program.\n\nGo on?"));

    // A tile of the other strip, or of another window's, is not taken.
    dropTile(strip, 0, 5, Qt::NoModifier, win.sceneOverview());
    Window other;
    dropTile(strip, 0, 5, Qt::NoModifier, other.overview());
    QCOMPARE(win.tables(), before);
    QVERIFY(prompts.unexpected.isEmpty());
}

void TestEditing::historyIsBoundedAndOutlivesALanguageSwitch()
{
    // 1000 steps per table, each the whole table replaced: the oldest go, and
    // what the history holds stays under 8 MB.
    QRandomGenerator random(1000);
    EditedTable table(QByteArray(Shows::ProgramTableSize, '\0'));
    for (int i = 0; i < 1100; ++i)
        table.replace("Load programs from file", randomTable(random, Shows::ProgramTableSize), 0);
    QCOMPARE(table.history()->count(), EditedTable::HistoryLimit);
    QVERIFY(table.heldBytes() <= qint64(EditedTable::HistoryLimit) * Shows::ProgramTableSize);

    // A drag that ends where it began leaves no step.
    Window win;
    win.showTab(Scenes);
    ColorSlider *slider = win.slider(Scenes, 2, "SliderRed");
    const QPoint from = handleCentre(slider);
    QTest::mousePress(slider, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(slider, from - QPoint(0, 40));
    QTest::mouseMove(slider, from);
    QTest::mouseRelease(slider, Qt::LeftButton, Qt::NoModifier, from);
    QCOMPARE(win.steps(), 0);

    // A language switch: the new window undoes what the old one did, and names
    // it in the new language.
    QStringList undoTexts;
    QByteArray tablesAfterUndo;
    int shown = 0;
    runMainWindow("en_GB", [&](Vn274_bootloader &window, const QTranslator &) {
        ++shown;
        auto *undo = window.findChild<QAction *>("actionUndo");
        if (shown == 1) {
            window.findChild<QTabWidget *>("tabWidget")->setCurrentIndex(Programs);
            window.findChild<QSpinBox *>("spinBoxStaticTime")->setValue(300);
            window.findChild<QSpinBox *>("spinBoxSceneStaticTime")->setValue(400);
            undoTexts << undo->text();
            QTimer::singleShot(0, window.findChild<QAction *>("actionPolish"), &QAction::trigger);
        } else {
            undoTexts << undo->text();
            undo->trigger();
            tablesAfterUndo = window.programTable() + window.sceneTable();
            QVERIFY(window.sceneEdits()->history()->canUndo());
            QTimer::singleShot(0, &window, [] { QCoreApplication::exit(0); });
        }
    });
    QCOMPARE(shown, 2);
    QCOMPARE(undoTexts.first(), QString("Undo Change scene time"));
    QVERIFY2(undoTexts.last() != undoTexts.first() && undoTexts.last().startsWith("Cofnij"), qPrintable(undoTexts.last()));
    QByteArray scenesOnly(Shows::ProgramTableSize + Shows::SceneTableSize, '\0');
    scenesOnly[Shows::ProgramTableSize + 40] = char(400 & 0xff);
    scenesOnly[Shows::ProgramTableSize + 41] = char(400 >> 8);
    QCOMPARE(tablesAfterUndo, scenesOnly);
}

QTEST_MAIN(TestEditing)
#include "tst_editing.moc"
