#include "art/core/Grind.h"

#include <sys/mman.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <system_error>
#include <thread>

#if defined(__SSE2__)
#include <emmintrin.h>
#include <tmmintrin.h>
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

void TextBufferFree::operator()(char *p) const
{
    if (mapped > 0)
        ::munmap(p, mapped);
    else
        delete[] p;
}

namespace {

constexpr std::size_t kHugePage = std::size_t(2) << 20;
constexpr std::size_t kPopulated = std::size_t(256) << 10;

// A large buffer is mapped on huge page bounds and asks for huge pages: a
// picture's text is then faulted in a few steps instead of thousands.
TextBuffer textBuffer(std::size_t bytes)
{
    if (bytes >= kHugePage) {
        const std::size_t size = (bytes + kHugePage - 1) / kHugePage * kHugePage;
        void *map = ::mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        if (map != MAP_FAILED) {
            auto *start = static_cast<char *>(map);
            const auto at = reinterpret_cast<std::uintptr_t>(start);
            char *aligned = start + ((kHugePage - at % kHugePage) % kHugePage);
            if (aligned > start)
                ::munmap(start, static_cast<std::size_t>(aligned - start));
            char *end = start + size + kHugePage;
            if (end > aligned + size)
                ::munmap(aligned + size, static_cast<std::size_t>(end - (aligned + size)));
            ::madvise(aligned, size, MADV_HUGEPAGE);
            return TextBuffer(aligned, TextBufferFree{size});
        }
    } else if (bytes >= kPopulated) {
        // Faulted in by one call rather than a fault for each page on first write.
        void *map = ::mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_POPULATE, -1, 0);
        if (map != MAP_FAILED)
            return TextBuffer(static_cast<char *>(map), TextBufferFree{bytes});
    }
    return TextBuffer(new char[bytes], TextBufferFree{0});
}

} // namespace

struct GroundTextMaker {
    static GroundText make(TextBuffer buffer, std::vector<std::string_view> pieces,
                           std::vector<int> lengths)
    {
        GroundText text;
        text.m_buffer = std::move(buffer);
        text.m_pieces = std::move(pieces);
        text.m_lengths = std::move(lengths);
        return text;
    }
};

