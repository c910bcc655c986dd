#include "art/ArtFontPage.h"

#include "app/Artwork.h"
#include "app/Main.h"
#include "app/PageKit.h"
#include "art/PicturePage.h"
#include "art/TextHelpers.h"
#include "platform/GbkQt.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QPlainTextEdit>

namespace vomra {

namespace {
struct ToolDef {
    const char *hint;
    int image;
};
const ToolDef kTools[8] = {
    {"制作艺术字体", il3Make}, {"删除左边空格", il3TrimLeft}, {"删除右边空格", il3TrimRight},
    {"清空文本", il3Clear},   {"字体型号减小", il3FontSmaller}, {"字体型号增大", il3FontLarger},
    {"复制", il3Copy},        {"粘贴", il3Paste},
};
} // namespace

TArtFontPage::TArtFontPage(TfrmMain &frm) : m_frm(frm)
{
    QWidget *page = frm.pnlArtFont;

    artfontPanel1 = new TGWPanel(page);
    artfontPanel1->setObjectName(QStringLiteral("artfontPanel1"));
    artfontPanel1->setBevelOuter(bvNone);
    artfontPanel1->setGeometry(0, 0, kColumnWidth, page->height());

    artfontRichEdit1 = makeTextView(page, QStringLiteral("artfontRichEdit1"));
    artfontRichEdit1->setFont(frm.font());
    artfontRichEdit1->move(kEditLeft, kEditTop);

    for (int i = 0; i < 8; ++i) {
        auto *label = makeToolLabel(page, QStringLiteral("artfontImageLabel%1").arg(i + 1), i + 1,
                                    QString::fromUtf8(kTools[i].hint), frm.ImageList3, kTools[i].image,
                                    kEditLeft + 2 + 32 * i, 12);
        label->OnClick = [this](QObject *sender) { artfontImageLabelClick(sender); };
        artfontImageLabels[static_cast<std::size_t>(i)] = label;
    }
    // The paste label is usable only while the clipboard holds text.
    artfontImageLabel(8)->OnMouseEnter = [this](QObject *) {
        artfontImageLabel(8)->setEnabled(clipboardHasText());
    };
}

void TArtFontPage::pnlArtFontResize()
{
    QWidget *page = m_frm.pnlArtFont;
    artfontPanel1->resize(artfontPanel1->width(), page->height());
    m_frm.picture->picturePanel1->resize(m_frm.picture->picturePanel1->width(), page->height());
    artfontRichEdit1->resize(page->width() - artfontRichEdit1->x() - 1, page->height() - artfontRichEdit1->y() - 1);
}

void TArtFontPage::artfontImageLabelClick(QObject *Sender)
{
    auto *label = qobject_cast<TGWImageLabel *>(Sender);
    if (!label)
        return;
    auto trimWith = [this](void (*trim)(Lines &)) {
        bool lossy = false;
        Lines lines = splitLines(gbk::fromQString(artfontRichEdit1->toPlainText(), &lossy));
        trim(lines);
        artfontRichEdit1->setPlainText(gbk::toQString(joinLines(lines, "\n")));
    };
    switch (label->Tag()) {
    case 1:
        if (m_frm.CurrentPage() == pgPicture)
            m_frm.picture->Grind();
        else if (m_frm.CurrentPage() == pgArtFont)
            MakeArt();
        break;
    case 2:
        trimWith([](Lines &l) { trimLeftMargin(l); });
        break;
    case 3:
        trimWith([](Lines &l) { trimTrailingBlanks(l); });
        break;
    case 4:
        artfontRichEdit1->clear();
        break;
    case 5:
        m_frm.FontSizeStep(-1);
        break;
    case 6:
        m_frm.FontSizeStep(+1);
        break;
    case 7:
        copyAllOrSelection(artfontRichEdit1);
        break;
    case 8:
        artfontRichEdit1->paste();
        break;
    default:
        break;
    }
}

void TArtFontPage::MakeArt() {}

} // namespace vomra
