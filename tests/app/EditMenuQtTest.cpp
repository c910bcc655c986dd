// The recipe editor's context menu: enabled states, actions and painted items.
#include "app/EditMenu.h"
#include "app/Main.h"
#include "artwork/Artwork.h"
#include "platform/FontSetup.h"
#include "recipe/ui/RecipePage.h"
#include "support/MainWindowFixture.h"
#include "support/ImageCheck.h"
#include "support/TempFolder.h"
#include "pagekit/core/PageColours.h"
#include "widgets/ImageList.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <memory>

using namespace vomra;
using vomra::test::pixelAt;
using vomra::test::TempFolder;

namespace {

const TColor kStrip = RGB(202, 198, 190);
const TColor kBand = RGB(212, 208, 200);

QFont menuFont()
{
    QFont f(songFamily());
    f.setPixelSize(14);
    return f;
}

int red(TColor c)
{
    return static_cast<int>(c & 0xFF);
}
int green(TColor c)
{
    return static_cast<int>((c >> 8) & 0xFF);
}
int blue(TColor c)
{
    return static_cast<int>((c >> 16) & 0xFF);
}
bool isInk(TColor c)
{
    return red(c) < 100 && green(c) < 100 && blue(c) < 100;
}

// The leftmost and rightmost columns in [x0, x1) holding a pixel for which pred holds.
template <typename Pred> std::pair<int, int> columns(const QImage &img, int x0, int x1, Pred pred)
{
    int lo = -1;
    int hi = -1;
    for (int x = x0; x < x1; ++x)
        for (int y = 0; y < img.height(); ++y)
            if (pred(pixelAt(img, x, y))) {
                if (lo < 0)
                    lo = x;
                hi = x;
            }
    return {lo, hi};
}

QImage paintItem(const TEditMenuItem &item, const QString &shortcut, bool selected, const TGWImageList *images)
{
    QImage img = test::blankImage(180, 24);
    QPainter p(&img);
    Canvas c(p);
    PaintEditMenuItem(c, item, shortcut, images, selected, {0, 0, 180, 24}, BuiltInPageColours(), menuFont());
    return img;
}

// An opaque pixel of the picture: where it lands tells where the picture went.
QPoint opaquePixel(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (qAlpha(picture.pixel(x, y)) == 255 && picture.pixelColor(x, y) != QColor(Qt::white))
                return {x, y};
    return {-1, -1};
}

} // namespace

TEST(EditMenuPainter, ClassicLookItems)
{
    std::unique_ptr<TGWImageList> images(createImageList1());
    const TEditMenuItem cut{QStringLiteral("剪切(&T)"), true, il1Cut, true};
    TEditMenuItem cutOff = cut;
    cutOff.enabled = false;

    const QImage plain = paintItem(cut, QStringLiteral("Ctrl+X"), false, images.get());
    // The strip to x 36, then the band fading from the title colour towards light gray.
    EXPECT_EQ(pixelAt(plain, 0, 0), kStrip);
    EXPECT_EQ(pixelAt(plain, 35, 23), kStrip);
    EXPECT_EQ(pixelAt(plain, 36, 0), kBand);
    const TColor end = pixelAt(plain, 179, 0);
    EXPECT_GT(red(end), 225);
    EXPECT_LT(red(end), 230);

    const QImage hot = paintItem(cut, QStringLiteral("Ctrl+X"), true, images.get());
    EXPECT_EQ(pixelAt(hot, 36, 0), kBand);
    EXPECT_EQ(pixelAt(hot, 179, 0), kBand); // the band is covered
    EXPECT_EQ(pixelAt(hot, 0, 0), kStrip);

    // Caption and shortcut move 4 pixels right on a selected enabled item.
    const auto caption = columns(plain, 37, 110, isInk);
    const auto hotCaption = columns(hot, 37, 110, isInk);
    EXPECT_GE(caption.first, 40);
    EXPECT_EQ(hotCaption.first, caption.first + 4);
    const auto shortcut = columns(plain, 110, 180, isInk);
    EXPECT_LE(shortcut.second, 180 - 16 - 1);
    EXPECT_GE(shortcut.second, 180 - 16 - 3);
    EXPECT_EQ(columns(hot, 110, 180, isInk).second, shortcut.second + 4);

    // The coloured picture at (6, 2), or (10, 2) when selected.
    const QImage coloured = images->image(il1Cut + 1);
    const QPoint at = opaquePixel(coloured);
    ASSERT_GE(at.x(), 0);
    const TColor want = Canvas::tcolor(coloured.pixelColor(at));
    EXPECT_EQ(pixelAt(plain, 6 + at.x(), 2 + at.y()), want);
    EXPECT_EQ(pixelAt(hot, 10 + at.x(), 2 + at.y()), want);

    // Disabled: grey picture, caption in the strip colour, nothing shifted when selected.
    for (bool selected : {false, true}) {
        const QImage off = paintItem(cutOff, QStringLiteral("Ctrl+X"), selected, images.get());
        EXPECT_EQ(columns(off, 37, 180, isInk).first, -1) << selected;
        EXPECT_EQ(columns(off, 37, 110, [](TColor c) { return c == kStrip; }).first, caption.first) << selected;
        const QImage grey = images->image(il1Cut);
        const QPoint g = opaquePixel(grey);
        EXPECT_EQ(pixelAt(off, 6 + g.x(), 2 + g.y()), Canvas::tcolor(grey.pixelColor(g))) << selected;
    }

    // The delete item has no shortcut text.
    const TEditMenuItem del{QStringLiteral("删除(&D)"), true, il1Delete, false};
    EXPECT_EQ(columns(paintItem(del, QString(), false, images.get()), 110, 180, isInk).first, -1);
}

