#pragma once
// The one codec between the program's GBK byte strings and UTF-8 (and, in
// GbkQt.h, QString). Anything the target cannot hold becomes "?" and the call
// says so through `lossy`, so the caller can tell the user once.

#include <string>
#include <string_view>

namespace vomra::gbk {

// UTF-8 → GBK. A character GBK has no code for, or malformed UTF-8, becomes "?".
std::string fromUtf8(std::string_view utf8, bool *lossy = nullptr);

// GBK → UTF-8. A lead byte with a trail byte that GBK has no character for becomes
// one "?"; a lead byte without a trail byte (at the end, or before a byte outside
// the trail range) becomes "?" and decoding carries on with the next byte.
std::string toUtf8(std::string_view gbk, bool *lossy = nullptr);

} // namespace vomra::gbk
