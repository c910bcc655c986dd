// Managing the library through the real main window: the tree's keys, its menu
// and drops change the disk, the tree follows with its state, and a failure names
// the file and the reason while nothing is lost.
#include "app/Main.h"
#include "base/Gbk.h"
#include "pagekit/Dialogs.h"
#include "recipe/ui/RecipeFindBar.h"
#include "recipe/ui/RecipePage.h"
#include "recipe/ui/RecipeTree.h"
#include "recipe/ui/RecipeTreeActions.h"
#include "support/MainWindowFixture.h"
#include "support/QueuedAnswers.h"
#include "support/TreeNodes.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <deque>
#include <filesystem>

using namespace vomra;

namespace {

class RecipeManageQtTest : public test::MainWindowFixture {
protected:
    std::vector<BoxShown> boxes;
    std::deque<Answer> answers;
    std::string savedXdg;
    bool hadXdg = false;

    void SetUp() override
    {
        dir.write("A/one.Txt", gbk::fromUtf8("一\r\n"));
        dir.write("A/two.Txt", "two");
        dir.write("A/Sub/deep.Txt", "deep");
        dir.write("B/one.Txt", "B's own");
        dir.write("B/three.Txt", "three");
        test::answerFromQueue(boxes, answers);
        const char *xdg = std::getenv("XDG_DATA_HOME");
        hadXdg = xdg != nullptr;
        savedXdg = xdg ? xdg : "";
        ::setenv("XDG_DATA_HOME", dir.file("data").c_str(), 1);
        openWindow();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        MainWindowFixture::TearDown();
        dialogs::nextAnswer() = nullptr;
        if (hadXdg)
            ::setenv("XDG_DATA_HOME", savedXdg.c_str(), 1);
        else
            ::unsetenv("XDG_DATA_HOME");
    }
    QTreeWidget *view() const { return frm->TreeView1; }
    QTreeWidgetItem *node(std::initializer_list<const char *> path) const { return test::treeNode(view(), path); }
    void select(QTreeWidgetItem *item)
    {
        ASSERT_NE(item, nullptr);
        view()->setCurrentItem(item);
        QApplication::processEvents();
    }
    void settle()
    {
        for (int i = 0; i < 3; ++i)
            QApplication::processEvents();
    }
    bool exists(const std::string &name) const { return std::filesystem::exists(dir.file(name)); }
    QString selectedText() const
    {
        const auto items = view()->selectedItems();
        return items.isEmpty() ? QString() : items.first()->text(0);
    }
    void rename(const char *typed)
    {
        view()->setFocus();
        QTest::keyClick(view(), Qt::Key_F2);
        auto *line = view()->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(line, nullptr) << "no editor in place";
        line->setText(QString::fromUtf8(typed));
        QTest::keyClick(line, Qt::Key_Return);
        settle();
    }
    // A drag of source let go over target, as the view's own drag delivers it.
    void drop(QTreeWidgetItem *source, QTreeWidgetItem *target, Qt::KeyboardModifiers mods)
    {
        ASSERT_TRUE(source && target);
        for (QTreeWidgetItem *item : {source, target})
            for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
                p->setExpanded(true);
        settle();
        QTest::mousePress(view()->viewport(), Qt::LeftButton, {}, view()->visualItemRect(source).center());
        QTest::mouseRelease(view()->viewport(), Qt::LeftButton, {}, view()->visualItemRect(source).center());
        settle();
        QMimeData mime;
        mime.setData(QStringLiteral("application/x-qabstractitemmodeldatalist"), QByteArray("x"));
        const QPointF at = view()->visualItemRect(target).center();
        QDragMoveEvent move(at.toPoint(), Qt::CopyAction | Qt::MoveAction, &mime, Qt::NoButton, mods);
        // Delivered as the view's viewport gets it during a real drag (the
        // application drops drag events that no drag is under way for).
        frm->recipe->tree->dragEvent(&move);
        ASSERT_TRUE(move.isAccepted());
        QDropEvent dropped(at, Qt::CopyAction | Qt::MoveAction, &mime, Qt::NoButton, mods);
        frm->recipe->tree->dragEvent(&dropped);
        EXPECT_EQ(dropped.dropAction(), Qt::CopyAction) << "the view would remove the dragged row itself";
        settle();
    }
};

TEST_F(RecipeManageQtTest, RenameInPlaceKeepsOpenFoldersAndSelection)
{
    node({"B"})->setExpanded(true);
    select(node({"A", "one"}));
    rename("first");
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dir.read("A/first.Txt"), gbk::fromUtf8("一\r\n"));
    EXPECT_FALSE(exists("A/one.Txt"));
    ASSERT_NE(node({"A", "first"}), nullptr);
    EXPECT_EQ(selectedText(), QStringLiteral("first"));
    EXPECT_TRUE(node({"B"})->isExpanded()) << "the rebuild closed an open folder";
    EXPECT_EQ(frm->recipe->recipeRichEdit1->toPlainText(), QStringLiteral("一\n"));

