#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QTemporaryDir>
#include <QTemporaryFile>

#include "client_view/client_export.h"
#include "client_view/large_renderer.h"
#include "composition_bench.h"
#include "principal_window.h"

using namespace crinova;

namespace {

constexpr QSize kMain(300, 320);

// The samples' composition with sample `number` applied, and its look.
struct LookBench : test::CompositionBench {
    LookBench()
        : CompositionBench(kMain.width(), kMain.height(), test::TestProgramFolder::Samples) {}
    LargeLook look(int number) {
        state.ficheropelo = sampleHairName(number);
        state.ficheromascara = sampleMaskName(number);
        return largeLookOf(state, 0, kMain, QString(), folder.folder());
    }
};

}  // namespace

// Each benchmark runs five times; the medians are the figures. Times are wall-clock; "CPU" is the
// whole process's, OpenCV's worker threads included.

// The large rendering after each kind of recomposition, on the rendering thread's own sources:
// 0 a drag's end (the hair moved), 1 a zoom step (the hair drawn at a new size), 2 a new sample
// (its hair prepared afresh), 3 the same with soft edges, 4 a drag with the photo "before" too,
// 5 another shade of the hair colour, 6 a new sample in a colour (its colouring prepared afresh).
static void LargeRenderingAfter(benchmark::State& state) {
    LookBench bench;
    LargeSources sources;
    const LargeInputs inputs = defaultLargeInputs();
    LargeLook look = bench.look(2);
    look.difuminar = state.range(0) == 3;
    look.withBefore = state.range(0) == 4;
    if (state.range(0) >= 5) {
        look.colour = HairColour{Shade{7, Reflejo::Cobrizo, {}}};
    }
    renderLarge(look, inputs, sources);  // the pictures decoded once, as after the first look
    int step = 0;
    for (auto _ : state) {
        ++step;
        switch (state.range(0)) {
            case 0:
            case 4:
                look.posxpelo = std::int16_t(step % 2 == 0 ? 6 : -6);
                break;
            case 1:
                look.anchopelo = look.altopelo = std::int16_t(step % 50);
                break;
            case 5:
                look.colour->shade.level = step % 9 + 1;
                break;
            case 6:
                look = bench.look(step % 6 + 1);
                look.colour = HairColour{Shade{7, Reflejo::Cobrizo, {}}};
                break;
            default:
                look = bench.look(step % 6 + 1);
                look.difuminar = state.range(0) == 3;
                break;
        }
        benchmark::DoNotOptimize(renderLarge(look, inputs, sources));
    }
}
BENCHMARK(LargeRenderingAfter)
    ->DenseRange(0, 6)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// From the request to the rendering delivered on the window's thread, for a drag's end.
static void LargeRequestToDelivery(benchmark::State& state) {
    LookBench bench;
    LargeRenderer renderer;
    int delivered = 0;
    QObject::connect(&renderer, &LargeRenderer::rendered, [&](const auto&) { ++delivered; });
    LargeLook look = bench.look(2);
    renderer.request(look);
    renderer.waitIdle();
    int step = 0;
    for (auto _ : state) {
        look.posxpelo = std::int16_t(++step % 2 == 0 ? 6 : -6);
        const int before = delivered;
        renderer.request(look);
        while (delivered == before) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
    }
}
BENCHMARK(LargeRequestToDelivery)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30)
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// The client's view full screen on a 1920 x 1080 screen: 0 a repaint, 1 a new rendering shown
// (the picture scaled to the screen) and painted.
static void ViewRepaintFullScreen(benchmark::State& state) {
    test::PrincipalWindow window;
    window.load();
    window.principal->Muestrapelos_Click(1);
    window.find<QAction>(QStringLiteral("mnuvistacliente"))->trigger();
    ClientViewCommands& commands = PrincipalProbe::clientView(*window.principal);
    commands.renderer().waitIdle();
    QCoreApplication::processEvents();
    Vistacliente* view = commands.vistacliente();
    view->showFullScreen();
    QCoreApplication::processEvents();
    const LargeRendering first = *view->rendering();
    LargeRendering second = first;
    second.ahora = first.ahora.copy();  // a picture of its own: scaled again
    view->repaint();
    int step = 0;
    for (auto _ : state) {
        if (state.range(0) == 1) {
            view->showRendering(++step % 2 == 0 ? first : second);
        }
        view->repaint();
    }
    state.counters["width"] = view->width();
    state.counters["height"] = view->height();
}
BENCHMARK(ViewRepaintFullScreen)
    ->DenseRange(0, 1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(50)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

// "Exportar para el Cliente" of six stored looks: the large companions read, the page and the six
// JPEGs written.
static void ExportSixLooks(benchmark::State& state) {
    LookBench bench;
    LargeSources sources;
    for (int slot = 1; slot <= 6; ++slot) {
        const LargeRendering rendering =
            renderLarge(bench.look(slot), defaultLargeInputs(), sources);
        const QString path = bench.folder.path(slotFileName(slot));
        savePictureBmp(reducedTo(rendering.ahora, kMain), path);
        writeLargeCompanion(rendering.ahora, largeCompanionPath(path, QStringLiteral("png")), path,
                            lookTexts(QStringLiteral("Muestra %1").arg(slot), QString()));
    }
    const QImage logo = loadPicture(bench.folder.path(kLogo)).picture;
    for (auto _ : state) {
        QTemporaryDir usb;
        ClientExport job{usb.path(), QStringLiteral("Lucía"), QDate(2025, 3, 7), logo,
                         loadSavedLooks(bench.folder.folder())};
        QString error;
        if (job.looks.size() != 6 || exportForClient(job, &error).isEmpty()) {
            state.SkipWithError("the export failed");
            break;
        }
    }
}
BENCHMARK(ExportSixLooks)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(5)
    ->DisplayAggregatesOnly(true);

int main(int argc, char** argv) {
    // One 1920 x 1080 screen, so that full screen means what it does in a salon.
    QTemporaryFile screens;
    screens.open();
    screens.write(R"({"screens": [{"name": "salon", "x": 0, "y": 0, "width": 1920,
                      "height": 1080, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})");
    screens.flush();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.fileName().toLocal8Bit());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
