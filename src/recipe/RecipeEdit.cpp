#include "recipe/RecipeEdit.h"

#include "recipe/ItemDocument.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace vomra {

namespace {

// Whether a long line goes on in the next block.
bool endsSoftly(const QTextBlock &block)
{
    const QString text = block.text();
    if (!text.endsWith(QChar(TRecipeEdit::kSoftMark)))
        return false;
    QTextBlock::iterator last;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
        last = it;
    return last.fragment().charFormat().boolProperty(TRecipeEdit::kOwnMarkProperty);
}

bool endsWithSeparator(const QString &text, const QTextLine &next)
{
    const int at = next.textStart() - 1;
    return at >= 0 && at < text.size() && text.at(at) == QChar(QChar::LineSeparator);
}

// The plain layout, which in a grouped text moves the lines after each line
// separator to where a block of their own would start: a block is as tall as
// its lines rounded up, while inside a block a negative leading packs lines
// closer. The wrapped lines of one text line keep the plain layout's spacing.
class TLinesLayout : public QPlainTextDocumentLayout {
public:
    using QPlainTextDocumentLayout::QPlainTextDocumentLayout;
    bool grouped = false;
    // In a grouped item, the gap blocks that each line used to have under it:
    // their heights and their empty lines (under the name, under the others).
    qreal nameGap = 0;
    qreal lineGap = 0;
    QRectF nameGapLine;
    QRectF lineGapLine;

    // The gap under a text line of block that ends at end (a line separator or
    // the block end), the block's first line or not; none under the last line.
    qreal gapAfter(const QTextBlock &block, int end, bool first) const
    {
        if (lineGap <= 0 || (end == block.length() - 1 && !block.next().isValid()))
            return 0;
        return first && block.position() == 0 ? nameGap : lineGap;
    }
    QRectF gapLine(const QTextBlock &block, bool first) const
    {
        return first && block.position() == 0 ? nameGapLine : lineGapLine;
    }

    QRectF blockBoundingRect(const QTextBlock &block) const override
    {
        if (grouped && block.isValid()) {
            ensureBlockLayout(block);
            placeLines(block);
        }
        QRectF br = QPlainTextDocumentLayout::blockBoundingRect(block);
        if (grouped && lineGap > 0 && block.isValid()) {
            const bool oneLine = block.position() != 0 || !block.text().contains(QChar(QChar::LineSeparator));
            br.setHeight(br.height() + gapAfter(block, block.length() - 1, oneLine));
        }
        return br;
    }

private:
    void placeLines(const QTextBlock &block) const
    {
        QTextLayout *layout = block.layout();
        const int count = layout->lineCount();
        if (count < 2)
            return;
        const QString text = block.text();
        qreal top = 0;    // where the current text line starts
        qreal inside = 0; // how far down it the plain layout puts the next line
        qreal bottom = 0;
        for (int i = 0; i < count; ++i) {
            QTextLine line = layout->lineAt(i);
            if (i > 0 && endsWithSeparator(text, line)) {
                top = bottom + gapAfter(block, line.textStart() - 1, top == 0);
                inside = 0;
            }
            const qreal y = top + inside;
            if (line.y() != y)
                line.setPosition(QPointF(line.x(), y));
            bottom = std::max(bottom, y + line.height());
            inside += line.height();
            if (line.leading() < 0)
                inside += std::ceil(line.leading());
        }
    }
};

} // namespace

QTextDocument *TRecipeEdit::newDocument(QObject *parent)
{
    auto *doc = new QTextDocument(parent);
    doc->setDocumentLayout(new TLinesLayout(doc));
    return doc;
}

void TRecipeEdit::makePlain(QTextDocument *doc)
{
    if (!dynamic_cast<TLinesLayout *>(doc->documentLayout()))
        doc->setDocumentLayout(new TLinesLayout(doc));
}

void TRecipeEdit::setLinesGrouped(bool grouped)
{
    // The view holds on to its document's layout: only a layout of this editor's
    // kind (every document put in by the page has one) takes the mark.
    if (auto *layout = dynamic_cast<TLinesLayout *>(document()->documentLayout()))
        layout->grouped = grouped;
}

