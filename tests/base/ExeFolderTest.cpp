#include "base/ExeFolder.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

using vomra::test::TempFolder;
namespace fs = std::filesystem;

namespace {

// An installed layout: <prefix>/bin/ beside <prefix>/share/vomra/ with the
// shipped program-folder contents.
void install(const TempFolder &t)
{
    fs::create_directories(t.file("usr/bin"));
    t.write("usr/share/vomra/QOBR.Ini", "[图片磨牙器]\r\n常规灰度=MW \r\n");
    t.write("usr/share/vomra/QOBR.CHM", "help v1");
    t.write("usr/share/vomra/Theme/Theme.Ini", "[ThemeList]\r\n");
    t.write("usr/share/vomra/Vomra秘笈/问候.Txt", "你好\r\n");
    t.write("usr/share/vomra/Vomra秘笈/节日/春节.Ini", "[ItemList]\r\n");
}

void age(const std::string &path, int seconds)
{
    fs::last_write_time(path, fs::last_write_time(path) - std::chrono::seconds(seconds));
}

} // namespace

TEST(ProgramFolder, ChoosesBetweenTheExecutablesFolderAndTheUsersOne)
{
    struct Case {
        const char *name;
        bool installed;    // a share/vomra beside bin/
        bool iniBesideExe; // QOBR.Ini in bin/
        bool usesExeFolder;
    };
    const Case cases[] = {
        {"build tree or bare copy", false, false, true},
        {"portable copy", false, true, true},
        {"portable copy over an install", true, true, true},
        {"installed", true, false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        fs::create_directories(t.file("usr/bin"));
        if (c.installed)
            install(t);
        if (c.iniBesideExe)
            t.write("usr/bin/QOBR.Ini", "");
        const std::string exeDir = t.file("usr/bin/");
        const std::string userDir = t.file("home/.local/share/vomra/");
        EXPECT_EQ(vomra::resolveProgramFolder(exeDir, userDir), c.usesExeFolder ? exeDir : userDir);
        EXPECT_EQ(fs::exists(userDir), !c.usesExeFolder);
    }
}

TEST(ProgramFolder, ExecutablesFolderThatCannotBeWrittenIsNotUsedOnceInstalled)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "every folder is writable for root";
    TempFolder t;
    install(t);
    t.write("usr/bin/QOBR.Ini", "");
    fs::permissions(t.file("usr/bin"), fs::perms::owner_write, fs::perm_options::remove);
    EXPECT_EQ(vomra::resolveProgramFolder(t.file("usr/bin/"), t.file("u/")), t.file("u/"));
}