    // A folder renamed: what was open and selected inside it stays so.
    select(node({"A", "Sub", "deep"}));
    select(node({"A", "Sub"}));
    rename("Deeper");
    ASSERT_NE(node({"A", "Deeper", "deep"}), nullptr);
    EXPECT_EQ(selectedText(), QStringLiteral("Deeper"));
    EXPECT_EQ(dir.read("A/Deeper/deep.Txt"), "deep");
}

TEST_F(RecipeManageQtTest, FailuresNameTheFileAndTheReasonAndLoseNothing)
{
    select(node({"A", "one"}));
    rename("two");
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("错误"));
    EXPECT_EQ(boxes[0].text, QStringLiteral("重命名“%1”失败：已存在同名的文件或文件夹。")
                                 .arg(QString::fromStdString(dir.file("A/one.Txt"))));
    EXPECT_EQ(dir.read("A/one.Txt"), gbk::fromUtf8("一\r\n"));
    EXPECT_EQ(dir.read("A/two.Txt"), "two");

    boxes.clear();
    drop(node({"A", "one"}), node({"B"}), Qt::NoModifier); // B has a one.Txt
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(
        boxes[0].text,
        QStringLiteral("移动“%1”失败：已存在同名的文件或文件夹。").arg(QString::fromStdString(dir.file("A/one.Txt"))));
    EXPECT_EQ(dir.read("B/one.Txt"), "B's own");
    EXPECT_EQ(dir.read("A/one.Txt"), gbk::fromUtf8("一\r\n"));
}

TEST_F(RecipeManageQtTest, DropMovesAndShiftCopies)
{
    struct Row {
        std::initializer_list<const char *> source, target;
        Qt::KeyboardModifiers mods;
        const char *from, *to;
        bool kept; // the source is still there
    };
    const Row rows[] = {
        {{"A", "two"}, {"B"}, Qt::NoModifier, "A/two.Txt", "B/two.Txt", false},
        {{"B", "three"}, {"A", "Sub", "deep"}, Qt::ShiftModifier, "B/three.Txt", "A/Sub/three.Txt", true},
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(row.to);
        const std::string bytes = dir.read(row.from);
        drop(node(row.source), node(row.target), row.mods);
        EXPECT_TRUE(boxes.empty());
        EXPECT_EQ(dir.read(row.to), bytes);
        EXPECT_EQ(exists(row.from), row.kept);
    }
    ASSERT_NE(node({"B", "two"}), nullptr);
    EXPECT_EQ(node({"A", "two"}), nullptr);
    ASSERT_NE(node({"A", "Sub", "three"}), nullptr);
    EXPECT_TRUE(node({"A", "Sub", "three"})->isSelected());
}

