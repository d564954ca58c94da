#include <benchmark/benchmark.h>

#include <QPainter>

#include "geometry/rotation.h"

using namespace crinova;

// RotarImagen alone, on a photo of the given square-ish size. Qt paints into a picture first, as
// it does in the program, so that its vector code has run in this process.
static void RotarImagenSize(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0));
    const int height = static_cast<int>(state.range(1));
    Surface origen(width, height, 0x00336699);
    QImage scratch(width, height, QImage::Format_ARGB32_Premultiplied);
    QPainter(&scratch).fillRect(scratch.rect(), QColor(10, 20, 30, 128));
    Surface destino(width, height);
    double giro = 0.3;
    for (auto _ : state) {
        RotarImagen(origen, destino, giro);
        benchmark::DoNotOptimize(destino.image().constBits());
    }
    state.SetItemsProcessed(state.iterations() * width * height);
}
BENCHMARK(RotarImagenSize)
    ->Args({300, 320})
    ->Args({1000, 1000})
    ->Args({2000, 2000})
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
