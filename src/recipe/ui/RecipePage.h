#pragma once
// The recipe library page: the strip on the left, the tool bar and the editor,
// fed from the recipe tree of the left column.

#include "base/PackedLines.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QEvent;
class QLineEdit;
class QMenu;
class QTextCursor;
class QTextDocument;
class QPlainTextEdit;
class QTreeWidgetItem;

namespace vomra {

class TPageHost;
class TGWPanel;
class TGWImageLabel;
class TRecipeTree;

class TRecipePage : public QObject {
    Q_OBJECT
public:
    static constexpr int kStripWidth = 50;
    static constexpr int kEditLeft = 63;
    static constexpr int kEditTop = 42;

    explicit TRecipePage(TPageHost &host);
    ~TRecipePage() override;

    TGWPanel *recipePanel1 = nullptr;
    QPlainTextEdit *recipeRichEdit1 = nullptr;
    std::array<TGWImageLabel *, 11> recipeLabels{}; // recipeLabel1 .. 11
    TRecipeTree *tree = nullptr;                    // works on TreeView1

    TGWImageLabel *recipeLabel(int n) const { return recipeLabels[static_cast<std::size_t>(n - 1)]; }

    // Builds TreeView1 from the program folder.
    void LoadRecipeTree();
    // TreeView1Change: shows the node's recipe and sets the editor's mode and labels.
    void ShowRecipeNode(QTreeWidgetItem *node);
    // Fills the editor with one item of a collection, as display mode shows it.
    void LoadIniItem(const std::string &filePath, const std::string &itemName);
    void TreeView1Click();

    void recipeLabelClick(QObject *Sender);
    void recipeRichEdit1Change();
    void recipeRichEdit1SelectionChange();
    void recipeLabel6MouseEnter();
    void pnlRecipeResize();

    // True when the text was written.
    bool SaveRecipe();
    // Asks for a file name starting in startFolder (native path ending in '/') and
    // writes text there; true when it was written.
    bool SaveRecipeAs(const std::string &startFolder, const QString &text);

    // The editor's text differs from what was last loaded or saved.
    bool Modified() const;
    // Before the text is dropped (another node, closing): with edits, asks whether
    // to save them. False when the user would rather stay (取消, or a save that
    // did not happen).
    bool AskToKeepEdits();
    // Copies the selection as plain text and returns it.
    QString CopyRecipeText();
    // Labels 8-11: the selection into the chat window of kind 1 ("发送消息") or
    // 2 ("对话模式"), and its send button pressed when asked.
    void SendToQQ(int kind, bool pressSend);

    // Display mode: wrapped, read-only rich text (collection items); edit mode:
    // unwrapped, editable plain text (everything else).
    bool DisplayMode() const;
    // A big recipe is still going into the editor.
    bool Loading() const { return m_building != nullptr; }
    // Puts the rest of a big recipe into the editor now.
    void finishLoading();
    // Runs action once the whole recipe is in the editor (at once when it is).
    void whenLoaded(std::function<void()> action);

    // Managing the library from the tree (new folder, new collection, rename in
    // place, delete to the trash, move or copy into a folder). Each asks about
    // unsaved edits first, rebuilds the tree keeping its state, and reports a
    // failure naming the file and the reason; true when the change was made.
    QMenu *treeMenu(QTreeWidgetItem *item);
    bool NewFolder(QTreeWidgetItem *at);
    bool NewCollection(QTreeWidgetItem *at);
    void RenameNode(QTreeWidgetItem *item);
    bool DeleteNode(QTreeWidgetItem *item);
    bool MoveNode(QTreeWidgetItem *source, const std::string &folder, bool copy);
    // 以文本编辑: the collection's .Ini (of an item: its collection) in edit mode as
    // GBK text; 保存 writes it whole and rebuilds its items. Ends with the next
    // selection. True when the text is shown.
    bool EditCollectionAsText(QTreeWidgetItem *item);
    // Double-click: a recipe file's or a collection item's text (no name line) to
    // the clipboard as plain text; the text, or nothing when nothing was copied.
    std::optional<QString> CopyNodeBody(QTreeWidgetItem *item);

    // Find: the field under the tree (Ctrl+F, or typing in the tree; Esc hides it),
    // the tree filtered to what matches, Enter / F3 to the next match (Shift:
    // the one before) with the match selected in the editor.
    QLineEdit *recipeFindEdit = nullptr;
    bool FindShown() const;
    void ShowFind(const QString &typed);
    void HideFind();
    void FilterTree(const QString &text);
    void FindNext(bool backwards);

