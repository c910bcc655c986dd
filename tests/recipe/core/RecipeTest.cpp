#include "recipe/core/Recipe.h"

#include "base/Gbk.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

std::string g(const char *utf8) { return gbk::fromUtf8(utf8); }

// "depth image text" per node, texts as people see them.
std::vector<std::string> describe(const std::vector<TRecipeNode> &tree)
{
    std::vector<std::string> out;
    for (const TRecipeNode &n : tree)
        out.push_back(std::to_string(n.depth) + ' ' + std::to_string(n.image) + ' ' + nodeDisplayText(n));
    return out;
}

std::size_t indexOf(const std::vector<TRecipeNode> &tree, int image, const std::string &displayText)
{
    for (std::size_t i = 0; i < tree.size(); ++i) {
        if (tree[i].image == image && nodeDisplayText(tree[i]) == displayText)
            return i;
    }
    ADD_FAILURE() << "no node " << image << " '" << displayText << "'";
    return 0;
}

class RecipeLibrary : public ::testing::Test {
protected:
    void SetUp() override { dir.copyFixture("recipes/library"); }
    TempFolder dir;
};

} // namespace

TEST_F(RecipeLibrary, ScanOrder)
{
    const std::vector<std::string> expected = {
        // Top-level folders in the reverse of name order, "Theme" left out.
        "0 0 Beta",
        "1 2 节日",
        "0 0 Alpha",
        // Subfolders (a nested "Theme" is listed), then collections with their
        // items, then recipe files whatever the case of their extension.
        "1 0 Theme",
        "2 2 deep",
        "1 0 Zeta",
        "2 3 z",
        "3 5 Z",
        "1 3 问候",
        "2 5 早安",
        "2 5 Good Morning",
        "2 5 晚安",
        "2 5 不存在",
        "1 2 ",
        "1 2 .hidden",
        "1 2 C",
        "1 2 a",
        "1 2 b",
        "0 0 .dot",
        "1 3 h",
        "2 5 one",
    };
    const auto tree = ScanRecipeLibrary(dir.path());
    EXPECT_EQ(describe(tree), expected);
    EXPECT_EQ(tree[0].diskPath, dir.path() + "Beta/");
    EXPECT_EQ(tree[indexOf(tree, riRecipeFile, "C")].diskPath, dir.path() + "Alpha/C.TXT");
    EXPECT_EQ(tree[indexOf(tree, riItem, "Z")].diskPath, dir.path() + "Alpha/Zeta/z.ini");

    EXPECT_TRUE(ScanRecipeLibrary(dir.path() + "missing/").empty());
}

