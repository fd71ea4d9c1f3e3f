#include "app/userprompts.h"

#include "app/filedialog.h"

#include <QColorDialog>
#include <QInputDialog>

namespace {
UserPrompts defaultPrompts;
UserPrompts *installedPrompts = nullptr;
}

UserPrompts::~UserPrompts() = default;

UserPrompts &UserPrompts::current()
{
    return installedPrompts ? *installedPrompts : defaultPrompts;
}

void UserPrompts::install(UserPrompts *prompts)
{
    installedPrompts = prompts;
}

QString UserPrompts::getOpenFileName(QWidget *parent, const QString &caption,
                                     const QString &dir, const QString &filter)
{
    return askForFileName(QFileDialog::AcceptOpen, parent, caption, dir, filter);
}

QString UserPrompts::getSaveFileName(QWidget *parent, const QString &caption,
                                     const QString &dir, const QString &filter,
                                     QString *selectedFilter)
{
    return askForFileName(QFileDialog::AcceptSave, parent, caption, dir, filter, selectedFilter);
}

QString UserPrompts::getText(QWidget *parent, const QString &title, const QString &label,
                             QLineEdit::EchoMode mode, const QString &text, bool *ok)
{
    return QInputDialog::getText(parent, title, label, mode, text, ok);
}

int UserPrompts::getInt(QWidget *parent, const QString &title, const QString &label,
                        int value, int minValue, int maxValue, int step, bool *ok)
{
    return QInputDialog::getInt(parent, title, label, value, minValue, maxValue, step, ok);
}

QString UserPrompts::getItem(QWidget *parent, const QString &title, const QString &label,
                             const QStringList &items, int current, bool editable, bool *ok)
{
    return QInputDialog::getItem(parent, title, label, items, current, editable, ok);
}

QColor UserPrompts::getColor(const QColor &initial, QWidget *parent)
{
    return QColorDialog::getColor(initial, parent);
}

QMessageBox::StandardButton UserPrompts::critical(QWidget *parent, const QString &title, const QString &text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::critical(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UserPrompts::warning(QWidget *parent, const QString &title, const QString &text,
                                                 QMessageBox::StandardButtons buttons,
                                                 QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::warning(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UserPrompts::information(QWidget *parent, const QString &title, const QString &text,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::information(parent, title, text, buttons, defaultButton);
}

QMessageBox::StandardButton UserPrompts::question(QWidget *parent, const QString &title, const QString &text,
                                                  QMessageBox::StandardButtons buttons,
                                                  QMessageBox::StandardButton defaultButton)
{
    return QMessageBox::question(parent, title, text, buttons, defaultButton);
}
