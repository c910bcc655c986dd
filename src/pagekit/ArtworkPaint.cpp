#include "pagekit/ArtworkPaint.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPainterPathStroker>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <functional>
#include <initializer_list>
#include <numbers>

namespace vomra::artwork {

namespace {

// One palette for every picture, so the set reads as one family.
namespace ink {
const QColor blue(0x3b, 0x7d, 0xd8);
const QColor navy(0x2c, 0x4a, 0x82);
const QColor amber(0xf3, 0xb8, 0x3c);
const QColor green(0x3a, 0xa6, 0x5b);
const QColor red(0xdf, 0x4b, 0x45);
const QColor purple(0x84, 0x5e, 0xd6);
const QColor teal(0x1f, 0xa3, 0xa5);
const QColor orange(0xf2, 0x8c, 0x28);
const QColor gold(0xf7, 0xc8, 0x2e);
const QColor paper(0xf1, 0xf4, 0xf9);
const QColor paperEdge(0x7a, 0x86, 0x98);
const QColor textLine(0x8f, 0xa6, 0xc4);
const QColor steel(0xb4, 0xbd, 0xc9);
const QColor wood(0xc2, 0x86, 0x4e);
const QColor dark(0x3d, 0x44, 0x52);
const QColor sky(0x9c, 0xd2, 0xf4);
} // namespace ink

QImage blank(int w, int h)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    return img;
}

// Drawing on a design grid scaled to the picture: the same glyph serves 20 and
// 24 pixel cells. Outlines run through pixel centres so they stay crisp.
class Art {
public:
    Art(QImage &img, double grid)
        : m_p(&img), m_k(img.width() / grid), m_w(std::max(1.0, std::round(img.width() / grid)))
    {
        m_p.setRenderHint(QPainter::Antialiasing);
    }

    QPainter &p() { return m_p; }
    double k() const { return m_k; }
    double u(double v) const { return std::round(v * m_k); }
    // A pixel on the grid, at its centre: for outlines.
    QPointF P(double x, double y) const { return {u(x) + m_w / 2, u(y) + m_w / 2}; }
    // A point on the grid without snapping: for curves.
    QPointF Q(double x, double y) const { return {x * m_k, y * m_k}; }
    // The box between grid edges, inset by half an outline.
    QRectF R(double x1, double y1, double x2, double y2) const
    {
        return {QPointF(u(x1) + m_w / 2, u(y1) + m_w / 2), QPointF(u(x2) - m_w / 2, u(y2) - m_w / 2)};
    }

    QPainterPath poly(std::initializer_list<QPointF> pts) const
    {
        QPainterPath path;
        bool first = true;
        for (const QPointF &pt : pts) {
            if (first)
                path.moveTo(pt);
            else
                path.lineTo(pt);
            first = false;
        }
        path.closeSubpath();
        return path;
    }
    QPainterPath rounded(double x1, double y1, double x2, double y2, double r) const
    {
        QPainterPath path;
        path.addRoundedRect(R(x1, y1, x2, y2), r * m_k, r * m_k);
        return path;
    }
    QPainterPath circle(double cx, double cy, double r) const
    {
        QPainterPath path;
        path.addEllipse(Q(cx, cy), r * m_k, r * m_k);
        return path;
    }

