// The picture grinder's kernel: pixels per second ("items_per_second") for a
// 1024 x 768 and a 4096 x 4096 picture of noisy gradients, with the start ramp
// and with transparency on (the per-pixel colour compare); also straight from
// 24- and 32-bit bitmap rows, bottom row first, as vomra-cli reads them.
#include "art/core/GrayRamp.h"
#include "art/core/Grind.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

vomra::RgbGrid makePicture(int width, int height)
{
    vomra::RgbGrid grid(width, height);
    std::uint32_t seed = 12345;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 28); // 0..15
            grid.set(x, y, vomra::rgb((x * 255 / width + noise) & 0xFF, (y * 255 / height) & 0xFF, (x + y + noise) & 0xFF));
        }
    }
    return grid;
}

void BM_Grind(benchmark::State &state)
{
    const vomra::RgbGrid picture = makePicture(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)));
    vomra::GrindOptions options;
    options.transparent = state.range(2) != 0;
    for (auto _ : state) {
        vomra::Lines rows = vomra::grind(picture.view(), vomra::kStartRamp, options);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * state.range(1));
}
BENCHMARK(BM_Grind)
    ->ArgNames({"w", "h", "transparent"})
    ->Args({1024, 768, 0})
    ->Args({1024, 768, 1})
    ->Args({4096, 4096, 0})
    ->Unit(benchmark::kMillisecond);

void BM_GrindBitmapRows(benchmark::State &state)
{
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    const int bytesPerPixel = static_cast<int>(state.range(2));
    const vomra::RgbGrid picture = makePicture(width, height);
    const std::ptrdiff_t stride = (static_cast<std::ptrdiff_t>(width) * bytesPerPixel + 3) / 4 * 4;
    std::vector<unsigned char> file(static_cast<std::size_t>(stride * height));
    for (int y = 0; y < height; ++y) {
        unsigned char *row = file.data() + (height - 1 - y) * stride; // bottom-up, like most bitmaps
        for (int x = 0; x < width; ++x)
            for (int i = 0; i < bytesPerPixel; ++i)
                row[x * bytesPerPixel + i] = static_cast<unsigned char>(picture.at(x, y) >> (8 * i));
    }
    const vomra::BgrView view{file.data() + (height - 1) * stride, width, height, -stride, bytesPerPixel};
    for (auto _ : state) {
        vomra::Lines rows = vomra::grind(view, vomra::kStartRamp);
        benchmark::DoNotOptimize(rows.data());
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(BM_GrindBitmapRows)
    ->ArgNames({"w", "h", "bytes"})
    ->Args({4000, 3000, 3})
    ->Args({4000, 3000, 4})
    ->Unit(benchmark::kMillisecond);

// With a progress callback per row, as the page and vomra-cli use it.
void BM_GrindWithProgress(benchmark::State &state)
{
    const vomra::RgbGrid picture = makePicture(1024, 768);
    int last = 0;
    vomra::GrindOptions options;
    options.onRow = [&last](int row, int) { last = row; };
    for (auto _ : state) {
        vomra::Lines rows = vomra::grind(picture.view(), vomra::kStartRamp, options);
        benchmark::DoNotOptimize(rows.data());
    }
    benchmark::DoNotOptimize(last);
    state.SetItemsProcessed(state.iterations() * 1024 * 768);
}
BENCHMARK(BM_GrindWithProgress)->Unit(benchmark::kMillisecond);

} // namespace
