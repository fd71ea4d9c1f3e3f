// Service panel: manual connection to the driver and the restart into the application.
#include "app/vn274_bootloader.h"

#include <QDebug>

void Vn274_bootloader::slotpushButtonConnect(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonConnect(bool t)");
}

void Vn274_bootloader::slotpushButtonDisconnect(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonDisconnect(bool t)");
}

void Vn274_bootloader::slotpushButtonRunApplication(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonRunApplication(bool t)");
}

void Vn274_bootloader::slotTimeout()
{
    qDebug("Vn274_bootloader::slotTimeout()");
}
