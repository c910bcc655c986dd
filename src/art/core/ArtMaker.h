#pragma once
// The three making modes of the art font maker: a glyph bitmap, read as a grid of
// ink and background pixels, becomes a block of GBK rows, one cell per pixel.

#include "base/InkGrid.h"
#include "base/TextLines.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

enum class MakeMode { Normal, Cycle, Follow };

// What one making reads from the page: GBK texts of the word and the two characters.
struct ArtRequest {
    std::string word;
    std::string fg = "*";
    std::string bg;
    MakeMode mode = MakeMode::Normal;
};

// Advance in pixels of one GBK character in the font the word was drawn in.
using CharWidth = std::function<int(std::string_view ch)>;

// "常规模式": first characters only, the background matched to the foreground's byte width.
Lines makeNormal(const InkGrid &grid, std::string_view fg, std::string_view bg);

// "前景循环模式": the foreground text spelled over the ink in reading order, one counter
// for the whole block. No width matching.
Lines makeCycle(const InkGrid &grid, std::string_view fg, std::string_view bg);

// "前景跟随模式": every character of the word fills its own columns with itself.
// No value for an empty word: the output is to be emptied and no layout step runs.
std::optional<Lines> makeFollow(const InkGrid &grid, std::string_view word, const CharWidth &charWidth);

// The checked mode over the grid; no value only for the follow mode's empty word.
std::optional<Lines> makeArt(const InkGrid &grid, const ArtRequest &request, const CharWidth &charWidth);

} // namespace vomra
