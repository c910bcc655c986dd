#include "pagekit/PlainCopy.h"

#include <QMimeData>
#include <QTextDocumentFragment>

namespace vomra {

namespace {
QMimeData *plainMimeData(const QTextCursor &cursor)
{
    auto *data = new QMimeData;
    data->setText(cursor.selection().toPlainText());
    return data;
}
} // namespace

QMimeData *TPlainCopyTextEdit::createMimeDataFromSelection() const
{
    return plainMimeData(textCursor());
}

QMimeData *TPlainCopyPlainTextEdit::createMimeDataFromSelection() const
{
    return plainMimeData(textCursor());
}

} // namespace vomra
