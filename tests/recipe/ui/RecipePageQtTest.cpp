// The recipe page on the real main window over a copied program folder.
#include "app/Main.h"
#include "base/Gbk.h"
#include "pagekit/Dialogs.h"
#include "recipe/core/LibraryOperations.h"
#include "recipe/core/Recipe.h"
#include "recipe/ui/ItemDocument.h"
#include "recipe/ui/RecipeEdit.h"
#include "recipe/ui/RecipeLoader.h"
#include "recipe/ui/RecipePage.h"
#include "recipe/ui/RecipeTree.h"
#include "recipe/ui/SendOnDesktop.h"
#include "support/MainWindowFixture.h"
#include "support/SendDesk.h"
#include "support/TempFolder.h"
#include "support/TreeNodes.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEnterEvent>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

struct Box {
    BoxKind kind;
    QString title;
    QString text;
};

class RecipePageTest : public test::MainWindowFixture {
protected:
    std::vector<Box> boxes;
    bool answer = true;   // what every question is answered
    QString dialogAnswer; // the save dialog's answer
    QString dialogFolder; // where the save dialog opened
    QString dialogFilter;
    QString dialogSuffix;
    int fileDialogs = 0;

    void SetUp() override
    {
        dir.copyFixture("recipe-gui/program");
        dialogs::nextAnswer() = [this](const BoxShown &box) {
            boxes.push_back({box.kind, box.title, box.text});
            return answer ? Answer::Yes : Answer::No;
        };
        dialogs::nextFileName() = [this](const FileQuestion &question) {
            ++fileDialogs;
            dialogFolder = question.folder;
            dialogFilter = question.filter;
            dialogSuffix = question.suffix;
            return dialogAnswer;
        };
    }
    void TearDown() override
    {
        answer = false; // edits left over are dropped, not saved
        if (frm)
            frm->close();
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
    bool enabled(int n) const { return page().recipeLabel(n)->isEnabled(); }
    std::vector<bool> labels() const
    {
        std::vector<bool> out;
        for (int n = 1; n <= 11; ++n)
            out.push_back(enabled(n));
        return out;
    }
    QTreeWidgetItem *node(std::initializer_list<const char *> path) const
    {
        return test::treeNode(frm->TreeView1, path);
    }
    void select(QTreeWidgetItem *item)
    {
        ASSERT_NE(item, nullptr);
        frm->TreeView1->setCurrentItem(item);
        QApplication::processEvents();
    }
    void selectText(int from, int to)
    {
        QTextCursor c = editor()->textCursor();
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        editor()->setTextCursor(c);
    }
    std::string gbkFile(const std::string &name) const { return dir.read(name); }
    static std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }
};

//            save   smaller larger cut    copy   paste  undo   send x4
const std::vector<bool> kStartLabels = {true, true, true, false, false, true, false, false, false, false, false};

TEST_F(RecipePageTest, StartsInEditModeWithTheLibraryInTheTree)
{
    start();
    EXPECT_EQ(labels(), kStartLabels);
    EXPECT_FALSE(editor()->isReadOnly());
    EXPECT_EQ(editor()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_TRUE(editor()->toPlainText().isEmpty());
    // Theme is no recipe folder; inside Lib: folders, collections, recipe files.
    ASSERT_EQ(frm->TreeView1->topLevelItemCount(), 1);
    QTreeWidgetItem *lib = frm->TreeView1->topLevelItem(0);
    std::vector<std::string> children;
    for (int i = 0; i < lib->childCount(); ++i)
        children.push_back(lib->child(i)->text(0).toStdString());
    EXPECT_EQ(children, std::vector<std::string>({"Sub", "empty", "问候", "bad", "hello"}));
    EXPECT_EQ(TRecipeTree::imageOf(lib), riFolder);
    EXPECT_EQ(TRecipeTree::imageOf(node({"Lib", "问候", "晚安"})), riItem);
    for (int i = 0; i < 11; ++i)
        EXPECT_EQ(page().recipeLabel(i + 1)->geometry(), QRect(58 + 32 * i, 8, 28, 26)) << i;
    EXPECT_EQ(page().recipeLabel(10)->toolTip(), QStringLiteral("粘贴到“发送消息”窗口并发送"));
}

TEST_F(RecipePageTest, RecipeFileOpensInEditModeAndSelectionDrivesTheLabels)
{
    start();
    select(node({"Lib", "hello"}));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("第一行\nsecond line\n"));
    EXPECT_FALSE(editor()->isReadOnly());
    EXPECT_EQ(editor()->font().pointSize(), 9);
    EXPECT_EQ(labels(), kStartLabels);
    // Folder and collection images follow expanding and collapsing; selecting a
    // node expands it and collapses the one that lost the selection.
    EXPECT_EQ(TRecipeTree::imageOf(node({"Lib"})), riFolderOpen);
    node({"Lib"})->setExpanded(false);
    EXPECT_EQ(TRecipeTree::imageOf(node({"Lib"})), riFolder);
    select(node({"Lib"}));
    EXPECT_EQ(TRecipeTree::imageOf(node({"Lib"})), riFolderOpen);
    select(node({"Lib", "问候"}));
    EXPECT_EQ(TRecipeTree::imageOf(node({"Lib", "问候"})), riCollectionOpen);
    select(node({"Lib", "hello"}));
    EXPECT_EQ(TRecipeTree::imageOf(node({"Lib", "问候"})), riCollection);
    EXPECT_TRUE(node({"Lib"})->isExpanded());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("第一行\nsecond line\n"));

    selectText(0, 1);
    EXPECT_EQ(labels(), std::vector<bool>({true, true, true, true, true, true, false, true, true, true, true}));
    // Typing makes undo available; the undo label follows.
    editor()->textCursor().insertText(QStringLiteral("x"));
    EXPECT_TRUE(enabled(7));
    QTest::mouseClick(page().recipeLabel(7), Qt::LeftButton);
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("第一行\nsecond line\n"));
}

