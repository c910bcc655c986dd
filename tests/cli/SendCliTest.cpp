#include "cli/Cli.h"
#include "support/CliRun.h"
#include "cli/SendCommand.h"
#include "base/Gbk.h"
#include "support/SendDesk.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>
#include <sstream>

using namespace vomra;
using namespace vomra::cli;

namespace {

using Desk = test::SendDesk;

std::string G(const char *utf8)
{
    return gbk::fromUtf8(utf8);
}

using Result = test::CliResult;

class SendCli : public ::testing::Test {
protected:
    Desk desk;
    bool noDisplay = false;
    // Without X: whether a Wayland clipboard is there, and what it was given.
    std::optional<bool> clipboardOnly;
    std::vector<std::string> servedTexts;
    int kept = 0; // hand-offs to the clipboard manager
    std::function<SendDesktop()> saved;

    void SetUp() override
    {
        saved = sendDesktopHook();
        sendDesktopHook() = [this] {
            SendDesktop d;
            if (noDisplay) {
                d.whyNone = "no X display";
                if (clipboardOnly)
                    d.clipboardOnly = [this](const std::string &text, const std::function<void()> &placed) {
                        servedTexts.push_back(text);
                        if (*clipboardOnly)
                            placed();
                        return *clipboardOnly;
                    };
                return d;
            }
            d.windows = std::make_unique<test::SendDeskWindows>(desk);
            d.keepClipboard = [this] { return ++kept > 0; };
            return d;
        };
    }
    void TearDown() override { sendDesktopHook() = saved; }

    test::TempFolder programFolder; // QOBR.Ini with the window titles, if any

    std::string out;

    Result run(const std::vector<std::string> &args, const std::string &input = "text")
    {
        std::vector<std::string> all{"send"};
        all.insert(all.end(), args.begin(), args.end());
        Result r = test::run(all, {.input = input, .programFolder = programFolder.path()});
        out = r.out;
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
        {{"--window", "x", "--kind", "2"},
         "vomra-cli send: give one of --window, --window-contains, --class, --kind and --pick\n"},
        {{"--class", "x", "--pick"},
         "vomra-cli send: give one of --window, --window-contains, --class, --kind and --pick\n"},
        {{"--window="}, "vomra-cli send: --window needs a text\n"},
        {{"--window", "\xff"}, "vomra-cli send: --window is not valid text in this locale\n"},
        {{"--remember", "1"}, "vomra-cli send: --remember goes with --pick\n"},
        {{"--encoding", "latin1"}, "vomra-cli: unknown encoding 'latin1' (use utf-8 or gbk)\n"},
        {{"now"}, "vomra-cli send: unexpected argument 'now'\n"},
    };
    for (const Row &row : rows) {
        const Result r = run(row.args);
        EXPECT_EQ(r.status, 2) << row.err;
        EXPECT_EQ(r.err, row.err);
    }
    EXPECT_TRUE(desk.log.empty());
    EXPECT_EQ(desk.pasted, "");
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
        {{"--kind=2", "--press-send"},
         "对话模式",
         {"find 查看消息", "find 对话模式", "point 20,300", "paste", "click"}},
        {{"--window", "与 Bob 聊天"}, "与 Bob 聊天", {"find 查看消息", "find 与 Bob 聊天", "point 20,100", "paste"}},
        // Titles are Unicode: GBK has no emoji, and no "?" stands in for one.
        {{"--window", "Chat 😀"}, "Chat 😀", {"find 查看消息", "find Chat 😀", "point 20,100", "paste"}},
        {{"--window-contains", "😀"}, "Chat 😀", {"find 查看消息", "point 20,100", "paste"}},
        {{"--class", "chat"}, "Chat 😀", {"find 查看消息", "point 20,100", "paste"}},
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

TEST_F(SendCli, TextGoesOutAsUnicodeWithLfLineEndsOrIsRefused)
{
    struct Row {
        std::vector<std::string> args;
        std::string input;
        int status;
        std::string pasted; // UTF-8
    };
    const std::vector<Row> rows = {
        {{}, "你好\r\n  ab\n", 0, "你好\n  ab"},
        {{}, "one line", 0, "one line"},
        {{}, "two\n\n", 0, "two\n"},
        {{}, "\n", 0, "\n"},   // a lone line end is a text
        {{}, "a😀b", 0, "a😀b"}, // no GBK on the way
        {{},
         "\xEF\xBB\xBF"
         "bom",
         0,
         "bom"}, // a byte order mark is no text
        {{"--encoding", "gbk"}, G("对话\r\n"), 0, "对话"},
        {{}, "", 2, ""},
        {{},
         "a\xff"
         "b",
         2,
         ""}, // not UTF-8
        {{"--lossy"},
         "a\xff"
         "b\xe4\xbd",
         0,
         "a?b??"},
        {{"--encoding", "gbk"}, "ab\x81", 2, ""}, // a lead byte without its trail byte
        {{"--encoding", "gbk", "--lossy"}, "ab\x81", 0, "ab?"},
    };
    for (const Row &row : rows) {
        desk = Desk{};
        const Result r = run(row.args, row.input);
        EXPECT_EQ(r.status, row.status) << row.input;
        EXPECT_EQ(desk.pasted, row.pasted) << row.input;
        if (row.status == 2) {
            EXPECT_TRUE(desk.log.empty()) << row.input;
        }
    }
    EXPECT_EQ(run({}, "a\xff"
                      "b")
                  .err,
              "vomra-cli send: standard input is not valid UTF-8 at byte 1 (--encoding gbk "
              "reads GBK; --lossy sends it with \"?\" instead)\n");
}

TEST_F(SendCli, ListsEveryWindowAndWhatWouldPickIt)
{
    desk.title = "对话模式";
    EXPECT_EQ(run({"--list"}).status, 0);
    EXPECT_EQ(out, "id\tpid\tclass\tdrawn\tpicked by\ttitle\n0x00000001\t42\tChat\tparts\t--kind 2\t对话模式\n");
    EXPECT_EQ(run({"--list", "--window-contains", "模式"}).status, 0);
    EXPECT_NE(out.find("\t--kind 2,this command\t"), std::string::npos) << out;
    EXPECT_TRUE(desk.pasted.empty());
}

TEST_F(SendCli, WarningsBecomeOneLineErrors)
{
    desk.title = "nothing of the kind";
    Result r = run({"--kind", "2"});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vomra-cli send: 我还没有找到QQ的窗口呢……:( (no window \"对话模式\" with an input box at (20, 300) "
                     "and a send button)\n");
    EXPECT_EQ(desk.pasted, "");
    EXPECT_EQ(kept, 0);

    // Found, but the text was not taken: its own status; the text is still
    // handed to the clipboard manager.
    desk = Desk{};
    desk.failPaste = true;
    r = run({});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.err, "vomra-cli send: 发送消息出错啦……:( (the chat program did not take the text in time)\n");
    EXPECT_EQ(kept, 1);

    desk = Desk{};
    noDisplay = true;
    r = run({});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "vomra-cli send: 我还没有找到QQ的窗口呢……:( (no X display)\n");

