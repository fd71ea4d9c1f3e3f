#ifndef SCRIPTEDPROMPTS_H
#define SCRIPTEDPROMPTS_H

#include "app/userprompts.h"

#include <QList>
#include <QQueue>
#include <QVariant>

// One question or message box as the program put it.
struct AskedPrompt
{
    QString kind;        // "open", "save", "text", "int", "item", "color",
                         // "critical", "warning", "information", "question"
    QWidget *parent = nullptr;
    QString title;       // caption of file dialogs, title of the others
    QString label;       // label of input dialogs, text of message boxes
    QString text;        // preset text of getText; start directory of file dialogs
    QString filter;      // file dialogs
    QStringList items;   // getItem
    int value = 0, minValue = 0, maxValue = 0, step = 0;  // getInt
    int current = 0;     // getItem
    bool editable = false;
    QLineEdit::EchoMode echoMode = QLineEdit::Normal;
    QColor color;        // getColor
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Answers the program's questions from a script and records every one of them.
// Install it for the life of a test:  ScriptedPrompts prompts; (it installs
// itself and uninstalls in its destructor).
//
// Answers are taken in order:
//  - file dialogs and getText/getItem: a QString; QVariant() means Cancel;
//    a save dialog also takes {name, filter}, the filter chosen (else the first);
//  - getInt: an int; QVariant() means Cancel;
//  - getColor: a QColor; QVariant() gives an invalid colour (Cancel);
//  - question: a QMessageBox::StandardButton as int; with no answer queued, No.
// critical, warning and information take no answer and return Ok.
// A question asked with no answer queued counts as cancelled and is recorded
// in unexpected.
class ScriptedPrompts : public UserPrompts
{
public:
    ScriptedPrompts();
    ~ScriptedPrompts() override;

    ScriptedPrompts &answer(const QVariant &value);
    ScriptedPrompts &cancel();

    QList<AskedPrompt> asked;
    QStringList unexpected;
    QQueue<QVariant> answers;

    // The message boxes only, as "kind|title|text" lines, in order.
    QStringList boxes() const;

    QString getOpenFileName(QWidget *parent, const QString &caption,
                            const QString &dir, const QString &filter) override;
    QString getSaveFileName(QWidget *parent, const QString &caption,
                            const QString &dir, const QString &filter,
                            QString *selectedFilter = nullptr) override;
    QString getText(QWidget *parent, const QString &title, const QString &label,
                    QLineEdit::EchoMode mode, const QString &text, bool *ok) override;
    int getInt(QWidget *parent, const QString &title, const QString &label,
               int value, int minValue, int maxValue, int step, bool *ok) override;
    QString getItem(QWidget *parent, const QString &title, const QString &label,
                    const QStringList &items, int current, bool editable, bool *ok) override;
    QColor getColor(const QColor &initial, QWidget *parent) override;
    QMessageBox::StandardButton critical(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;
    QMessageBox::StandardButton warning(QWidget *parent, const QString &title, const QString &text,
                                        QMessageBox::StandardButtons buttons,
                                        QMessageBox::StandardButton defaultButton) override;
    QMessageBox::StandardButton information(QWidget *parent, const QString &title, const QString &text,
                                            QMessageBox::StandardButtons buttons,
                                            QMessageBox::StandardButton defaultButton) override;
    QMessageBox::StandardButton question(QWidget *parent, const QString &title, const QString &text,
                                         QMessageBox::StandardButtons buttons,
                                         QMessageBox::StandardButton defaultButton) override;

private:
    bool takeAnswer(const QString &kind, QVariant *value);
    QMessageBox::StandardButton box(const QString &kind, QWidget *parent, const QString &title,
                                    const QString &text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton defaultButton);
};

#endif // SCRIPTEDPROMPTS_H
