// Draws every image of the program's resource bundle (res/images/).
//
// The images are ours: they are painted here with QPainter, so they can be redrawn
// or restyled at any time. To regenerate them after a change to this file:
//
//     cmake --build <builddir> --target vn274-imagegen
//     <builddir>/bin/vn274-imagegen res/images
//
// run from the repository root, then commit the program and the changed PNGs together.
// The output is deterministic: an unchanged program rewrites identical files.
//
// The logo can also be drawn at any size, for icons made from it:
//
//     <builddir>/bin/vn274-imagegen --logo 256 vn274-256.png
//
// One look throughout: soft vertical gradients, rounded caps, a grey-green ink for
// outlines and a green accent that matches the hover colours of the style.

#include <QColor>
#include <QDir>
#include <QCoreApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRect>
#include <QString>

#include <cstdio>

namespace {

const QColor ink(88, 100, 88);          // outlines of every piece
const QColor inkDark(36, 48, 36);       // outline of the dark title plate
const QColor accent(40, 150, 70);       // the "on" colour

// Geometry shared with the style's layout: a push button is 26 high, group and
// title pieces line up on these sizes.
const int buttonHeight = 26;
const int buttonCap = 10;
const int radioSize = 12;               // the base style's radio indicator size
const int frameCorner = 10;
const int titleHeight = 18;
const int titleCap = 9;
const int sliderWidth = 25;             // the lamp editor's channel sliders
const int handleLength = 13;            // the style's slider length
const int handleThickness = 27;

QImage canvas(int width, int height)
{
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

struct Painter : QPainter
{
    explicit Painter(QImage *image) : QPainter(image)
    {
        setRenderHint(QPainter::Antialiasing);
        setRenderHint(QPainter::SmoothPixmapTransform);
    }
};

QLinearGradient vertical(const QRectF &r, const QColor &top, const QColor &bottom)
{
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

QLinearGradient horizontal(const QRectF &r, const QColor &left, const QColor &right)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, left);
    g.setColorAt(1, right);
    return g;
}

// A rounded body with a one pixel outline, a soft gradient and a thin highlight
// under its top edge: the common shape of buttons, plates and handles.
void drawBody(QPainter &p, const QRectF &r, qreal radius, const QGradient &fill,
              const QColor &outline, int highlightAlpha)
{
    p.setPen(QPen(outline, 1));
    p.setBrush(fill);
    p.drawRoundedRect(r, radius, radius);
    if (highlightAlpha > 0) {
        QRectF inner = r.adjusted(1, 1, -1, -1);
        p.setPen(QPen(QColor(255, 255, 255, highlightAlpha), 1));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(inner, radius - 1, radius - 1);
    }
}

// ---- push buttons: one picture cut into left cap, middle and right cap ----

QImage button(bool pressed)
{
    const int width = 2 * buttonCap + 8;
    QImage image = canvas(width, buttonHeight);
    Painter p(&image);
    // A faint shadow in the last row; a button squeezed to 25 pixels loses only it.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 34));
    p.drawRoundedRect(QRectF(1, 2, width - 2, buttonHeight - 2), 9, 9);
    const QRectF body(0.5, 0.5, width - 1, buttonHeight - 2);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    if (pressed) {
        fill.setColorAt(0, QColor(178, 204, 178));
        fill.setColorAt(0.5, QColor(206, 226, 206));
        fill.setColorAt(1, QColor(226, 240, 226));
        drawBody(p, body, 9, fill, QColor(58, 110, 58), 0);
    } else {
        fill.setColorAt(0, QColor(255, 255, 255));
        fill.setColorAt(0.5, QColor(238, 241, 238));
        fill.setColorAt(1, QColor(210, 216, 210));
        drawBody(p, body, 9, fill, ink, 200);
    }
    return image;
}

// ---- radio indicators ----

QImage radio(bool on, bool pressed)
{
    QImage image = canvas(radioSize, radioSize);
    Painter p(&image);
    const QRectF ring(0.5, 0.5, radioSize - 1, radioSize - 1);
    QRadialGradient face(ring.center() - QPointF(1.5, 2), radioSize * 0.75);
    face.setColorAt(0, pressed ? QColor(214, 230, 214) : QColor(255, 255, 255));
    face.setColorAt(1, pressed ? QColor(168, 196, 168) : QColor(212, 218, 212));
    p.setPen(QPen(pressed ? QColor(58, 110, 58) : ink, 1));
    p.setBrush(face);
    p.drawEllipse(ring);
    if (on) {
        const QRectF dot = ring.adjusted(3, 3, -3, -3);
        QRadialGradient light(dot.center() - QPointF(0.8, 1), dot.width() * 0.7);
        light.setColorAt(0, accent.lighter(170));
        light.setColorAt(1, pressed ? accent.darker(140) : accent);
        p.setPen(Qt::NoPen);
        p.setBrush(light);
        p.drawEllipse(dot);
    }
    return image;
}

// ---- group frame: one rounded outline cut into corners and edges ----

QImage groupFrame()
{
    const int size = 3 * frameCorner;
    QImage image = canvas(size, size);
    Painter p(&image);
    // The arcs stay inside the corner pieces, so the edge pieces are straight
    // and tile without seams.
    const qreal radius = frameCorner - 2;
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(255, 255, 255, 170), 1));
    p.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), radius - 1, radius - 1);
    p.setPen(QPen(ink, 1));
    p.drawRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), radius, radius);
    return image;
}

