#ifndef FILEDIALOG_H
#define FILEDIALOG_H

#include <QFileDialog>
#include <QString>

class QWidget;

// The file dialog the program asks for file names with, in the program's
// language throughout: Qt's own list shows sizes and dates in the system's
// locale, whatever language the program speaks; here they follow the default
// locale, which the program sets to its language (app/translation.h). The
// folder type names come with the program's translation, as Qt's own lacks
// them. Returns the chosen file, or an empty string when cancelled;
// selectedFilter, when given, is the filter chosen in the dialog on return.
QString askForFileName(QFileDialog::AcceptMode mode, QWidget *parent, const QString &caption,
                       const QString &dir, const QString &filter, QString *selectedFilter = nullptr);

#endif // FILEDIALOG_H
