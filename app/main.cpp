#include "app/startup.h"

#include <QApplication>
#include <QLocale>

#ifdef VN274_DEMO
#include "app/demo.h"
#include "upgrade/upgrader.h"
#endif

int main(int argc, char *argv[])
{
    const QString localeName = QLocale::system().name();
    QApplication app(argc, argv);
#ifdef VN274_DEMO
    seedDemoDriver();
    // Its drivers are simulated: their firmware changes go where those of
    // vn274-tool-sim go, never into the line's own record.
    Upgrader::setRecordTool(QStringLiteral("vn274-tool-sim"));
#endif
    return runMainWindow(localeName);
}
