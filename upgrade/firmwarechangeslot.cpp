// The firmware change in the worker thread ("Firmware Change").
#include "app/vn274_bootloader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonCHF(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonCHF(bool t)");
}
