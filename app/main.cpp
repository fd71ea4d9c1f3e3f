#include "app/startup.h"

#include <QApplication>
#include <QLocale>

#ifdef VN274_DEMO
#include "app/demo.h"
#endif

int main(int argc, char *argv[])
{
    const QString localeName = QLocale::system().name();
    QApplication app(argc, argv);
#ifdef VN274_DEMO
    seedDemoDriver();
#endif
    return runMainWindow(localeName);
}
