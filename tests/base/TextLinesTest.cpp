#include "base/TextLines.h"
#include "base/Gbk.h"

#include <gtest/gtest.h>

using namespace vomra;

namespace {
std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }
const std::string kFull = "\xA1\xA1"; // "　"
} // namespace

TEST(TextLines, CharCountIsAByteStatistic)
{
    EXPECT_EQ(charCount(G("艺术字")), 3);
    EXPECT_EQ(charCount(G("a艺b")), 3);
    EXPECT_EQ(charCount(""), 0);
    EXPECT_EQ(charCount("\x7F"), 0);   // 127 is a lead byte, and one high byte counts as half
    EXPECT_EQ(charCount("a\x81"), 1);  // a lone lead byte at the end
    EXPECT_EQ(charCount("\x81\x40"), 1); // second byte below 127 still counts as single
}

TEST(TextLines, CyclicPick)
{
    const std::string s = G("ab艺");
    EXPECT_EQ(cyclicChar(s, 4), "a");
    EXPECT_EQ(cyclicChar(s, 3), G("艺"));
    EXPECT_EQ(cyclicChar(s, 6), G("艺"));
    EXPECT_EQ(cyclicChar(s, 0), G("艺"));
    EXPECT_EQ(cyclicChar(s, 1), "a");
    EXPECT_EQ(cyclicChar("", 5), "");
    // A lone lead byte at the end is a character by itself, never read past.
    EXPECT_EQ(cyclicChar("\x81\x40\xB0", 2), "\xB0");
    EXPECT_EQ(cyclicChar("ab\xB0", 3), "a"); // count 2: the half character is not counted
    // "\x81\x40x": count says 2 but the walk finds one double-byte character and "x".
    EXPECT_EQ(cyclicChar("\x81\x40x", 2), "x");
    // Count 3 but the walk finds two characters: the third step starts past the end.
    EXPECT_EQ(cyclicChar("\x81\x40\x81\x40", 3), "");
}

TEST(TextLines, CharPicksAreTheCyclicPicksInOneWalk)
{
    const std::string texts[] = {G("ab艺"), "", "\x81\x40x", "\x81\x40\x81\x40", "ab\xB0", "\x7F", "a\x81", "\x81\x40\x81\x40xy"};
    for (const std::string &s : texts) {
        const auto picks = charPicks(s);
        ASSERT_EQ(picks.size(), static_cast<std::size_t>(charCount(s))) << s;
        for (std::size_t k = 1; k <= picks.size(); ++k)
            EXPECT_EQ(picks[k - 1], cyclicChar(s, static_cast<int>(k))) << s << " position " << k;
    }
}

TEST(TextLines, TrimLeftMarginWidensLeadingFullBlanks)
{
    Lines lines = {kFull + kFull + "ab", "   cd"};
    trimLeftMargin(lines);
    EXPECT_EQ(lines, (Lines{" ab", "cd"}));
}

TEST(TextLines, TrimLeftMarginIgnoresBlankLinesForTheMeasureButCutsThem)
{
    Lines lines = {"  x", "", "    "};
    trimLeftMargin(lines);
    EXPECT_EQ(lines, (Lines{"x", "", "  "}));

    Lines shortBlank = {"    x", " "};
    trimLeftMargin(shortBlank);
    EXPECT_EQ(shortBlank, (Lines{"x", ""}));
}

TEST(TextLines, TrimLeftMarginCases)
{
    Lines tab = {"\tx", "   y"};
    trimLeftMargin(tab);
    EXPECT_EQ(tab, (Lines{"\tx", "   y"}));

    // Full-width blanks after the first other character are left alone.
    Lines inner = {" " + kFull + "a" + kFull + "b"};
    trimLeftMargin(inner);
    EXPECT_EQ(inner, (Lines{"a" + kFull + "b"}));

    // Nothing but blanks: the lines stay as widened.
    Lines blanks = {kFull, " ", ""};
    trimLeftMargin(blanks);
    EXPECT_EQ(blanks, (Lines{"  ", " ", ""}));

    // A lone 0xA1 at the end of the margin is not a full-width blank.
    Lines lone = {" \xA1"};
    trimLeftMargin(lone);
    EXPECT_EQ(lone, (Lines{"\xA1"}));

    Lines empty;
    trimLeftMargin(empty);
    EXPECT_TRUE(empty.empty());
}

TEST(TextLines, TrimTrailingBlanks)
{
    Lines lines = {"ab " + kFull + " ", kFull + kFull, " a b", "", G("艺") + " ", "\tx\t "};
    trimTrailingBlanks(lines);
    EXPECT_EQ(lines, (Lines{"ab", "", " a b", "", G("艺"), "\tx\t"}));
}

TEST(TextLines, TrimTrailingBlanksWalksCharactersNotBytes)
{
    // "\xA1\xA1" inside a character pair is not a blank: the walk pairs 0xB0 0xA1,
    // then 0xA1 0x20 (a double-byte character whose trail byte is 0x20).
    std::string line = "\xB0\xA1\xA1\x20";
    trimTrailingBlanks(line);
    EXPECT_EQ(line, "\xB0\xA1\xA1\x20");

    std::string lone = "a \xA1";
    trimTrailingBlanks(lone);
    EXPECT_EQ(lone, "a \xA1");
}

TEST(TextLines, SplitAndJoinLines)
{
    EXPECT_EQ(splitLines("a\r\nb\nc"), (Lines{"a", "b", "c"}));
    EXPECT_EQ(splitLines(""), (Lines{""}));
    EXPECT_EQ(splitLines("a\n"), (Lines{"a", ""}));
    EXPECT_EQ(joinLines({"a", "b"}, "\r\n"), "a\r\nb");
}
