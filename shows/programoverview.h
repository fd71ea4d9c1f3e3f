#ifndef PROGRAMOVERVIEW_H
#define PROGRAMOVERVIEW_H

#include "shows/showtables.h"

#include <QList>

class QMimeData;
#include <QWidget>

// A row of records at a glance: a program's 20 steps or the 8 scenes, as
// small tiles side by side, each tile the record's 12 lamp colours, lamp 1 on
// the left. The record the editor shows is outlined; in a program the steps
// after the first end marker are dimmed.
//
// Clicking a tile asks for that record; Left and Right (the strip takes the
// focus) ask for the neighbours. Dragging a tile onto another asks to move it
// there, with Ctrl held to copy it. The context menu (right button or the menu
// key) shows the tile's record first and then offers the strip's actions,
// which the owner adds with addAction and which act on the shown record.
class ProgramOverview : public QWidget
{
    Q_OBJECT

public:
    // tileCount records; endMarkers: whether the records' end markers count
    // (a program's steps) or not (stand-alone scenes).
    explicit ProgramOverview(int tileCount = Shows::StepsPerProgram, bool endMarkers = true,
                             QWidget *parent = nullptr);

    // The records (tileCount x 48 bytes) and the 0-based one the editor shows.
    void setRecords(const QByteArray &records, int shownStep);
    int tileCount() const { return int(steps.size()); }

    // What a drag of the step carries; a drop takes only what this strip gave.
    QMimeData *dragData(int step) const;
    int draggedStep(const QMimeData *mime) const;

    int shownStep() const;
    QColor lampColour(int step, int lamp) const;
    // The first step with an end marker, or -1 when none has one.
    int endStep() const;
    bool isDimmed(int step) const;
    QRect tileRect(int step) const;
    // The step whose tile is at the position, or -1.
    int stepAt(const QPoint &position) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void stepClicked(int step);
    // A tile dropped on another: move it there, or copy it when copy is set.
    void stepDropped(int from, int to, bool copy);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QRect numberRect(int step) const;
    void showMenuAt(const QPoint &globalPosition);
    bool acceptDrag(QDropEvent *event);

    QList<SceneRecord> steps;
    int shown = 0;
    bool endMarkers = true;
    int pressedStep = -1;
    QPoint pressPosition;
    int dropTarget = -1;   // the tile under a drag, outlined while it lasts
};

#endif // PROGRAMOVERVIEW_H
