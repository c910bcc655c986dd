// The drawing board page inside the real main window.
#include "app/Main.h"
#include "pagekit/Dialogs.h"
#include "art/ui/ArtFontPage.h"
#include "board/ui/DrawText.h"
#include "board/ui/PenPage.h"
#include "pagekit/AlignmentHint.h"
#include "platform/GbkQt.h"
#include "support/MainWindowFixture.h"
#include "support/ImageCheck.h"
#include "support/TempFolder.h"
#include "pagekit/core/PageColours.h"
#include "widgets/Button.h"
#include "widgets/FlatControls.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"
#include "widgets/UpDown.h"

#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::pixelAt;
using vomra::test::TempFolder;

namespace {

std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }
QString U(const char *utf8) { return QString::fromUtf8(utf8); }
std::string spaces(std::size_t n) { return std::string(n, ' '); }

class PenPageTest : public test::MainWindowFixture {
protected:
    TPenPage *pen = nullptr;
    TGWDrawText *grid = nullptr;

    void SetUp() override
    {
        openWindow();
        QTest::mouseClick(frm->GWImageLabels[2], Qt::LeftButton); // "文本画板"
        QApplication::processEvents();
        pen = frm->pen.get();
        grid = pen->penDrawText1;
        QApplication::clipboard()->clear();
    }

    QPoint at(int column, int row) const
    {
        return {(column - 1) * grid->CellWidth() + grid->CellWidth() / 2,
                (row - 1) * grid->CellHeight() + grid->CellHeight() / 2};
    }
    void mouse(QEvent::Type type, Qt::MouseButton button, QPoint pos, Qt::MouseButtons held)
    {
        QMouseEvent event(type, pos, grid->mapToGlobal(pos), button, held, Qt::NoModifier);
        QApplication::sendEvent(grid, &event);
    }
    // A left-button stroke through the given cells.
    void stroke(std::initializer_list<QPoint> cells)
    {
        auto it = cells.begin();
        mouse(QEvent::MouseButtonPress, Qt::LeftButton, at(it->x(), it->y()), Qt::LeftButton);
        QPoint last = *it;
        for (++it; it != cells.end(); ++it) {
            mouse(QEvent::MouseMove, Qt::NoButton, at(it->x(), it->y()), Qt::LeftButton);
            last = *it;
        }
        mouse(QEvent::MouseButtonRelease, Qt::LeftButton, at(last.x(), last.y()), Qt::NoButton);
    }
    void tool(int n) { QTest::mouseClick(pen->penImageLabel(n), Qt::LeftButton); }
    void clickMode(TGWRadioButton *radio) { QTest::mouseClick(radio, Qt::LeftButton, {}, QPoint(8, 10)); }
    QString clipboardText() const { return QApplication::clipboard()->text(); }
    Lines blankRows(int rows, int columns) const { return Lines(static_cast<std::size_t>(rows), spaces(static_cast<std::size_t>(columns))); }
};

} // namespace

