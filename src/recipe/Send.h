#pragma once
// Sending a recipe text into a chat window: find the chat client's window by
// its title, the input box at a fixed point of it and the send button by its
// caption; only when all are there put the text on the clipboard, paste it, and
// press send if asked. Logic only, over the abstract WindowSystem.

#include "base/Profile.h"
#include "platform/WindowSystem.h"

#include <functional>
#include <optional>
#include <string>

namespace vomra {

enum class SendResult {
    Sent,     // pasted (and sent when asked)
    NotFound, // the window, its input box or its send button is missing; nothing copied
    Failed,   // a step failed on the way
};

// The two target windows' titles (GBK), as read from QOBR.Ini.
struct SendTitles {
    std::string kind1;
    std::string kind2;
};

namespace send_texts {
// UTF-8; converted to GBK where windows are searched.
inline constexpr const char *kTitle1 = "发送消息";
inline constexpr const char *kTitle2 = "对话模式";
inline constexpr const char *kViewTitle = "查看消息";
inline constexpr const char *kReplyCaption = "(&R)回讯息";
inline constexpr const char *kSendCaption = "送讯息(&S)";
inline constexpr const char *kNotFoundTitle = "呜呜呜...";
inline constexpr const char *kNotFoundText = "我还没有找到QQ的窗口呢……:(";
inline constexpr const char *kFailedTitle = "哎呀呀...";
inline constexpr const char *kFailedText = "发送消息出错啦……:(";
inline constexpr const char *kSection = "发送";
inline constexpr const char *kKey1 = "窗口1";
inline constexpr const char *kKey2 = "窗口2";
} // namespace send_texts

// The default titles, "发送消息" and "对话模式".
SendTitles defaultSendTitles();
// Section "发送", keys "窗口1" and "窗口2" of QOBR.Ini; a missing or empty value
// gives the default. Only read: a user points the labels at another chat
// window by editing the file.
SendTitles readSendTitles(const Profile &settingsFile);

struct SendTarget {
    std::string title; // GBK
    int x = 0;         // where the input box is looked for, in the window's client area
    int y = 0;
};

// Kind 1: the first title at (20, 100); kind 2: the second at (20, 300).
SendTarget sendTarget(int kind, const SendTitles &titles);

// The whole sequence. copyText puts the text to send on the clipboard; it runs
// only when the window and its parts were all found. A window none of whose
// children has a caption (a chat program that draws its controls itself)
// takes the text in the window itself and needs no send button; there
// "press send" is an Enter after the paste.
// *error, when given, receives what went wrong for a Failed result.
SendResult SendToQQ(WindowSystem &windows, const SendTarget &target, bool pressSend,
                    const std::function<void()> &copyText, std::string *error = nullptr);

struct SendWarning {
    const char *title; // UTF-8
    const char *text;
};
// The warning box for a result; nothing for Sent.
std::optional<SendWarning> sendWarning(SendResult result);

} // namespace vomra
