#include <QtTest>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/modeless_window.h"
#include "platform/raster.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::solidPicture;
using Window = crinova::test::PrincipalWindow;

namespace {

constexpr Colour kClientPhoto = 0x00336699;

// A main window with a hair applied and a client photo "\clientes\nueva.bmp" in one colour.
struct ClientWindow : Window {
    bool start() {
        if (!load()) {
            return false;
        }
        principal->Muestrapelos_Click(1);
        folder.writePicture(QStringLiteral("\\clientes\\nueva.bmp"),
                            solidPicture(300, 320, kClientPhoto));
        return true;
    }
    template <typename T>
    static T* in(QWidget* dialog, const char* name) {
        return dialog->findChild<T*>(QString::fromUtf8(name));
    }
    // Registers a client through "Nuevo Cliente"; answers the dialog, which closes when the client
    // was registered.
    QPointer<Nomcliente> newClient(const QString& name, const QString& code, const QString& photo) {
        PrincipalProbe::clients(*principal).mnunuevocliente_Click();
        QPointer<Nomcliente> dialog = PrincipalProbe::clients(*principal).nomcliente();
        in<QLineEdit>(dialog, "txtnombrecliente")->setText(name);
        in<QLineEdit>(dialog, "txtcodigo")->setText(code);
        if (!photo.isEmpty()) {
            dialogs.textAnswers.push_back(photo);
        }
        QTest::mouseClick(in<QPushButton>(dialog, "btnaceptar"), Qt::LeftButton);
        return dialog;
    }
    // A dialog that closed: hidden at once, let go of by the main window, then deleted.
    template <typename Dialog>
    static bool released(const QPointer<Dialog>& dialog, Dialog* held) {
        if (!dialog || !dialog->isHidden() || held) {
            return false;
        }
        return QTest::qWaitFor([&] { return dialog.isNull(); });
    }
    Colour shownAt(int x, int y) const {
        return GetPixel(PrincipalProbe::buffers(*principal).fprincipal, x, y);
    }
    // A pixel the applied hair leaves alone: its mask is white and its hair picture black there.
    QPoint clearOfHair() const {
        const QImage mask = loadPicture(folder.path(QStringLiteral("\\mpelo2.jpg"))).picture;
        const QImage hair = loadPicture(folder.path(QStringLiteral("\\pelo2.jpg"))).picture;
        for (int y = 319; y >= 0; --y) {
            for (int x = 0; x < 300; ++x) {
                if (test::colourAt(mask, x, y) == kWhite && test::colourAt(hair, x, y) == kBlack) {
                    return QPoint(x, y);
                }
            }
        }
        return {};
    }
};

// The client dialogs over a stand-in for the main window, which records the clients made active
// and counts the times a dialog gave the screen back.
struct FakeClientHost : QObject, ClientHost {
    test::TestProgramFolder folder;
    Database database;
    test::ScriptedDialogs dialogs;
    std::vector<ClientRecord> activated;
    int closings = 0;
    QPointer<Nomcliente> nomcliente;
    QPointer<ClientSearch> buscarcliente;
    QPointer<ClientSearch> eliminarclientes;
    QWidget mainWindow;  // destroyed first, and the dialogs with it

    bool open() { return openProgramDatabase(database, folder.folder(), nullptr); }
    bool activateClient(const ClientRecord& client) override {
        activated.push_back(client);
        return true;
    }
    void clientDeleted(const QString&) override {}
    // Each dialog opens the way the main window opens it: made on first use, released on close.
    Nomcliente* openNomcliente() {
        showModeless(modelessWindow(
            nomcliente,
            [this] {
                return new Nomcliente(database, folder.folder(), dialogs, *this, &mainWindow);
            },
            this, [this] { ++closings; }));
        return nomcliente;
    }
    ClientSearch* openSearch(QPointer<ClientSearch>& window, ClientSearch::Purpose purpose) {
        showModeless(modelessWindow(
            window,
            [this, purpose] {
                return new ClientSearch(purpose, database, folder.folder(), dialogs, *this,
                                        &mainWindow);
            },
            this, [this] { ++closings; }));
        return window;
    }
    // Registers a client, answering the dialog as the stylist would.
    QPointer<Nomcliente> newClient(const QString& name, const QString& code, const QString& photo) {
        QPointer<Nomcliente> dialog = openNomcliente();
        ClientWindow::in<QLineEdit>(dialog, "txtnombrecliente")->setText(name);
        ClientWindow::in<QLineEdit>(dialog, "txtcodigo")->setText(code);
        if (!photo.isEmpty()) {
            dialogs.textAnswers.push_back(photo);
        }
        QTest::mouseClick(ClientWindow::in<QPushButton>(dialog, "btnaceptar"), Qt::LeftButton);
        return dialog;
    }
};

}  // namespace

class ClientDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void dialogsCarryTheirControls();
    void newClientBecomesActiveOverTheirPhoto();
    void newClientNeedsBothFieldsAndAFreeCode();
    void searchByNameAndCodeThenActivate();
    void clientWhosePhotoHasGoneIsRefused();
    void rotatingTheClientPhoto();
    void savingTheRecordKeepsTheVisitPhotos();
    void deletingTheActiveClientBringsBackTheBasePhoto();
    void rowWithANullIsDamaged_data();
    void rowWithANullIsDamaged();
    void closingVariants();
};

void ClientDialogsTest::dialogsCarryTheirControls() {
    FakeClientHost host;
    QVERIFY(host.open());
    Nomcliente* nom = host.openNomcliente();
    QCOMPARE(nom->windowTitle(), QStringLiteral("Nombre y Codigo del Cliente"));
    QCOMPARE(ClientWindow::in<QLabel>(nom, "Label2")->text(), QStringLiteral("Nombre Cliente:"));
    QCOMPARE(ClientWindow::in<QLabel>(nom, "Label1")->text(), QStringLiteral("Código Cliente:"));
    QCOMPARE(ClientWindow::in<QPushButton>(nom, "btncancelar")->text(),
             QStringLiteral("&Cancelar"));

    ClientSearch* eliminar =
        host.openSearch(host.eliminarclientes, ClientSearch::Purpose::Eliminar);
    QCOMPARE(eliminar->windowTitle(), QStringLiteral("ELIMINAR FICHA CLIENTE"));
    QCOMPARE(ClientWindow::in<QPushButton>(eliminar, "btnaceptar")->text(),
             QStringLiteral("&Eliminar"));
    QVERIFY(ClientWindow::in<QRadioButton>(eliminar, "opnombre")->isChecked());  // Form_Load
    ClientSearch* buscar = host.openSearch(host.buscarcliente, ClientSearch::Purpose::Buscar);
    QCOMPARE(buscar->windowTitle(), QStringLiteral("BUSQUEDA DE CLIENTE"));
    const QList<QPair<const char*, QString>> captions = {
        {"Label1_0", "Escriba el Nombre o Código a Buscar"},
        {"Label1_1", "Nombre Cliente:"},
        {"Label1_2", "Código Cliente:"},
        {"Label1_3", "Foto Cliente:"}};
    for (const auto& [name, caption] : captions) {
        QCOMPARE(ClientWindow::in<QLabel>(buscar, name)->text(), caption);
    }
    QCOMPARE(ClientWindow::in<QGroupBox>(buscar, "Frame1")->title(),
             QStringLiteral("Busqueda por:"));
    QCOMPARE(ClientWindow::in<QGroupBox>(buscar, "Frame2")->title(),
             QStringLiteral("Datos Cliente:"));
    QCOMPARE(ClientWindow::in<QPushButton>(buscar, "btnvolver")->text(), QStringLiteral("&Volver"));
    QVERIFY(ClientWindow::in<ImageControl>(buscar, "fcliente"));
    QVERIFY(ClientWindow::in<QListWidget>(buscar, "listabusqueda"));
}

