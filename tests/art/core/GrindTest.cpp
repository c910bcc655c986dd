#include "art/core/Grind.h"
#include "art/core/GrayRamp.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <utility>

#include <sys/mman.h>
#include <unistd.h>

using namespace vomra;

namespace {

const Rgb kWhite = rgb(255, 255, 255);
const Rgb kBlack = rgb(0, 0, 0);

// Pictures written as rows of letters: '#' black, '.' white, 'g' mid-gray (128),
// 'r' 'G' 'b' pure red, green, blue.
RgbGrid picture(const std::vector<std::string> &rows)
{
    RgbGrid grid(rows.empty() ? 0 : static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            switch (rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)]) {
            case '#': grid.set(x, y, kBlack); break;
            case 'g': grid.set(x, y, rgb(128, 128, 128)); break;
            case 'r': grid.set(x, y, rgb(255, 0, 0)); break;
            case 'G': grid.set(x, y, rgb(0, 255, 0)); break;
            case 'b': grid.set(x, y, rgb(0, 0, 255)); break;
            default: grid.set(x, y, kWhite); break;
            }
        }
    }
    return grid;
}

} // namespace

TEST(Grind, GrayLevels)
{
    const std::pair<Rgb, int> cases[] = {
        {kBlack, 0}, {kWhite, 255}, {rgb(128, 128, 128), 128}, {rgb(255, 0, 0), 76},
        {rgb(0, 255, 0), 150}, {rgb(0, 0, 255), 27}, {rgb(1, 1, 1), 1}, {rgb(254, 254, 254), 254},
        // (77 + 151 * 2 + 28 * 3) / 256 = 463 / 256, truncated
        {rgb(1, 2, 3), 1},
        // The top byte (alpha in 32-bit pixels) plays no part.
        {0xFF000000u | rgb(0, 255, 0), 150}, {0x80FFFFFFu, 255},
    };
    for (const auto &[colour, gray] : cases)
        EXPECT_EQ(grayLevel(colour), gray) << std::hex << colour;
}

TEST(Grind, StartRampLookup)
{
    ASSERT_EQ(kStartRamp.size(), 18u);
    const std::pair<int, const char *> cases[] = {
        {0, "M"}, {128, "7"}, {255, " "}, {76, "$"}, {150, "!"}, {27, "N"},
        {21, "M"}, {22, "N"}, {35, "N"}, {36, "H"}, {247, "."}, {248, " "},
    };
    for (const auto &[gray, byte] : cases)
        EXPECT_EQ(rampLookup(kStartRamp, gray), byte) << "gray " << gray;
}

TEST(Grind, LevelRangesOfTheStartRamp)
{
    // How many gray levels each ramp byte covers: the first gets the levels that round
    // to 0, the last only the upper half step.
    std::vector<int> span(18, 0);
    for (int g = 0; g < 256; ++g)
        ++span[rampPosition(g, 18) - 1];
    EXPECT_EQ(span.front(), 22);
    EXPECT_EQ(span[1], 14);
    EXPECT_EQ(span.back(), 8);
    for (std::size_t i = 1; i + 1 < span.size(); ++i)
        EXPECT_TRUE(span[i] == 14 || span[i] == 15) << "byte " << i + 1 << ": " << span[i];
}

