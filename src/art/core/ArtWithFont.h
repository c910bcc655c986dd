#pragma once
// A word drawn in a font and made into art in one go: the glue between the
// glyph drawer and the making modes, shared by the page and vomra-cli.

#include "art/core/ArtMaker.h"
#include "glyph/GlyphDrawer.h"

#include <optional>

namespace vomra {

// One whole making: draws request.word (GBK) in font, runs the checked making mode.
// No value only for the follow mode's empty word.
std::optional<Lines> makeArtWithFont(const GlyphDrawer &drawer, const ArtRequest &request);

} // namespace vomra
