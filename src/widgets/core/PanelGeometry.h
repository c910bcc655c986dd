#pragma once
// The arithmetic of a collapsible section: animation steps, the place of the
// next title, the darkened shades of the title's button. No Qt.

#include "widgets/core/Color.h"

namespace vomra {

inline constexpr int kTitleHeight = 25;
inline constexpr int kCollapsedBodyHeight = 1;

// The step of the animation: selfHeight div expandedStep, at least 1 so that a
// body lower than the step count still reaches its end.
int sectionStep(int selfHeight, int expandedStep);

// The body's next height on the way to selfHeight (expanding) or to 1
// (collapsing); equal to `height` when the animation has ended.
int nextSectionHeight(int height, int selfHeight, int step, bool expanding);

// Top of the next title below a section; bodyHeight < 0 means no body.
int nextTitleTop(int titleTop, int nextTitleSpace, int bodyHeight);

// A next title is accepted when none, or when another title lies at least a
// title height below this one.
bool acceptsNextTitle(bool isSelf, int titleTop, int nextTop);

// Each channel lowered by `amount`; a channel that would drop below 0 is 0.
TColor darker(TColor color, int amount);

} // namespace vomra
