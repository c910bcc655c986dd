// Painting the recipe editor where short lines share blocks: as Qt's plain
// view paints, a selected block a line at a time, with the marks of line ends
// and item gaps that separate blocks would have had.
#include "recipe/ui/LinesLayout.h"
#include "recipe/ui/RecipeEdit.h"

#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QTextDocument>

namespace vomra {

namespace {

// The mark a selection running over a block end gets a quarter of the line's
// height past the line, drawn as the view draws it.
void markBlockEnd(QPainter *painter, const QRectF &lineRect, const QTextLayout::FormatRange &range, const QRect &clip)
{
    QPainterPath region;
    region.setFillRule(Qt::WindingFill);
    region.addRect(QRectF(lineRect.right(), lineRect.top(), lineRect.height() / 4, lineRect.height()) & QRectF(clip));
    painter->save();
    painter->setPen(range.format.penProperty(QTextFormat::OutlinePen));
    painter->setBrush(range.format.brushProperty(QTextFormat::BackgroundBrush));
    painter->drawPath(region);
    painter->restore();
}

bool runsOver(const QTextLayout::FormatRange &range, int end)
{
    return !range.format.boolProperty(QTextFormat::FullWidthSelection) && range.start <= end &&
           range.start + range.length > end;
}

} // namespace

void TRecipeEdit::paintEvent(QPaintEvent *event)
{
    if (!linesGrouped()) {
        TPlainCopyPlainTextEdit::paintEvent(event);
        return;
    }
    // The view's own painting, block by block, except that a grouped block with
    // a selection is drawn a line at a time: the layout cuts the text drawn
    // beside a selection out of one shape for the whole block, whose seams
    // would show in the glyphs of neighbouring lines.
    QPainter painter(viewport());
    QPointF offset = contentOffset();
    QRect clip = event->rect();
    const QRect viewportRect = viewport()->rect();
    const bool editable = !isReadOnly();
    const qreal maximumWidth = document()->documentLayout()->documentSize().width();
    painter.setBrushOrigin(offset);
    const int maxX = static_cast<int>(offset.x() + std::max<qreal>(viewportRect.width(), maximumWidth) -
                                      document()->documentMargin() + cursorWidth());
    clip.setRight(std::min(clip.right(), maxX));
    painter.setClipRect(clip);
    const QAbstractTextDocumentLayout::PaintContext context = getPaintContext();
    painter.setPen(context.palette.text().color());
    QTextBlock block = firstVisibleBlock();
    for (; block.isValid(); block = block.next()) {
        const QRectF r = blockBoundingRect(block).translated(offset);
        if (block.isVisible() && r.bottom() >= clip.top() && r.top() <= clip.bottom()) {
            QTextLayout *layout = block.layout();
            const int blockStart = block.position();
            QList<QTextLayout::FormatRange> selections;
            for (const auto &range : context.selections) {
                const int from = range.cursor.selectionStart() - blockStart;
                const int to = range.cursor.selectionEnd() - blockStart;
                if (from < block.length() && to > 0 && to > from)
                    selections.append({from, to - from, range.format});
            }
            if (selections.isEmpty() || layout->lineCount() < 2)
                layout->draw(&painter, offset, selections, clip);
            else
                drawLinesApart(&painter, block, offset, selections, clip);
            if (!selections.isEmpty())
                markGaps(&painter, block, offset, selections, clip);
            const bool drawCursor = (editable || (textInteractionFlags() & Qt::TextSelectableByKeyboard)) &&
                                    context.cursorPosition >= blockStart &&
                                    context.cursorPosition < blockStart + block.length();
            // Text being composed in an input method has a caret of its own.
            const bool composing = editable && context.cursorPosition < -1 && !layout->preeditAreaText().isEmpty();
            if (drawCursor || composing) {
                const int at = context.cursorPosition < -1
                                   ? layout->preeditAreaPosition() - (context.cursorPosition + 2)
                                   : context.cursorPosition - blockStart;
                layout->drawCursor(&painter, offset, at, cursorWidth());
            }
        }
        offset.ry() += r.height();
        if (offset.y() > viewportRect.height())
            break;
    }
    if (backgroundVisible() && !block.isValid() && offset.y() <= clip.bottom() &&
        (centerOnScroll() || verticalScrollBar()->maximum() == verticalScrollBar()->minimum()))
        painter.fillRect(QRect(QPoint(clip.left(), static_cast<int>(offset.y())), clip.bottomRight()),
                         palette().window());
}

void TRecipeEdit::drawLinesApart(QPainter *painter, const QTextBlock &block, QPointF offset,
                                 const QList<QTextLayout::FormatRange> &selections, const QRect &clip)
{
    QTextLayout *layout = block.layout();
    const QString text = block.text();
    const int count = layout->lineCount();
    constexpr qreal kAway = 1e6;
    QList<QPointF> ys;
    for (int i = 0; i < count; ++i)
        ys.append(layout->lineAt(i).position());
    for (int first = 0; first < count;) {
        // The wrapped lines of one text line, up to its separator.
        int last = first;
        while (last + 1 < count && !endsWithSeparator(text, layout->lineAt(last + 1)))
            ++last;
        const QTextLine top = layout->lineAt(first);
        const QTextLine bottom = layout->lineAt(last);
        const int start = top.textStart();
        const int end = bottom.textStart() + bottom.textLength();
        const bool selected = std::any_of(selections.begin(), selections.end(), [&](const auto &range) {
            return range.start < end && range.start + range.length >= start;
        });
        // The layout draws the line before the clip and the one after it too:
        // the other lines are moved out of the way while this one is drawn, and
        // text beside a selection keeps to the band as a block's would.
        for (int i = 0; i < count; ++i) {
            if (i < first || i > last)
                layout->lineAt(i).setPosition(QPointF(ys[i].x(), i < first ? -kAway : kAway));
        }
        painter->save();
        if (selected)
            painter->setClipRect(
                QRectF(clip.left(), offset.y() + top.y(), clip.width(), bottom.y() + bottom.height() - top.y()),
                Qt::IntersectClip);
        layout->draw(painter, offset, selections, clip);
        painter->restore();
        for (int i = 0; i < count; ++i)
            layout->lineAt(i).setPosition(ys[i]);
        // A block end inside a selection is marked a quarter of the line's height
        // past the line; the separator standing for one is marked the same way.
        if (last + 1 < count &&
            !(document()->defaultTextOption().flags() & QTextOption::ShowLineAndParagraphSeparators)) {
            for (const QTextLayout::FormatRange &range : selections) {
                if (range.format.boolProperty(QTextFormat::FullWidthSelection) ||
                    bottom.textStart() > range.start + range.length || range.start >= end ||
                    range.start + range.length < end)
                    continue;
                markBlockEnd(painter, bottom.naturalTextRect().translated(offset), range, clip);
            }
        }
        first = last + 1;
    }
}

void TRecipeEdit::markGaps(QPainter *painter, const QTextBlock &block, QPointF offset,
                           const QList<QTextLayout::FormatRange> &selections, const QRect &clip)
{
    const auto *lines = dynamic_cast<const TLinesLayout *>(document()->documentLayout());
    if (!lines || lines->lineGap <= 0 ||
        document()->defaultTextOption().flags() & QTextOption::ShowLineAndParagraphSeparators)
        return;
    // Each line end of an item had an empty gap block under it: where a selection
    // runs over the line end, it ran over that block's end as well.
    const QTextLayout *layout = block.layout();
    const QString text = block.text();
    bool first = true; // the block's first text line
    for (int i = 0; i < layout->lineCount(); ++i) {
        const QTextLine line = layout->lineAt(i);
        const int end = line.textStart() + line.textLength() - (i + 1 < layout->lineCount() ? 1 : 0);
        const bool lineEnd =
            i + 1 == layout->lineCount() ? block.next().isValid() : endsWithSeparator(text, layout->lineAt(i + 1));
        if (!lineEnd)
            continue;
        const QRectF gap = lines->gapLine(block, first).translated(offset.x(), offset.y() + line.y() + line.height());
        first = false;
        for (const QTextLayout::FormatRange &range : selections) {
            if (runsOver(range, end))
                markBlockEnd(painter, gap, range, clip);
        }
    }
}

} // namespace vomra
