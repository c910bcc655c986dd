#pragma once
// What every picture of the program is drawn with: one palette, a drawing grid
// scaled to the picture, and the shapes several pictures share.

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

// One palette for every picture, so the set reads as one family.
namespace ink {
inline const QColor blue(0x3b, 0x7d, 0xd8);
inline const QColor navy(0x2c, 0x4a, 0x82);
inline const QColor amber(0xf3, 0xb8, 0x3c);
inline const QColor green(0x3a, 0xa6, 0x5b);
inline const QColor red(0xdf, 0x4b, 0x45);
inline const QColor purple(0x84, 0x5e, 0xd6);
inline const QColor teal(0x1f, 0xa3, 0xa5);
inline const QColor orange(0xf2, 0x8c, 0x28);
inline const QColor gold(0xf7, 0xc8, 0x2e);
inline const QColor paper(0xf1, 0xf4, 0xf9);
inline const QColor paperEdge(0x7a, 0x86, 0x98);
inline const QColor textLine(0x8f, 0xa6, 0xc4);
inline const QColor steel(0xb4, 0xbd, 0xc9);
inline const QColor wood(0xc2, 0x86, 0x4e);
inline const QColor dark(0x3d, 0x44, 0x52);
inline const QColor sky(0x9c, 0xd2, 0xf4);
} // namespace ink

QImage blank(int w, int h);

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

QImage render(int size, double grid, const Glyph &glyph);

// A sheet of paper with a folded corner; x2, y2 are its last pixels.
void page(Art &a, double x1, double y1, double x2, double y2, double fold, int lines,
          const QColor &lineColour = ink::textLine);
// A capital A on a baseline at y, h high, left edge at x.
QPainterPath letterA(const Art &a, double x, double y, double h);
QPainterPath star(const Art &a, double cx, double cy, double outer, double inner, int points);
// A pencil from its end (x1, y1) to its point (x2, y2).
void pencil(Art &a, double x1, double y1, double x2, double y2, double width);
// A speech bubble from grid edge (x1, y1) to (x2, y2), tail below at tailX.
QPainterPath bubble(const Art &a, double x1, double y1, double x2, double y2, double tailX,
                    double tailLen, bool tailRight);
void bubbleLines(Art &a, double x1, double y1, double x2, double y2);

// The edit glyphs (24 x 24 grid): menu pictures at 20 and tool pictures at 24.
void cutGlyph(Art &a);
void copyGlyph(Art &a);
void pasteGlyph(Art &a);
void deleteGlyph(Art &a);
void selectAllGlyph(Art &a);

} // namespace vomra::artwork
