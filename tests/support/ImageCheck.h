#pragma once
// Helpers for tests that render into an image and check pixels.

#include "widgets/core/Color.h"

#include <QColor>
#include <QImage>
#include <QPainter>

namespace vomra::test {

// A white RGB32 image to paint on.
inline QImage blankImage(int w, int h, QColor fill = Qt::white)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img;
}

inline TColor pixelAt(const QImage &img, int x, int y)
{
    const QColor c = img.pixelColor(x, y);
    return RGB(c.red(), c.green(), c.blue());
}

} // namespace vomra::test
