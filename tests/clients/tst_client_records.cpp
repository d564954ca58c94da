#include <QtTest>

#include "clients/client_records.h"
#include "program/client_files.h"
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
    void searchIgnoresCaseAndAccents();
    void photoNamesUnderTheFolderAreRelative();
    void eachCodeHasAFolderOfItsOwn_data();
    void eachCodeHasAFolderOfItsOwn();
    void typedNamesWithHiddenCharactersAreRefused();
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

void ClientRecordsTest::searchIgnoresCaseAndAccents() {
    const std::vector<ClientRecord> clients = {
        {"Ñ-01", "Ángela Núñez", ""}, {"n-02", "angela nunez", ""}, {"103", "Marta", ""}};
    const QStringList both = {"Ángela Núñez", "angela nunez"};
    for (const char* typed : {"ÁNGELA", "NÚÑ", "nun", "angela ", "ngela nu"}) {
        QCOMPARE(names(matchClients(clients, SearchBy::Nombre, QString::fromUtf8(typed))), both);
    }
    QCOMPARE(names(matchClients(clients, SearchBy::Codigo, QStringLiteral("n-0"))), both);
    QCOMPARE(names(matchClients(clients, SearchBy::Codigo, QStringLiteral("Ñ-01"))),
             QStringList{"Ángela Núñez"});
    QCOMPARE(matchClients(clients, SearchBy::Nombre, QStringLiteral("nunezz")).size(), 0u);
    QCOMPARE(matchClients(clients, SearchBy::Nombre, QString()).size(), std::size_t(3));
}

void ClientRecordsTest::photoNamesUnderTheFolderAreRelative() {
    const ProgramFolder folder(QStringLiteral("/opt/crinova"));
    QCOMPARE(storedPhotoName(folder, QStringLiteral("/opt/crinova/clientes/ana.jpg")),
             QStringLiteral("\\clientes\\ana.jpg"));
    QCOMPARE(storedPhotoName(folder, QStringLiteral("/home/fotos/ana.jpg")),
             QStringLiteral("/home/fotos/ana.jpg"));
    // Only photos under "\clientes\" are ever opened.
    for (const char* inside : {"\\clientes\\a.jpg", "\\clientes\\07\\x.bmp"}) {
        QVERIFY2(photoNameInClients(QString::fromUtf8(inside)), inside);
    }
    for (const char* outside :
         {"/etc/shadow", "\\clientes\\..\\crinova.db", "\\clientes\\a/../../x", "\\vexasinmo.jpg",
          "\\clientes\\", "clientes\\a.jpg"}) {
        QVERIFY2(!photoNameInClients(QString::fromUtf8(outside)), outside);
    }
}

void ClientRecordsTest::eachCodeHasAFolderOfItsOwn_data() {
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("folder");
    QTest::newRow("digits") << "07"
                            << "07";
    QTest::newRow("letters kept, accents too") << "Muñoz-2"
                                               << "Muñoz-2";
    QTest::newRow("dot") << "a.b"
                         << "a_002eb";
    QTest::newRow("underscore") << "a_b"
                                << "a_005fb";
    QTest::newRow("space") << "x y"
                           << "x_0020y";
    QTest::newRow("climbing") << "../.."
                              << "_002e_002e_002f_002e_002e";
    QTest::newRow("backslash") << "a\\b"
                               << "a_005cb";
    QTest::newRow("empty") << ""
                           << "_";
}

void ClientRecordsTest::eachCodeHasAFolderOfItsOwn() {
    QFETCH(QString, codigo);
    QFETCH(QString, folder);
    QCOMPARE(clientFolderName(codigo), QStringLiteral("\\clientes\\") + folder);
}

void ClientRecordsTest::typedNamesWithHiddenCharactersAreRefused() {
    QVERIFY(!hasHiddenCharacters(QStringLiteral("Ana María O'Brien-Núñez 12")));
    for (const QChar c : {QChar(0), QChar('\t'), QChar('\n'), QChar(0x7F), QChar(0x202E),
                          QChar(0x2066), QChar(0x200F), QChar(0x2028)}) {
        QVERIFY2(hasHiddenCharacters(QStringLiteral("Ana") + c + QStringLiteral("Luis")),
                 qPrintable(QString::number(c.unicode(), 16)));
    }
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
