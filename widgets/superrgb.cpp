#include "widgets/superrgb.h"

#include "ui_lamp.h"
#include "widgets/colorlineedit.h"
#include "widgets/colorslider.h"
#include "widgets/monospacefont.h"

#include <QDebug>
#include <QPalette>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QScopedValueRollback>

#include <cmath>

namespace {

// 0-99 with one or two digits, 000-199 with three, and 200-255. The validator
// anchors it to the whole text, so "256" is refused while it is typed.
const char channelPattern[] =
    "([0-9]{1,2})|([0-1]{1}[0-9]{2})|(2[0-4]{1}[0-9]{1}|(25[0-5]{1}))";

QString threeDigits(int value)
{
    return QString::asprintf("%03d", value);
}

// A channel field shows its own channel's intensity as background.
QColor channelShade(int channel, int value)
{
    switch (channel) {
    case 0: return QColor(value, 0, 0);
    case 1: return QColor(0, value, 0);
    default: return QColor(0, 0, value);
    }
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette p = widget->palette();
    p.setBrush(QPalette::Text, QBrush(colour, Qt::SolidPattern));
    widget->setPalette(p);
}

// The digits are white, except on a shade so light that white on it all but
// vanishes: a channel field's shade gets there only on green, from about 172 up.
QColor digitColourOn(const QColor &shade)
{
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance =
        0.2126 * linear(shade.red()) + 0.7152 * linear(shade.green()) + 0.0722 * linear(shade.blue());
    // White keeps a contrast of at least 3 to 1 below this (3 = 1.05 / (L + 0.05)).
    return luminance > 0.3 ? QColor(0, 0, 0) : QColor(255, 255, 255);
}

void showShade(ColorLineEdit *field, const QColor &shade)
{
    field->setBaseColor(shade);
    setTextColour(field, digitColourOn(shade));
}

} // namespace

SuperRGB::SuperRGB(quint8 red, quint8 green, quint8 blue, quint16 lampNumber)
    : QWidget(nullptr),
      ui(new Ui::Lamp),
      red(red),
      green(green),
      blue(blue),
      validator(nullptr),
      lampNumber(lampNumber),
      textEditing(false)
{
    // The channel fields ask for "Courier New", which many systems lack; the
    // stand-in is the system's monospace face, so the three digits keep their
    // width and weight instead of falling back to the thin proportional default.
    monospaceFamily();
    ui->setupUi(this);
    resize(size().expandedTo(minimumSizeHint()));
    for (QLabel *label : {ui->LabelAddress1, ui->LabelAddress2, ui->LabelAddress3}) {
        label->setToolTip(tr("DMX addres"));
        label->setStatusTip(tr("DMX addres"));
    }

    qDebug("Lamp %d constructor", int(lampNumber));

    validator = new QRegularExpressionValidator(QRegularExpression(QString::fromLatin1(channelPattern)), this);
    for (ColorLineEdit *field : {ui->EditRed, ui->EditGreen, ui->EditBlue}) {
        field->setValidator(validator);
        setTextColour(field, QColor(255, 255, 255));
    }

    setRedColor(red);
    setGreenColor(green);
    setBlueColor(blue);

    ui->SliderRed->setValue(red);
    ui->SliderGreen->setValue(green);
    ui->SliderBlue->setValue(blue);

    ui->LampGroupBox->setTitle(tr("L: %1").arg(lampNumber + 1));
    ui->LabelAddress1->setText(QString("%1").arg(3 * lampNumber + 1));
    ui->LabelAddress2->setText(QString("%1").arg(3 * lampNumber + 2));
    ui->LabelAddress3->setText(QString("%1").arg(3 * lampNumber + 3));

    ui->EditRed->setText(threeDigits(red));
    ui->EditGreen->setText(threeDigits(green));
    ui->EditBlue->setText(threeDigits(blue));

    // Each channel field filters its own events, so double clicks on it are
    // swallowed; only the preview opens the colour dialog.
    for (ColorLineEdit *field : {ui->EditRed, ui->EditGreen, ui->EditBlue})
        field->installEventFilter(field);

    connect(ui->SliderRed, &ColorSlider::valueChanged, this, &SuperRGB::setRedColor);
    connect(ui->SliderGreen, &ColorSlider::valueChanged, this, &SuperRGB::setGreenColor);
    connect(ui->SliderBlue, &ColorSlider::valueChanged, this, &SuperRGB::setBlueColor);
    connect(ui->EditRed, &ColorLineEdit::textChanged, this, &SuperRGB::textRedChanged);
    connect(ui->EditGreen, &ColorLineEdit::textChanged, this, &SuperRGB::textGreenChanged);
    connect(ui->EditBlue, &ColorLineEdit::textChanged, this, &SuperRGB::textBlueChanged);
    connect(ui->ButtonRPlus, &QPushButton::clicked, ui->SliderRed, &ColorSlider::plus);
    connect(ui->ButtonGPlus, &QPushButton::clicked, ui->SliderGreen, &ColorSlider::plus);
    connect(ui->ButtonBPlus, &QPushButton::clicked, ui->SliderBlue, &ColorSlider::plus);
    connect(ui->ButtonRMinus, &QPushButton::clicked, ui->SliderRed, &ColorSlider::minus);
    connect(ui->ButtonGMinus, &QPushButton::clicked, ui->SliderGreen, &ColorSlider::minus);
    connect(ui->ButtonBMinus, &QPushButton::clicked, ui->SliderBlue, &ColorSlider::minus);
    // A colour dropped on the preview or picked in its dialog is taken whole,
    // not channel by channel: one change of the lamp, as the user made it.
    connect(ui->EditColor, &ColorLineEdit::colorChosen, this, &SuperRGB::takeChosenColour);
    connect(ui->SliderRed, &ColorSlider::sliderMoved, this, &SuperRGB::sliderRedMoved);
    connect(ui->SliderGreen, &ColorSlider::sliderMoved, this, &SuperRGB::sliderGreenMoved);
    connect(ui->SliderBlue, &ColorSlider::sliderMoved, this, &SuperRGB::sliderBlueMoved);

    // Wheel, keys and clicks beside the handle move a slider without
    // sliderMoved; a selected slider reports those moves as well.
    for (Channel channel : {Red, Green, Blue}) {
        connect(sliderOf(channel), &ColorSlider::actionTriggered, this,
                [this, channel](int action) { reportSelectedAction(channel, action); });
    }
}

