#include "WidgetTestSupport.h"
#include "widgets/Panel.h"
#include "widgets/core/PanelGeometry.h"

#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <vector>

using namespace vomra;
using namespace vomra::test;

namespace {

constexpr TColor kBack = RGB(1, 2, 3); // the title's own colour, seen in the cut corners

struct TitleFixture : ::testing::Test {
    QWidget host;
    TGWAutoPanelTitle *title = nullptr;
    void SetUp() override
    {
        host.resize(300, 600);
        title = new TGWAutoPanelTitle(&host);
        title->setFont(testFont());
        title->setColor(kBack);
        title->setGeometry(10, 10, 185, 25);
    }
    QImage shot() { return title->grab().toImage(); }
};

// Records a widget's tops (moves) or heights (resizes) as they happen.
class GeometryLog : public QObject {
public:
    GeometryLog(QWidget *w, QEvent::Type type) : m_widget(w), m_type(type) { w->installEventFilter(this); }
    std::vector<int> values;
    std::function<void()> onEvent;

protected:
    bool eventFilter(QObject *, QEvent *e) override
    {
        if (e->type() == m_type) {
            values.push_back(m_type == QEvent::Move ? m_widget->y() : m_widget->height());
            if (onEvent)
                onEvent();
        }
        return false;
    }

private:
    QWidget *m_widget;
    QEvent::Type m_type;
};

} // namespace

TEST_F(TitleFixture, GradientAndRoundedTopCorners)
{
    const int w = 185;
    const QImage img = shot();
    const TColor l = clWhite;
    const TColor r = RGB(214, 223, 247);
    const auto across = gradientColors(l, r, w - 6);
    for (int x : {3, 4, 50, 120})
        for (int y : {0, 1, 23, 24})
            EXPECT_EQ(pixelAt(img, x, y), across[static_cast<std::size_t>(x - 3)]) << x << "," << y;
    EXPECT_EQ(pixelAt(img, w - 4, 24), across.back());

    // Left corner: columns 2, 1, 0 start at rows 1, 2, 3 in the left colour.
    for (auto [x, y, c] : std::vector<std::tuple<int, int, TColor>>{
             {2, 0, kBack}, {2, 1, l}, {1, 1, kBack}, {1, 2, l}, {0, 2, kBack}, {0, 3, l}, {0, 24, l},
             {w - 3, 0, kBack}, {w - 3, 1, r}, {w - 2, 1, kBack}, {w - 2, 2, r}, {w - 1, 2, kBack},
             {w - 1, 3, r}, {w - 1, 24, r}})
        EXPECT_EQ(pixelAt(img, x, y), c) << x << "," << y;
}

TEST_F(TitleFixture, CirclesAndChevronsByState)
{
    const int w = 185;
    const TColor l = clWhite;
    const TColor r = RGB(214, 223, 247);
    const int b = w - 16; // arrows at offset -1

    QImage img = shot();
    EXPECT_EQ(pixelAt(img, w - 20, 12), l);              // face of the upper circle
    EXPECT_EQ(pixelAt(img, w - 24, 12), darker(r, 20)); // its rim
    EXPECT_EQ(pixelAt(img, w - 7, 13), darker(r, 10));  // the lower circle shows to the right
    // Expanded: two chevrons pointing up, tips at rows 9 and 13; end points left out.
    EXPECT_EQ(pixelAt(img, b, 9), clBlack);
    EXPECT_EQ(pixelAt(img, b - 2, 11), clBlack);
    EXPECT_EQ(pixelAt(img, b + 2, 11), clBlack);
    EXPECT_EQ(pixelAt(img, b - 3, 12), l);
    EXPECT_EQ(pixelAt(img, b, 13), clBlack);
    EXPECT_EQ(pixelAt(img, b, 11), l);

    sendEnter(title);
    EXPECT_TRUE(title->isHot());
    img = shot();
    EXPECT_EQ(pixelAt(img, w - 24, 12), darker(r, 40));
    EXPECT_EQ(pixelAt(img, w - 7, 13), darker(r, 20));
    EXPECT_EQ(pixelAt(img, b, 9), clBlue); // EnterColor while hot
    title->setEnterColor(clRed);
    EXPECT_EQ(pixelAt(shot(), b, 9), clRed);
    sendLeave(title);

    title->setExpanded(false); // no body: just the picture
    img = shot();
    // Collapsed: chevrons pointing down, tips at rows 11 and 15.
    EXPECT_EQ(pixelAt(img, b, 11), clBlack);
    EXPECT_EQ(pixelAt(img, b - 2, 9), clBlack);
    EXPECT_EQ(pixelAt(img, b, 15), clBlack);
    EXPECT_EQ(pixelAt(img, b, 9), l);

    title->setEnabled(false);
    img = shot();
    const TColor dl = RGB(235, 235, 235);
    const TColor dr = RGB(220, 220, 220);
    // One circle only, arrows at offset 0 in the disabled caption colour.
    EXPECT_EQ(pixelAt(img, w - 23, 13), darker(dr, 20));
    EXPECT_EQ(pixelAt(img, w - 15, 13), dl);
    EXPECT_EQ(pixelAt(img, w - 15, 12), kDisabledCaptionColor);
    EXPECT_EQ(pixelAt(img, w - 15, 16), kDisabledCaptionColor);
    const auto disabledAcross = gradientColors(dl, dr, w - 6);
    EXPECT_EQ(pixelAt(img, w - 24, 12), disabledAcross[static_cast<std::size_t>(w - 24 - 3)]);
}

