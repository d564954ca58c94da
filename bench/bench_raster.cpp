#include <benchmark/benchmark.h>

#include "platform/raster.h"

using namespace crinova;

// A full 300 x 320 frame, one to one and mirrored, for each raster operation.
static void StretchBltFullFrame(benchmark::State& state) {
    const auto op = static_cast<RasterOp>(state.range(0));
    const bool mirrored = state.range(1) != 0;
    Surface dest(300, 320);
    Surface source(300, 320, 0x00336699);
    for (auto _ : state) {
        StretchBlt(dest, mirrored ? 300 : 0, 0, mirrored ? -300 : 300, 320, source, 0, 0, 300, 320,
                   op);
        benchmark::DoNotOptimize(dest.image().constBits());
    }
}
BENCHMARK(StretchBltFullFrame)
    ->ArgsProduct({{SRCCOPY, SRCAND, SRCINVERT}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// Enlarged by 20 pixels each way, as a zoomed hair is drawn.
static void StretchBltEnlarged(benchmark::State& state) {
    Surface dest(300, 320);
    Surface source(300, 320, 0x00336699);
    for (auto _ : state) {
        StretchBlt(dest, -10, -10, 320, 340, source, 0, 0, 300, 320, SRCINVERT);
        benchmark::DoNotOptimize(dest.image().constBits());
    }
}
BENCHMARK(StretchBltEnlarged)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
