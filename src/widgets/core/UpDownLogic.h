#pragma once
// Stepping, display and arrow shapes of the spin buttons, without Qt.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vomra {

enum TUpDownDirection { updNone, updUp, updDown };
enum TUDBtnType { btNext, btPrev };
enum TUDOrientation { udHorizontal, udVertical };
enum TUDAlignButton { udLeft, udRight };

// The direction reported before a step: up for a positive step that stays within
// Max, down for a negative one that stays within Min, none otherwise.
TUpDownDirection stepDirection(int increment, int newValue, int min, int max);

// The position after a step from `position` by `increment`: stops at the limits,
// or jumps to the other limit with wrap on.
int steppedPosition(int position, int increment, int min, int max, bool wrap);

// Clamps a position into [min, max] (either order of the limits).
int clampPosition(int value, int min, int max);

// The position as the associated edit shows it, e.g. "-12,345".
std::string formatPosition(int value, bool thousands);
// The edit's text read back (separators and blanks ignored); nothing for other text.
std::optional<int> parsePosition(const std::string &text);

// One horizontal (vertical orientation) or vertical (horizontal orientation)
// run of arrow pixels: along `line`, from `from` to `to` inclusive.
struct ArrowRun {
    int line;
    int from;
    int to;
    bool operator==(const ArrowRun &) const = default;
};

// The pixel runs of the first (up / left) or second (down / right) arrow.
std::vector<ArrowRun> upDownArrow(TUDOrientation orientation, int width, int height, bool second, bool pushed);

} // namespace vomra
