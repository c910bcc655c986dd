#include "base/Gbk.h"

#include <gtest/gtest.h>

using namespace vomra;

TEST(Gbk, RoundTrip)
{
    bool lossy = true;
    const std::string g = gbk::fromUtf8("艺术字 ab　★", &lossy);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(g, "\xD2\xD5\xCA\xF5\xD7\xD6 ab\xA1\xA1\xA1\xEF");
    EXPECT_EQ(gbk::toUtf8(g, &lossy), "艺术字 ab　★");
    EXPECT_FALSE(lossy);
    EXPECT_EQ(gbk::fromUtf8(""), "");
}

TEST(Gbk, UnmappableCharactersBecomeQuestionMarks)
{
    bool lossy = false;
    // An emoji and a Hangul syllable have no GBK code; each becomes one "?".
    EXPECT_EQ(gbk::fromUtf8("a😀b한c", &lossy), "a?b?c");
    EXPECT_TRUE(lossy);
    // Malformed UTF-8: a stray continuation byte and a truncated sequence.
    EXPECT_EQ(gbk::fromUtf8("a\x80z\xE8\x89", &lossy), "a?z?");
    EXPECT_TRUE(lossy);
    // Tag characters (U+E0020, U+E007F), which the system converter drops silently,
    // one beside malformed bytes; and a lookalike (U+E0080) that is no tag.
    lossy = false;
    EXPECT_EQ(gbk::fromUtf8("\xF3\xA0\x80\xA0U\xE8\xF3\xA0\x81\xBF艺", &lossy), "?U??\xD2\xD5");
    EXPECT_TRUE(lossy);
    EXPECT_EQ(gbk::fromUtf8("\xF3\xA0\x82\x80", &lossy), "?");
    EXPECT_TRUE(lossy);
}

TEST(Gbk, BadGbkDecodesWithoutReadingPastTheEnd)
{
    bool lossy = false;
    EXPECT_EQ(gbk::toUtf8("ab\xB0", &lossy), "ab?"); // lone lead byte at the end
    EXPECT_TRUE(lossy);
    EXPECT_EQ(gbk::toUtf8("\xFF" "a", &lossy), "?a");
    EXPECT_TRUE(lossy);
    // A lead byte before a byte outside the trail range stands alone; an unknown
    // pair is one "?" and its trail byte does not start the next character.
    EXPECT_EQ(gbk::toUtf8("\x81" "0\xB0\xA1"), "?0啊");
    EXPECT_EQ(gbk::toUtf8("\xA2\xE3\xB0\xA1\xB0\xA1"), "?啊啊");
    EXPECT_EQ(gbk::toUtf8("\xA2\xE3"), "?");
    // Long input crosses the converter's internal buffer.
    std::string big;
    for (int i = 0; i < 10000; ++i)
        big += "\xD2\xD5";
    std::string utf8 = gbk::toUtf8(big, &lossy);
    EXPECT_FALSE(lossy);
    EXPECT_EQ(utf8.size(), 30000u);
    EXPECT_EQ(gbk::fromUtf8(utf8), big);
}
