#include "app/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QTranslator>

bool isRestartCode(int code)
{
    return code == RestartInPolish || code == RestartInEnglish;
}

QString translationFileName(int restartCode, const QString &systemLocaleName)
{
    switch (restartCode) {
    case RestartInPolish:
        return QStringLiteral("vn274_pl");
    case RestartInEnglish:
        return QStringLiteral("vn274_en");
    default:
        return QStringLiteral("vn274_") + systemLocaleName;
    }
}

QStringList translationSearchPath()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    return { QString(), programDir,
             QDir::cleanPath(programDir + QLatin1Char('/') + QStringLiteral(VN274_TRANSLATIONS_FROM_PROGRAM)),
             QStringLiteral(VN274_TRANSLATIONS_INSTALL_DIR) };
}

bool loadTranslation(QTranslator &translator, const QString &fileName, const QStringList &searchPath)
{
    for (const QString &directory : searchPath) {
        if (translator.load(fileName, directory)) {
            qDebug("loadTranslation(%s) %s", qPrintable(fileName), qPrintable(translator.filePath()));
            return true;
        }
    }
    qDebug("loadTranslation(%s) none", qPrintable(fileName));
    return false;
}
