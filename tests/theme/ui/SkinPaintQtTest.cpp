#include "support/ImageCheck.h"
#include "support/SkinGrid.h"
#include "support/TempFolder.h"
#include "theme/ui/SkinPaint.h"

#include <QPainter>
#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::pixelAt;
using vomra::test::SkinGrid;

namespace {

TColor Cell(int tag, int column, int row)
{
    // 0x00RRGGBB picture pixels read back as RGB(tag, column, row).
    return RGB(tag, column, row);
}

} // namespace

TEST(SkinPaint, FrameCellsLandWhereThePlanSays)
{
    TTheme theme;
    theme.setThemeActivate(true);
    const std::map<std::string, TSkinPicture> pics = {{"t", SkinGrid(3, 2, 10, 20, 1)},
                                                      {"b", SkinGrid(4, 5, 16, 14, 2)},
                                                      {"s", SkinGrid(2, 2, 4, 8, 3)},
                                                      {"f", SkinGrid(3, 2, 6, 5, 4)}};
    const vomra::test::TempFolder dir;
    dir.write("Theme.Ini", "[S]\r\nTitleBar=t\r\nTitleButton=b\r\nFrameLeftRight=s\r\nFrameBottom=f\r\n"
                           "ActiveColorR=255\r\nActiveColorG=0\r\nActiveColorB=255\r\n");
    theme.setThemePath(dir.path());
    ASSERT_TRUE(theme.LoadTheme("S", [&](const std::string &path, std::int64_t) -> std::optional<TSkinPicture> {
        return pics.at(path.substr(path.rfind('/') + 1));
    }));

    const TSkinImages images = SkinImages(theme);
    QPixmap icon(24, 24);
    icon.fill(Qt::red);
    QFont font;
    font.setPixelSize(12);
    font.setStyleStrategy(QFont::NoAntialias);
    for (bool active : {true, false}) {
        QImage img(200, 120, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        PaintSkinFrame(p, theme, images, {200, 120, active, false}, icon, QStringLiteral("WWWW"), font);
        p.end();
        const int r = active ? 0 : 1;
        SCOPED_TRACE(active ? "active" : "inactive");
        EXPECT_EQ(pixelAt(img, 6, 6), RGB(255, 0, 0)) << "icon at (IconX, IconY)";
        EXPECT_EQ(pixelAt(img, 29, 29), RGB(255, 0, 0)) << "icon at its own 24 x 24 size";
        EXPECT_NE(pixelAt(img, 30, 30), RGB(255, 0, 0));
        int shown = 0, other = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 36; x < 110; ++x) {
                const TColor c = pixelAt(img, x, y);
                shown += c == (active ? RGB(255, 0, 255) : RGB(160, 160, 160));
                other += c == (active ? RGB(160, 160, 160) : RGB(255, 0, 255));
            }
        EXPECT_GT(shown, 10) << "caption in its colour";
        EXPECT_EQ(other, 0);
        EXPECT_EQ(pixelAt(img, 0, 0), Cell(1, 0, r)) << "left title corner";
        EXPECT_EQ(pixelAt(img, 199, 19), Cell(1, 2, r)) << "right title corner";
        EXPECT_EQ(pixelAt(img, 100, 10), Cell(1, 1, r)) << "title tile";
        EXPECT_EQ(pixelAt(img, 0, 60), Cell(3, 0, r)) << "left side";
        EXPECT_EQ(pixelAt(img, 199, 60), Cell(3, 1, r)) << "right side";
        EXPECT_EQ(pixelAt(img, 4, 60), RGB(255, 255, 255)) << "client area untouched";
        EXPECT_EQ(pixelAt(img, 0, 119), Cell(4, 0, r)) << "bottom-left";
        EXPECT_EQ(pixelAt(img, 100, 115), Cell(4, 1, r)) << "bottom tile";
        // Close button: column 3, row 0 active / 3 inactive.
        const TSkinRect close = theme.ButtonRect(TSkinButton::Close, 200);
        EXPECT_EQ(pixelAt(img, close.left, close.top), Cell(2, 3, active ? 0 : 3));
    }
}

TEST(SkinPaint, RegionRoundsOnlyTheTopCornersAndMirrorsThem)
{
    const QRegion square = SkinRegion(100, 80, 0, 0);
    EXPECT_TRUE(square.contains(QPoint(0, 0)));
    EXPECT_TRUE(square.contains(QPoint(99, 0)));

    const QRegion round = SkinRegion(100, 80, 16, 12);
    for (int y = 0; y < 80; ++y)
        for (int x = 0; x < 50; ++x)
            ASSERT_EQ(round.contains(QPoint(x, y)), round.contains(QPoint(99 - x, y))) << x << "," << y;
    EXPECT_FALSE(round.contains(QPoint(0, 0)));
    EXPECT_FALSE(round.contains(QPoint(1, 1)));
    EXPECT_TRUE(round.contains(QPoint(8, 0))) << "the top edge between the corners";
    EXPECT_TRUE(round.contains(QPoint(0, 6))) << "below the corner band";
    EXPECT_TRUE(round.contains(QPoint(0, 79)));
    EXPECT_TRUE(round.contains(QPoint(99, 79))) << "bottom corners stay square";
    int cut = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x)
            cut += round.contains(QPoint(x, y)) ? 0 : 1;
    EXPECT_GT(cut, 5);
    EXPECT_LT(cut, 24);
}
