#ifndef TRANSLATION_H
#define TRANSLATION_H

#include <QLocale>
#include <QString>
#include <QStringList>

class QTranslator;

// Exit codes of the event loop that ask for the window to be built again under
// another translation. Any other code ends the program.
enum RestartCode {
    RestartInPolish = -11,
    RestartInEnglish = -12,
};

bool isRestartCode(int code);

// The translation to load, by name without suffix: at the first start (code 0)
// the one of the system locale ("vn274_pl_PL"), after a language switch
// "vn274_pl" or "vn274_en".
QString translationFileName(int restartCode, const QString &systemLocaleName);

// Where translations are looked for, in this order: the working directory (an
// empty entry: the name alone), the program's own directory, the installed
// translations' directory as seen from the program (for a staged or moved
// installation) and the directory the translations are installed to.
QStringList translationSearchPath();

// Loads the named translation from the first directory of the search path that
// has it, with QTranslator's usual fallbacks (".qm" suffix, name shortened at
// its last "_"). Returns false when none has it; the translator then stays
// empty and the texts stay in English. Writes the file it loaded, or "none", to
// the debug output.
bool loadTranslation(QTranslator &translator, const QString &fileName,
                     const QStringList &searchPath = translationSearchPath());

// Qt's own texts (file dialogs, standard buttons, the colour dialog) in the
// language of the program's loaded translation: "qtbase_" + its language from
// Qt's translations directory (Debian: qt6-translations-l10n). Nothing is
// loaded when the program's translation is empty, so its texts and Qt's stay
// in English together. Returns whether a Qt translation was loaded.
bool loadQtTranslation(QTranslator &qtTranslator, const QTranslator &programTranslation,
                       const QString &qtTranslationsDir = QString());

// The locale the program formats dates, times and sizes in (and Qt's dialogs
// with it): the system's while the program speaks the system's language, or
// speaks it for want of a translation; otherwise the translation's language
// with its usual conventions (Polish on an English system: pl_PL).
QLocale programLocale(const QTranslator &programTranslation, const QLocale &system);

#endif // TRANSLATION_H
