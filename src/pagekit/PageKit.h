#pragma once
// Small builders shared by the pages.

#include "base/TextLines.h"
#include "widgets/core/Color.h"

#include <QPalette>
#include <QString>

#include <array>
#include <functional>
#include <span>

class QObject;
class QWidget;
class QPlainTextEdit;

namespace vomra {

class TGWImageLabel;
class TGWImageList;
class TGWPanel;

// A 28 x 26 tool label: hand cursor, hint as tooltip, images from a 24 x 24 list
// whose tools are triples (normal, mouse over, pressed).
TGWImageLabel *makeToolLabel(QWidget *parent, const QString &name, int tag, const QString &hint,
                             TGWImageList *images, int firstImage, int left, int top);

// One label of a page's tool bar: its hint and the first of its three images.
struct ToolDef {
    const char *hint;
    int image;
};

// A row of tool labels named prefix + 1..N with Tags 1..N, 32 pixels apart from
// (left, top), all bound to one click handler; written into `labels`.
void makeToolBar(QWidget *parent, const QString &prefix, std::span<const ToolDef> tools, TGWImageList *images,
                 int left, int top, const std::function<void(QObject *)> &onClick, std::span<TGWImageLabel *> labels);

// The 39 double-byte symbols offered by the character lists of the pages.
extern const std::array<const char *, 39> kSymbolChoices;

// A page's column at its left edge: a panel without bevel, `width` wide and as
// high as the page.
TGWPanel *makeColumnPanel(QWidget *page, const QString &name, int width);

// A plain text view as the pages use it: no border, no wrap, both scroll bars.
QPlainTextEdit *makeTextView(QWidget *parent, const QString &name);

// A text view's text as GBK lines; a last line end closes the last line rather
// than opening an empty one. *lossy tells whether a character had no GBK form.
Lines viewLines(const QPlainTextEdit &view, bool *lossy = nullptr);
// Shows the lines; the caret goes to the very start, with nothing selected.
void setViewLines(QPlainTextEdit &view, const Lines &lines);

// Copies the selection, or everything with the caret put back where it was.
void copyAllOrSelection(QPlainTextEdit *edit);

// True when the clipboard holds text.
bool clipboardHasText();

// Sets one colour of a widget's palette.
void setPaletteColour(QWidget *w, QPalette::ColorRole role, TColor c);

} // namespace vomra
