// JPEG and PNG as vomra-cli grind reads them, without Qt: any bytes give a
// picture or a reason, never a crash, a read out of bounds, a picture over the
// pixel limit, a buffer that does not match the size, or pixels left unwritten.

#include "picture/PictureDecode.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace vomra;

namespace {

[[noreturn]] void fail(const char *what)
{
    std::fprintf(stderr, "picture_decode_fuzz: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const Result<picture::Decoded> decoded = picture::decode(data, size);
    if (decoded) {
        const picture::Decoded &full = *decoded;
        if (static_cast<std::int64_t>(full.width) * full.height > bmp::kMaxPixels)
            fail("a picture over the pixel limit was decoded");
        if (full.pixels.size() != static_cast<std::size_t>(full.width) * static_cast<std::size_t>(full.height))
            fail("the pixels do not match the size");
        if (full.width <= 0 || full.height <= 0)
            fail("an empty picture counts as decoded");
        for (std::uint32_t px : full.pixels)
            if ((px >> 24) != 0xFF)
                fail("a pixel without its opaque top byte");
        if (full.pixels.size() <= (1u << 20) && picture::decode(data, size)->pixels != full.pixels)
            fail("the same bytes decoded twice give different pictures");
    } else if (decoded.message().empty()) {
        fail("a refused picture gives no reason");
    }
    // Decoding smaller (JPEG scaling) takes the same decision.
    const Result<picture::Decoded> small = picture::decode(data, size, [](int, int) { return picture::Needed{1, 1}; });
    if (small.ok() != decoded.ok())
        fail("a scaled decode decides otherwise than a full one");
    return 0;
}