void TRecipeEdit::setItemLinesGrouped(int pixelSize)
{
    auto *layout = dynamic_cast<TLinesLayout *>(document()->documentLayout());
    if (!layout)
        return;
    // The gaps measured as the item's own blocks would have them.
    QTextDocument probe;
    probe.setDocumentLayout(new QPlainTextDocumentLayout(&probe));
    probe.setDefaultFont(document()->defaultFont());
    QTextCursor cursor(&probe);
    AppendItemLines(cursor, PackedLines(std::vector<std::string>(3, "x")), 0, 3, pixelSize);
    const auto measure = [&](int number, qreal *height, QRectF *line) {
        const QTextBlock gap = probe.findBlockByNumber(number);
        *height = probe.documentLayout()->blockBoundingRect(gap).height();
        *line = gap.layout()->lineAt(0).naturalTextRect();
    };
    measure(1, &layout->nameGap, &layout->nameGapLine);
    measure(3, &layout->lineGap, &layout->lineGapLine);
    layout->grouped = true;
}

bool TRecipeEdit::linesGrouped() const
{
    const auto *layout = dynamic_cast<const TLinesLayout *>(document()->documentLayout());
    return layout && layout->grouped;
}

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

void TRecipeEdit::insertWithSoftBreaks(QTextCursor &cursor, const QString &text, const std::vector<int> &breaks)
{
    if (breaks.empty()) {
        cursor.insertText(text);
        return;
    }
    QString withBreaks;
    withBreaks.reserve(text.size() + 2 * qsizetype(breaks.size()));
    int from = 0;
    for (const int at : breaks) {
        withBreaks.append(QStringView(text).mid(from, at - from)).append(QChar(kSoftMark)).append(QLatin1Char('\n'));
        from = at;
    }
    withBreaks.append(QStringView(text).mid(from));
    // One change for the view to hear of; then the marks are made the editor's own.
    cursor.beginEditBlock();
    const int start = cursor.position();
    cursor.insertText(withBreaks);
    const int end = cursor.position();
    QTextCharFormat mark;
    mark.setProperty(kOwnMarkProperty, true);
    QTextCursor marks(cursor.document());
    for (std::size_t k = 0; k < breaks.size(); ++k) {
        const int at = start + breaks[k] + 2 * static_cast<int>(k); // each break before it added two
        marks.setPosition(at);
        marks.setPosition(at + 1, QTextCursor::KeepAnchor);
        marks.mergeCharFormat(mark);
    }
    cursor.setPosition(end);
    cursor.endEditBlock();
}

void TRecipeEdit::setRecipeText(const QString &text, const std::vector<int> &breaks)
{
    if (breaks.empty()) {
        setPlainText(text);
        return;
    }
    setPlainText(QString());
    QTextDocument *doc = document();
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    insertWithSoftBreaks(cursor, text, breaks);
    doc->setUndoRedoEnabled(true);
    doc->setModified(false);
    moveCursor(QTextCursor::Start);
}

QString TRecipeEdit::textBetween(const QTextDocument *doc, int from, int to, bool raw)
{
    QString out;
    out.reserve(to - from);
    for (QTextBlock block = doc->findBlock(from); block.isValid() && block.position() <= to; block = block.next()) {
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString text = fragment.text();
            const int start = std::clamp(from - fragment.position(), 0, int(text.size()));
            const int end = std::clamp(to - fragment.position(), start, int(text.size()));
            if (!fragment.charFormat().boolProperty(kOwnMarkProperty)) {
                out += QStringView(text).mid(start, end - start);
                continue;
            }
            // Text typed after a mark takes its format: only the marks themselves go.
            for (int i = start; i < end; ++i) {
                if (text[i] != QChar(kSoftMark))
                    out += text[i];
            }
        }
        // The block end lies between the block's last character and the next block.
        const int blockEnd = block.position() + block.length() - 1;
        if (blockEnd >= from && blockEnd < to && block.next().isValid() && !endsSoftly(block))
            out += QLatin1Char('\n');
    }
    if (!raw)
        return plainFromRaw(out);
    // In grouped lines every separator stands for a line end of the file.
    const auto *layout = dynamic_cast<const TLinesLayout *>(doc->documentLayout());
    if (layout && layout->grouped)
        out.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    return out;
}

QString TRecipeEdit::plainFromRaw(QString text)
{
    text.replace(QChar(QChar::LineSeparator), QLatin1Char('\n'));
    text.replace(QChar(QChar::Nbsp), QLatin1Char(' '));
    return text;
}

QString TRecipeEdit::recipeText() const
{
    return textBetween(document(), 0, document()->characterCount() - 1, true);
}