TEST_F(PenPageTest, StartsInBoardModeWithTheColumnsValues)
{
    EXPECT_EQ(frm->CurrentPage(), pgPen);
    EXPECT_FALSE(pen->TextMode());
    EXPECT_TRUE(pen->penpnl1RadioButton2->Checked());
    EXPECT_FALSE(pen->penpnl1RadioButton1->Checked());
    EXPECT_EQ(pen->penpnl1RadioButton1->Caption(), U("文本模式"));
    EXPECT_EQ(pen->penpnl1RadioButton2->Caption(), U("画板模式"));
    EXPECT_TRUE(pen->penScrollBox1->isVisible());
    EXPECT_FALSE(pen->penRichEdit1->isVisible());
    EXPECT_EQ(pen->penPanel1->width(), 126);
    EXPECT_EQ(pen->penPanel1->height(), frm->pnlPen->height());

    TGWFlatComboBox *combo = pen->penpnl1ComboBox1;
    EXPECT_EQ(combo->currentText(), U("*"));
    EXPECT_EQ(combo->currentIndex(), -1);
    EXPECT_EQ(combo->maxVisibleItems(), 16);
    ASSERT_EQ(combo->count(), 39);
    EXPECT_EQ(combo->itemText(0), U("§"));
    EXPECT_EQ(combo->itemText(2), U("★"));
    EXPECT_EQ(combo->itemText(38), U("√"));
    for (int i = 0; i < combo->count(); ++i)
        EXPECT_EQ(gbk::fromQString(combo->itemText(i)).size(), 2u) << i; // every pen is double-byte

    EXPECT_EQ(pen->penpnl1Edit1->text(), U("6"));
    EXPECT_EQ(pen->penpnl1Edit2->text(), U("60"));
    EXPECT_TRUE(pen->penpnl1Edit1->isReadOnly());
    EXPECT_EQ(pen->penpnl1UpDown1->Associate(), pen->penpnl1Edit1);
    EXPECT_EQ(pen->penpnl1UpDown2->Associate(), pen->penpnl1Edit2);
    EXPECT_EQ(pen->penpnl1UpDown1->Max(), 480);
    EXPECT_EQ(pen->penpnl1UpDown2->Max(), 640);
    EXPECT_EQ(pen->penpnl1Label6->text(), U("不在画板内"));
    EXPECT_EQ(grid->TextList(), blankRows(6, 60));
    for (const char *name : {"penpnl1Label1", "penpnl1Label2", "penpnl1Label3", "penpnl1Label4", "penpnl1Label5",
                             "penpnl1Label6", "penpnl1ComboBox1", "penpnl1Edit1", "penpnl1Edit2", "penpnl1UpDown1",
                             "penpnl1UpDown2", "penpnl1RadioButton1", "penpnl1RadioButton2"}) {
        QWidget *w = frm->findChild<QWidget *>(QString::fromLatin1(name));
        ASSERT_NE(w, nullptr) << name;
        // Every control sits inside the column.
        EXPECT_TRUE(QRect(0, 0, 126, pen->penPanel1->height()).contains(w->geometry())) << name;
    }
}

TEST_F(PenPageTest, StrokesWithThePenListThenCopyGivesFullWidthRows)
{
    stroke({{1, 1}, {2, 1}, {3, 1}});
    pen->penpnl1ComboBox1->setCurrentIndex(2); // "★"
    EXPECT_EQ(grid->PenText(), G("★"));
    stroke({{1, 2}, {3, 2}});
    // A pen typed as several characters uses the first one.
    pen->penpnl1ComboBox1->setEditText(U("ab"));
    EXPECT_EQ(grid->PenText(), "a");
    stroke({{60, 6}});

    tool(4);
    const std::string expected = "***" + spaces(57) + "\n" + G("★★") + spaces(56) + "\n" + spaces(60) + "\n" +
                                 spaces(60) + "\n" + spaces(60) + "\n" + spaces(59) + "a";
    EXPECT_EQ(gbk::fromQString(clipboardText()), expected);
    // The copy leaves the caret at the start with nothing selected.
    EXPECT_FALSE(pen->penRichEdit1->textCursor().hasSelection());
    EXPECT_EQ(pen->penRichEdit1->textCursor().position(), 0);
}

TEST_F(PenPageTest, BoardModeCopyIgnoresASelectionTextModeCopyKeepsIt)
{
    stroke({{1, 1}, {2, 1}});
    tool(4);
    QTextCursor cursor = pen->penRichEdit1->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(1, QTextCursor::KeepAnchor);
    pen->penRichEdit1->setTextCursor(cursor);
    tool(4);
    EXPECT_EQ(clipboardText().size(), 6 * 60 + 5); // the whole grid again

    clickMode(pen->penpnl1RadioButton1);
    ASSERT_TRUE(pen->TextMode());
    tool(4);
    EXPECT_EQ(clipboardText(), U("**\n\n\n\n\n")); // rows without trailing blanks
    cursor = pen->penRichEdit1->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(1, QTextCursor::KeepAnchor);
    pen->penRichEdit1->setTextCursor(cursor);
    tool(4);
    EXPECT_EQ(clipboardText(), U("*"));
}

