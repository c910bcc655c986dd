#include "base/InkGrid.h"

#include <algorithm>
#include <cstddef>

namespace vomra {

InkGrid::InkGrid(int width, int height)
    : m_width(std::max(width, 0))
    , m_height(std::max(height, 0))
    , m_cells(static_cast<std::size_t>(m_width) * static_cast<std::size_t>(m_height), 0)
{
}

InkGrid InkGrid::fromRows(const std::vector<std::string> &rows)
{
    const int w = rows.empty() ? 0 : static_cast<int>(rows.front().size());
    InkGrid grid(w, static_cast<int>(rows.size()));
    for (int y = 0; y < grid.height(); ++y)
        for (int x = 0; x < w && x < static_cast<int>(rows[static_cast<std::size_t>(y)].size()); ++x)
            grid.setInk(x, y, rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)] == '#');
    return grid;
}

bool InkGrid::ink(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return false;
    return m_cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] != 0;
}

void InkGrid::setInk(int x, int y, bool ink)
{
    if (x < 0 || y < 0 || x >= m_width || y >= m_height)
        return;
    m_cells[static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x)] = ink ? 1 : 0;
}

} // namespace vomra
