#include "widgets/core/PanelGeometry.h"

#include <gtest/gtest.h>

#include <vector>

using namespace vomra;

namespace {

struct HeightsCase {
    const char *name;
    int from;
    int selfHeight;
    int expandedStep;
    bool expanding;
    std::vector<int> expected;
};

const HeightsCase kHeights[] = {
    {"184/5 expands", 1, 184, 5, true, {37, 73, 109, 145, 181, 184}},
    {"184/5 collapses", 184, 184, 5, false, {148, 112, 76, 40, 4, 1}},
    {"200/10 expands in exact steps", 1, 200, 10, true, {21, 41, 61, 81, 101, 121, 141, 161, 181, 200}},
    {"already expanded", 184, 184, 5, true, {}},
    {"already collapsed", 1, 184, 5, false, {}},
    // A body lower than the step count still moves, one pixel per step.
    {"3/10 expands by ones", 1, 3, 10, true, {2, 3}},
    {"3/10 collapses by ones", 3, 3, 10, false, {2, 1}},
    // Turning back half way: the heights continue from where the body is.
    {"reverse from 73", 73, 184, 5, false, {37, 1}},
};

// Every height the body passes through from `height` to its end, in order, as
// the section's animation steps through them.
std::vector<int> sectionHeights(int height, int selfHeight, int expandedStep, bool expanding)
{
    std::vector<int> out;
    const int step = sectionStep(selfHeight, expandedStep);
    for (int h = nextSectionHeight(height, selfHeight, step, expanding); h != height;
         h = nextSectionHeight(height, selfHeight, step, expanding)) {
        out.push_back(h);
        height = h;
    }
    return out;
}

} // namespace

TEST(PanelGeometry, AnimationHeights)
{
    for (const HeightsCase &c : kHeights) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(sectionHeights(c.from, c.selfHeight, c.expandedStep, c.expanding), c.expected);
    }
}

TEST(PanelGeometry, NextTitleTopAndAcceptance)
{
    EXPECT_EQ(nextTitleTop(10, 12, 1), 10 + 25 + 12 + 1); // collapsed body still counts its pixel
    EXPECT_EQ(nextTitleTop(10, 12, 184), 231);
    EXPECT_EQ(nextTitleTop(10, 12, -1), 47); // no body

    EXPECT_FALSE(acceptsNextTitle(true, 0, 100));
    EXPECT_FALSE(acceptsNextTitle(false, 100, 124));
    EXPECT_TRUE(acceptsNextTitle(false, 100, 125));
}

TEST(PanelGeometry, DarkerClampsAtZero)
{
    EXPECT_EQ(darker(RGB(214, 223, 247), 20), RGB(194, 203, 227));
    EXPECT_EQ(darker(RGB(5, 30, 40), 20), RGB(0, 10, 20));
    EXPECT_EQ(darker(clBtnFace, 10), RGB(202, 198, 190)); // system colours are resolved first
}
