#include "widgets/monospacefont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

QString monospaceFamily()
{
    static const QString family = [] {
        const QString courier = QStringLiteral("Courier New");
        if (QFontDatabase::families().contains(courier, Qt::CaseInsensitive))
            return courier;
        // The system font names an alias ("monospace"); the face behind it
        // is found at once.
        const QString face = QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
        QFont::insertSubstitution(courier, face);
        return face;
    }();
    return family;
}
