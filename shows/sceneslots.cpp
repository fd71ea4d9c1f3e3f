// The Scenes tab of the main window: one stand-alone scene at a time in the
// editor, the whole scenes table to and from the driver.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "shows/lampcolours.h"
#include "shows/showtables.h"
#include "shows/showtransfer.h"

#include <QDebug>

#include <cstring>

int Vn274_bootloader::selectedScene() const
{
    return ui->spinBoxSceneSceneNumber->value() - 1;
}

// Stand-alone scenes have no end marker in the editor: the byte keeps
// whatever the table holds.
void Vn274_bootloader::takeSceneEditor(SceneRecord &record) const
{
    record.riseTime = ui->spinBoxSceneRiseTime->value();
    record.staticTime = ui->spinBoxSceneStaticTime->value();
    Shows::takeLampColours(sceneLamps, record);
}

bool Vn274_bootloader::sceneEditorChanged() const
{
    SceneRecord now{};
    takeSceneEditor(now);
    return std::memcmp(&now, &sceneEditorAtShow, sizeof now) != 0;
}

// As on the Programs tab, a scene left as shown keeps its bytes.
void Vn274_bootloader::commitSceneEditor(QByteArray &table, int scene) const
{
    if (!sceneEditorChanged())
        return;
    const int offset = Shows::sceneRecordOffset(scene);
    SceneRecord record = Shows::recordAt(table, offset);
    takeSceneEditor(record);
    Shows::setRecordAt(table, offset, record);
}

void Vn274_bootloader::showSceneRecord(int scene)
{
    const SceneRecord record = Shows::recordAt(SceneTable, Shows::sceneRecordOffset(scene));
    ++editorRefreshHeld;
    ui->spinBoxSceneRiseTime->setValue(record.riseTime);
    ui->spinBoxSceneStaticTime->setValue(record.staticTime);
    Shows::showLampColours(record, sceneLamps);
    sceneEditorAtShow = SceneRecord{};
    takeSceneEditor(sceneEditorAtShow);
    --editorRefreshHeld;
}

void Vn274_bootloader::slotUpdateScene(int)
{
    const int scene = selectedScene();
    if (scene != shownScene)
        commitSceneEditor(SceneTable, shownScene);
    showSceneRecord(scene);
    shownScene = scene;
    scenesEdited();
}

void Vn274_bootloader::slotpushButtonGetScenesFromVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonGetScenesFromVn274(bool t)");
    const Shows::TransferResult result = Shows::readScenesFromDriver(*boot_usb, SceneTable);
    showTransferFailure(result);
    if (result == Shows::TransferResult::AcquireFailed)
        return;
    slotUpdateScene(0);
    if (result == Shows::TransferResult::Done)
        scenesInStep(SceneTable);
}

void Vn274_bootloader::slotpushButtonSetScenesInVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSetScenesInVn274(bool t)");
    QByteArray scenes = SceneTable;
    commitSceneEditor(scenes, selectedScene());
    const Shows::TransferResult result = Shows::writeScenesToDriver(*boot_usb, scenes);
    if (result != Shows::TransferResult::AcquireFailed)
        SceneTable = scenes;
    if (result == Shows::TransferResult::Done)
        scenesInStep(scenes);
    showTransferFailure(result);
}
