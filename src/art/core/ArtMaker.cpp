#include "art/core/ArtMaker.h"

#include <algorithm>
#include <cstddef>

namespace vomra {

namespace {
const std::string kHalfBlank = " ";
const std::string kFullBlank = "\xA1\xA1"; // "　"

// The blank of the same byte width as ch.
const std::string &blankFor(std::string_view ch) { return ch.size() == 2 ? kFullBlank : kHalfBlank; }
} // namespace

Lines makeNormal(const InkGrid &grid, std::string_view fgText, std::string_view bgText)
{
    // A foreground that yields no character (empty, or a lone lead byte) draws with "*",
    // so ink never turns into nothing.
    const std::string first = cyclicChar(fgText, 1);
    const std::string fg = first.empty() ? std::string(1, '*') : first;
    std::string bg = cyclicChar(bgText, 1);
    if (bg.empty() || bg.size() != fg.size())
        bg = blankFor(fg);

    Lines block(static_cast<std::size_t>(grid.height()));
    for (int y = 0; y < grid.height(); ++y) {
        std::string &row = block[static_cast<std::size_t>(y)];
        row.reserve(static_cast<std::size_t>(grid.width()) * fg.size());
        for (int x = 0; x < grid.width(); ++x)
            row += grid.ink(x, y) ? fg : bg;
    }
    return block;
}

Lines makeCycle(const InkGrid &grid, std::string_view fgText, std::string_view bgText)
{
    // The picks of positions 1..count, taken once: the pick of position k is the
    // pick of ((k - 1) mod count) + 1, so indexing them equals picking anew per pixel.
    std::vector<std::string_view> picks = charPicks(fgText);
    if (picks.empty())
        picks.push_back("*");
    const std::string bg = bgText.empty() ? kHalfBlank : cyclicChar(bgText, 1);

    std::size_t k = 0; // one counter for the whole block: the text runs on across rows
    Lines block(static_cast<std::size_t>(grid.height()));
    for (int y = 0; y < grid.height(); ++y) {
        std::string &row = block[static_cast<std::size_t>(y)];
        for (int x = 0; x < grid.width(); ++x) {
            if (grid.ink(x, y)) {
                row += picks[k];
                k = (k + 1) % picks.size();
            } else {
                row += bg;
            }
        }
    }
    return block;
}

std::optional<Lines> makeFollow(const InkGrid &grid, std::string_view word, const CharWidth &charWidth)
{
    const std::vector<std::string_view> chars = charPicks(word);
    if (chars.empty())
        return std::nullopt;
    Lines block(static_cast<std::size_t>(grid.height()));
    int x0 = 0;
    for (const std::string_view ch : chars) {
        const int w = ch.empty() ? 0 : std::max(charWidth(ch), 0);
        const std::string &blank = blankFor(ch);
        // Columns are the character's own advance: past the bitmap they read as
        // background, and bitmap columns past the sum of advances are never reached.
        for (int y = 0; y < grid.height(); ++y) {
            std::string &row = block[static_cast<std::size_t>(y)];
            for (int x = x0; x < x0 + w; ++x)
                row += grid.ink(x, y) ? ch : blank;
        }
        x0 += w;
    }
    return block;
}

std::optional<Lines> makeArt(const InkGrid &grid, const ArtRequest &request, const CharWidth &charWidth)
{
    switch (request.mode) {
    case MakeMode::Normal:
        return makeNormal(grid, request.fg, request.bg);
    case MakeMode::Cycle:
        return makeCycle(grid, request.fg, request.bg);
    case MakeMode::Follow:
        return makeFollow(grid, request.word, charWidth);
    }
    return std::nullopt;
}

} // namespace vomra
