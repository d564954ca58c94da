#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>

#include <QBuffer>
#include <QListWidget>
#include <QPainter>

#include "catalogue/own_styles.h"
#include "clients/client_records.h"
#include "clients/client_search.h"
#include "clients/visits.h"
#include "main_window/backup_progress.h"
#include "main_window/catalogue_commands.h"
#include "main_window/client_commands.h"
#include "main_window/server_commands.h"
#include "main_window/slot_commands.h"
#include "principal_probe.h"
#include "principal_window.h"
#include "program/folder_names.h"
#include "program/full_backup.h"
#include "program/password_file.h"
#include "scripted_dialogs.h"
#include "server/servidor.h"
#include "test_server.h"

using namespace crinova;
using crinova::test::PrincipalWindow;
using crinova::test::ScriptedDialogs;
using crinova::test::TestServer;

namespace {

// The main window as the dialog sees it: what was kept, and the requests it was given.
struct StandInHost {
    ServerSettings kept;
    bool remembered = false;
    std::vector<std::tuple<ServerSettings, QString, bool>> connects;
    ServerHost::Done pending;
    int locally = 0;
    int uploads = 0;

    ServerHost host() {
        return {
            [this] { return kept; },
            [this](const ServerSettings&) { return remembered; },
            [] { return QStringLiteral("Crinova trabaja solo con los datos de este ordenador."); },
            [this](const ServerSettings&, const QString&, ServerHost::Done done) {
                pending = std::move(done);
            },
            [this](const ServerSettings& settings, const QString& password, bool remember,
                   ServerHost::Done done) {
                connects.emplace_back(settings, password, remember);
                pending = std::move(done);
            },
            [this] { ++locally; },
            [this] {
                ++uploads;
                return QStringLiteral("Clientes copiados al servidor: 2");
            }};
    }
};

template <typename T>
T* control(QWidget* dialog, const char* name) {
    T* found = dialog->findChild<T*>(QString::fromLatin1(name));
    if (!found) {
        qWarning("no control named %s", name);
    }
    return found;
}

// The work on the backup's worker through to its end: the worker waited for and the progress
// timer's tick reporting it. False when none was running.
bool finishWork(PrincipalWindow& window) {
    for (auto* progress :
         window.principal->findChildren<BackupProgress*>(QStringLiteral("copiaseguridad"))) {
        if (progress->running()) {
            progress->waitForWorker();
            progress->tick();
            return true;
        }
    }
    return false;
}

QByteArray bytesOf(const crinova::test::TestProgramFolder& folder, const QString& name) {
    QFile file(folder.path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// "SERVIDOR DEL SALÓN" filled in and "&Conectar" pressed, the password remembered.
void connectStation(PrincipalWindow& window, const ServerSettings& settings) {
    window.find<QAction>(QStringLiteral("mnuservidor"))->trigger();
    auto* dialog = window.find<Servidor>(QStringLiteral("servidor"));
    control<QLineEdit>(dialog, "txtservidor")->setText(settings.servidor);
    control<QLineEdit>(dialog, "txtpuerto")->setText(QString::number(settings.puerto));
    control<QLineEdit>(dialog, "txtbasedatos")->setText(settings.basedatos);
    control<QLineEdit>(dialog, "txtusuario")->setText(settings.usuario);
    control<QLineEdit>(dialog, "txtclave")->setText(TestServer::password());
    control<QCheckBox>(dialog, "cclaverecordar")->setChecked(true);
    control<QPushButton>(dialog, "btnconectar")->click();
}

}  // namespace

class ServidorTest : public QObject {
    Q_OBJECT
  private slots:
    void showsWhatWasKept();
    void typedSettingsAreChecked_data();
    void typedSettingsAreChecked();
    void aFailedConnectionKeepsTheInput();
    void uploadTellsWhatWasCopied();
    void stationWorksOnTheServer();
    void twoStationsShareTheRecords();
};

void ServidorTest::showsWhatWasKept() {
    StandInHost stand;
    stand.kept = {QStringLiteral("salon.local"), 5433, QStringLiteral("pelos"),
                  QStringLiteral("recepcion"),   true, true};
    stand.remembered = true;
    ScriptedDialogs dialogs;
    Servidor dialog(stand.host(), dialogs, nullptr);
    QCOMPARE(dialog.objectName(), QStringLiteral("servidor"));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("SERVIDOR DEL SALÓN"));
    const std::pair<const char*, const char*> captions[] = {
        {"btnprobar", "&Probar Conexión"},
        {"btnconectar", "&Conectar"},
        {"btnlocal", "Trabajar &Solo en este Ordenador"},
        {"btnsubir", "S&ubir los Datos de este Ordenador"}};
    for (const auto& [name, caption] : captions) {
        QCOMPARE(control<QPushButton>(&dialog, name)->text(), QString::fromUtf8(caption));
    }
    QCOMPARE(control<QCheckBox>(&dialog, "cclaverecordar")->text(),
             QStringLiteral("Recordar la contraseña en este ordenador"));
    QVERIFY(control<QCheckBox>(&dialog, "cclaverecordar")->isChecked());
    QVERIFY(control<QCheckBox>(&dialog, "ccifrado")->isChecked());
    QCOMPARE(control<QLineEdit>(&dialog, "txtservidor")->text(), QStringLiteral("salon.local"));
    QCOMPARE(control<QLineEdit>(&dialog, "txtpuerto")->text(), QStringLiteral("5433"));
    QCOMPARE(control<QLineEdit>(&dialog, "txtbasedatos")->text(), QStringLiteral("pelos"));
    QCOMPARE(control<QLineEdit>(&dialog, "txtusuario")->text(), QStringLiteral("recepcion"));
    // A saved password is never shown again.
    auto* txtclave = control<QLineEdit>(&dialog, "txtclave");
    QVERIFY(txtclave->text().isEmpty());
    QCOMPARE(txtclave->echoMode(), QLineEdit::Password);
    QVERIFY(!txtclave->placeholderText().isEmpty());
}

void ServidorTest::typedSettingsAreChecked_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("title");
    QTest::newRow("no server") << QString() << QStringLiteral("5432")
                               << QStringLiteral("Error Faltan Datos");
    QTest::newRow("port not a number") << QStringLiteral("salon") << QStringLiteral("54x")
                                       << QStringLiteral("Error Numero mal Introducido");
    QTest::newRow("port too large") << QStringLiteral("salon") << QStringLiteral("70000")
                                    << QStringLiteral("Error Numero mal Introducido");
}

