#include <benchmark/benchmark.h>

#include "composition_bench.h"
#include "overlay/hair_colour.h"

using namespace crinova;

namespace {

struct ColourBench : test::CompositionBench {
    HairColourCache colours;
    ColourBench() : CompositionBench(300, 320, test::TestProgramFolder::Samples) {
        services.colour = &colours;
    }
    QImage picture(const QString& name) { return pictures.load(folder.path(name)).picture; }
};

}  // namespace

// Preparing an installed style for colour once: coverage, luminance, strand directions, streaks.
static void PrepareStyle(benchmark::State& state) {
    ColourBench bench;
    const int number = static_cast<int>(state.range(0));
    const QImage hair = bench.picture(sampleHairName(number));
    const QImage mask = bench.picture(sampleMaskName(number));
    for (auto _ : state) {
        const HairColourStyle style = prepareHairColour(hair, maskCoverages(mask, hair.size()));
        benchmark::DoNotOptimize(style.streaks.data());
    }
}
// OpenCV may smooth on several threads: the CPU time of the whole process counts.
BENCHMARK(PrepareStyle)->DenseRange(1, 6)->MeasureProcessCPUTime()->Unit(benchmark::kMillisecond);

// The stylist picks another shade: a new fprincipal picture (the style is prepared already; every
// shade is new to the cache, which keeps fewer pictures than the reflections cycled through).
static void ChangeShade(benchmark::State& state) {
    ColourBench bench;
    bench.state.ficheropelo = sampleHairName(2);
    bench.state.ficheromascara = sampleMaskName(2);
    bench.state.colorelegido = HairColour{};
    DibujarPelo(bench.state, bench.buffers, bench.services);
    int step = 0;
    for (auto _ : state) {
        bench.state.colorelegido->shade = {4 + step % 3, Reflejo(step % kReflejoCount), {}};
        ++step;
        if (!DibujarPelo(bench.state, bench.buffers, bench.services)) {
            state.SkipWithError("composition failed");
            break;
        }
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(ChangeShade)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

// Recolouring alone, and the ramp alone, for a shade of the table.
static void RecolourOnly(benchmark::State& state) {
    ColourBench bench;
    const QImage hair = bench.picture(sampleHairName(2));
    const HairColourStyle style =
        prepareHairColour(hair, maskCoverages(bench.picture(sampleMaskName(2)), hair.size()));
    HairColour colour;
    colour.shade = {7, Reflejo::Cobrizo, {}};
    for (auto _ : state) {
        benchmark::DoNotOptimize(recolourHair(hair, style, colour).constBits());
    }
}
BENCHMARK(RecolourOnly)->MeasureProcessCPUTime()->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
