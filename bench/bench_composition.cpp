#include <benchmark/benchmark.h>

#include "main_window/folder_names.h"
#include "overlay/composition.h"
#include "overlay/mouse_placement.h"
#include "scripted_dialogs.h"
#include "test_folder.h"

using namespace crinova;

// One DibujarPelo over the sample pictures (300 x 320), files on a warm disk.
static void DibujarPeloSample(benchmark::State& state) {
    test::TestProgramFolder folder;
    PictureCache pictures;
    Database database;
    test::ScriptedDialogs dialogs;
    CompositionServices services{folder.folder(), pictures, database, dialogs};
    PictureBuffers buffers;
    buffers.fprincipal.Resize(300, 320);
    buffers.sizeLikeVisible();
    OverlayState overlay;
    overlay.pelocargado = true;
    overlay.posxpelo = 3;
    overlay.anchopelo = 12;
    for (auto _ : state) {
        if (!DibujarPelo(overlay, buffers, services)) {
            state.SkipWithError("composition failed");
            break;
        }
        benchmark::DoNotOptimize(buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DibujarPeloSample)->Unit(benchmark::kMicrosecond);

// The same with every picture decoded again, for comparison.
static void DibujarPeloColdDecode(benchmark::State& state) {
    test::TestProgramFolder folder;
    PictureCache pictures;
    Database database;
    test::ScriptedDialogs dialogs;
    CompositionServices services{folder.folder(), pictures, database, dialogs};
    PictureBuffers buffers;
    buffers.fprincipal.Resize(300, 320);
    buffers.sizeLikeVisible();
    OverlayState overlay;
    overlay.pelocargado = true;
    for (auto _ : state) {
        pictures.clear();
        DibujarPelo(overlay, buffers, services);
        benchmark::DoNotOptimize(buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DibujarPeloColdDecode)->Unit(benchmark::kMicrosecond);

// One drag preview frame (one mouse move) at 300 x 320: two stretch-copies, no file access.
static void DragPreviewFrame(benchmark::State& state) {
    test::TestProgramFolder folder;
    PictureCache pictures;
    Database database;
    test::ScriptedDialogs dialogs;
    CompositionServices services{folder.folder(), pictures, database, dialogs};
    PictureBuffers buffers;
    buffers.fprincipal.Resize(300, 320);
    buffers.sizeLikeVisible();
    OverlayState overlay;
    overlay.pelocargado = true;
    DragState drag;
    fprincipal_MouseDown(DragTarget::Foto, 0, 0, overlay, drag, buffers, services);
    int x = 0;
    for (auto _ : state) {
        fprincipal_MouseMove(x++ % 40, 3, overlay, drag, buffers);
        benchmark::DoNotOptimize(buffers.fprincipal.image().constBits());
    }
}
BENCHMARK(DragPreviewFrame)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
