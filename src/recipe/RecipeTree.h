#pragma once
// TreeView1 filled from the recipe library: one tree item per scanned node, the
// node's image, its text as people read it, and the bytes a record is rebuilt from.

#include "recipe/Recipe.h"

#include <QObject>

#include <functional>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;

namespace vomra {

class TGWImageList;

class TRecipeTree : public QObject {
    Q_OBJECT
public:
    // tree: TreeView1 (owned by the main window); images: ImageList1, whose
    // pictures 0-5 show the node kinds. programFolder ends in '/', native bytes.
    TRecipeTree(QTreeWidget *tree, TGWImageList *images, std::string programFolder);

    QTreeWidget *view() const { return m_tree; }
    const std::string &programFolder() const { return m_programFolder; }

    // Rebuilds the tree from the program folder. The selection is gone afterwards
    // and the change handler does not run for its loss.
    void LoadRecipeTree();

    TQOBR_TreeNodeRecord GetNodeRecord(const QTreeWidgetItem *item) const;
    // The selected node's record; kind none when nothing is selected.
    TQOBR_TreeNodeRecord SelectedRecord() const;
    QTreeWidgetItem *Selected() const;

    // Selects, in tree order after the first node, every node whose rebuilt path
    // equals path without regard to ASCII case; each selection runs OnChange.
    void SelectRecipeFile(const std::string &path);

    // The node's image (0-5); -1 for none.
    static int imageOf(const QTreeWidgetItem *item);

    void TreeView1Expanded(QTreeWidgetItem *item);
    void TreeView1Collapsed(QTreeWidgetItem *item);

    // TreeView1Change: the selected node changed (nullptr: none selected).
    std::function<void(QTreeWidgetItem *)> OnChange;
    // Whether leaving the selected node needs a question (unsaved edits).
    std::function<bool()> NeedsAsking;
    // The question, asked once the event that moved the selection has been
    // handled; the selection stays put meanwhile. False keeps it there.
    std::function<bool()> OnChanging;
    // TreeView1Click: any click in the tree.
    std::function<void()> OnClick;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setImage(QTreeWidgetItem *item, int image);
    void selectionChanged();
    // Selects item without asking OnChanging (nullptr: nothing).
    void selectWithoutAsking(QTreeWidgetItem *item);
    bool inTree(const QTreeWidgetItem *item) const;

    QTreeWidget *m_tree;
    // Kept apart from the tree: the filter still sees events while the tree is
    // being destroyed, when it can no longer be asked for its viewport.
    QObject *m_viewport = nullptr;
    TGWImageList *m_images;
    std::string m_programFolder;
    QTreeWidgetItem *m_selected = nullptr; // the node shown; gone with every rebuild
    bool m_asking = false;                 // a move is waiting for OnChanging
    bool m_passing = false;                // a move OnChanging has allowed
    unsigned m_generation = 0;             // counts rebuilds
};

} // namespace vomra
