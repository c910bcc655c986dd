#include "base/TextLines.h"

#include <algorithm>

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

std::vector<std::string_view> charPicks(std::string_view s)
{
    const auto count = static_cast<std::size_t>(charCount(s));
    std::vector<std::string_view> picks;
    picks.reserve(count);
    for (std::size_t i = 0; i < s.size() && picks.size() < count;) {
        const std::size_t len = charLength(s, i);
        picks.push_back(s.substr(i, len));
        i += len;
    }
    picks.resize(count); // positions the walk never reaches pick nothing
    return picks;
}

std::size_t leadingBlankWidth(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || isFullBlankAt(line, i)))
        i += line[i] == ' ' ? 1 : 2;
    return i;
}

void LeftMargin::add(std::string_view line)
{
    // Lines of blanks only do not take part in the measure.
    const std::size_t width = leadingBlankWidth(line);
    if (width == line.size())
        return;
    if (!m_seen || width < m_margin)
        m_margin = width;
    m_seen = true;
}

void appendTrimmedLeft(std::string_view line, std::size_t margin, std::string &out)
{
    // The widened leading part is blanks only: cutting the margin leaves its excess.
    const std::size_t width = leadingBlankWidth(line);
    out.append(width - std::min(margin, width), ' ');
    out.append(line.substr(width));
}

void trimLeftMargin(Lines &lines)
{
    LeftMargin margin;
    for (const std::string &line : lines)
        margin.add(line);
    const std::size_t m = margin.margin();
    for (std::string &line : lines) {
        const std::size_t width = leadingBlankWidth(line);
        line.replace(0, width, width - std::min(m, width), ' ');
    }
}

std::size_t keptByTrailingTrim(std::string_view line)
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
    return keep;
}

void trimTrailingBlanks(std::string &line) { line.resize(keptByTrailingTrim(line)); }

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
