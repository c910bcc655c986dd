// Managing the library from the tree: its menu, new folders and collections,
// renaming in place, deleting to the trash, and moving by drag and drop. Every
// change rebuilds the tree from the disk; a failure names the file and the reason.
#include "recipe/ui/RecipePage.h"

#include "base/Trash.h"
#include "pagekit/Dialogs.h"
#include "pagekit/PageHost.h"
#include "platform/GbkQt.h"
#include "platform/NativePathQt.h"
#include "recipe/core/Recipe.h"
#include "recipe/core/LibraryOperations.h"
#include "recipe/ui/RecipeTree.h"
#include "widgets/Hint.h"
#include "widgets/ImageLabel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTextCharFormat>
#include <QPlainTextEdit>
#include <QTreeWidget>

#include <cerrno>
#include <memory>

namespace vomra {

void TRecipePage::setUpManaging()
{
    QTreeWidget *view = tree->view();
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &pos) {
        QTreeWidgetItem *item = view->itemAt(pos);
        std::unique_ptr<QMenu> menu(treeMenu(item));
        menu->exec(view->viewport()->mapToGlobal(pos));
    });
    tree->OnRenameKey = [this](QTreeWidgetItem *item) { RenameNode(item); };
    tree->OnDeleteKey = [this](QTreeWidgetItem *item) { DeleteNode(item); };
    tree->OnRenamed = [this](QTreeWidgetItem *item, const QString &name) { renameTo(item, name); };
    tree->OnDropped = [this](QTreeWidgetItem *source, const std::string &folder, bool copy) {
        MoveNode(source, folder, copy);
    };
    QObject::connect(view, &QTreeWidget::itemDoubleClicked, this, [this](QTreeWidgetItem *item) {
        if (CopyNodeBody(item)) {
            const QRect row = tree->view()->visualItemRect(item);
            HintController::instance()->showText(tree->view(), tree->view()->viewport()->mapToGlobal(row.bottomLeft()),
                                                 QStringLiteral("已复制到剪贴板"));
        }
    });
}

std::optional<QString> TRecipePage::CopyNodeBody(QTreeWidgetItem *item)
{
    const int image = TRecipeTree::imageOf(item);
    if (image != riRecipeFile && image != riItem)
        return std::nullopt;
    const TQOBR_TreeNodeRecord record = tree->GetNodeRecord(item);
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

QMenu *TRecipePage::treeMenu(QTreeWidgetItem *item)
{
    auto *menu = new QMenu(tree->view());
    menu->setObjectName(QStringLiteral("TreeMenu"));
    const int image = TRecipeTree::imageOf(item);
    const bool entry = item && image != riItem; // a file or folder of its own
    menu->addAction(QStringLiteral("新建文件夹"), this, [this, item] { NewFolder(item); });
    QAction *collection = menu->addAction(QStringLiteral("新建秘笈集"), this, [this, item] { NewCollection(item); });
    collection->setEnabled(!tree->folderFor(item).empty());
    if (image == riCollection || image == riCollectionOpen || image == riItem) {
        menu->addSeparator();
        menu->addAction(QStringLiteral("以文本编辑"), this, [this, item] { EditCollectionAsText(item); });
    }
    menu->addSeparator();
    menu->addAction(QStringLiteral("重命名"), this, [this, item] { RenameNode(item); })->setEnabled(entry);
    menu->addAction(QStringLiteral("删除"), this, [this, item] { DeleteNode(item); })->setEnabled(entry);
    return menu;
}

void TRecipePage::showManageError(const QString &what, const std::string &path, int error)
{
    dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                   QStringLiteral("%1“%2”失败：%3。")
                       .arg(what, shown(withoutTrailingSlash(path)), QString::fromStdString(manageReason(error))));
}

bool TRecipePage::NewFolder(QTreeWidgetItem *at)
{
    if (!AskToKeepEdits())
        return false;
    std::string parent = tree->folderFor(at);
    if (parent.empty())
        parent = m_host.programFolder();
    const TManageResult r = NewRecipeFolder(parent, "新建文件夹");
    if (!r.ok) {
        showManageError(QStringLiteral("新建文件夹"), parent + "新建文件夹", r.error);
        return false;
    }
    tree->Rebuild({}, {}, r.path);
    tree->startRename(tree->nodeOfDiskPath(r.path));
    return true;
}

bool TRecipePage::NewCollection(QTreeWidgetItem *at)
{
    const std::string parent = tree->folderFor(at);
    if (parent.empty() || !AskToKeepEdits())
        return false;
    TManageResult r;
    for (int n = 1; n < 1000; ++n) {
        const std::string name = "新建秘笈集" + (n == 1 ? std::string() : " (" + std::to_string(n) + ")");
        r = AddRecipeFile(parent + name + ".Ini", CollectionTemplate(), false);
        if (r.ok || r.error != EEXIST)
            break;
    }
    if (!r.ok) {
        showManageError(QStringLiteral("新建秘笈集"), parent + "新建秘笈集.Ini", r.error);
        return false;
    }
    tree->Rebuild({}, {}, r.path);
    tree->startRename(tree->nodeOfDiskPath(r.path));
    return true;
}

