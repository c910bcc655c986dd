// vomra-cli send: the text on standard input into a chat window, as the recipe
// page's send labels do.
//
// The window system serves the text from a clipboard owner of its own while
// the chat program fetches it, and says when the program has the whole text;
// before the command ends the text goes to the desktop's clipboard manager,
// where one runs, so it stays on the clipboard.

#include "cli/SendCommand.h"

#include "base/Gbk.h"
#include "base/Settings.h"
#include "cli/Cli.h"
#include "cli/WaylandClipboard.h"
#include "x11/WindowSystemX11.h"
#include "recipe/core/Send.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <iterator>
#include <optional>

namespace vomra::cli {

namespace {

constexpr const char *kName = "vomra-cli send";
// How long a clipboard manager may take to copy the text before we exit.
constexpr int kKeepMs = 2000;

SendDesktop x11Desktop()
{
    SendDesktop desktop;
    auto windows = std::make_unique<TX11WindowSystem>();
    if (!windows->HasDisplay()) {
        desktop.whyNone = "no X display";
        if (waylandDesktop())
            desktop.clipboardOnly = [](const std::string &text, const std::function<void()> &placed) {
                return serveWaylandClipboard(text, kServeClipboardMs, placed);
            };
        return desktop;
    }
    TX11WindowSystem *x11 = windows.get();
    desktop.keepClipboard = [x11] { return x11->KeepClipboard(kKeepMs); };
    desktop.pick = [x11](const std::function<void()> &ready) { return x11->PickWindow(ready); };
    desktop.restartClock = [x11] { x11->RestartClock(); };
    desktop.windows = std::move(windows);
    return desktop;
}

// The offset of the first byte that is not part of a well-formed UTF-8
// character, or npos.
std::size_t badUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const auto c = static_cast<unsigned char>(s[i]);
        std::size_t n = 0;
        unsigned cp = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if (c >= 0xc2 && c <= 0xdf) {
            n = 2;
            cp = c & 0x1f;
        } else if (c >= 0xe0 && c <= 0xef) {
            n = 3;
            cp = c & 0x0f;
        } else if (c >= 0xf0 && c <= 0xf4) {
            n = 4;
            cp = c & 0x07;
        } else {
            return i;
        }
        if (i + n > s.size())
            return i;
        for (std::size_t k = 1; k < n; ++k) {
            const auto t = static_cast<unsigned char>(s[i + k]);
            if ((t & 0xc0) != 0x80)
                return i;
            cp = (cp << 6) | (t & 0x3f);
        }
        const unsigned least = n == 2 ? 0x80 : n == 3 ? 0x800 : 0x10000;
        if (cp < least || cp > 0x10ffff || (cp >= 0xd800 && cp <= 0xdfff))
            return i;
        i += n;
    }
    return std::string_view::npos;
}

// Every byte that starts no well-formed character becomes "?".
std::string mendUtf8(std::string_view s)
{
    std::string out;
    while (!s.empty()) {
        const std::size_t bad = badUtf8(s);
        if (bad == std::string_view::npos) {
            out += s;
            break;
        }
        out += s.substr(0, bad);
        out += '?';
        s.remove_prefix(bad + 1);
    }
    return out;
}

// The text as the chat should show it: X clipboards carry LF line ends, and
// the line end a file or echo gives after its last line is not part of it
// (a text that is nothing but one line end stays one).
std::string chatText(const std::string &text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    if (out.size() > 1 && out.back() == '\n')
        out.pop_back();
    return out;
}

// Arguments come in the locale's encoding: UTF-8 but for the Chinese locales
// of the GB family.
bool localeIsGbk()
{
    const char *names[] = {"LC_ALL", "LC_CTYPE", "LANG"};
    for (const char *name : names) {
        const char *v = std::getenv(name);
        if (!v || !*v)
            continue;
        std::string lower(v);
        for (char &c : lower)
            c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        return lower.find("gbk") != std::string::npos || lower.find("gb2312") != std::string::npos ||
               lower.find("gb18030") != std::string::npos || lower.find("euccn") != std::string::npos;
    }
    return false;
}

std::optional<std::string> argumentText(const std::string &arg)
{
    if (localeIsGbk()) {
        bool lossy = false;
        std::string utf8 = gbk::toUtf8(arg, &lossy);
        return lossy ? std::nullopt : std::optional<std::string>(std::move(utf8));
    }
    return badUtf8(arg) == std::string_view::npos ? std::optional<std::string>(arg) : std::nullopt;
}

