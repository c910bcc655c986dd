#pragma once
// The recipe editor: a plain text view, which lays out only the blocks it shows,
// so that typing, going to the end or dragging the scroll bar in a huge recipe
// never lays out the whole text. Very long lines are shown as several blocks
// joined by soft breaks. A soft break is a word joiner (which GBK cannot
// hold, so no recipe brings one) before a block end; the text that is saved,
// copied or dragged never carries it.

#include "pagekit/PlainCopy.h"

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
    // Above this many blocks a new width does not lay the text out again.
    static constexpr int kManyBlocks = 20000;
    // What ends a block that a long line goes on from.
    static QString softBreak() { return QString(QChar(kSoftMark)) + QLatin1Char('\n'); }
    // Lines joined again where soft breaks split them; stray marks dropped.
    static QString withoutSoftBreaks(QString text);
    // The recipe's text: the plain text without soft breaks.
    QString recipeText() const { return withoutSoftBreaks(toPlainText()); }

protected:
    QMimeData *createMimeDataFromSelection() const override;
    void resizeEvent(QResizeEvent *event) override;
};

} // namespace vomra
