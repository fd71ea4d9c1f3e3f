// The interactive firmware change of the service panel.
#include "app/vn274_bootloader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonFirmware(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonFirmware(bool t)");
}
