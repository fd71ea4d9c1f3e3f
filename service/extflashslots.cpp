// Service panel: the driver's external flash.
#include "app/vn274_bootloader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonWriteExtFlashBin(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWriteExtFlashBin(bool t)");
}

void Vn274_bootloader::slotpushButtonWriteExternalFlash(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWriteExternalFlash(bool t)");
}

void Vn274_bootloader::slotpushButtonReadExternalFlash(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonReadExternalFlash(bool t)");
}
