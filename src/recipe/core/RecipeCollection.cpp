// Recipe collections: the item list read by the profile rules, item sections read
// line by line, and what display mode shows and copies of an item.
#include "recipe/core/Recipe.h"

#include "base/Profile.h"

#include <climits>
#include <map>
#include <cctype>
#include <set>
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
    const ProfileIndex index{std::string(iniText)};
    const int count = index.readInteger("ItemList", "ItemCount", 0);
    if (count <= 0)
        return names;

    // Only numbers that stand in the text after "ItemName" can name a key, so a
    // huge count costs nothing; each is then looked up by the profile reader.
    std::set<int> numbers;
    static constexpr std::string_view kKey = "itemname";
    for (std::size_t i = 0; i + kKey.size() < iniText.size(); ++i) {
        std::size_t k = 0;
        while (k < kKey.size() && std::tolower(static_cast<unsigned char>(iniText[i + k])) == kKey[k])
            ++k;
        if (k < kKey.size())
            continue;
        long long n = 0;
        std::size_t j = i + kKey.size();
        while (j < iniText.size() && iniText[j] >= '0' && iniText[j] <= '9' && n <= count)
            n = n * 10 + (iniText[j++] - '0');
        if (n >= 1 && n <= count)
            numbers.insert(static_cast<int>(n));
    }
    for (const int n : numbers) {
        const auto name = index.value("ItemList", "ItemName" + std::to_string(n));
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

namespace {

// Calls add with each line of the item, trimmed; false when no header matches.
template <typename Add>
bool forEachItemLine(std::string_view iniText, std::string_view itemName, Add &&add)
{
    bool found = false;
    forEachLine(iniText, [&](std::string_view raw) {
        const std::string_view line = trimRecipeLine(raw);
        if (!found) {
            found = IsItemSection(line, itemName);
            return true;
        }
        if (!line.empty() && line.front() == '[')
            return false;
        add(line);
        return true;
    });
    return found;
}

template <typename LineList>
void dropTrailingEmptyLines(LineList &lines)
{
    while (!lines.empty() && lines.back().empty())
        lines.pop_back();
}

} // namespace

std::optional<std::vector<std::string>> IniItemLines(std::string_view iniText, std::string_view itemName)
{
    std::vector<std::string> lines;
    if (!forEachItemLine(iniText, itemName, [&](std::string_view line) { lines.emplace_back(line); }))
        return std::nullopt;
    return lines;
}

namespace {

Error noItem(const std::string &path, std::string_view itemName)
{
    return fail("no item [" + std::string(itemName) + "] in " + path);
}

} // namespace

Result<std::vector<std::string>> ReadIniItemLines(const std::string &path, std::string_view itemName)
{
    const auto text = ReadRecipeFile(path);
    if (!text)
        return text.error();
    auto lines = IniItemLines(*text, itemName);
    if (!lines)
        return noItem(path, itemName);
    return std::move(*lines);
}

std::vector<std::string> ItemCopyLines(std::string_view itemName, const std::vector<std::string> &lines)
{
    std::vector<std::string> out;
    out.reserve(lines.size() + 1);
    out.emplace_back(itemName);
    out.insert(out.end(), lines.begin(), lines.end());
    dropTrailingEmptyLines(out);
    return out;
}

Result<PackedLines> ReadItemCopyLines(const std::string &path, std::string_view itemName)
{
    const auto text = ReadRecipeFile(path);
    if (!text)
        return text.error();
    PackedLines lines;
    lines.push_back(itemName);
    if (!forEachItemLine(*text, itemName, [&](std::string_view line) { lines.push_back(line); }))
        return noItem(path, itemName);
    dropTrailingEmptyLines(lines);
    return lines;
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
