#include <benchmark/benchmark.h>

#include "composition_bench.h"
#include "overlay/mouse_placement.h"

using namespace crinova;

namespace {

// The sample pictures at the main picture's size, 300 x 320.
struct SampleBench : test::CompositionBench {
    SampleBench() : CompositionBench(300, 320, test::TestProgramFolder::Samples) {}
};

}  // namespace

// One DibujarPelo over the sample pictures, files on a warm disk.
static void DibujarPeloSample(benchmark::State& state) {
    SampleBench bench;
    bench.state.posxpelo = 3;
    bench.state.anchopelo = 12;
    for (auto _ : state) {
        if (!DibujarPelo(bench.state, bench.buffers, bench.services)) {
            state.SkipWithError("composition failed");
            break;
        }
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DibujarPeloSample)->Unit(benchmark::kMicrosecond);

// The same with every picture drawn at its own size and place (exact, one to one).
static void DibujarPeloExact(benchmark::State& state) {
    SampleBench bench;
    for (auto _ : state) {
        if (!DibujarPelo(bench.state, bench.buffers, bench.services)) {
            state.SkipWithError("composition failed");
            break;
        }
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DibujarPeloExact)->Unit(benchmark::kMicrosecond);

// The same with every picture decoded again, for comparison.
static void DibujarPeloColdDecode(benchmark::State& state) {
    SampleBench bench;
    for (auto _ : state) {
        bench.pictures.clear();
        DibujarPelo(bench.state, bench.buffers, bench.services);
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DibujarPeloColdDecode)->Unit(benchmark::kMicrosecond);

// One drag preview frame (one mouse move): two stretch-copies, no file access.
static void DragPreviewFrame(benchmark::State& state) {
    SampleBench bench;
    DragState drag;
    fprincipal_MouseDown(DragTarget::Foto, 0, 0, bench.state, drag, bench.buffers, bench.services);
    int x = 0;
    for (auto _ : state) {
        fprincipal_MouseMove(x++ % 40, 3, bench.state, drag, bench.buffers);
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DragPreviewFrame)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
