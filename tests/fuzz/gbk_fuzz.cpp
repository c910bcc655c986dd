// The GBK codec against a piecewise reference: a whole string must convert exactly
// as its characters do one at a time (so buffer refills, converter state and the
// skipping of bad bytes cannot change a result), and what converts without loss
// must convert back to the very same bytes. The input is read both as GBK and as
// UTF-8, and clean text once more repeated past the converter's 4 KB output buffer.
// The input is handed over as a view of libFuzzer's exactly sized buffer, so a
// read past its end is an AddressSanitizer report.

#include "base/Gbk.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unordered_map>

using namespace vomra;

namespace {

struct Piece {
    std::string text;
    bool lost = false;
};

[[noreturn]] void fail(const char *what, std::string_view input)
{
    std::fprintf(stderr, "gbk_fuzz: %s; input (%zu bytes):", what, input.size());
    for (std::size_t i = 0; i < input.size() && i < 64; ++i)
        std::fprintf(stderr, " %02x", static_cast<unsigned char>(input[i]));
    std::fprintf(stderr, "\n");
    std::abort();
}

bool isTrail(unsigned char c) { return c >= 0x40 && c <= 0xFE && c != 0x7F; }
bool isLead(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

Piece decodeOne(std::string_view unit)
{
    Piece p;
    p.text = gbk::toUtf8(unit, &p.lost);
    if (p.lost)
        p.text = "?";
    return p;
}

// Every one- and two-byte GBK unit, decoded alone.
struct DecodeTable {
    std::array<Piece, 256> single;
    std::array<Piece, 256 * 256> pair;
    DecodeTable()
    {
        for (int b = 0; b < 256; ++b)
            single[b] = decodeOne(std::string(1, static_cast<char>(b)));
        for (int lead = 0x81; lead <= 0xFE; ++lead)
            for (int trail = 0x40; trail <= 0xFE; ++trail)
                if (trail != 0x7F)
                    pair[lead * 256 + trail] = decodeOne(std::string{static_cast<char>(lead), static_cast<char>(trail)});
    }
};

// A lead byte and a byte of the trail range form one character (a "?" when GBK has
// none there); any other byte stands alone.
Piece referenceDecode(std::string_view gbkText)
{
    static const DecodeTable table;
    Piece out;
    for (std::size_t i = 0; i < gbkText.size();) {
        const auto b = static_cast<unsigned char>(gbkText[i]);
        const Piece *p;
        if (isLead(b) && i + 1 < gbkText.size() && isTrail(static_cast<unsigned char>(gbkText[i + 1]))) {
            p = &table.pair[b * 256 + static_cast<unsigned char>(gbkText[i + 1])];
            i += 2;
        } else {
            p = &table.single[b];
            i += 1;
        }
        out.text += p->text;
        out.lost = out.lost || p->lost;
    }
    return out;
}

// Length of the well-formed UTF-8 character at s[i], or 0 (overlong forms,
// surrogates and code points above U+10FFFF are not well formed).
std::size_t utf8Length(std::string_view s, std::size_t i)
{
    const auto c0 = static_cast<unsigned char>(s[i]);
    if (c0 < 0x80)
        return 1;
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c0 >= 0xC2 && c0 <= 0xDF)
        len = 2;
    else if (c0 >= 0xE0 && c0 <= 0xEF) {
        len = 3;
        if (c0 == 0xE0)
            lo = 0xA0;
        if (c0 == 0xED)
            hi = 0x9F;
    } else if (c0 >= 0xF0 && c0 <= 0xF4) {
        len = 4;
        if (c0 == 0xF0)
            lo = 0x90;
        if (c0 == 0xF4)
            hi = 0x8F;
    } else
        return 0;
    if (i + len > s.size())
        return 0;
    const auto c1 = static_cast<unsigned char>(s[i + 1]);
    if (c1 < lo || c1 > hi)
        return 0;
    for (std::size_t k = 2; k < len; ++k)
        if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80)
            return 0;
    return len;
}

bool isUtf8(std::string_view s)
{
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t len = utf8Length(s, i);
        if (len == 0)
            return false;
        i += len;
    }
    return true;
}

// Well-formed characters convert one at a time; a malformed sequence is one "?"
// covering the bytes its lead byte claims, up to the first byte that is no
// continuation byte.
Piece referenceEncode(std::string_view utf8)
{
    static std::unordered_map<std::string, Piece> cache;
    Piece out;
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t len = utf8Length(utf8, i);
        if (len > 0) {
            const std::string ch(utf8.substr(i, len));
            auto it = cache.find(ch);
            if (it == cache.end()) {
                Piece p;
                p.text = gbk::fromUtf8(ch, &p.lost);
                if (p.lost && p.text != "?")
                    fail("one unmappable character did not become one \"?\"", ch);
                it = cache.emplace(ch, p).first;
            }
            out.text += it->second.text;
            out.lost = out.lost || it->second.lost;
        } else {
            const auto lead = static_cast<unsigned char>(utf8[i]);
            len = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            std::size_t k = 1;
            while (k < len && i + k < utf8.size() && (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80)
                ++k;
            len = k;
            out.text += '?';
            out.lost = true;
        }
        i += len;
    }
    return out;
}

// Returns whether the input decoded without loss.
bool checkDecode(std::string_view input)
{
    bool lost = false;
    const std::string utf8 = gbk::toUtf8(input, &lost);
    const Piece ref = referenceDecode(input);
    if (utf8 != ref.text)
        fail("GBK decoding differs from decoding character by character", input);
    if (lost != ref.lost)
        fail("GBK decoding reports loss wrongly", input);
    if (!isUtf8(utf8))
        fail("GBK decoding made malformed UTF-8", input);
    bool lostBack = true;
    const std::string back = gbk::fromUtf8(utf8, &lostBack);
    if (!lost && (back != input || lostBack))
        fail("lossless GBK does not survive decode and encode", input);
    if (lost && lostBack)
        fail("decoded text does not encode again", input);
    return !lost;
}

bool checkEncode(std::string_view input)
{
    bool lost = false;
    const std::string g = gbk::fromUtf8(input, &lost);
    const Piece ref = referenceEncode(input);
    if (g != ref.text)
        fail("UTF-8 encoding differs from encoding character by character", input);
    if (lost != ref.lost)
        fail("UTF-8 encoding reports loss wrongly", input);
    bool lostBack = true;
    const std::string back = gbk::toUtf8(g, &lostBack);
    if (lostBack)
        fail("encoded GBK does not decode", input);
    if (!lost && back != input)
        fail("lossless UTF-8 does not survive encode and decode", input);
    return !lost;
}

std::string repeatedPast(std::string_view input, std::size_t size)
{
    std::string out;
    while (out.size() < size)
        out += input;
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string_view input(reinterpret_cast<const char *>(data), size);
    const bool gbkClean = checkDecode(input);
    const bool utf8Clean = checkEncode(input);
    // Clean text repeated across the output buffer's refills (bad bytes take another
    // path, one converter call per error, and cost too much time to repeat).
    if (size > 0 && size < 5000) {
        if (gbkClean)
            checkDecode(repeatedPast(input, 5000));
        if (utf8Clean)
            checkEncode(repeatedPast(input, 5000));
    }
    return 0;
}
