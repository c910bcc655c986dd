#include "widgets/core/ProgressGeometry.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace vomra;

TEST(ProgressGeometry, SetterRules)
{
    ProgressRange r;
    r.position = 50;
    EXPECT_TRUE(r.setMax(10)); // Max below Position pulls it down
    EXPECT_EQ(r.position, 10u);
    EXPECT_FALSE(r.setPosition(200));
    EXPECT_EQ(r.position, 10u); // ignored, not clamped
    EXPECT_TRUE(r.setMax(100));
    EXPECT_EQ(r.position, 10u);
    EXPECT_TRUE(r.setMin(30)); // Min above Position pushes it up
    EXPECT_EQ(r.position, 30u);
    EXPECT_FALSE(r.setMin(101)); // above Max: refused
    EXPECT_EQ(r.min, 30u);
    EXPECT_FALSE(r.setMax(29)); // below Min: refused
    EXPECT_EQ(r.max, 100u);
    EXPECT_FALSE(r.setPosition(29));
    EXPECT_TRUE(r.setPosition(100));
    EXPECT_TRUE(r.setMax(30)); // Max equal to Min is allowed
    EXPECT_EQ(r.position, 30u);
}

TEST(ProgressGeometry, FillAndPercent)
{
    struct Case {
        std::uint32_t min, max, position;
        int extent;
        ProgressFill expected;
    };
    const Case cases[] = {
        {0, 100, 50, 100, {50, 50}},
        {0, 100, 0, 100, {0, 0}},
        {0, 100, 100, 100, {100, 100}},
        {5, 5, 5, 100, {100, 100}}, // an empty range is a full bar
        {0, 100, 29, 100, {29, 29}}, // exact, where a double would give 28
        {0, 3, 1, 14, {4, 33}},
        {10, 20, 15, 40, {20, 50}},
        {0, 0xFFFFFFFFu, 0xFFFFFFFEu, 100, {99, 99}}, // no overflow at the top of the range
        {0, 100, 50, -3, {0, 50}},                    // a bar narrower than its outline
    };
    for (const Case &c : cases) {
        ProgressRange r{c.min, c.max, c.position};
        EXPECT_EQ(progressFill(r, c.extent), c.expected) << c.min << ".." << c.max << " @" << c.position;
    }
}
