#include "support/ImageCheck.h"
#include "widgets/Functions.h"

#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::blankImage;
using vomra::test::pixelAt;

namespace {

// Paints on a white image through a Canvas with the test font.
template <typename F> QImage paint(int w, int h, F &&f)
{
    QImage img = blankImage(w, h);
    QPainter painter(&img);
    Canvas canvas(painter);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(12);
    canvas.setFont(font);
    canvas.setBrushStyle(BrushStyle::Clear);
    f(canvas);
    return img;
}

int inkLeft(const QImage &img, int top, int bottom)
{
    for (int x = 0; x < img.width(); ++x)
        for (int y = top; y < bottom; ++y)
            if (pixelAt(img, x, y) != clWhite)
                return x;
    return -1;
}

} // namespace

TEST(CanvasHelpers, FillGradientColumns)
{
    const QImage img = paint(12, 3, [](Canvas &c) { FillGradient(c, {1, 0, 11, 3}, clBlack, clWhite, true); });
    const int expected[] = {0, 23, 46, 69, 92, 115, 139, 162, 185, 208};
    for (int i = 0; i < 10; ++i)
        for (int y = 0; y < 3; ++y)
            EXPECT_EQ(pixelAt(img, 1 + i, y), RGB(expected[i], expected[i], expected[i])) << i;
    EXPECT_EQ(pixelAt(img, 0, 0), clWhite);  // left of the rectangle untouched
    EXPECT_EQ(pixelAt(img, 11, 0), clWhite); // right edge exclusive
}

TEST(CanvasHelpers, FillGradientRowsAndDegenerateRectangles)
{
    const QImage img = paint(4, 6, [](Canvas &c) {
        FillGradient(c, {0, 0, 4, 5}, clRed, clBlue, false);
        FillGradient(c, {0, 5, 4, 5}, clBlack, clBlack, false); // zero height: nothing
        FillGradient(c, {3, 0, 2, 6}, clBlack, clBlack, true);  // negative width: nothing
    });
    EXPECT_EQ(pixelAt(img, 2, 0), clRed);
    // Row 4 of 5: start + 4 * (end - start) / 6.
    EXPECT_EQ(pixelAt(img, 2, 4), RGB(85, 0, 170));
    EXPECT_EQ(pixelAt(img, 2, 5), clWhite);
}

TEST(CanvasHelpers, GradientStopsSegments)
{
    const auto segs = gradientSegments(101, 3);
    ASSERT_EQ(segs.size(), 2u);
    EXPECT_EQ(segs[0].start, 0);
    EXPECT_EQ(segs[0].length, 51);
    EXPECT_EQ(segs[1].start, 51);
    EXPECT_EQ(segs[1].length, 50);

    const QImage img = paint(101, 2, [](Canvas &c) {
        FillGradientStops(c, {0, 0, 101, 2}, {clRed, clGreen, clBlue}, true);
    });
    EXPECT_EQ(pixelAt(img, 0, 0), clRed);
    EXPECT_EQ(pixelAt(img, 51, 0), clGreen); // the second segment starts fresh
    EXPECT_NE(pixelAt(img, 100, 0), clWhite); // and runs to the right edge

    const QImage one = paint(5, 5, [](Canvas &c) { FillGradientStops(c, {1, 1, 4, 4}, {clTeal}, false); });
    EXPECT_EQ(pixelAt(one, 1, 1), clTeal);
    EXPECT_EQ(pixelAt(one, 3, 3), clTeal);
    EXPECT_EQ(pixelAt(one, 4, 4), clWhite);
}

TEST(CanvasHelpers, AccelTextExtent)
{
    paint(10, 10, [](Canvas &c) {
        const int amp = c.textWidth(QStringLiteral("&"));
        EXPECT_EQ(AccelTextExtent(c, QStringLiteral("ab&")).width(), c.textWidth(QStringLiteral("ab&")));
        EXPECT_EQ(AccelTextExtent(c, QStringLiteral("a&b")).width(), c.textWidth(QStringLiteral("a&b")) - amp);
        EXPECT_EQ(AccelTextExtent(c, QStringLiteral("A&&B")).width(), c.textWidth(QStringLiteral("A&&B")) - amp);
        EXPECT_EQ(AccelTextExtent(c, QStringLiteral("ab")).height(), c.textHeight(QStringLiteral("ab")));
    });
}

