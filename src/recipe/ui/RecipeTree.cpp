#include "recipe/ui/RecipeTree.h"

#include "widgets/ImageList.h"

#include <QApplication>
#include <QDropEvent>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QTreeWidget>

#include <vector>

namespace vomra {

namespace {

constexpr int kImageRole = Qt::UserRole;
constexpr int kTextRole = Qt::UserRole + 1;     // the node's text as bytes (native or GBK)
constexpr int kDiskPathRole = Qt::UserRole + 2; // the entry as listed on disk

QByteArray bytes(const std::string &s)
{
    return QByteArray(s.data(), static_cast<qsizetype>(s.size()));
}
std::string str(const QVariant &v)
{
    const QByteArray b = v.toByteArray();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

// Hot tracking: the row under the mouse has its text underlined, in the tree's
// own text colour, and no style-drawn hover panel. Text is drawn without
// anti-aliasing, so every ink pixel has exactly the text colour.
class THotTrackDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // A name edited in place goes to the file system, not into the tree: the
    // tree is rebuilt from what the disk then holds.
    std::function<void(const QString &)> OnCommit;

    void setModelData(QWidget *editor, QAbstractItemModel *, const QModelIndex &) const override
    {
        if (auto *line = qobject_cast<QLineEdit *>(editor); line && OnCommit)
            OnCommit(line->text());
    }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->font.setStyleStrategy(QFont::StyleStrategy(option->font.styleStrategy() | QFont::NoAntialias));
        if (option->state & QStyle::State_MouseOver) {
            option->font.setUnderline(true);
            option->state &= ~QStyle::State_MouseOver;
        }
    }
};

bool isAncestor(const QTreeWidgetItem *maybe, const QTreeWidgetItem *item)
{
    for (const QTreeWidgetItem *p = item ? item->parent() : nullptr; p; p = p->parent())
        if (p == maybe)
            return true;
    return false;
}

} // namespace

TRecipeTree::TRecipeTree(QTreeWidget *tree, TGWImageList *images, std::string programFolder)
    : QObject(tree), m_tree(tree), m_images(images), m_programFolder(std::move(programFolder))
{
    m_tree->setColumnCount(1);
    m_tree->setRootIsDecorated(true);
    m_tree->setUniformRowHeights(true);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tree->setExpandsOnDoubleClick(true);
    m_tree->viewport()->setAttribute(Qt::WA_Hover);
    m_tree->setMouseTracking(true);
    auto *delegate = new THotTrackDelegate(m_tree);
    m_tree->setItemDelegate(delegate);
    m_viewport = m_tree->viewport();
    m_viewport->installEventFilter(this);
    m_tree->installEventFilter(this);
    // Recipes and collections are dragged between folders; the drop is ours.
    m_tree->setDragEnabled(true);
    m_tree->setAcceptDrops(true);
    m_tree->viewport()->setAcceptDrops(true);
    m_tree->setDragDropMode(QAbstractItemView::DragDrop);
    m_tree->setDefaultDropAction(Qt::MoveAction);
    delegate->OnCommit = [this](const QString &text) {
        QTreeWidgetItem *item = m_renaming;
        const unsigned generation = m_generation;
        m_renaming = nullptr;
        // After the editor has closed: the rename rebuilds the tree.
        QTimer::singleShot(0, this, [this, item, text, generation] {
            if (item && generation == m_generation && inTree(item) && OnRenamed)
                OnRenamed(item, text);
        });
    };
    connect(m_tree, &QTreeWidget::itemExpanded, this, &TRecipeTree::TreeView1Expanded);
    connect(m_tree, &QTreeWidget::itemCollapsed, this, &TRecipeTree::TreeView1Collapsed);
    // The selection, not Qt's current item: focus alone makes an item current.
    connect(m_tree, &QTreeWidget::itemSelectionChanged, this, &TRecipeTree::selectionChanged);
}

void TRecipeTree::LoadRecipeTree()
{
    m_tree->hide();
    {
        const QSignalBlocker block(m_tree);
        ++m_generation;
        m_selected = nullptr;
        m_tree->clear();
        const std::vector<TRecipeNode> nodes = ScanRecipeLibrary(m_programFolder);
        std::vector<QTreeWidgetItem *> last; // the latest item at each depth
        for (const TRecipeNode &node : nodes) {
            const auto depth = static_cast<std::size_t>(std::max(node.depth, 0));
            QTreeWidgetItem *item = nullptr;
            if (depth == 0 || depth > last.size())
                item = new QTreeWidgetItem(m_tree);
            else
                item = new QTreeWidgetItem(last[depth - 1]);
            item->setText(0, QString::fromStdString(nodeDisplayText(node)));
            item->setData(0, kTextRole, bytes(node.text));
            item->setData(0, kDiskPathRole, bytes(node.diskPath));
            setImage(item, node.image);
            last.resize(depth + 1);
            last[depth] = item;
        }
    }
    m_tree->show();
    if (OnRebuilt)
        OnRebuilt();
}

int TRecipeTree::imageOf(const QTreeWidgetItem *item)
{
    return item ? item->data(0, kImageRole).toInt() : -1;
}

