#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QtTest>
#include <thread>

#include "catalogue/own_styles.h"
#include "catalogue/styles_upload.h"
#include "clients/client_records.h"
#include "clients/records_upload.h"
#include "clients/visits.h"
#include "program/database_upgrade.h"
#include "program/password_file.h"
#include "program/picture_store.h"
#include "program/program_database.h"
#include "program/server_link.h"
#include "test_folder.h"
#include "test_server.h"

using namespace crinova;
using crinova::test::TestProgramFolder;
using crinova::test::TestServer;

Q_DECLARE_METATYPE(crinova::ServerFault)

namespace {
constexpr int kRefusing = 1;
constexpr int kSilent = 2;
}  // namespace

class ServerDatabaseTest : public QObject {
    Q_OBJECT
  private slots:
    void initTestCase();
    void init();
    void faultsAreToldNamingTheServer_data();
    void faultsAreToldNamingTheServer();
    void rememberedPasswordIsReadByTheDriver();
    void schemaIsMadeByTheUpgradeSteps_data();
    void schemaIsMadeByTheUpgradeSteps();
    void picturesComeToTheLocalCopy();
    void recordsOfTwoStations();
    void fourStationsSaveAtOnce();
    void uploadCopiesEachClientOnce();
    void lostConnectionComesBack();

  private:
    ServerOutcome open(Database& database, const ServerSettings& settings,
                       const QString& password = TestServer::password());

    TestServer server_;
    TestProgramFolder folder_{TestProgramFolder::Empty};
    QTemporaryDir home_;
};

void ServerDatabaseTest::initTestCase() {
    if (!server_.start()) {
        QSKIP(qPrintable(server_.reason()));
    }
    // The password file of this test's own, never the account's.
    qputenv("PGPASSFILE", QFile::encodeName(home_.filePath(QStringLiteral("pgpass"))));
}

void ServerDatabaseTest::init() {
    // Every test starts on an empty schema, as the salon's script leaves it.
    bool ok = false;
    server_.administer(QStringLiteral("DROP SCHEMA crinova CASCADE; CREATE SCHEMA crinova "
                                      "AUTHORIZATION estilista"),
                       &ok);
    QVERIFY(ok);
    QFile::remove(passwordFilePath());
}

ServerOutcome ServerDatabaseTest::open(Database& database, const ServerSettings& settings,
                                       const QString& password) {
    return openServerDatabase(database, folder_.folder(), settings, password);
}

void ServerDatabaseTest::faultsAreToldNamingTheServer_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");  // 0: the test server's; else kRefusing or kSilent
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("cifrado");
    QTest::addColumn<ServerFault>("fault");
    const QString local = QStringLiteral("127.0.0.1");
    const QString base = QStringLiteral("crinova_prueba");
    QTest::newRow("host not found") << QStringLiteral("no-existe.invalid") << 0 << base
                                    << TestServer::password() << false << ServerFault::HostNotFound;
    QTest::newRow("refused") << local << kRefusing << base << TestServer::password() << false
                             << ServerFault::Refused;
    QTest::newRow("timeout") << local << kSilent << base << TestServer::password() << false
                             << ServerFault::Timeout;
    QTest::newRow("wrong password")
        << local << 0 << base << QStringLiteral("peine") << false << ServerFault::WrongPassword;
    QTest::newRow("no password") << local << 0 << base << QString() << false
                                 << ServerFault::PasswordNeeded;
    QTest::newRow("no database") << local << 0 << QStringLiteral("otra") << TestServer::password()
                                 << false << ServerFault::NoDatabase;
    QTest::newRow("no tls when required")
        << local << 0 << base << TestServer::password() << true << ServerFault::NoTls;
    QTest::newRow("works") << local << 0 << base << TestServer::password() << false
                           << ServerFault::None;
}

