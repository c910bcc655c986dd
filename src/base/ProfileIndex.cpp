#include "base/ProfileIndex.h"

#include "base/Profile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace vomra {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimmed(std::string_view s)
{
    while (!s.empty() && isBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// The text of the line that starts at pos, without its line end (LF, CR LF, or a
// CR that ends the file); *end is set past the line end.
std::string_view lineAt(std::string_view all, std::size_t pos, std::size_t *end)
{
    const std::size_t nl = all.find('\n', pos);
    *end = (nl == std::string_view::npos) ? all.size() : nl + 1;
    std::size_t textEnd = (nl == std::string_view::npos) ? all.size() : nl;
    if (textEnd > pos && all[textEnd - 1] == '\r')
        --textEnd;
    return all.substr(pos, textEnd - pos);
}

// The section name of a header line, or nothing.
std::optional<std::string_view> sectionOf(std::string_view line)
{
    line = trimmed(line);
    if (line.empty() || line.front() != '[')
        return std::nullopt;
    const std::size_t close = line.find(']');
    if (close == std::string_view::npos)
        return trimmed(line.substr(1));
    return trimmed(line.substr(1, close - 1));
}

struct KeyValue {
    std::string_view key;
    std::string_view value;
};

std::optional<KeyValue> entryOf(std::string_view line)
{
    const std::string_view t = trimmed(line);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return KeyValue{trimmed(line.substr(0, eq)), trimmed(line.substr(eq + 1))};
}

// Cuts a value to kMaxValue bytes without splitting a double-byte character.
std::string capValue(std::string_view v)
{
    if (v.size() <= Profile::kMaxValue)
        return std::string(v);
    std::size_t i = 0;
    while (i < Profile::kMaxValue) {
        const std::size_t len = (static_cast<unsigned char>(v[i]) >= 127) ? 2 : 1;
        if (i + len > Profile::kMaxValue)
            break;
        i += len;
    }
    return std::string(v.substr(0, i));
}

// Hash of a name as namesEqual sees it: ASCII letters folded, double-byte
// characters taken as they are.
std::size_t nameHash(std::string_view s)
{
    std::uint64_t h = 14695981039346656037ull;
    auto mix = [&h](unsigned char b) { h = (h ^ b) * 1099511628211ull; };
    for (std::size_t i = 0; i < s.size();) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 127) {
            mix(b);
            if (i + 1 < s.size())
                mix(static_cast<unsigned char>(s[i + 1]));
            i += 2;
        } else {
            mix(static_cast<unsigned char>(asciiUpper(static_cast<char>(b))));
            ++i;
        }
    }
    return static_cast<std::size_t>(h);
}

std::size_t entryHash(std::uint32_t section, std::string_view key)
{
    return nameHash(key) ^ (static_cast<std::size_t>(section + 1) * 0x9E3779B97F4A7C15ull);
}

// Ends text's last line (a bare CR gets its LF) so that a line can follow.
void endLastLine(std::string &text)
{
    if (text.empty() || text.back() == '\n')
        return;
    text += text.back() == '\r' ? "\n" : "\r\n";
}

} // namespace

// ---- name table ----

template <typename Matches>
std::optional<std::uint32_t> ProfileIndex::NameTable::find(std::size_t hash, Matches matches) const
{
    if (m_slots.empty())
        return std::nullopt;
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot &s = m_slots[i];
        if (s.number == 0)
            return std::nullopt;
        if (s.hash == hash && matches(s.number - 1))
            return s.number - 1;
    }
}

void ProfileIndex::NameTable::add(std::size_t hash, std::uint32_t number)
{
    if ((m_used + 1) * 2 > m_slots.size()) {
        std::vector<Slot> old = std::move(m_slots);
        m_slots.assign(std::max<std::size_t>(16, old.size() * 2), Slot{});
        m_used = 0;
        for (const Slot &s : old)
            if (s.number != 0)
                add(s.hash, s.number - 1);
    }
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    while (m_slots[i].number != 0)
        i = (i + 1) & mask;
    m_slots[i] = {hash, number + 1};
    ++m_used;
}

void ProfileIndex::NameTable::clear()
{
    m_slots.clear();
    m_used = 0;
}

// ---- index ----

ProfileIndex::ProfileIndex(std::string content)
    : m_content(std::move(content))
{
    build();
}

