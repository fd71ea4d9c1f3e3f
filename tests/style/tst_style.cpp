#include "style/arthurstyle.h"
#include "widgets/colorslider.h"
#include "widgets/superrgb.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmapCache>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleFactory>
#include <QStyleOption>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

// The bundle is registered and unregistered by name, outside any namespace.
static void registerImages() { Q_INIT_RESOURCE(images); }
static void unregisterImages() { Q_CLEANUP_RESOURCE(images); }

namespace {

const QString imageDir = QStringLiteral(":/res/images/");

const char *const skinImages[] = {
    "button_normal_cap_left.png", "button_normal_cap_right.png", "button_normal_stretch.png",
    "button_pressed_cap_left.png", "button_pressed_cap_right.png", "button_pressed_stretch.png",
    "radiobutton_off.png", "radiobutton_on.png", "radiobutton-on.png",
    "groupframe_topleft.png", "groupframe_topright.png",
    "groupframe_bottom_left.png", "groupframe_bottom_right.png",
    "groupframe_left_stretch.png", "groupframe_top_stretch.png",
    "groupframe_right_stretch.png", "groupframe_bottom_stretch.png",
    "title_cap_left.png", "title_stretch.png", "title_cap_right.png",
    "slider_bar_vertical.png", "slider_thumb_on_v_red.png", "slider_thumb_on_v_green.png",
    "slider_thumb_on_v_blue.png", "slider_bar.png", "slider_thumb_on.png",
    "vn274_logo.png",
};

QImage transparentImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

// The widget alone, without any background: what the style paints is all there is.
QImage paintedBy(QWidget *widget)
{
    QImage image = transparentImage(widget->size());
    widget->render(&image, QPoint(), QRegion(), {});
    return image;
}

bool isOpaqueColour(QRgb pixel, int r, int g, int b)
{
    return qAlpha(pixel) == 255 && qRed(pixel) == r && qGreen(pixel) == g && qBlue(pixel) == b;
}

// Every fully opaque pixel of the image appears unchanged at offset in picture.
bool showsImageAt(const QImage &picture, const QString &path, const QPoint &offset)
{
    const QImage image = QImage(path).convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int opaque = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb want = image.pixel(x, y);
            if (qAlpha(want) != 255)
                continue;
            ++opaque;
            if (picture.pixel(offset + QPoint(x, y)) != want)
                return false;
        }
    return opaque > 0;
}

// Warnings and criticals logged while the object lives.
QStringList warnings;
struct WarningLog
{
    WarningLog()
    {
        warnings.clear();
        previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtWarningMsg || type == QtCriticalMsg)
                warnings << text;
        });
    }
    ~WarningLog() { qInstallMessageHandler(previous); }
    QtMessageHandler previous;
};

} // namespace

class TestStyle : public QObject
{
    Q_OBJECT

private slots:
    void init() { QPixmapCache::clear(); }

    void sizesAndMetrics();
    void radioButtonRectangles();
    void sliderRectangles();
    void polishAndUnpolish();
    void groupBoxRectangles();
    void progressBarFill_data();
    void progressBarFill();
    void lampSliderSelectedAndHovered();
    void otherSlidersNeverShowACapsule();
    void everyImageLoadsFromTheBundle();
    void missingImageDrawsNothingAndIsRetried();

private:
    ArthurStyle style;
};

void TestStyle::sizesAndMetrics()
{
    QCOMPARE(style.pixelMetric(QStyle::PM_SliderLength), 13);

    // 26 pixels high whatever the font, and wide enough that the label keeps
    // clear of the caps (10 pixels each) at both ends.
    for (const char *text : { "OK", "Firmware Change", "Zmiana oprogramowania" }) {
        for (int points : { 4, 9, 40 }) {
            QPushButton button(QString::fromUtf8(text));
            button.setFont(QFont(QStringLiteral("DejaVu Sans"), points));
            button.setStyle(&style);
            QCOMPARE(button.sizeHint().height(), 26);
            const int label = button.fontMetrics().horizontalAdvance(button.text());
            QVERIFY2(button.sizeHint().width() >= label + 2 * 10 + 2,
                     qPrintable(QStringLiteral("%1 at %2 pt").arg(button.text()).arg(points)));
        }
    }
    for (Qt::Orientation orientation : { Qt::Horizontal, Qt::Vertical }) {
        QSlider slider(orientation);
        slider.setStyle(&style);
        QCOMPARE(slider.sizeHint().height(), 27);
    }
}

