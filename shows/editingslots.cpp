// Editing beyond one slider at a time on the Programs and Scenes tabs: the
// group commands over the selected sliders, copy and paste of what an editor
// shows, the program overview, the pending changes, and what a rebuilt window
// takes over from the old one.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "shows/lampareaactions.h"
#include "shows/lampcolours.h"
#include "shows/programoverview.h"
#include "shows/sceneclipboard.h"
#include "shows/showtables.h"
#include "style/arthurstyle.h"
#include "widgets/lampgroup.h"
#include "widgets/superrgb.h"

#include <QAction>
#include <QSignalBlocker>

void Vn274_bootloader::buildEditingTools()
{
    programChanges.markInStep(ProgramTable);
    sceneChanges.markInStep(SceneTable);

    programGroup = new LampGroup(programLamps, this);
    sceneGroup = new LampGroup(sceneLamps, this);
    programActions = new LampAreaActions(ui->scrollArea, ui->gridLayout_5, programGroup);
    sceneActions = new LampAreaActions(ui->scrollArea_2, ui->gridLayout_7, sceneGroup);
    connect(programActions->copyAction(), &QAction::triggered, this, &Vn274_bootloader::copyProgramStep);
    connect(programActions->pasteAction(), &QAction::triggered, this, &Vn274_bootloader::pasteIntoProgramStep);
    connect(sceneActions->copyAction(), &QAction::triggered, this, &Vn274_bootloader::copyScene);
    connect(sceneActions->pasteAction(), &QAction::triggered, this, &Vn274_bootloader::pasteIntoScene);

    // The overview goes above the lamps; the control column then spans both rows.
    programOverview = new ProgramOverview(ui->tabPrograms);
    programOverview->setObjectName(QStringLiteral("programOverview"));
    programOverview->setStyle(arthurStyle);
    QGridLayout *grid = ui->gridLayout_4;
    delete grid->takeAt(grid->indexOf(ui->scrollArea));   // the widget's item, not the widget
    grid->takeAt(grid->indexOf(ui->gridLayout_5));         // the layout itself, kept
    grid->addWidget(programOverview, 0, 0);
    grid->addWidget(ui->scrollArea, 1, 0);
    grid->addLayout(ui->gridLayout_5, 0, 1, 2, 1);
    // The window grows by the strip, so that the lamps still show whole at first.
    resize(width(), height() + programOverview->sizeHint().height() + grid->verticalSpacing());
    connect(programOverview, &ProgramOverview::stepClicked, this, &Vn274_bootloader::showProgramStepClicked);

    // Every change of an editor's content, whatever made it.
    for (SuperRGB *lamp : programLamps)
        connect(lamp, &SuperRGB::colorChanged, this, &Vn274_bootloader::programsEdited);
    for (QSpinBox *box : { ui->spinBoxRiseTime, ui->spinBoxStaticTime, ui->spinBoxEndMarker })
        connect(box, &QSpinBox::valueChanged, this, &Vn274_bootloader::programsEdited);
    for (SuperRGB *lamp : sceneLamps)
        connect(lamp, &SuperRGB::colorChanged, this, &Vn274_bootloader::scenesEdited);
    for (QSpinBox *box : { ui->spinBoxSceneRiseTime, ui->spinBoxSceneStaticTime })
        connect(box, &QSpinBox::valueChanged, this, &Vn274_bootloader::scenesEdited);

    programsEdited();
}

QByteArray Vn274_bootloader::programsAsEdited() const
{
    QByteArray programs = ProgramTable;
    commitProgramEditor(programs, shownProgram, shownStep);
    return programs;
}

QByteArray Vn274_bootloader::scenesAsEdited() const
{
    QByteArray scenes = SceneTable;
    commitSceneEditor(scenes, shownScene);
    return scenes;
}

bool Vn274_bootloader::hasPendingChanges() const
{
    return programChanges.pendingIn(programsAsEdited()) || sceneChanges.pendingIn(scenesAsEdited());
}

void Vn274_bootloader::programsEdited()
{
    if (editorRefreshHeld > 0)
        return;
    const QByteArray programs = programsAsEdited();
    const int offset = Shows::programRecordOffset(shownProgram, 0);
    programOverview->setProgram(programs.mid(offset, Shows::StepsPerProgram * Shows::RecordSize), shownStep);
    refreshModifiedMarker();
}

