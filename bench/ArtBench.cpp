// One making of a four-character word at 72 pt (96 px glyphs) in each making mode:
// the whole making (drawing the word, reading its pixels, building the rows), and
// the modes alone on the drawn grid.
#include "art/ArtWithFont.h"
#include "platform/FontSetup.h"
#include "base/Gbk.h"
#include "platform/GlyphRenderer.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

namespace {

// Fonts need a QGuiApplication; one for the whole run, on the offscreen platform.
void ensureApp()
{
    if (QCoreApplication::instance())
        return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vomra_bench";
    static char *argv[] = {name, nullptr};
    static QGuiApplication *app = new QGuiApplication(argc, argv);
    (void)app;
    vomra::installFontSubstitutes();
}

vomra::ArtRequest request(vomra::MakeMode mode)
{
    return {vomra::gbk::fromUtf8("艺术字体"), vomra::gbk::fromUtf8("★☆"), "", mode};
}

const vomra::GlyphRenderer &renderer()
{
    ensureApp();
    static const vomra::GlyphRenderer r({QStringLiteral("宋体"), 72});
    return r;
}

void BM_ArtMakeWhole(benchmark::State &state)
{
    const vomra::ArtRequest req = request(static_cast<vomra::MakeMode>(state.range(0)));
    const vomra::GlyphRenderer &r = renderer();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto block = vomra::makeArtWithFont(r, req);
        bytes = 0;
        for (const std::string &row : *block)
            bytes += row.size();
        benchmark::DoNotOptimize(block);
    }
    state.counters["block_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ArtMakeWhole)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void BM_ArtRenderOnly(benchmark::State &state)
{
    const vomra::GlyphRenderer &r = renderer();
    const QString word = QStringLiteral("艺术字体");
    for (auto _ : state)
        benchmark::DoNotOptimize(r.inkGrid(word));
}
BENCHMARK(BM_ArtRenderOnly)->Unit(benchmark::kMicrosecond);

void BM_ArtModeOnGrid(benchmark::State &state)
{
    const vomra::ArtRequest req = request(static_cast<vomra::MakeMode>(state.range(0)));
    const vomra::GlyphRenderer &r = renderer();
    const vomra::InkGrid grid = r.inkGrid(QStringLiteral("艺术字体"));
    const vomra::CharWidth width = [](std::string_view) { return 96; };
    for (auto _ : state)
        benchmark::DoNotOptimize(vomra::makeArt(grid, req, width));
    state.counters["cells"] = static_cast<double>(grid.width()) * grid.height();
}
BENCHMARK(BM_ArtModeOnGrid)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A long word at 100 pt (133 px glyphs, above the glyph cache): drawing and reading
// its pixels should grow with the word's length, not with its square.
void BM_ArtRenderLongWord(benchmark::State &state)
{
    ensureApp();
    static const vomra::GlyphRenderer r({QStringLiteral("宋体"), 100});
    const QString word(static_cast<qsizetype>(state.range(0)), QChar(0x827A)); // "艺"
    for (auto _ : state)
        benchmark::DoNotOptimize(r.inkGrid(word));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ArtRenderLongWord)->ArgName("chars")->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
