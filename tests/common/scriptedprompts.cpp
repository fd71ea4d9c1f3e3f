#include "common/scriptedprompts.h"

ScriptedPrompts::ScriptedPrompts()
{
    UserPrompts::install(this);
}

ScriptedPrompts::~ScriptedPrompts()
{
    if (&UserPrompts::current() == this)
        UserPrompts::install(nullptr);
}

ScriptedPrompts &ScriptedPrompts::answer(const QVariant &value)
{
    answers.enqueue(value);
    return *this;
}

ScriptedPrompts &ScriptedPrompts::cancel()
{
    answers.enqueue(QVariant());
    return *this;
}

QStringList ScriptedPrompts::boxes() const
{
    QStringList lines;
    for (const AskedPrompt &p : asked) {
        if (p.kind == "critical" || p.kind == "warning" || p.kind == "information" || p.kind == "question")
            lines << p.kind + "|" + p.title + "|" + p.label;
    }
    return lines;
}

bool ScriptedPrompts::takeAnswer(const QString &kind, QVariant *value)
{
    if (answers.isEmpty()) {
        unexpected << kind + ": " + asked.last().title;
        *value = QVariant();
        return false;
    }
    *value = answers.dequeue();
    return value->isValid();
}

QString ScriptedPrompts::getOpenFileName(QWidget *parent, const QString &caption,
                                         const QString &dir, const QString &filter)
{
    AskedPrompt p;
    p.kind = "open"; p.parent = parent; p.title = caption; p.text = dir; p.filter = filter;
    asked << p;
    QVariant v;
    return takeAnswer(p.kind, &v) ? v.toString() : QString();
}

QString ScriptedPrompts::getSaveFileName(QWidget *parent, const QString &caption,
                                         const QString &dir, const QString &filter,
                                         QString *selectedFilter)
{
    AskedPrompt p;
    p.kind = "save"; p.parent = parent; p.title = caption; p.text = dir; p.filter = filter;
    asked << p;
    QVariant v;
    if (!takeAnswer(p.kind, &v))
        return QString();
    const QStringList answer = v.toStringList();
    if (selectedFilter)
        *selectedFilter = answer.value(1, filter.section(";;", 0, 0));
    return answer.value(0);
}

QString ScriptedPrompts::getText(QWidget *parent, const QString &title, const QString &label,
                                 QLineEdit::EchoMode mode, const QString &text, bool *ok)
{
    AskedPrompt p;
    p.kind = "text"; p.parent = parent; p.title = title; p.label = label; p.echoMode = mode; p.text = text;
    asked << p;
    QVariant v;
    const bool answered = takeAnswer(p.kind, &v);
    if (ok)
        *ok = answered;
    return answered ? v.toString() : QString();
}

int ScriptedPrompts::getInt(QWidget *parent, const QString &title, const QString &label,
                            int value, int minValue, int maxValue, int step, bool *ok)
{
    AskedPrompt p;
    p.kind = "int"; p.parent = parent; p.title = title; p.label = label;
    p.value = value; p.minValue = minValue; p.maxValue = maxValue; p.step = step;
    asked << p;
    QVariant v;
    const bool answered = takeAnswer(p.kind, &v);
    if (ok)
        *ok = answered;
    // QInputDialog returns the preset value when cancelled.
    return answered ? v.toInt() : value;
}

QString ScriptedPrompts::getItem(QWidget *parent, const QString &title, const QString &label,
                                 const QStringList &items, int current, bool editable, bool *ok)
{
    AskedPrompt p;
    p.kind = "item"; p.parent = parent; p.title = title; p.label = label;
    p.items = items; p.current = current; p.editable = editable;
    asked << p;
    QVariant v;
    const bool answered = takeAnswer(p.kind, &v);
    if (ok)
        *ok = answered;
    // QInputDialog returns the preselected entry when cancelled.
    if (answered)
        return v.toString();
    return (current >= 0 && current < items.size()) ? items.at(current) : QString();
}

QColor ScriptedPrompts::getColor(const QColor &initial, QWidget *parent)
{
    AskedPrompt p;
    p.kind = "color"; p.parent = parent; p.color = initial;
    asked << p;
    QVariant v;
    return takeAnswer(p.kind, &v) ? v.value<QColor>() : QColor();
}

QMessageBox::StandardButton ScriptedPrompts::box(const QString &kind, QWidget *parent, const QString &title,
                                                 const QString &text, QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    AskedPrompt p;
    p.kind = kind; p.parent = parent; p.title = title; p.label = text;
    p.buttons = buttons; p.defaultButton = defaultButton;
    asked << p;
    return QMessageBox::Ok;
}

QMessageBox::StandardButton ScriptedPrompts::critical(QWidget *parent, const QString &title, const QString &text,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    return box("critical", parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton ScriptedPrompts::warning(QWidget *parent, const QString &title, const QString &text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    return box("warning", parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton ScriptedPrompts::information(QWidget *parent, const QString &title, const QString &text,
                                                         QMessageBox::StandardButtons buttons,
                                                         QMessageBox::StandardButton defaultButton)
{
    return box("information", parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton ScriptedPrompts::question(QWidget *parent, const QString &title, const QString &text,
                                                      QMessageBox::StandardButtons buttons,
                                                      QMessageBox::StandardButton defaultButton)
{
    box("question", parent, title, text, buttons, defaultButton);
    QVariant v;
    if (!takeAnswer("question", &v))
        return QMessageBox::No;
    return QMessageBox::StandardButton(v.toInt());
}
