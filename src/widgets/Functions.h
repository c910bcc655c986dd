#pragma once
// Free-standing painting helpers every painter uses: gradients and text that
// understands the accelerator marker "&" (the character after it is underlined).

#include "widgets/Canvas.h"

#include <QList>
#include <QString>

namespace vomra {

// One line per column (left to right) or row, the end colour never reached.
void FillGradient(Canvas &canvas, const Rect &rect, TColor startColor, TColor endColor, bool leftToRight);
// Equal segments between consecutive colours, the last one running to the edge.
void FillGradientStops(Canvas &canvas, const Rect &rect, const QList<TColor> &colors, bool leftToRight);

// The extent of the text as DrawAccelText draws it.
QSize AccelTextExtent(const Canvas &canvas, const QString &text);
void DrawAccelText(Canvas &canvas, int x, int y, const QString &text);
// horz: 0 left, 1 centre, 2 right; vert: 0 top, 1 centre, 2 bottom; others count as 0.
void DrawAccelTextAligned(Canvas &canvas, const Rect &rect, const QString &text, int horz, int vert);
// Lines separated by carriage returns, lineSpacing pixels apart, aligned as a block.
void DrawTextBlock(Canvas &canvas, const Rect &rect, const QString &text, int lineSpacing, int horz, int vert);

} // namespace vomra
