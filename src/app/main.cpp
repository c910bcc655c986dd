#include "app/Main.h"
#include "app/About.h"
#include "base/ExeFolder.h"
#include "platform/FontSetup.h"
#include "platform/Translations.h"
#include "x11/XDisplayReach.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <string>

namespace {

// For bench/startup.sh: once the main window is up and painted, print the wall
// clock and the resident memory, then quit.
void probeStartup()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    long rssKb = 0;
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            rssKb = std::stol(line.substr(6));
    std::printf("shown %lld rss_kb %ld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec, rssKb);
    std::fflush(stdout);
    QApplication::quit();
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before a display is needed.
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--version") {
            std::puts("vomra 2.0.0\n"
                      "License GPLv3+: GNU GPL version 3 or later <https://gnu.org/licenses/gpl.html>.\n"
                      "This is free software: you are free to change and redistribute it.\n"
                      "There is NO WARRANTY, to the extent permitted by law.");
            return 0;
        }
        if (arg == "--help" || arg == "-h") {
            std::puts("Usage: vomra [--help | --version]\n"
                      "Starts the Vomra 2003 window. See vomra(1) for the program folder.");
            return 0;
        }
    }
    // Placement, masks, frame sizes and sending to chat windows all need X:
    // where an X server answers (Xwayland in a Wayland session) it is used,
    // unless the user chose a platform. Only for this process: programs we
    // start pick their own.
    const bool chooseX = !qEnvironmentVariableIsSet("QT_QPA_PLATFORM") &&
                         vomra::xDisplayReachable(qEnvironmentVariable("DISPLAY").toStdString());
    if (chooseX)
        qputenv("QT_QPA_PLATFORM", "xcb;wayland");
    // The application and its title (the task-bar text).
    QApplication app(argc, argv);
    if (chooseX)
        qunsetenv("QT_QPA_PLATFORM");
    QApplication::setApplicationName(QStringLiteral("Vomra 2003 免费版"));
    vomra::installFontSubstitutes();
    vomra::installChineseTranslations();

    // The About window, shown at once as the splash.
    vomra::TfrmAbout frmAbout;
    frmAbout.showSplash();

    // The main window, built behind the splash; it closes the splash when shown.
    vomra::TfrmMain frmMain(vomra::ExeFolder(), &frmAbout);
    frmMain.OnShowAbout = [&frmAbout] { frmAbout.showModalAbout(); };
    frmMain.showAtStart();

    if (qEnvironmentVariableIsSet("VOMRA_STARTUP_PROBE"))
        QTimer::singleShot(0, &frmMain, [] { probeStartup(); });

    return QApplication::exec();
}
