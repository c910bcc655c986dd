#include "support/TempFolder.h"
#include "theme/core/Theme.h"

#include <gtest/gtest.h>

#include <map>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

// Pictures by file name: only the size matters to the logic.
TSkinPictureLoader FakePictures(std::map<std::string, std::pair<int, int>> sizes, std::vector<std::string> *asked = nullptr)
{
    return [sizes = std::move(sizes), asked](const std::string &path,
                                             std::int64_t maxPixels) -> std::optional<TSkinPicture> {
        const std::string name = path.substr(path.rfind('/') + 1);
        if (asked)
            asked->push_back(name + "<=" + std::to_string(maxPixels));
        const auto it = sizes.find(name);
        if (it == sizes.end() || std::int64_t(it->second.first) * it->second.second > maxPixels)
            return std::nullopt;
        return TSkinPicture{it->second.first, it->second.second, {}};
    };
}

const std::string kSkin = "[Theme]\r\nThemeCount=1\r\nThemeName1=Blue\r\n"
                          "[Blue]\r\nTitleBar=t.bmp\r\nTitleButton=b.bmp\r\nFrameLeftRight=s.bmp\r\nFrameBottom=f.bmp\r\n";

// Title cells 10 × 20, buttons 16 × 14, side cells 4 × 8, bottom cells 6 × 5.
const std::map<std::string, std::pair<int, int>> kSizes = {
    {"t.bmp", {30, 40}}, {"b.bmp", {64, 70}}, {"s.bmp", {8, 16}}, {"f.bmp", {18, 10}}};

struct Fixture {
    TempFolder dir;
    TTheme theme;
    explicit Fixture(const std::string &ini)
    {
        dir.write("Theme.Ini", ini);
        theme.setThemePath(dir.path());
    }
};

} // namespace

TEST(Theme, CatalogueSkipsEmptyNamesSoThePositionIsTheIndex)
{
    Fixture f("[Theme]\r\nThemeCount=3\r\nThemeName1=A\r\nThemeName3=C\r\n[C]\r\n");
    f.theme.LoadThemeNames();
    ASSERT_EQ(f.theme.ThemeNameList(), (std::vector<std::string>{"A", "C"}));
    std::vector<std::string> asked;
    EXPECT_FALSE(f.theme.LoadThemeByIndex(0, FakePictures(kSizes, &asked)));
    EXPECT_FALSE(f.theme.LoadThemeByIndex(3, FakePictures(kSizes, &asked)));
    EXPECT_TRUE(asked.empty()) << "an index outside the catalogue reads nothing";
}

TEST(Theme, PathGetsItsSeparatorOnce)
{
    TTheme t;
    t.setThemePath("/a/Theme");
    EXPECT_EQ(t.ThemePath(), "/a/Theme/");
    t.setThemePath("/a/Theme/");
    EXPECT_EQ(t.ThemePath(), "/a/Theme/");
    t.setThemePath("");
    EXPECT_EQ(t.ThemePath(), "");
}

TEST(Theme, LoadsNumbersWithDefaultsFromTheNewButtonWidth)
{
    Fixture f(kSkin + "FormColorR=298\r\nFormColorG=-1\r\nFormColorB=abc\r\nRoundRgnX=9\r\nCaptionY=0x10\r\n");
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    EXPECT_EQ(f.theme.ButtonWidth(), 16);
    EXPECT_EQ(f.theme.ButtonHeight(), 14);
    EXPECT_EQ(f.theme.FormColor(), RGB(42, 255, 160)) << "low 8 bits; a bad value takes its default";
    EXPECT_EQ(f.theme.RoundRgnX(), 9);
    EXPECT_EQ(f.theme.RoundRgnY(), 0);
    EXPECT_EQ(f.theme.CaptionX(), 40);
    EXPECT_EQ(f.theme.CaptionY(), 16);
    EXPECT_EQ(f.theme.ActiveColor(), RGB(0, 0, 0));
    EXPECT_EQ(f.theme.NotActiveColor(), RGB(160, 160, 160));
    EXPECT_EQ(f.theme.ButtonRect(TSkinButton::Min, 400), (TSkinRect{400 - (3 * 16 + 10), 4, 16, 14}));
    EXPECT_EQ(f.theme.ButtonRect(TSkinButton::Max, 400), (TSkinRect{400 - (2 * 16 + 10), 4, 16, 14}));
    EXPECT_EQ(f.theme.ButtonRect(TSkinButton::Close, 400), (TSkinRect{400 - 26, 4, 16, 14}));
    EXPECT_EQ(f.theme.TitleBarHeight(), 20);
    EXPECT_EQ(f.theme.FrameWidth(), 4);
    EXPECT_EQ(f.theme.FrameBottomHeight(), 5);
}

