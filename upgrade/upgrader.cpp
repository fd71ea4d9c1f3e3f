#include "upgrade/upgrader.h"

#include "upgrade/upgradeprocedure.h"

#include <QtDebug>

Upgrader::Upgrader(USBRQ518 *device)
    : QThread(nullptr)
{
    qDebug("Upgrader constructor");
    usb = device;
}

Upgrader::~Upgrader()
{
    qDebug("Upgrader destructor");
}

void Upgrader::slotSetFileName(QString name)
{
    fileName = name;
}

void Upgrader::run()
{
    UpgradeProgress progress;
    progress.line = [this](const QString &line) { emit sendText(line); };
    progress.percent = [this](int percent) { emit sendPercent(percent); };
    runFirmwareUpgrade(*usb, fileName, progress);
}
