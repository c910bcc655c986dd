// The reference drawer draws a word a few glyphs at a time; for any word, font,
// size and style the pixels must be those of the whole word drawn in one call.
// Input: family, size and style bytes, then the word in GBK.

#include "platform/FontSetup.h"
#include "platform/GbkQt.h"
#include "support/QtGlyphReference.h"
#include "support/OneCallRender.h"

#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

using namespace vomra;
using namespace vomra::test;

// The application and the font caches live until exit on purpose; what fontconfig
// keeps is no finding of this harness.
extern "C" const char *__asan_default_options() { return "detect_leaks=0"; }

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "glyph_fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    (void)app;
    installFontSubstitutes();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3 || size > 64)
        return 0;
    static const QString families[] = {QStringLiteral("宋体"), QStringLiteral("DejaVu Sans"),
                                       QStringLiteral("DejaVu Serif"), QStringLiteral("Z003")};
    const GlyphFont font{families[data[0] % 4], 6 + data[1] % 95, (data[2] & 1) != 0, (data[2] & 2) != 0,
                         (data[2] & 4) != 0};
    const QString word = gbk::toQString(std::string_view(reinterpret_cast<const char *>(data) + 3, size - 3));
    const QtGlyphReference renderer(font);
    if (renderer.render(word) != test::renderInOneCall(renderer, word, font.underline)) {
        std::fprintf(stderr, "glyph_fuzz: pieces differ from one call (%d pt)\n", font.pointSize);
        std::abort();
    }
    return 0;
}
