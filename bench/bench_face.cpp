#include <benchmark/benchmark.h>

#include "composition_bench.h"
#include "face/eye_finder.h"
#include "face/face_fit.h"
#include "face/photo_preparation.h"
#include "portrait.h"

using namespace crinova;
namespace samples = crinova::samples;

namespace {

EyePair modelEyes() {
    const auto [left, right] = samples::pupilCentres(samples::fittedFrame(QSize(300, 320)));
    return {left, right};
}

}  // namespace

// Reading the two cascade files, as the first fit of a run does.
static void LoadCascades(benchmark::State& state) {
    for (auto _ : state) {
        FaceCascades cascades;
        if (!cascades.load(kHaarCascadeFolder)) {
            state.SkipWithError("the cascades are missing");
            break;
        }
        benchmark::DoNotOptimize(cascades.loaded());
    }
}
BENCHMARK(LoadCascades)->Unit(benchmark::kMillisecond);

// A whole automatic fit on a 430 x 430 working photo, cascades loaded and the model's eyes known:
// the eyes found, mapped to the screen, the fit, and the composition with it.
static void AutomaticFit430(benchmark::State& state) {
    test::CompositionBench bench(430, 430, test::TestProgramFolder::Samples);
    const QImage photo = samples::drawPortrait(samples::modelLook(), std::nullopt, QSize(430, 430),
                                               samples::placedFrame(QPointF(200, 210), 1.2, 0));
    bench.write(kBasePhoto, photo);
    const EyePair model = modelEyes();
    if (!sharedCascades().loaded()) {
        state.SkipWithError("the cascades are missing");
        return;
    }
    DibujarPelo(bench.state, bench.buffers, bench.services);  // the working photo in ftrabajo
    for (auto _ : state) {
        const QImage& working = bench.buffers.ftrabajo.image();
        const EyeSearch search = findEyes(working);
        if (!search.eyes) {
            state.SkipWithError("no eyes found");
            break;
        }
        const EyePair client = photoToScreen(*search.eyes, working.size(), bench.state);
        const FitResult fit = fitHair(model, client, QSize(300, 320));
        applyFit(*fit.fit, bench.state);
        DibujarPelo(bench.state, bench.buffers, bench.services);
        benchmark::DoNotOptimize(bench.buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(AutomaticFit430)->Unit(benchmark::kMillisecond);

// Preparing a camera's 8000 x 6000 photo (already decoded) into the 300 x 320 working copy.
static void Prepare8000x6000(benchmark::State& state) {
    // Drawn at a quarter of the size and enlarged: a portrait painted at full size would take
    // gigabytes of hair layers, and the preparation does not care how the pixels came about.
    const QImage quarter =
        samples::drawPortrait(samples::modelLook(), std::nullopt, QSize(2000, 1500),
                              samples::placedFrame(QPointF(1300, 600), 2.5, 4.0));
    const QImage photo = quarter.scaled(8000, 6000);
    const EyePair model = modelEyes();
    sharedCascades();
    for (auto _ : state) {
        const PreparedPhoto prepared = preparePhoto(photo, model, QSize(300, 320));
        if (!prepared.faceFound) {
            state.SkipWithError("no face found");
            break;
        }
        benchmark::DoNotOptimize(prepared.picture.constBits());
    }
}
BENCHMARK(Prepare8000x6000)->Unit(benchmark::kMillisecond);
