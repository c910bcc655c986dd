// Changing the library on disk: the entries after every change and after every
// refusal, where nothing may be lost or replaced.
#include "base/Gbk.h"
#include "base/Trash.h"
#include "recipe/core/LibraryOperations.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

using namespace vomra;

namespace {

std::string G(const char *utf8)
{
    return gbk::fromUtf8(utf8);
}

class RecipeManageTest : public ::testing::Test {
protected:
    test::TempFolder dir;
    void SetUp() override
    {
        dir.write("A/one.Txt", "one");
        dir.write("A/two.txt", "two");
        dir.write("A/set.Ini", "[ItemList]");
        dir.write("B/one.Txt", "other one");
        dir.write("Theme/Theme.Ini", "");
    }
    bool exists(const std::string &name) const { return std::filesystem::exists(dir.file(name)); }
};

TEST_F(RecipeManageTest, RenameKeepsTheListedExtensionAndNeverReplaces)
{
    struct Row {
        const char *from, *newName, *expectPath; // expectPath empty: refused
        int error;
    };
    const Row rows[] = {
        {"A/one.Txt", "first", "A/first.Txt", 0},
        {"A/two.txt", "second.TXT", "A/second.TXT", 0}, // the extension typed counts
        {"A/set.Ini", "group", "A/group.Ini", 0},
        {"A/first.Txt", "second", "A/second.Txt", 0},   // case differs from second.TXT: a name of its own
        {"A/second.Txt", "second.TXT", "", EEXIST},     // taken
        {"A/group.Ini", "a/b", "", EINVAL},
        {"A/group.Ini", "..", "", EINVAL},
        {"A/group.Ini", "", "", EINVAL},
        {"B/", "C", "C/", 0},                            // a folder
        {"C/", "A", "", EEXIST},
        {"A/missing.Txt", "x", "", ENOENT},
        {"A/group.Ini", "group", "A/group.Ini", 0},      // the same name: nothing to do
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + " -> " + row.newName);
        const std::string before = exists(row.from) && !std::string(row.from).ends_with("/") ? dir.read(row.from) : "";
        const TManageResult r = RenameRecipeEntry(dir.file(row.from), row.newName);
        EXPECT_EQ(r.ok, *row.expectPath != '\0');
        EXPECT_EQ(r.error, row.error);
        if (r.ok) {
            EXPECT_EQ(r.path, dir.file(row.expectPath));
            if (!before.empty()) {
                EXPECT_EQ(dir.read(row.expectPath), before);
            }
        } else if (row.error != ENOENT) {
            EXPECT_TRUE(exists(row.from)) << "the refused entry is gone";
        }
    }
    EXPECT_EQ(dir.read("C/one.Txt"), "other one");
    EXPECT_EQ(dir.read("A/second.TXT"), "two");
}

TEST_F(RecipeManageTest, NameNotInUtf8IsRenamedByItsBytes)
{
    const std::string gbkName = "A/" + G("新年") + ".Txt";
    dir.write(gbkName, "bytes");
    const TManageResult r = RenameRecipeEntry(dir.file(gbkName), "春节");
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(dir.read("A/春节.Txt"), "bytes");
    EXPECT_FALSE(exists(gbkName));
    const TManageResult back = RenameRecipeEntry(dir.file("A/春节.Txt"), G("新年"));
    ASSERT_TRUE(back.ok);
    EXPECT_EQ(dir.read(gbkName), "bytes");
}

TEST_F(RecipeManageTest, MoveAndCopyBetweenFolders)
{
    const std::string prog = dir.path();
    struct Row {
        const char *from, *to;
        bool copy;
        const char *expectPath;
        int error;
    };
    const Row rows[] = {
        {"A/two.txt", "B/", false, "B/two.txt", 0},
        {"A/one.Txt", "B/", false, "", EEXIST},      // B has a one.Txt of its own
        {"A/one.Txt", "B/", true, "", EEXIST},
        {"A/set.Ini", "B/", true, "B/set.Ini", 0},
        {"A/one.Txt", "Theme/", false, "", EINVAL},  // never into the themes
        {"A/one.Txt", "theme/", false, "", EINVAL},
        {"A/one.Txt", "", false, "", EINVAL},        // not into the program folder itself
        {"A/one.Txt", "Nowhere/", false, "", EINVAL},
        {"A/", "B/", false, "", EINVAL},             // folders are not dragged
        {"A/one.Txt", "A/", false, "A/one.Txt", 0},  // where it is already
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.from) + " -> " + row.to);
        const TManageResult r = MoveRecipeEntry(dir.file(row.from), dir.file(row.to), row.copy, prog);
        EXPECT_EQ(r.ok, *row.expectPath != '\0');
        EXPECT_EQ(r.error, row.error);
        if (r.ok) {
            EXPECT_EQ(r.path, dir.file(row.expectPath));
        }
    }
    EXPECT_FALSE(exists("A/two.txt"));
    EXPECT_EQ(dir.read("B/two.txt"), "two");
    EXPECT_EQ(dir.read("A/set.Ini"), "[ItemList]"); // a copy leaves the original
    EXPECT_EQ(dir.read("B/set.Ini"), "[ItemList]");
    EXPECT_EQ(dir.read("A/one.Txt"), "one");
    EXPECT_EQ(dir.read("B/one.Txt"), "other one");
}

