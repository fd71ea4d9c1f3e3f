// Service panel: manual connection to the driver and the restart into the
// other firmware, and the step machine that walks the driver from its
// application into the bootloader.
#include "app/vn274_bootloader.h"
#include "ui_vn274_bootloader.h"

#include "usb/usbrq518.h"

#include <QDebug>
#include <QFile>
#include <QTimer>

#include <cstdlib>

namespace {

// Steps of slotTimeout, kept in timerState; logged by these names.
enum TimerState {
    TIMER_STATE_NULL = 0,
    TIMER_STATE_DISCONNECT1,
    TIMER_STATE_CONNECT1,
    TIMER_STATE_RUN_BOOTLOADER,
    TIMER_STATE_DISCONNECT2,
    TIMER_STATE_CONNECT_BOOTLOADER,
    TIMER_STATE_PROGRAM
};

constexpr int StepInterval = 1000;   // ms between two steps

// "Disconnect" writes the numbers 351 to 541 in random order.
constexpr int FirstNumber = 351;
constexpr int NumberCount = 191;

} // namespace

void Vn274_bootloader::slotpushButtonConnect(bool)
{
    qDebug("Vn274_bootloader::slotpushButtonConnect(bool t)");
    if (deviceOperationRefused())
        return;
    const char *result = boot_usb->connect() == 0 ? "Connect OK" : "Connect ERROR";
    qDebug("%s", result);
    ui->txt->append(QLatin1String(result));
}

void Vn274_bootloader::slotpushButtonDisconnect(bool)
{
    boot_usb->disconnect();
    qDebug("Vn274_bootloader::slotpushButtonDisconnect(bool t)");
    ui->txt->clear();

    QFile file("dane.csv");
    file.open(QIODevice::WriteOnly | QIODevice::Truncate);

    // rand() is never seeded: the first press after start gives the same order
    // every time, later presses go on along the same sequence.
    QList<int> drawn;
    QList<int> draws;
    while (drawn.size() < NumberCount) {
        int r = 0;
        int n = 0;
        do {
            r = std::rand();
            n = r % NumberCount + FirstNumber;
        } while (drawn.contains(n));
        drawn << n;
        draws << r;
    }
    for (int i = 0; i < NumberCount; ++i) {
        file.write(QByteArray::number(drawn.at(i)) + ',');
        ui->txt->append(QString::number(draws.at(i)) + " -> " + QString::number(drawn.at(i)));
    }
    file.close();
}

// The driver leaves its firmware for the other one and comes back on the bus
// a moment later; the connect right after may well find nothing, which the
// next device operation mends by connecting again.
void Vn274_bootloader::slotpushButtonRunApplication(bool)
{
    if (deviceOperationRefused())
        return;
    boot_usb->RunApplication();
    boot_usb->disconnect();
    boot_usb->connect();
}

// Walks the driver from its application into the bootloader, one step a
// second. A call in TIMER_STATE_NULL only arms the machine; a call in
// TIMER_STATE_DISCONNECT1 runs all steps and ends armed again, without a
// pending timer. Results are not examined: the link reconnects by itself.
void Vn274_bootloader::slotTimeout()
{
    qDebug("Vn274_bootloader::slotTimeout(void)");
    switch (timerState) {
    case TIMER_STATE_NULL:
        qDebug("TIMER_STATE_NULL");
        timerState = TIMER_STATE_DISCONNECT1;
        return;
    case TIMER_STATE_DISCONNECT1:
        qDebug("TIMER_STATE_DISCONNECT1");
        timerState = TIMER_STATE_CONNECT1;
        boot_usb->disconnect();
        break;
    case TIMER_STATE_CONNECT1:
        qDebug("TIMER_STATE_CONNECT1");
        timerState = TIMER_STATE_RUN_BOOTLOADER;
        boot_usb->connect();
        break;
    case TIMER_STATE_RUN_BOOTLOADER:
        qDebug("TIMER_STATE_RUN_BOOTLOADER");
        timerState = TIMER_STATE_DISCONNECT2;
        boot_usb->RunApplication();
        break;
    case TIMER_STATE_DISCONNECT2:
        qDebug("TIMER_STATE_DISCONNECT2");
        timerState = TIMER_STATE_CONNECT_BOOTLOADER;
        boot_usb->disconnect();
        break;
    case TIMER_STATE_CONNECT_BOOTLOADER:
        qDebug("TIMER_STATE_CONNECT_BOOTLOADER");
        timerState = TIMER_STATE_PROGRAM;
        boot_usb->connect();
        break;
    case TIMER_STATE_PROGRAM:
        qDebug("TIMER_STATE_PROGRAM");
        timerState = TIMER_STATE_NULL;
        break;
    default:
        return;
    }
    // Bound to the window: a pending step goes with it.
    QTimer::singleShot(StepInterval, this, SLOT(slotTimeout()));
}