    noDisplay = false;
    r = run({}, "");
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, "vomra-cli send: nothing to send (standard input is empty)\n");
    EXPECT_TRUE(desk.log.empty());
}

// No X display: the text is left on the Wayland clipboard (exit 4); with no
// clipboard to leave it on either, it is the missing window (exit 1). Listing
// and picking need windows and never copy.
TEST_F(SendCli, WithoutXTheTextIsLeftOnTheClipboard)
{
    noDisplay = true;
    struct Row {
        std::optional<bool> clipboard;
        std::vector<std::string> args;
        int status;
        const char *err;
        std::vector<std::string> served;
    };
    const char *copied = "vomra-cli send: 没有找到可以粘贴的窗口：文字已复制到剪贴板，请到聊天窗口里按 Ctrl+V 粘贴\n";
    const char *missing = "vomra-cli send: 我还没有找到QQ的窗口呢……:( (no X display)\n";
    const std::vector<Row> rows = {
        {true, {"--press-send"}, 4, copied, {"a\nb"}},
        {false, {}, 1, missing, {"a\nb"}},
        {std::nullopt, {}, 1, missing, {}},
        {true, {"--list"}, 1, missing, {}},
        {true, {"--pick"}, 1, missing, {}},
    };
    for (const Row &row : rows) {
        clipboardOnly = row.clipboard;
        servedTexts.clear();
        const Result r = run(row.args, "a\r\nb\n");
        EXPECT_EQ(r.status, row.status) << row.args.size();
        EXPECT_EQ(r.err, row.err);
        EXPECT_EQ(servedTexts, row.served) << "the text as a paste would give it";
    }
}
