#include "recipe/ui/ItemDocument.h"

#include "platform/GbkQt.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/RecipeEdit.h"

#include <QFont>
#include <QPlainTextDocumentLayout>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFormat>

namespace vomra {

QString decodeRecipe(std::string_view gbk, bool *replaced)
{
    bool lossy = false;
    QString text = gbk::toQString(gbk, &lossy);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const bool nul = text.contains(QChar(0));
    if (nul)
        text.replace(QChar(0), QChar::ReplacementCharacter);
    *replaced = lossy || nul;
    return text;
}

void AppendItemLines(QTextCursor &cursor, const PackedLines &lines, std::size_t from, std::size_t to,
                     int pixelSize)
{
    // The gaps are in points, 8 under the name and 4 under every line.
    QTextCharFormat text;
    text.setProperty(QTextFormat::FontPixelSize, pixelSize);
    QTextCharFormat nameGap;
    nameGap.setFontPointSize(8);
    QTextCharFormat lineGap;
    lineGap.setFontPointSize(4);
    if (from == 0)
        cursor.setBlockCharFormat(text);
    for (std::size_t i = from; i < to; ++i) {
        if (i > 0) {
            cursor.insertBlock(QTextBlockFormat(), i == 1 ? nameGap : lineGap);
            cursor.insertBlock(QTextBlockFormat(), text);
        }
        bool replaced = false;
        cursor.insertText(decodeRecipe(lines[i], &replaced), text);
    }
}

void AppendGroupedItemLines(QTextCursor &cursor, const PackedLines &lines, std::size_t from, std::size_t to,
                            int pixelSize)
{
    QTextCharFormat text;
    text.setProperty(QTextFormat::FontPixelSize, pixelSize);
    if (from == 0)
        cursor.setBlockCharFormat(text);
    QString joined;
    for (std::size_t i = from; i < to; ++i) {
        if (i % TRecipeEdit::kGroupLines == 0 && i > 0) {
            cursor.insertText(joined, text);
            joined.clear();
            cursor.insertBlock(QTextBlockFormat(), text);
        } else if (i > 0) {
            joined += QChar(QChar::LineSeparator);
        }
        bool replaced = false;
        joined += decodeRecipe(lines[i], &replaced);
    }
    cursor.insertText(joined, text);
}

QTextDocument *NewPlainDocument(QObject *parent)
{
    auto *doc = new QTextDocument(parent);
    doc->setDocumentLayout(new QPlainTextDocumentLayout(doc));
    return doc;
}

QTextDocument *BuildItemDocument(const PackedLines &lines, const QFont &font, int pixelSize,
                                 QObject *parent)
{
    QTextDocument *doc = NewPlainDocument(parent);
    doc->setDefaultFont(font);
    doc->setUndoRedoEnabled(false);
    QTextCursor cursor(doc);
    AppendItemLines(cursor, lines, 0, lines.size(), pixelSize);
    return doc;
}

QString DisplayModeCopyText(QString selected)
{
    selected.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    selected.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    QString copy = QString::fromStdString(DisplayModeCopy(selected.toStdString()));
    copy.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return copy;
}

} // namespace vomra
