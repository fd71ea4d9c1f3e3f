#ifndef VN274_BOOTLOADER_H
#define VN274_BOOTLOADER_H

#include "app/editingstate.h"
#include "shows/pendingchanges.h"
#include "shows/showtables.h"

#include <QByteArray>
#include <QList>
#include <QMainWindow>

class ArthurStyle;
class LampAreaActions;
class LampGroup;
class ProgramOverview;
class QCloseEvent;
class QBoxLayout;
class SuperRGB;
class Upgrader;
class USBRQ518;

namespace Shows {
enum class TransferResult;
struct CopiedScene;
}

namespace Ui {
class Vn274_bootloaderClass;
}

// The program's only window: the Settings tab with the firmware change, the
// message area and the progress bars (and the hidden service panel), and the
// Programs and Scenes tabs that edit the driver's light shows lamp by lamp.
//
// The window owns the device object, its form and the two show tables. Its
// slots live beside the subsystem they drive: service/ for the service panel,
// upgrade/ for the firmware, shows/ for programs and scenes.
class Vn274_bootloader : public QMainWindow
{
    Q_OBJECT

public:
    explicit Vn274_bootloader(QWidget *parent = nullptr);
    ~Vn274_bootloader() override;

    // The device, its firmware change worker and the tables as they stand, for
    // callers outside the window.
    USBRQ518 *device() const { return boot_usb; }
    Upgrader *firmwareWorker() const { return upgrader; }
    const QByteArray &programTable() const { return ProgramTable; }
    const QByteArray &sceneTable() const { return SceneTable; }

    // Whether the programs or the scenes, editors included, differ from what
    // was last loaded, saved, got or set. The title then carries Qt's modified
    // marker, and closing the window asks first.
    bool hasPendingChanges() const;

    // A language switch builds a new window; this is what it takes over.
    EditingState editingState() const;
    void restoreEditingState(const EditingState &state);

public slots:
    // service panel: connection
    void slotpushButtonConnect(bool t);
    void slotpushButtonDisconnect(bool t);
    // service panel: memory
    void slotpushButtonRead(bool t);
    void slotpushButtonWrite(bool t);
    void slotpushButtonWritePage(bool t);
    // firmware
    void slotpushButtonFirmware(bool t);
    // service panel: external flash
    void slotpushButtonWriteExtFlashBin(bool t);
    void slotpushButtonRunApplication(bool t);
    void slotpushButtonWriteExternalFlash(bool t);
    void slotpushButtonReadExternalFlash(bool t);
    // firmware files
    void slotpushButtonCreateUpg(bool t);
    void slotpushButtonCreateBootBin(bool t);
    // service panel: status word
    void slotpushButtonStatusGet(bool t);
    void slotpushButtonStatusSet(bool t);
    void slotpushButtonStatusClr(bool t);
    void slotTimeout();
    // firmware change in the worker thread
    void slotpushButtonCHF(bool t);
    // programs and scenes
    void slotUpdateProgramScene(int value);
    void slotpushButtonGetProgramsFromVn274(bool t);
    void slotpushButtonSetProgramsInVn274(bool t);
    void slotUpdateScene(int value);
    void slotpushButtonGetScenesFromVn274(bool t);
    void slotpushButtonSetScenesInVn274(bool t);
    void slotpushButtonLoadScenesFromFile(bool t);
    void slotpushButtonLoadProgramsFromFile(bool t);
    void slotpushButtonSaveScenesToFile(bool t);
    void slotpushButtonSaveProgramsToFile(bool t);
    // window
    void slotShowInfo(bool t);
    void slotTabChange(int index);
    void slotPolish(bool t);
    void slotEnglish(bool t);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void addLamps(QList<SuperRGB *> &lamps, QBoxLayout *layout);
    void connectExternalFlashBars();
    void disconnectExternalFlashBars();

    // The firmware change worker (upgrade/): while it runs, the buttons that
    // would use the device are off, and the window neither closes nor switches
    // language (a new window would destroy the device under it).
    bool firmwareChangeRunning() const;
    void setFirmwareChangeControlsEnabled(bool enabled);
    void firmwareChangeFinished();
    bool refuseDuringFirmwareChange();

    // Programs and scenes editors (shows/).
    void commitProgramEditor(QByteArray &table, int program, int step) const;
    void showProgramRecord(int program, int step);
    void commitSceneEditor(QByteArray &table, int scene) const;
    void showSceneRecord(int scene);
    int selectedProgram() const;
    int selectedStep() const;
    int selectedScene() const;
    void showTransferFailure(Shows::TransferResult result);

    // Editing beyond one slider at a time (shows/editingslots.cpp): the group
    // commands of each tab, copy and paste of what an editor shows, the
    // program overview, and the pending changes.
    void buildEditingTools();
    void takeProgramEditor(SceneRecord &record) const;
    void takeSceneEditor(SceneRecord &record) const;
    bool programEditorChanged() const;
    bool sceneEditorChanged() const;
    QByteArray programsAsEdited() const;
    QByteArray scenesAsEdited() const;
    void copyProgramStep();
    void pasteIntoProgramStep();
    void copyScene();
    void pasteIntoScene();
    void pasteIntoEditor(const Shows::CopiedScene &copied, bool programs);
    void programsEdited();
    void scenesEdited();
    void refreshModifiedMarker();
    void programsInStep(const QByteArray &programs);
    void scenesInStep(const QByteArray &scenes);
    void showProgramStepClicked(int step);
    bool closeLosingPendingChanges();

    USBRQ518 *boot_usb = nullptr;
    Upgrader *upgrader = nullptr;
    Ui::Vn274_bootloaderClass *ui = nullptr;
    int timerState = 0;
    ArthurStyle *arthurStyle = nullptr;
    QList<SuperRGB *> programLamps;
    QList<SuperRGB *> sceneLamps;
    QByteArray ProgramTable;
    QByteArray SceneTable;

    // The records the editors show. They start at the first program step and
    // the first scene, which the editors show at start, so that edits made
    // before the first change of a number reach the table.
    int shownProgram = 0;
    int shownStep = 0;
    int shownScene = 0;
    // What each editor gave right after it showed its record (over a zero
    // record): an editor that still gives this holds no edit.
    SceneRecord programEditorAtShow{};
    SceneRecord sceneEditorAtShow{};

    PendingChanges programChanges;
    PendingChanges sceneChanges;
    LampGroup *programGroup = nullptr;
    LampGroup *sceneGroup = nullptr;
    LampAreaActions *programActions = nullptr;
    LampAreaActions *sceneActions = nullptr;
    ProgramOverview *programOverview = nullptr;
    // While a record is being shown its lamps change one by one; the marker and
    // the overview wait for the whole record.
    int editorRefreshHeld = 0;
};

#endif // VN274_BOOTLOADER_H
