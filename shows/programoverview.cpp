#include "shows/programoverview.h"

#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int TileGap = 5;        // between tiles; the outline of the shown tile lies in it
constexpr int TileHeight = 24;
constexpr int NumberHeight = 13;  // the step number under each tile
constexpr int Margin = 3;

} // namespace

ProgramOverview::ProgramOverview(QWidget *parent)
    : QWidget(parent),
      steps(Shows::StepsPerProgram, SceneRecord{})
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
}

void ProgramOverview::setProgram(const QByteArray &programRecords, int shownStep)
{
    for (int step = 0; step < Shows::StepsPerProgram; ++step) {
        const int offset = step * Shows::RecordSize;
        steps[step] = offset + Shows::RecordSize <= programRecords.size() ? Shows::recordAt(programRecords, offset)
                                                                          : SceneRecord{};
    }
    shown = qBound(0, shownStep, Shows::StepsPerProgram - 1);
    update();
}

int ProgramOverview::shownStep() const
{
    return shown;
}

QColor ProgramOverview::lampColour(int step, int lamp) const
{
    const SceneRecord &record = steps.at(step);
    return QColor(record.lampRgb[3 * lamp], record.lampRgb[3 * lamp + 1], record.lampRgb[3 * lamp + 2]);
}

int ProgramOverview::endStep() const
{
    for (int step = 0; step < steps.size(); ++step) {
        if (steps.at(step).endMarker != 0)
            return step;
    }
    return -1;
}

bool ProgramOverview::isDimmed(int step) const
{
    const int end = endStep();
    return end >= 0 && step > end;
}

QRect ProgramOverview::tileRect(int step) const
{
    // The width is shared out so that the tiles fill the strip exactly.
    const int count = Shows::StepsPerProgram;
    const int usable = width() - 2 * Margin - (count - 1) * TileGap;
    const int left = Margin + step * TileGap + usable * step / count;
    const int right = Margin + step * TileGap + usable * (step + 1) / count;
    return QRect(left, Margin, right - left, TileHeight);
}

QRect ProgramOverview::numberRect(int step) const
{
    const QRect tile = tileRect(step);
    return QRect(tile.left() - TileGap / 2, tile.bottom() + 2, tile.width() + TileGap, NumberHeight);
}

int ProgramOverview::stepAt(const QPoint &position) const
{
    for (int step = 0; step < Shows::StepsPerProgram; ++step) {
        // The number under a tile and half the gaps around it count as the tile.
        const QRect tile = tileRect(step);
        const QRect area(tile.left() - TileGap / 2, 0, tile.width() + TileGap, height());
        if (area.contains(position))
            return step;
    }
    return -1;
}

QSize ProgramOverview::sizeHint() const
{
    const int height = 2 * Margin + TileHeight + 2 + NumberHeight;
    return QSize(Shows::StepsPerProgram * (48 + TileGap), height);
}

QSize ProgramOverview::minimumSizeHint() const
{
    // Room for one pixel per lamp in every tile.
    return QSize(2 * Margin + Shows::StepsPerProgram * (Shows::LampsPerScene + TileGap), sizeHint().height());
}

bool ProgramOverview::event(QEvent *event)
{
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const int step = stepAt(help->pos());
        if (step < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        QString text = tr("Step %1").arg(step + 1);
        if (step == endStep())
            text = tr("Step %1: end marker").arg(step + 1);
        else if (isDimmed(step))
            text = tr("Step %1: after the end marker").arg(step + 1);
        QToolTip::showText(help->globalPos(), text, this, tileRect(step));
        return true;
    }
    return QWidget::event(event);
}

void ProgramOverview::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const QColor background = palette().color(QPalette::Window);
    QFont numberFont = font();
    numberFont.setPointSizeF(qMax(6.0, numberFont.pointSizeF() - 2));
    painter.setFont(numberFont);

    for (int step = 0; step < Shows::StepsPerProgram; ++step) {
        const QRect tile = tileRect(step);

        // Lamp slices, the width shared out like the tiles'.
        for (int lamp = 0; lamp < Shows::LampsPerScene; ++lamp) {
            const int left = tile.left() + tile.width() * lamp / Shows::LampsPerScene;
            const int right = tile.left() + tile.width() * (lamp + 1) / Shows::LampsPerScene;
            painter.fillRect(QRect(left, tile.top(), right - left, tile.height()), lampColour(step, lamp));
        }
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(tile.adjusted(0, 0, -1, -1));

        if (isDimmed(step)) {
            QColor veil = background;
            veil.setAlpha(190);
            painter.fillRect(tile, veil);
        }

        QColor numberColour = palette().color(isDimmed(step) ? QPalette::Disabled : QPalette::Active,
                                              QPalette::WindowText);
        if (step == shown)
            numberColour = palette().color(QPalette::Highlight);
        painter.setPen(numberColour);
        painter.drawText(numberRect(step), Qt::AlignCenter, QString::number(step + 1));
    }

    // The shown step: a frame in the highlight colour in the gap around its
    // tile, visible on black lamps and on the window's grey alike.
    const QRect tile = tileRect(shown);
    painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(tile).adjusted(-2, -2, 2, 2));
}

void ProgramOverview::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const int step = stepAt(event->position().toPoint());
    if (step >= 0)
        emit stepClicked(step);
}
