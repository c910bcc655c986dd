#include "WidgetTestSupport.h"
#include "widgets/Functions.h"
#include "widgets/ProgressBar.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;
using namespace vomra::test;

namespace {

const TColor kPS = RGB(105, 137, 209);
const TColor kPM = RGB(220, 220, 220);
const TColor kS = RGB(135, 167, 239);

// The picture of the percentage text alone, drawn as the bar draws it.
QImage textPicture(const QString &text, int w, int h)
{
    QImage img = blankImage(w, h);
    QPainter painter(&img);
    Canvas canvas(painter);
    canvas.setFont(testFont());
    canvas.setBrushStyle(BrushStyle::Clear);
    const QSize size = canvas.textExtent(text);
    canvas.textOut((w - size.width()) / 2, 2 + (h - 2 - size.height()) / 2, text);
    return img;
}

struct BarFixture : ::testing::Test {
    TGWProgressBar bar;
    void SetUp() override { bar.setFont(testFont()); }
    QImage shot() { return bar.grab().toImage(); }
    // True when every ink pixel of the expected text shows in the bar in the font colour.
    bool showsText(const QImage &img, const QString &text)
    {
        const QImage ref = textPicture(text, bar.width(), bar.height());
        bool any = false;
        for (int y = 0; y < ref.height(); ++y)
            for (int x = 0; x < ref.width(); ++x)
                if (pixelAt(ref, x, y) != clWhite) {
                    any = true;
                    if (pixelAt(img, x, y) != clBlack)
                        return false;
                }
        return any;
    }
};

} // namespace

TEST_F(BarFixture, HalfFillsColumnsOneToFiftyAndShowsFiftyPercent)
{
    EXPECT_EQ(bar.size(), QSize(102, 16));
    bar.setShowPercent(false);
    bar.setPosition(50);
    QImage img = shot();
    // Filled part: columns 1..50, gradient from top to bottom in two segments.
    const auto firstSegment = gradientColors(kPS, kPM, 7); // (14 + 1) div 2 rows
    for (int x : {1, 25, 50}) {
        EXPECT_EQ(pixelAt(img, x, 1), kPS) << x;
        EXPECT_EQ(pixelAt(img, x, 4), firstSegment[3]) << x;
        EXPECT_EQ(pixelAt(img, x, 8), kPM) << x; // second segment starts at the middle colour
    }
    for (int x : {51, 75, 100})
        EXPECT_EQ(pixelAt(img, x, 1), kS) << x;
    EXPECT_EQ(pixelAt(img, 51, 8), clWhite); // empty part's middle colour
    // Flat outline in OutlineColor on all four edges.
    for (auto [x, y] : {std::pair{0, 0}, {101, 0}, {0, 15}, {101, 15}, {50, 0}, {50, 15}, {0, 8}, {101, 8}})
        EXPECT_EQ(pixelAt(img, x, y), clGray) << x << "," << y;

    bar.setShowPercent(true);
    img = shot();
    EXPECT_TRUE(showsText(img, QStringLiteral("50%")));
    EXPECT_FALSE(showsText(img, QStringLiteral("51%")));
}

TEST_F(BarFixture, NoTextAtZeroAndFullBarForAnEmptyRange)
{
    const QImage zero = shot();
    bar.setShowPercent(false);
    EXPECT_EQ(shot(), zero); // nothing drawn for 0%
    EXPECT_EQ(pixelAt(zero, 1, 1), kS);

    bar.setShowPercent(true);
    bar.setMax(0); // Max = Min = 0
    const QImage full = shot();
    EXPECT_EQ(pixelAt(full, 1, 1), kPS);
    EXPECT_EQ(pixelAt(full, 100, 1), kPS);
    EXPECT_TRUE(showsText(full, QStringLiteral("100%")));
}

