#include "app/EditMenu.h"

#include "artwork/Artwork.h"
#include "pagekit/PageHost.h"
#include "pagekit/PageKit.h"
#include "recipe/ui/RecipePage.h"
#include "widgets/Functions.h"
#include "widgets/ImageList.h"

#include <QProxyStyle>
#include <QStyleOptionMenuItem>
#include <QPlainTextEdit>

namespace vomra {

namespace {

struct ItemDef {
    const char *name;
    const char *caption;
    int image;
};
const ItemDef kItems[5] = {
    {"PME01", "剪切(&T)", il1Cut},    {"PME02", "复制(&C)", il1Copy},      {"PME03", "粘贴(&P)", il1Paste},
    {"PME04", "删除(&D)", il1Delete}, {"PME05", "全选(&S)", il1SelectAll},
};

// An item's data holds its Tag.
int tagOf(const QAction *action)
{
    return action ? action->data().toInt() : 0;
}

// Sizes and paints the items of the edit menu; everything else is the base style's.
class TEditMenuStyle : public QProxyStyle {
public:
    explicit TEditMenuStyle(TPopMenuEdit &menu) : m_menu(menu) {}

    QSize sizeFromContents(ContentsType type, const QStyleOption *option, const QSize &size,
                           const QWidget *widget) const override
    {
        if (type == CT_MenuItem && widget == &m_menu) // PMEMeasureItem
            return {TPopMenuEdit::kItemWidth, TPopMenuEdit::kItemHeight};
        return QProxyStyle::sizeFromContents(type, option, size, widget);
    }

    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override
    {
        if (element != CE_MenuItem || widget != &m_menu) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        // PMEDrawItem
        const QAction *action = m_menu.actionAt(option->rect.center());
        if (!action)
            return;
        const bool selected = option->state & State_Selected;
        Canvas canvas(*painter);
        PaintEditMenuItem(canvas, m_menu.itemOf(action), TPopMenuEdit::ShortcutText(tagOf(action)),
                          m_menu.host().imageList(1), selected, rectOf(option->rect),
                          m_menu.host().PageColours(), m_menu.host().windowFont());
    }

private:
    TPopMenuEdit &m_menu;
};

} // namespace

void PaintEditMenuItem(Canvas &canvas, const TEditMenuItem &item, const QString &shortcut, const TGWImageList *images,
                       bool selected, const Rect &r, const TPageColours &pc, const QFont &font)
{
    canvas.setBrushStyle(BrushStyle::Solid);
    canvas.setPenStyle(PenStyle::Solid);
    canvas.setBrushColor(pc.TitleLeftColor);
    canvas.setPenColor(pc.TitleLeftColor);
    canvas.rectangle({r.left, r.top, 36, r.bottom});
    FillGradient(canvas, {r.left + 36, r.top, r.right, r.bottom}, pc.TitleRightColor, RGB(230, 230, 230), true);
    canvas.setFont(font);

    int shift = 0;
    int image = item.imageIndex;
    if (selected) {
        canvas.setBrushColor(pc.TitleRightColor);
        canvas.setPenColor(pc.TitleRightColor);
        canvas.rectangle({r.left + 36, r.top, r.right, r.bottom});
        if (item.enabled)
            shift = 4; // a selected enabled item moves right of the strip
    }
    if (item.enabled && image >= 0)
        ++image;
    if (images && item.imageIndex >= 0)
        images->Draw(canvas, r.left + 6 + shift, r.top + 2, image);
    canvas.setBrushStyle(BrushStyle::Clear);
    canvas.setFontColor(item.enabled ? pc.LeftFontColor : pc.TitleLeftColor);
    DrawAccelText(canvas, r.left + 40 + shift, r.top + 4, item.caption);
    if (item.hasShortcut)
        canvas.textOut(r.right - canvas.textWidth(shortcut) - 16 + shift, r.top + 4, shortcut);
}

TPopMenuEdit::TPopMenuEdit(TPageHost &host, TRecipePage &recipe, QWidget *parent)
    : QMenu(parent), m_host(host), m_recipe(recipe)
{
    setObjectName(QStringLiteral("PopMenuEdit"));
    auto *style = new TEditMenuStyle(*this);
    style->setParent(this);
    setStyle(style);
    for (int i = 0; i < 5; ++i) {
        QAction *action = addAction(QString::fromUtf8(kItems[i].caption));
        action->setObjectName(QString::fromLatin1(kItems[i].name));
        action->setData(i + 1);
        PME[static_cast<std::size_t>(i)] = action;
    }
    setDefaultAction(PME[3]);
    connect(this, &QMenu::triggered, this, [this](QAction *action) { PMEClick(action); });

    QPlainTextEdit *edit = recipe.recipeRichEdit1;
    connect(edit, &QWidget::customContextMenuRequested, this, [this, edit](const QPoint &pos) {
        PopMenuEditPopup();
        popup(edit->viewport()->mapToGlobal(pos));
    });
}

QString TPopMenuEdit::ShortcutText(int tag)
{
    switch (tag) {
    case 1:
        return QStringLiteral("Ctrl+X");
    case 2:
        return QStringLiteral("Ctrl+C");
    case 3:
        return QStringLiteral("Ctrl+V");
    case 5:
        return QStringLiteral("Ctrl+A");
    default:
        return {};
    }
}

TEditMenuItem TPopMenuEdit::itemOf(const QAction *action) const
{
    const int tag = tagOf(action);
    TEditMenuItem item;
    item.caption = action->text();
    item.enabled = action->isEnabled();
    item.imageIndex = tag >= 1 && tag <= 5 ? kItems[tag - 1].image : -1;
    item.hasShortcut = !ShortcutText(tag).isEmpty();
    return item;
}

void TPopMenuEdit::PopMenuEditPopup()
{
    // While a big text goes in the editor takes no edits: the items say so.
    const QPlainTextEdit *edit = m_recipe.recipeRichEdit1;
    const bool selected = edit->textCursor().hasSelection();
    const bool writable = !edit->isReadOnly();
    PME[0]->setEnabled(selected && writable);
    PME[1]->setEnabled(selected);
    PME[3]->setEnabled(selected && writable);
    PME[2]->setEnabled(clipboardHasText() && writable);
    PME[4]->setEnabled(true);
}

void TPopMenuEdit::PMEClick(QAction *item)
{
    QPlainTextEdit *edit = m_recipe.recipeRichEdit1;
    if (m_recipe.Loading() && tagOf(item) != 2) { // copying what is shown is safe; the rest waits
        m_recipe.whenLoaded([this, item] { PMEClick(item); });
        return;
    }
    switch (tagOf(item)) {
    case 1:
        edit->cut();
        break;
    case 2:
        m_recipe.CopyRecipeText();
        break;
    case 3:
        edit->paste();
        break;
    case 4:
        edit->textCursor().removeSelectedText();
        break;
    case 5:
        edit->selectAll();
        break;
    default:
        break;
    }
}

} // namespace vomra
