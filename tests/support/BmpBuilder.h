#pragma once
// Bitmap files of our own making, field by field, so tests can write every kind
// the reader takes and every way a file can be damaged.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vomra::test {

inline void putLe(std::string &s, std::uint64_t v, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// The header fields, palette and stored pixels of a bitmap file, as bmpFile() writes them.
struct BmpLayout {
    int width = 1;
    int height = 1; // negative: the top row first
    int bits = 24;
    std::uint32_t compression = 0;
    std::uint32_t infoSize = 40; // 12 writes the core header
    std::vector<std::uint32_t> palette; // 0x00RRGGBB
    std::uint32_t coloursUsed = 0;
    std::array<std::uint32_t, 3> masks{}; // written when compression is 3
    std::string pixels;                   // the pixel data as stored
    std::optional<std::uint32_t> offset;  // default: right after the palette
};

inline std::string bmpFile(const BmpLayout &b)
{
    std::string info;
    putLe(info, b.infoSize, 4);
    if (b.infoSize == 12) {
        putLe(info, static_cast<std::uint32_t>(b.width), 2);
        putLe(info, static_cast<std::uint32_t>(b.height), 2);
        putLe(info, 1, 2);
        putLe(info, static_cast<std::uint32_t>(b.bits), 2);
    } else {
        putLe(info, static_cast<std::uint32_t>(b.width), 4);
        putLe(info, static_cast<std::uint32_t>(b.height), 4);
        putLe(info, 1, 2);
        putLe(info, static_cast<std::uint32_t>(b.bits), 2);
        putLe(info, b.compression, 4);
        putLe(info, b.pixels.size(), 4);
        putLe(info, 2835, 4);
        putLe(info, 2835, 4);
        putLe(info, b.coloursUsed, 4);
        putLe(info, 0, 4);
        if (b.infoSize > 40)
            for (std::uint32_t m : b.masks)
                putLe(info, m, 4);
        info.resize(b.infoSize, '\0');
    }
    if (b.compression == 3 && b.infoSize == 40)
        for (std::uint32_t m : b.masks)
            putLe(info, m, 4);
    for (std::uint32_t c : b.palette) {
        info += {static_cast<char>(c & 0xFF), static_cast<char>((c >> 8) & 0xFF), static_cast<char>((c >> 16) & 0xFF)};
        if (b.infoSize != 12)
            info += '\0';
    }
    const std::uint32_t offset = b.offset.value_or(static_cast<std::uint32_t>(14 + info.size()));
    std::string f = "BM";
    putLe(f, 14 + info.size() + b.pixels.size(), 4);
    putLe(f, 0, 4);
    putLe(f, offset, 4);
    return f + info + b.pixels;
}

// Uncompressed rows, each padded to four bytes, in file order (bottom row first
// unless topDown). `values`, top row first: palette indexes up to 8 bits, the
// stored 16-bit word, or 0x00RRGGBB at 24 and 32 bits.
inline std::string packRows(int width, int height, int bits, const std::vector<std::uint32_t> &values, bool topDown)
{
    const std::size_t rowBytes = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    std::string data;
    for (int row = 0; row < height; ++row) {
        const int y = topDown ? row : height - 1 - row;
        std::string line(rowBytes, '\0');
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = values[static_cast<std::size_t>(y) * width + x];
            const std::size_t bit = static_cast<std::size_t>(x) * bits;
            if (bits < 8) {
                line[bit / 8] = static_cast<char>(line[bit / 8] | v << (8 - bits - bit % 8));
            } else {
                std::string px;
                putLe(px, v, bits / 8);
                line.replace(bit / 8, px.size(), px);
            }
        }
        data += line;
    }
    return data;
}

} // namespace vomra::test