TEST(Theme, AFailedLoadKeepsWhatCameBeforeAndTheOldNumbers)
{
    Fixture f(kSkin + "CaptionX=7\r\n[Red]\r\nTitleBar=t2.bmp\r\nTitleButton=b2.bmp\r\nFrameLeftRight=s.bmp\r\n"
                      "FrameBottom=f.bmp\r\nCaptionX=99\r\n");
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    struct Case {
        const char *why;
        std::pair<int, int> b2; // the second picture
    };
    for (const Case &c : {Case{"missing", {-1, -1}}, Case{"too small for 4 × 5 cells", {3, 70}},
                          Case{"no rows", {64, 4}}}) {
        auto sizes = kSizes;
        sizes["t2.bmp"] = {300, 60};
        if (c.b2.first >= 0)
            sizes["b2.bmp"] = c.b2;
        EXPECT_FALSE(f.theme.LoadTheme("Red", FakePictures(sizes))) << c.why;
        EXPECT_EQ(f.theme.picture(TSkinPart::TitleBar).width, 300) << c.why << ": the first picture stays";
        EXPECT_EQ(f.theme.ButtonWidth(), 16) << c.why;
        EXPECT_EQ(f.theme.CaptionX(), 7) << c.why;
    }
    EXPECT_FALSE(f.theme.LoadTheme("Nowhere", FakePictures(kSizes))) << "an unknown section has no pictures";
}

TEST(Theme, TheFourPicturesShareOnePixelBudget)
{
    Fixture f(kSkin);
    struct Case {
        const char *why;
        std::pair<int, int> title;
        bool loads;
    };
    const std::int64_t rest = kMaxSkinPixels - 64 * 70 - 8 * 16 - 18 * 10;
    for (const Case &c : {Case{"a real skin", {30, 40}, true},
                          Case{"the title bar takes all the rest", {static_cast<int>(rest / 2), 2}, true},
                          Case{"one pixel column more", {static_cast<int>(rest / 2) + 1, 2}, false},
                          Case{"8000 x 8000", {8000, 8000}, false}}) {
        auto sizes = kSizes;
        sizes["t.bmp"] = c.title;
        std::vector<std::string> asked;
        EXPECT_EQ(f.theme.LoadTheme("Blue", FakePictures(sizes, &asked)), c.loads) << c.why;
        ASSERT_FALSE(asked.empty());
        EXPECT_EQ(asked[0], "t.bmp<=" + std::to_string(kMaxSkinPixels)) << "the first picture may have the whole budget";
        if (asked.size() > 1) {
            EXPECT_EQ(asked[1], "b.bmp<=" + std::to_string(kMaxSkinPixels - std::int64_t(c.title.first) * c.title.second))
                << c.why << ": the next one what is left";
        }
    }
}

TEST(Theme, TitleTilesFromBothEndsThenCorners)
{
    Fixture f(kSkin);
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    // Width 45: remaining 25 → tiles k=1 (10 and 25), k=2 (20 and 15); then corners.
    auto plan = f.theme.FramePlan(45, 100, true);
    std::vector<TSkinCopy> title(plan.begin(), plan.begin() + 6);
    const TSkinRect tile{10, 0, 10, 20};
    EXPECT_EQ(title, (std::vector<TSkinCopy>{{TSkinPart::TitleBar, tile, 10, 0},
                                             {TSkinPart::TitleBar, tile, 25, 0},
                                             {TSkinPart::TitleBar, tile, 20, 0},
                                             {TSkinPart::TitleBar, tile, 15, 0},
                                             {TSkinPart::TitleBar, {0, 0, 10, 20}, 0, 0},
                                             {TSkinPart::TitleBar, {20, 0, 10, 20}, 35, 0}}));
    // No wider than two cells: only the corners, overlapping; inactive takes the lower row.
    plan = f.theme.FramePlan(15, 100, false);
    EXPECT_EQ(plan[0], (TSkinCopy{TSkinPart::TitleBar, {0, 20, 10, 20}, 0, 0}));
    EXPECT_EQ(plan[1], (TSkinCopy{TSkinPart::TitleBar, {20, 20, 10, 20}, 5, 0}));
    EXPECT_EQ(plan[2].picture, TSkinPart::FrameLeftRight);
}

