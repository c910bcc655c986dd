// The recipe library with the files people really receive, driven through the
// real main window: file bytes before and after every action, every question
// answered through the dialog hooks.
#include "app/Main.h"
#include "base/Gbk.h"
#include "pagekit/Dialogs.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/RecipeEdit.h"
#include "recipe/ui/RecipeLoader.h"
#include "recipe/ui/RecipePage.h"
#include "recipe/ui/RecipeTree.h"
#include "support/MainWindowFixture.h"
#include "support/QueuedAnswers.h"
#include "support/TempFolder.h"
#include "support/TreeNodes.h"
#include "widgets/ImageLabel.h"

#include <QApplication>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

using namespace vomra;

namespace {

std::string G(const char *utf8)
{
    return gbk::fromUtf8(utf8);
}

class RecipeLibraryTest : public test::MainWindowFixture {
protected:
    std::vector<BoxShown> boxes;
    std::deque<Answer> answers; // given in turn; No when none is left
    std::vector<FileQuestion> fileQuestions;
    QString dialogAnswer;

    void SetUp() override
    {
        dir.write("Lib/hello.Txt", G("第一行\r\n"));
        test::answerFromQueue(boxes, answers);
        dialogs::nextFileName() = [this](const FileQuestion &q) {
            fileQuestions.push_back(q);
            return dialogAnswer;
        };
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown(); // edits left over are dropped, not saved
        dialogs::nextAnswer() = nullptr;
        dialogs::nextFileName() = nullptr;
    }
    void start()
    {
        openWindow();
        QApplication::processEvents();
    }
    TRecipePage &page() const { return *frm->recipe; }
    QPlainTextEdit *editor() const { return frm->recipe->recipeRichEdit1; }
    QTreeWidgetItem *node(std::initializer_list<const char *> path) const
    {
        return test::treeNode(frm->TreeView1, path);
    }
    void select(QTreeWidgetItem *item)
    {
        ASSERT_NE(item, nullptr);
        frm->TreeView1->setCurrentItem(item);
        QApplication::processEvents();
        QApplication::processEvents();
    }
    void clickSave() { QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton); }
    std::vector<std::string> filesIn(const std::string &folder) const
    {
        std::vector<std::string> names;
        for (const auto &e : std::filesystem::directory_iterator(dir.file(folder)))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

// A file named in GBK bytes shows its name decoded, opens, and saves as itself.
TEST_F(RecipeLibraryTest, GbkNamedFileOpensAndSavesAsTheSameFile)
{
    const std::string name = "Lib/" + G("新年") + ".Txt";
    dir.write(name, G("新年快乐\r\n"));
    start();
    QTreeWidgetItem *item = node({"Lib", "新年"});
    ASSERT_NE(item, nullptr) << "the GBK name is not shown decoded";
    select(item);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("新年快乐\n"));
    editor()->moveCursor(QTextCursor::End);
    editor()->insertPlainText(QStringLiteral("恭喜"));
    clickSave();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dir.read(name), G("新年快乐\r\n恭喜"));
    EXPECT_EQ(filesIn("Lib"), std::vector<std::string>({"hello.Txt", G("新年") + ".Txt"}));
}

// Saving never replaces a file that could not be read: it asks for a name instead.
TEST_F(RecipeLibraryTest, UnreadFileIsNeverOverwritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "root reads a file without read permission";
    dir.write("Lib/secret.Txt", "8 bytes!");
    ::chmod(dir.file("Lib/secret.Txt").c_str(), 0200);
    start();
    select(node({"Lib", "secret"}));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("读取文件“%1”失败！").arg(QString::fromStdString(dir.file("Lib/secret.Txt"))));
    struct Row {
        const char *typed;  // appended to the editor before saving
        const char *dialog; // the save dialog's answer, relative to the program folder
        bool expectWritten; // the new file written
    };
    const Row rows[] = {{"", "", false}, {"新", "Lib/copy", true}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.dialog);
        fileQuestions.clear();
        editor()->insertPlainText(QString::fromUtf8(row.typed));
        dialogAnswer = *row.dialog ? QString::fromStdString(dir.file(row.dialog)) : QString();
        clickSave();
        ASSERT_EQ(fileQuestions.size(), 1u);
        EXPECT_EQ(fileQuestions[0].folder, QString::fromStdString(dir.file("Lib/")));
        ::chmod(dir.file("Lib/secret.Txt").c_str(), 0600);
        EXPECT_EQ(dir.read("Lib/secret.Txt"), "8 bytes!");
        ::chmod(dir.file("Lib/secret.Txt").c_str(), 0200);
    }
    EXPECT_EQ(dir.read("Lib/copy.Txt"), G("新"));
}

