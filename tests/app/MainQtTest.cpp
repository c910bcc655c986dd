// The real main window in a temporary program folder.
#include "app/Main.h"
#include "pagekit/Dialogs.h"
#include "art/ui/ArtFontPage.h"
#include "art/ui/PicturePage.h"
#include "board/ui/DrawText.h"
#include "board/ui/PenPage.h"
#include "base/Gbk.h"
#include "platform/Shell.h"
#include "recipe/ui/RecipePage.h"
#include "support/MainWindowFixture.h"
#include "support/ImageCheck.h"
#include "support/TempFolder.h"
#include "platform/FontSetup.h"
#include "widgets/Hint.h"
#include "widgets/ImageLabel.h"
#include "widgets/Panel.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QScreen>
#include <QHelpEvent>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>
#include <QTest>
#include <QPlainTextEdit>
#include <QTreeWidget>
#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

class MainWindowTest : public test::MainWindowFixture {
protected:
    void start()
    {
        openWindow();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (frm)
            frm->close();
    }
    void clickMenu(int n) { QTest::mouseClick(frm->GWImageLabels[static_cast<std::size_t>(n - 1)], Qt::LeftButton); }
    QPlainTextEdit *output() const { return frm->artFont->artfontRichEdit1; }
};

std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }

} // namespace

TEST_F(MainWindowTest, ComponentsAtTheirDesignPlaces)
{
    start();
    for (const char *name : {"pnlMain", "pnlLeft", "Splitter1", "pnlRight", "pnlTitleBar", "pnlArtFont", "pnlPen",
                             "pnlTheme", "pnlRecipe", "GWAutoPanelTitle1", "GWAutoPanel1", "GWAutoPanelTitle2",
                             "GWAutoPanel2", "TreeView1", "GWImageLabel1", "GWImageLabel7", "artfontRichEdit1",
                             "penRichEdit1", "recipeRichEdit1", "penDrawText1", "artfontImageLabel1",
                             "recipeLabel11", "penImageLabel5"})
        EXPECT_NE(frm->findChild<QWidget *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(frm->size(), QSize(640, 480));
    EXPECT_EQ(frm->pnlLeft->width(), 192);
    EXPECT_EQ(frm->pnlTitleBar->height(), 56);
    EXPECT_EQ(frm->GWAutoPanelTitle1->geometry(), QRect(16, 16, 160, 25));
    EXPECT_EQ(frm->GWImageLabels[2]->geometry(), QRect(16, 56, 130, 25));
    EXPECT_EQ(frm->GWImageLabels[4]->Caption(), QStringLiteral("关于Vomra"));
    EXPECT_EQ(frm->CurrentPage(), pgRecipe);
    EXPECT_TRUE(frm->pnlRecipe->isVisible());
    EXPECT_FALSE(frm->pnlArtFont->isVisible());
    // Left column layout: titles are 32 narrower than the column; the tree section
    // ends 16 above the column's bottom.
    EXPECT_EQ(frm->GWAutoPanelTitle1->width(), 192 - 32);
    EXPECT_EQ(frm->GWAutoPanel2->y() + frm->GWAutoPanel2->height(), frm->pnlLeft->height() - 16);
    EXPECT_EQ(frm->TreeView1->height(), frm->GWAutoPanel2->SelfHeight() - 3);
    EXPECT_EQ(frm->minimumSize(), QSize(640, 480));
}

TEST_F(MainWindowTest, MenuItemsSwitchPagesAndEmptyTheOutputOnEntry)
{
    start();
    clickMenu(1);
    EXPECT_EQ(frm->CurrentPage(), pgArtFont);
    EXPECT_TRUE(frm->artFont->artfontPanel1->isVisible());
    EXPECT_FALSE(frm->picture->picturePanel1->isVisible());
    EXPECT_EQ(frm->artFont->artfontImageLabel(1)->toolTip(), QStringLiteral("制作艺术字体"));

    output()->setPlainText(QStringLiteral("art"));
    clickMenu(1); // the page already shown keeps its output
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("art"));

    clickMenu(2); // art font maker -> grinder empties it
    EXPECT_EQ(frm->CurrentPage(), pgPicture);
    EXPECT_TRUE(output()->toPlainText().isEmpty());
    EXPECT_TRUE(frm->picture->picturePanel1->isVisible());
    EXPECT_FALSE(frm->artFont->artfontPanel1->isVisible());
    EXPECT_EQ(frm->artFont->artfontImageLabel(1)->toolTip(), QStringLiteral("开始图片磨牙"));

    output()->setPlainText(QStringLiteral("ground"));
    clickMenu(3);
    EXPECT_EQ(frm->CurrentPage(), pgPen);
    EXPECT_TRUE(frm->pnlPen->isVisible());
    EXPECT_FALSE(frm->pnlArtFont->isVisible());
    EXPECT_EQ(output()->toPlainText(), QStringLiteral("ground")); // left alone while away
    clickMenu(2); // coming back empties it
    EXPECT_TRUE(output()->toPlainText().isEmpty());

    clickMenu(4);
    EXPECT_EQ(frm->CurrentPage(), pgTheme);
    EXPECT_TRUE(frm->pnlTheme->isVisible());
    EXPECT_FALSE(frm->pnlPen->isVisible());

    frm->SetCurrentPage(pgRecipe); // as a click in the recipe tree does
    EXPECT_TRUE(frm->pnlRecipe->isVisible());
    EXPECT_FALSE(frm->pnlTheme->isVisible());
}