TEST_F(BarFixture, OutlineStyles)
{
    bar.setOutlineColor(clRed);
    struct Case {
        TGWOutlineBorder style;
        TColor topLeft;
        TColor bottomRight;
    };
    for (const Case &c : {Case{gwobFlat, clRed, clRed}, Case{gwobLowered, clGray, clWhite},
                          Case{gwobRaised, clWhite, clGray}}) {
        bar.setOutlineBorder(c.style);
        const QImage img = shot();
        EXPECT_EQ(pixelAt(img, 50, 0), c.topLeft) << c.style;
        EXPECT_EQ(pixelAt(img, 0, 8), c.topLeft) << c.style;
        EXPECT_EQ(pixelAt(img, 50, 15), c.bottomRight) << c.style;
        EXPECT_EQ(pixelAt(img, 101, 8), c.bottomRight) << c.style;
    }
    // No outline: the edge shows what lies behind the bar.
    QWidget host;
    QPalette pal = host.palette();
    pal.setColor(QPalette::Window, Canvas::qcolor(clTeal));
    host.setPalette(pal);
    host.setAutoFillBackground(true);
    host.resize(120, 30);
    bar.setParent(&host);
    bar.move(0, 0);
    bar.setOutlineBorder(gwobNone);
    const QImage img = host.grab().toImage();
    EXPECT_EQ(pixelAt(img, 50, 0), clTeal);
    EXPECT_EQ(pixelAt(img, 0, 8), clTeal);
    EXPECT_EQ(pixelAt(img, 1, 1), kS);
    bar.setParent(nullptr);
}

TEST_F(BarFixture, VerticalGrowsUpwardsWithGradientsAcross)
{
    bar.setShowPercent(false);
    bar.setKind(sbVertical);
    bar.resize(16, 102);
    bar.setPosition(25); // n = 25 rows from the bottom
    const QImage img = shot();
    EXPECT_EQ(pixelAt(img, 1, 100), kPS);
    EXPECT_EQ(pixelAt(img, 1, 102 - 25 - 1), kPS);
    EXPECT_EQ(pixelAt(img, 1, 102 - 25 - 2), kS);
    EXPECT_EQ(pixelAt(img, 8, 90), kPM); // across the width: second segment starts at column 8
    EXPECT_EQ(pixelAt(img, 8, 10), clWhite);
}

TEST_F(BarFixture, MiddleColorNoneMakesTheEmptyPartTwoColours)
{
    bar.setShowPercent(false);
    bar.setEndColor(clRed);
    bar.setMiddleColor(clNone);
    const QImage img = shot();
    const auto rows = gradientColors(kS, clRed, 14);
    for (int y : {1, 8, 14})
        EXPECT_EQ(pixelAt(img, 60, y), rows[static_cast<std::size_t>(y - 1)]) << y;
}

TEST_F(BarFixture, WhichSettersRepaintAtOnce)
{
    bar.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&bar));
    QApplication::processEvents();
    PaintCounter paints(&bar);
    auto repainted = [&](auto &&change) {
        paints.count = 0;
        change();
        return paints.count; // counted without an event loop turn: synchronous only
    };
    EXPECT_EQ(repainted([&] { bar.setPosition(10); }), 1);
    EXPECT_EQ(repainted([&] { bar.setPosition(200); }), 0); // ignored
    EXPECT_EQ(bar.Position(), 10u);
    EXPECT_EQ(repainted([&] { bar.setStartColor(clRed); }), 1);
    EXPECT_EQ(repainted([&] { bar.setMiddleColor(clRed); }), 1);
    EXPECT_EQ(repainted([&] { bar.setShowPercent(false); }), 1);
    EXPECT_EQ(repainted([&] { bar.setOutlineColor(clRed); }), 1);
    EXPECT_EQ(repainted([&] { bar.setKind(sbHorizontal); }), 1);
    EXPECT_EQ(repainted([&] { bar.setProgressEndColor(clRed); }), 0);
    EXPECT_EQ(repainted([&] { bar.setOutlineBorder(gwobRaised); }), 0);
    EXPECT_EQ(repainted([&] { bar.setMax(5); }), 1);
    EXPECT_EQ(bar.Position(), 5u);
    EXPECT_EQ(repainted([&] { bar.setMin(6); }), 0); // above Max: refused
    EXPECT_EQ(repainted([&] { bar.setMin(2); }), 1);
    EXPECT_EQ(bar.Position(), 5u);

    // Positions that change neither the filled width nor the percentage may be skipped.
    bar.setMax(100000);
    bar.setMin(0);
    bar.setPosition(0);
    EXPECT_EQ(repainted([&] { bar.setPosition(1); }), 0);
    EXPECT_EQ(repainted([&] { bar.setPosition(1000); }), 1); // 1%
}
