#include "recipe/RecipePage.h"

#include "pagekit/Artwork.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QTextEdit>

namespace vomra {

namespace {
const ToolDef kTools[11] = {
    {"保存", il3Save},
    {"字体型号减小", il3FontSmaller},
    {"字体型号增大", il3FontLarger},
    {"剪切", il3Cut},
    {"复制", il3Copy},
    {"粘贴", il3Paste},
    {"撤消", il3Undo},
    {"粘贴到“发送消息”窗口", il3PasteToSend},
    {"粘贴到“对话模式”窗口", il3PasteToDialog},
    {"粘贴到“发送消息”窗口并发送", il3PasteAndSend},
    {"粘贴到“对话模式”窗口并发送", il3PasteToDialogAndSend},
};
} // namespace

TRecipePage::TRecipePage(TPageHost &host) : m_host(host)
{
    QWidget *page = host.pagePanel(pgRecipe);

    recipePanel1 = makeColumnPanel(page, QStringLiteral("recipePanel1"), kStripWidth);

    recipeRichEdit1 = new QTextEdit(page);
    recipeRichEdit1->setObjectName(QStringLiteral("recipeRichEdit1"));
    recipeRichEdit1->setFrameShape(QFrame::NoFrame);
    recipeRichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    recipeRichEdit1->setAcceptRichText(false);
    recipeRichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    recipeRichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    recipeRichEdit1->setFont(host.windowFont());
    QPalette pal = recipeRichEdit1->palette();
    pal.setColor(QPalette::Base, Qt::white);
    recipeRichEdit1->setPalette(pal);
    recipeRichEdit1->move(kEditLeft, kEditTop);

    makeToolBar(page, QStringLiteral("recipeLabel"), kTools, host.imageList(3), 58, 8,
                [this](QObject *sender) { recipeLabelClick(sender); }, recipeLabels);
    QObject::connect(recipeRichEdit1, &QTextEdit::selectionChanged, this,
                     [this] { recipeRichEdit1SelectionChange(); });
    QObject::connect(recipeRichEdit1->document(), &QTextDocument::undoAvailable, this, [this](bool can) {
        if (recipeLabel(7)->isEnabled() != can)
            recipeLabel(7)->setEnabled(can);
    });
}

void TRecipePage::pnlRecipeResize()
{
    QWidget *page = m_host.pagePanel(pgRecipe);
    recipePanel1->resize(recipePanel1->width(), page->height());
    recipeRichEdit1->resize(page->width() - recipeRichEdit1->x() - 2, page->height() - recipeRichEdit1->y() - 2);
}

void TRecipePage::recipeRichEdit1SelectionChange()
{
    const bool selected = recipeRichEdit1->textCursor().hasSelection();
    recipeLabel(4)->setEnabled(selected && !recipeRichEdit1->isReadOnly());
    for (int n : {5, 8, 9, 10, 11})
        recipeLabel(n)->setEnabled(selected);
}

void TRecipePage::recipeLabelClick(QObject *Sender)
{
    auto *label = qobject_cast<TGWImageLabel *>(Sender);
    if (!label)
        return;
    switch (label->Tag()) {
    case 2:
        m_host.FontSizeStep(-1);
        break;
    case 3:
        m_host.FontSizeStep(+1);
        break;
    case 4:
        recipeRichEdit1->cut();
        break;
    case 5:
        recipeRichEdit1->copy();
        break;
    case 6:
        recipeRichEdit1->paste();
        break;
    case 7:
        if (recipeRichEdit1->document()->isUndoAvailable())
            recipeRichEdit1->undo();
        break;
    default: // saving and sending come with the recipe library
        break;
    }
}

} // namespace vomra