TEST_F(RecipePageTest, CollectionShowsItsFirstItemInDisplayModeAndCopiesSingleLineBreaks)
{
    start();
    for (auto path : {std::initializer_list<const char *>{"Lib", "问候"}, {"Lib", "问候", "早安"}}) {
        select(node(path));
        EXPECT_TRUE(editor()->isReadOnly());
        EXPECT_EQ(editor()->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        EXPECT_FALSE(enabled(1));
        EXPECT_FALSE(enabled(2));
        EXPECT_FALSE(enabled(3));
        // Name, a gap, then each trimmed line followed by a smaller gap.
        const QTextDocument *doc = editor()->document();
        ASSERT_EQ(doc->blockCount(), 9);
        EXPECT_EQ(doc->findBlockByNumber(0).text(), QStringLiteral("早安"));
        EXPECT_EQ(doc->findBlockByNumber(2).text(), QStringLiteral("早上好！"));
        EXPECT_EQ(doc->findBlockByNumber(1).charFormat().fontPointSize(), 8);
        EXPECT_EQ(doc->findBlockByNumber(3).charFormat().fontPointSize(), 4);
        EXPECT_EQ(doc->findBlockByNumber(6).text(), QString());
        EXPECT_EQ(doc->findBlockByNumber(8).text(), QStringLiteral("祝你今天愉快"));
    }
    EXPECT_EQ(TRecipeTree::imageOf(node({"Lib", "问候"})), riCollectionOpen);

    editor()->selectAll();
    EXPECT_FALSE(enabled(4)); // never cut in display mode
    EXPECT_TRUE(enabled(5));
    QApplication::clipboard()->clear();
    QTest::mouseClick(page().recipeLabel(5), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("早安\n早上好！\nGood morning\n\n祝你今天愉快"));
    // Ctrl+C copies the same way.
    QApplication::clipboard()->clear();
    QTest::keyClick(editor(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("早安\n早上好！\nGood morning\n\n祝你今天愉快"));

    // A collection without items leaves the editor empty.
    select(node({"Lib", "empty"}));
    EXPECT_TRUE(editor()->toPlainText().isEmpty());
    // Back in a recipe file: edit mode again, font-size labels back.
    select(node({"Lib", "hello"}));
    EXPECT_FALSE(editor()->isReadOnly());
    EXPECT_TRUE(enabled(1) && enabled(2) && enabled(3));
}

TEST_F(RecipePageTest, TreeClickShowsTheRecipePageAndPasteFollowsClipboardAndMode)
{
    start();
    QTest::mouseClick(frm->GWImageLabels[2], Qt::LeftButton); // the drawing board
    ASSERT_EQ(frm->CurrentPage(), pgPen);
    QTreeWidgetItem *lib = node({"Lib"});
    QTest::mouseClick(frm->TreeView1->viewport(), Qt::LeftButton, {}, frm->TreeView1->visualItemRect(lib).center());
    EXPECT_EQ(frm->CurrentPage(), pgRecipe);
    EXPECT_TRUE(frm->pnlRecipe->isVisible());

    struct Row {
        const char *path[3];
        bool clipboardText;
        bool want;
    };
    const Row rows[] = {
        {{"Lib", "hello", nullptr}, true, true},
        {{"Lib", "hello", nullptr}, false, false},
        {{"Lib", "问候", "晚安"}, true, false}, // display mode is read-only
    };
    for (const Row &row : rows) {
        select(row.path[2] ? node({row.path[0], row.path[1], row.path[2]}) : node({row.path[0], row.path[1]}));
        if (row.clipboardText)
            QApplication::clipboard()->setText(QStringLiteral("x"));
        else
            QApplication::clipboard()->clear();
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(page().recipeLabel(6), &leave);
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), QPointF(2, 2));
        QApplication::sendEvent(page().recipeLabel(6), &enter);
        EXPECT_EQ(enabled(6), row.want) << row.path[1];
    }
}

