#include "support/ImageCheck.h"
#include "theme/ui/PagePainters.h"
#include "widgets/ImageList.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vomra;
using vomra::test::blankImage;
using vomra::test::pixelAt;

namespace {

constexpr TColor kUnpainted = RGB(255, 0, 255);
constexpr TColor kEditor = RGB(250, 250, 240);

// Distinct colours, so that a colour taken from the wrong slot shows.
TPageColours testColours()
{
    TPageColours pc = BuiltInPageColours();
    pc.RightColor = RGB(200, 10, 10);
    pc.TitleLeftColor = RGB(10, 20, 30);
    pc.TitleRightColor = RGB(20, 60, 100);
    pc.TitleBottomColor = RGB(40, 80, 120);
    pc.TitleFontColor = RGB(255, 255, 0);
    return pc;
}

QImage render(int w, int h, const std::function<void(Canvas &, const Rect &)> &paint, TColor fill = kUnpainted)
{
    QImage img = blankImage(w, h, Canvas::qcolor(fill));
    QPainter painter(&img);
    Canvas canvas(painter);
    paint(canvas, Rect{0, 0, w, h});
    return img;
}

QFont titleFont()
{
    QFont f(QString::fromUtf8("宋体"));
    f.setPixelSize(24);
    f.setBold(true);
    f.setItalic(true);
    return f;
}

// Plain images: index 0 red, 1 green, 2 blue.
TGWImageList &imageList2()
{
    static TGWImageList *list = [] {
        auto *l = new TGWImageList(48, 48);
        for (QColor c : {QColor(Qt::red), QColor(Qt::green), QColor(Qt::blue)}) {
            QImage img(48, 48, QImage::Format_RGB32);
            img.fill(c);
            l->Add(img);
        }
        return l;
    }();
    return *list;
}

// Expected colour of line i of a gradient of n lines.
TColor grad(TColor from, TColor to, int n, int i) { return gradientColors(from, to, n)[static_cast<std::size_t>(i)]; }

} // namespace

TEST(PagePainters, TitleBarBandsByPage)
{
    struct Row {
        int page;
        TColor upperEnd;   // right end of the upper gradient
        TColor band;       // the lower band's colour
        TColor lowerStart; // start of the lower gradient; kUnpainted: none
        TColor icon;
    };
    const TPageColours pc = testColours();
    const Row rows[] = {
        {0, kEditor, kEditor, pc.TitleBottomColor, clLime},
        {1, kEditor, kEditor, pc.TitleBottomColor, clLime},
        {2, kEditor, kEditor, pc.TitleBottomColor, clLime},
        {3, pc.TitleRightColor, pc.TitleBottomColor, kUnpainted, clLime},
        {4, kEditor, kEditor, pc.TitleLeftColor, clBlue},
    };
    const int R = 300;
    const int lowerRight = (R / 3) * 2;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.page);
        const QImage img = render(R, 56, [&](Canvas &c, const Rect &r) {
            pnlTitleBarDrawBackground(c, r, pc, row.page, kEditor, &imageList2(), titleFont());
        });
        for (int x = 0; x < R; ++x) {
            // Rows 0-4 lie above the icon and the title.
            EXPECT_EQ(pixelAt(img, x, 2), grad(pc.TitleLeftColor, row.upperEnd, R, x)) << x;
            // Rows 53-55 lie below both; the band starts at row 41.
            const TColor lower = row.lowerStart != kUnpainted && x < lowerRight
                                     ? grad(row.lowerStart, kEditor, lowerRight, x)
                                     : row.band;
            EXPECT_EQ(pixelAt(img, x, 55), lower) << x;
        }
        // Row 41 is the band's first row, row 40 still the upper gradient.
        EXPECT_EQ(pixelAt(img, R - 1, 41), row.band);
        EXPECT_EQ(pixelAt(img, R - 1, 40), grad(pc.TitleLeftColor, row.upperEnd, R, R - 1));
        // The icon covers (6, 5)-(54, 53).
        EXPECT_EQ(pixelAt(img, 6, 5), row.icon);
        EXPECT_EQ(pixelAt(img, 53, 52), row.icon);
        EXPECT_NE(pixelAt(img, 5, 5), row.icon);
        EXPECT_NE(pixelAt(img, 54, 52), row.icon);
    }
}

