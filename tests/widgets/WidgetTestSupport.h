#pragma once
// Shared helpers of the widget tests: fixed fonts, solid test images, ink
// bounds, paint counting and synthetic pointer events.

#include "support/ImageCheck.h"
#include "widgets/Canvas.h"

#include <QApplication>
#include <QEnterEvent>
#include <QEvent>
#include <QFont>
#include <QImage>
#include <QMouseEvent>
#include <QObject>
#include <QWidget>

namespace vomra::test {

inline QFont testFont()
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    return font;
}

inline QImage solidImage(int w, int h, QColor c)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(c);
    return img;
}

// The bounding box of every pixel that differs from `background`, within `area`.
inline QRect inkBounds(const QImage &img, TColor background, QRect area = {})
{
    if (area.isNull())
        area = img.rect();
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (pixelAt(img, x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

inline bool hasColor(const QImage &img, TColor c)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pixelAt(img, x, y) == c)
                return true;
    return false;
}

// Counts paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget *w) { w->installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

inline void sendEnter(QWidget *w)
{
    const QPointF p(2, 2);
    QEnterEvent e(p, w->mapToGlobal(p), w->mapToGlobal(p));
    QApplication::sendEvent(w, &e);
}

inline void sendLeave(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QApplication::sendEvent(w, &e);
}

inline void sendMouse(QWidget *w, QEvent::Type type, QPoint pos, Qt::MouseButton button = Qt::LeftButton)
{
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
    QMouseEvent e(type, QPointF(pos), w->mapToGlobal(QPointF(pos)), type == QEvent::MouseMove ? Qt::NoButton : button,
                  held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

} // namespace vomra::test
