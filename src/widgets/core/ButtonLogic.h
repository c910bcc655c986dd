#pragma once
// State and layout rules of the skinned buttons, kept apart from painting.

#include "widgets/core/Color.h"

#include <vector>

namespace vomra {

enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

struct ButtonState {
    bool enabled = true;
    bool checked = false;
    bool keyPressed = false;
    bool mousePressed = false;
    bool mouseHot = false;
};

// The face a button shows: a held space key or a press with the pointer still
// over the control shows the pressed face; hot only counts when not pressed.
enum class ButtonFace { Up, Down, Hot };
ButtonFace buttonFace(const ButtonState &s);

// Indexes of the state images (-1: none), and the one a state shows: the
// disabled image when disabled, otherwise the image of the face.
struct StateImageIndexes {
    int up = -1;
    int down = -1;
    int enter = -1;
    int disable = -1;
};
int stateImageIndex(const ButtonState &s, const StateImageIndexes &indexes);

// The check box / radio picture (1..8) visible for a state.
int checkPictureNumber(const ButtonState &s);

struct ContentPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ContentPoint &) const = default;
};

struct ContentPlacement {
    bool hasImage = false;
    bool hasCaption = false;
    ContentPoint image;
    ContentPoint caption;
};

struct ContentMetrics {
    int width = 0, height = 0;             // the control
    int imageWidth = 0, imageHeight = 0;   // one image of the list
    int captionWidth = 0, captionHeight = 0;
    int spacing = 2;
    bool hasCaption = false;
    bool hasImages = false;
};

// Where the image and the caption go; dx/dy shift both (1, 1 on pressed faces).
ContentPlacement placeContent(const ContentMetrics &m, TButtonLayout layout, int dx, int dy);

// Colours of the short side lines of the hot and focus edges, rows 3 .. H - 4.
std::vector<TColor> edgeRamp(TColor start, TColor end, int height);

} // namespace vomra