bool TRecipePage::EditCollectionAsText(QTreeWidgetItem *item)
{
    const int image = TRecipeTree::imageOf(item);
    if (image != riCollection && image != riCollectionOpen && image != riItem)
        return false;
    QTreeWidgetItem *collection = image == riItem ? item->parent() : item;
    if (tree->Selected() != collection) {
        tree->view()->setCurrentItem(collection);
        if (tree->Selected() != collection)
            return false; // the user stayed with unsaved edits
    } else if (!AskToKeepEdits()) {
        return false;
    }
    const std::string path = tree->GetNodeRecord(collection).DiskPath;
    std::string error;
    const auto bytes = ReadRecipeFile(path, &error);
    if (!bytes) {
        dialogs::error(m_host.hostWindow(), QStringLiteral("错误"),
                       QStringLiteral("读取文件“%1”失败！").arg(shown(path)));
        return false;
    }
    // The file as text in edit mode, until another node is selected.
    stopLoading();
    recipeRichEdit1->clear(); // before the mode, which lays out what is there
    setEditMode();
    recipeLabel(1)->setEnabled(true);
    recipeLabel(2)->setEnabled(m_host.FontSize() != 2);
    recipeLabel(3)->setEnabled(m_host.FontSize() != 22);
    QFont font = recipeRichEdit1->font();
    font.setPointSize(m_host.FontSize());
    recipeRichEdit1->setFont(font);
    recipeRichEdit1->setCurrentCharFormat(QTextCharFormat());
    m_shownWithReplacement = false;
    m_unreadPath.clear();
    showRecipeBytes(*bytes);
    m_editingCollection = path;
    m_shownName = collection->text(0);
    if (!Loading())
        markUnmodified();
    return true;
}

bool TRecipePage::saveCollectionText(const QString &text)
{
    const std::string path = m_editingCollection;
    if (!writeRecipe(path, text, false))
        return false;
    markUnmodified();
    // Its items as the file now lists them; the text stays open for editing.
    tree->Rebuild();
    if (QTreeWidgetItem *node = tree->nodeOfDiskPath(path)) {
        tree->view()->setCurrentItem(node);
        EditCollectionAsText(node);
    }
    return true;
}

void TRecipePage::RenameNode(QTreeWidgetItem *item)
{
    if (item && TRecipeTree::imageOf(item) != riItem)
        tree->startRename(item);
}

bool TRecipePage::renameTo(QTreeWidgetItem *item, const QString &name)
{
    if (name == item->text(0) || name.isEmpty())
        return false; // unchanged: a name not in UTF-8 stays as it is
    const std::string path = tree->GetNodeRecord(item).DiskPath;
    if (!AskToKeepEdits())
        return false;
    const TManageResult r = RenameRecipeEntry(path, npath(name));
    if (!r.ok) {
        showManageError(QStringLiteral("重命名"), path, r.error);
        return false;
    }
    tree->Rebuild(path, r.path);
    return true;
}

bool TRecipePage::DeleteNode(QTreeWidgetItem *item)
{
    if (!item || TRecipeTree::imageOf(item) == riItem)
        return false;
    const std::string path = tree->GetNodeRecord(item).DiskPath;
    const QString question = QStringLiteral("是否把“%1”移到回收站？").arg(shown(withoutTrailingSlash(path)));
    if (dialogs::confirm(m_host.hostWindow(), QStringLiteral("确认"), question) != Answer::Yes)
        return false;
    const bool shownHere =
        tree->Selected() == item ||
        (tree->Selected() && path.back() == '/' && tree->GetNodeRecord(tree->Selected()).DiskPath.rfind(path, 0) == 0);
    // The text of what goes to the trash is not asked about; other edits are.
    if (!shownHere && !AskToKeepEdits())
        return false;
    int error = 0;
    if (!moveToTrash(path, &error)) {
        showManageError(QStringLiteral("删除"), path, error);
        return false;
    }
    if (shownHere)
        markUnmodified();
    // The node's folder takes the selection when the node had it.
    const std::string parent = item->parent() ? tree->GetNodeRecord(item->parent()).DiskPath : std::string();
    tree->Rebuild({}, {}, shownHere ? parent : std::string());
    return true;
}

bool TRecipePage::MoveNode(QTreeWidgetItem *source, const std::string &folder, bool copy)
{
    const std::string path = tree->GetNodeRecord(source).DiskPath;
    if (!AskToKeepEdits())
        return false;
    const TManageResult r = MoveRecipeEntry(path, folder, copy, m_host.programFolder());
    if (!r.ok) {
        showManageError(copy ? QStringLiteral("复制") : QStringLiteral("移动"), path, r.error);
        return false;
    }
    tree->Rebuild(copy ? std::string() : path, copy ? std::string() : r.path, r.path);
    return true;
}

} // namespace vomra
