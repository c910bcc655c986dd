// Finding in the library: a one-line field at the bottom of the library section
// that filters the tree as it is typed in, and steps through the matches in the
// editor. Hidden, it takes no room: the tree gets its height back.
#include "recipe/ui/RecipeFindBar.h"

#include "recipe/core/LibrarySearch.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/RecipeLoader.h"
#include "recipe/ui/RecipeTree.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTreeWidget>

#include <unordered_map>

namespace vomra {

TRecipeFindBar::TRecipeFindBar(TRecipeTree *tree, QPlainTextEdit *editor, TRecipeLoader &loader)
    : m_tree(tree), m_editor(editor), m_loader(loader)
{
    QTreeWidget *view = m_tree->view();
    recipeFindEdit = new QLineEdit(view->parentWidget());
    recipeFindEdit->setObjectName(QStringLiteral("recipeFindEdit"));
    recipeFindEdit->setFont(view->font());
    recipeFindEdit->setFrame(true);
    recipeFindEdit->hide();
    recipeFindEdit->installEventFilter(this);
    view->installEventFilter(this);
    m_editor->installEventFilter(this); // F3 there too, before the page's own keys
    QObject::connect(recipeFindEdit, &QLineEdit::textChanged, this, [this](const QString &text) { FilterTree(text); });
    m_tree->OnFindKey = [this](const QString &typed) { ShowFind(typed); };
    m_tree->OnRebuilt = [this] {
        if (FindShown())
            FilterTree(recipeFindEdit->text());
    };
}

TRecipeFindBar::~TRecipeFindBar()
{
    // The tree belongs to the window and may outlive the page.
    m_tree->OnFindKey = nullptr;
    m_tree->OnRebuilt = nullptr;
}

bool TRecipeFindBar::FindShown() const
{
    return recipeFindEdit && !recipeFindEdit->isHidden();
}

void TRecipeFindBar::placeFindEdit()
{
    QTreeWidget *view = m_tree->view();
    recipeFindEdit->setGeometry(view->x(), view->y() + view->height(), view->width(), m_findHeight);
}

void TRecipeFindBar::ShowFind(const QString &typed)
{
    QTreeWidget *view = m_tree->view();
    if (!FindShown()) {
        m_findHeight = recipeFindEdit->sizeHint().height();
        m_fitting = true;
        view->resize(view->width(), view->height() - m_findHeight);
        m_fitting = false;
        placeFindEdit();
        recipeFindEdit->show();
        recipeFindEdit->raise();
        // What was open before the search is open again after it.
        m_openBeforeFind.clear();
        for (QTreeWidgetItemIterator it(view); *it; ++it)
            if ((*it)->isExpanded())
                m_openBeforeFind.push_back(*it);
        m_findGeneration = m_tree->generation();
    }
    recipeFindEdit->setFocus();
    if (!typed.isEmpty())
        recipeFindEdit->insert(typed);
    else
        recipeFindEdit->selectAll();
}

void TRecipeFindBar::HideFind()
{
    if (!FindShown())
        return;
    QTreeWidget *view = m_tree->view();
    recipeFindEdit->hide();
    recipeFindEdit->clear(); // shows every node again
    m_fitting = true;
    view->resize(view->width(), view->height() + m_findHeight);
    m_fitting = false;
    if (m_findGeneration == m_tree->generation()) {
        for (QTreeWidgetItemIterator it(view); *it; ++it)
            (*it)->setExpanded(false);
        for (QTreeWidgetItem *item : m_openBeforeFind)
            item->setExpanded(true);
    }
    m_openBeforeFind.clear();
    if (QTreeWidgetItem *sel = m_tree->Selected()) {
        for (QTreeWidgetItem *p = sel->parent(); p; p = p->parent())
            p->setExpanded(true);
        view->scrollToItem(sel);
    }
    view->setFocus();
}

void TRecipeFindBar::FilterTree(const QString &text)
{
    std::vector<QTreeWidgetItem *> items;
    std::vector<TRecipeNode> nodes = m_tree->nodes(&items);
    m_hits.clear();
    m_hitIndex = -1;
    if (text.isEmpty()) {
        for (QTreeWidgetItem *item : items)
            item->setHidden(false);
        return;
    }
    const std::string needle = text.toStdString();
    const TFindResult found = FindInTree(std::move(nodes), needle);
    // Shown: a match, everything inside a folder or collection whose name
    // matches, and the folders on the way down to a match. Parents come before
    // their children in tree order.
    std::unordered_map<const QTreeWidgetItem *, std::size_t> index;
    for (std::size_t i = 0; i < items.size(); ++i)
        index.emplace(items[i], i);
    std::vector<int> parent(items.size(), -1);
    std::vector<bool> shownNode(items.size(), false);
    std::vector<bool> named(items.size(), false);
    std::vector<bool> insideNamed(items.size(), false);
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (const QTreeWidgetItem *p = items[i]->parent())
            parent[i] = static_cast<int>(index.at(p));
        named[i] = findUtf8(items[i]->text(0).toStdString(), needle) != std::string_view::npos;
        if (parent[i] >= 0) {
            const auto up = static_cast<std::size_t>(parent[i]);
            insideNamed[i] = named[up] || insideNamed[up];
        }
        shownNode[i] = found.matched[i] || insideNamed[i];
        // A collection matched through its items is stepped through by those.
        const int image = TRecipeTree::imageOf(items[i]);
        const bool collection = image == riCollection || image == riCollectionOpen;
        if (found.matched[i] && (!collection || named[i]))
            m_hits.push_back(items[i]);
    }
    for (std::size_t i = items.size(); i-- > 0;)
        if (shownNode[i] && parent[i] >= 0)
            shownNode[static_cast<std::size_t>(parent[i])] = true;
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i]->setHidden(!shownNode[i]);
        if (found.matched[i])
            for (QTreeWidgetItem *p = items[i]->parent(); p; p = p->parent())
                p->setExpanded(true);
    }
}

