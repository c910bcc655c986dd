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

// The picks of positions 1 to charCount(s), in one walk: element k - 1 is
// cyclicChar(s, k) (empty where malformed text makes the walk end early).
std::vector<std::string_view> charPicks(std::string_view s);

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

// The two trims one line at a time, for text too large to hold as a list of lines.
// The bytes of a line's leading half- and full-width blanks; widened, each byte is
// one half-width blank.
std::size_t leadingBlankWidth(std::string_view line);
// The left trim's margin: the least width among lines with more than blanks;
// 0 when there is none (the lines then stay as widened).
class LeftMargin {
public:
    void add(std::string_view line);
    std::size_t margin() const { return m_seen ? m_margin : 0; }

private:
    std::size_t m_margin = 0;
    bool m_seen = false;
};
// Appends line as the left trim leaves it for the given margin.
void appendTrimmedLeft(std::string_view line, std::size_t margin, std::string &out);
// The byte length the trailing-blank trim keeps of line.
std::size_t keptByTrailingTrim(std::string_view line);

// Splits text at LF (a CR before it is dropped); the inverse of joinLines.
Lines splitLines(std::string_view text);
std::string joinLines(const Lines &lines, std::string_view eol);

} // namespace vomra
