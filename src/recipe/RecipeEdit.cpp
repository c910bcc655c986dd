#include "recipe/RecipeEdit.h"

#include <QMimeData>
#include <QTextCursor>

namespace vomra {

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
    return TPlainCopyTextEdit::createMimeDataFromSelection();
}

} // namespace vomra
