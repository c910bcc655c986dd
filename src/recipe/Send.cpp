#include "recipe/Send.h"

#include "base/Gbk.h"

#include <exception>

namespace vomra {

namespace {
std::string g(const char *utf8) { return gbk::fromUtf8(utf8); }
} // namespace

SendTitles defaultSendTitles() { return {g(send_texts::kTitle1), g(send_texts::kTitle2)}; }

SendTitles readSendTitles(const Profile &settingsFile)
{
    SendTitles titles = defaultSendTitles();
    const std::string section = g(send_texts::kSection);
    // An empty title would match every window without a name.
    if (auto v = settingsFile.value(section, g(send_texts::kKey1)); v && !v->empty())
        titles.kind1 = *v;
    if (auto v = settingsFile.value(section, g(send_texts::kKey2)); v && !v->empty())
        titles.kind2 = *v;
    return titles;
}

SendTarget sendTarget(int kind, const SendTitles &titles)
{
    if (kind == 2)
        return {titles.kind2, 20, 300};
    return {titles.kind1, 20, 100};
}

SendResult SendToQQ(WindowSystem &windows, const SendTarget &target, bool pressSend,
                    const std::function<void()> &copyText, std::string *error)
{
    // Open the reply window of a received message first; nothing depends on it.
    try {
        if (const WindowHandle view = windows.FindWindow(g(send_texts::kViewTitle)))
            if (const WindowHandle reply = windows.FindChild(view, g(send_texts::kReplyCaption)))
                windows.Click(reply);
    } catch (const std::exception &) {
    }

    try {
        const WindowHandle window = windows.FindWindow(target.title);
        WindowHandle input = window ? windows.ChildFromPoint(window, target.x, target.y, true) : 0;
        const WindowHandle button = window ? windows.FindChild(window, g(send_texts::kSendCaption)) : 0;
        // A window that draws its controls itself has no captioned child (at
        // most helper windows of its toolkit): it takes the keys itself.
        const bool onePiece = input && !button && !windows.HasCaptionedChild(window);
        if (onePiece)
            input = window;
        if (!window || !input || (!button && !onePiece))
            return SendResult::NotFound;

        copyText();
        windows.Paste(input);
        if (pressSend) {
            if (onePiece)
                windows.PressEnter(input);
            else
                windows.Click(button);
        }
        return SendResult::Sent;
    } catch (const std::exception &e) {
        if (error)
            *error = e.what();
        return SendResult::Failed;
    }
}

std::optional<SendWarning> sendWarning(SendResult result)
{
    switch (result) {
    case SendResult::Sent:
        break;
    case SendResult::NotFound:
        return SendWarning{send_texts::kNotFoundTitle, send_texts::kNotFoundText};
    case SendResult::Failed:
        return SendWarning{send_texts::kFailedTitle, send_texts::kFailedText};
    }
    return std::nullopt;
}

} // namespace vomra
