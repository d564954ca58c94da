#include <QtTest>

#include <sys/stat.h>

#include "clients/client_records.h"
#include "clients/visits.h"
#include "image_compare.h"
#include "platform/pictures.h"
#include "program/database_upgrade.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "program/visit_table.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;

namespace {

int visitRows(Database& database) {
    return database.OpenRecordset(QStringLiteral("Select * from visita")).RecordCount();
}

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QList<int> positions(const Visit& visit) {
    QList<int> found;
    for (const VisitPhoto& photo : visit.photos) {
        found << photo.posicion;
    }
    return found;
}

}  // namespace

class VisitsTest : public QObject {
    Q_OBJECT
  private slots:
    void upgradeEntersTheVisitsOnDiskOnce();
    void twoSavesAreTwoVisitsNewestFirst();
    void deletingAClientTakesItsVisitRows();
    void failedSaveWritesNeitherRecordNorVisit();
    void aSaveCutShortIsEndedAtTheNextStart();
    void upgradeGivesSharedFoldersTheirOwn();
    void storedNamesNeverLeaveTheClientsFolder();
    void placingAVisitFillsTheSlotsInOrder();
};

void VisitsTest::upgradeEntersTheVisitsOnDiskOnce() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    // A database as the version without visits made it: the two tables only.
    Database old;
    QVERIFY(old.open(folder.path(kDatabase), true, nullptr));
    QVERIFY(createTables(old, nullptr));
    QVERIFY(old.Execute(QStringLiteral("INSERT INTO cliente VALUES ('07', 'Ana', '')")));
    QVERIFY(old.Execute(QStringLiteral("INSERT INTO cliente VALUES ('../x', 'Eva', '')")));
    old.close();
    folder.writeBytes("\\clientes\\07\\20261206-090507-foto2.bmp", "a");
    folder.writeBytes("\\clientes\\07\\20261206-090507-foto5.bmp", "b");
    folder.writeBytes("\\clientes\\07\\20261201-100000-foto1.bmp", "c");
    // Not the program's own names: left out.
    folder.writeBytes("\\clientes\\07\\notas.txt", "x");
    folder.writeBytes("\\clientes\\07\\20261399-000000-foto1.bmp", "x");
    folder.writeBytes("\\clientes\\07\\20261201-100000-foto7.bmp", "x");
    folder.writeBytes("\\clientes\\07\\copia de 20261201-100000-foto1.bmp", "x");
    // "../x" lived in "\clientes\___x"; a folder of no client is left alone.
    folder.writeBytes("\\clientes\\___x\\20261105-080000-foto3.bmp", "d");
    folder.writeBytes("\\clientes\\99\\20261105-080000-foto3.bmp", "e");

    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    QCOMPARE(visitRows(database), 4);
    std::vector<Visit> visits;
    QVERIFY(loadVisits(database, QStringLiteral("07"), visits, nullptr));
    QCOMPARE(visits.size(), std::size_t{2});
    QCOMPARE(visits[0].fecha, QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)));
    QCOMPARE(positions(visits[0]), (QList<int>{2, 5}));
    QCOMPARE(visits[0].photos[1].fichero,
             QStringLiteral("\\clientes\\07\\20261206-090507-foto5.bmp"));
    QCOMPARE(visits[1].fecha, QDateTime(QDate(2026, 12, 1), QTime(10, 0, 0)));
    QVERIFY(loadVisits(database, QStringLiteral("../x"), visits, nullptr));
    QCOMPARE(visits.size(), std::size_t{1});
    // Then moved into the folder of its own that "../x" has now.
    QCOMPARE(visits[0].photos[0].fichero,
             QStringLiteral("\\clientes\\_002e_002e_002fx\\20261105-080000-foto3.bmp"));
    QCOMPARE(bytesOf(folder.path(visits[0].photos[0].fichero)), QByteArray("d"));

    // Opened again (the next start, or after a restore): the same four rows, never twice.
    folder.writeBytes("\\clientes\\07\\20261207-110000-foto1.bmp", "f");
    database.close();
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    QVERIFY(upgradeDatabase(database, folder.folder(), nullptr));
    QCOMPARE(visitRows(database), 4);
}

