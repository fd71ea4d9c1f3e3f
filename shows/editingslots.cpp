// Editing on the Programs and Scenes tabs: every change of an editor goes into
// its table as a step of the table's history, the group commands over the
// selected sliders, copy and paste of a scene, the overview strips, the Edit
// menu's Undo and Redo, the pending changes, and what a rebuilt window takes
// over from the old one.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "shows/editedtable.h"
#include "shows/lampareaactions.h"
#include "shows/programoverview.h"
#include "shows/sceneclipboard.h"
#include "shows/showtables.h"
#include "style/arthurstyle.h"
#include "usb/connecteddrivers.h"
#include "widgets/colorslider.h"
#include "widgets/lampgroup.h"
#include "widgets/superrgb.h"

#include <QAction>
#include <QMenuBar>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QUndoGroup>

namespace {

// What an edit of an editor comes from: lamps 0 to 11, or one of these fields.
// As targets of EditGestures the lamps count per channel (0 to 35).
enum Field { RiseTimeField = 100, StaticTimeField, EndMarkerField };

const char *fieldEditName(int field)
{
    switch (field) {
    case RiseTimeField: return QT_TRANSLATE_NOOP("EditedTable", "Change XFade");
    case StaticTimeField: return QT_TRANSLATE_NOOP("EditedTable", "Change scene time");
    default: return QT_TRANSLATE_NOOP("EditedTable", "Change end marker");
    }
}

const char *const ColourEditName = QT_TRANSLATE_NOOP("EditedTable", "Change colour");
const char *const PasteSceneName = QT_TRANSLATE_NOOP("EditedTable", "Paste scene");

QByteArray bytesOf(const SceneRecord &record)
{
    return QByteArray(reinterpret_cast<const char *>(&record), sizeof record);
}

// Which slider of a lamp an edit of the lamp moved (its first changed channel):
// bursts merge per slider. A field is its own target.
int editTarget(const SceneRecord &before, const SceneRecord &after, int target)
{
    if (target >= RiseTimeField)
        return target;
    const int lamp = target;
    for (int channel = 0; channel < 3; ++channel) {
        if (before.lampRgb[3 * lamp + channel] != after.lampRgb[3 * lamp + channel])
            return 3 * lamp + channel;
    }
    return 3 * lamp;
}

// What a pasted scene brings into a record: the lamps and the two times (as
// far as the editor's boxes reach), the end marker only from a program step
// into a program step.
void pasteInto(SceneRecord &record, const Shows::CopiedScene &copied, const QSpinBox *riseTime,
               const QSpinBox *staticTime, bool takesEndMarker)
{
    std::copy(std::begin(copied.record.lampRgb), std::end(copied.record.lampRgb), std::begin(record.lampRgb));
    record.riseTime = qBound(riseTime->minimum(), int(copied.record.riseTime), riseTime->maximum());
    record.staticTime = qBound(staticTime->minimum(), int(copied.record.staticTime), staticTime->maximum());
    if (takesEndMarker && copied.hasEndMarker)
        record.endMarker = copied.record.endMarker != 0 ? 1 : 0;
}

} // namespace