void ProfileIndex::build()
{
    m_sections.clear();
    m_entries.clear();
    m_sectionTable.clear();
    m_entryTable.clear();
    const std::string_view all(m_content);
    // The section whose lines are being read; none before the first header and
    // inside a repeated section, which lookups never reach.
    std::optional<std::uint32_t> current;
    std::size_t end = 0;
    for (std::size_t pos = 0; pos < all.size(); pos = end) {
        const std::string_view line = lineAt(all, pos, &end);
        if (const auto name = sectionOf(line)) {
            current.reset();
            if (findSection(*name))
                continue;
            const auto number = static_cast<std::uint32_t>(m_sections.size());
            const Span span{static_cast<std::size_t>(name->data() - all.data()), name->size()};
            m_sections.push_back({span, end, end});
            m_sectionTable.add(nameHash(*name), number);
            current = number;
            continue;
        }
        if (!current)
            continue;
        if (!trimmed(line).empty())
            m_sections[*current].lastFilled = end;
        const auto kv = entryOf(line);
        if (!kv || findEntry(*current, kv->key) || m_entries.size() >= UINT32_MAX - 1)
            continue;
        const auto number = static_cast<std::uint32_t>(m_entries.size());
        const Span key{static_cast<std::size_t>(kv->key.data() - all.data()), kv->key.size()};
        m_entries.push_back({*current, key, pos, end});
        m_entryTable.add(entryHash(*current, kv->key), number);
    }
}

std::optional<std::uint32_t> ProfileIndex::findSection(std::string_view name) const
{
    return m_sectionTable.find(nameHash(name), [&](std::uint32_t n) {
        return Profile::namesEqual(text(m_sections[n].name), name);
    });
}

std::optional<std::uint32_t> ProfileIndex::findEntry(std::uint32_t section, std::string_view key) const
{
    return m_entryTable.find(entryHash(section, key), [&](std::uint32_t n) {
        const Entry &e = m_entries[n];
        return e.section == section && Profile::namesEqual(text(e.key), key);
    });
}

std::optional<std::string> ProfileIndex::value(std::string_view section, std::string_view key) const
{
    const auto s = findSection(section);
    const auto e = s ? findEntry(*s, key) : std::nullopt;
    if (!e)
        return std::nullopt;
    std::size_t end = 0;
    return capValue(entryOf(lineAt(m_content, m_entries[*e].lineBegin, &end))->value);
}

std::string ProfileIndex::readString(std::string_view section, std::string_view key, std::string_view def) const
{
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(def);
}

int ProfileIndex::readInteger(std::string_view section, std::string_view key, int def) const
{
    const auto v = value(section, key);
    return v ? Profile::parseInteger(*v).value_or(def) : def;
}

bool ProfileIndex::readBool(std::string_view section, std::string_view key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool ProfileIndex::hasSection(std::string_view section) const { return findSection(section).has_value(); }

void ProfileIndex::setValue(std::string_view section, std::string_view key, std::string_view value)
{
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append("\r\n");

    const auto s = findSection(section);
    if (!s) {
        endLastLine(m_content);
        m_content.append("[").append(section).append("]\r\n").append(line);
    } else if (const auto e = findEntry(*s, key)) {
        const Entry &old = m_entries[*e];
        m_content.replace(old.lineBegin, old.lineEnd - old.lineBegin, line);
    } else {
        // After the section's last non-blank line; that line is the file's last
        // when it has no line end.
        const std::size_t at = m_sections[*s].lastFilled;
        std::string tail = m_content.substr(at);
        m_content.resize(at);
        endLastLine(m_content);
        m_content.append(line).append(tail);
    }
    build();
}

// ---- Profile ----

bool Profile::namesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size();) {
        if (static_cast<unsigned char>(a[i]) >= 127) {
            // A double-byte character: both bytes exactly, whatever the second looks like.
            const std::size_t len = std::min<std::size_t>(2, a.size() - i);
            if (a.compare(i, len, b, i, len) != 0)
                return false;
            i += len;
        } else {
            if (asciiUpper(a[i]) != asciiUpper(b[i]))
                return false;
            ++i;
        }
    }
    return true;
}

std::optional<int> Profile::parseInteger(std::string_view text)
{
    std::string_view t = trimmed(text);
    bool negative = false;
    if (!t.empty() && (t.front() == '+' || t.front() == '-')) {
        negative = t.front() == '-';
        t.remove_prefix(1);
    }
    int base = 10;
    if (t.size() > 2 && t[0] == '0' && (t[1] == 'x' || t[1] == 'X')) {
        base = 16;
        t.remove_prefix(2);
    }
    if (t.empty())
        return std::nullopt;
    long long v = 0;
    for (char c : t) {
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return std::nullopt;
        v = v * base + d;
        // Hex values may use the full unsigned 32-bit range (colours such as 0x8000000F).
        if (v > (base == 16 ? 0xFFFFFFFFLL : static_cast<long long>(INT_MAX) + 1))
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (base == 16 && v > INT_MAX)
        v -= 0x100000000LL; // a 32-bit pattern, as the Windows reader gives it
    if (v > INT_MAX || v < INT_MIN)
        return std::nullopt;
    return static_cast<int>(v);
}

std::optional<std::string> Profile::lookup(std::string_view content, std::string_view section,
                                           std::string_view key)
{
    return ProfileIndex(std::string(content)).value(section, key);
}

std::string Profile::withEntry(std::string_view content, std::string_view section, std::string_view key,
                               std::string_view value)
{
    ProfileIndex index{std::string(content)};
    index.setValue(section, key, value);
    return index.bytes();
}

} // namespace vomra