TEST_F(RecipePageTest, SendLabelsWarnThatNoChatWindowIsThere)
{
    // A desktop where no window has either title (without X the text would
    // be copied instead; that case has its own test).
    test::SendDesk desk;
    desk.title = "another program";
    sendWindowSystemHook() = [&desk] { return std::make_unique<test::SendDeskWindows>(desk); };
    start();
    select(node({"Lib", "hello"}));
    selectText(0, 2);
    QApplication::clipboard()->setText(QStringLiteral("before"));
    for (int n = 8; n <= 11; ++n)
        QTest::mouseClick(page().recipeLabel(n), Qt::LeftButton);
    sendWindowSystemHook() = nullptr;
    ASSERT_EQ(boxes.size(), 4u);
    for (const Box &b : boxes) {
        EXPECT_EQ(b.kind, BoxKind::Warning);
        EXPECT_EQ(b.title, QStringLiteral("呜呜呜..."));
        EXPECT_EQ(b.text, QStringLiteral("我还没有找到QQ的窗口呢……:("));
    }
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("before"));
}

TEST_F(RecipePageTest, SavingWithNothingSelectedMakesTheFolderAndSelectsTheNewRecipe)
{
    start();
    editor()->setPlainText(QStringLiteral("新的一行\n第二行"));
    dialogAnswer = QString::fromStdString(dir.path()) + QStringLiteral("Vomra秘笈/新菜"); // no extension typed
    QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
    EXPECT_EQ(fileDialogs, 1);
    EXPECT_EQ(dialogFolder, QString::fromStdString(dir.path()) + QStringLiteral("Vomra秘笈/"));
    EXPECT_EQ(dialogFilter, QStringLiteral("文本文件(*.Txt)"));
    EXPECT_EQ(dialogSuffix, QStringLiteral("Txt"));
    EXPECT_EQ(gbkFile("Vomra秘笈/新菜.Txt"), G("新的一行\r\n第二行"));
    EXPECT_TRUE(boxes.empty());
    // The tree was rebuilt with the new folder and the new recipe is selected and shown.
    QTreeWidgetItem *current = frm->TreeView1->currentItem();
    ASSERT_NE(current, nullptr);
    EXPECT_EQ(current, node({"Vomra秘笈", "新菜"}));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("新的一行\n第二行"));

    // Cancelling writes nothing.
    dialogAnswer.clear();
    frm->TreeView1->setCurrentItem(node({"Lib"}));
    QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
    EXPECT_EQ(dialogFolder, QString::fromStdString(dir.path()) + QStringLiteral("Lib/"));
}

TEST_F(RecipePageTest, OverwritingAsksInsideAndOutsideTheLibrary)
{
    struct Row {
        const char *file;
        bool yes;
        const char *question;
    };
    const Row rows[] = {
        {"Lib/hello.Txt", true, "“%1”是一个已存在的Vomra秘笈文件。\r本次操作将会覆盖该文件，是否要继续？"},
        {"Lib/hello.Txt", false, "“%1”是一个已存在的Vomra秘笈文件。\r本次操作将会覆盖该文件，是否要继续？"},
        {"Theme/old.Txt", true, "文件“%1”已存在，是否覆盖该文件？"},
        {"Theme/old.Txt", false, "文件“%1”已存在，是否覆盖该文件？"},
    };
    start();
    for (const Row &row : rows) {
        SCOPED_TRACE(std::string(row.file) + (row.yes ? " yes" : " no"));
        select(node({"Lib", "Sub"}));
        QTreeWidgetItem *before = frm->TreeView1->currentItem();
        const std::string old = gbkFile(row.file);
        editor()->setPlainText(QStringLiteral("覆盖"));
        boxes.clear();
        answer = row.yes;
        const QString path = QString::fromStdString(dir.file(row.file));
        dialogAnswer = path;
        QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].kind, BoxKind::Confirm);
        EXPECT_EQ(boxes[0].title, QStringLiteral("确认"));
        EXPECT_EQ(boxes[0].text, QString::fromUtf8(row.question).arg(path));
        EXPECT_EQ(gbkFile(row.file), row.yes ? G("覆盖") : old);
        // No rebuild: the selected node is the same object.
        EXPECT_EQ(frm->TreeView1->currentItem(), before);
        if (row.yes)
            dir.write(row.file, old);
    }
}

TEST_F(RecipePageTest, FailedSavesAreToldAndLeaveTheOldFile)
{
    start();
    // Direct save of a selected recipe file whose folder has gone.
    select(node({"Lib", "Sub", "note"}));
    editor()->setPlainText(QStringLiteral("改过"));
    ASSERT_EQ(::rename(dir.file("Lib/Sub").c_str(), dir.file("Lib/Gone").c_str()), 0);
    QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(boxes[0].title, QStringLiteral("错误"));
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("保存文件“%1”失败！").arg(QString::fromStdString(dir.file("Lib/Sub/note.Txt"))));
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("改过")); // the text is kept
    EXPECT_EQ(gbkFile("Lib/Gone/note.Txt"), G("便条\r\n"));

    // Through the dialog into a place that cannot be written.
    boxes.clear();
    select(node({"Lib"}));
    dialogAnswer = QString::fromStdString(dir.file("Lib/hello.Txt/x.Txt"));
    QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("保存文件“%1”失败！").arg(dialogAnswer));

    if (::geteuid() != 0) { // permissions do not stop root
        boxes.clear();
        ::chmod(dir.file("Lib").c_str(), 0555);
        answer = true;
        dialogAnswer = QString::fromStdString(dir.file("Lib/hello.Txt"));
        QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
        ::chmod(dir.file("Lib").c_str(), 0755);
        ASSERT_EQ(boxes.size(), 2u); // the overwrite question, then the error
        EXPECT_EQ(boxes[1].kind, BoxKind::Error);
        // A file marked read-only is not replaced either.
        boxes.clear();
        ::chmod(dir.file("Lib/hello.Txt").c_str(), 0444);
        QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
        ::chmod(dir.file("Lib/hello.Txt").c_str(), 0644);
        ASSERT_EQ(boxes.size(), 2u);
        EXPECT_EQ(boxes[1].kind, BoxKind::Error);
    }
    EXPECT_EQ(gbkFile("Lib/hello.Txt"), G("第一行\r\nsecond line\r\n"));
}

