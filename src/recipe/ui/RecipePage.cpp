#include "recipe/ui/RecipePage.h"

#include "artwork/Artwork.h"
#include "pagekit/AlignmentHint.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "platform/NativePathQt.h"
#include "recipe/ui/ItemDocument.h"
#include "recipe/ui/RecipeEdit.h"
#include "recipe/ui/RecipeFindBar.h"
#include "recipe/ui/RecipeLoader.h"
#include "recipe/ui/RecipeSaver.h"
#include "recipe/ui/RecipeTree.h"
#include "recipe/ui/RecipeTreeActions.h"
#include "recipe/ui/SendOnDesktop.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>

#include <memory>
#include <utility>

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

    recipeRichEdit1 = new TRecipeEdit(page);
    recipeRichEdit1->setObjectName(QStringLiteral("recipeRichEdit1"));
    recipeRichEdit1->setFrameShape(QFrame::NoFrame);
    recipeRichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    recipeRichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    recipeRichEdit1->setFont(host.windowFont());
    TAlignmentHint::watch(recipeRichEdit1);
    recipeRichEdit1->setContextMenuPolicy(Qt::CustomContextMenu); // the edit menu opens it
    QPalette pal = recipeRichEdit1->palette();
    pal.setColor(QPalette::Base, Qt::white);
    recipeRichEdit1->setPalette(pal);
    recipeRichEdit1->move(kEditLeft, kEditTop);
    recipeRichEdit1->installEventFilter(this);

    makeToolBar(
        page, QStringLiteral("recipeLabel"), kTools, host.imageList(3), 58, 8,
        [this](QObject *sender) { recipeLabelClick(sender); }, recipeLabels);
    recipeLabel(6)->OnMouseEnter = [this](QObject *) { recipeLabel6MouseEnter(); };
    QObject::connect(recipeRichEdit1, &QPlainTextEdit::selectionChanged, this,
                     [this] { recipeRichEdit1SelectionChange(); });
    QObject::connect(recipeRichEdit1, &QPlainTextEdit::textChanged, this, [this] { recipeRichEdit1Change(); });

    tree = new TRecipeTree(host.recipeTree(), host.imageList(1), host.programFolder());
    loader = std::make_unique<TRecipeLoader>(host, recipeRichEdit1, recipeLabels, tree);
    saver = std::make_unique<TRecipeSaver>(host, recipeRichEdit1, tree, *loader);
    treeActions = std::make_unique<TRecipeTreeActions>(host, tree, *loader, *saver);
    findBar = std::make_unique<TRecipeFindBar>(tree, recipeRichEdit1, *loader);
    saver->OnCollectionSaved = [this](const std::string &path) { treeActions->reopenCollectionText(path); };
    tree->OnChange = [this](QTreeWidgetItem *node) { ShowRecipeNode(node); };
    tree->OnClick = [this] { TreeView1Click(); };
    tree->NeedsAsking = [this] { return loader->Modified(); };
    tree->OnChanging = [this] { return AskToKeepEdits(); };
}

TRecipePage::~TRecipePage()
{
    // The tree and the editor belong to the window and may outlive the page.
    loader->stopLoading();
    tree->OnChange = nullptr;
    tree->OnClick = nullptr;
    tree->NeedsAsking = nullptr;
    tree->OnChanging = nullptr;
}

void TRecipePage::pnlRecipeResize()
{
    QWidget *page = m_host.pagePanel(pgRecipe);
    recipePanel1->resize(recipePanel1->width(), page->height());
    recipeRichEdit1->resize(page->width() - recipeRichEdit1->x() - 2, page->height() - recipeRichEdit1->y() - 2);
}

// ---- the parts' work under the page's names -----------------------------------

void TRecipePage::LoadRecipeTree()
{
    tree->LoadRecipeTree();
}

void TRecipePage::ShowRecipeNode(QTreeWidgetItem *node)
{
    loader->ShowRecipeNode(node);
}

void TRecipePage::LoadIniItem(const std::string &filePath, const std::string &itemName)
{
    loader->LoadIniItem(filePath, itemName);
}

void TRecipePage::TreeView1Click()
{
    if (m_host.CurrentPage() != pgRecipe)
        m_host.SetCurrentPage(pgRecipe);
}

bool TRecipePage::SaveRecipe()
{
    return saver->SaveRecipe();
}

