#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QCoreApplication>
#include <QFile>
#include <QImage>
#include <memory>

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

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    theSalon = std::make_unique<SalonServer>();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    theSalon.reset();
    return 0;
}
