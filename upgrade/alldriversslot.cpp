// "Change Firmware Of All Drivers…" in the Driver menu: every connected
// driver changed at once from one release, in a dialog beside the window.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "production/recordlocation.h"
#include "upgrade/alldriversdialog.h"
#include "upgrade/concurrentupgrade.h"
#include "upgrade/upgrader.h"
#include "usb/connecteddrivers.h"
#include "usb/usbrq518.h"

#include <QDebug>

void Vn274_bootloader::changeFirmwareOfAllDrivers()
{
    qDebug("Vn274_bootloader::changeFirmwareOfAllDrivers()");
    if (refuseDuringFirmwareChange())
        return;
    const QString fileName = UserPrompts::current().getOpenFileName(nullptr, tr("Open File"), QStringLiteral("."),
                                                                    tr("Upg (*.upg)"));
    if (fileName.isEmpty())
        return;
    // The dialog of an earlier run, all its changes ended, gives way.
    if (allDrivers)
        allDrivers->close();

    // The release is checked before any driver is looked at: a refused file
    // touches none.
    auto dialog = std::make_unique<AllDriversDialog>(drivers, this);
    if (!dialog->setRelease(fileName)) {
        UserPrompts::current().critical(this, tr("File error"), dialog->refusal());
        return;
    }
    // Each change opens its driver on a link of its own: this window's link
    // lets go of the one it holds.
    boot_usb->disconnect();
    // The drivers as udev told of them, none opened here; where it told of
    // none (no udev), as the buses list them.
    QList<QByteArray> serials;
    for (const ConnectedDrivers::Driver &driver : drivers->drivers())
        serials << (driver.bootloader ? driver.serial + 'b' : driver.serial);
    if (serials.isEmpty())
        serials = ConcurrentUpgrade::connectedDrivers();
    if (serials.isEmpty()) {
        UserPrompts::current().critical(this, tr("Error"), tr("USB Timeout\nCheck USB Cable"));
        return;
    }
    // The record is never a reason to stop: one that cannot be used is said.
    QString problem;
    dialog->setRecord(openDefaultRecord(Upgrader::recordToolName(), &problem), problem);

    allDrivers = dialog.release();
    allDrivers->setAttribute(Qt::WA_DeleteOnClose);
    connect(allDrivers, &AllDriversDialog::line, ui->txt, &QTextBrowser::append);
    connect(allDrivers, &AllDriversDialog::changesEnded, this, &Vn274_bootloader::firmwareChangeFinished);
    allDrivers->show();
    allDrivers->start(serials);
    if (allDrivers->changing())
        setFirmwareChangeControlsEnabled(false);
}

bool Vn274_bootloader::allDriversChanging() const
{
    return allDrivers && allDrivers->changing();
}

AllDriversDialog *Vn274_bootloader::allDriversDialog() const
{
    return allDrivers;
}
