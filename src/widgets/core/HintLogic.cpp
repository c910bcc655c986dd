#include "widgets/core/HintLogic.h"

#include <algorithm>
#include <cmath>

namespace vomra {

namespace {
// Nearest integer, halves to even.
int roundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

Rect normalized(int x1, int y1, int x2, int y2)
{
    return {std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
}
} // namespace

HintSize hintSizeForText(int textWidth, int textHeight)
{
    const double k = std::sqrt(2.0);
    HintSize s;
    const int dx = static_cast<int>((k - 1) * textWidth / 2);
    const int dy = static_cast<int>((k - 1) * textHeight / 2);
    s.textRect = {dx, dy, dx + textWidth, dy + textHeight};
    s.width = roundEven(k * textWidth);
    s.height = roundEven(k * textHeight);
    return s;
}

Rect enlargeHintRect(const Rect &rect, TGWHintStyle style, const HintMargins &m)
{
    Rect r = rect;
    switch (style) {
    case gwhsCircularity:
        r.right += 40;
        r.bottom += 32;
        break;
    case gwhsApplicationIcon:
        if (r.height() < m.iconHeight + 10)
            r.bottom = r.top + m.iconHeight + 10;
        r.right += m.iconWidth + 10;
        break;
    case gwhsUserCustom:
        r.right += m.left + m.right;
        r.bottom += m.top + m.bottom;
        break;
    }
    return r;
}

HintPlacement placeHint(const Rect &rect, int desktopWidth, int desktopHeight)
{
    HintPlacement p;
    p.bounds = rect;
    const int w = rect.width();
    const int h = rect.height();
    if (rect.top + h > desktopHeight) {
        p.bounds.top = rect.top - h;
        p.bounds.bottom = p.bounds.top + h;
        p.mouseOnTop = false;
    }
    if (rect.left + w > desktopWidth) {
        p.bounds.left = rect.left - w;
        p.bounds.right = p.bounds.left + w;
        p.mouseOnLeft = false;
    }
    return p;
}

BalloonShapes balloonShapes(int width, int height, bool mouseOnTop, bool mouseOnLeft)
{
    BalloonShapes b;
    Rect body{0, 0, width, height};
    if (mouseOnTop)
        body.top += 12;
    else
        body.bottom -= 12;
    if (mouseOnLeft)
        body.left += mouseOnTop ? 12 : 20;
    else
        body.right -= 12;
    b.shadowBalloon = body;
    b.balloon = {body.left - 1, body.top - 2, body.right - 2, body.bottom - 2};

    if (mouseOnTop && mouseOnLeft) {
        b.shadowBubble = normalized(2, 2, 30, 17);
        b.bubble = normalized(0, 0, 28, 15);
    } else if (mouseOnTop) {
        b.shadowBubble = normalized(width, 2, width - 28, 17);
        b.bubble = normalized(width - 2, 0, width - 30, 15);
    } else if (mouseOnLeft) {
        b.shadowBubble = normalized(2, height, 30, height - 15);
        b.bubble = normalized(0, height - 2, 28, height - 17);
    } else {
        b.shadowBubble = normalized(width, height, width - 28, height - 15);
        b.bubble = normalized(width - 2, height - 2, width - 30, height - 17);
    }
    b.textDx = mouseOnLeft ? 26 : 14;
    b.textDy = mouseOnTop ? 20 : 8;
    return b;
}

} // namespace vomra