TEST_F(RecipePageTest, TextGbkCannotHoldIsToldBeforeWriting)
{
    start();
    struct Row {
        const char *name;
        const char *file;
        bool typeEmoji;
    };
    // bad.Txt holds bytes that are not GBK and a NUL: shown with replacements.
    // (Typed characters GBK cannot hold get a three-way question: the library's
    // management tests cover it.)
    const Row rows[] = {{"bad", "Lib/bad.Txt", false}};
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        select(node({"Lib", row.name}));
        if (row.typeEmoji)
            editor()->textCursor().insertText(QStringLiteral("😀"));
        else
            EXPECT_EQ(editor()->toPlainText(), QStringLiteral("ok? mid\uFFFDend\n"));
        const std::string old = gbkFile(row.file);
        for (bool yes : {false, true}) {
            boxes.clear();
            answer = yes;
            QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].kind, BoxKind::Confirm);
            EXPECT_TRUE(boxes[0].text.contains(QString::fromStdString(dir.file(row.file))));
            if (!yes) {
                EXPECT_EQ(gbkFile(row.file), old);
            }
        }
        EXPECT_NE(gbkFile(row.file), old);
        EXPECT_EQ(gbkFile(row.file).find('\0'), std::string::npos);
    }
}

TEST_F(RecipePageTest, HugeRecipeIsShownWholeAndSavedWhole)
{
    std::string big;
    const std::string line = G("一行很长的文字 with some ASCII too, 重复很多次。") + "\r\n";
    while (big.size() < 20u * 1024 * 1024)
        big += line;
    dir.write("Lib/huge.Txt", big);
    start();
    QElapsedTimer timer;
    timer.start();
    select(node({"Lib", "huge"}));
    RecordProperty("show_ms", static_cast<int>(timer.elapsed()));
    QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 60000);
    // Short lines share blocks: every line is there, in a small part of the blocks.
    const int lines = static_cast<int>(big.size() / line.size());
    EXPECT_EQ(static_cast<TRecipeEdit *>(editor())->recipeText().count(QLatin1Char('\n')), lines);
    EXPECT_LT(editor()->document()->blockCount(), lines / 16);

    // Saving while the text is still going in waits for all of it.
    select(node({"Lib", "hello"}));
    select(node({"Lib", "huge"}));
    ASSERT_TRUE(page().Loading());
    struct stat before {};
    ::stat(dir.file("Lib/huge.Txt").c_str(), &before);
    QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 60000);
    QApplication::processEvents(); // what waited runs in the next turn
    struct stat after {};
    ::stat(dir.file("Lib/huge.Txt").c_str(), &after);
    EXPECT_NE(before.st_ino, after.st_ino); // written anew (through a rename)
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(gbkFile("Lib/huge.Txt"), big);
    // One line of two-byte characters, longer than a piece: no character is cut.
    const std::string oneLine = [] {
        std::string l;
        while (l.size() < 3u * 512 * 1024 + 1)
            l += G("长");
        return l;
    }();
    dir.write("Lib/line.Txt", "x" + oneLine);
    frm->recipe->LoadRecipeTree();
    select(node({"Lib", "line"}));
    frm->recipe->finishLoading();
    EXPECT_EQ(static_cast<TRecipeEdit *>(editor())->recipeText(),
              QStringLiteral("x") + QString(static_cast<qsizetype>(oneLine.size() / 2), QChar(0x957F)));
    EXPECT_TRUE(boxes.empty());
    // Leaving for another node stops the rest of a long load.
    select(node({"Lib", "huge"}));
    select(node({"Lib", "hello"}));
    EXPECT_FALSE(page().Loading());
    EXPECT_EQ(editor()->toPlainText(), QStringLiteral("第一行\nsecond line\n"));
}

