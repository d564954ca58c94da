#include <benchmark/benchmark.h>

#include <QApplication>

#include "main_window/principal.h"
#include "main_window/program_database.h"
#include "recording_services.h"
#include "scripted_dialogs.h"
#include "test_folder.h"

using namespace crinova;

// From opening the database to the main window painted for the first time (offscreen), as main()
// does it. The QApplication itself is made once, before.
static void StartUpToFirstPaint(benchmark::State& state) {
    test::TestProgramFolder folder;
    test::ScriptedDialogs dialogs;
    test::RecordingSystem system;
    for (auto _ : state) {
        Database database;
        openProgramDatabase(database, folder.folder(), nullptr);
        Principal principal({folder.folder(), database, dialogs, system});
        if (!principal.Form_Load()) {
            state.SkipWithError("start-up failed");
            break;
        }
        principal.show();
        benchmark::DoNotOptimize(principal.grab());  // paints every control once
        principal.hide();
    }
}
BENCHMARK(StartUpToFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(20);

// A click on a thumbnail up to the composed picture, views included. Two thumbnails take turns so
// that every click applies a sample.
static void ApplySample(benchmark::State& state) {
    test::TestProgramFolder folder;
    test::ScriptedDialogs dialogs;
    test::RecordingSystem system;
    Database database;
    openProgramDatabase(database, folder.folder(), nullptr);
    Principal principal({folder.folder(), database, dialogs, system});
    principal.Form_Load();
    int click = 0;
    for (auto _ : state) {
        principal.Muestrapelos_Click(click++ % 2 == 0 ? 0 : 3);
    }
    if (!dialogs.asked.empty()) {
        state.SkipWithError("a sample could not be applied");
    }
}
BENCHMARK(ApplySample)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
