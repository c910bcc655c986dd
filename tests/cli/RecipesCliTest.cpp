#include "cli/Cli.h"
#include "support/CliRun.h"
#include "base/Gbk.h"
#include "support/TempFolder.h"

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

    const Result raw = recipes({"show", "--encoding=gbk", "Alpha/问候.Ini", gbk::fromUtf8("晚安")});
    EXPECT_EQ(raw.status, 0);
    EXPECT_EQ(raw.out, gbk::fromUtf8("晚安\n晚安，好梦。\n"));
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
    dir.write("F/bad.Txt", "a\xFF\r\nb\xFF\r\n");
    dir.write("😀/x.Txt", "x");
    Result r = run({"recipes", "show", "--folder", dir.path(), "F/bad.Txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "a?\nb?\n");
    EXPECT_EQ(r.err, "vomra-cli recipes: warning: bytes that are not GBK became \"?\"\n");

    r = run({"recipes", "show", "--encoding", "gbk", "--folder", dir.path(), "F/bad.Txt"});
    EXPECT_EQ(r.out, "a\xFF\nb\xFF\n"); // raw bytes asked for, raw bytes given
    EXPECT_EQ(r.err, "");

    r = run({"recipes", "list", "--encoding", "gbk", "--folder", dir.path()});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "?/\n  x.Txt\nF/\n  bad.Txt\n");
    EXPECT_EQ(r.err, "vomra-cli recipes: warning: some characters cannot be written in GBK and became \"?\"\n");
}
