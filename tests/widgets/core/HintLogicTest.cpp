#include "widgets/core/HintLogic.h"

#include <gtest/gtest.h>

using namespace vomra;

TEST(HintLogic, WindowIsRootTwoTimesTheText)
{
    struct Row {
        int w, h;
        int width, height, dx, dy;
    };
    // 100 * 1.41421 = 141.4 -> 141; 13 * 1.41421 = 18.38 -> 18;
    // (sqrt 2 - 1) * 100 / 2 = 20.7 -> 20; * 13 / 2 = 2.69 -> 2.
    const Row rows[] = {{100, 13, 141, 18, 20, 2}, {7, 26, 10, 37, 1, 5}, {0, 0, 0, 0, 0, 0}, {200, 39, 283, 55, 41, 8}};
    for (const Row &r : rows) {
        const HintSize s = hintSizeForText(r.w, r.h);
        EXPECT_EQ(s.width, r.width) << r.w;
        EXPECT_EQ(s.height, r.height) << r.h;
        EXPECT_EQ(s.textRect, (Rect{r.dx, r.dy, r.dx + r.w, r.dy + r.h}));
    }
}

TEST(HintLogic, StyleMargins)
{
    const Rect r{10, 20, 110, 38}; // 100 x 18
    HintMargins m;
    EXPECT_EQ(enlargeHintRect(r, gwhsCircularity, m), (Rect{10, 20, 150, 70}));
    // One line lower than the icon + 10 becomes that high.
    EXPECT_EQ(enlargeHintRect(r, gwhsApplicationIcon, m), (Rect{10, 20, 152, 62}));
    const Rect tall{0, 0, 50, 80};
    EXPECT_EQ(enlargeHintRect(tall, gwhsApplicationIcon, m), (Rect{0, 0, 92, 80}));
    m.left = 5;
    m.right = 6;
    m.top = 7;
    m.bottom = 8;
    EXPECT_EQ(enlargeHintRect(r, gwhsUserCustom, m), (Rect{10, 20, 121, 53}));
}

TEST(HintLogic, FlipsAtTheDesktopEdges)
{
    const HintPlacement free = placeHint({100, 100, 200, 150}, 1024, 768);
    EXPECT_EQ(free.bounds, (Rect{100, 100, 200, 150}));
    EXPECT_TRUE(free.mouseOnTop);
    EXPECT_TRUE(free.mouseOnLeft);

    const HintPlacement bottom = placeHint({100, 740, 200, 790}, 1024, 768);
    EXPECT_EQ(bottom.bounds, (Rect{100, 690, 200, 740}));
    EXPECT_FALSE(bottom.mouseOnTop);
    EXPECT_TRUE(bottom.mouseOnLeft);

    const HintPlacement right = placeHint({1000, 100, 1100, 150}, 1024, 768);
    EXPECT_EQ(right.bounds, (Rect{900, 100, 1000, 150}));
    EXPECT_TRUE(right.mouseOnTop);
    EXPECT_FALSE(right.mouseOnLeft);

    // Exactly touching the edge still fits.
    EXPECT_TRUE(placeHint({0, 718, 10, 768}, 1024, 768).mouseOnTop);
}

TEST(HintLogic, BalloonBubbleFollowsTheMouseCorner)
{
    const BalloonShapes br = balloonShapes(180, 60, true, true);
    EXPECT_EQ(br.bubble, (Rect{0, 0, 28, 15}));
    EXPECT_EQ(br.shadowBubble, (Rect{2, 2, 30, 17}));
    EXPECT_EQ(br.shadowBalloon, (Rect{12, 12, 180, 60}));
    EXPECT_EQ(br.balloon, (Rect{11, 10, 178, 58}));
    EXPECT_EQ(br.textDx, 26);
    EXPECT_EQ(br.textDy, 20);

    const BalloonShapes al = balloonShapes(180, 60, false, false);
    EXPECT_EQ(al.bubble, (Rect{150, 43, 178, 58}));
    EXPECT_EQ(al.shadowBubble, (Rect{152, 45, 180, 60}));
    EXPECT_EQ(al.shadowBalloon, (Rect{0, 0, 168, 48}));
    EXPECT_EQ(al.textDx, 14);
    EXPECT_EQ(al.textDy, 8);

    // Above and right of the mouse the body moves 20 to the right.
    const BalloonShapes ar = balloonShapes(180, 60, false, true);
    EXPECT_EQ(ar.shadowBalloon, (Rect{20, 0, 180, 48}));
    EXPECT_EQ(ar.bubble, (Rect{0, 43, 28, 58}));
}