Lines GroundText::lines() const
{
    Lines rows;
    rows.reserve(m_lengths.size());
    auto length = m_lengths.begin();
    // A row never runs from one piece into the next.
    for (std::string_view piece : m_pieces) {
        while (!piece.empty()) {
            const auto n = static_cast<std::size_t>(*length++);
            rows.emplace_back(piece.substr(0, n));
            piece.remove_prefix(n + 1);
        }
    }
    return rows;
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

#if defined(__SSE2__)
// Ramp positions of eight gray levels, less one: (2 g length + 255) / 510 as
// rampPosition has it, the division a multiply by 2^24 / 510 rounded up
// (exact for every numerator up to 2 × 255 × 16 + 255).
inline __m128i rampIndices(__m128i levels, __m128i twiceLength)
{
    const __m128i n = _mm_add_epi16(_mm_mullo_epi16(levels, twiceLength), _mm_set1_epi16(255));
    const __m128i position = _mm_srli_epi16(_mm_mulhi_epu16(n, _mm_set1_epi16(static_cast<short>(32897))), 8);
    return _mm_subs_epu16(position, _mm_set1_epi16(1)); // position 0 counts as 1
}
#endif

// Gray levels to ramp bytes, in place. A ramp of at most 16 bytes is looked up
// 16 levels at a time by a byte shuffle where the processor has one (SSSE3),
// once that gives the table's byte for every one of the 256 levels.
class LevelMap {
public:
    explicit LevelMap(std::string_view ramp)
        : m_table(rampTable(ramp))
    {
#if defined(__SSE2__)
        if (ramp.empty() || ramp.size() > 16 || !__builtin_cpu_supports("ssse3"))
            return;
        std::memcpy(m_ramp, ramp.data(), ramp.size());
        m_length = static_cast<int>(ramp.size());
        char all[256];
        for (int g = 0; g < 256; ++g)
            all[g] = static_cast<char>(g);
        shuffleRow(all, 256);
        m_shuffle = std::equal(all, all + 256, m_table.begin());
#endif
    }

    void apply(char *row, int width) const
    {
        int x = 0;
#if defined(__SSE2__)
        if (m_shuffle)
            x = shuffleRow(row, width);
#endif
        for (; x < width; ++x)
            row[x] = m_table[static_cast<unsigned char>(row[x])];
    }

private:
#if defined(__SSE2__)
    // The levels up to the last whole 16; returns how many were done.
    __attribute__((target("ssse3"))) int shuffleRow(char *row, int width) const
    {
        const __m128i ramp = _mm_loadu_si128(reinterpret_cast<const __m128i *>(m_ramp));
        const __m128i twiceLength = _mm_set1_epi16(static_cast<short>(2 * m_length));
        const __m128i zero = _mm_setzero_si128();
        int x = 0;
        for (; x + 16 <= width; x += 16) {
            const __m128i levels = _mm_loadu_si128(reinterpret_cast<const __m128i *>(row + x));
            const __m128i index = _mm_packus_epi16(rampIndices(_mm_unpacklo_epi8(levels, zero), twiceLength),
                                                   rampIndices(_mm_unpackhi_epi8(levels, zero), twiceLength));
            _mm_storeu_si128(reinterpret_cast<__m128i *>(row + x), _mm_shuffle_epi8(ramp, index));
        }
        return x;
    }
    char m_ramp[16] = {};
    int m_length = 0;
    bool m_shuffle = false;
#endif
    std::array<char, 256> m_table;
};

// Unsigned: bytes of 0x80 and above are ink, not blanks.
int trimmedLength(const char *row, int n)
{
    while (n > 0 && static_cast<unsigned char>(row[n - 1]) <= 0x20)
        --n;
    return n;
}

// Bands for a picture: one unless it is large enough that a thread's start is
// small beside its share. A million pixels take about a millisecond; below
// that, a second thread (its start, its stack, page faults taken side by side)
// cost more processor time than it saved, and on a busy machine it waits for a
// core and the whole grind with it.
int bandCount(int width, int height, int threads)
{
    constexpr long long kPixelsPerThread = 1 << 20;
    const long long pixels = static_cast<long long>(width) * height;
    long long n = threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency());
    if (threads <= 0)
        n = std::min(n, std::max(1LL, pixels / kPixelsPerThread));
    return static_cast<int>(std::clamp(n, 1LL, std::max(1LL, static_cast<long long>(height))));
}

