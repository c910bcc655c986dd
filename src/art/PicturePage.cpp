#include "art/PicturePage.h"

#include "app/Main.h"
#include "art/ArtFontPage.h"
#include "widgets/Panel.h"

namespace vomra {

TPicturePage::TPicturePage(TfrmMain &frm) : m_frm(frm)
{
    QWidget *page = frm.pnlArtFont;
    picturePanel1 = new TGWPanel(page);
    picturePanel1->setObjectName(QStringLiteral("picturePanel1"));
    picturePanel1->setBevelOuter(bvNone);
    picturePanel1->setGeometry(0, 0, TArtFontPage::kColumnWidth, page->height());
    picturePanel1->hide();
}

void TPicturePage::Grind() {}

} // namespace vomra
