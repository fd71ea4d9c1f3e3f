// The firmware change in the worker thread ("Firmware Change"), and what keeps
// the window from pulling the device away from under it.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "upgrade/releasesignature.h"
#include "upgrade/upgrader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonCHF(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonCHF(bool t)");
    if (!upgrader)
        return;
    // One change at a time: the file name must not change under a running one.
    if (upgrader->isRunning() || deviceOperationRefused())
        return;

    ui->progressBarFlash->setValue(0);
    ui->progressBarExtFlashWr->setValue(0);
    ui->progressBarExtFlashRd->setValue(0);
    const QString fileName = UserPrompts::current().getOpenFileName(nullptr, tr("Open File"), QStringLiteral("."),
                                                                    tr("Upg (*.upg)"));
    // A build without release keys writes any file: never without a word.
    if (!fileName.isEmpty() && !releaseCheckNotice().isEmpty())
        ui->txt->append(releaseCheckNotice());
    // A cancelled dialog still starts the worker, which then ends at once.
    upgrader->slotSetFileName(fileName);
    setFirmwareChangeControlsEnabled(false);
    upgrader->start(QThread::InheritPriority);
}

// The worker's change, or those of "Change Firmware Of All Drivers…".
bool Vn274_bootloader::firmwareChangeRunning() const
{
    return (upgrader && upgrader->isRunning()) || allDriversChanging();
}

// While the worker writes the driver, nothing else may start a firmware change
// or reconnect the link for programs and scenes.
// The driver menu's choices too: a change follows its own driver.
void Vn274_bootloader::setFirmwareChangeControlsEnabled(bool enabled)
{
    for (QPushButton *button : { ui->pushButtonCHF, ui->pushButtonGetProgramsFormVn274,
                                 ui->pushButtonSetProgramsInVn274, ui->pushButtonGetScenesFormVn274,
                                 ui->pushButtonSetScenesInVn274 })
        button->setEnabled(enabled);
    firmwareControlsEnabled = enabled;
    refreshDriverMenu();
}

void Vn274_bootloader::firmwareChangeFinished()
{
    // A change started again before this news arrived keeps the buttons off.
    if (firmwareChangeRunning())
        return;
    setFirmwareChangeControlsEnabled(true);
    // A driver chosen meanwhile is taken now.
    applyChosenDriver();
}

bool Vn274_bootloader::refuseDuringFirmwareChange()
{
    if (!firmwareChangeRunning())
        return false;
    UserPrompts::current().information(this, tr("Info"), tr("Firmware change in progress"));
    return true;
}
