#pragma once
// Sending a recipe text into a chat window: find the chat client's window by
// its title, the input box at a fixed point of it and the send button by its
// caption; only when all are there put the text on the clipboard, paste it, and
// press send if asked. Logic only, over the abstract WindowSystem. Titles and
// the text are UTF-8 here: window titles are Unicode, whatever GBK can write.

#include "base/Profile.h"
#include "base/WindowSystem.h"

#include <functional>
#include <optional>
#include <string>

namespace vomra {

enum class SendResult {
    Sent,     // the chat program received the whole text (and send was pressed when asked)
    NotFound, // the window, its input box or its send button is missing; nothing copied
    Failed,   // the window was found, but a step failed or the text was not taken in time
};

// The two target windows' titles (UTF-8), as read from QOBR.Ini.
struct SendTitles {
    std::string kind1;
    std::string kind2;
};

namespace send_texts {
inline constexpr const char *kTitle1 = "发送消息";
inline constexpr const char *kTitle2 = "对话模式";
inline constexpr const char *kViewTitle = "查看消息";
inline constexpr const char *kReplyCaption = "(&R)回讯息";
inline constexpr const char *kSendCaption = "送讯息(&S)";
inline constexpr const char *kNotFoundTitle = "呜呜呜...";
inline constexpr const char *kNotFoundText = "我还没有找到QQ的窗口呢……:(";
inline constexpr const char *kClipboardOnlyText =
    "没有找到可以粘贴的窗口：文字已复制到剪贴板，请到聊天窗口里按 Ctrl+V 粘贴";
inline constexpr const char *kFailedTitle = "哎呀呀...";
inline constexpr const char *kFailedText = "发送消息出错啦……:(";
inline constexpr const char *kSection = "发送";
inline constexpr const char *kKey1 = "窗口1";
inline constexpr const char *kKey2 = "窗口2";
} // namespace send_texts

// The default titles, "发送消息" and "对话模式".
SendTitles defaultSendTitles();
// Section "发送", keys "窗口1" and "窗口2" of QOBR.Ini; a missing or empty value
// gives the default. The file is GBK; a section written in UTF-8 (as Linux
// editors save), or a file that starts with a UTF-8 byte order mark, is read
// as UTF-8.
SendTitles readSendTitles(const Profile &settingsFile);
// Writes `title` (UTF-8) as the title of kind 1 or 2, in GBK like the rest of
// the file (in UTF-8 where the file or its section already is). The reason when
// GBK cannot write the title or the file cannot be written.
Result<void> writeSendTitle(const Profile &settingsFile, int kind, const std::string &title);

// How the target window is recognised.
enum class WindowMatch {
    Title,    // the whole title
    Contains, // a part of the title
    Class,    // the program's window class
    Handle,   // one window, picked beforehand
};

struct SendTarget {
    std::string title; // UTF-8: the title, the part of it, or the class
    int x = 0;         // where the input box is looked for, in the window's client area
    int y = 0;
    WindowMatch match = WindowMatch::Title;
    WindowHandle handle = 0; // for WindowMatch::Handle
};

// Kind 1: the first title at (20, 100); kind 2: the second at (20, 300).
SendTarget sendTarget(int kind, const SendTitles &titles);

// The top-most window the target names, or 0.
WindowHandle findTarget(WindowSystem &windows, const SendTarget &target);

// The whole sequence. copyText puts the text to send on the clipboard and
// returns it (UTF-8); it runs only when the window and its parts were all
// found. A window none of whose children has a caption (a chat program that
// draws its controls itself) takes the text in the window itself and needs no
// send button; there "press send" is an Enter after the paste.
// *error, when given, receives what went wrong for a Failed result.
SendResult sendToChatWindow(WindowSystem &windows, const SendTarget &target, bool pressSend,
                            const std::function<std::string()> &copyText, std::string *error = nullptr);

struct SendWarning {
    const char *title; // UTF-8
    const char *text;
};
// The warning box for a result; nothing for Sent.
std::optional<SendWarning> sendWarning(SendResult result);

} // namespace vomra
