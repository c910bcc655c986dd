#pragma once
// The one codec between the program's GBK byte strings and UTF-8 (and, in
// GbkQt.h, QString). Anything the target cannot hold becomes "?" and the call
// says so through `lossy`, so the caller can tell the user once.

#include <string>
#include <string_view>

namespace vomra::gbk {

// UTF-8 → GBK. A character GBK has no code for, or malformed UTF-8, becomes "?".
std::string fromUtf8(std::string_view utf8, bool *lossy = nullptr);

// GBK → UTF-8. A byte sequence that is not GBK (a lone lead byte at the end, a
// bad trail byte) becomes "?" for its lead byte, and decoding carries on after it.
std::string toUtf8(std::string_view gbk, bool *lossy = nullptr);

} // namespace vomra::gbk