void ClientDialogsTest::newClientBecomesActiveOverTheirPhoto() {
    ClientWindow window;
    QVERIFY(window.start());
    const QPointer<Nomcliente> dialog = window.newClient(
        QStringLiteral("Sinéad O'Neill"), QStringLiteral("'; DROP TABLE cliente; --"),
        window.folder.path(QStringLiteral("\\clientes\\nueva.bmp")));
    const auto& asked = window.dialogs.asked;
    QCOMPARE(asked.back().kind, QStringLiteral("OpenFile"));
    QCOMPARE(asked.back().initialFolder, window.folder.path(QStringLiteral("\\clientes")));
    QVERIFY(
        ClientWindow::released(dialog, PrincipalProbe::clients(*window.principal).nomcliente()));
    QVERIFY(PrincipalProbe::clients(*window.principal).activeClient());
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QVERIFY(state.clienteactivo && state.usarfotocliente);
    QCOMPARE(state.nombrecliente, QStringLiteral("Sinéad O'Neill"));
    RecordSet row = window.database.OpenRecordset(QStringLiteral("Select * from cliente"));
    QCOMPARE(row.Fields(QStringLiteral("Fprograma")), QStringLiteral("\\clientes\\nueva.bmp"));
    // Closing the dialog cleared the picture; the deferred redraw composes in full for an active
    // client, over the client's photo: a pixel clear of the hair shows it.
    QVERIFY(window.timer2().isActive());
    window.principal->Timer2_Timer();
    const QPoint clear = window.clearOfHair();
    QCOMPARE(window.shownAt(clear.x(), clear.y()), kClientPhoto);
}

void ClientDialogsTest::newClientNeedsBothFieldsAndAFreeCode() {
    FakeClientHost window;
    QVERIFY(window.open());
    window.folder.writePicture(QStringLiteral("\\clientes\\nueva.bmp"),
                               solidPicture(300, 320, kClientPhoto));
    window.newClient(QStringLiteral("Ana"), QString(), QString());
    QCOMPARE(window.dialogs.messages().last(),
             QStringLiteral("Tiene que escribir el Nombre y el Código del Cliente/a"));
    QVERIFY(window.activated.empty());
    window.nomcliente->close();
    QCOMPARE(window.closings, 1);
    const QPointer<Nomcliente> accepted =
        window.newClient(QStringLiteral("Ana"), QStringLiteral("1"),
                         window.folder.path(QStringLiteral("\\clientes\\nueva.bmp")));
    QVERIFY(ClientWindow::released(accepted, window.nomcliente.data()));
    QCOMPARE(window.closings, 2);
    QCOMPARE(window.activated.size(), std::size_t(1));
    QCOMPARE(window.activated[0].codigo, QStringLiteral("1"));
    QCOMPARE(window.activated[0].nombre, QStringLiteral("Ana"));
    const std::size_t before = window.dialogs.asked.size();
    window.newClient(QStringLiteral("Berta"), QStringLiteral("1"), QStringLiteral("/no/se/usa"));
    QVERIFY(window.dialogs.messages().last().startsWith(
        QStringLiteral("Ya existe un Cliente/a con el Código 1")));
    QCOMPARE(window.dialogs.asked.size(), before + 1);  // no file chooser for a taken code
    window.dialogs.textAnswers.clear();
    QVERIFY(window.nomcliente->isVisible());  // the stylist can correct the code
    QCOMPARE(window.activated.size(), std::size_t(1));
}

