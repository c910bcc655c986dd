#pragma once
// The range rules and fill arithmetic of the gradient progress bar. No Qt.

#include <cstdint>

namespace vomra {

// Min <= Position <= Max, kept by the setters.
struct ProgressRange {
    std::uint32_t min = 0;
    std::uint32_t max = 100;
    std::uint32_t position = 0;

    // Each returns false when the value is refused and nothing changed.
    bool setMax(std::uint32_t value);      // below min: refused; pulls position down
    bool setMin(std::uint32_t value);      // above max: refused; pushes position up
    bool setPosition(std::uint32_t value); // outside [min, max]: refused, not clamped
};

struct ProgressFill {
    int filled;  // pixels of the filled part along the bar
    int percent; // the percentage shown (nothing is shown at 0)
    bool operator==(const ProgressFill &) const = default;
};

// The filled length over `extent` pixels and the percentage, each the exact
// fraction (position - min) / (max - min) truncated; an empty range is full.
ProgressFill progressFill(const ProgressRange &range, int extent);

} // namespace vomra