// A UTF-8 recipe saved unedited is the same file: the word joiners, line
// separators and no-break spaces it brings are its own, whether or not they sit
// where the editor breaks a long line softly.
TEST_F(RecipePageTest, Utf8RecipeSavedUneditedIsTheSameFile)
{
    const std::string wj = "\u2060", ls = "\u2028", nbsp = "\u00a0";
    const std::string run(511, 'a'); // the next character ends a soft run of 512
    std::string longLine; // long enough to go in as pieces
    while (longLine.size() < 300u * 1024)
        longLine += run + wj + "b" + wj + ls;
    struct Row {
        const char *name;
        std::string text;
    } rows[] = {
        {"marks", "a" + wj + "b\r\nc" + wj + "\r\nd" + ls + "e" + nbsp + "f\r\n" + wj},
        {"soft", run + wj + "\r\n" + run + "x" + wj + "y" + run + wj + wj + "\r\nend"},
        {"pieces", longLine + "\r\n" + longLine},
    };
    for (const Row &row : rows)
        dir.write(std::string("Lib/") + row.name + ".Txt", std::string(kUtf8Bom) + row.text);
    start();
    for (const Row &row : rows) {
        SCOPED_TRACE(row.name);
        select(node({"Lib", row.name}));
        page().finishLoading();
        QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
        QApplication::processEvents();
        EXPECT_TRUE(boxes.empty());
        EXPECT_TRUE(dir.read(std::string("Lib/") + row.name + ".Txt") == std::string(kUtf8Bom) + row.text);
    }
    // A copy drops the editor's own marks only; line separators become line feeds there, as ever.
    select(node({"Lib", "soft"}));
    editor()->selectAll();
    EXPECT_EQ(static_cast<TRecipeEdit *>(editor())->selectedRecipeText(),
              QString::fromStdString(run + wj + "\n" + run + "x" + wj + "y" + run + wj + wj + "\nend"));
}

// Shift+Enter makes the same line end as Enter, in UTF-8 too; a no-break space
// pasted into a GBK recipe is saved as a space, without a question.
TEST_F(RecipePageTest, ShiftEnterAndNoBreakSpaceSaveAsGbkHoldsThem)
{
    dir.write("Lib/u8.Txt", std::string(kUtf8Bom) + "a");
    start();
    for (const char *name : {"hello", "u8"}) {
        select(node({"Lib", name}));
        editor()->moveCursor(QTextCursor::End);
        editor()->insertPlainText(QStringLiteral("x\u00a0y"));
        QTest::keyClick(editor(), Qt::Key_Return, Qt::ShiftModifier);
        QTest::keyClicks(editor(), QStringLiteral("z"));
        QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(gbkFile("Lib/hello.Txt"), G("第一行\r\nsecond line\r\nx y\r\nz"));
    EXPECT_EQ(gbkFile("Lib/u8.Txt"), std::string(kUtf8Bom) + "ax\u00a0y\r\nz");
}

namespace {
// Where a position of a grouped item lies in the item with a gap block under
// every line: one more character for every line end before it.
int withGaps(const QTextDocument *doc, int at)
{
    const QString raw = doc->toRawText().left(at);
    return at + static_cast<int>(raw.count(QChar(QChar::LineSeparator)) + raw.count(QChar(QChar::ParagraphSeparator)));
}
} // namespace

// An item longer than a screen shows its start at once and goes on in pieces;
// the whole is what one piece would give: every line, gap and size in place,
// at every seam between pieces.
TEST_F(RecipePageTest, LongItemGoesInPiecesWithEveryGapInPlace)
{
    constexpr int kLines = 2500;
    std::string ini = "[ItemList]\r\nItemCount=1\r\nItemName1=Long\r\n[Long]\r\n";
    for (int i = 0; i < kLines; ++i)
        ini += "  line " + std::to_string(i) + "  \r\n";
    dir.write("Lib/Long.Ini", ini);
    start();
    select(node({"Lib", "Long", "Long"}));
    EXPECT_TRUE(page().Loading());
    EXPECT_GT(editor()->document()->blockCount(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 60000);
    // The lines share blocks; the editor places the gaps (the look test shows them).
    const QTextDocument *doc = editor()->document();
    EXPECT_LE(doc->blockCount(), (kLines + 1) / TRecipeEdit::kGroupLines + 1);
    const QStringList lines = doc->toRawText()
                                  .replace(QChar(QChar::ParagraphSeparator), QChar(QChar::LineSeparator))
                                  .split(QChar(QChar::LineSeparator));
    ASSERT_EQ(lines.size(), kLines + 1);
    EXPECT_EQ(lines[0], QStringLiteral("Long"));
    for (int i = 0; i < kLines; ++i)
        ASSERT_EQ(lines[i + 1], QStringLiteral("line %1").arg(i)) << i;
    const int textPixels = frm->windowFont().pixelSize();
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it)
            ASSERT_EQ(it.fragment().charFormat().intProperty(QTextFormat::FontPixelSize), textPixels);
    }
    // A copy of a selection is what it was with gap blocks: line ends single,
    // blank lines kept. The selection there, in the old document.
    QTextDocument old;
    QTextCursor all(&old);
    const auto copyLines = *ReadItemCopyLines(dir.path() + "/Lib/Long.Ini", "Long");
    AppendItemLines(all, copyLines, 0, copyLines.size(), textPixels);
    for (const auto &[from, to] : {std::pair{3, 100}, std::pair{0, 2000}, std::pair{560, 1234}}) {
        selectText(from, to);
        QTextCursor was(&old);
        was.setPosition(withGaps(doc, from));
        was.setPosition(withGaps(doc, to), QTextCursor::KeepAnchor);
        EXPECT_EQ(page().DisplayModeSelection(), DisplayModeCopyText(was.selectedText())) << from;
        editor()->copy(); // what dragging takes too
        EXPECT_EQ(QApplication::clipboard()->text(),
                  TRecipeEdit::textBetween(&old, withGaps(doc, from), withGaps(doc, to), false))
            << from;
    }
    EXPECT_TRUE(editor()->isReadOnly());
}

