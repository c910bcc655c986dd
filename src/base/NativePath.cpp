#include "base/NativePath.h"

#include "base/Gbk.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace vomra {

namespace {

bool isValidUtf8(std::string_view s)
{
    return validUtf8(s) == s;
}

std::string partForDisplay(std::string_view part)
{
    if (isValidUtf8(part))
        return std::string(part);
    bool lossy = false;
    std::string decoded = gbk::toUtf8(part, &lossy);
    return lossy ? validUtf8(part) : decoded;
}

} // namespace

std::string validUtf8(std::string_view s)
{
    std::string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        unsigned cp = 0;
        if (b < 0x80) {
            out += s[i++];
            continue;
        }
        if (b >= 0xC2 && b <= 0xDF) {
            len = 2;
            cp = b & 0x1Fu;
        } else if (b >= 0xE0 && b <= 0xEF) {
            len = 3;
            cp = b & 0x0Fu;
        } else if (b >= 0xF0 && b <= 0xF4) {
            len = 4;
            cp = b & 0x07u;
        }
        bool ok = len != 0 && i + len <= s.size();
        for (std::size_t k = 1; ok && k < len; ++k) {
            const auto c = static_cast<unsigned char>(s[i + k]);
            ok = (c & 0xC0) == 0x80;
            cp = (cp << 6) | (c & 0x3Fu);
        }
        // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
        ok = ok && !(len == 3 && cp < 0x800) && !(len == 4 && (cp < 0x10000 || cp > 0x10FFFF)) &&
             !(cp >= 0xD800 && cp <= 0xDFFF);
        if (ok) {
            out.append(s.substr(i, len));
            i += len;
        } else {
            out += "\xEF\xBF\xBD";
            ++i;
        }
    }
    return out;
}

std::string nativeToDisplay(std::string_view native)
{
    std::string out;
    out.reserve(native.size());
    std::size_t start = 0;
    for (;;) {
        const std::size_t slash = native.find('/', start);
        out += partForDisplay(native.substr(start, slash == std::string_view::npos ? slash : slash - start));
        if (slash == std::string_view::npos)
            break;
        out += '/';
        start = slash + 1;
    }
    return out;
}

bool isRegularFile(const std::string &native)
{
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool isFolder(const std::string &native)
{
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool pathExists(const std::string &native)
{
    struct stat st {};
    return ::stat(native.c_str(), &st) == 0;
}

std::string lowerExtension(std::string_view native)
{
    const std::size_t slash = native.rfind('/');
    const std::string_view name = slash == std::string_view::npos ? native : native.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    std::string ext(dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1));
    for (char &c : ext)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return ext;
}

std::string realPathInside(const std::string &folder, const std::string &native)
{
    char realFolder[PATH_MAX];
    char real[PATH_MAX];
    if (!::realpath(folder.c_str(), realFolder) || !::realpath(native.c_str(), real))
        return {};
    const std::string inside = std::string(realFolder) + '/';
    const std::string path = real;
    return path.size() > inside.size() && path.starts_with(inside) ? path : std::string();
}

} // namespace vomra
