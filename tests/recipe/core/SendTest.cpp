#include "base/Gbk.h"
#include "recipe/core/Send.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <tuple>
#include <vector>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }
std::string U(const std::string &utf8)
{
    return utf8;
}

// Windows by title and children by caption; every call is written to `calls`
// so a test can check the order of the steps.
class FakeWindows : public WindowSystem {
public:
    std::map<std::string, WindowHandle> topLevel; // UTF-8 title -> window
    std::map<WindowHandle, std::string> classes;
    std::string pasted;
    std::map<std::pair<WindowHandle, std::string>, WindowHandle> children;
    std::map<std::tuple<WindowHandle, int, int>, WindowHandle> atPoint;
    std::set<WindowHandle> uncaptioned; // windows none of whose children has a caption
    std::set<std::string> failing; // "Paste", "Click", "PressEnter", "FindWindow"
    std::vector<std::string> calls;

    std::vector<WindowInfo> TopLevels() override
    {
        calls.push_back("TopLevels");
        std::vector<WindowInfo> out;
        for (const auto &[title, handle] : topLevel)
            out.push_back({handle, title, classes[handle], 0});
        return out;
    }
    WindowHandle FindWindow(const std::string &title) override
    {
        calls.push_back("FindWindow " + U(title));
        fail("FindWindow");
        auto it = topLevel.find(U(title));
        return it == topLevel.end() ? 0 : it->second;
    }
    WindowHandle FindChild(WindowHandle parent, const std::string &text) override
    {
        calls.push_back("FindChild " + std::to_string(parent) + " " + U(text));
        auto it = children.find({parent, U(text)});
        return it == children.end() ? 0 : it->second;
    }
    WindowHandle ChildFromPoint(WindowHandle window, int x, int y, bool skipDisabled) override
    {
        calls.push_back("ChildFromPoint " + std::to_string(window) + " " + std::to_string(x) + "," +
                        std::to_string(y) + (skipDisabled ? " skip" : " all"));
        auto it = atPoint.find({window, x, y});
        return it == atPoint.end() ? 0 : it->second;
    }
    bool HasCaptionedChild(WindowHandle window) override
    {
        calls.push_back("HasCaptionedChild " + std::to_string(window));
        return uncaptioned.count(window) == 0;
    }
    void Paste(WindowHandle input, const std::string &text) override
    {
        calls.push_back("Paste " + std::to_string(input));
        fail("Paste");
        pasted = text;
    }
    void Click(WindowHandle button) override
    {
        calls.push_back("Click " + std::to_string(button));
        fail("Click");
    }
    void PressEnter(WindowHandle input) override
    {
        calls.push_back("PressEnter " + std::to_string(input));
        fail("PressEnter");
    }

private:
    void fail(const std::string &what)
    {
        if (failing.count(what))
            throw WindowSystemError(what + " failed");
    }
};

// The reply window 1 with its button 2; "发送消息" 10 with input 11 at (20,100)
// and send button 12; "对话模式" 20 with input 21 at (20,300) and button 22.
void addView(FakeWindows &w)
{
    w.topLevel["查看消息"] = 1;
    w.children[{1, "(&R)回讯息"}] = 2;
}
void addTarget(FakeWindows &w, WindowHandle base, const char *title, int y)
{
    w.topLevel[title] = base;
    w.atPoint[{base, 20, y}] = base + 1;
    w.children[{base, "送讯息(&S)"}] = base + 2;
}

struct SendRun {
    SendResult result;
    std::vector<std::string> calls; // with "copy" where the text went to the clipboard
};

SendRun send(FakeWindows &w, int kind, bool pressSend, const SendTitles &titles = defaultSendTitles())
{
    auto copy = [&w] {
        w.calls.push_back("copy");
        return std::string("text");
    };
    const SendResult r = sendToChatWindow(w, sendTarget(kind, titles), pressSend, copy);
    return {r, w.calls};
}

using Calls = std::vector<std::string>;

} // namespace

