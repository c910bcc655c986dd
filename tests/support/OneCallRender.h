#pragma once
// The whole word in one drawText call: what the reference's piecewise drawing
// must match pixel for pixel.

#include "support/QtGlyphReference.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>

#include <algorithm>

namespace vomra::test {

inline QImage renderInOneCall(const QtGlyphReference &renderer, const QString &word, bool underline)
{
    const QFontMetrics fm(renderer.font());
    QImage image(fm.horizontalAdvance(word), fm.ascent() + fm.descent(), QImage::Format_RGB32);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::TextAntialiasing, false);
        painter.setFont(renderer.font());
        painter.setPen(Qt::black);
        painter.drawText(QPoint(0, fm.ascent()), word);
        if (underline) {
            const int thickness = std::clamp(fm.lineWidth(), 1, image.height());
            const int top = std::clamp(fm.ascent() + fm.underlinePos(), 0, image.height() - thickness);
            painter.fillRect(0, top, image.width(), thickness, Qt::black);
        }
    }
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qGray(image.pixel(x, y)) < 128 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return image;
}

} // namespace vomra::test