    // Top-lit fill with an outline a shade darker than the colour.
    void fill(const QPainterPath &path, const QColor &base, const QColor &edge = QColor())
    {
        const QRectF b = path.boundingRect();
        QLinearGradient g(b.topLeft(), b.bottomLeft());
        g.setColorAt(0, base.lighter(130));
        g.setColorAt(1, base);
        fillWith(path, QBrush(g), edge.isValid() ? edge : base.darker(165));
    }
    void flat(const QPainterPath &path, const QColor &base, const QColor &edge = QColor())
    {
        fillWith(path, QBrush(base), edge.isValid() ? edge : base.darker(165));
    }
    void fillWith(const QPainterPath &path, const QBrush &brush, const QColor &edge)
    {
        m_p.setBrush(brush);
        m_p.setPen(edge.alpha() ? QPen(edge, m_w, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin)
                                : QPen(Qt::NoPen));
        m_p.drawPath(path);
    }
    void box(double x1, double y1, double x2, double y2, const QColor &base, double r = 0)
    {
        fill(r > 0 ? rounded(x1, y1, x2, y2, r) : rectPath(x1, y1, x2, y2), base);
    }
    QPainterPath rectPath(double x1, double y1, double x2, double y2) const
    {
        QPainterPath path;
        path.addRect(R(x1, y1, x2, y2));
        return path;
    }
    // A run of whole pixels from grid x1 to x2 at grid row y: text lines.
    void bar(double x1, double x2, double y, const QColor &c, double height = 1)
    {
        m_p.fillRect(QRectF(u(x1), u(y), u(x2) - u(x1), std::max(1.0, std::round(height * m_k))), c);
    }
    // A thick line drawn as an outlined shape, like every other shape.
    QPainterPath strokePath(const QPainterPath &centre, double width,
                            Qt::PenCapStyle cap = Qt::RoundCap) const
    {
        QPainterPathStroker s;
        s.setWidth(width * m_k);
        s.setCapStyle(cap);
        s.setJoinStyle(Qt::RoundJoin);
        return s.createStroke(centre).simplified();
    }
    QPainterPath segment(double x1, double y1, double x2, double y2) const
    {
        QPainterPath path(Q(x1, y1));
        path.lineTo(Q(x2, y2));
        return path;
    }
    // A pen line through pixel centres.
    void line(double x1, double y1, double x2, double y2, const QColor &c, double width = 1)
    {
        m_p.setPen(QPen(c, std::max(1.0, width * m_k), Qt::SolidLine, Qt::FlatCap));
        m_p.drawLine(P(x1, y1), P(x2, y2));
    }

private:
    QPainter m_p;
    double m_k;
    double m_w;
};

using Glyph = std::function<void(Art &)>;

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
          const QColor &lineColour = ink::textLine)
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

// ---- tree nodes and menu icons (20 x 20 grid) ---------------------------

void folderClosed(Art &a)
{
    a.fill(a.poly({a.P(1, 3), a.P(7, 3), a.P(9, 5), a.P(18, 5), a.P(18, 9), a.P(1, 9)}),
           ink::amber.darker(112));
    a.fill(a.poly({a.P(1, 7), a.P(18, 7), a.P(18, 16), a.P(1, 16)}), ink::amber);
    a.bar(2, 18, 8, QColor(255, 255, 255, 120));
}

void folderOpen(Art &a)
{
    a.fill(a.poly({a.P(1, 3), a.P(7, 3), a.P(9, 5), a.P(16, 5), a.P(16, 16), a.P(1, 16)}),
           ink::amber.darker(118));
    a.fill(a.poly({a.P(3, 6), a.P(14, 6), a.P(14, 14), a.P(3, 14)}), ink::paper, ink::paperEdge);
    a.bar(5, 13, 8, ink::textLine);
    a.fill(a.poly({a.P(4, 9), a.P(19, 9), a.P(16, 16), a.P(1, 16)}), ink::amber);
}

void recipeFile(Art &a)
{
    page(a, 3, 1, 16, 18, 4, 3, ink::blue.lighter(125));
}

void bookClosed(Art &a)
{
    a.box(3, 1, 17, 19, ink::green, 1);
    a.fill(a.poly({a.P(3, 1), a.P(5, 1), a.P(5, 18), a.P(3, 18)}), ink::green.darker(125));
    a.flat(a.rectPath(8, 4, 15, 8), QColor(255, 255, 255, 230), ink::green.darker(150));
    a.bar(7, 16, 16, QColor(255, 255, 255, 110));
}

void bookOpen(Art &a)
{
    a.fill(a.poly({a.P(0, 6), a.P(9, 8), a.P(10, 8), a.P(19, 6), a.P(19, 16), a.P(10, 18),
                   a.P(9, 18), a.P(0, 16)}),
           ink::green);
    a.fill(a.poly({a.P(1, 3), a.P(9, 5), a.P(9, 16), a.P(1, 14)}), ink::paper, ink::paperEdge);
    a.fill(a.poly({a.P(10, 5), a.P(18, 3), a.P(18, 14), a.P(10, 16)}), ink::paper, ink::paperEdge);
    for (int i = 0; i < 3; ++i) {
        a.line(3, 7 + 3 * i, 7, 8 + 3 * i, ink::textLine);
        a.line(12, 8 + 3 * i, 16, 7 + 3 * i, ink::textLine);
    }
}

