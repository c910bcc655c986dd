// The alignment hint: found characters, the hint window, and the text left alone.
#include "pagekit/AlignmentHint.h"
#include "widgets/Hint.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;

namespace {

QString U(const char *utf8) { return QString::fromUtf8(utf8); }

TEST(AlignmentHint, NamesAmbiguousCharactersBesideFullWidthOnes)
{
    struct Case {
        const char *text;
        const char *message; // empty: no hint
    };
    const Case cases[] = {
        {"　■■　\n■■■■", "“■”在西文字体中只占半个字宽，与全角字符排在一起会错位。可换成处处对齐的“〓”。"},
        {"你好★☆", "“★☆”在西文字体中只占半个字宽，与全角字符排在一起会错位。可换成处处对齐的“＊＊”。"},
        {"Ω你", "“Ω”在西文字体中只占半个字宽，与全角字符排在一起会错位。"},
        {"■●\n●■", ""},        // ambiguous alone lines up within itself
        {"　〓〓　\nab", ""},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TAlignmentHint::messageFor(U(c.text)), U(c.message)) << c.text;
}

TEST(AlignmentHint, ShowsTheHintOnceAndLeavesTheTextAlone)
{
    TGWHint active;
    QPlainTextEdit view;
    view.resize(200, 100);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    TAlignmentHint *hint = TAlignmentHint::watch(&view);
    THint *win = HintController::instance()->window();
    HintController::instance()->hideHint();

    view.setPlainText(U("　■\n　　"));
    // Checked a moment after the change, not on every key.
    EXPECT_TRUE(hint->message().isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(!hint->message().isEmpty(), 2000);
    EXPECT_TRUE(win->isVisible());
    EXPECT_EQ(win->text(), hint->message());
    EXPECT_EQ(view.toolTip(), hint->message());
    EXPECT_EQ(view.toPlainText(), U("　■\n　　")); // nothing replaced

    // The same characters again: no new pop-up.
    HintController::instance()->hideHint();
    view.appendPlainText(U("■"));
    hint->check();
    EXPECT_FALSE(win->isVisible());

    // Lined up again: the hint goes from the view.
    view.setPlainText(U("　〓\n　　"));
    hint->check();
    EXPECT_TRUE(hint->message().isEmpty());
    EXPECT_TRUE(view.toolTip().isEmpty());
}

// A big text is checked in slices from the event loop, with the same result as
// the whole text at once, wherever the characters stand; an edit starts it over.
TEST(AlignmentHint, BigTextIsCheckedInStepsWithTheSameResult)
{
    struct Case {
        QString head, tail; // around a long run of plain ASCII lines
    };
    const Case cases[] = {
        {U("你"), U("■")},
        {U("■"), U("你")},
        {U("ab"), U("■")}, // nothing wide: no hint
    };
    QString middle;
    while (middle.size() < 3 * TAlignmentHint::kStepChars)
        middle += QStringLiteral("plain ascii text\n");
    for (const Case &c : cases) {
        QPlainTextEdit view;
        TAlignmentHint *hint = TAlignmentHint::watch(&view);
        const QString text = c.head + middle + c.tail;
        view.setPlainText(text);
        hint->check();
        EXPECT_TRUE(hint->checking()) << c.tail.toStdString();
        QTRY_VERIFY_WITH_TIMEOUT(!hint->checking(), 5000);
        EXPECT_EQ(hint->message(), TAlignmentHint::messageFor(text));
    }
    QPlainTextEdit view;
    TAlignmentHint *hint = TAlignmentHint::watch(&view);
    view.setPlainText(U("你") + middle);
    hint->check();
    view.appendPlainText(U("■")); // while the check goes on
    EXPECT_FALSE(hint->checking());
    QTRY_VERIFY_WITH_TIMEOUT(!hint->message().isEmpty(), 5000);
}

} // namespace
