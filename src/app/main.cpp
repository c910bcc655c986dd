#include "app/Main.h"
#include "platform/FontSetup.h"
#include "widgets/Functions.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QString());
    QApplication::setApplicationName(QStringLiteral("Vomra 2003 免费版"));
    vomra::installFontSubstitutes();

    vomra::TfrmMain frmMain(vomra::ExeFolder());
    frmMain.show();
    return QApplication::exec();
}