TEST_F(TitleFixture, CaptionPlaceAndColours)
{
    title->setCaption(QStringLiteral("I"));
    const int h = QFontMetrics(testFont()).height();
    QImage img = shot();
    title->setCaption(QString()); // compare against the plain bar
    const QImage plain = shot();
    QRect diff;
    for (int y = 0; y < 25; ++y)
        for (int x = 3; x < 143; ++x)
            if (pixelAt(img, x, y) != pixelAt(plain, x, y))
                diff |= QRect(x, y, 1, 1);
    ASSERT_FALSE(diff.isEmpty());
    EXPECT_GE(diff.left(), 4);
    EXPECT_GE(diff.top(), (25 - h) / 2);
    EXPECT_LT(diff.bottom(), (25 - h) / 2 + h);

    title->setCaption(QStringLiteral("MM"));
    title->setCaptionShadow(true);
    title->setCaptionShadowColor(clRed);
    img = shot();
    EXPECT_TRUE(hasColor(img, clRed));
    EXPECT_TRUE(hasColor(img, clBlack));
    title->setEnabled(false);
    img = shot();
    EXPECT_FALSE(hasColor(img, clRed));
    EXPECT_TRUE(hasColor(img, kDisabledCaptionColor));
}

TEST(AutoPanel, ThreeSidedOutline)
{
    TGWAutoPanel body;
    EXPECT_EQ(body.size(), QSize(185, 200));
    EXPECT_EQ(body.SelfHeight(), 200);
    body.resize(60, 40);
    body.setColor(RGB(214, 223, 247));
    body.setOutlineColor(clRed);
    body.setDisableOutlineColor(clBlue);
    QImage img = body.grab().toImage();
    for (int y : {0, 20, 38, 39})
        EXPECT_EQ(pixelAt(img, 0, y), clRed) << y;
    for (int x : {0, 30, 59})
        EXPECT_EQ(pixelAt(img, x, 39), clRed) << x;
    for (int y : {1, 20, 39})
        EXPECT_EQ(pixelAt(img, 59, y), clRed) << y;
    // No top edge: the title closes the box.
    for (int x : {1, 30, 58, 59})
        EXPECT_EQ(pixelAt(img, x, 0), RGB(214, 223, 247)) << x;
    EXPECT_EQ(pixelAt(img, 30, 20), RGB(214, 223, 247));

    body.setEnabled(false);
    img = body.grab().toImage();
    EXPECT_EQ(pixelAt(img, 0, 20), clBlue);
    EXPECT_EQ(pixelAt(img, 59, 20), clBlue);

    // An owner-painted body keeps its outline on top of the owner's picture.
    body.setEnabled(true);
    body.setAutoDrawBackground(false);
    body.OnDrawBackground = [](QWidget *, Canvas &c, const Rect &r) {
        c.setBrushColor(clLime);
        c.setBrushStyle(BrushStyle::Solid);
        c.fillRect(r);
    };
    img = body.grab().toImage();
    EXPECT_EQ(pixelAt(img, 30, 20), clLime);
    EXPECT_EQ(pixelAt(img, 59, 0), clLime);
    EXPECT_EQ(pixelAt(img, 0, 20), clRed);
}

