#include "art/core/ArtLayout.h"

#include <algorithm>
#include <cstddef>

namespace vomra {

namespace {

void joinLeft(Lines &output, const Lines &block)
{
    const std::size_t b = block.size();
    if (output.size() < b)
        output.resize(b);
    for (std::size_t i = 0; i < b; ++i)
        output[i].insert(0, block[i]);
    // The old text below the block keeps its column: it moves right by the block's width.
    if (b >= 1 && output.size() > b) {
        const std::string pad(block.front().size(), ' ');
        for (std::size_t i = b; i < output.size(); ++i)
            output[i].insert(0, pad);
    }
}

void joinRight(Lines &output, const Lines &block)
{
    const std::size_t b = block.size();
    if (output.size() < b)
        output.resize(b);
    // Only the rows the block shares decide where it starts; longer rows below do not.
    std::size_t width = 0;
    for (std::size_t i = 0; i < b; ++i)
        width = std::max(width, output[i].size());
    for (std::size_t i = 0; i < b; ++i) {
        output[i].append(width - output[i].size() + 1, ' ');
        output[i] += block[i];
    }
}

} // namespace

void layOut(Lines &output, const Lines &block, LayoutMode mode)
{
    switch (mode) {
    case LayoutMode::Replace:
        output = block;
        break;
    case LayoutMode::Left:
        joinLeft(output, block);
        break;
    case LayoutMode::Right:
        joinRight(output, block);
        break;
    case LayoutMode::Below:
        output.insert(output.end(), block.begin(), block.end());
        break;
    }
}

void placeArt(Lines &output, const std::optional<Lines> &block, LayoutMode mode)
{
    if (block)
        layOut(output, *block, mode);
    else
        output.clear();
}

} // namespace vomra