std::string describe(const SendTarget &t)
{
    switch (t.match) {
    case WindowMatch::Title:
        return "no window \"" + t.title + "\"";
    case WindowMatch::Contains:
        return "no window whose title contains \"" + t.title + "\"";
    case WindowMatch::Class:
        return "no window of class \"" + t.title + "\"";
    case WindowMatch::Handle:
        return "the picked window has no input box";
    }
    return {};
}

std::string hexId(WindowHandle h)
{
    char id[24];
    std::snprintf(id, sizeof id, "0x%08llx", static_cast<unsigned long long>(h));
    return id;
}

// Every top-level window, top-most first, and which one each way of naming a
// target would take.
void listWindows(WindowSystem &windows, const SendTitles &titles, const std::optional<SendTarget> &given,
                 std::ostream &out)
{
    const WindowHandle kind1 = findTarget(windows, sendTarget(1, titles));
    const WindowHandle kind2 = findTarget(windows, sendTarget(2, titles));
    const WindowHandle chosen = given ? findTarget(windows, *given) : 0;
    out << "id\tpid\tclass\tdrawn\tpicked by\ttitle\n";
    for (const WindowInfo &w : windows.TopLevels()) {
        std::string picks;
        auto add = [&](const char *who) { picks += (picks.empty() ? "" : ",") + std::string(who); };
        if (w.handle == kind1)
            add("--kind 1");
        if (w.handle == kind2)
            add("--kind 2");
        if (chosen && w.handle == chosen)
            add("this command");
        out << hexId(w.handle) << '\t' << w.pid << '\t' << (w.className.empty() ? "-" : w.className) << '\t'
            << (windows.HasCaptionedChild(w.handle) ? "parts" : "one piece") << '\t' << (picks.empty() ? "-" : picks)
            << '\t' << w.title << '\n';
    }
}

} // namespace

std::function<SendDesktop()> &sendDesktopHook()
{
    static std::function<SendDesktop()> hook = x11Desktop;
    return hook;
}

