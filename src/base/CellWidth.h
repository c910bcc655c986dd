#pragma once
// How many terminal or chat-font cells a character takes, by Unicode's East
// Asian Width: wide and full-width characters two, most others one, combining
// marks none, and the ambiguous ones (■ ● ★ ○ …) one in Western fonts but two in
// Chinese ones. A picture lines up everywhere only if it lines up both ways.

#include <string>
#include <string_view>
#include <vector>

namespace vomra::cells {

enum class Kind { Zero, Narrow, Wide, Ambiguous };

Kind kindOf(char32_t c);

// UTF-8 to code points; a malformed sequence becomes U+FFFD.
std::u32string decodeUtf8(std::string_view utf8);
std::string encodeUtf8(std::u32string_view text);

struct LineCells {
    int narrow = 0; // ambiguous characters counted as one cell
    int wide = 0;   // ... and as two
    std::u32string ambiguous; // the ambiguous characters met, in order, each once
};

LineCells measure(std::u32string_view line);

// A stand-in for an ambiguous character that keeps its two cells of a Chinese
// font in both counts: a full-width character of like shape, or two narrow
// characters. Empty when none is known.
std::u32string fullWidthFor(char32_t c);
std::u32string narrowPairFor(char32_t c);

// The line with every ambiguous character that has a stand-in replaced by it
// (full-width ones, or pairs of narrow ones when `narrow`).
std::u32string replaceAmbiguous(std::u32string_view line, bool narrow);

// Whether text mixes ambiguous characters with wide ones, the case that skews
// a picture in a Western font; lists the ambiguous characters (each once).
struct Mix {
    bool mixed = false;
    std::u32string ambiguous;
};
Mix ambiguousMix(std::u32string_view text);

} // namespace vomra::cells
