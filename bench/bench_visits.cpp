#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QTemporaryDir>
#include <filesystem>
#include <memory>

#include "clients/client_records.h"
#include "clients/visit_list.h"
#include "clients/visits.h"
#include "image_compare.h"
#include "platform/pictures.h"
#include "program/folder_names.h"
#include "program/full_backup.h"
#include "program/program_database.h"
#include "test_folder.h"

using namespace crinova;

namespace {

// A slot photo as the program saves it: 300 x 320, 24-bit BMP (about 288 KB).
QImage slotPhoto(int seed) {
    QImage photo(300, 320, QImage::Format_RGB32);
    for (int y = 0; y < photo.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        for (int x = 0; x < photo.width(); ++x) {
            row[x] = qRgb((x + seed) & 0xFF, (y * 3 + seed) & 0xFF, (x ^ y) & 0xFF);
        }
    }
    return photo;
}

// A program folder whose clients have `visits` visits of six photos each, entered in the database.
struct VisitFolder {
    test::TestProgramFolder folder{test::TestProgramFolder::Empty};
    Database database;

    VisitFolder(int clients, int visits, int photosPerVisit) {
        openProgramDatabase(database, folder.folder(), nullptr);
        for (int client = 0; client < clients; ++client) {
            const QString codigo = QStringLiteral("%1").arg(client, 4, 10, QLatin1Char('0'));
            const QDateTime first(QDate(2026, 1, 1), QTime(9, 0));
            for (int visit = 0; visit < visits; ++visit) {
                const QDateTime when = first.addDays(visit);
                std::vector<VisitPhoto> photos;
                for (int slot = 1; slot <= photosPerVisit; ++slot) {
                    const QString name = clientFolderName(codigo) +
                                         QStringLiteral("\\%1-foto%2.bmp")
                                             .arg(when.toString(QStringLiteral("yyyyMMdd-HHmmss")))
                                             .arg(slot);
                    folder.writePicture(name, slotPhoto(client * 7 + visit * 3 + slot));
                    photos.push_back({slot, name});
                }
                saveClientVisit(database, codigo, QStringLiteral("Cliente"), QString(), when,
                                photos, nullptr);
            }
        }
    }
};

}  // namespace