void VisitsTest::twoSavesAreTwoVisitsNewestFirst() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 7));
    for (const QByteArray& content : {QByteArray("first"), QByteArray("second")}) {
        folder.writeBytes(slotFileName(1), content);
        folder.writeBytes(slotFileName(2), "not hers");
        folder.writeBytes(slotFileName(3), content + "3");
        // Both saves in the same second: the second one moves on to the next second.
        QVERIFY(saveVisit(database, folder.folder(), {"07", "Ana", ""}, {1, 3}, when.addMSecs(250),
                          nullptr));
    }
    QVERIFY(!folder.exists(kVisitStaging));
    std::vector<Visit> visits;
    QVERIFY(loadVisits(database, QStringLiteral("07"), visits, nullptr));
    QCOMPARE(visits.size(), std::size_t{2});
    QCOMPARE(visits[0].fecha, when.addSecs(1));
    QCOMPARE(visits[1].fecha, when);
    QCOMPARE(visits[0].photos[0].fichero,
             QStringLiteral("\\clientes\\07\\20261206-090508-foto1.bmp"));
    QCOMPARE(bytesOf(folder.path(visits[0].photos[1].fichero)), QByteArray("second3"));
    QCOMPARE(bytesOf(folder.path(visits[1].photos[1].fichero)), QByteArray("first3"));
    QCOMPARE(countVisits(database, QStringLiteral("07")), 2);
    // Stored as ISO 8601 text.
    QCOMPARE(database.OpenRecordset(QStringLiteral("Select min(fecha) As f from visita"))
                 .Fields(QStringLiteral("f")),
             QStringLiteral("2026-12-06T09:05:07"));
    QCOMPARE(visitDateShown(when), QStringLiteral("06/12/2026 09:05:07"));
}

void VisitsTest::deletingAClientTakesItsVisitRows() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    folder.writeBytes("\\clientes\\07\\20261206-090507-foto1.bmp", "a");
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 7));
    QVERIFY(saveClientVisit(database, "07", "Ana", "", when,
                            {{1, "\\clientes\\07\\20261206-090507-foto1.bmp"}}, nullptr));
    QVERIFY(
        saveClientVisit(database, "08", "Eva", "", when, {{1, "\\clientes\\08\\x.bmp"}}, nullptr));
    std::vector<ClientRecord> clients;
    QVERIFY(loadClients(database, clients, nullptr));
    QCOMPARE(clients.front().codigo, QStringLiteral("07"));
    QCOMPARE(deleteClient(database, clients.front(), nullptr), ClientWrite::Done);
    QCOMPARE(countVisits(database, QStringLiteral("07")), 0);
    QCOMPARE(countVisits(database, QStringLiteral("08")), 1);
    QVERIFY(folder.exists("\\clientes\\07\\20261206-090507-foto1.bmp"));  // the files stay
}

void VisitsTest::failedSaveWritesNeitherRecordNorVisit() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    QVERIFY(database.Execute(QStringLiteral("INSERT INTO cliente VALUES ('07', 'Ana', '')")));
    QVERIFY(database.Execute(
        QStringLiteral("CREATE TRIGGER no_more BEFORE INSERT ON visita BEGIN SELECT RAISE(ABORT, "
                       "'lleno'); END")));
    folder.writeBytes(slotFileName(1), "look");
    QString error;
    QVERIFY(!saveVisit(database, folder.folder(), {"07", "Ana Nueva", ""}, {1},
                       QDateTime::currentDateTime(), &error));
    QVERIFY(error.contains(QStringLiteral("lleno")));
    QCOMPARE(database.OpenRecordset(QStringLiteral("Select nombrecliente from cliente"))
                 .Fields(QStringLiteral("nombrecliente")),
             QStringLiteral("Ana"));
    QCOMPARE(visitRows(database), 0);
    // No photo is left without its row.
    QVERIFY(QDir(folder.path("\\clientes\\07")).entryList(QDir::Files).isEmpty());
    QVERIFY(!folder.exists(kVisitStaging));
}

void VisitsTest::aSaveCutShortIsEndedAtTheNextStart() {
    // Killed after the rows of one visit were written, and before those of another.
    TestProgramFolder folder(TestProgramFolder::Empty);
    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    const QString written = "\\clientes\\07\\20261206-090507-foto1.bmp";
    QVERIFY(saveClientVisit(database, "07", "Ana", "",
                            QDateTime(QDate(2026, 12, 6), QTime(9, 5, 7)), {{1, written}},
                            nullptr));
    folder.writeBytes(stagedVisitName(written), "kept");
    folder.writeBytes("\\guardando\\07\\20261206-090600-foto1.bmp", "never entered");
    database.close();
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    QCOMPARE(bytesOf(folder.path(written)), QByteArray("kept"));
    QCOMPARE(QDir(folder.path("\\clientes\\07")).entryList(QDir::Files).size(), 1);
    QVERIFY(!folder.exists(kVisitStaging));
}

void VisitsTest::upgradeGivesSharedFoldersTheirOwn() {
    // "a.b" and "a_b" shared "\clientes\a_b\" in earlier versions; each row says whose file is.
    TestProgramFolder folder(TestProgramFolder::Empty);
    {
        Database old;
        QVERIFY(openProgramDatabase(old, folder.folder(), nullptr));
        QVERIFY(old.Execute(QStringLiteral("DROP INDEX visita_fichero")));
        for (const auto& [codigo, stamp] :
             {std::pair{"a.b", "20261201-100000"}, std::pair{"a_b", "20261202-100000"}}) {
            const QString fichero = QStringLiteral("\\clientes\\a_b\\%1-foto1.bmp").arg(stamp);
            folder.writeBytes(fichero, codigo);
            QVERIFY(saveClientVisit(old, codigo, "X", "",
                                    QDateTime::fromString(stamp, kVisitStampFormat), {{1, fichero}},
                                    nullptr));
        }
        folder.writeBytes("\\clientes\\a_b\\notas.txt", "nobody's");
    }
    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    for (const auto& [codigo, own] : {std::pair{"a.b", "a_002eb"}, std::pair{"a_b", "a_005fb"}}) {
        std::vector<Visit> visits;
        QVERIFY(loadVisits(database, codigo, visits, nullptr));
        QCOMPARE(visits.size(), std::size_t{1});
        const QString fichero = visits[0].photos[0].fichero;
        QVERIFY2(fichero.startsWith(QStringLiteral("\\clientes\\%1\\").arg(own)),
                 qPrintable(fichero));
        QCOMPARE(bytesOf(folder.path(fichero)), QByteArray(codigo));
    }
    QCOMPARE(QDir(folder.path("\\clientes\\a_b")).entryList(QDir::Files), QStringList{"notas.txt"});
}

