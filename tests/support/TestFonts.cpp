// Every test program draws text with the suite's own fontconfig set-up
// (support/fonts.conf): the fonts the expected pixels were made with, whatever
// else the machine has installed. Set before main, so before Qt or the glyph
// drawer first asks fontconfig; a FONTCONFIG_FILE already set is kept (ctest
// sets this same file).
#include <cstdlib>

namespace {

[[maybe_unused]] const bool kTestFonts = [] { return ::setenv("FONTCONFIG_FILE", VOMRA_TEST_FONTS, 0) == 0; }();

} // namespace