TEST_F(RecipeManageQtTest, DeleteAsksNamingTheItemAndGoesToTheTrash)
{
    select(node({"A", "two"}));
    view()->setFocus();
    answers = {Answer::No};
    QTest::keyClick(view(), Qt::Key_Delete);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, QStringLiteral("确认"));
    EXPECT_EQ(boxes[0].text,
              QStringLiteral("是否把“%1”移到回收站？").arg(QString::fromStdString(dir.file("A/two.Txt"))));
    EXPECT_TRUE(exists("A/two.Txt"));

    answers = {Answer::Yes};
    QTest::keyClick(view(), Qt::Key_Delete);
    settle();
    EXPECT_FALSE(exists("A/two.Txt"));
    EXPECT_EQ(dir.read("data/Trash/files/two.Txt"), "two");
    EXPECT_EQ(node({"A", "two"}), nullptr);
    EXPECT_EQ(selectedText(), QStringLiteral("A")) << "the folder takes the selection";
}

TEST_F(RecipeManageQtTest, MenuMakesFoldersAndCollectionsToNameInPlace)
{
    std::unique_ptr<QMenu> menu(frm->recipe->treeActions->treeMenu(node({"B", "three"})));
    QStringList texts;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            texts << a->text();
    EXPECT_EQ(texts, QStringList({QStringLiteral("新建文件夹"), QStringLiteral("新建秘笈集"), QStringLiteral("重命名"),
                                  QStringLiteral("删除")}));
    menu->actions().first()->trigger();
    settle();
    ASSERT_TRUE(std::filesystem::is_directory(dir.file("B/新建文件夹")));
    auto *line = view()->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(line, nullptr) << "the new folder is not being named";
    line->setText(QStringLiteral("节日"));
    QTest::keyClick(line, Qt::Key_Return);
    settle();
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("B/节日")));
    EXPECT_EQ(selectedText(), QStringLiteral("节日"));

    ASSERT_TRUE(frm->recipe->treeActions->NewCollection(node({"B", "节日"})));
    settle();
    const std::string text = dir.read("B/节日/新建秘笈集.Ini");
    EXPECT_NE(text.find("ItemCount=1\r\n"), std::string::npos);
    ASSERT_NE(node({"B", "节日", "新建秘笈集", "新条目"}), nullptr) << "the template's item is not listed";
}

