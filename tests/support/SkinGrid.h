#pragma once
// A skin picture whose every cell is filled with one colour naming it, so a
// painted pixel tells which picture, column and row it came from.

#include "theme/core/Theme.h"

#include <cstdint>

namespace vomra::test {

// Cell (column, row) of picture `tag` reads back as RGB(tag, column, row).
inline TSkinPicture SkinGrid(int columns, int rows, int cw, int ch, int tag)
{
    TSkinPicture p{columns * cw, rows * ch, {}};
    p.pixels.resize(static_cast<std::size_t>(p.width) * p.height);
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
            p.pixels[static_cast<std::size_t>(y) * p.width + x] =
                (static_cast<std::uint32_t>(tag) << 16) | ((x / cw) << 8) | (y / ch);
    return p;
}

} // namespace vomra::test