void ClientDialogsTest::searchByNameAndCodeThenActivate() {
    ClientWindow window;
    QVERIFY(window.start());
    for (const auto& [code, name] :
         {std::pair{"11", "Ángela Núñez"}, std::pair{"12", "Marta"}, std::pair{"21", "Ángeles"}}) {
        QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
                                        {QString::fromUtf8(code), QString::fromUtf8(name),
                                         QStringLiteral("\\clientes\\nueva.bmp")}));
    }
    PrincipalProbe::clients(*window.principal).mnubuscarcliente_Click();
    ClientSearch* dialog = PrincipalProbe::clients(*window.principal).buscarcliente();
    auto* field = ClientWindow::in<QLineEdit>(dialog, "txtbusqueda");
    auto* list = ClientWindow::in<QListWidget>(dialog, "listabusqueda");
    QCOMPARE(list->count(), 3);
    QTest::keyClicks(field, QStringLiteral("ÁNGEL"));
    QCOMPARE(list->count(), 2);
    QTest::mouseClick(ClientWindow::in<QRadioButton>(dialog, "opcodigo"), Qt::LeftButton);
    field->setText(QStringLiteral("1"));
    QCOMPARE(list->count(), 3);
    field->setText(QStringLiteral("12"));
    QCOMPARE(list->count(), 1);
    list->setCurrentRow(0);
    QCOMPARE(ClientWindow::in<QLineEdit>(dialog, "txtcliente")->text(), QStringLiteral("Marta"));
    QCOMPARE(ClientWindow::in<QLineEdit>(dialog, "txtcodigo")->text(), QStringLiteral("12"));
    QVERIFY(ClientWindow::in<ImageControl>(dialog, "fcliente")->hasPicture());
    const QPointer<ClientSearch> closing = dialog;
    QTest::mouseClick(ClientWindow::in<QPushButton>(dialog, "btnaceptar"), Qt::LeftButton);
    QVERIFY(ClientWindow::released(closing,
                                   PrincipalProbe::clients(*window.principal).buscarcliente()));
    QCOMPARE(PrincipalProbe::overlay(*window.principal).codigocliente, QStringLiteral("12"));
    // The closing step: the photo cleared until the main window's redraw, which is due.
    QVERIFY(PrincipalProbe::overlay(*window.principal).redibujar);
    QVERIFY(window.timer2().isActive());
    COMPARE_IMAGES(window.shown(), window.basePhoto());
    QVERIFY(window.dialogs.asked.empty());
}

void ClientDialogsTest::clientWhosePhotoHasGoneIsRefused() {
    ClientWindow window;
    QVERIFY(window.start());
    const QImage before = window.shown().copy();
    QVERIFY(!PrincipalProbe::clients(*window.principal)
                 .activateClient({"5", "Luisa", "\\clientes\\borrada.jpg"}));
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("Luisa")));
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("borrada.jpg")));
    QVERIFY(!PrincipalProbe::overlay(*window.principal).clienteactivo);
    COMPARE_IMAGES(window.shown(), before);
}

void ClientDialogsTest::rotatingTheClientPhoto() {
    ClientWindow window;
    QVERIFY(window.start());
    QImage photo = solidPicture(300, 320, kClientPhoto);
    photo.setPixel(150, 161, toPixel(0x000000FF));  // just below the centre (150, 160)
    window.folder.writePicture(QStringLiteral("\\clientes\\nueva.bmp"), photo);
    QVERIFY(PrincipalProbe::clients(*window.principal)
                .activateClient({"5", "Luisa", "\\clientes\\nueva.bmp"}));
    window.database.Execute(
        QStringLiteral("INSERT INTO cliente VALUES ('5', 'Luisa', "
                       "'\\clientes\\nueva.bmp')"));
    window.principal->findChild<QLineEdit*>(QStringLiteral("txtgirar"))->setText("90");
    PrincipalProbe::geometry(*window.principal).btngirar_Click(0);
    QCOMPARE(GetPixel(PrincipalProbe::buffers(*window.principal).ftrabajo, 151, 160),
             Colour(0x000000FF));
}

void ClientDialogsTest::savingTheRecordKeepsTheVisitPhotos() {
    ClientWindow window;
    QVERIFY(window.start());
    PrincipalProbe::clients(*window.principal).mnuguardarcliente_Click();
    QCOMPARE(window.dialogs.messages().last(),
             QStringLiteral("No se ha dado de alta ningun Cliente/a"));
    window.newClient(QStringLiteral("Ana"), QStringLiteral("07"),
                     window.folder.path(QStringLiteral("\\clientes\\nueva.bmp")));
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    window.find<QAction>(QStringLiteral("barra_2"))->trigger();
    QCOMPARE(window.dialogs.messages().last(),
             QStringLiteral("La Ficha del Cliente/a: Ana ha sido guardada Satisfactoriamente"));
    QCOMPARE(window.dialogs.asked.back().title, QStringLiteral("Guardar Ficha Cliente"));
    const QDir visits(window.folder.path(QStringLiteral("\\clientes\\07")));
    const QStringList kept = visits.entryList({QStringLiteral("*.bmp")}, QDir::Files);
    QCOMPARE(kept.size(), 2);
    QCOMPARE(visits.entryList({QStringLiteral("*-grande.png")}, QDir::Files).size(), 2);
    QVERIFY(kept[0].endsWith(QStringLiteral("-foto1.bmp")));
    window.principal->close();  // the slots go, the kept copies stay
    QVERIFY(!window.folder.exists(slotFileName(1)));
    QCOMPARE(visits.entryList({QStringLiteral("*.bmp")}, QDir::Files), kept);
}

