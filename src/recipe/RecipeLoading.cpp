// The recipe page's tree and editor: showing a node, loading a large file piece
// by piece, and the editor's display and edit modes.
#include "recipe/RecipePage.h"

#include "artwork/Artwork.h"
#include "pagekit/Dialogs.h"
#include "recipe/NativePath.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "platform/GbkQt.h"
#include "recipe/Recipe.h"
#include "recipe/RecipeTree.h"
#include "recipe/SendOnDesktop.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTreeWidget>

#include <utility>

namespace vomra {

namespace {

bool isFile(const std::string &native)
{
    return QFileInfo(qpath(native)).isFile();
}

// GBK text for the editor: bytes GBK cannot read show as "?", NULs as U+FFFD.
QString decodeRecipe(std::string_view gbk, bool *replaced)
{
    bool lossy = false;
    QString text = gbk::toQString(gbk, &lossy);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool nul = text.contains(QChar(0));
    if (nul)
        text.replace(QChar(0), QChar::ReplacementCharacter);
    *replaced = lossy || nul;
    return text;
}

} // namespace

// ---- the tree and the editor's two modes ----------------------------------

void TRecipePage::LoadRecipeTree()
{
    tree->LoadRecipeTree();
}

void TRecipePage::TreeView1Click()
{
    if (m_host.CurrentPage() != pgRecipe)
        m_host.SetCurrentPage(pgRecipe);
}

bool TRecipePage::DisplayMode() const
{
    return recipeRichEdit1->isReadOnly();
}

void TRecipePage::setEditMode()
{
    recipeRichEdit1->setLineWrapMode(QTextEdit::NoWrap);
    recipeRichEdit1->setReadOnly(false);
    recipeRichEdit1->setAcceptRichText(false);
}

void TRecipePage::setDisplayMode()
{
    recipeRichEdit1->setLineWrapMode(QTextEdit::WidgetWidth);
    recipeRichEdit1->setReadOnly(true);
    recipeRichEdit1->setAcceptRichText(true);
    // Read-only still lets the keyboard select, for copying and sending.
    recipeRichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TRecipePage::showRecipeBytes(std::string bytes)
{
    // A big file would hold the window still for seconds: its first piece is
    // decoded and shown at once, and the whole text is built aside from the event
    // loop, piece by piece, then put in place. Anything that edits or reads the
    // whole text finishes it first.
    if (bytes.size() <= kLoadChunk) {
        recipeRichEdit1->setPlainText(decodeRecipe(bytes, &m_shownWithReplacement));
        return;
    }
    m_pending = std::move(bytes);
    m_pendingPos = 0;
    m_building = new QTextDocument(recipeRichEdit1); // goes with the editor that shows it
    m_building->setUndoRedoEnabled(false);
    m_building->setDefaultFont(recipeRichEdit1->font());
    recipeRichEdit1->setPlainText(appendPendingChunk());
    m_loadTimer.start();
}

QString TRecipePage::appendPendingChunk()
{
    if (!Loading())
        return {};
    // Pieces end after a line feed, which is never part of a GBK character.
    std::size_t end = std::min(m_pendingPos + kLoadChunk, m_pending.size());
    if (end < m_pending.size()) {
        const std::size_t lf = m_pending.rfind('\n', end - 1);
        if (lf != std::string::npos && lf >= m_pendingPos) {
            end = lf + 1;
        } else { // one very long line: at least never split a two-byte character
            std::size_t i = m_pendingPos;
            while (i < end)
                i += static_cast<unsigned char>(m_pending[i]) >= 0x81 ? 2 : 1;
            end = std::min(i, m_pending.size());
        }
    }
    bool replaced = false;
    const QString piece = decodeRecipe(std::string_view(m_pending).substr(m_pendingPos, end - m_pendingPos), &replaced);
    m_shownWithReplacement = m_shownWithReplacement || replaced;
    QTextCursor cursor(m_building);
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(piece);
    m_pendingPos = end;
    if (m_pendingPos < m_pending.size())
        return piece;
    // Whole: it replaces the first piece, with the caret and scroll at the top.
    m_loadTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    installDocument(std::exchange(m_building, nullptr));
    return piece;
}

void TRecipePage::stopLoading()
{
    m_loadTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_pendingPos = 0;
    delete std::exchange(m_building, nullptr);
}

void TRecipePage::finishLoading()
{
    while (Loading())
        appendPendingChunk();
}

void TRecipePage::ShowRecipeNode(QTreeWidgetItem *node)
{
    TQOBR_TreeNodeRecord record = tree->GetNodeRecord(node);
    stopLoading();
    recipeRichEdit1->clear();
    m_shownWithReplacement = false;
    QFont font = recipeRichEdit1->font();
    if (record.NodeKind == nkCollection) {
        setDisplayMode();
        for (int n : {1, 2, 3})
            recipeLabel(n)->setEnabled(false);
        font.setPixelSize(m_host.windowFont().pixelSize());
        recipeRichEdit1->setFont(font);
        // The collection's own node shows its first item.
        if (record.ItemName.empty() && node && node->childCount() > 0)
            record = tree->GetNodeRecord(node->child(0));
        if (!record.ItemName.empty())
            LoadIniItem(record.DiskPath, record.ItemName);
    } else {
        setEditMode();
        recipeLabel(1)->setEnabled(true);
        recipeLabel(2)->setEnabled(m_host.FontSize() != 2);
        recipeLabel(3)->setEnabled(m_host.FontSize() != 22);
        font.setPointSize(m_host.FontSize());
        recipeRichEdit1->setFont(font);
        recipeRichEdit1->setCurrentCharFormat(QTextCharFormat());
        if (record.NodeKind == nkRecipeFile && isFile(record.DiskPath)) {
            std::string error;
            const auto bytes = ReadRecipeFile(record.DiskPath, &error);
            if (!bytes) {
                recipeRichEdit1->clear();
                dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                        QStringLiteral("读取文件“%1”失败！").arg(shown(record.DiskPath)));
            } else {
                showRecipeBytes(std::move(*bytes));
            }
        }
    }
    for (int n : {4, 5, 7})
        recipeLabel(n)->setEnabled(false);
}

void TRecipePage::LoadIniItem(const std::string &filePath, const std::string &itemName)
{
    const auto lines = ReadIniItemLines(filePath, itemName);
    if (!lines)
        return;
    const std::vector<std::string> shownLines = ItemCopyLines(itemName, *lines);
    // Built aside and then put in place: a document in the editor lays itself out
    // again at every insertion.
    auto *doc = new QTextDocument(recipeRichEdit1);
    doc->setDefaultFont(recipeRichEdit1->font());
    doc->setUndoRedoEnabled(false);
    // The name and each line in the window's font, a gap of 8 points under the
    // name and of 4 points under every line; empty lines at the end are dropped.
    QTextCharFormat text;
    text.setProperty(QTextFormat::FontPixelSize, m_host.windowFont().pixelSize());
    QTextCharFormat nameGap;
    nameGap.setFontPointSize(8);
    QTextCharFormat lineGap;
    lineGap.setFontPointSize(4);
    QTextCursor cursor(doc);
    cursor.setBlockCharFormat(text);
    for (std::size_t i = 0; i < shownLines.size(); ++i) {
        if (i > 0) {
            cursor.insertBlock(QTextBlockFormat(), i == 1 ? nameGap : lineGap);
            cursor.insertBlock(QTextBlockFormat(), text);
        }
        bool replaced = false;
        cursor.insertText(decodeRecipe(shownLines[i], &replaced), text);
    }
    installDocument(doc);
    recipeRichEdit1->setCurrentCharFormat(text);
}

void TRecipePage::installDocument(QTextDocument *doc)
{
    // The editor deletes the document it made itself; one built here goes here.
    QTextDocument *old = recipeRichEdit1->document();
    const bool builtHere = old->parent() == recipeRichEdit1;
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    recipeRichEdit1->setDocument(doc);
    if (builtHere)
        old->deleteLater();
}

} // namespace vomra
