// Bootloader images stamped with a production serial number.
#include "app/vn274_bootloader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonCreateBootBin(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonCreateBootBin(bool t)");
}
