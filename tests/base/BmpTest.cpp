#include "base/Bmp.h"
#include "support/BmpBuilder.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

using namespace vomra;
using vomra::test::BmpLayout;
using vomra::test::bmpFile;
using vomra::test::packRows;

namespace {

const std::vector<std::uint32_t> kPalette = {0x10E0F0, 0xC81E28, 0x14B440, 0x2030E0};

struct Decoded {
    std::string refusal; // empty when read
    bmp::Header header;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, top row first
};

Decoded read(const std::string &file)
{
    Decoded d;
    const auto *bytes = reinterpret_cast<const unsigned char *>(file.data());
    const Result<bmp::Header> read = bmp::readHeader(bytes, file.size());
    d.refusal = read.message();
    if (read) {
        d.header = *read;
        d.pixels.assign(std::size_t(d.header.width) * d.header.height, 0x12345678u);
        bmp::decode(d.header, bytes, file.size(), d.pixels.data(), d.header.width);
        for (std::uint32_t &p : d.pixels) {
            EXPECT_EQ(p >> 24, 0xFFu);
            p &= 0xFFFFFFu;
        }
    }
    return d;
}

std::vector<std::uint32_t> colours(const std::vector<std::uint32_t> &indexes)
{
    std::vector<std::uint32_t> out;
    for (std::uint32_t i : indexes)
        out.push_back(kPalette[i]);
    return out;
}

// An RLE bitmap of 4 x 3 pixels over kPalette.
std::string rleFile(int bits, const std::string &stream)
{
    BmpLayout b;
    b.width = 4;
    b.height = 3;
    b.bits = bits;
    b.compression = bits == 8 ? 1 : 2;
    b.palette = kPalette;
    b.pixels = stream;
    return bmpFile(b);
}

std::string S(std::initializer_list<int> bytes)
{
    std::string s;
    for (int b : bytes)
        s += static_cast<char>(b);
    return s;
}

} // namespace

TEST(Bmp, EveryDepthAndLayoutGivesItsColours)
{
    // 3 x 2, so every row needs padding; top row first.
    const std::vector<std::uint32_t> idx = {0, 1, 2, 3, 0, 1};
    const std::vector<std::uint32_t> rgb = {0x000000, 0xFFFFFF, 0x102030, 0x807F01, 0xFF0000, 0x00FF00};
    // 5-5-5 words and what they widen to (v * 255 / 31, rounded).
    const std::vector<std::uint32_t> w555 = {0x0000, 0x7FFF, 0x7C00, 0x03E0, 0x001F, 0x4210};
    const std::vector<std::uint32_t> c555 = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x848484};
    // 5-6-5 with masks.
    const std::vector<std::uint32_t> w565 = {0xF800, 0x07E0, 0x001F, 0x0020, 0xFFFF, 0x0841};
    const std::vector<std::uint32_t> c565 = {0xFF0000, 0x00FF00, 0x0000FF, 0x000400, 0xFFFFFF, 0x080808};
    struct Case {
        const char *name;
        BmpLayout layout;
        std::vector<std::uint32_t> values;
        std::vector<std::uint32_t> want;
    };
    auto layout = [](int bits, bool topDown = false, std::uint32_t infoSize = 40) {
        BmpLayout b;
        b.width = 3;
        b.height = topDown ? -2 : 2;
        b.bits = bits;
        b.infoSize = infoSize;
        if (bits <= 8)
            b.palette = kPalette;
        if (bits == 1)
            b.palette.resize(2);
        return b;
    };
    std::vector<Case> cases = {
        {"1 bit", layout(1), {0, 1, 1, 0, 0, 1}, colours({0, 1, 1, 0, 0, 1})},
        {"4 bits", layout(4), idx, colours(idx)},
        {"8 bits", layout(8), idx, colours(idx)},
        {"8 bits top-down", layout(8, true), idx, colours(idx)},
        {"8 bits, core header", layout(8, false, 12), idx, colours(idx)},
        {"8 bits, 16-byte header", layout(8, false, 16), idx, colours(idx)},
        {"8 bits, 64-byte header", layout(8, false, 64), idx, colours(idx)},
        {"16 bits 5-5-5", layout(16), w555, c555},
        {"24 bits", layout(24), rgb, rgb},
        {"24 bits top-down", layout(24, true), rgb, rgb},
        {"24 bits, V5 header", layout(24, false, 124), rgb, rgb},
        {"32 bits", layout(32), rgb, rgb},
    };
    Case m565{"16 bits 5-6-5 masks", layout(16), w565, c565};
    m565.layout.compression = 3;
    m565.layout.masks = {0xF800, 0x07E0, 0x001F};
    cases.push_back(m565);
    Case swapped{"32 bits, red and blue masks swapped, V4 header", layout(32, false, 108), {}, rgb};
    swapped.layout.compression = 3;
    swapped.layout.masks = {0xFF, 0xFF00, 0xFF0000};
    for (std::uint32_t c : rgb)
        swapped.values.push_back((c & 0xFF) << 16 | (c & 0xFF00) | c >> 16);
    cases.push_back(swapped);
    Case wide{"32 bits, 10-bit channels", layout(32), {}, {0x000000, 0xFFFFFF, 0x804000, 0, 0, 0}};
    wide.layout.compression = 3;
    wide.layout.masks = {0x3FF00000, 0xFFC00, 0x3FF};
    wide.values = {0, 0x3FFFFFFF, 0x20000000 | 0x40000, 0, 0, 0};
    cases.push_back(wide);

    for (Case &c : cases) {
        SCOPED_TRACE(c.name);
        c.layout.pixels = packRows(3, 2, c.layout.bits, c.values, c.layout.height < 0);
        const Decoded d = read(bmpFile(c.layout));
        ASSERT_EQ(d.refusal, "");
        EXPECT_EQ(d.pixels, c.want);
    }
}

