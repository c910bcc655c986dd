#include "base/Bmp.h"

#include <algorithm>
#include <bit>
#include <climits>
#include <optional>

namespace vomra::bmp {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

std::uint32_t le16(const unsigned char *p) { return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8; }
std::uint32_t le32(const unsigned char *p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// One colour channel of a 16- or 32-bit pixel, widened to 8 bits with rounding.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint64_t max = 0;

    explicit Channel(std::uint32_t m) : mask(m)
    {
        if (m) {
            shift = std::countr_zero(m);
            max = m >> shift;
        }
    }
    std::uint32_t operator()(std::uint32_t pixel) const
    {
        if (max == 0)
            return 0;
        return std::uint32_t((((pixel & mask) >> shift) * 255 + max / 2) / max);
    }
};

bool contiguous(std::uint32_t mask)
{
    if (mask == 0)
        return true;
    const std::uint32_t m = mask >> std::countr_zero(mask);
    return (m & (m + 1)) == 0;
}

// Walks a run-length stream from `pos`, calling paint(x, row, index) for each
// pixel inside the picture (row 0 is the bottom row). True when the stream
// reaches its end-of-bitmap or moves past the last row before the data runs out.
template <class Paint>
bool walkRle(const Header &h, const unsigned char *p, std::size_t size, std::size_t pos, Paint paint)
{
    const bool four = h.bitsPerPixel == 4;
    const std::int64_t width = h.width;
    std::int64_t x = 0, y = 0;
    while (y < h.height) {
        if (size - pos < 2)
            return false;
        const unsigned n = p[pos], c = p[pos + 1];
        pos += 2;
        if (n > 0) { // a run of one index, or of two taking turns
            for (unsigned i = 0; i < n; ++i, ++x)
                if (x < width)
                    paint(x, y, four ? (i & 1 ? c & 15 : c >> 4) : c);
        } else if (c == 0) { // end of line
            x = 0;
            ++y;
        } else if (c == 1) { // end of bitmap
            return true;
        } else if (c == 2) { // delta: right and up
            if (size - pos < 2)
                return false;
            x += p[pos];
            y += p[pos + 1];
            pos += 2;
        } else { // c literal indexes, padded to a word
            std::size_t bytes = four ? (c + 1) / 2 : c;
            bytes += bytes & 1;
            if (size - pos < bytes)
                return false;
            for (unsigned i = 0; i < c; ++i, ++x)
                if (x < width)
                    paint(x, y, four ? (i & 1 ? p[pos + i / 2] & 15 : p[pos + i / 2] >> 4) : p[pos + i]);
            pos += bytes;
        }
    }
    return true;
}

} // namespace

Error damaged(const std::string &detail)
{
    return fail("damaged bitmap (" + detail + ")");
}
Error notSupported(const std::string &detail)
{
    return fail("bitmap not supported (" + detail + ")");
}
Error tooLarge(const std::string &detail)
{
    return fail("bitmap too large (" + detail + ")");
}

