// Managing the library from the tree: its menu, new folders and collections,
// renaming in place, deleting to the trash, and moving by drag and drop. Every
// change rebuilds the tree from the disk; a failure names the file and the reason.
#include "recipe/ui/RecipeTreeActions.h"

#include "base/Trash.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "platform/GbkQt.h"
#include "platform/NativePathQt.h"
#include "recipe/core/LibraryOperations.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/RecipeLoader.h"
#include "recipe/ui/RecipeSaver.h"
#include "recipe/ui/RecipeTree.h"
#include "widgets/Hint.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTreeWidget>

#include <cerrno>
#include <memory>

namespace vomra {

TRecipeTreeActions::TRecipeTreeActions(TPageHost &host, TRecipeTree *tree, TRecipeLoader &loader, TRecipeSaver &saver)
    : m_host(host), m_tree(tree), m_loader(loader), m_saver(saver)
{
    QTreeWidget *view = m_tree->view();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &pos) {
        QTreeWidgetItem *item = view->itemAt(pos);
        std::unique_ptr<QMenu> menu(treeMenu(item));
        menu->exec(view->viewport()->mapToGlobal(pos));
    });
    m_tree->OnRenameKey = [this](QTreeWidgetItem *item) { RenameNode(item); };
    m_tree->OnDeleteKey = [this](QTreeWidgetItem *item) { DeleteNode(item); };
    m_tree->OnRenamed = [this](QTreeWidgetItem *item, const QString &name) { renameTo(item, name); };
    m_tree->OnDropped = [this](QTreeWidgetItem *source, const std::string &folder, bool copy) {
        MoveNode(source, folder, copy);
    };
    QObject::connect(view, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (CopyNodeBody(item)) {
            const QRect row = m_tree->view()->visualItemRect(item);
            HintController::instance()->showText(m_tree->view(),
                                                 m_tree->view()->viewport()->mapToGlobal(row.bottomLeft()),
                                                 QStringLiteral("已复制到剪贴板"));
        }
    });
}

TRecipeTreeActions::~TRecipeTreeActions()
{
    // The tree belongs to the window and may outlive the page.
    m_tree->OnRenamed = nullptr;
    m_tree->OnDropped = nullptr;
    m_tree->OnRenameKey = nullptr;
    m_tree->OnDeleteKey = nullptr;
}

std::optional<QString> TRecipeTreeActions::CopyNodeBody(QTreeWidgetItem *item)
{
    const int image = TRecipeTree::imageOf(item);
    if (image != riRecipeFile && image != riItem)
        return std::nullopt;
    const TQOBR_TreeNodeRecord record = m_tree->GetNodeRecord(item);
    const auto body = ReadRecipeBody(record.DiskPath, record.ItemName);
    if (!body)
        return std::nullopt;
    QString text = body->utf8 ? QString::fromUtf8(body->text) : gbk::toQString(body->text);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QChar(0), QChar::ReplacementCharacter);
    // Plain text only: a chat program takes the richest format offered.
    auto *data = new QMimeData;
    data->setText(text);
    QApplication::clipboard()->setMimeData(data);
    return text;
}

QMenu *TRecipeTreeActions::treeMenu(QTreeWidgetItem *item)
{
    auto *menu = new QMenu(m_tree->view());
    menu->setObjectName(QStringLiteral("TreeMenu"));
    const int image = TRecipeTree::imageOf(item);
    const bool entry = item && image != riItem; // a file or folder of its own
    menu->addAction(QStringLiteral("新建文件夹"), this, [this, item] { NewFolder(item); });
    QAction *collection = menu->addAction(QStringLiteral("新建秘笈集"), this, [this, item] { NewCollection(item); });
    collection->setEnabled(!m_tree->folderFor(item).empty());
    if (image == riCollection || image == riCollectionOpen || image == riItem) {
        menu->addSeparator();
        menu->addAction(QStringLiteral("以文本编辑"), this, [this, item] { EditCollectionAsText(item); });
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("重命名"), this, [this, item] { RenameNode(item); })->setEnabled(entry);
    menu->addAction(QStringLiteral("删除"), this, [this, item] { DeleteNode(item); })->setEnabled(entry);
    return menu;
}

void TRecipeTreeActions::showManageError(const QString &what, const std::string &path, int error)
{
    dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                   QStringLiteral("%1“%2”失败：%3。")
                       .arg(what, shown(withoutTrailingSlash(path)), QString::fromStdString(manageReason(error))));
}

bool TRecipeTreeActions::NewFolder(QTreeWidgetItem *at)
{
    if (!m_saver.AskToKeepEdits())
        return false;
    std::string parent = m_tree->folderFor(at);
    if (parent.empty())
        parent = m_host.programFolder();
    return showNewEntry(NewRecipeFolder(parent, "新建文件夹"), QStringLiteral("新建文件夹"), parent + "新建文件夹");
}