void chatItem(Art &a)
{
    const QPainterPath b = bubble(a, 2, 3, 18, 14, 6, 4, false);
    a.fill(b, ink::teal);
    a.bar(5, 15, 6, QColor(255, 255, 255, 235));
    a.bar(5, 12, 9, QColor(255, 255, 255, 235));
}

void artFontIcon(Art &a)
{
    a.fill(letterA(a, 1.5, 18.5, 16.5), ink::purple);
    a.fill(star(a, 16, 4.5, 3.6, 1.3, 4), ink::orange);
}

void pictureIcon(Art &a, double x1, double y1, double x2, double y2)
{
    a.box(x1, y1, x2, y2, ink::wood, 1);
    const QRectF inner = a.R(x1 + 2, y1 + 2, x2 - 2, y2 - 2).adjusted(-0.5, -0.5, 0.5, 0.5);
    QPainter &p = a.p();
    p.save();
    p.setClipRect(inner);
    QLinearGradient g(inner.topLeft(), inner.bottomLeft());
    g.setColorAt(0, ink::sky.lighter(112));
    g.setColorAt(1, ink::sky.darker(105));
    p.fillRect(inner, g);
    const double w = x2 - x1, h = y2 - y1;
    a.flat(a.circle(x1 + w * 0.68, y1 + h * 0.36, w * 0.1), ink::gold, ink::gold.darker(130));
    QPainterPath hills(a.Q(x1, y2));
    hills.lineTo(a.Q(x1 + w * 0.34, y1 + h * 0.48));
    hills.lineTo(a.Q(x1 + w * 0.55, y1 + h * 0.72));
    hills.lineTo(a.Q(x1 + w * 0.72, y1 + h * 0.58));
    hills.lineTo(a.Q(x2, y2));
    hills.closeSubpath();
    a.fill(hills, ink::green);
    p.restore();
}

void pictureGrinderIcon(Art &a) { pictureIcon(a, 1, 3, 19, 17); }

void drawingBoardIcon(Art &a)
{
    a.box(1, 2, 16, 18, QColor(0xfa, 0xfb, 0xfd));
    const QColor grid(0xa9, 0xc4, 0xe6);
    for (int i = 5; i < 16; i += 4)
        a.bar(i, i + 1, 3, grid, 14);
    for (int j = 6; j < 17; j += 4)
        a.bar(2, 15, j, grid);
    a.bar(6, 10, 7, ink::blue.lighter(110), 3);
    a.bar(10, 13, 11, ink::red, 3);
    pencil(a, 18.2, 2.6, 7.5, 15.4, 4.2);
}

void themesIcon(Art &a)
{
    QPainterPath pal;
    pal.setFillRule(Qt::OddEvenFill);
    pal.addEllipse(a.Q(10, 10.3), 8.6 * a.k(), 7.2 * a.k());
    pal.addEllipse(a.Q(6.3, 13), 1.9 * a.k(), 1.9 * a.k());
    a.fill(pal, QColor(0xef, 0xd2, 0x9c), QColor(0xa8, 0x80, 0x45));
    a.flat(a.circle(6, 8, 1.7), ink::red);
    a.flat(a.circle(10.2, 6, 1.7), ink::gold);
    a.flat(a.circle(14.4, 8, 1.7), ink::green);
    a.flat(a.circle(14, 12.6, 1.7), ink::blue);
}

void aboutIcon(Art &a)
{
    a.fill(a.circle(10, 10, 8.5), ink::blue);
    a.flat(a.circle(10, 5.8, 1.5), Qt::white, QColor(0, 0, 0, 0));
    a.flat(a.rectPath(9, 8, 11, 15), Qt::white, QColor(0, 0, 0, 0));
}

