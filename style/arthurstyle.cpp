#include "style/arthurstyle.h"

#include "widgets/colorslider.h"

#include <QGroupBox>
#include <QLayout>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmapCache>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QStyleFactory>
#include <QStyleOption>

// The bundle lives in the static core library; registering it here also makes the
// linker keep it. Q_INIT_RESOURCE has to be used outside any namespace.
static void registerImageBundle()
{
    Q_INIT_RESOURCE(images);
}

namespace {

const QString buttonNormalLeft = QStringLiteral(":/res/images/button_normal_cap_left.png");
const QString buttonNormalRight = QStringLiteral(":/res/images/button_normal_cap_right.png");
const QString buttonNormalMiddle = QStringLiteral(":/res/images/button_normal_stretch.png");
const QString buttonPressedLeft = QStringLiteral(":/res/images/button_pressed_cap_left.png");
const QString buttonPressedRight = QStringLiteral(":/res/images/button_pressed_cap_right.png");
const QString buttonPressedMiddle = QStringLiteral(":/res/images/button_pressed_stretch.png");
const QString radioOff = QStringLiteral(":/res/images/radiobutton_off.png");
const QString radioOn = QStringLiteral(":/res/images/radiobutton_on.png");
const QString radioPressed = QStringLiteral(":/res/images/radiobutton-on.png");
const QString frameTopLeft = QStringLiteral(":/res/images/groupframe_topleft.png");
const QString frameTopRight = QStringLiteral(":/res/images/groupframe_topright.png");
const QString frameBottomLeft = QStringLiteral(":/res/images/groupframe_bottom_left.png");
const QString frameBottomRight = QStringLiteral(":/res/images/groupframe_bottom_right.png");
const QString frameLeft = QStringLiteral(":/res/images/groupframe_left_stretch.png");
const QString frameTop = QStringLiteral(":/res/images/groupframe_top_stretch.png");
const QString frameRight = QStringLiteral(":/res/images/groupframe_right_stretch.png");
const QString frameBottom = QStringLiteral(":/res/images/groupframe_bottom_stretch.png");
const QString titleLeft = QStringLiteral(":/res/images/title_cap_left.png");
const QString titleMiddle = QStringLiteral(":/res/images/title_stretch.png");
const QString titleRight = QStringLiteral(":/res/images/title_cap_right.png");
const QString verticalGroove = QStringLiteral(":/res/images/slider_bar_vertical.png");
const QString handleRed = QStringLiteral(":/res/images/slider_thumb_on_v_red.png");
const QString handleGreen = QStringLiteral(":/res/images/slider_thumb_on_v_green.png");
const QString handleBlue = QStringLiteral(":/res/images/slider_thumb_on_v_blue.png");
const QString horizontalGroove = QStringLiteral(":/res/images/slider_bar.png");
const QString horizontalHandle = QStringLiteral(":/res/images/slider_thumb_on.png");

const QColor windowColour(241, 241, 241);
const QColor hoverPillColour(191, 215, 191);
const QColor buttonHoverWash(31, 127, 31, 63);
const QColor capsuleEndColour(255, 255, 255, 128);

const int sliderLength = 13;
const int sliderThickness = 27;
const int pushButtonHeight = 26;
const int buttonLabelPadding = 3;   // between a push button's label and each cap
const int radioContentsLeft = 20;
const int radioInset = 5;
const int titlePlatePadding = 20;
const int frameCornerRadius = 9;     // the arcs of the groupframe corner images

bool isHovered(const QStyleOption *option)
{
    return (option->state & QStyle::State_Enabled) && (option->state & QStyle::State_MouseOver);
}

// The group box body: inset 3 left, 4 right, 5 top and bottom.
QRect groupBodyRect(const QRect &groupRect)
{
    return groupRect.adjusted(3, 5, -4, -5);
}

QLinearGradient groupBodyGradient(const QRect &body)
{
    QLinearGradient gradient(body.topLeft(), body.bottomLeft());
    gradient.setColorAt(0, QColor(128, 128, 128, 255));
    gradient.setColorAt(1, QColor(255, 255, 255, 128));
    return gradient;
}

// A stadium: the rectangle with half circles at its two short ends.
QPainterPath stadium(const QRectF &rect)
{
    const qreal radius = qMin(rect.width(), rect.height()) / 2;
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void drawHoverPill(QPainter *painter, const QRect &rect)
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(hoverPillColour);
    painter->drawPath(stadium(rect));
    painter->restore();
}

// A lamp slider's look follows its channel, known by the slider's object name.
struct Channel
{
    QColor colour;
    QString handle;
    bool named;
};

Channel channelOf(const QWidget *slider)
{
    const QString name = slider ? slider->objectName() : QString();
    if (name == QLatin1String("SliderRed"))
        return { QColor(255, 0, 0, 128), handleRed, true };
    if (name == QLatin1String("SliderGreen"))
        return { QColor(0, 255, 0, 128), handleGreen, true };
    if (name == QLatin1String("SliderBlue"))
        return { QColor(0, 0, 255, 128), handleBlue, true };
    return { QColor(0, 0, 255, 128), handleBlue, false };
}

} // namespace