TEST(Theme, SidesRunDownAndUpAndTheBottomSitsOnTheLastRows)
{
    Fixture f(kSkin);
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    // Height 45: between title (20) and bottom (5) lie 20 rows → k = 1, 2 (8-pixel cells).
    const auto plan = f.theme.FramePlan(30, 45, false);
    std::vector<TSkinCopy> sides;
    std::vector<TSkinCopy> bottom;
    for (const auto &c : plan)
        (c.picture == TSkinPart::FrameLeftRight ? sides : c.picture == TSkinPart::FrameBottom ? bottom : sides)
            .push_back(c);
    const TSkinRect l{0, 8, 4, 8}, r{4, 8, 4, 8};
    std::vector<TSkinCopy> expectSides{{TSkinPart::FrameLeftRight, l, 0, 20}, {TSkinPart::FrameLeftRight, l, 0, 32},
                                       {TSkinPart::FrameLeftRight, r, 26, 20}, {TSkinPart::FrameLeftRight, r, 26, 32},
                                       {TSkinPart::FrameLeftRight, l, 0, 28}, {TSkinPart::FrameLeftRight, l, 0, 24},
                                       {TSkinPart::FrameLeftRight, r, 26, 28}, {TSkinPart::FrameLeftRight, r, 26, 24}};
    sides.erase(sides.begin(), sides.begin() + 4); // the title strip's corners (width 30: one tile pair)
    EXPECT_EQ(sides, expectSides);
    ASSERT_FALSE(bottom.empty());
    for (const auto &c : bottom) {
        EXPECT_EQ(c.y, 40);
        EXPECT_EQ(c.source.top, 5) << "inactive: lower row";
    }
    EXPECT_EQ(bottom.back(), (TSkinCopy{TSkinPart::FrameBottom, {12, 5, 6, 5}, 24, 40}));
}

TEST(Theme, ButtonRowsAndColumns)
{
    Fixture f(kSkin);
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    f.theme.setThemeActivate(true);
    const int w = 400;
    auto rowOf = [&](TSkinButton b, bool active, bool maximised) {
        for (const auto &c : f.theme.ButtonsPlan(w, active, maximised))
            if (c.x == f.theme.ButtonRect(b, w).left)
                return std::make_pair(c.source.left / 16, c.source.top / 14);
        return std::make_pair(-1, -1);
    };
    EXPECT_EQ(rowOf(TSkinButton::Min, true, false), std::make_pair(0, 0));
    EXPECT_EQ(rowOf(TSkinButton::Max, true, true), std::make_pair(2, 0)) << "restore cell while maximised";
    const TSkinRect close = f.theme.ButtonRect(TSkinButton::Close, w);
    EXPECT_EQ(f.theme.HitTest(close.left, close.top, w), HTSKINBUTTON);
    EXPECT_EQ(rowOf(TSkinButton::Close, true, false), std::make_pair(3, 1)) << "hot";
    EXPECT_EQ(rowOf(TSkinButton::Close, false, false), std::make_pair(3, 4)) << "inactive hot";
    f.theme.TrackPress();
    EXPECT_EQ(rowOf(TSkinButton::Close, true, false), std::make_pair(3, 2)) << "hot and pressed";
    EXPECT_EQ(rowOf(TSkinButton::Close, false, false), std::make_pair(3, 4)) << "pressed does not show inactive";
    f.theme.ClearHot();
    EXPECT_EQ(rowOf(TSkinButton::Close, false, false), std::make_pair(3, 3));
    f.theme.setShowMaxBtn(false);
    EXPECT_EQ(f.theme.ButtonsPlan(w, true, false).size(), 2u);
}