TEST(SendToChatWindow, EveryStepInOrderForBothKindsAndBothLabels)
{
    struct Row {
        const char *name;
        int kind;
        bool pressSend;
        Calls expected;
    };
    const std::vector<Row> rows = {
        {"kind 1, paste only", 1, false,
         {"FindWindow 查看消息", "FindWindow 发送消息", "ChildFromPoint 10 20,100 skip", "FindChild 10 送讯息(&S)",
          "copy", "Paste 11"}},
        {"kind 1, paste and send", 1, true,
         {"FindWindow 查看消息", "FindWindow 发送消息", "ChildFromPoint 10 20,100 skip", "FindChild 10 送讯息(&S)",
          "copy", "Paste 11", "Click 12"}},
        {"kind 2, paste only", 2, false,
         {"FindWindow 查看消息", "FindWindow 对话模式", "ChildFromPoint 20 20,300 skip", "FindChild 20 送讯息(&S)",
          "copy", "Paste 21"}},
        {"kind 2, paste and send", 2, true,
         {"FindWindow 查看消息", "FindWindow 对话模式", "ChildFromPoint 20 20,300 skip", "FindChild 20 送讯息(&S)",
          "copy", "Paste 21", "Click 22"}},
    };
    for (const Row &row : rows) {
        FakeWindows w;
        addTarget(w, 10, "发送消息", 100);
        addTarget(w, 20, "对话模式", 300);
        const SendRun run = send(w, row.kind, row.pressSend);
        EXPECT_EQ(run.result, SendResult::Sent) << row.name;
        EXPECT_EQ(run.calls, row.expected) << row.name;
    }
}

TEST(SendToChatWindow, ReplyButtonIsClickedFirstWhateverFollows)
{
    // Found target: the reply click comes before anything else.
    FakeWindows found;
    addView(found);
    addTarget(found, 10, "发送消息", 100);
    const SendRun ok = send(found, 1, true);
    EXPECT_EQ(ok.result, SendResult::Sent);
    EXPECT_EQ(ok.calls, (Calls{"FindWindow 查看消息", "FindChild 1 (&R)回讯息", "Click 2", "FindWindow 发送消息",
                               "ChildFromPoint 10 20,100 skip", "FindChild 10 送讯息(&S)", "copy", "Paste 11",
                               "Click 12"}));

    // No target: still clicked, then the missing-window warning.
    FakeWindows alone;
    addView(alone);
    const SendRun missing = send(alone, 2, false);
    EXPECT_EQ(missing.result, SendResult::NotFound);
    EXPECT_EQ(missing.calls, (Calls{"FindWindow 查看消息", "FindChild 1 (&R)回讯息", "Click 2", "FindWindow 对话模式"}));

    // A reply window without its button, or a failing reply click, changes nothing.
    FakeWindows noButton;
    noButton.topLevel["查看消息"] = 1;
    addTarget(noButton, 10, "发送消息", 100);
    EXPECT_EQ(send(noButton, 1, false).result, SendResult::Sent);

    FakeWindows clickFails;
    addView(clickFails);
    clickFails.failing = {"Click"};
    clickFails.topLevel["发送消息"] = 10;
    clickFails.atPoint[{10, 20, 100}] = 11;
    clickFails.children[{10, "送讯息(&S)"}] = 12;
    const SendRun r = send(clickFails, 1, false);
    EXPECT_EQ(r.result, SendResult::Sent);
    EXPECT_EQ(r.calls.back(), "Paste 11");
}

TEST(SendToChatWindow, AnyMissingPartCopiesNothingAndWarns)
{
    struct Row {
        const char *name;
        void (*setUp)(FakeWindows &);
    };
    const std::vector<Row> rows = {
        {"no window", [](FakeWindows &) {}},
        {"other kind's window only", [](FakeWindows &w) { addTarget(w, 20, "对话模式", 300); }},
        {"probe point outside the window",
         [](FakeWindows &w) {
             addTarget(w, 10, "发送消息", 100);
             w.atPoint.clear();
         }},
        {"no send button",
         [](FakeWindows &w) {
             addTarget(w, 10, "发送消息", 100);
             w.children.clear();
         }},
        {"no send button, input box is the window but it has children",
         [](FakeWindows &w) {
             addTarget(w, 10, "发送消息", 100);
             w.children.clear();
             w.atPoint[{10, 20, 100}] = 10;
         }},
    };
    for (const Row &row : rows) {
        FakeWindows w;
        row.setUp(w);
        const SendRun run = send(w, 1, true);
        EXPECT_EQ(run.result, SendResult::NotFound) << row.name;
        for (const std::string &c : run.calls) {
            EXPECT_NE(c, "copy") << row.name;
            EXPECT_EQ(c.rfind("Paste", 0), std::string::npos) << row.name;
            EXPECT_EQ(c.rfind("Click", 0), std::string::npos) << row.name;
        }
    }
    const auto warning = sendWarning(SendResult::NotFound);
    ASSERT_TRUE(warning);
    EXPECT_STREQ(warning->title, "呜呜呜...");
    EXPECT_STREQ(warning->text, "我还没有找到QQ的窗口呢……:(");
    EXPECT_FALSE(sendWarning(SendResult::Sent));
}

