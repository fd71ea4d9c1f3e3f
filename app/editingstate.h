#ifndef EDITINGSTATE_H
#define EDITINGSTATE_H

#include <QByteArray>
#include <QList>

#include <memory>

class EditedTable;

// What the user was working on, handed from a main window to the one built in
// its place after a language switch, so that the switch loses nothing.
struct EditingState
{
    // The tables, and what
    // each table last was in step with (file or driver), so pending changes
    // stay pending.
    QByteArray programs;
    QByteArray scenes;
    QByteArray programsInStep;
    QByteArray scenesInStep;
    // The tables themselves with their undo histories (the bytes above are
    // for those who only look).
    std::shared_ptr<EditedTable> programEdits;
    std::shared_ptr<EditedTable> sceneEdits;

    // The records shown, 0-based.
    int program = 0;
    int step = 0;
    int scene = 0;

    // The selected sliders of each tab: red, green, blue of lamp 0, then lamp 1...
    QList<bool> programSliders;
    QList<bool> sceneSliders;

    int currentTab = 0;
    QByteArray geometry;   // QWidget::saveGeometry

    // The driver chosen in the Driver menu; empty for none.
    QByteArray driver;
};

#endif // EDITINGSTATE_H
