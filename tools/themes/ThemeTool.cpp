// vomra-themes: draws the skins shipped in Theme/ — the four frame pictures of
// each theme and the Theme.Ini that names them — from the styles below.
//   vomra-themes OUTDIR     (the stored set lives in assets/Theme)

#include "base/Gbk.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// Cell sizes shared by every theme.
constexpr int TW = 30, TH = 30;      // title-bar cells: the title bar is TH high
constexpr int BW = 23, BH = 19;      // one caption button
constexpr int SW = 4, SH = 30;       // side-frame cells
constexpr int FW = 30, FH = 4;       // bottom-frame cells

struct Half {
    QColor top, bottom, outline, light;
};

struct Style {
    const char *name;     // UTF-8, converted to GBK for the file
    const char *folder;
    Half active, inactive;
    bool glass;           // a bright band over the upper half
    int round;            // corner ellipse
    QColor buttonFace[5]; // active normal, hot, pressed, inactive normal, inactive hot
    QColor glyph, glyphInactive, closeFace;
    QColor caption, captionInactive, form;
    const char *company, *descant;
    // LeftColor … ThemeFont2Color, in the page colour order
    QColor page[12];
};

// Caption text keeps at least 4.5:1 against the active title bar and 3:1 against
// the inactive one; page titles are dark on a light band, as the band runs
// towards the editor's white; the left column stays near the grey of the
// section bodies, which no theme recolours.
const Style kStyles[] = {
    {"蓝色水晶", "Glass",
     {QColor(30, 86, 170), QColor(14, 52, 124), QColor(8, 28, 72), QColor(96, 146, 214)},
     {QColor(96, 114, 142), QColor(76, 94, 122), QColor(46, 56, 74), QColor(140, 156, 180)},
     true, 14,
     {QColor(44, 104, 190), QColor(78, 140, 222), QColor(16, 50, 112), QColor(112, 130, 158), QColor(136, 154, 182)},
     QColor(255, 255, 255), QColor(232, 236, 242), QColor(196, 64, 44),
     QColor(255, 255, 255), QColor(236, 240, 246), QColor(206, 214, 226),
     "Vomra 工作室", "清爽的蓝色玻璃质感，圆角标题栏。",
     {QColor(206, 214, 226), QColor(16, 40, 86), QColor(190, 60, 36), QColor(255, 255, 255), QColor(188, 204, 228),
      QColor(232, 238, 246), QColor(164, 196, 236), QColor(14, 44, 104), QColor(200, 218, 242),
      QColor(132, 166, 214), QColor(20, 64, 140), QColor(28, 58, 140)}},
    {"石墨", "Graphite",
     {QColor(84, 88, 96), QColor(40, 42, 48), QColor(12, 12, 16), QColor(128, 132, 140)},
     {QColor(104, 106, 112), QColor(80, 82, 88), QColor(48, 48, 52), QColor(136, 138, 144)},
     false, 8,
     {QColor(96, 100, 110), QColor(132, 136, 146), QColor(36, 38, 44), QColor(116, 118, 124), QColor(140, 142, 148)},
     QColor(240, 240, 244), QColor(214, 214, 218), QColor(176, 52, 44),
     QColor(242, 242, 246), QColor(214, 214, 218), QColor(204, 206, 210),
     "Vomra 工作室", "石墨色的边框配浅灰色的页面，低调沉稳。",
     {QColor(204, 206, 210), QColor(20, 22, 26), QColor(190, 70, 24), QColor(255, 255, 255), QColor(178, 182, 190),
      QColor(224, 226, 230), QColor(176, 180, 188), QColor(28, 30, 36), QColor(206, 208, 214),
      QColor(150, 154, 162), QColor(40, 44, 52), QColor(30, 56, 110)}},
    {"暖色纸张", "Paper",
     {QColor(232, 212, 170), QColor(200, 170, 120), QColor(120, 92, 56), QColor(250, 240, 218)},
     {QColor(230, 224, 208), QColor(210, 202, 184), QColor(150, 140, 120), QColor(246, 242, 232)},
     false, 0,
     {QColor(220, 196, 150), QColor(240, 220, 180), QColor(176, 146, 100), QColor(218, 210, 192), QColor(232, 226, 210)},
     QColor(88, 58, 26), QColor(112, 100, 82), QColor(190, 96, 56),
     QColor(80, 52, 24), QColor(112, 100, 82), QColor(238, 232, 218),
     "Vomra 工作室", "温暖的米色纸张，方角边框，像一本旧笔记本。",
     {QColor(238, 232, 218), QColor(84, 58, 28), QColor(176, 74, 30), QColor(255, 252, 244), QColor(232, 220, 194),
      QColor(248, 242, 228), QColor(222, 196, 150), QColor(88, 54, 20), QColor(238, 226, 200),
      QColor(214, 192, 150), QColor(130, 84, 40), QColor(112, 72, 34)}},
};