void TRecipeTree::setImage(QTreeWidgetItem *item, int image)
{
    item->setData(0, kImageRole, image);
    if (m_images)
        item->setIcon(0, m_images->icon(image));
}

TQOBR_TreeNodeRecord TRecipeTree::GetNodeRecord(const QTreeWidgetItem *item) const
{
    std::vector<TRecipeNode> chain;
    for (const QTreeWidgetItem *p = item; p; p = p->parent())
        chain.push_back({imageOf(p), 0, str(p->data(0, kTextRole)), str(p->data(0, kDiskPathRole))});
    return vomra::GetNodeRecord(chain, m_programFolder);
}

QTreeWidgetItem *TRecipeTree::Selected() const
{
    const QList<QTreeWidgetItem *> items = m_tree->selectedItems();
    return items.isEmpty() ? nullptr : items.constFirst();
}

void TRecipeTree::SelectRecipeFile(const std::string &path)
{
    QTreeWidgetItemIterator it(m_tree);
    if (*it)
        ++it; // the walk starts after the very first node
    for (; *it; ++it) {
        if (!pathsEqualIgnoringCase(GetNodeRecord(*it).FilePath, path))
            continue;
        // Its folders open, so the new recipe is seen.
        for (QTreeWidgetItem *p = (*it)->parent(); p; p = p->parent())
            p->setExpanded(true);
        m_tree->setCurrentItem(*it);
        (*it)->setSelected(true);
        m_tree->scrollToItem(*it);
    }
}

void TRecipeTree::TreeView1Expanded(QTreeWidgetItem *item)
{
    const int image = imageOf(item);
    if (image == riFolder)
        setImage(item, riFolderOpen);
    else if (image == riCollection)
        setImage(item, riCollectionOpen);
}

void TRecipeTree::TreeView1Collapsed(QTreeWidgetItem *item)
{
    const int image = imageOf(item);
    if (image == riFolderOpen)
        setImage(item, riFolder);
    else if (image == riCollectionOpen)
        setImage(item, riCollection);
}

void TRecipeTree::selectionChanged()
{
    const QList<QTreeWidgetItem *> items = m_tree->selectedItems();
    QTreeWidgetItem *current = items.isEmpty() ? nullptr : items.constFirst();
    QTreeWidgetItem *previous = m_selected;
    if (current == previous)
        return;
    if (m_asking) { // a move is waiting for its answer: this one goes too
        selectWithoutAsking(previous);
        return;
    }
    if (OnChanging && NeedsAsking && !m_passing && NeedsAsking()) {
        // Back to the node being left until the question is answered, which waits
        // until the press or key that moved the selection has been handled.
        selectWithoutAsking(previous);
        m_asking = true;
        const unsigned generation = m_generation;
        QTimer::singleShot(0, this, [this, current, generation] {
            const bool leave = OnChanging();
            m_asking = false;
            // The answer may have rebuilt the tree (a new recipe saved).
            if (!leave || generation != m_generation || (current && !inTree(current)))
                return;
            m_passing = true;
            if (current) {
                m_tree->setCurrentItem(current);
                current->setSelected(true);
            } else {
                m_tree->clearSelection();
            }
            m_passing = false;
        });
        return;
    }
    m_selected = current;
    // Automatic expansion: the new node opens, the one that lost the selection
    // closes unless the new node lies inside it.
    if (previous && previous != current && !isAncestor(previous, current))
        previous->setExpanded(false);
    if (current)
        current->setExpanded(true);
    if (OnChange)
        OnChange(current);
}

void TRecipeTree::selectWithoutAsking(QTreeWidgetItem *item)
{
    const QSignalBlocker block(m_tree);
    if (item) {
        m_tree->setCurrentItem(item);
        item->setSelected(true);
    } else {
        m_tree->clearSelection();
    }
}

bool TRecipeTree::inTree(const QTreeWidgetItem *item) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if (*it == item)
            return true;
    return false;
}

bool TRecipeTree::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_viewport) {
        switch (event->type()) {
        case QEvent::MouseButtonRelease:
            if (OnClick)
                OnClick();
            break;
        case QEvent::MouseButtonPress:
            m_pressed = m_tree->itemAt(static_cast<QMouseEvent *>(event)->position().toPoint());
            m_pressedGeneration = m_generation;
            break;
        case QEvent::ToolTip:
            return true; // no tooltips in the tree
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
            return dragEvent(event);
        default:
            break;
        }
    } else if (watched == m_tree && event->type() == QEvent::KeyPress) {
        return keyEvent(static_cast<QKeyEvent *>(event));
    }
    return QObject::eventFilter(watched, event);
}

bool TRecipeTree::keyEvent(QKeyEvent *event)
{
    // Keys an editor in place (a name being typed) passed on are not ours.
    if (QWidget *focus = QApplication::focusWidget(); focus && focus != m_tree && m_tree->isAncestorOf(focus))
        return false;
    if (event->key() == Qt::Key_F2 && OnRenameKey && Selected()) {
        OnRenameKey(Selected());
        return true;
    }
    if (event->key() == Qt::Key_Delete && OnDeleteKey && Selected()) {
        OnDeleteKey(Selected());
        return true;
    }
    if (OnFindKey && event->matches(QKeySequence::Find)) {
        OnFindKey(QString());
        return true;
    }
    // Typing a name starts a search instead of Qt's jump to the next match.
    const QString text = event->text();
    if (OnFindKey && !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isSpace() &&
        !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
        OnFindKey(text);
        return true;
    }
    return false;
}