TEST(Panel, BevelsBorderAndClientArea)
{
    TGWPanel panel;
    EXPECT_EQ(panel.size(), QSize(185, 41));
    panel.resize(40, 30);
    QImage img = panel.grab().toImage();
    const TColor hi = colorToRGB(clBtnHighlight);
    const TColor sh = colorToRGB(clBtnShadow);
    const TColor face = colorToRGB(clBtnFace);
    EXPECT_EQ(pixelAt(img, 0, 0), hi);
    EXPECT_EQ(pixelAt(img, 38, 0), hi);
    EXPECT_EQ(pixelAt(img, 39, 0), sh);
    EXPECT_EQ(pixelAt(img, 0, 29), sh);
    EXPECT_EQ(pixelAt(img, 1, 1), face);
    EXPECT_EQ(panel.contentsRect(), QRect(1, 1, 38, 28));

    panel.setBevelOuter(bvLowered);
    panel.setBevelInner(bvRaised);
    panel.setBevelWidth(2);
    panel.setBorderWidth(3);
    img = panel.grab().toImage();
    EXPECT_EQ(pixelAt(img, 1, 1), sh); // outer lowered, 2 wide
    EXPECT_EQ(pixelAt(img, 2, 10), face); // border in the panel's colour
    EXPECT_EQ(pixelAt(img, 5, 10), hi); // inner raised
    EXPECT_EQ(pixelAt(img, 6, 10), hi);
    EXPECT_EQ(pixelAt(img, 7, 10), face);
    EXPECT_EQ(panel.contentsRect(), QRect(7, 7, 26, 16)); // children are laid out inside it

    panel.setBevelWidth(0); // refused below 1
    EXPECT_EQ(panel.BevelWidth(), 1);
}

TEST(Panel, CaptionCentredOnTheHeightOfW)
{
    TGWPanel panel;
    panel.setFont(testFont());
    panel.resize(100, 41);
    panel.setBevelOuter(bvNone);
    panel.setColor(clWhite);
    panel.setCaption(QStringLiteral("H"));
    const QRect left = [&] {
        panel.setAlignment(taLeftJustify);
        return inkBounds(panel.grab().toImage(), clWhite);
    }();
    panel.setAlignment(taRightJustify);
    const QRect right = inkBounds(panel.grab().toImage(), clWhite);
    const int w = QFontMetrics(testFont()).horizontalAdvance(QStringLiteral("H"));
    EXPECT_EQ(right.left() - left.left(), 100 - w);
    panel.setAlignment(taCenter);
    const QRect centre = inkBounds(panel.grab().toImage(), clWhite);
    EXPECT_EQ(centre.left() - left.left(), (100 - w) / 2);
    const int hw = QFontMetrics(testFont()).height();
    // The ink lies inside the text box whose top is (41 - height of "W") div 2.
    EXPECT_GE(left.top(), (41 - hw) / 2);
    EXPECT_LT(left.bottom(), (41 - hw) / 2 + hw);
}

namespace {

// A title with its body and two titles chained below, the body 184 high with
// step 5, as the left column uses them.
struct SectionFixture : ::testing::Test {
    QWidget host;
    TGWAutoPanelTitle *title = nullptr;
    TGWAutoPanel *body = nullptr;
    TGWAutoPanelTitle *next = nullptr;
    TGWAutoPanel *nextBody = nullptr;
    TGWAutoPanelTitle *last = nullptr;
    QWidget *child = nullptr;

