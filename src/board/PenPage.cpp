#include "board/PenPage.h"

#include "app/Artwork.h"
#include "app/Main.h"
#include "app/PageKit.h"
#include "board/DrawText.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QPlainTextEdit>
#include <QScrollArea>

namespace vomra {

namespace {
struct ToolDef {
    const char *hint;
    int image;
};
const ToolDef kTools[5] = {
    {"清空文本", il3Clear}, {"字体型号减小", il3FontSmaller}, {"字体型号增大", il3FontLarger},
    {"复制", il3Copy},     {"粘贴", il3Paste},
};
} // namespace

TPenPage::TPenPage(TfrmMain &frm) : m_frm(frm)
{
    QWidget *page = frm.pnlPen;

    penPanel1 = new TGWPanel(page);
    penPanel1->setObjectName(QStringLiteral("penPanel1"));
    penPanel1->setBevelOuter(bvNone);
    penPanel1->setGeometry(0, 0, kColumnWidth, page->height());

    penScrollBox1 = new QScrollArea(page);
    penScrollBox1->setObjectName(QStringLiteral("penScrollBox1"));
    penScrollBox1->setFrameShape(QFrame::NoFrame);
    penScrollBox1->setWidgetResizable(false);
    penScrollBox1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    penScrollBox1->setStyleSheet(QStringLiteral("QScrollArea { background: white; }"));
    penScrollBox1->move(kViewLeft, kViewTop);

    penDrawText1 = new TGWDrawText;
    penDrawText1->setObjectName(QStringLiteral("penDrawText1"));
    penDrawText1->setFont(frm.font());
    penDrawText1->setGridlinesColor(RGB(220, 220, 220));
    penDrawText1->setTextWidth(60);
    penDrawText1->setTextHeight(6);
    penDrawText1->setPenText("*");
    penScrollBox1->setWidget(penDrawText1);

    penRichEdit1 = makeTextView(page, QStringLiteral("penRichEdit1"));
    penRichEdit1->setFont(frm.font());
    penRichEdit1->move(kViewLeft, kViewTop);
    penRichEdit1->hide(); // the board is shown at start

    for (int i = 0; i < 5; ++i) {
        auto *label = makeToolLabel(page, QStringLiteral("penImageLabel%1").arg(i + 1), i + 1,
                                    QString::fromUtf8(kTools[i].hint), frm.ImageList3, kTools[i].image,
                                    kViewLeft + 2 + 32 * i, 12);
        label->OnClick = [this](QObject *sender) { penImageLabelClick(sender); };
        penImageLabels[static_cast<std::size_t>(i)] = label;
    }
    penImageLabel(5)->OnMouseEnter = [this](QObject *) { penImageLabel(5)->setEnabled(clipboardHasText()); };
}

void TPenPage::pnlPenResize()
{
    QWidget *page = m_frm.pnlPen;
    penPanel1->resize(penPanel1->width(), page->height());
    for (QWidget *view : {static_cast<QWidget *>(penScrollBox1), static_cast<QWidget *>(penRichEdit1)})
        view->resize(page->width() - view->x() - 1, page->height() - view->y() - 1);
}

void TPenPage::penImageLabelClick(QObject *Sender)
{
    auto *label = qobject_cast<TGWImageLabel *>(Sender);
    if (!label)
        return;
    switch (label->Tag()) {
    case 2:
        m_frm.FontSizeStep(-1);
        break;
    case 3:
        m_frm.FontSizeStep(+1);
        break;
    default: // clear, copy and paste work on the mode shown; they come with the page's modes
        break;
    }
}

} // namespace vomra