const char *const kPageKeys[12] = {"LeftColor",      "LeftFontColor",    "LeftFontEnterColor", "PanelLeftColor",
                                   "PanelRightColor", "RightColor",       "TitleLeftColor",     "TitleFontColor",
                                   "TitleRightColor", "TitleBottomColor", "ThemeFont1Color",    "ThemeFont2Color"};

void Strip(QPainter &p, const Half &h, int y0, int cw, int ch, bool glass, bool topEdge)
{
    // Three cells: left corner, middle tile, right corner, one row.
    QLinearGradient g(0, y0, 0, y0 + ch);
    g.setColorAt(0, h.top);
    g.setColorAt(1, h.bottom);
    p.fillRect(0, y0, 3 * cw, ch, g);
    if (glass)
        p.fillRect(0, y0 + 1, 3 * cw, ch / 2 - 1, QColor(255, 255, 255, 36));
    p.setPen(h.outline);
    const int edge = topEdge ? y0 : y0 + ch - 1;
    p.drawLine(0, edge, 3 * cw - 1, edge);
    p.drawLine(0, y0, 0, y0 + ch - 1);
    p.drawLine(3 * cw - 1, y0, 3 * cw - 1, y0 + ch - 1);
    p.setPen(h.light);
    const int inner = topEdge ? y0 + 1 : y0 + ch - 2;
    p.drawLine(1, inner, 3 * cw - 2, inner);
    p.drawLine(1, y0 + (topEdge ? 1 : 0), 1, y0 + ch - (topEdge ? 1 : 2));
}

// The first visible pixel of row y under the window's corner ellipse, counted
// from the window's edge: the same rule as the region that rounds the window.
int CornerInset(int y, int ellipse)
{
    const double a = ellipse / 2.0;
    const double dy = (y + 0.5 - a) / a;
    const double half = a * std::sqrt(std::max(0.0, 1.0 - dy * dy));
    return static_cast<int>(std::ceil(a - half - 0.5));
}

// Redraws the two corner cells of one title-bar row so that the outline and its
// highlight follow the rounded window edge instead of being cut by it.
void RoundCorners(QImage &img, int y0, const Half &h, int ellipse)
{
    const int band = ellipse / 2;
    if (band <= 0)
        return;
    auto inside = [&](int x, int y) { return x >= 0 && y >= 0 && (y >= band || x >= CornerInset(y, ellipse)); };
    auto outline = [&](int x, int y) { return inside(x, y) && (!inside(x - 1, y) || !inside(x, y - 1)); };
    const int rows = std::min(TH, band + 2);
    for (int side = 0; side < 2; ++side) {
        for (int y = 0; y < rows; ++y) {
            for (int x = 0; x < TW; ++x) {
                // x counts from the window's edge on both sides.
                const int px = side == 0 ? x : 3 * TW - 1 - x;
                QColor c;
                if (!inside(x, y) || outline(x, y))
                    c = h.outline;
                else if (outline(x - 1, y) || outline(x, y - 1) || outline(x + 1, y) || outline(x, y + 1))
                    c = h.light;
                else if (x <= 1 || y <= 1)
                    c = img.pixelColor(TW + TW / 2, y0 + y); // the body of the middle tile at this row
                else
                    continue;
                img.setPixelColor(px, y0 + y, c);
            }
        }
    }
}