void Vn274_bootloader::buildEditingTools()
{
    undoGroup = new QUndoGroup(this);
    adoptTables(std::make_shared<EditedTable>(QByteArray(Shows::ProgramTableSize, '\0')),
                std::make_shared<EditedTable>(QByteArray(Shows::SceneTableSize, '\0')));
    programChanges.markInStep(programs->bytes());
    sceneChanges.markInStep(scenes->bytes());

    programGroup = new LampGroup(programLamps, this);
    sceneGroup = new LampGroup(sceneLamps, this);
    programActions = new LampAreaActions(ui->scrollArea, ui->gridLayout_5, programGroup);
    sceneActions = new LampAreaActions(ui->scrollArea_2, ui->gridLayout_7, sceneGroup);
    connect(programActions->copyAction(), &QAction::triggered, this, &Vn274_bootloader::copyProgramStep);
    connect(programActions->pasteAction(), &QAction::triggered, this, &Vn274_bootloader::pasteIntoProgramStep);
    connect(sceneActions->copyAction(), &QAction::triggered, this, &Vn274_bootloader::copyScene);
    connect(sceneActions->pasteAction(), &QAction::triggered, this, &Vn274_bootloader::pasteIntoScene);
    for (const bool programTab : { true, false }) {
        LampAreaActions *actions = programTab ? programActions : sceneActions;
        connect(actions->brighterAction(), &QAction::triggered, this, [this, programTab] {
            runGroupCommand(programTab, QT_TRANSLATE_NOOP("EditedTable", "Brighter"), &LampGroup::brighter);
        });
        connect(actions->darkerAction(), &QAction::triggered, this, [this, programTab] {
            runGroupCommand(programTab, QT_TRANSLATE_NOOP("EditedTable", "Darker"), &LampGroup::darker);
        });
    }

    // The strips go above the lamps; the control column then spans both rows.
    programOverview = new ProgramOverview(Shows::StepsPerProgram, true, ui->tabPrograms);
    programOverview->setObjectName(QStringLiteral("programOverview"));
    sceneOverview = new ProgramOverview(Shows::SceneCount, false, ui->tabScenes);
    sceneOverview->setObjectName(QStringLiteral("sceneOverview"));
    const struct { ProgramOverview *strip; QGridLayout *grid; QWidget *lampArea; QLayout *column; } places[] = {
        { programOverview, ui->gridLayout_4, ui->scrollArea, ui->gridLayout_5 },
        { sceneOverview, ui->gridLayout_6, ui->scrollArea_2, ui->gridLayout_7 },
    };
    for (const auto &place : places) {
        place.strip->setStyle(arthurStyle);
        delete place.grid->takeAt(place.grid->indexOf(place.lampArea));   // the widget's item, not the widget
        place.grid->takeAt(place.grid->indexOf(place.column));            // the layout itself, kept
        place.grid->addWidget(place.strip, 0, 0);
        place.grid->addWidget(place.lampArea, 1, 0);
        place.grid->addLayout(place.column, 0, 1, 2, 1);
    }
    // The window grows by the strip, so that the lamps still show whole at first.
    resize(width(), height() + programOverview->sizeHint().height() + ui->gridLayout_4->verticalSpacing());
    connect(programOverview, &ProgramOverview::stepClicked, this, &Vn274_bootloader::showProgramStepClicked);
    connect(sceneOverview, &ProgramOverview::stepClicked, this, &Vn274_bootloader::showSceneClicked);
    buildStepMenus();

    watchFields(true);
    watchFields(false);
    buildEditMenu();
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &Vn274_bootloader::followTabInEditMenu);
    followTabInEditMenu(ui->tabWidget->currentIndex());
    connect(ui->tabWidget, &QTabWidget::currentChanged, this, &Vn274_bootloader::buildEditorsOfTab);
    buildEditorsOfTab(ui->tabWidget->currentIndex());

    showProgramsInOverview();
    showScenesInOverview();
}

const QList<SuperRGB *> &Vn274_bootloader::programEditors()
{
    return lampEditors(true);
}

const QList<SuperRGB *> &Vn274_bootloader::sceneEditors()
{
    return lampEditors(false);
}

void Vn274_bootloader::buildEditorsOfTab(int index)
{
    if (ui->tabWidget->widget(index) == ui->tabPrograms)
        programEditors();
    else if (ui->tabWidget->widget(index) == ui->tabScenes)
        sceneEditors();
}

// Until they are made, the tables alone hold the records: every edit is in its
// table at once, so editors made later only have to show the selected record.
const QList<SuperRGB *> &Vn274_bootloader::lampEditors(bool programTab)
{
    QList<SuperRGB *> &lamps = programTab ? programLamps : sceneLamps;
    if (!lamps.isEmpty())
        return lamps;
    addLamps(lamps, programTab ? ui->horizontalLayout : ui->horizontalLayoutScenes);
    (programTab ? programGroup : sceneGroup)->setLamps(lamps);
    for (SuperRGB *lamp : lamps)
        (programTab ? programActions : sceneActions)->watchTextFields(lamp);
    watchEditors(lamps, programTab ? programGestures : sceneGestures, programTab);
    if (programTab)
        showProgramRecord(shownProgram, shownStep);
    else
        showSceneRecord(shownScene);
    return lamps;
}