TEST_F(RecipeLibrary, NodeRecords)
{
    struct Row {
        int image;
        const char *text;
        unsigned char kind;
        const char *filePath; // below the program folder
        const char *itemName; // UTF-8
        const char *diskPath;
    };
    const Row rows[] = {
        {riItem, "早安", nkCollection, "Alpha/问候.Ini", "早安", "Alpha/问候.Ini"},
        {riCollection, "问候", nkCollection, "Alpha/问候.Ini", "", "Alpha/问候.Ini"},
        {riItem, "Z", nkCollection, "Alpha/Zeta/z.Ini", "Z", "Alpha/Zeta/z.ini"},
        {riRecipeFile, "b", nkRecipeFile, "Alpha/b.Txt", "", "Alpha/b.txt"},
        {riRecipeFile, "C", nkRecipeFile, "Alpha/C.Txt", "", "Alpha/C.TXT"},
        {riRecipeFile, "", nkRecipeFile, "Alpha/.Txt", "", "Alpha/.Txt"},
        {riRecipeFile, "deep", nkRecipeFile, "Alpha/Theme/deep.Txt", "", "Alpha/Theme/deep.Txt"},
        {riFolder, "Zeta", nkFolder, "Alpha/Zeta/", "", "Alpha/Zeta/"},
        {riFolder, "Beta", nkFolder, "Beta/", "", "Beta/"},
    };
    const auto tree = ScanRecipeLibrary(dir.path());
    for (const Row &row : rows) {
        SCOPED_TRACE(row.text);
        const std::size_t i = indexOf(tree, row.image, row.text);
        const TQOBR_TreeNodeRecord r = GetNodeRecord(tree, i, dir.path());
        EXPECT_EQ(r.NodeKind, row.kind);
        EXPECT_EQ(r.FilePath, dir.path() + row.filePath);
        EXPECT_EQ(r.ItemName, g(row.itemName));
        EXPECT_EQ(r.DiskPath, dir.path() + row.diskPath);

        // The tree widget's own nodes carry no disk path, and expanded nodes show
        // images 1 and 4: the record, and the file it opens, stay the same.
        std::vector<TRecipeNode> chain;
        for (int k = static_cast<int>(i); k >= 0; k = parentIndex(tree, static_cast<std::size_t>(k))) {
            TRecipeNode n = tree[static_cast<std::size_t>(k)];
            n.diskPath.clear();
            if (k != static_cast<int>(i))
                n.image = n.image == riFolder ? riFolderOpen : n.image == riCollection ? riCollectionOpen : n.image;
            chain.push_back(n);
        }
        const TQOBR_TreeNodeRecord bare = GetNodeRecord(chain, dir.path());
        EXPECT_EQ(bare.FilePath, r.FilePath);
        EXPECT_EQ(bare.DiskPath, r.DiskPath);
    }
    EXPECT_EQ(GetNodeRecord(std::vector<TRecipeNode>{}, dir.path()).NodeKind, nkNone);
    EXPECT_EQ(GetNodeRecord(tree, tree.size(), dir.path()).NodeKind, nkNone);
}

TEST(RecipeScan, LinksLoopsAndOddEntries)
{
    TempFolder dir;
    dir.write("A/sub/x.Txt", "x");
    dir.write("A/real.Txt", "r");
    dir.write("tHeMe/t.Txt", "skipped whatever its case");
    dir.write(std::string("A/bad\xFF\xFE.Txt"), "not UTF-8");
    ASSERT_EQ(::symlink("..", dir.file("A/sub/up").c_str()), 0);        // back to A
    ASSERT_EQ(::symlink("../..", dir.file("A/sub/top").c_str()), 0);    // back to the program folder
    ASSERT_EQ(::symlink("A", dir.file("L").c_str()), 0);                // A a second time
    ASSERT_EQ(::symlink("real.Txt", dir.file("A/link.Txt").c_str()), 0); // a link to a file counts
    ASSERT_EQ(::symlink("nowhere.Txt", dir.file("A/gone.Txt").c_str()), 0);
    ASSERT_EQ(::mkfifo(dir.file("A/pipe.Txt").c_str(), 0644), 0);
    ASSERT_EQ(::mkfifo(dir.file("A/pipe.Ini").c_str(), 0644), 0);

    const auto tree = ScanRecipeLibrary(dir.path());
    const std::vector<std::string> expected = {
        "0 0 A", "1 0 sub", "2 2 x", "1 2 bad\xEF\xBF\xBD\xEF\xBF\xBD", "1 2 link", "1 2 real",
    };
    EXPECT_EQ(describe(tree), expected);

    // The odd name opens again by its record.
    const auto r = GetNodeRecord(tree, 3, dir.path());
    EXPECT_EQ(r.FilePath, dir.path() + "A/bad\xFF\xFE.Txt");
    EXPECT_EQ(ReadRecipeFile(r.DiskPath), "not UTF-8");
}

