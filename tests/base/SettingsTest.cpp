#include "base/Settings.h"
#include "base/Gbk.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }

// A QOBR.Ini from UTF-8 text, stored in GBK with CRLF as the program writes it.
void writeIni(const TempFolder &dir, const std::string &utf8)
{
    std::string crlf;
    for (char c : utf8) {
        if (c == '\n')
            crlf += '\r';
        crlf += c;
    }
    dir.write("QOBR.Ini", gbk::fromUtf8(crlf));
}

constexpr int kScreenW = 1280;
constexpr int kScreenH = 1024;

// A screen with all of it available.
ScreenArea whole(int width, int height) { return {width, height, width, height}; }

} // namespace

TEST(Settings, NoFileGivesDefaults)
{
    TempFolder dir;
    const Settings s = readSettings(Profile(settingsPath(dir.path())), whole(kScreenW, kScreenH));
    EXPECT_EQ(s.width, 640);
    EXPECT_EQ(s.height, 480);
    EXPECT_EQ(s.state, WindowState::Normal);
    EXPECT_EQ(s.leftWidth, 192);
    EXPECT_EQ(s.themeIndex, 0);
    EXPECT_FALSE(s.transparent);
}

TEST(Settings, ReadClampsAndStates)
{
    struct Row {
        const char *name;
        const char *ini;
        int screenW, screenH;
        Settings expected;
    };
    const Row rows[] = {
        {"small width raised", "[窗体]\n宽度=500\n高度=300\n", kScreenW, kScreenH, {640, 480, WindowState::Normal, 192, 0, false}},
        {"left width low", "[窗体]\n左边宽度=100\n", kScreenW, kScreenH, {640, 480, WindowState::Normal, 192, 0, false}},
        {"left width high", "[窗体]\n左边宽度=400\n", kScreenW, kScreenH, {640, 480, WindowState::Normal, 296, 0, false}},
        {"maximised resets the restored size", "[窗体]\n宽度=1024\n高度=900\n状态=最大化\n", kScreenW, kScreenH,
         {640, 480, WindowState::Maximized, 192, 0, false}},
        {"wider than the screen starts maximised", "[窗体]\n宽度=2000\n状态=最小化\n", kScreenW, kScreenH,
         {kScreenW, 480, WindowState::Maximized, 192, 0, false}},
        {"taller than the screen", "[窗体]\n高度=1025\n", kScreenW, kScreenH, {640, kScreenH, WindowState::Maximized, 192, 0, false}},
        {"minimised", "[窗体]\n宽度=800\n高度=600\n状态=最小化\n", kScreenW, kScreenH, {800, 600, WindowState::Minimized, 192, 0, false}},
        {"first duplicate key wins", "[窗体]\n状态=最大化 \n状态=x\n", kScreenW, kScreenH, {640, 480, WindowState::Maximized, 192, 0, false}},
        {"garbage state", "[窗体]\n状态=max\n", kScreenW, kScreenH, {640, 480, WindowState::Normal, 192, 0, false}},
        {"negative theme", "[界面方案]\n方案=-3\n", kScreenW, kScreenH, {640, 480, WindowState::Normal, 192, 0, false}},
        {"theme and transparency", "[界面方案]\n方案=2\n[图片磨牙器]\n图片透明化=0x1\n", kScreenW, kScreenH,
         {640, 480, WindowState::Normal, 192, 2, true}},
        {"invalid numbers give defaults", "[窗体]\n宽度=wide\n左边宽度=\n[图片磨牙器]\n图片透明化=yes\n", kScreenW, kScreenH,
         {640, 480, WindowState::Normal, 192, 0, false}},
        {"tiny screen", "", 600, 400, {640, 480, WindowState::Maximized, 192, 0, false}},
    };
    for (const Row &r : rows) {
        TempFolder dir;
        writeIni(dir, r.ini);
        const Settings s = readSettings(Profile(settingsPath(dir.path())), whole(r.screenW, r.screenH));
        EXPECT_EQ(s.width, r.expected.width) << r.name;
        EXPECT_EQ(s.height, r.expected.height) << r.name;
        EXPECT_EQ(s.state, r.expected.state) << r.name;
        EXPECT_EQ(s.leftWidth, r.expected.leftWidth) << r.name;
        EXPECT_EQ(s.themeIndex, r.expected.themeIndex) << r.name;
        EXPECT_EQ(s.transparent, r.expected.transparent) << r.name;
    }
}