bool TRecipeTree::dragEvent(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    QTreeWidgetItem *source = m_pressedGeneration == m_generation ? m_pressed : nullptr;
    QTreeWidgetItem *target = m_tree->itemAt(drop->position().toPoint());
    const int image = imageOf(source);
    const bool draggable =
        source && inTree(source) && (image == riRecipeFile || image == riCollection || image == riCollectionOpen);
    const std::string folder = target ? folderFor(target) : std::string();
    const bool fromHere =
        drop->mimeData() && drop->mimeData()->hasFormat(QStringLiteral("application/x-qabstractitemmodeldatalist"));
    if (!fromHere || !draggable || folder.empty()) {
        drop->ignore();
        return true;
    }
    const bool copy = drop->modifiers() & Qt::ShiftModifier;
    // The view is told "copied" whatever happens, so it never removes rows itself.
    drop->setDropAction(Qt::CopyAction);
    drop->accept();
    if (event->type() == QEvent::Drop)
        dropOn(source, target, copy);
    return true;
}

void TRecipeTree::dropOn(QTreeWidgetItem *source, QTreeWidgetItem *target, bool copy)
{
    const std::string folder = folderFor(target);
    const unsigned generation = m_generation;
    // Once the drag has ended: the move rebuilds the tree.
    QTimer::singleShot(0, this, [this, source, folder, copy, generation] {
        if (generation == m_generation && inTree(source) && OnDropped)
            OnDropped(source, folder, copy);
    });
}

void TRecipeTree::startRename(QTreeWidgetItem *item)
{
    if (!item)
        return;
    m_renaming = item;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    m_tree->scrollToItem(item);
    m_tree->editItem(item);
}

std::vector<TRecipeNode> TRecipeTree::nodes(std::vector<QTreeWidgetItem *> *items) const
{
    std::vector<TRecipeNode> out;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem *p = (*it)->parent(); p; p = p->parent())
            ++depth;
        out.push_back({imageOf(*it), depth, str((*it)->data(0, kTextRole)), str((*it)->data(0, kDiskPathRole))});
        if (items)
            items->push_back(*it);
    }
    return out;
}

std::string TRecipeTree::folderFor(const QTreeWidgetItem *item) const
{
    for (const QTreeWidgetItem *p = item; p; p = p->parent()) {
        const int image = imageOf(p);
        if (image == riFolder || image == riFolderOpen)
            return GetNodeRecord(p).DiskPath;
    }
    return {};
}

QTreeWidgetItem *TRecipeTree::nodeOfDiskPath(const std::string &diskPath) const
{
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (imageOf(*it) == riItem)
            continue;
        if (GetNodeRecord(*it).DiskPath == diskPath)
            return *it;
    }
    return nullptr;
}

void TRecipeTree::Rebuild(const std::string &from, const std::string &to, const std::string &select)
{
    // A path under `from` is the same node under `to` now.
    auto moved = [&from, &to](std::string path) {
        if (!from.empty() && path.compare(0, from.size(), from) == 0 &&
            (path.size() == from.size() || from.back() == '/'))
            path = to + path.substr(from.size());
        return path;
    };
    std::vector<std::string> open;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it)
        if ((*it)->isExpanded())
            open.push_back(moved(GetNodeRecord(*it).DiskPath));
    std::string selectedPath;
    std::string selectedItem;
    const bool hadSelection = Selected() != nullptr;
    if (QTreeWidgetItem *sel = Selected()) {
        const TQOBR_TreeNodeRecord record = GetNodeRecord(sel);
        selectedPath = moved(record.DiskPath);
        selectedItem = record.ItemName;
    }
    if (!select.empty()) {
        selectedPath = select;
        selectedItem.clear();
    }

    LoadRecipeTree();
    {
        const QSignalBlocker block(m_tree);
        for (const std::string &path : open)
            if (QTreeWidgetItem *item = nodeOfDiskPath(path); item && item->childCount() > 0) {
                item->setExpanded(true);
                TreeView1Expanded(item);
            }
    }
    QTreeWidgetItem *target = selectedPath.empty() ? nullptr : nodeOfDiskPath(selectedPath);
    if (target && !selectedItem.empty()) {
        for (int i = 0; i < target->childCount(); ++i)
            if (GetNodeRecord(target->child(i)).ItemName == selectedItem)
                target = target->child(i);
    }
    if (!target) {
        if (hadSelection && OnChange)
            OnChange(nullptr);
        return;
    }
    for (QTreeWidgetItem *p = target->parent(); p; p = p->parent())
        p->setExpanded(true);
    m_passing = true;
    m_tree->setCurrentItem(target);
    target->setSelected(true);
    m_passing = false;
    m_tree->scrollToItem(target);
}

} // namespace vomra
