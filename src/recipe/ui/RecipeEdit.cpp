#include "recipe/ui/RecipeEdit.h"

#include "recipe/ui/ItemDocument.h"
#include "recipe/ui/LinesLayout.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vomra {

namespace {

// Whether a long line goes on in the next block.
bool endsSoftly(const QTextBlock &block)
{
    // Asked of every block when a text is saved: the last character is read
    // without copying the block's text.
    if (block.length() < 2 ||
        block.document()->characterAt(block.position() + block.length() - 2) != QChar(TRecipeEdit::kSoftMark))
        return false;
    QTextBlock::iterator last;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it)
        last = it;
    return last.fragment().charFormat().boolProperty(TRecipeEdit::kOwnMarkProperty);
}

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
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) && event->modifiers() & Qt::ShiftModifier) {
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
    const bool third =
        event->button() == Qt::LeftButton && m_sinceDoubleClick.isValid() &&
        m_sinceDoubleClick.elapsed() < QApplication::doubleClickInterval() &&
        (event->position().toPoint() - m_doubleClickAt).manhattanLength() < QApplication::startDragDistance();
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
    const int end = found >= 0               ? block.position() + found + 1
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
