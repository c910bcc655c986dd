#include "x11/WindowSystemX11.h"
#include "recipe/core/Send.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

using namespace vomra;

// Without an X display (Wayland without XWayland, a console) nothing is found
// and every send ends in the missing-window warning, without touching the
// clipboard and without a crash.
TEST(X11WindowSystem, NoDisplayFindsNothingAndSendsNothing)
{
    const char *was = std::getenv("DISPLAY");
    const std::optional<std::string> display = was ? std::optional<std::string>(was) : std::nullopt;
    ::unsetenv("DISPLAY");
    {
        TX11WindowSystem windows;
        EXPECT_FALSE(windows.HasDisplay());
        EXPECT_TRUE(windows.TopLevels().empty());
        EXPECT_EQ(windows.FindWindow("发送消息"), 0u);
        EXPECT_EQ(windows.FindChild(1, "送讯息(&S)"), 0u);
        EXPECT_EQ(windows.ChildFromPoint(1, 20, 100, true), 0u);
        EXPECT_FALSE(windows.HasCaptionedChild(1));
        EXPECT_THROW(windows.Paste(1, "x"), WindowSystemError);
        EXPECT_EQ(windows.PickWindow({}), 0u);
        EXPECT_FALSE(windows.KeepClipboard(100));
        EXPECT_THROW(windows.Click(1), WindowSystemError);
        EXPECT_THROW(windows.PressEnter(1), WindowSystemError);

        bool copied = false;
        for (int kind : {1, 2})
            for (bool press : {false, true})
                EXPECT_EQ(sendToChatWindow(windows, sendTarget(kind, defaultSendTitles()), press,
                                   [&] {
                                       copied = true;
                                       return std::string("x");
                                   }),
                          SendResult::NotFound);
        EXPECT_FALSE(copied);
    }
    if (display)
        ::setenv("DISPLAY", display->c_str(), 1);
}
