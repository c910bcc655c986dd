// One making of a four-character word at 72 pt (96 px glyphs) in each making mode:
// the whole making (drawing the word, reading its pixels, building the rows), and
// the modes alone on the drawn grid.
#include "art/core/ArtWithFont.h"
#include "base/Gbk.h"
#include "glyph/GlyphDrawer.h"

#include <benchmark/benchmark.h>

namespace {

vomra::ArtRequest request(vomra::MakeMode mode)
{
    return {vomra::gbk::fromUtf8("艺术字体"), vomra::gbk::fromUtf8("★☆"), "", mode};
}

const vomra::GlyphDrawer &drawer()
{
    static const vomra::GlyphDrawer d({"宋体", 72});
    return d;
}

void BM_ArtMakeWhole(benchmark::State &state)
{
    const vomra::ArtRequest req = request(static_cast<vomra::MakeMode>(state.range(0)));
    const vomra::GlyphDrawer &d = drawer();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const auto block = vomra::makeArtWithFont(d, req);
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
    const vomra::GlyphDrawer &d = drawer();
    for (auto _ : state)
        benchmark::DoNotOptimize(d.inkGrid("艺术字体"));
}
BENCHMARK(BM_ArtRenderOnly)->Unit(benchmark::kMicrosecond);

void BM_ArtModeOnGrid(benchmark::State &state)
{
    const vomra::ArtRequest req = request(static_cast<vomra::MakeMode>(state.range(0)));
    const vomra::InkGrid grid = drawer().inkGrid("艺术字体");
    const vomra::CharWidth width = [](std::string_view) { return 96; };
    for (auto _ : state)
        benchmark::DoNotOptimize(vomra::makeArt(grid, req, width));
    state.counters["cells"] = static_cast<double>(grid.width()) * grid.height();
}
BENCHMARK(BM_ArtModeOnGrid)->ArgName("mode")->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// A long word at 100 pt (133 px glyphs): drawing should grow with the word's
// length, not with its square.
void BM_ArtRenderLongWord(benchmark::State &state)
{
    static const vomra::GlyphDrawer d({"宋体", 100});
    std::string word;
    for (int64_t i = 0; i < state.range(0); ++i)
        word += "艺";
    for (auto _ : state)
        benchmark::DoNotOptimize(d.inkGrid(word));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ArtRenderLongWord)->ArgName("chars")->Arg(250)->Arg(500)->Arg(1000)->Unit(benchmark::kMillisecond);

} // namespace
