// Upgrade files from the Intel HEX output of the firmware build.
#include "app/vn274_bootloader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonCreateUpg(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonCreateUpg(bool t)");
}
