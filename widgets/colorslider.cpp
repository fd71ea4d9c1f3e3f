#include "widgets/colorslider.h"

#include <QApplication>
#include <QDebug>
#include <QDragEnterEvent>
#include <QEvent>
#include <QMouseEvent>

namespace {
// Every percentage step moves the value by at least this much, so a slider at
// 0 still brightens and a step of 0 % still dims.
const int minimumPercentStep = 5;
}

ColorSlider::ColorSlider(Qt::Orientation orientation, QWidget *parent)
    : QSlider(orientation, parent)
{
    setMaximum(255);
    setMinimum(0);
    setValue(0);
    setSelected(false);
    setAcceptDrops(false);
}

ColorSlider::ColorSlider(QWidget *parent)
    : ColorSlider(Qt::Vertical, parent)
{
}

bool ColorSlider::isSelected() const
{
    return selected;
}

void ColorSlider::setSelected(bool state)
{
    selected = state;
    update();
}

void ColorSlider::setValue(int value)
{
    QAbstractSlider::setValue(value);
    update();
}

void ColorSlider::setValueIfSelected(int value)
{
    if (selected)
        QAbstractSlider::setValue(value);
}

void ColorSlider::plus()
{
    QAbstractSlider::setValue(value() + 1);
}

void ColorSlider::minus()
{
    QAbstractSlider::setValue(value() - 1);
}

void ColorSlider::changePercentifSelected(int percent)
{
    if (!selected)
        return;
    const int v = value();
    const int d = (percent * v) / 100;
    int n = percent > 0 ? v + d + minimumPercentStep : v + d - minimumPercentStep;
    if (n > 255)
        n = 255;
    if (n < 0)
        n = 0;
    setValue(n);
}

bool ColorSlider::event(QEvent *e)
{
    if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave) {
        // Sweeping the pointer over sliders with Shift selects them, with
        // Shift+Ctrl deselects them.
        const Qt::KeyboardModifiers keys = QApplication::keyboardModifiers();
        const bool shift = keys & Qt::ShiftModifier;
        const bool ctrl = keys & Qt::ControlModifier;
        if (shift && !ctrl)
            setSelected(true);
        else if (shift && ctrl)
            setSelected(false);
        update();
        return true;
    }
    // The slider classes' own handlers are skipped on purpose; the plain
    // widget dispatch still reaches the slider's mouse, key and paint handlers.
    QWidget::event(e);
    return true;
}

void ColorSlider::mousePressEvent(QMouseEvent *e)
{
    if (e->modifiers() & Qt::ControlModifier) {
        setSelected(!selected);
    } else if (e->button() == Qt::LeftButton && (e->modifiers() & Qt::ShiftModifier)) {
        setSelected(!selected);
        dragStartPosition = e->position().toPoint();
        qDebug() << "mouse start" << dragStartPosition;
    } else {
        QSlider::mousePressEvent(e);
    }
    update();
}

void ColorSlider::mouseMoveEvent(QMouseEvent *e)
{
    const QPoint pointer = e->position().toPoint();
    if (e->modifiers() & Qt::ShiftModifier) {
        setSelected(true);
        // In a lamp editor the slider sits in the form's layout widget inside
        // the group box, so the editor is three parents up. A slider placed
        // anywhere else has no such ancestor; name none then.
        QWidget *lamp = parentWidget();
        for (int up = 1; lamp && up < 3; ++up)
            lamp = lamp->parentWidget();
        if (lamp)
            qDebug() << objectName() << lamp->objectName() << lamp->pos() << e->modifiers() << pointer;
        else
            qDebug() << objectName() << "(not in a lamp editor)" << e->modifiers() << pointer;
        return;
    }
    qDebug() << dragStartPosition << pointer;
    QSlider::mouseMoveEvent(e);
}

void ColorSlider::dragEnterEvent(QDragEnterEvent *e)
{
    Q_UNUSED(e);
    qDebug("dragenterevent");
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(this, &leave);
}