TEST(RecipeScan, UnlistableFolderKeepsItsNode)
{
    TempFolder dir;
    dir.write("A/ok.Txt", "ok");
    // A folder whose full path is too long to open is unlistable even for root.
    const int base = ::open(dir.path().c_str(), O_DIRECTORY | O_RDONLY);
    ASSERT_GE(base, 0);
    std::vector<int> fds{base};
    const std::string part(240, 'd');
    std::string rel = "A";
    int fd = ::openat(base, "A", O_DIRECTORY | O_RDONLY);
    fds.push_back(fd);
    for (int level = 0; level < 18; ++level) {
        ASSERT_EQ(::mkdirat(fd, part.c_str(), 0755), 0);
        fd = ::openat(fd, part.c_str(), O_DIRECTORY | O_RDONLY);
        ASSERT_GE(fd, 0);
        fds.push_back(fd);
    }
    ::close(::openat(fd, "lost.Txt", O_CREAT | O_WRONLY, 0644));

    const auto tree = ScanRecipeLibrary(dir.path());
    ASSERT_GE(tree.size(), 3u);
    EXPECT_EQ(nodeDisplayText(tree.back()), "ok");
    for (const TRecipeNode &n : tree)
        EXPECT_NE(nodeDisplayText(n), "lost");

    // Clean up from the inside: the temporary folder's remover works with full paths.
    ::unlinkat(fds.back(), "lost.Txt", 0);
    for (std::size_t k = fds.size() - 1; k >= 2; --k) {
        ::unlinkat(fds[k - 1], part.c_str(), AT_REMOVEDIR);
        ::close(fds[k]);
    }
    ::close(fds[1]);
    ::close(fds[0]);

    if (::geteuid() != 0) {
        dir.write("B/hidden.Txt", "h");
        ::chmod(dir.file("B").c_str(), 0);
        const auto again = ScanRecipeLibrary(dir.path());
        ASSERT_FALSE(again.empty());
        EXPECT_EQ(describe(again).front(), "0 0 B");
        EXPECT_EQ(again[1].depth, 0);
    }
}

TEST(RecipeScan, ResolveListedPath)
{
    TempFolder dir;
    dir.write("f/a.txt", "1");
    dir.write("f/A.TXT", "2");
    dir.write("f/exact.Txt", "3");
    EXPECT_EQ(resolveListedPath(dir.file("f/exact.Txt")), dir.file("f/exact.Txt"));
    EXPECT_EQ(resolveListedPath(dir.file("f/A.Txt")), dir.file("f/A.TXT"));
    EXPECT_EQ(resolveListedPath(dir.file("f/a.Txt")), dir.file("f/a.txt"));
    // Only the extension's case is free: the name itself must match.
    EXPECT_EQ(resolveListedPath(dir.file("f/EXACT.Txt")), dir.file("f/EXACT.Txt"));
    EXPECT_EQ(resolveListedPath(dir.file("nowhere/a.Txt")), dir.file("nowhere/a.Txt"));
    // A folder under the rebuilt name is not the file that was listed.
    dir.write("g/d.Txt/inside", "");
    dir.write("g/d.txt", "4");
    EXPECT_EQ(resolveListedPath(dir.file("g/d.Txt")), dir.file("g/d.txt"));
}

TEST(RecipeCollection, ItemNames)
{
    struct Row {
        const char *name;
        const char *ini;
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {"plain", "[ItemList]\r\nItemCount=2\r\nItemName1=a\r\nItemName2=b\r\n", {"a", "b"}},
        {"huge count stops at the last name", "[ItemList]\nItemCount=2000000000\nItemName1=a\nItemName2=b\n", {"a", "b"}},
        {"negative count", "[ItemList]\nItemCount=-5\nItemName1=a\n", {}},
        {"garbage count", "[ItemList]\nItemCount=abc\nItemName1=a\n", {}},
        {"no count", "[ItemList]\nItemName1=a\n", {}},
        {"no list", "[Other]\nItemCount=1\nItemName1=a\n", {}},
        {"hex count", "[ItemList]\nItemCount=0x2\nItemName1=a\nItemName2=b\nItemName3=c\n", {"a", "b"}},
        {"count below the names", "[ItemList]\nItemCount=1\nItemName1=a\nItemName2=b\n", {"a"}},
        {"gaps and empty names skipped", "[ItemList]\nItemCount=4\nItemName1=a\nItemName2=  \nItemName4=d\n", {"a", "d"}},
        {"numbered order, not file order", "[ItemList]\nItemCount=3\nItemName3=c\nItemName1=a\n", {"a", "c"}},
        {"names any case, blanks about =", "[itemlist]\n itemcount = 2 \n ITEMNAME1 =\t x \nitemName2=y\n", {"x", "y"}},
        {"a leading zero is another key", "[ItemList]\nItemCount=1\nItemName01=a\n", {}},
        {"first of a repeated key", "[ItemList]\nItemCount=1\nItemName1=a\nItemName1=b\n", {"a"}},
        {"only the first list counts",
         "[ItemList]\nItemCount=2\nItemName1=a\n[x]\nItemName2=no\n[ItemList]\nItemName2=no\n", {"a"}},
        {"item text is not read as keys", "[ItemList]\nItemCount=2\nItemName1=a\n[a]\nItemName2=b\n", {"a"}},
        {"GBK names", "[ItemList]\nItemCount=1\nItemName1=\xD4\xE7\xB0\xB2\n", {"\xD4\xE7\xB0\xB2"}},
        {"count too big for an int", "[ItemList]\nItemCount=99999999999\nItemName1=a\n", {}},
        {"empty file", "", {}},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(CollectionItemNames(row.ini), row.names);
    }
}

