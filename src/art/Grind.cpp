#include "art/Grind.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace vomra {

RgbGrid::RgbGrid(int w, int h, Rgb fill)
    : width(std::max(w, 0)), height(std::max(h, 0)),
      pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill)
{
}

std::size_t rampPosition(int gray, std::size_t length)
{
    if (length == 0)
        return 0;
    const auto g = static_cast<std::uint64_t>(std::clamp(gray, 0, 255));
    const std::uint64_t i = (2 * g * length + 255) / 510;
    return i < 1 ? 1 : static_cast<std::size_t>(i);
}

std::string rampLookup(std::string_view ramp, int gray)
{
    if (ramp.empty())
        return {};
    return std::string(1, ramp[rampPosition(gray, ramp.size()) - 1]);
}

std::array<char, 256> rampTable(std::string_view ramp)
{
    std::array<char, 256> table{};
    if (ramp.empty())
        return table;
    for (int g = 0; g < 256; ++g)
        table[static_cast<std::size_t>(g)] = ramp[rampPosition(g, ramp.size()) - 1];
    return table;
}

namespace {

// Rows of pixels in the forms the grind reads: the plain grid, and a bitmap
// file's 32-bit and 24-bit rows. Each gives single pixels as 0x??RRGGBB and,
// with SSE2, four pixels as four such dwords. `kSlack` is how many pixels past
// a 16-pixel step its loads may touch, so the step stops short of the row end.
struct RgbRow {
    const Rgb *p;
    static constexpr int kSlack = 0;
    Rgb pixel(int x) const { return p[x]; }
#if defined(__SSE2__)
    __m128i four(int x) const { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + x)); }
#endif
};

struct Bgr32Row {
    const unsigned char *p;
    static constexpr int kSlack = 0;
    Rgb pixel(int x) const
    {
        Rgb c;
        std::memcpy(&c, p + 4 * static_cast<std::ptrdiff_t>(x), sizeof c); // little-endian B, G, R, unused
        return c;
    }
#if defined(__SSE2__)
    __m128i four(int x) const { return _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 4 * static_cast<std::ptrdiff_t>(x))); }
#endif
};

struct Bgr24Row {
    const unsigned char *p;
    // The last load of a step reads 16 bytes from the 12th pixel on: 4 bytes past the step.
    static constexpr int kSlack = 2;
    Rgb pixel(int x) const
    {
        const unsigned char *q = p + 3 * static_cast<std::ptrdiff_t>(x);
        return rgb(q[2], q[1], q[0]);
    }
#if defined(__SSE2__)
    __m128i four(int x) const
    {
        // Pixel k starts at byte 3k: shift each to the bottom dword, then gather
        // the bottom dwords. The byte above each pixel is the next one's blue,
        // which the weights and the colour mask ignore.
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + 3 * static_cast<std::ptrdiff_t>(x)));
        const __m128i p01 = _mm_unpacklo_epi32(v, _mm_srli_si128(v, 3));
        const __m128i p23 = _mm_unpacklo_epi32(_mm_srli_si128(v, 6), _mm_srli_si128(v, 9));
        return _mm_unpacklo_epi64(p01, p23);
    }
#endif
};

// Gray levels of one row into `gray`; with `transparent`, pixels of exactly the
// key colour give 255. SSE2 does 16 pixels a step (every x86-64 has it); the
// scalar loop finishes the row and serves other machines.
template <class Row>
void grayRow(const Row &src, unsigned char *gray, int width, bool transparent, Rgb key)
{
    int x = 0;
#if defined(__SSE2__)
    const __m128i weights = _mm_setr_epi16(28, 151, 77, 0, 28, 151, 77, 0); // B, G, R, unused
    const __m128i zero = _mm_setzero_si128();
    const __m128i colourMask = _mm_set1_epi32(0x00FFFFFF);
    const __m128i keyColour = _mm_set1_epi32(static_cast<int>(key & 0xFFFFFFu));
    const __m128i white = _mm_set1_epi32(transparent ? 255 : 0);
    auto levels = [&](__m128i px) {
        // Per pixel two sums, 28 B + 151 G and 77 R, then the halves of four pixels are added.
        const __m128 lo = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpacklo_epi8(px, zero), weights));
        const __m128 hi = _mm_castsi128_ps(_mm_madd_epi16(_mm_unpackhi_epi8(px, zero), weights));
        const __m128i even = _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(2, 0, 2, 0)));
        const __m128i odd = _mm_castps_si128(_mm_shuffle_ps(lo, hi, _MM_SHUFFLE(3, 1, 3, 1)));
        const __m128i g = _mm_srli_epi32(_mm_add_epi32(even, odd), 8);
        const __m128i isKey = _mm_cmpeq_epi32(_mm_and_si128(px, colourMask), keyColour);
        return _mm_or_si128(g, _mm_and_si128(isKey, white));
    };
    for (; x + 16 + Row::kSlack <= width; x += 16) {
        const __m128i a = _mm_packs_epi32(levels(src.four(x)), levels(src.four(x + 4)));
        const __m128i b = _mm_packs_epi32(levels(src.four(x + 8)), levels(src.four(x + 12)));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(gray + x), _mm_packus_epi16(a, b));
    }
