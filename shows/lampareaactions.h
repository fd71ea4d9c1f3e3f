#ifndef LAMPAREAACTIONS_H
#define LAMPAREAACTIONS_H

#include <QKeySequence>
#include <QList>
#include <QObject>

class LampGroup;
class QAction;
class QGridLayout;
class QPushButton;
class QWidget;

// The editing commands of one lamp tab, each an action with its key (the owner
// connects Brighter and Darker, so that each is one step of its history):
// "Copy scene" and "Paste scene" for what the editor shows, and "Brighter",
// "Darker" and "Select none" for the selected sliders. All of them are in the
// lamp area's context menu; the last three are also buttons in the tab's
// control column, their keys in their tool tips. The keys work while the tab
// is shown.
//
// In a text field of the tab (a channel field, a spin box) Ctrl+C stays the
// field's own copy while it has selected text, and Ctrl+V the field's own paste
// while the clipboard holds no scene.
class LampAreaActions : public QObject
{
    Q_OBJECT

public:
    // lampArea: the scroll area with the tab's lamps; controlColumn: the grid
    // of the tab's controls, ending with a spacer under which nothing else lies.
    LampAreaActions(QWidget *lampArea, QGridLayout *controlColumn, LampGroup *group);

    QAction *copyAction() const { return copy; }
    QAction *pasteAction() const { return paste; }
    QAction *brighterAction() const { return brighter; }
    QAction *darkerAction() const { return darker; }
    QAction *selectNoneAction() const { return selectNone; }

    QPushButton *brighterButton() const { return brighterPush; }
    QPushButton *darkerButton() const { return darkerPush; }
    QPushButton *selectNoneButton() const { return selectNonePush; }

    // The text fields under `area`: the tab's own, and those of lamp editors
    // made after the actions.
    void watchTextFields(QWidget *area);

    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *addAction(QWidget *lampArea, const char *name, const QString &text,
                       const QList<QKeySequence> &keys);
    void addButtons(QGridLayout *controlColumn);
    QPushButton *buttonFor(QAction *action, const char *name, QWidget *parent, const QString &toolTip);
    void followClipboard();

    QAction *copy = nullptr;
    QAction *paste = nullptr;
    QAction *brighter = nullptr;
    QAction *darker = nullptr;
    QAction *selectNone = nullptr;
    QPushButton *brighterPush = nullptr;
    QPushButton *darkerPush = nullptr;
    QPushButton *selectNonePush = nullptr;
    QWidget *lampArea = nullptr;
    bool clipboardAsked = false;
};

#endif // LAMPAREAACTIONS_H