void Vn274_bootloader::scenesEdited()
{
    if (editorRefreshHeld > 0)
        return;
    refreshModifiedMarker();
}

void Vn274_bootloader::refreshModifiedMarker()
{
    setWindowModified(hasPendingChanges());
}

void Vn274_bootloader::programsInStep(const QByteArray &programs)
{
    programChanges.markInStep(programs);
    refreshModifiedMarker();
}

void Vn274_bootloader::scenesInStep(const QByteArray &scenes)
{
    sceneChanges.markInStep(scenes);
    refreshModifiedMarker();
}

// Through the spin box, so the step shown before is committed as usual.
void Vn274_bootloader::showProgramStepClicked(int step)
{
    ui->spinBoxSceneNumber->setValue(step + 1);
}

void Vn274_bootloader::copyProgramStep()
{
    Shows::CopiedScene copied;
    takeProgramEditor(copied.record);
    copied.hasEndMarker = true;
    Shows::copySceneToClipboard(copied);
}

void Vn274_bootloader::copyScene()
{
    Shows::CopiedScene copied;
    takeSceneEditor(copied.record);
    copied.hasEndMarker = false;
    Shows::copySceneToClipboard(copied);
}

void Vn274_bootloader::pasteIntoProgramStep()
{
    if (const std::optional<Shows::CopiedScene> copied = Shows::sceneOnClipboard())
        pasteIntoEditor(*copied, true);
}

void Vn274_bootloader::pasteIntoScene()
{
    if (const std::optional<Shows::CopiedScene> copied = Shows::sceneOnClipboard())
        pasteIntoEditor(*copied, false);
}

// A paste is an edit of the editor, like moving its sliders: the table takes
// it at the next commit. A stand-alone scene has no end marker to paste into,
// and a scene copied from the Scenes tab brings none.
void Vn274_bootloader::pasteIntoEditor(const Shows::CopiedScene &copied, bool programs)
{
    ++editorRefreshHeld;
    if (programs) {
        ui->spinBoxRiseTime->setValue(copied.record.riseTime);
        ui->spinBoxStaticTime->setValue(copied.record.staticTime);
        if (copied.hasEndMarker)
            ui->spinBoxEndMarker->setValue(copied.record.endMarker != 0 ? 1 : 0);
        Shows::showLampColours(copied.record, programLamps);
    } else {
        ui->spinBoxSceneRiseTime->setValue(copied.record.riseTime);
        ui->spinBoxSceneStaticTime->setValue(copied.record.staticTime);
        Shows::showLampColours(copied.record, sceneLamps);
    }
    --editorRefreshHeld;
    if (programs)
        programsEdited();
    else
        scenesEdited();
}

EditingState Vn274_bootloader::editingState() const
{
    EditingState state;
    state.programs = programsAsEdited();
    state.scenes = scenesAsEdited();
    state.programsInStep = programChanges.inStepBytes();
    state.scenesInStep = sceneChanges.inStepBytes();
    state.program = shownProgram;
    state.step = shownStep;
    state.scene = shownScene;
    state.programSliders = programGroup->selection();
    state.sceneSliders = sceneGroup->selection();
    state.currentTab = ui->tabWidget->currentIndex();
    state.geometry = saveGeometry();
    return state;
}

// The number boxes are set quietly, without their usual commit and show: the
// records taken over are shown once they are all in place.
void Vn274_bootloader::restoreEditingState(const EditingState &state)
{
    if (state.programs.size() == Shows::ProgramTableSize)
        ProgramTable = state.programs;
    if (state.scenes.size() == Shows::SceneTableSize)
        SceneTable = state.scenes;
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
    shownProgram = selectedProgram();
    shownStep = selectedStep();
    shownScene = selectedScene();
    showProgramRecord(shownProgram, shownStep);
    showSceneRecord(shownScene);

    programGroup->setSelection(state.programSliders);
    sceneGroup->setSelection(state.sceneSliders);
    ui->tabWidget->setCurrentIndex(state.currentTab);
    if (!state.geometry.isEmpty())
        restoreGeometry(state.geometry);

    programsEdited();
}
