#include "art/core/GrayRamp.h"
#include "base/Gbk.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }

std::string shippedSettings()
{
    std::ifstream in(std::string(VOMRA_TEST_DATA) + "/../../assets/QOBR.Ini", std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

} // namespace

TEST(GrayRamp, KeysOfTheThreeRamps)
{
    EXPECT_STREQ(rampKey(RampKind::Standard), "常规灰度");
    EXPECT_STREQ(rampKey(RampKind::Levels94), "94 级灰度");
    EXPECT_STREQ(rampKey(RampKind::Custom), "自定义灰度");
}

TEST(GrayRamp, ReadAddsOneBlank)
{
    TempFolder dir;
    dir.write("QOBR.Ini", G("[图片磨牙器]\r\n常规灰度=  @#+. \r\n94 级灰度=ab\r\n自定义灰度=\r\n"));
    const Profile file(dir.file("QOBR.Ini"));
    // The value loses its surrounding blanks like every profile value, then gains one.
    EXPECT_EQ(readRamp(file, RampKind::Standard), "@#+. ");
    EXPECT_EQ(readRamp(file, RampKind::Levels94), "ab ");
    EXPECT_EQ(readRamp(file, RampKind::Custom), " ");

    const Profile missing(dir.file("none.Ini"));
    for (RampKind kind : {RampKind::Standard, RampKind::Levels94, RampKind::Custom})
        EXPECT_EQ(readRamp(missing, kind), " ");
}

TEST(GrayRamp, SaveKeepsTheFinalBlankAndEveryOtherLine)
{
    TempFolder dir;
    const std::string before = G("; mine\r\n[窗体]\r\n宽度=800\r\n[图片磨牙器]\r\n常规灰度=@. \r\n自定义灰度=old\r\nCustomGray=x\r\n");
    dir.write("QOBR.Ini", before);
    const Profile file(dir.file("QOBR.Ini"));
    ASSERT_TRUE(saveCustomRamp(file, "MN$. "));
    EXPECT_EQ(dir.read("QOBR.Ini"),
              G("; mine\r\n[窗体]\r\n宽度=800\r\n[图片磨牙器]\r\n常规灰度=@. \r\n自定义灰度=MN$. \r\nCustomGray=x\r\n"));
    // Read back: the trimmed value plus one blank, so saving and choosing again is stable.
    EXPECT_EQ(readRamp(file, RampKind::Custom), "MN$. ");
    ASSERT_TRUE(saveCustomRamp(file, readRamp(file, RampKind::Custom)));
    EXPECT_EQ(readRamp(file, RampKind::Custom), "MN$. ");
}

TEST(GrayRamp, SaveCreatesFileAndSection)
{
    TempFolder dir;
    const Profile file(dir.file("QOBR.Ini"));
    ASSERT_TRUE(saveCustomRamp(file, std::string(kStartRamp)));
    EXPECT_EQ(dir.read("QOBR.Ini"), G("[图片磨牙器]\r\n自定义灰度=MNHQ$OC?7>!\":'-;. \r\n"));
    EXPECT_EQ(readRamp(file, RampKind::Custom), kStartRamp);
    EXPECT_EQ(readRamp(file, RampKind::Standard), " ");
}

TEST(GrayRamp, SaveCannotSplitTheEntry)
{
    TempFolder dir;
    dir.write("QOBR.Ini", G("[图片磨牙器]\r\n自定义灰度=old\r\n"));
    const Profile file(dir.file("QOBR.Ini"));
    ASSERT_TRUE(saveCustomRamp(file, "ab\r\n[窗体]\r\n宽度=1"));
    EXPECT_EQ(dir.read("QOBR.Ini"), G("[图片磨牙器]\r\n自定义灰度=ab\r\n"));
}

TEST(GrayRamp, SaveFailureNamesTheFile)
{
    TempFolder dir;
    const Profile file(dir.file("no-such-folder/QOBR.Ini"));
    const auto saved = saveCustomRamp(file, "ab");
    ASSERT_FALSE(saved);
    EXPECT_NE(saved.message().find(dir.file("no-such-folder/QOBR.Ini")), std::string::npos) << saved.message();
}

TEST(GrayRamp, ShippedRampsAreDistinctSingleByteLevels)
{
    TempFolder dir;
    const std::string shipped = shippedSettings();
    ASSERT_FALSE(shipped.empty());
    dir.write("QOBR.Ini", shipped);
    const Profile file(dir.file("QOBR.Ini"));

    for (RampKind kind : {RampKind::Standard, RampKind::Levels94, RampKind::Custom}) {
        const std::string ramp = readRamp(file, kind);
        ASSERT_GE(ramp.size(), 8u) << rampKey(kind);
        EXPECT_EQ(ramp.back(), ' ');
        // Graphic ASCII only before the final blank, and no level twice.
        const std::string ink = ramp.substr(0, ramp.size() - 1);
        for (char c : ink)
            EXPECT_TRUE(c > 0x20 && c < 0x7F) << rampKey(kind) << ": " << c;
        std::string sorted = ink;
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << rampKey(kind);
    }
    // All 94 graphic characters once; the blank the read adds is the white.
    std::string all = readRamp(file, RampKind::Levels94);
    EXPECT_EQ(all.size(), 95u);
    std::sort(all.begin(), all.end());
    std::string expected;
    for (char c = 0x20; c < 0x7F; ++c)
        expected += c;
    EXPECT_EQ(all, expected);
    // The custom ramp starts out as the ramp the edit shows at start.
    EXPECT_EQ(readRamp(file, RampKind::Custom), kStartRamp);
    // Windows line ends throughout.
    EXPECT_EQ(std::count(shipped.begin(), shipped.end(), '\n'), std::count(shipped.begin(), shipped.end(), '\r'));
}