void ServidorTest::typedSettingsAreChecked() {
    QFETCH(QString, host);
    QFETCH(QString, port);
    QFETCH(QString, title);
    StandInHost stand;
    ScriptedDialogs dialogs;
    Servidor dialog(stand.host(), dialogs, nullptr);
    QCOMPARE(control<QLineEdit>(&dialog, "txtpuerto")->text(), QStringLiteral("5432"));
    control<QLineEdit>(&dialog, "txtservidor")->setText(host);
    control<QLineEdit>(&dialog, "txtpuerto")->setText(port);
    for (const char* button : {"btnprobar", "btnconectar"}) {
        control<QPushButton>(&dialog, button)->click();
    }
    QCOMPARE(dialogs.asked.size(), 2u);
    QCOMPARE(dialogs.asked.back().title, title);
    QVERIFY(stand.connects.empty() && !stand.pending);
}

void ServidorTest::aFailedConnectionKeepsTheInput() {
    StandInHost stand;
    ScriptedDialogs dialogs;
    QPointer<Servidor> dialog = new Servidor(stand.host(), dialogs, nullptr);
    dialog->show();
    control<QLineEdit>(dialog, "txtservidor")->setText(QStringLiteral("salon.local"));
    control<QLineEdit>(dialog, "txtclave")->setText(QStringLiteral("secreta"));
    control<QCheckBox>(dialog, "cclaverecordar")->setChecked(true);
    auto* btnconectar = control<QPushButton>(dialog, "btnconectar");
    btnconectar->click();
    QCOMPARE(stand.connects.size(), 1u);
    QCOMPARE(std::get<0>(stand.connects[0]).servidor, QStringLiteral("salon.local"));
    QCOMPARE(std::get<1>(stand.connects[0]), QStringLiteral("secreta"));
    QVERIFY(std::get<2>(stand.connects[0]));
    QVERIFY(!btnconectar->isEnabled());  // one request at a time, and the window stays alive
    stand.pending({ServerFault::WrongPassword, QStringLiteral("El servidor «salon.local» no...")});
    QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("El servidor «salon.local» no...")});
    QVERIFY(dialog && dialog->isVisible() && btnconectar->isEnabled());
    QCOMPARE(control<QLineEdit>(dialog, "txtclave")->text(), QStringLiteral("secreta"));
    btnconectar->click();
    stand.pending({});
    QVERIFY(!dialog->isVisible());
    QTRY_VERIFY(!dialog);
}

