#include "widgets/core/UpDownLogic.h"

#include <gtest/gtest.h>

using namespace vomra;

TEST(UpDownLogic, SteppingStopsOrWraps)
{
    struct Row {
        int position, increment, min, max;
        bool wrap;
        int expected;
    };
    const Row rows[] = {
        {5, 1, 0, 10, false, 6},    {10, 1, 0, 10, false, 10}, {9, 5, 0, 10, false, 10},
        {0, -1, 0, 10, false, 0},   {10, 1, 0, 10, true, 0},   {0, -1, 0, 10, true, 10},
        {9, 5, 0, 10, true, 0},     {3, -5, 0, 10, true, 10},  {-5, 2, -10, -1, false, -3},
        {32767, 1, 0, 32767, false, 32767},
    };
    for (const Row &r : rows)
        EXPECT_EQ(steppedPosition(r.position, r.increment, r.min, r.max, r.wrap), r.expected)
            << r.position << " + " << r.increment << (r.wrap ? " wrap" : "");
}

TEST(UpDownLogic, DirectionReportedBeforeAStep)
{
    EXPECT_EQ(stepDirection(1, 11, 0, 100), updUp);
    EXPECT_EQ(stepDirection(1, 100, 0, 100), updUp);
    EXPECT_EQ(stepDirection(1, 101, 0, 100), updNone);
    EXPECT_EQ(stepDirection(-1, 0, 0, 100), updDown);
    EXPECT_EQ(stepDirection(-1, -1, 0, 100), updNone);
    EXPECT_EQ(stepDirection(0, 5, 0, 100), updNone);
}

TEST(UpDownLogic, PositionText)
{
    EXPECT_EQ(formatPosition(0, true), "0");
    EXPECT_EQ(formatPosition(999, true), "999");
    EXPECT_EQ(formatPosition(1000, true), "1,000");
    EXPECT_EQ(formatPosition(-32768, true), "-32,768");
    EXPECT_EQ(formatPosition(1234567, true), "1,234,567");
    EXPECT_EQ(formatPosition(12345, false), "12345");
    EXPECT_EQ(parsePosition("1,234"), 1234);
    EXPECT_EQ(parsePosition("-5"), -5);
    EXPECT_EQ(parsePosition(" 42 "), 42);
    EXPECT_FALSE(parsePosition("").has_value());
    EXPECT_FALSE(parsePosition("-").has_value());
    EXPECT_FALSE(parsePosition("12a").has_value());
}

TEST(UpDownLogic, ArrowRowsVertical)
{
    // 17 x 25: c = 8, first arrow from row 25/4 - 1 = 5.
    const auto up = upDownArrow(udVertical, 17, 25, false, false);
    const std::vector<ArrowRun> expectedUp = {{5, 8, 8}, {6, 7, 9}, {7, 6, 10}, {8, 5, 7}, {8, 9, 11}};
    EXPECT_EQ(up, expectedUp);
    // Pressed: one pixel higher.
    EXPECT_EQ(upDownArrow(udVertical, 17, 25, false, true).front(), (ArrowRun{4, 8, 8}));
    // Second arrow starts at 12 + 6 - 1 = 17 with its widest (open) row.
    const auto down = upDownArrow(udVertical, 17, 25, true, false);
    const std::vector<ArrowRun> expectedDown = {{17, 5, 7}, {17, 9, 11}, {18, 6, 10}, {19, 7, 9}, {20, 8, 8}};
    EXPECT_EQ(down, expectedDown);
    EXPECT_EQ(upDownArrow(udVertical, 17, 25, true, true).front().line, 18);
}

TEST(UpDownLogic, ArrowColumnsHorizontal)
{
    // 25 x 17: centre row 8; left tip column 25/4 - 1 = 5, right tip 12 + 6 + 2 = 20.
    const auto left = upDownArrow(udHorizontal, 25, 17, false, false);
    EXPECT_EQ(left.front(), (ArrowRun{5, 8, 8}));
    EXPECT_EQ(left.back(), (ArrowRun{8, 9, 11}));
    EXPECT_EQ(upDownArrow(udHorizontal, 25, 17, false, true).front().line, 4);
    const auto right = upDownArrow(udHorizontal, 25, 17, true, false);
    EXPECT_EQ(right.back(), (ArrowRun{20, 8, 8}));
    EXPECT_EQ(right.front().line, 17);
    EXPECT_EQ(upDownArrow(udHorizontal, 25, 17, true, true).back().line, 21);
}