// Every change of an editor's content, whatever made it, and the drags that
// make one step of many changes.
void Vn274_bootloader::watchEditors(const QList<SuperRGB *> &lamps, EditGestures &gestures, bool programTab)
{
    for (int lamp = 0; lamp < lamps.size(); ++lamp) {
        connect(lamps.at(lamp), &SuperRGB::colorChanged, this, [this, lamp, programTab] {
            if (programTab)
                programEditorEdited(lamp);
            else
                sceneEditorEdited(lamp);
        });
        connect(lamps.at(lamp), &SuperRGB::colorChosen, this, [&gestures] { gestures.nextEditAlone(); });
        for (ColorSlider *slider : lamps.at(lamp)->findChildren<ColorSlider *>()) {
            connect(slider, &QSlider::sliderPressed, this, [&gestures] { gestures.beginDrag(); });
            connect(slider, &QSlider::sliderReleased, this, [&gestures] { gestures.endDrag(); });
        }
    }
}

void Vn274_bootloader::watchFields(bool programTab)
{
    const QList<std::pair<QSpinBox *, int>> fields = programTab
        ? QList<std::pair<QSpinBox *, int>>{ { ui->spinBoxRiseTime, RiseTimeField },
                                             { ui->spinBoxStaticTime, StaticTimeField },
                                             { ui->spinBoxEndMarker, EndMarkerField } }
        : QList<std::pair<QSpinBox *, int>>{ { ui->spinBoxSceneRiseTime, RiseTimeField },
                                             { ui->spinBoxSceneStaticTime, StaticTimeField } };
    for (const auto &[box, field] : fields) {
        connect(box, &QSpinBox::valueChanged, this, [this, field = field, programTab] {
            if (programTab)
                programEditorEdited(field);
            else
                sceneEditorEdited(field);
        });
    }
}

// Undo and Redo act on the history of the tab shown; their texts name the step.
void Vn274_bootloader::buildEditMenu()
{
    auto *menu = new QMenu(tr("Edit"), ui->menuBar);
    menu->setObjectName(QStringLiteral("menuEdit"));
    QAction *undo = undoGroup->createUndoAction(menu, tr("Undo"));
    undo->setObjectName(QStringLiteral("actionUndo"));
    undo->setShortcuts(QKeySequence::Undo);
    QAction *redo = undoGroup->createRedoAction(menu, tr("Redo"));
    redo->setObjectName(QStringLiteral("actionRedo"));
    redo->setShortcuts(QKeySequence::Redo);
    menu->addAction(undo);
    menu->addAction(redo);
    ui->menuBar->insertMenu(ui->menuLanguage->menuAction(), menu);
}

void Vn274_bootloader::followTabInEditMenu(int index)
{
    QUndoStack *stack = nullptr;
    if (ui->tabWidget->widget(index) == ui->tabPrograms)
        stack = programs->history();
    else if (ui->tabWidget->widget(index) == ui->tabScenes)
        stack = scenes->history();
    undoGroup->setActiveStack(stack);
}

void Vn274_bootloader::adoptTables(std::shared_ptr<EditedTable> programTable,
                                   std::shared_ptr<EditedTable> sceneTable)
{
    for (const std::shared_ptr<EditedTable> &old : { programs, scenes }) {
        if (old) {
            undoGroup->removeStack(old->history());
            disconnect(old.get(), nullptr, this, nullptr);
        }
    }
    programs = std::move(programTable);
    scenes = std::move(sceneTable);
    undoGroup->addStack(programs->history());
    undoGroup->addStack(scenes->history());
    connect(programs.get(), &EditedTable::changed, this, &Vn274_bootloader::programsChanged);
    connect(scenes.get(), &EditedTable::changed, this, &Vn274_bootloader::scenesChanged);
}

// An edited record is stored as the editor holds it (values beyond a box's
// range clamped); a record only shown keeps its bytes.
void Vn274_bootloader::programEditorEdited(int target)
{
    if (editorRefreshHeld > 0)
        return;
    SceneRecord record = Shows::recordAt(programs->bytes(), Shows::programRecordOffset(shownProgram, shownStep));
    const SceneRecord before = record;
    takeProgramEditor(record);
    const QScopedValueRollback<bool> writing(editorWriting, true);
    changeProgramRecord(editName(target), record, programGestures.keyFor(editTarget(before, record, target)));
}

