#include "widgets/core/Color.h"

namespace vomra {

namespace {
// COLOR_SCROLLBAR .. COLOR_INFOBK of the classic Windows scheme.
constexpr TColor kSystemColors[] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128),
    RGB(212, 208, 200), RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),
    RGB(0, 0, 0),       RGB(255, 255, 255), RGB(212, 208, 200), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255), RGB(212, 208, 200),
    RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),
    RGB(255, 255, 225),
};
} // namespace

TColor colorToRGB(TColor color)
{
    if ((color & 0x80000000u) == 0)
        return color;
    const std::uint32_t index = color & 0xFF;
    if (index < sizeof kSystemColors / sizeof kSystemColors[0])
        return kSystemColors[index];
    return clBlack;
}

Channels ColorChannels(TColor color)
{
    const TColor c = colorToRGB(color);
    return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)};
}

std::vector<TColor> gradientColors(TColor start, TColor end, int n)
{
    std::vector<TColor> out;
    if (n <= 0)
        return out;
    out.reserve(static_cast<std::size_t>(n));
    const Channels a = ColorChannels(start);
    const Channels b = ColorChannels(end);
    const double sr = static_cast<double>(b.red - a.red) / (n + 1);
    const double sg = static_cast<double>(b.green - a.green) / (n + 1);
    const double sb = static_cast<double>(b.blue - a.blue) / (n + 1);
    double r = a.red;
    double g = a.green;
    double bl = a.blue;
    for (int i = 0; i < n; ++i) {
        out.push_back(RGB(static_cast<int>(r), static_cast<int>(g), static_cast<int>(bl)));
        r += sr;
        g += sg;
        bl += sb;
    }
    return out;
}

std::vector<Segment> gradientSegments(int extent, int stopCount)
{
    std::vector<Segment> out;
    if (stopCount < 2)
        return out;
    const int w = (extent + 1) / (stopCount - 1);
    for (int i = 0; i < stopCount - 1; ++i) {
        const int start = i * w;
        const int length = (i == stopCount - 2) ? extent - start : w;
        out.push_back({start, length});
    }
    return out;
}

} // namespace vomra
