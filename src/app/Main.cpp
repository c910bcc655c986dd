#include "app/Main.h"

namespace vomra {

TfrmMain::TfrmMain(const QString &programFolder, QWidget *parent)
    : QWidget(parent), m_programFolder(programFolder)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Vomra 2003 v2.0"));
    resize(640, 480);
    setMinimumSize(640, 480);
}

} // namespace vomra
