// The driver the window works on: the Driver menu lists the drivers udev
// tells of, with a mark on the one worked on, and the device object talks to
// that driver alone, through its restarts too. A chosen driver that is gone
// is said by the next operation; nothing falls back to another driver.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "app/userprompts.h"
#include "app/version.h"
#include "usb/connecteddrivers.h"
#include "usb/driverwatcher.h"
#include "usb/usbrq518.h"

#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>

namespace {

Vn274_bootloader::DriverEventSource &driverEventSource()
{
    static Vn274_bootloader::DriverEventSource source;
    return source;
}

} // namespace

void Vn274_bootloader::setDriverEventSource(const DriverEventSource &source)
{
    driverEventSource() = source;
}

void Vn274_bootloader::buildDriverMenu()
{
    watcher = new DriverWatcher(USBRQ518::Vn274VendorId, USBRQ518::Vn274ProductId, this);
    drivers = new ConnectedDrivers(this);
    connect(watcher, &DriverWatcher::driverArrived, this, [this](const DriverEvent &event) {
        // The link's own driver is the one the window has been working on;
        // while a firmware change uses the link it is not asked.
        const bool secondWithoutChoice = drivers->chosen().isEmpty() && !drivers->drivers().isEmpty();
        const bool linkFree = !firmwareChangeRunning() && !interactiveChangeRunning;
        drivers->arrived(event, secondWithoutChoice && linkFree ? boot_usb->getSerial() : QByteArray());
    });
    connect(watcher, &DriverWatcher::driverLeft, drivers, &ConnectedDrivers::left);
    connect(drivers, &ConnectedDrivers::changed, this, [this] {
        applyChosenDriver();
        refreshDriverMenu();
        refreshTitle();
    });

    driverMenu = new QMenu(tr("Driver"), ui->menuBar);
    driverMenu->setObjectName(QStringLiteral("menuDriver"));
    allDriversAction = new QAction(tr("Change Firmware Of All Drivers…"), this);
    allDriversAction->setObjectName(QStringLiteral("actionChangeFirmwareOfAllDrivers"));
    connect(allDriversAction, &QAction::triggered, this, &Vn274_bootloader::changeFirmwareOfAllDrivers);
    driverMenu->addAction(allDriversAction);
    ui->menuBar->insertMenu(ui->menuLanguage->menuAction(), driverMenu);
    refreshDriverMenu();

    if (driverEventSource())
        driverEventSource()(*watcher);
}

// One checkable entry per driver, "240611027 (application)", the one worked
// on marked; a chosen driver that is gone stays listed, marked, as not
// connected. Choosing waits while a firmware change runs.
void Vn274_bootloader::refreshDriverMenu()
{
    // The entries go later: the one triggered may be what is being handled.
    if (driverEntries) {
        for (QAction *action : driverEntries->findChildren<QAction *>())
            driverMenu->removeAction(action);
        driverEntries->deleteLater();
    }
    driverEntries = new QActionGroup(driverMenu);
    const QByteArray workedOn = drivers->workedOn();
    QList<QByteArray> listed;
    for (const ConnectedDrivers::Driver &driver : drivers->drivers())
        if (!listed.contains(driver.serial))
            listed << driver.serial;
    if (!workedOn.isEmpty() && !listed.contains(workedOn))
        listed << workedOn;
    QList<QAction *> entries;
    for (const QByteArray &serial : std::as_const(listed)) {
        auto *action = new QAction(tr("%1 (%2)").arg(QString::fromLatin1(serial), drivers->modeText(serial)),
                                   driverEntries);
        action->setData(serial);
        action->setCheckable(true);
        action->setChecked(serial == workedOn);
        action->setEnabled(firmwareControlsEnabled);
        connect(action, &QAction::triggered, this, [this, serial] { chooseDriver(serial); });
        entries << action;
    }
    if (listed.isEmpty()) {
        entries << new QAction(tr("No driver connected"), driverEntries);
        entries.last()->setEnabled(false);
    }
    entries << new QAction(driverEntries);
    entries.last()->setSeparator(true);
    driverMenu->insertActions(allDriversAction, entries);
    allDriversAction->setEnabled(firmwareControlsEnabled);
}

// "Vn274 ver. 1.02", and once a driver is chosen " - 240611028" after it.
void Vn274_bootloader::refreshTitle()
{
    QString title = tr("Vn274 ver. ") + QLatin1String(vn274Version);
    const QByteArray chosen = drivers ? drivers->chosen() : QByteArray();
    if (!chosen.isEmpty()) {
        title += QStringLiteral(" - ") + QString::fromLatin1(chosen);
        if (!drivers->isPresent(chosen))
            title += QLatin1Char(' ') + tr("(not connected)");
    }
    // The placeholder shows Qt's modified marker while changes are pending and
    // nothing at all otherwise.
    setWindowTitle(title + QStringLiteral("[*]"));
}

void Vn274_bootloader::chooseDriver(const QByteArray &serial)
{
    if (refuseDuringFirmwareChange()) {
        refreshDriverMenu();   // the mark goes back where it was
        return;
    }
    if (serial == drivers->chosen())
        return;
    drivers->choose(serial);
    ui->txt->append(tr("Working on the driver %1").arg(QString::fromLatin1(serial)));
}

// The device object takes the chosen driver alone. A firmware change in
// progress follows its own driver through its restarts, so the choice waits
// for its end (firmwareChangeFinished).
void Vn274_bootloader::applyChosenDriver()
{
    if (firmwareChangeRunning() || interactiveChangeRunning)
        return;
    const QByteArray chosen = drivers->chosen();
    if (boot_usb->selectedSerial() == chosen)
        return;
    boot_usb->selectSerial(chosen);
    // An open link would go on talking to the driver it has.
    boot_usb->disconnect();
}

bool Vn274_bootloader::deviceOperationRefused()
{
    if (allDriversChanging()) {
        UserPrompts::current().information(this, tr("Info"), tr("Firmware change in progress"));
        return true;
    }
    const QByteArray chosen = drivers->chosen();
    if (chosen.isEmpty() || drivers->isPresent(chosen))
        return false;
    UserPrompts::current().critical(
        this, tr("Error"),
        tr("The Vn274 %1 is not connected.\nPlug it in again, or choose another driver in the Driver menu.")
            .arg(QString::fromLatin1(chosen)));
    return true;
}