namespace {

// readHeader's checks, in order, filling h as they go; the first that fails says why.
std::optional<Error> refusalOf(const unsigned char *d, std::size_t size, Header &h)

{
    if (size < 2 || d[0] != 'B' || d[1] != 'M')
        return fail("not a bitmap");
    if (size < 18)
        return damaged("header cut short");
    const std::uint32_t infoSize = le32(d + 14);
    const bool core = infoSize == 12;
    const bool windows = infoSize == 40 || infoSize == 52 || infoSize == 56 || infoSize == 108 || infoSize == 124;
    const bool os2 = !windows && infoSize >= 16 && infoSize <= 64; // its later fields are optional
    if (infoSize < 12)
        return damaged("header of " + std::to_string(infoSize) + " bytes");
    if (!core && !windows && !os2)
        return notSupported("header of " + std::to_string(infoSize) + " bytes");
    if (size - 14 < infoSize)
        return damaged("header cut short");
    // A field the header is too short to hold reads as 0.
    const std::uint64_t infoEnd = 14 + std::uint64_t(infoSize);
    auto field = [&](std::size_t at) { return at + 4 <= infoEnd ? le32(d + at) : 0u; };

    std::int64_t width = 0, height = 0;
    std::uint32_t bits = 0, compression = 0, coloursUsed = 0;
    if (core) {
        width = le16(d + 18);
        height = le16(d + 20);
        bits = le16(d + 24);
    } else {
        width = std::int32_t(le32(d + 18));
        height = std::int32_t(le32(d + 22));
        bits = le16(d + 28);
        compression = field(30);
        coloursUsed = field(46);
    }
    const bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (width <= 0 || height == 0)
        return damaged("no pixels: " + std::to_string(width) + " x " + std::to_string(height));

    switch (bits) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    case 0: case 2: case 64:
        return notSupported(std::to_string(bits) + " bits per pixel");
    default:
        return damaged(std::to_string(bits) + " bits per pixel");
    }
    const std::string compressionName = "compression " + std::to_string(compression);
    switch (compression) {
    case 0:
        break;
    case 1:
    case 2:
        if (bits != (compression == 1 ? 8u : 4u))
            return damaged(compressionName + " at " + std::to_string(bits) + " bits");
        if (topDown)
            return notSupported("run-length data stored top row first");
        break;
    case 3:
        if (os2)
            return notSupported("Huffman compression");
        if (bits != 16 && bits != 32)
            return damaged("colour masks at " + std::to_string(bits) + " bits");
        break;
    case 4:
        return notSupported(os2 ? "24-bit run-length data" : "JPEG data inside");
    case 5:
        return notSupported(os2 ? compressionName : "PNG data inside");
    case 6:
    case 11:
    case 12:
    case 13:
        return notSupported(compressionName);
    default:
        return damaged(compressionName);
    }
    if (width * height > kMaxPixels)
        return tooLarge(std::to_string(width) + " x " + std::to_string(height) + " pixels");

    h.width = int(width);
    h.height = int(height);
    h.topDown = topDown;
    h.bitsPerPixel = int(bits);
    h.compression = compression;

    std::uint64_t headersEnd = infoEnd;
    if (compression == 3) {
        // The masks follow a 40-byte header; the larger headers hold them.
        if (infoSize == 40)
            headersEnd += 12;
        if (size < headersEnd)
            return damaged("header cut short");
        const unsigned char *m = d + 14 + 40;
        h.masks = {le32(m), le32(m + 4), le32(m + 8)};
        for (std::uint32_t mask : h.masks)
            if (!contiguous(mask) || (bits == 16 && mask > 0xFFFFu))
                return damaged("colour masks");
    } else if (bits == 16) {
        h.masks = {0x7C00u, 0x03E0u, 0x001Fu};
    } else if (bits == 32) {
        h.masks = {0xFF0000u, 0xFF00u, 0xFFu};
    }

    h.offset = le32(d + 10);
    if (h.offset < headersEnd)
        return damaged("pixel data inside the headers");
    if (h.offset > size)
        return damaged("pixel data past the end of the file");

    if (bits <= 8) {
        // The table may be shorter than the depth allows; the offset ends it.
        const unsigned entry = core ? 3 : 4;
        const std::uint64_t full = 1u << bits;
        std::uint64_t count = coloursUsed && coloursUsed < full ? coloursUsed : full;
        count = std::min(count, (h.offset - headersEnd) / entry);
        h.palette.assign(full, kOpaque);
        for (std::uint64_t i = 0; i < count; ++i) {
            const unsigned char *e = d + headersEnd + i * entry;
            h.palette[i] = kOpaque | std::uint32_t(e[2]) << 16 | std::uint32_t(e[1]) << 8 | e[0];
        }
    }