// ---- title plate behind a group box title: dark, for white text ----

QImage titlePlate()
{
    const int width = 2 * titleCap + 8;
    QImage image = canvas(width, titleHeight);
    Painter p(&image);
    const QRectF body(0.5, 0.5, width - 1, titleHeight - 1);
    QLinearGradient fill(body.topLeft(), body.bottomLeft());
    fill.setColorAt(0, QColor(104, 128, 104));
    fill.setColorAt(0.55, QColor(62, 84, 62));
    fill.setColorAt(1, QColor(44, 62, 44));
    drawBody(p, body, (titleHeight - 1) / 2.0, fill, inkDark, 70);
    return image;
}

// ---- sliders ----

// Groove of the vertical sliders. The style stretches it over a strip 10 pixels wide
// that starts 10 pixels into a 25 pixel slider; the visible bar is the strip's left
// half, so it runs down the middle of the slider, under the handle's centre.
QImage verticalGroove()
{
    QImage image = canvas(10, 256);
    Painter p(&image);
    const QRectF bar(0.5, 0.5, 4, 255);
    drawBody(p, bar, 2, horizontal(bar, QColor(96, 104, 96), QColor(176, 184, 176)),
             ink.darker(120), 0);
    return image;
}

QImage horizontalGroove()
{
    QImage image = canvas(64, 8);
    Painter p(&image);
    const QRectF bar(0.5, 1.5, 63, 5);
    drawBody(p, bar, 2.5, vertical(bar, QColor(96, 104, 96), QColor(176, 184, 176)),
             ink.darker(120), 0);
    return image;
}

// Handle of a vertical channel slider: a horizontal pill in the channel colour,
// centred on the slider's middle, with a grip line across it.
QImage verticalHandle(const QColor &channel)
{
    QImage image = canvas(sliderWidth, handleLength);
    Painter p(&image);
    const QRectF pill(2.5, 1.5, sliderWidth - 5, handleLength - 3);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 40));
    p.drawRoundedRect(pill.translated(0, 1), pill.height() / 2, pill.height() / 2);
    QLinearGradient fill(pill.topLeft(), pill.bottomLeft());
    fill.setColorAt(0, channel.lighter(175));
    fill.setColorAt(0.5, channel);
    fill.setColorAt(1, channel.darker(135));
    drawBody(p, pill, pill.height() / 2, fill, channel.darker(220), 110);
    p.setPen(QPen(QColor(255, 255, 255, 150), 1));
    p.drawLine(QPointF(7, 6.5), QPointF(sliderWidth - 7, 6.5));
    return image;
}

QImage horizontalHandle()
{
    QImage image = canvas(handleLength, handleThickness);
    Painter p(&image);
    const QRectF pill(1.5, 1.5, handleLength - 3, handleThickness - 3);
    QLinearGradient fill(pill.topLeft(), pill.topRight());
    fill.setColorAt(0, accent.lighter(175));
    fill.setColorAt(0.5, accent);
    fill.setColorAt(1, accent.darker(135));
    drawBody(p, pill, pill.width() / 2, fill, accent.darker(220), 110);
    return image;
}

// ---- the logo: three overlapping lights mixing to white on a dark tile ----