void ServerDatabaseTest::faultsAreToldNamingTheServer() {
    QFETCH(QString, host);
    QFETCH(int, port);
    QFETCH(QString, database);
    QFETCH(QString, password);
    QFETCH(bool, cifrado);
    QFETCH(ServerFault, fault);
    ServerSettings settings = server_.settings();
    settings.servidor = host;
    settings.basedatos = database;
    settings.cifrado = cifrado;
    // A port of this test's own: bound, so nobody else takes it, and refusing connections; or
    // listening and never answering, as a server that hangs.
    const int own = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (port != 0) {
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        QVERIFY(bind(own, reinterpret_cast<sockaddr*>(&address), size) == 0);
        QVERIFY(getsockname(own, reinterpret_cast<sockaddr*>(&address), &size) == 0);
        QVERIFY(port == kRefusing || listen(own, 4) == 0);
        settings.puerto = ntohs(address.sin_port);
    }
    const ServerOutcome probed = probeServer(settings, password);
    ::close(own);
    QCOMPARE(probed.fault, fault);
    if (port == kSilent) {
        return;  // the connection waits just as long
    }
    Database connection;
    const ServerOutcome opened = open(connection, settings, password);
    QCOMPARE(opened.fault, fault);
    QCOMPARE(connection.isOpen(), fault == ServerFault::None);
    if (fault != ServerFault::None) {
        QVERIFY2(probed.message.contains(QStringLiteral("«%1»").arg(host)),
                 qPrintable(probed.message));
        QVERIFY(!probed.message.contains(TestServer::password()));
    }
}

void ServerDatabaseTest::rememberedPasswordIsReadByTheDriver() {
    const ServerSettings settings = server_.settings();
    QVERIFY(rememberPassword(passwordFilePath(), settings, TestServer::password(), nullptr));
    QVERIFY(probeServer(settings, QString()).ok());
    QVERIFY(forgetPassword(passwordFilePath(), settings, nullptr));
    QCOMPARE(probeServer(settings, QString()).fault, ServerFault::PasswordNeeded);
}

void ServerDatabaseTest::schemaIsMadeByTheUpgradeSteps_data() {
    QTest::addColumn<QString>("before");  // what the administrator leaves on the server first
    QTest::addColumn<bool>("accepted");
    QTest::newRow("empty schema") << QString() << true;
    QTest::newRow("older schema")
        << QStringLiteral(
               "SET search_path=crinova; CREATE TABLE cabellos (tpersona TEXT, "
               "largura TEXT, tipo TEXT, color TEXT, nombre TEXT); CREATE TABLE "
               "cliente (codigocliente TEXT PRIMARY KEY, nombrecliente TEXT, "
               "Fprograma TEXT); INSERT INTO cliente VALUES ('07', 'Ana', ''); "
               "CREATE TABLE visita (codigocliente TEXT, fecha TEXT, posicion "
               "INTEGER, fichero TEXT, PRIMARY KEY (codigocliente, fecha, posicion));"
               "CREATE TABLE esquema (version INTEGER NOT NULL); INSERT INTO esquema "
               "VALUES (1); ALTER SCHEMA crinova OWNER TO estilista; "
               "ALTER TABLE cabellos OWNER TO estilista; ALTER TABLE cliente OWNER TO "
               "estilista; ALTER TABLE visita OWNER TO estilista; ALTER TABLE esquema "
               "OWNER TO estilista")
        << true;
    QTest::newRow("newer schema")
        << QStringLiteral(
               "CREATE TABLE crinova.esquema (version INTEGER); INSERT INTO "
               "crinova.esquema VALUES (%1); ALTER TABLE crinova.esquema OWNER TO "
               "estilista")
               .arg(schemaVersion() + 1)
        << false;
}

void ServerDatabaseTest::schemaIsMadeByTheUpgradeSteps() {
    QFETCH(QString, before);
    QFETCH(bool, accepted);
    bool ok = true;
    if (!before.isEmpty()) {
        server_.administer(before, &ok);
    }
    QVERIFY(ok);
    const QString tables = QStringLiteral(
        "Select string_agg(table_name, ' ' order by table_name) From information_schema.tables "
        "where table_schema='crinova'");
    const QString found = server_.administer(tables);
    Database database;
    const ServerOutcome opened = open(database, server_.settings());
    if (!accepted) {
        QCOMPARE(opened.fault, ServerFault::NewerSchema);
        QVERIFY2(opened.message.contains(QStringLiteral("más nueva")), qPrintable(opened.message));
        QCOMPARE(server_.administer(tables), found);  // untouched
        return;
    }
    QVERIFY2(opened.ok(), qPrintable(opened.message));
    QCOMPARE(server_.administer(tables), QStringLiteral("cabellos cliente esquema imagen visita"));
    QCOMPARE(serverSchemaVersion(database, nullptr), schemaVersion());
    QCOMPARE(server_.administer(QStringLiteral("Select count(*) From crinova.cliente")),
             QStringLiteral("%1").arg(before.isEmpty() ? 0 : 1));
    // Again, as the next station: nothing more to do.
    Database second;
    QVERIFY(open(second, server_.settings()).ok());
    // The role has its own schema and nothing else.
    QVERIFY(!database.Execute(QStringLiteral("CREATE TABLE public.intrusa (x INTEGER)")));
    QVERIFY(!database.Execute(QStringLiteral("CREATE DATABASE otra")));
}

