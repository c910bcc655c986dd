#include "platform/WaylandClipboard.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QThread>

#include <cstdlib>
#include <vector>

namespace vomra {

bool waylandDesktop()
{
    const char *name = std::getenv("WAYLAND_DISPLAY");
    return name && *name;
}

bool serveWaylandClipboard(const std::string &utf8, int limitMs, const std::function<void()> &placed)
{
    if (!waylandDesktop() || QCoreApplication::instance())
        return false;
    // Wayland whatever the user's platform choice for windows: only its
    // compositor holds this desktop's clipboard.
    std::string program = "vomra-cli", platformOpt = "-platform", platform = "wayland";
    std::vector<char *> argv{program.data(), platformOpt.data(), platform.data(), nullptr};
    int argc = 3;
    QGuiApplication app(argc, argv.data());
    QClipboard *clipboard = QGuiApplication::clipboard();
    auto *data = new QMimeData;
    data->setText(QString::fromStdString(utf8));
    clipboard->setMimeData(data);

    QElapsedTimer clock;
    clock.start();
    // The compositor confirms nothing; owning the selection after a round of
    // events is the best word we get.
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    if (!clipboard->ownsClipboard())
        return false;
    if (placed)
        placed();
    while (clipboard->ownsClipboard() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(10);
    }
    return true;
}

} // namespace vomra
