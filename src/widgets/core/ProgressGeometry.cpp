#include "widgets/core/ProgressGeometry.h"

#include <algorithm>

namespace vomra {

bool ProgressRange::setMax(std::uint32_t value)
{
    if (value < min)
        return false;
    max = value;
    position = std::min(position, max);
    return true;
}

bool ProgressRange::setMin(std::uint32_t value)
{
    if (value > max)
        return false;
    min = value;
    position = std::max(position, min);
    return true;
}

bool ProgressRange::setPosition(std::uint32_t value)
{
    if (value < min || value > max)
        return false;
    position = value;
    return true;
}

ProgressFill progressFill(const ProgressRange &range, int extent)
{
    extent = std::max(0, extent);
    if (range.max == range.min)
        return {extent, 100};
    // Integer arithmetic: a floating-point fraction would show 28% for 29 of 100.
    const std::uint64_t done = range.position - range.min;
    const std::uint64_t span = range.max - range.min;
    return {static_cast<int>(done * static_cast<std::uint64_t>(extent) / span), static_cast<int>(done * 100 / span)};
}

} // namespace vomra
