// Service panel: memory reads and page writes, the driver's status word.
#include "app/vn274_bootloader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonRead(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonRead(bool t)");
}

void Vn274_bootloader::slotpushButtonWrite(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWrite(bool t)");
}

void Vn274_bootloader::slotpushButtonWritePage(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonWritePage(bool t)");
}

void Vn274_bootloader::slotpushButtonStatusGet(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonStatusGet(bool t)");
}

void Vn274_bootloader::slotpushButtonStatusSet(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonStatusSet(bool t)");
}

void Vn274_bootloader::slotpushButtonStatusClr(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonStatusClr(bool t)");
}
