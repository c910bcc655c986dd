#include "base/Profile.h"
#include "support/TempFolder.h"
#include "pagekit/core/PageColours.h"

#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

// GBK for the section name "蓝色" and the classic look's name.
const std::string kSection = "\xC0\xB6\xC9\xAB";

TPageColours readFrom(const TempFolder &dir, const std::string &ini)
{
    dir.write("Theme.Ini", ini);
    return ReadPageColours(Profile(dir.file("Theme.Ini")), kSection);
}

} // namespace

TEST(PageColours, BlackBeforeFirstUse)
{
    const TPageColours c;
    for (TColor v : {c.LeftColor, c.LeftFontColor, c.LeftFontEnterColor, c.PanelLeftColor, c.PanelRightColor,
                     c.RightColor, c.TitleLeftColor, c.TitleFontColor, c.TitleRightColor, c.TitleBottomColor,
                     c.ThemeFont1Color, c.ThemeFont2Color})
        EXPECT_EQ(v, clBlack);
}

TEST(PageColours, SectionWithoutKeysGivesDefaults)
{
    TempFolder dir;
    // Keys of another section must not leak in.
    const TPageColours c = readFrom(dir, "[" + kSection + "]\r\nSkin=x.bmp\r\n[Other]\r\nLeftColorR=1\r\n");
    EXPECT_EQ(c.LeftColor, RGB(212, 208, 200));
    EXPECT_EQ(c.LeftFontColor, RGB(0, 0, 0));
    EXPECT_EQ(c.LeftFontEnterColor, RGB(0, 0, 255));
    EXPECT_EQ(c.PanelLeftColor, RGB(255, 255, 255));
    EXPECT_EQ(c.PanelRightColor, RGB(212, 208, 200));
    EXPECT_EQ(c.RightColor, RGB(202, 198, 190));
    EXPECT_EQ(c.TitleLeftColor, RGB(202, 198, 190));
    EXPECT_EQ(c.TitleFontColor, RGB(255, 255, 255));
    EXPECT_EQ(c.TitleRightColor, RGB(212, 208, 200));
    EXPECT_EQ(c.TitleBottomColor, RGB(202, 198, 190));
    EXPECT_EQ(c.ThemeFont1Color, RGB(202, 198, 190));
    EXPECT_EQ(c.ThemeFont2Color, RGB(93, 93, 189));
    EXPECT_EQ(c, DefaultPageColours());
}

TEST(PageColours, MissingFileGivesDefaults)
{
    TempFolder dir;
    EXPECT_EQ(ReadPageColours(Profile(dir.file("none.ini")), kSection), DefaultPageColours());
}

TEST(PageColours, BuiltInDiffersOnlyInThemeFonts)
{
    const TPageColours b = BuiltInPageColours();
    EXPECT_EQ(b.ThemeFont1Color, RGB(0, 128, 128));
    EXPECT_EQ(b.ThemeFont2Color, RGB(93, 93, 198));
    TPageColours d = DefaultPageColours();
    d.ThemeFont1Color = b.ThemeFont1Color;
    d.ThemeFont2Color = b.ThemeFont2Color;
    EXPECT_EQ(b, d);
}

TEST(PageColours, ComponentsKeepLowEightBits)
{
    TempFolder dir;
    const TPageColours c = readFrom(dir, "[" + kSection + "]\r\n"
                                          "TitleFontColorR=511\r\n"
                                          "TitleFontColorG=256\r\n"
                                          "TitleFontColorB=298\r\n"
                                          "LeftColorR=-1\r\n"
                                          "LeftColorG=0x10\r\n"
                                          "LeftColorB=7\r\n");
    EXPECT_EQ(c.TitleFontColor, RGB(255, 0, 42));
    EXPECT_EQ(c.LeftColor, RGB(255, 16, 7));
}

TEST(PageColours, PartialAndInvalidKeysFallBackPerComponent)
{
    TempFolder dir;
    const TPageColours c = readFrom(dir, "[" + kSection + "]\r\n"
                                          "righttcolorR=1\r\n"     // misspelt: ignored
                                          "RIGHTCOLORG=10\r\n"     // key names ignore case
                                          "ThemeFont2ColorR=abc\r\n" // invalid: default 93
                                          "ThemeFont2ColorB=200\r\n"
                                          "TitleBottomColorR=\r\n"   // empty: default
                                          "TitleBottomColorG=1\r\n");
    EXPECT_EQ(c.RightColor, RGB(202, 10, 190));
    EXPECT_EQ(c.ThemeFont2Color, RGB(93, 93, 200));
    EXPECT_EQ(c.TitleBottomColor, RGB(202, 1, 190));
    EXPECT_EQ(c.LeftColor, RGB(212, 208, 200));
}
