#ifndef COLORSLIDER_H
#define COLORSLIDER_H

#include <QPoint>
#include <QSlider>

class QDragEnterEvent;
class QEvent;
class QMouseEvent;

// The slider of one colour channel of a lamp: a QSlider fixed to 0-255 that
// can be marked as selected. The user selects sliders with Ctrl or Shift and
// the mouse; the skin draws selected sliders differently, and the group
// editing slots act on selected sliders only.
class ColorSlider : public QSlider
{
    Q_OBJECT

public:
    ColorSlider(Qt::Orientation orientation, QWidget *parent = nullptr);
    // Vertical, like QSlider(QWidget *); the form builds its sliders this way.
    explicit ColorSlider(QWidget *parent = nullptr);

    bool isSelected() const;
    void setSelected(bool state);

public slots:
    // Same signature as the inherited slot, so connections by signature to
    // setValue(int) reach this one.
    void setValue(int value);
    void setValueIfSelected(int value);
    void plus();
    void minus();
    void changePercentifSelected(int percent);

protected:
    bool event(QEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;
    void mouseMoveEvent(QMouseEvent *e) override;
    void dragEnterEvent(QDragEnterEvent *e) override;

private:
    bool selected = false;
    QPoint dragStartPosition;
};

#endif // COLORSLIDER_H
