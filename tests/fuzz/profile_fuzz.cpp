// Profile files against a plain reference: every lookup of the index must give
// what a line-by-line reading of the text gives; a write must read back as the
// written value and leave every other entry as it was.
// Input: a section, a key and a value (each a length-prefixed piece), then the
// file's text.

#include "base/Profile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using namespace vomra;

namespace {

[[noreturn]] void fail(const char *what, std::string_view section, std::string_view key)
{
    std::fprintf(stderr, "profile_fuzz: %s (section %zu bytes, key %zu bytes)\n", what, section.size(), key.size());
    std::abort();
}

std::string_view trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// A name as lookups see it: ASCII letters in upper case, each double-byte
// character (a byte of 127 or more and the byte after it) as it is.
std::string folded(std::string_view s)
{
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b >= 127) {
            out += static_cast<char>(b);
            if (i + 1 < s.size())
                out += s[++i];
            out += '\x01'; // keeps "\x81A" + "b" apart from "\x81" + "Ab"
        } else {
            out += static_cast<char>(b >= 'a' && b <= 'z' ? b - 32 : b);
        }
    }
    return out;
}

bool same(std::string_view a, std::string_view b) { return folded(a) == folded(b); }

// Whole characters up to the value limit.
std::string capped(std::string_view v)
{
    std::string out;
    for (std::size_t i = 0; i < v.size();) {
        const std::size_t len = (static_cast<unsigned char>(v[i]) >= 127 && i + 1 < v.size()) ? 2 : 1;
        if (out.size() + len > Profile::kMaxValue)
            break;
        out.append(v.substr(i, len));
        i += len;
    }
    return out;
}

struct Line {
    bool header = false;
    std::string_view name; // section name, or key
    std::string_view value;
    bool entry = false;
};

std::vector<Line> parse(std::string_view text)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t nl = text.find('\n', pos);
        std::size_t end = nl == std::string_view::npos ? text.size() : nl;
        const std::size_t next = nl == std::string_view::npos ? text.size() : nl + 1;
        if (end > pos && text[end - 1] == '\r')
            --end;
        const std::string_view raw = text.substr(pos, end - pos);
        pos = next;
        Line l;
        const std::string_view t = trim(raw);
        if (!t.empty() && t.front() == '[') {
            l.header = true;
            const std::size_t close = t.find(']');
            l.name = trim(close == std::string_view::npos ? t.substr(1) : t.substr(1, close - 1));
        } else if (!t.empty() && t.front() != ';' && raw.find('=') != std::string_view::npos) {
            const std::size_t eq = raw.find('=');
            l.entry = true;
            l.name = trim(raw.substr(0, eq));
            l.value = trim(raw.substr(eq + 1));
        }
        lines.push_back(l);
    }
    return lines;
}

std::optional<std::string> reference(std::string_view text, std::string_view section, std::string_view key)
{
    bool inside = false;
    bool seen = false;
    for (const Line &l : parse(text)) {
        if (l.header) {
            if (inside)
                return std::nullopt;
            inside = !seen && same(l.name, section);
            seen = seen || inside;
        } else if (inside && l.entry && same(l.name, key)) {
            return capped(l.value);
        }
    }
    return std::nullopt;
}

// Every section and key name of the text, with the case of some letters turned.
std::vector<std::pair<std::string, std::string>> namesOf(std::string_view text, unsigned flip)
{
    std::vector<std::pair<std::string, std::string>> names;
    std::string section;
    for (const Line &l : parse(text)) {
        if (l.header)
            section = l.name;
        else if (l.entry)
            names.emplace_back(section, l.name);
    }
    for (auto &[s, k] : names)
        for (std::string *name : {&s, &k})
            for (std::size_t i = 0; i < name->size(); ++i)
                if (((flip >> (i % 8)) & 1) && std::isalpha(static_cast<unsigned char>((*name)[i])))
                    (*name)[i] = static_cast<char>((*name)[i] ^ 0x20);
    return names;
}

std::string without(std::string s, std::string_view bytes)
{
    std::string out;
    for (char c : s)
        if (bytes.find(c) == std::string_view::npos)
            out += c;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(64);
    const std::string key = in.ConsumeRandomLengthString(64);
    const std::string value = in.ConsumeRandomLengthString(3000);
    const unsigned flip = in.ConsumeIntegral<unsigned char>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    if (Profile::namesEqual(section, key) != same(section, key))
        fail("namesEqual disagrees with the reference", section, key);

    // Lookups: the fuzzer's own names and every name in the text.
    const ProfileIndex index(text);
    auto queries = namesOf(text, flip);
    queries.emplace_back(section, key);
    for (const auto &[s, k] : queries)
        if (index.value(s, k) != reference(text, s, k))
            fail("lookup differs from the reference", s, k);

    // A write of names the file format can hold.
    std::string s = std::string(trim(without(section, "\r\n]")));
    std::string k = std::string(trim(without(key, "\r\n=")));
    if (!k.empty() && (k.front() == ';' || k.front() == '['))
        k.insert(0, "k");
    const std::string v = without(value, "\r\n");
    ProfileIndex written(text);
    written.setValue(s, k, v);
    const std::string &after = written.bytes();
    if (written.value(s, k) != capped(trim(v)) || reference(after, s, k) != capped(trim(v)))
        fail("a written value does not read back", s, k);
    if (after != Profile::withEntry(text, s, k, v))
        fail("withEntry and setValue differ", s, k);
    for (const auto &[os, ok] : namesOf(text, 0)) {
        if (same(os, s) && same(ok, k))
            continue;
        if (reference(after, os, ok) != reference(text, os, ok) || written.value(os, ok) != index.value(os, ok))
            fail("a write changed another entry", os, ok);
    }
    return 0;
}