void helpIcon(Art &a)
{
    a.fill(a.circle(10, 10, 8.5), ink::green);
    QPainterPath q(a.Q(7, 7.5));
    q.cubicTo(a.Q(7, 3.8), a.Q(13.2, 3.8), a.Q(13.2, 7.3));
    q.cubicTo(a.Q(13.2, 9.6), a.Q(10, 9.6), a.Q(10, 12));
    QPainter &p = a.p();
    p.setPen(QPen(Qt::white, 2.1 * a.k(), Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(q);
    a.flat(a.circle(10, 14.8, 1.35), Qt::white, QColor(0, 0, 0, 0));
}

void exitIcon(Art &a)
{
    a.fill(a.poly({a.P(2, 1), a.P(12, 1), a.P(12, 18), a.P(2, 18)}), ink::dark);
    a.fill(a.poly({a.P(2, 1), a.P(8, 3), a.P(8, 19), a.P(2, 18)}), ink::wood);
    a.flat(a.circle(7, 10.5, 0.9), ink::gold, ink::gold.darker(150));
    QPainterPath arrow = a.poly({a.P(10, 8), a.P(14, 8), a.P(14, 5), a.P(19, 10), a.P(14, 15),
                                 a.P(14, 12), a.P(10, 12)});
    a.fill(arrow, ink::green);
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

// ---- tool glyphs (24 x 24 grid) ------------------------------------------

void saveGlyph(Art &a)
{
    a.box(2, 2, 22, 22, ink::blue, 2);
    a.box(6, 2, 18, 10, ink::steel);
    a.flat(a.rectPath(13, 4, 16, 9), ink::dark, ink::dark);
    a.box(5, 13, 19, 22, ink::paper);
    a.bar(7, 17, 16, ink::textLine);
    a.bar(7, 15, 19, ink::textLine);
}

QPainterPath arrowUpDown(const Art &a, double cx, double top, double bottom, bool down)
{
    const double head = 5;
    if (down)
        return a.poly({a.P(cx - 1, top), a.P(cx + 1, top), a.P(cx + 1, bottom - head),
                       a.P(cx + 4, bottom - head), a.P(cx, bottom), a.P(cx - 4, bottom - head),
                       a.P(cx - 1, bottom - head)});
    return a.poly({a.P(cx - 1, bottom), a.P(cx + 1, bottom), a.P(cx + 1, top + head),
                   a.P(cx + 4, top + head), a.P(cx, top), a.P(cx - 4, top + head),
                   a.P(cx - 1, top + head)});
}

void fontSmallerGlyph(Art &a)
{
    a.fill(letterA(a, 1, 21.5, 13), ink::navy);
    a.fill(arrowUpDown(a, 18, 3, 13, true), ink::red);
}

void fontLargerGlyph(Art &a)
{
    a.fill(letterA(a, 0.5, 21.5, 19), ink::navy);
    a.fill(arrowUpDown(a, 19, 2, 12, false), ink::green);
}

void undoGlyph(Art &a)
{
    QPainterPath shaft(a.Q(18.5, 20));
    shaft.cubicTo(a.Q(22, 13), a.Q(17, 7.6), a.Q(9, 8.2));
    const QPainterPath body = a.strokePath(shaft, 3.4, Qt::FlatCap)
                                  .united(a.poly({a.Q(3, 8.4), a.Q(10.5, 2.4), a.Q(10.5, 14.4)}));
    a.fill(body.simplified(), ink::blue);
}

void makeGlyph(Art &a)
{
    a.fill(a.strokePath(a.segment(4, 20.5, 13.5, 11), 3.2, Qt::FlatCap), ink::dark);
    a.fill(a.strokePath(a.segment(12, 12.5, 14.6, 9.9), 3.2, Qt::FlatCap), Qt::white, ink::dark);
    a.fill(star(a, 17.2, 6.6, 5.8, 2.5, 5), ink::gold, QColor(0xb8, 0x80, 0x10));
    a.fill(star(a, 7, 5.5, 2.6, 0.9, 4), ink::orange);
    a.fill(star(a, 20, 16, 2.4, 0.8, 4), ink::blue.lighter(120));
}

void trimLeftGlyph(Art &a)
{
    a.box(2, 2, 5, 22, ink::navy);
    a.bar(7, 21, 4, ink::dark, 2);
    a.bar(7, 16, 8, ink::dark, 2);
    a.bar(7, 19, 12, ink::dark, 2);
    a.fill(a.poly({a.P(6, 18), a.P(11, 14), a.P(11, 17), a.P(21, 17), a.P(21, 19), a.P(11, 19),
                   a.P(11, 22)}),
           ink::blue);
}

void clearGlyph(Art &a)
{
    QPainter &p = a.p();
    a.bar(3, 21, 21, QColor(0x9a, 0xa4, 0xb2), 1);
    p.save();
    p.translate(a.Q(4.5, 15.2));
    p.rotate(-38);
    const double k = a.k();
    QPainterPath front, back;
    front.addRoundedRect(QRectF(0, 0, 7 * k, 8 * k), 1 * k, 1 * k);
    back.addRoundedRect(QRectF(6 * k, 0, 11 * k, 8 * k), 1 * k, 1 * k);
    a.fill(back, ink::blue);
    a.fill(front, QColor(0xf2, 0x8a, 0x9a));
    p.restore();
}

// The clipboard badge of the paste-into tools, lower left.
void clipBadge(Art &a)
{
    a.box(1, 11, 11, 23, ink::wood, 1);
    a.box(3.5, 9.5, 8.5, 13, ink::steel);
    a.fill(a.poly({a.P(3, 14), a.P(9, 14), a.P(9, 21), a.P(3, 21)}), ink::paper, ink::paperEdge);
    a.bar(4, 8, 16, ink::textLine);
    a.bar(4, 7, 18, ink::textLine);
}

// The send badge, lower right: a paper dart.
void sendBadge(Art &a)
{
    a.fill(a.poly({a.Q(12.5, 19), a.Q(23.5, 14.5), a.Q(19.5, 23.5), a.Q(17.2, 20.6)}), ink::orange);
    a.line(17, 20, 22, 15, ink::orange.darker(150));
}

void sendWindowGlyph(Art &a, bool send)
{
    a.fill(bubble(a, 5, 1, 23, 14, 15, 4, false), ink::blue);
    bubbleLines(a, 5, 1, 23, 14);
    clipBadge(a);
    if (send)
        sendBadge(a);
}

void dialogWindowGlyph(Art &a, bool send)
{
    a.fill(bubble(a, 10, 0, 23, 9, 19, 3, true), ink::green);
    a.fill(bubble(a, 4, 5, 19, 15, 8, 4, false), ink::blue);
    bubbleLines(a, 4, 5, 19, 15);
    clipBadge(a);
    if (send)
        sendBadge(a);
}

// ---- 48 x 48 ---------------------------------------------------------------

void themeLarge(Art &a)
{
    a.box(3, 5, 44, 41, QColor(0xf4, 0xf6, 0xfa), 3);
    QPainterPath title;
    title.addRoundedRect(a.R(3, 5, 44, 14), 3 * a.k(), 3 * a.k());
    title.addRect(a.R(3, 10, 44, 14));
    QLinearGradient g(a.Q(3, 0), a.Q(44, 0));
    g.setColorAt(0, ink::purple);
    g.setColorAt(1, ink::teal);
    a.fillWith(title.simplified(), QBrush(g), ink::navy);
    for (double x : {31.5, 35.5, 39.5})
        a.flat(a.circle(x, 9.8, 1.4), QColor(255, 255, 255, 220), QColor(0, 0, 0, 0));
    a.box(8, 18, 16, 26, ink::red, 1);
    a.box(19, 18, 27, 26, ink::gold, 1);
    a.box(30, 18, 38, 26, ink::green, 1);
    a.bar(8, 29, 30, ink::textLine, 2);
    a.bar(8, 24, 34, ink::textLine, 2);
    // a brush leaning on the corner
    QPainter &p = a.p();
    p.save();
    p.translate(a.Q(45.5, 24));
    p.rotate(130);
    const double k = a.k();
    QPainterPath handle, ferrule, tip;
    handle.addRoundedRect(QRectF(0, -2.2 * k, 13 * k, 4.4 * k), 2 * k, 2 * k);
    ferrule.addRect(QRectF(12 * k, -2.8 * k, 5 * k, 5.6 * k));
    tip.moveTo(17 * k, -3 * k);
    tip.cubicTo(21 * k, -3.6 * k, 25 * k, -1 * k, 27 * k, 0);
    tip.cubicTo(25 * k, 1 * k, 21 * k, 3.6 * k, 17 * k, 3 * k);
    tip.closeSubpath();
    a.fill(handle, ink::wood);
    a.fill(ferrule, ink::steel);
    a.fill(tip, ink::purple);
    p.restore();
}

void toolsLarge(Art &a)
{
    page(a, 5, 3, 37, 44, 8, 0);
    static const char *heart[] = {".XX.XX.", "XXXXXXX", "XXXXXXX", ".XXXXX.", "..XXX..", "...X..."};
    for (int r = 0; r < 6; ++r)
        for (int c = 0; c < 7; ++c)
            if (heart[r][c] == 'X')
                a.box(8 + 4 * c, 16 + 4 * r, 11 + 4 * c, 19 + 4 * r, r < 2 ? ink::red.lighter(110) : ink::red);
    a.bar(9, 33, 12, ink::textLine, 1);
    a.bar(9, 25, 9, ink::textLine, 1);
    pencil(a, 45, 7, 27, 41, 6.4);
}

void recipeLarge(Art &a)
{
    a.fill(a.poly({a.P(1, 20), a.P(23, 24), a.P(24, 24), a.P(46, 20), a.P(46, 41), a.P(24, 46),
                   a.P(23, 46), a.P(1, 41)}),
           ink::green);
    a.fill(a.poly({a.P(3, 16), a.P(23, 20), a.P(23, 43), a.P(3, 39)}), ink::paper, ink::paperEdge);
    a.fill(a.poly({a.P(24, 20), a.P(44, 16), a.P(44, 39), a.P(24, 43)}), ink::paper, ink::paperEdge);
    for (int i = 0; i < 5; ++i) {
        a.line(6, 22 + 3.5 * i, 20, 25 + 3.5 * i, ink::textLine);
        if (i < 4)
            a.line(27, 25 + 3.5 * i, 41, 22 + 3.5 * i, ink::textLine);
    }
    a.fill(bubble(a, 17, 1, 45, 16, 25, 6, false), ink::blue);
    a.bar(22, 40, 6, QColor(255, 255, 255, 235), 2);
    a.bar(22, 34, 10, QColor(255, 255, 255, 235), 2);
}

// ---- tool states -----------------------------------------------------------

QImage lightened(const QImage &src, int percent)
{
    QImage out = src.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = row[x];
            const int al = qAlpha(p);
            auto lift = [&](int c) { return c + (al - c) * percent / 100; };
            row[x] = qRgba(lift(qRed(p)), lift(qGreen(p)), lift(qBlue(p)), al);
        }
    }
    return out;
}

// A glyph on a rounded plate with a one-pixel outline, moved `shift` pixels down and right.
QImage onPlate(const QImage &glyph, const QColor &edge, const QColor &face, int shift)
{
    const int s = glyph.width();
    QImage out = blank(s, s);
    {
        QPainter p(&out);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(edge, 1));
        p.setBrush(face);
        p.drawRoundedRect(QRectF(0.5, 0.5, s - 1, s - 1), 3, 3);
        p.drawImage(shift, shift, glyph);
    }
    return out;
}