#endif
    for (; x < width; ++x) {
        const Rgb c = src.pixel(x);
        gray[x] = (transparent && ((c ^ key) & 0xFFFFFFu) == 0) ? 255 : static_cast<unsigned char>(grayLevel(c));
    }
}

// Unsigned: bytes of 0x80 and above are ink, not blanks.
std::size_t trimmedLength(const std::string &row)
{
    std::size_t n = row.size();
    while (n > 0 && static_cast<unsigned char>(row[n - 1]) <= 0x20)
        --n;
    return n;
}

// Bands for a picture: one unless it is large enough that a thread's start is
// small beside its share.
int bandCount(int width, int height, int threads)
{
    constexpr long long kPixelsPerThread = 1 << 17;
    const long long pixels = static_cast<long long>(width) * height;
    long long n = threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    if (threads <= 0)
        n = std::min(n, std::max(1LL, pixels / kPixelsPerThread));
    return static_cast<int>(std::clamp(n, 1LL, std::max(1LL, static_cast<long long>(height))));
}

// The grind over any kind of rows; rowAt(y) gives row y, the top row first.
template <class RowAt>
Lines grindRows(int width, int height, std::string_view ramp, const GrindOptions &options, bool transparent,
                Rgb key, RowAt rowAt)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    Lines rows;
    const std::array<char, 256> table = rampTable(ramp);
    transparent = transparent && width > 0 && height > 0;

    const auto grindRow = [&](int y) {
        std::string row;
        if (!ramp.empty() && width > 0) {
            row.resize(static_cast<std::size_t>(width));
            // Gray levels first, in place, then the ramp bytes over them.
            char *out = row.data();
            auto *levels = reinterpret_cast<unsigned char *>(out);
            grayRow(rowAt(y), levels, width, transparent, key);
            for (int x = 0; x < width; ++x)
                out[x] = table[levels[x]];
            row.resize(trimmedLength(row));
        }
        return row;
    };

    // Rows do not depend on each other: a large picture is cut into bands of
    // rows, one thread each, written into their own places in `rows`.
    const int bands = bandCount(width, height, options.threads);
    rows.resize(static_cast<std::size_t>(height));
    const auto bandStart = [&](int band) {
        return static_cast<int>(static_cast<long long>(height) * band / bands);
    };
    std::vector<std::thread> workers;
    for (int band = 1; band < bands; ++band) {
        try {
            workers.emplace_back([&, band] {
                for (int y = bandStart(band); y < bandStart(band + 1); ++y)
                    rows[static_cast<std::size_t>(y)] = grindRow(y);
            });
        } catch (const std::system_error &) {
            // No thread to be had: this band is ground here after the first.
            for (int y = bandStart(band); y < bandStart(band + 1); ++y)
                rows[static_cast<std::size_t>(y)] = grindRow(y);
        }
    }
    // The first band here, reporting progress for all of them in proportion.
    const int mine = bandStart(1);
    int reported = 0;
    for (int y = 0; y < mine; ++y) {
        rows[static_cast<std::size_t>(y)] = grindRow(y);
        if (options.onRow) {
            const int done = std::min(height - 1, static_cast<int>(static_cast<long long>(height) * (y + 1) / mine));
            for (; reported < done; ++reported)
                options.onRow(reported, height);
        }
    }
    for (std::thread &t : workers)
        t.join();
    if (options.onRow)
        for (; reported < height; ++reported)
            options.onRow(reported, height);

    const auto first = std::find_if(rows.begin(), rows.end(), [](const std::string &r) { return !r.empty(); });
    if (first == rows.end())
        return {};
    const auto last = std::find_if(rows.rbegin(), rows.rend(), [](const std::string &r) { return !r.empty(); });
    rows.erase(last.base(), rows.end());
    rows.erase(rows.begin(), first);
    return rows;
}

} // namespace

Lines grind(const RgbView &picture, std::string_view ramp, const GrindOptions &options)
{
    const bool transparent = options.transparent && picture.width > 0 && picture.height > 0;
    const Rgb key = transparent ? picture.at(0, 0) : 0;
    return grindRows(picture.width, picture.height, ramp, options, transparent, key,
                     [&picture](int y) { return RgbRow{picture.pixels + y * picture.stride}; });
}

Lines grind(const BgrView &picture, std::string_view ramp, const GrindOptions &options)
{
    const bool transparent = options.transparent && picture.width > 0 && picture.height > 0;
    const Rgb key = transparent ? picture.at(0, 0) : 0;
    auto rowStart = [&picture](int y) { return picture.bytes + y * picture.stride; };
    if (picture.bytesPerPixel == 4)
        return grindRows(picture.width, picture.height, ramp, options, transparent, key,
                         [&](int y) { return Bgr32Row{rowStart(y)}; });
    return grindRows(picture.width, picture.height, ramp, options, transparent, key,
                     [&](int y) { return Bgr24Row{rowStart(y)}; });
}

} // namespace vomra