TEST(RecipeCollection, ItemSectionHeaders)
{
    struct Row {
        const char *line;
        const char *name; // UTF-8
        bool match;
    };
    const Row rows[] = {
        {"[早安]", "早安", true},
        {"[ good morning ]", "Good Morning", true},
        {"[GOODMORNING]", "good  morning", true},
        {"早安", "早安", false},
        {"[早安]x", "早安", false},
        {"[晚安]", "早安", false},
        // A trail byte that looks like an ASCII letter is part of its character.
        {"[丄]", "乤", false},
        {"[丄]", "丄", true},
        {"[]", "", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(IsItemSection(g(row.line), g(row.name)), row.match);
    }
}

TEST(RecipeCollection, ItemLines)
{
    using L = std::vector<std::string>;
    struct Row {
        const char *name;
        const char *ini;
        const char *item;
        std::optional<L> lines;
    };
    const Row rows[] = {
        {"trimmed lines up to the next header", "[a]\r\n  one  \r\n\ttwo\r\n\r\n[b]\r\nthree\r\n", "a", L{"one", "two", ""}},
        {"any line starting with [ stops", "[a]\none\n  [not an item\ntwo\n", "a", L{"one"}},
        {"first matching header wins", "[a]\nfirst\n[b]\n[ A ]\nsecond\n", "A", L{"first"}},
        {"header found trimmed", "x\n   [a]   \nline", "a", L{"line"}},
        {"lone CR line ends", "[a]\rone\rtwo\r[b]", "a", L{"one", "two"}},
        {"empty item", "[a]\n[b]\nx\n", "a", L{}},
        {"header at the very end", "x\n[a]", "a", L{}},
        {"no header", "[a]\nx\n", "b", std::nullopt},
        {"item list lines are not headers", "[ItemList]\nItemName1=a\n", "a", std::nullopt},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(IniItemLines(row.ini, row.item), row.lines);
    }
}

TEST_F(RecipeLibrary, ItemFromFile)
{
    const std::string path = dir.file("Alpha/问候.Ini");
    EXPECT_EQ(ReadIniItemLines(path, g("早安")), (std::vector<std::string>{g("早上好！"), g("今天天气不错。"), ""}));
    EXPECT_EQ(ReadIniItemLines(path, "GOOD MORNING"), (std::vector<std::string>{"Hello"}));
    EXPECT_EQ(ReadIniItemLines(path, g("晚安")), (std::vector<std::string>{g("晚安，好梦。")}));
    EXPECT_FALSE(ReadIniItemLines(path, g("不存在")));
    EXPECT_FALSE(ReadIniItemLines(dir.file("Alpha/missing.Ini"), g("早安")));
    // The lines display mode shows, in one buffer: the name first, the trailing empty line gone.
    for (const char *item : {"早安", "GOOD MORNING", "晚安"}) {
        SCOPED_TRACE(item);
        const auto packed = ReadItemCopyLines(path, g(item));
        ASSERT_TRUE(packed);
        EXPECT_EQ(packed->toVector(), ItemCopyLines(g(item), *ReadIniItemLines(path, g(item))));
    }
    EXPECT_FALSE(ReadItemCopyLines(path, g("不存在")));
    EXPECT_FALSE(ReadItemCopyLines(dir.file("Alpha/missing.Ini"), g("早安")));
}

TEST(RecipeCollection, DisplayCopyGivesSingleLineBreaks)
{
    struct Row {
        const char *selected;
        const char *copied;
    };
    const Row rows[] = {
        {"a\r\n\r\nb", "a\r\nb"},
        {"\r\n\r\n\r\n", "\r\n\r\n"},
        {"a\r\n\r\n\r\n\r\nb", "a\r\n\r\nb"},
        {"\r\r\n\r\n\n", "\r\r\n\n"},
        {"x\r\n\r", "x\r\n\r"},
        {"", ""},
    };
    for (const Row &row : rows)
        EXPECT_EQ(DisplayModeCopy(row.selected), row.copied) << row.selected;

    // Display mode shows the name, a gap, and every line followed by a gap, and
    // drops the empty lines at the end; copying all of it gives back the item.
    const std::vector<std::string> lines = {"one", "", "two", "", ""};
    std::vector<std::string> shown = {"Name", ""};
    for (const std::string &l : lines) {
        shown.push_back(l);
        shown.push_back("");
    }
    while (!shown.empty() && shown.back().empty())
        shown.pop_back();
    std::string all;
    for (std::size_t i = 0; i < shown.size(); ++i)
        all += (i ? "\r\n" : "") + shown[i];
    std::string expected;
    const auto copyLines = ItemCopyLines("Name", lines);
    EXPECT_EQ(copyLines, (std::vector<std::string>{"Name", "one", "", "two"}));
    for (std::size_t i = 0; i < copyLines.size(); ++i)
        expected += (i ? "\r\n" : "") + copyLines[i];
    EXPECT_EQ(DisplayModeCopy(all), expected);
}

TEST(RecipeLibraryPaths, IsInLibrary)
{
    const std::string folder = "/opt/vomra/";
    struct Row {
        const char *path;
        bool in;
    };
    const Row rows[] = {
        {"/opt/vomra/Vomra秘笈/a.Txt", true},
        {"/OPT/Vomra/x/a.Txt", true},
        {"/opt/vomra/a.Txt", true},
        {"/opt/vomra/Themes/a.Txt", true},
        {"/opt/vomra/Theme/a.Txt", false},
        {"/opt/vomra/THEME/sub/a.Txt", false},
        {"/opt/vomra/Theme/", true}, // not longer than the theme folder itself
        {"/opt/vomra/", false},
        {"/opt/vomraX/a.Txt", false},
        {"/opt/other/a.Txt", false},
        {"", false},
    };
    for (const Row &row : rows)
        EXPECT_EQ(IsInLibrary(row.path, folder), row.in) << row.path;
}

TEST(RecipeFiles, ReadAndWrite)
{
    TempFolder dir;
    // Line ends of every kind are written as CR LF; other bytes, NULs and bytes
    // that are not GBK included, go to disk as they are.
    const std::string text = std::string("a\nb\r\nc\rd\0\xFF\x81", 11);
    ASSERT_TRUE(WriteRecipeFile(dir.file("r.Txt"), text));
    EXPECT_EQ(dir.read("r.Txt"), std::string("a\r\nb\r\nc\r\nd\0\xFF\x81", 13));
    EXPECT_EQ(ReadRecipeFile(dir.file("r.Txt")), std::string("a\r\nb\r\nc\r\nd\0\xFF\x81", 13));

    // A big recipe is read whole.
    const std::string big(20u << 20, 'x');
    dir.write("big.Txt", big);
    const auto read = ReadRecipeFile(dir.file("big.Txt"));
    ASSERT_TRUE(read);
    EXPECT_EQ(read->size(), big.size());

    struct Bad {
        std::string path;
        const char *reason;
    };
    ASSERT_EQ(::mkfifo(dir.file("pipe.Txt").c_str(), 0644), 0);
    dir.write("folder.Txt/x", "");
    const Bad bad[] = {
        {dir.file("missing.Txt"), "No such file or directory"},
        {dir.file("pipe.Txt"), "not a regular file"}, // and no waiting for a writer
        {dir.file("folder.Txt"), "it is a folder"},
    };
    for (const Bad &b : bad) {
        const auto read = ReadRecipeFile(b.path);
        ASSERT_FALSE(read);
        EXPECT_EQ(read.error().message, "cannot read " + b.path + ": " + b.reason);
    }

    const auto written = WriteRecipeFile(dir.file("nowhere/r.Txt"), "x");
    ASSERT_FALSE(written);
    EXPECT_NE(written.message().find(dir.file("nowhere/r.Txt")), std::string::npos);
}

TEST(RecipeFiles, SaveThatRunsOutOfSpaceKeepsTheOldFile)
{
    // A file-size limit makes the write fail part-way, as a full disk does, and
    // holds for root too.
    TempFolder dir;
    dir.write("r.Txt", "old\r\n");
    struct rlimit old {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit small = old;
    small.rlim_cur = 64;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const auto written = WriteRecipeFile(dir.file("r.Txt"), std::string(4096, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(written);
    EXPECT_NE(written.message().find(dir.file("r.Txt")), std::string::npos);
    EXPECT_EQ(dir.read("r.Txt"), "old\r\n");
    int entries = 0;
    for (const auto &e : std::filesystem::directory_iterator(dir.path())) {
        (void)e;
        ++entries;
    }
    EXPECT_EQ(entries, 1) << "the temporary file is left behind";
}

TEST(RecipeFiles, FailedSaveKeepsTheOldFile)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    TempFolder dir;
    dir.write("ro/r.Txt", "old\r\n");
    ASSERT_EQ(::chmod(dir.file("ro").c_str(), 0555), 0);
    EXPECT_FALSE(WriteRecipeFile(dir.file("ro/r.Txt"), "new"));
    EXPECT_EQ(dir.read("ro/r.Txt"), "old\r\n");
}

TEST(StarterLibrary, ReadsAsShipped)
{
    // What a new user sees first: collections with items that have text, and
    // recipe files, all GBK with CR LF line ends.
    const std::string folder = std::string(VOMRA_TEST_DATA) + "/../../assets/recipes/";
    const auto tree = ScanRecipeLibrary(folder);
    ASSERT_FALSE(tree.empty());
    EXPECT_EQ(tree.front().text, kRecipeFolderName);
    int collections = 0;
    int files = 0;
    for (std::size_t i = 0; i < tree.size(); ++i) {
        const TRecipeNode &n = tree[i];
        SCOPED_TRACE(nodeDisplayText(n));
        if (n.image == riFolder)
            continue;
        const auto bytes = ReadRecipeFile(n.diskPath);
        ASSERT_TRUE(bytes);
        bool lossy = false;
        gbk::toUtf8(*bytes, &lossy);
        EXPECT_FALSE(lossy) << "not GBK";
        for (std::size_t k = 0; k < bytes->size(); ++k) {
            if ((*bytes)[k] == '\n') {
                EXPECT_TRUE(k > 0 && (*bytes)[k - 1] == '\r') << "a line end without CR";
            }
        }
        if (n.image == riCollection) {
            ++collections;
            EXPECT_GE(ReadCollectionItemNames(n.diskPath).size(), 3u);
        } else if (n.image == riItem) {
            const auto lines = ReadIniItemLines(n.diskPath, n.text);
            ASSERT_TRUE(lines);
            EXPECT_FALSE(ItemCopyLines(n.text, *lines).size() < 2) << "an item without text";
        } else {
            ++files;
            EXPECT_GT(bytes->size(), 10u);
        }
    }
    EXPECT_GE(collections, 3);
    EXPECT_GE(files, 5);
}