// Mouse over: a light plate behind a brighter glyph. Pressed: a darker plate and
// the glyph one pixel down and right, as if pushed in.
QList<QImage> toolStates(const QImage &glyph)
{
    return {glyph,
            onPlate(lightened(glyph, 12), QColor(0x5b, 0x8f, 0xd6, 200), QColor(255, 255, 255, 150), 0),
            onPlate(glyph, QColor(0x2c, 0x4a, 0x82, 170), QColor(0x2c, 0x4a, 0x82, 45), 1)};
}

// The grey form of an edit-menu picture (shown while its item is disabled).
QImage greyPicture(const QImage &image)
{
    QImage out = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < out.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb p = row[x];
            const int gray = (qRed(p) * 77 + qGreen(p) * 151 + qBlue(p) * 28) >> 8;
            const int g = 72 + gray * 166 / 255;
            row[x] = qRgba(g, g, g, qAlpha(p));
        }
    }
    return out.convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

} // namespace

QList<QImage> paintSmallImages()
{
    QList<QImage> list;
    for (const Glyph &g : std::initializer_list<Glyph>{folderClosed, folderOpen, recipeFile, bookClosed,
                                                       bookOpen, chatItem, artFontIcon, pictureGrinderIcon,
                                                       drawingBoardIcon, themesIcon, aboutIcon, helpIcon,
                                                       exitIcon})
        list.append(render(20, 20, g));
    for (const Glyph &g : std::initializer_list<Glyph>{cutGlyph, copyGlyph, pasteGlyph, deleteGlyph,
                                                       selectAllGlyph}) {
        const QImage coloured = render(20, 24, g);
        list.append(greyPicture(coloured));
        list.append(coloured);
    }
    return list;
}

