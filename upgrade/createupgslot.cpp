// Upgrade files from the Intel HEX output of the firmware build.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "upgrade/upgradefile.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonCreateUpg(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonCreateUpg(bool t)");
    UserPrompts &prompts = UserPrompts::current();
    ui->txt->clear();

    // The firmware build's output folder on the maker's machine; elsewhere the
    // dialog starts in the working directory.
    const QString hexFileName = prompts.getOpenFileName(this, tr("Open File"),
                                                        QStringLiteral("E:\\Projekty\\ARM\\Vn274\\out"),
                                                        tr("Hex (*.hex)"));
    if (hexFileName.isEmpty())
        return;

    // A reading error is shown, but the image keeps what was read before it
    // and can still be saved.
    const UpgradeImage built = buildUpgradeImage(hexFileName);
    for (int result : { built.applicationResult, built.externalFlashResult }) {
        if (result == 0)
            continue;
        const QString error = tr("HexToBin error: %1)").arg(result);
        ui->txt->append(error);
        prompts.critical(this, tr("Error"), error);
    }

    const QString upgFileName = prompts.getSaveFileName(this, tr("Save File"), QStringLiteral("."), tr("Upg (*.upg)"));
    if (upgFileName.isEmpty())
        return;
    if (!writeUpgradeFile(upgFileName, built.image))
        prompts.critical(this, tr("File error"), tr("Can't write file"));
}
