#include "app/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
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

bool loadQtTranslation(QTranslator &qtTranslator, const QTranslator &programTranslation,
                       const QString &qtTranslationsDir)
{
    const QString language = programTranslation.language();
    if (programTranslation.isEmpty() || language.isEmpty())
        return false;
    const QString directory = qtTranslationsDir.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath)
                                                          : qtTranslationsDir;
    const bool loaded = qtTranslator.load(QStringLiteral("qtbase_") + language, directory);
    qDebug("loadQtTranslation(qtbase_%s) %s", qPrintable(language),
           loaded ? qPrintable(qtTranslator.filePath()) : "none");
    return loaded;
}

QLocale programLocale(const QTranslator &programTranslation, const QLocale &system)
{
    if (programTranslation.isEmpty() || programTranslation.language().isEmpty())
        return system;
    const QLocale spoken(programTranslation.language());
    return spoken.language() == system.language() ? system : spoken;
}