// Short lines that share a block act as lines: the caret goes up, down, home
// and end by them, copying gives line feeds where they join, and Enter and
// Backspace at a join save as line ends do.
TEST_F(RecipePageTest, LinesSharingABlockActAsLines)
{
    std::string big; // line 90 is long enough to be broken softly
    for (int i = 0; big.size() < 300u * 1024; ++i)
        big += G("第") + std::to_string(i) + G("行 text") + (i == 90 ? std::string(1300, 'w') : "") + "\r\n";
    dir.write("Lib/many.Txt", big);
    start();
    select(node({"Lib", "many"}));
    QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 60000);
    auto *edit = static_cast<TRecipeEdit *>(editor());
    ASSERT_TRUE(edit->linesGrouped());
    ASSERT_TRUE(edit->document()->firstBlock().text().contains(QChar(QChar::LineSeparator)));
    const QStringList lines = edit->recipeText().split(QLatin1Char('\n'));
    ASSERT_EQ(lines.value(70), QStringLiteral("第70行 text"));
    // Where line n starts, counting one character for each line end.
    const auto lineStart = [&](int n) {
        int at = 0;
        for (int i = 0; i < n; ++i)
            at += static_cast<int>(lines[i].size()) + 1;
        return at;
    };
    struct Step {
        int fromLine, fromColumn;
        Qt::Key key;
        int toLine, toColumn; // -1: the end of the line
    };
    const Step steps[] = {
        {0, 2, Qt::Key_Down, 1, 2}, {1, 2, Qt::Key_Up, 0, 2},      {5, 3, Qt::Key_End, 5, -1},
        {5, 3, Qt::Key_Home, 5, 0}, {62, 1, Qt::Key_Down, 63, 1},  {63, 1, Qt::Key_Down, 64, 1},
        {64, 1, Qt::Key_Up, 63, 1}, {70, 0, Qt::Key_Right, 70, 1}, {70, 0, Qt::Key_Left, 69, -1},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(std::to_string(step.fromLine) + " " + std::to_string(step.key));
        selectText(lineStart(step.fromLine) + step.fromColumn, lineStart(step.fromLine) + step.fromColumn);
        QApplication::processEvents();
        QTest::keyClick(editor(), step.key);
        const int column = step.toColumn < 0 ? static_cast<int>(lines[step.toLine].size()) : step.toColumn;
        EXPECT_EQ(editor()->textCursor().position(), lineStart(step.toLine) + column);
    }
    // A click right of a line puts the caret at its end; on a line, where clicked.
    for (const int line : {5, 63, 64, 70}) {
        selectText(lineStart(line), lineStart(line));
        const QRect caret = editor()->cursorRect();
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {},
                          QPoint(editor()->viewport()->width() - 20, caret.center().y()));
        EXPECT_EQ(editor()->textCursor().position(), lineStart(line) + lines[line].size()) << line;
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, QPoint(caret.left() + 1, caret.center().y()));
        EXPECT_EQ(editor()->textCursor().position(), lineStart(line)) << line;
    }
    // A third click selects one line with its end, wherever blocks split it
    // (line 90 is broken softly); the first two select a word.
    for (const int line : {5, 63, 64, 90}) {
        selectText(lineStart(line) + 1, lineStart(line) + 1);
        const QPoint at = editor()->cursorRect().center();
        QTest::mouseDClick(editor()->viewport(), Qt::LeftButton, {}, at);
        EXPECT_NE(edit->selectedRecipeText(), lines[line] + QLatin1Char('\n')) << line;
        QTest::mouseClick(editor()->viewport(), Qt::LeftButton, {}, at);
        EXPECT_EQ(edit->selectedRecipeText(), lines[line] + QLatin1Char('\n')) << line;
    }
    // Across the joins and across a block end.
    selectText(lineStart(60) + 3, lineStart(66) + 2);
    const QString expected = (lines.mid(60, 6).join(QLatin1Char('\n')) + QLatin1Char('\n') + lines[66].left(2)).mid(3);
    QApplication::clipboard()->clear();
    QTest::mouseClick(page().recipeLabel(5), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), expected);

    // Backspace at the start of line 10 joins it to line 9; Enter splits line 20.
    selectText(lineStart(10), lineStart(10));
    QTest::keyClick(editor(), Qt::Key_Backspace);
    selectText(lineStart(20) - 1 + 2, lineStart(20) - 1 + 2);
    QTest::keyClick(editor(), Qt::Key_Return);
    QTest::keyClicks(editor(), QStringLiteral("x"));
    QTest::mouseClick(page().recipeLabel(1), Qt::LeftButton);
    QApplication::processEvents();
    QStringList edited = lines;
    edited[9] += edited[10];
    edited.removeAt(10);
    edited.insert(20, QStringLiteral("x") + edited[19].mid(2));
    edited[19] = edited[19].left(2);
    EXPECT_EQ(gbkFile("Lib/many.Txt"), gbk::fromUtf8(edited.join(QStringLiteral("\r\n")).toStdString()));
}

