#include "art/core/ArtLayout.h"
#include "base/Gbk.h"

#include <gtest/gtest.h>

using namespace vomra;

namespace {
std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }
std::string blanks(std::size_t n) { return std::string(n, ' '); }
} // namespace

TEST(ArtLayout, Cases)
{
    struct Case {
        const char *name;
        Lines output;
        Lines block;
        LayoutMode mode;
        Lines expected;
    };
    const std::string star = G("★★"), full = G("　★");
    const Case cases[] = {
        {"replace drops the old text", {"old", "text", "here"}, {"ab", "cd"}, LayoutMode::Replace, {"ab", "cd"}},
        {"replace with an empty block", {"old"}, {}, LayoutMode::Replace, {}},
        {"right onto nothing: one blank in front", {}, {"ab", "cd"}, LayoutMode::Right, {" ab", " cd"}},
        {"right: only shared rows set the width",
         {"1234", "1234567890"}, {"X"}, LayoutMode::Right, {"1234 X", "1234567890"}},
        {"right: rows padded to the widest shared row plus one",
         {"12", "1234", "1"}, {"ab", "cd", "ef"}, LayoutMode::Right, {"12   ab", "1234 cd", "1    ef"}},
        {"right: block longer than the text",
         {"12"}, {"ab", "cd"}, LayoutMode::Right, {"12 ab", "   cd"}},
        {"right: byte lengths, double-byte old text",
         {star, "a"}, {"x", "y"}, LayoutMode::Right, {star + " x", "a    y"}},
        {"left: rows below the block are shifted by its first row",
         {"r0", "r1", "r2"}, {std::string(12, '#'), std::string(12, '.')}, LayoutMode::Left,
         {std::string(12, '#') + "r0", std::string(12, '.') + "r1", blanks(12) + "r2"}},
        {"left: block longer than the text", {"r0"}, {"ab", "cd", "ef"}, LayoutMode::Left, {"abr0", "cd", "ef"}},
        {"left: pad counts bytes and is half-width",
         {"r0", "r1"}, {full}, LayoutMode::Left, {full + "r0", blanks(4) + "r1"}},
        {"left: empty block leaves the text", {"r0", "r1"}, {}, LayoutMode::Left, {"r0", "r1"}},
        {"below keeps the old lines", {"r0", "r1"}, {"ab", "cd"}, LayoutMode::Below, {"r0", "r1", "ab", "cd"}},
        {"below onto nothing", {}, {"ab"}, LayoutMode::Below, {"ab"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Lines output = c.output;
        layOut(output, c.block, c.mode);
        EXPECT_EQ(output, c.expected);
    }
}

TEST(ArtLayout, NoBlockEmptiesTheOutputInEveryMode)
{
    for (LayoutMode mode : {LayoutMode::Replace, LayoutMode::Left, LayoutMode::Right, LayoutMode::Below}) {
        Lines output = {"r0", "r1"};
        placeArt(output, std::nullopt, mode);
        EXPECT_TRUE(output.empty());
    }
    Lines output = {"r0"};
    placeArt(output, Lines{"ab"}, LayoutMode::Below);
    EXPECT_EQ(output, (Lines{"r0", "ab"}));
}

TEST(ArtLayout, BannerFromSeveralMakings)
{
    // Replace, then join right, then below: the usual way to build a banner.
    Lines output;
    placeArt(output, Lines{"AA", "AA"}, LayoutMode::Replace);
    placeArt(output, Lines{"B", "B", "B"}, LayoutMode::Right);
    placeArt(output, Lines{"CC"}, LayoutMode::Left);
    placeArt(output, Lines{"D"}, LayoutMode::Below);
    EXPECT_EQ(output, (Lines{"CCAA B", "  AA B", "     B", "D"}));
}
