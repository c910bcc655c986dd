// The 48 x 48 pictures of the theme, tool and recipe pages.
#include "artwork/ArtworkPaint.h"
#include "artwork/Shapes.h"

namespace vomra::artwork {

namespace {

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

} // namespace

QList<QImage> paintLargeImages()
{
    return {render(48, 48, themeLarge), render(48, 48, toolsLarge), render(48, 48, recipeLarge)};
}

} // namespace vomra::artwork