void TRecipeFindBar::FindNext(bool backwards)
{
    const QString text = recipeFindEdit ? recipeFindEdit->text() : QString();
    if (text.isEmpty() || m_hits.empty())
        return;
    QTreeWidgetItem *shownNode = m_tree->Selected();
    // More matches in the text shown: to the next one there first.
    if (shownNode && m_hitIndex >= 0 && m_hits[static_cast<std::size_t>(m_hitIndex)] == shownNode &&
        !m_loader.Loading() &&
        m_editor->find(text, backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags()))
        return;
    const int count = static_cast<int>(m_hits.size());
    m_hitIndex = m_hitIndex < 0 ? (backwards ? count - 1 : 0) : (m_hitIndex + (backwards ? count - 1 : 1)) % count;
    QTreeWidgetItem *next = m_hits[static_cast<std::size_t>(m_hitIndex)];
    m_tree->view()->setCurrentItem(next);
    m_tree->view()->scrollToItem(next);
    if (m_tree->Selected() != next)
        return; // the user kept the node shown (unsaved edits)
    m_loader.whenLoaded([this, text, backwards] {
        m_editor->moveCursor(backwards ? QTextCursor::End : QTextCursor::Start);
        m_editor->find(text, backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags());
    });
}

bool TRecipeFindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_tree->view() && (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        if (FindShown() && !m_fitting) {
            // The window set the tree's full height: the field takes its share.
            if (event->type() == QEvent::Resize) {
                m_fitting = true;
                m_tree->view()->resize(m_tree->view()->width(), m_tree->view()->height() - m_findHeight);
                m_fitting = false;
            }
            placeFindEdit();
        }
        return false;
    }
    if (watched == recipeFindEdit && event->type() == QEvent::KeyPress) {
        auto *key = static_cast<QKeyEvent *>(event);
        switch (key->key()) {
        case Qt::Key_Escape:
            HideFind();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_F3:
            FindNext(key->modifiers() & Qt::ShiftModifier);
            return true;
        default:
            break;
        }
    }
    if (watched == m_editor && event->type() == QEvent::KeyPress && FindShown() &&
        static_cast<QKeyEvent *>(event)->key() == Qt::Key_F3) {
        FindNext(static_cast<QKeyEvent *>(event)->modifiers() & Qt::ShiftModifier);
        return true;
    }
    return false;
}

} // namespace vomra