void VisitsTest::storedNamesNeverLeaveTheClientsFolder() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    folder.writeBytes("\\clientes\\07\\a.bmp", "a");
    folder.writeBytes("\\secreto.bmp", "s");
    QCOMPARE(visitFilePath(folder.folder(), "\\clientes\\07\\a.bmp"),
             folder.path("\\clientes\\07\\a.bmp"));
    QVERIFY(visitFilePath(folder.folder(), "\\clientes\\..\\secreto.bmp").isEmpty());
    QVERIFY(visitFilePath(folder.folder(), "\\secreto.bmp").isEmpty());
    QVERIFY(visitFilePath(folder.folder(), "\\clientes").isEmpty());
    // A link inside the folder that points out of it.
    QVERIFY(QFile::link(folder.path("\\secreto.bmp"), folder.path("\\clientes\\07\\enlace.bmp")));
    QVERIFY(visitFilePath(folder.folder(), "\\clientes\\07\\enlace.bmp").isEmpty());
}

void VisitsTest::placingAVisitFillsTheSlotsInOrder() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    QImage two(4, 3, QImage::Format_RGB32);
    two.fill(0xFF112233);
    QImage five(4, 3, QImage::Format_RGB32);
    five.fill(0xFF445566);
    folder.writePicture("\\clientes\\07\\v-foto2.bmp", two);
    folder.writePicture("\\clientes\\07\\v-foto5.bmp", five);
    folder.writeBytes("\\clientes\\07\\v-foto6.bmp", "not a picture");
    // Larger than the slots' 300 x 320: read reduced into it (1200 x 600 becomes 300 x 150).
    folder.writeBytes("\\clientes\\07\\v-foto1.bmp",
                      test::runLengthBitmap(QSize(1200, 600), 0x00998877));
    // A named pipe is passed over, never opened (opening it would wait for a writer for ever).
    QVERIFY(::mkfifo(QFile::encodeName(folder.path("\\clientes\\07\\v-foto3.bmp")), 0600) == 0);
    for (int slot = 1; slot <= 4; ++slot) {
        folder.writeBytes(slotFileName(slot), "old");
    }
    const Visit visit{QDateTime(QDate(2026, 12, 6), QTime(9, 0)),
                      {{1, "\\clientes\\07\\v-foto1.bmp"},
                       {2, "\\clientes\\07\\v-foto2.bmp"},
                       {3, "\\clientes\\07\\v-foto3.bmp"},
                       {4, "\\clientes\\07\\v-foto4.bmp"},
                       {5, "\\clientes\\07\\v-foto5.bmp"},
                       {6, "\\clientes\\07\\v-foto6.bmp"}}};
    QStringList missing;
    QString error;
    const std::vector<QImage> placed =
        placeVisitInSlots(folder.folder(), visit, QSize(300, 320), &missing, &error);
    QVERIFY(error.isEmpty());
    QCOMPARE(placed.size(), std::size_t{3});
    QCOMPARE(placed[0].size(), QSize(300, 150));
    QCOMPARE(placed[0].pixel(150, 75), 0xFF778899u);
    QCOMPARE(loadPicture(folder.path(slotFileName(1))).picture.size(), QSize(300, 150));
    QCOMPARE(placed[1].pixel(3, 2), 0xFF112233u);
    QCOMPARE(placed[2].pixel(0, 0), 0xFF445566u);
    QCOMPARE(bytesOf(folder.path(slotFileName(2))),
             bytesOf(folder.path("\\clientes\\07\\v-foto2.bmp")));
    QCOMPARE(bytesOf(folder.path(slotFileName(3))),
             bytesOf(folder.path("\\clientes\\07\\v-foto5.bmp")));
    for (int slot = 4; slot <= 6; ++slot) {
        QVERIFY(!folder.exists(slotFileName(slot)));
    }
    QCOMPARE(missing, (QStringList{folder.path("\\clientes\\07\\v-foto3.bmp"),
                                   folder.path("\\clientes\\07\\v-foto4.bmp"),
                                   folder.path("\\clientes\\07\\v-foto6.bmp")}));
}

QTEST_GUILESS_MAIN(VisitsTest)
#include "tst_visits.moc"