// Ctrl+End just after a big recipe is in would lay out all of it at once: it
// waits while the editor lays the text out, and a key typed after it waits too.
TEST_F(RecipePageTest, GoingToTheEndLaysOutOnlyWhatItShows)
{
    std::string big;
    const std::string line = G("一行很长的文字 with some ASCII too, 重复很多次。") + "\r\n";
    while (big.size() < 6u * 1024 * 1024)
        big += line;
    dir.write("Lib/huge.Txt", big);
    start();
    select(node({"Lib", "huge"}));
    QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 60000);
    const QTextDocument *doc = editor()->document();
    // Ctrl+End acts at once, and the keys after it follow it.
    QTest::keyClick(editor(), Qt::Key_End, Qt::ControlModifier);
    QTest::keyClick(editor(), Qt::Key_Z);
    EXPECT_TRUE(editor()->textCursor().atEnd());
    EXPECT_TRUE(editor()->toPlainText().endsWith(QStringLiteral("\nz")));
    QApplication::processEvents();
    // Only the blocks shown are laid out: the end, not the middle.
    EXPECT_GT(doc->lastBlock().layout()->lineCount(), 0);
    EXPECT_EQ(doc->findBlockByNumber(doc->blockCount() / 2).layout()->lineCount(), 0);
    QTest::keyClick(editor(), Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(editor()->textCursor().position(), 0);
}

} // namespace