    const std::uint64_t rowBits = std::uint64_t(width) * bits;
    h.rowBytes = (rowBits + 31) / 32 * 4;
    const std::uint64_t data = size - h.offset;
    if (compression == 1 || compression == 2) {
        if (!walkRle(h, d, size, h.offset, [](std::int64_t, std::int64_t, unsigned) {}))
            return damaged("run-length data cut short");
    } else if (data < h.rowBytes * std::uint64_t(height - 1) + (rowBits + 7) / 8) {
        // The last row's padding is sometimes left out; its pixels are not.
        return damaged("pixel rows cut short");
    }
    return std::nullopt;
}

} // namespace

Result<Header> readHeader(const unsigned char *data, std::size_t size)
{
    Header header;
    if (std::optional<Error> refusal = refusalOf(data, size, header))
        return *std::move(refusal);
    return header;
}

bool rowsInPlace(const Header &h, const unsigned char *data, Rows &rows)
{
    const bool plain32 = h.bitsPerPixel == 32
                         && (h.compression == 0 || h.masks == std::array<std::uint32_t, 3>{0xFF0000u, 0xFF00u, 0xFFu});
    if (!(h.bitsPerPixel == 24 && h.compression == 0) && !plain32)
        return false;
    const auto stride = std::ptrdiff_t(h.rowBytes);
    rows.bytesPerPixel = h.bitsPerPixel / 8;
    rows.top = data + h.offset + (h.topDown ? 0 : stride * (h.height - 1));
    rows.stride = h.topDown ? stride : -stride;
    return true;
}

void decode(const Header &h, const unsigned char *d, std::size_t size, std::uint32_t *pixels, std::ptrdiff_t stride)
{
    const int w = h.width;
    auto rowOf = [&](std::int64_t y) { return pixels + stride * y; };
    if (h.compression == 1 || h.compression == 2) {
        for (int y = 0; y < h.height; ++y)
            std::fill_n(rowOf(y), w, h.palette[0]);
        walkRle(h, d, size, h.offset, [&](std::int64_t x, std::int64_t up, unsigned index) {
            rowOf(h.height - 1 - up)[x] = h.palette[index];
        });
        return;
    }
    const Channel red(h.masks[0]), green(h.masks[1]), blue(h.masks[2]);
    const bool plainMasks = h.masks == std::array<std::uint32_t, 3>{0xFF0000u, 0xFF00u, 0xFFu};
    for (int r = 0; r < h.height; ++r) {
        const unsigned char *src = d + h.offset + std::uint64_t(r) * h.rowBytes;
        std::uint32_t *dst = rowOf(h.topDown ? r : h.height - 1 - r);
        switch (h.bitsPerPixel) {
        case 1:
            for (int x = 0; x < w; ++x)
                dst[x] = h.palette[(src[x >> 3] >> (7 - (x & 7))) & 1];
            break;
        case 4:
            for (int x = 0; x < w; ++x)
                dst[x] = h.palette[(src[x >> 1] >> (x & 1 ? 0 : 4)) & 15];
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                dst[x] = h.palette[src[x]];
            break;
        case 16:
            for (int x = 0; x < w; ++x) {
                const std::uint32_t v = le16(src + 2 * x);
                dst[x] = kOpaque | red(v) << 16 | green(v) << 8 | blue(v);
            }
            break;
        case 24:
            for (int x = 0; x < w; ++x, src += 3)
                dst[x] = kOpaque | std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
            break;
        case 32:
            if (plainMasks) {
                for (int x = 0; x < w; ++x, src += 4)
                    dst[x] = kOpaque | std::uint32_t(src[2]) << 16 | std::uint32_t(src[1]) << 8 | src[0];
            } else {
                for (int x = 0; x < w; ++x, src += 4) {
                    const std::uint32_t v = le32(src);
                    dst[x] = kOpaque | red(v) << 16 | green(v) << 8 | blue(v);
                }
            }
            break;
        default:
            break;
        }
    }
}

} // namespace vomra::bmp
