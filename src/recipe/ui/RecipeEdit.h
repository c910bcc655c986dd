#pragma once
// The recipe editor: a plain text view, which lays out only the blocks it shows,
// so that typing, going to the end or dragging the scroll bar in a huge recipe
// never lays out the whole text. Very long lines are shown as several blocks
// joined by soft breaks. A soft break is a word joiner of the editor's own
// (told apart from one a UTF-8 recipe brings by its character format) before a
// block end; the text that is saved, copied or dragged never carries it. In a
// big text short lines share blocks, joined by line separators (a block costs
// the document a hundred bytes and more); they are laid out and painted as if
// each line were a block of its own.

#include "pagekit/PlainCopy.h"

#include <QElapsedTimer>
#include <QTextFormat>
#include <QTextLayout>

#include <vector>

class QTextBlock;
class QTextCursor;
class QTextDocument;

namespace vomra {

class TRecipeEdit : public TPlainCopyPlainTextEdit {
public:
    using TPlainCopyPlainTextEdit::TPlainCopyPlainTextEdit;

    // A document this editor can show (one with the plain, lazy layout).
    static QTextDocument *newDocument(QObject *parent);
    // Gives doc the plain layout unless it has one; the view takes no other.
    static void makePlain(QTextDocument *doc);

    static constexpr char16_t kSoftMark = 0x2060;
    // Set on the editor's own marks; typed text after one may carry it too.
    static constexpr int kOwnMarkProperty = QTextFormat::UserProperty + 1;
    // Above this many blocks a new width does not lay the text out again.
    static constexpr int kManyBlocks = 20000;
    // Inserts text at the cursor, ending a block softly (an own mark, then a
    // block end) before each of the given offsets into text.
    static void insertWithSoftBreaks(QTextCursor &cursor, const QString &text, const std::vector<int> &breaks);
    // The text between two positions: lines joined where soft breaks split them,
    // the editor's own marks dropped, block ends as "\n". Raw keeps line
    // separators and no-break spaces as they are (a UTF-8 recipe holds them);
    // otherwise they become "\n" and " ", as in the document's plain text.
    static QString textBetween(const QTextDocument *doc, int from, int to, bool raw);
    // Shows text in place of what was shown, soft breaks before the given offsets,
    // with nothing to undo.
    void setRecipeText(const QString &text, const std::vector<int> &breaks);
    // The recipe's whole text, raw; what is selected, plain.
    QString recipeText() const;
    QString selectedRecipeText() const;
    // A raw recipe text as GBK can hold it: what plain text would have been.
    static QString plainFromRaw(QString text);

    // At most this many lines share a block.
    static constexpr int kGroupLines = 64;
    // Set when the loader joins lines with separators; only then is every line
    // separator in the document the editor's own. A new document clears it.
    void setLinesGrouped(bool grouped);
    bool linesGrouped() const;
    // Groups a collection item's lines (see AppendGroupedItemLines): each line is
    // placed and marked as if the gap under it were the block it used to be.
    void setItemLinesGrouped(int pixelSize);

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void keyPressEvent(QKeyEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    // Selects the line around pos, with its line end, wherever blocks split it.
    void selectLineAt(int pos);
    QElapsedTimer m_sinceDoubleClick;
    QPoint m_doubleClickAt;

    void drawLinesApart(QPainter *painter, const QTextBlock &block, QPointF offset,
                        const QList<QTextLayout::FormatRange> &selections, const QRect &clip);
    void markGaps(QPainter *painter, const QTextBlock &block, QPointF offset,
                  const QList<QTextLayout::FormatRange> &selections, const QRect &clip);
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace vomra
