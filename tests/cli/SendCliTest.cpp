#include "cli/Cli.h"
#include "support/CliRun.h"
#include "cli/SendCommand.h"
#include "base/Gbk.h"
#include "support/SendDesk.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vomra;
using namespace vomra::cli;

namespace {

using Desk = test::SendDesk;

using Result = test::CliResult;

class SendCli : public ::testing::Test {
protected:
    Desk desk;
    std::string clipboard; // GBK, as handed to the clipboard
    bool noDisplay = false;
    std::function<SendDesktop()> saved;

    void SetUp() override
    {
        saved = sendDesktopHook();
        sendDesktopHook() = [this] {
            SendDesktop d;
            if (noDisplay) {
                d.whyNone = "no X display";
                return d;
            }
            d.windows = std::make_unique<test::SendDeskWindows>(desk);
            d.setClipboard = [this](const std::string &text) { clipboard = text; };
            return d;
        };
    }
    void TearDown() override { sendDesktopHook() = saved; }

    test::TempFolder programFolder; // QOBR.Ini with the window titles, if any

    Result run(const std::vector<std::string> &args, const std::string &input = "text")
    {
        std::vector<std::string> all{"send"};
        all.insert(all.end(), args.begin(), args.end());
        Result r = test::run(all, {.input = input, .programFolder = programFolder.path()});
        EXPECT_EQ(r.out, "");
        return r;
    }
};

} // namespace

TEST_F(SendCli, BadOptionsExitTwoAndTouchNothing)
{
    struct Row {
        std::vector<std::string> args;
        const char *err;
    };
    const std::vector<Row> rows = {
        {{"--kind", "3"}, "vomra-cli send: --kind is 1 (\"发送消息\") or 2 (\"对话模式\"), not '3'\n"},
        {{"--kind"}, "vomra-cli send: --kind needs a value\n"},
        {{"--window", "x", "--kind", "2"}, "vomra-cli send: give --window or --kind, not both\n"},
        {{"--window="}, "vomra-cli send: --window needs a title\n"},
        {{"--encoding", "latin1"}, "vomra-cli: unknown encoding 'latin1' (use utf-8 or gbk)\n"},
        {{"now"}, "vomra-cli send: unexpected argument 'now'\n"},
    };
    for (const Row &row : rows) {
        const Result r = run(row.args);
        EXPECT_EQ(r.status, 2) << row.err;
        EXPECT_EQ(r.err, row.err);
    }
    EXPECT_TRUE(desk.log.empty());
    EXPECT_EQ(clipboard, "");
}

TEST_F(SendCli, TargetsAndPressSend)
{
    struct Row {
        std::vector<std::string> args;
        const char *title;
        std::vector<std::string> log;
    };
    const std::vector<Row> rows = {
        {{}, "发送消息", {"find 查看消息", "find 发送消息", "point 20,100", "paste"}},
        {{"--kind=2", "--press-send"}, "对话模式", {"find 查看消息", "find 对话模式", "point 20,300", "paste", "click"}},
        {{"--window", "与 Bob 聊天"}, "与 Bob 聊天", {"find 查看消息", "find 与 Bob 聊天", "point 20,100", "paste"}},
    };
    for (const Row &row : rows) {
        desk = Desk{};
        desk.title = row.title;
        const Result r = run(row.args, "x");
        EXPECT_EQ(r.status, 0) << row.title;
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(desk.log, row.log) << row.title;
    }
}

TEST_F(SendCli, KindsTakeTheirTitlesFromTheSettingsFile)
{
    programFolder.write("QOBR.Ini", gbk::fromUtf8("[发送]\r\n窗口2=Room 7\r\n"));
    desk.title = "Room 7";
    EXPECT_EQ(run({"--kind", "2"}).status, 0);
    EXPECT_EQ(desk.log, (std::vector<std::string>{"find 查看消息", "find Room 7", "point 20,300", "paste"}));
    desk = Desk{};
    desk.title = "Room 7";
    EXPECT_EQ(run({"--kind", "1"}).status, 1); // kind 1 keeps "发送消息", which is not there
}

TEST_F(SendCli, TextReachesTheClipboardAsGbkWithLfLineEnds)
{
    struct Row {
        std::vector<std::string> args;
        std::string input;
        std::string clipboard; // UTF-8
    };
    const std::vector<Row> rows = {
        {{}, "你好\r\n  ab\n", "你好\n  ab"},
        {{}, "one line", "one line"},
        {{}, "two\n\n", "two\n"},
        {{"--encoding", "gbk"}, gbk::fromUtf8("对话\r\n"), "对话"},
    };
    for (const Row &row : rows) {
        desk = Desk{};
        EXPECT_EQ(run(row.args, row.input).status, 0);
        EXPECT_EQ(gbk::toUtf8(clipboard), row.clipboard);
    }
    // Characters GBK cannot hold: told once, and sent as "?".
    desk = Desk{};
    const Result lossy = run({}, "a😀b");
    EXPECT_EQ(lossy.status, 0);
    EXPECT_EQ(clipboard, "a?b");
    EXPECT_NE(lossy.err.find("cannot be written in GBK"), std::string::npos);
}

TEST_F(SendCli, WarningsBecomeOneLineErrors)
{
    desk.title = "nothing of the kind";
    Result r = run({"--kind", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vomra-cli send: 我还没有找到QQ的窗口呢……:( (no window \"对话模式\" with an input box at (20, 300) "
                     "and a send button)\n");
    EXPECT_EQ(clipboard, "");

    desk = Desk{};
    desk.failPaste = true;
    r = run({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vomra-cli send: 发送消息出错啦……:( (the chat program did not take the text)\n");

    desk = Desk{};
    noDisplay = true;
    r = run({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vomra-cli send: 我还没有找到QQ的窗口呢……:( (no X display)\n");

    noDisplay = false;
    r = run({}, "\n");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vomra-cli send: nothing to send (standard input is empty)\n");
    EXPECT_TRUE(desk.log.empty());
}
