// The commands of vomra-cli that need Qt, and the one Qt application they share.
// Linked into the helper program and the tests, never into vomra-cli itself.
#include "cli/Cli.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstring>
#include <ostream>

namespace vomra::cli {

int runSend(const std::vector<std::string> &args, Io &io); // SendCommand.cpp

namespace {

void qtQuiet(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    // Qt's chatter about the session (runtime folder, platform) is no business of a
    // script reading our output; only real failures are passed on.
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", message.toLocal8Bit().constData());
}

int runQtCommand(const char *command, const std::vector<std::string> &args, Io &io)
{
    if (std::strcmp(command, "send") == 0)
        return runSend(args, io);
    io.err << "vomra-cli: no command '" << command << "' in the helper\n";
    return kUsage;
}

// Installed when this file is linked in, before main runs.
const bool kInstalled = (setQtCommands(runQtCommand), true);

} // namespace

QGuiApplication *guiApplication(const char *platform, bool force)
{
    if (QCoreApplication::instance())
        return qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (force || qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", platform);
    qInstallMessageHandler(qtQuiet);
    // A second application after the first is destroyed is not something Qt
    // supports well: this one lives as long as the process.
    static int argc = 1;
    static char name[] = "vomra-cli";
    static char *argv[] = {name, nullptr};
    return new QGuiApplication(argc, argv);
}

} // namespace vomra::cli
