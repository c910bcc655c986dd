#include "recipe/RecipeEdit.h"

#include "recipe/ItemDocument.h"

#include <QMimeData>
#include <QPlainTextDocumentLayout>
#include <QResizeEvent>
#include <QTextDocument>
#include <QTextCursor>

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

QString TRecipeEdit::withoutSoftBreaks(QString text)
{
    if (!text.contains(QChar(kSoftMark)))
        return text;
    text.replace(softBreak(), QString());
    text.replace(QString(QChar(kSoftMark)) + QChar(QChar::ParagraphSeparator), QString());
    text.remove(QChar(kSoftMark));
    return text;
}

QMimeData *TRecipeEdit::createMimeDataFromSelection() const
{
    QString selected = textCursor().selectedText();
    if (selected.contains(QChar(kSoftMark))) {
        selected = withoutSoftBreaks(selected);
        selected.replace(QChar(QChar::ParagraphSeparator), QLatin1Char('\n'));
        auto *data = new QMimeData;
        data->setText(selected);
        return data;
    }
    return TPlainCopyPlainTextEdit::createMimeDataFromSelection();
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