TEST(Theme, HitTestOrderAndHiddenButtonsDrag)
{
    Fixture f(kSkin);
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    const int w = 400;
    const TSkinRect max = f.theme.ButtonRect(TSkinButton::Max, w);
    EXPECT_EQ(f.theme.HitTest(max.left, max.top, w), std::nullopt) << "no skin in force";
    f.theme.setThemeActivate(true);
    EXPECT_EQ(f.theme.HitTest(max.left, max.top, w), HTSKINBUTTON);
    EXPECT_TRUE(f.theme.Hot(TSkinButton::Max));
    EXPECT_EQ(f.theme.HitTest(max.left, max.top + 14, w), HTCAPTION) << "bottom edge excluded";
    EXPECT_FALSE(f.theme.Hot(TSkinButton::Max));
    f.theme.setShowMaxBtn(false);
    EXPECT_EQ(f.theme.HitTest(max.left, max.top, w), HTCAPTION);
    EXPECT_FALSE(f.theme.Hot(TSkinButton::Max));
    EXPECT_EQ(f.theme.HitTest(1, 1, w), std::nullopt) << "outside the caption strip";
    EXPECT_EQ(f.theme.HitTest(2, 2, w), HTCAPTION);
    EXPECT_EQ(f.theme.HitTest(2, 20, w), std::nullopt) << "strip height is title height - 2";
}

TEST(Theme, PressTrackingActsOnlyOnReleaseOverTheSameButton)
{
    Fixture f(kSkin);
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    f.theme.setThemeActivate(true);
    const int w = 400;
    const TSkinRect min = f.theme.ButtonRect(TSkinButton::Min, w);
    const TSkinRect max = f.theme.ButtonRect(TSkinButton::Max, w);
    const TSkinRect close = f.theme.ButtonRect(TSkinButton::Close, w);
    struct Step {
        const char *why;
        std::vector<std::pair<int, int>> moves;
        TSkinAction action;
    };
    const Step steps[] = {
        {"release on it", {}, TSkinAction::Minimise},
        {"moved off", {{10, 100}}, TSkinAction::None},
        {"off and back", {{10, 100}, {min.left + 1, min.top + 1}}, TSkinAction::Minimise},
        {"released over close", {{close.left, close.top}}, TSkinAction::None},
        {"over maximise", {{max.left, max.top}}, TSkinAction::None},
    };
    for (const Step &s : steps) {
        ASSERT_EQ(f.theme.HitTest(min.left, min.top, w), HTSKINBUTTON);
        f.theme.TrackPress();
        for (auto [x, y] : s.moves)
            f.theme.TrackMove(x, y, w);
        EXPECT_EQ(f.theme.TrackRelease(), s.action) << s.why;
        EXPECT_FALSE(f.theme.Tracking()) << s.why;
    }
    ASSERT_EQ(f.theme.HitTest(max.left, max.top, w), HTSKINBUTTON);
    f.theme.TrackPress();
    EXPECT_EQ(f.theme.TrackRelease(), TSkinAction::MaximiseOrRestore);
}

TEST(Theme, HugePositionsDoNotOverflow)
{
    Fixture f(kSkin + "MinButtonX=-2147483648\r\nMinButtonY=2147483647\r\n");
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    f.theme.setThemeActivate(true);
    EXPECT_EQ(f.theme.HitTest(0, 0, 32767), std::nullopt);
    EXPECT_FALSE(f.theme.ButtonsPlan(32767, true, false).empty());
}

TEST(Theme, MainPanelSitsInsideTheFrame)
{
    Fixture f(kSkin);
    ASSERT_TRUE(f.theme.LoadTheme("Blue", FakePictures(kSizes)));
    // Title 20, sides 4, bottom 5: the panel spans the sides and stops half the
    // bottom frame (truncated) minus the classic frame's rounding above the edge.
    EXPECT_EQ(SkinMainPanelRect(f.theme, 640, 480), (TSkinRect{4, 20, 632, 480 - 20 - 2 - 3}));
}