QList<QImage> paintLargeImages()
{
    return {render(48, 48, themeLarge), render(48, 48, toolsLarge), render(48, 48, recipeLarge)};
}

QList<QImage> paintToolImages()
{
    const QImage trimLeft = render(24, 24, trimLeftGlyph);
    const QList<QImage> glyphs = {
        render(24, 24, saveGlyph),
        render(24, 24, fontSmallerGlyph),
        render(24, 24, fontLargerGlyph),
        render(24, 24, cutGlyph),
        render(24, 24, copyGlyph),
        render(24, 24, pasteGlyph),
        render(24, 24, undoGlyph),
        render(24, 24, makeGlyph),
        trimLeft,
        trimLeft.mirrored(true, false),
        render(24, 24, clearGlyph),
        render(24, 24, [](Art &a) { sendWindowGlyph(a, false); }),
        render(24, 24, [](Art &a) { dialogWindowGlyph(a, false); }),
        render(24, 24, [](Art &a) { sendWindowGlyph(a, true); }),
        render(24, 24, [](Art &a) { dialogWindowGlyph(a, true); }),
    };
    QList<QImage> list;
    for (const QImage &g : glyphs)
        list.append(toolStates(g));
    return list;
}

QImage paintAppIcon(int size)
{
    return render(size, 48, [size](Art &a) {
        QPainterPath tile = a.rounded(2, 2, 46, 46, 10);
        QLinearGradient g(a.Q(2, 2), a.Q(46, 46));
        g.setColorAt(0, QColor(0x74, 0x58, 0xe0));
        g.setColorAt(1, QColor(0x16, 0xa6, 0xc8));
        a.fillWith(tile, QBrush(g), QColor(0x3a, 0x3a, 0x8a));
        QLinearGradient gloss(a.Q(0, 2), a.Q(0, 26));
        gloss.setColorAt(0, QColor(255, 255, 255, 70));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        a.fillWith(tile, QBrush(gloss), QColor(0, 0, 0, 0));
        QPainterPath b = a.rounded(8, 9, 40, 33, 7).united(
            a.poly({a.Q(13, 31), a.Q(11, 41), a.Q(22, 31)}));
        a.fillWith(b.simplified(), QBrush(Qt::white), QColor(0x2e, 0x3a, 0x7a, 120));
        if (size >= 24) {
            static const char *vee[] = {"X...X", "X...X", ".X.X.", "..X.."};
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 5; ++c)
                    if (vee[r][c] == 'X') {
                        QPainterPath cell;
                        QRectF r0(a.Q(14 + 4 * c, 13 + 4.5 * r), a.Q(17.5 + 4 * c, 16.5 + 4.5 * r));
                        if (size <= 64) // whole pixels, or the dots blur at caption size
                            r0 = QRectF(std::round(r0.left()), std::round(r0.top()),
                                        std::max(1.0, std::round(r0.width())), std::max(1.0, std::round(r0.height())));
                        cell.addRoundedRect(r0, 0.6 * a.k(), 0.6 * a.k());
                        a.fillWith(cell, QBrush(QColor(0x5e, 0x4b, 0xd0)), QColor(0, 0, 0, 0));
                    }
        } else {
            // too small for dots: a V drawn pixel by pixel, two pixels thick
            static const char *vee[] = {"XX..XX", "XX..XX", ".XXXX.", "..XX.."};
            const int px = std::max(1, size / 16);
            const int x0 = size / 2 - 3 * px, y0 = static_cast<int>(std::round(a.k() * 15));
            for (int r = 0; r < 4; ++r)
                for (int c = 0; c < 6; ++c)
                    if (vee[r][c] == 'X')
                        a.p().fillRect(x0 + c * px, y0 + r * px, px, px, QColor(0x5e, 0x4b, 0xd0));
        }
    });
}