    void SetUp() override
    {
        host.resize(250, 700);
        title = new TGWAutoPanelTitle(&host);
        title->move(5, 10);
        body = new TGWAutoPanel(&host);
        body->resize(185, 184);
        body->setSelfHeight(184);
        child = new QWidget(body);
        child->setGeometry(10, 20, 50, 20);
        title->setExpandedStep(5);
        title->setAutoPanel(body);

        next = new TGWAutoPanelTitle(&host);
        next->move(5, 300);
        nextBody = new TGWAutoPanel(&host);
        nextBody->resize(185, 50);
        next->setAutoPanel(nextBody);
        last = new TGWAutoPanelTitle(&host);
        last->move(5, 500);
        title->setNextTitle(next);
        next->setNextTitle(last);
        title->PlaceNextTitle();
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
};

} // namespace

TEST_F(SectionFixture, BodyLiesUnderItsTitleAndTheChainIsPacked)
{
    EXPECT_EQ(body->geometry(), QRect(5, 35, 185, 184));
    EXPECT_EQ(body->Color(), RGB(214, 223, 247));
    EXPECT_EQ(body->OutlineColor(), clWhite);
    EXPECT_EQ(next->y(), 10 + 25 + 12 + 184);
    EXPECT_EQ(nextBody->y(), next->y() + 25);
    EXPECT_EQ(last->y(), next->y() + 25 + 12 + 50);

    title->move(20, 40); // the body follows, and so does the chain
    EXPECT_EQ(body->pos(), QPoint(20, 65));
    EXPECT_EQ(next->y(), 40 + 25 + 12 + 184);
    EXPECT_EQ(last->y(), next->y() + 25 + 12 + 50);

    title->resize(150, 40); // height stays 25; the body takes the width
    EXPECT_EQ(title->height(), 25);
    EXPECT_EQ(body->width(), 150);

    title->setNextTitleSpace(20);
    EXPECT_EQ(next->y(), 40 + 25 + 20 + 184);
}

TEST_F(SectionFixture, CollapseAndExpandStepByStepWithTheChainFollowing)
{
    GeometryLog heights(body, QEvent::Resize);
    GeometryLog nextTops(next, QEvent::Move);
    GeometryLog lastTops(last, QEvent::Move);
    std::vector<bool> running;
    heights.onEvent = [&] { running.push_back(title->Expandeding()); };

    title->setExpanded(false);
    EXPECT_EQ(heights.values, (std::vector<int>{148, 112, 76, 40, 4, 1}));
    std::vector<int> expectedNext;
    std::vector<int> expectedLast;
    for (int h : heights.values) {
        expectedNext.push_back(10 + 25 + 12 + h);
        expectedLast.push_back(10 + 25 + 12 + h + 25 + 12 + 50);
    }
    EXPECT_EQ(nextTops.values, expectedNext);
    EXPECT_EQ(lastTops.values, expectedLast);
    EXPECT_EQ(running, std::vector<bool>(6, true));
    EXPECT_FALSE(title->Expandeding());
    // The children slide with the bottom edge.
    EXPECT_EQ(child->y(), 20 - 183);

    heights.values.clear();
    title->setExpanded(true);
    EXPECT_EQ(heights.values, (std::vector<int>{37, 73, 109, 145, 181, 184}));
    EXPECT_EQ(child->y(), 20);
    EXPECT_EQ(next->y(), 10 + 25 + 12 + 184);
}

TEST_F(SectionFixture, OnExpandedOnlyAfterAClickAndTheAnimation)
{
    int fired = 0;
    int heightSeen = -1;
    title->OnExpanded = [&](QObject *sender) {
        ++fired;
        heightSeen = body->height();
        EXPECT_EQ(sender, title);
    };
    title->setExpanded(false);
    title->setExpanded(true);
    EXPECT_EQ(fired, 0);

    QTest::mouseClick(title, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(fired, 1);
    EXPECT_EQ(heightSeen, 1);
    EXPECT_FALSE(title->Expanded());

    // Pressed on the title, dragged off, released outside: no toggle.
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(30, 10));
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(30, 60));
    EXPECT_EQ(fired, 1);
    EXPECT_FALSE(title->Expanded());

