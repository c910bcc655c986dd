// Tree nodes, menu icons and the edit-menu pairs (20 x 20).
#include "artwork/ArtworkPaint.h"
#include "artwork/Shapes.h"
#include "widgets/ImageList.h"

namespace vomra::artwork {

namespace {

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
        // Darker than a disabled image list cell: the menu shows both forms side by side.
        list.append(greyedImage(coloured, 72, 166, 255));
        list.append(coloured);
    }
    return list;
}

} // namespace vomra::artwork
