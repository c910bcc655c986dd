#pragma once
// Geometry of the hint window: its size from the measured text, the margins of
// each style, flipping at the desktop's edges and the balloon's shapes.

#include "base/Rect.h"

namespace vomra {

enum TGWHintStyle { gwhsCircularity, gwhsApplicationIcon, gwhsUserCustom };

struct HintSize {
    Rect textRect; // inside the window
    int width = 0;
    int height = 0;
};

// The window is sqrt(2) times the text's extent, the text centred in it.
HintSize hintSizeForText(int textWidth, int textHeight);

struct HintMargins {
    int left = 24, right = 24, top = 24, bottom = 24; // user-custom style only
    int iconWidth = 32, iconHeight = 32;               // application-icon style only
};

// The hint rectangle enlarged by the style's margins.
Rect enlargeHintRect(const Rect &rect, TGWHintStyle style, const HintMargins &m);

struct HintPlacement {
    Rect bounds;
    bool mouseOnTop = true;  // the hint lies below the mouse
    bool mouseOnLeft = true; // the hint lies right of the mouse
};

// Flips the window above / left of its anchor where it would cross the desktop's
// bottom / right edge.
HintPlacement placeHint(const Rect &rect, int desktopWidth, int desktopHeight);

struct BalloonShapes {
    Rect shadowBubble;
    Rect bubble;
    Rect balloon;       // the body's ellipse
    Rect shadowBalloon; // the body's shadow
    int textDx = 0;
    int textDy = 0;
};

BalloonShapes balloonShapes(int width, int height, bool mouseOnTop, bool mouseOnLeft);

} // namespace vomra