bool TRecipeTreeActions::NewCollection(QTreeWidgetItem *at)
{
    const std::string parent = m_tree->folderFor(at);
    if (parent.empty() || !m_saver.AskToKeepEdits())
        return false;
    TManageResult r;
    for (int n = 1; n < 1000; ++n) {
        const std::string name = "新建秘笈集" + (n == 1 ? std::string() : " (" + std::to_string(n) + ")");
        r = AddRecipeFile(parent + name + ".Ini", CollectionTemplate(), false);
        if (r.ok || r.error != EEXIST)
            break;
    }
    return showNewEntry(r, QStringLiteral("新建秘笈集"), parent + "新建秘笈集.Ini");
}

bool TRecipeTreeActions::showNewEntry(const TManageResult &made, const QString &what, const std::string &path)
{
    if (!made.ok) {
        showManageError(what, path, made.error);
        return false;
    }
    m_tree->Rebuild({}, {}, made.path);
    m_tree->startRename(m_tree->nodeOfDiskPath(made.path));
    return true;
}

bool TRecipeTreeActions::EditCollectionAsText(QTreeWidgetItem *item)
{
    const int image = TRecipeTree::imageOf(item);
    if (image != riCollection && image != riCollectionOpen && image != riItem)
        return false;
    QTreeWidgetItem *collection = image == riItem ? item->parent() : item;
    if (m_tree->Selected() != collection) {
        m_tree->view()->setCurrentItem(collection);
        if (m_tree->Selected() != collection)
            return false; // the user stayed with unsaved edits
    } else if (!m_saver.AskToKeepEdits()) {
        return false;
    }
    const std::string path = m_tree->GetNodeRecord(collection).DiskPath;
    const auto bytes = ReadRecipeFile(path);
    if (!bytes) {
        dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                       QStringLiteral("读取文件“%1”失败！").arg(shown(path)));
        return false;
    }
    // The file as text in edit mode, until another node is selected.
    m_loader.ShowCollectionText(path, *bytes, collection->text(0));
    return true;
}

void TRecipeTreeActions::reopenCollectionText(const std::string &path)
{
    // Its items as the file now lists them; the text stays open for editing.
    m_tree->Rebuild();
    if (QTreeWidgetItem *node = m_tree->nodeOfDiskPath(path)) {
        m_tree->view()->setCurrentItem(node);
        EditCollectionAsText(node);
    }
}

void TRecipeTreeActions::RenameNode(QTreeWidgetItem *item)
{
    if (item && TRecipeTree::imageOf(item) != riItem)
        m_tree->startRename(item);
}

bool TRecipeTreeActions::renameTo(QTreeWidgetItem *item, const QString &name)
{
    if (name == item->text(0) || name.isEmpty())
        return false; // unchanged: a name not in UTF-8 stays as it is
    const std::string path = m_tree->GetNodeRecord(item).DiskPath;
    if (!m_saver.AskToKeepEdits())
        return false;
    const TManageResult r = RenameRecipeEntry(path, npath(name));
    if (!r.ok) {
        showManageError(QStringLiteral("重命名"), path, r.error);
        return false;
    }
    m_tree->Rebuild(path, r.path);
    return true;
}

bool TRecipeTreeActions::DeleteNode(QTreeWidgetItem *item)
{
    if (!item || TRecipeTree::imageOf(item) == riItem)
        return false;
    const std::string path = m_tree->GetNodeRecord(item).DiskPath;
    const QString question = QStringLiteral("是否把“%1”移到回收站？").arg(shown(withoutTrailingSlash(path)));
    if (dialogs::confirm(m_host.hostWindow(), QStringLiteral("确认"), question) != Answer::Yes)
        return false;
    const bool shownHere =
        m_tree->Selected() == item || (m_tree->Selected() && path.back() == '/' &&
                                       m_tree->GetNodeRecord(m_tree->Selected()).DiskPath.rfind(path, 0) == 0);
    // The text of what goes to the trash is not asked about; other edits are.
    if (!shownHere && !m_saver.AskToKeepEdits())
        return false;
    int error = 0;
    if (!moveToTrash(path, &error)) {
        showManageError(QStringLiteral("删除"), path, error);
        return false;
    }
    if (shownHere)
        m_loader.markUnmodified();
    // The node's folder takes the selection when the node had it.
    const std::string parent = item->parent() ? m_tree->GetNodeRecord(item->parent()).DiskPath : std::string();
    m_tree->Rebuild({}, {}, shownHere ? parent : std::string());
    return true;
}

bool TRecipeTreeActions::MoveNode(QTreeWidgetItem *source, const std::string &folder, bool copy)
{
    const std::string path = m_tree->GetNodeRecord(source).DiskPath;
    if (!m_saver.AskToKeepEdits())
        return false;
    const TManageResult r = MoveRecipeEntry(path, folder, copy, m_host.programFolder());
    if (!r.ok) {
        showManageError(copy ? QStringLiteral("复制") : QStringLiteral("移动"), path, r.error);
        return false;
    }
    m_tree->Rebuild(copy ? std::string() : path, copy ? std::string() : r.path, r.path);
    return true;
}

} // namespace vomra
