#include "base/CellWidth.h"

#include <gtest/gtest.h>

namespace vomra::cells {
namespace {

TEST(CellWidth, LinesMeasuredBothWays)
{
    struct Case {
        const char *line;
        int narrow, wide;
        const char *ambiguous;
    };
    const Case cases[] = {
        {"abc  ", 5, 5, ""},
        {"你好　", 6, 6, ""},                    // ideographs and the full-width blank
        {"ＡＢ＃", 6, 6, ""},                    // full-width forms
        {"■●★", 3, 6, "■●★"},
        {"　■■　", 6, 8, "■"},                  // each ambiguous character listed once
        {"e\u0301x", 2, 2, ""},                  // a combining accent takes no cell
        {"a\u200Bb", 2, 2, ""},                  // nor a zero-width space
        {"§°×÷→", 5, 10, "§°×÷→"},
        {"ｱｲ", 2, 2, ""},                        // half-width katakana is narrow
        {"", 0, 0, ""},
    };
    for (const Case &c : cases) {
        const LineCells m = measure(decodeUtf8(c.line));
        EXPECT_EQ(m.narrow, c.narrow) << c.line;
        EXPECT_EQ(m.wide, c.wide) << c.line;
        EXPECT_EQ(encodeUtf8(m.ambiguous), c.ambiguous) << c.line;
    }
}

TEST(CellWidth, StandInsKeepTwoCellsInBothCounts)
{
    for (char32_t c : U"■□▲△▼▽◆◇●○◎⊙★☆※×÷─━│┃┼→←↑↓§°±“”‘’≡≈∞√") {
        if (c == 0)
            break;
        ASSERT_EQ(kindOf(c), Kind::Ambiguous) << encodeUtf8(std::u32string(1, c));
        const std::u32string full = fullWidthFor(c);
        const std::u32string pair = narrowPairFor(c);
        ASSERT_FALSE(full.empty()) << encodeUtf8(std::u32string(1, c));
        const LineCells f = measure(full);
        const LineCells p = measure(pair);
        EXPECT_EQ(f.narrow, 2) << encodeUtf8(full);
        EXPECT_EQ(f.wide, 2) << encodeUtf8(full);
        EXPECT_EQ(p.narrow, 2) << encodeUtf8(pair);
        EXPECT_EQ(p.wide, 2) << encodeUtf8(pair);
    }
    EXPECT_EQ(encodeUtf8(replaceAmbiguous(decodeUtf8("　■a●"), false)), "　〓a〇");
    EXPECT_EQ(encodeUtf8(replaceAmbiguous(decodeUtf8("　■a●"), true)), "　##a()");
    EXPECT_EQ(encodeUtf8(replaceAmbiguous(decodeUtf8("Ω"), false)), "Ω"); // none known: kept
}

TEST(CellWidth, MixOfAmbiguousAndWideIsFound)
{
    struct Case {
        const char *text;
        bool mixed;
        const char *ambiguous;
    };
    const Case cases[] = {
        {"　■\n■　", true, "■"},
        {"■●", false, ""},      // only ambiguous: lines up within itself
        {"你好 abc", false, ""},
        {"你★好☆★", true, "★☆"},
    };
    for (const Case &c : cases) {
        const Mix mix = ambiguousMix(decodeUtf8(c.text));
        EXPECT_EQ(mix.mixed, c.mixed) << c.text;
        EXPECT_EQ(encodeUtf8(mix.ambiguous), c.ambiguous) << c.text;
    }
}

TEST(CellWidth, MalformedUtf8BecomesReplacementCharacters)
{
    EXPECT_EQ(decodeUtf8("a\xFF" "b\xE4\xBD"), U"a\uFFFDb\uFFFD");
    EXPECT_EQ(encodeUtf8(U"a\U0001F600"), "a\xF0\x9F\x98\x80");
}

} // namespace
} // namespace vomra::cells
