// The tool pictures (24 x 24) in their three states.
#include "artwork/ArtworkPaint.h"
#include "artwork/Shapes.h"

namespace vomra::artwork {

namespace {

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

} // namespace

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

} // namespace vomra::artwork
