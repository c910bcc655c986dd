#include "app/Main.h"
#include "platform/FontSetup.h"
#include "widgets/Functions.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    // The application and its title (the task-bar text).
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vomra 2003 免费版"));
    vomra::installFontSubstitutes();

    vomra::TfrmMain frmMain(vomra::ExeFolder());
    frmMain.showAtStart();
    return QApplication::exec();
}
