#include "recipe/core/Send.h"

#include "base/Gbk.h"

#include <algorithm>
#include <exception>

namespace vomra {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

// The [发送] section as it stands in the file, and whether it is UTF-8.
struct TitleSection {
    ProfileIndex index;
    std::string section;
    std::string key1, key2;
    bool utf8 = false;
};

TitleSection titleSection(Result<ProfileIndex> file)
{
    TitleSection s;
    const bool bom = file && file->bytes().rfind(kBom, 0) == 0;
    if (bom)
        s.index = ProfileIndex(file->bytes().substr(kBom.size()));
    else if (file)
        s.index = std::move(*file);
    const std::string gbkSection = gbk::fromUtf8(send_texts::kSection);
    s.utf8 = bom || (!s.index.hasSection(gbkSection) && s.index.hasSection(send_texts::kSection));
    if (s.utf8) {
        s.section = send_texts::kSection;
        s.key1 = send_texts::kKey1;
        s.key2 = send_texts::kKey2;
    } else {
        s.section = gbkSection;
        s.key1 = gbk::fromUtf8(send_texts::kKey1);
        s.key2 = gbk::fromUtf8(send_texts::kKey2);
    }
    return s;
}

bool contains(const std::string &text, const std::string &part)
{
    return text.find(part) != std::string::npos;
}

// Window classes are ASCII names; users write them in any case.
bool sameClass(const std::string &a, const std::string &b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

} // namespace

SendTitles defaultSendTitles()
{
    return {send_texts::kTitle1, send_texts::kTitle2};
}

SendTitles readSendTitles(const Profile &settingsFile)
{
    SendTitles titles = defaultSendTitles();
    const TitleSection s = titleSection(settingsFile.open());
    auto read = [&](const std::string &key, std::string &title) {
        // An empty title would match every window without a name.
        if (auto v = s.index.value(s.section, key); v && !v->empty())
            title = s.utf8 ? *v : gbk::toUtf8(*v);
    };
    read(s.key1, titles.kind1);
    read(s.key2, titles.kind2);
    return titles;
}

Result<void> writeSendTitle(const Profile &settingsFile, int kind, const std::string &title)
{
    Result<ProfileIndex> file = settingsFile.open();
    const bool bom = file && file->bytes().rfind(kBom, 0) == 0;
    TitleSection s = titleSection(std::move(file));
    std::string value = title;
    if (!s.utf8) {
        bool lossy = false;
        value = gbk::fromUtf8(title, &lossy);
        if (lossy)
            return fail("the title \"" + title + "\" cannot be written in GBK");
    }
    s.index.setValue(s.section, kind == 2 ? s.key2 : s.key1, value);
    if (bom)
        s.index = ProfileIndex(std::string(kBom) + s.index.bytes());
    return settingsFile.save(s.index);
}

SendTarget sendTarget(int kind, const SendTitles &titles)
{
    if (kind == 2)
        return {titles.kind2, 20, 300};
    return {titles.kind1, 20, 100};
}

WindowHandle findTarget(WindowSystem &windows, const SendTarget &target)
{
    switch (target.match) {
    case WindowMatch::Title:
        return windows.FindWindow(target.title);
    case WindowMatch::Handle:
        return target.handle;
    case WindowMatch::Contains:
    case WindowMatch::Class:
        for (const WindowInfo &w : windows.TopLevels())
            if (target.match == WindowMatch::Contains ? contains(w.title, target.title)
                                                      : sameClass(w.className, target.title))
                return w.handle;
        return 0;
    }
    return 0;
}

SendResult sendToChatWindow(WindowSystem &windows, const SendTarget &target, bool pressSend,
                            const std::function<std::string()> &copyText, std::string *error)
{
    // Open the reply window of a received message first; nothing depends on it.
    try {
        if (const WindowHandle view = windows.FindWindow(send_texts::kViewTitle))
            if (const WindowHandle reply = windows.FindChild(view, send_texts::kReplyCaption))
                windows.Click(reply);
    } catch (const std::exception &) {
    }

    try {
        const WindowHandle window = findTarget(windows, target);
        WindowHandle input = window ? windows.ChildFromPoint(window, target.x, target.y, true) : 0;
        const WindowHandle button = window ? windows.FindChild(window, send_texts::kSendCaption) : 0;
        // A window that draws its controls itself has no captioned child (at
        // most helper windows of its toolkit): it takes the keys itself.
        const bool onePiece = input && !button && !windows.HasCaptionedChild(window);
        if (onePiece)
            input = window;
        if (!window || !input || (!button && !onePiece))
            return SendResult::NotFound;

        const std::string text = copyText();
        windows.Paste(input, text);
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