int runSend(const std::vector<std::string> &args, Io &io)
{
    Encoding enc = Encoding::Utf8;
    std::optional<SendTarget> given; // by --window, --window-contains or --class
    int kind = 0;
    int selectors = 0;
    int remember = 0;
    bool pressSend = false, list = false, pick = false, lossyAllowed = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string &a = args[i];
        auto is = [&](const char *opt) {
            const std::string o(opt);
            return a == o || a.rfind(o + "=", 0) == 0;
        };
        if (a.rfind("--encoding", 0) == 0) {
            if (!takeEncoding(args, i, enc, io.err))
                return kUsage;
        } else if (a == "--press-send" || a == "--list" || a == "--pick" || a == "--lossy") {
            pressSend = pressSend || a == "--press-send";
            list = list || a == "--list";
            lossyAllowed = lossyAllowed || a == "--lossy";
            if (a == "--pick" && !pick) {
                pick = true;
                ++selectors;
            }
            ++i;
        } else if (is("--window") || is("--window-contains") || is("--class")) {
            const std::string opt = a.substr(0, a.find('='));
            const auto value = takeValue(args, i, opt, kName, io.err);
            if (!value)
                return kUsage;
            if (value->empty()) {
                io.err << kName << ": " << opt << " needs a text\n";
                return kUsage;
            }
            const auto text = argumentText(*value);
            if (!text) {
                io.err << kName << ": " << opt << " is not valid text in this locale\n";
                return kUsage;
            }
            SendTarget t = sendTarget(1, defaultSendTitles());
            t.title = *text;
            t.match = opt == "--window"  ? WindowMatch::Title
                      : opt == "--class" ? WindowMatch::Class
                                         : WindowMatch::Contains;
            given = t;
            ++selectors;
        } else if (is("--kind") || is("--remember")) {
            const std::string opt = a.substr(0, a.find('='));
            const auto value = takeValue(args, i, opt, kName, io.err);
            if (!value)
                return kUsage;
            if (*value != "1" && *value != "2") {
                io.err << kName << ": " << opt << " is 1 (\"发送消息\") or 2 (\"对话模式\"), not '" << *value << "'\n";
                return kUsage;
            }
            if (opt == "--kind") {
                kind = *value == "1" ? 1 : 2;
                ++selectors;
            } else {
                remember = *value == "1" ? 1 : 2;
            }
        } else {
            io.err << kName << ": unexpected argument '" << a << "'\n";
            return kUsage;
        }
    }
    if (selectors > 1) {
        io.err << kName << ": give one of --window, --window-contains, --class, --kind and --pick\n";
        return kUsage;
    }
    if (remember && !pick) {
        io.err << kName << ": --remember goes with --pick\n";
        return kUsage;
    }

    const Profile settings(settingsPath(programFolderOf(io)));
    const SendTitles titles = readSendTitles(settings);
    SendTarget target = given ? *given : sendTarget(kind ? kind : 1, titles);

    // The text first: bad input is refused before anything on the desktop moves.
    std::string text;
    if (!list && !remember) {
        std::string input((std::istreambuf_iterator<char>(io.in)), std::istreambuf_iterator<char>());
        if (enc == Encoding::Gbk) {
            bool lossy = false;
            input = gbk::toUtf8(input, &lossy);
            if (lossy && !lossyAllowed) {
                io.err << kName << ": standard input is not valid GBK (--lossy sends it with \"?\" instead)\n";
                return kUsage;
            }
        } else {
            if (input.rfind("\xEF\xBB\xBF", 0) == 0)
                input.erase(0, 3);
            if (const std::size_t bad = badUtf8(input); bad != std::string_view::npos) {
                if (!lossyAllowed) {
                    io.err << kName << ": standard input is not valid UTF-8 at byte " << bad
                           << " (--encoding gbk reads GBK; --lossy sends it with \"?\" instead)\n";
                    return kUsage;
                }
                input = mendUtf8(input);
            }
        }
        text = chatText(input);
        if (text.empty()) {
            io.err << kName << ": nothing to send (standard input is empty)\n";
            return kUsage;
        }
    }

    SendDesktop desktop = sendDesktopHook()();
    if (!desktop.windows) {
        // Nothing to paste into, but the text can still reach the chat by hand.
        if (!list && !pick && desktop.clipboardOnly && desktop.clipboardOnly(text, [&] {
                io.err << kName << ": " << send_texts::kClipboardOnlyText << std::endl;
            }))
            return kClipboardOnly;
        io.err << kName << ": " << send_texts::kNotFoundText << " (" << desktop.whyNone << ")\n";
        return kFailed;
    }
    WindowSystem &windows = *desktop.windows;
    if (list) {
        listWindows(windows, titles, given, io.out);
        return kOk;
    }

    if (pick) {
        const WindowHandle picked = desktop.pick ? desktop.pick([&] {
            io.err << kName << ": click the chat window (another button cancels)" << std::endl;
        })
                                                 : 0;
        if (!picked) {
            io.err << kName << ": no window was picked\n";
            return kFailed;
        }
        if (remember) {
            std::string title;
            for (const WindowInfo &w : windows.TopLevels())
                if (w.handle == picked)
                    title = w.title;
            if (title.empty()) {
                io.err << kName << ": the picked window has no title to remember\n";
                return kFailed;
            }
            if (const auto written = writeSendTitle(settings, remember, title); !written) {
                const std::string &error = written.error().message;
                io.err << kName << ": " << error << "\n";
                return error.find("GBK") != std::string::npos ? kUsage : kFailed;
            }
            io.out << (remember == 1 ? send_texts::kKey1 : send_texts::kKey2) << '=' << title << '\n';
            return kOk;
        }
        target.match = WindowMatch::Handle;
        target.handle = picked;
        if (desktop.restartClock)
            desktop.restartClock();
    }

    std::string error;
    bool copied = false;
    const SendResult result = sendToChatWindow(
        windows, target, pressSend,
        [&] {
            copied = true;
            return text;
        },
        &error);
    if (copied && desktop.keepClipboard)
        desktop.keepClipboard();
    switch (result) {
    case SendResult::Sent:
        return kOk;
    case SendResult::NotFound:
        io.err << kName << ": " << send_texts::kNotFoundText << " (" << describe(target) << " with an input box at ("
               << target.x << ", " << target.y << ") and a send button)\n";
        return kFailed;
    case SendResult::Failed:
        io.err << kName << ": " << send_texts::kFailedText << " (" << error << ")\n";
        return kNotTaken;
    }
    return kFailed;
}

} // namespace vomra::cli