    // The editor's text as the copy of display mode gives it: each double line
    // break of the selection collapsed to one; lines end in "\n".
    QString DisplayModeSelection() const;


protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

public:
    // Where a file being loaded stands: characters since the last line end (a
    // longer line is broken softly) and, when short lines share blocks, the lines
    // and characters in the block being filled.
    struct PieceState {
        bool group = false;
        int column = 0;
        int groupLines = 0;
        int groupChars = 0;
    };

private:
    void setUpManaging();
    bool saveCollectionText(const QString &text);
    void setUpFinding();
    void placeFindEdit();
    bool findEvent(QObject *watched, QEvent *event);
    bool renameTo(QTreeWidgetItem *item, const QString &name);
    void showManageError(const QString &what, const std::string &path, int error);

    static constexpr std::size_t kLoadChunk = 128 * 1024; // bytes of a file per piece
    static constexpr std::size_t kItemChunk = 1000;       // lines of an item per piece
    static constexpr std::size_t kItemPreview = 200;      // lines of an item shown first
    void showRecipeBytes(std::string bytes);
    // The next piece of the file being loaded from pos, decoded, long lines
    // broken softly and short lines joined when state says so; pos and state move on.
    struct FilePiece {
        QString text;
        std::vector<int> softBreaks; // offsets into text that a soft break goes before
    };
    FilePiece nextFilePiece(std::size_t &pos, PieceState &state, bool *replaced) const;
    // Appends the piece at pos to doc; returns where the next piece starts.
    std::size_t buildStep(QTextDocument *doc, std::size_t pos, PieceState &state, bool *replaced,
                          std::size_t itemPiece = kItemChunk);
    std::size_t buildTotal() const;
    void startBuilding();
    void buildNextPiece();
    void stopLoading();
    // Puts a document built aside into the editor.
    void installDocument(QTextDocument *doc);
    // What is in the editor now counts as loaded (or saved): no edits.
    void markUnmodified();
    void setEditMode();
    // The mode's settings again after a load held the editor read-only.
    void restoreMode();
    void setDisplayMode();
    // A yes-or-no question; true for yes.
    bool confirmed(const QString &title, const QString &text);
    void showSaveError(const std::string &path);
    // GBK bytes of the text, or nothing when the user would rather not lose what
    // GBK cannot hold.
    // The bytes to save: GBK, or UTF-8 with a byte-order mark for a UTF-8 recipe
    // or when the user keeps what GBK cannot hold that way (mayUseUtf8: not for
    // collections, which stay GBK).
    bool encodeForSaving(const QString &text, const std::string &path, std::string *bytes, bool mayUseUtf8);
    bool writeRecipe(const std::string &path, const QString &text, bool mayUseUtf8 = true);

    TPageHost &m_host;
    // The shown recipe file could not be read: saving must not replace it.
    std::string m_unreadPath;
    // The collection shown as text (以文本编辑); empty otherwise.
    std::string m_editingCollection;
    // The name the question about unsaved edits uses.
    QString m_shownName;
    // Of the text as loaded or saved; none after a big load, whose edits only the
    // undo stack tells.
    std::optional<std::size_t> m_loadedHash;
    // The editor shows a recipe file whose bytes were not all GBK (or held NULs):
    // saving it back changes them, so the user is asked first.
    bool m_shownWithReplacement = false;
    // The shown recipe file is UTF-8 (it began with a byte-order mark): it is
    // saved as UTF-8 again.
    bool m_shownUtf8 = false;
    bool m_displayMode = false;
    std::string m_pending;                // a recipe file's bytes while they go in
    PackedLines m_itemLines; // a collection item's lines while they go in
    std::size_t m_buildPos = 0;
    PieceState m_piece;
    std::vector<std::function<void()>> m_afterLoad; // waiting for the whole text
    QTextDocument *m_building = nullptr; // the editor's document while a big text goes in
    QTimer m_loadTimer;
    int m_findHeight = 0;
    bool m_fitting = false; // the page itself resizes the tree
    std::vector<QTreeWidgetItem *> m_openBeforeFind;
    unsigned m_findGeneration = 0;
    std::vector<QTreeWidgetItem *> m_hits; // nodes that match, in tree order
    int m_hitIndex = -1;
};

} // namespace vomra