void ServidorTest::uploadTellsWhatWasCopied() {
    StandInHost stand;
    ScriptedDialogs dialogs;
    Servidor dialog(stand.host(), dialogs, nullptr);
    control<QPushButton>(&dialog, "btnsubir")->click();
    QCOMPARE(stand.uploads, 1);
    QCOMPARE(dialogs.messages(), QStringList{QStringLiteral("Clientes copiados al servidor: 2")});
    QVERIFY(stand.connects.empty() && stand.locally == 0);
}

void ServidorTest::stationWorksOnTheServer() {
    TestServer server;
    if (!server.start()) {
        QSKIP(qPrintable(server.reason()));
    }
    QTemporaryDir home;
    qputenv("PGPASSFILE", QFile::encodeName(home.filePath(QStringLiteral("pgpass"))));
    PrincipalWindow window;
    QVERIFY(window.load());
    auto* mnuservidor = window.find<QAction>(QStringLiteral("mnuservidor"));
    QVERIFY(window.find<QMenu>(QStringLiteral("mnubase"))->actions().contains(mnuservidor));
    const ServerSettings settings = server.settings();
    connectStation(window, settings);
    const QString title = QStringLiteral("CRINOVA — Servidor: 127.0.0.1");
    QTRY_COMPARE_WITH_TIMEOUT(window.principal->windowTitle(), title, 15000);
    QVERIFY2(window.dialogs.messages().join(' ').contains(QStringLiteral("Conectado")),
             qPrintable(window.dialogs.messages().join(' ')));
    ServerSettings kept = settings;
    kept.activo = true;
    QCOMPARE(loadServerSettings(window.database), kept);
    // A restore would change this computer's data alone: asked first (here declined).
    window.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY(window.dialogs.messages().back().contains(
        QStringLiteral("cambia solo los datos de este ordenador")));
    QVERIFY(window.dialogs.asked.back().kind == QStringLiteral("MsgBox"));
    // The password is in the account's password file, and nowhere in the station's database.
    QVERIFY(passwordRemembered(passwordFilePath(), settings));
    window.database.close();
    QFile file(window.folder.path(QStringLiteral("\\crinova.db")));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(!file.readAll().contains(TestServer::password().toUtf8()));

    // The next start connects by itself; working alone is kept for the start after.
    window.principal.reset();
    QVERIFY(window.load());
    QTRY_COMPARE_WITH_TIMEOUT(window.principal->windowTitle(), title, 15000);
    window.find<QAction>(QStringLiteral("mnuservidor"))->trigger();
    control<QPushButton>(window.find<Servidor>(QStringLiteral("servidor")), "btnlocal")->click();
    QCOMPARE(window.principal->windowTitle(), QStringLiteral("CRINOVA"));
    QVERIFY(!loadServerSettings(window.database).activo);
}

