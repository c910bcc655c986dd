#pragma once
// A desktop with one chat window for the send tests of the command line and
// the page: the window has an input box and a send button under whatever title
// the test gives, and every call that finds or drives it is logged.

#include "base/WindowSystem.h"

#include <functional>
#include <string>
#include <vector>

namespace vomra::test {

struct SendDesk {
    std::string title = "发送消息"; // UTF-8
    bool failPaste = false;
    // "find TITLE", "point X,Y", "paste[ CLIPBOARD]", "click", "enter"
    std::vector<std::string> log;
    // What the clipboard holds when the paste comes, for the log; none: not logged.
    std::function<std::string()> clipboard;
    std::string pasted; // the text handed to the paste
};

class SendDeskWindows : public WindowSystem {
public:
    explicit SendDeskWindows(SendDesk &desk) : m_desk(desk) {}
    std::vector<WindowInfo> TopLevels() override { return {{1, m_desk.title, "Chat", 42}}; }
    WindowHandle FindWindow(const std::string &title) override
    {
        m_desk.log.push_back("find " + title);
        return title == m_desk.title ? 1 : 0;
    }
    WindowHandle FindChild(WindowHandle parent, const std::string &text) override
    {
        return parent == 1 && text == "送讯息(&S)" ? 3 : 0;
    }
    WindowHandle ChildFromPoint(WindowHandle window, int x, int y, bool) override
    {
        m_desk.log.push_back("point " + std::to_string(x) + "," + std::to_string(y));
        return window == 1 ? 2 : 0;
    }
    bool HasCaptionedChild(WindowHandle) override { return true; }
    void Paste(WindowHandle, const std::string &text) override
    {
        m_desk.pasted = text;
        if (m_desk.failPaste)
            throw WindowSystemError("the chat program did not take the text in time");
        m_desk.log.push_back(m_desk.clipboard ? "paste " + m_desk.clipboard() : "paste");
    }
    void Click(WindowHandle) override { m_desk.log.push_back("click"); }
    void PressEnter(WindowHandle) override { m_desk.log.push_back("enter"); }

private:
    SendDesk &m_desk;
};

} // namespace vomra::test
