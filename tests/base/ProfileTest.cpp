#include "base/Profile.h"
#include "support/TempFolder.h"

#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

mode_t modeOf(const std::string &path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

bool isLink(const std::string &path)
{
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

// Runs f as a user without privileges: root may write anything, so as root f runs
// in a child process as "nobody". f's result is the child's exit status.
bool unprivileged(const std::function<bool()> &f)
{
    if (::geteuid() != 0)
        return f();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0)
            ::_exit(2);
        ::_exit(f() ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

TEST(Profile, LookupRules)
{
    const std::string ini = "; comment\r\n"
                            "[Form]\r\n"
                            "  Width =  800  \r\n"
                            "height=600\n"
                            "Width=1\r\n"
                            "[ other ]\r\n"
                            "k=v\r\n"
                            "[FORM]\r\n"
                            "Extra=second section is never read\r\n";
    EXPECT_EQ(Profile::lookup(ini, "form", "WIDTH"), "800");
    EXPECT_EQ(Profile::lookup(ini, "Form", "Height"), "600"); // LF-only line
    EXPECT_EQ(Profile::lookup(ini, "Other", "K"), "v");       // blanks inside brackets
    EXPECT_EQ(Profile::lookup(ini, "Form", "Extra"), std::nullopt);
    EXPECT_EQ(Profile::lookup(ini, "Missing", "Width"), std::nullopt);
    EXPECT_EQ(Profile::lookup(ini, "Form", "; comment"), std::nullopt);
    EXPECT_EQ(Profile::lookup("", "Form", "Width"), std::nullopt);
    // No final line end, and GBK names compared byte for byte.
    EXPECT_EQ(Profile::lookup("[\xB4\xB0\xCC\xE5]\r\n\xBF\xED=7", "\xB4\xB0\xCC\xE5", "\xBF\xED"), "7");
}

TEST(Profile, IntegerParsing)
{
    struct Row {
        const char *text;
        std::optional<int> value;
    };
    const Row rows[] = {
        {"42", 42},         {"-3", -3},     {"+7", 7},          {" 12 ", 12},      {"0x1F", 31},
        {"0XfF", 255},      {"-0x10", -16}, {"0x8000000F", static_cast<int>(0x8000000Fu)},
        {"", std::nullopt}, {"0x", std::nullopt}, {"12abc", std::nullopt}, {"abc", std::nullopt},
        {"-", std::nullopt}, {"2147483647", 2147483647}, {"-2147483648", -2147483647 - 1},
        {"2147483648", std::nullopt}, {"0x100000000", std::nullopt}, {"99999999999999999999", std::nullopt},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Profile::parseInteger(r.text), r.value) << "text: " << r.text;
}

TEST(Profile, ValuesAreCutAt2047BytesWithoutSplittingACharacter)
{
    const std::string longAscii(3000, 'a');
    EXPECT_EQ(Profile::lookup("[s]\nk=" + longAscii + "\n", "s", "k")->size(), 2047u);

    std::string gbkValue = "a";
    for (int i = 0; i < 1500; ++i)
        gbkValue += "\xB0\xA1";
    const std::string v = *Profile::lookup("[s]\nk=" + gbkValue + "\n", "s", "k");
    EXPECT_EQ(v.size(), 2047u); // "a" + 1023 whole characters
    EXPECT_EQ(static_cast<unsigned char>(v.back()), 0xA1);
}

TEST(Profile, WriteKeepsEveryOtherLineByteForByte)
{
    struct Row {
        const char *name;
        std::string before;
        const char *section;
        const char *key;
        std::string after;
    };
    const Row rows[] = {
        {"replace in place", "; top\r\n[A]\r\nx=1\r\nkey = old\r\ny=2\n", "a", "KEY",
         "; top\r\n[A]\r\nx=1\r\nKEY=new\r\ny=2\n"},
        {"append at end of section, before blank lines", "[A]\r\nx=1\r\n\r\n[B]\r\nz=3\r\n", "A", "k",
         "[A]\r\nx=1\r\nk=new\r\n\r\n[B]\r\nz=3\r\n"},
        {"append section at end", "[A]\nx=1\n", "B", "k", "[A]\nx=1\n[B]\r\nk=new\r\n"},
        {"no final line end", "[A]\r\nx=1", "A", "k", "[A]\r\nx=1\r\nk=new\r\n"},
        {"no final line end, new section", "[A]\r\nx=1", "B", "k", "[A]\r\nx=1\r\n[B]\r\nk=new\r\n"},
        {"empty file", "", "S", "k", "[S]\r\nk=new\r\n"},
        {"only the first duplicate key changes", "[A]\r\nk=1\r\nk=2\r\n", "A", "k", "[A]\r\nk=new\r\nk=2\r\n"},
        {"only the first duplicate section", "[A]\r\n[A]\r\nk=2\r\n", "A", "k", "[A]\r\nk=new\r\n[A]\r\nk=2\r\n"},
        {"empty section header at end", "[A]", "A", "k", "[A]\r\nk=new\r\n"},
    };
    for (const Row &r : rows)
        EXPECT_EQ(Profile::withEntry(r.before, r.section, r.key, "new"), r.after) << r.name;
}

TEST(Profile, FileRoundTripAndHostileContent)
{
    TempFolder dir;
    const std::string name = "QOBR.Ini";
    std::string hostile = std::string("[A]\r\nnul=a\0b\r\n", 14) + std::string(1 << 20, 'x') + "\r\n[B]\r\nv=1";
    dir.write(name, hostile);
    Profile p(dir.file(name));
    EXPECT_EQ(p.readInteger("B", "v", 0), 1);
    EXPECT_EQ(p.readString("A", "nul", "d"), std::string("a\0b", 3));
    ASSERT_TRUE(p.writeString("B", "w", "-5"));
    EXPECT_EQ(p.readInteger("b", "W", 0), -5);
    EXPECT_EQ(dir.read(name), hostile + "\r\nw=-5\r\n");

    EXPECT_EQ(p.readInteger("A", "missing", 9), 9);
    EXPECT_EQ(p.readInteger("A", "nul", 9), 9); // not a number
    EXPECT_TRUE(p.readBool("B", "v", false));
    EXPECT_TRUE(p.writeString("B", "flag", "0"));
    EXPECT_FALSE(p.readBool("B", "flag", true));

    Profile none(dir.file("absent.Ini"));
    EXPECT_EQ(none.readString("A", "k", "dflt"), "dflt");
    ASSERT_TRUE(none.writeString("A", "k", "v"));
    EXPECT_EQ(dir.read("absent.Ini"), "[A]\r\nk=v\r\n");
}

TEST(Profile, FailedWriteLeavesTheOldFileAndNamesThePath)
{
    TempFolder dir;
    ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
    dir.write("ro/QOBR.Ini", "[A]\r\nk=1\r\n");
    const std::string folder = dir.file("ro");
    const std::string path = folder + "/QOBR.Ini";
    ASSERT_EQ(::chmod(path.c_str(), 0666), 0); // only the folder stops the write
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    EXPECT_TRUE(unprivileged([&path] {
        const auto written = Profile(path).writeString("A", "k", "2");
        return !written && written.error().message.find(path) != std::string::npos;
    }));
    EXPECT_EQ(dir.read("ro/QOBR.Ini"), "[A]\r\nk=1\r\n");
}

TEST(Profile, FailedWriteWhenTheTargetCannotBeReplaced)
{
    // Works as root too: the target is a folder, so the rename over it fails.
    TempFolder dir;
    dir.write("QOBR.Ini/inner", "x");
    Profile p(dir.file("QOBR.Ini"));
    const auto written = p.writeString("A", "k", "2");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().message.find(dir.file("QOBR.Ini")), std::string::npos);
    EXPECT_EQ(dir.read("QOBR.Ini/inner"), "x");
}

TEST(Profile, BareCrAtTheEndStaysWithItsLine)
{
    struct Row {
        const char *name;
        std::string before;
        const char *section;
        std::string after;
    };
    const Row rows[] = {
        {"key added to the last section", "[A]\r\nx=1\r", "A", "[A]\r\nx=1\r\nk=new\r\n"},
        {"section added after it", "[A]\r\nx=1\r", "B", "[A]\r\nx=1\r\n[B]\r\nk=new\r\n"},
        {"header alone", "[A]\r", "A", "[A]\r\nk=new\r\n"},
    };
    for (const Row &r : rows) {
        const std::string after = Profile::withEntry(r.before, r.section, "k", "new");
        EXPECT_EQ(after, r.after) << r.name;
        EXPECT_EQ(Profile::lookup(after, "A", "x"), Profile::lookup(r.before, "A", "x")) << r.name;
    }
}

TEST(Profile, DoubleByteNamesCompareExactly)
{
    // 丄 is 81 41 and 乤 is 81 61: their trail bytes differ only as ASCII case would.
    const std::string up = "\x81\x41", low = "\x81\x61";
    EXPECT_FALSE(Profile::namesEqual(up, low));
    EXPECT_FALSE(Profile::namesEqual("k" + up, "K" + low));
    EXPECT_TRUE(Profile::namesEqual("k" + up + "x", "K" + up + "X"));
    // A single byte never pairs with the byte before it: "aB" and "Ab" match.
    EXPECT_TRUE(Profile::namesEqual("aB", "Ab"));

    const std::string ini = "[" + up + "]\r\nk=1\r\n[" + low + "]\r\nk=2\r\n";
    EXPECT_EQ(Profile::lookup(ini, up, "K"), "1");
    EXPECT_EQ(Profile::lookup(ini, low, "K"), "2");
    EXPECT_EQ(Profile::withEntry(ini, low, "k", "3"), "[" + up + "]\r\nk=1\r\n[" + low + "]\r\nk=3\r\n");
    EXPECT_EQ(Profile::lookup("[s]\r\n" + up + "=1\r\n", "S", low), std::nullopt);
}

TEST(Profile, WritesThroughLinksAndKeepsThem)
{
    TempFolder dir;
    dir.write("real/QOBR.Ini", "[A]\r\nk=1\r\n");
    ASSERT_EQ(::chmod(dir.file("real/QOBR.Ini").c_str(), 0640), 0);
    // A relative link to a relative link to the file, and a link to a file not yet there.
    ASSERT_EQ(::symlink("real/QOBR.Ini", dir.file("hop.Ini").c_str()), 0);
    ASSERT_EQ(::symlink("hop.Ini", dir.file("QOBR.Ini").c_str()), 0);
    ASSERT_EQ(::symlink(dir.file("real/new.Ini").c_str(), dir.file("dangling.Ini").c_str()), 0);

    ASSERT_TRUE(Profile(dir.file("QOBR.Ini")).writeString("A", "k", "2"));
    EXPECT_TRUE(isLink(dir.file("QOBR.Ini")));
    EXPECT_TRUE(isLink(dir.file("hop.Ini")));
    EXPECT_EQ(dir.read("real/QOBR.Ini"), "[A]\r\nk=2\r\n");
    EXPECT_EQ(modeOf(dir.file("real/QOBR.Ini")), 0640u);

    ASSERT_TRUE(Profile(dir.file("dangling.Ini")).writeString("A", "k", "3"));
    EXPECT_TRUE(isLink(dir.file("dangling.Ini")));
    EXPECT_EQ(dir.read("real/new.Ini"), "[A]\r\nk=3\r\n");

    // A loop of links fails for every user, naming the file.
    ASSERT_EQ(::symlink("loop2", dir.file("loop1").c_str()), 0);
    ASSERT_EQ(::symlink("loop1", dir.file("loop2").c_str()), 0);
    const auto written = Profile(dir.file("loop1")).writeString("A", "k", "4");
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().message.find(dir.file("loop1")), std::string::npos) << written.message();
    EXPECT_TRUE(isLink(dir.file("loop1")));
}

TEST(Profile, FileTheUserMayNotReadOrWriteIsNotReplaced)
{
    TempFolder dir;
    // The folder is open to everyone: only the file's own mode may stop the write.
    ASSERT_EQ(::chmod(dir.path().c_str(), 0777), 0);
    for (const mode_t mode : {0444, 0222}) {
        const std::string path = dir.file("QOBR.Ini");
        dir.write("QOBR.Ini", "[A]\r\nk=1\r\n");
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        const bool refused = unprivileged([&path] {
            const auto written = Profile(path).writeString("A", "k", "2");
            return !written && written.error().message.find(path) != std::string::npos;
        });
        EXPECT_TRUE(refused) << std::oct << mode;
        ::chmod(path.c_str(), 0644);
        EXPECT_EQ(dir.read("QOBR.Ini"), "[A]\r\nk=1\r\n") << std::oct << mode;
    }
}

TEST(Profile, OneIndexServesManyLookupsAndWrites)
{
    TempFolder dir;
    dir.write("c.Ini", "[ItemList]\r\nItemCount=3\r\nItemName1= Good Morning \r\nitemname2=x\r\nItemName1=dup\r\n"
                       "[Good Morning]\r\nline=1\r\n");
    const Profile file(dir.file("c.Ini"));
    auto ini = file.open();
    ASSERT_TRUE(ini);
    EXPECT_EQ(ini->readInteger("itemlist", "ITEMCOUNT", 0), 3);
    EXPECT_EQ(ini->value("ItemList", "ItemName1"), "Good Morning");
    EXPECT_EQ(ini->value("ItemList", "ItemName2"), "x");
    EXPECT_EQ(ini->value("ItemList", "ItemName3"), std::nullopt);
    EXPECT_TRUE(ini->hasSection("good morning"));
    EXPECT_FALSE(ini->hasSection("Good"));

    // Every write leaves the index answering for the new text.
    ini->setValue("ItemList", "ItemCount", "4");
    ini->setValue("ItemList", "ItemName4", "y");
    ini->setValue("New", "k", "v");
    EXPECT_EQ(ini->readInteger("ItemList", "ItemCount", 0), 4);
    EXPECT_EQ(ini->value("ItemList", "ItemName4"), "y");
    EXPECT_EQ(ini->value("new", "K"), "v");
    EXPECT_EQ(ini->value("Good Morning", "line"), "1");
    ASSERT_TRUE(file.save(*ini));
    EXPECT_EQ(dir.read("c.Ini"), "[ItemList]\r\nItemCount=4\r\nItemName1= Good Morning \r\nitemname2=x\r\n"
                                 "ItemName1=dup\r\nItemName4=y\r\n[Good Morning]\r\nline=1\r\n[New]\r\nk=v\r\n");
    EXPECT_FALSE(Profile(dir.file("absent.Ini")).open());
}
