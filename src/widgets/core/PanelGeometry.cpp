#include "widgets/core/PanelGeometry.h"

#include <algorithm>

namespace vomra {

int sectionStep(int selfHeight, int expandedStep)
{
    if (expandedStep <= 0)
        return std::max(1, selfHeight);
    return std::max(1, selfHeight / expandedStep);
}

int nextSectionHeight(int height, int selfHeight, int step, bool expanding)
{
    if (expanding) {
        if (height >= selfHeight)
            return height;
        return std::min(height + step, selfHeight);
    }
    if (height <= kCollapsedBodyHeight)
        return height;
    return std::max(height - step, kCollapsedBodyHeight);
}

int nextTitleTop(int titleTop, int nextTitleSpace, int bodyHeight)
{
    return titleTop + kTitleHeight + nextTitleSpace + std::max(0, bodyHeight);
}

bool acceptsNextTitle(bool isSelf, int titleTop, int nextTop)
{
    return !isSelf && nextTop >= titleTop + kTitleHeight;
}

TColor darker(TColor color, int amount)
{
    const Channels c = ColorChannels(color);
    return RGB(std::max(0, c.red - amount), std::max(0, c.green - amount), std::max(0, c.blue - amount));
}

} // namespace vomra