QImage logo(int size)
{
    QImage image = canvas(size, size);
    Painter p(&image);
    const qreal s = size;
    const QRectF tile(s * 0.03, s * 0.03, s * 0.94, s * 0.94);
    const qreal corner = s * 0.2;

    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 60));
    p.drawRoundedRect(tile.translated(0, s * 0.012), corner, corner);
    QLinearGradient back(tile.topLeft(), tile.bottomLeft());
    back.setColorAt(0, QColor(62, 72, 66));
    back.setColorAt(1, QColor(18, 22, 20));
    p.setPen(QPen(QColor(10, 14, 12), qMax<qreal>(1, s / 64)));
    p.setBrush(back);
    p.drawRoundedRect(tile, corner, corner);

    // The three lamps, added light on light so the overlaps turn yellow, cyan,
    // magenta and white in the middle, as the driver's channels mix.
    const qreal radius = s * 0.22;
    const QPointF centre(s * 0.5, s * 0.53);
    const qreal reach = s * 0.13;
    const QPointF places[3] = {
        centre + QPointF(0, -reach * 1.1),
        centre + QPointF(-reach, reach * 0.6),
        centre + QPointF(reach, reach * 0.6),
    };
    const QColor lights[3] = { QColor(255, 40, 40), QColor(40, 230, 60), QColor(50, 90, 255) };
    p.save();
    QPainterPath inside;
    inside.addRoundedRect(tile, corner, corner);
    p.setClipPath(inside);
    p.setCompositionMode(QPainter::CompositionMode_Plus);
    for (int i = 0; i < 3; ++i) {
        // A lamp with a firm edge and a short glow, so it still reads at 16 pixels.
        const qreal outer = radius * 1.2;
        QRadialGradient glow(places[i], outer);
        QColor edge = lights[i];
        edge.setAlpha(0);
        glow.setColorAt(0, lights[i].lighter(115));
        glow.setColorAt(0.8, lights[i]);
        glow.setColorAt(0.84, lights[i].darker(130));
        glow.setColorAt(1, edge);
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(places[i], outer, outer);
    }
    p.restore();

    // A glassy sheen over the upper half of the tile.
    QPainterPath sheen;
    sheen.addRoundedRect(tile.adjusted(s * 0.02, s * 0.02, -s * 0.02, -s * 0.5), corner * 0.9, corner * 0.9);
    QLinearGradient gloss(tile.topLeft(), QPointF(tile.left(), tile.top() + s * 0.45));
    gloss.setColorAt(0, QColor(255, 255, 255, 70));
    gloss.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(gloss);
    p.drawPath(sheen);
    return image;
}

// ---- writing ----

bool save(const QImage &image, const QString &path)
{
    if (image.convertToFormat(QImage::Format_ARGB32).save(path, "PNG"))
        return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}

bool writeAll(const QDir &dir)
{
    bool ok = true;
    auto put = [&](const QImage &image, const char *name) {
        ok = save(image, dir.filePath(QString::fromLatin1(name))) && ok;
    };
    auto slices = [&](const QImage &whole, int cap, const char *left, const char *middle, const char *right) {
        const int h = whole.height();
        put(whole.copy(0, 0, cap, h), left);
        put(whole.copy(cap, 0, whole.width() - 2 * cap, h), middle);
        put(whole.copy(whole.width() - cap, 0, cap, h), right);
    };

    slices(button(false), buttonCap,
           "button_normal_cap_left.png", "button_normal_stretch.png", "button_normal_cap_right.png");
    slices(button(true), buttonCap,
           "button_pressed_cap_left.png", "button_pressed_stretch.png", "button_pressed_cap_right.png");

    put(radio(false, false), "radiobutton_off.png");
    put(radio(true, false), "radiobutton_on.png");
    put(radio(true, true), "radiobutton-on.png");

    const QImage frame = groupFrame();
    const int c = frameCorner;
    put(frame.copy(0, 0, c, c), "groupframe_topleft.png");
    put(frame.copy(c, 0, c, c), "groupframe_top_stretch.png");
    put(frame.copy(2 * c, 0, c, c), "groupframe_topright.png");
    put(frame.copy(0, c, c, c), "groupframe_left_stretch.png");
    put(frame.copy(2 * c, c, c, c), "groupframe_right_stretch.png");
    put(frame.copy(0, 2 * c, c, c), "groupframe_bottom_left.png");
    put(frame.copy(c, 2 * c, c, c), "groupframe_bottom_stretch.png");
    put(frame.copy(2 * c, 2 * c, c, c), "groupframe_bottom_right.png");

    slices(titlePlate(), titleCap, "title_cap_left.png", "title_stretch.png", "title_cap_right.png");

    put(verticalGroove(), "slider_bar_vertical.png");
    put(verticalHandle(QColor(220, 30, 30)), "slider_thumb_on_v_red.png");
    put(verticalHandle(QColor(30, 180, 50)), "slider_thumb_on_v_green.png");
    put(verticalHandle(QColor(40, 80, 230)), "slider_thumb_on_v_blue.png");
    put(horizontalGroove(), "slider_bar.png");
    put(horizontalHandle(), "slider_thumb_on.png");

    put(logo(128), "vn274_logo.png");
    return ok;
}

} // namespace

int main(int argc, char *argv[])
{
    // Only images are painted, no text, so no window system is needed.
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();

    if (args.size() == 4 && args.at(1) == QLatin1String("--logo")) {
        bool number = false;
        const int size = args.at(2).toInt(&number);
        if (!number || size < 16 || size > 4096) {
            std::fprintf(stderr, "logo size must be 16 to 4096 pixels\n");
            return 2;
        }
        return save(logo(size), args.at(3)) ? 0 : 1;
    }
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: vn274-imagegen <images folder>\n"
                             "       vn274-imagegen --logo <pixels> <file.png>\n");
        return 2;
    }
    QDir dir(args.at(1));
    if (!dir.exists() && !QDir().mkpath(dir.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(dir.path()));
        return 1;
    }
    return writeAll(dir) ? 0 : 1;
}