void ClientDialogsTest::deletingTheActiveClientBringsBackTheBasePhoto() {
    ClientWindow window;
    QVERIFY(window.start());
    window.newClient(QStringLiteral("O'Brien"), QStringLiteral("9"),
                     window.folder.path(QStringLiteral("\\clientes\\nueva.bmp")));
    PrincipalProbe::clients(*window.principal).mnueliminar_Click();
    ClientSearch* dialog = PrincipalProbe::clients(*window.principal).eliminarclientes();
    auto* list = ClientWindow::in<QListWidget>(dialog, "listabusqueda");
    QTest::keyClicks(ClientWindow::in<QLineEdit>(dialog, "txtbusqueda"), QStringLiteral("o'b"));
    QCOMPARE(list->count(), 1);
    list->setCurrentRow(0);
    window.dialogs.messageAnswers = {MessageAnswer::No};
    QTest::mouseClick(ClientWindow::in<QPushButton>(dialog, "btnaceptar"), Qt::LeftButton);
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("O'Brien")));
    QCOMPARE(list->count(), 1);
    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    QTest::mouseClick(ClientWindow::in<QPushButton>(dialog, "btnaceptar"), Qt::LeftButton);
    QCOMPARE(list->count(), 0);
    QVERIFY(!PrincipalProbe::clients(*window.principal).activeClient());
    QVERIFY(!PrincipalProbe::overlay(*window.principal).usarfotocliente);
    const QPoint clear = window.clearOfHair();
    QVERIFY(window.shownAt(clear.x(), clear.y()) != kClientPhoto);
    QVERIFY(window.folder.exists(QStringLiteral("\\clientes\\nueva.bmp")));  // the photo stays
}

void ClientDialogsTest::rowWithANullIsDamaged_data() {
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QVariant>("name");
    QTest::addColumn<QString>("listed");  // what the list shows for it
    QTest::newRow("no code") << QVariant() << QVariant(QStringLiteral("Nula"))
                             << QStringLiteral("Nula (ficha dañada: sin código)");
    QTest::newRow("no name") << QVariant(QStringLiteral("4")) << QVariant()
                             << QStringLiteral("(sin nombre) (ficha dañada: sin nombre)");
}

