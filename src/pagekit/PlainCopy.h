#pragma once
// The text views of every page hand out plain text only, whatever way the user
// copies, cuts or drags: Qt's text controls put an HTML document beside the
// text, and a chat program that takes the richest format pastes the markup.

#include <QPlainTextEdit>
#include <QTextEdit>

class QMimeData;

namespace vomra {

class TPlainCopyTextEdit : public QTextEdit {
    Q_OBJECT
public:
    using QTextEdit::QTextEdit;

protected:
    QMimeData *createMimeDataFromSelection() const override;
};

class TPlainCopyPlainTextEdit : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    QMimeData *createMimeDataFromSelection() const override;
};

} // namespace vomra
