#include "shows/programoverview.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QHelpEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace {

constexpr int TileGap = 5;        // between tiles; the outline of the shown tile lies in it
constexpr int TileHeight = 24;
constexpr int NumberHeight = 13;  // the step number under each tile
constexpr int Margin = 3;
constexpr int TileFrame = 1;      // the grey frame of each tile, inside its rectangle

const char StepMimeType[] = "application/x-vn274-step";

} // namespace

ProgramOverview::ProgramOverview(int tileCount, bool endMarkers, QWidget *parent)
    : QWidget(parent),
      steps(tileCount, SceneRecord{}),
      endMarkers(endMarkers)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setAcceptDrops(true);
}

void ProgramOverview::setRecords(const QByteArray &records, int shownStep)
{
    for (int step = 0; step < tileCount(); ++step) {
        const int offset = step * Shows::RecordSize;
        steps[step] = offset + Shows::RecordSize <= records.size() ? Shows::recordAt(records, offset)
                                                                   : SceneRecord{};
    }
    shown = qBound(0, shownStep, tileCount() - 1);
    update();
}

// The strip itself (its address, only compared) and the process say whose drag
// it is: a tile of the Programs strip means nothing to the Scenes strip or to
// another window.
QMimeData *ProgramOverview::dragData(int step) const
{
    auto *mime = new QMimeData;
    mime->setData(QLatin1String(StepMimeType), QStringLiteral("%1 %2 %3")
                                                   .arg(quintptr(this))
                                                   .arg(QCoreApplication::applicationPid())
                                                   .arg(step)
                                                   .toUtf8());
    return mime;
}

int ProgramOverview::draggedStep(const QMimeData *mime) const
{
    if (!mime || !mime->hasFormat(QLatin1String(StepMimeType)))
        return -1;
    const QStringList parts = QString::fromUtf8(mime->data(QLatin1String(StepMimeType))).split(QLatin1Char(' '));
    bool ok = false;
    const int step = parts.value(2).toInt(&ok);
    if (parts.size() != 3 || parts.at(0) != QString::number(quintptr(this))
        || parts.at(1) != QString::number(QCoreApplication::applicationPid()) || !ok || step < 0
        || step >= tileCount())
        return -1;
    return step;
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
    if (!endMarkers)
        return -1;
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
    const int count = tileCount();
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
    for (int step = 0; step < tileCount(); ++step) {
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
    return QSize(tileCount() * (48 + TileGap), height);
}

QSize ProgramOverview::minimumSizeHint() const
{
    // Room for one pixel per lamp inside the frame of every tile.
    const int narrowestTile = Shows::LampsPerScene + 2 * TileFrame;
    return QSize(2 * Margin + tileCount() * narrowestTile + (tileCount() - 1) * TileGap, sizeHint().height());
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
        QString text = endMarkers ? tr("Step %1").arg(step + 1) : tr("Scene %1").arg(step + 1);
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

    for (int step = 0; step < tileCount(); ++step) {
        const QRect tile = tileRect(step);

        // The frame on the tile's edge, the lamp slices inside it, their width
        // shared out like the tiles': the frame covers no lamp.
        painter.setPen(QColor(96, 96, 96));
        painter.drawRect(tile.adjusted(0, 0, -1, -1));
        const QRect inside = tile.adjusted(TileFrame, TileFrame, -TileFrame, -TileFrame);
        for (int lamp = 0; lamp < Shows::LampsPerScene; ++lamp) {
            const int left = inside.left() + inside.width() * lamp / Shows::LampsPerScene;
            const int right = inside.left() + inside.width() * (lamp + 1) / Shows::LampsPerScene;
            painter.fillRect(QRect(left, inside.top(), right - left, inside.height()), lampColour(step, lamp));
        }

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

    // Where a dragged tile would land.
    if (dropTarget >= 0) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2, Qt::DashLine));
        painter.drawRect(QRectF(tileRect(dropTarget)).adjusted(-2, -2, 2, 2));
    }
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
        painter.drawRect(numberRect(shown).adjusted(1, 0, -2, -1));
    }
}

void ProgramOverview::mousePressEvent(QMouseEvent *event)
{
    pressedStep = -1;
    if (event->button() != Qt::LeftButton)
        return;
    const int step = stepAt(event->position().toPoint());
    if (step >= 0) {
        pressedStep = step;
        pressPosition = event->position().toPoint();
        emit stepClicked(step);
    }
}

void ProgramOverview::mouseMoveEvent(QMouseEvent *event)
{
    if (pressedStep < 0 || !(event->buttons() & Qt::LeftButton)
        || (event->position().toPoint() - pressPosition).manhattanLength() < QApplication::startDragDistance())
        return;
    auto *drag = new QDrag(this);
    drag->setMimeData(dragData(pressedStep));
    pressedStep = -1;
    drag->exec(Qt::MoveAction | Qt::CopyAction, Qt::MoveAction);
}

void ProgramOverview::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        if (shown > 0)
            emit stepClicked(shown - 1);
        break;
    case Qt::Key_Right:
        if (shown < tileCount() - 1)
            emit stepClicked(shown + 1);
        break;
    case Qt::Key_Menu:
        showMenuAt(mapToGlobal(tileRect(shown).center()));
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

// The menu's actions act on the shown record, so the tile clicked is shown first.
void ProgramOverview::contextMenuEvent(QContextMenuEvent *event)
{
    if (event->reason() == QContextMenuEvent::Mouse) {
        const int step = stepAt(event->pos());
        if (step < 0)
            return;
        emit stepClicked(step);
        showMenuAt(event->globalPos());
    } else {
        showMenuAt(mapToGlobal(tileRect(shown).center()));
    }
}

void ProgramOverview::showMenuAt(const QPoint &globalPosition)
{
    if (!actions().isEmpty())
        QMenu::exec(actions(), globalPosition, nullptr, this);
}

// Ctrl copies, as in file managers; the drop action tells the drag's source.
bool ProgramOverview::acceptDrag(QDropEvent *event)
{
    const int to = stepAt(event->position().toPoint());
    if (draggedStep(event->mimeData()) < 0 || to < 0) {
        event->ignore();
        dropTarget = -1;
        update();
        return false;
    }
    event->setDropAction(event->modifiers() & Qt::ControlModifier ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    if (dropTarget != to) {
        dropTarget = to;
        update();
    }
    return true;
}

void ProgramOverview::dragEnterEvent(QDragEnterEvent *event)
{
    // Entering between two tiles still takes the drag, so moves over the gaps go on.
    if (draggedStep(event->mimeData()) >= 0) {
        event->acceptProposedAction();
        acceptDrag(event);
        event->accept();
    }
}

void ProgramOverview::dragMoveEvent(QDragMoveEvent *event)
{
    acceptDrag(event);
}

void ProgramOverview::dragLeaveEvent(QDragLeaveEvent *)
{
    dropTarget = -1;
    update();
}

void ProgramOverview::dropEvent(QDropEvent *event)
{
    const int from = draggedStep(event->mimeData());
    if (!acceptDrag(event))
        return;
    const int to = dropTarget;
    dropTarget = -1;
    update();
    const bool copy = event->dropAction() == Qt::CopyAction;
    if (copy || from != to)
        emit stepDropped(from, to, copy);
}
