#ifndef ARTHURSTYLE_H
#define ARTHURSTYLE_H

#include <QPixmap>
#include <QProxyStyle>

class QPainter;
class QWidget;

// The look of the whole tool: push buttons, radio buttons and group boxes drawn
// from small images of the program's resource bundle, curved frames and line
// edits, a gradient progress fill, and the lamp editors' vertical colour sliders
// with a handle in their channel colour and a capsule that shows whether the
// slider is selected or hovered. Everything else is drawn and measured by the
// built-in "Windows" style underneath.
//
// The style holds no data; the images are shared through QPixmapCache. It is not
// owned by the widgets that wear it: its owner keeps it for the life of the window.
class ArthurStyle : public QProxyStyle
{
    Q_OBJECT

public:
    ArthurStyle();

    void polish(QWidget *widget) override;
    void unpolish(QWidget *widget) override;
    void polish(QPalette &palette) override;
    using QProxyStyle::polish;
    using QProxyStyle::unpolish;

    void drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                       QPainter *painter, const QWidget *widget = nullptr) const override;
    void drawControl(ControlElement element, const QStyleOption *option,
                     QPainter *painter, const QWidget *widget = nullptr) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget = nullptr) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl subControl, const QWidget *widget = nullptr) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option = nullptr,
                    const QWidget *widget = nullptr) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption *option,
                           const QSize &contentsSize, const QWidget *widget = nullptr) const override;

    // The one image loader: the cached pixmap of a resource path, or an empty
    // pixmap if the image cannot be read. Failures are not cached, so a missing
    // image draws nothing and is tried again at its next use.
    static QPixmap cachedPixmap(const QString &path);

private:
    void drawVerticalSlider(const QStyleOptionComplex *option, QPainter *painter,
                            const QWidget *widget) const;
    void drawHorizontalSlider(const QStyleOptionComplex *option, QPainter *painter,
                              const QWidget *widget) const;
    void drawGroupBox(const QStyleOptionComplex *option, QPainter *painter,
                      const QWidget *widget) const;
};

// Gives style to widget and to every widget below it, at any depth.
void setStyleRecursively(QWidget *widget, QStyle *style);

#endif // ARTHURSTYLE_H
