#include "recipe/ui/SendOnDesktop.h"

#include "base/Settings.h"
#include "x11/WindowSystemX11.h"

#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>

#include <optional>

namespace vomra {

std::function<std::unique_ptr<WindowSystem>()> &sendWindowSystemHook()
{
    static std::function<std::unique_ptr<WindowSystem>()> hook;
    return hook;
}

SendResult sendOnDesktop(int kind, bool pressSend, const std::string &programFolder,
                         const std::function<QString()> &copyText,
                         const std::function<void(const QString &title, const QString &text)> &warn)
{
    // Read at every send: a user who edits the titles by hand need not restart.
    const SendTitles titles = readSendTitles(Profile(settingsPath(programFolder)));
    std::optional<QString> copied;
    SendResult result = SendResult::NotFound;
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
    std::unique_ptr<WindowSystem> windows;
    if (sendWindowSystemHook()) {
        windows = sendWindowSystemHook()();
    } else if (auto x11 = std::make_unique<TX11WindowSystem>(
                   // The page keeps painting while the send waits for the chat program.
                   [] { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); });
               x11->HasDisplay()) {
        windows = std::move(x11);
    }
    const bool reachable = windows != nullptr;
    if (reachable) {
        result = sendToChatWindow(*windows, sendTarget(kind, titles), pressSend, [&] {
            copied = copyText();
            return copied->toStdString();
        });
        windows.reset();
    }
    QGuiApplication::restoreOverrideCursor();
    // No X display: no window can be pasted into, but the user can paste by hand.
    if (!reachable) {
        QGuiApplication::clipboard()->setText(copyText());
        warn(QString::fromUtf8(send_texts::kNotFoundTitle), QString::fromUtf8(send_texts::kClipboardOnlyText));
        return SendResult::NotFound;
    }
    // The chat program fetched the text from the window system's own owner,
    // which is gone now; the clipboard keeps the text, as after any copy.
    if (copied)
        QGuiApplication::clipboard()->setText(*copied);
    if (const auto warning = sendWarning(result))
        warn(QString::fromUtf8(warning->title), QString::fromUtf8(warning->text));
    return result;
}

} // namespace vomra