TEST_F(MainWindowTest, SplitterLimits)
{
    start();
    struct Row {
        int width;
        bool accepted;
    };
    for (const Row r : {Row{191, false}, Row{192, true}, Row{250, true}, Row{296, true}, Row{297, false}}) {
        int size = r.width;
        bool accept = true;
        frm->Splitter1CanResize(size, accept);
        EXPECT_EQ(accept, r.accepted) << r.width;
    }
    frm->pnlLeft->resize(250, frm->pnlLeft->height());
    QApplication::processEvents();
    EXPECT_EQ(frm->pnlLeft->width(), 250);
    EXPECT_EQ(frm->GWAutoPanelTitle2->width(), 250 - 32);
}

TEST_F(MainWindowTest, SplitterDragIsRefusedOutsideTheRange)
{
    start();
    auto *splitter = frm->findChild<QWidget *>(QStringLiteral("Splitter1"));
    ASSERT_NE(splitter, nullptr);
    const QPoint at(1, 100);
    QTest::mousePress(splitter, Qt::LeftButton, {}, at);
    QTest::mouseMove(splitter, at + QPoint(200, 0)); // 392: refused
    EXPECT_EQ(frm->pnlLeft->width(), 192);
    QTest::mouseMove(splitter, at + QPoint(104, 0)); // 296: taken
    QTest::mouseRelease(splitter, Qt::LeftButton, {}, at + QPoint(104, 0));
    EXPECT_EQ(frm->pnlLeft->width(), 296);
    EXPECT_EQ(frm->pnlRight->x(), 298);
}

TEST_F(MainWindowTest, FontSizeStepsAcrossThePages)
{
    start();
    const std::array<TGWImageLabel *, 3> smaller = {frm->recipe->recipeLabel(2), frm->artFont->artfontImageLabel(5),
                                                    frm->pen->penImageLabel(2)};
    const std::array<TGWImageLabel *, 3> larger = {frm->recipe->recipeLabel(3), frm->artFont->artfontImageLabel(6),
                                                   frm->pen->penImageLabel(3)};
    for (int i = 0; i < 7; ++i) {
        ASSERT_TRUE(smaller[0]->isEnabled()) << i;
        QTest::mouseClick(smaller[0], Qt::LeftButton);
    }
    EXPECT_EQ(frm->FontSize(), 2);
    for (TGWImageLabel *l : smaller)
        EXPECT_FALSE(l->isEnabled()) << l->objectName().toStdString();
    EXPECT_EQ(frm->artFont->artfontRichEdit1->font().pointSize(), 2);
    EXPECT_EQ(frm->pen->penDrawText1->font().pointSize(), 2);

    QTest::mouseClick(larger[1], Qt::LeftButton); // from the art font page's label
    EXPECT_EQ(frm->FontSize(), 3);
    for (TGWImageLabel *l : smaller)
        EXPECT_TRUE(l->isEnabled());
    for (int i = 0; i < 19; ++i)
        frm->FontSizeStep(+1);
    EXPECT_EQ(frm->FontSize(), 22);
    for (TGWImageLabel *l : larger)
        EXPECT_FALSE(l->isEnabled());
    EXPECT_EQ(frm->recipe->recipeRichEdit1->font().pointSize(), 22);
    EXPECT_EQ(frm->pen->penRichEdit1->font().pointSize(), 22);
}

TEST_F(MainWindowTest, CloseWritesTheSettingsFromNothing)
{
    start();
    frm->pnlLeft->resize(250, frm->pnlLeft->height());
    frm->resize(700, 500);
    frm->close();
    frm.reset();
    EXPECT_EQ(dir.read("QOBR.Ini"), G("[窗体]\r\n宽度=700\r\n高度=500\r\n状态=标准\r\n左边宽度=250\r\n"
                                      "[界面方案]\r\n方案=0\r\n[图片磨牙器]\r\n图片透明化=0\r\n"));
}