// The find field: typing in the tree opens it, the tree shows only what matches
// with its folders, Enter steps through the matches selected in the editor, Esc
// brings back the whole tree; hidden, it leaves the column as it was, pixel for pixel.
TEST_F(RecipeManageQtTest, FindFiltersStepsAndLeavesTheLayoutAlone)
{
    dir.write("C/Set.Ini", gbk::fromUtf8("[ItemList]\r\nItemCount=2\r\nItemName1=甲\r\nItemName2=乙\r\n"
                                         "[甲]\r\nsay TWO here\r\n[乙]\r\nnothing\r\n"));
    frm->recipe->LoadRecipeTree();
    node({"B"})->setExpanded(true);
    settle();
    frm->recipe->recipeRichEdit1->setFocus(); // no focus frame in the tree
    settle();
    const QRect treeBefore = view()->geometry();
    const QImage before = frm->pnlLeft->grab().toImage();

    view()->setFocus();
    QTest::keyClicks(view(), QStringLiteral("two"));
    settle();
    auto *field = frm->recipe->findBar->recipeFindEdit;
    ASSERT_TRUE(frm->recipe->findBar->FindShown());
    EXPECT_EQ(field->objectName(), QStringLiteral("recipeFindEdit"));
    EXPECT_EQ(field->text(), QStringLiteral("two")) << "typed keys went elsewhere";
    EXPECT_EQ(view()->geometry().height(), treeBefore.height() - field->height());
    EXPECT_EQ(field->geometry().top(), view()->geometry().bottom() + 1);
    EXPECT_EQ(view()->geometry().top(), treeBefore.top());

    // Shown: A/two (name), C/Set/甲 (text) and their folders; nothing else.
    auto visible = [&](std::initializer_list<const char *> path) {
        QTreeWidgetItem *item = node(path);
        return item && !item->isHidden();
    };
    EXPECT_TRUE(visible({"A", "two"}));
    EXPECT_TRUE(visible({"C", "Set", "甲"}));
    EXPECT_TRUE(visible({"C", "Set"}));
    EXPECT_FALSE(visible({"A", "one"}));
    EXPECT_FALSE(visible({"C", "Set", "乙"}));
    EXPECT_FALSE(visible({"B"}));

    QTest::keyClick(field, Qt::Key_Return);
    settle();
    EXPECT_EQ(selectedText(), QStringLiteral("甲")); // C comes first: top-level folders in reverse order
    EXPECT_EQ(frm->recipe->recipeRichEdit1->textCursor().selectedText(), QStringLiteral("TWO"));
    QTest::keyClick(field, Qt::Key_F3);
    settle();
    EXPECT_EQ(selectedText(), QStringLiteral("two"));

    // A change to the library while finding: the new tree is filtered too.
    ASSERT_TRUE(frm->recipe->treeActions->NewFolder(node({"A"})));
    settle();
    EXPECT_FALSE(visible({"B"}));
    EXPECT_TRUE(visible({"A", "two"}));
    if (auto *naming = view()->viewport()->findChild<QLineEdit *>())
        QTest::keyClick(naming, Qt::Key_Escape); // the new folder keeps its name
    settle();

    QTest::keyClick(field, Qt::Key_Escape);
    settle();
    EXPECT_FALSE(frm->recipe->findBar->FindShown());
    EXPECT_TRUE(visible({"B"}));
    EXPECT_EQ(view()->geometry(), treeBefore);
    // The selection moved into A, so A is open now; as it was, the column is unchanged.
    view()->clearSelection();
    node({"A"})->setExpanded(false);
    node({"C"})->setExpanded(false);
    node({"B"})->setExpanded(true);
    frm->recipe->recipeRichEdit1->setFocus();
    settle();
    EXPECT_TRUE(frm->pnlLeft->grab().toImage() == before) << "the hidden field changed the column";

    // Ctrl+F opens it too, and a resize of the window keeps it under the tree.
    view()->setFocus();
    QTest::keyClick(view(), Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(frm->recipe->findBar->FindShown());
    frm->resize(frm->width(), frm->height() + 40);
    settle();
    EXPECT_EQ(field->geometry().top(), view()->geometry().bottom() + 1);
    EXPECT_EQ(field->geometry().bottom(), treeBefore.bottom() + 40);
}

TEST_F(RecipeManageQtTest, DoubleClickCopiesTheBodyAsPlainText)
{
    dir.write("C/Set.Ini",
              gbk::fromUtf8("[ItemList]\r\nItemCount=1\r\nItemName1=甲\r\n[甲]\r\n  第一行  \r\n第二行\r\n\r\n"));
    dir.write("C/file.Txt", gbk::fromUtf8("文件\r\n第二\r\n"));
    frm->recipe->LoadRecipeTree();
    struct Row {
        std::initializer_list<const char *> path;
        const char *expected; // nullptr: nothing copied
    };
    const Row rows[] = {
        {{"C", "Set", "甲"}, "第一行\n第二行"},
        {{"C", "file"}, "文件\n第二\n"},
        {{"C", "Set"}, nullptr},
        {{"C"}, nullptr},
    };
    for (const Row &row : rows) {
        QApplication::clipboard()->setText(QStringLiteral("before"));
        QTreeWidgetItem *item = node(row.path);
        ASSERT_NE(item, nullptr);
        for (QTreeWidgetItem *p = item->parent(); p; p = p->parent())
            p->setExpanded(true);
        settle();
        const QPoint at = view()->visualItemRect(item).center();
        QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, at); // the view wants the press first
        QTest::mouseDClick(view()->viewport(), Qt::LeftButton, {}, at);
        settle();
        const QMimeData *data = QApplication::clipboard()->mimeData();
        EXPECT_EQ(data->text(), QString::fromUtf8(row.expected ? row.expected : "before"));
        if (row.expected) {
            EXPECT_FALSE(data->hasHtml());
            EXPECT_EQ(data->formats(), QStringList({QStringLiteral("text/plain")}));
        }
    }
}

