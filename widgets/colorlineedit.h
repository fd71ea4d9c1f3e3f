#ifndef COLORLINEEDIT_H
#define COLORLINEEDIT_H

#include <QColor>
#include <QLineEdit>

class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QEvent;
class QKeyEvent;
class QMouseEvent;

// A line edit that stands for a colour: its background (the Base brush of its
// palette). A left press drags that colour away; a colour dropped on the field
// or picked in the colour dialog (double click) is announced as its three
// channel values, red first, and then as the one colour it is.
class ColorLineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit ColorLineEdit(QWidget *parent = nullptr);

    // The background colour, read from the current colour group.
    QColor baseColor() const;
    // Sets the background in every colour group as a solid brush.
    void setBaseColor(const QColor &colour);

    // Swallows double clicks on the watched object. A field installed as its
    // own filter therefore never opens the colour dialog.
    bool eventFilter(QObject *watched, QEvent *event) override;

signals:
    void redChanged(int value);
    void greenChanged(int value);
    void blueChanged(int value);
    // The same choice whole, after its three channels: one action of the user.
    void colorChosen(QColor color);

protected:
    void mousePressEvent(QMouseEvent *e) override;
    void mouseDoubleClickEvent(QMouseEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;
    void dragMoveEvent(QDragMoveEvent *e) override;
    void dropEvent(QDropEvent *e) override;

private:
    void announce(const QColor &colour);
};

#endif // COLORLINEEDIT_H