SuperRGB::~SuperRGB()
{
    delete ui;
}

QColor SuperRGB::color() const
{
    return colour;
}

bool SuperRGB::isRedSelected() const
{
    return ui->SliderRed->isSelected();
}

bool SuperRGB::isGreenSelected() const
{
    return ui->SliderGreen->isSelected();
}

bool SuperRGB::isBlueSelected() const
{
    return ui->SliderBlue->isSelected();
}

quint8 &SuperRGB::byteOf(Channel channel)
{
    switch (channel) {
    case Red: return red;
    case Green: return green;
    default: return blue;
    }
}

ColorSlider *SuperRGB::sliderOf(Channel channel) const
{
    switch (channel) {
    case Red: return ui->SliderRed;
    case Green: return ui->SliderGreen;
    default: return ui->SliderBlue;
    }
}

ColorLineEdit *SuperRGB::fieldOf(Channel channel) const
{
    switch (channel) {
    case Red: return ui->EditRed;
    case Green: return ui->EditGreen;
    default: return ui->EditBlue;
    }
}

// A channel update. Setting the field's text runs the typing slot at once;
// when the value came from elsewhere than the slider, that moves the slider,
// whose valueChanged runs a nested update of the same value that leaves the
// text alone (textEditing) and announces the colour a second time.
void SuperRGB::updateChannel(Channel channel, int value)
{
    byteOf(channel) = quint8(value);
    const QString text = threeDigits(value);
    updateRGBColor();
    if (!textEditing)
        fieldOf(channel)->setText(text);
    textEditing = false;
    showShade(fieldOf(channel), channelShade(channel, value));
}

void SuperRGB::typedChannel(Channel channel, const QString &s)
{
    bool parsed = false;
    const int number = s.toInt(&parsed, 10);
    if (!parsed)
        return;  // an empty field leaves the channel as it is
    textEditing = true;
    sliderOf(channel)->setValue(number);
    // A value equal to the slider's moves nothing, so no channel update
    // follows to clear the flag; left set, it would make the next update of
    // any channel skip its text and leave that field showing a stale value.
    textEditing = false;
    showShade(fieldOf(channel), channelShade(channel, number));
}

