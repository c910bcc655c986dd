#include "recipe/RecipeEdit.h"

#include "recipe/ItemDocument.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace vomra {

QTextDocument *TRecipeEdit::newDocument(QObject *parent)
{
    return NewPlainDocument(parent);
}

void TRecipeEdit::makePlain(QTextDocument *doc)
{
    if (!qobject_cast<QPlainTextDocumentLayout *>(doc->documentLayout()))
        doc->setDocumentLayout(new QPlainTextDocumentLayout(doc));
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
        bool softEnd = false; // the block's last character is an own mark
        for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QString text = fragment.text();
            const int start = std::clamp(from - fragment.position(), 0, int(text.size()));
            const int end = std::clamp(to - fragment.position(), start, int(text.size()));
            if (!fragment.charFormat().boolProperty(kOwnMarkProperty)) {
                out += QStringView(text).mid(start, end - start);
                softEnd = false;
                continue;
            }
            // Text typed after a mark takes its format: only the marks themselves go.
            for (int i = 0; i < text.size(); ++i) {
                softEnd = text[i] == QChar(kSoftMark);
                if (!softEnd && i >= start && i < end)
                    out += text[i];
            }
        }
        // The block end lies between the block's last character and the next block.
        const int blockEnd = block.position() + block.length() - 1;
        if (!softEnd && blockEnd >= from && blockEnd < to && block.next().isValid())
            out += QLatin1Char('\n');
    }
    return raw ? out : plainFromRaw(out);
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
    data->setText(selectedRecipeText());
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

void TRecipeEdit::resizeEvent(QResizeEvent *event)
{
    // A new width makes the view give every block of the text a layout of its
    // own, hundreds of bytes each: unwrapped lines do not depend on the width, so
    // in a big text the view hears of the new height only (its scroll range then
    // keeps the widest width it has seen).
    if (lineWrapMode() == NoWrap && document()->blockCount() > kManyBlocks &&
        event->oldSize().width() != event->size().width()) {
        QResizeEvent heightOnly(event->size(), QSize(event->size().width(), event->oldSize().height()));
        TPlainCopyPlainTextEdit::resizeEvent(&heightOnly);
        return;
    }
    TPlainCopyPlainTextEdit::resizeEvent(event);
}

} // namespace vomra
