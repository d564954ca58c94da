#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QTemporaryDir>

#include "clients/client_records.h"
#include "clients/visit_list.h"
#include "clients/visits.h"
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
// list filled with every strip of thumbnails.
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

namespace {

// 200 clients with 10 visits of one photo each: 2,000 BMP files, about 576 MB.
VisitFolder& salon() {
    static VisitFolder folder(200, 10, 1);
    return folder;
}

}  // namespace

// The backup archive of the salon (the database copy made first, as the menu does).
static void BackupSalon(benchmark::State& state) {
    VisitFolder& folder = salon();
    for (auto _ : state) {
        QTemporaryDir out;
        const QString snapshot = out.filePath(QStringLiteral("snapshot.db"));
        folder.database.Execute(QStringLiteral("VACUUM INTO ?"), {snapshot});
        QString error;
        if (!writeFullBackup(folder.folder.folder(), snapshot,
                             out.filePath(QStringLiteral("c.tar")), {}, &error)) {
            state.SkipWithError(error.toUtf8().constData());
        }
    }
}
BENCHMARK(BackupSalon)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

// The same files copied one by one to another folder on the same disk, each flushed to it as the
// archive is: what the backup is compared with.
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
        QTemporaryDir out;
        for (const QString& file : files) {
            QDir().mkpath(QFileInfo(out.filePath(file)).path());
            QFile::copy(root + '/' + file, out.filePath(file));
            const int fd = ::open(QFile::encodeName(out.filePath(file)).constData(), O_RDONLY);
            ::fsync(fd);
            ::close(fd);
        }
    }
}
BENCHMARK(PlainCopySalon)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
