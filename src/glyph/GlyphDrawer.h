#pragma once
// Draws a word the way the art font maker needs it, straight through FreeType and
// fontconfig so that the page and vomra-cli share it without Qt: black ink on a
// white grid of exactly the text extent. Sizes are points at 96 dpi, so a "宋体"
// 9 pt word is drawn with the Song stand-in's 12-pixel bitmap strike. Where the
// face has no strike the outline is drawn in one bit; bold and italic are made
// from the outline when the family has no such face, as the old Qt drawing did.

#include "base/InkGrid.h"

#include <memory>
#include <string>
#include <string_view>

namespace vomra {

// The Windows Song faces are drawn with the Song-style face Debian ships.
inline constexpr const char *kSongStandIn = "AR PL UMing CN";

// "宋体", "SimSun", "新宋体" and "NSimSun" (UTF-8) become the stand-in; other names stay.
std::string substituteFamily(std::string_view family);

struct GlyphStyle {
    std::string family; // UTF-8
    int pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
};

class GlyphDrawer
{
public:
    explicit GlyphDrawer(const GlyphStyle &style);
    ~GlyphDrawer();
    GlyphDrawer(const GlyphDrawer &) = delete;
    GlyphDrawer &operator=(const GlyphDrawer &) = delete;

    // round(pt * 96 / 72), as the classic desktop converts a point size.
    static int pixelSize(int points);

    // Advance of the UTF-8 text, in whole pixels.
    int textWidth(std::string_view utf8) const;
    // Ascent plus descent of the font, whatever the text.
    int textHeight() const;
    // textWidth(word) by textHeight(); a word of no width gives no columns but
    // still the font's rows.
    InkGrid inkGrid(std::string_view utf8) const;

    // The family actually drawn with (UTF-8), and whether the asked one, or its
    // stand-in, is installed.
    std::string resolvedFamily() const;
    bool familyInstalled() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

} // namespace vomra
