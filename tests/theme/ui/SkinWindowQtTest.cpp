#include "support/ImageCheck.h"
#include "support/SkinGrid.h"
#include "support/TempFolder.h"
#include "theme/ui/SkinWindow.h"

#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

using namespace vomra;
using vomra::test::pixelAt;
using vomra::test::SkinGrid;

namespace {

struct SkinnedWindow {
    vomra::test::TempFolder dir;
    TTheme theme;
    QWidget window;
    TSkinWindow *skin = nullptr;

    SkinnedWindow()
    {
        dir.write("Theme.Ini", "[S]\r\nTitleBar=t\r\nTitleButton=b\r\nFrameLeftRight=s\r\nFrameBottom=f\r\n"
                               "RoundRgnX=10\r\nRoundRgnY=10\r\n");
        theme.setThemePath(dir.path());
        const std::map<std::string, TSkinPicture> pics = {{"t", SkinGrid(3, 2, 10, 20, 1)},
                                                          {"b", SkinGrid(4, 5, 16, 14, 2)},
                                                          {"s", SkinGrid(2, 2, 4, 8, 3)},
                                                          {"f", SkinGrid(3, 2, 6, 5, 4)}};
        EXPECT_TRUE(theme.LoadTheme("S", [&](const std::string &path, std::int64_t) -> std::optional<TSkinPicture> {
            return pics.at(path.substr(path.rfind('/') + 1));
        }));
        skin = new TSkinWindow(window, theme);
        skin->reload();
        window.resize(300, 200);
        skin->setActive(true);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QPoint centre(TSkinButton b) const
    {
        const TSkinRect r = theme.ButtonRect(b, window.width());
        return {r.left + r.width / 2, r.top + r.height / 2};
    }
    // Column and row of the button cell painted at the button's place.
    std::pair<int, int> cell(TSkinButton b)
    {
        const TSkinRect r = theme.ButtonRect(b, window.width());
        const TColor c = pixelAt(window.grab().toImage(), r.left, r.top);
        return {static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)};
    }
};

} // namespace

TEST(SkinWindow, FramelessWithRoundedTopCornersAndAMaskRenewedOnResize)
{
    SkinnedWindow s;
    EXPECT_TRUE(s.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(s.window.mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(s.window.mask().contains(QPoint(299, 0)));
    EXPECT_TRUE(s.window.mask().contains(QPoint(0, 199)));
    s.window.resize(400, 250);
    QCoreApplication::processEvents();
    EXPECT_FALSE(s.window.mask().contains(QPoint(399, 0)));
    EXPECT_TRUE(s.window.mask().contains(QPoint(399, 249)));
    s.skin->setActive(false);
    EXPECT_FALSE(s.window.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(s.window.mask().isEmpty());
}

// Where a mask only limits input (Wayland) the skin clears its corners itself
// on a transparent window; elsewhere the window stays opaque under its mask.
TEST(SkinWindow, CornersAreDrawnClearWhereMasksDoNotCut)
{
    for (const bool drawn : {false, true}) {
        TSkinWindow::cornersDrawnOverride() = drawn;
        SkinnedWindow s;
        EXPECT_EQ(s.window.testAttribute(Qt::WA_TranslucentBackground), drawn);
        if (drawn) {
            const QImage shot = s.window.grab().toImage();
            ASSERT_TRUE(shot.hasAlphaChannel());
            EXPECT_EQ(qAlpha(shot.pixel(0, 0)), 0) << "top left corner";
            EXPECT_EQ(qAlpha(shot.pixel(299, 0)), 0) << "top right corner";
            EXPECT_EQ(qAlpha(shot.pixel(0, 199)), 255) << "square bottom corners";
            EXPECT_EQ(qAlpha(shot.pixel(150, 100)), 255) << "the inside is filled";
        }
        s.skin->setActive(false);
        EXPECT_FALSE(s.window.testAttribute(Qt::WA_TranslucentBackground)) << "a framed window is opaque";
    }
    TSkinWindow::cornersDrawnOverride().reset();
}

TEST(SkinWindow, ButtonsShowNormalHotPressedInactiveAndRestore)
{
    SkinnedWindow s;
    EXPECT_EQ(s.cell(TSkinButton::Close), std::make_pair(3, 0));
    QTest::mouseMove(&s.window, s.centre(TSkinButton::Close));
    EXPECT_EQ(s.cell(TSkinButton::Close), std::make_pair(3, 1)) << "hot";
    QTest::mousePress(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Close));
    EXPECT_EQ(s.cell(TSkinButton::Close), std::make_pair(3, 2)) << "pressed";
    QTest::mouseMove(&s.window, QPoint(150, 100));
    EXPECT_EQ(s.cell(TSkinButton::Close), std::make_pair(3, 0)) << "held away: normal";
    QTest::mouseRelease(&s.window, Qt::LeftButton, {}, QPoint(150, 100));
    EXPECT_TRUE(s.window.isVisible()) << "released away: nothing happens";

    QEvent deactivate(QEvent::WindowDeactivate);
    QCoreApplication::sendEvent(&s.window, &deactivate);
    EXPECT_EQ(s.cell(TSkinButton::Min), std::make_pair(0, 3));
    EXPECT_EQ(pixelAt(s.window.grab().toImage(), 1, 25), RGB(3, 0, 1)) << "lower side cells";

    QTest::mouseClick(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Max));
    EXPECT_TRUE(s.window.isMaximized());
    EXPECT_EQ(s.cell(TSkinButton::Max).first, 2) << "restore cell";
    QTest::mouseClick(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Max));
    EXPECT_FALSE(s.window.isMaximized());

    QTest::mouseClick(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Close));
    EXPECT_FALSE(s.window.isVisible());
}

