// The recipe page's send labels on the real main window, over a stand-in
// window system: which window each label asks for, what goes on the clipboard,
// and the warnings.
#include "app/Main.h"
#include "pagekit/Dialogs.h"
#include "base/Gbk.h"
#include "recipe/RecipePage.h"
#include "recipe/SendOnDesktop.h"
#include "support/MainWindowFixture.h"
#include "support/SendDesk.h"
#include "support/TempFolder.h"
#include "widgets/ImageLabel.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vomra;

namespace {

class SendPageTest : public test::MainWindowFixture {
protected:
    test::SendDesk desk;
    std::vector<QString> warnings; // "title|text"

    void SetUp() override
    {
        dir.copyFixture("recipe-gui/program");
        sendWindowSystemHook() = [this] { return std::make_unique<test::SendDeskWindows>(desk); };
        dialogs::nextAnswer() = [this](const BoxShown &box) {
            EXPECT_EQ(box.kind, BoxKind::Warning);
            warnings.push_back(box.title + QLatin1Char('|') + box.text);
            return Answer::Yes;
        };
        openWindow();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        frm->close();
        sendWindowSystemHook() = nullptr;
        dialogs::nextAnswer() = nullptr;
    }
    // Shows the tree node of that text and selects the editor's whole text.
    void selectAllOf(const char *nodeText)
    {
        const auto found = frm->TreeView1->findItems(QString::fromUtf8(nodeText), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(found.size(), 1);
        frm->TreeView1->setCurrentItem(found.front());
        QApplication::processEvents();
        frm->recipe->recipeRichEdit1->selectAll();
    }
    static std::string clipboardText() { return QApplication::clipboard()->text().toStdString(); }
    void click(int label) { QTest::mouseClick(frm->recipe->recipeLabel(label), Qt::LeftButton); }
};

} // namespace

TEST_F(SendPageTest, EachLabelAsksForItsWindowAndPressesSendWhenItSaysSo)
{
    struct Row {
        int label;
        const char *title;
        std::vector<std::string> tail; // after the look for "查看消息"
    };
    const std::vector<Row> rows = {
        {8, "发送消息", {"find 发送消息", "point 20,100", "paste 第一行\nsecond line\n"}},
        {9, "对话模式", {"find 对话模式", "point 20,300", "paste 第一行\nsecond line\n"}},
        {10, "发送消息", {"find 发送消息", "point 20,100", "paste 第一行\nsecond line\n", "click"}},
        {11, "对话模式", {"find 对话模式", "point 20,300", "paste 第一行\nsecond line\n", "click"}},
    };
    selectAllOf("hello");
    for (const Row &row : rows) {
        desk = test::SendDesk{};
        desk.title = row.title;
        desk.clipboard = clipboardText;
        click(row.label);
        std::vector<std::string> expected{"find 查看消息"};
        expected.insert(expected.end(), row.tail.begin(), row.tail.end());
        EXPECT_EQ(desk.log, expected) << row.label;
    }
    EXPECT_TRUE(warnings.empty());
}

TEST_F(SendPageTest, ADisplayModeItemGoesWithoutItsBlankLines)
{
    desk.clipboard = clipboardText;
    selectAllOf("早安");
    click(10);
    ASSERT_EQ(desk.log.size(), 5u);
    EXPECT_EQ(desk.log[3], "paste 早安\n早上好！\nGood morning\n\n祝你今天愉快");
    // The clipboard keeps the sent text.
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("早安\n早上好！\nGood morning\n\n祝你今天愉快"));
}

TEST_F(SendPageTest, WarningsLeaveTheClipboardAlone)
{
    selectAllOf("hello");
    QApplication::clipboard()->setText(QStringLiteral("before"));
    desk.title = "no such window";
    click(8);
    desk.title = "发送消息";
    desk.failPaste = true;
    click(10);
    EXPECT_EQ(warnings, (std::vector<QString>{QStringLiteral("呜呜呜...|我还没有找到QQ的窗口呢……:("),
                                              QStringLiteral("哎呀呀...|发送消息出错啦……:(")}));
    // The missing window copies nothing; the failed paste had copied already.
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("第一行\nsecond line\n"));
}

TEST_F(SendPageTest, TitlesAreReadFromTheSettingsFileAtEverySend)
{
    selectAllOf("hello");
    dir.write("QOBR.Ini", gbk::fromUtf8("[发送]\r\n窗口1=Chat with Bob\r\n"));
    desk.title = "Chat with Bob";
    click(8);
    EXPECT_EQ(desk.log[1], "find Chat with Bob");
    EXPECT_TRUE(warnings.empty());
}
