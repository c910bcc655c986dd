#pragma once
// Finding in the library: the field under the tree (Ctrl+F, or typing in the
// tree; Esc hides it), the tree filtered to what matches, Enter / F3 to the next
// match (Shift: the one before) with the match selected in the editor.

#include <QObject>
#include <QString>

#include <vector>

class QEvent;
class QLineEdit;
class QPlainTextEdit;
class QTreeWidgetItem;

namespace vomra {

class TRecipeLoader;
class TRecipeTree;

class TRecipeFindBar : public QObject {
public:
    // Makes the field beside the tree's view and watches the view, the field and
    // the editor (recipeRichEdit1) for the keys and the resizes.
    TRecipeFindBar(TRecipeTree *tree, QPlainTextEdit *editor, TRecipeLoader &loader);
    ~TRecipeFindBar() override;

    QLineEdit *recipeFindEdit = nullptr;
    bool FindShown() const;
    void ShowFind(const QString &typed);
    void HideFind();
    void FilterTree(const QString &text);
    void FindNext(bool backwards);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void placeFindEdit();

    TRecipeTree *m_tree;
    QPlainTextEdit *m_editor;
    TRecipeLoader &m_loader;
    int m_findHeight = 0;
    bool m_fitting = false; // the bar itself resizes the tree
    std::vector<QTreeWidgetItem *> m_openBeforeFind;
    unsigned m_findGeneration = 0;
    std::vector<QTreeWidgetItem *> m_hits; // nodes that match, in tree order
    int m_hitIndex = -1;
};

} // namespace vomra