TEST(SkinWindow, PressOnOneButtonReleaseOnAnotherDoesNothing)
{
    SkinnedWindow s;
    QTest::mouseMove(&s.window, s.centre(TSkinButton::Min));
    QTest::mousePress(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Min));
    QTest::mouseMove(&s.window, s.centre(TSkinButton::Close));
    EXPECT_EQ(s.cell(TSkinButton::Close), std::make_pair(3, 1)) << "another button under the pointer shows hot";
    QTest::mouseRelease(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Close));
    EXPECT_TRUE(s.window.isVisible());
    EXPECT_FALSE(s.window.isMinimized());
}

// Without a window manager to take the move (offscreen), the skin moves the window itself.
TEST(SkinWindow, CaptionClicksStayOursADragMovesByTheWholeDragAndTheButtonsActAfterIt)
{
    SkinnedWindow s;
    s.window.move(100, 100);
    const QPoint start = s.window.pos();
    // Pointer positions on the screen, given to QTest in the window's coordinates of the moment.
    auto local = [&](QPoint global) { return global - s.window.pos(); };
    const QPoint press = start + QPoint(150, 10);
    QTest::mousePress(&s.window, Qt::LeftButton, {}, local(press));
    QTest::mouseMove(&s.window, local(press + QPoint(1, 0)));
    EXPECT_EQ(s.window.pos(), start) << "a press that has not moved past the drag distance is a click";
    for (int i = 1; i <= 6; ++i)
        QTest::mouseMove(&s.window, local(press + QPoint(10 * i, 6 * i)));
    EXPECT_EQ(s.window.pos(), start + QPoint(60, 36)) << "the whole drag, the threshold included";
    QTest::mouseRelease(&s.window, Qt::LeftButton, {}, local(press + QPoint(60, 36)));

    QTest::mouseClick(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Max));
    EXPECT_TRUE(s.window.isMaximized()) << "the buttons act after a drag";
    QTest::mouseClick(&s.window, Qt::LeftButton, {}, s.centre(TSkinButton::Max));
    EXPECT_FALSE(s.window.isMaximized());

    const QPoint caption(150, 10);
    QTest::mouseDClick(&s.window, Qt::LeftButton, {}, caption);
    EXPECT_TRUE(s.window.isMaximized()) << "a double click on the caption maximises";
    QTest::mouseDClick(&s.window, Qt::LeftButton, {}, caption);
    EXPECT_FALSE(s.window.isMaximized()) << "and another restores";
    QTest::mouseClick(&s.window, Qt::LeftButton, {}, caption);
    EXPECT_FALSE(s.window.isMaximized()) << "a single click does nothing";
}
