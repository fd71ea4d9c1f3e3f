#ifndef USERPROMPTS_H
#define USERPROMPTS_H

#include <QColor>
#include <QLineEdit>
#include <QMessageBox>
#include <QString>
#include <QStringList>

class QWidget;

// Every question the program puts to the user (file names, texts, numbers,
// choices, colours) and every message box goes through this one interface.
// The default implementation calls Qt's dialogs with exactly the arguments it
// is given (the file dialogs through askForFileName, app/filedialog.h); tests
// install a scripted one and check what was asked.
class UserPrompts
{
public:
    virtual ~UserPrompts();

    // The prompts in use; the default one unless another was installed.
    static UserPrompts &current();
    // Installs prompts (not owned); a null pointer restores the default.
    static void install(UserPrompts *prompts);

    virtual QString getOpenFileName(QWidget *parent, const QString &caption,
                                    const QString &dir, const QString &filter);
    // selectedFilter, when given, is the filter chosen in the dialog on return.
    virtual QString getSaveFileName(QWidget *parent, const QString &caption,
                                    const QString &dir, const QString &filter,
                                    QString *selectedFilter = nullptr);
    virtual QString getText(QWidget *parent, const QString &title, const QString &label,
                            QLineEdit::EchoMode mode, const QString &text, bool *ok);
    virtual int getInt(QWidget *parent, const QString &title, const QString &label,
                       int value, int minValue, int maxValue, int step, bool *ok);
    virtual QString getItem(QWidget *parent, const QString &title, const QString &label,
                            const QStringList &items, int current, bool editable, bool *ok);
    virtual QColor getColor(const QColor &initial, QWidget *parent);

    virtual QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                                 QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    virtual QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                                QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    virtual QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                                    QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                                    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
    virtual QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                                 QMessageBox::StandardButtons buttons = QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No),
                                                 QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
};

#endif // USERPROMPTS_H
