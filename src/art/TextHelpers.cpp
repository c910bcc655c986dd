#include "art/TextHelpers.h"

#include <algorithm>
#include <climits>

namespace vomra {

namespace {
constexpr unsigned char kFullBlank = 0xA1;

bool isFullBlankAt(std::string_view s, std::size_t i)
{
    return i + 1 < s.size() && static_cast<unsigned char>(s[i]) == kFullBlank
        && static_cast<unsigned char>(s[i + 1]) == kFullBlank;
}
} // namespace

int charCount(std::string_view s)
{
    int single = 0;
    int high = 0;
    for (char c : s) {
        if (isLeadByte(static_cast<unsigned char>(c)))
            ++high;
        else
            ++single;
    }
    return single + high / 2;
}

std::string cyclicChar(std::string_view s, int n)
{
    const int c = charCount(s);
    if (c == 0)
        return {};
    int k = n % c;
    if (k <= 0)
        k += c;
    std::size_t i = 0;
    std::size_t len = 0;
    for (int step = 0; step < k; ++step) {
        i += len;
        if (i >= s.size())
            return {};
        len = charLength(s, i);
    }
    return std::string(s.substr(i, len));
}

void trimLeftMargin(Lines &lines)
{
    // Pass 1: widen the full-width blanks of the leading part. "　" and "  " have the
    // same byte length, so the line is rewritten in place.
    for (std::string &line : lines) {
        std::size_t i = 0;
        while (i < line.size()) {
            if (line[i] == ' ') {
                ++i;
            } else if (isFullBlankAt(line, i)) {
                line[i] = line[i + 1] = ' ';
                i += 2;
            } else {
                break;
            }
        }
    }

    // Pass 2: the smallest margin among lines that hold something other than 0x20.
    std::size_t margin = INT_MAX;
    for (const std::string &line : lines) {
        const std::size_t first = line.find_first_not_of(' ');
        if (first != std::string::npos && first < margin)
            margin = first;
    }
    if (margin == static_cast<std::size_t>(INT_MAX))
        return;

    // Pass 3: cut it from every line; lines of blanks shorter than it become empty.
    for (std::string &line : lines)
        line.erase(0, std::min(margin, line.size()));
}

void trimTrailingBlanks(std::string &line)
{
    std::size_t keep = 0; // byte length up to and including the last non-blank character
    std::size_t i = 0;
    while (i < line.size()) {
        const std::size_t len = charLength(line, i);
        const bool blank = (len == 1 && line[i] == ' ') || (len == 2 && isFullBlankAt(line, i));
        i += len;
        if (!blank)
            keep = i;
    }
    line.resize(keep);
}

void trimTrailingBlanks(Lines &lines)
{
    for (std::string &line : lines)
        trimTrailingBlanks(line);
}

Lines splitLines(std::string_view text)
{
    Lines lines;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::size_t stop = end;
        if (stop > start && text[stop - 1] == '\r')
            --stop;
        lines.emplace_back(text.substr(start, stop - start));
        start = end + 1;
    }
    return lines;
}

std::string joinLines(const Lines &lines, std::string_view eol)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i)
            out += eol;
        out += lines[i];
    }
    return out;
}

} // namespace vomra
