#pragma once
// The painters of the page title bar and the page backgrounds. They take every
// colour and position they need as arguments; the main window binds them to the
// OnDrawBackground events of its owner-painted panels.

#include "pagekit/core/PageColours.h"
#include "widgets/Canvas.h"

#include <QFont>
#include <QString>

namespace vomra {

class TGWImageList;

// The title of a page (0 to 4) as the title bar shows it; empty for any other value.
QString PageTitle(int page);

// The title bar: gradients and band by page, the page icon of ImageList2 at (6, 5)
// and the title with its shadow. editorColour is the recipe editor's colour on
// page 4, the art font editor's on pages 0 to 2. Pages outside 0..4 paint nothing.
void pnlTitleBarDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, int currentPage,
                               TColor editorColour, const TGWImageList *imageList2, const QFont &titleFont);

// Pages 0 and 1: the fading line above the editor and the separator beside the
// 162-pixel option column.
void pnlArtFontDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour, int editorTop);
// Page 2: the same decorations beside the 126-pixel option column.
void pnlPenDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour, int editorTop);
// Page 4: the editor-coloured area above the editor and the fading line.
void pnlRecipeDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour, int editorTop);
// Page 4's left strip: five gradient columns falling to the right.
void recipePanel1DrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, TColor editorColour);
// Page 3: the vertical gradient left of the theme list.
void pnlThemeDrawBackground(Canvas &c, const Rect &r, const TPageColours &pc, int listLeft);

} // namespace vomra
