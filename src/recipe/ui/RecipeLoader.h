#pragma once
// What the recipe page's editor shows: a node's recipe put in, a large file
// piece by piece in the turns of the event loop, the editor's display and edit
// modes, and whether the text was edited since it was loaded or saved.

#include "base/PackedLines.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPlainTextEdit;
class QTextDocument;
class QTreeWidgetItem;

namespace vomra {

class TPageHost;
class TGWImageLabel;
class TRecipeTree;

// The facts about the text in the editor that saving it back depends on.
struct TShownRecipe {
    // The shown recipe file could not be read: saving must not replace it.
    std::string unreadPath;
    // The collection shown as text (以文本编辑); empty otherwise.
    std::string editingCollection;
    // The name the question about unsaved edits uses.
    QString name;
    // The editor shows a recipe file whose bytes were not all GBK (or held NULs):
    // saving it back changes them, so the user is asked first.
    bool withReplacement = false;
    // The shown recipe file is UTF-8 (it began with a byte-order mark): it is
    // saved as UTF-8 again.
    bool utf8 = false;
};

class TRecipeLoader : public QObject {
public:
    // editor: recipeRichEdit1; labels: recipeLabel1 .. 11, filled in by the page
    // (loading enables and disables the editing labels).
    TRecipeLoader(TPageHost &host, QPlainTextEdit *editor, const std::array<TGWImageLabel *, 11> &labels,
                  TRecipeTree *tree);

    // TreeView1Change: shows the node's recipe and sets the editor's mode and labels.
    void ShowRecipeNode(QTreeWidgetItem *node);
    // Fills the editor with one item of a collection, as display mode shows it.
    void LoadIniItem(const std::string &filePath, const std::string &itemName);
    // A collection's file (bytes as read) as text in edit mode, named name,
    // until another node is selected.
    void ShowCollectionText(const std::string &path, const std::string &bytes, const QString &name);

    // Display mode: wrapped, read-only rich text (collection items); edit mode:
    // unwrapped, editable plain text (everything else).
    bool DisplayMode() const { return m_displayMode; }
    // A big recipe is still going into the editor.
    bool Loading() const { return m_building != nullptr; }
    // Puts the rest of a big recipe into the editor now.
    void finishLoading();
    // Runs action once the whole recipe is in the editor (at once when it is).
    void whenLoaded(std::function<void()> action);
    // Drops what has not gone in yet and what waits for it.
    void stopLoading();

    // The editor's text differs from what was last loaded or saved.
    bool Modified() const;
    // What is in the editor now counts as loaded (or saved): no edits.
    void markUnmodified();

    TShownRecipe shownRecipe;

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
    static constexpr std::size_t kLoadChunk = 128 * 1024; // bytes of a file per piece
    static constexpr std::size_t kItemChunk = 1000;       // lines of an item per piece
    static constexpr std::size_t kItemPreview = 200;      // lines of an item shown first

    TGWImageLabel *label(int n) const { return m_labels[static_cast<std::size_t>(n - 1)]; }
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
    // Puts a document built aside into the editor.
    void installDocument(QTextDocument *doc);
    void setEditMode();
    // Edit mode with the editing labels and the font of a recipe file.
    void setRecipeFileMode();
    // The mode's settings again after a load held the editor read-only.
    void restoreMode();
    void setDisplayMode();

    TPageHost &m_host;
    QPlainTextEdit *m_editor;
    const std::array<TGWImageLabel *, 11> &m_labels;
    TRecipeTree *m_tree;
    // Of the text as loaded or saved; none after a big load, whose edits only the
    // undo stack tells.
    std::optional<std::size_t> m_loadedHash;
    bool m_displayMode = false;
    std::string m_pending;   // a recipe file's bytes while they go in
    PackedLines m_itemLines; // a collection item's lines while they go in
    std::size_t m_buildPos = 0;
    PieceState m_piece;
    std::vector<std::function<void()>> m_afterLoad; // waiting for the whole text
    QTextDocument *m_building = nullptr;            // the editor's document while a big text goes in
    QTimer m_loadTimer;
};

} // namespace vomra
