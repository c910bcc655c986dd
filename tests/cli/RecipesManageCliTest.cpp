// vomra-cli recipes find / add / rm on a library fixture: the lines printed, the
// files written and what goes to the trash.
#include "base/Gbk.h"
#include "cli/Cli.h"
#include "support/CliRun.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

using namespace vomra;
using vomra::test::run;
using vomra::test::TempFolder;

namespace {

std::string G(const char *utf8)
{
    return gbk::fromUtf8(utf8);
}

class RecipesManageCli : public ::testing::Test {
protected:
    TempFolder dir;
    void SetUp() override
    {
        dir.write("Fest/Spring.Txt", G("春节快乐\r\n新年好 Happy\r\n"));
        dir.write("Fest/Set.Ini", G("[ItemList]\r\nItemCount=1\r\nItemName1=甲\r\n[甲]\r\n  happy 甲  \r\n"));
        dir.write("Emoji/smile.Txt", "\xEF\xBB\xBFhappy \xF0\x9F\x98\x80\r\n");
        dir.write("Theme/happy.Txt", "happy");
    }
    test::CliResult recipes(std::vector<std::string> args, const std::string &input = {})
    {
        args.insert(args.begin(), "recipes");
        args.push_back("--folder=" + dir.path());
        return run(args, {.input = input});
    }
    bool exists(const std::string &name) const { return std::filesystem::exists(dir.file(name)); }
};

TEST_F(RecipesManageCli, FindPrintsPathItemLineAndText)
{
    test::CliResult r = recipes({"find", "HAPPY"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Fest/Set.Ini\t甲\t5\thappy 甲\n"
                     "Fest/Spring.Txt\t\t2\t新年好 Happy\n"
                     "Emoji/smile.Txt\t\t1\thappy \xF0\x9F\x98\x80\n");
    r = recipes({"find", "happy", "--encoding", "gbk"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n') + 1), G("Fest/Set.Ini\t甲\t5\thappy 甲\n"));
    EXPECT_NE(r.err.find("\"?\""), std::string::npos) << "the emoji GBK cannot hold is not told";

    r = recipes({"find", "节快"});
    EXPECT_EQ(r.out, "Fest/Spring.Txt\t\t1\t春节快乐\n");
    r = recipes({"find", "nowhere"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(recipes({"find"}).status, 2);
}

TEST_F(RecipesManageCli, FindListsNamesHoldingTheTextWithLineZero)
{
    // 恆 is 0x90 'a' in GBK: "ABC" must not match its trail byte and the "bc" after it.
    dir.write("Fest/Names.Ini", G("[ItemList]\r\nItemCount=2\r\nItemName1=恆bc\r\nItemName2=Spring Song\r\n"
                                  "[恆bc]\r\n恆bc\r\n[Spring Song]\r\nla la\r\n"));
    struct Row {
        std::vector<std::string> args;
        int status;
        std::string out;
    };
    const Row rows[] = {
        // an item and a recipe file by name; the item list and headers are no content
        {{"find", "spring"}, 0, "Fest/Names.Ini\tSpring Song\t0\t\nFest/Spring.Txt\t\t0\t\n"},
        {{"find", "SET"}, 0, "Fest/Set.Ini\t\t0\t\n"},
        {{"find", "fest"}, 0, "Fest/\t\t0\t\n"},
        {{"find", "SMILE"}, 0, "Emoji/smile.Txt\t\t0\t\n"},
        // the name first, then the lines
        {{"find", "甲"}, 0, "Fest/Set.Ini\t甲\t0\t\nFest/Set.Ini\t甲\t5\thappy 甲\n"},
        {{"find", "恆B"}, 0, "Fest/Names.Ini\t恆bc\t0\t\nFest/Names.Ini\t恆bc\t6\t恆bc\n"},
        {{"find", "恆B", "--encoding", "gbk"}, 0, G("Fest/Names.Ini\t恆bc\t0\t\nFest/Names.Ini\t恆bc\t6\t恆bc\n")},
        {{"find", "ABC"}, 1, ""},
        {{"find", "Theme"}, 1, ""},
    };
    for (const Row &row : rows) {
        const test::CliResult r = recipes(row.args);
        EXPECT_EQ(r.status, row.status) << row.args[1] << ": " << r.err;
        EXPECT_EQ(r.out, row.out) << row.args[1];
    }
}

TEST_F(RecipesManageCli, AddWritesGbkWithCrLfAndReplacesOnlyWhenForced)
{
    struct Row {
        std::vector<std::string> args;
        std::string input;
        int status;
        const char *file;     // checked afterwards
        std::string expected; // its bytes
    };
    const Row rows[] = {
        {{"add", "Fest/new"}, "第一\n第二\n", 0, "Fest/new.Txt", G("第一\r\n第二\r\n")},
        {{"add", "Fest/new.Txt"}, "other\n", 1, "Fest/new.Txt", G("第一\r\n第二\r\n")},
        {{"add", "--force", "Fest/new.Txt"}, "other\r\n", 0, "Fest/new.Txt", "other\r\n"},
        {{"add", "Theme/x.Txt"}, "x", 1, "Theme/happy.Txt", "happy"},
        {{"add", "top.Txt"}, "x", 1, "Fest/new.Txt", "other\r\n"}, // not in a recipe folder
        {{"add", "Missing/x.Txt"}, "x", 1, "Fest/new.Txt", "other\r\n"},
        {{"add", "--force", "Emoji/raw.Txt", "--encoding=gbk"}, G("原样"), 0, "Emoji/raw.Txt", G("原样")},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.args[1]);
        const test::CliResult r = recipes(row.args, row.input);
        EXPECT_EQ(r.status, row.status) << r.err;
        EXPECT_EQ(dir.read(row.file), row.expected);
    }
    EXPECT_FALSE(exists("top.Txt"));
    EXPECT_FALSE(exists("Theme/x.Txt"));
    EXPECT_NE(recipes({"add", "Fest/new.Txt"}, "y").err.find("--force"), std::string::npos);
}

TEST_F(RecipesManageCli, RmMovesToTheTrashAndRefusesWhatIsNotLibrary)
{
    const char *old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    dir.write("loose.Txt", "loose");
    const int spring = recipes({"rm", "Fest/Spring.Txt"}).status;
    const int theme = recipes({"rm", "Theme"}).status;
    const int loose = recipes({"rm", "loose.Txt"}).status;
    const int missing = recipes({"rm", "Fest/none.Txt"}).status;
    const int folder = recipes({"rm", "Emoji/"}).status;
    if (old)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(spring, 0);
    EXPECT_EQ(dir.read("data/Trash/files/Spring.Txt"), G("春节快乐\r\n新年好 Happy\r\n"));
    EXPECT_FALSE(exists("Fest/Spring.Txt"));
    EXPECT_EQ(theme, 1);
    EXPECT_TRUE(exists("Theme/happy.Txt"));
    EXPECT_EQ(loose, 1);
    EXPECT_TRUE(exists("loose.Txt"));
    EXPECT_EQ(missing, 1);
    EXPECT_EQ(folder, 0);
    EXPECT_TRUE(exists("data/Trash/files/Emoji/smile.Txt"));
}

TEST_F(RecipesManageCli, ShowPrintsUtf8RecipesRight)
{
    dir.write("Emoji/two.Txt", "\xEF\xBB\xBF第一 \xF0\x9F\x98\x80\r\nsecond\r\n");
    test::CliResult r = recipes({"show", "Emoji/two.Txt"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "第一 \xF0\x9F\x98\x80\nsecond\n");
    EXPECT_EQ(r.err, "");
    r = recipes({"show", "Emoji/two.Txt", "--encoding", "gbk"});
    EXPECT_EQ(r.out, G("第一 ?\nsecond\n"));
    EXPECT_NE(r.err.find("\"?\""), std::string::npos);
}

} // namespace