TEST_F(RecipeManageTest, ReadOnlyFolderRefusesAndKeepsEverything)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root writes into read-only folders";
    ::chmod(dir.file("B").c_str(), 0555);
    const TManageResult move = MoveRecipeEntry(dir.file("A/two.txt"), dir.file("B/"), false, dir.path());
    const TManageResult folder = NewRecipeFolder(dir.file("B/"), "new");
    const TManageResult rename = RenameRecipeEntry(dir.file("B/one.Txt"), "x");
    ::chmod(dir.file("B").c_str(), 0755);
    for (const TManageResult &r : {move, folder, rename}) {
        EXPECT_FALSE(r.ok);
        EXPECT_EQ(r.error, EACCES);
    }
    EXPECT_EQ(manageReason(EACCES), "没有权限");
    EXPECT_EQ(dir.read("A/two.txt"), "two");
    EXPECT_EQ(dir.read("B/one.Txt"), "other one");
}

TEST_F(RecipeManageTest, NewFolderTakesTheNextFreeName)
{
    const TManageResult a = NewRecipeFolder(dir.file("A/"), "新建文件夹");
    const TManageResult b = NewRecipeFolder(dir.file("A"), "新建文件夹");
    ASSERT_TRUE(a.ok && b.ok);
    EXPECT_EQ(a.path, dir.file("A/新建文件夹/"));
    EXPECT_EQ(b.path, dir.file("A/新建文件夹 (2)/"));
    EXPECT_FALSE(NewRecipeFolder(dir.file("A/"), "x/y").ok);
}

TEST_F(RecipeManageTest, AddRefusesToReplaceUnlessAsked)
{
    EXPECT_TRUE(AddRecipeFile(dir.file("A/new.Txt"), "1", false).ok);
    const TManageResult again = AddRecipeFile(dir.file("A/new.Txt"), "2", false);
    EXPECT_FALSE(again.ok);
    EXPECT_EQ(again.error, EEXIST);
    EXPECT_EQ(dir.read("A/new.Txt"), "1");
    EXPECT_TRUE(AddRecipeFile(dir.file("A/new.Txt"), "3", true).ok);
    EXPECT_EQ(dir.read("A/new.Txt"), "3");
}

// The trash under a temporary XDG_DATA_HOME: the entry and its record, a second
// entry of the same name beside the first, names kept as bytes.
TEST_F(RecipeManageTest, TrashKeepsEveryEntryWithItsRecord)
{
    const char *old = std::getenv("XDG_DATA_HOME");
    const std::string saved = old ? old : "";
    ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
    const std::string gbkName = "A/" + G("新年") + ".Txt";
    dir.write(gbkName, "gbk");
    dir.write("B/two.txt", "b2");
    int err = 0;
    EXPECT_TRUE(moveToTrash(dir.file("A/two.txt"), &err));
    EXPECT_TRUE(moveToTrash(dir.file("B/two.txt"), &err));
    EXPECT_TRUE(moveToTrash(dir.file(gbkName), &err));
    EXPECT_TRUE(moveToTrash(dir.file("B/"), &err)); // a folder too
    EXPECT_FALSE(moveToTrash(dir.file("A/missing"), &err));
    EXPECT_EQ(err, ENOENT);
    if (old)
        ::setenv("XDG_DATA_HOME", saved.c_str(), 1);
    else
        ::unsetenv("XDG_DATA_HOME");

    EXPECT_FALSE(exists("A/two.txt"));
    EXPECT_FALSE(exists(gbkName));
    EXPECT_FALSE(exists("B"));
    EXPECT_EQ(dir.read("data/Trash/files/two.txt"), "two");
    EXPECT_EQ(dir.read("data/Trash/files/two.txt.2"), "b2");
    EXPECT_EQ(dir.read("data/Trash/files/" + G("新年") + ".Txt"), "gbk");
    EXPECT_EQ(dir.read("data/Trash/files/B/one.Txt"), "other one");
    const std::string info = dir.read("data/Trash/info/" + G("新年") + ".Txt.trashinfo");
    EXPECT_NE(info.find("[Trash Info]\nPath=" + dir.path() + "A/%D0%C2%C4%EA.Txt\nDeletionDate="), std::string::npos)
        << info;
}

} // namespace
