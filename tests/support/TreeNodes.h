#pragma once
// Finds a node of a tree by the texts shown on the way down from the top.

#include <QString>
#include <QTreeWidget>

#include <initializer_list>

namespace vomra::test {

// nullptr when a text on the way is not there.
inline QTreeWidgetItem *treeNode(const QTreeWidget *tree, std::initializer_list<const char *> path)
{
    QTreeWidgetItem *item = nullptr;
    for (const char *utf8 : path) {
        const QString name = QString::fromUtf8(utf8);
        QTreeWidgetItem *next = nullptr;
        const int count = item ? item->childCount() : tree->topLevelItemCount();
        for (int i = 0; i < count && !next; ++i) {
            QTreeWidgetItem *c = item ? item->child(i) : tree->topLevelItem(i);
            if (c->text(0) == name)
                next = c;
        }
        if (!next)
            return nullptr;
        item = next;
    }
    return item;
}

} // namespace vomra::test
