// The Scenes tab of the main window: one stand-alone scene at a time in the
// editor, the whole scenes table to and from the driver.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "shows/editedtable.h"
#include "shows/lampcolours.h"
#include "shows/showtables.h"
#include "shows/showtransfer.h"

#include <QDebug>

int Vn274_bootloader::selectedScene() const
{
    return ui->spinBoxSceneSceneNumber->value() - 1;
}

const QByteArray &Vn274_bootloader::sceneTable() const
{
    return scenes->bytes();
}

// Stand-alone scenes have no end marker in the editor: the byte keeps
// whatever the table holds.
void Vn274_bootloader::takeSceneEditor(SceneRecord &record) const
{
    record.riseTime = ui->spinBoxSceneRiseTime->value();
    record.staticTime = ui->spinBoxSceneStaticTime->value();
    Shows::takeLampColours(sceneLamps, record);
}

void Vn274_bootloader::showSceneRecord(int scene)
{
    const SceneRecord record = Shows::recordAt(scenes->bytes(), Shows::sceneRecordOffset(scene));
    ++editorRefreshHeld;
    ui->spinBoxSceneRiseTime->setValue(record.riseTime);
    ui->spinBoxSceneStaticTime->setValue(record.staticTime);
    Shows::showLampColours(record, sceneLamps);
    --editorRefreshHeld;
}

void Vn274_bootloader::slotUpdateScene(int)
{
    shownScene = selectedScene();
    sceneGestures.interrupt();
    showSceneRecord(shownScene);
    showScenesInOverview();
}

void Vn274_bootloader::slotpushButtonGetScenesFromVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonGetScenesFromVn274(bool t)");
    if (deviceOperationRefused())
        return;
    QByteArray got = scenes->bytes();
    const Shows::TransferResult result = Shows::readScenesFromDriver(*boot_usb, got);
    showTransferFailure(result);
    if (result != Shows::TransferResult::Done)
        return;
    scenes->replace(QT_TRANSLATE_NOOP("EditedTable", "Get scenes from the Vn274"), got, shownScene);
    scenesInStep(got);
}

void Vn274_bootloader::slotpushButtonSetScenesInVn274(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonSetScenesInVn274(bool t)");
    if (deviceOperationRefused())
        return;
    const QByteArray sent = scenes->bytes();
    const Shows::TransferResult result = Shows::writeScenesToDriver(*boot_usb, sent);
    if (result == Shows::TransferResult::Done)
        scenesInStep(sent);
    showTransferFailure(result);
}