// Whatever the typed name, the saved recipe is listed, selected and in sight.
TEST_F(RecipeLibraryTest, SavedRecipeIsAlwaysListedAndSelected)
{
    struct Row {
        const char *typed; // in Vomra秘笈
        const char *file;  // written
        const char *shown; // its node
    };
    const Row rows[] = {
        {"2024.春节", "2024.春节.Txt", "2024.春节"}, {"plain", "plain.Txt", "plain"},
        {"lower.txt", "lower.txt", "lower"},         {"UPPER.TXT", "UPPER.TXT", "UPPER"},
        {"a.Txt.bak", "a.Txt.bak.Txt", "a.Txt.bak"},
    };
    start();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.typed);
        frm->TreeView1->clearSelection();
        QApplication::processEvents();
        editor()->setPlainText(QStringLiteral("正文"));
        dialogAnswer = QString::fromStdString(dir.path()) + QStringLiteral("Vomra秘笈/") + QString::fromUtf8(row.typed);
        clickSave();
        EXPECT_EQ(dir.read(std::string("Vomra秘笈/") + row.file), G("正文"));
        QTreeWidgetItem *current = frm->TreeView1->currentItem();
        ASSERT_NE(current, nullptr);
        EXPECT_EQ(current, node({"Vomra秘笈", row.shown}));
        EXPECT_TRUE(current->isSelected());
        EXPECT_TRUE(current->parent()->isExpanded());
        EXPECT_EQ(TRecipeTree::imageOf(current->parent()), riFolderOpen);
        EXPECT_EQ(editor()->toPlainText(), QStringLiteral("正文"));
        EXPECT_FALSE(page().loader->Modified());
    }
    EXPECT_TRUE(boxes.empty());
}

// Edits are never dropped without a question, whatever drops them.
TEST_F(RecipeLibraryTest, UnsavedEditsAreAskedAboutBeforeTheyGo)
{
    enum Leave { OtherNode, CloseWindow, MenuQuit };
    struct Row {
        Leave leave;
        Answer answer;
        bool saved;  // hello.Txt holds the edit afterwards
        bool stayed; // still on hello with the edit, window open
    };
    const Row rows[] = {
        {OtherNode, Answer::Yes, true, false},    {OtherNode, Answer::No, false, false},
        {OtherNode, Answer::Cancel, false, true}, {CloseWindow, Answer::Yes, true, false},
        {CloseWindow, Answer::No, false, false},  {CloseWindow, Answer::Cancel, false, true},
        {MenuQuit, Answer::Cancel, false, true},  {MenuQuit, Answer::Yes, true, false},
    };
    dir.write("Lib/other.Txt", G("另一个"));
    for (const Row &row : rows) {
        SCOPED_TRACE(testing::Message() << row.leave << " answer " << static_cast<int>(row.answer));
        dir.write("Lib/hello.Txt", G("第一行\r\n"));
        start();
        select(node({"Lib", "hello"}));
        // Nothing changed yet: no question, even after typing and undoing it.
        editor()->insertPlainText(QStringLiteral("x"));
        editor()->undo();
        select(node({"Lib", "other"}));
        select(node({"Lib", "hello"}));
        EXPECT_TRUE(boxes.empty());

        editor()->moveCursor(QTextCursor::End);
        editor()->insertPlainText(QStringLiteral("改"));
        boxes.clear();
        answers = {row.answer};
        switch (row.leave) {
        case OtherNode:
            select(node({"Lib", "other"}));
            break;
        case CloseWindow:
            frm->close();
            break;
        case MenuQuit:
            QTest::mouseClick(frm->GWImageLabels[6], Qt::LeftButton);
            break;
        }
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, BoxKind::Confirm);
        EXPECT_EQ(boxes[0].title, QStringLiteral("确认"));
        EXPECT_EQ(boxes[0].text, QStringLiteral("是否保存对“hello”的修改？"));
        EXPECT_TRUE(boxes[0].withCancel);
        EXPECT_EQ(dir.read("Lib/hello.Txt"), row.saved ? G("第一行\r\n改") : G("第一行\r\n"));
        EXPECT_EQ(frm->isVisible(), row.leave == OtherNode || row.stayed);
        if (row.leave == OtherNode) {
            EXPECT_EQ(frm->TreeView1->currentItem(), node({"Lib", row.stayed ? "hello" : "other"}));
        }
        if (row.stayed) {
            EXPECT_EQ(editor()->toPlainText(), QStringLiteral("第一行\n改"));
        } else if (row.leave == OtherNode) {
            EXPECT_EQ(editor()->toPlainText(), QStringLiteral("另一个"));
        }
        answers.clear();
        frm->close();
        frm.reset();
        boxes.clear();
    }
}

