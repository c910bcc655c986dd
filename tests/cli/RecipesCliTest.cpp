#include "cli/Cli.h"
#include "support/CliRun.h"
#include "base/Gbk.h"
#include "support/TempFolder.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>

using namespace vomra;
using namespace vomra::cli;
using vomra::test::TempFolder;

namespace {

using Result = vomra::test::CliResult;
using vomra::test::run;

class RecipesCli : public ::testing::Test {
protected:
    void SetUp() override { dir.copyFixture("recipes/library"); }
    Result recipes(std::vector<std::string> args)
    {
        args.insert(args.begin(), "recipes");
        args.push_back("--folder=" + dir.path());
        return run(args);
    }
    TempFolder dir;
};

const char *const kTree = "Beta/\n"
                          "  节日.Txt\n"
                          "Alpha/\n"
                          "  Theme/\n"
                          "    deep.Txt\n"
                          "  Zeta/\n"
                          "    z.ini\n"
                          "      Z\n"
                          "  问候.Ini\n"
                          "    早安\n"
                          "    Good Morning\n"
                          "    晚安\n"
                          "    不存在\n"
                          "  .Txt\n"
                          "  .hidden.Txt\n"
                          "  C.TXT\n"
                          "  a.Txt\n"
                          "  b.txt\n"
                          ".dot/\n"
                          "  h.Ini\n"
                          "    one\n";

} // namespace

TEST_F(RecipesCli, ListsTheTreeInItsOrder)
{
    Result r = recipes({"list"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kTree);
    EXPECT_EQ(r.err, "");

    r = run({"recipes", "list", "--encoding", "gbk", "--folder", dir.path().substr(0, dir.path().size() - 1)});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, gbk::fromUtf8(kTree));

    // Without --folder: the program folder vomra itself uses.
    r = run({"recipes", "list"}, {.programFolder = dir.path()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, kTree);
    r = run({"recipes", "show", "Beta/节日.Txt"}, {.programFolder = dir.path()});
    EXPECT_EQ(r.out, "春节快乐\n");
}

TEST_F(RecipesCli, ShowsFilesAndItems)
{
    struct Row {
        std::vector<std::string> args;
        std::string out;
    };
    const Row rows[] = {
        {{"show", "Alpha/a.Txt"}, "第一行\n  第二行  \n"},
        // The path as the tree rebuilds it opens the file actually listed.
        {{"show", "Alpha/b.Txt"}, "lower-case extension\n"},
        {{"show", "Alpha/问候.Ini", "早安"}, "早安\n早上好！\n今天天气不错。\n"},
        {{"show", "Alpha/问候.Ini", "good  MORNING"}, "Good Morning\nHello\n"},
        {{"show", "Alpha/问候.Ini"}, "早安\n早上好！\n今天天气不错。\n"},
        {{"show", "Alpha/Zeta/z.Ini", "Z"}, "Z\nzz\n"},
        {{"show", dir.file("Beta/节日.Txt")}, "春节快乐\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.args[1]);
        const Result r = recipes(row.args);
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, row.out);
        EXPECT_EQ(r.err, "");
    }

    // ITEM is read in the terminal's encoding, whatever the output's is.
    struct Terminal {
        const char *locale;
        std::string item;
        const char *encoding;
        std::string out;
    };
    const Terminal terminals[] = {
        {"C.UTF-8", "晚安", "--encoding=gbk", gbk::fromUtf8("晚安\n晚安，好梦。\n")},
        {"zh_CN.GBK", gbk::fromUtf8("晚安"), "--encoding=utf-8", "晚安\n晚安，好梦。\n"},
        {"zh_CN.gb18030", gbk::fromUtf8("晚安"), "--encoding=gbk", gbk::fromUtf8("晚安\n晚安，好梦。\n")},
    };
    const char *saved = std::getenv("LC_ALL");
    const std::string was = saved ? saved : "";
    for (const Terminal &t : terminals) {
        SCOPED_TRACE(t.locale);
        ::setenv("LC_ALL", t.locale, 1);
        const Result r = recipes({"show", t.encoding, "Alpha/问候.Ini", t.item});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, t.out);
    }
    if (saved)
        ::setenv("LC_ALL", was.c_str(), 1);
    else
        ::unsetenv("LC_ALL");
}