TEST(Bmp, PixelsARunLengthStreamSkipsTakePaletteIndexZero)
{
    // 4 x 3; the stream starts at the bottom row.
    struct Case {
        const char *name;
        int bits;
        std::string stream;
        std::vector<int> want; // top row first; -1 for skipped
    };
    const int _ = -1;
    const Case cases[] = {
        {"RLE8, rows ended early", 8, S({2, 1, 0, 0, 1, 2, 0, 0, 0, 0, 0, 1}),
         {_, _, _, _, 2, _, _, _, 1, 1, _, _}},
        {"RLE8, bitmap ended early", 8, S({4, 3, 0, 1}), {_, _, _, _, _, _, _, _, 3, 3, 3, 3}},
        {"RLE8, delta over pixels and rows", 8, S({1, 1, 0, 2, 1, 1, 1, 2, 0, 2, 0, 1, 1, 3, 0, 1}),
         {_, _, _, 3, _, _, 2, _, 1, _, _, _}},
        {"RLE8, absolute run then end of line", 8, S({0, 3, 1, 2, 3, 0, 0, 0, 0, 1}),
         {_, _, _, _, _, _, _, _, 1, 2, 3, _}},
        {"RLE4, rows ended early", 4, S({3, 0x12, 0, 0, 1, 0x30, 0, 1}),
         {_, _, _, _, 3, _, _, _, 1, 2, 1, _}},
        {"RLE4, absolute run, delta up two rows", 4, S({0, 3, 0x23, 0x10, 0, 2, 0, 2, 1, 0x20, 0, 1}),
         {_, _, _, 2, _, _, _, _, 2, 3, 1, _}},
        // A run past the row's end is cut there; it does not wrap.
        {"RLE8, run longer than the row", 8, S({9, 2, 0, 0, 0, 1}), {_, _, _, _, _, _, _, _, 2, 2, 2, 2}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = read(rleFile(c.bits, c.stream));
        ASSERT_EQ(d.refusal, "");
        std::vector<std::uint32_t> want;
        for (int i : c.want)
            want.push_back(kPalette[i < 0 ? 0 : i]);
        EXPECT_EQ(d.pixels, want);
    }
}

TEST(Bmp, RefusalsOfDamagedUnsupportedAndLargeFiles)
{
    BmpLayout plain;
    plain.width = 3;
    plain.height = 2;
    plain.pixels = std::string(24, '\x40');
    const std::string good = bmpFile(plain);
    auto with = [](BmpLayout b, auto change) {
        change(b);
        return bmpFile(b);
    };
    auto patched = [&](std::size_t at, std::uint64_t v, int bytes) {
        std::string s = good;
        std::string f;
        vomra::test::putLe(f, v, bytes);
        return s.replace(at, f.size(), f);
    };
    const std::string rleWhole = rleFile(8, S({4, 1, 0, 0, 4, 1, 0, 0, 4, 1, 0, 0}));
    const struct {
        const char *name;
        std::string file;
        const char *message;
    } cases[] = {
        {"plain", good, ""},
        {"last row's padding missing", good.substr(0, good.size() - 3), ""},
        {"last row's pixels cut", good.substr(0, good.size() - 4), "damaged bitmap (pixel rows cut short)"},
        {"headers only", good.substr(0, 54), "damaged bitmap (pixel rows cut short)"},
        {"header cut", good.substr(0, 40), "damaged bitmap (header cut short)"},
        {"not a bitmap", "GIF89a", "not a bitmap"},
        {"header of 77 bytes", patched(14, 77, 4), "bitmap not supported (header of 77 bytes)"},
        {"header of 4 bytes", patched(14, 4, 4), "damaged bitmap (header of 4 bytes)"},
        {"no width", patched(18, 0, 4), "damaged bitmap (no pixels: 0 x 2)"},
        {"negative width", patched(18, std::uint32_t(-3), 4), "damaged bitmap (no pixels: -3 x 2)"},
        {"2 bits", with(plain, [](BmpLayout &b) { b.bits = 2; b.palette = kPalette; }),
         "bitmap not supported (2 bits per pixel)"},
        {"7 bits", patched(28, 7, 2), "damaged bitmap (7 bits per pixel)"},
        {"JPEG inside", patched(30, 4, 4), "bitmap not supported (JPEG data inside)"},
        {"PNG inside", patched(30, 5, 4), "bitmap not supported (PNG data inside)"},
        {"compression 99", patched(30, 99, 4), "damaged bitmap (compression 99)"},
        {"RLE8 at 24 bits", patched(30, 1, 4), "damaged bitmap (compression 1 at 24 bits)"},
        {"masks at 24 bits", patched(30, 3, 4), "damaged bitmap (colour masks at 24 bits)"},
        {"masks not contiguous", with(plain, [](BmpLayout &b) { b.bits = 16; b.compression = 3; b.masks = {0xF00F, 0x0F0, 0}; }),
         "damaged bitmap (colour masks)"},
        {"top-down RLE", with(plain, [&](BmpLayout &b) { b.bits = 8; b.compression = 1; b.height = -2; b.pixels = S({0, 1}); }),
         "bitmap not supported (run-length data stored top row first)"},
        {"8001 x 8000", with(plain, [](BmpLayout &b) { b.width = 8001; b.height = 8000; }),
         "bitmap too large (8001 x 8000 pixels)"},
        {"8000 x 8000 but cut", with(plain, [](BmpLayout &b) { b.width = 8000; b.height = 8000; }),
         "damaged bitmap (pixel rows cut short)"},
        // Sizes whose products overflow 32 and 64 bits when done carelessly.
        {"largest int sizes at 32 bits",
         with(plain, [](BmpLayout &b) { b.width = INT_MAX; b.height = INT_MIN; b.bits = 32; }),
         "bitmap too large (2147483647 x 2147483648 pixels)"},
        {"pixel offset into the headers", patched(10, 40, 4), "damaged bitmap (pixel data inside the headers)"},
        {"pixel offset past the end", patched(10, 100000, 4),
         "damaged bitmap (pixel data past the end of the file)"},
        {"RLE without its end", rleWhole.substr(0, rleWhole.size() - 2),
         "damaged bitmap (run-length data cut short)"},
        {"RLE ending after its last row without end-of-bitmap", rleWhole, ""},
        {"RLE delta cut", rleFile(8, S({0, 2, 1})), "damaged bitmap (run-length data cut short)"},
        {"RLE absolute run cut", rleFile(4, S({0, 5, 0x12, 0x34})),
         "damaged bitmap (run-length data cut short)"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const Decoded d = read(c.file);
        EXPECT_EQ(d.refusal, c.message);
    }
}

TEST(Bmp, PaletteTablesShorterOrLongerThanTheDepth)
{
    BmpLayout b;
    b.width = 4;
    b.height = 1;
    b.bits = 8;
    b.pixels = S({0, 1, 2, 200});
    b.palette = kPalette;
    // The table ends where the pixels begin; indexes past it are black.
    Decoded d = read(bmpFile(b));
    ASSERT_EQ(d.refusal, "");
    EXPECT_EQ(d.pixels, (std::vector<std::uint32_t>{kPalette[0], kPalette[1], kPalette[2], 0}));

    // One bit with a claim of 256 colours reads its two.
    b.bits = 1;
    b.coloursUsed = 256;
    b.pixels = S({0x50, 0, 0, 0});
    d = read(bmpFile(b));
    ASSERT_EQ(d.refusal, "");
    EXPECT_EQ(d.pixels, (std::vector<std::uint32_t>{kPalette[0], kPalette[1], kPalette[0], kPalette[1]}));
    EXPECT_EQ(d.header.palette.size(), 2u);
}

TEST(Bmp, RowsInPlaceForTheBgrKindsOnly)
{
    const std::vector<std::uint32_t> rgb = {0x010203, 0x040506, 0x070809, 0x0A0B0C};
    struct Case {
        const char *name;
        int bits;
        std::uint32_t compression;
        std::array<std::uint32_t, 3> masks;
        bool topDown;
        int bytesPerPixel; // 0: decoded instead
    };
    const Case cases[] = {
        {"24 bits", 24, 0, {}, false, 3},
        {"24 bits top-down", 24, 0, {}, true, 3},
        {"32 bits", 32, 0, {}, false, 4},
        {"32 bits, usual masks", 32, 3, {0xFF0000, 0xFF00, 0xFF}, true, 4},
        {"32 bits, other masks", 32, 3, {0xFF, 0xFF00, 0xFF0000}, false, 0},
        {"16 bits", 16, 0, {}, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        BmpLayout b;
        b.width = 2;
        b.height = c.topDown ? -2 : 2;
        b.bits = c.bits;
        b.compression = c.compression;
        b.masks = c.masks;
        b.pixels = packRows(2, 2, c.bits, rgb, c.topDown);
        const std::string file = bmpFile(b);
        const auto *bytes = reinterpret_cast<const unsigned char *>(file.data());
        const Result<bmp::Header> read = bmp::readHeader(bytes, file.size());
        ASSERT_TRUE(read.ok()) << read.message();
        const bmp::Header &h = *read;
        bmp::Rows rows;
        ASSERT_EQ(bmp::rowsInPlace(h, bytes, rows), c.bytesPerPixel != 0);
        if (!c.bytesPerPixel)
            continue;
        EXPECT_EQ(rows.bytesPerPixel, c.bytesPerPixel);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 2; ++x) {
                const unsigned char *p = rows.top + y * rows.stride + x * rows.bytesPerPixel;
                EXPECT_EQ(std::uint32_t(p[2]) << 16 | std::uint32_t(p[1]) << 8 | p[0], rgb[std::size_t(y) * 2 + x]);
            }
    }
}
