#include "app/startup.h"
#include "app/vn274_bootloader.h"
#include "usb/driverwatcher.h"

#include <QApplication>
#include <QLocale>

#ifdef VN274_DEMO
#include "app/demo.h"
#include "simulator/udevfront.h"
#include "tool/simsetup.h"
#include "upgrade/upgrader.h"
#endif

int main(int argc, char *argv[])
{
    const QString localeName = QLocale::system().name();
    QApplication app(argc, argv);
#ifdef VN274_DEMO
    // More drivers, and their faults, as VN274_DEMO_SIM asks.
    setUpSimulatedDriver("VN274_DEMO_SIM", "vn274-demo");
    seedDemoDriver();
    // Its drivers are simulated: their firmware changes go where those of
    // vn274-tool-sim go, never into the line's own record.
    Upgrader::setRecordTool(QStringLiteral("vn274-tool-sim"));
    // Drivers come and go on the simulated buses, not on the real ones.
    Vn274_bootloader::setDriverEventSource([](DriverWatcher &watcher) { (new sim::UdevFront(&watcher))->start(); });
#else
    Vn274_bootloader::setDriverEventSource([](DriverWatcher &watcher) {
        watcher.start();
        watcher.announcePresent();
    });
#endif
    return runMainWindow(localeName);
}
