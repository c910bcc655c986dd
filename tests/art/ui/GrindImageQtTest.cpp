// Bitmaps ground straight from the mapped file against the same files loaded
// as the picture page loads them: the two ways must give the same rows.
#include "art/core/GrayRamp.h"
#include "art/ui/GrindImage.h"
#include "platform/ImageIO.h"
#include "support/TempFolder.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include <unistd.h>

using namespace vomra;
using vomra::test::TempFolder;

namespace {

struct BitmapKind {
    int bits;              // 24 or 32
    bool topDown;          // negative height
    std::uint32_t infoSize; // 40, 108 or 124
    bool bitfields;        // 32 bits with colour masks
    std::uint32_t alphaMask;
};

void put(std::string &s, std::uint32_t v, int size)
{
    for (int i = 0; i < size; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// A bitmap of random colours; the top-left colour recurs every seventh pixel,
// with other unused bytes, so the transparency rule has something to find.
std::string bitmapFile(const BitmapKind &kind, int width, int height, std::uint32_t seed)
{
    const int stride = (width * kind.bits + 31) / 32 * 4;
    const bool masksAfter = kind.bitfields && kind.infoSize == 40;
    const std::uint32_t offset = 14 + kind.infoSize + (masksAfter ? 12 : 0);
    std::string data(static_cast<std::size_t>(stride) * height, '\0');
    const int bpp = kind.bits / 8;
    std::uint32_t key = 0;
    for (int y = 0; y < height; ++y) {
        const int fileRow = kind.topDown ? y : height - 1 - y;
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            std::uint32_t c = seed;
            if (x == 0 && y == 0)
                key = c & 0xFFFFFFu;
            else if ((y * width + x) % 7 == 0)
                c = (c & 0xFF000000u) | key;
            for (int i = 0; i < bpp; ++i)
                data[static_cast<std::size_t>(fileRow * stride + x * bpp + i)] = static_cast<char>(c >> (8 * i));
        }
    }
    std::string f = "BM";
    put(f, offset + static_cast<std::uint32_t>(data.size()), 4);
    put(f, 0, 4);
    put(f, offset, 4);
    std::string info;
    put(info, kind.infoSize, 4);
    put(info, static_cast<std::uint32_t>(width), 4);
    put(info, static_cast<std::uint32_t>(kind.topDown ? -height : height), 4);
    put(info, 1, 2);
    put(info, static_cast<std::uint32_t>(kind.bits), 2);
    put(info, kind.bitfields ? 3 : 0, 4);
    put(info, static_cast<std::uint32_t>(data.size()), 4);
    put(info, 2835, 4);
    put(info, 2835, 4);
    put(info, 0, 4);
    put(info, 0, 4);
    std::string masks;
    put(masks, 0xFF0000u, 4);
    put(masks, 0xFF00u, 4);
    put(masks, 0xFFu, 4);
    if (kind.infoSize > 40) {
        info += masks;
        put(info, kind.alphaMask, 4);
        info.resize(kind.infoSize, '\0');
    }
    f += info;
    if (masksAfter)
        f += masks;
    return f + data;
}

// The picture page's way: the file loaded into a QImage, then ground.
Lines decodedRows(const std::string &file, std::string_view ramp, bool transparent)
{
    const Result<Picture> load = loadPicture(file);
    EXPECT_TRUE(load.ok()) << file << ": " << load.message();
    return grind(rgbView(grindableImage(load->image)), ramp, {transparent, {}});
}

const std::string kManyLevels = "0123456789abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

} // namespace

TEST(GrindImage, MappedBitmapsGiveTheDecodedRows)
{
    TempFolder dir;
    const BitmapKind kinds[] = {
        {24, false, 40, false, 0},          {24, true, 40, false, 0},
        {32, false, 40, false, 0},          {32, true, 40, false, 0},
        {32, false, 40, true, 0},           {32, true, 108, true, 0xFF000000u},
        {32, false, 124, false, 0xFF000000u}, {24, false, 124, false, 0},
    };
    int n = 0;
    for (const BitmapKind &kind : kinds) {
        for (const int width : {1, 3, 17, 18, 19, 37}) { // odd widths pad 24-bit rows
            const std::string name = dir.file("k" + std::to_string(n++) + ".bmp");
            dir.write(name.substr(dir.path().size()), bitmapFile(kind, width, 4, static_cast<std::uint32_t>(n)));
            const std::string what = std::to_string(kind.bits) + " bits, header " + std::to_string(kind.infoSize) +
                                     (kind.topDown ? ", top-down" : ", bottom-up") +
                                     (kind.bitfields ? ", masks" : "") + ", width " + std::to_string(width);
            MappedBitmap mapped;
            ASSERT_TRUE(mapped.open(name)) << what;
            ASSERT_TRUE(mapped.status().ok()) << what << ": " << mapped.status().message();
            EXPECT_TRUE(mapped.inPlace()) << what;
            EXPECT_EQ(mapped.width(), width) << what;
            EXPECT_EQ(mapped.height(), 4) << what;
            for (const bool transparent : {false, true}) {
                const Lines rows = mapped.grind(kManyLevels, {transparent, {}});
                EXPECT_EQ(rows.size(), 4u) << what;
                EXPECT_EQ(rows, decodedRows(name, kManyLevels, transparent)) << what << " " << transparent;
            }
        }
    }
}

TEST(GrindImage, OtherKindsAreDecodedAndBadFilesRefused)
{
    TempFolder dir;
    const BitmapKind plain{24, false, 40, false, 0};
    const std::string good = bitmapFile(plain, 5, 3, 1);
    auto patched = [&](const std::string &from, std::size_t at, std::uint32_t v, int size) {
        std::string f = from;
        std::string bytes;
        put(bytes, v, size);
        f.replace(at, static_cast<std::size_t>(size), bytes);
        return f;
    };
    // Colour masks other than plain R, G, B bytes are decoded.
    const std::string swapped = patched(bitmapFile({32, false, 40, true, 0}, 5, 3, 1), 54, 0xFF, 4);
    enum Way { InPlace, Decoded, Refused };
    struct Case {
        const char *what;
        std::string bytes;
        Way way;
    };
    const Case cases[] = {
        {"plain", good, InPlace},
        {"last row's padding missing", good.substr(0, good.size() - 1), InPlace},
        {"cut into the last row's pixels", good.substr(0, good.size() - 2), Refused},
        {"16 bits", patched(good, 28, 16, 2), Decoded},
        {"8 bits", patched(patched(good, 28, 8, 2), 10, 54, 4), Decoded},
        {"swapped masks", swapped, Decoded},
        {"core header", patched(good, 14, 12, 4), Refused}, // its fields now read as nonsense
        {"not a bitmap", "just some text\n", Refused},
        {"empty", "", Refused},
    };
    for (const Case &c : cases) {
        dir.write("c.bmp", c.bytes);
        const std::string name = dir.file("c.bmp");
        MappedBitmap mapped;
        ASSERT_TRUE(mapped.open(name)) << c.what;
        EXPECT_EQ(mapped.status().ok(), c.way != Refused) << c.what;
        EXPECT_EQ(mapped.inPlace(), c.way == InPlace) << c.what;
        if (c.way != Refused)
            EXPECT_EQ(mapped.grind(kManyLevels), decodedRows(name, kManyLevels, false)) << c.what;
        else
            EXPECT_TRUE(mapped.grind(kManyLevels).empty()) << c.what;
    }
    MappedBitmap mapped;
    EXPECT_FALSE(mapped.open(dir.file("none.bmp")));
    EXPECT_FALSE(mapped.fileError().empty());
    EXPECT_FALSE(mapped.open(dir.path()));
}

TEST(GrindImage, BitmapCutShortWhileMappedIsDamaged)
{
    // Another program shortens the file between its mapping and the grind: the
    // rows read past the new end must not end the process (SIGBUS), and the
    // grind must be known as not the picture's.
    TempFolder dir;
    for (const bool populated : {false, true}) {
        const std::string name = dir.file(populated ? "big1.bmp" : "big0.bmp");
        dir.write(name.substr(dir.path().size()), bitmapFile({24, false, 40, false, 0}, 900, 700, 7));
        MappedBitmap mapped;
        ASSERT_TRUE(mapped.open(name));
        ASSERT_TRUE(mapped.inPlace());
        if (populated)
            (void)mapped.grind(kManyLevels);
        EXPECT_FALSE(mapped.cut());
        ASSERT_EQ(::truncate(name.c_str(), 4096), 0);
        (void)mapped.grind(kManyLevels);
        EXPECT_TRUE(mapped.cut());
        EXPECT_EQ(bmp::damaged(bmp::kCutWhileRead).message,
                  "damaged bitmap (the file was cut short while it was read)");
    }
}