void SuperRGB::reportSelectedMove(Channel channel, int value)
{
    if (!sliderOf(channel)->isSelected())
        return;
    emit selectedSliderValueChange(value);
    qDebug("selected emit value: %d \"%s\"", value, qPrintable(objectName()));
}

// Runs before the slider takes its new position as its value. A drag
// reports through sliderMoved already; its SliderMove action is not repeated.
void SuperRGB::reportSelectedAction(Channel channel, int action)
{
    const ColorSlider *slider = sliderOf(channel);
    if (action == QAbstractSlider::SliderNoAction || (action == QAbstractSlider::SliderMove && slider->isSliderDown()))
        return;
    reportSelectedMove(channel, slider->sliderPosition());
}

void SuperRGB::setRedColor(int value)
{
    updateChannel(Red, value);
}

void SuperRGB::setGreenColor(int value)
{
    updateChannel(Green, value);
}

void SuperRGB::setBlueColor(int value)
{
    updateChannel(Blue, value);
}

void SuperRGB::textRedChanged(QString s)
{
    typedChannel(Red, s);
}

void SuperRGB::textGreenChanged(QString s)
{
    typedChannel(Green, s);
}

void SuperRGB::textBlueChanged(QString s)
{
    typedChannel(Blue, s);
}

void SuperRGB::redPlusPlus()
{
    ui->SliderRed->setValue(ui->SliderRed->value() + 1);
}

void SuperRGB::greenPlusPlus()
{
    ui->SliderGreen->setValue(ui->SliderGreen->value() + 1);
}

void SuperRGB::bluePlusPlus()
{
    ui->SliderBlue->setValue(ui->SliderBlue->value() + 1);
}

void SuperRGB::redMinusMinus()
{
    ui->SliderRed->setValue(ui->SliderRed->value() - 1);
}

void SuperRGB::greenMinusMinus()
{
    ui->SliderGreen->setValue(ui->SliderGreen->value() - 1);
}

void SuperRGB::blueMinusMinus()
{
    ui->SliderBlue->setValue(ui->SliderBlue->value() - 1);
}

void SuperRGB::updateRGBColor()
{
    colour = QColor(red, green, blue, 255);
    ui->EditColor->setBaseColor(colour);
    if (!announcementHeld)
        emit colorChanged(colour);
}

void SuperRGB::setRGB(uint r, uint g, uint b)
{
    {
        const QScopedValueRollback<bool> held(announcementHeld, true);
        ui->SliderRed->setValue(int(r));
        ui->SliderGreen->setValue(int(g));
        ui->SliderBlue->setValue(int(b));
    }
    updateRGBColor();
}

void SuperRGB::takeChosenColour(const QColor &chosen)
{
    emit colorChosen(chosen);
    setRGB(uint(chosen.red()), uint(chosen.green()), uint(chosen.blue()));
}

void SuperRGB::setValueIfSelected(int value)
{
    ui->SliderRed->setValueIfSelected(value);
    ui->SliderGreen->setValueIfSelected(value);
    ui->SliderBlue->setValueIfSelected(value);
}

void SuperRGB::sliderRedMoved(int value)
{
    reportSelectedMove(Red, value);
}

void SuperRGB::sliderGreenMoved(int value)
{
    reportSelectedMove(Green, value);
}

void SuperRGB::sliderBlueMoved(int value)
{
    reportSelectedMove(Blue, value);
}

void SuperRGB::setAll(bool state)
{
    selectRed(state);
    selectGreen(state);
    selectBlue(state);
}

void SuperRGB::selectRed(bool state)
{
    ui->SliderRed->setSelected(state);
}

void SuperRGB::selectGreen(bool state)
{
    ui->SliderGreen->setSelected(state);
}

void SuperRGB::selectBlue(bool state)
{
    ui->SliderBlue->setSelected(state);
}

void SuperRGB::changePercentifSelected(int percent)
{
    ui->SliderRed->changePercentifSelected(percent);
    ui->SliderGreen->changePercentifSelected(percent);
    ui->SliderBlue->changePercentifSelected(percent);
}
