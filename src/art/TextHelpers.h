#pragma once
// Operations on GBK byte strings that treat a double-byte character as one unit.
// Byte rule: below 127 a single-byte character; 127 or above a lead byte that
// forms one character with the byte after it (the second byte is never examined).

#include <string>
#include <string_view>
#include <vector>

namespace vomra {

using Lines = std::vector<std::string>;

inline bool isLeadByte(unsigned char b) { return b >= 127; }

// Single bytes plus half the high bytes: a byte statistic, not a walk.
int charCount(std::string_view s);

// Character at position n (1-based), cycling; position 0 gives the last one.
// Empty for empty text, or when the walk runs off the end of malformed text.
std::string cyclicChar(std::string_view s, int n);

// Byte length of the character starting at offset i (1 or 2, never past the end).
inline std::size_t charLength(std::string_view s, std::size_t i)
{
    return (isLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
}

// "删除左边空格": widen leading full-width blanks to two half-width ones, then cut
// the smallest left margin (lines of blanks only do not count) from every line.
// When no line has a non-blank character the lines stay as widened.
void trimLeftMargin(Lines &lines);

// "删除右边空格": drop half- and full-width blanks after each line's last other character.
void trimTrailingBlanks(Lines &lines);
void trimTrailingBlanks(std::string &line);

// Splits text at LF (a CR before it is dropped); the inverse of joinLines.
Lines splitLines(std::string_view text);
std::string joinLines(const Lines &lines, std::string_view eol);

} // namespace vomra
