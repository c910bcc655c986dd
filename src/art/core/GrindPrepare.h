#pragma once
// Steps that may run before a grind for chat-sized output: fitting the picture to
// a number of character cells by area averaging, inverting it, and dithering it
// over a ramp's levels. Each gives a plain grid that the grind then reads as it
// reads any picture, so the grind's own rules (trims, ramp lookup) stay one.

#include "art/core/Grind.h"

#include <string_view>

namespace vomra {

// A half-width character cell is about twice as tall as it is wide.
inline constexpr double kCellAspect = 2.0;

struct CellSize {
    int columns = 0;
    int rows = 0;
    bool operator==(const CellSize &) const = default;
};

// Columns and rows for a picture of pixelWidth × pixelHeight that keep its shape
// when each cell is cellAspect times as tall as wide. `columns` and `rows` are
// the most wanted (0: not given); with both, the picture fits inside both.
// With neither, one cell per pixel as the grind has it. Never below 1 × 1.
CellSize fitCells(int pixelWidth, int pixelHeight, int columns, int rows, double cellAspect = kCellAspect);

struct PrepareOptions {
    CellSize size;            // the grid to make; 0 × 0 keeps the picture's size
    bool transparent = false; // pixels of the top-left pixel's colour count as white
    bool invert = false;      // dark for light; transparent pixels stay white
};

// The picture averaged over the area each cell covers (any scale, up or down).
RgbGrid preparePicture(const RgbView &picture, const PrepareOptions &options);
RgbGrid preparePicture(const BgrView &picture, const PrepareOptions &options);

// Floyd–Steinberg error diffusion over the ramp's levels, evenly spaced from
// black (first byte) to white (last). Each pixel becomes a gray that the grind's
// ramp lookup maps to the level chosen. An empty ramp leaves the grid as it is.
void ditherForRamp(RgbGrid &picture, std::string_view ramp);

} // namespace vomra
