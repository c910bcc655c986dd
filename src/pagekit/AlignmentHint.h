#pragma once
// Tells the user, in the hint window, when a text view holds characters of
// ambiguous width (■ ● ★ …) beside full-width ones: Western fonts draw them
// half as wide, so such art comes out skewed there. Nothing is changed; the
// hint names the characters and the full-width ones that line up everywhere.

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

class QWidget;
class QPlainTextEdit;
class QTextEdit;

namespace vomra {

class TAlignmentHint : public QObject {
    Q_OBJECT
public:
    // `text` gives what the view shows; check() runs it (the watchers below call
    // it shortly after each change, so typing does not scan the text each key).
    TAlignmentHint(QWidget *view, std::function<QString()> text);
    static TAlignmentHint *watch(QPlainTextEdit *view);
    static TAlignmentHint *watch(QTextEdit *view);

    void check();
    void checkSoon() { m_pause.start(); }
    // The hint for the text last checked; empty when it lines up.
    const QString &message() const { return m_message; }

    // The hint's text for the ambiguous characters found, empty for none.
    static QString messageFor(const QString &text);

private:
    QWidget *m_view;
    std::function<QString()> m_text;
    QString m_message;
    QTimer m_pause;
};

} // namespace vomra