namespace {

// The editor looks as the rich-text editor it replaced did: the same text in the
// same font, size and mode, rendered by both, pixel for pixel.
TEST_F(RecipePageTest, EditorLooksAsTheRichTextEditorDid)
{
    std::string wide;
    while (wide.size() < 3000)
        wide += G("很长的一行 with ASCII，");
    dir.write("Lib/wide.Txt", wide + "\r\n" + G("第二行") + "\r\n\r\n\tTab\r\n");
    std::string items = G("[ItemList]\r\nItemCount=2\r\nItemName1=长\r\nItemName2=多\r\n[长]\r\n");
    items += G("第一行\r\n\r\n") + wide + "\r\n  " + G("末行  ") + "\r\n";
    items += G("[多]\r\n"); // long enough to go in pieces, lines sharing blocks
    for (int i = 0; i < 300; ++i)
        items += (i % 9 == 4 ? "" : i == 20 ? wide : G("第") + std::to_string(i) + G("项 text")) + "\r\n";
    dir.write("Lib/items.Ini", items);
    std::string many; // big enough to go in pieces, short lines sharing blocks
    for (int i = 0; many.size() < 200u * 1024; ++i)
        many += i % 11 == 10 ? "\r\n"
                : i == 20
                    ? wide + "\r\n"
                    : G("第") + std::to_string(i) + (i % 5 ? G("行，短 text") : "") + (i % 7 ? "" : "\t") + "\r\n";
    dir.write("Lib/many.Txt", many);
    start();
    frm->resize(760, 560);
    QApplication::processEvents();
    struct Case {
        std::initializer_list<const char *> path;
        int selectFrom, selectTo; // a selection shown, or none
        int fontStep;             // font-size steps taken before
        int topLine = 0;          // scrolled to show this line at the top
    };
    const Case cases[] = {
        {{"Lib", "hello"}, 0, 0, 0},
        {{"Lib", "hello"}, 1, 12, 0},
        {{"Lib", "wide"}, 0, 0, 0},
        {{"Lib", "wide"}, 2, 700, 4},
        {{"Lib", "hello"}, 0, 0, -5},
        {{"Lib", "问候", "早安"}, 0, 0, 0},
        {{"Lib", "问候", "早安"}, 3, 20, 0},
        {{"Lib", "items", "长"}, 0, 0, 0},
        {{"Lib", "items", "长"}, 5, 900, 0},
        // Lines sharing blocks look as lines in blocks of their own.
        {{"Lib", "many"}, 0, 0, 0},
        {{"Lib", "many"}, 30, 300, 0},
        {{"Lib", "many"}, 3, 250, 3},
        {{"Lib", "many"}, 0, 0, 4},
        {{"Lib", "many"}, 40, 200, -5},
        {{"Lib", "many"}, 700, 1500, 0, 37},
        {{"Lib", "many"}, 700, 1500, 3, 70},
        {{"Lib", "many"}, 300, 2500, 0, 15},
        {{"Lib", "many"}, 0, 0, -5, 100},
        // Item lines sharing blocks look as lines with gap blocks under them.
        {{"Lib", "items", "多"}, 0, 0, 0},
        {{"Lib", "items", "多"}, 2, 260, 0},
        {{"Lib", "items", "多"}, 30, 1900, 0},
        {{"Lib", "items", "多"}, 1950, 2600, 0, 40},
        {{"Lib", "items", "多"}, 1950, 2600, 0, 70},
    };
    for (const Case &c : cases) {
        const QString name = QString::fromUtf8(*(c.path.end() - 1));
        SCOPED_TRACE(name.toStdString() + " " + std::to_string(c.selectFrom) + " " + std::to_string(c.fontStep));
        select(node(c.path));
        QTRY_VERIFY_WITH_TIMEOUT(!page().Loading(), 10000);
        ASSERT_EQ(static_cast<TRecipeEdit *>(editor())->linesGrouped(),
                  name == QStringLiteral("many") || name == QStringLiteral("多"));
        frm->FontSizeStep(c.fontStep);
        QApplication::processEvents();
        if (c.selectTo)
            selectText(c.selectFrom, c.selectTo);
        // Today's editor as the page used to set it up, beside the new one.
        TPlainCopyTextEdit old(editor()->parentWidget());
        old.setFrameShape(QFrame::NoFrame);
        old.setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        old.setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        old.setPalette(editor()->palette());
        old.setFont(editor()->font());
        old.setGeometry(editor()->geometry());
        if (page().loader->DisplayMode()) {
            old.setLineWrapMode(QTextEdit::WidgetWidth);
            old.setReadOnly(true);
            old.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
            auto *doc = new QTextDocument(&old);
            doc->setDefaultFont(old.font());
            QTextCursor cursor(doc);
            const auto lines = *ReadItemCopyLines(dir.path() + "/Lib/" +
                                                      (name == QStringLiteral("问候") || name == QStringLiteral("早安")
                                                           ? std::string("问候.Ini")
                                                           : "items.Ini"),
                                                  G(name.toUtf8().constData()));
            AppendItemLines(cursor, lines, 0, lines.size(), frm->windowFont().pixelSize());
            old.setDocument(doc);
        } else {
            old.setLineWrapMode(QTextEdit::NoWrap);
            old.setAcceptRichText(false);
            old.setPlainText(editor()->toPlainText());
        }
        QTextCursor sel = old.textCursor();
        const bool gaps = page().loader->DisplayMode() && static_cast<TRecipeEdit *>(editor())->linesGrouped();
        const auto at = [&](int position) { return gaps ? withGaps(editor()->document(), position) : position; };
        sel.setPosition(at(editor()->textCursor().anchor()));
        sel.setPosition(at(editor()->textCursor().position()), QTextCursor::KeepAnchor);
        old.setTextCursor(sel);
        old.show();
        // Each follows the caret its own way (this one centres it): compared from
        // the same place.
        for (QAbstractScrollArea *view : std::initializer_list<QAbstractScrollArea *>{&old, editor()}) {
            view->horizontalScrollBar()->setValue(0);
            view->verticalScrollBar()->setValue(0);
        }
        if (c.topLine) { // the old editor scrolls by pixels
            editor()->verticalScrollBar()->setValue(c.topLine);
            // The same place in the old editor. Below the top of a block, a grouped
            // item is shown from under the line above, which is the top of that
            // line's gap block in the old one.
            const QTextBlock top = editor()->document()->findBlockByLineNumber(c.topLine);
            const int line = c.topLine - top.firstLineNumber();
            const int first = top.position() + top.layout()->lineAt(line).textStart();
            const bool underGap =
                gaps && line > 0 && editor()->document()->characterAt(first - 1) == QChar::LineSeparator;
            const QTextBlock was = old.document()->findBlock(at(first));
            const QAbstractTextDocumentLayout *layout = old.document()->documentLayout();
            const qreal y = underGap ? layout->blockBoundingRect(was.previous()).top()
                                     : layout->blockBoundingRect(was).top() +
                                           was.layout()->lineForTextPosition(at(first) - was.position()).y();
            old.verticalScrollBar()->setValue(static_cast<int>(y));
        }
        QApplication::processEvents();
        const QImage was = old.grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage now = editor()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(was.size(), now.size());
        // A text taller than the view: the vertical thumb is sized by lines, not
        // pixels, and may differ; everything else may not.
        const QScrollBar *bar = editor()->verticalScrollBar();
        const QRect thumbBar =
            old.verticalScrollBar()->maximum() > 0 ? QRect(bar->mapTo(editor(), QPoint(0, 0)), bar->size()) : QRect();
        int differ = 0;
        for (int y = 0; y < was.height(); ++y)
            for (int x = 0; x < was.width(); ++x)
                differ += !thumbBar.contains(x, y) && was.pixel(x, y) != now.pixel(x, y);
        if (differ) {
            was.save(QStringLiteral("/tmp/vomra-look-was-%1-%2.png").arg(name).arg(c.selectFrom));
            now.save(QStringLiteral("/tmp/vomra-look-now-%1-%2.png").arg(name).arg(c.selectFrom));
        }
        EXPECT_EQ(differ, 0);
        frm->FontSizeStep(-c.fontStep);
    }
}

} // namespace
