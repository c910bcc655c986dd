// The recipe page's editor: showing a node, loading a large file piece by
// piece, and the editor's display and edit modes.
#include "recipe/ui/RecipeLoader.h"

#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "platform/NativePathQt.h"
#include "recipe/core/LibraryOperations.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/ItemDocument.h"
#include "recipe/ui/RecipeEdit.h"
#include "recipe/ui/RecipeTree.h"
#include "widgets/ImageLabel.h"

#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextDocument>
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
std::vector<int> softBreaksIn(QString &piece, TRecipeLoader::PieceState &state)
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

TRecipeLoader::TRecipeLoader(TPageHost &host, QPlainTextEdit *editor, const std::array<TGWImageLabel *, 11> &labels,
                             TRecipeTree *tree)
    : m_host(host), m_editor(editor), m_labels(labels), m_tree(tree)
{
    setEditMode();
    m_loadTimer.setInterval(0);
    QObject::connect(&m_loadTimer, &QTimer::timeout, this, [this] { buildNextPiece(); });
}

// ---- the editor's two modes --------------------------------------------------

void TRecipeLoader::setEditMode()
{
    m_displayMode = false;
    // Setting the wrap lays the whole text out again: only when it changes.
    if (m_editor->lineWrapMode() != QPlainTextEdit::NoWrap)
        m_editor->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_editor->setReadOnly(false);
}

void TRecipeLoader::setDisplayMode()
{
    m_displayMode = true;
    if (m_editor->lineWrapMode() != QPlainTextEdit::WidgetWidth)
        m_editor->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_editor->setReadOnly(true);
    // Read-only still lets the keyboard select, for copying and sending.
    m_editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
}

void TRecipeLoader::setRecipeFileMode()
{
    setEditMode();
    label(1)->setEnabled(true);
    label(2)->setEnabled(m_host.FontSize() != 2);
    label(3)->setEnabled(m_host.FontSize() != 22);
    QFont font = m_editor->font();
    font.setPointSize(m_host.FontSize());
    m_editor->setFont(font);
    m_editor->setCurrentCharFormat(QTextCharFormat());
}

void TRecipeLoader::restoreMode()
{
    if (m_displayMode)
        setDisplayMode();
    else
        setEditMode();
}

TRecipeLoader::FilePiece TRecipeLoader::nextFilePiece(std::size_t &pos, PieceState &state, bool *replaced) const
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
    if (shownRecipe.utf8 && end < bytes.size()) { // never split a UTF-8 character either
        while (end > pos + 1 && (static_cast<unsigned char>(bytes[end]) & 0xC0) == 0x80)
            --end;
    }
    const std::string_view raw = std::string_view(bytes).substr(pos, end - pos);
    FilePiece piece;
    piece.text = shownRecipe.utf8 ? decodeUtf8Recipe(raw, replaced) : decodeRecipe(raw, replaced);
    piece.softBreaks = softBreaksIn(piece.text, state);
    pos = end;
    return piece;
}

