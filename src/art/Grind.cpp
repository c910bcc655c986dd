#include "art/Grind.h"

#include <algorithm>

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

// Kept apart from the transparent variant so the common loop has no compare.
void grindRow(const Rgb *src, char *out, int width, const std::array<char, 256> &table)
{
    for (int x = 0; x < width; ++x)
        out[x] = table[static_cast<std::size_t>(grayLevel(src[x]))];
}

void grindRowTransparent(const Rgb *src, char *out, int width, const std::array<char, 256> &table, Rgb key)
{
    const char white = table[255];
    for (int x = 0; x < width; ++x) {
        const Rgb c = src[x];
        out[x] = ((c ^ key) & 0xFFFFFFu) == 0 ? white : table[static_cast<std::size_t>(grayLevel(c))];
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

} // namespace

Lines grind(const RgbView &picture, std::string_view ramp, const GrindOptions &options)
{
    const int width = std::max(picture.width, 0);
    const int height = std::max(picture.height, 0);
    Lines rows;
    rows.reserve(static_cast<std::size_t>(height));
    const std::array<char, 256> table = rampTable(ramp);
    const bool transparent = options.transparent && width > 0 && height > 0;
    const Rgb key = transparent ? picture.at(0, 0) : 0;

    for (int y = 0; y < height; ++y) {
        std::string row;
        if (!ramp.empty() && width > 0) {
            row.resize(static_cast<std::size_t>(width));
            const Rgb *src = picture.pixels + y * picture.stride;
            if (transparent)
                grindRowTransparent(src, row.data(), width, table, key);
            else
                grindRow(src, row.data(), width, table);
            row.resize(trimmedLength(row));
        }
        rows.push_back(std::move(row));
        if (options.onRow)
            options.onRow(y, height);
    }

    const auto first = std::find_if(rows.begin(), rows.end(), [](const std::string &r) { return !r.empty(); });
    if (first == rows.end())
        return {};
    const auto last = std::find_if(rows.rbegin(), rows.rend(), [](const std::string &r) { return !r.empty(); });
    rows.erase(last.base(), rows.end());
    rows.erase(rows.begin(), first);
    return rows;
}

} // namespace vomra