TEST(PagePainters, TitleBarOtherPagesPaintNothing)
{
    for (int page : {-1, 5, 255}) {
        const QImage img = render(200, 56, [&](Canvas &c, const Rect &r) {
            pnlTitleBarDrawBackground(c, r, testColours(), page, kEditor, &imageList2(), titleFont());
        });
        EXPECT_EQ(img, blankImage(200, 56, Canvas::qcolor(kUnpainted))) << page;
    }
}

TEST(PagePainters, TitleDrawnWithShadow)
{
    const TPageColours pc = testColours();
    const QFont font = titleFont();
    const TColor grey = RGB(100, 100, 100);
    for (int page = 0; page <= 4; ++page) {
        SCOPED_TRACE(page);
        // The glyph pixels of the title alone, drawn at (60, 16).
        const QImage mask = render(400, 56, [&](Canvas &c, const Rect &) {
            c.setFont(font);
            c.setBrushStyle(BrushStyle::Clear);
            c.setFontColor(clWhite);
            c.textOut(60, 16, PageTitle(page));
        }, clBlack);
        const QImage img = render(400, 56, [&](Canvas &c, const Rect &r) {
            pnlTitleBarDrawBackground(c, r, pc, page, kEditor, nullptr, font);
        });
        auto ink = [&](int x, int y) { return x >= 0 && y >= 0 && pixelAt(mask, x, y) == clWhite; };
        int text = 0;
        int shadow = 0;
        for (int y = 0; y < 56; ++y)
            for (int x = 0; x < 400; ++x) {
                if (ink(x, y)) {
                    ++text;
                    EXPECT_EQ(pixelAt(img, x, y), pc.TitleFontColor) << x << "," << y;
                } else if (ink(x - 1, y - 2)) {
                    ++shadow;
                    EXPECT_EQ(pixelAt(img, x, y), grey) << x << "," << y;
                } else if (y < 41) {
                    // Transparent background: the gradient shows around the letters.
                    EXPECT_NE(pixelAt(img, x, y), grey) << x << "," << y;
                }
            }
        EXPECT_GT(text, 100);
        EXPECT_GT(shadow, 20);
    }
    EXPECT_EQ(PageTitle(4), QString::fromUtf8("Vomra秘笈"));
    EXPECT_EQ(PageTitle(1), QString::fromUtf8("图片磨牙器"));
}

TEST(PagePainters, ToolPageLineAndSeparator)
{
    struct Row {
        const char *name;
        void (*paint)(Canvas &, const Rect &, const TPageColours &, TColor, int);
        int width;
        int lineLeft;
        int middle;
        int separator;
    };
    const Row rows[] = {
        {"art font", pnlArtFontDrawBackground, 600, 164, 600 / 2 + 82, 162},
        {"art font, odd width", pnlArtFontDrawBackground, 601, 164, 601 / 2 + 82, 162},
        {"drawing board", pnlPenDrawBackground, 500, 126, 500 / 2 + 63, 126},
    };
    const TPageColours pc = testColours();
    const int top = 40;
    const int height = 300;
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        const QImage img = render(row.width, height, [&](Canvas &c, const Rect &r) { row.paint(c, r, pc, kEditor, top); });
        for (int x = row.separator + 3; x < row.width; ++x)
            for (int y : {top - 6, top - 5}) {
                const TColor expected = x < row.middle
                                            ? grad(kEditor, pc.TitleRightColor, row.middle - row.lineLeft, x - row.lineLeft)
                                            : grad(pc.TitleRightColor, kEditor, row.width - row.middle, x - row.middle);
                ASSERT_EQ(pixelAt(img, x, y), expected) << x << "," << y;
            }
        for (int x = row.separator + 3; x < row.width; ++x) {
            EXPECT_EQ(pixelAt(img, x, top - 7), kUnpainted) << x;
            EXPECT_EQ(pixelAt(img, x, top - 4), kUnpainted) << x;
        }
        for (int y : {0, top - 6, height - 1})
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(pixelAt(img, row.separator + i, y), grad(pc.TitleRightColor, kEditor, 3, i)) << y;
        EXPECT_EQ(pixelAt(img, row.separator - 1, top - 6), kUnpainted);
        // The strongest point of the line is at the middle.
        EXPECT_EQ(pixelAt(img, row.middle, top - 6), pc.TitleRightColor);
    }
}

