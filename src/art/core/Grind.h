#pragma once
// The picture grinder's conversion: every pixel of a picture becomes one byte of
// a gray ramp, dark pixels from the start of the ramp and light ones from its end.
// Works on plain colour grids so the page, vomra-cli and the tests share it.

#include "base/TextLines.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vomra {

// Colours as 0x00RRGGBB; the top byte is ignored everywhere, so 32-bit pixels with
// an alpha byte (QImage::Format_RGB32 / ARGB32) can be read in place.
using Rgb = std::uint32_t;

inline constexpr Rgb rgb(int r, int g, int b)
{
    return (static_cast<Rgb>(r & 0xFF) << 16) | (static_cast<Rgb>(g & 0xFF) << 8) | static_cast<Rgb>(b & 0xFF);
}

// A picture that someone else owns: `stride` pixels from the start of one row to
// the start of the next.
struct RgbView {
    const Rgb *pixels = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;

    Rgb at(int x, int y) const { return pixels[y * stride + x] & 0xFFFFFFu; }
};

// Pixels as a Windows bitmap file keeps them: bytes B, G, R per pixel, plus one
// unused byte when `bytesPerPixel` is 4. `stride` bytes from the start of one row
// to the start of the next (negative when the file stores the bottom row first).
// Neither the rows nor the pixels need any alignment.
struct BgrView {
    const unsigned char *bytes = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    int bytesPerPixel = 3;

    Rgb at(int x, int y) const
    {
        const unsigned char *p = bytes + y * stride + static_cast<std::ptrdiff_t>(x) * bytesPerPixel;
        return rgb(p[2], p[1], p[0]);
    }
};

// A picture of its own, row by row without gaps.
struct RgbGrid {
    int width = 0;
    int height = 0;
    std::vector<Rgb> pixels;

    RgbGrid() = default;
    RgbGrid(int w, int h, Rgb fill = 0xFFFFFFu);
    Rgb at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] & 0xFFFFFFu; }
    void set(int x, int y, Rgb c) { pixels[static_cast<std::size_t>(y) * width + x] = c; }
    RgbView view() const { return {pixels.data(), width, height, width}; }
};

// 0 black to 255 white; the weights add up to 256, so white stays 255.
inline constexpr int grayLevel(Rgb c)
{
    return static_cast<int>((77 * ((c >> 16) & 0xFF) + 151 * ((c >> 8) & 0xFF) + 28 * (c & 0xFF)) >> 8);
}

// 1-based position in a ramp of `length` bytes for gray level g: g × length / 255
// rounded (never exactly halfway, 255 being odd), at least 1. 0 for an empty ramp.
std::size_t rampPosition(int gray, std::size_t length);

// The one byte that stands for gray level g, or the empty text for an empty ramp.
// Each byte is a level of its own, also half of a double-byte character.
std::string rampLookup(std::string_view ramp, int gray);

// rampLookup for all 256 levels at once; meaningless for an empty ramp.
std::array<char, 256> rampTable(std::string_view ramp);

// Called after each picture row with its index y and the number of rows.
using GrindProgress = std::function<void(int row, int rowCount)>;

struct GrindOptions {
    // Every pixel of exactly the top-left pixel's colour counts as white.
    bool transparent = false;
    // Called on the calling thread only, once per row and in order, though the
    // rows may be ground on other threads meanwhile.
    GrindProgress onRow;
    // Threads to grind with: 0 as many as the machine has cores (for a picture
    // large enough to pay for them), otherwise at most this many. The text is
    // the same whatever the number.
    int threads = 0;
};

// The rows of a grind as one text, each row ended by a line feed, in one buffer
// (a piece per band of rows): a large picture's text is written in a few calls,
// with no string per row.
// Frees a text buffer: `mapped` bytes of memory mapped for it, or 0 when it
// came from new[].
struct TextBufferFree {
    std::size_t mapped = 0;
    void operator()(char *p) const;
};
using TextBuffer = std::unique_ptr<char[], TextBufferFree>;

class GroundText {
public:
    // The text, piece by piece in order; empty pieces are left out.
    const std::vector<std::string_view> &pieces() const { return m_pieces; }
    // Its rows, without their line feeds.
    Lines lines() const;

private:
    friend struct GroundTextMaker;
    TextBuffer m_buffer;
    std::vector<std::string_view> m_pieces;
    std::vector<int> m_lengths; // of the rows kept
};

// One row of text per picture row, each less its trailing bytes of 0x20 or below;
// empty rows at the start and the end are dropped, those in between kept.
Lines grind(const RgbView &picture, std::string_view ramp, const GrindOptions &options = {});
// The same rule on the bytes of a bitmap file (bytesPerPixel 3 or 4).
Lines grind(const BgrView &picture, std::string_view ramp, const GrindOptions &options = {});
// The same rows as one text.
GroundText grindText(const RgbView &picture, std::string_view ramp, const GrindOptions &options = {});
GroundText grindText(const BgrView &picture, std::string_view ramp, const GrindOptions &options = {});

} // namespace vomra
