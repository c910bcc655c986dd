#include "widgets/core/ButtonLogic.h"

#include <gtest/gtest.h>

using namespace vomra;

TEST(ButtonLogic, PictureNumberPerState)
{
    struct Row {
        ButtonState state;
        int unchecked;
        int checked;
    };
    const Row rows[] = {
        {{true, false, false, false, false}, 1, 3}, // normal
        {{true, false, false, false, true}, 4, 5},  // hot
        {{true, false, false, true, true}, 2, 6},   // pressed with the mouse over it
        {{true, false, false, true, false}, 1, 3},  // pressed, then dragged off
        {{true, false, true, false, false}, 2, 6},  // space held
        {{true, false, true, false, true}, 2, 6},   // space held beats hot
        {{false, false, false, false, false}, 7, 8},
        {{false, false, false, false, true}, 7, 8}, // disabled ignores the mouse
        {{false, false, true, true, true}, 7, 8},
    };
    for (const Row &row : rows) {
        ButtonState s = row.state;
        s.checked = false;
        EXPECT_EQ(checkPictureNumber(s), row.unchecked);
        s.checked = true;
        EXPECT_EQ(checkPictureNumber(s), row.checked);
    }
}

TEST(ButtonLogic, ContentPlacementByLayout)
{
    ContentMetrics m;
    m.width = 100;
    m.height = 40;
    m.imageWidth = 16;
    m.imageHeight = 16;
    m.captionWidth = 31;
    m.captionHeight = 13;
    m.spacing = 2;
    m.hasCaption = true;
    m.hasImages = true;

    struct Row {
        TButtonLayout layout;
        ContentPoint image;
        ContentPoint caption;
    };
    const Row rows[] = {
        {blGlyphLeft, {25, 12}, {43, 13}},   // (100-16-31-2)/2 = 25; 16+25+2
        {blGlyphRight, {58, 12}, {25, 13}},  // 25+31+2
        {blGlyphTop, {42, 4}, {33, 22}},     // (40-16-13-2)/2 = 4; caption x (100-31-2)/2
        {blGlyphBottom, {42, 19}, {33, 4}},  // 4+13+2
    };
    for (const Row &row : rows) {
        const ContentPlacement p = placeContent(m, row.layout, 0, 0);
        EXPECT_EQ(p.image, row.image) << row.layout;
        EXPECT_EQ(p.caption, row.caption) << row.layout;
        const ContentPlacement pressed = placeContent(m, row.layout, 1, 1);
        EXPECT_EQ(pressed.image, (ContentPoint{row.image.x + 1, row.image.y + 1}));
        EXPECT_EQ(pressed.caption, (ContentPoint{row.caption.x + 1, row.caption.y + 1}));
    }

    m.hasImages = false;
    const ContentPlacement captionOnly = placeContent(m, blGlyphLeft, 0, 0);
    EXPECT_FALSE(captionOnly.hasImage);
    EXPECT_EQ(captionOnly.caption, (ContentPoint{34, 13}));
    m.hasImages = true;
    m.hasCaption = false;
    const ContentPlacement imageOnly = placeContent(m, blGlyphTop, 0, 0);
    EXPECT_FALSE(imageOnly.hasCaption);
    EXPECT_EQ(imageOnly.image, (ContentPoint{42, 12}));
}

TEST(ButtonLogic, EdgeRampRunsFromStartToEnd)
{
    // H = 23: rows 3..19, 17 colours, the last one the end colour.
    const auto ramp = edgeRamp(RGB(253, 216, 137), RGB(238, 151, 0), 23);
    ASSERT_EQ(ramp.size(), 17u);
    EXPECT_EQ(ramp.front(), RGB(253, 216, 137));
    EXPECT_EQ(ramp.back(), RGB(238, 151, 0));
    // Row 4: each channel start - (start - end) / 16, truncated as a real number:
    // 253 - 0.9375 = 252.06 -> 252; 216 - 4.0625 -> 211; 137 - 8.5625 -> 128.
    EXPECT_EQ(ramp[1], RGB(252, 211, 128));
    EXPECT_TRUE(edgeRamp(RGB(1, 2, 3), RGB(4, 5, 6), 6).empty());
    const auto single = edgeRamp(RGB(10, 20, 30), RGB(40, 50, 60), 7);
    ASSERT_EQ(single.size(), 1u);
    EXPECT_EQ(single[0], RGB(10, 20, 30));
}
