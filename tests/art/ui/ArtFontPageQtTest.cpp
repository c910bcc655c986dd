// The art font maker page inside the real main window: its option column, the
// make label and the joins, the paste label, the page colours.
#include "app/Main.h"
#include "pagekit/Dialogs.h"
#include "art/ui/ArtFontPage.h"
#include "platform/FontSetup.h"
#include "support/MainWindowFixture.h"
#include "support/TempFolder.h"
#include "pagekit/core/PageColours.h"
#include "widgets/Button.h"
#include "widgets/FlatControls.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

QString U(const char *utf8) { return QString::fromUtf8(utf8); }

class ArtFontPageTest : public test::MainWindowFixture {
protected:
    TArtFontPage *page = nullptr;
    QStringList notices;

    void SetUp() override
    {
        dialogs::nextAnswer() = [this](const BoxShown &box) {
            EXPECT_EQ(box.kind, BoxKind::Notice);
            notices << box.text;
            return Answer::Yes;
        };
        openWindow();
        QTest::mouseClick(frm->GWImageLabels[0], Qt::LeftButton); // "制作艺术字体"
        QApplication::processEvents();
        page = frm->artFont.get();
    }
    void TearDown() override
    {
        frm->close();
        dialogs::nextAnswer() = nullptr;
    }

    QString output() const { return page->artfontRichEdit1->toPlainText(); }
    void setWord(const char *word)
    {
        page->artfontEdit1->selectAll();
        page->artfontEdit1->del();
        // Typed one key at a time; the keys carry Chinese text, as an input method sends it.
        for (QChar c : U(word)) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(page->artfontEdit1, &press);
        }
        ASSERT_EQ(page->artfontEdit1->text(), U(word));
    }
    void setCharacters(const char *fg, const char *bg)
    {
        page->artfontpnl1ComboBox1->setEditText(U(fg));
        page->artfontpnl1ComboBox2->setEditText(U(bg));
    }
    void make() { QTest::mouseClick(page->artfontImageLabel(1), Qt::LeftButton); }
    void pickLayout(int n) { QTest::mouseClick(page->artfontpnl4RadioButtons[static_cast<std::size_t>(n - 1)], Qt::LeftButton); }
    void pickMode(int n)
    {
        // The mode section starts closed: open it so the radios can be clicked.
        if (!page->artfontAutoPanelTitle(3)->Expanded())
            QTest::mouseClick(page->artfontAutoPanelTitle(3), Qt::LeftButton, {}, QPoint(20, 12));
        QTest::mouseClick(page->artfontpnl3RadioButtons[static_cast<std::size_t>(n - 1)], Qt::LeftButton);
    }
};

// "艺" in the default font at 9 points: its 12-pixel strike, ink as "★", the rest "　".
const char *const kYiStar =
    "　　　　　　　　　　　　\n"
    "　　　　★　　★　　　　\n"
    "★★★★★★★★★★★　\n"
    "　　　　★　　★　　　　\n"
    "　　　　★　　★　　　　\n"
    "　　★★★★★★★　　　\n"
    "　　　　　　★★　　　　\n"
    "　　　　★★　　　　　　\n"
    "　　　★　　　　　　　　\n"
    "　　★　　　　　　　★　\n"
    "　　★　　　　　　　★　\n"
    "　　　★★★★★★★★　";

} // namespace