void TestStyle::radioButtonRectangles()
{
    QRadioButton radio(QStringLiteral("English language"));
    radio.setStyle(&style);
    radio.resize(200, 20);
    QStyleOptionButton option;
    option.initFrom(&radio);
    option.text = radio.text();

    QCOMPARE(style.subElementRect(QStyle::SE_RadioButtonContents, &option, &radio), QRect(25, 0, 170, 20));
    QCOMPARE(style.subElementRect(QStyle::SE_RadioButtonClickRect, &option, &radio), QRect(5, 0, 190, 20));
    std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
    QCOMPARE(style.subElementRect(QStyle::SE_RadioButtonIndicator, &option, &radio),
             windows->subElementRect(QStyle::SE_RadioButtonIndicator, &option, &radio).adjusted(5, 0, -5, 0));
    // Without the widget being a radio button nothing is narrowed.
    QCOMPARE(style.subElementRect(QStyle::SE_RadioButtonClickRect, &option, nullptr), QRect(0, 0, 200, 20));

    // At its size hint the whole label fits between the narrowed edges, and the
    // painted indicator and label sit where the rectangles say.
    radio.resize(radio.sizeHint());
    option.rect = radio.rect();
    const QRect contents = style.subElementRect(QStyle::SE_RadioButtonContents, &option, &radio);
    QVERIFY(contents.width() >= radio.fontMetrics().horizontalAdvance(radio.text()));
    const QImage picture = paintedBy(&radio);
    auto columnPainted = [&](int x) {
        for (int y = 0; y < picture.height(); ++y)
            if (qAlpha(picture.pixel(x, y)))
                return true;
        return false;
    };
    QVERIFY(!columnPainted(4));
    QVERIFY(columnPainted(5 + 6));
    QVERIFY(!columnPainted(24));
}

void TestStyle::sliderRectangles()
{
    QStyleOptionSlider option;
    option.minimum = 0;
    option.maximum = 255;
    option.sliderPosition = option.sliderValue = 0;
    option.subControls = QStyle::SC_All;

    option.orientation = Qt::Vertical;
    option.upsideDown = true;   // as QSlider sets it for a vertical slider
    option.rect = QRect(0, 0, 25, 256);
    // Value 0 puts the handle of a vertical slider at the bottom.
    QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle), QRect(0, 243, 27, 13));
    QCOMPARE(style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove).width(), 27);

    option.orientation = Qt::Horizontal;
    option.rect = QRect(0, 0, 200, 27);
    const QRect handle = style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle);
    QCOMPARE(handle.size(), QSize(13, 27));
    const QRect groove = style.subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove);
    QCOMPARE(groove.top(), 9);
    QCOMPARE(groove.bottom(), 17);
}

void TestStyle::polishAndUnpolish()
{
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *button = new QPushButton;
    auto *radio = new QRadioButton;
    auto *slider = new ColorSlider(Qt::Vertical);
    auto *label = new QLabel;
    auto *outer = new QGroupBox;
    auto *outerLayout = new QVBoxLayout(outer);
    auto *inner = new QGroupBox;
    auto *innerLayout = new QVBoxLayout(inner);
    for (QWidget *w : { static_cast<QWidget *>(button), static_cast<QWidget *>(radio),
                        static_cast<QWidget *>(slider), static_cast<QWidget *>(label),
                        static_cast<QWidget *>(outer) })
        layout->addWidget(w);
    outerLayout->addWidget(inner);
    outerLayout->setSpacing(6);
    innerLayout->setSpacing(6);
    innerLayout->setContentsMargins(1, 1, 1, 1);

    setStyleRecursively(&window, &style);
    window.ensurePolished();

    for (QWidget *w : window.findChildren<QWidget *>())
        QCOMPARE(w->style(), &style);
    QVERIFY(button->testAttribute(Qt::WA_Hover));
    QVERIFY(radio->testAttribute(Qt::WA_Hover));
    QVERIFY(slider->testAttribute(Qt::WA_Hover));
    QVERIFY(!label->testAttribute(Qt::WA_Hover));

    // A group box of plain widgets loses its spacing; one holding another group
    // box keeps its spacing and gets margins of 10 instead.
    QCOMPARE(innerLayout->spacing(), 0);
    QCOMPARE(innerLayout->contentsMargins(), QMargins(1, 1, 1, 1));
    QCOMPARE(outerLayout->spacing(), 6);
    QCOMPARE(outerLayout->contentsMargins(), QMargins(10, 10, 10, 10));

    const QColor windowGrey(241, 241, 241);
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        QCOMPARE(window.palette().color(group, QPalette::Window), windowGrey);
    QVERIFY(!label->testAttribute(Qt::WA_SetPalette));
    QPalette palette(Qt::black);
    style.polish(palette);
    for (QPalette::ColorGroup group : { QPalette::Active, QPalette::Inactive, QPalette::Disabled })
        QCOMPARE(palette.color(group, QPalette::Window), windowGrey);

    style.unpolish(button);
    style.unpolish(radio);
    style.unpolish(slider);
    QVERIFY(!button->testAttribute(Qt::WA_Hover));
    QVERIFY(!radio->testAttribute(Qt::WA_Hover));
    QVERIFY(!slider->testAttribute(Qt::WA_Hover));
}