TEST(SendToChatWindow, InputBoxMayBeTheWindowItself)
{
    // A disabled child over the probe point: the window system gives the window.
    FakeWindows w;
    addTarget(w, 10, "发送消息", 100);
    w.atPoint[{10, 20, 100}] = 10;
    const SendRun run = send(w, 1, true);
    EXPECT_EQ(run.result, SendResult::Sent);
    EXPECT_EQ(run.calls, (Calls{"FindWindow 查看消息", "FindWindow 发送消息", "ChildFromPoint 10 20,100 skip",
                                "FindChild 10 送讯息(&S)", "copy", "Paste 10", "Click 12"}));
}

TEST(SendToChatWindow, WindowWithoutCaptionedChildrenTakesTheTextAndEnter)
{
    // No children at all (the point gives the window), or only a toolkit's
    // helper child without a caption under the point: the window takes the keys.
    for (const WindowHandle atPoint : {10, 11}) {
        for (const bool pressSend : {false, true}) {
            FakeWindows w;
            w.topLevel["发送消息"] = 10;
            w.atPoint[{10, 20, 100}] = atPoint;
            w.uncaptioned = {10};
            const SendRun run = send(w, 1, pressSend);
            Calls expected = {"FindWindow 查看消息", "FindWindow 发送消息", "ChildFromPoint 10 20,100 skip",
                              "FindChild 10 送讯息(&S)", "HasCaptionedChild 10", "copy", "Paste 10"};
            if (pressSend)
                expected.push_back("PressEnter 10");
            EXPECT_EQ(run.result, SendResult::Sent);
            EXPECT_EQ(run.calls, expected) << atPoint << pressSend;
        }
    }
    // Too small for the probe point: still not found.
    FakeWindows small;
    small.topLevel["发送消息"] = 10;
    small.uncaptioned = {10};
    EXPECT_EQ(send(small, 1, true).result, SendResult::NotFound);
}

TEST(SendToChatWindow, AFailingStepGivesTheErrorWarning)
{
    struct Row {
        const char *failing;
        bool pressSend;
        const char *lastCall;
    };
    const std::vector<Row> rows = {
        {"FindWindow", false, "FindWindow 发送消息"},
        {"Paste", true, "Paste 11"},
        {"Click", true, "Click 12"},
    };
    for (const Row &row : rows) {
        FakeWindows w;
        addTarget(w, 10, "发送消息", 100);
        w.failing = {row.failing};
        const SendRun run = send(w, 1, row.pressSend);
        EXPECT_EQ(run.result, SendResult::Failed) << row.failing;
        EXPECT_EQ(run.calls.back(), row.lastCall) << row.failing;
    }
    // A copy that throws is an error of the sequence too, and nothing is pasted.
    FakeWindows w;
    addTarget(w, 10, "发送消息", 100);
    const SendResult r =
        sendToChatWindow(w, sendTarget(1, defaultSendTitles()), true, []() -> std::string { throw std::bad_alloc(); });
    EXPECT_EQ(r, SendResult::Failed);
    EXPECT_EQ(w.calls.back(), "FindChild 10 送讯息(&S)");

    const auto warning = sendWarning(SendResult::Failed);
    ASSERT_TRUE(warning);
    EXPECT_STREQ(warning->title, "哎呀呀...");
    EXPECT_STREQ(warning->text, "发送消息出错啦……:(");
}

TEST(SendTitles, ReadFromTheSettingsFileWithDefaults)
{
    struct Row {
        const char *name;
        const char *ini; // UTF-8, empty for no file
        const char *title1;
        const char *title2;
    };
    const std::vector<Row> rows = {
        {"no file", nullptr, "发送消息", "对话模式"},
        {"no section", "[窗体]\n宽度=700\n", "发送消息", "对话模式"},
        {"both keys", "[发送]\n窗口1= 与 Alice 聊天中 \n窗口2=Chat — Bob\n", "与 Alice 聊天中", "Chat — Bob"},
        {"one key, one empty", "[发送]\n窗口1=\n窗口2=群聊\n", "发送消息", "群聊"},
    };
    for (const Row &row : rows) {
        TempFolder dir;
        if (row.ini)
            dir.write("QOBR.Ini", G(row.ini));
        const SendTitles t = readSendTitles(Profile(dir.file("QOBR.Ini")));
        EXPECT_EQ(U(t.kind1), row.title1) << row.name;
        EXPECT_EQ(U(t.kind2), row.title2) << row.name;
    }
    // Written in UTF-8, as Linux editors save: titles GBK cannot hold come through.
    const std::vector<Row> utf8Rows = {
        {"UTF-8 section", "[窗体]\n宽度=700\n[发送]\n窗口1=Chat 😀\n窗口2=Café • 群\n", "Chat 😀", "Café • 群"},
        {"UTF-8 with a BOM", "\xEF\xBB\xBF[发送]\r\n窗口2=Room ™\r\n", "发送消息", "Room ™"},
    };
    for (const Row &row : utf8Rows) {
        TempFolder dir;
        dir.write("QOBR.Ini", row.ini);
        const SendTitles t = readSendTitles(Profile(dir.file("QOBR.Ini")));
        EXPECT_EQ(U(t.kind1), row.title1) << row.name;
        EXPECT_EQ(U(t.kind2), row.title2) << row.name;
    }
    const SendTitles custom{"甲", "乙"};
    EXPECT_EQ(U(sendTarget(2, custom).title), "乙");
    EXPECT_EQ(sendTarget(2, custom).y, 300);
    EXPECT_EQ(U(sendTarget(1, custom).title), "甲");
    EXPECT_EQ(sendTarget(1, custom).y, 100);
}

