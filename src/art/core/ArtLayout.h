#pragma once
// The layout step of the art font maker: where a new art block goes in the output
// text. All lengths are byte lengths; every fill is half-width blanks.

#include "base/TextLines.h"

#include <optional>

namespace vomra {

enum class LayoutMode {
    Replace, // "常规方式"
    Left,    // "追加到左边"
    Right,   // "追加到右边"
    Below,   // "追加到下边"
};

// Puts block into output (the output text's lines; an empty text is no lines).
void layOut(Lines &output, const Lines &block, LayoutMode mode);

// The end of one making: a block is laid out; no block (the follow mode's empty
// word) empties the output whatever the layout mode.
void placeArt(Lines &output, const std::optional<Lines> &block, LayoutMode mode);

} // namespace vomra
