#include "board/core/BoardText.h"
#include "board/core/DrawTextModel.h"

#include <gtest/gtest.h>

namespace vomra {
namespace {

// GBK: "★", "☆", full-width blank.
const std::string kStar = "\xA1\xEF";
const std::string kHollow = "\xA1\xEE";
const std::string kWide = "\xA1\xA1";

DrawTextModel boardOf(const Lines &rows)
{
    DrawTextModel board;
    board.setTextWidth(1);
    board.setTextHeight(1);
    board.setTextList(rows);
    return board;
}

// No row may end on the first half of a character, and every row is TextWidth long.
void expectWhole(const DrawTextModel &board)
{
    ASSERT_EQ(board.TextList().size(), static_cast<std::size_t>(board.TextHeight()));
    for (const std::string &row : board.TextList()) {
        ASSERT_EQ(row.size(), static_cast<std::size_t>(board.TextWidth())) << row;
        EXPECT_NE(classifyRow(row).back(), CellKind::Lead) << row;
    }
}

TEST(DrawTextModel, ClassifiesRowsByTheLeadByteRule)
{
    const std::vector<CellKind> kinds = classifyRow("a" + kStar + "\x7F" "b" "c");
    const std::vector<CellKind> expected = {CellKind::Single, CellKind::Lead, CellKind::Trail,
                                            CellKind::Lead,   CellKind::Trail, CellKind::Single};
    EXPECT_EQ(kinds, expected); // 127 leads and swallows the "b" after it
}

struct StrokeCase {
    const char *name;
    std::string row;
    int column;
    std::string stroke;
    std::string expected;
    std::vector<std::pair<int, std::string>> changes; // column, text
};

TEST(DrawTextModel, StrokesKeepDoubleByteCharactersWhole)
{
    const std::vector<StrokeCase> cases = {
        {"single on single", "abc", 2, "*", "a*c", {{2, "*"}}},
        {"double pen in the last column writes nothing", "abcd", 4, kStar, "abcd", {}},
        {"double pen before the last column fills the last two", "abcd", 3, kStar, "ab" + kStar, {{3, kStar}}},
        {"single on the second half of a star", "a" + kStar + "b", 3, "*", "a *b", {{2, " "}, {3, "*"}}},
        {"single on the first half of a star", "a" + kStar + "b", 2, "*", "a* b", {{2, "*"}, {3, " "}}},
        {"double over a single followed by a double", "a" + kStar + "b", 1, kHollow, kHollow + " b",
         {{1, kHollow}, {3, " "}}},
        {"double over two singles", "abc", 1, kHollow, kHollow + "c", {{1, kHollow}}},
        {"double over a double replaces exactly it", kStar + kStar, 3, kHollow, kStar + kHollow, {{3, kHollow}}},
        {"double on a second half", kStar + kStar + "a", 2, kHollow, " " + kHollow + " a",
         {{1, " "}, {2, kHollow}, {4, " "}}},
        {"erasing the first half clears both", kStar + kStar, 1, " ", "  " + kStar, {{1, " "}, {2, " "}}},
        {"erasing the second half clears both", kStar + kStar, 2, " ", "  " + kStar, {{1, " "}, {2, " "}}},
        {"single on a 127 lead", "\x7F" "bc", 1, "*", "* c", {{1, "*"}, {2, " "}}},
    };
    for (const StrokeCase &c : cases) {
        SCOPED_TRACE(c.name);
        DrawTextModel board = boardOf({"zz", c.row});
        ASSERT_EQ(board.TextWidth(), static_cast<int>(c.row.size()));
        const std::vector<CellChange> changes = board.paintAt(c.column, 2, c.stroke);
        EXPECT_EQ(board.TextList()[1], c.expected);
        EXPECT_EQ(board.TextList()[0].substr(0, 2), "zz");
        std::vector<CellChange> expected;
        for (const auto &[column, text] : c.changes)
            expected.push_back({2, column, text});
        EXPECT_EQ(changes, expected);
        expectWhole(board);
    }
}

TEST(DrawTextModel, StrokesOutsideTheGridChangeNothing)
{
    DrawTextModel board;
    const Lines before = board.TextList();
    EXPECT_TRUE(board.paintAt(0, 1, "*").empty());
    EXPECT_TRUE(board.paintAt(41, 1, "*").empty());
    EXPECT_TRUE(board.paintAt(1, 7, "*").empty());
    EXPECT_EQ(board.TextList(), before);
}

TEST(DrawTextModel, StartsAsABlankFortyBySix)
{
    DrawTextModel board;
    EXPECT_EQ(board.TextList(), Lines(6, std::string(40, ' ')));
    EXPECT_EQ(board.PenText(), "*");
}

TEST(DrawTextModel, SizeSettersCutAndPad)
{
    struct Case {
        const char *name;
        Lines rows;
        int width;
        int height;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"a star cut in half becomes a space", {"a" + kStar + "b"}, 2, 1, {"a "}},
        {"an edge on a second half keeps the star", {kStar + kStar}, 2, 1, {kStar}},
        {"three of two stars", {kStar + kStar}, 3, 1, {kStar + " "}},
        {"wider pads with spaces", {"ab"}, 4, 1, {"ab  "}},
        {"lower drops bottom rows", {"a", "b", "c"}, 1, 2, {"a", "b"}},
        {"taller appends blank rows", {"a"}, 2, 3, {"a ", "  ", "  "}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DrawTextModel board = boardOf(c.rows);
        EXPECT_TRUE(board.setTextWidth(c.width));
        EXPECT_TRUE(board.setTextHeight(c.height));
        EXPECT_EQ(board.TextList(), c.expected);
        expectWhole(board);
    }
}

TEST(DrawTextModel, SizesOfZeroOrLessAreIgnored)
{
    DrawTextModel board;
    EXPECT_FALSE(board.setTextWidth(0));
    EXPECT_FALSE(board.setTextHeight(-3));
    EXPECT_EQ(board.TextWidth(), 40);
    EXPECT_EQ(board.TextHeight(), 6);
    expectWhole(board);
}

TEST(DrawTextModel, WritingTextListGrowsButNeverNarrows)
{
    struct Case {
        const char *name;
        Lines given;
        int width;
        int height;
        Lines expected;
    };
    const std::vector<Case> cases = {
        {"more rows make it taller", {"a", "b", "c", "d"}, 4, 4, {"a   ", "b   ", "c   ", "d   "}},
        {"fewer rows are padded, height stays", {"ab"}, 4, 3, {"ab  ", "    ", "    "}},
        {"a longer row makes it wider", {"abcdef", "x"}, 6, 3, {"abcdef", "x     ", "      "}},
        {"an empty list blanks the grid", {}, 4, 3, {"    ", "    ", "    "}},
        {"a row ending on a lone lead byte", {"ab\xA1"}, 4, 3, {"ab  ", "    ", "    "}},
        {"a lone lead that sets the width", {"abcd\xA1"}, 5, 3, {"abcd ", "     ", "     "}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        DrawTextModel board;
        board.setTextWidth(4);
        board.setTextHeight(3);
        board.paintAt(1, 1, "#");
        board.setTextList(c.given);
        EXPECT_EQ(board.TextWidth(), c.width);
        EXPECT_EQ(board.TextHeight(), c.height);
        EXPECT_EQ(board.TextList(), c.expected);
        expectWhole(board);
    }
}

TEST(DrawTextModel, ClearBlanksEveryCellAndKeepsTheSize)
{
    DrawTextModel board = boardOf({"a" + kStar, "xyz"});
    board.Clear();
    EXPECT_EQ(board.TextList(), Lines(2, "   "));
}

TEST(DrawTextModel, PenTextKeepsTheFirstCharacter)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", " "},           {"*", "*"},       {"ab", "a"},   {kStar + kHollow, kStar},
        {kStar, kStar},      {"a" + kStar, "a"}, {"\xA1", " "}, {"\x7F", " "},
        {"\x7F" "ab", "\x7F" "a"},
    };
    for (const auto &[given, expected] : cases) {
        DrawTextModel board;
        board.setPenText(given);
        EXPECT_EQ(board.PenText(), expected) << '"' << given << '"';
    }
}

TEST(DrawTextModel, MousePositionsClampToTheEdgeCells)
{
    struct Case {
        int pixel;
        int expected;
    };
    const std::vector<Case> cases = {{-100, 1}, {-6, 1}, {0, 1}, {6, 1}, {7, 2}, {69, 10}, {70, 10}, {5000, 10}};
    for (const Case &c : cases)
        EXPECT_EQ(DrawTextModel::cellAt(c.pixel, 7, 10), c.expected) << c.pixel;
    EXPECT_EQ(DrawTextModel::cellAt(50, 0, 10), 1); // an unmeasured font never divides by zero
}

TEST(BoardText, TextViewShowsRowsWithoutTrailingBlanks)
{
    const DrawTextModel board = boardOf({"ab  ", kWide + kWide, " " + kStar + " ", "a" + kWide + "b"});
    EXPECT_EQ(boardToText(board), (Lines{"ab", "", " " + kStar, "a" + kWide + "b"}));
}

TEST(BoardText, TextModeAndBackGivesTheSameGrid)
{
    DrawTextModel board;
    board.setTextWidth(6);
    board.setTextHeight(3);
    board.paintAt(2, 1, kStar);
    board.paintAt(6, 3, "*");
    board.paintAt(3, 2, kWide); // a trailing full-width blank comes back as two spaces
    Lines expected = board.TextList();
    expected[1] = std::string(6, ' ');

    const Lines text = boardToText(board);
    DrawTextModel back;
    textToBoard(back, text, 3, 6);
    EXPECT_EQ(back.TextList(), expected);
}

TEST(BoardText, TextToBoardCutsToTheChosenSize)
{
    DrawTextModel board;
    textToBoard(board, {"abcdefgh", "a" + kStar + kStar, "x", "y", "z"}, 3, 4);
    EXPECT_EQ(board.TextList(), (Lines{"abcd", "a" + kStar + " ", "x   "}));
}

std::string stars(int n)
{
    std::string s;
    for (int k = 0; k < n; ++k)
        s += kStar;
    return s;
}

TEST(BoardText, PastingTenLongLinesOntoASmallBoardKeepsItsSize)
{
    Lines pasted;
    for (int i = 0; i < 10; ++i)
        pasted.push_back(i % 2 ? std::string(50, 'x') + std::string(10, ' ') + std::string(20, 'y')
                               : "a" + stars(39) + "b");
    DrawTextModel board;
    board.setTextWidth(60);
    const Lines shown = pasteToBoard(board, pasted, 6, 60);

    EXPECT_EQ(board.TextWidth(), 60);
    EXPECT_EQ(board.TextHeight(), 6);
    expectWhole(board);
    EXPECT_EQ(board.TextList()[0], "a" + stars(29) + " "); // the 30th star was cut in half
    EXPECT_EQ(board.TextList()[1], std::string(50, 'x') + std::string(10, ' '));
    EXPECT_EQ(shown, (Lines{"a" + stars(29), std::string(50, 'x'), "a" + stars(29), std::string(50, 'x'),
                            "a" + stars(29), std::string(50, 'x')}));
}

TEST(BoardText, CopyKeepsFullWidthRows)
{
    const DrawTextModel board = boardOf({"a  ", "   "});
    EXPECT_EQ(boardCopyText(board, "\r\n"), "a  \r\n   ");
    EXPECT_EQ(boardCopyText(board), "a  \n   ");
}

} // namespace
} // namespace vomra
