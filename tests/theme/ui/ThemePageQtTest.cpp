// The theme page and putting themes in force, on the real main window with a
// fixture theme folder.
#include "app/Main.h"
#include "base/Gbk.h"
#include "support/MainWindowFixture.h"
#include "support/TempFolder.h"
#include "theme/ui/SkinWindow.h"
#include "theme/ui/ThemePage.h"
#include "widgets/Panel.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QTest>
#include <QTreeWidget>
#include <functional>
#include <gtest/gtest.h>

#include <unistd.h>

#include <optional>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

std::string G(const char *utf8) { return gbk::fromUtf8(utf8); }

void SaveBmp(const std::string &path, int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(Qt::darkCyan);
    ASSERT_TRUE(img.save(QString::fromStdString(path), "BMP"));
}

class ThemePageTest : public test::MainWindowFixture {
protected:
    void SetUp() override
    {
        QDir().mkpath(QString::fromStdString(dir.file("Theme/s")));
        SaveBmp(dir.file("Theme/s/t.bmp"), 30, 40);
        SaveBmp(dir.file("Theme/s/b.bmp"), 64, 70);
        SaveBmp(dir.file("Theme/s/f.bmp"), 8, 16);
        SaveBmp(dir.file("Theme/s/bottom.bmp"), 18, 10);
        SaveBmp(dir.file("Theme/s/preview.bmp"), 40, 30);
        dir.write("Theme/s/fake.bmp", "not a picture");
        const std::string skin = "TitleBar=s\\t.bmp\r\nTitleButton=s/b.bmp\r\nFrameLeftRight=s/f.bmp\r\n"
                                 "FrameBottom=s/bottom.bmp\r\nFormColorR=298\r\nFormColorG=1\r\nFormColorB=2\r\n"
                                 "LeftColorR=10\r\nLeftColorG=20\r\nLeftColorB=30\r\n";
        dir.write("Theme/Theme.Ini", "[Theme]\r\nThemeCount=2000000000\r\nThemeName1=" + G("蓝天") +
                                         "\r\nThemeName2=Broken\r\nThemeName4=" + G("蓝天") + "\r\n[" + G("蓝天") +
                                         "]\r\n" + skin + "Architect=Ann\r\nPreview=s/preview.bmp\r\n[Broken]\r\n" +
                                         "TitleBar=s/t.bmp\r\nTitleButton=s/missing.bmp\r\nPreview=s/fake.bmp\r\n");
    }
    void start(int savedIndex)
    {
        dir.write("QOBR.Ini", G("[界面方案]\r\n方案=") + std::to_string(savedIndex) + "\r\n");
        openWindow();
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (frm)
            frm->close();
    }
    QListWidgetItem *item(int row) { return frm->theme->themeListView1->item(row); }
    QString description() { return frm->theme->themeLabel2->text(); }
};

} // namespace

