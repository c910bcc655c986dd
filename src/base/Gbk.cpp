#include "base/Gbk.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace vomra::gbk {

namespace {

class Converter {
public:
    Converter(const char *to, const char *from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert from ") + from + " to " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    // Converts everything; an unconvertible or malformed input sequence is skipped
    // (one byte, or the whole UTF-8 character) and "?" is written in its place.
    std::string run(std::string_view in, bool utf8Input, bool *lossy)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        std::string out;
        // GBK never takes more bytes than UTF-8 for the same text, UTF-8 at most
        // half as many again as GBK.
        out.reserve(utf8Input ? in.size() : in.size() + in.size() / 2);
        char buf[4096];
        char *src = const_cast<char *>(in.data());
        std::size_t left = in.size();
        bool lost = false;
        while (left > 0) {
            char *dst = buf;
            std::size_t room = sizeof buf;
            const std::size_t rc = iconv(m_cd, &src, &left, &dst, &room);
            out.append(buf, static_cast<std::size_t>(dst - buf));
            if (rc != static_cast<std::size_t>(-1))
                continue;
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (truncated sequence at the end): replace and skip.
            lost = true;
            out += '?';
            std::size_t skip = 1;
            const auto next = left > 1 ? static_cast<unsigned char>(src[1]) : 0;
            if (!utf8Input && static_cast<unsigned char>(*src) >= 0x81 && static_cast<unsigned char>(*src) <= 0xFE
                && next >= 0x40 && next <= 0xFE && next != 0x7F) {
                // A lead and a trail byte GBK has no character for are one unknown
                // character: reading the trail byte as a new lead would garble what follows.
                skip = 2;
            } else if (utf8Input) {
                const auto lead = static_cast<unsigned char>(*src);
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
                // Never skip past a byte that starts a new character.
                for (std::size_t k = 1; k < skip; ++k) {
                    if (k >= left || (static_cast<unsigned char>(src[k]) & 0xC0) != 0x80) {
                        skip = k;
                        break;
                    }
                }
            }
            skip = std::min(skip, left);
            src += skip;
            left -= skip;
        }
        if (lossy)
            *lossy = lost;
        return out;
    }

private:
    iconv_t m_cd;
};

// Where the next tag character (U+E0000 to U+E007F, F3 A0 80 80 to F3 A0 81 BF)
// starts, from byte from on; npos when there is none.
std::size_t findTag(std::string_view utf8, std::size_t from)
{
    for (std::size_t i = utf8.find('\xF3', from); i != std::string_view::npos; i = utf8.find('\xF3', i + 1)) {
        if (i + 3 < utf8.size() && utf8[i + 1] == '\xA0' && (utf8[i + 2] == '\x80' || utf8[i + 2] == '\x81')
            && (static_cast<unsigned char>(utf8[i + 3]) & 0xC0) == 0x80)
            return i;
    }
    return std::string_view::npos;
}

} // namespace

std::string fromUtf8(std::string_view utf8, bool *lossy)
{
    thread_local Converter conv("CP936", "UTF-8");
    std::size_t tag = findTag(utf8, 0);
    if (tag == std::string_view::npos)
        return conv.run(utf8, true, lossy);
    // iconv drops tag characters without a word. GBK has none, so each is lost
    // like any other character GBK lacks: a "?" and the loss told.
    std::string out;
    for (std::size_t from = 0;; tag = findTag(utf8, from)) {
        const std::size_t end = tag == std::string_view::npos ? utf8.size() : tag;
        out += conv.run(utf8.substr(from, end - from), true, nullptr);
        if (tag == std::string_view::npos)
            break;
        out += '?';
        from = tag + 4;
    }
    if (lossy)
        *lossy = true;
    return out;
}

std::string toUtf8(std::string_view gbk, bool *lossy)
{
    thread_local Converter conv("UTF-8", "CP936");
    return conv.run(gbk, false, lossy);
}

} // namespace vomra::gbk
