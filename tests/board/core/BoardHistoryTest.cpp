#include "board/core/BoardHistory.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace vomra {
namespace {

const std::string kStar = "\xA1\xEF"; // GBK "★"

struct Snapshot {
    int width;
    int height;
    Lines rows;
    bool operator==(const Snapshot &) const = default;
};
Snapshot snap(const DrawTextModel &m) { return {m.TextWidth(), m.TextHeight(), m.TextList()}; }

// One recorded action on the board, as the widget records them.
void step(BoardHistory &history, DrawTextModel &board, const std::function<void()> &change)
{
    history.begin(board);
    change();
    history.end(board);
}

TEST(BoardHistory, UndoAndRedoWalkBackAndForthThroughEveryKindOfStep)
{
    DrawTextModel board;
    board.setTextWidth(8);
    board.setTextHeight(3);
    BoardHistory history;

    struct Action {
        const char *name;
        std::function<void()> change;
    };
    const std::vector<Action> actions = {
        {"stroke", [&] { board.paintAt(1, 1, "*"); board.paintAt(2, 1, "*"); board.paintAt(2, 2, "*"); }},
        {"double-byte stroke over a row", [&] { board.paintAt(3, 3, kStar); }},
        {"list write that grows the grid", [&] { board.setTextList({"0123456789", "a", "b", "c"}); }},
        {"narrower", [&] { board.setTextWidth(5); }},
        {"shorter and wider", [&] { board.setTextHeight(2); board.setTextWidth(12); }},
        {"clear", [&] { board.Clear(); }},
        {"stroke after clear", [&] { board.paintAt(12, 2, "#"); }},
    };
    std::vector<Snapshot> states = {snap(board)};
    for (const Action &a : actions) {
        step(history, board, a.change);
        states.push_back(snap(board));
        ASSERT_NE(states.back(), states[states.size() - 2]) << a.name << " changed nothing";
    }
    ASSERT_EQ(history.undoCount(), actions.size());

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(history.undo(board));
        EXPECT_EQ(snap(board), states[i - 1]) << "undo of " << actions[i - 1].name;
    }
    EXPECT_FALSE(history.undo(board));
    EXPECT_EQ(snap(board), states.front());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(history.redo(board));
        EXPECT_EQ(snap(board), states[i]) << "redo of " << actions[i - 1].name;
    }
    EXPECT_FALSE(history.redo(board));
}

TEST(BoardHistory, NewChangeAfterUndoDropsRedoAndNoChangeIsNoStep)
{
    DrawTextModel board;
    BoardHistory history;
    step(history, board, [&] { board.paintAt(1, 1, "a"); });
    step(history, board, [&] { board.paintAt(2, 1, "b"); });
    step(history, board, [&] { board.setTextWidth(board.TextWidth()); }); // same size: nothing
    step(history, board, [&] { board.paintAt(2, 1, "b"); });              // same byte again
    EXPECT_EQ(history.undoCount(), 2u);

    ASSERT_TRUE(history.undo(board));
    step(history, board, [&] { board.paintAt(3, 1, "c"); });
    EXPECT_FALSE(history.redo(board));
    EXPECT_EQ(board.TextList()[0].substr(0, 3), "a c");
}

TEST(BoardHistory, NestedStepsAreOneAndNothingTravelsWhileOneIsOpen)
{
    DrawTextModel board;
    board.setTextWidth(10);
    const Snapshot before = snap(board);
    BoardHistory history;
    history.begin(board);
    step(history, board, [&] { board.setTextList({"pasted text", "two"}); });
    step(history, board, [&] { board.setTextHeight(6); board.setTextWidth(10); });
    EXPECT_FALSE(history.undo(board)); // a stroke in progress cannot be taken back midway
    history.end(board);
    EXPECT_EQ(history.undoCount(), 1u);
    ASSERT_TRUE(history.undo(board));
    EXPECT_EQ(snap(board), before);
}

TEST(BoardHistory, KeepsAHundredWholeGridStepsOfTheLargestBoardWithin64MB)
{
    DrawTextModel board;
    board.setTextWidth(640);
    board.setTextHeight(480);
    BoardHistory history;
    std::mt19937 random(7);
    std::vector<Snapshot> states = {snap(board)};
    // Every step rewrites every row: the worst case for a diff.
    for (int n = 0; n < 120; ++n) {
        Lines rows(480, std::string(640, ' '));
        for (std::string &row : rows)
            for (char &c : row)
                c = static_cast<char>('!' + random() % 90);
        step(history, board, [&] { board.setTextList(rows); });
        states.push_back(snap(board));
    }
    EXPECT_LE(history.bytes(), BoardHistory::kDefaultBudget);
    ASSERT_GE(history.undoCount(), 100u);
    for (std::size_t i = 0; i < 100; ++i) {
        ASSERT_TRUE(history.undo(board));
        ASSERT_EQ(snap(board), states[states.size() - 2 - i]) << "undo " << i + 1;
    }
    EXPECT_LE(history.bytes(), BoardHistory::kDefaultBudget);
}

TEST(BoardHistory, OldestStepsGiveWayToTheBudget)
{
    DrawTextModel board;
    board.setTextWidth(100);
    board.setTextHeight(10);
    BoardHistory history(20000); // about ten whole-grid steps
    for (int n = 0; n < 40; ++n)
        step(history, board, [&] { board.setTextList(Lines(10, std::string(100, static_cast<char>('a' + n % 26)))); });
    EXPECT_LE(history.bytes(), 20000u);
    EXPECT_GT(history.undoCount(), 5u);
    EXPECT_LT(history.undoCount(), 40u);
    while (history.undo(board)) {
    }
    // The first steps are gone: the board stops at the oldest state still kept.
    EXPECT_NE(board.TextList()[0], std::string(100, ' '));
}

} // namespace
} // namespace vomra