bool TRecipePage::SaveRecipeAs(const std::string &startFolder, const QString &text)
{
    return saver->SaveRecipeAs(startFolder, text);
}

bool TRecipePage::AskToKeepEdits()
{
    return saver->AskToKeepEdits();
}

bool TRecipePage::Loading() const
{
    return loader->Loading();
}

void TRecipePage::finishLoading()
{
    loader->finishLoading();
}

void TRecipePage::whenLoaded(std::function<void()> action)
{
    loader->whenLoaded(std::move(action));
}

// ---- labels ---------------------------------------------------------------

void TRecipePage::recipeRichEdit1Change()
{
    const bool canUndo = recipeRichEdit1->document()->isUndoAvailable();
    if (recipeLabel(7)->isEnabled() != canUndo)
        recipeLabel(7)->setEnabled(canUndo);
}

void TRecipePage::recipeRichEdit1SelectionChange()
{
    const bool selected = recipeRichEdit1->textCursor().hasSelection();
    recipeLabel(4)->setEnabled(selected && !recipeRichEdit1->isReadOnly());
    for (int n : {5, 8, 9, 10, 11})
        recipeLabel(n)->setEnabled(selected);
}

void TRecipePage::recipeLabel6MouseEnter()
{
    recipeLabel(6)->setEnabled(clipboardHasText() && !recipeRichEdit1->isReadOnly());
}

void TRecipePage::recipeLabelClick(QObject *Sender)
{
    auto *label = qobject_cast<TGWImageLabel *>(Sender);
    if (!label)
        return;
    if (Loading()) { // every tool works on the whole text
        whenLoaded([this, label] { recipeLabelClick(label); });
        return;
    }
    switch (label->Tag()) {
    case 1:
        SaveRecipe();
        break;
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
        CopyRecipeText();
        break;
    case 6:
        recipeRichEdit1->paste();
        break;
    case 7:
        if (recipeRichEdit1->document()->isUndoAvailable())
            recipeRichEdit1->undo();
        break;
    case 8:
    case 9:
    case 10:
    case 11:
        SendToQQ(label->Tag() % 2 == 0 ? 1 : 2, label->Tag() >= 10);
        break;
    default:
        break;
    }
}

// ---- copying and sending ----------------------------------------------------

QString TRecipePage::DisplayModeSelection() const
{
    QString selected = recipeRichEdit1->textCursor().selectedText();
    if (loader->DisplayMode() && static_cast<TRecipeEdit *>(recipeRichEdit1)->linesGrouped()) {
        // Grouped item lines: each line end stands for the line's end and its gap's.
        selected.replace(QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator));
        selected.replace(QChar(QChar::LineSeparator), QString(2, QChar(QChar::ParagraphSeparator)));
    }
    return DisplayModeCopyText(selected);
}

QString TRecipePage::CopyRecipeText()
{
    // While a big text goes in the selection lies in what is shown: copying it is safe.
    if (!recipeRichEdit1->isReadOnly()) {
        // The editor's own copy, which the text-edit class keeps to plain text.
        recipeRichEdit1->copy();
        return static_cast<TRecipeEdit *>(recipeRichEdit1)->selectedRecipeText();
    }
    const QString text = DisplayModeSelection();
    QApplication::clipboard()->setText(text);
    return text;
}

void TRecipePage::SendToQQ(int kind, bool pressSend)
{
    sendOnDesktop(
        kind, pressSend, m_host.programFolder(), [this] { return CopyRecipeText(); },
        [this](const QString &title, const QString &text) { dialogs::warning(m_host.hostWindow(), title, text); });
}

// ---- keys -----------------------------------------------------------------------

bool TRecipePage::eventFilter(QObject *watched, QEvent *event)
{
    const bool key = event->type() == QEvent::KeyPress || event->type() == QEvent::InputMethod;
    if (watched == recipeRichEdit1 && key && Loading()) {
        // A key may edit: it waits for the whole text, without holding the window.
        std::shared_ptr<QEvent> held(event->clone());
        whenLoaded([this, held] { QApplication::sendEvent(recipeRichEdit1, held.get()); });
        return true;
    }
    if (watched == recipeRichEdit1 && event->type() == QEvent::KeyPress) {
        // Ctrl+C copies as the copy label does: display mode gives single line breaks.
        if (static_cast<QKeyEvent *>(event)->matches(QKeySequence::Copy)) {
            CopyRecipeText();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vomra