// 以文本编辑: the .Ini as GBK text in edit mode; 保存 writes it whole and the
// tree lists the items it now names.
TEST_F(RecipeManageQtTest, CollectionEditedAsTextSavesAndRebuildsItsItems)
{
    const std::string ini = gbk::fromUtf8("[ItemList]\r\nItemCount=1\r\nItemName1=甲\r\n[甲]\r\n一\r\n");
    dir.write("C/Set.Ini", ini);
    frm->recipe->LoadRecipeTree();
    QTreeWidgetItem *item = node({"C", "Set", "甲"});
    ASSERT_NE(item, nullptr);
    std::unique_ptr<QMenu> menu(frm->recipe->treeActions->treeMenu(item));
    QAction *edit = nullptr;
    for (QAction *a : menu->actions())
        if (a->text() == QStringLiteral("以文本编辑"))
            edit = a;
    ASSERT_NE(edit, nullptr);
    edit->trigger();
    settle();
    QPlainTextEdit *editor = frm->recipe->recipeRichEdit1;
    EXPECT_FALSE(editor->isReadOnly());
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("[ItemList]\nItemCount=1\nItemName1=甲\n[甲]\n一\n"));
    EXPECT_TRUE(frm->recipe->recipeLabel(1)->isEnabled());

    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("[乙]\n二\n"));
    QTextCursor c = editor->document()->find(QStringLiteral("ItemCount=1"));
    c.insertText(QStringLiteral("ItemCount=2\nItemName2=乙"));
    QTest::mouseClick(frm->recipe->recipeLabel(1), Qt::LeftButton);
    settle();
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dir.read("C/Set.Ini"), gbk::fromUtf8("[ItemList]\r\nItemCount=2\r\nItemName2=乙\r\nItemName1=甲\r\n"
                                                   "[甲]\r\n一\r\n[乙]\r\n二\r\n"));
    ASSERT_NE(node({"C", "Set", "乙"}), nullptr) << "the new item is not listed";
    EXPECT_FALSE(editor->isReadOnly()) << "the text closed after saving";

    // Another node ends it: edits there are asked about like any recipe's.
    editor->insertPlainText(QStringLiteral("x"));
    answers = {Answer::No};
    select(node({"A", "two"}));
    settle();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("是否保存对“Set”的修改？"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("two"));
}

// Characters GBK cannot hold: 是 keeps them in a UTF-8 file with a byte-order
// mark, 否 writes GBK with "?", 取消 writes nothing; a UTF-8 file reopens with
// them and saves as UTF-8 again without a question.
TEST_F(RecipeManageQtTest, TextGbkCannotHoldIsKeptAsUtf8WhenAsked)
{
    QPlainTextEdit *editor = frm->recipe->recipeRichEdit1;
    struct Row {
        Answer answer;
        std::string expected; // the file afterwards
    };
    const std::string bom = "\xEF\xBB\xBF";
    const Row rows[] = {
        {Answer::Cancel, "two"},
        {Answer::No, "two?"},
        {Answer::Yes, bom + "two\xF0\x9F\x98\x80"},
    };
    for (const Row &row : rows) {
        dir.write("A/two.Txt", "two");
        select(node({"A", "one"}));
        select(node({"A", "two"}));
        editor->moveCursor(QTextCursor::End);
        editor->insertPlainText(QStringLiteral("😀"));
        boxes.clear();
        answers = {row.answer};
        QTest::mouseClick(frm->recipe->recipeLabel(1), Qt::LeftButton);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_TRUE(boxes[0].withCancel);
        EXPECT_TRUE(boxes[0].text.contains(QString::fromStdString(dir.file("A/two.Txt"))));
        EXPECT_EQ(dir.read("A/two.Txt"), row.expected);
        answers = {Answer::No};
        select(node({"A", "one"})); // edits left by 取消 dropped
    }

    boxes.clear();
    select(node({"A", "two"}));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("two😀"));
    editor->moveCursor(QTextCursor::End);
    editor->insertPlainText(QStringLiteral("\n再见"));
    QTest::mouseClick(frm->recipe->recipeLabel(1), Qt::LeftButton);
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(dir.read("A/two.Txt"), bom + "two\xF0\x9F\x98\x80\r\n再见");
}

} // namespace
