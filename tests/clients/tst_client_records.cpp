#include <QtTest>

#include "clients/client_records.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;

namespace {

struct Records {
    TestProgramFolder folder{TestProgramFolder::Empty};
    Database database;
    Records() { openProgramDatabase(database, folder.folder(), nullptr); }
    std::vector<ClientRecord> all() {
        std::vector<ClientRecord> clients;
        loadClients(database, clients, nullptr);
        return clients;
    }
};

QStringList names(const std::vector<ClientRecord>& clients) {
    QStringList found;
    for (const ClientRecord& client : clients) {
        found << client.nombre;
    }
    return found;
}

}  // namespace

class ClientRecordsTest : public QObject {
    Q_OBJECT
  private slots:
    void quotesAreStoredFoundAndDeleted();
    void duplicateCodeIsRefused();
    void searchIgnoresCaseButNotAccents();
    void photoNamesUnderTheFolderAreRelative();
    void visitPhotosGoToTheClientsFolder();
    void failedWriteLeavesTheTable();
};

void ClientRecordsTest::quotesAreStoredFoundAndDeleted() {
    Records records;
    const ClientRecord obrien{QStringLiteral("'; DROP TABLE cliente; --"),
                              QStringLiteral("O'Brien"), QStringLiteral("\\clientes\\o.jpg")};
    QCOMPARE(addClient(records.database, obrien, nullptr), ClientWrite::Done);
    QCOMPARE(records.all(), (std::vector<ClientRecord>{obrien}));
    QCOMPARE(names(matchClients(records.all(), SearchBy::Nombre, QStringLiteral("o'b"))),
             QStringList{"O'Brien"});
    QCOMPARE(deleteClient(records.database, records.all().front(), nullptr), ClientWrite::Done);
    QVERIFY(records.all().empty());
    QVERIFY(records.database.OpenRecordset(QStringLiteral("Select * from cliente")).isOpen());
}

void ClientRecordsTest::duplicateCodeIsRefused() {
    Records records;
    QCOMPARE(addClient(records.database, {"7", "Ana", ""}, nullptr), ClientWrite::Done);
    QCOMPARE(addClient(records.database, {"7", "Berta", ""}, nullptr), ClientWrite::DuplicateCode);
    QCOMPARE(names(records.all()), QStringList{"Ana"});
    QCOMPARE(saveClient(records.database, {"7", "Ana María", "\\x.jpg"}, nullptr),
             ClientWrite::Done);
    QCOMPARE(records.all().front().nombre, QStringLiteral("Ana María"));
}

void ClientRecordsTest::searchIgnoresCaseButNotAccents() {
    const std::vector<ClientRecord> clients = {
        {"001", "Ángela Núñez", ""}, {"002", "angela nunez", ""}, {"103", "Marta", ""}};
    QCOMPARE(names(matchClients(clients, SearchBy::Nombre, QStringLiteral("ÁNGELA"))),
             QStringList{"Ángela Núñez"});
    QCOMPARE(names(matchClients(clients, SearchBy::Nombre, QStringLiteral("NÚÑ"))),
             QStringList{"Ángela Núñez"});
    QCOMPARE(names(matchClients(clients, SearchBy::Nombre, QStringLiteral("nun"))),
             QStringList{"angela nunez"});  // accents count as typed
    QCOMPARE(names(matchClients(clients, SearchBy::Nombre, QStringLiteral("ANGELA"))),
             QStringList{"angela nunez"});
    QCOMPARE(names(matchClients(clients, SearchBy::Codigo, QStringLiteral("00"))),
             (QStringList{"Ángela Núñez", "angela nunez"}));
    QCOMPARE(matchClients(clients, SearchBy::Nombre, QString()).size(), std::size_t(3));
}

void ClientRecordsTest::photoNamesUnderTheFolderAreRelative() {
    const ProgramFolder folder(QStringLiteral("/opt/crinova"));
    QCOMPARE(storedPhotoName(folder, QStringLiteral("/opt/crinova/clientes/ana.jpg")),
             QStringLiteral("\\clientes\\ana.jpg"));
    QCOMPARE(storedPhotoName(folder, QStringLiteral("/home/fotos/ana.jpg")),
             QStringLiteral("/home/fotos/ana.jpg"));
    QCOMPARE(clientFolderName(QStringLiteral("07")), QStringLiteral("\\clientes\\07"));
    QCOMPARE(clientFolderName(QStringLiteral("../..")), QStringLiteral("\\clientes\\_____"));
}

void ClientRecordsTest::visitPhotosGoToTheClientsFolder() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    folder.writeBytes(slotFileName(2), "two");
    folder.writeBytes(slotFileName(5), "five");
    const QDateTime when(QDate(2026, 12, 6), QTime(9, 5, 7));
    QString error;
    const QStringList written =
        keepVisitPhotos(folder.folder(), QStringLiteral("07"), when, &error);
    QCOMPARE(written, (QStringList{"\\clientes\\07\\20261206-090507-foto2.bmp",
                                   "\\clientes\\07\\20261206-090507-foto5.bmp"}));
    QVERIFY(error.isEmpty());
    QFile copy(folder.path(written[1]));
    QVERIFY(copy.open(QIODevice::ReadOnly));
    QCOMPARE(copy.readAll(), QByteArray("five"));
}

void ClientRecordsTest::failedWriteLeavesTheTable() {
    Records records;
    QCOMPARE(addClient(records.database, {"1", "Ana", ""}, nullptr), ClientWrite::Done);
    // A trigger that refuses the insert half-way through a save: the delete is undone too.
    QVERIFY(records.database.Execute(
        QStringLiteral("CREATE TRIGGER no_more BEFORE INSERT ON cliente BEGIN SELECT RAISE(ABORT, "
                       "'lleno'); END")));
    QString error;
    QCOMPARE(saveClient(records.database, {"1", "Ana Nueva", ""}, &error), ClientWrite::Failed);
    QVERIFY(error.contains(QStringLiteral("lleno")));
    QCOMPARE(names(records.all()), QStringList{"Ana"});
}

QTEST_GUILESS_MAIN(ClientRecordsTest)
#include "tst_client_records.moc"
