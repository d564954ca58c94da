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

// One blended DibujarPelo ("Difuminar Cabello") over the sample pictures, at the hair's natural
// size and at double size; the prepared hair is kept from the first call, as after a drag.
static void DibujarPeloBlended(benchmark::State& state) {
    SampleBench bench;
    bench.state.difuminar = true;
    const int factor = static_cast<int>(state.range(0));
    bench.state.anchopelo = static_cast<std::int16_t>(300 * (factor - 1));
    bench.state.altopelo = static_cast<std::int16_t>(320 * (factor - 1));
    bench.state.posxpelo = static_cast<std::int16_t>(-75 * (factor - 1));
    for (auto _ : state) {
        if (!DibujarPelo(bench.state, bench.buffers, bench.services)) {
            state.SkipWithError("composition failed");
            break;
        }
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DibujarPeloBlended)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Preparing the blended hair once (a new sample or a new size): coverage, feather, colours.
static void BlendPreparation(benchmark::State& state) {
    SampleBench bench;
    const QImage mask = loadPicture(bench.folder.path(QStringLiteral("\\mpelo2.jpg"))).picture;
    const QImage hair = loadPicture(bench.folder.path(QStringLiteral("\\pelo2.jpg"))).picture;
    const int factor = static_cast<int>(state.range(0));
    for (auto _ : state) {
        BlendCache cache;
        benchmark::DoNotOptimize(cache.prepare(mask, hair, QSize(300, 320), kWindowBackground, 0, 0,
                                               300 * factor, 320 * factor, QSize(300, 320)));
    }
}
BENCHMARK(BlendPreparation)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// One exact (AND/XOR) DibujarPelo with every picture drawn at its own size and place.
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
    beginDrag(DragTarget::Foto, 0, 0, bench.state, drag, bench.buffers, bench.services);
    int x = 0;
    for (auto _ : state) {
        dragTo(x++ % 40, 3, bench.state, drag, bench.buffers);
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DragPreviewFrame)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
