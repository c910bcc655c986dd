#include "theme/ThemePage.h"

#include "pagekit/PageHost.h"
#include "widgets/Panel.h"

#include <QLabel>
#include <QListWidget>

namespace vomra {

TThemePage::TThemePage(TPageHost &host) : m_host(host)
{
    QWidget *page = host.pagePanel(pgTheme);
    themeListView1 = new QListWidget(page);
    themeListView1->setObjectName(QStringLiteral("themeListView1"));
    themeListView1->setViewMode(QListView::IconMode);
    themeListView1->setFrameShape(QFrame::NoFrame);
    themeListView1->setGeometry(kListLeft, 0, 113, 321);

    themeLabel1 = new QLabel(page);
    themeLabel1->setObjectName(QStringLiteral("themeLabel1"));
    themeLabel1->setGeometry(8, 8, 144, 20);
    themeLabel2 = new QLabel(page);
    themeLabel2->setObjectName(QStringLiteral("themeLabel2"));
    themeLabel2->setGeometry(8, 32, 144, 200);
    themeLabel2->setWordWrap(true);
    themeLabel2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

void TThemePage::pnlThemeResize()
{
    QWidget *page = m_host.pagePanel(pgTheme);
    themeListView1->resize(page->width() - themeListView1->x(), page->height());
    themeLabel2->resize(themeLabel2->width(), page->height() - themeLabel2->y());
}

} // namespace vomra
