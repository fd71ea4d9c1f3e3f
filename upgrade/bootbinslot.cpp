// Bootloader images stamped with a production serial number.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "upgrade/bootimage.h"

#include <QDebug>

namespace {

// The numbers first..last, zero-padded to `width` digits.
QStringList numberItems(int first, int last, int width)
{
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
    return items;
}

} // namespace

void Vn274_bootloader::slotpushButtonCreateBootBin(bool)
{
    UserPrompts &prompts = UserPrompts::current();
    ui->txt->append(QStringLiteral("Vn274_bootloader::slotpushButtonCreateBootBin(bool t)"));

    const QString hexFileName = prompts.getOpenFileName(this, tr("Open File"), QStringLiteral("."), tr("Hex (*.hex)"));
    if (hexFileName.isEmpty())
        return;

    // The serial number YYMMDDNNN, each part chosen from a list preset to today.
    bool ok = false;
    const QString year = prompts.getItem(this, tr("Production year"), tr("Year(YY)"), numberItems(0, 99, 2),
                                         productionToday().year() % 100, false, &ok);
    if (!ok)
        return;
    const QString month = prompts.getItem(this, tr("Production mont"), tr("Month(MM)"), numberItems(1, 12, 2),
                                          productionToday().month() - 1, false, &ok);
    if (!ok)
        return;
    const QString day = prompts.getItem(this, tr("Production day"), tr("Day(DD)"), numberItems(1, 31, 2),
                                        productionToday().day() - 1, false, &ok);
    if (!ok)
        return;
    const QString number = prompts.getItem(this, tr("Production number"), tr("Number(NNN)"), numberItems(1, 999, 3),
                                           0, false, &ok);
    if (!ok)
        return;
    const QString serial = year + month + day + number;
    ui->txt->append(serial);

    // A reading error is shown; the image keeps what was read before it.
    const BootloaderImage built = buildBootloaderImage(hexFileName, serial);
    if (built.hexResult != 0) {
        const QString error = tr("HexToBin error: %1)").arg(built.hexResult);
        ui->txt->append(error);
        prompts.critical(this, tr("Error"), error);
    } else if (built.hex.bytesInWindow == 0) {
        // The image is still offered, as ever; but an application's HEX file
        // chosen by mistake makes a blank bootloader, a dead driver on the line.
        ui->txt->append(tr("Warning: the HEX file puts no byte into 0x08000000-0x08003FFF: the image is blank but for "
                           "its serial number"));
    }

    const QString binFileName = prompts.getSaveFileName(this, tr("Save bootloader bin"),
                                                        bootloaderImageFileName(serial), tr("Bin (*.bin)"));
    if (!binFileName.isEmpty() && !writeBootloaderImage(binFileName, built.image))
        prompts.critical(this, tr("File error"), tr("Can't write file"));
    ui->txt->append(tr("New bootloader + serial:"));
    ui->txt->append(binFileName);
}