void TestStyle::groupBoxRectangles()
{
    QGroupBox box(QStringLiteral("L: 1"));
    box.setFont(QFont(QStringLiteral("DejaVu Sans"), 10));
    box.setStyle(&style);
    box.resize(80, 420);
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;

    const int capLeft = QImage(imageDir + "title_cap_left.png").width();
    const int capRight = QImage(imageDir + "title_cap_right.png").width();
    const int titleHeight = QImage(imageDir + "title_stretch.png").height();
    const int plateWidth = box.fontMetrics().horizontalAdvance(box.title()) + 20;
    const int plateLeft = (80 - plateWidth) / 2;
    QCOMPARE(style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box),
             QRect(plateLeft + capLeft, 0, plateWidth - capLeft - capRight, titleHeight));
    QCOMPARE(style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, &box), box.rect());

    std::unique_ptr<QStyle> windows(QStyleFactory::create(QStringLiteral("Windows")));
    const QRect common = windows->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, &box);
    QCOMPARE(style.subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxContents, &box),
             common.adjusted(0, -8, 0, 0));
}

void TestStyle::progressBarFill_data()
{
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("filledColumns");
    QTest::newRow("half") << 100 << 50 << 100;
    QTest::newRow("empty") << 100 << 0 << 0;
    QTest::newRow("full") << 100 << 100 << 200;
    QTest::newRow("busy, maximum 0") << 0 << 0 << 0;
    QTest::newRow("huge range") << 2000000000 << 1000000000 << 100;
}

void TestStyle::progressBarFill()
{
    QFETCH(int, maximum);
    QFETCH(int, value);
    QFETCH(int, filledColumns);

    QProgressBar bar;
    bar.setStyle(&style);
    bar.setTextVisible(false);
    bar.setRange(0, maximum);
    bar.setValue(value);
    bar.resize(200, 16);
    const QImage picture = paintedBy(&bar);

    for (int x = 0; x < 200; ++x) {
        const QRgb pixel = picture.pixel(x, 8);
        QCOMPARE(qAlpha(pixel), x < filledColumns ? 255 : 0);
        QCOMPARE(qRed(pixel), 0);
        QCOMPARE(qBlue(pixel), 0);
    }
    if (filledColumns > 0) {
        // Black at the top left, green towards the bottom right of the filled part.
        QVERIFY(qGreen(picture.pixel(0, 0)) < 16);
        QVERIFY(qGreen(picture.pixel(filledColumns - 1, 15)) > 240);
    }
}

void TestStyle::lampSliderSelectedAndHovered()
{
    SuperRGB lamp(0, 0, 0, 0);
    setStyleRecursively(&lamp, &style);
    lamp.show();
    QVERIFY(QTest::qWaitForWindowExposed(&lamp));
    auto *green = lamp.findChild<ColorSlider *>(QStringLiteral("SliderGreen"));
    auto *red = lamp.findChild<ColorSlider *>(QStringLiteral("SliderRed"));
    QVERIFY(green && red);
    QCOMPARE(green->width(), 25);

    lamp.selectGreen(true);
    green->setAttribute(Qt::WA_UnderMouse);
    const QImage picture = paintedBy(green);
    const int handleTop = green->height() - 13;

    // The capsule over the slider narrowed by 4 on each side: green at the top,
    // half transparent, fading to white.
    const QRgb top = picture.pixel(6, 30);
    QVERIFY(qAlpha(top) > 100 && qAlpha(top) < 160);
    QVERIFY(qGreen(top) > 100 && qRed(top) < 40 && qBlue(top) < 40);
    const QRgb bottom = picture.pixel(6, handleTop - 10);
    QVERIFY(qRed(bottom) > qRed(top) + 40);
    QCOMPARE(qAlpha(picture.pixel(3, 128)), 0);
    QCOMPARE(qAlpha(picture.pixel(21, 128)), 0);

    // The hover outline in opaque green along the capsule's left edge, solid:
    // dots would look like a keyboard focus frame, which the slider never takes.
    int dots = 0;
    int gaps = 0;
    for (int y = 40; y < 200; ++y)
        (isOpaqueColour(picture.pixel(4, y), 0, 255, 0) ? dots : gaps)++;
    QVERIFY2(gaps == 0, qPrintable(QStringLiteral("%1 dots, %2 gaps").arg(dots).arg(gaps)));
    QCOMPARE(green->focusPolicy(), Qt::NoFocus);

    // The green handle in front of both, at the bottom for the value 0.
    QVERIFY(showsImageAt(picture, imageDir + "slider_thumb_on_v_green.png", QPoint(0, handleTop)));

    // The red slider of the same lamp: red handle, neither selected nor hovered.
    const QImage redPicture = paintedBy(red);
    QVERIFY(showsImageAt(redPicture, imageDir + "slider_thumb_on_v_red.png", QPoint(0, handleTop)));
    for (int y = 0; y < handleTop; ++y)
        QVERIFY(qAlpha(redPicture.pixel(6, y)) == 0 && qAlpha(redPicture.pixel(4, y)) == 0);
}