void ServerDatabaseTest::picturesComeToTheLocalCopy() {
    Database database;
    QVERIFY(open(database, server_.settings()).ok());
    const QString name = QStringLiteral("\\clientes\\07\\20260101-100000-foto1.bmp");
    const QByteArray first("BM primera foto"), second(QByteArray("BM segunda\0foto", 15));
    QString error;
    QVERIFY2(putPicture(database, folder_.folder(), name, first, &error), qPrintable(error));
    const auto local = [&] {
        QFile file(folder_.path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    QCOMPARE(fetchPicture(database, folder_.folder(), name, &error), PictureFetch::Fetched);
    QCOMPARE(local(), first);
    QCOMPARE(fetchPicture(database, folder_.folder(), name, &error), PictureFetch::Current);
    // Another station replaced it; then the local copy was damaged.
    QVERIFY(putPicture(database, folder_.folder(), name, second, &error));
    QCOMPARE(fetchPicture(database, folder_.folder(), name, &error), PictureFetch::Fetched);
    QCOMPARE(local(), second);
    folder_.writeBytes(name, "dañada");
    QCOMPARE(fetchPicture(database, folder_.folder(), name, &error), PictureFetch::Fetched);
    QCOMPARE(local(), second);
    QCOMPARE(
        fetchPicture(database, folder_.folder(), QStringLiteral("\\clientes\\otra.jpg"), &error),
        PictureFetch::NotOnServer);
    // A name from the server never leads out of the pictures' folders.
    for (const QString& outside :
         {QStringLiteral("\\crinova.db"), QStringLiteral("\\clientes\\..\\crinova.db"),
          QStringLiteral("\\fotos\\a/../../x.jpg")}) {
        QVERIFY(!putPicture(database, folder_.folder(), outside, first, nullptr));
        QVERIFY(server_
                    .administer(QStringLiteral("INSERT INTO crinova.imagen VALUES ('%1', '%2', "
                                               "'\\x00')")
                                    .arg(outside, pictureChecksum(QByteArray(1, '\0'))))
                    .isEmpty());
        QCOMPARE(fetchPicture(database, folder_.folder(), outside, &error), PictureFetch::Failed);
    }
    QVERIFY(!folder_.exists(QStringLiteral("\\crinova.db")));
}

void ServerDatabaseTest::recordsOfTwoStations() {
    Database reception;
    Database chair;
    QVERIFY(open(reception, server_.settings()).ok());
    QVERIFY(open(chair, server_.settings()).ok());
    const ClientRecord ana{QStringLiteral("07"), QStringLiteral("Ana Ruiz"),
                           QStringLiteral("\\clientes\\07.jpg")};
    QString error;
    QCOMPARE(addClient(reception, ana, &error), ClientWrite::Done);
    // The same code at the other station: refused, the first kept.
    ClientRecord other = ana;
    other.nombre = QStringLiteral("Eva Gil");
    QCOMPARE(addClient(chair, other, &error), ClientWrite::DuplicateCode);
    std::vector<ClientRecord> clients;
    QVERIFY2(loadClients(chair, clients, &error), qPrintable(error));
    QCOMPARE(clients.size(), std::size_t(1));
    QCOMPARE(clients[0].nombre, ana.nombre);
    QVERIFY(!clients[0].codeMissing && !clients[0].nameMissing);

    // Visits saved at both stations are both kept, in order; saving one again replaces its rows.
    const QDateTime first(QDate(2026, 12, 1), QTime(10, 0));
    const QDateTime second(QDate(2026, 12, 2), QTime(11, 30));
    const std::vector<VisitPhoto> one{{1, QStringLiteral("\\clientes\\07\\a-foto1.bmp")}};
    const std::vector<VisitPhoto> two{{1, QStringLiteral("\\clientes\\07\\b-foto1.bmp")},
                                      {2, QStringLiteral("\\clientes\\07\\b-foto2.bmp")}};
    QVERIFY(saveClientVisit(chair, ana.codigo, ana.nombre, ana.fprograma, second, two, &error));
    QVERIFY(saveClientVisit(reception, ana.codigo, ana.nombre, ana.fprograma, first, one, &error));
    QVERIFY2(saveClientVisit(reception, ana.codigo, ana.nombre, ana.fprograma, first, one, &error),
             qPrintable(error));
    std::vector<Visit> visits;
    QVERIFY(loadVisits(chair, ana.codigo, visits, &error));
    QCOMPARE(visits.size(), std::size_t(2));
    QCOMPARE(visits[0].photos.size() + visits[1].photos.size(), std::size_t(3));

    // Deleted at one station: gone with her visits for the other.
    QVERIFY(loadClients(reception, clients, &error));
    QCOMPARE(deleteClient(reception, clients[0], &error), ClientWrite::Done);
    QVERIFY(loadClients(chair, clients, &error) && clients.empty());
    QVERIFY(loadVisits(chair, ana.codigo, visits, &error) && visits.empty());
    // The chair, still showing her, saves a visit: refused, and she stays gone.
    QVERIFY(!saveClientVisit(chair, ana.codigo, ana.nombre, ana.fprograma, second, two, &error));
    QVERIFY(error.contains(QStringLiteral("la han eliminado en otro puesto")));
    QVERIFY(loadClients(reception, clients, &error) && clients.empty());
}

void ServerDatabaseTest::fourStationsSaveAtOnce() {
    Database reception;
    QVERIFY(open(reception, server_.settings()).ok());
    const ClientRecord ana{QStringLiteral("07"), QStringLiteral("Ana Ruiz"),
                           QStringLiteral("\\clientes\\07.jpg")};
    QCOMPARE(addClient(reception, ana, nullptr), ClientWrite::Done);
    // Four stations save a hundred visits each for her at once: every one kept, none twice,
    // none refused.
    std::vector<QString> failures(4);
    std::vector<std::thread> stations;
    for (std::size_t s = 0; s < failures.size(); ++s) {
        stations.emplace_back([&, s] {
            Database station;
            if (!open(station, server_.settings()).ok()) {
                failures[s] = QStringLiteral("sin conexión");
                return;
            }
            const QDateTime start(QDate(2026, 1, 1), QTime(9, 0));
            for (int i = 0; i < 100 && failures[s].isEmpty(); ++i) {
                saveClientVisit(station, ana.codigo, ana.nombre, ana.fprograma,
                                start.addSecs(qint64(s) * 1000 + i),
                                {{1, QStringLiteral("\\clientes\\07\\foto1.bmp")}}, &failures[s]);
            }
        });
    }
    for (std::thread& station : stations) {
        station.join();
    }
    QCOMPARE(failures, std::vector<QString>(4));
    QCOMPARE(server_
                 .administer(QStringLiteral("SELECT count(*), count(DISTINCT fecha) FROM "
                                            "crinova.visita WHERE codigocliente='07'"))
                 .trimmed(),
             QStringLiteral("400|400"));
}

void ServerDatabaseTest::uploadCopiesEachClientOnce() {
    Database server;
    QVERIFY(open(server, server_.settings()).ok());
    // The station's own file: Ana with a visit of two photos, and Eva, whose code the server
    // already gives to someone else.
    TestProgramFolder station(TestProgramFolder::Empty);
    Database local;
    QString error;
    QVERIFY2(openProgramDatabase(local, station.folder(), &error), qPrintable(error));
    const ClientRecord ana{QStringLiteral("07"), QStringLiteral("Ana Ruiz"),
                           QStringLiteral("\\clientes\\07.jpg")};
    const ClientRecord eva{QStringLiteral("08"), QStringLiteral("Eva Gil"),
                           QStringLiteral("\\clientes\\08.jpg")};
    const std::vector<VisitPhoto> photos{{1, QStringLiteral("\\clientes\\07\\a-foto1.bmp")},
                                         {2, QStringLiteral("\\clientes\\07\\a-foto2.bmp")}};
    for (const QString& name :
         {ana.fprograma, eva.fprograma, photos[0].fichero, photos[1].fichero}) {
        station.writeBytes(name, name.toUtf8());
    }
    QVERIFY(addClient(local, ana, &error) == ClientWrite::Done &&
            addClient(local, eva, &error) == ClientWrite::Done);
    QVERIFY(saveClientVisit(local, ana.codigo, ana.nombre, ana.fprograma,
                            QDateTime(QDate(2026, 11, 3), QTime(9, 15)), photos, &error));
    QCOMPARE(addClient(server, {eva.codigo, QStringLiteral("Rosa Pi"), eva.fprograma}, &error),
             ClientWrite::Done);

    const RecordsUpload first = uploadRecords(local, server, station.folder());
    QCOMPARE(first.failures, QStringList());
    QCOMPARE(first.clientsCopied, 1);
    QCOMPARE(first.visitsCopied, 2);
    QCOMPARE(first.conflicts, QStringList{QStringLiteral("El código 08 es de «Rosa Pi» en el "
                                                         "servidor y de «Eva Gil» en este "
                                                         "ordenador.")});
    // Ana's photo and her visit's are on the server; Eva's is not.
    QCOMPARE(server_.administer(QStringLiteral("SELECT count(*) FROM crinova.imagen")).trimmed(),
             QStringLiteral("3"));
    // Again: nothing doubles.
    const RecordsUpload second = uploadRecords(local, server, station.folder());
    QCOMPARE(second.clientsCopied + second.visitsCopied, 0);
    QCOMPARE(second.clientsThere, 1);
    QCOMPARE(second.visitsThere, 2);
    std::vector<ClientRecord> clients;
    QVERIFY(loadClients(server, clients, &error));
    QCOMPARE(clients.size(), std::size_t(2));
    std::vector<Visit> visits;
    QVERIFY(loadVisits(server, ana.codigo, visits, &error));
    QCOMPARE(visits.size(), std::size_t(1));
    QCOMPARE(visits[0].photos.size(), std::size_t(2));

    // The salon's own style of the station goes up once, with its six files.
    QImage colour(300, 320, QImage::Format_RGB32);
    colour.fill(qRgb(90, 60, 30));
    QImage alpha(300, 320, QImage::Format_Grayscale8);
    alpha.fill(255);
    const StyleRow style{QStringLiteral("mujer"), QStringLiteral("largo"), QStringLiteral("liso"),
                         QStringLiteral("dorado"), QStringLiteral("propio")};
    QVERIFY2(
        saveOwnStyle(local, station.folder(), stylePictures(colour, alpha),
                     {style, QByteArray("foto"), QStringLiteral("jpg"), {}, {}}, false, &error),
        qPrintable(error));
    const StylesUpload styles = uploadOwnStyles(local, server, station.folder());
    QCOMPARE(styles.copied, 1);
    QCOMPARE(uploadOwnStyles(local, server, station.folder()).there, 1);
    QCOMPARE(server_.administer(QStringLiteral("SELECT count(*) FROM crinova.imagen")).trimmed(),
             QStringLiteral("9"));
}

void ServerDatabaseTest::lostConnectionComesBack() {
    ServerLink link(folder_.folder());
    QSignalSpy lost(&link, &ServerLink::lost);
    QSignalSpy restored(&link, &ServerLink::restored);
    bool done = false;
    link.connectTo(server_.settings(), TestServer::password(), false,
                   [&done](const ServerOutcome& outcome) { done = outcome.ok(); });
    QTRY_VERIFY_WITH_TIMEOUT(done, 15000);
    QCOMPARE(link.state(), ServerLink::State::Connected);

    // A restart between two looks: the connection is made again without a word.
    QVERIFY(server_.stop() && server_.startAgain());
    link.vigilancia_Timer();
    QTRY_VERIFY_WITH_TIMEOUT(!link.trying(), 15000);
    QCOMPARE(link.state(), ServerLink::State::Connected);
    QVERIFY(link.database().OpenRecordset(QStringLiteral("Select 1 As uno")).isOpen());
    QCOMPARE(lost.count(), 0);

    // Stopped: told once, naming the server; back when it answers again.
    QVERIFY(server_.stop());
    link.vigilancia_Timer();
    QVERIFY(lost.wait(15000));
    QVERIFY2(lost.first().first().toString().contains(QStringLiteral("«127.0.0.1»")),
             qPrintable(lost.first().first().toString()));
    QCOMPARE(link.state(), ServerLink::State::Lost);
    link.vigilancia_Timer();
    QTRY_VERIFY_WITH_TIMEOUT(!link.trying(), 15000);
    QCOMPARE(link.state(), ServerLink::State::Lost);
    QVERIFY(server_.startAgain());
    link.vigilancia_Timer();
    QVERIFY(restored.wait(15000));
    QCOMPARE(lost.count(), 1);
    QVERIFY(link.database().OpenRecordset(QStringLiteral("Select 1 As uno")).isOpen());
}

QTEST_GUILESS_MAIN(ServerDatabaseTest)
#include "tst_server_database.moc"
