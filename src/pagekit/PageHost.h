#pragma once
// What a page needs of the window that holds it. The main window implements this;
// pages see only this interface, so they never include the main window.

#include <string>

class QFont;
class QTreeWidget;
class QWidget;

namespace vomra {

class TGWImageList;
struct TPageColours;

// Pages by the current page number.
enum TPage : int { pgArtFont = 0, pgPicture = 1, pgPen = 2, pgTheme = 3, pgRecipe = 4 };

class TPageHost {
public:
    virtual ~TPageHost() = default;

    // The window dialogs and message boxes belong to.
    virtual QWidget *hostWindow() = 0;
    // The panel a page builds its controls on: pnlArtFont (pages 0 and 1), pnlPen,
    // pnlTheme or pnlRecipe.
    virtual QWidget *pagePanel(TPage page) = 0;
    // The main window's font ("宋体", 14 pixels); the text views start with it.
    virtual QFont windowFont() const = 0;

    // Where QOBR.Ini, the themes and the recipe folders live, with a trailing "/":
    // bytes, as the file system names it (not necessarily UTF-8).
    virtual const std::string &programFolder() const = 0;

    virtual int CurrentPage() const = 0;
    // Sets the page and runs the page switch when it differs from the current one.
    virtual void SetCurrentPage(int page) = 0;

    // The point size shared by the text views of three pages (2 to 22), and the
    // step behind their "字体型号减小"/"字体型号增大" labels.
    virtual int FontSize() const = 0;
    virtual void FontSizeStep(int delta) = 0;

    virtual const TPageColours &PageColours() const = 0;

    // ImageList1 (20 x 20: tree, menu and edit-menu pictures), ImageList2 (48 x 48
    // page pictures) and ImageList3 (24 x 24 tool pictures).
    virtual TGWImageList *imageList(int n) = 0;

    // The recipe tree in the left column (TreeView1).
    virtual QTreeWidget *recipeTree() = 0;

};

} // namespace vomra
