// vomra-cli send: the text on standard input into a chat window, as the recipe
// page's send labels do.
//
// The chat program fetches the text from our clipboard while we paste, so the
// command runs a Qt GUI application on the X11 platform for the length of the
// send: Qt owns and serves the selection, and the window system's waits keep
// its event loop running until the chat program has taken the text.

#include "cli/SendCommand.h"

#include "cli/Cli.h"
#include "base/Settings.h"
#include "platform/GbkQt.h"
#include "platform/WindowSystemX11.h"
#include "recipe/Send.h"

#include <QClipboard>
#include <QGuiApplication>

#include <iostream>
#include <iterator>

namespace vomra::cli {

namespace {

constexpr const char *kName = "vomra-cli send";

SendDesktop x11Desktop()
{
    SendDesktop desktop;
    if (!TX11WindowSystem().HasDisplay()) {
        desktop.whyNone = "no X display";
        return desktop;
    }
    // Our clipboard must be the X selection of that display.
    if (!guiApplication("xcb", true) || QGuiApplication::platformName() != QLatin1String("xcb")) {
        desktop.whyNone = "the clipboard of this process is not on the X display";
        return desktop;
    }
    desktop.windows = std::make_unique<TX11WindowSystem>();
    desktop.setClipboard = [](const std::string &text) { QGuiApplication::clipboard()->setText(gbk::toQString(text)); };
    return desktop;
}

// The text as the chat should show it: X clipboards carry LF line ends, and
// the line end a file or echo gives after its last line is not part of it.
std::string chatText(std::string text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        out += text[i];
    }
    if (!out.empty() && out.back() == '\n')
        out.pop_back();
    return out;
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
    std::optional<std::string> window;
    int kind = 0;
    bool pressSend = false;
    for (std::size_t i = 0; i < args.size();) {
        const std::string &a = args[i];
        if (a.rfind("--encoding", 0) == 0) {
            if (!takeEncoding(args, i, enc, io.err))
                return kUsage;
        } else if (a == "--press-send") {
            pressSend = true;
            ++i;
        } else if (a == "--window" || a.rfind("--window=", 0) == 0) {
            window = takeValue(args, i, "--window", kName, io.err);
            if (!window)
                return kUsage;
            if (window->empty()) {
                io.err << kName << ": --window needs a title\n";
                return kUsage;
            }
        } else if (a == "--kind" || a.rfind("--kind=", 0) == 0) {
            const auto value = takeValue(args, i, "--kind", kName, io.err);
            if (!value)
                return kUsage;
            if (*value != "1" && *value != "2") {
                io.err << kName << ": --kind is 1 (\"发送消息\") or 2 (\"对话模式\"), not '" << *value << "'\n";
                return kUsage;
            }
            kind = *value == "1" ? 1 : 2;
        } else {
            io.err << kName << ": unexpected argument '" << a << "'\n";
            return kUsage;
        }
    }
    if (window && kind) {
        io.err << kName << ": give --window or --kind, not both\n";
        return kUsage;
    }

    std::string text((std::istreambuf_iterator<char>(io.in)), std::istreambuf_iterator<char>());
    bool lossy = false;
    if (enc == Encoding::Utf8)
        text = gbk::fromUtf8(text, &lossy);
    text = chatText(std::move(text));
    if (text.empty()) {
        io.err << kName << ": nothing to send (standard input is empty)\n";
        return kFailed;
    }
    if (lossy)
        io.err << "vomra-cli: warning: some characters cannot be written in GBK and became \"?\"\n";

    SendTarget target = sendTarget(kind ? kind : 1, readSendTitles(Profile(settingsPath(programFolderOf(io)))));
    if (window)
        target.title = enc == Encoding::Utf8 ? gbk::fromUtf8(*window) : *window;
    const std::string titleShown = gbk::toUtf8(target.title);

    SendDesktop desktop = sendDesktopHook()();
    if (!desktop.windows) {
        io.err << kName << ": " << send_texts::kNotFoundText << " (" << desktop.whyNone << ")\n";
        return kFailed;
    }
    std::string error;
    const SendResult result = SendToQQ(
        *desktop.windows, target, pressSend, [&] { desktop.setClipboard(text); }, &error);
    switch (result) {
    case SendResult::Sent:
        return kOk;
    case SendResult::NotFound:
        io.err << kName << ": " << send_texts::kNotFoundText << " (no window \"" << titleShown
               << "\" with an input box at (" << target.x << ", " << target.y << ") and a send button)\n";
        return kFailed;
    case SendResult::Failed:
        io.err << kName << ": " << send_texts::kFailedText << " (" << error << ")\n";
        return kFailed;
    }
    return kFailed;
}

} // namespace vomra::cli