QImage TitleBar(const Style &s)
{
    QImage img(3 * TW, 2 * TH, QImage::Format_RGB32);
    {
        QPainter p(&img);
        Strip(p, s.active, 0, TW, TH, s.glass, true);
        Strip(p, s.inactive, TH, TW, TH, s.glass, true);
    }
    RoundCorners(img, 0, s.active, s.round);
    RoundCorners(img, TH, s.inactive, s.round);
    return img;
}

QImage Bottom(const Style &s)
{
    QImage img(3 * FW, 2 * FH, QImage::Format_RGB32);
    QPainter p(&img);
    Strip(p, s.active, 0, FW, FH, false, false);
    Strip(p, s.inactive, FH, FW, FH, false, false);
    return img;
}

QImage Sides(const Style &s)
{
    QImage img(2 * SW, 2 * SH, QImage::Format_RGB32);
    QPainter p(&img);
    const Half *halves[2] = {&s.active, &s.inactive};
    for (int r = 0; r < 2; ++r) {
        const Half &h = *halves[r];
        for (int c = 0; c < 2; ++c) {
            const int x0 = c * SW;
            QLinearGradient g(x0, 0, x0 + SW, 0);
            g.setColorAt(c == 0 ? 0 : 1, h.bottom);
            g.setColorAt(c == 0 ? 1 : 0, h.top);
            p.fillRect(x0, r * SH, SW, SH, g);
            p.setPen(h.outline);
            const int outer = c == 0 ? x0 : x0 + SW - 1;
            p.drawLine(outer, r * SH, outer, r * SH + SH - 1);
            // A highlight inside the dark edge gives the frame a bevel.
            p.setPen(h.light);
            const int bevel = c == 0 ? x0 + 1 : x0 + SW - 2;
            p.drawLine(bevel, r * SH, bevel, r * SH + SH - 1);
        }
    }
    return img;
}

void Glyph(QPainter &p, int column, const QRect &r, const QColor &c)
{
    p.setPen(QPen(c, 2));
    p.setBrush(Qt::NoBrush);
    const int cx = r.center().x(), cy = r.center().y();
    switch (column) {
    case 0: // minimise
        p.drawLine(cx - 4, cy + 4, cx + 4, cy + 4);
        break;
    case 1: // maximise
        p.drawRect(cx - 5, cy - 4, 10, 8);
        p.drawLine(cx - 5, cy - 3, cx + 5, cy - 3);
        break;
    case 2: // restore
        p.drawRect(cx - 5, cy - 1, 7, 6);
        p.setPen(QPen(c, 1));
        p.drawRect(cx - 2, cy - 5, 7, 6);
        break;
    default: // close
        p.drawLine(cx - 4, cy - 4, cx + 4, cy + 4);
        p.drawLine(cx - 4, cy + 4, cx + 4, cy - 4);
        break;
    }
}