TEST_F(RecipesCli, FailuresNameTheFile)
{
    struct Row {
        std::vector<std::string> args;
        std::string err;
    };
    const Row rows[] = {
        {{"show", "Alpha/missing.Txt"},
         "vomra-cli recipes: cannot read " + dir.file("Alpha/missing.Txt") + ": No such file or directory\n"},
        {{"show", "Alpha"}, "vomra-cli recipes: cannot read " + dir.file("Alpha") + ": it is a folder\n"},
        {{"show", "Alpha/问候.Ini", "不存在"},
         "vomra-cli recipes: no item '不存在' in '" + dir.file("Alpha/问候.Ini") + "'\n"},
        {{"show", "Alpha/a.Txt", "x"},
         "vomra-cli recipes: '" + dir.file("Alpha/a.Txt") + "' is a recipe file, not a collection (.Ini) with items\n"},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.args[1]);
        const Result r = recipes(row.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, row.err);
    }
    const Result r = run({"recipes", "list", "--folder", dir.file("nowhere")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vomra-cli recipes: cannot list '" + dir.file("nowhere") + "/': No such file or directory\n");
}

TEST(RecipesCliUsage, BadCommandLinesExit2)
{
    const std::vector<std::vector<std::string>> bad = {
        {"recipes"},
        {"recipes", "frob"},
        {"recipes", "list", "extra"},
        {"recipes", "show"},
        {"recipes", "show", "a.Ini", "item", "more"},
        {"recipes", "list", "--bogus"},
        {"recipes", "list", "--encoding", "latin1"},
        {"recipes", "list", "--folder"},
        {"recipes", "list", "--folder="},
    };
    for (const auto &args : bad) {
        const Result r = run(args);
        EXPECT_EQ(r.status, 2) << args.back();
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    }
    const Result help = run({"recipes", "--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("recipes list|show"), std::string::npos);
}

TEST(RecipesCliText, UnshowableBytesAreToldOnce)
{
    TempFolder dir;
    dir.write("F/bad.Txt", std::string("a\xFF\r\nb\xFF\r\nn\0l\x81\r\n", 14));
    dir.write("😀/x.Txt", "x");
    Result r = run({"recipes", "show", "--folder", dir.path(), "F/bad.Txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "a\uFFFD\nb\uFFFD\nn\uFFFDl\uFFFD\n"); // never a raw NUL
    EXPECT_EQ(r.err, "vomra-cli recipes: warning: bytes that are not GBK text are shown as U+FFFD\n");

    r = run({"recipes", "show", "--encoding", "gbk", "--folder", dir.path(), "F/bad.Txt"});
    EXPECT_EQ(r.out, std::string("a\xFF\nb\xFF\nn\0l\x81\n", 11)); // raw bytes asked for, raw bytes given
    EXPECT_EQ(r.err, "");

    r = run({"recipes", "list", "--encoding", "gbk", "--folder", dir.path()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "?/\n  x.Txt\nF/\n  bad.Txt\n");
    EXPECT_EQ(r.err, "vomra-cli recipes: warning: some characters cannot be written in GBK and became \"?\"\n");
}

// A file named in GBK is listed decoded and opens by the name listed.
TEST(RecipesCliText, GbkNamedFilesAreListedDecodedAndOpenByThatName)
{
    TempFolder dir;
    dir.write("F/" + gbk::fromUtf8("新年") + ".Txt", gbk::fromUtf8("新年快乐\r\n"));
    dir.write(gbk::fromUtf8("旧") + "/a.Txt", "a");
    Result r = run({"recipes", "list", "--folder", dir.path()});
    EXPECT_EQ(r.out, "旧/\n  a.Txt\nF/\n  新年.Txt\n");
    for (const std::string &path : {std::string("F/新年.Txt"), "F/" + gbk::fromUtf8("新年") + ".Txt"}) {
        r = run({"recipes", "show", "--folder", dir.path(), path});
        EXPECT_EQ(r.status, 0) << r.err;
        EXPECT_EQ(r.out, "新年快乐\n");
    }
    r = run({"recipes", "show", "--folder", dir.path(), "旧/a.Txt"});
    EXPECT_EQ(r.out, "a\n");
}

// A NUL in an item name never reaches a listing raw, in either encoding.
TEST(RecipesCliText, NulInAnItemNameIsNeverListedRaw)
{
    TempFolder dir;
    const std::string ini("[ItemList]\r\nItemCount=1\r\nItemName1=a\0b\r\n[a\0b]\r\nx\0y\r\n", 52);
    dir.write("F/c.Ini", ini);
    const std::pair<const char *, std::string> rows[] = {{"utf-8", "F/\n  c.Ini\n    a\uFFFDb\n"},
                                                         {"gbk", "F/\n  c.Ini\n    a?b\n"}};
    for (const auto &[encoding, listing] : rows) {
        const Result r = run({"recipes", "list", "--encoding", encoding, "--folder", dir.path()});
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out, listing) << encoding;
    }
    const Result shown = run({"recipes", "show", "--folder", dir.path(), "F/c.Ini"});
    EXPECT_EQ(shown.out, "a\uFFFDb\nx\uFFFDy\n");
}
