#pragma once
// The recipe editor's document layout: Qt's plain one, which in a text whose
// short lines share blocks places each line where a block of its own would
// start, and in a long item leaves the gap its gap block used to leave.

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace vomra {

inline bool endsWithSeparator(const QString &text, const QTextLine &next)
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

} // namespace vomra