TEST_F(ThemePageTest, SavedThemeIsWornAtStartAndTheLastEqualNameGivesTheIndex)
{
    start(1);
    EXPECT_EQ(frm->Theme1().ThemeNameList().size(), 3u) << "a huge count stops at the names present";
    EXPECT_TRUE(frm->Theme1().ThemeActivate());
    EXPECT_TRUE(frm->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(frm->ThemeIndex(), 3) << "the same name again at position 3 wins";
    EXPECT_EQ(frm->palette().color(QPalette::Window), QColor(42, 1, 2)) << "the skin's FormColor, low 8 bits";
    // The contents sit inside the frame: title 20, sides 4.
    EXPECT_EQ(frm->pnlMain->geometry().topLeft(), QPoint(4, 20));
}

TEST_F(ThemePageTest, AThemeThatCannotLoadFallsBackToTheClassicLook)
{
    start(2);
    EXPECT_EQ(frm->ThemeIndex(), 0);
    EXPECT_FALSE(frm->Theme1().ThemeActivate());
    EXPECT_FALSE(frm->windowFlags().testFlag(Qt::FramelessWindowHint));
    start(99);
    EXPECT_EQ(frm->ThemeIndex(), 3) << "lowered to the catalogue size, which loads";
}

TEST_F(ThemePageTest, DescriptionsAndPreviews)
{
    start(0);
    ASSERT_EQ(frm->theme->themeListView1->count(), 4);
    EXPECT_EQ(item(0)->text(), QStringLiteral("经典 Windows9x"));
    EXPECT_TRUE(item(0)->isSelected());
    EXPECT_TRUE(description().endsWith(QStringLiteral("描述：传统经典 Windows9x 风格")));
    EXPECT_EQ(frm->theme->themeLabel1->text(), QStringLiteral("无预览图片"));

    item(1)->setSelected(true);
    EXPECT_EQ(description(), QStringLiteral("蓝天\n\n设计：Ann\n\n公司：\n\n描述："));
    EXPECT_EQ(frm->theme->themeLabel1->text(), QStringLiteral("预览图片："));
    EXPECT_FALSE(frm->theme->themeImage1->isHidden());

    item(2)->setSelected(true);
    EXPECT_EQ(description(), QStringLiteral("Broken\n\n公司：\n\n描述：")) << "no 设计 line without Architect";
    EXPECT_EQ(frm->theme->themeLabel1->text(), QStringLiteral("不能装载预览图片"));
    EXPECT_TRUE(frm->theme->themeImage1->isHidden());
    EXPECT_EQ(frm->ThemeIndex(), 0) << "selecting only describes";
}

TEST_F(ThemePageTest, DoubleClickAppliesAndTheClassicItemGivesTheFrameBack)
{
    start(0);
    frm->theme->themeListView1->clearSelection();
    item(1)->setSelected(true);
    frm->theme->themeListView1DblClick();
    EXPECT_EQ(frm->ThemeIndex(), 3);
    EXPECT_TRUE(frm->Theme1().ThemeActivate());
    EXPECT_FALSE(frm->isMinimized()) << "restored after the change";

    item(2)->setSelected(true);
    frm->theme->themeListView1DblClick();
    EXPECT_EQ(frm->ThemeIndex(), 0) << "a skin that fails gives the classic look";
    EXPECT_FALSE(frm->windowFlags().testFlag(Qt::FramelessWindowHint));

    item(0)->setSelected(true);
    frm->theme->themeListView1->setSelectionMode(QAbstractItemView::MultiSelection);
    item(1)->setSelected(true);
    frm->theme->themeListView1DblClick();
    EXPECT_FALSE(frm->Theme1().ThemeActivate()) << "two selected items: nothing happens";
}

namespace {

// The share of the compositor's screen, in per mille, that is not the plain
// background; nothing when no screenshot can be taken.
std::optional<int> coveredOnScreen(const QString &shooter, QRgb background)
{
    const TempFolder shots;
    QProcess p;
    p.setWorkingDirectory(QString::fromStdString(shots.path()));
    p.start(shooter, {});
    if (!p.waitForFinished(10000) || p.exitCode() != 0)
        return std::nullopt;
    const QStringList files = QDir(QString::fromStdString(shots.path())).entryList({QStringLiteral("*.png")});
    if (files.isEmpty())
        return std::nullopt;
    const QImage shot =
        QImage(QString::fromStdString(shots.file(files.first().toStdString()))).convertToFormat(QImage::Format_RGB32);
    long covered = 0;
    for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x)
            covered += (shot.pixel(x, y) & 0xFFFFFF) != (background & 0xFFFFFF);
    return static_cast<int>(1000 * covered / (static_cast<long>(shot.width()) * shot.height()));
}

} // namespace

