#include "widgets/monospacefont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

namespace {

// The family itself where installed, else the face of the system font of that
// kind, which the name then stands for. The system fonts name aliases
// ("monospace"); the faces behind them are found at once.
QString standIn(const QStringList &installed, const QString &family, QFontDatabase::SystemFont kind)
{
    if (installed.contains(family, Qt::CaseInsensitive))
        return family;
    const QString face = QFontInfo(QFontDatabase::systemFont(kind)).family();
    QFont::insertSubstitution(family, face);
    return face;
}

} // namespace

QString monospaceFamily()
{
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        standIn(installed, QStringLiteral("MS Shell Dlg"), QFontDatabase::GeneralFont);
        return standIn(installed, QStringLiteral("Courier New"), QFontDatabase::FixedFont);
    }();
    return family;
}
