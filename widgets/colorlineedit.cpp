#include "widgets/colorlineedit.h"

#include "app/userprompts.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

ColorLineEdit::ColorLineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    setAcceptDrops(true);
}

QColor ColorLineEdit::baseColor() const
{
    return palette().brush(QPalette::Current, QPalette::Base).color();
}

void ColorLineEdit::setBaseColor(const QColor &colour)
{
    QPalette p = palette();
    p.setBrush(QPalette::Base, QBrush(colour, Qt::SolidPattern));
    setPalette(p);
}

bool ColorLineEdit::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonDblClick) {
        qDebug() << "double click swallowed on" << watched->objectName();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

void ColorLineEdit::mousePressEvent(QMouseEvent *e)
{
    // The press is not handed to QLineEdit: a click neither places the cursor
    // nor starts a text selection, it drags the colour.
    if (e->button() == Qt::LeftButton) {
        QDrag *drag = new QDrag(this);
        QMimeData *mime = new QMimeData;
        mime->setColorData(QVariant(baseColor()));
        drag->setMimeData(mime);
        drag->exec(Qt::CopyAction);
    }
    update();
}

void ColorLineEdit::mouseDoubleClickEvent(QMouseEvent *e)
{
    Q_UNUSED(e);
    const QColor chosen = UserPrompts::current().getColor(baseColor(), this);
    if (chosen.isValid())
        announce(chosen);
}

void ColorLineEdit::keyPressEvent(QKeyEvent *e)
{
    // The editor around the field sees every key before the field edits its text.
    if (QCoreApplication::instance() && parent())
        QCoreApplication::sendEvent(parent(), e);
    QLineEdit::keyPressEvent(e);
}

void ColorLineEdit::dragEnterEvent(QDragEnterEvent *e)
{
    if (e->mimeData()->hasColor())
        e->acceptProposedAction();
}

void ColorLineEdit::dragMoveEvent(QDragMoveEvent *e)
{
    // The acceptance decided at drag enter stands.
    qDebug() << "pos drag move" << e->position().toPoint();
}

void ColorLineEdit::dropEvent(QDropEvent *e)
{
    // Only colour drags get past drag enter; anything else changes nothing.
    if (!e->mimeData()->hasColor())
        return;
    const QColor colour = qvariant_cast<QColor>(e->mimeData()->colorData());
    setBaseColor(colour);
    qDebug() << "red:" << colour.red() << "green:" << colour.green() << "blue:" << colour.blue();
    announce(colour);
    e->acceptProposedAction();
}

void ColorLineEdit::announce(const QColor &colour)
{
    emit redChanged(colour.red());
    emit greenChanged(colour.green());
    emit blueChanged(colour.blue());
    emit colorChosen(colour);
}
