#include "artwork/Shapes.h"

namespace vomra::artwork {

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

QImage render(int size, double grid, const Glyph &glyph)
{
    QImage img = blank(size, size);
    {
        Art a(img, grid);
        glyph(a);
    }
    return img;
}

// ---- shared pieces -------------------------------------------------------

// A sheet of paper with a folded corner; x2, y2 are its last pixels.
void page(Art &a, double x1, double y1, double x2, double y2, double fold, int lines,
          const QColor &lineColour)
{
    a.fill(a.poly({a.P(x1, y1), a.P(x2 - fold, y1), a.P(x2, y1 + fold), a.P(x2, y2), a.P(x1, y2)}),
           ink::paper, ink::paperEdge);
    a.flat(a.poly({a.P(x2 - fold, y1), a.P(x2 - fold, y1 + fold), a.P(x2, y1 + fold)}),
           QColor(0xd3, 0xdb, 0xe6), ink::paperEdge);
    const double step = (y2 - y1 - fold - 1) / (lines + 1);
    for (int i = 0; i < lines; ++i) {
        const double y = std::round(y1 + fold + 1 + step * (i + 0.5));
        const double right = (i % 2) ? x2 - 3 : x2 - 1;
        a.bar(x1 + 2, right, y, lineColour);
    }
}

// A capital A on a baseline at y, h high, left edge at x.
QPainterPath letterA(const Art &a, double x, double y, double h)
{
    const double w = h * 0.9;
    const double stem = h * 0.22;
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill);
    path.moveTo(a.Q(x, y));
    path.lineTo(a.Q(x + w * 0.5 - stem * 0.7, y - h));
    path.lineTo(a.Q(x + w * 0.5 + stem * 0.7, y - h));
    path.lineTo(a.Q(x + w, y));
    path.lineTo(a.Q(x + w - stem, y));
    path.lineTo(a.Q(x + w * 0.72, y - h * 0.26));
    path.lineTo(a.Q(x + w * 0.28, y - h * 0.26));
    path.lineTo(a.Q(x + stem, y));
    path.closeSubpath();
    path.moveTo(a.Q(x + w * 0.34, y - h * 0.43));
    path.lineTo(a.Q(x + w * 0.5, y - h * 0.84));
    path.lineTo(a.Q(x + w * 0.66, y - h * 0.43));
    path.closeSubpath();
    return path;
}

QPainterPath star(const Art &a, double cx, double cy, double outer, double inner, int points)
{
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2) ? inner : outer;
        const double t = std::numbers::pi * i / points - std::numbers::pi / 2;
        const QPointF pt = a.Q(cx + r * std::cos(t), cy + r * std::sin(t));
        if (i == 0)
            path.moveTo(pt);
        else
            path.lineTo(pt);
    }
    path.closeSubpath();
    return path;
}

// A pencil from its end (x1, y1) to its point (x2, y2).
void pencil(Art &a, double x1, double y1, double x2, double y2, double width)
{
    const double len = std::hypot(x2 - x1, y2 - y1);
    QPainter &p = a.p();
    p.save();
    p.translate(a.Q(x1, y1));
    p.rotate(std::atan2(y2 - y1, x2 - x1) * 180 / std::numbers::pi);
    const double k = a.k(), hw = width / 2;
    auto rect = [&](double from, double to) {
        QPainterPath r;
        r.addRect(QRectF(QPointF(from * k, -hw * k), QPointF(to * k, hw * k)));
        return r;
    };
    const double e = len * 0.16, b = len * 0.72;
    a.fill(rect(0, e), QColor(0xf0, 0x8f, 0x9a));
    a.fill(rect(e, b), ink::gold, QColor(0xb0, 0x7e, 0x10));
    QPainterPath cone;
    cone.moveTo(b * k, -hw * k);
    cone.lineTo(len * k, 0);
    cone.lineTo(b * k, hw * k);
    cone.closeSubpath();
    a.flat(cone, QColor(0xf3, 0xd9, 0xb0), QColor(0x9a, 0x76, 0x4c));
    QPainterPath point;
    const double t = len - (len - b) * 0.36;
    point.moveTo(t * k, -hw * 0.36 * k);
    point.lineTo(len * k, 0);
    point.lineTo(t * k, hw * 0.36 * k);
    point.closeSubpath();
    a.flat(point, ink::dark, ink::dark);
    p.restore();
}

// A speech bubble from grid edge (x1, y1) to (x2, y2), tail below at tailX.
QPainterPath bubble(const Art &a, double x1, double y1, double x2, double y2, double tailX,
                    double tailLen, bool tailRight)
{
    QPainterPath body = a.rounded(x1, y1, x2, y2, 3);
    const double d = tailRight ? 1 : -1;
    const QPainterPath tail = a.poly({a.Q(tailX - 2.5 * d, y2 - 2), a.Q(tailX + 2.5 * d + 1.5 * d, y2 + tailLen),
                                      a.Q(tailX + 2.5 * d, y2 - 2)});
    return body.united(tail).simplified();
}

void bubbleLines(Art &a, double x1, double y1, double x2, double y2)
{
    const QColor white(255, 255, 255, 235);
    const double mid = std::round((y1 + y2) / 2);
    a.bar(x1 + 3, x2 - 3, mid - 2, white);
    a.bar(x1 + 3, x2 - 6, mid + 1, white);
}

// ---- edit glyphs (24 x 24 grid, shown at 20 and 24) ---------------------

void cutGlyph(Art &a)
{
    QPainterPath blades = a.strokePath(a.segment(8, 2.5, 14.6, 14.5), 2.6)
                              .united(a.strokePath(a.segment(16, 2.5, 9.4, 14.5), 2.6));
    a.fill(blades.simplified(), ink::steel, QColor(0x5d, 0x68, 0x78));
    a.flat(a.circle(12, 11.6, 1.0), ink::dark, ink::dark);
    for (double cx : {7.6, 16.4}) {
        QPainterPath ring;
        ring.setFillRule(Qt::OddEvenFill);
        ring.addEllipse(a.Q(cx, 18.4), 4.0 * a.k(), 4.0 * a.k());
        ring.addEllipse(a.Q(cx, 18.4), 2.0 * a.k(), 2.0 * a.k());
        a.fill(ring, ink::red);
    }
}

void copyGlyph(Art &a)
{
    page(a, 2, 1, 14, 16, 4, 3);
    page(a, 9, 7, 21, 22, 4, 3);
}

void pasteGlyph(Art &a)
{
    a.box(2, 3, 18, 23, ink::wood, 2);
    a.box(6, 1, 14, 6, ink::steel, 1);
    page(a, 9, 8, 21, 22, 4, 3);
}

void deleteGlyph(Art &a)
{
    const QPainterPath x = a.strokePath(a.segment(6, 6, 18, 18), 4.4)
                               .united(a.strokePath(a.segment(18, 6, 6, 18), 4.4));
    a.fill(x.simplified(), ink::red);
}

void selectAllGlyph(Art &a)
{
    const QRectF r = a.R(2, 3, 22, 21);
    a.p().fillRect(r, QColor(0xcd, 0xdf, 0xf8));
    QPen dash(ink::blue, std::max(1.0, std::round(a.k())), Qt::CustomDashLine);
    dash.setDashPattern({2, 2});
    a.p().setPen(dash);
    a.p().setBrush(Qt::NoBrush);
    a.p().drawRect(r);
    a.bar(5, 19, 7, ink::navy, 2);
    a.bar(5, 15, 11, ink::navy, 2);
    a.bar(5, 18, 15, ink::navy, 2);
}

} // namespace vomra::artwork
