#include "art/core/ArtMaker.h"
#include "base/Gbk.h"

#include <gtest/gtest.h>

using namespace vomra;

namespace {
std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }
Lines GL(std::initializer_list<const char *> rows)
{
    Lines out;
    for (const char *r : rows)
        out.push_back(G(r));
    return out;
}
int noWidth(std::string_view) { return 0; }
} // namespace

TEST(ArtMaker, GridReadsOutsideAsBackground)
{
    const InkGrid grid = InkGrid::fromRows({"#.", ".#"});
    EXPECT_EQ(grid.width(), 2);
    EXPECT_EQ(grid.height(), 2);
    EXPECT_TRUE(grid.ink(0, 0));
    EXPECT_FALSE(grid.ink(1, 0));
    EXPECT_TRUE(grid.ink(1, 1));
    EXPECT_FALSE(grid.ink(2, 1));
    EXPECT_FALSE(grid.ink(-1, 0));
    EXPECT_FALSE(grid.ink(0, 2));
}

TEST(ArtMaker, NormalModeMatchesTheBackgroundWidth)
{
    struct Row {
        const char *fg, *bg, *ink, *back;
    };
    const Row rows[] = {
        {"*", "", "*", " "},
        {"★", "", "★", "　"},
        {"*", "★", "*", " "},   // double-byte background under a single-byte foreground
        {"★", "x", "★", "　"},  // single-byte background under a double-byte foreground
        {"★", "☆", "★", "☆"},   // same width: kept
        {"a", "b", "a", "b"},
        {"", "", "*", " "},     // empty foreground draws with "*"
        {"", "☆", "*", " "},
        {"★☆●", "ab", "★", "　"}, // only first characters count
        {"xyz", "☆★", "x", " "},
    };
    const InkGrid grid = InkGrid::fromRows({"#.#", ".#."});
    for (const Row &r : rows) {
        SCOPED_TRACE(std::string(r.fg) + " / " + r.bg);
        const std::string i = G(r.ink), b = G(r.back);
        EXPECT_EQ(makeNormal(grid, G(r.fg), G(r.bg)), (Lines{i + b + i, b + i + b}));
    }
}

TEST(ArtMaker, CycleModeRunsOnAcrossRows)
{
    const InkGrid grid = InkGrid::fromRows({"##.", ".##", "#.#"});
    // Five ink cells; "★☆" alternates in reading order without restarting per row.
    EXPECT_EQ(makeCycle(grid, G("★☆"), ""), GL({"★☆ ", " ★☆", "★ ☆"}));
    EXPECT_EQ(makeCycle(grid, "abc", ""), (Lines{"ab ", " ca", "b c"}));
    // Background: the first character, no width matching.
    EXPECT_EQ(makeCycle(grid, "ab", G("☆★")), GL({"ab☆", "☆ab", "a☆b"}));
    EXPECT_EQ(makeCycle(grid, G("★"), "-"), GL({"★★-", "-★★", "★-★"}));
    // Empty foreground: "*".
    EXPECT_EQ(makeCycle(grid, "", ""), (Lines{"** ", " **", "* *"}));
}

TEST(ArtMaker, CycleModeCounterIsPerMaking)
{
    const InkGrid grid = InkGrid::fromRows({"#"});
    EXPECT_EQ(makeCycle(grid, "abc", ""), (Lines{"a"}));
    EXPECT_EQ(makeCycle(grid, "abc", ""), (Lines{"a"}));
}

TEST(ArtMaker, FollowModeGivesEachCharacterItsColumns)
{
    // Three double-byte characters, two columns each.
    const InkGrid grid = InkGrid::fromRows({"#..##.", ".#.#.#"});
    const auto two = [](std::string_view) { return 2; };
    const auto block = makeFollow(grid, G("艺术字"), two);
    ASSERT_TRUE(block);
    EXPECT_EQ(*block, GL({"艺　　术字　", "　艺　术　字"}));
}

TEST(ArtMaker, FollowModeBlankFollowsEachCharacterWidth)
{
    const InkGrid grid = InkGrid::fromRows({"#.##", ".#.."});
    const auto width = [](std::string_view ch) { return ch.size() == 1 ? 1 : 3; };
    const auto block = makeFollow(grid, G("a艺"), width);
    ASSERT_TRUE(block);
    EXPECT_EQ(*block, GL({"a　艺艺", " 艺　　"}));
}

TEST(ArtMaker, FollowModeColumnsComeFromTheSumOfAdvances)
{
    const InkGrid grid = InkGrid::fromRows({"####", "####"});
    // The advances sum to 6, past the bitmap's 4 columns: the rest reads as background.
    const auto wide = [](std::string_view) { return 3; };
    EXPECT_EQ(*makeFollow(grid, "ab", wide), (Lines{"aaab  ", "aaab  "}));
    // They sum to 2: bitmap columns past the sum are dropped.
    const auto narrow = [](std::string_view) { return 1; };
    EXPECT_EQ(*makeFollow(grid, "ab", narrow), (Lines{"ab", "ab"}));
    // A character of no advance takes no columns.
    const auto zeroA = [](std::string_view ch) { return ch == "a" ? 0 : 2; };
    EXPECT_EQ(*makeFollow(grid, "ab", zeroA), (Lines{"bb", "bb"}));
}

TEST(ArtMaker, EmptyWordAndEmptyBitmap)
{
    const InkGrid noColumns(0, 3);
    EXPECT_FALSE(makeFollow(noColumns, "", noWidth));
    EXPECT_EQ(makeNormal(noColumns, "*", ""), (Lines{"", "", ""}));
    EXPECT_EQ(makeCycle(noColumns, "*", ""), (Lines{"", "", ""}));

    ArtRequest request;
    request.word = "";
    for (MakeMode mode : {MakeMode::Normal, MakeMode::Cycle}) {
        request.mode = mode;
        const auto block = makeArt(noColumns, request, noWidth);
        ASSERT_TRUE(block);
        EXPECT_EQ(block->size(), 3u);
    }
    request.mode = MakeMode::Follow;
    EXPECT_FALSE(makeArt(noColumns, request, noWidth));
}

TEST(ArtMaker, MakeArtDispatchesOnTheMode)
{
    const InkGrid grid = InkGrid::fromRows({"#.", "##"});
    ArtRequest request{"x", G("★☆"), "", MakeMode::Normal};
    const auto one = [](std::string_view) { return 1; };
    EXPECT_EQ(*makeArt(grid, request, one), GL({"★　", "★★"}));
    request.mode = MakeMode::Cycle;
    EXPECT_EQ(*makeArt(grid, request, one), GL({"★ ", "☆★"}));
    request.mode = MakeMode::Follow;
    EXPECT_EQ(*makeArt(grid, request, one), (Lines{"x", "x"}));
}