TEST(CanvasHelpers, AcceleratorUnderlineLiesUnderTheCharacterAfterTheMarker)
{
    int wa = 0, wt = 0, h = 0;
    const QString text = QStringLiteral("剪切(&T)");
    const QImage img = paint(120, 30, [&](Canvas &c) {
        wa = c.textWidth(QStringLiteral("剪切("));
        wt = c.textWidth(QStringLiteral("T"));
        h = c.textHeight(QStringLiteral("T"));
        DrawAccelText(c, 2, 2, text);
    });
    const int lineY = 2 + h + 1;
    for (int x = 0; x < 120; ++x) {
        const bool under = x >= 2 + wa && x < 2 + wa + wt;
        EXPECT_EQ(pixelAt(img, x, lineY) == clBlack, under) << "x " << x;
    }
    // The marker is not drawn: the text equals "剪切(T)" drawn plainly.
    const QImage plain = paint(120, 30, [&](Canvas &c) { c.textOut(2, 2, QStringLiteral("剪切(T)")); });
    EXPECT_EQ(img.copy(0, 0, 120, lineY), plain.copy(0, 0, 120, lineY));
}

TEST(CanvasHelpers, TrailingMarkerDrawsNoUnderlineAndLaterMarkersAreDrawn)
{
    const QImage img = paint(60, 30, [](Canvas &c) { DrawAccelText(c, 0, 0, QStringLiteral("ab&")); });
    const QImage plain = paint(60, 30, [](Canvas &c) { c.textOut(0, 0, QStringLiteral("ab")); });
    EXPECT_EQ(img, plain);

    const QImage twice = paint(60, 30, [](Canvas &c) { DrawAccelText(c, 0, 0, QStringLiteral("A&&B")); });
    const QImage shown = paint(60, 30, [](Canvas &c) { c.textOut(0, 0, QStringLiteral("A&B")); });
    EXPECT_NE(twice, shown); // same glyphs plus the underline under the drawn "&"
}

TEST(CanvasHelpers, CentringIsOnePixelLeftAndAboveTheExactCentre)
{
    QSize ext;
    const QImage img = paint(100, 40, [&](Canvas &c) {
        ext = c.textExtent(QStringLiteral("|"));
        DrawAccelTextAligned(c, {0, 0, 100, 40}, QStringLiteral("|"), 1, 1);
    });
    const QImage ref = paint(100, 40, [&](Canvas &c) {
        c.textOut((100 - ext.width()) / 2 - 1, (40 - ext.height()) / 2 - 1, QStringLiteral("|"));
    });
    EXPECT_EQ(img, ref);

    const QImage right = paint(100, 40, [&](Canvas &c) { DrawAccelTextAligned(c, {0, 0, 100, 40}, QStringLiteral("|"), 2, 2); });
    const QImage rightRef = paint(100, 40, [&](Canvas &c) { c.textOut(100 - ext.width(), 40 - ext.height(), QStringLiteral("|")); });
    EXPECT_EQ(right, rightRef);

    const QImage other = paint(100, 40, [&](Canvas &c) { DrawAccelTextAligned(c, {5, 6, 100, 40}, QStringLiteral("|"), 7, -1); });
    const QImage otherRef = paint(100, 40, [&](Canvas &c) { c.textOut(5, 6, QStringLiteral("|")); });
    EXPECT_EQ(other, otherRef);
}

TEST(CanvasHelpers, TextBlockLinesAndSpacing)
{
    int h = 0;
    const QImage img = paint(100, 80, [&](Canvas &c) {
        h = c.textHeight(QStringLiteral("ab\rcd"));
        DrawTextBlock(c, {0, 0, 100, 80}, QStringLiteral("ab\rcd"), 5, 0, 0);
    });
    const QImage ref = paint(100, 80, [&](Canvas &c) {
        c.textOut(0, 0, QStringLiteral("ab"));
        c.textOut(0, h + 5, QStringLiteral("cd"));
    });
    EXPECT_EQ(img, ref);

    // Right-aligned lines with a marker are placed by their drawn width.
    const QImage r = paint(100, 80, [&](Canvas &c) { DrawTextBlock(c, {0, 0, 100, 80}, QStringLiteral("&x"), 0, 2, 0); });
    EXPECT_GT(inkLeft(r, 0, h), 80);
}