QString TRecipeEdit::selectedRecipeText() const
{
    const QTextCursor cursor = textCursor();
    return textBetween(document(), cursor.selectionStart(), cursor.selectionEnd(), false);
}

QMimeData *TRecipeEdit::createMimeDataFromSelection() const
{
    auto *data = new QMimeData;
    QString text = selectedRecipeText();
    const auto *layout = dynamic_cast<const TLinesLayout *>(document()->documentLayout());
    if (layout && layout->grouped && layout->lineGap > 0) // an item's line ends, each with its gap
        text.replace(QLatin1Char('\n'), QStringLiteral("\n\n"));
    data->setText(text);
    return data;
}

void TRecipeEdit::keyPressEvent(QKeyEvent *event)
{
    // Shift+Enter would put a line separator in the text, which looks like a line
    // end and is none in the saved file: it starts a new line, as Enter does.
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        event->modifiers() & Qt::ShiftModifier) {
        QKeyEvent plain(event->type(), event->key(), event->modifiers() & ~Qt::ShiftModifier, event->text(),
                        event->isAutoRepeat(), static_cast<ushort>(event->count()));
        TPlainCopyPlainTextEdit::keyPressEvent(&plain);
        event->setAccepted(plain.isAccepted());
        return;
    }
    TPlainCopyPlainTextEdit::keyPressEvent(event);
}

void TRecipeEdit::mouseDoubleClickEvent(QMouseEvent *event)
{
    TPlainCopyPlainTextEdit::mouseDoubleClickEvent(event);
    m_sinceDoubleClick.start();
    m_doubleClickAt = event->position().toPoint();
}

void TRecipeEdit::mousePressEvent(QMouseEvent *event)
{
    const bool third = event->button() == Qt::LeftButton && m_sinceDoubleClick.isValid() &&
                       m_sinceDoubleClick.elapsed() < QApplication::doubleClickInterval() &&
                       (event->position().toPoint() - m_doubleClickAt).manhattanLength() <
                           QApplication::startDragDistance();
    if (third) {
        m_sinceDoubleClick.invalidate();
        // A third click selects the block, which in a big text may be a piece of a
        // long line or many short lines: there it selects the line instead.
        const int pos = cursorForPosition(event->position().toPoint()).position();
        const QTextBlock block = document()->findBlock(pos);
        if (linesGrouped() || endsSoftly(block) || (block.previous().isValid() && endsSoftly(block.previous()))) {
            selectLineAt(pos);
            event->accept();
            return;
        }
    }
    TPlainCopyPlainTextEdit::mousePressEvent(event);
}

void TRecipeEdit::selectLineAt(int pos)
{
    const QChar separator(QChar::LineSeparator);
    const bool joined = linesGrouped();
    QTextBlock block = document()->findBlock(pos);
    const int at = pos - block.position();
    int found = joined && at > 0 ? static_cast<int>(block.text().lastIndexOf(separator, at - 1)) : -1;
    while (found < 0 && block.previous().isValid() && endsSoftly(block.previous())) {
        block = block.previous();
        found = joined ? static_cast<int>(block.text().lastIndexOf(separator)) : -1;
    }
    const int start = block.position() + found + 1;
    block = document()->findBlock(pos);
    found = joined ? static_cast<int>(block.text().indexOf(separator, at)) : -1;
    while (found < 0 && block.next().isValid() && endsSoftly(block)) {
        block = block.next();
        found = joined ? static_cast<int>(block.text().indexOf(separator)) : -1;
    }
    const int end = found >= 0              ? block.position() + found + 1
                    : block.next().isValid() ? block.next().position()
                                             : block.position() + block.length() - 1;
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(end, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

void TRecipeEdit::resizeEvent(QResizeEvent *event)
{
    // A new width makes the view give every block of the text a layout of its
    // own, hundreds of bytes each: unwrapped lines do not depend on the width, so
    // in a big text the view hears of the new height only (its scroll range then
    // keeps the widest width it has seen).
    const int lines = document()->blockCount() * (linesGrouped() ? kGroupLines : 1);
    if (lineWrapMode() == NoWrap && lines > kManyBlocks && event->oldSize().width() != event->size().width()) {
        QResizeEvent heightOnly(event->size(), QSize(event->size().width(), event->oldSize().height()));
        TPlainCopyPlainTextEdit::resizeEvent(&heightOnly);
        return;
    }
    TPlainCopyPlainTextEdit::resizeEvent(event);
}

} // namespace vomra
