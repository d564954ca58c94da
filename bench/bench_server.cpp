#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <memory>
#include <thread>
#include <vector>

#include "clients/client_records.h"
#include "clients/visits.h"
#include "program/picture_store.h"
#include "program/server_database.h"
#include "test_folder.h"
#include "test_server.h"

using namespace crinova;

namespace {

// A visit's six slot photos on a throwaway server: 300 x 320 BMPs, about 288 KB each.
struct SalonServer {
    test::TestServer server;
    test::TestProgramFolder folder{test::TestProgramFolder::Empty};
    Database database;
    QStringList names;
    bool ready = false;

    SalonServer() {
        if (!server.start() || !openServerDatabase(database, folder.folder(), server.settings(),
                                                   test::TestServer::password())
                                    .ok()) {
            return;
        }
        for (int slot = 1; slot <= 6; ++slot) {
            QImage photo(300, 320, QImage::Format_RGB888);
            photo.fill(QColor::fromHsv(slot * 50, 200, 200));
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            photo.save(&buffer, "BMP");
            names << QStringLiteral("\\clientes\\07\\20260101-100000-foto%1.bmp").arg(slot);
            if (!putPicture(database, folder.folder(), names.last(), bytes, nullptr)) {
                return;
            }
        }
        ready = true;
    }
};

std::unique_ptr<SalonServer> theSalon;  // made and dropped by main(), inside the application

SalonServer& salon() {
    return *theSalon;
}

void fetchAll(benchmark::State& state, PictureFetch expected) {
    for (const PictureFetch outcome :
         fetchPictures(salon().database, salon().folder.folder(), salon().names, nullptr)) {
        if (outcome != expected) {
            state.SkipWithError("unexpected fetch outcome");
        }
    }
}

}  // namespace

static void SixPhotosFirstTime(benchmark::State& state) {
    if (!salon().ready) {
        state.SkipWithError(qPrintable(salon().server.reason()));
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        for (const QString& name : salon().names) {
            QFile::remove(salon().folder.path(name));
        }
        state.ResumeTiming();
        fetchAll(state, PictureFetch::Fetched);
    }
}
BENCHMARK(SixPhotosFirstTime)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

static void SixPhotosFromLocalCopy(benchmark::State& state) {
    if (!salon().ready) {
        state.SkipWithError(qPrintable(salon().server.reason()));
        return;
    }
    fetchPictures(salon().database, salon().folder.folder(), salon().names, nullptr);
    for (auto _ : state) {
        fetchAll(state, PictureFetch::Current);
    }
}
BENCHMARK(SixPhotosFromLocalCopy)->Unit(benchmark::kMillisecond)->Iterations(20)->UseRealTime();

// 100,000 clients on the server, names with accents, made there at once.
bool seedHundredThousand() {
    static const bool seeded = salon().database.Execute(QStringLiteral(
        "INSERT INTO cliente SELECT 'c' || i, (ARRAY['María José Pérez', 'Ángela Núñez', "
        "'Carmen Ruiz', 'Lucía Gómez', 'Begoña Ibáñez', 'Inés Martín'])[i % 6 + 1] || ' ' || i, "
        "'' FROM generate_series(1, 100000) AS i"));
    return seeded;
}

// Opening the search over 100,000 clients of the server: the list read and its keys made once.
static void SearchListFromServer(benchmark::State& state) {
    if (!salon().ready || !seedHundredThousand()) {
        state.SkipWithError("no server");
        return;
    }
    for (auto _ : state) {
        std::vector<ClientRecord> clients;
        loadClients(salon().database, clients, nullptr);
        benchmark::DoNotOptimize(searchKeys(clients));
    }
}
BENCHMARK(SearchListFromServer)->Unit(benchmark::kMillisecond)->Iterations(10)->UseRealTime();

// A keystroke over those clients, accents and case ignored ("maria" finds "María").
static void SearchKeystrokeOverServerClients(benchmark::State& state) {
    if (!salon().ready || !seedHundredThousand()) {
        state.SkipWithError("no server");
        return;
    }
    std::vector<ClientRecord> clients;
    loadClients(salon().database, clients, nullptr);
    const std::vector<ClientKeys> keys = searchKeys(clients);
    for (auto _ : state) {
        if (matchKeys(keys, SearchBy::Nombre, QStringLiteral("MARIA JOSE")).size() < 16000) {
            state.SkipWithError("accents not ignored");
        }
    }
}
BENCHMARK(SearchKeystrokeOverServerClients)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->UseRealTime();

// Four stations saving a hundred visits each at once, all for one client: visits per second.
static void FourStationsSaving(benchmark::State& state) {
    if (!salon().ready) {
        state.SkipWithError("no server");
        return;
    }
    salon().database.Execute(
        QStringLiteral("INSERT INTO cliente VALUES ('07', 'Ana', '') ON "
                       "CONFLICT DO NOTHING"));
    int round = 0;
    for (auto _ : state) {
        std::vector<std::thread> stations;
        for (int s = 0; s < 4; ++s) {
            stations.emplace_back([s, round] {
                Database station;
                if (!openServerDatabase(station, salon().folder.folder(), salon().server.settings(),
                                        test::TestServer::password())
                         .ok()) {
                    return;
                }
                const QDateTime start = QDateTime(QDate(2026, 1, 1), QTime(9, 0))
                                            .addDays(round)
                                            .addSecs(qint64(s) * 1000);
                for (int i = 0; i < 100; ++i) {
                    saveClientVisit(station, QStringLiteral("07"), QStringLiteral("Ana"), {},
                                    start.addSecs(i),
                                    {{1, QStringLiteral("\\clientes\\07\\foto1.bmp")}}, nullptr);
                }
            });
        }
        for (std::thread& station : stations) {
            station.join();
        }
        ++round;
    }
    state.SetItemsProcessed(state.iterations() * 400);
}
BENCHMARK(FourStationsSaving)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    theSalon = std::make_unique<SalonServer>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theSalon.reset();
    return 0;
}
