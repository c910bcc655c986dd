#pragma once
// Small builders shared by the pages.

#include <QString>

class QWidget;
class QPlainTextEdit;

namespace vomra {

class TGWImageLabel;
class TGWImageList;

// A 28 x 26 tool label: hand cursor, hint as tooltip, images from a 24 x 24 list
// whose tools are triples (normal, mouse over, pressed).
TGWImageLabel *makeToolLabel(QWidget *parent, const QString &name, int tag, const QString &hint,
                             TGWImageList *images, int firstImage, int left, int top);

// A plain text view as the pages use it: no border, no wrap, both scroll bars.
QPlainTextEdit *makeTextView(QWidget *parent, const QString &name);

// Copies the selection, or everything with the caret put back where it was.
void copyAllOrSelection(QPlainTextEdit *edit);

// True when the clipboard holds text.
bool clipboardHasText();

} // namespace vomra
