#pragma once
// The recipe library page: the strip on the left, the tool bar and the editor,
// fed from the recipe tree of the left column. Its parts do the jobs: the
// loader puts recipes into the editor, the saver writes them, the tree actions
// manage the library, and the find bar searches it.

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <string>

class QEvent;
class QPlainTextEdit;
class QTreeWidgetItem;

namespace vomra {

class TPageHost;
class TGWPanel;
class TGWImageLabel;
class TRecipeFindBar;
class TRecipeLoader;
class TRecipeSaver;
class TRecipeTree;
class TRecipeTreeActions;

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

    std::unique_ptr<TRecipeLoader> loader;
    std::unique_ptr<TRecipeSaver> saver;
    std::unique_ptr<TRecipeTreeActions> treeActions;
    std::unique_ptr<TRecipeFindBar> findBar;

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
    // Before the text is dropped (another node, closing): with edits, asks whether
    // to save them. False when the user would rather stay.
    bool AskToKeepEdits();

    // Copies the selection as plain text and returns it.
    QString CopyRecipeText();
    // Labels 8-11: the selection into the chat window of kind 1 ("发送消息") or
    // 2 ("对话模式"), and its send button pressed when asked.
    void SendToQQ(int kind, bool pressSend);
    // The editor's text as the copy of display mode gives it: each double line
    // break of the selection collapsed to one; lines end in "\n".
    QString DisplayModeSelection() const;

    // A big recipe is still going into the editor.
    bool Loading() const;
    // Puts the rest of a big recipe into the editor now.
    void finishLoading();
    // Runs action once the whole recipe is in the editor (at once when it is).
    void whenLoaded(std::function<void()> action);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    TPageHost &m_host;
};

} // namespace vomra