// In a Wayland session (the end-to-end script runs this inside weston): a
// window asked to minimise cannot bring itself back there, so applying a theme
// must leave it on screen, skinned or framed.
TEST_F(ThemePageTest, OnWaylandApplyingAThemeKeepsTheWindowOnScreen)
{
    const QString shooter = qEnvironmentVariable("VOMRA_SCREENSHOOTER");
    if (!QGuiApplication::platformName().startsWith(QLatin1String("wayland")) || shooter.isEmpty())
        GTEST_SKIP() << "needs a Wayland compositor that takes screenshots";
    const QRgb background = qEnvironmentVariable("VOMRA_SCREEN_BACKGROUND").toUInt(nullptr, 16);
    const auto onScreen = [&] {
        return QTest::qWaitFor(
            [&] {
                const auto c = coveredOnScreen(shooter, background);
                return c && *c >= 100;
            },
            5000);
    };
    start(0);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
    ASSERT_TRUE(onScreen()) << "the window never showed";
    // Skin to skin keeps the native window (no frame comes or goes); skin to
    // the classic look and back re-creates it.
    for (int row : {1, 3, 0, 1}) {
        frm->theme->themeListView1->clearSelection();
        item(row)->setSelected(true);
        frm->theme->themeListView1DblClick();
        EXPECT_EQ(frm->Theme1().ThemeActivate(), row != 0);
        EXPECT_EQ(frm->testAttribute(Qt::WA_TranslucentBackground), row != 0) << "corners drawn clear";
        EXPECT_FALSE(frm->isMinimized());
        EXPECT_TRUE(onScreen()) << "the window went away applying theme " << row;
    }
}

TEST_F(ThemePageTest, SkinPicturesMustLieInsideTheThemeFolder)
{
    SaveBmp(dir.file("outside.bmp"), 30, 40);
    ASSERT_EQ(symlink(dir.file("outside.bmp").c_str(), dir.file("Theme/s/link.bmp").c_str()), 0);
    dir.write("Theme/Theme.Ini", "[Theme]\r\nThemeCount=1\r\nThemeName1=L\r\n[L]\r\nTitleBar=s/link.bmp\r\n"
                                 "TitleButton=s/b.bmp\r\nFrameLeftRight=s/f.bmp\r\nFrameBottom=s/bottom.bmp\r\n");
    start(1);
    EXPECT_EQ(frm->ThemeIndex(), 0);
    EXPECT_FALSE(frm->Theme1().ThemeActivate());
}