TEST_F(MainWindowTest, SavedSettingsAreReadAtStartAndOtherKeysSurvive)
{
    dir.write("QOBR.Ini", G("[窗体]\r\n宽度=800\r\n高度=600\r\n左边宽度=400\r\nMine=1\r\n"
                            "[图片磨牙器]\r\n常规灰度=@#\r\n[界面方案]\r\n方案=-3\r\n"));
    start();
    EXPECT_EQ(frm->size(), QSize(800, 600));
    EXPECT_EQ(frm->pnlLeft->width(), 296);
    EXPECT_EQ(frm->ThemeIndex(), 0);
    frm->close();
    frm.reset();
    EXPECT_EQ(dir.read("QOBR.Ini"), G("[窗体]\r\n宽度=800\r\n高度=600\r\n左边宽度=296\r\nMine=1\r\n状态=标准\r\n"
                                      "[图片磨牙器]\r\n常规灰度=@#\r\n图片透明化=0\r\n[界面方案]\r\n方案=0\r\n"));
}

TEST_F(MainWindowTest, MaximisedCloseStoresTheRestoredSize)
{
    start();
    frm->setWindowState(Qt::WindowMaximized);
    QApplication::processEvents();
    ASSERT_TRUE(frm->isMaximized());
    frm->close();
    frm.reset();
    const std::string ini = dir.read("QOBR.Ini");
    EXPECT_NE(ini.find(G("宽度=640\r\n高度=480\r\n状态=最大化\r\n")), std::string::npos);
}

TEST_F(MainWindowTest, AHugeStoredSizeIsRestoredToTheScreenAndMinimisedFromMaximisedStaysMinimised)
{
    dir.write("QOBR.Ini", G("[窗体]\r\n宽度=2147483647\r\n高度=2147483647\r\n"));
    start();
    const QRect available = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(frm->isMaximized());
    EXPECT_EQ(frm->normalGeometry().size(), available.size());
    frm->setWindowState(Qt::WindowMaximized | Qt::WindowMinimized);
    QApplication::processEvents();
    frm->close();
    frm.reset();
    const std::string stored = G("宽度=") + std::to_string(available.width()) + G("\r\n高度=") +
                               std::to_string(available.height()) + G("\r\n状态=最小化\r\n");
    EXPECT_NE(dir.read("QOBR.Ini").find(stored), std::string::npos) << dir.read("QOBR.Ini");
}

TEST_F(MainWindowTest, FailedWriteIsReportedWithThePathAndTheWindowStillCloses)
{
    dir.write("QOBR.Ini/blocker", "x");
    QString shownTitle, shownText;
    dialogs::nextAnswer() = [&](const BoxShown &box) {
        EXPECT_EQ(box.kind, BoxKind::Error);
        shownTitle = box.title;
        shownText = box.text;
        return Answer::Yes;
    };
    start();
    frm->close();
    dialogs::nextAnswer() = nullptr;
    EXPECT_EQ(shownText, QStringLiteral("写 %1 失败").arg(QString::fromStdString(dir.path() + "QOBR.Ini")));
    EXPECT_EQ(shownTitle, QApplication::applicationName());
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(MainWindowTest, FailedWriteBoxHasTheProgramsOkButton)
{
    dir.write("QOBR.Ini/blocker", "x");
    start();
    QString text;
    QStringList buttons;
    // Answers the box once it is up, as a user would.
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        answer.stop();
        text = box->text();
        for (QAbstractButton *b : box->buttons())
            buttons << b->text();
        box->buttons().front()->click();
    });
    answer.start(20);
    frm->close();
    EXPECT_EQ(text, QStringLiteral("写 %1 失败").arg(QString::fromStdString(dir.path() + "QOBR.Ini")));
    EXPECT_EQ(buttons, QStringList{QStringLiteral("确定")});
    EXPECT_FALSE(frm->isVisible());
}

