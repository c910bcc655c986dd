// The art maker's three modes and four layouts against a plain reference, on
// random glyph bitmaps, words, characters and character widths, joined onto
// random output text.

#include "art/core/ArtLayout.h"
#include "art/core/ArtMaker.h"
#include "ReferenceText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace vomra;

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "art_fuzz: %s\n", what);
    std::abort();
}

int refCount(std::string_view s) { return reference::count(s); }
std::string refPick(std::string_view s, int n) { return reference::pick(s, n); }

std::string blankOf(const std::string &ch) { return ch.size() == 2 ? "\xA1\xA1" : " "; }

Lines refNormal(const InkGrid &g, std::string_view fgText, std::string_view bgText)
{
    std::string fg = refPick(fgText, 1);
    if (fg.empty())
        fg = "*"; // no character to draw with (empty, or a lone lead byte)
    std::string bg = refPick(bgText, 1);
    if (bg.size() != fg.size())
        bg = blankOf(fg);
    Lines rows(static_cast<std::size_t>(g.height()));
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            rows[static_cast<std::size_t>(y)] += g.ink(x, y) ? fg : bg;
    return rows;
}

Lines refCycle(const InkGrid &g, std::string_view fgText, std::string_view bgText)
{
    const bool noFg = refCount(fgText) == 0;
    const std::string bg = bgText.empty() ? " " : refPick(bgText, 1);
    int k = 1;
    Lines rows(static_cast<std::size_t>(g.height()));
    for (int y = 0; y < g.height(); ++y)
        for (int x = 0; x < g.width(); ++x)
            rows[static_cast<std::size_t>(y)] += !g.ink(x, y) ? bg : noFg ? std::string("*") : refPick(fgText, k++);
    return rows;
}

std::optional<Lines> refFollow(const InkGrid &g, std::string_view word, const CharWidth &width)
{
    const int n = refCount(word);
    if (n == 0)
        return std::nullopt;
    Lines rows(static_cast<std::size_t>(g.height()));
    int x0 = 0;
    for (int i = 1; i <= n; ++i) {
        const std::string ch = refPick(word, i);
        const int w = ch.empty() ? 0 : std::max(width(ch), 0);
        for (int y = 0; y < g.height(); ++y)
            for (int x = x0; x < x0 + w; ++x)
                rows[static_cast<std::size_t>(y)] += (x < g.width() && g.ink(x, y)) ? ch : blankOf(ch);
        x0 += w;
    }
    return rows;
}

Lines refLayout(Lines out, const Lines &block, LayoutMode mode)
{
    const std::size_t b = block.size();
    switch (mode) {
    case LayoutMode::Replace:
        return block;
    case LayoutMode::Below:
        out.insert(out.end(), block.begin(), block.end());
        return out;
    case LayoutMode::Left:
        for (std::size_t i = 0; i < b; ++i) {
            if (out.size() <= i)
                out.emplace_back();
            out[i] = block[i] + out[i];
        }
        for (std::size_t i = b; b >= 1 && i < out.size(); ++i)
            out[i] = std::string(block[0].size(), ' ') + out[i];
        return out;
    case LayoutMode::Right: {
        std::size_t width = 0;
        for (std::size_t i = 0; i < b; ++i) {
            if (out.size() <= i)
                out.emplace_back();
            width = std::max(width, out[i].size());
        }
        for (std::size_t i = 0; i < b; ++i)
            out[i] += std::string(width - out[i].size() + 1, ' ') + block[i];
        return out;
    }
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const int w = in.ConsumeIntegralInRange(0, 48);
    const int h = in.ConsumeIntegralInRange(0, 16);
    const auto mode = static_cast<MakeMode>(in.ConsumeIntegralInRange(0, 2));
    const auto layout = static_cast<LayoutMode>(in.ConsumeIntegralInRange(0, 3));
    const int widthSeed = in.ConsumeIntegralInRange(-3, 40);
    ArtRequest request;
    request.mode = mode;
    request.word = in.ConsumeRandomLengthString(16);
    request.fg = in.ConsumeRandomLengthString(8);
    request.bg = in.ConsumeRandomLengthString(8);
    Lines output;
    for (int n = in.ConsumeIntegralInRange(0, 4); n > 0; --n)
        output.push_back(in.ConsumeRandomLengthString(24));
    InkGrid grid(w, h);
    const std::vector<uint8_t> bits = in.ConsumeRemainingBytes<uint8_t>();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(y * w + x);
            grid.setInk(x, y, i / 8 < bits.size() && ((bits[i / 8] >> (i % 8)) & 1));
        }
    // Advances from the character's bytes: some wider and some narrower than the
    // bitmap's share, some zero or negative.
    const CharWidth width = [widthSeed](std::string_view ch) {
        int v = widthSeed;
        for (const char c : ch)
            v += static_cast<unsigned char>(c) % 7;
        return v - 3;
    };

    const std::optional<Lines> block = makeArt(grid, request, width);
    std::optional<Lines> expected;
    switch (mode) {
    case MakeMode::Normal:
        expected = refNormal(grid, request.fg, request.bg);
        break;
    case MakeMode::Cycle:
        expected = refCycle(grid, request.fg, request.bg);
        break;
    case MakeMode::Follow:
        expected = refFollow(grid, request.word, width);
        break;
    }
    if (block != expected)
        fail("a making mode differs from the reference");

    Lines placed = output;
    placeArt(placed, block, layout);
    if (placed != (block ? refLayout(output, *block, layout) : Lines()))
        fail("a layout differs from the reference");
    return 0;
}