TEST_F(PenPageTest, ModeSwitchCarriesTheContentBothWays)
{
    pen->penpnl1ComboBox1->setEditText(U("★"));
    stroke({{1, 1}, {3, 1}});
    pen->penpnl1ComboBox1->setEditText(U("　")); // a full-width blank, typed
    stroke({{5, 1}});
    pen->penpnl1ComboBox1->setEditText(U("*"));
    stroke({{2, 3}});
    const Lines before = grid->TextList();

    clickMode(pen->penpnl1RadioButton1);
    EXPECT_TRUE(pen->TextMode());
    EXPECT_TRUE(pen->penRichEdit1->isVisible());
    EXPECT_FALSE(pen->penScrollBox1->isVisible());
    for (QWidget *w : std::initializer_list<QWidget *>{pen->penpnl1Label1, pen->penpnl1Label6, pen->penpnl1ComboBox1,
                                                       pen->penpnl1Edit2, pen->penpnl1UpDown1})
        EXPECT_FALSE(w->isVisible()) << w->objectName().toStdString();
    EXPECT_TRUE(pen->penpnl1RadioButton2->isVisible());
    EXPECT_EQ(pen->penRichEdit1->toPlainText(), U("★★\n\n *\n\n\n"));

    clickMode(pen->penpnl1RadioButton2);
    EXPECT_FALSE(pen->TextMode());
    EXPECT_TRUE(pen->penScrollBox1->isVisible());
    EXPECT_FALSE(pen->penRichEdit1->isVisible());
    EXPECT_TRUE(pen->penpnl1Label6->isVisible());
    // The trailing full-width blank comes back as two half-width spaces.
    Lines expected = before;
    expected[0] = G("★★") + spaces(56);
    EXPECT_EQ(before[0].substr(4, 2), G("　"));
    EXPECT_EQ(grid->TextList(), expected);
}

TEST_F(PenPageTest, TextTypedInTextModeIsCutToTheBoard)
{
    clickMode(pen->penpnl1RadioButton1);
    // 59 letters and a double-byte character across the right edge; eight rows.
    QString text = QString(59, QLatin1Char('a')) + U("★b\n");
    for (int i = 2; i <= 8; ++i)
        text += QString::number(i) + QLatin1Char('\n');
    pen->penRichEdit1->setPlainText(text);
    clickMode(pen->penpnl1RadioButton2);
    ASSERT_EQ(grid->TextHeight(), 6);
    ASSERT_EQ(grid->TextWidth(), 60);
    EXPECT_EQ(grid->TextList()[0], std::string(59, 'a') + " ");
    EXPECT_EQ(grid->TextList()[5], "6" + spaces(59));
}

TEST_F(PenPageTest, ClickingTheModeShownChangesNothing)
{
    stroke({{1, 1}});
    clickMode(pen->penpnl1RadioButton1);
    pen->penRichEdit1->setPlainText(U("typed"));
    clickMode(pen->penpnl1RadioButton1); // text mode again: the typed text stays
    EXPECT_EQ(pen->penRichEdit1->toPlainText(), U("typed"));
    clickMode(pen->penpnl1RadioButton2);
    EXPECT_EQ(grid->TextList()[0], "typed" + spaces(55));
    stroke({{10, 2}});
    clickMode(pen->penpnl1RadioButton2); // board mode again: the stroke stays
    EXPECT_EQ(grid->TextList()[1], spaces(9) + "*" + spaces(50));
}

TEST_F(PenPageTest, SpinButtonsResizeTheGrid)
{
    TGWUpDown *rows = pen->penpnl1UpDown1;
    TGWUpDown *columns = pen->penpnl1UpDown2;
    stroke({{1, 1}});
    QTest::mouseClick(rows, Qt::LeftButton, {}, QPoint(rows->width() / 2, 2)); // up
    EXPECT_EQ(rows->Position(), 7);
    EXPECT_EQ(pen->penpnl1Edit1->text(), U("7"));
    EXPECT_EQ(grid->TextHeight(), 7);
    EXPECT_EQ(grid->TextWidth(), 60);
    for (int i = 0; i < 2; ++i)
        QTest::mouseClick(columns, Qt::LeftButton, {}, QPoint(columns->width() / 2, columns->height() - 3)); // down
    EXPECT_EQ(columns->Position(), 58);
    EXPECT_EQ(pen->penpnl1Edit2->text(), U("58"));
    EXPECT_EQ(grid->TextWidth(), 58);
    EXPECT_EQ(grid->TextHeight(), 7);
    EXPECT_EQ(grid->TextList()[0], "*" + spaces(57));
    EXPECT_EQ(grid->TextList()[6], spaces(58));
    EXPECT_EQ(grid->size(), grid->gridSize());

    columns->setPosition(640);
    QTest::mouseClick(columns, Qt::LeftButton, {}, QPoint(columns->width() / 2, 2));
    EXPECT_EQ(columns->Position(), 640);
    EXPECT_EQ(pen->penpnl1Edit2->text(), U("640"));
}

