#include "art/core/PreviewFit.h"

#include <gtest/gtest.h>

using namespace vomra;

TEST(PreviewFit, ShrinksToTheBoxCentredAndRoundsHalvesToEven)
{
    struct Case {
        int w, h;
        PreviewPlace place;
    };
    const Case cases[] = {
        // Fits: own size, centred in the 129 x 105 box at (8, 40).
        {8, 5, {68, 90, 8, 5, false}},
        {129, 105, {8, 40, 129, 105, false}},
        {1, 1, {72, 92, 1, 1, false}},
        // Too wide: 129 / 258 = 0.5 goes to 0; 129 / 2 = 64.5 goes to 64.
        {258, 1, {8, 92, 129, 0, true}},
        {200, 100, {8, 60, 129, 64, true}},
        {600, 200, {8, 71, 129, 43, true}},
        // Too high only.
        {100, 300, {55, 40, 35, 105, true}},
        // Both steps: 129 x 258 first, then 105 / 2 = 52.5 goes to 52.
        {1000, 2000, {46, 40, 52, 105, true}},
        // Odd halves go up: 105 / (210 / 7) = 3.5 goes to 4.
        {7, 210, {70, 40, 4, 105, true}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(previewFit(c.w, c.h), c.place) << c.w << " x " << c.h;
}
