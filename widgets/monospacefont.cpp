#include "widgets/monospacefont.h"

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>
#include <QTextDocument>
#include <QTextEdit>

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

void useMonospaceFromFirstText(QTextEdit *field)
{
    // The document reports a change before laying it out, so the first text
    // is laid out in the new face at once; a clear of the empty field counts
    // as its first change too, which does no harm.
    QObject::connect(
        field->document(), &QTextDocument::contentsChange, field,
        [field] {
            monospaceFamily();
            QFont font = field->font();
            font.setFamily(QStringLiteral("Courier New"));
            field->setFont(font);
        },
        Qt::SingleShotConnection);
}