// Choosing a client with 50 visits (300 photos) in "BUSQUEDA DE CLIENTE": the rows read and the
// list filled, with the thumbnails of the rows in view (the rest are read as the list scrolls).
static void ListFiftyVisits(benchmark::State& state) {
    VisitFolder visits(1, 50, 6);
    QListWidget list;
    for (auto _ : state) {
        std::vector<Visit> found;
        loadVisits(visits.database, QStringLiteral("0000"), found, nullptr);
        fillVisitList(&list, visits.folder.folder(), found);
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(ListFiftyVisits)->Unit(benchmark::kMillisecond)->Iterations(10);

// The same, then the strips of every visit read, as the rows come into view when the stylist
// scrolls to the end: all 300 thumbnails decoded.
static void ListFiftyVisitsEveryThumbnail(benchmark::State& state) {
    VisitFolder visits(1, 50, 6);
    QListWidget list;
    for (auto _ : state) {
        std::vector<Visit> found;
        loadVisits(visits.database, QStringLiteral("0000"), found, nullptr);
        fillVisitList(&list, visits.folder.folder(), found);
        for (std::size_t row = kVisitRowsRead; row < found.size(); ++row) {
            list.item(static_cast<int>(row))
                ->setIcon(QIcon(QPixmap::fromImage(
                    visitStrip(visits.folder.folder(), found[row], kVisitThumbnail))));
        }
        benchmark::DoNotOptimize(list.count());
    }
}
BENCHMARK(ListFiftyVisitsEveryThumbnail)->Unit(benchmark::kMillisecond)->Iterations(10);

namespace {

// A JPEG of `size` with a pattern, drawn once and kept in the temporary folder: drawing it takes
// the whole picture in memory, which a measurement of reading it must not count.
QString largeJpeg(QSize size) {
    const QString path = QDir::temp().filePath(
        QStringLiteral("crinova-bench-%1x%2.jpg").arg(size.width()).arg(size.height()));
    if (!QFileInfo::exists(path)) {
        QImage picture(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(picture.scanLine(y));
            for (int x = 0; x < size.width(); ++x) {
                row[x] = qRgb((x * 7) & 0xFF, (y * 5) & 0xFF, (x ^ y) & 0xFF);
            }
        }
        picture.save(path, "jpg");
    }
    return path;
}

// A visit of `count` photos of `size`, each a file of its own: run-length bitmaps (large pictures
// in small files, 11000 x 11000 in under 1 MB) or JPEGs of a pattern.
struct LargeVisit {
    test::TestProgramFolder folder{test::TestProgramFolder::Empty};
    Visit visit;

    LargeVisit(int count, QSize size, bool jpeg) {
        for (int slot = 1; slot <= count; ++slot) {
            const QString name =
                QStringLiteral("\\clientes\\0001\\20260101-090000-foto%1.bmp").arg(slot);
            if (jpeg) {
                QDir().mkpath(QFileInfo(folder.path(name)).path());
                QFile::copy(largeJpeg(size), folder.path(name));
            } else {
                folder.writeBytes(name, test::runLengthBitmap(size, 0x00336699 + slot));
            }
            visit.photos.push_back({slot, name});
        }
    }
};

}  // namespace

// "&Cargar Visita" of a visit of six 11000 x 11000 bitmaps: each read reduced into the slots'
// 300 x 320 and written into its slot. Peak memory: run alone under /usr/bin/time -v.
static void LoadVisitOfLargeBitmaps(benchmark::State& state) {
    LargeVisit large(6, QSize(11000, 11000), false);
    for (auto _ : state) {
        QStringList missing;
        QString error;
        const std::vector<QImage> placed = placeVisitInSlots(large.folder.folder(), large.visit,
                                                             QSize(300, 320), &missing, &error);
        if (placed.size() != 6) {
            state.SkipWithError("the visit was not placed whole");
        }
    }
}
BENCHMARK(LoadVisitOfLargeBitmaps)->Unit(benchmark::kMillisecond)->Iterations(3);

// The visit list's strip of a visit holding one very large picture: an 11000 x 11000 bitmap (0),
// or a 12000 x 9000 JPEG (1).
static void StripOfAVeryLargePicture(benchmark::State& state) {
    const bool jpeg = state.range(0) == 1;
    LargeVisit large(1, jpeg ? QSize(12000, 9000) : QSize(11000, 11000), jpeg);
    for (auto _ : state) {
        benchmark::DoNotOptimize(visitStrip(large.folder.folder(), large.visit, kVisitThumbnail));
    }
}
BENCHMARK(StripOfAVeryLargePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

namespace {

// 200 clients with 10 visits of one photo each: 2,000 BMP files, about 576 MB.
VisitFolder& salon() {
    static VisitFolder folder(200, 10, 1);
    return folder;
}

// Everything written so far put on the disk, untimed, so that no measurement pays for the
// writes before it (the salon's making, the previous run, other programs).
void settleDisk(const QString& folder) {
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    ::syncfs(fd);
    ::close(fd);
}

}  // namespace

// The backup archive of the salon (the database copy made first, as the menu does); it flushes
// its one file to the disk at the end.
static void BackupSalon(benchmark::State& state) {
    VisitFolder& folder = salon();
    for (auto _ : state) {
        state.PauseTiming();
        auto out = std::make_unique<QTemporaryDir>();
        settleDisk(out->path());
        state.ResumeTiming();
        const QString snapshot = out->filePath(QStringLiteral("snapshot.db"));
        folder.database.Execute(QStringLiteral("VACUUM INTO ?"), {snapshot});
        QString error;
        if (!writeFullBackup(folder.folder.folder(), snapshot,
                             out->filePath(QStringLiteral("c.tar")), {}, &error)) {
            state.SkipWithError(error.toUtf8().constData());
        }
        state.PauseTiming();
        out.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BackupSalon)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// Checking and extracting that backup beside the live files, as a restore does before its swap.
static void PrepareRestoreSalon(benchmark::State& state) {
    VisitFolder& folder = salon();
    QTemporaryDir out;
    const QString snapshot = out.filePath(QStringLiteral("snapshot.db"));
    folder.database.Execute(QStringLiteral("VACUUM INTO ?"), {snapshot});
    const QString archive = out.filePath(QStringLiteral("c.tar"));
    writeFullBackup(folder.folder.folder(), snapshot, archive, {}, nullptr);
    for (auto _ : state) {
        QString error;
        if (!prepareFullRestore(folder.folder.folder(), archive, &error)) {
            state.SkipWithError(error.toUtf8().constData());
        }
        discardFullRestore(folder.folder.folder());
    }
}
BENCHMARK(PrepareRestoreSalon)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// The same files copied one by one (as `cp` does, by the kernel's copy) to another folder on the
// same disk, then flushed to it once at the end: what the backup is compared with.
static void PlainCopySalon(benchmark::State& state) {
    VisitFolder& folder = salon();
    const QString root = folder.folder.path(kClientsFolder);
    QStringList files;
    for (const QString& client : QDir(root).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& file : QDir(root + '/' + client).entryList(QDir::Files)) {
            files << client + '/' + file;
        }
    }
    for (auto _ : state) {
        state.PauseTiming();
        auto out = std::make_unique<QTemporaryDir>();
        settleDisk(out->path());
        state.ResumeTiming();
        std::error_code failed;
        for (const QString& file : files) {
            QDir().mkpath(QFileInfo(out->filePath(file)).path());
            std::filesystem::copy_file(QFile::encodeName(root + '/' + file).toStdString(),
                                       QFile::encodeName(out->filePath(file)).toStdString(),
                                       failed);
        }
        settleDisk(out->path());
        if (failed) {
            state.SkipWithError(failed.message().c_str());
        }
        state.PauseTiming();
        out.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(PlainCopySalon)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    allowLargePictures();  // as the program does at start
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