// The grind over any kind of rows; rowAt(y) gives row y, the top row first.
template <class RowAt>
GroundText grindRows(int width, int height, std::string_view ramp, const GrindOptions &options, bool transparent,
                     Rgb key, RowAt rowAt)
{
    width = std::max(width, 0);
    height = std::max(height, 0);
    const LevelMap map(ramp);
    transparent = transparent && width > 0 && height > 0;

    // Row y may take the bytes from y × rowBytes on, its line feed included; rows
    // are ground straight after the shortened rows before them in their band, so
    // each band ends as one run of text and no row is moved afterwards.
    const std::size_t rowBytes = static_cast<std::size_t>(width) + 1;
    TextBuffer buffer = textBuffer(rowBytes * static_cast<std::size_t>(height));
    std::vector<int> lengths(static_cast<std::size_t>(height));
    const int bands = bandCount(width, height, options.threads);
    const auto bandStart = [&](int band) {
        return static_cast<int>(static_cast<long long>(height) * band / bands);
    };
    std::vector<std::size_t> bandEnd(static_cast<std::size_t>(bands));
    const auto grindBand = [&](int band, auto afterRow) {
        const int top = bandStart(band);
        const int bottom = bandStart(band + 1);
        char *out = buffer.get() + static_cast<std::size_t>(top) * rowBytes;
        for (int y = top; y < bottom; ++y) {
            int n = 0;
            if (!ramp.empty() && width > 0) {
                // Gray levels first, in place, then the ramp bytes over them.
                auto *levels = reinterpret_cast<unsigned char *>(out);
                grayRow(rowAt(y), levels, width, transparent, key);
                map.apply(out, width);
                n = trimmedLength(out, width);
            }
            lengths[static_cast<std::size_t>(y)] = n;
            out[n] = '\n';
            out += n + 1;
            afterRow(y);
        }
        bandEnd[static_cast<std::size_t>(band)] = static_cast<std::size_t>(out - buffer.get());
    };

    // Rows do not depend on each other: a large picture is cut into bands of
    // rows, one thread each, each writing its own part of the buffer.
    std::vector<std::thread> workers;
    for (int band = 1; band < bands; ++band) {
        try {
            workers.emplace_back([&, band] { grindBand(band, [](int) {}); });
        } catch (const std::system_error &) {
            // No thread to be had: this band is ground here after the first.
            grindBand(band, [](int) {});
        }
    }
    // The first band here, reporting progress for all of them in proportion.
    const int mine = bandStart(1);
    int reported = 0;
    grindBand(0, [&](int y) {
        if (options.onRow) {
            const int done = std::min(height - 1, static_cast<int>(static_cast<long long>(height) * (y + 1) / mine));
            for (; reported < done; ++reported)
                options.onRow(reported, height);
        }
    });
    for (std::thread &t : workers)
        t.join();
    if (options.onRow)
        for (; reported < height; ++reported)
            options.onRow(reported, height);

    const auto first = std::find_if(lengths.begin(), lengths.end(), [](int n) { return n > 0; });
    if (first == lengths.end())
        return {};
    const auto last = std::find_if(lengths.rbegin(), lengths.rend(), [](int n) { return n > 0; }).base();
    // Empty rows are a line feed each: those before the first row kept and after
    // the last are that many bytes at the ends of the text.
    auto dropFront = static_cast<std::size_t>(first - lengths.begin());
    auto dropBack = static_cast<std::size_t>(lengths.end() - last);
    std::vector<std::string_view> pieces;
    for (int band = 0; band < bands; ++band) {
        const std::size_t start = static_cast<std::size_t>(bandStart(band)) * rowBytes;
        pieces.emplace_back(buffer.get() + start, bandEnd[static_cast<std::size_t>(band)] - start);
    }
    for (std::string_view &piece : pieces) {
        const std::size_t n = std::min(dropFront, piece.size());
        piece.remove_prefix(n);
        dropFront -= n;
    }
    for (auto piece = pieces.rbegin(); piece != pieces.rend(); ++piece) {
        const std::size_t n = std::min(dropBack, piece->size());
        piece->remove_suffix(n);
        dropBack -= n;
    }
    std::erase_if(pieces, [](std::string_view piece) { return piece.empty(); });
    return GroundTextMaker::make(std::move(buffer), std::move(pieces), std::vector<int>(first, last));
}

} // namespace

GroundText grindText(const RgbView &picture, std::string_view ramp, const GrindOptions &options)
{
    const bool transparent = options.transparent && picture.width > 0 && picture.height > 0;
    const Rgb key = transparent ? picture.at(0, 0) : 0;
    return grindRows(picture.width, picture.height, ramp, options, transparent, key,
                     [&picture](int y) { return RgbRow{picture.pixels + y * picture.stride}; });
}

GroundText grindText(const BgrView &picture, std::string_view ramp, const GrindOptions &options)
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

Lines grind(const RgbView &picture, std::string_view ramp, const GrindOptions &options)
{
    return grindText(picture, ramp, options).lines();
}

Lines grind(const BgrView &picture, std::string_view ramp, const GrindOptions &options)
{
    return grindText(picture, ramp, options).lines();
}

} // namespace vomra