TEST(Settings, RestoredSizeFitsTheAvailableArea)
{
    // A 1024 x 768 screen with a 32-pixel panel at its bottom.
    const ScreenArea screen{1024, 768, 1024, 736};
    struct Row {
        const char *name;
        const char *ini;
        int width, height;
        WindowState state;
    };
    const Row rows[] = {
        {"largest numbers", "[窗体]\n宽度=2147483647\n高度=2147483647\n", 1024, 736, WindowState::Maximized},
        {"the whole screen fits but not beside the panel", "[窗体]\n宽度=1024\n高度=768\n", 1024, 736,
         WindowState::Normal},
        {"smaller than the area stays", "[窗体]\n宽度=1000\n高度=700\n状态=最小化\n", 1000, 700,
         WindowState::Minimized},
        {"hexadecimal and huge", "[窗体]\n宽度=0x7FFFFFFF\n高度=600\n状态=最大化\n", 640, 480, WindowState::Maximized},
    };
    for (const Row &r : rows) {
        TempFolder dir;
        writeIni(dir, r.ini);
        const Settings s = readSettings(Profile(settingsPath(dir.path())), screen);
        EXPECT_EQ(s.width, r.width) << r.name;
        EXPECT_EQ(s.height, r.height) << r.name;
        EXPECT_EQ(s.state, r.state) << r.name;
    }
    // A screen smaller than the minimum size keeps the minimum size.
    TempFolder dir;
    writeIni(dir, "[窗体]\n宽度=900\n");
    const Settings tiny = readSettings(Profile(settingsPath(dir.path())), ScreenArea{600, 400, 600, 380});
    EXPECT_EQ(tiny.width, 640);
    EXPECT_EQ(tiny.height, 480);
    EXPECT_EQ(tiny.state, WindowState::Maximized);
}

TEST(Settings, WriteFromNothingHasTheFixedOrder)
{
    TempFolder dir;
    const Profile file(settingsPath(dir.path()));
    ASSERT_TRUE(writeSettings(file, {800, 600, WindowState::Normal, 250, 3, true}));
    EXPECT_EQ(dir.read("QOBR.Ini"), G("[窗体]\r\n宽度=800\r\n高度=600\r\n状态=标准\r\n左边宽度=250\r\n"
                                      "[界面方案]\r\n方案=3\r\n[图片磨牙器]\r\n图片透明化=1\r\n"));
}

TEST(Settings, WriteMaximisedStoresTheRestoredSizeAndKeepsOtherKeys)
{
    TempFolder dir;
    writeIni(dir, "; mine\n[图片磨牙器]\n常规灰度=@#  \n94 级灰度=abc\n自定义灰度=xyz\n[窗体]\n宽度=900\nUnknown=1\n");
    const Profile file(settingsPath(dir.path()));
    ASSERT_TRUE(writeSettings(file, {1280, 1000, WindowState::Maximized, 192, 0, false}));
    EXPECT_EQ(dir.read("QOBR.Ini"),
              G("; mine\r\n[图片磨牙器]\r\n常规灰度=@#  \r\n94 级灰度=abc\r\n自定义灰度=xyz\r\n图片透明化=0\r\n"
                "[窗体]\r\n宽度=640\r\nUnknown=1\r\n高度=480\r\n状态=最大化\r\n左边宽度=192\r\n[界面方案]\r\n方案=0\r\n"));
    // And it reads back the way it was closed.
    const Settings s = readSettings(file, whole(kScreenW, kScreenH));
    EXPECT_EQ(s.state, WindowState::Maximized);
    EXPECT_EQ(s.width, 640);
}

TEST(Settings, MinimisedWritesItsSize)
{
    TempFolder dir;
    const Profile file(settingsPath(dir.path()));
    ASSERT_TRUE(writeSettings(file, {700, 500, WindowState::Minimized, 200, 1, false}));
    EXPECT_EQ(file.readString(G("窗体"), G("状态"), ""), G("最小化"));
    EXPECT_EQ(file.readInteger(G("窗体"), G("宽度"), 0), 700);
}

TEST(Settings, FailedWriteReportsThePath)
{
    TempFolder dir;
    dir.write("QOBR.Ini/blocker", "x"); // a folder where the file should be
    const auto written = writeSettings(Profile(settingsPath(dir.path())), Settings{});
    ASSERT_FALSE(written);
    EXPECT_NE(written.error().message.find(dir.path() + "QOBR.Ini"), std::string::npos) << written.message();
}
