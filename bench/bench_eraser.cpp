#include <benchmark/benchmark.h>

#include "eraser/eraser_editor.h"

using namespace crinova;

// One stamp (one mouse move) of the thick brush on a 430 x 430 photo.
static void EraserStamp(benchmark::State& state) {
    EraserEditor editor;
    editor.open(QStringLiteral("/tmp/none.bmp"), QImage(430, 430, QImage::Format_RGB32));
    editor.setBrush(EraserEditor::Brush::Grueso);
    editor.mouseDown(1);
    int x = 0;
    for (auto _ : state) {
        editor.mouseMove(1, x++ % 370, 100);
        benchmark::DoNotOptimize(editor.fprincipal.image().constBits());
    }
}
BENCHMARK(EraserStamp)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
