#include "support/CliRun.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

using vomra::test::CliResult;
using vomra::test::run;

namespace {

CliResult width(std::vector<std::string> args, const std::string &input)
{
    args.insert(args.begin(), "width");
    return run(args, {.input = input});
}

// A heart as the starter library had it: ambiguous ■ beside full-width blanks.
const std::string kSkewed = "　■■　■■　\n■■■■■■■\n　■■■■■　\n　　　■　　　\n";

TEST(WidthCli, ReportsLinesAndTheCharactersToBlame)
{
    struct Case {
        const char *name;
        std::string input;
        int status;
        std::string out;
    };
    const Case cases[] = {
        {"plain text lines up", "ab\ncd\n", 0, "line 1: 2 cells narrow, 2 wide\nline 2: 2 cells narrow, 2 wide\nlines up both ways\n"},
        {"full-width with narrow", "你好\nabcd\n", 0,
         "line 1: 4 cells narrow, 4 wide\nline 2: 4 cells narrow, 4 wide\nlines up both ways\n"},
        {"ambiguous beside full-width", "　■\n　　\n", 1,
         "line 1: 3 cells narrow, 4 wide\nline 2: 4 cells narrow, 4 wide (does not line up with line 1)\n"
         "ambiguous ■ U+25A0: use 〓 or \"##\" (--narrow)\ndoes not line up\n"},
        // Equal counts in each line, so the picture holds in either font, but
        // each line's own counts differ: the characters are still named.
        {"only ambiguous", "■●\n●■\n", 0,
         "line 1: 2 cells narrow, 4 wide\nline 2: 2 cells narrow, 4 wide\n"
         "ambiguous ■ U+25A0: use 〓 or \"##\" (--narrow)\nambiguous ● U+25CF: use 〇 or \"()\" (--narrow)\n"
         "lines up both ways\n"},
        {"ragged lines", "abc\nab\n", 1,
         "line 1: 3 cells narrow, 3 wide\nline 2: 2 cells narrow, 2 wide (does not line up with line 1)\n"
         "does not line up\n"},
        {"no stand-in", "Ω\n　\n", 1,
         "line 1: 1 cells narrow, 2 wide\nline 2: 2 cells narrow, 2 wide (does not line up with line 1)\n"
         "ambiguous Ω U+03A9: no stand-in known\ndoes not line up\n"},
    };
    for (const Case &c : cases) {
        const CliResult r = width({}, c.input);
        EXPECT_EQ(r.status, c.status) << c.name;
        EXPECT_EQ(r.out, c.out) << c.name;
        EXPECT_EQ(r.err, "") << c.name;
    }
}

TEST(WidthCli, FixWritesTextThatLinesUp)
{
    const CliResult skewed = width({}, kSkewed);
    EXPECT_EQ(skewed.status, 1);

    const CliResult full = width({"--fix"}, kSkewed);
    EXPECT_EQ(full.status, 0);
    EXPECT_EQ(full.out, "　〓〓　〓〓　\n〓〓〓〓〓〓〓\n　〓〓〓〓〓　\n　　　〓　　　\n");
    EXPECT_EQ(width({}, full.out).status, 0); // the fixed text passes the check

    const CliResult narrow = width({"--fix", "--narrow"}, kSkewed);
    EXPECT_EQ(narrow.status, 0);
    EXPECT_EQ(narrow.out.substr(0, narrow.out.find('\n')), "　####　####　");
    EXPECT_EQ(width({}, narrow.out).status, 0);

    // Unknown ambiguous characters stay, so the fix cannot help and says so by its status.
    EXPECT_EQ(width({"--fix"}, "Ω\n　\n").status, 1);
}

TEST(WidthCli, FileEncodingAndUsage)
{
    vomra::test::TempFolder dir;
    dir.write("heart.txt", "\xA1\xA1\xA1\xF6\r\n\xA1\xA1\xA1\xA1\r\n"); // GBK "　■", "　　" with CRLF
    const CliResult gbk = run({"width", "--encoding", "gbk", "--fix", dir.file("heart.txt")});
    EXPECT_EQ(gbk.status, 0);
    EXPECT_EQ(gbk.out, "\xA1\xA1\xA1\xFE\n\xA1\xA1\xA1\xA1\n"); // "〓" in GBK
    EXPECT_EQ(run({"width", dir.file("heart.txt"), "--encoding=gbk"}).status, 1);

    EXPECT_EQ(run({"width", "--bogus"}).status, 2);
    EXPECT_EQ(run({"width", "a", "b"}).status, 2);
    const CliResult missing = run({"width", dir.file("none.txt")});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.txt"), std::string::npos);
}

} // namespace

namespace {

// The starter pictures line up in every font, and no starter text has an
// ambiguous character to blame.
TEST(WidthCli, StarterLibraryLinesUpBothWays)
{
    const std::filesystem::path folder = std::filesystem::path(VOMRA_TEST_DATA) / "../../assets/recipes";
    int pictures = 0;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || name == "README.md")
            continue;
        const CliResult r = run({"width", "--encoding", "gbk", entry.path().string()});
        EXPECT_EQ(r.out.find("ambiguous"), std::string::npos) << name << "\n" << r.out;
        const bool picture = name.find("（画板）") != std::string::npos || name.find("（艺术字）") != std::string::npos;
        if (picture) {
            ++pictures;
            EXPECT_EQ(r.status, 0) << name << "\n" << r.out;
        }
    }
    EXPECT_GE(pictures, 5);
}

} // namespace
