#include "app/startup.h"

#include "app/translation.h"
#include "app/vn274_bootloader.h"

#include <QApplication>
#include <QLocale>
#include <QTranslator>

#include <optional>

int runMainWindow(const QString &systemLocaleName, const WindowShown &shown)
{
    int code = 0;
    std::optional<EditingState> carried;
    const QLocale localeBefore;
    for (;;) {
        QTranslator translator;
        // A missing translation is not reported: the texts stay in English.
        loadTranslation(translator, translationFileName(code, systemLocaleName));
        QCoreApplication::installTranslator(&translator);
        QTranslator qtTranslator;
        if (loadQtTranslation(qtTranslator, translator))
            QCoreApplication::installTranslator(&qtTranslator);
        // Dates and sizes (the file dialog's among them) in the same language.
        QLocale::setDefault(programLocale(translator, QLocale::system()));

        {
            Vn274_bootloader window;
            if (carried)
                window.restoreEditingState(*carried);
            window.show();
            if (shown)
                shown(window, translator);
            code = QApplication::exec();
            if (isRestartCode(code))
                carried = window.editingState();
        }   // the window goes before its translators

        if (!isRestartCode(code)) {
            QLocale::setDefault(localeBefore);
            return code;
        }
    }
}
