#include "widgets/Canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <QPolygon>
#include <cstdlib>

namespace vomra {

Canvas::Canvas(QPainter &painter) : m_painter(painter), m_font(painter.font())
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
}

QColor Canvas::qcolor(TColor c)
{
    const Channels ch = colorChannels(c);
    return QColor(ch.red, ch.green, ch.blue);
}

TColor Canvas::tcolor(const QColor &c) { return RGB(c.red(), c.green(), c.blue()); }

void Canvas::setFont(const QFont &f)
{
    m_font = f;
    m_font.setStyleStrategy(QFont::StyleStrategy(m_font.styleStrategy() | QFont::NoAntialias));
}

void Canvas::plot(int x, int y, const QColor &c) { m_painter.fillRect(x, y, 1, 1, c); }

void Canvas::lineTo(int x, int y)
{
    const QPoint from = m_penPos;
    m_penPos = {x, y};
    if (m_penStyle == PenStyle::Clear)
        return;
    const QColor c = qcolor(m_penColor);
    // Bresenham from `from` towards (x, y), stopping before the end point.
    int x0 = from.x();
    int y0 = from.y();
    const int dx = std::abs(x - x0);
    const int dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1;
    const int sy = y0 < y ? 1 : -1;
    if (dy == 0 && dx > 0) { // the common horizontal and vertical cases in one fill
        const int left = sx > 0 ? x0 : x + 1;
        if (m_penStyle == PenStyle::Solid) {
            m_painter.fillRect(left, y0, dx, 1, c);
            return;
        }
    } else if (dx == 0 && dy < 0) {
        const int top = sy > 0 ? y0 : y + 1;
        if (m_penStyle == PenStyle::Solid) {
            m_painter.fillRect(x0, top, 1, -dy, c);
            return;
        }
    }
    int err = dx + dy;
    int n = 0;
    while (!(x0 == x && y0 == y)) {
        if (m_penStyle == PenStyle::Solid || (n % 2) == 0)
            plot(x0, y0, c);
        ++n;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y0 += sy;
        }
    }
}

void Canvas::setPixel(int x, int y, TColor c) { plot(x, y, qcolor(c)); }

TColor Canvas::pixel(int x, int y) const
{
    auto *image = dynamic_cast<QImage *>(m_painter.device());
    if (!image)
        return clNone;
    const QPoint p = m_painter.transform().map(QPoint(x, y));
    if (!image->rect().contains(p))
        return clNone;
    return tcolor(image->pixelColor(p));
}

void Canvas::fillRect(const TRect &r)
{
    if (m_brushStyle == BrushStyle::Clear || r.width() <= 0 || r.height() <= 0)
        return;
    m_painter.fillRect(r.toQRect(), qcolor(m_brushColor));
}

void Canvas::frameRect(const TRect &r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QColor c = qcolor(m_brushColor);
    m_painter.fillRect(r.left, r.top, r.width(), 1, c);
    m_painter.fillRect(r.left, r.bottom - 1, r.width(), 1, c);
    m_painter.fillRect(r.left, r.top, 1, r.height(), c);
    m_painter.fillRect(r.right - 1, r.top, 1, r.height(), c);
}

void Canvas::rectangle(const TRect &r)
{
    if (m_penStyle == PenStyle::Clear) {
        fillRect({r.left, r.top, r.right - 1, r.bottom - 1});
        return;
    }
    fillRect({r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
    if (r.width() <= 0 || r.height() <= 0)
        return;
    moveTo(r.left, r.top);
    lineTo(r.right - 1, r.top);
    lineTo(r.right - 1, r.bottom - 1);
    lineTo(r.left, r.bottom - 1);
    lineTo(r.left, r.top);
}

void Canvas::roundRect(const TRect &r, int ellipseWidth, int ellipseHeight)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(r.left, r.top, r.width() - 1, r.height() - 1), ellipseWidth / 2.0,
                        ellipseHeight / 2.0);
    m_painter.save();
    m_painter.setPen(m_penStyle == PenStyle::Clear ? QPen(Qt::NoPen) : QPen(qcolor(m_penColor), 0));
    m_painter.setBrush(m_brushStyle == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(qcolor(m_brushColor)));
    m_painter.drawPath(path);
    m_painter.restore();
}

void Canvas::ellipse(const TRect &r)
{
    m_painter.save();
    m_painter.setPen(m_penStyle == PenStyle::Clear ? QPen(Qt::NoPen) : QPen(qcolor(m_penColor), 0));
    m_painter.setBrush(m_brushStyle == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(qcolor(m_brushColor)));
    m_painter.drawEllipse(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
    m_painter.restore();
}

void Canvas::polygon(const QPolygon &points)
{
    m_painter.save();
    m_painter.setPen(m_penStyle == PenStyle::Clear ? QPen(Qt::NoPen) : QPen(qcolor(m_penColor), 0));
    m_painter.setBrush(m_brushStyle == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(qcolor(m_brushColor)));
    m_painter.drawPolygon(points);
    m_painter.restore();
}

QSize Canvas::textExtent(const QString &text) const
{
    const QFontMetrics fm(m_font);
    return {fm.horizontalAdvance(text), fm.height()};
}

void Canvas::textOut(int x, int y, const QString &text)
{
    const QFontMetrics fm(m_font);
    if (m_brushStyle == BrushStyle::Solid)
        m_painter.fillRect(x, y, fm.horizontalAdvance(text), fm.height(), qcolor(m_brushColor));
    m_painter.save();
    m_painter.setFont(m_font);
    m_painter.setPen(qcolor(m_fontColor));
    m_painter.drawText(x, y + fm.ascent(), text);
    m_painter.restore();
}

void Canvas::draw(int x, int y, const QImage &image) { m_painter.drawImage(x, y, image); }

void Canvas::stretchDraw(const TRect &r, const QImage &image) { m_painter.drawImage(r.toQRect(), image); }

} // namespace vomra
