#pragma once
// The recipe library page: the strip on the left, the tool bar and the editor,
// fed from the recipe tree of the left column.

#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <functional>
#include <string>

class QTextDocument;
class QTextEdit;
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
    QTextEdit *recipeRichEdit1 = nullptr;
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

    void SaveRecipe();
    // Asks for a file name starting in startFolder (native path ending in '/') and
    // writes text there.
    void SaveRecipeAs(const std::string &startFolder, const QString &text);
    QString CopyRecipeText();
    // Labels 8-11: the selection into the chat window of kind 1 ("发送消息") or
    // 2 ("对话模式"), and its send button pressed when asked.
    void SendToQQ(int kind, bool pressSend);

    // Display mode: wrapped, read-only rich text (collection items); edit mode:
    // unwrapped, editable plain text (everything else).
    bool DisplayMode() const;
    // A big recipe file is still going into the editor.
    bool Loading() const { return m_building != nullptr; }
    // Puts the rest of a big recipe file into the editor now.
    void finishLoading();

    // The editor's text as the copy of display mode gives it: each double line
    // break of the selection collapsed to one; lines end in "\n".
    QString DisplayModeSelection() const;


protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    static constexpr std::size_t kLoadChunk = 512 * 1024; // bytes per piece
    void showRecipeBytes(std::string bytes);
    // Decodes the next piece into the document being built and returns it.
    QString appendPendingChunk();
    void stopLoading();
    // Puts a document built aside into the editor.
    void installDocument(QTextDocument *doc);
    void setEditMode();
    void setDisplayMode();
    // A yes-or-no question; true for yes.
    bool confirmed(const QString &title, const QString &text);
    void showSaveError(const std::string &path);
    // GBK bytes of the text, or nothing when the user would rather not lose what
    // GBK cannot hold.
    bool encodeForSaving(const QString &text, const std::string &path, std::string *gbk);
    bool writeRecipe(const std::string &path, const QString &text);

    TPageHost &m_host;
    // The editor shows a recipe file whose bytes were not all GBK (or held NULs):
    // saving it back changes them, so the user is asked first.
    bool m_shownWithReplacement = false;
    std::string m_pending; // a big recipe file's bytes while it goes in
    std::size_t m_pendingPos = 0;
    QTextDocument *m_building = nullptr; // the whole big file, while it is built
    QTimer m_loadTimer;
};

} // namespace vomra
