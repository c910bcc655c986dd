#pragma once
// The recipe editor's context menu: cut, copy, paste, delete and select all,
// drawn by the program in the page colours.

#include "pagekit/core/PageColours.h"
#include "widgets/Canvas.h"

#include <QMenu>

#include <array>

namespace vomra {

class TGWImageList;
class TPageHost;
class TRecipePage;

// What the item painter needs of one item.
struct TEditMenuItem {
    QString caption; // with the "&" before the underlined character
    bool enabled = true;
    int imageIndex = -1; // the grey picture; the coloured one follows it
    bool hasShortcut = false;
};

// One item of the edit menu in the rectangle r (right and bottom exclusive); the
// icon strip always ends at x = 36 of the menu.
void PaintEditMenuItem(Canvas &canvas, const TEditMenuItem &item, const QString &shortcut, const TGWImageList *images,
                       bool selected, const Rect &r, const TPageColours &pc, const QFont &font);

class TPopMenuEdit : public QMenu {
    Q_OBJECT
public:
    static constexpr int kItemWidth = 180;
    static constexpr int kItemHeight = 24;

    // Opens on the recipe editor's context-menu request.
    TPopMenuEdit(TPageHost &host, TRecipePage &recipe, QWidget *parent);

    std::array<QAction *, 5> PME{}; // PME01 .. PME05, Tags 1 to 5

    // Sets the items' enabled states; run just before the menu shows.
    void PopMenuEditPopup();
    void PMEClick(QAction *item);

    // The item drawn for an action of this menu.
    TEditMenuItem itemOf(const QAction *action) const;
    static QString ShortcutText(int tag);

    TPageHost &host() const { return m_host; }

private:
    TPageHost &m_host;
    TRecipePage &m_recipe;
};

} // namespace vomra
