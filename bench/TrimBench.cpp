// The two trims over 10,000 lines of 640 bytes: mixed single- and double-byte
// characters with blank margins of varying width, as a drawing board copy gives.
#include "base/TextLines.h"

#include <benchmark/benchmark.h>

namespace {

vomra::Lines makeLines()
{
    vomra::Lines lines;
    lines.reserve(10000);
    for (int i = 0; i < 10000; ++i) {
        std::string line;
        const int margin = 4 + i % 7;
        for (int k = 0; k < margin; ++k)
            line += (k % 2) ? "\xA1\xA1" : " ";
        while (line.size() < 600)
            line += (line.size() % 3) ? "\xA1\xEF" : "a"; // "★" and ASCII
        while (line.size() < 640)
            line += (line.size() % 2) ? " " : "\xA1\xA1";
        line.resize(640);
        lines.push_back(std::move(line));
    }
    return lines;
}

void BM_TrimLeftMargin(benchmark::State &state)
{
    const vomra::Lines source = makeLines();
    for (auto _ : state) {
        state.PauseTiming();
        vomra::Lines lines = source;
        state.ResumeTiming();
        vomra::trimLeftMargin(lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * 10000 * 640);
}
BENCHMARK(BM_TrimLeftMargin)->Unit(benchmark::kMillisecond);

void BM_TrimTrailingBlanks(benchmark::State &state)
{
    const vomra::Lines source = makeLines();
    for (auto _ : state) {
        state.PauseTiming();
        vomra::Lines lines = source;
        state.ResumeTiming();
        vomra::trimTrailingBlanks(lines);
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * 10000 * 640);
}
BENCHMARK(BM_TrimTrailingBlanks)->Unit(benchmark::kMillisecond);

// The baseline: one byte-by-byte copy of the same text, to read the trims against.
void BM_CopyLinesBaseline(benchmark::State &state)
{
    const vomra::Lines source = makeLines();
    for (auto _ : state) {
        vomra::Lines lines = source;
        benchmark::DoNotOptimize(lines.data());
    }
    state.SetBytesProcessed(state.iterations() * 10000 * 640);
}
BENCHMARK(BM_CopyLinesBaseline)->Unit(benchmark::kMillisecond);

} // namespace
