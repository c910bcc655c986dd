#pragma once
// TreeView1 filled from the recipe library: one tree item per scanned node, the
// node's image, its text as people read it, and the bytes a record is rebuilt from.

#include "recipe/core/Recipe.h"

#include <QObject>

#include <functional>
#include <string>

class QTreeWidget;
class QTreeWidgetItem;
class QKeyEvent;

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
    QTreeWidgetItem *Selected() const;

    // Rebuilds the tree keeping the folders and collections that were open and the
    // selection. An entry renamed or moved from `from` to `to` (disk paths; folders
    // end in '/') keeps its state under its new path; select, when not empty, is
    // the disk path of the node to select instead. The selection is made without
    // asking about edits (the caller has asked) and the page shows it; when no
    // node is selected afterwards the page shows none.
    void Rebuild(const std::string &from = {}, const std::string &to = {}, const std::string &select = {});
    // The node whose record has this disk path and no item name, or nullptr.
    QTreeWidgetItem *nodeOfDiskPath(const std::string &diskPath) const;
    // The folder a new entry or a dropped one goes to for a node: the folder
    // itself, or the folder holding a file or item; empty for none.
    std::string folderFor(const QTreeWidgetItem *item) const;

    // The tree's nodes in tree order as the scan gave them, with their items.
    std::vector<TRecipeNode> nodes(std::vector<QTreeWidgetItem *> *items) const;
    // Counts rebuilds: items of an older generation are gone.
    unsigned generation() const { return m_generation; }

    // Starts editing the node's name in place; OnRenamed gets the text typed.
    void startRename(QTreeWidgetItem *item);
    // A drag entering, moving over or dropped on the tree's viewport (the view's
    // own drag of a node): accepted over a folder or a node inside one for
    // recipes and collections, refused elsewhere; a drop runs dropOn.
    bool dragEvent(QEvent *event);
    // A node dropped on a folder (copy: Shift held), after the drag has ended.
    void dropOn(QTreeWidgetItem *source, QTreeWidgetItem *target, bool copy);

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
    // After every rebuild (a find in progress filters the new tree again).
    std::function<void()> OnRebuilt;
    // TreeView1Click: any click in the tree.
    std::function<void()> OnClick;
    // Managing: the name typed in place, a node dropped on a folder, and the keys.
    std::function<void(QTreeWidgetItem *, const QString &)> OnRenamed;
    std::function<void(QTreeWidgetItem *source, const std::string &folder, bool copy)> OnDropped;
    std::function<void(QTreeWidgetItem *)> OnRenameKey;
    std::function<void(QTreeWidgetItem *)> OnDeleteKey;
    // Any other key with text while the tree has the focus, and Ctrl+F.
    std::function<void(const QString &)> OnFindKey;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setImage(QTreeWidgetItem *item, int image);
    void selectionChanged();
    // Selects item without asking OnChanging (nullptr: nothing).
    void selectWithoutAsking(QTreeWidgetItem *item);
    bool inTree(const QTreeWidgetItem *item) const;
    bool keyEvent(QKeyEvent *event);

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
    QTreeWidgetItem *m_renaming = nullptr; // the node whose name is being edited
    QTreeWidgetItem *m_pressed = nullptr;  // where a drag starts
    unsigned m_pressedGeneration = 0;
};

} // namespace vomra
