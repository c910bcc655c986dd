// Recipe collections: the item list read by the profile rules, item sections read
// line by line, and what display mode shows and copies of an item.
#include "recipe/Recipe.h"

#include "platform/Profile.h"

#include <climits>
#include <map>
#include <string>

namespace vomra {

namespace {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Lines of a text split at CR LF, LF or a lone CR, without their ends.
template <typename Fn>
void forEachLine(std::string_view text, Fn &&fn)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", pos);
        if (end == std::string_view::npos) {
            fn(text.substr(pos));
            return;
        }
        if (!fn(text.substr(pos, end - pos)))
            return;
        pos = end + 1;
        if (text[end] == '\r' && pos < text.size() && text[pos] == '\n')
            ++pos;
    }
}

// n when a line holds "ItemName<n> = ..." as the profile reader would see its key
// (decimal, no leading zero, up to INT_MAX); else 0. Trimming more than the
// reader's blanks can only find more candidates, never fewer.
int itemNameKeyNumber(std::string_view line)
{
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return 0;
    std::string_view key = trimRecipeLine(line.substr(0, eq));
    constexpr std::string_view kPrefix = "ItemName";
    if (key.size() < kPrefix.size() || !pathsEqualIgnoringCase(key.substr(0, kPrefix.size()), kPrefix))
        return 0;
    key.remove_prefix(kPrefix.size());
    if (key.empty() || key.size() > 10 || key.front() == '0')
        return 0;
    long long n = 0;
    for (const char c : key) {
        if (c < '0' || c > '9')
            return 0;
        n = n * 10 + (c - '0');
    }
    return n > INT_MAX ? 0 : static_cast<int>(n);
}

bool isHeaderLike(std::string_view line)
{
    line = trimRecipeLine(line);
    return !line.empty() && line.front() == '[';
}

// Whether the profile reader takes a line for the header of section `name`, or
// for any section header: asked of the reader itself with a probe entry after it.
constexpr std::string_view kProbeKey = "VomraProbe";

bool headsSection(std::string_view line, std::string_view name)
{
    std::string probe(line);
    probe.append("\n").append(kProbeKey).append("=1\n");
    return Profile::lookup(probe, name, kProbeKey).has_value();
}

bool isSectionHeader(std::string_view line)
{
    std::string probe = "[VomraProbe]\n";
    probe.append(line).append("\n").append(kProbeKey).append("=1\n");
    return !Profile::lookup(probe, kProbeKey, kProbeKey).has_value();
}

// Upper-cases ASCII a-z outside double-byte characters and drops every space.
std::string sectionKey(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    for (const char c : s) {
        if (c != ' ')
            out += c;
    }
    for (std::size_t i = 0; i < out.size(); ++i) {
        if (static_cast<unsigned char>(out[i]) >= 127)
            ++i; // a lead byte and its trail byte stay as they are
        else
            out[i] = asciiUpper(out[i]);
    }
    return out;
}

} // namespace

std::string_view trimRecipeLine(std::string_view line)
{
    auto blank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!line.empty() && blank(line.front()))
        line.remove_prefix(1);
    while (!line.empty() && blank(line.back()))
        line.remove_suffix(1);
    return line;
}

std::vector<std::string> CollectionItemNames(std::string_view iniText)
{
    std::vector<std::string> names;
    const auto countText = Profile::lookup(iniText, "ItemList", "ItemCount");
    const int count = countText ? Profile::parseInteger(*countText).value_or(0) : 0;
    if (count <= 0)
        return names;

    // The names are looked up by the profile reader itself, but only for keys that
    // can be "ItemName<n>" with n <= count (a huge count costs nothing), and each
    // in a small text: the section's header line and the lines of the section
    // that may hold that key, whole and in order. The answers are those of the
    // whole file, and the time grows with the file, not with count times file.
    std::vector<std::string_view> lines;
    for (std::size_t pos = 0; pos < iniText.size();) {
        const std::size_t nl = iniText.find('\n', pos);
        const std::size_t end = nl == std::string_view::npos ? iniText.size() : nl;
        lines.push_back(iniText.substr(pos, end - pos));
        pos = end + 1;
    }
    std::size_t first = 0;
    while (first < lines.size() && !(isHeaderLike(lines[first]) && headsSection(lines[first], "ItemList")))
        ++first;
    if (first == lines.size())
        return names;
    std::map<int, std::vector<std::string_view>> keyLines;
    for (std::size_t i = first; i < lines.size(); ++i) {
        if (i > first && isHeaderLike(lines[i]) && isSectionHeader(lines[i]))
            break;
        forEachLine(lines[i], [&](std::string_view part) {
            const int n = itemNameKeyNumber(part);
            if (n > 0 && n <= count && (keyLines[n].empty() || keyLines[n].back().data() != lines[i].data()))
                keyLines[n].push_back(lines[i]);
            return true;
        });
    }
    for (const auto &[n, candidates] : keyLines) {
        std::string text(lines[first]);
        text += '\n';
        for (const std::string_view line : candidates)
            text.append(line).append("\n");
        const auto name = Profile::lookup(text, "ItemList", "ItemName" + std::to_string(n));
        if (!name)
            continue;
        const std::string_view trimmed = trimRecipeLine(*name);
        if (!trimmed.empty())
            names.emplace_back(trimmed);
    }
    return names;
}

std::vector<std::string> ReadCollectionItemNames(const std::string &path)
{
    const auto text = ReadRecipeFile(path);
    return text ? CollectionItemNames(*text) : std::vector<std::string>{};
}

bool IsItemSection(std::string_view line, std::string_view itemName)
{
    std::string header;
    header.reserve(itemName.size() + 2);
    header.append("[").append(itemName).append("]");
    return sectionKey(line) == sectionKey(header);
}

std::optional<std::vector<std::string>> IniItemLines(std::string_view iniText, std::string_view itemName)
{
    std::optional<std::vector<std::string>> lines;
    forEachLine(iniText, [&](std::string_view raw) {
        const std::string_view line = trimRecipeLine(raw);
        if (!lines) {
            if (IsItemSection(line, itemName))
                lines.emplace();
            return true;
        }
        if (!line.empty() && line.front() == '[')
            return false;
        lines->emplace_back(line);
        return true;
    });
    return lines;
}

std::optional<std::vector<std::string>> ReadIniItemLines(const std::string &path, std::string_view itemName)
{
    const auto text = ReadRecipeFile(path);
    if (!text)
        return std::nullopt;
    return IniItemLines(*text, itemName);
}

std::vector<std::string> ItemCopyLines(std::string_view itemName, const std::vector<std::string> &lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size() + 1);
    out.emplace_back(itemName);
    out.insert(out.end(), lines.begin(), lines.end());
    while (!out.empty() && out.back().empty())
        out.pop_back();
    return out;
}

std::string DisplayModeCopy(std::string_view selected)
{
    std::string out;
    out.reserve(selected.size());
    std::size_t i = 0;
    while (i < selected.size()) {
        if (selected.substr(i, 4) == "\r\n\r\n") {
            out += "\r\n";
            i += 4;
        } else {
            out += selected[i++];
        }
    }
    return out;
}

} // namespace vomra
