#ifndef PROGRAMOVERVIEW_H
#define PROGRAMOVERVIEW_H

#include "shows/showtables.h"

#include <QList>
#include <QWidget>

// The whole of one program at a glance: its 20 steps as small tiles side by
// side, each tile the step's 12 lamp colours, lamp 1 on the left. The step the
// editor shows is outlined; the steps after the first end marker are dimmed.
// Clicking a tile asks for that step.
class ProgramOverview : public QWidget
{
    Q_OBJECT

public:
    explicit ProgramOverview(QWidget *parent = nullptr);

    // The program's records (a program's 960 bytes of the programs table) and
    // the 0-based step the editor shows.
    void setProgram(const QByteArray &programRecords, int shownStep);

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

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QRect numberRect(int step) const;

    QList<SceneRecord> steps;
    int shown = 0;
};

#endif // PROGRAMOVERVIEW_H
