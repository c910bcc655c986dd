#include "platform/Profile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace vomra;
using vomra::test::TempFolder;

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
    ASSERT_TRUE(p.writeInteger("B", "w", -5));
    EXPECT_EQ(p.readInteger("b", "W", 0), -5);
    EXPECT_EQ(dir.read(name), hostile + "\r\nw=-5\r\n");

    EXPECT_EQ(p.readInteger("A", "missing", 9), 9);
    EXPECT_EQ(p.readInteger("A", "nul", 9), 9); // not a number
    EXPECT_TRUE(p.readBool("B", "v", false));
    EXPECT_TRUE(p.writeBool("B", "flag", false));
    EXPECT_FALSE(p.readBool("B", "flag", true));

    Profile none(dir.file("absent.Ini"));
    EXPECT_EQ(none.readString("A", "k", "dflt"), "dflt");
    ASSERT_TRUE(none.writeString("A", "k", "v"));
    EXPECT_EQ(dir.read("absent.Ini"), "[A]\r\nk=v\r\n");
}

TEST(Profile, FailedWriteLeavesTheOldFileAndNamesThePath)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    TempFolder dir;
    dir.write("ro/QOBR.Ini", "[A]\r\nk=1\r\n");
    const std::string folder = dir.file("ro");
    ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
    Profile p(folder + "/QOBR.Ini");
    std::string error;
    EXPECT_FALSE(p.writeString("A", "k", "2", &error));
    EXPECT_NE(error.find(folder + "/QOBR.Ini"), std::string::npos) << error;
    EXPECT_EQ(dir.read("ro/QOBR.Ini"), "[A]\r\nk=1\r\n");
    ::chmod(folder.c_str(), 0755);
}

TEST(Profile, FailedWriteWhenTheTargetCannotBeReplaced)
{
    // Works as root too: the target is a folder, so the rename over it fails.
    TempFolder dir;
    dir.write("QOBR.Ini/inner", "x");
    Profile p(dir.file("QOBR.Ini"));
    std::string error;
    EXPECT_FALSE(p.writeString("A", "k", "2", &error));
    EXPECT_NE(error.find(dir.file("QOBR.Ini")), std::string::npos);
    EXPECT_EQ(dir.read("QOBR.Ini/inner"), "x");
}