TEST_F(ArtFontPageTest, SectionsStartAsDesignedAndChainDownTheColumn)
{
    const char *const captions[4] = {" 文字", " 字体属性", " 制作模式", " 排版方式"};
    const bool open[4] = {true, false, false, true};
    for (int i = 1; i <= 4; ++i) {
        TGWAutoPanelTitle *title = page->artfontAutoPanelTitle(i);
        EXPECT_EQ(title->objectName(), QStringLiteral("artfontAutoPanelTitle%1").arg(i));
        EXPECT_EQ(page->artfontAutoPanel(i)->objectName(), QStringLiteral("artfontAutoPanel%1").arg(i));
        EXPECT_EQ(title->Caption(), U(captions[i - 1]));
        EXPECT_EQ(title->Expanded(), open[i - 1]) << i;
        EXPECT_EQ(title->AutoPanel(), page->artfontAutoPanel(i));
        EXPECT_EQ(title->NextTitle(), i < 4 ? page->artfontAutoPanelTitle(i + 1) : nullptr);
        EXPECT_LE(title->x() + title->width(), TArtFontPage::kColumnWidth);
        // The body hangs under its title; the next title follows NextTitleSpace below it.
        TGWAutoPanel *body = page->artfontAutoPanel(i);
        EXPECT_EQ(body->y(), title->y() + title->height());
        if (i < 4) {
            EXPECT_EQ(page->artfontAutoPanelTitle(i + 1)->y(), body->y() + body->height() + title->NextTitleSpace()) << i;
        }
    }
    EXPECT_EQ(page->artfontAutoPanel(2)->height(), 1); // closed from the start, no roll

    // Opening the font section pushes the two below it down and shows its controls.
    const int modeTop = page->artfontAutoPanelTitle(3)->y();
    QTest::mouseClick(page->artfontAutoPanelTitle(2), Qt::LeftButton, {}, QPoint(20, 12));
    TGWAutoPanel *face = page->artfontAutoPanel(2);
    EXPECT_EQ(face->height(), face->SelfHeight());
    EXPECT_EQ(page->artfontAutoPanelTitle(3)->y(), modeTop + face->SelfHeight() - 1);
    EXPECT_EQ(page->artfontAutoPanelTitle(4)->y(), page->artfontAutoPanelTitle(3)->y() + 25 + 1 + page->artfontAutoPanelTitle(3)->NextTitleSpace());
    // Even so, at the smallest window the last section still ends inside the column.
    EXPECT_EQ(frm->size(), QSize(640, 480));
    EXPECT_LE(page->artfontAutoPanel(4)->y() + page->artfontAutoPanel(4)->height(), page->artfontPanel1->height());
    for (QWidget *w : face->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        EXPECT_TRUE(face->rect().contains(w->geometry())) << w->objectName().toStdString();
        EXPECT_TRUE(w->isVisible()) << w->objectName().toStdString();
    }
    // Every control of an open section lies inside its body.
    for (int i : {1, 4})
        for (QWidget *w : page->artfontAutoPanel(i)->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            EXPECT_TRUE(page->artfontAutoPanel(i)->rect().contains(w->geometry())) << w->objectName().toStdString();
}

TEST_F(ArtFontPageTest, ControlsStartWithTheirDefaults)
{
    EXPECT_EQ(page->artfontEdit1->text(), U("艺术字"));
    EXPECT_EQ(page->artfontpnl1ComboBox1->currentText(), U("*"));
    EXPECT_EQ(page->artfontpnl1ComboBox2->currentText(), QString());
    const QString symbols = U("§☆★○●◎⊙◇◆□■△▲※→←↑↓〓°＄￡№‰℃¤￠≈⌒≡＝∷∫∮∝∞≌∽√");
    for (TGWFlatComboBox *combo : {page->artfontpnl1ComboBox1, page->artfontpnl1ComboBox2}) {
        EXPECT_EQ(combo->Style(), csDropDown);
        EXPECT_EQ(combo->maxVisibleItems(), 16);
        ASSERT_EQ(combo->count(), 39);
        for (int i = 0; i < 39; ++i)
            EXPECT_EQ(combo->itemText(i), symbols.mid(i, 1)) << i;
    }

    TGWFlatComboBox *fonts = page->artfontpnl2ComboBox1;
    EXPECT_EQ(fonts->Style(), csOwnerDrawFixed);
    EXPECT_EQ(fonts->currentText(), U("宋体"));
    EXPECT_EQ(fonts->findText(U("宋体")), fonts->currentIndex());
    EXPECT_GE(fonts->findText(songFamily()), 0); // the installed families are offered too
    EXPECT_EQ(fonts->view()->sizeHintForRow(0), 16);

    TGWFlatComboBox *sizes = page->artfontpnl2ComboBox2;
    EXPECT_EQ(sizes->Style(), csDropDownList);
    ASSERT_EQ(sizes->count(), 25);
    EXPECT_EQ(sizes->itemText(0), U("6"));
    EXPECT_EQ(sizes->itemText(24), U("30"));
    EXPECT_EQ(sizes->currentText(), U("9"));

    const char *const checks[3] = {"粗体", "斜体", "下划线"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(page->artfontpnl2CheckBoxes[static_cast<std::size_t>(i)]->Caption(), U(checks[i]));
        EXPECT_FALSE(page->artfontpnl2CheckBoxes[static_cast<std::size_t>(i)]->Checked());
    }
    const char *const modes[3] = {"常规模式", "前景循环模式", "前景跟随模式"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(page->artfontpnl3RadioButtons[static_cast<std::size_t>(i)]->Caption(), U(modes[i]));
        EXPECT_EQ(page->artfontpnl3RadioButtons[static_cast<std::size_t>(i)]->Checked(), i == 0);
    }
    const char *const layouts[4] = {"常规方式", "追加到左边", "追加到右边", "追加到下边"};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(page->artfontpnl4RadioButtons[static_cast<std::size_t>(i)]->Caption(), U(layouts[i]));
        EXPECT_EQ(page->artfontpnl4RadioButtons[static_cast<std::size_t>(i)]->Checked(), i == 0);
    }
    EXPECT_EQ(page->CheckedMakeMode(), MakeMode::Normal);
    EXPECT_EQ(page->CheckedLayoutMode(), LayoutMode::Replace);
}