void TestStyle::otherSlidersNeverShowACapsule()
{
    // A selected colour slider with another name, and a plain slider that only
    // borrows a channel's name, both hovered.
    ColorSlider other(Qt::Vertical);
    other.setObjectName(QStringLiteral("Brightness"));
    other.setSelected(true);
    QSlider plain(Qt::Vertical);
    plain.setObjectName(QStringLiteral("SliderGreen"));

    struct Case { QSlider *slider; const char *handle; };
    for (const Case &c : { Case{ &other, "slider_thumb_on_v_blue.png" },
                           Case{ &plain, "slider_thumb_on_v_green.png" } }) {
        c.slider->setStyle(&style);
        c.slider->setRange(0, 255);
        c.slider->resize(25, 256);
        c.slider->setAttribute(Qt::WA_UnderMouse);
        const QImage picture = paintedBy(c.slider);
        QVERIFY(showsImageAt(picture, imageDir + c.handle, QPoint(0, 243)));
        for (int y = 20; y < 230; ++y)
            QCOMPARE(qAlpha(picture.pixel(6, y)), 0);
    }
}

void TestStyle::everyImageLoadsFromTheBundle()
{
    for (const char *name : skinImages) {
        const QString path = imageDir + name;
        QVERIFY2(!ArthurStyle::cachedPixmap(path).isNull(), name);
        QPixmap cached;
        QVERIFY2(QPixmapCache::find(path, &cached), name);
        // The short form of the path resolves to the same resource.
        QVERIFY2(QFile::exists(QStringLiteral(":res/images/") + name), name);
    }

    // The three lamp handles carry their channel's colour in the middle.
    auto middle = [](const char *name) {
        const QImage image(imageDir + name);
        return image.pixel(image.width() / 2, image.height() / 2 + 2);
    };
    const QRgb r = middle("slider_thumb_on_v_red.png");
    const QRgb g = middle("slider_thumb_on_v_green.png");
    const QRgb b = middle("slider_thumb_on_v_blue.png");
    QVERIFY(qRed(r) > qGreen(r) && qRed(r) > qBlue(r));
    QVERIFY(qGreen(g) > qRed(g) && qGreen(g) > qBlue(g));
    QVERIFY(qBlue(b) > qRed(b) && qBlue(b) > qGreen(b));

    const QImage logo(imageDir + "vn274_logo.png");
    QVERIFY(logo.width() >= 48 && logo.width() == logo.height());
}

void TestStyle::missingImageDrawsNothingAndIsRetried()
{
    const QString left = imageDir + "button_normal_cap_left.png";
    QStyleOptionButton option;
    option.rect = QRect(0, 0, 60, 26);
    option.state = QStyle::State_Enabled;
    auto paintButton = [&] {
        QImage image = transparentImage(option.rect.size());
        QPainter painter(&image);
        style.drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter);
        painter.end();
        return image;
    };
    auto isBlank = [](const QImage &image) {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qAlpha(image.pixel(x, y)))
                    return false;
        return true;
    };

    unregisterImages();
    struct Reregister { ~Reregister() { registerImages(); } } reregister;
    {
        WarningLog log;
        QVERIFY(isBlank(paintButton()));
        QVERIFY(ArthurStyle::cachedPixmap(left).isNull());
        QVERIFY(warnings.isEmpty());
    }
    QPixmap cached;
    QVERIFY(!QPixmapCache::find(left, &cached));

    registerImages();
    QVERIFY(!isBlank(paintButton()));
    QVERIFY(QPixmapCache::find(left, &cached));
}

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
