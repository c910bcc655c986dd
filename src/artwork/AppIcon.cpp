// The application icon and the splash picture.
#include "artwork/ArtworkPaint.h"
#include "artwork/Shapes.h"

namespace vomra::artwork {

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
