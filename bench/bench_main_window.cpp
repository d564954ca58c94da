#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>
#include <QLineEdit>

#include <chrono>
#include <thread>

#include "principal_window.h"
#include "program/folder_names.h"

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

// A base photo followed by `megabytes` of junk: a JPEG decoder stops at its end, so only the file's
// size grows.
bool appendJunk(const QString& path, int megabytes) {
    QFile file(path);
    if (!file.open(QIODevice::Append)) {
        return false;
    }
    const QByteArray junk(1 << 20, '\x5a');
    for (int i = 0; i < megabytes; ++i) {
        if (file.write(junk) != junk.size()) {
            return false;
        }
    }
    return true;
}

// A rotation step from the window (30 degrees, progress bar and recomposition included), and a
// zoom step (recomposition included), inside the real program's process; the zoom step also with
// a base photo of 600 MB (a photo with junk appended).
static void WindowStep(benchmark::State& state) {
    test::PrincipalWindow window;
    if (state.range(0) == 2) {
        if (!appendJunk(window.folder.path(kBasePhoto), 600)) {
            state.SkipWithError("cannot write the large base photo");
            return;
        }
        // A salon's photo was written long before: past the time the picture cache still
        // compares a just-written file's bytes.
        std::this_thread::sleep_for(
            std::chrono::nanoseconds(PictureCache::kSettling + 100'000'000));
    }
    window.load();
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
BENCHMARK(WindowStep)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

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

// A salon of 100,000 clients, with accented names, and the search dialog open over it.
struct ClientsWindow : LoadedWindow {
    ClientsWindow() {
        const QStringList names = {"María José Pérez", "Ángela Núñez",  "Carmen Ruiz",
                                   "Lucía Gómez",      "Begoña Ibáñez", "Inés Martín"};
        database.transaction([&](QString*) {
            for (int i = 0; i < 100000; ++i) {
                database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, '')"),
                                 {QString::number(i),
                                  QStringLiteral("%1 %2").arg(names[i % names.size()]).arg(i)});
            }
            return true;
        });
        principal->Muestrapelos_Click(1);
    }
    ClientSearch* openSearch() {
        PrincipalProbe::clients(*principal).mnubuscarcliente_Click();
        return PrincipalProbe::clients(*principal).buscarcliente();
    }
};

// Searching 100,000 clients as the stylist types, accents and case ignored: one keystroke
// refills the list.
static void ClientSearchKeystroke(benchmark::State& state) {
    ClientsWindow window;
    auto* field = window.openSearch()->findChild<QLineEdit*>(QStringLiteral("txtbusqueda"));
    const QStringList typed = {"m", "ma", "mar", "mari", "maria", "maria j", "maria jose 12",
                               "",  "n",  "nu",  "nun",  "nune",  "nunez"};
    int key = 0;
    for (auto _ : state) {
        field->setText(typed[key++ % typed.size()]);
    }
}
BENCHMARK(ClientSearchKeystroke)->Unit(benchmark::kMillisecond);

// Opening the search dialog over 100,000 clients: every record is read and its keys made once.
static void ClientSearchOpening(benchmark::State& state) {
    ClientsWindow window;
    for (auto _ : state) {
        window.openSearch()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(ClientSearchOpening)->Unit(benchmark::kMillisecond)->Iterations(5);