void ServidorTest::twoStationsShareTheRecords() {
    TestServer server;
    if (!server.start()) {
        QSKIP(qPrintable(server.reason()));
    }
    QTemporaryDir home;
    qputenv("PGPASSFILE", QFile::encodeName(home.filePath(QStringLiteral("pgpass"))));
    PrincipalWindow reception;
    PrincipalWindow chair;
    const QString title = QStringLiteral("CRINOVA — Servidor: 127.0.0.1");
    for (PrincipalWindow* station : {&reception, &chair}) {
        QVERIFY(station->load());
        connectStation(*station, server.settings());
        QTRY_COMPARE_WITH_TIMEOUT(station->principal->windowTitle(), title, 15000);
        station->principal->Muestrapelos_Click(1);
    }

    // The first station gave the server its catalogue; the second did not double it.
    const QString installed =
        reception.database.OpenRecordset(QStringLiteral("Select count(*) As n From cabellos"))
            .Fields(QStringLiteral("n"));
    QCOMPARE(server.administer(QStringLiteral("SELECT count(*) FROM crinova.cabellos")).trimmed(),
             installed);
    // A salon's style made at reception is in the chair's catalogue, its pictures brought there.
    QImage colour(300, 320, QImage::Format_RGB32);
    colour.fill(qRgb(90, 60, 30));
    QImage alpha(300, 320, QImage::Format_Grayscale8);
    alpha.fill(0);
    QPainter(&alpha).fillRect(100, 40, 100, 120, Qt::white);
    QByteArray photo;
    QBuffer buffer(&photo);
    buffer.open(QIODevice::WriteOnly);
    colour.save(&buffer, "jpg");
    const StyleRow style{QString::fromUtf8("niño"), QStringLiteral("corto"),
                         QStringLiteral("recogidos"), QStringLiteral("fantasia"),
                         QStringLiteral("propio")};
    QString error;
    QVERIFY2(saveOwnStyle(PrincipalProbe::records(*reception.principal), reception.folder.folder(),
                          stylePictures(colour, alpha),
                          {style, photo, QStringLiteral("jpg"), {{120, 150}, {180, 150}}, {}},
                          false, &error),
             qPrintable(error));
    CatalogueCommands& catalogue = PrincipalProbe::catalogue(*chair.principal);
    catalogue.state().filters = {style.tpersona, style.largura, style.tipo, style.color};
    QVERIFY(catalogue.loadFirstCataloguePage());
    const QString hair = catalogueHairPath(style.largura, style.nombre);
    QCOMPARE(catalogue.state().rutapelo[0], hair);
    QCOMPARE(bytesOf(chair.folder, hair), bytesOf(reception.folder, hair));
    // Removed from the catalogue at the chair: its pictures leave the server too.
    chair.principal->Muestrapelos_Click(0);
    chair.dialogs.messageAnswers = {MessageAnswer::Yes};
    catalogue.mnueliminarpelos_Click();
    QCOMPARE(server.administer(QStringLiteral("SELECT count(*) FROM crinova.imagen")).trimmed(),
             QStringLiteral("0"));
    chair.principal->Muestrapelos_Click(1);

    // Registered at reception, with a photo of that station's own, and a visit saved there.
    const ClientRecord ana{QStringLiteral("07"), QStringLiteral("Ana Ruiz"),
                           QStringLiteral("\\clientes\\07.jpg")};
    reception.folder.writePicture(ana.fprograma, reception.basePhoto(), "jpg");
    QCOMPARE(addClient(PrincipalProbe::records(*reception.principal), ana, nullptr),
             ClientWrite::Done);
    QVERIFY(PrincipalProbe::clients(*reception.principal).activateClient(ana));
    PrincipalProbe::photoSlots(*reception.principal).mnuguardar_Click();
    PrincipalProbe::clients(*reception.principal).mnuguardarcliente_Click();
    QVERIFY2(reception.dialogs.messages().back().contains(QStringLiteral("Satisfactoriamente")),
             qPrintable(reception.dialogs.messages().join('\n')));
    // Nothing of hers in the station's own file.
    QCOMPARE(reception.database
                 .OpenRecordset(QStringLiteral("Select * From cliente where codigocliente='07'"))
                 .RecordCount(),
             0);

    // At the chair she is there, her photo and her visit's photo brought from the server.
    std::vector<ClientRecord> clients;
    QVERIFY(loadClients(PrincipalProbe::records(*chair.principal), clients, nullptr));
    QCOMPARE(clients.size(), std::size_t(1));
    QVERIFY(!chair.folder.exists(ana.fprograma));
    QVERIFY(PrincipalProbe::clients(*chair.principal).activateClient(clients[0]));
    QCOMPARE(bytesOf(chair.folder, ana.fprograma), bytesOf(reception.folder, ana.fprograma));
    std::vector<Visit> visits;
    QVERIFY(loadVisits(PrincipalProbe::records(*chair.principal), ana.codigo, visits, nullptr));
    QCOMPARE(visits.size(), std::size_t(1));
    const QString visitPhoto = visits[0].photos.at(0).fichero;
    QVERIFY(!chair.folder.exists(visitPhoto));
    QVERIFY(PrincipalProbe::clients(*chair.principal).loadVisit(clients[0], visits[0]));
    QCOMPARE(bytesOf(chair.folder, visitPhoto), bytesOf(reception.folder, visitPhoto));

    // The server stops while the chair saves her look: nothing half saved, the slot kept to be
    // saved again once the server is back.
    QVERIFY(server.stop());
    PrincipalProbe::photoSlots(*chair.principal).mnuguardar_Click();
    PrincipalProbe::clients(*chair.principal).mnuguardarcliente_Click();
    QVERIFY2(chair.dialogs.messages().back().contains(QStringLiteral("no se ha guardado entera")) &&
                 chair.dialogs.messages().back().contains(QStringLiteral("servidor del salón "
                                                                         "«127.0.0.1»")),
             qPrintable(chair.dialogs.messages().back()));
    QVERIFY(chair.folder.exists(QStringLiteral("\\foto2.bmp")));
    // No backup of the salon's data either, until the server answers.
    chair.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    finishWork(chair);  // the worker's own connection, if the link had not noticed yet
    QVERIFY2(chair.dialogs.messages().back().startsWith(
                 QStringLiteral("No se ha hecho la copia de seguridad.")) &&
                 chair.dialogs.messages().back().contains(QStringLiteral("«127.0.0.1»")),
             qPrintable(chair.dialogs.messages().back()));
    QVERIFY(!QDir(chair.folder.path(QStringLiteral("\\copias"))).exists() ||
            QDir(chair.folder.path(QStringLiteral("\\copias")))
                .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
                .isEmpty());
    QVERIFY(server.startAgain());
    ServerLink& link = PrincipalProbe::server(*chair.principal).link();
    link.vigilancia_Timer();
    QTRY_VERIFY_WITH_TIMEOUT(!link.trying(), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(link.state(), ServerLink::State::Connected, 15000);
    PrincipalProbe::clients(*chair.principal).mnuguardarcliente_Click();
    QVERIFY(chair.dialogs.messages().back().contains(QStringLiteral("Satisfactoriamente")));
    QVERIFY(loadVisits(PrincipalProbe::records(*chair.principal), ana.codigo, visits, nullptr));
    QCOMPARE(visits.size(), std::size_t(2));
    // Reception's own connection comes back at its next look.
    ServerLink& receptionLink = PrincipalProbe::server(*reception.principal).link();
    receptionLink.vigilancia_Timer();
    QTRY_VERIFY_WITH_TIMEOUT(!receptionLink.trying(), 15000);
    QCOMPARE(receptionLink.state(), ServerLink::State::Connected);

    // A backup at reception holds the server's data: restored into a station of its own, there
    // are her record, both visits, and the photos byte for byte, the chair's too.
    reception.find<QAction>(QStringLiteral("mnucopiaseguridad"))->trigger();
    QVERIFY(finishWork(reception));
    QVERIFY2(reception.dialogs.messages().back().startsWith(
                 QStringLiteral("La copia de seguridad de los datos del servidor del salón "
                                "«127.0.0.1» (puerto ")),
             qPrintable(reception.dialogs.messages().back()));
    const QDir copies(reception.folder.path(QStringLiteral("\\copias")));
    QCOMPARE(copies.entryList({"*.tar"}).size(), 1);
    // Named apart: the backup made before it is restored may come in the same second.
    const QString archive = copies.filePath(QStringLiteral("servidor.tar"));
    QVERIFY(QFile::rename(copies.filePath(copies.entryList({"*.tar"})[0]), archive));
    {
        QFile file(archive);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains(TestServer::password().toUtf8()));
    }
    // Into the server it is not restored while the chair works on it.
    reception.dialogs.messageAnswers = {MessageAnswer::Yes};
    reception.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY(reception.dialogs.messages().back().contains(
        QStringLiteral("Hay 1 puesto(s) más trabajando con el servidor.")));
    PrincipalWindow single;
    QVERIFY(single.create());
    QVERIFY2(prepareFullRestore(single.folder.folder(), archive, &error), qPrintable(error));
    QVERIFY2(swapInFullRestore(single.database, single.folder.folder(),
                               single.folder.path(QStringLiteral("\\antes.db")), &error),
             qPrintable(error));
    QVERIFY(loadClients(single.database, clients, nullptr));
    QCOMPARE(clients.size(), std::size_t(1));
    QCOMPARE(clients[0].nombre, ana.nombre);
    QVERIFY(loadVisits(single.database, ana.codigo, visits, nullptr));
    QCOMPARE(visits.size(), std::size_t(2));
    QCOMPARE(bytesOf(single.folder, ana.fprograma), bytesOf(reception.folder, ana.fprograma));
    QCOMPARE(bytesOf(single.folder, visits[1].photos.at(0).fichero),
             bytesOf(chair.folder, visits[1].photos.at(0).fichero));
    // The server's pictures fetched for it are gone.
    QCOMPARE(QDir(reception.folder.path(QStringLiteral("\\copias")))
                 .entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList());

    // Forgotten at the chair, photos and all: gone from the server too.
    ClientCommands& commands = PrincipalProbe::clients(*chair.principal);
    commands.mnueliminar_Click();
    ClientSearch* eliminar = commands.eliminarclientes();
    eliminar->findChild<QListWidget*>(QStringLiteral("listabusqueda"))->setCurrentRow(0);
    chair.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Yes};
    control<QPushButton>(eliminar, "btnaceptar")->click();
    QVERIFY(loadClients(PrincipalProbe::records(*reception.principal), clients, nullptr));
    QVERIFY(clients.empty());
    QCOMPARE(server.administer(QStringLiteral("SELECT count(*) FROM crinova.imagen")).trimmed(),
             QStringLiteral("0"));

    // Working alone again, the station's own records are back.
    chair.find<QAction>(QStringLiteral("mnuservidor"))->trigger();
    control<QPushButton>(chair.find<Servidor>(QStringLiteral("servidor")), "btnlocal")->click();
    QVERIFY(loadClients(PrincipalProbe::records(*chair.principal), clients, nullptr));
    QVERIFY(clients.empty());

    // With reception alone on the server, the backup goes back into it, after a backup of what
    // the server holds now: the client forgotten at the chair is back, visits and photos.
    reception.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Yes};
    reception.dialogs.textAnswers = {archive};
    reception.find<QAction>(QStringLiteral("mnurestaurarbase"))->trigger();
    QVERIFY(finishWork(reception));  // the archive checked
    QVERIFY(finishWork(reception));  // the server's data saved
    QVERIFY(finishWork(reception));  // the copy put into the server
    QVERIFY2(reception.dialogs.messages().back().startsWith(
                 QStringLiteral("La copia se ha restaurado en el servidor del salón «127.0.0.1»")),
             qPrintable(reception.dialogs.messages().back()));
    QCOMPARE(copies.entryList({"*.tar"}).size(), 2);
    QVERIFY(loadClients(PrincipalProbe::records(*reception.principal), clients, nullptr));
    QCOMPARE(clients.size(), std::size_t(1));
    QVERIFY(loadVisits(PrincipalProbe::records(*reception.principal), ana.codigo, visits, nullptr));
    QCOMPARE(visits.size(), std::size_t(2));
    QVERIFY(QFile::remove(reception.folder.path(visits[1].photos.at(0).fichero)));
    reception.dialogs.messageAnswers = {MessageAnswer::Yes};  // the looks in the slots replaced
    QVERIFY(PrincipalProbe::clients(*reception.principal).loadVisit(clients[0], visits[1]));
    QCOMPARE(bytesOf(reception.folder, visits[1].photos.at(0).fichero),
             bytesOf(single.folder, visits[1].photos.at(0).fichero));
}

QTEST_MAIN(ServidorTest)
#include "tst_servidor.moc"
