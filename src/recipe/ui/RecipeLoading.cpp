// The recipe page's tree and editor: showing a node, loading a large file piece
// by piece, and the editor's display and edit modes.
#include "recipe/ui/RecipePage.h"

#include "artwork/Artwork.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "recipe/ui/ItemDocument.h"
#include "platform/NativePathQt.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/RecipeEdit.h"
#include "recipe/core/LibraryOperations.h"
#include "recipe/ui/RecipeTree.h"
#include "recipe/ui/SendOnDesktop.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTreeWidget>

#include <utility>

namespace vomra {

namespace {

// A line longer than this goes into the editor as several blocks joined by soft
// breaks: one block is laid out at once, and ten million characters in one
// would hold the window still for seconds.
constexpr int kSoftLineLength = 512;

// In a big text short lines share a block, joined by line separators: every
// block costs the document a hundred bytes and more, a short line fewer.
constexpr int kGroupChars = 4096;

// Where soft breaks go in piece: before every character that would make a run
// longer than kSoftLineLength. state.column counts the characters since the last
// line feed, across pieces. When state.group is set, short lines are joined
// too: their line feeds become line separators, and a block ends (a line feed
// stays) after kGroupLines lines, kGroupChars characters or a soft break.
std::vector<int> softBreaksIn(QString &piece, TRecipePage::PieceState &state)
{
    std::vector<int> breaks;
    if (state.column + piece.size() <= kSoftLineLength && !piece.contains(QLatin1Char('\n'))) {
        state.column += static_cast<int>(piece.size());
        state.groupChars += static_cast<int>(piece.size());
        return breaks;
    }
    for (int i = 0; i < piece.size(); ++i) {
        if (piece[i] == QLatin1Char('\n')) {
            state.column = 0;
            if (state.group && state.groupLines + 1 < TRecipeEdit::kGroupLines && state.groupChars < kGroupChars) {
                ++state.groupLines;
                piece[i] = QChar(QChar::LineSeparator);
            } else {
                state.groupLines = 0;
                state.groupChars = 0;
            }
            continue;
        }
        if (state.column == kSoftLineLength) {
            // A soft break ends its block for real: a line goes on after a soft
            // break or after a separator, never both.
            breaks.push_back(i);
            state.column = 0;
            state.groupLines = 0;
            state.groupChars = 0;
        }
        ++state.column;
        ++state.groupChars;
    }
    return breaks;
}

// A UTF-8 recipe (one that began with a byte-order mark) for the editor.
QString decodeUtf8Recipe(std::string_view utf8, bool *replaced)
{
    QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool nul = text.contains(QChar(0));
    if (nul)
        text.replace(QChar(0), QChar::ReplacementCharacter);
    *replaced = nul || validUtf8(utf8) != utf8;
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
    return m_displayMode;
}

void TRecipePage::setEditMode()
{
    m_displayMode = false;
    // Setting the wrap lays the whole text out again: only when it changes.
    if (recipeRichEdit1->lineWrapMode() != QPlainTextEdit::NoWrap)
        recipeRichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    recipeRichEdit1->setReadOnly(false);
}

void TRecipePage::setDisplayMode()
{
    m_displayMode = true;
    if (recipeRichEdit1->lineWrapMode() != QPlainTextEdit::WidgetWidth)
        recipeRichEdit1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    recipeRichEdit1->setReadOnly(true);
    // Read-only still lets the keyboard select, for copying and sending.
    recipeRichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TRecipePage::restoreMode()
{
    if (m_displayMode)
        setDisplayMode();
    else
        setEditMode();
}

TRecipePage::FilePiece TRecipePage::nextFilePiece(std::size_t &pos, PieceState &state, bool *replaced) const
{
    const std::string &bytes = m_pending;
    // Pieces end after a line feed, which is never part of a GBK character.
    std::size_t end = std::min(pos + kLoadChunk, bytes.size());
    if (end < bytes.size()) {
        const std::size_t lf = bytes.rfind('\n', end - 1);
        if (lf != std::string::npos && lf >= pos) {
            end = lf + 1;
        } else { // inside one long line: never split a two-byte character or a CR LF
            std::size_t i = pos;
            while (i < end)
                i += static_cast<unsigned char>(bytes[i]) >= 0x81 ? 2 : 1;
            end = std::min(i, bytes.size());
            if (end < bytes.size() && bytes[end - 1] == '\r')
                ++end;
        }
    }
    if (m_shownUtf8 && end < bytes.size()) { // never split a UTF-8 character either
        while (end > pos + 1 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
    }
    const std::string_view raw = std::string_view(bytes).substr(pos, end - pos);
    FilePiece piece;
    piece.text = m_shownUtf8 ? decodeUtf8Recipe(raw, replaced) : decodeRecipe(raw, replaced);
    piece.softBreaks = softBreaksIn(piece.text, state);
    pos = end;
    return piece;
}

std::size_t TRecipePage::buildStep(QTextDocument *doc, std::size_t pos, PieceState &state, bool *replaced,
                                   std::size_t itemPiece)
{
    QTextCursor cursor(doc);
    cursor.movePosition(QTextCursor::End);
    if (!m_itemLines.empty()) {
        const std::size_t to = std::min(pos + itemPiece, m_itemLines.size());
        // One change for the view to hear of, not two for every line.
        cursor.beginEditBlock();
        AppendGroupedItemLines(cursor, m_itemLines, pos, to, m_host.windowFont().pixelSize());
        cursor.endEditBlock();
        m_itemLines.releaseBefore(to);
        return to;
    }
    const FilePiece piece = nextFilePiece(pos, state, replaced);
    TRecipeEdit::insertWithSoftBreaks(cursor, piece.text, piece.softBreaks);
    return pos;
}

std::size_t TRecipePage::buildTotal() const
{
    return m_itemLines.empty() ? m_pending.size() : m_itemLines.size();
}

void TRecipePage::startBuilding()
{
    // A big text would hold the window still for seconds: its first piece is shown
    // at once and the rest goes on at the end of the same document, a piece in
    // each turn of the event loop. The editor lays out only the blocks it shows,
    // so a growing document costs nothing to lay out, and putting a whole one in
    // place would give every block a layout at once. Meanwhile the editor takes
    // no edits; keys wait for the whole text, and so do the tool labels.
    QTextDocument *doc = TRecipeEdit::newDocument(recipeRichEdit1);
    doc->setDefaultFont(recipeRichEdit1->font());
    installDocument(doc);
    doc->setUndoRedoEnabled(false);
    m_building = doc;
    // Short lines of a file share blocks, unless the file itself has a line
    // separator (which GBK cannot hold): every separator is then the editor's own.
    static constexpr std::string_view kUtf8LineSeparator = "\xE2\x80\xA8";
    m_piece = PieceState{.group = m_itemLines.empty() &&
                                  (!m_shownUtf8 || m_pending.find(kUtf8LineSeparator) == std::string::npos)};
    static_cast<TRecipeEdit *>(recipeRichEdit1)->setLinesGrouped(m_piece.group);
    if (!m_itemLines.empty())
        static_cast<TRecipeEdit *>(recipeRichEdit1)->setItemLinesGrouped(m_host.windowFont().pixelSize());
    bool replaced = false;
    m_buildPos = buildStep(doc, 0, m_piece, &replaced, kItemPreview);
    m_shownWithReplacement = m_shownWithReplacement || replaced;
    recipeRichEdit1->moveCursor(QTextCursor::Start);
    recipeRichEdit1->setReadOnly(true);
    m_loadTimer.start();
}

void TRecipePage::buildNextPiece()
{
    if (!Loading())
        return;
    // A caret or selection at the end of what is in stays there, not pushed on
    // by every piece.
    QTextCursor view = recipeRichEdit1->textCursor();
    const int end = m_building->characterCount() - 1;
    const bool atEnd = view.anchor() == end || view.position() == end;
    const int anchor = view.anchor();
    const int position = view.position();
    bool replaced = false;
    m_buildPos = buildStep(m_building, m_buildPos, m_piece, &replaced);
    m_shownWithReplacement = m_shownWithReplacement || replaced;
    if (atEnd) {
        view.setPosition(anchor);
        view.setPosition(position, QTextCursor::KeepAnchor);
        recipeRichEdit1->setTextCursor(view);
    }
    if (m_buildPos < buildTotal())
        return;
    m_loadTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_itemLines.clear();
    std::exchange(m_building, nullptr)->setUndoRedoEnabled(true);
    restoreMode();
    // Reading the whole text back to compare it later would hold the window
    // again: the undo stack alone tells whether it was edited.
    recipeRichEdit1->document()->setModified(false);
    m_loadedHash.reset();
    // What waited for the whole text, in the order it came, each in its own turn
    // of the event loop.
    auto waiting = std::exchange(m_afterLoad, {});
    for (auto &action : waiting)
        QTimer::singleShot(0, this, std::move(action));
}

void TRecipePage::whenLoaded(std::function<void()> action)
{
    if (Loading())
        m_afterLoad.push_back(std::move(action));
    else
        action();
}

void TRecipePage::stopLoading()
{
    m_loadTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_itemLines.clear();
    m_buildPos = 0;
    m_afterLoad.clear();
    static_cast<TRecipeEdit *>(recipeRichEdit1)->setLinesGrouped(false);
    if (m_building) {
        // Half a text: the editor gets an empty document of its own again.
        m_building = nullptr;
        installDocument(TRecipeEdit::newDocument(recipeRichEdit1));
        restoreMode();
    }
}

void TRecipePage::finishLoading()
{
    while (Loading())
        buildNextPiece();
}

void TRecipePage::showRecipeBytes(std::string bytes)
{
    m_pending = std::move(bytes);
    if (m_pending.size() <= kLoadChunk) {
        std::size_t pos = 0;
        PieceState state;
        const FilePiece piece = nextFilePiece(pos, state, &m_shownWithReplacement);
        static_cast<TRecipeEdit *>(recipeRichEdit1)->setRecipeText(piece.text, piece.softBreaks);
        m_pending.clear();
        return;
    }
    startBuilding();
}

void TRecipePage::ShowRecipeNode(QTreeWidgetItem *node)
{
    TQOBR_TreeNodeRecord record = tree->GetNodeRecord(node);
    stopLoading();
    recipeRichEdit1->clear();
    m_shownWithReplacement = false;
    m_unreadPath.clear();
    m_editingCollection.clear();
    m_shownUtf8 = false;
    m_shownName = node ? node->text(0) : QString::fromUtf8(kRecipeFolderName);
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
        if (record.NodeKind == nkRecipeFile && isRegularFile(record.DiskPath)) {
            auto bytes = ReadRecipeFile(record.DiskPath);
            if (!bytes) {
                recipeRichEdit1->clear();
                m_unreadPath = record.DiskPath;
                dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                        QStringLiteral("读取文件“%1”失败！").arg(shown(record.DiskPath)));
            } else {
                m_shownUtf8 = startsWithUtf8Bom(*bytes);
                if (m_shownUtf8)
                    bytes->erase(0, kUtf8Bom.size());
                showRecipeBytes(std::move(*bytes));
            }
        }
    }
    if (!Loading())
        markUnmodified();
    for (int n : {4, 5, 7})
        recipeLabel(n)->setEnabled(false);
}

void TRecipePage::markUnmodified()
{
    recipeRichEdit1->document()->setModified(false);
    m_loadedHash = qHash(recipeRichEdit1->toPlainText());
}

bool TRecipePage::Modified() const
{
    if (DisplayMode() || Loading() || !recipeRichEdit1->document()->isModified())
        return false;
    return !m_loadedHash || qHash(recipeRichEdit1->toPlainText()) != *m_loadedHash;
}

void TRecipePage::LoadIniItem(const std::string &filePath, const std::string &itemName)
{
    stopLoading();
    auto lines = ReadItemCopyLines(filePath, itemName);
    if (!lines)
        return;
    m_itemLines = std::move(*lines);
    // An item longer than a screenful shows its start at once and goes on in pieces.
    if (m_itemLines.size() > kItemPreview) {
        startBuilding();
        return;
    }
    // Built aside and then put in place: a document in the editor lays itself out
    // again at every insertion.
    auto *doc =
        BuildItemDocument(m_itemLines, recipeRichEdit1->font(), m_host.windowFont().pixelSize(), recipeRichEdit1);
    m_itemLines.clear();
    installDocument(doc);
    QTextCharFormat text;
    text.setProperty(QTextFormat::FontPixelSize, m_host.windowFont().pixelSize());
    recipeRichEdit1->setCurrentCharFormat(text);
}

void TRecipePage::installDocument(QTextDocument *doc)
{
    // The editor deletes the document it made itself, sometimes at once; one made
    // here goes here.
    QPointer<QTextDocument> old = recipeRichEdit1->document();
    const bool madeHere = old->parent() == recipeRichEdit1;
    TRecipeEdit::makePlain(doc);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    recipeRichEdit1->setDocument(doc);
    if (madeHere && old)
        old->deleteLater();
}

} // namespace vomra