TEST(Grind, RampPositionBoundaries)
{
    struct Case {
        int gray;
        std::size_t length;
        std::size_t position;
    };
    const Case cases[] = {
        {0, 1, 1}, {255, 1, 1}, {127, 1, 1}, {128, 1, 1}, // one level: always the one byte
        {0, 2, 1}, {128, 2, 1}, {191, 2, 1}, {192, 2, 2}, {255, 2, 2},
        {0, 255, 1}, {1, 255, 1}, {2, 255, 2}, {255, 255, 255},
        {0, 2048, 1}, {255, 2048, 2048}, {128, 2048, 1028},
        {0, 0, 0}, {255, 0, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(rampPosition(c.gray, c.length), c.position) << c.gray << " of " << c.length;
}

TEST(Grind, EveryByteIsALevel)
{
    // A double-byte character counts as two levels, each emitting one of its bytes.
    const std::string ramp = "\xB0\xA1 ";
    EXPECT_EQ(rampLookup(ramp, 0), "\xB0");
    EXPECT_EQ(rampLookup(ramp, 128), "\xA1");
    EXPECT_EQ(rampLookup(ramp, 255), " ");
    EXPECT_EQ(rampLookup("", 0), "");

    const auto table = rampTable(kStartRamp);
    for (int g = 0; g < 256; ++g)
        EXPECT_EQ(std::string(1, table[static_cast<std::size_t>(g)]), rampLookup(kStartRamp, g));
}

TEST(Grind, RowsOfPictures)
{
    struct Case {
        const char *name;
        std::vector<std::string> picture;
        std::string ramp;
        Lines expected;
    };
    const std::string start(kStartRamp);
    const Case cases[] = {
        {"black gray white", {"#g."}, start, {"M7"}},
        {"red green blue", {"rGb"}, start, {"$!N"}},
        {"white inside a row stays", {"#.#.."}, start, {"M M"}},
        {"white border dropped, band kept", {"....", "#..#", "....", "....", ".##.", "...."}, start,
         {"M  M", "", "", " MM"}},
        {"all white", {"...", "..."}, start, {}},
        {"one black pixel", {"#"}, start, {"M"}},
        {"one white pixel", {"."}, start, {}},
        {"empty ramp", {"#g", "g#"}, "", {}},
        {"one-level ramp", {"#.", ".g"}, "x", {"xx", "xx"}},
        {"no blank at the end of the ramp", {"#."}, "ab", {"ab"}},
        {"trailing control bytes trimmed", {"#g."}, std::string("a\x01\x1F", 3), {"a"}},
        {"0x20 trimmed, 0x21 kept", {"#g."}, "a !", {"a !"}},
        {"high bytes are not blanks", {"#."}, "a\xA1", {"a\xA1"}},
        {"blank ramp byte in the middle row", {"g", "#", "."}, " ab", {"a", "", "b"}},
    };
    for (const Case &c : cases) {
        const RgbGrid grid = picture(c.picture);
        EXPECT_EQ(grind(grid.view(), c.ramp), c.expected) << c.name;
    }
}

TEST(Grind, TransparencyUsesTheTopLeftColour)
{
    // Red in the corner: every red pixel turns white, connected or not; other colours stay.
    const RgbGrid grid = picture({"rr#r", "#r#.", "rrrr", "r#rb"});
    const std::string start(kStartRamp);
    EXPECT_EQ(grind(grid.view(), start, {true, {}}), (Lines{"  M", "M M", "", " M N"}));
    EXPECT_EQ(grind(grid.view(), start, {false, {}}), (Lines{"$$M$", "M$M", "$$$$", "$M$N"}));

    // A black corner makes black white; only exact matches count.
    RgbGrid nearly = picture({"##"});
    nearly.set(1, 0, rgb(0, 0, 1));
    EXPECT_EQ(grind(nearly.view(), start, {true, {}}), Lines{" M"});
}

TEST(Grind, ViewWithStrideAndAlpha)
{
    // Three visible pixels per row of a wider buffer, with an alpha byte set.
    const std::vector<Rgb> buffer = {0xFF000000u, 0xFF808080u, 0xFFFFFFFFu, 0xDEADBEEFu,
                                     0xFFFFFFFFu, 0xFF000000u, 0xFFFFFFFFu, 0x00000000u};
    const RgbView view{buffer.data(), 3, 2, 4};
    EXPECT_EQ(grind(view, kStartRamp), (Lines{"M7", " M"}));
}

TEST(Grind, ProgressOncePerRowInOrder)
{
    const RgbGrid grid = picture({"...", "#..", "...", "..."});
    std::vector<std::pair<int, int>> calls;
    GrindOptions options;
    options.onRow = [&](int row, int count) { calls.emplace_back(row, count); };
    EXPECT_EQ(grind(grid.view(), kStartRamp, options), (Lines{"M"}));
    EXPECT_EQ(calls, (std::vector<std::pair<int, int>>{{0, 4}, {1, 4}, {2, 4}, {3, 4}}));

    calls.clear();
    EXPECT_EQ(grind(grid.view(), "", options), Lines{});
    EXPECT_EQ(calls.size(), 4u);

    calls.clear();
    EXPECT_EQ(grind(RgbGrid().view(), kStartRamp, options), Lines{});
    EXPECT_TRUE(calls.empty());
}

TEST(Grind, WhiteWorkCopyGivesNothing)
{
    // The page's work copy before any picture is opened.
    const RgbGrid blank(129, 105);
    EXPECT_EQ(blank.pixels.size(), 129u * 105u);
    EXPECT_EQ(grind(blank.view(), kStartRamp), Lines{});
    EXPECT_EQ(grind(blank.view(), "ab"), Lines(105, std::string(129, 'b')));
}

TEST(Grind, WideRowsMatchThePixelRule)
{
    // Rows long enough for the 16-pixel steps plus a tail, every colour channel
    // varied, alpha bytes set, and the corner colour scattered with other alphas.
    const int width = 53, height = 7, stride = 60;
    std::vector<Rgb> buffer(static_cast<std::size_t>(stride) * height);
    std::uint32_t seed = 99;
    for (Rgb &c : buffer) {
        seed = seed * 1664525u + 1013904223u;
        c = seed;
    }
    const Rgb key = buffer[0] & 0xFFFFFFu;
    for (int i = 5; i < stride * height; i += 11)
        buffer[static_cast<std::size_t>(i)] = (static_cast<Rgb>(i) << 24) | key;
    const RgbView view{buffer.data(), width, height, stride};
    const std::string ramp = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

    for (bool transparent : {false, true}) {
        Lines expected;
        for (int y = 0; y < height; ++y) {
            std::string row;
            for (int x = 0; x < width; ++x) {
                const bool clear = transparent && view.at(x, y) == key;
                row += rampLookup(ramp, clear ? 255 : grayLevel(view.at(x, y)));
            }
            expected.push_back(row);
        }
        EXPECT_EQ(grind(view, ramp, {transparent, {}}), expected) << transparent;
    }
}

namespace {

// The expected rows by the per-pixel rule, read through the view's own at().
template <class View>
Lines byThePixelRule(const View &view, const std::string &ramp, bool transparent)
{
    Lines rows;
    for (int y = 0; y < view.height; ++y) {
        std::string row;
        for (int x = 0; x < view.width; ++x) {
            const bool clear = transparent && view.at(x, y) == view.at(0, 0);
            row += rampLookup(ramp, clear ? 255 : grayLevel(view.at(x, y)));
        }
        while (!row.empty() && static_cast<unsigned char>(row.back()) <= 0x20)
            row.pop_back();
        rows.push_back(row);
    }
    return rows;
}

const std::string kManyLevels = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

} // namespace

TEST(Grind, BitmapRowsMatchThePixelRule)
{
    // 24- and 32-bit rows, top-down and bottom-up (negative stride), widths around
    // the 16-pixel step and its slack, padded rows, and the corner colour
    // scattered with other unused bytes.
    for (const int bytesPerPixel : {3, 4}) {
        for (const int width : {1, 2, 15, 16, 17, 18, 19, 33, 34, 53}) {
            for (const bool bottomUp : {false, true}) {
                const int height = 5;
                const std::ptrdiff_t stride = (static_cast<std::ptrdiff_t>(width) * bytesPerPixel + 3) / 4 * 4;
                std::vector<unsigned char> bytes(static_cast<std::size_t>(stride * height));
                std::uint32_t seed = static_cast<std::uint32_t>(width * 7 + bytesPerPixel);
                for (unsigned char &b : bytes) {
                    seed = seed * 1664525u + 1013904223u;
                    b = static_cast<unsigned char>(seed >> 24);
                }
                BgrView view{bytes.data(), width, height, stride, bytesPerPixel};
                if (bottomUp) {
                    view.bytes = bytes.data() + stride * (height - 1);
                    view.stride = -stride;
                }
                const Rgb key = view.at(0, 0);
                for (int i = 3; i < width * height; i += 7) {
                    unsigned char *p = const_cast<unsigned char *>(view.bytes) + (i / width) * view.stride +
                                       (i % width) * bytesPerPixel;
                    p[0] = static_cast<unsigned char>(key);
                    p[1] = static_cast<unsigned char>(key >> 8);
                    p[2] = static_cast<unsigned char>(key >> 16);
                    if (bytesPerPixel == 4)
                        p[3] = static_cast<unsigned char>(i);
                }
                for (const bool transparent : {false, true}) {
                    Lines expected = byThePixelRule(view, kManyLevels, transparent);
                    // Only the outer empty rows go; random bytes leave none empty here.
                    EXPECT_EQ(grind(view, kManyLevels, {transparent, {}}), expected)
                        << bytesPerPixel << " bytes, width " << width << (bottomUp ? " bottom-up" : " top-down")
                        << (transparent ? " transparent" : "");
                }
            }
        }
    }
}

TEST(Grind, BitmapRowsAgreeWithTheGrid)
{
    // The same picture as a grid and as 24-bit bitmap rows gives the same text,
    // including the outer empty rows dropped.
    const RgbGrid grid = picture({"......", "#g.rGb", "......", "rr#...", "......"});
    std::vector<unsigned char> bytes;
    for (int y = 0; y < grid.height; ++y) {
        for (int x = 0; x < grid.width; ++x) {
            const Rgb c = grid.at(x, y);
            bytes.insert(bytes.end(), {static_cast<unsigned char>(c), static_cast<unsigned char>(c >> 8),
                                       static_cast<unsigned char>(c >> 16)});
        }
    }
    const BgrView view{bytes.data(), grid.width, grid.height, grid.width * 3, 3};
    EXPECT_EQ(grind(view, kStartRamp), grind(grid.view(), kStartRamp));
    EXPECT_EQ(grind(view, kStartRamp), (Lines{"M7 $!N", "", "$$M"}));
}

TEST(Grind, BitmapRowsReadNothingPastTheLastPixel)
{
    // A mapped file may end with the last pixel: put it just before a page that
    // cannot be read, so any read past it crashes the test.
    const long page = ::sysconf(_SC_PAGESIZE);
    void *mem = ::mmap(nullptr, static_cast<std::size_t>(2 * page), PROT_READ | PROT_WRITE,
                       MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    ASSERT_NE(mem, MAP_FAILED);
    ASSERT_EQ(::mprotect(static_cast<char *>(mem) + page, static_cast<std::size_t>(page), PROT_NONE), 0);
    auto *end = static_cast<unsigned char *>(mem) + page;
    for (const int bytesPerPixel : {3, 4}) {
        for (const int width : {16, 17, 18, 19, 20, 35, 100}) {
            const int height = 3;
            const std::ptrdiff_t stride = static_cast<std::ptrdiff_t>(width) * bytesPerPixel; // no padding
            unsigned char *start = end - stride * height;
            std::fill(start, end, static_cast<unsigned char>(0x40));
            const BgrView view{start, width, height, stride, bytesPerPixel};
            EXPECT_EQ(grind(view, kManyLevels), byThePixelRule(view, kManyLevels, false)) << width;
            const BgrView bottomUp{end - stride, width, height, -stride, bytesPerPixel};
            EXPECT_EQ(grind(bottomUp, kManyLevels), byThePixelRule(bottomUp, kManyLevels, false)) << width;
        }
    }
    ::munmap(mem, static_cast<std::size_t>(2 * page));
}

TEST(Grind, EveryLevelOfRampsOfEveryShortLength)
{
    // Ramps up to 16 bytes take another way from levels to bytes than longer
    // ones; a row of all 256 levels, twice, with a tail past the 16-level steps.
    RgbGrid row(2 * 256 + 5, 1);
    for (int x = 0; x < row.width; ++x) {
        const int g = x % 256;
        row.set(x, 0, rgb(g, g, g));
    }
    for (std::size_t length = 1; length <= 18; ++length) {
        std::string ramp;
        for (std::size_t i = 0; i < length; ++i)
            ramp += static_cast<char>(i % 2 ? 'a' + i : 0xA1 + i); // high bytes too
        std::string want;
        for (int x = 0; x < row.width; ++x)
            want += rampLookup(ramp, x % 256);
        EXPECT_EQ(grind(row.view(), ramp), Lines{want}) << length << " bytes";
    }
}

TEST(Grind, BandsOnSeveralThreadsGiveTheTextOfOne)
{
    // Random gray-ish pixels with white margins, so the first and last rows are
    // dropped and rows end in trimmed blanks; the stride leaves a gap per row.
    const int width = 613, height = 487, stride = 620;
    std::vector<Rgb> pixels(static_cast<std::size_t>(stride) * height, kWhite);
    std::vector<unsigned char> bgr(static_cast<std::size_t>(width) * 3 * height);
    std::uint32_t seed = 12345;
    for (int y = 5; y < height - 7; ++y)
        for (int x = 0; x < width - 11 - y % 13; ++x) {
            seed = seed * 1664525u + 1013904223u;
            pixels[static_cast<std::size_t>(y) * stride + x] = seed >> 8;
        }
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const Rgb c = pixels[static_cast<std::size_t>(y) * stride + x];
            unsigned char *p = &bgr[(static_cast<std::size_t>(height - 1 - y) * width + x) * 3];
            p[0] = c & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = (c >> 16) & 0xFF;
        }
    const RgbView rgbView{pixels.data(), width, height, stride};
    // Bottom row first, as most bitmap files keep them.
    const BgrView bgrView{bgr.data() + static_cast<std::ptrdiff_t>(height - 1) * width * 3, width, height,
                          -static_cast<std::ptrdiff_t>(width) * 3, 3};
    for (const bool transparent : {false, true}) {
        GrindOptions one;
        one.transparent = transparent;
        one.threads = 1;
        const Lines wantRgb = grind(rgbView, kStartRamp, one);
        const Lines wantBgr = grind(bgrView, kStartRamp, one);
        ASSERT_EQ(wantRgb.size(), static_cast<std::size_t>(height - 12));
        ASSERT_EQ(wantRgb, wantBgr);
        // A text this long (over 256 KiB) lies in a buffer of its own mapping;
        // it still reads as the pixel rule has it, less the empty rows around it.
        Lines rule = byThePixelRule(rgbView, std::string(kStartRamp), transparent);
        while (!rule.empty() && rule.back().empty())
            rule.pop_back();
        rule.erase(rule.begin(), std::find_if(rule.begin(), rule.end(), [](const std::string &r) { return !r.empty(); }));
        ASSERT_EQ(wantRgb, rule);
        for (const int threads : {0, 2, 3, 8, height + 5}) {
            SCOPED_TRACE(testing::Message() << threads << " threads, transparent " << transparent);
            GrindOptions options = one;
            options.threads = threads;
            std::vector<int> calls;
            const auto caller = std::this_thread::get_id();
            bool elsewhere = false;
            options.onRow = [&](int row, int count) {
                calls.push_back(row);
                elsewhere = elsewhere || count != height || std::this_thread::get_id() != caller;
            };
            EXPECT_EQ(grind(rgbView, kStartRamp, options), wantRgb);
            EXPECT_FALSE(elsewhere);
            ASSERT_EQ(calls.size(), static_cast<std::size_t>(height));
            for (int y = 0; y < height; ++y)
                ASSERT_EQ(calls[static_cast<std::size_t>(y)], y);
            options.onRow = nullptr;
            EXPECT_EQ(grind(bgrView, kStartRamp, options), wantBgr);
            // The text in pieces is the same rows, each ended by a line feed.
            const GroundText text = grindText(bgrView, kStartRamp, options);
            std::string joined;
            for (const std::string_view piece : text.pieces()) {
                EXPECT_FALSE(piece.empty());
                joined += piece;
            }
            std::string want;
            for (const std::string &row : wantBgr)
                want += row + '\n';
            EXPECT_EQ(joined, want);
        }
    }
}
