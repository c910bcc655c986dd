#include "pagekit/Dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace vomra;

namespace {

struct Seen {
    QStringList buttons;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Once the box is up: notes its buttons, then presses the one with that text
// (Escape when empty).
void answerBox(Seen *seen, const QString &press)
{
    QTimer::singleShot(0, [seen, press] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen->text = box->text();
        seen->icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            seen->buttons << b->text();
        if (press.isEmpty()) {
            QTest::keyClick(box, Qt::Key_Escape);
            return;
        }
        for (QAbstractButton *b : box->buttons())
            if (b->text() == press)
                b->click();
    });
}

TEST(Dialogs, BoxesCarryTheProgramsButtonsAndAnswer)
{
    const QString yes = QStringLiteral("是[&Y]"), no = QStringLiteral("否[&N]"), cancel = QStringLiteral("取消"),
                  ok = QStringLiteral("确定");
    struct Case {
        const char *name;
        BoxKind kind;
        bool withCancel;
        QString press; // empty: Escape
        QStringList buttons;
        QMessageBox::Icon icon;
        Answer answer;
    };
    const Case cases[] = {
        {"notice", BoxKind::Notice, false, ok, {ok}, QMessageBox::Information, Answer::Yes},
        {"warning", BoxKind::Warning, false, ok, {ok}, QMessageBox::Warning, Answer::Yes},
        {"error", BoxKind::Error, false, ok, {ok}, QMessageBox::Critical, Answer::Yes},
        {"confirm yes", BoxKind::Confirm, false, yes, {yes, no}, QMessageBox::Question, Answer::Yes},
        {"confirm no", BoxKind::Confirm, false, no, {yes, no}, QMessageBox::Question, Answer::No},
        {"confirm escape", BoxKind::Confirm, false, QString(), {yes, no}, QMessageBox::Question, Answer::No},
        {"cancel pressed", BoxKind::Confirm, true, cancel, {yes, no, cancel}, QMessageBox::Question, Answer::Cancel},
        {"cancel by escape", BoxKind::Confirm, true, QString(), {yes, no, cancel}, QMessageBox::Question,
         Answer::Cancel},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Seen seen;
        answerBox(&seen, c.press);
        Answer got = Answer::Yes;
        const QString text = QStringLiteral("一行\r两行");
        switch (c.kind) {
        case BoxKind::Notice: dialogs::notice(nullptr, QStringLiteral("T"), text); break;
        case BoxKind::Warning: dialogs::warning(nullptr, QStringLiteral("T"), text); break;
        case BoxKind::Error: dialogs::error(nullptr, QStringLiteral("T"), text); break;
        case BoxKind::Confirm: got = dialogs::confirm(nullptr, QStringLiteral("T"), text, c.withCancel); break;
        }
        QStringList sorted = seen.buttons, expected = c.buttons;
        sorted.sort();
        expected.sort();
        EXPECT_EQ(sorted, expected);
        EXPECT_EQ(seen.icon, c.icon);
        EXPECT_EQ(seen.text, QStringLiteral("一行\n两行")); // a CR breaks the line
        EXPECT_EQ(got, c.answer);
    }
}

TEST(Dialogs, HooksAnswerInsteadOfTheUser)
{
    std::vector<BoxShown> boxes;
    std::vector<FileQuestion> questions;
    dialogs::nextAnswer() = [&](const BoxShown &box) {
        boxes.push_back(box);
        return Answer::Cancel;
    };
    dialogs::nextFileName() = [&](const FileQuestion &q) {
        questions.push_back(q);
        return QStringLiteral("/tmp/x.Txt");
    };
    EXPECT_EQ(dialogs::confirm(nullptr, QStringLiteral("确认"), QStringLiteral("q\r?"), true), Answer::Cancel);
    dialogs::tellLossy(nullptr);
    EXPECT_EQ(dialogs::saveFile(nullptr, QStringLiteral("/f"), QStringLiteral("文本文件(*.Txt)"), QStringLiteral("Txt")),
              QStringLiteral("/tmp/x.Txt"));
    EXPECT_EQ(dialogs::openFile(nullptr, QStringLiteral("Bitmaps (*.bmp)")), QStringLiteral("/tmp/x.Txt"));
    dialogs::nextAnswer() = nullptr;
    dialogs::nextFileName() = nullptr;

    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].kind, BoxKind::Confirm);
    EXPECT_TRUE(boxes[0].withCancel);
    EXPECT_EQ(boxes[0].text, QStringLiteral("q\r?")); // the hook sees the text as given
    EXPECT_EQ(boxes[1].kind, BoxKind::Notice);
    EXPECT_EQ(boxes[1].text, QStringLiteral("有些字符不能用 GBK 表示，已换成“?”。"));
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_TRUE(questions[0].save);
    EXPECT_EQ(questions[0].folder, QStringLiteral("/f"));
    EXPECT_EQ(questions[0].suffix, QStringLiteral("Txt"));
    EXPECT_FALSE(questions[1].save);
    EXPECT_EQ(questions[1].filter, QStringLiteral("Bitmaps (*.bmp)"));
}

} // namespace