TEST_F(PenPageTest, PositionCaptionFollowsTheMouseClamped)
{
    mouse(QEvent::MouseMove, Qt::NoButton, at(12, 3), Qt::NoButton);
    EXPECT_EQ(pen->PositionCaption(), U("行：3\r\r列：12"));
    EXPECT_EQ(pen->penpnl1Label6->text(), U("行：3\n列：12"));

    // A stroke dragged past the right edge shows the last column.
    mouse(QEvent::MouseButtonPress, Qt::LeftButton, at(58, 2), Qt::LeftButton);
    mouse(QEvent::MouseMove, Qt::NoButton, at(58, 2) + QPoint(200, 0), Qt::LeftButton);
    EXPECT_EQ(pen->PositionCaption(), U("行：2\r\r列：60"));
    mouse(QEvent::MouseButtonRelease, Qt::LeftButton, at(58, 2) + QPoint(200, 0), Qt::NoButton);

    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid, &leave);
    EXPECT_EQ(pen->PositionCaption(), U("不在画板内"));
    EXPECT_EQ(pen->penpnl1Label6->text(), U("不在画板内"));
}

TEST_F(PenPageTest, PasteCases)
{
    const QString tenLong = [] {
        QString s;
        for (int i = 0; i < 10; ++i)
            s += QString(80, QLatin1Char('x')) + QLatin1Char('\n');
        return s;
    }();
    const QString sixOf60 = [] {
        QStringList rows(6, QString(60, QLatin1Char('x')));
        return rows.join(QLatin1Char('\n'));
    }();
    struct Case {
        const char *name;
        bool textMode;
        bool copyFirst;    // board mode copy leaves the rows in the view, caret at the start
        const char *clip;  // nullptr: no text on the clipboard
        Lines rows;        // the grid's first rows afterwards
        const char *view;  // the text view afterwards (nullptr: not checked)
    };
    const Case cases[] = {
        {"ten long lines onto an empty view", false, false, "", {}, nullptr},
        {"text before the copied rows runs into the first", false, true, "AB", {"AB*" + spaces(57), spaces(60)},
         "AB*\n\n\n\n\n"},
        {"a line break keeps the first row apart", false, true, "AB\n", {"AB" + spaces(58), "*" + spaces(59)},
         "AB\n*\n\n\n\n"},
        {"nothing to paste still fits both views", true, false, nullptr, {"*" + spaces(59), spaces(60)},
         "*\n\n\n\n\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            SetUp();
        }
        stroke({{1, 1}});
        if (c.copyFirst)
            tool(4);
        if (c.textMode)
            clickMode(pen->penpnl1RadioButton1);
        if (!c.clip)
            QApplication::clipboard()->clear();
        else if (*c.clip)
            QApplication::clipboard()->setText(U(c.clip));
        else
            QApplication::clipboard()->setText(tenLong);
        pen->penImageLabel(5)->setEnabled(true);
        tool(5);
        EXPECT_EQ(grid->TextHeight(), 6);
        EXPECT_EQ(grid->TextWidth(), 60);
        if (c.rows.empty()) {
            EXPECT_EQ(grid->TextList(), Lines(6, std::string(60, 'x')));
            EXPECT_EQ(pen->penRichEdit1->toPlainText(), sixOf60);
        } else {
            for (std::size_t i = 0; i < c.rows.size(); ++i)
                EXPECT_EQ(grid->TextList()[i], c.rows[i]) << i;
        }
        if (c.view) {
            EXPECT_EQ(pen->penRichEdit1->toPlainText(), U(c.view));
        }
    }
}

