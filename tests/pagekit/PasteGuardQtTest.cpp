#include "pagekit/PasteGuard.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace vomra;

namespace {

QString textOf(QWidget *w)
{
    if (auto *e = qobject_cast<QTextEdit *>(w))
        return e->toPlainText();
    if (auto *e = qobject_cast<QPlainTextEdit *>(w))
        return e->toPlainText();
    return qobject_cast<QLineEdit *>(w)->text();
}

std::unique_ptr<QWidget> makeEditor(int kind)
{
    std::unique_ptr<QWidget> w;
    if (kind == 0)
        w = std::make_unique<QTextEdit>();
    else if (kind == 1)
        w = std::make_unique<QPlainTextEdit>();
    else
        w = std::make_unique<QLineEdit>();
    w->resize(200, 100);
    w->show();
    w->activateWindow();
    w->setFocus();
    return w;
}

// Data without plain text: a rich editor would still insert the HTML, which
// shows whether the paste got through.
QMimeData *noText()
{
    auto *data = new QMimeData;
    data->setHtml(QStringLiteral("<b>富文本</b>"));
    return data;
}

// Counts the events of one type that reach a widget past the application's
// filters (for keys: only the paste keys, not the modifiers pressed before them).
struct Reached : QObject {
    QEvent::Type type;
    int count = 0;
    explicit Reached(QEvent::Type t) : type(t) {}
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == type
            && (type != QEvent::KeyPress || static_cast<QKeyEvent *>(e)->matches(QKeySequence::Paste)))
            ++count;
        return false;
    }
};

QWidget *dropTarget(QWidget *editor)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(editor))
        return area->viewport();
    return editor;
}

} // namespace

// Ctrl+V and Shift+Insert paste text when there is some, and are swallowed
// when the clipboard offers none, in every kind of editor the program uses.
TEST(PasteGuard, PasteKeysNeedTextOnTheClipboard)
{
    installPasteGuard();
    installPasteGuard(); // a second call must not filter twice
    const std::pair<Qt::Key, Qt::KeyboardModifier> keys[] = {{Qt::Key_V, Qt::ControlModifier},
                                                             {Qt::Key_Insert, Qt::ShiftModifier}};
    for (int kind = 0; kind < 3; ++kind)
        for (const auto &[key, mod] : keys)
            for (bool withText : {false, true}) {
                SCOPED_TRACE(testing::Message() << "editor " << kind << " key " << key << " text " << withText);
                if (withText)
                    QApplication::clipboard()->setText(QStringLiteral("粘贴"));
                else
                    QApplication::clipboard()->setMimeData(noText());
                auto editor = makeEditor(kind);
                Reached reached(QEvent::KeyPress);
                editor->installEventFilter(&reached);
                QTest::keyClick(editor.get(), key, mod);
                EXPECT_EQ(reached.count, withText ? 1 : 0);
                EXPECT_EQ(textOf(editor.get()), withText ? QStringLiteral("粘贴") : QString());
            }
}

// Dragged data without text is refused before the view sees it; text still drops.
TEST(PasteGuard, DropsNeedText)
{
    installPasteGuard();
    for (int kind = 0; kind < 3; ++kind)
        for (bool withText : {false, true}) {
            SCOPED_TRACE(testing::Message() << "editor " << kind << " text " << withText);
            auto editor = makeEditor(kind);
            std::unique_ptr<QMimeData> data(withText ? new QMimeData : noText());
            if (withText)
                data->setText(QStringLiteral("拖入"));
            QWidget *target = dropTarget(editor.get());
            Reached reached(QEvent::Drop);
            target->installEventFilter(&reached);
            const QPointF at(10, 10);
            QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &enter);
            EXPECT_EQ(enter.isAccepted(), withText);
            QDropEvent drop(at, Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &drop);
            EXPECT_EQ(reached.count, withText ? 1 : 0);
            EXPECT_EQ(textOf(editor.get()), withText ? QStringLiteral("拖入") : QString());
        }
}

// A middle click pastes the selection; with none on offer nothing happens and
// the editor keeps its text.
TEST(PasteGuard, MiddleClickWithoutSelectionKeepsText)
{
    installPasteGuard();
    if (QApplication::clipboard()->supportsSelection())
        QApplication::clipboard()->clear(QClipboard::Selection);
    for (int kind = 0; kind < 3; ++kind) {
        auto editor = makeEditor(kind);
        if (auto *e = qobject_cast<QLineEdit *>(editor.get()))
            e->setText(QStringLiteral("原文"));
        else if (auto *e = qobject_cast<QTextEdit *>(editor.get()))
            e->setPlainText(QStringLiteral("原文"));
        else
            qobject_cast<QPlainTextEdit *>(editor.get())->setPlainText(QStringLiteral("原文"));
        Reached reached(QEvent::MouseButtonRelease);
        dropTarget(editor.get())->installEventFilter(&reached);
        QTest::mouseClick(dropTarget(editor.get()), Qt::MiddleButton, {}, QPoint(10, 10));
        EXPECT_EQ(reached.count, 0) << "editor " << kind;
        EXPECT_EQ(textOf(editor.get()), QStringLiteral("原文")) << "editor " << kind;
    }
}