class EditMenuTest : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        openWindow();
    }
    TPopMenuEdit &menu() const { return *frm->PopMenuEdit; }
    QPlainTextEdit *editor() const { return frm->recipe->recipeRichEdit1; }
    std::vector<bool> states() const
    {
        std::vector<bool> out;
        for (QAction *a : menu().PME)
            out.push_back(a->isEnabled());
        return out;
    }
};

TEST_F(EditMenuTest, EnabledStatesAtOpening)
{
    struct Row {
        const char *name;
        bool readOnly;
        bool selection;
        bool clipboardText;
        std::vector<bool> want; // cut, copy, paste, delete, select all
    };
    const Row rows[] = {
        {"writable, nothing selected, empty clipboard", false, false, false, {false, false, false, false, true}},
        {"writable, nothing selected, text on clipboard", false, false, true, {false, false, true, false, true}},
        {"writable with a selection", false, true, true, {true, true, true, true, true}},
        {"read-only with a selection", true, true, true, {false, true, false, false, true}},
        {"read-only, nothing selected", true, false, true, {false, false, false, false, true}},
    };
    for (const Row &row : rows) {
        editor()->setReadOnly(row.readOnly);
        editor()->setPlainText(QStringLiteral("abc"));
        if (row.selection)
            editor()->selectAll();
        if (row.clipboardText)
            QApplication::clipboard()->setText(QStringLiteral("x"));
        else
            QApplication::clipboard()->clear();
        menu().PopMenuEditPopup();
        EXPECT_EQ(states(), row.want) << row.name;
    }
}

TEST_F(EditMenuTest, ItemsActOnTheRecipeEditor)
{
    const char *captions[] = {"剪切(&T)", "复制(&C)", "粘贴(&P)", "删除(&D)", "全选(&S)"};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(menu().PME[static_cast<std::size_t>(i)]->text(), QString::fromUtf8(captions[i]));
        EXPECT_EQ(menu().PME[static_cast<std::size_t>(i)]->objectName(), QStringLiteral("PME0%1").arg(i + 1));
    }
    EXPECT_EQ(menu().defaultAction(), menu().PME[3]);

    editor()->setPlainText(QStringLiteral("abcdef"));
    menu().PMEClick(menu().PME[4]);
    EXPECT_EQ(editor()->textCursor().selectedText(), QStringLiteral("abcdef"));
    QTextCursor c = editor()->textCursor();
    c.setPosition(1);
    c.setPosition(3, QTextCursor::KeepAnchor);
    editor()->setTextCursor(c);
    menu().PMEClick(menu().PME[3]);
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("adef"));
    editor()->selectAll();
    menu().PMEClick(menu().PME[0]);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("adef"));
    menu().PMEClick(menu().PME[2]);
    menu().PMEClick(menu().PME[2]);
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("adefadef"));
}

TEST_F(EditMenuTest, RealMenuItemsAreOwnerDrawn)
{
    editor()->setPlainText(QStringLiteral("abc"));
    menu().PopMenuEditPopup();
    menu().adjustSize();
    for (QAction *a : menu().PME)
        EXPECT_EQ(menu().actionGeometry(a).height(), TPopMenuEdit::kItemHeight);
    const QRect first = menu().actionGeometry(menu().PME[0]);
    EXPECT_GE(first.width(), TPopMenuEdit::kItemWidth);
    const QImage shot = menu().grab().toImage();
    EXPECT_EQ(pixelAt(shot, first.left() + 1, first.top() + 1), kStrip);
    EXPECT_EQ(pixelAt(shot, 37, first.top()), kBand);
    // Only the recipe editor has a context menu.
    EXPECT_EQ(editor()->contextMenuPolicy(), Qt::CustomContextMenu);
    for (const char *other : {"artfontRichEdit1", "penRichEdit1"})
        EXPECT_EQ(frm->findChild<QPlainTextEdit *>(QString::fromLatin1(other))->contextMenuPolicy(), Qt::NoContextMenu)
            << other;
}
