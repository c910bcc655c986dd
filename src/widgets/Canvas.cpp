#include "widgets/Canvas.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace vomra {

Canvas::Canvas(QPainter &painter) : m_painter(painter), m_font(painter.font())
{
    m_painter.setRenderHint(QPainter::Antialiasing, false);
    m_painter.setRenderHint(QPainter::TextAntialiasing, false);
}

QColor Canvas::qcolor(TColor c)
{
    const Channels ch = ColorChannels(c);
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

void Canvas::fillRect(const Rect &r)
{
    if (m_brushStyle == BrushStyle::Clear || r.width() <= 0 || r.height() <= 0)
        return;
    m_painter.fillRect(toQRect(r), qcolor(m_brushColor));
}

void Canvas::frameRect(const Rect &r)
{
    if (r.width() <= 0 || r.height() <= 0)
        return;
    const QColor c = qcolor(m_brushColor);
    m_painter.fillRect(r.left, r.top, r.width(), 1, c);
    m_painter.fillRect(r.left, r.bottom - 1, r.width(), 1, c);
    m_painter.fillRect(r.left, r.top, 1, r.height(), c);
    m_painter.fillRect(r.right - 1, r.top, 1, r.height(), c);
}

void Canvas::rectangle(const Rect &r)
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

namespace {
// Along an axis of `size` pixels: the last pixel whose near edge lies at or
// before the edge of an ellipse `span` half pixels long there, for the point
// `across` half pixels from the ellipse's centre on the other axis, whose span
// is `spanAcross`. Integers only: span^2 (spanAcross^2 - across^2) <= (size - 2m)^2 spanAcross^2.
int edgePixel(int size, std::int64_t span, std::int64_t spanAcross, std::int64_t across)
{
    const std::int64_t lhs = span * span * (spanAcross * spanAcross - across * across);
    int m = size / 2;
    while (m > 0 && lhs > (size - 2 * std::int64_t(m)) * (size - 2 * std::int64_t(m)) * spanAcross * spanAcross)
        --m;
    return m;
}

// The outline of a round rectangle's top-left corner, row by row from the edge:
// the first and last column of the outline in that row. The ellipse of ew x eh
// pixels runs through the centres of its box's outer pixels; each column takes
// the pixel its centre line crosses, each row likewise, so the outline stays
// connected however flat the ellipse. One table serves all four corners,
// mirrored, so they always match.
struct CornerRow {
    int first = 0;
    int last = 0;
};
std::vector<CornerRow> cornerRows(int ew, int eh)
{
    const int cols = ew / 2;
    const int rows = eh / 2;
    if (cols == 0 || rows == 0)
        return {};
    std::vector<CornerRow> out(static_cast<std::size_t>(rows), CornerRow{cols, -1});
    auto mark = [&out](int x, int y) {
        CornerRow &row = out[static_cast<std::size_t>(y)];
        row.first = std::min(row.first, x);
        row.last = std::max(row.last, x);
    };
    const std::int64_t A = ew - 1; // the ellipse's width and height, in half pixels
    const std::int64_t B = eh - 1;
    for (int i = 0; i < cols; ++i)
        mark(i, std::min(edgePixel(eh, B, A, 2 * i + 1 - ew), rows - 1));
    for (int j = 0; j < rows; ++j)
        mark(std::min(edgePixel(ew, A, B, 2 * j + 1 - eh), cols - 1), j);
    return out;
}
} // namespace

void Canvas::roundRect(const Rect &r, int ellipseWidth, int ellipseHeight)
{
    // Without a pen the shape is one pixel smaller to the right and bottom and
    // wholly brush, as with rectangles.
    const bool outline = m_penStyle != PenStyle::Clear;
    const Rect box = outline ? r : Rect{r.left, r.top, r.right - 1, r.bottom - 1};
    const int W = box.width();
    const int H = box.height();
    if (W <= 0 || H <= 0)
        return;
    const std::vector<CornerRow> corner = cornerRows(std::clamp(ellipseWidth, 0, W), std::clamp(ellipseHeight, 0, H));
    const int n = static_cast<int>(corner.size());
    const QColor pen = qcolor(m_penColor);
    const QColor brush = qcolor(m_brushColor);
    const bool fill = m_brushStyle != BrushStyle::Clear;
    for (int y = 0; y < H; ++y) {
        const int k = std::min(y, H - 1 - y); // rows from the nearer edge
        const CornerRow row = k < n ? corner[static_cast<std::size_t>(k)] : CornerRow{};
        const int span = W - 2 * row.first;
        const int rowY = box.top + y;
        const int left = box.left + row.first;
        if (!outline || k > 0) {
            // Outline pixels at both ends (none without a pen), brush between.
            const int run = outline ? std::min(row.last - row.first + 1, (span + 1) / 2) : 0;
            if (run > 0) {
                m_painter.fillRect(left, rowY, run, 1, pen);
                m_painter.fillRect(left + span - run, rowY, run, 1, pen);
            }
            if (fill && span > 2 * run)
                m_painter.fillRect(left + run, rowY, span - 2 * run, 1, brush);
        } else {
            m_painter.fillRect(left, rowY, span, 1, pen); // the top and bottom rows are all outline
        }
    }
}

void Canvas::ellipse(const Rect &r)
{
    m_painter.save();
    m_painter.setPen(m_penStyle == PenStyle::Clear ? QPen(Qt::NoPen) : QPen(qcolor(m_penColor), 0));
    m_painter.setBrush(m_brushStyle == BrushStyle::Clear ? QBrush(Qt::NoBrush) : QBrush(qcolor(m_brushColor)));
    m_painter.drawEllipse(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
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

} // namespace vomra
