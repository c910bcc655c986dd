#pragma once
// JPEG and PNG pictures decoded for vomra-cli's grind, and JPEG for the
// program's own pictures, through libjpeg-turbo and libpng and nothing else.
// They keep the bitmap reader's rules: the pixel limit is judged on the header
// before any pixel buffer exists, a damaged or cut file is refused whole, and
// the reasons read like the bitmap reader's.

#include "base/Bmp.h"
#include "base/Result.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vomra::picture {

enum class Format { Unknown, Jpeg, Png };

Format formatOf(const unsigned char *data, std::size_t size);
const char *formatName(Format format); // "JPEG", "PNG"

struct Decoded {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xFFRRGGBB, row by row
};

// Given the picture's size, the fewest pixels across and down the caller needs
// (0: full size); a JPEG is then decoded at 1/2, 1/4 or 1/8 when still that large.
struct Needed {
    int width = 0;
    int height = 0;
};
using NeededFor = std::function<Needed(int width, int height)>;

// The picture, or why it cannot be had, worded like the bitmap reader's reasons:
// "damaged JPEG (…)", "PNG too large (…)", "picture not supported (neither JPEG
// nor PNG)". Pictures over maxPixels are refused by their header alone.
Result<Decoded> decode(const unsigned char *data, std::size_t size, const NeededFor &needed = {},
                       std::int64_t maxPixels = bmp::kMaxPixels);

} // namespace vomra::picture
