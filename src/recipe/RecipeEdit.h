#pragma once
// The recipe editor: a QTextEdit whose very long lines are shown as several
// blocks joined by soft breaks. A soft break is a word joiner (which GBK cannot
// hold, so no recipe brings one) before a block end; the text that is saved,
// copied or dragged never carries it.

#include "pagekit/PlainCopy.h"

namespace vomra {

class TRecipeEdit : public TPlainCopyTextEdit {
public:
    using TPlainCopyTextEdit::TPlainCopyTextEdit;

    static constexpr char16_t kSoftMark = 0x2060;
    // What ends a block that a long line goes on from.
    static QString softBreak() { return QString(QChar(kSoftMark)) + QLatin1Char('\n'); }
    // Lines joined again where soft breaks split them; stray marks dropped.
    static QString withoutSoftBreaks(QString text);
    // The recipe's text: the plain text without soft breaks.
    QString recipeText() const { return withoutSoftBreaks(toPlainText()); }

protected:
    QMimeData *createMimeDataFromSelection() const override;
};

} // namespace vomra