void Vn274_bootloader::sceneEditorEdited(int target)
{
    if (editorRefreshHeld > 0)
        return;
    SceneRecord record = Shows::recordAt(scenes->bytes(), Shows::sceneRecordOffset(shownScene));
    const SceneRecord before = record;
    takeSceneEditor(record);
    const QScopedValueRollback<bool> writing(editorWriting, true);
    changeSceneRecord(editName(target), record, sceneGestures.keyFor(editTarget(before, record, target)));
}

const char *Vn274_bootloader::editName(int target) const
{
    if (runningCommand)
        return runningCommand;
    return target < RiseTimeField ? ColourEditName : fieldEditName(target);
}

void Vn274_bootloader::changeProgramRecord(const char *text, const SceneRecord &record, int mergeKey)
{
    programs->change(text, Shows::programRecordOffset(shownProgram, shownStep), bytesOf(record),
                     shownProgram * Shows::StepsPerProgram + shownStep, mergeKey);
}

void Vn274_bootloader::changeSceneRecord(const char *text, const SceneRecord &record, int mergeKey)
{
    scenes->change(text, Shows::sceneRecordOffset(shownScene), bytesOf(record), shownScene, mergeKey);
}

// Brighter and Darker move many sliders; all of it is one step named after them.
void Vn274_bootloader::runGroupCommand(bool programTab, const char *text, void (LampGroup::*command)())
{
    EditGestures &gestures = programTab ? programGestures : sceneGestures;
    const QScopedValueRollback<const char *> running(runningCommand, text);
    lampEditors(programTab);
    gestures.beginCommand();
    ((programTab ? programGroup : sceneGroup)->*command)();
    gestures.endCommand();
}

// A change that did not come from the editor (undo, redo, paste, a load, a
// step moved) shows its record, switching to it.
void Vn274_bootloader::programsChanged(int record, bool byUndo)
{
    if (byUndo)
        programGestures.interrupt();
    if (!editorWriting) {
        const int program = record / Shows::StepsPerProgram;
        const int step = record % Shows::StepsPerProgram;
        {
            const QSignalBlocker programBlocker(ui->spinBoxProgramNumber);
            const QSignalBlocker stepBlocker(ui->spinBoxSceneNumber);
            ui->spinBoxProgramNumber->setValue(program + 1);
            ui->spinBoxSceneNumber->setValue(step + 1);
        }
        shownProgram = program;
        shownStep = step;
        showProgramRecord(program, step);
    }
    showProgramsInOverview();
    refreshModifiedMarker();
}

void Vn274_bootloader::scenesChanged(int record, bool byUndo)
{
    if (byUndo)
        sceneGestures.interrupt();
    if (!editorWriting) {
        {
            const QSignalBlocker sceneBlocker(ui->spinBoxSceneSceneNumber);
            ui->spinBoxSceneSceneNumber->setValue(record + 1);
        }
        shownScene = record;
        showSceneRecord(record);
    }
    showScenesInOverview();
    refreshModifiedMarker();
}

void Vn274_bootloader::showProgramsInOverview()
{
    programOverview->setRecords(programs->bytes().mid(Shows::programRecordOffset(shownProgram, 0),
                                                      Shows::StepsPerProgram * Shows::RecordSize),
                                shownStep);
}

void Vn274_bootloader::showScenesInOverview()
{
    sceneOverview->setRecords(scenes->bytes(), shownScene);
}

bool Vn274_bootloader::hasPendingChanges() const
{
    return programChanges.pendingIn(programs->bytes()) || sceneChanges.pendingIn(scenes->bytes());
}

// Bytes are compared, so undoing back to what was last saved, loaded, got or
// set takes the marker away.
void Vn274_bootloader::refreshModifiedMarker()
{
    setWindowModified(hasPendingChanges());
}

void Vn274_bootloader::programsInStep(const QByteArray &programTable)
{
    programChanges.markInStep(programTable);
    refreshModifiedMarker();
}

void Vn274_bootloader::scenesInStep(const QByteArray &sceneTable)
{
    sceneChanges.markInStep(sceneTable);
    refreshModifiedMarker();
}

// Through the spin boxes, as if the user had set them.
void Vn274_bootloader::showProgramStepClicked(int step)
{
    ui->spinBoxSceneNumber->setValue(step + 1);
}

void Vn274_bootloader::showSceneClicked(int scene)
{
    ui->spinBoxSceneSceneNumber->setValue(scene + 1);
}

