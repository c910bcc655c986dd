#include "recipe/RecipeTree.h"

#include "widgets/ImageList.h"

#include <QEvent>
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
    m_tree->setItemDelegate(new THotTrackDelegate(m_tree));
    m_viewport = m_tree->viewport();
    m_viewport->installEventFilter(this);
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

TQOBR_TreeNodeRecord TRecipeTree::SelectedRecord() const
{
    return GetNodeRecord(Selected());
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
        if (event->type() == QEvent::MouseButtonRelease && OnClick)
            OnClick();
        else if (event->type() == QEvent::ToolTip)
            return true; // no tooltips in the tree
    }
    return QObject::eventFilter(watched, event);
}

} // namespace vomra
