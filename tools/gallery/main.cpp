// The widget gallery: every owner-painted widget in its states, one tab per group.
//   vomra_gallery [--tab N] [--shot FILE.png]
// --shot grabs the shown tab into a PNG and quits (for headless screenshots).

#include "platform/FontSetup.h"

#include <QApplication>
#include <QStringList>
#include <QTabWidget>
#include <QTimer>

// One line per tab: the function that builds it (defined in its own file) and its title.
#define VOMRA_GALLERY_TABS(TAB)                   \
    TAB(imageLabelTab, "Image labels")            \
    TAB(panelTab, "Panels and sections")          \
    TAB(progressBarTab, "Progress bars")          \
    TAB(buttonsTab, "Buttons, spins, flat edits") \
    /* end of tabs */

namespace gallery {
#define VOMRA_DECLARE_TAB(fn, title) QWidget *fn();
VOMRA_GALLERY_TABS(VOMRA_DECLARE_TAB)
#undef VOMRA_DECLARE_TAB
} // namespace gallery

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    vomra::installFontSubstitutes();
    QFont base(vomra::songFamily());
    base.setPixelSize(12);
    QApplication::setFont(base);

    QTabWidget tabs;
    tabs.setObjectName(QStringLiteral("galleryTabs"));
    tabs.setWindowTitle(QStringLiteral("Vomra widget gallery"));
#define VOMRA_ADD_TAB(fn, title) tabs.addTab(gallery::fn(), QStringLiteral(title));
    VOMRA_GALLERY_TABS(VOMRA_ADD_TAB)
#undef VOMRA_ADD_TAB
    tabs.resize(900, 640);

    const QStringList args = QApplication::arguments();
    const qsizetype tabArg = args.indexOf(QStringLiteral("--tab"));
    if (tabArg >= 0 && tabArg + 1 < args.size())
        tabs.setCurrentIndex(args.at(tabArg + 1).toInt());
    tabs.show();

    const qsizetype shotArg = args.indexOf(QStringLiteral("--shot"));
    if (shotArg >= 0 && shotArg + 1 < args.size()) {
        const QString file = args.at(shotArg + 1);
        QTimer::singleShot(300, &tabs, [&tabs, file] {
            tabs.grab().save(file);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}
