#include "recipe/core/LibrarySearch.h"

#include "base/AtomicFile.h"
#include "base/Gbk.h"

namespace vomra {

namespace {

char lower(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The length of the GBK character at i: a byte of 127 or more leads two bytes.
std::size_t gbkCharLength(std::string_view s, std::size_t i)
{
    return static_cast<unsigned char>(s[i]) >= 127 && i + 1 < s.size() ? 2 : 1;
}

bool matchesAt(std::string_view hay, std::size_t at, std::string_view needle)
{
    std::size_t i = at;
    std::size_t j = 0;
    while (j < needle.size()) {
        if (i >= hay.size())
            return false;
        const std::size_t nl = gbkCharLength(needle, j);
        const std::size_t hl = gbkCharLength(hay, i);
        if (nl != hl)
            return false;
        if (nl == 1) {
            if (lower(hay[i]) != lower(needle[j]))
                return false;
        } else if (hay[i] != needle[j] || hay[i + 1] != needle[j + 1]) {
            return false;
        }
        i += hl;
        j += nl;
    }
    return true;
}

bool isUtf8Bom(std::string_view bytes)
{
    return bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF";
}

bool isUnder(const std::string &path, const std::string &under)
{
    return under.empty() || path.compare(0, under.size(), under) == 0;
}

} // namespace

std::size_t findGbk(std::string_view haystack, std::string_view needle, std::size_t from)
{
    if (needle.empty())
        return std::string_view::npos;
    const char first = lower(needle[0]);
    const bool firstSingle = static_cast<unsigned char>(needle[0]) < 127;
    for (std::size_t i = from; i < haystack.size(); i += gbkCharLength(haystack, i)) {
        const char c = haystack[i];
        if ((firstSingle ? lower(c) : c) == first && matchesAt(haystack, i, needle))
            return i;
    }
    return std::string_view::npos;
}

std::size_t findUtf8(std::string_view haystack, std::string_view needle, std::size_t from)
{
    if (needle.empty())
        return std::string_view::npos;
    for (std::size_t i = from; i + needle.size() <= haystack.size(); ++i) {
        if ((static_cast<unsigned char>(haystack[i]) & 0xC0) == 0x80)
            continue; // not where a character starts
        std::size_t k = 0;
        while (k < needle.size() && lower(haystack[i + k]) == lower(needle[k]))
            ++k;
        if (k == needle.size())
            return i;
    }
    return std::string_view::npos;
}

TFindResult FindInLibrary(const std::string &programFolder, std::string_view needleUtf8, const std::string &under)
{
    return FindInTree(ScanRecipeLibrary(programFolder), needleUtf8, under);
}

TFindResult FindInTree(std::vector<TRecipeNode> tree, std::string_view needleUtf8, const std::string &under)
{
    TFindResult result;
    result.tree = std::move(tree);
    const std::vector<TRecipeNode> &nodes = result.tree;
    result.matched.assign(nodes.size(), false);
    result.named.assign(nodes.size(), false);
    if (needleUtf8.empty())
        return result;
    bool lossy = false;
    const std::string needleGbk = gbk::fromUtf8(needleUtf8, &lossy);
    // A needle GBK cannot hold matches no GBK text.
    const bool gbkSearchable = !lossy;

    for (std::size_t i = 0; i < nodes.size(); ++i) {
        const TRecipeNode &node = nodes[i];
        if (!isUnder(node.diskPath, under))
            continue;
        if (findUtf8(nodeDisplayText(node), needleUtf8) != std::string_view::npos) {
            result.matched[i] = true;
            result.named[i] = true;
        }
        const bool file = node.image == riRecipeFile;
        const bool collection = node.image == riCollection || node.image == riCollectionOpen;
        if (!file && !collection)
            continue;
        const auto bytes = readFileBytes(node.diskPath);
        if (!bytes)
            continue;
        const bool utf8 = isUtf8Bom(*bytes);
        std::string_view text(*bytes);
        if (utf8)
            text.remove_prefix(3);
        auto holds = [&](std::string_view line) {
            return utf8 ? findUtf8(line, needleUtf8) != std::string_view::npos
                        : gbkSearchable && findGbk(line, needleGbk) != std::string_view::npos;
        };
        // Quick refusal: most files do not hold the needle at all.
        if (!holds(text))
            continue;

        // Item nodes follow their collection; an item's lines start after the
        // first header that names it and end at the next line starting with '['.
        std::vector<std::size_t> items;
        for (std::size_t k = i + 1; k < nodes.size() && nodes[k].image == riItem && nodes[k].depth > node.depth; ++k)
            items.push_back(k);
        std::vector<bool> seen(items.size(), false);
        std::size_t current = 0;
        bool inItem = false;
        int lineNo = 0;
        std::size_t pos = 0;
        while (pos < text.size()) {
            std::size_t end = text.find_first_of("\r\n", pos);
            if (end == std::string_view::npos)
                end = text.size();
            const std::string_view line = text.substr(pos, end - pos);
            pos = end;
            if (pos < text.size())
                pos += text.compare(pos, 2, "\r\n") == 0 ? 2 : 1;
            ++lineNo;
            if (collection) {
                const std::string_view trimmed = trimRecipeLine(line);
                if (!trimmed.empty() && trimmed[0] == '[') {
                    inItem = false;
                    for (std::size_t k = 0; k < items.size(); ++k)
                        if (!seen[k] && IsItemSection(trimmed, nodes[items[k]].text)) {
                            seen[k] = true;
                            inItem = true;
                            current = k;
                            break;
                        }
                    continue;
                }
                if (!inItem || !holds(line))
                    continue;
                result.matched[items[current]] = true;
                result.matched[i] = true;
                result.hits.push_back({items[current], nodes[items[current]].text, lineNo, std::string(trimRecipeLine(line)), utf8});
            } else if (holds(line)) {
                result.matched[i] = true;
                result.hits.push_back({i, {}, lineNo, std::string(line), utf8});
            }
        }
    }
    return result;
}

} // namespace vomra
