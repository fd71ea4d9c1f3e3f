#include "shows/lampareaactions.h"

#include "shows/sceneclipboard.h"
#include "widgets/lampgroup.h"

#include <QAbstractSpinBox>
#include <QAction>
#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

namespace {

QString keyText(const QAction *action)
{
    return action->shortcut().toString(QKeySequence::NativeText);
}

bool hasSelectedText(QObject *field)
{
    if (auto *box = qobject_cast<QAbstractSpinBox *>(field))
        field = box->findChild<QLineEdit *>();
    auto *edit = qobject_cast<QLineEdit *>(field);
    return edit && edit->hasSelectedText();
}

} // namespace

LampAreaActions::LampAreaActions(QWidget *lampArea, QGridLayout *controlColumn, LampGroup *group)
    : QObject(lampArea),
      lampArea(lampArea)
{
    copy = addAction(lampArea, "actionCopyScene", tr("Copy scene"), QKeySequence::keyBindings(QKeySequence::Copy));
    paste = addAction(lampArea, "actionPasteScene", tr("Paste scene"), QKeySequence::keyBindings(QKeySequence::Paste));
    auto *separator = new QAction(lampArea);
    separator->setSeparator(true);
    lampArea->addAction(separator);
    brighter = addAction(lampArea, "actionBrighter", tr("Brighter"), { QKeySequence(Qt::CTRL | Qt::Key_Up) });
    darker = addAction(lampArea, "actionDarker", tr("Darker"), { QKeySequence(Qt::CTRL | Qt::Key_Down) });
    selectNone = addAction(lampArea, "actionSelectNone", tr("Select none"), { QKeySequence(Qt::Key_Escape) });
    lampArea->setContextMenuPolicy(Qt::ActionsContextMenu);

    connect(selectNone, &QAction::triggered, group, &LampGroup::selectNone);

    addButtons(controlColumn);
    watchTextFields(controlColumn->parentWidget());

    // Asking the clipboard what it holds is a round trip to the display
    // server, so it is first asked when the lamp area is shown, not while the
    // window is being built; Paste is taken nowhere else.
    connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this, &LampAreaActions::followClipboard);
    lampArea->installEventFilter(this);
}

// The action's widget is the lamp area, which is shown only with its tab, so
// the same keys on the other tab do not clash.
QAction *LampAreaActions::addAction(QWidget *lampArea, const char *name, const QString &text,
                                    const QList<QKeySequence> &keys)
{
    auto *action = new QAction(text, lampArea);
    action->setObjectName(QLatin1String(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    lampArea->addAction(action);
    return action;
}

void LampAreaActions::addButtons(QGridLayout *controlColumn)
{
    QWidget *tab = controlColumn->parentWidget();
    const QString howToSelect = tr("Select sliders with Ctrl+click, or sweep over them with Shift held.");
    brighterPush = buttonFor(brighter, "pushButtonBrighter", tab, tr("Raise every selected slider by 10 % (%1).").arg(keyText(brighter))
                                                + QLatin1Char('\n') + howToSelect);
    darkerPush = buttonFor(darker, "pushButtonDarker", tab, tr("Lower every selected slider by 10 % (%1).").arg(keyText(darker))
                                            + QLatin1Char('\n') + howToSelect);
    selectNonePush = buttonFor(selectNone, "pushButtonSelectNone", tab, tr("Clear the selection of sliders on this tab (%1).")
                                                    .arg(keyText(selectNone)));

    // The new rows go where the closing spacer was; the spacer moves under them.
    int spacerRow = controlColumn->rowCount();
    QLayoutItem *spacer = nullptr;
    for (int i = 0; i < controlColumn->count(); ++i) {
        if (controlColumn->itemAt(i)->spacerItem()) {
            int column, rowSpan, columnSpan;
            controlColumn->getItemPosition(i, &spacerRow, &column, &rowSpan, &columnSpan);
            spacer = controlColumn->takeAt(i);
            break;
        }
    }
    // Tab comes to them right after the column's last button.
    QWidget *before = nullptr;
    for (int i = 0; i < controlColumn->count(); ++i) {
        QWidget *widget = controlColumn->itemAt(i)->widget();
        if (widget && (widget->focusPolicy() & Qt::TabFocus))
            before = widget;
    }
    controlColumn->addWidget(brighterPush, spacerRow, 0);
    controlColumn->addWidget(darkerPush, spacerRow, 1);
    controlColumn->addWidget(selectNonePush, spacerRow + 1, 0, 1, 2);
    if (spacer)
        controlColumn->addItem(spacer, spacerRow + 2, 0, 1, 2);
    if (before)
        QWidget::setTabOrder(before, brighterPush);
    QWidget::setTabOrder(brighterPush, darkerPush);
    QWidget::setTabOrder(darkerPush, selectNonePush);
}

QPushButton *LampAreaActions::buttonFor(QAction *action, const char *name, QWidget *parent,
                                        const QString &toolTip)
{
    auto *button = new QPushButton(action->text(), parent);
    button->setObjectName(QLatin1String(name));
    button->setStyle(parent->style());
    button->setToolTip(toolTip);
    // Reached with Tab like the tab's other buttons; a click leaves the focus
    // where the user was typing.
    button->setFocusPolicy(Qt::TabFocus);
    connect(button, &QPushButton::clicked, action, &QAction::trigger);
    return button;
}

// A spin box is watched as well as its line edit, because it hands shortcut
// checks to that line edit directly.
void LampAreaActions::watchTextFields(QWidget *area)
{
    for (QLineEdit *field : area->findChildren<QLineEdit *>())
        field->installEventFilter(this);
    for (QAbstractSpinBox *box : area->findChildren<QAbstractSpinBox *>())
        box->installEventFilter(this);
}

bool LampAreaActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == lampArea) {
        if (event->type() == QEvent::Show && !clipboardAsked)
            followClipboard();
        return QObject::eventFilter(watched, event);
    }
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        const bool toCopy = key->matches(QKeySequence::Copy) && !hasSelectedText(watched);
        const bool toPaste = key->matches(QKeySequence::Paste) && paste->isEnabled();
        if (toCopy || toPaste) {
            // Not taken by the field: the key goes on to this tab's action.
            key->ignore();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void LampAreaActions::followClipboard()
{
    clipboardAsked = true;
    paste->setEnabled(Shows::clipboardHoldsScene());
}
