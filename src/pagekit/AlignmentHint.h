#pragma once
// Tells the user, in the hint window, when a text view holds characters of
// ambiguous width (■ ● ★ …) beside full-width ones: Western fonts draw them
// half as wide, so such art comes out skewed there. Nothing is changed; the
// hint names the characters and the full-width ones that line up everywhere.

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextBlock>
#include <QTimer>

#include <functional>
#include <string>

class QWidget;
class QPlainTextEdit;
class QTextDocument;

namespace vomra {

class TAlignmentHint : public QObject {
    Q_OBJECT
public:
    // `text` gives what the view shows; check() runs it (the watchers below call
    // it shortly after each change, so typing does not scan the text each key).
    TAlignmentHint(QWidget *view, std::function<QString()> text);
    static TAlignmentHint *watch(QPlainTextEdit *view);

    // A text view's document above kStepChars characters is checked a slice of
    // blocks in each turn of the event loop: scanning millions of characters at
    // once would hold the window still.
    static constexpr int kStepChars = 256 * 1024;
    void check();
    void checkSoon()
    {
        m_step.stop();
        m_pause.start();
    }
    // A check of a big document is still going on.
    bool checking() const { return m_step.isActive(); }
    // The hint for the text last checked; empty when it lines up.
    const QString &message() const { return m_message; }

    // The hint's text for the ambiguous characters found, empty for none.
    static QString messageFor(const QString &text);

private:
    QWidget *m_view;
    std::function<QString()> m_text;
    QString m_message;
    QTimer m_pause;
    // The document of a plain text view, checked in steps when big.
    std::function<QTextDocument *()> m_document;
    QTimer m_step;
    QPointer<QTextDocument> m_scanned;
    QTextBlock m_next;
    bool m_wide = false;
    std::u32string m_ambiguous;

    void step();
    void show(const QString &message);
};

} // namespace vomra