ArthurStyle::ArthurStyle()
    : QProxyStyle(QStyleFactory::create(QStringLiteral("Windows")))
{
    registerImageBundle();
}

QPixmap ArthurStyle::cachedPixmap(const QString &path)
{
    QPixmap pixmap;
    if (QPixmapCache::find(path, &pixmap))
        return pixmap;
    pixmap = QPixmap::fromImage(QImage(path));
    if (pixmap.isNull())
        return QPixmap();
    QPixmapCache::insert(path, pixmap);
    return pixmap;
}

// The base style's widget polish is deliberately not run.
void ArthurStyle::polish(QWidget *widget)
{
    if (widget->layout() && qobject_cast<QGroupBox *>(widget)) {
        if (widget->findChildren<QGroupBox *>().isEmpty())
            widget->layout()->setSpacing(0);
        else
            widget->layout()->setContentsMargins(10, 10, 10, 10);
    }
    // Hover events make these widgets repaint on hover; the colour slider's
    // selection by sweeping with Shift depends on them too.
    if (qobject_cast<QPushButton *>(widget) || qobject_cast<QRadioButton *>(widget)
        || qobject_cast<QSlider *>(widget))
        widget->setAttribute(Qt::WA_Hover, true);
    if (widget->isWindow()) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Window, windowColour);
        widget->setPalette(palette);
    }
}

void ArthurStyle::unpolish(QWidget *widget)
{
    if (qobject_cast<QPushButton *>(widget) || qobject_cast<QRadioButton *>(widget)
        || qobject_cast<QSlider *>(widget))
        widget->setAttribute(Qt::WA_Hover, false);
}

void ArthurStyle::polish(QPalette &palette)
{
    palette.setColor(QPalette::Window, windowColour);
}

void ArthurStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case PE_Frame: {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(Qt::white, 1));
        painter->setBrush(option->palette.color(QPalette::Base));
        // Half a pixel in, so the 1 pixel outline lies on whole pixels.
        painter->drawRoundedRect(QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5), 25, 25,
                                 Qt::RelativeSize);
        painter->restore();
        return;
    }
    case PE_FrameGroupBox: {
        const QRect r = option->rect;
        const QPixmap topLeft = cachedPixmap(frameTopLeft);
        const QPixmap topRight = cachedPixmap(frameTopRight);
        const QPixmap bottomLeft = cachedPixmap(frameBottomLeft);
        const QPixmap bottomRight = cachedPixmap(frameBottomRight);
        const QPixmap left = cachedPixmap(frameLeft);
        const QPixmap top = cachedPixmap(frameTop);
        const QPixmap right = cachedPixmap(frameRight);
        const QPixmap bottom = cachedPixmap(frameBottom);

        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        QPainterPath outline;
        outline.addRoundedRect(r, frameCornerRadius, frameCornerRadius);
        painter->setClipPath(outline, Qt::IntersectClip);

        const QRect band(r.left(), r.top(), r.width(), cachedPixmap(titleMiddle).height());
        QLinearGradient bandGradient(band.topLeft(), band.bottomLeft());
        bandGradient.setColorAt(0, QColor(100, 100, 100, 255));
        bandGradient.setColorAt(1, QColor(255, 255, 255, 255));
        painter->fillRect(band, bandGradient);

        painter->drawPixmap(r.topLeft(), topLeft);
        painter->drawPixmap(r.right() - topRight.width() + 1, r.top(), topRight);
        painter->drawPixmap(r.left(), r.bottom() - bottomLeft.height() + 1, bottomLeft);
        painter->drawPixmap(r.right() - bottomRight.width() + 1, r.bottom() - bottomRight.height() + 1,
                            bottomRight);
        const QRect topEdge(r.left() + topLeft.width(), r.top(),
                            r.width() - topLeft.width() - topRight.width(), top.height());
        const QRect bottomEdge(r.left() + bottomLeft.width(), r.bottom() - bottom.height() + 1,
                               r.width() - bottomLeft.width() - bottomRight.width(), bottom.height());
        const QRect leftEdge(r.left(), r.top() + topLeft.height(),
                             left.width(), r.height() - topLeft.height() - bottomLeft.height());
        const QRect rightEdge(r.right() - right.width() + 1, r.top() + topRight.height(),
                              right.width(), r.height() - topRight.height() - bottomRight.height());
        painter->drawTiledPixmap(topEdge, top);
        painter->drawTiledPixmap(bottomEdge, bottom);
        painter->drawTiledPixmap(leftEdge, left);
        painter->drawTiledPixmap(rightEdge, right);
        painter->restore();
        return;
    }
    case PE_PanelButtonCommand: {
        const QRect r = option->rect;
        painter->save();
        // Inside a group box the button continues the box's body gradient behind it.
        if (widget && qobject_cast<const QGroupBox *>(widget->parentWidget())) {
            const QRect body = groupBodyRect(widget->parentWidget()->rect()).translated(-widget->pos());
            painter->fillRect(r, groupBodyGradient(body));
        }
        const bool pressed = option->state & (State_Sunken | State_On);
        const QPixmap left = cachedPixmap(pressed ? buttonPressedLeft : buttonNormalLeft);
        const QPixmap middle = cachedPixmap(pressed ? buttonPressedMiddle : buttonNormalMiddle);
        const QPixmap right = cachedPixmap(pressed ? buttonPressedRight : buttonNormalRight);
        painter->drawPixmap(r.topLeft(), left);
        painter->drawPixmap(r.right() - right.width() + 1, r.top(), right);
        const QRect between(r.left() + left.width(), r.top(),
                            r.width() - left.width() - right.width(), left.height());
        painter->drawTiledPixmap(between, middle);
        if (isHovered(option))
            painter->fillRect(r.adjusted(3, 5, -3, -5), buttonHoverWash);
        painter->restore();
        return;
    }
    case PE_PanelLineEdit: {
        const auto *frame = qstyleoption_cast<const QStyleOptionFrame *>(option);
        if (!frame)
            break;
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        // A frameless line edit (line width 0) gets no outline: a zero-width pen
        // would still draw one pixel.
        if (frame->lineWidth > 0)
            painter->setPen(QPen(Qt::black, frame->lineWidth));
        else
            painter->setPen(Qt::NoPen);
        painter->setBrush(option->palette.brush(QPalette::Base));
        const qreal half = frame->lineWidth / 2.0;
        painter->drawRoundedRect(QRectF(option->rect).adjusted(half, half, -half, -half), 10, 25,
                                 Qt::RelativeSize);
        painter->restore();
        return;
    }
    case PE_IndicatorRadioButton: {
        if (isHovered(option))
            drawHoverPill(painter, widget ? widget->rect() : option->rect);
        const QString &image = (option->state & State_Sunken) ? radioPressed
                               : (option->state & State_On) ? radioOn
                                                            : radioOff;
        painter->drawPixmap(option->rect.topLeft(), cachedPixmap(image));
        return;
    }
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ArthurStyle::drawControl(ControlElement element, const QStyleOption *option,
                              QPainter *painter, const QWidget *widget) const
{
    switch (element) {
    case CE_ProgressBarGroove: {
        const auto *bar = qstyleoption_cast<const QStyleOptionProgressBar *>(option);
        if (!bar)
            break;
        if (bar->maximum == 0)
            return;
        const QRect r = option->rect;
        // 64-bit, so a large range cannot overflow; a value before the start
        // (a reset bar) fills nothing.
        const qint64 filled = qint64(r.width()) * bar->progress / bar->maximum;
        if (filled <= 0)
            return;
        const QRect part(r.left(), r.top(), int(qMin<qint64>(filled, r.width())), r.height());
        QLinearGradient gradient(part.topLeft(), part.bottomRight());
        gradient.setColorAt(0, QColor(0, 0, 0, 255));
        gradient.setColorAt(1, QColor(0, 255, 0, 255));
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->fillRect(part, gradient);
        painter->restore();
        return;
    }
    case CE_ProgressBarContents:
        // The groove's fill shows the progress.
        return;
    case CE_RadioButton:
        // The base style lays a radio button out with its own rectangles, not
        // through this proxy; compose it here so the rectangles of
        // subElementRect place the indicator, the label and the focus frame.
        if (const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option)) {
            QStyleOptionButton part = *button;
            part.rect = proxy()->subElementRect(SE_RadioButtonIndicator, button, widget);
            proxy()->drawPrimitive(PE_IndicatorRadioButton, &part, painter, widget);
            part.rect = proxy()->subElementRect(SE_RadioButtonContents, button, widget);
            proxy()->drawControl(CE_RadioButtonLabel, &part, painter, widget);
            if (button->state & State_HasFocus) {
                QStyleOptionFocusRect focus;
                focus.QStyleOption::operator=(*button);
                focus.rect = proxy()->subElementRect(SE_RadioButtonFocusRect, button, widget);
                proxy()->drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
            }
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QRect ArthurStyle::subElementRect(SubElement element, const QStyleOption *option,
                                  const QWidget *widget) const
{
    QRect rect;
    switch (element) {
    case SE_RadioButtonContents:
        rect = option->rect;
        rect.setLeft(option->rect.left() + radioContentsLeft);
        break;
    case SE_RadioButtonClickRect:
        rect = option->rect;
        break;
    default:
        rect = QProxyStyle::subElementRect(element, option, widget);
        break;
    }
    if (qobject_cast<const QRadioButton *>(widget))
        rect.adjust(radioInset, 0, -radioInset, 0);
    return rect;
}

void ArthurStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                     QPainter *painter, const QWidget *widget) const
{
    switch (control) {
    case CC_Slider:
        if (const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option)) {
            if (slider->orientation == Qt::Vertical)
                drawVerticalSlider(option, painter, widget);
            else
                drawHorizontalSlider(option, painter, widget);
            return;
        }
        break;
    case CC_GroupBox:
        if (qstyleoption_cast<const QStyleOptionGroupBox *>(option)) {
            drawGroupBox(option, painter, widget);
            return;
        }
        break;
    default:
        break;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

// Back to front: groove, selection capsule, hover outline, handle.
void ArthurStyle::drawVerticalSlider(const QStyleOptionComplex *option, QPainter *painter,
                                     const QWidget *widget) const
{
    const QRect groove = proxy()->subControlRect(CC_Slider, option, SC_SliderGroove, widget);
    const QRect handle = proxy()->subControlRect(CC_Slider, option, SC_SliderHandle, widget);
    painter->save();

    if ((option->subControls & SC_SliderGroove) && groove.isValid()) {
        const QRect strip(groove.left() + 10, groove.top() + 5, 10, groove.height() - 10);
        const QPixmap bar = cachedPixmap(verticalGroove);
        if (!bar.isNull() && strip.isValid()) {
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawPixmap(strip, bar);
        }
    }

    const Channel channel = channelOf(widget);
    // Only the three channel sliders of a lamp editor carry a selection; qobject_cast
    // keeps a plain slider that happens to have such a name unselected.
    const auto *colorSlider = channel.named ? qobject_cast<const ColorSlider *>(widget) : nullptr;
    const bool selected = colorSlider && colorSlider->isSelected();

    const QRectF capsule = QRectF(option->rect).adjusted(4, 0, -4, 0);
    painter->setRenderHint(QPainter::Antialiasing);
    if (selected) {
        QLinearGradient gradient(capsule.topLeft(), capsule.bottomLeft());
        gradient.setColorAt(0, channel.colour);
        gradient.setColorAt(1, capsuleEndColour);
        painter->setPen(Qt::NoPen);
        painter->setBrush(gradient);
        painter->drawPath(stadium(capsule));
    }
    if (isHovered(option)) {
        // A solid line: a dotted one is the look of a keyboard focus frame,
        // which these sliders never take.
        QColor opaque = channel.colour;
        opaque.setAlpha(255);
        painter->setPen(QPen(opaque, 1, Qt::SolidLine));
        painter->setBrush(Qt::NoBrush);
        // Half a pixel in, so the dots fall on whole pixels inside the capsule.
        painter->drawPath(stadium(capsule.adjusted(0.5, 0.5, -0.5, -0.5)));
    }

    if ((option->subControls & SC_SliderHandle) && handle.isValid())
        painter->drawPixmap(handle.topLeft(), cachedPixmap(channel.handle));
    painter->restore();
}

void ArthurStyle::drawHorizontalSlider(const QStyleOptionComplex *option, QPainter *painter,
                                       const QWidget *widget) const
{
    if (isHovered(option))
        drawHoverPill(painter, option->rect);
    const QRect groove = proxy()->subControlRect(CC_Slider, option, SC_SliderGroove, widget);
    const QRect handle = proxy()->subControlRect(CC_Slider, option, SC_SliderHandle, widget);
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    if ((option->subControls & SC_SliderGroove) && groove.isValid())
        painter->drawPixmap(groove, cachedPixmap(horizontalGroove));
    if ((option->subControls & SC_SliderHandle) && handle.isValid())
        painter->drawPixmap(handle.topLeft(), cachedPixmap(horizontalHandle));
    painter->restore();
}

// The body with its gradient, then the title plate and the title: two light
// shadows, a darker one and the white text on top.
void ArthurStyle::drawGroupBox(const QStyleOptionComplex *option, QPainter *painter,
                               const QWidget *widget) const
{
    const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    const QRect body = groupBodyRect(option->rect);
    painter->setPen(QPen(Qt::black, 1));
    painter->setBrush(groupBodyGradient(body));
    painter->drawRoundedRect(body, 15, 5, Qt::RelativeSize);

    if (box->subControls & SC_GroupBoxLabel) {
        const QRect label = proxy()->subControlRect(CC_GroupBox, option, SC_GroupBoxLabel, widget);
        const QPixmap left = cachedPixmap(titleLeft);
        painter->drawPixmap(label.left() - left.width(), label.top(), left);
        painter->drawTiledPixmap(label, cachedPixmap(titleMiddle));
        painter->drawPixmap(label.right() + 1, label.top(), cachedPixmap(titleRight));

        const int flags = Qt::AlignCenter | Qt::TextShowMnemonic;
        painter->setPen(QColor(0, 0, 0, 31));
        painter->drawText(label.translated(0, 1), flags, box->text);
        painter->drawText(label.translated(2, 1), flags, box->text);
        painter->setPen(QColor(0, 0, 0, 62));
        painter->drawText(label.translated(1, 1), flags, box->text);
        painter->setPen(Qt::white);
        painter->drawText(label, flags, box->text);
    }
    painter->restore();
}

QRect ArthurStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                  SubControl subControl, const QWidget *widget) const
{
    if (control == CC_Slider) {
        QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
        const auto *slider = qstyleoption_cast<const QStyleOptionSlider *>(option);
        if (!slider)
            return rect;
        if (slider->orientation == Qt::Vertical) {
            if (subControl == SC_SliderHandle)
                rect.setSize(QSize(sliderThickness, sliderLength));
            else if (subControl == SC_SliderGroove)
                rect.setWidth(sliderThickness);
        } else {
            if (subControl == SC_SliderHandle) {
                rect.setSize(QSize(sliderLength, sliderThickness));
            } else if (subControl == SC_SliderGroove) {
                rect.setTop(9);
                rect.setBottom(17);
            }
        }
        return rect;
    }

    if (control == CC_GroupBox) {
        const auto *box = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
        switch (subControl) {
        case SC_GroupBoxFrame:
            return option->rect;
        case SC_GroupBoxContents: {
            QRect rect = QProxyStyle::subControlRect(control, option, subControl, widget);
            rect.setTop(rect.top() - 8);
            return rect;
        }
        case SC_GroupBoxLabel: {
            if (!box)
                break;
            const int textWidth = option->fontMetrics.size(Qt::TextShowMnemonic, box->text).width();
            const int plateWidth = textWidth + titlePlatePadding;
            const int plateLeft = option->rect.left() + (option->rect.width() - plateWidth) / 2;
            const int left = plateLeft + cachedPixmap(titleLeft).width();
            const int right = plateLeft + plateWidth - 1 - cachedPixmap(titleRight).width();
            return QRect(QPoint(left, 0), QPoint(right, cachedPixmap(titleMiddle).height() - 1));
        }
        default:
            break;
        }
    }
    return QProxyStyle::subControlRect(control, option, subControl, widget);
}

int ArthurStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                             const QWidget *widget) const
{
    if (metric == PM_SliderLength)
        return sliderLength;
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QSize ArthurStyle::sizeFromContents(ContentsType type, const QStyleOption *option,
                                    const QSize &contentsSize, const QWidget *widget) const
{
    QSize size = QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
    if (type == CT_PushButton) {
        // The label keeps clear of the rounded caps at both ends, which take
        // more room than the base style leaves: a long label such as
        // "Zmiana oprogramowania" ran into them.
        const int caps = cachedPixmap(buttonNormalLeft).width() + cachedPixmap(buttonNormalRight).width();
        size.setWidth(qMax(size.width(), contentsSize.width() + caps + 2 * buttonLabelPadding));
        size.setHeight(pushButtonHeight);
    } else if (type == CT_Slider) {
        size.setHeight(sliderThickness);
    } else if (type == CT_RadioButton) {
        // The label starts further right and stops short of the right edge
        // compared with the base layout; widen the hint by the difference so a
        // radio button at its size hint shows its whole label.
        const int baseLead = proxy()->pixelMetric(PM_ExclusiveIndicatorWidth, option, widget)
                             + proxy()->pixelMetric(PM_RadioButtonLabelSpacing, option, widget);
        const int lead = radioContentsLeft + 2 * radioInset;
        if (lead > baseLead)
            size.rwidth() += lead - baseLead;
    }
    return size;
}

void setStyleRecursively(QWidget *widget, QStyle *style)
{
    if (!widget)
        return;
    widget->setStyle(style);
    const QList<QWidget *> descendants = widget->findChildren<QWidget *>();
    for (QWidget *descendant : descendants)
        descendant->setStyle(style);
}
