#include "art/core/GrindPrepare.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vomra {

CellSize fitCells(int pixelWidth, int pixelHeight, int columns, int rows, double cellAspect)
{
    const double w = std::max(pixelWidth, 1);
    const double h = std::max(pixelHeight, 1);
    if (columns <= 0 && rows <= 0)
        return {std::max(pixelWidth, 1), std::max(pixelHeight, 1)};
    if (!(cellAspect > 0))
        cellAspect = kCellAspect;
    // Cells across per pixel across, keeping the picture's shape.
    double scale = columns > 0 ? columns / w : 0;
    if (rows > 0) {
        const double byRows = rows * cellAspect / h;
        scale = columns > 0 ? std::min(scale, byRows) : byRows;
    }
    CellSize size{static_cast<int>(std::lround(w * scale)), static_cast<int>(std::lround(h * scale / cellAspect))};
    size.columns = std::max(1, columns > 0 ? std::min(size.columns, columns) : size.columns);
    size.rows = std::max(1, rows > 0 ? std::min(size.rows, rows) : size.rows);
    return size;
}

namespace {

// Which source pixels fall into which cell, and by how much: every overlap of
// a source span [s, s+1) with a cell span [c·n/m, (c+1)·n/m), in cell units.
struct Share {
    int source;
    int cell;
    double weight;
};

std::vector<Share> shares(int sourceCount, int cellCount)
{
    std::vector<Share> out;
    out.reserve(static_cast<std::size_t>(sourceCount + cellCount));
    // Work in units of 1 / (sourceCount × cellCount) so the edges are exact integers.
    const long long n = sourceCount;
    const long long m = cellCount;
    long long pos = 0;
    const long long end = n * m;
    while (pos < end) {
        const long long source = pos / m; // source pixel holding pos (each spans m units)
        const long long cell = pos / n;   // cell holding pos (each spans n units)
        const long long next = std::min((source + 1) * m, (cell + 1) * n);
        out.push_back({static_cast<int>(source), static_cast<int>(cell),
                       static_cast<double>(next - pos) / static_cast<double>(n)});
        pos = next;
    }
    return out;
}

template <class View>
RgbGrid prepare(const View &picture, const PrepareOptions &options)
{
    const int width = picture.width;
    const int height = picture.height;
    if (width <= 0 || height <= 0)
        return {};
    const CellSize size = options.size.columns > 0 && options.size.rows > 0 ? options.size : CellSize{width, height};
    const std::vector<Share> across = shares(width, size.columns);
    const std::vector<Share> down = shares(height, size.rows);
    const Rgb key = picture.at(0, 0);
    constexpr Rgb kWhite = 0xFFFFFFu;

    std::vector<double> sums(static_cast<std::size_t>(size.columns) * size.rows * 3, 0.0);
    std::vector<double> line(static_cast<std::size_t>(size.columns) * 3);
    for (const Share &d : down) {
        std::fill(line.begin(), line.end(), 0.0);
        for (const Share &a : across) {
            Rgb c = picture.at(a.source, d.source);
            if (options.transparent && c == key)
                c = kWhite;
            else if (options.invert)
                c = ~c & kWhite;
            double *cell = &line[static_cast<std::size_t>(a.cell) * 3];
            cell[0] += a.weight * ((c >> 16) & 0xFF);
            cell[1] += a.weight * ((c >> 8) & 0xFF);
            cell[2] += a.weight * (c & 0xFF);
        }
        double *row = &sums[static_cast<std::size_t>(d.cell) * size.columns * 3];
        for (std::size_t i = 0; i < line.size(); ++i)
            row[i] += d.weight * line[i];
    }
    RgbGrid out(size.columns, size.rows);
    for (std::size_t i = 0; i < out.pixels.size(); ++i) {
        auto channel = [&](int k) { return static_cast<int>(std::lround(std::clamp(sums[i * 3 + k], 0.0, 255.0))); };
        out.pixels[i] = rgb(channel(0), channel(1), channel(2));
    }
    return out;
}

} // namespace

RgbGrid preparePicture(const RgbView &picture, const PrepareOptions &options) { return prepare(picture, options); }
RgbGrid preparePicture(const BgrView &picture, const PrepareOptions &options) { return prepare(picture, options); }

void ditherForRamp(RgbGrid &picture, std::string_view ramp)
{
    const std::size_t length = ramp.size();
    if (length == 0 || picture.width <= 0 || picture.height <= 0)
        return;
    // A gray for each ramp position that the lookup maps back to that position;
    // positions no gray reaches (ramps over 255 bytes) take the nearest that is.
    std::vector<int> grayFor(length + 1, -1);
    for (int g = 0; g < 256; ++g)
        if (grayFor[rampPosition(g, length)] < 0)
            grayFor[rampPosition(g, length)] = g;
    for (std::size_t i = 1; i <= length; ++i)
        if (grayFor[i] < 0)
            grayFor[i] = grayFor[i - 1];
    const double step = length > 1 ? 255.0 / static_cast<double>(length - 1) : 255.0;

    const int w = picture.width;
    std::vector<double> current(static_cast<std::size_t>(w) + 2, 0.0);
    std::vector<double> below(static_cast<std::size_t>(w) + 2, 0.0);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < w; ++x)
            current[static_cast<std::size_t>(x) + 1] += grayLevel(picture.at(x, y));
        for (int x = 0; x < w; ++x) {
            const std::size_t i = static_cast<std::size_t>(x) + 1;
            const double value = std::clamp(current[i], 0.0, 255.0);
            const auto level = length > 1 ? static_cast<std::size_t>(std::lround(value / step)) : 0;
            const double error = value - static_cast<double>(level) * step;
            current[i + 1] += error * 7 / 16;
            below[i - 1] += error * 3 / 16;
            below[i] += error * 5 / 16;
            below[i + 1] += error * 1 / 16;
            const int g = grayFor[level + 1];
            picture.set(x, y, rgb(g, g, g));
        }
        std::swap(current, below);
        std::fill(below.begin(), below.end(), 0.0);
    }
}

} // namespace vomra