void Vn274_bootloader::copyProgramStep()
{
    Shows::CopiedScene copied;
    copied.record = Shows::recordAt(programs->bytes(), Shows::programRecordOffset(shownProgram, shownStep));
    takeProgramEditor(copied.record);
    copied.hasEndMarker = true;
    Shows::copySceneToClipboard(copied);
}

void Vn274_bootloader::copyScene()
{
    Shows::CopiedScene copied;
    copied.record = Shows::recordAt(scenes->bytes(), Shows::sceneRecordOffset(shownScene));
    takeSceneEditor(copied.record);
    copied.hasEndMarker = false;
    Shows::copySceneToClipboard(copied);
}

void Vn274_bootloader::pasteIntoProgramStep()
{
    const std::optional<Shows::CopiedScene> copied = Shows::sceneOnClipboard();
    if (!copied)
        return;
    SceneRecord record = Shows::recordAt(programs->bytes(), Shows::programRecordOffset(shownProgram, shownStep));
    pasteInto(record, *copied, ui->spinBoxRiseTime, ui->spinBoxStaticTime, true);
    changeProgramRecord(PasteSceneName, record);
}

// A stand-alone scene has no end marker to paste into.
void Vn274_bootloader::pasteIntoScene()
{
    const std::optional<Shows::CopiedScene> copied = Shows::sceneOnClipboard();
    if (!copied)
        return;
    SceneRecord record = Shows::recordAt(scenes->bytes(), Shows::sceneRecordOffset(shownScene));
    pasteInto(record, *copied, ui->spinBoxSceneRiseTime, ui->spinBoxSceneStaticTime, false);
    changeSceneRecord(PasteSceneName, record);
}

EditingState Vn274_bootloader::editingState() const
{
    EditingState state;
    state.programs = programs->bytes();
    state.scenes = scenes->bytes();
    state.programEdits = programs;
    state.sceneEdits = scenes;
    state.programsInStep = programChanges.inStepBytes();
    state.scenesInStep = sceneChanges.inStepBytes();
    state.program = shownProgram;
    state.step = shownStep;
    state.scene = shownScene;
    state.programSliders = programGroup->selection();
    state.sceneSliders = sceneGroup->selection();
    state.currentTab = ui->tabWidget->currentIndex();
    state.geometry = saveGeometry();
    state.driver = drivers->chosen();
    return state;
}

// The tables come with their histories, whose step names then follow the new
// language. The number boxes are set quietly: the records taken over are shown
// once they are all in place.
void Vn274_bootloader::restoreEditingState(const EditingState &state)
{
    if (state.programEdits && state.sceneEdits)
        adoptTables(state.programEdits, state.sceneEdits);
    else if (state.programs.size() == Shows::ProgramTableSize && state.scenes.size() == Shows::SceneTableSize)
        adoptTables(std::make_shared<EditedTable>(state.programs), std::make_shared<EditedTable>(state.scenes));
    programs->retranslate();
    scenes->retranslate();
    programChanges.markInStep(state.programsInStep);
    sceneChanges.markInStep(state.scenesInStep);

    {
        const QSignalBlocker programBlocker(ui->spinBoxProgramNumber);
        const QSignalBlocker stepBlocker(ui->spinBoxSceneNumber);
        const QSignalBlocker sceneBlocker(ui->spinBoxSceneSceneNumber);
        ui->spinBoxProgramNumber->setValue(state.program + 1);
        ui->spinBoxSceneNumber->setValue(state.step + 1);
        ui->spinBoxSceneSceneNumber->setValue(state.scene + 1);
    }
    slotUpdateProgramScene(0);
    slotUpdateScene(0);

    // Sliders selected in the old window need their editors in this one.
    if (state.programSliders.contains(true))
        programEditors();
    if (state.sceneSliders.contains(true))
        sceneEditors();
    programGroup->setSelection(state.programSliders);
    sceneGroup->setSelection(state.sceneSliders);
    ui->tabWidget->setCurrentIndex(state.currentTab);
    followTabInEditMenu(ui->tabWidget->currentIndex());
    if (!state.geometry.isEmpty())
        restoreGeometry(state.geometry);
    if (!state.driver.isEmpty())
        drivers->choose(state.driver);
    refreshModifiedMarker();
}