QImage paintSplash()
{
    constexpr int W = 400, H = 240, band = 192;
    QImage img(W, H, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    QLinearGradient sky(0, 0, W, band);
    sky.setColorAt(0, QColor(0x2a, 0x22, 0x6e));
    sky.setColorAt(0.55, QColor(0x3a, 0x4c, 0xa8));
    sky.setColorAt(1, QColor(0x14, 0x8c, 0xb0));
    p.fillRect(0, 0, W, band, sky);

    // soft rings of light
    auto glow = [&](QPointF c, double r, int alpha) {
        QRadialGradient g(c, r);
        g.setColorAt(0, QColor(255, 255, 255, alpha));
        g.setColorAt(1, QColor(255, 255, 255, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(g);
        p.drawEllipse(c, r, r);
    };
    glow(QPointF(340, 70), 150, 46);
    glow(QPointF(40, 180), 90, 26);
    p.setBrush(Qt::NoBrush);
    for (int i = 0; i < 5; ++i) {
        p.setPen(QPen(QColor(255, 255, 255, 22 + 6 * i), 1.2));
        p.drawEllipse(QPointF(360, 150), 40.0 + 22 * i, 40.0 + 22 * i);
    }

    // a patch of character art: the program's trade, in light
    static const char *heart[] = {".XX...XX.", "XXXX.XXXX", "XXXXXXXXX", "XXXXXXXXX",
                                  ".XXXXXXX.", "..XXXXX..", "...XXX...", "....X...."};
    QFont cells(QStringLiteral("AR PL UMing CN"));
    cells.setPixelSize(11);
    p.setFont(cells);
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 9; ++c) {
            const bool on = heart[r][c] == 'X';
            p.setPen(on ? QColor(255, 214, 230, 235) : QColor(255, 255, 255, 50));
            p.drawText(QRectF(304 + 10.5 * c, 26 + 13 * r, 10.5, 13), Qt::AlignCenter,
                       on ? QStringLiteral("爱") : QStringLiteral("·"));
        }

    p.drawImage(QRectF(22, 42, 64, 64), paintAppIcon(128));

    QFont title(QStringLiteral("DejaVu Sans"));
    title.setPixelSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(QPointF(98, 83), QStringLiteral("Vomra 2003"));
    p.setPen(Qt::white);
    p.drawText(QPointF(96, 81), QStringLiteral("Vomra 2003"));

    QFont sub(QStringLiteral("DejaVu Sans"));
    sub.setPixelSize(14);
    p.setFont(sub);
    p.setPen(QColor(0xd6, 0xe4, 0xff));
    p.drawText(QPointF(99, 104), QStringLiteral("v2.0"));
    QFont cn(QStringLiteral("AR PL UMing CN"));
    cn.setPixelSize(14);
    p.setFont(cn);
    p.setPen(QColor(0xe8, 0xf0, 0xff));
    p.drawText(QPointF(24, 164), QStringLiteral("艺术字体 · 图片磨牙 · 文本画板 · 聊天秘笈"));

    // the light band at the foot carries the two dark link labels
    QLinearGradient foot(0, band, 0, H);
    foot.setColorAt(0, QColor(0xfb, 0xfc, 0xfe));
    foot.setColorAt(1, QColor(0xe2, 0xea, 0xf4));
    p.fillRect(0, band, W, H - band, foot);
    QLinearGradient rule(0, 0, W, 0);
    rule.setColorAt(0, QColor(0x74, 0x58, 0xe0));
    rule.setColorAt(1, QColor(0x16, 0xa6, 0xc8));
    p.fillRect(0, band, W, 3, rule);
    return img;
}

} // namespace vomra::artwork
