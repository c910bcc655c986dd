#include "board/core/BoardHistory.h"

#include <algorithm>

namespace vomra {

BoardHistory::State BoardHistory::stateOf(const DrawTextModel &model)
{
    return {model.TextWidth(), model.TextHeight(), model.TextList()};
}

BoardHistory::Step BoardHistory::stepTo(const State &target, const State &from)
{
    Step step;
    step.width = target.width;
    step.height = target.height;
    step.bytes = sizeof(Step);
    for (std::size_t i = 0; i < target.rows.size(); ++i) {
        if (i < from.rows.size() && from.rows[i] == target.rows[i])
            continue;
        step.rows.emplace_back(static_cast<int>(i), target.rows[i]);
        step.bytes += sizeof(std::pair<int, std::string>) + step.rows.back().second.capacity();
    }
    return step;
}

BoardHistory::State BoardHistory::apply(const Step &step, const State &from)
{
    State state{step.width, step.height, from.rows};
    state.rows.resize(static_cast<std::size_t>(step.height));
    for (const auto &[index, row] : step.rows)
        state.rows[static_cast<std::size_t>(index)] = row;
    return state;
}

void BoardHistory::begin(const DrawTextModel &model)
{
    if (m_depth++ == 0)
        m_before = stateOf(model);
}

void BoardHistory::end(const DrawTextModel &model)
{
    if (m_depth == 0 || --m_depth > 0)
        return;
    State after = stateOf(model);
    const bool changed = after.width != m_before.width || after.height != m_before.height
        || after.rows != m_before.rows;
    if (changed) {
        dropAll(m_redo);
        push(m_undo, stepTo(m_before, after));
        fitBudget();
    }
    m_before = State{};
}

bool BoardHistory::travel(DrawTextModel &model, std::deque<Step> &from, std::deque<Step> &to)
{
    if (open() || from.empty())
        return false;
    const State current = stateOf(model);
    State target = apply(from.back(), current);
    m_bytes -= from.back().bytes;
    from.pop_back();
    push(to, stepTo(current, target));
    model.restore(target.width, target.height, std::move(target.rows));
    fitBudget();
    return true;
}

bool BoardHistory::undo(DrawTextModel &model) { return travel(model, m_undo, m_redo); }
bool BoardHistory::redo(DrawTextModel &model) { return travel(model, m_redo, m_undo); }

void BoardHistory::push(std::deque<Step> &stack, Step step)
{
    m_bytes += step.bytes;
    stack.push_back(std::move(step));
}

void BoardHistory::dropAll(std::deque<Step> &stack)
{
    for (const Step &step : stack)
        m_bytes -= step.bytes;
    stack.clear();
}

void BoardHistory::fitBudget()
{
    // The oldest steps go first; the newest undo step is always kept.
    while (m_bytes > m_budget && m_undo.size() > 1) {
        m_bytes -= m_undo.front().bytes;
        m_undo.pop_front();
    }
    while (m_bytes > m_budget && !m_redo.empty()) {
        m_bytes -= m_redo.front().bytes;
        m_redo.pop_front();
    }
}

} // namespace vomra
