#include "app/startup.h"

#include "app/translation.h"
#include "app/vn274_bootloader.h"

#include <QApplication>
#include <QTranslator>

int runMainWindow(const QString &systemLocaleName, const WindowShown &shown)
{
    int code = 0;
    for (;;) {
        QTranslator translator;
        // A missing translation is not reported: the texts stay in English.
        loadTranslation(translator, translationFileName(code, systemLocaleName));
        QCoreApplication::installTranslator(&translator);

        {
            Vn274_bootloader window;
            window.show();
            if (shown)
                shown(window, translator);
            code = QApplication::exec();
        }   // the window goes before its translator

        if (!isRestartCode(code))
            return code;
    }
}