void ClientDialogsTest::rowWithANullIsDamaged() {
    QFETCH(QVariant, code);
    QFETCH(QVariant, name);
    QFETCH(QString, listed);
    ClientWindow window;
    QVERIFY(window.start());
    const QString photo = QStringLiteral("\\clientes\\nueva.bmp");
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
                                    {code, name, photo}));
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
                                    {QStringLiteral("3"), QStringLiteral("Berta"), photo}));
    auto count = [&window] {
        return window.database.OpenRecordset(QStringLiteral("Select * from cliente")).RecordCount();
    };

    // "&Buscar Cliente": the damaged row is shown as such, and refused with one message.
    PrincipalProbe::clients(*window.principal).mnubuscarcliente_Click();
    ClientSearch* buscar = PrincipalProbe::clients(*window.principal).buscarcliente();
    auto* list = ClientWindow::in<QListWidget>(buscar, "listabusqueda");
    QCOMPARE(list->count(), 2);
    const QList<QListWidgetItem*> damaged = list->findItems(listed, Qt::MatchExactly);
    QCOMPARE(damaged.size(), 1);
    list->setCurrentItem(damaged.first());
    QTest::mouseClick(ClientWindow::in<QPushButton>(buscar, "btnaceptar"), Qt::LeftButton);
    QCOMPARE(window.dialogs.messages().size(), 1);
    QVERIFY(window.dialogs.messages().first().contains(QStringLiteral("dañada")));
    QVERIFY(!PrincipalProbe::clients(*window.principal).activeClient());
    QVERIFY(!PrincipalProbe::overlay(*window.principal).clienteactivo);
    window.principal->DibujarPelo();  // later compositions ask nothing more
    window.principal->Timer2_Timer();
    QCOMPARE(window.dialogs.messages().size(), 1);
    buscar->close();

    // "&Guardar Ficha Cliente" has no client to save and adds no row.
    PrincipalProbe::clients(*window.principal).mnuguardarcliente_Click();
    QCOMPARE(window.dialogs.messages().last(),
             QStringLiteral("No se ha dado de alta ningun Cliente/a"));
    QCOMPARE(count(), 2);

    // "&Eliminar" deletes the damaged row itself, and only it.
    window.dialogs.asked.clear();
    PrincipalProbe::clients(*window.principal).mnueliminar_Click();
    ClientSearch* eliminar = PrincipalProbe::clients(*window.principal).eliminarclientes();
    list = ClientWindow::in<QListWidget>(eliminar, "listabusqueda");
    list->setCurrentItem(list->findItems(listed, Qt::MatchExactly).value(0));
    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    QTest::mouseClick(ClientWindow::in<QPushButton>(eliminar, "btnaceptar"), Qt::LeftButton);
    QCOMPARE(window.dialogs.messages().size(), 1);  // the question only
    QCOMPARE(window.dialogs.asked.front().buttons, MessageButtons::YesNo);
    QCOMPARE(count(), 1);
    RecordSet left = window.database.OpenRecordset(QStringLiteral("Select * from cliente"));
    QCOMPARE(left.Fields(QStringLiteral("nombrecliente")), QStringLiteral("Berta"));
    QCOMPARE(list->count(), 1);
}

void ClientDialogsTest::closingVariants() {
    ClientWindow window;
    QVERIFY(window.start());
    const QImage composed = window.shown().copy();
    PrincipalProbe::clients(*window.principal).mnueliminar_Click();
    PrincipalProbe::clients(*window.principal).eliminarclientes()->close();
    COMPARE_IMAGES(window.shown(), composed);  // kept until the redraw
    QVERIFY(PrincipalProbe::overlay(*window.principal).redibujar);
    PrincipalProbe::clients(*window.principal).mnubuscarcliente_Click();
    PrincipalProbe::clients(*window.principal).buscarcliente()->close();
    COMPARE_IMAGES(window.shown(), window.basePhoto());  // cleared first
    window.principal->Timer2_Timer();

    PrincipalProbe::clients(*window.principal).mnunuevocliente_Click();
    auto* field = ClientWindow::in<QLineEdit>(
        PrincipalProbe::clients(*window.principal).nomcliente(), "txtnombrecliente");
    field->setText(QStringLiteral("borrador"));
    PrincipalProbe::overlay(*window.principal).redibujar = false;
    window.timer2().stop();
    window.principal->DibujarPelo();
    QVERIFY(!test::firstDifference(window.shown(), window.basePhoto()).isEmpty());
    const QPointer<Nomcliente> closing = PrincipalProbe::clients(*window.principal).nomcliente();
    closing->close();
    QVERIFY(
        ClientWindow::released(closing, PrincipalProbe::clients(*window.principal).nomcliente()));
    QVERIFY(PrincipalProbe::overlay(*window.principal).redibujar);  // the full closing step
    QVERIFY(window.timer2().isActive());
    COMPARE_IMAGES(window.shown(), window.basePhoto());
    PrincipalProbe::clients(*window.principal).mnunuevocliente_Click();  // a fresh dialog
    QCOMPARE(ClientWindow::in<QLineEdit>(PrincipalProbe::clients(*window.principal).nomcliente(),
                                         "txtnombrecliente")
                 ->text(),
             QString());
}

QTEST_MAIN(ClientDialogsTest)
#include "tst_client_dialogs.moc"