TEST(PagePainters, RecipePageAboveEditor)
{
    const TPageColours pc = testColours();
    const int R = 400;
    const int top = 50;
    const QImage img = render(R, 200, [&](Canvas &c, const Rect &r) { pnlRecipeDrawBackground(c, r, pc, kEditor, top); });
    const int middle = R / 2 + 25;
    for (int x = 0; x < R; ++x) {
        EXPECT_EQ(pixelAt(img, x, 0), x < 50 ? kUnpainted : kEditor) << x;
        EXPECT_EQ(pixelAt(img, x, top - 7), x < 50 ? kUnpainted : kEditor) << x;
        const TColor line = x < 50       ? kUnpainted
                            : x < middle ? grad(kEditor, pc.TitleRightColor, middle - 50, x - 50)
                                         : grad(pc.TitleRightColor, kEditor, R - middle, x - middle);
        EXPECT_EQ(pixelAt(img, x, top - 6), line) << x;
        EXPECT_EQ(pixelAt(img, x, top - 5), line) << x;
        EXPECT_EQ(pixelAt(img, x, top - 4), kUnpainted) << x;
    }
}

TEST(PagePainters, RecipeStripStaircase)
{
    struct Row {
        int w, h;
        int colWidth;
        int heights[5];
    };
    const Row rows[] = {
        {50, 400, 10, {400, 320, 240, 160, 80}},
        {53, 403, 10, {403, 320, 240, 160, 80}}, // remainders stay unpainted, the first column runs to the bottom
    };
    const TPageColours pc = testColours();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.w);
        const QImage img = render(row.w, row.h, [&](Canvas &c, const Rect &r) { recipePanel1DrawBackground(c, r, pc, kEditor); });
        for (int x = 0; x < row.w; ++x) {
            const int col = x / row.colWidth;
            const int painted = col < 5 ? row.heights[col] : 0;
            for (int y = 0; y < row.h; ++y) {
                const TColor expected = y < painted ? grad(pc.TitleRightColor, kEditor, painted, y) : kUnpainted;
                ASSERT_EQ(pixelAt(img, x, y), expected) << x << "," << y;
            }
        }
    }
}

TEST(PagePainters, ThemePageGradient)
{
    const TPageColours pc = testColours();
    const QImage img = render(300, 200, [&](Canvas &c, const Rect &r) { pnlThemeDrawBackground(c, r, pc, 120); });
    for (int y = 0; y < 200; ++y) {
        for (int x : {0, 60, 119})
            ASSERT_EQ(pixelAt(img, x, y), grad(pc.RightColor, pc.TitleRightColor, 200, y)) << y;
        EXPECT_EQ(pixelAt(img, 120, y), kUnpainted);
    }
    EXPECT_EQ(pixelAt(img, 0, 0), pc.RightColor);
}

TEST(PagePainters, CanvasHandedBackUnchanged)
{
    QImage img = blankImage(200, 60);
    QPainter painter(&img);
    Canvas c(painter);
    c.setPenColor(clRed);
    c.setBrushColor(clAqua);
    c.setBrushStyle(BrushStyle::Solid);
    c.setFontColor(clOlive);
    pnlTitleBarDrawBackground(c, {0, 0, 200, 60}, testColours(), 4, kEditor, &imageList2(), titleFont());
    pnlRecipeDrawBackground(c, {0, 0, 200, 60}, testColours(), kEditor, 30);
    EXPECT_EQ(c.penColor(), clRed);
    EXPECT_EQ(c.brushColor(), clAqua);
    EXPECT_EQ(c.brushStyle(), BrushStyle::Solid);
    EXPECT_EQ(c.fontColor(), clOlive);
}
