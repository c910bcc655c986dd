#include "recipe/SendOnDesktop.h"

#include "base/Settings.h"
#include "platform/WindowSystemX11.h"

#include <QFile>

namespace vomra {

std::function<std::unique_ptr<WindowSystem>()> &sendWindowSystemHook()
{
    static std::function<std::unique_ptr<WindowSystem>()> hook;
    return hook;
}

SendResult sendOnDesktop(int kind, bool pressSend, const QString &programFolder, const std::function<void()> &copyText,
                         const std::function<void(const QString &title, const QString &text)> &warn)
{
    // Read at every send: a user who edits the titles by hand need not restart.
    const SendTitles titles = readSendTitles(Profile(settingsPath(QFile::encodeName(programFolder).toStdString())));
    const std::unique_ptr<WindowSystem> windows =
        sendWindowSystemHook() ? sendWindowSystemHook()() : std::make_unique<TX11WindowSystem>();
    const SendResult result = SendToQQ(*windows, sendTarget(kind, titles), pressSend, copyText);
    if (const auto warning = sendWarning(result))
        warn(QString::fromUtf8(warning->title), QString::fromUtf8(warning->text));
    return result;
}

} // namespace vomra