TEST_F(ThemePageTest, BadSkinPicturesLeaveTheClassicLook)
{
    // A 40-byte header claiming 20000 x 20000 pixels at 24 bits.
    std::string huge = "BM" + std::string(12, '\0');
    std::string info(40, '\0');
    info[0] = 40;
    auto put32 = [&](int at, int v) {
        for (int i = 0; i < 4; ++i)
            info[static_cast<std::size_t>(at + i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    };
    put32(4, 20000);
    put32(8, 20000);
    info[12] = 1;
    info[14] = 24;
    huge += info;
    struct Case {
        const char *why;
        std::function<void()> make;
    };
    const Case cases[] = {
        {"missing", [&] { std::remove(dir.file("Theme/s/t.bmp").c_str()); }},
        {"empty file", [&] { dir.write("Theme/s/t.bmp", ""); }},
        {"2 x 1 pixels", [&] { SaveBmp(dir.file("Theme/s/t.bmp"), 2, 1); }},
        {"20000 x 20000 claimed", [&] { dir.write("Theme/s/t.bmp", huge); }},
        // Within what a picture to look at may have, beyond what a skin needs.
        {"4100 x 4100 claimed", [&] { put32(4, 4100); put32(8, 4100); dir.write("Theme/s/t.bmp", huge.substr(0, 14) + info); }},
        {"not a picture", [&] { dir.write("Theme/s/t.bmp", "hello"); }},
    };
    for (const Case &c : cases) {
        c.make();
        start(1);
        EXPECT_EQ(frm->ThemeIndex(), 0) << c.why;
        EXPECT_FALSE(frm->Theme1().ThemeActivate()) << c.why;
        EXPECT_FALSE(frm->windowFlags().testFlag(Qt::FramelessWindowHint)) << c.why;
        frm->close();
        frm.reset();
    }
    // A name GBK cannot decode still finds its section.
    dir.write("Theme/Theme.Ini", "[Theme]\r\nThemeCount=1\r\nThemeName1=\x81\xFF\xFE\r\n[\x81\xFF\xFE]\r\n"
                                 "TitleBar=s/b.bmp\r\nTitleButton=s/b.bmp\r\nFrameLeftRight=s/f.bmp\r\nFrameBottom=s/bottom.bmp\r\n");
    start(1);
    EXPECT_EQ(frm->ThemeIndex(), 1);
    EXPECT_TRUE(frm->Theme1().ThemeActivate());
    EXPECT_EQ(frm->theme->themeListView1->count(), 2);
}

TEST_F(ThemePageTest, PreviewsMustLieInsideTheThemeFolder)
{
    SaveBmp(dir.file("outside.bmp"), 40, 30);
    ASSERT_EQ(symlink(dir.file("outside.bmp").c_str(), dir.file("Theme/s/link.bmp").c_str()), 0);
    dir.write("Theme/Theme.Ini", "[Theme]\r\nThemeCount=2\r\nThemeName1=L\r\nThemeName2=In\r\n"
                                 "[L]\r\nPreview=s/link.bmp\r\n[In]\r\nPreview=s/preview.bmp\r\n");
    start(0);
    item(1)->setSelected(true);
    EXPECT_EQ(frm->theme->themeLabel1->text(), QStringLiteral("不能装载预览图片"));
    EXPECT_TRUE(frm->theme->themeImage1->isHidden());
    item(2)->setSelected(true);
    EXPECT_FALSE(frm->theme->themeImage1->isHidden());
}

TEST_F(ThemePageTest, TheFillReadsNoPreviewButTheSelectedOnesAndSeesAChangedFile)
{
    start(1);
    EXPECT_TRUE(description().startsWith(QStringLiteral("蓝天"))) << "the theme in force is described";
    EXPECT_FALSE(frm->theme->themeImage1->isHidden());
    // The file changes on disk: the next description reads the new text.
    dir.write("Theme/Theme.Ini", "[Theme]\r\nThemeCount=1\r\nThemeName1=Broken\r\n[Broken]\r\nArchitect=Bo\r\n");
    item(2)->setSelected(true);
    EXPECT_EQ(description(), QStringLiteral("Broken\n\n设计：Bo\n\n公司：\n\n描述："));
}

TEST_F(ThemePageTest, TheHotItemIsClearedOverEmptySpaceAndTheSizingCursorStaysOnTheFrame)
{
    start(1);
    frm->SetCurrentPage(pgTheme);
    frm->PageSwitch();
    QApplication::processEvents();
    QListWidget *list = frm->theme->themeListView1;
    QWidget *viewport = list->viewport();
    const QPoint onItem = list->visualItemRect(item(1)).center();
    QTest::mouseMove(viewport, onItem);
    ASSERT_TRUE(item(1)->font().underline());
    EXPECT_EQ(viewport->cursor().shape(), Qt::PointingHandCursor);
    QTest::mouseMove(viewport, QPoint(viewport->width() - 2, viewport->height() - 2));
    EXPECT_FALSE(item(1)->font().underline()) << "empty space below the items";
    EXPECT_NE(viewport->cursor().shape(), Qt::PointingHandCursor);

    // The skin's left edge shows the sizing cursor; the tree next to it does not.
    ASSERT_TRUE(frm->Theme1().ThemeActivate());
    QTest::mouseMove(frm.get(), QPoint(1, frm->height() / 2));
    EXPECT_EQ(frm->cursor().shape(), Qt::SizeHorCursor);
    EXPECT_EQ(frm->recipeTree()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(frm->recipeTree()->viewport()->cursor().shape(), Qt::ArrowCursor);
}
