#include "platform/Profile.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// One physical line: its text without the line end, and where it starts and ends
// (end includes the line end, if any).
struct Line {
    std::string_view text;
    std::size_t begin;
    std::size_t end;
};

std::vector<Line> splitKeepingEnds(std::string_view content)
{
    std::vector<Line> lines;
    std::size_t pos = 0;
    while (pos < content.size()) {
        std::size_t nl = content.find('\n', pos);
        const std::size_t end = (nl == std::string_view::npos) ? content.size() : nl + 1;
        std::size_t textEnd = (nl == std::string_view::npos) ? content.size() : nl;
        if (textEnd > pos && content[textEnd - 1] == '\r')
            --textEnd;
        lines.push_back({content.substr(pos, textEnd - pos), pos, end});
        pos = end;
    }
    return lines;
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

struct Entry {
    std::string_view key;
    std::string_view value;
};

std::optional<Entry> entryOf(std::string_view line)
{
    const std::string_view t = trimmed(line);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return std::nullopt;
    return Entry{trimmed(line.substr(0, eq)), trimmed(line.substr(eq + 1))};
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

std::string folderOf(const std::string &path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

bool Profile::namesEqual(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (asciiUpper(a[i]) != asciiUpper(b[i]))
            return false;
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
    bool inSection = false;
    bool seenSection = false;
    for (const Line &line : splitKeepingEnds(content)) {
        if (auto name = sectionOf(line.text)) {
            if (inSection)
                return std::nullopt; // only the first section of that name counts
            inSection = namesEqual(*name, section) && !seenSection;
            seenSection = seenSection || inSection;
            continue;
        }
        if (!inSection)
            continue;
        if (auto e = entryOf(line.text); e && namesEqual(e->key, key))
            return capValue(e->value);
    }
    return std::nullopt;
}

std::string Profile::withEntry(std::string_view content, std::string_view section,
                               std::string_view key, std::string_view value)
{
    std::string newLine;
    newLine.reserve(key.size() + value.size() + 3);
    newLine.append(key).append("=").append(value).append("\r\n");
    const std::vector<Line> lines = splitKeepingEnds(content);

    std::size_t sectionLine = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto name = sectionOf(lines[i].text); name && namesEqual(*name, section)) {
            sectionLine = i;
            break;
        }
    }

    std::string out;
    auto endsWithNewline = [](std::string_view s) { return s.empty() || s.back() == '\n'; };

    if (sectionLine == lines.size()) {
        out.assign(content);
        if (!endsWithNewline(out))
            out += "\r\n";
        out.append("[").append(section).append("]\r\n").append(newLine);
        return out;
    }

    // Inside the section: replace the first matching key, or insert after its last
    // non-blank line.
    std::size_t lastFilled = sectionLine;
    for (std::size_t i = sectionLine + 1; i < lines.size(); ++i) {
        if (sectionOf(lines[i].text))
            break;
        if (auto e = entryOf(lines[i].text); e && namesEqual(e->key, key)) {
            out.assign(content.substr(0, lines[i].begin));
            out += newLine;
            out.append(content.substr(lines[i].end));
            return out;
        }
        if (!trimmed(lines[i].text).empty())
            lastFilled = i;
    }
    const std::size_t at = lines[lastFilled].end;
    out.assign(content.substr(0, at));
    if (!endsWithNewline(out))
        out += "\r\n";
    out += newLine;
    out.append(content.substr(at));
    return out;
}

std::optional<std::string> Profile::value(std::string_view section, std::string_view key) const
{
    const auto content = readFileBytes(m_path);
    if (!content)
        return std::nullopt;
    return lookup(*content, section, key);
}

std::string Profile::readString(std::string_view section, std::string_view key,
                                std::string_view def) const
{
    auto v = value(section, key);
    return v ? std::move(*v) : std::string(def);
}

int Profile::readInteger(std::string_view section, std::string_view key, int def) const
{
    const auto v = value(section, key);
    if (!v)
        return def;
    return parseInteger(*v).value_or(def);
}

bool Profile::readBool(std::string_view section, std::string_view key, bool def) const
{
    return readInteger(section, key, def ? 1 : 0) != 0;
}

bool Profile::writeString(std::string_view section, std::string_view key, std::string_view value,
                          std::string *error) const
{
    const std::string old = readFileBytes(m_path).value_or(std::string());
    return writeFileAtomically(m_path, withEntry(old, section, key, value), error);
}

bool Profile::writeInteger(std::string_view section, std::string_view key, int value,
                           std::string *error) const
{
    return writeString(section, key, std::to_string(value), error);
}

bool Profile::writeBool(std::string_view section, std::string_view key, bool value,
                        std::string *error) const
{
    return writeString(section, key, value ? "1" : "0", error);
}

std::optional<std::string> readFileBytes(const std::string &path)
{
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f)
        return std::nullopt;
    std::string data;
    char buf[65536];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0)
        data.append(buf, n);
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed)
        return std::nullopt;
    return data;
}

bool writeFileAtomically(const std::string &path, std::string_view bytes, std::string *error)
{
    auto fail = [&](int err) {
        if (error)
            *error = "cannot write " + path + ": " + std::strerror(err);
        return false;
    };

    std::string tmp = folderOf(path) + "/.vomra-XXXXXX";
    const int fd = mkstemp(tmp.data());
    if (fd < 0)
        return fail(errno);

    struct stat st {};
    const mode_t mode = (::stat(path.c_str(), &st) == 0) ? (st.st_mode & 07777) : 0644;

    const char *p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t w = ::write(fd, p, left);
        if (w < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            ::close(fd);
            ::unlink(tmp.c_str());
            return fail(err);
        }
        p += w;
        left -= static_cast<std::size_t>(w);
    }
    if (::fchmod(fd, mode) != 0 || ::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(tmp.c_str());
        return fail(err);
    }
    if (::close(fd) != 0 || ::rename(tmp.c_str(), path.c_str()) != 0) {
        const int err = errno;
        ::unlink(tmp.c_str());
        return fail(err);
    }
    return true;
}

} // namespace vomra
