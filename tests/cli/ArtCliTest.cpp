#include "cli/Cli.h"
#include "support/CliRun.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <sstream>

using namespace vomra::cli;

namespace {

using Result = vomra::test::CliResult;
using vomra::test::run;

// "艺" in the Song stand-in's 12-pixel strike.
const std::vector<std::string> kYi = {
    "............", "....#..#....", "###########.", "....#..#....", "....#..#....", "..#######...",
    "......##....", "....##......", "...#........", "..#.......#.", "..#.......#.", "...########.",
};

std::string block(const std::string &ink, const std::string &back, const std::string &prefix = {})
{
    std::string text;
    for (const std::string &row : kYi) {
        text += prefix;
        for (char c : row)
            text += c == '#' ? ink : back;
        text += '\n';
    }
    return text;
}

} // namespace

TEST(ArtCli, DefaultsDrawTheStrikeInStarsAndBlanks)
{
    const Result r = run({"art", "艺"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, block("*", " "));
    EXPECT_EQ(r.err, "");
}

TEST(ArtCli, DoubleByteForegroundGetsFullWidthBlanks)
{
    const Result r = run({"art", "--fg", "★", "艺"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, block("★", "　"));
    EXPECT_EQ(run({"art", "--fg=★", "--bg=☆", "艺"}).out, block("★", "☆"));
    EXPECT_EQ(run({"art", "--bg", "☆", "艺"}).out, block("*", " "));
}

TEST(ArtCli, FollowModeDrawsTheWordInItself)
{
    EXPECT_EQ(run({"art", "--mode", "follow", "艺"}).out, block("艺", "　"));
    const Result empty = run({"art", "--mode", "follow", ""});
    EXPECT_EQ(empty.status, 0);
    EXPECT_EQ(empty.out, "");
    // The other modes draw an empty word as the font's rows with no columns.
    EXPECT_EQ(run({"art", ""}).out, std::string(12, '\n'));
}

TEST(ArtCli, CycleModeSpellsTheForegroundAcrossRows)
{
    const Result r = run({"art", "--mode=cycle", "--fg", "ab", "艺"});
    ASSERT_EQ(r.status, 0);
    std::istringstream lines(r.out);
    std::string row0, row1, row2;
    std::getline(lines, row0);
    std::getline(lines, row1);
    std::getline(lines, row2);
    EXPECT_EQ(row0, std::string(12, ' '));
    EXPECT_EQ(row1, "    a  b    ");
    EXPECT_EQ(row2, "abababababa "); // continues from row 1: the counter is not reset per row
}

TEST(ArtCli, JoinsOntoAFile)
{
    vomra::test::TempFolder dir;
    dir.write("old.txt", "xx\n");
    const std::string onto = dir.file("old.txt");

    // Every shared row is padded to one past the widest ("xx"), so the block starts in column 3.
    std::string right = block("*", " ", "   ");
    right.replace(0, 3, "xx ");
    EXPECT_EQ(run({"art", "--onto", onto, "--layout", "right", "艺"}).out, right);

    std::string left = block("*", " ");
    left.insert(12, "xx");
    EXPECT_EQ(run({"art", "--onto", onto, "--layout=left", "艺"}).out, left);

    EXPECT_EQ(run({"art", "--onto", onto, "--layout", "below", "艺"}).out, "xx\n" + block("*", " "));
    EXPECT_EQ(run({"art", "--onto", onto, "艺"}).out, block("*", " "));
    // The follow mode's empty word empties the text whatever the layout.
    EXPECT_EQ(run({"art", "--onto", onto, "--layout", "below", "--mode", "follow", ""}).out, "");
}

TEST(ArtCli, RawGbk)
{
    const Result r = run({"art", "--encoding", "gbk", "--fg", "\xA1\xEF", "\xD2\xD5"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, block("\xA1\xEF", "\xA1\xA1"));
    EXPECT_EQ(r.err, "");
    // A GBK font name is read as GBK: "宋体".
    EXPECT_EQ(run({"art", "--encoding=gbk", "--font", "\xCB\xCE\xCC\xE5", "\xD2\xD5"}).out, block("*", " "));
}

TEST(ArtCli, StylesAndSizes)
{
    const Result big = run({"art", "--size", "20", "--bold", "--italic", "--underline", "A"});
    ASSERT_EQ(big.status, 0);
    EXPECT_EQ(big.err, "");
    std::istringstream lines(big.out);
    std::string row;
    std::size_t rows = 0;
    bool underlined = false;
    while (std::getline(lines, row)) {
        ++rows;
        underlined = underlined || (!row.empty() && row.find(' ') == std::string::npos);
    }
    EXPECT_GT(rows, 20u);
    EXPECT_TRUE(underlined);
}

TEST(ArtCli, UnknownFontIsAWarning)
{
    const Result r = run({"art", "--font", "No Such Face 42", "a"});
    EXPECT_EQ(r.status, 0);
    EXPECT_FALSE(r.out.empty());
    const std::string head = "vomra-cli art: warning: font 'No Such Face 42' is not installed; drawing with '";
    EXPECT_EQ(r.err.substr(0, head.size()), head);
    EXPECT_EQ(r.err.substr(r.err.size() - 2), "'\n");
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1);
}

TEST(ArtCli, BadArgumentsAreOneLineUsageErrors)
{
    struct Case {
        std::vector<std::string> args;
        const char *err;
    };
    const Case cases[] = {
        {{"art"}, "vomra-cli art: no WORD given (try 'vomra-cli art --help')\n"},
        {{"art", "a", "b"}, "vomra-cli art: unexpected argument 'b' (give one WORD)\n"},
        {{"art", "--size", "0", "a"}, "vomra-cli art: --size must be 1 to 200 points (got 0)\n"},
        {{"art", "--size=201", "a"}, "vomra-cli art: --size must be 1 to 200 points (got 201)\n"},
        {{"art", "--size", "9pt", "a"}, "vomra-cli art: --size needs a whole number of points (got '9pt')\n"},
        {{"art", "a", "--size"}, "vomra-cli art: --size needs a value\n"},
        {{"art", "--mode", "wave", "a"}, "vomra-cli art: unknown mode 'wave' (use normal, cycle or follow)\n"},
        {{"art", "--layout", "up", "a"}, "vomra-cli art: unknown layout 'up' (use replace, left, right or below)\n"},
        {{"art", "--layout", "right", "a"},
         "vomra-cli art: --layout right joins onto a text: give it with --onto FILE\n"},
        {{"art", "--shadow", "a"}, "vomra-cli art: unknown option '--shadow' (try 'vomra-cli art --help')\n"},
        {{"art", "--encoding", "latin1", "a"}, "vomra-cli: unknown encoding 'latin1' (use utf-8 or gbk)\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.err);
        const Result r = run(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, c.err);
    }
}

TEST(ArtCli, WordAfterDoubleDashMayLookLikeAnOption)
{
    const Result r = run({"art", "--", "-"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find('*'), std::string::npos);
}

TEST(ArtCli, UnreadableOntoFileFails)
{
    vomra::test::TempFolder dir;
    const std::string missing = dir.file("missing.txt");
    const Result r = run({"art", "--onto", missing, "--layout", "left", "a"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "vomra-cli art: cannot read '" + missing + "': No such file or directory\n");
}

TEST(ArtCli, HelpListsTheOptions)
{
    const Result r = run({"art", "--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("Usage: vomra-cli art [OPTIONS] WORD\n", 0), 0u);
    for (const char *opt : {"--font", "--size", "--bold", "--fg", "--bg", "--mode", "--onto", "--layout", "--encoding"})
        EXPECT_NE(r.out.find(opt), std::string::npos) << opt;
}

TEST(ArtCli, WidthWrapsTheWordIntoLinesOfGlyphs)
{
    const Result sideBySide = run({"art", "艺艺"});
    EXPECT_EQ(run({"art", "--width", "24", "艺艺"}).out, sideBySide.out); // both fit
    const Result wrapped = run({"art", "--width=23", "艺艺"});
    EXPECT_EQ(wrapped.status, 0);
    EXPECT_EQ(wrapped.out, block("*", " ") + block("*", " "));
    EXPECT_EQ(wrapped.err, "");
    const Result three = run({"art", "--width", "30", "艺艺艺"});
    EXPECT_EQ(three.out.substr(0, three.out.find('\n')), sideBySide.out.substr(0, sideBySide.out.find('\n')));
    EXPECT_EQ(std::count(three.out.begin(), three.out.end(), '\n'), 24); // two then one

    // A glyph wider than the width is still drawn whole, and said so.
    const Result narrow = run({"art", "--width", "5", "艺"});
    EXPECT_EQ(narrow.out, block("*", " "));
    EXPECT_EQ(narrow.err, "vomra-cli art: warning: a single glyph is wider than 5 columns\n");
    EXPECT_EQ(run({"art", "--width", "0", "艺"}).status, 2);
}