TEST_F(ArtFontPageTest, DefaultsMakeTwelveRowsOfStarsAndBlanks)
{
    make();
    const QStringList rows = output().split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 12);
    int ink = 0;
    for (const QString &row : rows) {
        EXPECT_EQ(row.size(), 36);
        for (QChar c : row) {
            EXPECT_TRUE(c == QLatin1Char('*') || c == QLatin1Char(' '));
            ink += c == QLatin1Char('*');
        }
    }
    EXPECT_GT(ink, 60);
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ArtFontPageTest, TypedWordWithPickedStarGivesTheGlyphExactly)
{
    setWord("艺");
    page->artfontpnl1ComboBox1->setCurrentIndex(page->artfontpnl1ComboBox1->findText(U("★")));
    page->artfontpnl1ComboBox2->setEditText(U("　"));
    make();
    EXPECT_EQ(output(), U(kYiStar));

    // A half-width background with a double-byte foreground is widened to "　".
    page->artfontpnl1ComboBox2->setEditText(U("-"));
    make();
    EXPECT_EQ(output(), U(kYiStar));
}

TEST_F(ArtFontPageTest, JoinsPutTheNewBlockLeftRightOrBelow)
{
    setCharacters("★", "");
    setWord("术");
    make();
    const QStringList b = output().split(QLatin1Char('\n'));
    setWord("艺");
    make();
    const QStringList a = output().split(QLatin1Char('\n'));
    ASSERT_EQ(a.size(), 12);
    ASSERT_EQ(b.size(), 12);

    struct Case {
        int radio;
        LayoutMode mode;
    };
    for (const Case c : {Case{2, LayoutMode::Left}, Case{3, LayoutMode::Right}, Case{4, LayoutMode::Below}}) {
        SCOPED_TRACE(c.radio);
        pickLayout(1);
        setWord("艺");
        make(); // replaces whatever the last case left
        ASSERT_EQ(output().split(QLatin1Char('\n')), a);
        pickLayout(c.radio);
        EXPECT_EQ(page->CheckedLayoutMode(), c.mode);
        setWord("术");
        make();
        QStringList want;
        if (c.mode == LayoutMode::Below)
            want = a + b;
        for (int i = 0; c.mode != LayoutMode::Below && i < 12; ++i)
            want << (c.mode == LayoutMode::Left ? b[i] + a[i] : a[i] + QLatin1Char(' ') + b[i]);
        EXPECT_EQ(output().split(QLatin1Char('\n')), want);
    }
}

TEST_F(ArtFontPageTest, AppendingBelowPastedTextAddsNoBlankLine)
{
    page->artfontRichEdit1->setPlainText(U("old\n"));
    pickLayout(4);
    setCharacters("*", "");
    setWord("艺");
    make();
    const QStringList rows = output().split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 13);
    EXPECT_EQ(rows[0], U("old"));
    EXPECT_EQ(rows[1].size(), 12);
}

TEST_F(ArtFontPageTest, FollowModeWithNoWordEmptiesTheOutputWhateverTheLayout)
{
    page->artfontRichEdit1->setPlainText(U("keep?"));
    pickLayout(4);
    pickMode(3);
    EXPECT_EQ(page->CheckedMakeMode(), MakeMode::Follow);
    setWord("");
    make();
    EXPECT_EQ(output(), QString());

    // In the other modes an empty word gives one empty row per pixel row.
    pickMode(1);
    pickLayout(1);
    make();
    EXPECT_EQ(output(), QString(11, QLatin1Char('\n')));
}

TEST_F(ArtFontPageTest, CycleModeSpellsTheForegroundOverTheInk)
{
    pickMode(2);
    setCharacters("★☆", "");
    setWord("艺");
    make();
    QString ink;
    for (QChar c : output())
        if (c != QLatin1Char(' ') && c != QLatin1Char('\n'))
            ink += c;
    ASSERT_GT(ink.size(), 2);
    for (int i = 0; i < ink.size(); ++i)
        EXPECT_EQ(ink[i], i % 2 == 0 ? U("★")[0] : U("☆")[0]) << i;
}

