#pragma once
// Managing the library from the recipe tree: its menu, new folders and
// collections, renaming in place, deleting to the trash, moving or copying by
// drag and drop, a collection edited as text, and a node's text copied by a
// double-click.

#include <QObject>
#include <QString>

#include <optional>
#include <string>

class QMenu;
class QTreeWidgetItem;

namespace vomra {

class TPageHost;
class TRecipeLoader;
class TRecipeSaver;
class TRecipeTree;
struct TManageResult;

class TRecipeTreeActions : public QObject {
public:
    // Hooks itself to the tree's menu, keys, renames, drops and double-clicks.
    TRecipeTreeActions(TPageHost &host, TRecipeTree *tree, TRecipeLoader &loader, TRecipeSaver &saver);
    ~TRecipeTreeActions() override;

    // Each asks about unsaved edits first, rebuilds the tree keeping its state,
    // and reports a failure naming the file and the reason; true when the change
    // was made.
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
    // After a collection shown as text was saved: the tree rebuilt with its items
    // as the file now lists them, and the text open for editing again.
    void reopenCollectionText(const std::string &path);
    // Double-click: a recipe file's or a collection item's text (no name line) to
    // the clipboard as plain text; the text, or nothing when nothing was copied.
    std::optional<QString> CopyNodeBody(QTreeWidgetItem *item);

private:
    bool renameTo(QTreeWidgetItem *item, const QString &name);
    void showManageError(const QString &what, const std::string &path, int error);
    // A new folder or collection made: the tree rebuilt with it selected and its
    // name open for typing; a failure (what, of path) is reported. True when made.
    bool showNewEntry(const TManageResult &made, const QString &what, const std::string &path);

    TPageHost &m_host;
    TRecipeTree *m_tree;
    TRecipeLoader &m_loader;
    TRecipeSaver &m_saver;
};

} // namespace vomra