std::size_t TRecipeLoader::buildStep(QTextDocument *doc, std::size_t pos, PieceState &state, bool *replaced,
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

std::size_t TRecipeLoader::buildTotal() const
{
    return m_itemLines.empty() ? m_pending.size() : m_itemLines.size();
}

void TRecipeLoader::startBuilding()
{
    // A big text would hold the window still for seconds: its first piece is shown
    // at once and the rest goes on at the end of the same document, a piece in
    // each turn of the event loop. The editor lays out only the blocks it shows,
    // so a growing document costs nothing to lay out, and putting a whole one in
    // place would give every block a layout at once. Meanwhile the editor takes
    // no edits; keys wait for the whole text, and so do the tool labels.
    QTextDocument *doc = TRecipeEdit::newDocument(m_editor);
    doc->setDefaultFont(m_editor->font());
    installDocument(doc);
    doc->setUndoRedoEnabled(false);
    m_building = doc;
    // Short lines of a file share blocks, unless the file itself has a line
    // separator (which GBK cannot hold): every separator is then the editor's own.
    static constexpr std::string_view kUtf8LineSeparator = "\xE2\x80\xA8";
    m_piece = PieceState{.group = m_itemLines.empty() &&
                                  (!shownRecipe.utf8 || m_pending.find(kUtf8LineSeparator) == std::string::npos)};
    static_cast<TRecipeEdit *>(m_editor)->setLinesGrouped(m_piece.group);
    if (!m_itemLines.empty())
        static_cast<TRecipeEdit *>(m_editor)->setItemLinesGrouped(m_host.windowFont().pixelSize());
    bool replaced = false;
    m_buildPos = buildStep(doc, 0, m_piece, &replaced, kItemPreview);
    shownRecipe.withReplacement = shownRecipe.withReplacement || replaced;
    m_editor->moveCursor(QTextCursor::Start);
    m_editor->setReadOnly(true);
    m_loadTimer.start();
}

void TRecipeLoader::buildNextPiece()
{
    if (!Loading())
        return;
    // A caret or selection at the end of what is in stays there, not pushed on
    // by every piece.
    QTextCursor view = m_editor->textCursor();
    const int end = m_building->characterCount() - 1;
    const bool atEnd = view.anchor() == end || view.position() == end;
    const int anchor = view.anchor();
    const int position = view.position();
    bool replaced = false;
    m_buildPos = buildStep(m_building, m_buildPos, m_piece, &replaced);
    shownRecipe.withReplacement = shownRecipe.withReplacement || replaced;
    if (atEnd) {
        view.setPosition(anchor);
        view.setPosition(position, QTextCursor::KeepAnchor);
        m_editor->setTextCursor(view);
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
    m_editor->document()->setModified(false);
    m_loadedHash.reset();
    // What waited for the whole text, in the order it came, each in its own turn
    // of the event loop.
    auto waiting = std::exchange(m_afterLoad, {});
    for (auto &action : waiting)
        QTimer::singleShot(0, this, std::move(action));
}

void TRecipeLoader::whenLoaded(std::function<void()> action)
{
    if (Loading())
        m_afterLoad.push_back(std::move(action));
    else
        action();
}

void TRecipeLoader::stopLoading()
{
    m_loadTimer.stop();
    m_pending.clear();
    m_pending.shrink_to_fit();
    m_itemLines.clear();
    m_buildPos = 0;
    m_afterLoad.clear();
    static_cast<TRecipeEdit *>(m_editor)->setLinesGrouped(false);
    if (m_building) {
        // Half a text: the editor gets an empty document of its own again.
        m_building = nullptr;
        installDocument(TRecipeEdit::newDocument(m_editor));
        restoreMode();
    }
}

void TRecipeLoader::finishLoading()
{
    while (Loading())
        buildNextPiece();
}

void TRecipeLoader::showRecipeBytes(std::string bytes)
{
    m_pending = std::move(bytes);
    if (m_pending.size() <= kLoadChunk) {
        std::size_t pos = 0;
        PieceState state;
        const FilePiece piece = nextFilePiece(pos, state, &shownRecipe.withReplacement);
        static_cast<TRecipeEdit *>(m_editor)->setRecipeText(piece.text, piece.softBreaks);
        m_pending.clear();
        return;
    }
    startBuilding();
}

void TRecipeLoader::ShowRecipeNode(QTreeWidgetItem *node)
{
    TQOBR_TreeNodeRecord record = m_tree->GetNodeRecord(node);
    stopLoading();
    m_editor->clear();
    shownRecipe.withReplacement = false;
    shownRecipe.unreadPath.clear();
    shownRecipe.editingCollection.clear();
    shownRecipe.utf8 = false;
    shownRecipe.name = node ? node->text(0) : QString::fromUtf8(kRecipeFolderName);
    if (record.NodeKind == nkCollection) {
        setDisplayMode();
        for (int n : {1, 2, 3})
            label(n)->setEnabled(false);
        QFont font = m_editor->font();
        font.setPixelSize(m_host.windowFont().pixelSize());
        m_editor->setFont(font);
        // The collection's own node shows its first item.
        if (record.ItemName.empty() && node && node->childCount() > 0)
            record = m_tree->GetNodeRecord(node->child(0));
        if (!record.ItemName.empty())
            LoadIniItem(record.DiskPath, record.ItemName);
    } else {
        setRecipeFileMode();
        if (record.NodeKind == nkRecipeFile && isRegularFile(record.DiskPath)) {
            auto bytes = ReadRecipeFile(record.DiskPath);
            if (!bytes) {
                m_editor->clear();
                shownRecipe.unreadPath = record.DiskPath;
                dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                               QStringLiteral("读取文件“%1”失败！").arg(shown(record.DiskPath)));
            } else {
                shownRecipe.utf8 = startsWithUtf8Bom(*bytes);
                if (shownRecipe.utf8)
                    bytes->erase(0, kUtf8Bom.size());
                showRecipeBytes(std::move(*bytes));
            }
        }
    }
    if (!Loading())
        markUnmodified();
    for (int n : {4, 5, 7})
        label(n)->setEnabled(false);
}

void TRecipeLoader::ShowCollectionText(const std::string &path, const std::string &bytes, const QString &name)
{
    stopLoading();
    m_editor->clear(); // before the mode, which lays out what is there
    setRecipeFileMode();
    shownRecipe.withReplacement = false;
    shownRecipe.unreadPath.clear();
    showRecipeBytes(bytes);
    shownRecipe.editingCollection = path;
    shownRecipe.name = name;
    if (!Loading())
        markUnmodified();
}

void TRecipeLoader::markUnmodified()
{
    m_editor->document()->setModified(false);
    m_loadedHash = qHash(m_editor->toPlainText());
}

bool TRecipeLoader::Modified() const
{
    if (DisplayMode() || Loading() || !m_editor->document()->isModified())
        return false;
    return !m_loadedHash || qHash(m_editor->toPlainText()) != *m_loadedHash;
}

void TRecipeLoader::LoadIniItem(const std::string &filePath, const std::string &itemName)
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
    auto *doc = BuildItemDocument(m_itemLines, m_editor->font(), m_host.windowFont().pixelSize(), m_editor);
    m_itemLines.clear();
    installDocument(doc);
    QTextCharFormat text;
    text.setProperty(QTextFormat::FontPixelSize, m_host.windowFont().pixelSize());
    m_editor->setCurrentCharFormat(text);
}

void TRecipeLoader::installDocument(QTextDocument *doc)
{
    // The editor deletes the document it made itself, sometimes at once; one made
    // here goes here.
    QPointer<QTextDocument> old = m_editor->document();
    const bool madeHere = old->parent() == m_editor;
    TRecipeEdit::makePlain(doc);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    m_editor->setDocument(doc);
    if (madeHere && old)
        old->deleteLater();
}

} // namespace vomra
