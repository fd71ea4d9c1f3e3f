#ifndef SUPERRGB_H
#define SUPERRGB_H

#include <QColor>
#include <QString>
#include <QWidget>

class ColorLineEdit;
class ColorSlider;
class QRegularExpressionValidator;

namespace Ui {
class Lamp;
}

// The colour editor of one lamp: a preview, three channel sliders with "+"
// and "-" buttons, three three-digit channel fields and the lamp's three DMX
// channel addresses. It keeps the colour as three bytes, mirrors every change
// into slider, field and preview, and announces it with colorChanged.
class SuperRGB : public QWidget
{
    Q_OBJECT

public:
    // Created without a parent; the owner reparents it by putting it in a layout.
    SuperRGB(quint8 red, quint8 green, quint8 blue, quint16 lampNumber);
    ~SuperRGB() override;

    QColor color() const;

    // The selection flags of the three sliders, set with selectRed and its twins.
    bool isRedSelected() const;
    bool isGreenSelected() const;
    bool isBlueSelected() const;

signals:
    void selectedSliderValueChange(int value);
    void colorChanged(QColor color);
    // The user gave the lamp a whole colour at once, dropped on the preview or
    // picked in the colour dialog; colorChanged follows, once.
    void colorChosen(QColor color);

public slots:
    void setRedColor(int value);
    void setGreenColor(int value);
    void setBlueColor(int value);
    void textRedChanged(QString s);
    void textGreenChanged(QString s);
    void textBlueChanged(QString s);
    void redPlusPlus();
    void greenPlusPlus();
    void bluePlusPlus();
    void redMinusMinus();
    void greenMinusMinus();
    void blueMinusMinus();
    void updateRGBColor();
    // All three channels, announced by one colorChanged with the new colour.
    void setRGB(uint r, uint g, uint b);
    void setValueIfSelected(int value);
    void sliderRedMoved(int value);
    void sliderGreenMoved(int value);
    void sliderBlueMoved(int value);
    void setAll(bool state);
    void selectRed(bool state);
    void selectGreen(bool state);
    void selectBlue(bool state);
    void changePercentifSelected(int percent);

private:
    enum Channel { Red, Green, Blue };

    void takeChosenColour(const QColor &chosen);
    void updateChannel(Channel channel, int value);
    void typedChannel(Channel channel, const QString &s);
    void reportSelectedMove(Channel channel, int value);
    void reportSelectedAction(Channel channel, int action);
    quint8 &byteOf(Channel channel);
    ColorSlider *sliderOf(Channel channel) const;
    ColorLineEdit *fieldOf(Channel channel) const;

    Ui::Lamp *ui;
    QColor colour;
    quint8 red;
    quint8 green;
    quint8 blue;
    QRegularExpressionValidator *validator;
    quint16 lampNumber;
    bool textEditing;
    // While setRGB sets the channels one by one: their colours in between are
    // none the user chose, and are not announced.
    bool announcementHeld = false;
};

#endif // SUPERRGB_H