TEST_F(PenPageTest, CharactersGbkCannotHoldAreToldOnceWhenTheyReachTheBoard)
{
    QStringList notices;
    dialogs::nextAnswer() = [&](const BoxShown &box) {
        notices << box.text;
        return Answer::Yes;
    };
    struct Case {
        const char *name;
        bool textMode; // pasted with the label in text mode rather than board mode
        bool typed;    // typed into the text view, reaching the board on the switch
        const char *text;
        int told;
    };
    const Case cases[] = {
        {"pasted onto the board", false, false, "a한b\n😀", 1},
        {"pasted into the text view", true, false, "한", 1},
        {"typed into the text view", true, true, "x한\n한", 1},
        {"GBK text says nothing", false, false, "★ab", 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (&c != cases) {
            TearDown();
            SetUp();
        }
        notices.clear();
        if (c.textMode)
            clickMode(pen->penpnl1RadioButton1);
        if (c.typed) {
            pen->penRichEdit1->setPlainText(U(c.text));
            clickMode(pen->penpnl1RadioButton2);
        } else {
            QApplication::clipboard()->setText(U(c.text));
            pen->penImageLabel(5)->setEnabled(true);
            tool(5);
        }
        ASSERT_EQ(notices.size(), c.told);
        if (c.told) {
            EXPECT_EQ(notices.front(), QStringLiteral("有些字符不能用 GBK 表示，已换成“?”。"));
        }
        // The board and the view hold the "?" now: going round the modes tells nothing more.
        clickMode(pen->penpnl1RadioButton1);
        clickMode(pen->penpnl1RadioButton2);
        EXPECT_EQ(notices.size(), c.told);
        EXPECT_FALSE(pen->penRichEdit1->toPlainText().contains(U("한")));
    }
    dialogs::nextAnswer() = nullptr;
}

TEST_F(PenPageTest, PasteLabelIsEnabledOnEnterOnlyWithClipboardText)
{
    TGWImageLabel *paste = pen->penImageLabel(5);
    auto enter = [paste] {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(paste, &leave);
        QEnterEvent event(QPointF(3, 3), QPointF(3, 3), paste->mapToGlobal(QPointF(3, 3)));
        QApplication::sendEvent(paste, &event);
    };
    QApplication::clipboard()->clear();
    enter();
    EXPECT_FALSE(paste->isEnabled());
    QApplication::clipboard()->setText(QStringLiteral("x"));
    enter();
    EXPECT_TRUE(paste->isEnabled());
}

TEST_F(PenPageTest, ClearBlanksBothViewsInEitherMode)
{
    QTest::mouseClick(pen->penpnl1UpDown1, Qt::LeftButton, {}, QPoint(pen->penpnl1UpDown1->width() / 2, 2));
    stroke({{1, 1}, {4, 7}});
    tool(4);
    tool(1);
    EXPECT_EQ(grid->TextList(), blankRows(7, 60));
    EXPECT_TRUE(pen->penRichEdit1->toPlainText().isEmpty());

    stroke({{2, 2}});
    clickMode(pen->penpnl1RadioButton1);
    pen->penRichEdit1->appendPlainText(U("more"));
    tool(1);
    EXPECT_TRUE(pen->penRichEdit1->toPlainText().isEmpty());
    EXPECT_EQ(grid->TextList(), blankRows(7, 60));
}

TEST_F(PenPageTest, PageColoursReachTheColumnsControls)
{
    // The window applied the classic scheme at start.
    EXPECT_EQ(pen->penpnl1RadioButton1->MouseEnterColor(), RGB(0, 0, 255));

    TPageColours pc;
    pc.LeftFontColor = RGB(1, 2, 3);
    pc.LeftFontEnterColor = RGB(4, 5, 6);
    pc.PanelLeftColor = RGB(7, 8, 9);
    pc.PanelRightColor = RGB(10, 11, 12);
    pc.RightColor = RGB(13, 14, 15);
    pen->ApplyPageColours(pc);

    EXPECT_EQ(pen->penPanel1->Color(), pc.RightColor);
    EXPECT_EQ(pen->penPanel1->FontColor(), pc.LeftFontColor);
    for (TGWRadioButton *r : {pen->penpnl1RadioButton1, pen->penpnl1RadioButton2})
        EXPECT_EQ(r->MouseEnterColor(), pc.LeftFontEnterColor);
    TGWFlatComboBox *combo = pen->penpnl1ComboBox1;
    EXPECT_EQ(combo->ColorBorder(), pc.PanelLeftColor);
    EXPECT_EQ(combo->ColorButton(), pc.PanelRightColor);
    EXPECT_EQ(combo->ColorButtonFocus(), pc.PanelLeftColor);
    EXPECT_EQ(combo->ColorButtonBorder(), pc.PanelLeftColor);
    EXPECT_EQ(combo->ColorButtonBorderFocus(), pc.LeftFontEnterColor);
    EXPECT_EQ(pen->penpnl1Edit1->ColorBorder(), pc.PanelLeftColor);
    EXPECT_EQ(pen->penpnl1Edit2->ColorBorder(), pc.PanelLeftColor);
    for (TGWUpDown *u : {pen->penpnl1UpDown1, pen->penpnl1UpDown2}) {
        const TColor got[] = {u->Color(),          u->EnterColor(),      u->DownColor(),
                              u->FrameColor(),     u->FrameDownColor(),  u->FrameEnterColor(),
                              u->ArrowColor(),     u->ArrowEnterColor(), u->ArrowDownColor()};
        const TColor want[] = {pc.RightColor,      pc.RightColor,         pc.RightColor,
                               pc.PanelLeftColor,  pc.PanelLeftColor,     pc.PanelLeftColor,
                               pc.LeftFontColor,   pc.LeftFontEnterColor, pc.LeftFontEnterColor};
        for (std::size_t i = 0; i < std::size(got); ++i)
            EXPECT_EQ(got[i], want[i]) << u->objectName().toStdString() << " colour " << i;
    }
    // On screen: the column's free space and the spin buttons' face.
    const QImage column = pen->penPanel1->grab().toImage();
    EXPECT_EQ(pixelAt(column, 120, column.height() - 5), pc.RightColor);
    const QImage spin = pen->penpnl1UpDown1->grab().toImage();
    EXPECT_EQ(pixelAt(spin, 0, 0), pc.PanelLeftColor);
}

// Undo keys on the board: each action is one step, and the grid comes back
// pixel for pixel, the spin buttons with it.
TEST_F(PenPageTest, UndoAndRedoKeysTakeBackStrokesPasteSizeAndClear)
{
    frm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get())); // shortcuts need the active window
    grid->setFocus();
    TGWUpDown *columns = pen->penpnl1UpDown2;
    struct Shot {
        QImage image;
        Lines rows;
        int columns;
    };
    auto shot = [&] {
        return Shot{grid->grab().toImage(), grid->TextList(), columns->Position()};
    };
    auto expectShown = [&](const Shot &want, const char *what) {
        EXPECT_EQ(grid->TextList(), want.rows) << what;
        EXPECT_EQ(columns->Position(), want.columns) << what;
        EXPECT_EQ(grid->grab().toImage(), want.image) << what;
    };
    auto key = [&](QKeyCombination combo) {
        QTest::keyClick(grid, combo.key(), combo.keyboardModifiers());
        QApplication::processEvents();
    };

    std::vector<Shot> shots = {shot()};
    stroke({{1, 1}, {2, 1}, {3, 2}});
    shots.push_back(shot());
    QApplication::clipboard()->setText(U("ab\ncd"));
    tool(5);
    shots.push_back(shot());
    QTest::mouseClick(columns, Qt::LeftButton, {}, QPoint(columns->width() / 2, columns->height() - 3)); // narrower
    shots.push_back(shot());
    tool(1);
    shots.push_back(shot());
    for (std::size_t i = 1; i < shots.size(); ++i)
        ASSERT_NE(shots[i].rows, shots[i - 1].rows) << "action " << i << " changed nothing";

    const char *names[] = {"stroke", "paste", "size change", "clear"};
    for (std::size_t i = shots.size() - 1; i > 0; --i) {
        key(Qt::CTRL | Qt::Key_Z);
        expectShown(shots[i - 1], names[i - 1]);
    }
    key(Qt::CTRL | Qt::Key_Y);
    expectShown(shots[1], "redo with Ctrl+Y");
    key(Qt::CTRL | Qt::SHIFT | Qt::Key_Z);
    expectShown(shots[2], "redo with Ctrl+Shift+Z");

    // In text mode the keys belong to the text view, not the board.
    clickMode(pen->penpnl1RadioButton1);
    const Lines before = grid->TextList();
    EXPECT_FALSE(pen->boardUndo());
    EXPECT_EQ(grid->TextList(), before);
}

TEST_F(PenPageTest, BoardHintsAtAmbiguousCharactersBesideFullWidthOnes)
{
    pen->penpnl1ComboBox1->setEditText(U("■"));
    stroke({{1, 1}, {3, 1}});
    EXPECT_TRUE(pen->boardHint()->message().isEmpty()); // beside half-width blanks only
    QApplication::clipboard()->setText(U("　■■"));
    tool(5);
    EXPECT_NE(pen->boardHint()->message().indexOf(U("■")), -1);
    EXPECT_EQ(grid->TextList()[0].substr(0, 6), G("　■■")); // left as it is
    ASSERT_TRUE(pen->boardUndo());
    EXPECT_TRUE(pen->boardHint()->message().isEmpty());
}
