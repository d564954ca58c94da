#include <QtTest>

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/modeless_window.h"
#include "platform/raster.h"
#include "principal_window.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::MessageAnswer)
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
    int visitPhotos(const QString& codigo) {
        return database
            .OpenRecordset(QStringLiteral("Select * from visita where codigocliente=?"), {codigo})
            .RecordCount();
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
    void looksBelongToTheClientActiveWhenSaved_data();
    void looksBelongToTheClientActiveWhenSaved();
    void closingOffersTheActiveClientsLooks_data();
    void closingOffersTheActiveClientsLooks();
    void deletingTheActiveClientBringsBackTheBasePhoto_data();
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
    // Enter in a field is "&Aceptar"; a button that has the focus takes its own Enter. Enter
    // never deletes a client.
    QTest::keyClick(ClientWindow::in<QLineEdit>(buscar, "txtbusqueda"), Qt::Key_Return);
    QTest::keyClick(ClientWindow::in<QLineEdit>(nom, "txtcodigo"), Qt::Key_Enter);
    QTest::keyClick(ClientWindow::in<QLineEdit>(eliminar, "txtbusqueda"), Qt::Key_Return);
    QCOMPARE(host.dialogs.messages(),
             (QStringList{"Elija un Cliente/a de la lista.",
                          "Tiene que escribir el Nombre y el Código del Cliente/a"}));
    ClientWindow::in<QPushButton>(nom, "btncancelar")->setFocus();
    QTest::keyClick(ClientWindow::in<QPushButton>(nom, "btncancelar"), Qt::Key_Return);
    QCOMPARE(host.closings, 1);
    QCOMPARE(host.dialogs.asked.size(), std::size_t(2));
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
    // A right-to-left override or a control character is refused as it is typed.
    auto* name = ClientWindow::in<QLineEdit>(window.nomcliente, "txtnombrecliente");
    name->clear();
    for (const QChar c : QStringLiteral("Ana\u202E\u0001z")) {
        QTest::sendKeyEvent(QTest::Click, name, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    QCOMPARE(name->text(), QStringLiteral("Anaz"));
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
    window.database.transaction([&window](QString*) {
        for (int i = 0; i < 150; ++i) {
            const QString code = QString(QChar('a' + i / 26)) + QChar('a' + i % 26);  // no digits
            window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, 'Zoe', '')"),
                                    {code});
        }
        return true;
    });
    PrincipalProbe::clients(*window.principal).mnubuscarcliente_Click();
    ClientSearch* dialog = PrincipalProbe::clients(*window.principal).buscarcliente();
    auto* field = ClientWindow::in<QLineEdit>(dialog, "txtbusqueda");
    auto* list = ClientWindow::in<QListWidget>(dialog, "listabusqueda");
    // Many matches are listed a hundred at a time, the rest as the list scrolls down.
    QCOMPARE(list->count(), 100);
    list->doItemsLayout();
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    QCOMPARE(list->count(), 153);
    QTest::keyClicks(field, QStringLiteral("angel"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Ángela Núñez (11)"));
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

void ClientDialogsTest::looksBelongToTheClientActiveWhenSaved_data() {
    QTest::addColumn<int>("looks");      // saved while Ana is active
    QTest::addColumn<bool>("leftOver");  // slot files a killed run left, there at start
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<int>("kept");      // photos in Ana's record after the change
    QTest::addColumn<bool>("changed");  // Carmen is registered and active
    QTest::newRow("Sí keeps them as her visit") << 2 << false << MessageAnswer::Yes << 2 << true;
    QTest::newRow("No leaves them to nobody") << 2 << false << MessageAnswer::No << 0 << true;
    QTest::newRow("Cancelar changes nothing") << 2 << false << MessageAnswer::Cancel << 0 << false;
    QTest::newRow("a killed run's slots are nobody's")
        << 0 << true << MessageAnswer::Cancel << 0 << true;
}

void ClientDialogsTest::looksBelongToTheClientActiveWhenSaved() {
    QFETCH(int, looks);
    QFETCH(bool, leftOver);
    QFETCH(MessageAnswer, answer);
    QFETCH(int, kept);
    QFETCH(bool, changed);
    ClientWindow window;
    for (int slot = 1; leftOver && slot <= 3; ++slot) {
        window.folder.writePicture(slotFileName(slot), solidPicture(300, 320, kClientPhoto));
    }
    QVERIFY(window.start());
    const QString photo = window.folder.path(QStringLiteral("\\clientes\\nueva.bmp"));
    window.newClient(QStringLiteral("Ana"), QStringLiteral("1"), photo);
    for (int i = 0; i < looks; ++i) {
        PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    }
    window.dialogs.asked.clear();
    window.dialogs.messageAnswers = {answer};
    window.newClient(QStringLiteral("Carmen"), QStringLiteral("2"), photo);
    if (looks > 0) {
        QCOMPARE(window.dialogs.messages(),
                 QStringList{"Las fotos guardadas son de Ana. ¿Guardarlas en su ficha antes de "
                             "continuar?"});
        QCOMPARE(window.dialogs.asked.at(1).buttons,
                 MessageButtons::YesNoCancel);  // after the photo
    } else {
        QVERIFY(window.dialogs.messages().isEmpty());
    }
    QCOMPARE(window.visitPhotos(QStringLiteral("1")), kept);
    QCOMPARE(window.principal->windowTitle(), changed ? QStringLiteral("CRINOVA — Carmen (2)")
                                                      : QStringLiteral("CRINOVA — Ana (1)"));
    if (!changed) {
        QVERIFY(PrincipalProbe::clients(*window.principal).nomcliente()->isVisible());
        QCOMPARE(
            window.database.OpenRecordset(QStringLiteral("Select * from cliente")).RecordCount(),
            1);
        return;
    }
    // Carmen's record keeps only the look saved while she is active.
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    PrincipalProbe::clients(*window.principal).mnuguardarcliente_Click();
    QCOMPARE(window.visitPhotos(QStringLiteral("2")), 1);
    QCOMPARE(window.visitPhotos(QStringLiteral("1")), kept);
}

void ClientDialogsTest::closingOffersTheActiveClientsLooks_data() {
    QTest::addColumn<bool>("client");
    QTest::addColumn<MessageAnswer>("answer");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<int>("kept");
    QTest::newRow("no client: closes as ever") << false << MessageAnswer::Cancel << true << 0;
    QTest::newRow("Cancelar keeps the program open") << true << MessageAnswer::Cancel << false << 0;
    QTest::newRow("No closes") << true << MessageAnswer::No << true << 0;
    QTest::newRow("Sí keeps them, then closes") << true << MessageAnswer::Yes << true << 1;
}

void ClientDialogsTest::closingOffersTheActiveClientsLooks() {
    QFETCH(bool, client);
    QFETCH(MessageAnswer, answer);
    QFETCH(bool, closes);
    QFETCH(int, kept);
    ClientWindow window;
    QVERIFY(window.start());
    if (client) {
        window.newClient(QStringLiteral("Ana"), QStringLiteral("1"),
                         window.folder.path(QStringLiteral("\\clientes\\nueva.bmp")));
    }
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    window.dialogs.asked.clear();
    window.dialogs.messageAnswers = {answer};
    window.principal->close();
    QCOMPARE(window.dialogs.messages(),
             client ? QStringList{"¿Guardar las fotos de Ana en su ficha antes de salir?"}
                    : QStringList());
    QCOMPARE(window.folder.exists(slotFileName(1)), !closes);
    QCOMPARE(window.visitPhotos(QStringLiteral("1")), kept);
}

void ClientDialogsTest::deletingTheActiveClientBringsBackTheBasePhoto_data() {
    QTest::addColumn<bool>("photosToo");
    QTest::newRow("her photos stay (No is the default)") << false;
    QTest::newRow("her photos go") << true;
}

void ClientDialogsTest::deletingTheActiveClientBringsBackTheBasePhoto() {
    QFETCH(bool, photosToo);
    ClientWindow window;
    QVERIFY(window.start());
    window.newClient(QStringLiteral("O'Brien"), QStringLiteral("9"),
                     window.folder.path(QStringLiteral("\\clientes\\nueva.bmp")));
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    PrincipalProbe::clients(*window.principal).mnuguardarcliente_Click();
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
    window.dialogs.asked.clear();
    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    if (photosToo) {
        window.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
    }
    QTest::mouseClick(ClientWindow::in<QPushButton>(dialog, "btnaceptar"), Qt::LeftButton);
    QCOMPARE(list->count(), 0);
    QVERIFY(!PrincipalProbe::clients(*window.principal).activeClient());
    QVERIFY(!PrincipalProbe::overlay(*window.principal).usarfotocliente);
    QCOMPARE(window.principal->windowTitle(), QStringLiteral("CRINOVA"));
    const QPoint clear = window.clearOfHair();
    QVERIFY(window.shownAt(clear.x(), clear.y()) != kClientPhoto);
    // Her photo and the two photos of her visit.
    QCOMPARE(window.dialogs.messages()[1],
             QStringLiteral("¿Borrar también sus fotos (3 archivos)?"));
    QCOMPARE(window.dialogs.asked[1].buttons, MessageButtons::YesNoDefaultNo);
    QCOMPARE(window.folder.exists(QStringLiteral("\\clientes\\nueva.bmp")), !photosToo);
    // The visit's two photos with their large companions, all gone with her photos.
    QCOMPARE(
        QDir(window.folder.path(QStringLiteral("\\clientes\\9"))).entryList(QDir::Files).size(),
        photosToo ? 0 : 4);
    if (photosToo) {
        QCOMPARE(
            window.dialogs.messages().last(),
            QStringLiteral("Se han borrado 3 archivos de fotos. Las copias de seguridad hechas "
                           "antes siguen guardando una copia de ellas."));
    }
}

void ClientDialogsTest::rowWithANullIsDamaged_data() {
    QTest::addColumn<QVariant>("code");
    QTest::addColumn<QVariant>("name");
    QTest::addColumn<QString>("photo");
    QTest::addColumn<QString>("listed");  // what the list shows for it
    const QString inside = QStringLiteral("\\clientes\\nueva.bmp");
    QTest::newRow("no code") << QVariant() << QVariant(QStringLiteral("Nula")) << inside
                             << QStringLiteral("Nula (ficha dañada: sin código)");
    QTest::newRow("no name") << QVariant(QStringLiteral("4")) << QVariant() << inside
                             << QStringLiteral("(sin nombre) (ficha dañada: sin nombre)");
    const QString outside =
        QStringLiteral("Eva (ficha dañada: foto fuera de la carpeta de clientes)");
    QTest::newRow("photo of its own path")
        << QVariant(QStringLiteral("4")) << QVariant(QStringLiteral("Eva"))
        << QStringLiteral("/etc/hostname") << outside;
    QTest::newRow("photo climbing out")
        << QVariant(QStringLiteral("4")) << QVariant(QStringLiteral("Eva"))
        << QStringLiteral("\\clientes\\..\\vexasinmo.jpg") << outside;
}

void ClientDialogsTest::rowWithANullIsDamaged() {
    QFETCH(QVariant, code);
    QFETCH(QVariant, name);
    QFETCH(QString, photo);
    QFETCH(QString, listed);
    ClientWindow window;
    QVERIFY(window.start());
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
                                    {code, name, photo}));
    QVERIFY(window.database.Execute(
        QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
        {QStringLiteral("3"), QStringLiteral("Berta"), QStringLiteral("\\clientes\\nueva.bmp")}));
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
    // A photo outside the clients' folder is not even shown.
    QCOMPARE(ClientWindow::in<ImageControl>(buscar, "fcliente")->hasPicture(),
             photo.startsWith(QStringLiteral("\\clientes\\n")));
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
