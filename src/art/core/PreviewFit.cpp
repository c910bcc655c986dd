#include "art/core/PreviewFit.h"

#include <cmath>

namespace vomra {

namespace {
// Halfway values go to the even neighbour (the default rounding mode).
int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
} // namespace

PreviewPlace previewFit(int w, int h)
{
    PreviewPlace p;
    p.width = w;
    p.height = h;
    if (p.width > kPreviewBoxWidth) {
        p.stretched = true;
        p.width = kPreviewBoxWidth;
        p.height = roundEven(kPreviewBoxWidth / (static_cast<double>(w) / h));
    }
    if (p.height > kPreviewBoxHeight) {
        p.stretched = true;
        const int before = p.height;
        p.height = kPreviewBoxHeight;
        p.width = roundEven(kPreviewBoxHeight / (static_cast<double>(before) / p.width));
    }
    p.top = (kPreviewBoxHeight - p.height) / 2 + kPreviewBoxTop;
    p.left = (kPreviewBoxWidth - p.width) / 2 + kPreviewBoxLeft;
    return p;
}

} // namespace vomra