TEST(ProgramFolder, FirstStartCopiesTheInstalledContents)
{
    TempFolder t;
    install(t);
    fs::permissions(t.file("usr/share/vomra/QOBR.Ini"), fs::perms::others_read | fs::perms::owner_read,
                    fs::perm_options::replace);
    const std::string user = vomra::resolveProgramFolder(t.file("usr/bin/"), t.file("data/vomra"));
    ASSERT_EQ(user, t.file("data/vomra/"));
    for (const char *f : {"QOBR.Ini", "QOBR.CHM", "Theme/Theme.Ini", "Vomra秘笈/问候.Txt", "Vomra秘笈/节日/春节.Ini"})
        EXPECT_EQ(t.read(std::string("data/vomra/") + f), t.read(std::string("usr/share/vomra/") + f)) << f;
    // The settings are written at close: the copy must be the user's to write.
    EXPECT_NE(fs::status(t.file("data/vomra/QOBR.Ini")).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(ProgramFolder, UsersFilesAreNeverReplaced)
{
    TempFolder t;
    install(t);
    const std::string user = t.file("data/vomra/");
    vomra::resolveProgramFolder(t.file("usr/bin/"), user);
    // The user edits a recipe, deletes another, changes the settings.
    t.write("data/vomra/Vomra秘笈/问候.Txt", "mine");
    fs::remove(t.file("data/vomra/Vomra秘笈/节日/春节.Ini"));
    t.write("data/vomra/QOBR.Ini", "[窗体]\r\n宽度=800\r\n");
    vomra::resolveProgramFolder(t.file("usr/bin/"), user);
    EXPECT_EQ(t.read("data/vomra/Vomra秘笈/问候.Txt"), "mine");
    EXPECT_FALSE(fs::exists(t.file("data/vomra/Vomra秘笈/节日/春节.Ini"))) << "a deleted recipe came back";
    EXPECT_EQ(t.read("data/vomra/QOBR.Ini"), "[窗体]\r\n宽度=800\r\n");

    // Without QOBR.Ini the folder is seeded again, still keeping what is there.
    fs::remove(t.file("data/vomra/QOBR.Ini"));
    vomra::resolveProgramFolder(t.file("usr/bin/"), user);
    EXPECT_EQ(t.read("data/vomra/Vomra秘笈/问候.Txt"), "mine");
    EXPECT_TRUE(fs::exists(t.file("data/vomra/Vomra秘笈/节日/春节.Ini")));
    EXPECT_EQ(t.read("data/vomra/QOBR.Ini"), t.read("usr/share/vomra/QOBR.Ini"));
}

TEST(ProgramFolder, HelpFileFollowsTheInstalledOneUnlessTheUserChangedIt)
{
    // Each case: a first start with "help v1" installed, then what happens to the
    // user's copy or the installation before the second start.
    struct Case {
        const char *name;
        const char *userWrites; // into the copy after the first start, or null
        bool dropRecord;        // a copy made by a version that kept no record
        const char *installed;  // the installed file at the second start
        int installedAge;       // seconds the installed file is back-dated
        const char *expected;
    };
    const Case cases[] = {
        {"newer package", nullptr, false, "help v2", 0, "help v2"},
        {"package built before the first start", nullptr, false, "help v2", 100000, "help v2"},
        {"older package", nullptr, false, "help v0", 100000, "help v0"},
        {"same package", nullptr, false, "help v1", 0, "help v1"},
        {"copy edited by the user", "my notes", false, "help v2", 0, "my notes"},
        {"copy from a version without records", nullptr, true, "help v2", 100000, "help v2"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        TempFolder t;
        install(t);
        const std::string user = t.file("data/vomra/");
        vomra::resolveProgramFolder(t.file("usr/bin/"), user);
        ASSERT_EQ(t.read("data/vomra/QOBR.CHM"), "help v1");
        if (c.userWrites)
            t.write("data/vomra/QOBR.CHM", c.userWrites);
        if (c.dropRecord)
            fs::remove(t.file("data/vomra/.QOBR.CHM.installed"));
        t.write("usr/share/vomra/QOBR.CHM", c.installed);
        if (c.installedAge)
            age(t.file("usr/share/vomra/QOBR.CHM"), c.installedAge);
        vomra::resolveProgramFolder(t.file("usr/bin/"), user);
        EXPECT_EQ(t.read("data/vomra/QOBR.CHM"), c.expected);
        // A third start with the same installation changes nothing more.
        vomra::resolveProgramFolder(t.file("usr/bin/"), user);
        EXPECT_EQ(t.read("data/vomra/QOBR.CHM"), c.expected);
        EXPECT_FALSE(fs::exists(t.file("data/vomra/QOBR.CHM.part")));
    }
}

TEST(ProgramFolder, UserFolderThatCannotBeMadeFallsBackToTheInstalledOne)
{
    TempFolder t;
    install(t);
    t.write("home", "a file where the home folder should be");
    EXPECT_EQ(vomra::resolveProgramFolder(t.file("usr/bin/"), t.file("home/.local/share/vomra/")),
              fs::weakly_canonical(t.file("usr/share/vomra")).string() + "/");
}

TEST(ProgramFolder, UserDataFolderFollowsXdgDataHome)
{
    struct Case {
        const char *xdg;
        const char *home;
        const char *folder;
    };
    const Case cases[] = {
        {"/data", "/home/u", "/data/vomra/"},
        {"/data/", "/home/u", "/data/vomra/"},
        {nullptr, "/home/u", "/home/u/.local/share/vomra/"},
        {"", "/home/u/", "/home/u/.local/share/vomra/"},
        {"relative/dir", "/home/u", "/home/u/.local/share/vomra/"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(vomra::userDataFolder(c.xdg, c.home), c.folder) << (c.xdg ? c.xdg : "(unset)");
    // No HOME: the account's home folder, never a relative path.
    EXPECT_EQ(vomra::userDataFolder(nullptr, nullptr).front(), '/');
}