// Huge recipes go in piece by piece: a key pressed meanwhile waits for the whole
// text and then acts on it, and saving writes exactly the file's bytes.
TEST_F(RecipeLibraryTest, HugeRecipesGoInWholeAndKeysWaitForThem)
{
    std::string oneLine;
    while (oneLine.size() < 20u * 1024 * 1024)
        oneLine += G("长文字 ASCII，");
    oneLine += "\r\nend\r\n";
    dir.write("Lib/line.Txt", oneLine);
    std::string ini = "[ItemList]\r\nItemCount=1\r\nItemName1=Big\r\n[Big]\r\n";
    for (int i = 0; i < 400000; ++i)
        ini += "line " + std::to_string(i) + "\r\n";
    dir.write("Lib/Big.Ini", ini);
    start();

    // One line of 20 MB: shown in blocks, saved as the one line it is.
    select(node({"Lib", "line"}));
    ASSERT_TRUE(page().Loading());
    QTest::keyClick(editor(), Qt::Key_X); // pressed while loading: typed once it is all in
    EXPECT_TRUE(page().Loading());
    QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 120000);
    QApplication::processEvents(); // the key waited for this turn
    EXPECT_GT(editor()->document()->blockCount(), 1000);
    EXPECT_TRUE(page().loader->Modified());
    clickSave();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dir.read("Lib/line.Txt"), "x" + oneLine);
    // A copy across the blocks of one line is that line.
    QTextCursor c = editor()->textCursor();
    c.setPosition(0);
    c.setPosition(6000, QTextCursor::KeepAnchor);
    editor()->setTextCursor(c);
    QApplication::clipboard()->clear();
    QTest::mouseClick(page().recipeLabel(5), Qt::LeftButton);
    const QString copied = QApplication::clipboard()->text();
    const QString wholeLine = QStringLiteral("x") + QString::fromStdString(gbk::toUtf8(oneLine.substr(0, 20000)));
    EXPECT_GT(copied.size(), 5900);
    EXPECT_EQ(copied, wholeLine.left(copied.size()));

    // An item of 400,000 lines: shown whole, name and gaps as usual.
    select(node({"Lib", "Big", "Big"}));
    EXPECT_TRUE(page().Loading());
    QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 120000);
    const QTextDocument *doc = editor()->document();
    EXPECT_LE(doc->blockCount(), 400001 / TRecipeEdit::kGroupLines + 1); // lines share blocks
    EXPECT_EQ(doc->findBlockByNumber(0).text().section(QChar(QChar::LineSeparator), 0, 0), QStringLiteral("Big"));
    EXPECT_EQ(doc->lastBlock().text().section(QChar(QChar::LineSeparator), -1), QStringLiteral("line 399999"));
    EXPECT_EQ(dir.read("Lib/Big.Ini"), ini);
}

// The tree's text is exactly LeftFontColor, and the row under the mouse is
// underlined in it, in the classic look and in a theme.
TEST_F(RecipeLibraryTest, TreeTextIsLeftFontColorAndHoveredRowsAreUnderlined)
{
    std::filesystem::copy(std::string(VOMRA_TEST_DATA) + "/../../assets/Theme", dir.file("Theme"),
                          std::filesystem::copy_options::recursive);
    struct Row {
        int theme; // 0 classic, 2 石墨
    };
    for (const Row row : {Row{0}, Row{2}}) {
        SCOPED_TRACE(row.theme);
        dir.write("QOBR.Ini", G("[界面方案]\r\n方案=") + std::to_string(row.theme) + "\r\n");
        start();
        ASSERT_EQ(frm->ThemeIndex(), row.theme);
        const TColor c = frm->PageColours().LeftFontColor;
        const QColor ink(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
        QTreeWidgetItem *hello = node({"Lib", "hello"});
        ASSERT_NE(hello, nullptr);
        frm->TreeView1->expandAll();
        QApplication::processEvents();
        const QRect rect = frm->TreeView1->visualItemRect(hello);
        auto textPixels = [&](int *inkCount) {
            const QImage shot = frm->TreeView1->viewport()->grab().toImage();
            const QColor paper = shot.pixelColor(shot.width() - 2, rect.center().y());
            std::set<QRgb> others;
            *inkCount = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y)
                for (int x = rect.left() + 24; x < std::min(rect.right(), shot.width() - 1); ++x) {
                    const QColor p = shot.pixelColor(x, y);
                    if (p == ink)
                        ++*inkCount;
                    else if (p != paper)
                        others.insert(p.rgb());
                }
            EXPECT_TRUE(others.empty()) << others.size() << " colours besides ink and paper, e.g. " << std::hex
                                        << (others.empty() ? 0u : *others.begin());
            return shot.copy(rect);
        };
        int plain = 0;
        textPixels(&plain);
        EXPECT_GT(plain, 10);
        QHoverEvent hover(QEvent::HoverMove, rect.center(), frm->TreeView1->viewport()->mapToGlobal(rect.center()),
                          QPointF(-1, -1));
        QApplication::sendEvent(frm->TreeView1->viewport(), &hover);
        QApplication::processEvents();
        int hovered = 0;
        textPixels(&hovered);
        EXPECT_GT(hovered, plain) << "the hovered row is underlined";
        frm->close();
        frm.reset();
    }
}

} // namespace
