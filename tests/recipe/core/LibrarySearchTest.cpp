// Finding text in the library: character boundaries of GBK, ASCII case, and the
// names, files and collection items a search finds.
#include "base/Gbk.h"
#include "recipe/core/LibrarySearch.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace vomra;

namespace {

std::string G(const char *utf8)
{
    return gbk::fromUtf8(utf8);
}

TEST(RecipeFind, GbkMatchesWholeCharactersAndIgnoresAsciiCase)
{
    const auto npos = std::string_view::npos;
    struct Row {
        std::string hay, needle;
        std::size_t expect;
    };
    // "圻" is 0xDB 0xDF, "苊" 0xDC 0xDB: the pair 0xDF 0xDC in "圻苊" crosses a
    // character boundary; so does "丁" (0xB6 0xA1) inside "\xA1\xB6".
    const Row rows[] = {
        {G("新年快乐"), G("快乐"), 4},
        {G("圻苊"), "\xDF\xDC", npos},
        {G("圻苊"), "\xDB\xDC", npos},
        {"\xA1\xB6\xA1", G("丁"), npos},
        {"Hello " + G("世界"), "hELLO", 0},
        {"Hello " + G("世界"), "WORLD", npos},
        {G("中") + "Ab", "aB", 2},
        // A trail byte that is an ASCII letter ("@" to "~") is no letter of its own.
        {"\x81\x61" "a", "A", 2},
        {"\x81\x41", "a", npos},
        {"abc", "", npos},
        {"ab", "abc", npos},
        {G("末") + "\x81", "\x81", 2}, // a lone lead byte at the end stands alone
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.needle);
        EXPECT_EQ(findGbk(row.hay, row.needle), row.expect);
    }
    EXPECT_EQ(findGbk("aXbx", "x", 2), 3u);
    EXPECT_EQ(findUtf8("Ünïcode ÄBC", "äbc"), std::string_view::npos) << "only ASCII case is ignored";
    EXPECT_EQ(findUtf8("Ünïcode ABC", "abc"), 10u);
}

class RecipeFindLibrary : public ::testing::Test {
protected:
    test::TempFolder dir;
    void SetUp() override
    {
        dir.write("Fest/Spring.Txt", G("春节快乐\r\n新年好 Happy\r\n"));
        dir.write("Fest/Other.Txt", G("nothing here\r\n"));
        dir.write("Fest/Set.Ini", G("[ItemList]\r\nItemCount=2\r\nItemName1=甲\r\nItemName2=乙\r\n"
                                    "[甲]\r\n  first HAPPY line  \r\n[乙]\r\nsad\r\n[甲]\r\nhappy again\r\n"));
        dir.write("Deep/Happy/empty.Txt", "");
        dir.write("Theme/happy.Txt", "happy");
        dir.write("Emoji/smile.Txt", "\xEF\xBB\xBFhappy \xF0\x9F\x98\x80\r\n");
    }
    static std::string shown(const TFindResult &r, std::size_t i)
    {
        return nodeDisplayText(r.tree[i]);
    }
    std::vector<std::string> matchedNames(const TFindResult &r) const
    {
        std::vector<std::string> names;
        for (std::size_t i = 0; i < r.tree.size(); ++i)
            if (r.matched[i])
                names.push_back(shown(r, i));
        return names;
    }
};

TEST_F(RecipeFindLibrary, FindsNamesFilesAndItems)
{
    const TFindResult r = FindInLibrary(dir.path(), "happy");
    // Names ("Happy" folder), file lines, the item's lines (the repeated header
    // is not the item's text), a UTF-8 file; never the themes.
    // Top-level folders come in reverse name order.
    EXPECT_EQ(matchedNames(r), std::vector<std::string>({"Set", "甲", "Spring", "smile", "Happy"}));
    ASSERT_EQ(r.hits.size(), 3u);
    EXPECT_EQ(r.hits[0].item, G("甲"));
    EXPECT_EQ(r.hits[0].line, 6);
    EXPECT_EQ(r.hits[0].text, "first HAPPY line");
    EXPECT_EQ(shown(r, r.hits[1].node), "Spring");
    EXPECT_EQ(r.hits[1].line, 2);
    EXPECT_EQ(r.hits[1].text, G("新年好 Happy"));
    EXPECT_EQ(shown(r, r.hits[2].node), "smile");
    EXPECT_EQ(r.hits[2].text, "happy \xF0\x9F\x98\x80");

    const TFindResult chinese = FindInLibrary(dir.path(), "快乐", dir.file("Fest/"));
    EXPECT_EQ(matchedNames(chinese), std::vector<std::string>({"Spring"}));
    const TFindResult elsewhere = FindInLibrary(dir.path(), "快乐", dir.file("Deep/"));
    EXPECT_TRUE(elsewhere.hits.empty());
    EXPECT_TRUE(matchedNames(FindInLibrary(dir.path(), "\xF0\x9F\x98\x80")) ==
                std::vector<std::string>({"smile"}))
        << "an emoji is found in a UTF-8 file and in no GBK one";
}

} // namespace
