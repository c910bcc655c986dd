#pragma once
// A picture read as ink and background, one cell per pixel: what a drawn word
// becomes before the making modes turn it into rows of characters.

#include <cstdint>
#include <string>
#include <vector>

namespace vomra {

// The glyph bitmap as the modes see it: a pixel is ink or it is not. Only exactly
// black pixels are ink; the renderer decides that when it fills the grid.
class InkGrid
{
public:
    InkGrid() = default;
    InkGrid(int width, int height);
    // Rows of '#' (ink) and anything else (background); every row as long as the first.
    static InkGrid fromRows(const std::vector<std::string> &rows);

    int width() const { return m_width; }
    int height() const { return m_height; }
    // Outside the grid reads as background.
    bool ink(int x, int y) const;
    void setInk(int x, int y, bool ink);

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint8_t> m_cells;
};

} // namespace vomra
