#pragma once
// A rectangle by its edges, right and bottom exclusive, as the painters and the
// hint placement compute them.

namespace vomra {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const Rect &) const = default;
};

} // namespace vomra
