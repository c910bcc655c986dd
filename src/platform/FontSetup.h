#pragma once
// The Windows Song faces the program asks for are drawn with the Song-style face
// shipped with Debian, which carries embedded 11-16 px bitmaps. Called once by
// every executable after its QGuiApplication exists.

#include "glyph/GlyphDrawer.h"

#include <QString>

namespace vomra {

void installFontSubstitutes();

// The family the program calls "宋体" as this machine draws it.
QString songFamily();

} // namespace vomra
