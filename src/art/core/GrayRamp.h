#pragma once
// The grinder's gray ramps: the text the ramp edit starts with, and the three
// ramps kept in the settings file (section "图片磨牙器"). Ramps are GBK bytes,
// darkest first.

#include "base/Profile.h"

#include <string>
#include <string_view>

namespace vomra {

// What the ramp edit shows at start: 18 levels, the lightest a blank.
inline constexpr std::string_view kStartRamp = "MNHQ$OC?7>!\":'-;. ";

enum class RampKind { Standard, Levels94, Custom };

// The ramps the program ships in its QOBR.Ini, without the blank added on
// reading; for a program folder whose settings file lacks them.
inline constexpr std::string_view kShippedStandardRamp = "@M#Q&Xaz*i/!\"-.";
inline constexpr std::string_view kShipped94Ramp =
    "@MW#$N%BHRQDE&8Km694UgOdhbZXS5AkPGpF2qa0T3wYeVLfnCzu7oyJj][x*t?s1Icrliv|{})(\\+/=><!;\"~^_:-,`'.";

// The settings key of a ramp, as UTF-8.
const char *rampKey(RampKind kind);

// The stored ramp followed by one blank, so the lightest level is always white.
// A missing file or key gives the blank alone.
std::string readRamp(const Profile &settings, RampKind kind);

// The shipped ramp with its blank; empty for the custom ramp, which ships none.
std::string shippedRamp(RampKind kind);

// Stores the ramp as given, final blank included, under the custom ramp's key.
// Only the first line is kept: a line break would split the entry. Returns false
// and sets *error (naming the file) when the file cannot be written.
Result<void> saveCustomRamp(const Profile &settings, std::string_view ramp);

} // namespace vomra