TEST_F(ArtFontPageTest, CharactersOutsideGbkAreNoticedOnce)
{
    setWord("艺");
    setCharacters("😀", "😀");
    make();
    EXPECT_EQ(notices.size(), 1);
    EXPECT_TRUE(output().contains(QLatin1Char('?')));

    notices.clear();
    setCharacters("*", "");
    make();
    EXPECT_TRUE(notices.isEmpty());
    // Joining reads the old text back: a character it cannot hold is noticed too.
    page->artfontRichEdit1->setPlainText(U("😀"));
    pickLayout(4);
    make();
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(ArtFontPageTest, MakeThenTrimThenCopyPutsTheArtOnTheClipboard)
{
    setWord("艺");
    page->artfontpnl1ComboBox1->setCurrentIndex(page->artfontpnl1ComboBox1->findText(U("★")));
    make();
    pickLayout(3);
    setWord("术");
    make();
    QTest::mouseClick(page->artfontImageLabel(3), Qt::LeftButton); // "删除右边空格"
    QTest::mouseClick(page->artfontImageLabel(7), Qt::LeftButton); // "复制"
    const QString copied = QApplication::clipboard()->text();
    EXPECT_EQ(copied, output());
    const QStringList rows = copied.split(QLatin1Char('\n'));
    ASSERT_EQ(rows.size(), 12);
    for (const QString &row : rows) {
        EXPECT_FALSE(row.endsWith(U("　")) || row.endsWith(QLatin1Char(' '))) << row.toStdString();
    }
    EXPECT_TRUE(copied.contains(U("★")));
}

TEST_F(ArtFontPageTest, PasteLabelIsEnabledOnEnterOnlyWithTextOnTheClipboard)
{
    TGWImageLabel *paste = page->artfontImageLabel(8);
    auto enter = [paste] {
        QEnterEvent event(QPointF(5, 5), QPointF(5, 5), paste->mapToGlobal(QPointF(5, 5)));
        QApplication::sendEvent(paste, &event);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(paste, &leave);
    };
    QApplication::clipboard()->clear();
    enter();
    EXPECT_FALSE(paste->isEnabled());
    QApplication::clipboard()->setText(U("★"));
    enter();
    EXPECT_TRUE(paste->isEnabled());
}

TEST_F(ArtFontPageTest, PageColoursReachEveryControlOfTheColumn)
{
    // The classic look is applied at start.
    const TPageColours classic = BuiltInPageColours();
    EXPECT_EQ(page->artfontEdit1->ColorBorder(), classic.PanelLeftColor);
    EXPECT_EQ(page->artfontpnl2ComboBox2->ColorButton(), classic.PanelRightColor);

    TPageColours pc;
    pc.LeftFontColor = RGB(1, 2, 3);
    pc.LeftFontEnterColor = RGB(4, 5, 6);
    pc.PanelLeftColor = RGB(7, 8, 9);
    pc.PanelRightColor = RGB(10, 11, 12);
    pc.RightColor = RGB(13, 14, 15);
    page->ApplyPageColours(pc);
    for (int i = 1; i <= 4; ++i) {
        TGWAutoPanelTitle *title = page->artfontAutoPanelTitle(i);
        EXPECT_EQ(title->LeftColor(), pc.PanelLeftColor);
        EXPECT_EQ(title->RightColor(), pc.PanelRightColor);
        EXPECT_EQ(title->FontColor(), pc.LeftFontColor);
        EXPECT_EQ(title->EnterColor(), pc.LeftFontEnterColor);
        EXPECT_EQ(page->artfontAutoPanel(i)->FontColor(), pc.LeftFontColor);
    }
    EXPECT_EQ(page->artfontEdit1->ColorBorder(), pc.PanelLeftColor);
    for (TGWFlatComboBox *combo : {page->artfontpnl1ComboBox1, page->artfontpnl1ComboBox2,
                                   page->artfontpnl2ComboBox1, page->artfontpnl2ComboBox2}) {
        EXPECT_EQ(combo->ColorBorder(), pc.PanelLeftColor);
        EXPECT_EQ(combo->ColorButton(), pc.PanelRightColor);
        EXPECT_EQ(combo->ColorButtonFocus(), pc.PanelLeftColor);
        EXPECT_EQ(combo->ColorButtonBorder(), pc.PanelLeftColor);
        EXPECT_EQ(combo->ColorButtonBorderFocus(), pc.LeftFontEnterColor);
    }
    for (TGWButtonBase *b : {static_cast<TGWButtonBase *>(page->artfontpnl2CheckBoxes[2]),
                             static_cast<TGWButtonBase *>(page->artfontpnl3RadioButtons[1]),
                             static_cast<TGWButtonBase *>(page->artfontpnl4RadioButtons[3])})
        EXPECT_EQ(b->MouseEnterColor(), pc.LeftFontEnterColor);
    EXPECT_EQ(page->artfontLabels[0]->palette().color(QPalette::WindowText), QColor(1, 2, 3));
}
