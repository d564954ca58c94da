#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>

#include "principal_window.h"

using namespace crinova;

namespace {

// The main window loaded over a copy of the sample folder.
struct LoadedWindow : test::PrincipalWindow {
    LoadedWindow() { load(); }
};

}  // namespace

// From opening the database to the main window painted for the first time (offscreen), as main()
// does it. The QApplication itself is made once, before.
static void StartUpToFirstPaint(benchmark::State& state) {
    test::TestProgramFolder folder;
    test::ScriptedDialogs dialogs;
    test::RecordingSystem system;
    test::RecordingPrinter printer;
    test::ScriptedCamera camera;
    for (auto _ : state) {
        Database database;
        openProgramDatabase(database, folder.folder(), nullptr);
        Principal principal({folder.folder(), database, dialogs, system, printer, camera});
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
    LoadedWindow window;
    int click = 0;
    for (auto _ : state) {
        window.principal->Muestrapelos_Click(click++ % 2 == 0 ? 0 : 3);
    }
    if (!window.dialogs.asked.empty()) {
        state.SkipWithError("a sample could not be applied");
    }
}
BENCHMARK(ApplySample)->Unit(benchmark::kMillisecond);

// A rotation step from the window (30 degrees, progress bar and recomposition included), and a
// zoom step (recomposition included), inside the real program's process.
static void WindowStep(benchmark::State& state) {
    LoadedWindow window;
    Principal& principal = *window.principal;
    principal.show();
    principal.Muestrapelos_Click(1);
    principal.findChild<QLineEdit*>(QStringLiteral("txtgirar"))->setText(QStringLiteral("30"));
    principal.findChild<QLineEdit*>(QStringLiteral("txtampliar"))->setText(QStringLiteral("1"));
    const bool rotate = state.range(0) == 0;
    int click = 0;
    for (auto _ : state) {
        if (rotate) {
            PrincipalProbe::geometry(principal).btngirar_Click(0);
        } else {
            PrincipalProbe::geometry(principal).btnampliar_Click(click++ % 2);
        }
    }
    if (!window.dialogs.asked.empty()) {
        state.SkipWithError("the step was refused");
    }
}
BENCHMARK(WindowStep)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// A save into a slot (snapshot, BMP written, thumbnail, recomposition); every save asks for slot 1.
static void SaveSlot(benchmark::State& state) {
    LoadedWindow window;
    window.principal->Muestrapelos_Click(1);
    PrincipalProbe::photoSlots(*window.principal).slotState() =
        SlotState{QStringLiteral("1"), true};
    for (auto _ : state) {
        window.dialogs.textAnswers.push_back(QStringLiteral("1"));
        PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    }
}
BENCHMARK(SaveSlot)->Unit(benchmark::kMillisecond);

// One wipe of the slide show with its real pacing: about one second for the 320 rows.
static void SlideShowWipe(benchmark::State& state) {
    LoadedWindow window;
    Principal& principal = *window.principal;
    principal.show();
    principal.Muestrapelos_Click(1);
    PrincipalProbe::photoSlots(principal).mnuguardar_Click();
    PrincipalProbe::photoSlots(principal).mnupresentacion_Click();
    for (auto _ : state) {
        principal.Timer1_Timer();
    }
    PrincipalProbe::photoSlots(principal).presentacion()->close();
}
BENCHMARK(SlideShowWipe)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// Searching 10,000 clients as the stylist types: one keystroke refills the list.
static void ClientSearchKeystroke(benchmark::State& state) {
    LoadedWindow window;
    window.database.transaction([&](QString*) {
        for (int i = 0; i < 10000; ++i) {
            window.database.Execute(
                QStringLiteral("INSERT INTO cliente VALUES (?, ?, '')"),
                {QString::number(i), QStringLiteral("Cliente %1 Pérez").arg(i)});
        }
        return true;
    });
    window.principal->Muestrapelos_Click(1);
    PrincipalProbe::clients(*window.principal).mnubuscarcliente_Click();
    auto* field = PrincipalProbe::clients(*window.principal)
                      .buscarcliente()
                      ->findChild<QLineEdit*>(QStringLiteral("txtbusqueda"));
    const QStringList typed = {"c", "cl", "cli", "clie", "client", "cliente 1", "cliente 12"};
    int key = 0;
    for (auto _ : state) {
        field->setText(typed[key++ % typed.size()]);
    }
}
BENCHMARK(ClientSearchKeystroke)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
