#include "widgets/core/ButtonLogic.h"

namespace vomra {

ButtonFace buttonFace(const ButtonState &s)
{
    if (s.keyPressed)
        return ButtonFace::Down;
    if (s.mousePressed)
        return s.mouseHot ? ButtonFace::Down : ButtonFace::Up;
    return s.mouseHot ? ButtonFace::Hot : ButtonFace::Up;
}

int stateImageIndex(const ButtonState &s, const StateImageIndexes &indexes)
{
    if (!s.enabled)
        return indexes.disable;
    switch (buttonFace(s)) {
    case ButtonFace::Down:
        return indexes.down;
    case ButtonFace::Hot:
        return indexes.enter;
    case ButtonFace::Up:
        break;
    }
    return indexes.up;
}

int checkPictureNumber(const ButtonState &s)
{
    if (!s.enabled)
        return s.checked ? 8 : 7;
    switch (buttonFace(s)) {
    case ButtonFace::Down:
        return s.checked ? 6 : 2;
    case ButtonFace::Hot:
        return s.checked ? 5 : 4;
    case ButtonFace::Up:
        break;
    }
    return s.checked ? 3 : 1;
}

ContentPlacement placeContent(const ContentMetrics &m, TButtonLayout layout, int dx, int dy)
{
    ContentPlacement p;
    p.hasCaption = m.hasCaption;
    p.hasImage = m.hasImages;
    const int W = m.width, H = m.height, IW = m.imageWidth, IH = m.imageHeight;
    const int TW = m.captionWidth, TH = m.captionHeight, S = m.spacing;
    if (m.hasCaption && !m.hasImages) {
        p.caption = {(W - TW) / 2, (H - TH) / 2};
    } else if (!m.hasCaption && m.hasImages) {
        p.image = {(W - IW) / 2, (H - IH) / 2};
    } else if (m.hasCaption && m.hasImages) {
        switch (layout) {
        case blGlyphLeft:
            p.image = {(W - IW - TW - S) / 2, (H - IH) / 2};
            p.caption = {IW + (W - IW - TW - S) / 2 + S, (H - TH) / 2};
            break;
        case blGlyphRight:
            p.image = {(W - IW - TW - S) / 2 + TW + S, (H - IH) / 2};
            p.caption = {(W - IW - TW - S) / 2, (H - TH) / 2};
            break;
        case blGlyphTop:
            p.image = {(W - IW) / 2, (H - IH - TH - S) / 2};
            p.caption = {(W - TW - S) / 2, (H - IH - TH - S) / 2 + IH + S};
            break;
        case blGlyphBottom:
            p.image = {(W - IW) / 2, (H - IH - TH - S) / 2 + TH + S};
            p.caption = {(W - TW - S) / 2, (H - IH - TH - S) / 2};
            break;
        }
    }
    p.image.x += dx;
    p.image.y += dy;
    p.caption.x += dx;
    p.caption.y += dy;
    return p;
}

std::vector<TColor> edgeRamp(TColor start, TColor end, int height)
{
    std::vector<TColor> colors;
    if (height <= 6)
        return colors;
    const Channels a = ColorChannels(start);
    const Channels b = ColorChannels(end);
    const int span = height - 7;
    for (int y = 3; y <= height - 4; ++y) {
        const int i = y - 3;
        // With a single row (H = 7) there is no step to take.
        auto channel = [&](int s, int e) {
            return span == 0 ? s : static_cast<int>(s - i * static_cast<double>(s - e) / span);
        };
        colors.push_back(RGB(channel(a.red, b.red), channel(a.green, b.green), channel(a.blue, b.blue)));
    }
    return colors;
}

} // namespace vomra