    QTest::mouseClick(title, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(fired, 2);
    EXPECT_EQ(heightSeen, 184);
}

TEST_F(SectionFixture, ClicksDuringTheAnimationAreIgnored)
{
    GeometryLog heights(body, QEvent::Resize);
    int fired = 0;
    title->OnExpanded = [&](QObject *) { ++fired; };
    heights.onEvent = [&] { QTest::mouseClick(title, Qt::LeftButton, {}, QPoint(30, 10)); };
    QTest::mouseClick(title, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_EQ(body->height(), 1);
    EXPECT_FALSE(title->Expanded());
    EXPECT_EQ(fired, 1);
}

TEST_F(SectionFixture, NextTitleRefusals)
{
    auto *close = new TGWAutoPanelTitle(&host);
    close->move(5, 10 + 24);
    title->setNextTitle(close);
    EXPECT_EQ(title->NextTitle(), next);
    title->setNextTitle(title);
    EXPECT_EQ(title->NextTitle(), next);
    close->move(5, 10 + 25);
    title->setNextTitle(close);
    EXPECT_EQ(title->NextTitle(), close);
    title->setNextTitle(nullptr);
    EXPECT_EQ(title->NextTitle(), nullptr);

    title->setExpandedStep(0);
    title->setExpandedStep(-3);
    EXPECT_EQ(title->ExpandedStep(), 5);
}

TEST_F(SectionFixture, DisablingAndHidingPassToTheBody)
{
    title->setEnabled(false);
    EXPECT_FALSE(body->isEnabled());
    EXPECT_EQ(body->Color(), RGB(220, 220, 220));
    title->setRightColor(clRed); // enabled colour: the disabled body keeps its colour
    EXPECT_EQ(body->Color(), RGB(220, 220, 220));
    title->setEnabled(true);
    EXPECT_TRUE(body->isEnabled());
    EXPECT_EQ(body->Color(), clRed);

    // Both outline colours reach the body whatever the title's state.
    title->setDisableLeftColor(clLime);
    EXPECT_EQ(body->DisableOutlineColor(), clLime);
    title->setEnabled(false);
    title->setLeftColor(clYellow);
    EXPECT_EQ(body->OutlineColor(), clYellow);

    title->hide();
    EXPECT_TRUE(body->isHidden());
    title->show();
    EXPECT_FALSE(body->isHidden());
}

TEST_F(SectionFixture, FocusGoesToTheFirstFocusableChildOfTheBody)
{
    auto *label = new QWidget(body); // not focusable
    label->setGeometry(10, 50, 20, 20);
    auto *disabled = new QLineEdit(body);
    disabled->setGeometry(10, 80, 60, 20);
    disabled->setEnabled(false);
    auto *edit = new QLineEdit(body);
    edit->setGeometry(10, 110, 60, 20);
    auto *second = new QLineEdit(body);
    second->setGeometry(10, 140, 60, 20);
    auto *outside = new QLineEdit(&host);
    outside->setGeometry(200, 600, 40, 20);
    body->show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    label->show();
    disabled->show();
    edit->show();
    second->show();

    outside->setFocus();
    QTest::mousePress(title, Qt::LeftButton, {}, QPoint(30, 10));
    EXPECT_TRUE(edit->hasFocus());
    QTest::mouseRelease(title, Qt::LeftButton, {}, QPoint(30, 10));

    title->setCaption(QStringLiteral("常用(&F)"));
    outside->setFocus();
    QTest::keyClick(&host, Qt::Key_F, Qt::AltModifier);
    EXPECT_TRUE(edit->hasFocus());
}

TEST(Section, HiddenChainFollowsAtOnceAndOnShow)
{
    QWidget host; // never shown: moves of hidden widgets send no events yet
    host.resize(250, 600);
    auto *a = new TGWAutoPanelTitle(&host);
    auto *body = new TGWAutoPanel(&host);
    body->resize(185, 100);
    body->setSelfHeight(100);
    a->setAutoPanel(body);
    auto *b = new TGWAutoPanelTitle(&host);
    b->move(0, 200);
    auto *bodyB = new TGWAutoPanel(&host);
    bodyB->resize(185, 40);
    b->setAutoPanel(bodyB);
    a->setNextTitle(b);
    a->setExpanded(false);
    EXPECT_EQ(body->height(), 1);
    EXPECT_EQ(b->y(), 25 + 12 + 1);
    EXPECT_EQ(bodyB->y(), b->y() + 25);
    // A hidden title hears of its own move only when shown; then all follow.
    a->move(7, 50);
    host.show();
    EXPECT_EQ(body->pos(), QPoint(7, 75));
    EXPECT_EQ(b->y(), 50 + 25 + 12 + 1);
    EXPECT_EQ(bodyB->y(), b->y() + 25);
}
