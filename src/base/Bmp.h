#pragma once
// Windows bitmap files, read without any library. The picture page and vomra-cli
// both read bitmaps here, so they take and refuse the same files for the same
// reasons. The headers are judged against the file's size before any pixel
// buffer is allocated; a file is either read whole or refused, never guessed at.

#include "base/Result.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace vomra::bmp {

// Pictures claiming more pixels than this are refused by their header alone.
inline constexpr std::int64_t kMaxPixels = 64'000'000;

// The words for a bitmap refused, e.g. "damaged bitmap (pixel rows cut short)":
// a file no writer would produce or cut short, a valid kind this reader does not
// decode (2 bits, JPEG or PNG inside, ...), or one over kMaxPixels.
Error damaged(const std::string &detail);
Error notSupported(const std::string &detail);
Error tooLarge(const std::string &detail);

// The detail of a damaged bitmap when another program shortened the file while
// it was being read.
inline constexpr const char *kCutWhileRead = "the file was cut short while it was read";

struct Header {
    int width = 0;
    int height = 0; // rows, always positive
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0; // 0 none, 1 RLE8, 2 RLE4, 3 colour masks
    std::uint64_t offset = 0;      // first byte of the pixel data
    std::uint64_t rowBytes = 0;    // uncompressed rows, padding included
    std::array<std::uint32_t, 3> masks{}; // red, green, blue of 16- and 32-bit pixels
    // 0xFFRRGGBB for every index the depth can hold; entries the file lacks are black.
    std::vector<std::uint32_t> palette;
};

// Reads and checks the headers, and that the pixel data is all there: uncompressed
// rows may lack only the last row's padding; a run-length stream must reach its
// end-of-bitmap (or past its last row) before the file ends. "not a bitmap" for
// data that does not start with "BM".
Result<Header> readHeader(const unsigned char *data, std::size_t size);

// Rows of B, G, R bytes (plus an unused one at 32 bits) as they lie in the file.
struct Rows {
    const unsigned char *top = nullptr; // the top row of the picture
    std::ptrdiff_t stride = 0;          // bytes to the row below (negative when bottom-up)
    int bytesPerPixel = 0;
};

// True for the kinds whose rows can be read in place: 24 bits, and 32 bits
// uncompressed or with the usual masks.
bool rowsInPlace(const Header &header, const unsigned char *data, Rows &rows);

// Pixels as 0xFFRRGGBB (the layout of a 32-bit QImage) into `pixels`, row by row,
// `stride` pixels apart, for data that passed readHeader. Pixels a run-length
// stream skips (end of line, end of bitmap, delta) take palette index 0.
void decode(const Header &header, const unsigned char *data, std::size_t size, std::uint32_t *pixels,
            std::ptrdiff_t stride);

} // namespace vomra::bmp