TEST_F(MainWindowTest, ToolLabelHintsShowTheApplicationIconBox)
{
    start();
    const TGWHint *hint = frm->GWHint1;
    ASSERT_EQ(TGWHint::activeHint(), hint);
    EXPECT_EQ(hint->HintFont()->Font.family(), songFamily());
    EXPECT_EQ(hint->HintFont()->Font.pixelSize(), 12);

    TGWImageLabel *label = frm->recipe->recipeLabel(2);
    const QPoint global = label->mapToGlobal(QPoint(5, 5));
    QHelpEvent e(QEvent::ToolTip, QPoint(5, 5), global);
    QApplication::sendEvent(label, &e);
    THint *win = HintController::instance()->window();
    ASSERT_TRUE(win->isVisible());
    EXPECT_EQ(win->text(), QStringLiteral("字体型号减小"));
    const QImage img = win->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    HintController::instance()->hideHint();
    const int W = img.width(), H = img.height();
    using vomra::test::pixelAt;
    const TColor body = RGB(255, 255, 225);
    const TColor shadow = RGB(180, 180, 180);
    EXPECT_EQ(H, THint::kIconSize + 10); // one line: as high as the icon and its margins
    EXPECT_EQ(pixelAt(img, W / 2, 0), clTeal);
    EXPECT_EQ(pixelAt(img, 0, H / 2), clTeal);
    EXPECT_EQ(pixelAt(img, W - 3, H / 2), clTeal);
    EXPECT_EQ(pixelAt(img, W / 2, H - 1), shadow);
    EXPECT_EQ(pixelAt(img, 3, H / 2), body);
    // The box's rounded corners: left and right mirror each other above the shadow.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(qAlpha(img.pixel(x, y)), qAlpha(img.pixel(W - 3 - x, y))) << x << "," << y;
    EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
    EXPECT_EQ(pixelAt(img, 1, 1), clTeal);
    // The icon at (4, 4), the text in black with its grey shadow right of it.
    bool iconInk = false;
    for (int y = 4; y < 4 + THint::kIconSize; ++y)
        for (int x = 4; x < 4 + THint::kIconSize; ++x)
            iconInk |= pixelAt(img, x, y) != body;
    EXPECT_TRUE(iconInk);
    bool black = false, grey = false;
    for (int y = 2; y < H - 3; ++y)
        for (int x = THint::kIconSize + 8; x < W - 3; ++x) {
            black |= pixelAt(img, x, y) == clBlack;
            grey |= pixelAt(img, x, y) == shadow;
        }
    EXPECT_TRUE(black);
    EXPECT_TRUE(grey);
}

TEST_F(MainWindowTest, CollapsedTreeSectionParksTheTree)
{
    start();
    QTest::mouseClick(frm->GWAutoPanelTitle2, Qt::LeftButton, {}, QPoint(80, 12));
    QTRY_VERIFY(!frm->GWAutoPanelTitle2->Expandeding());
    ASSERT_FALSE(frm->GWAutoPanelTitle2->Expanded());
    frm->resize(640, 560);
    QApplication::processEvents();
    const int self = frm->GWAutoPanel2->SelfHeight();
    EXPECT_EQ(self, frm->pnlLeft->height() - frm->GWAutoPanel2->y() - 16);
    EXPECT_EQ(frm->TreeView1->y(), 2 - self);
    EXPECT_EQ(frm->TreeView1->height(), self - 3);
}

TEST_F(MainWindowTest, TitleBarShowsThePageTitleInTheClassicLook)
{
    start();
    const QImage recipeBar = frm->pnlTitleBar->grab().toImage();
    clickMenu(3);
    const QImage penBar = frm->pnlTitleBar->grab().toImage();
    EXPECT_NE(recipeBar, penBar); // another title and lower gradient
    // The band under the gradient starts in TitleLeftColor on the recipe page.
    const TPageColours pc = frm->PageColours();
    EXPECT_EQ(vomra::test::pixelAt(recipeBar, 0, 41), pc.TitleLeftColor);
    EXPECT_EQ(vomra::test::pixelAt(penBar, 0, 41), pc.TitleBottomColor);
}

TEST_F(MainWindowTest, F1OpensTheHelpOnEveryPage)
{
    QList<QUrl> opened;
    setOpenUrlHookForTests([&](const QUrl &url) {
        opened.append(url);
        return true;
    });
    start();
    frm->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frm.get()));
    // The recipe page at start, then the four pages of the menu; the key goes
    // to whatever has the focus, a page's text box included.
    for (int item : {0, 1, 2, 3, 4}) {
        if (item)
            clickMenu(item);
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : frm.get();
        QTest::keyClick(target, Qt::Key_F1);
        QApplication::processEvents();
        ASSERT_EQ(opened.size(), item + 1) << "menu item " << item;
        EXPECT_EQ(opened.back(), QUrl::fromLocalFile(QString::fromStdString(dir.path() + "QOBR.CHM")));
    }
    setOpenUrlHookForTests(nullptr);
}

TEST_F(MainWindowTest, HelpOpensTheHelpFileAndStaysSilentOnFailure)
{
    QList<QUrl> opened;
    setOpenUrlHookForTests([&](const QUrl &url) {
        opened.append(url);
        return false; // no viewer: nothing is reported
    });
    start();
    clickMenu(6);
    setOpenUrlHookForTests(nullptr);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.front(), QUrl::fromLocalFile(QString::fromStdString(dir.path() + "QOBR.CHM")));
    EXPECT_TRUE(frm->isVisible());
}
