// The recipe page's send labels on the real main window, over a stand-in
// window system: which window each label asks for, what goes on the clipboard,
// and the warnings.
#include "app/EditMenu.h"
#include "app/Main.h"
#include "art/ui/ArtFontPage.h"
#include "base/Gbk.h"
#include "board/ui/PenPage.h"
#include "pagekit/Dialogs.h"
#include "recipe/ui/RecipePage.h"
#include "recipe/ui/SendOnDesktop.h"
#include "support/MainWindowFixture.h"
#include "support/SendDesk.h"
#include "support/TempFolder.h"
#include "widgets/ImageLabel.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QGuiApplication>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QPlainTextEdit>
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
        bool busy = false; // the busy cursor shows while the paste runs
        desk.clipboard = [&] {
            busy = QGuiApplication::overrideCursor() && QGuiApplication::overrideCursor()->shape() == Qt::BusyCursor;
            return clipboardText();
        };
        click(row.label);
        std::vector<std::string> expected{"find 查看消息"};
        expected.insert(expected.end(), row.tail.begin(), row.tail.end());
        EXPECT_EQ(desk.log, expected) << row.label;
        EXPECT_TRUE(busy) << row.label;
        EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << row.label;
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

// A desktop without X (native Wayland): nothing can be pasted into, so every
// label leaves the text on the clipboard and says how to paste it.
TEST_F(SendPageTest, WithoutXTheTextIsLeftOnTheClipboard)
{
    sendWindowSystemHook() = [] { return std::unique_ptr<WindowSystem>(); };
    selectAllOf("hello");
    for (int label : {8, 11}) {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        click(label);
        EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("第一行\nsecond line\n")) << label;
    }
    const QString said =
        QStringLiteral("呜呜呜...|没有找到可以粘贴的窗口：文字已复制到剪贴板，请到聊天窗口里按 Ctrl+V 粘贴");
    EXPECT_EQ(warnings, (std::vector<QString>{said, said}));
    EXPECT_TRUE(desk.log.empty());
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

// Chat programs take the richest format on the clipboard: every way out of
// every text view hands over plain text and nothing else.
TEST_F(SendPageTest, EveryCopyPathOffersPlainTextOnly)
{
    QPlainTextEdit *editor = frm->recipe->recipeRichEdit1;
    QPlainTextEdit *art = frm->artFont->artfontRichEdit1;
    QPlainTextEdit *board = frm->pen->penRichEdit1;
    struct Row {
        const char *name;
        const char *node; // the recipe to select first, if any
        std::function<void()> copy;
    };
    auto key = [](QWidget *w, Qt::Key k) { return [w, k] { QTest::keyClick(w, k, Qt::ControlModifier); }; };
    auto label = [this](int n) { return [this, n] { click(n); }; };
    auto menu = [this](int i) { return [this, i] { frm->PopMenuEdit->PMEClick(frm->PopMenuEdit->PME[i]); }; };
    const std::vector<Row> rows = {
        {"Ctrl+C, edit mode", "hello", key(editor, Qt::Key_C)},
        {"Ctrl+X, edit mode", "hello", key(editor, Qt::Key_X)},
        {"cut label", "hello", label(4)},
        {"copy label, edit mode", "hello", label(5)},
        {"edit menu cut", "hello", menu(0)},
        {"edit menu copy", "hello", menu(1)},
        {"send label 9", "hello", label(9)},
        {"send label 11", "hello", label(11)},
        {"copy label, display mode", "早安", label(5)},
        {"Ctrl+C, display mode", "早安", key(editor, Qt::Key_C)},
        {"send label 11, display mode", "早安", label(11)},
        {"art output: copy label", nullptr,
         [&] {
             art->setPlainText(QStringLiteral("＊＊ ab"));
             QTest::mouseClick(frm->artFont->artfontImageLabel(7), Qt::LeftButton);
         }},
        {"art output: Ctrl+C", nullptr,
         [&] {
             art->selectAll();
             QTest::keyClick(art, Qt::Key_C, Qt::ControlModifier);
         }},
        {"board: copy label", nullptr, [&] { QTest::mouseClick(frm->pen->penImageLabel(4), Qt::LeftButton); }},
        {"board text: Ctrl+C", nullptr,
         [&] {
             board->setPlainText(QStringLiteral("板 cd"));
             board->selectAll();
             QTest::keyClick(board, Qt::Key_C, Qt::ControlModifier);
         }},
    };
    for (const Row &row : rows) {
        desk = test::SendDesk{};
        desk.title = "对话模式";
        QApplication::clipboard()->clear();
        if (row.node) {
            frm->recipe->recipeRichEdit1->undo(); // put back what a cut took
            selectAllOf(row.node);
        }
        row.copy();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        ASSERT_NE(data, nullptr) << row.name;
        EXPECT_EQ(data->formats().join(QLatin1Char(' ')).toStdString(), "text/plain") << row.name;
        EXPECT_FALSE(data->text().isEmpty()) << row.name;
    }
}
