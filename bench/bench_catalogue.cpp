#include <benchmark/benchmark.h>

#include "catalogue/catalogue.h"
#include "program/program_database.h"
#include "test_folder.h"

using namespace crinova;

// The page command over a `cabellos` table of 30,000 rows, 10,000 of them matching: the query, the
// count by walking and the six thumbnails.
static void CataloguePage(benchmark::State& state) {
    test::TestProgramFolder folder;
    Database database;
    openProgramDatabase(database, folder.folder(), nullptr);
    database.transaction([&](QString*) {
        database.Execute(QStringLiteral("DELETE FROM cabellos"));  // only the rows made here
        const QStringList colours = {"dorado", "rojo", "Negro"};
        for (int row = 0; row < 30000; ++row) {
            database.Execute(
                QStringLiteral("INSERT INTO cabellos VALUES ('mujer', 'largo', 'liso', ?, "
                               "?)"),
                {colours[row % 3], QStringLiteral("x%1").arg(row)});
        }
        return true;
    });
    QDir().mkpath(folder.path(QStringLiteral("\\fotos\\visualizacion\\largo")));
    for (int row = 0; row < 6; ++row) {  // thumbnails that exist, as in a real catalogue
        QFile::copy(
            folder.path(QStringLiteral("\\pelo1.jpg")),
            folder.path(QStringLiteral("\\fotos\\visualizacion\\largo\\x%1.jpg").arg(row * 3)));
    }
    CatalogueState catalogue;
    catalogue.filters = {"mujer", "largo", "liso", "dorado"};
    PictureCache pictures;
    int shown = 0;
    for (auto _ : state) {
        pictures.clear();
        loadCataloguePage(
            0, catalogue, database, folder.folder(), pictures,
            [&](int, const QImage& picture) { shown += !picture.isNull(); }, nullptr, true);
    }
    if (catalogue.totalcabellos != 10000) {
        state.SkipWithError("the catalogue did not count 10,000 rows");
    }
}
BENCHMARK(CataloguePage)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
