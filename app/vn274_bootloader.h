#ifndef VN274_BOOTLOADER_H
#define VN274_BOOTLOADER_H

#include "app/editingstate.h"
#include "shows/editgestures.h"
#include "shows/pendingchanges.h"
#include "shows/showtables.h"

#include <QByteArray>
#include <QList>
#include <QMainWindow>
#include <QPointer>

#include <functional>
#include <memory>

class AllDriversDialog;
class ArthurStyle;
class ConnectedDrivers;
class DriverWatcher;
class EditedTable;
class LampAreaActions;
class LampGroup;
class ProgramOverview;
class QAction;
class QActionGroup;
class QCloseEvent;
class QMenu;
class QUndoGroup;
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
    const QByteArray &programTable() const;
    const QByteArray &sceneTable() const;
    // The tables with their histories; the Edit menu's Undo and Redo act on
    // the one of the tab shown.
    EditedTable *programEdits() const { return programs.get(); }
    EditedTable *sceneEdits() const { return scenes.get(); }
    // The lamp editors of the Programs and the Scenes tab. They are made when
    // their tab is first shown, or when asked for here: the window opens on
    // the Settings tab, and building 24 editors was most of its start-up.
    const QList<SuperRGB *> &programEditors();
    const QList<SuperRGB *> &sceneEditors();

    // Whether the programs or the scenes, editors included, differ from what
    // was last loaded, saved, got or set. The title then carries Qt's modified
    // marker, and closing the window asks first.
    bool hasPendingChanges() const;

    // A language switch builds a new window; this is what it takes over.
    EditingState editingState() const;
    void restoreEditingState(const EditingState &state);

    // The drivers on the buses and the one the window works on (the Driver
    // menu). The watcher hears of them from where the program's source of
    // driver events says; without one (tests) only from feed().
    DriverWatcher *driverWatcher() const { return watcher; }
    ConnectedDrivers *connectedDrivers() const { return drivers; }
    using DriverEventSource = std::function<void(DriverWatcher &watcher)>;
    // For every window built from now on: udev's monitor for the program on
    // real drivers, the simulated buses for the demo.
    static void setDriverEventSource(const DriverEventSource &source);
    // The dialog of "Change Firmware Of All Drivers…" while it is open.
    AllDriversDialog *allDriversDialog() const;

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

    // The driver the window works on (service/driverslots.cpp). The device
    // object takes that driver alone; a choice waits while a firmware change
    // follows its own driver.
    void buildDriverMenu();
    void refreshDriverMenu();
    void refreshTitle();
    void chooseDriver(const QByteArray &serial);
    void applyChosenDriver();
    // Said and true when a device operation may not run now: the chosen
    // driver is not connected, or the firmware of all drivers is changing.
    bool deviceOperationRefused();

    // Change Firmware Of All Drivers… (upgrade/alldriversslot.cpp).
    void changeFirmwareOfAllDrivers();
    bool allDriversChanging() const;

    // Programs and scenes editors (shows/). The tables are the model: the
    // editors and the overview strips show them, and every change reaches a
    // table as one step of its history (shows/editedtable.h).
    void showProgramRecord(int program, int step);
    void showSceneRecord(int scene);
    int selectedProgram() const;
    int selectedStep() const;
    int selectedScene() const;
    void showTransferFailure(Shows::TransferResult result);

    // Editing (shows/editingslots.cpp): what the editors change goes into the
    // tables; undo and redo show the record they touched.
    void buildEditingTools();
    void buildEditMenu();
    void buildEditorsOfTab(int index);
    const QList<SuperRGB *> &lampEditors(bool programTab);
    void watchEditors(const QList<SuperRGB *> &lamps, EditGestures &gestures, bool programTab);
    void watchFields(bool programTab);
    void adoptTables(std::shared_ptr<EditedTable> programTable, std::shared_ptr<EditedTable> sceneTable);
    void programEditorEdited(int target);
    void sceneEditorEdited(int target);
    const char *editName(int target) const;
    void changeProgramRecord(const char *text, const SceneRecord &record, int mergeKey = 0);
    void changeSceneRecord(const char *text, const SceneRecord &record, int mergeKey = 0);
    void runGroupCommand(bool programTab, const char *text, void (LampGroup::*command)());
    void programsChanged(int record, bool byUndo);
    void scenesChanged(int record, bool byUndo);
    void showProgramsInOverview();
    void showScenesInOverview();
    void takeProgramEditor(SceneRecord &record) const;
    void takeSceneEditor(SceneRecord &record) const;
    void copyProgramStep();
    void pasteIntoProgramStep();
    void copyScene();
    void pasteIntoScene();
    void refreshModifiedMarker();
    void programsInStep(const QByteArray &programs);
    void scenesInStep(const QByteArray &scenes);
    void showProgramStepClicked(int step);
    void showSceneClicked(int scene);
    void followTabInEditMenu(int index);
    bool closeLosingPendingChanges();

    // Steps arranged on the overview strips (shows/stepslots.cpp).
    void buildStepMenus();
    void arrangeProgram(const char *text, const QByteArray &steps, int focusStep);
    void arrangeScenes(const char *text, const QByteArray &row, int focusScene);
    QByteArray shownProgramSteps() const;
    bool lastRecordMayGo(const QByteArray &row, bool programTab);
    void programStepDropped(int from, int to, bool copy);
    void sceneDropped(int from, int to, bool copy);
    void insertProgramStep();
    void deleteProgramStep();
    void insertScene();
    void deleteScene();
    void copyProgram();
    void pasteProgram();

    USBRQ518 *boot_usb = nullptr;
    Upgrader *upgrader = nullptr;
    DriverWatcher *watcher = nullptr;
    ConnectedDrivers *drivers = nullptr;
    QMenu *driverMenu = nullptr;
    QAction *allDriversAction = nullptr;
    QActionGroup *driverEntries = nullptr;   // the menu's entries above it
    QPointer<AllDriversDialog> allDrivers;
    bool firmwareControlsEnabled = true;
    // The service panel's interactive firmware change runs in this thread
    // and lets events through between its steps.
    bool interactiveChangeRunning = false;
    Ui::Vn274_bootloaderClass *ui = nullptr;
    int timerState = 0;
    ArthurStyle *arthurStyle = nullptr;
    // Empty until their tab is first shown (lampEditors()).
    QList<SuperRGB *> programLamps;
    QList<SuperRGB *> sceneLamps;
    // Shared, so that a language switch hands them, history and all, to the
    // window built in this one's place.
    std::shared_ptr<EditedTable> programs;
    std::shared_ptr<EditedTable> scenes;

    // The records the editors show, always the selected ones.
    int shownProgram = 0;
    int shownStep = 0;
    int shownScene = 0;

    PendingChanges programChanges;
    PendingChanges sceneChanges;
    LampGroup *programGroup = nullptr;
    LampGroup *sceneGroup = nullptr;
    LampAreaActions *programActions = nullptr;
    LampAreaActions *sceneActions = nullptr;
    ProgramOverview *programOverview = nullptr;
    ProgramOverview *sceneOverview = nullptr;
    QUndoGroup *undoGroup = nullptr;
    EditGestures programGestures;
    EditGestures sceneGestures;
    // While a record is being shown its lamps change one by one: that is no
    // edit. And while an edit of an editor goes into its table, the editor
    // already shows it.
    int editorRefreshHeld = 0;
    bool editorWriting = false;
    // The name of the group command (Brighter, Darker) under way, if any.
    const char *runningCommand = nullptr;
};

#endif // VN274_BOOTLOADER_H
