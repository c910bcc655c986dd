#pragma once
// Undo and redo for the character grid. A step keeps only the rows that differ
// from the neighbouring state (plus the size), so a stroke costs a row or two and
// even a step that changes every row of a 640 × 480 grid costs about 300 KB.

#include "board/core/DrawTextModel.h"

#include <cstddef>
#include <deque>
#include <utility>
#include <vector>

namespace vomra {

class BoardHistory {
public:
    static constexpr std::size_t kDefaultBudget = std::size_t(64) << 20;

    explicit BoardHistory(std::size_t byteBudget = kDefaultBudget) : m_budget(byteBudget) {}

    // Opens a step before a change. Opens inside an open step join it, so an
    // action made of several changes is undone as one.
    void begin(const DrawTextModel &model);
    // Closes the step; it is kept when the grid differs from when it opened.
    void end(const DrawTextModel &model);
    bool open() const { return m_depth > 0; }

    // Each returns false and changes nothing when there is no step (or one is open).
    bool undo(DrawTextModel &model);
    bool redo(DrawTextModel &model);

    std::size_t undoCount() const { return m_undo.size(); }
    // What the kept steps hold, rows and bookkeeping.
    std::size_t bytes() const { return m_bytes; }

private:
    struct State {
        int width = 0;
        int height = 0;
        Lines rows;
    };
    // The way back to a state from a neighbouring one: its size and its rows
    // where the neighbour's differ.
    struct Step {
        int width = 0;
        int height = 0;
        std::vector<std::pair<int, std::string>> rows;
        std::size_t bytes = 0;
    };

    static State stateOf(const DrawTextModel &model);
    static Step stepTo(const State &target, const State &from);
    static State apply(const Step &step, const State &from);
    bool travel(DrawTextModel &model, std::deque<Step> &from, std::deque<Step> &to);
    void push(std::deque<Step> &stack, Step step);
    void dropAll(std::deque<Step> &stack);
    void fitBudget();

    std::size_t m_budget;
    std::size_t m_bytes = 0;
    int m_depth = 0;
    State m_before;
    std::deque<Step> m_undo; // newest at the back
    std::deque<Step> m_redo;
};

} // namespace vomra