TEST(SendTitles, WrittenInTheFilesOwnEncodingOrRefused)
{
    struct Row {
        const char *name;
        std::string before; // file bytes, empty for no file
        int kind;
        const char *title;
        bool ok;
        std::string after; // the file's bytes afterwards
    };
    const std::string bom = "\xEF\xBB\xBF";
    const std::vector<Row> rows = {
        {"no file", "", 1, "与 Bob 聊天", true, G("[发送]\r\n窗口1=与 Bob 聊天\r\n")},
        {"GBK file", G("[窗体]\r\n宽度=700\r\n[发送]\r\n窗口1=甲\r\n"), 2, "乙", true,
         G("[窗体]\r\n宽度=700\r\n[发送]\r\n窗口1=甲\r\n窗口2=乙\r\n")},
        {"GBK cannot write it", G("[发送]\r\n窗口1=甲\r\n"), 1, "Chat 😀", false, G("[发送]\r\n窗口1=甲\r\n")},
        {"UTF-8 file with a BOM", bom + "[发送]\r\n窗口1=甲\r\n", 1, "Chat 😀", true,
         bom + "[发送]\r\n窗口1=Chat 😀\r\n"},
    };
    for (const Row &row : rows) {
        TempFolder dir;
        if (!row.before.empty())
            dir.write("QOBR.Ini", row.before);
        const Profile file(dir.file("QOBR.Ini"));
        const auto written = writeSendTitle(file, row.kind, row.title);
        EXPECT_EQ(written.ok(), row.ok) << row.name;
        EXPECT_EQ(dir.read("QOBR.Ini"), row.after) << row.name;
        if (row.ok) {
            const SendTitles t = readSendTitles(file);
            EXPECT_EQ(row.kind == 1 ? t.kind1 : t.kind2, row.title) << row.name;
        } else {
            EXPECT_NE(written.message().find("GBK"), std::string::npos) << row.name;
        }
    }
}

TEST(SendToChatWindow, TargetsByPartOfTheTitleByClassOrByHandle)
{
    struct Row {
        WindowMatch match;
        const char *text;
        WindowHandle handle;
        WindowHandle found;
    };
    const std::vector<Row> rows = {
        {WindowMatch::Contains, "Bob", 0, 10},  {WindowMatch::Contains, "😀", 0, 20},
        {WindowMatch::Contains, "Carol", 0, 0}, {WindowMatch::Class, "mousepad", 0, 20},
        {WindowMatch::Class, "Mouse", 0, 0},    {WindowMatch::Handle, "", 20, 20},
        {WindowMatch::Title, "Chat ?", 0, 30},  {WindowMatch::Title, "Chat 😀", 0, 20},
    };
    for (const Row &row : rows) {
        FakeWindows w;
        addTarget(w, 10, "Chat with Bob", 100);
        addTarget(w, 20, "Chat 😀", 100);
        addTarget(w, 30, "Chat ?", 100);
        w.classes[20] = "Mousepad";
        SendTarget t = sendTarget(1, defaultSendTitles());
        t.match = row.match;
        t.title = row.text;
        t.handle = row.handle;
        EXPECT_EQ(findTarget(w, t), row.found) << row.text;
        if (row.found) {
            EXPECT_EQ(sendToChatWindow(w, t, false, [] { return std::string("你好 😀"); }), SendResult::Sent) << row.text;
            EXPECT_EQ(w.pasted, "你好 😀");
            EXPECT_EQ(w.calls.back(), "Paste " + std::to_string(row.found + 1)) << row.text;
        }
    }
}