QImage Buttons(const Style &s)
{
    // Transparent corners are not possible in a plain copy: the button cells
    // carry the title bar's own colours around the face.
    QImage img(4 * BW, 5 * BH, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const int titleTop = (TH - BH) / 2;
    for (int row = 0; row < 5; ++row) {
        const Half &h = row < 3 ? s.active : s.inactive;
        for (int column = 0; column < 4; ++column) {
            const QRect cell(column * BW, row * BH, BW, BH);
            // The title bar's gradient at the button's height behind the face.
            QLinearGradient bg(0, cell.top() - titleTop, 0, cell.top() - titleTop + TH);
            bg.setColorAt(0, h.top);
            bg.setColorAt(1, h.bottom);
            p.fillRect(cell, bg);
            if (s.glass)
                p.fillRect(cell.left(), cell.top(), BW, std::max(0, TH / 2 - titleTop), QColor(255, 255, 255, 36));
            QColor face = s.buttonFace[row];
            if (column == 3 && row < 3)
                face = row == 0 ? s.closeFace : row == 1 ? s.closeFace.lighter(125) : s.closeFace.darker(130);
            QLinearGradient fg(0, cell.top(), 0, cell.bottom());
            fg.setColorAt(0, row == 2 ? face.darker(115) : face.lighter(120));
            fg.setColorAt(1, row == 2 ? face.lighter(110) : face.darker(110));
            QPainterPath path;
            path.addRoundedRect(QRectF(cell).adjusted(1.5, 1.5, -1.5, -1.5), 3, 3);
            p.fillPath(path, fg);
            p.setPen(QPen(h.outline, 1));
            p.drawPath(path);
            Glyph(p, column, cell.translated(row == 2 ? 1 : 0, row == 2 ? 1 : 0), row < 3 ? s.glyph : s.glyphInactive);
        }
    }
    return img;
}

std::string ColourKeys(const char *key, const QColor &c)
{
    return std::string(key) + "R=" + std::to_string(c.red()) + "\r\n" + key + "G=" + std::to_string(c.green()) +
           "\r\n" + key + "B=" + std::to_string(c.blue()) + "\r\n";
}

bool Save(const QImage &img, const QString &path)
{
    if (img.save(path, "BMP"))
        return true;
    std::fprintf(stderr, "vomra-themes: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: vomra-themes OUTDIR\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    std::string ini = "[Theme]\r\nThemeCount=" + std::to_string(std::size(kStyles)) + "\r\n";
    int n = 1;
    for (const Style &s : kStyles)
        ini += "ThemeName" + std::to_string(n++) + "=" + vomra::gbk::fromUtf8(s.name) + "\r\n";
    for (const Style &s : kStyles) {
        const QString folder = out + QLatin1Char('/') + QLatin1String(s.folder);
        QDir().mkpath(folder);
        if (!Save(TitleBar(s), folder + QStringLiteral("/TitleBar.bmp")) ||
            !Save(Buttons(s), folder + QStringLiteral("/Buttons.bmp")) ||
            !Save(Sides(s), folder + QStringLiteral("/Frame.bmp")) ||
            !Save(Bottom(s), folder + QStringLiteral("/Bottom.bmp")))
            return 1;
        const std::string f = s.folder;
        ini += "\r\n[" + vomra::gbk::fromUtf8(s.name) + "]\r\n";
        ini += "TitleBar=" + f + "/TitleBar.bmp\r\nTitleButton=" + f + "/Buttons.bmp\r\n";
        ini += "FrameLeftRight=" + f + "/Frame.bmp\r\nFrameBottom=" + f + "/Bottom.bmp\r\n";
        ini += "Preview=" + f + "/Preview.bmp\r\n";
        ini += "Architect=" + vomra::gbk::fromUtf8("Vomra 美工组") + "\r\n";
        ini += "Company=" + vomra::gbk::fromUtf8(s.company) + "\r\n";
        ini += "Descant=" + vomra::gbk::fromUtf8(s.descant) + "\r\n";
        ini += "RoundRgnX=" + std::to_string(s.round) + "\r\nRoundRgnY=" + std::to_string(s.round) + "\r\n";
        const int y = (TH - BH) / 2;
        ini += "MinButtonX=" + std::to_string(3 * BW + 8) + "\r\nMinButtonY=" + std::to_string(y) + "\r\n";
        ini += "MaxButtonX=" + std::to_string(2 * BW + 6) + "\r\nMaxButtonY=" + std::to_string(y) + "\r\n";
        ini += "CloseButtonX=" + std::to_string(BW + 4) + "\r\nCloseButtonY=" + std::to_string(y) + "\r\n";
        ini += "IconX=6\r\nIconY=3\r\nCaptionX=36\r\nCaptionY=8\r\n";
        ini += ColourKeys("FormColor", s.form) + ColourKeys("ActiveColor", s.caption) +
               ColourKeys("NotActiveColor", s.captionInactive);
        for (int i = 0; i < 12; ++i)
            ini += ColourKeys(kPageKeys[i], s.page[i]);
    }
    QFile file(out + QStringLiteral("/Theme.Ini"));
    if (!file.open(QIODevice::WriteOnly) || file.write(ini.data(), static_cast<qint64>(ini.size())) !=
                                                 static_cast<qint64>(ini.size())) {
        std::fprintf(stderr, "vomra-themes: cannot write %s\n", qPrintable(file.fileName()));
        return 1;
    }
    return 0;
}
