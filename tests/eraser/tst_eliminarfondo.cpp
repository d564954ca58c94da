#include <QtTest>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include "eraser/eliminarfondo.h"
#include "image_compare.h"
#include "platform/picture_box.h"
#include "platform/raster.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::solidPicture;
using Window = crinova::test::PrincipalWindow;

namespace {

const QString kOpenMessage =
    QStringLiteral("Tiene que Seleccionar la Foto con el Pelo Alisado para Eliminar el Fondo");

// The eraser over a stand-in for the main window, which counts the times it gave the screen back.
struct EraserWindow : QObject {
    test::TestProgramFolder folder;
    test::ScriptedDialogs dialogs;
    int closings = 0;
    QPointer<Eliminarfondo> eraser;
    QWidget mainWindow;  // destroyed first, and the eraser with it

    // Opens the eraser the way the main window does: made on first use, released on close.
    Eliminarfondo* open() {
        showModeless(modelessWindow(
            eraser, [this] { return new Eliminarfondo(folder.folder(), dialogs, &mainWindow); },
            this, [this] { ++closings; }));
        return eraser;
    }
    QAction* entry(const char* name) const {
        return eraser->menuBar()->findChild<QAction*>(QString::fromUtf8(name));
    }
    // Opens a photo through the menu, answering the message and the file chooser.
    void openPhoto(const QString& path) {
        dialogs.messageAnswers.push_back(MessageAnswer::Ok);
        dialogs.textAnswers.push_back(path);
        entry("mnuabrir")->trigger();
    }
    // A stroke of the thick brush from (10, 10) to `to` on the picture.
    void paint(QPoint to) {
        entry("mnugrueso")->trigger();
        QTest::mousePress(eraser->fprincipal(), Qt::LeftButton, {}, QPoint(10, 10));
        QTest::mouseMove(eraser->fprincipal(), to);
        QTest::mouseRelease(eraser->fprincipal(), Qt::LeftButton, {}, to);
    }
};

}  // namespace

class EliminarfondoTest : public QObject {
    Q_OBJECT
  private slots:
    void windowMenusAndClosing();
    void openingAskedAsTheStylistExpects();
    void paintSaveAndReopen();
    void refusedAndBrokenFiles();
    void photoIsNotSavedWhenItsOriginalCannotBeKept();
    void closingHandsTheScreenBackToTheMainWindow();
};

void EliminarfondoTest::windowMenusAndClosing() {
    EraserWindow window;
    Eliminarfondo* eraser = window.open();
    QVERIFY(eraser);
    QCOMPARE(eraser->windowTitle(), QStringLiteral("ELIMINAR FONDO FOTOGRAFÍA"));
    const QList<std::tuple<const char*, const char*, const char*, bool>> entries = {
        {"mnuabrir", "&Abrir Fotografía", "Ctrl+O", true},
        {"mnuguardar", "&Guardar Fotografía", "", true},
        {"mnudesacer", "&Deshacer", "Ctrl+Z", false},
        {"mnurecuperar", "&Recuperar Fotografía", "", true},
        {"mnucolor", "&Canviar Color Pincel", "", true},
        {"mnuvolver", "&Volver a Crinova", "", true},
        {"mnufino", "&Fino", "Ctrl+F", true},
        {"mnumedio", "&Medio", "Ctrl+M", true},
        {"mnugrueso", "&Grueso", "Ctrl+G", true}};
    for (const auto& [name, caption, shortcut, enabled] : entries) {
        QAction* action = window.entry(name);
        QVERIFY2(action, name);
        QCOMPARE(action->text(), QString::fromUtf8(caption));
        QCOMPARE(action->shortcut(), QKeySequence(QString::fromUtf8(shortcut)));
        QCOMPARE(action->isEnabled(), enabled);
        QVERIFY(!action->isChecked());
    }
    QCOMPARE(eraser->menuBar()->findChild<QMenu*>(QStringLiteral("mnuprincipal"))->title(),
             QStringLiteral("Principal"));
    QCOMPARE(eraser->menuBar()->findChild<QMenu*>(QStringLiteral("mnulimpiar"))->title(),
             QStringLiteral("&Limpiar"));
    QCOMPARE(eraser->menuBar()->findChild<QMenu*>(QStringLiteral("mnupincel"))->title(),
             QStringLiteral("con &Pincel"));
    window.entry("mnumedio")->trigger();
    window.entry("mnugrueso")->trigger();
    QVERIFY(window.entry("mnugrueso")->isChecked());
    QVERIFY(!window.entry("mnumedio")->isChecked());
    QCOMPARE(int(eraser->editor().anchopincel), 60);

    // "&Volver a Crinova" hands back and releases it; reopened, the editor is fresh.
    window.dialogs.colourAnswers = {Colour(0x000000FF)};
    window.entry("mnucolor")->trigger();
    QCOMPARE(GetPixel(eraser->editor().brushes.pincel[1], 14, 14), Colour(0x000000FF));
    const QPointer<Eliminarfondo> closing = eraser;
    window.entry("mnuvolver")->trigger();
    QVERIFY(closing && closing->isHidden());
    QVERIFY(!window.eraser);
    QCOMPARE(window.closings, 1);
    QTRY_VERIFY(!closing);  // released
    QCOMPARE(window.closings, 1);

    eraser = window.open();
    QCOMPARE(GetPixel(eraser->editor().brushes.pincel[1], 14, 14), kWhite);
    QCOMPARE(int(eraser->editor().anchopincel), 0);
    window.dialogs.colourAnswers = {std::nullopt};  // cancelling keeps the brush
    window.entry("mnucolor")->trigger();
    QCOMPARE(GetPixel(eraser->editor().brushes.pincel[1], 14, 14), kWhite);
    eraser->close();
    QCOMPARE(window.closings, 2);
}

void EliminarfondoTest::openingAskedAsTheStylistExpects() {
    EraserWindow window;
    QVERIFY(window.open());
    window.dialogs.messageAnswers.push_back(MessageAnswer::Ok);
    window.dialogs.textAnswers.push_back(QString());  // cancelled
    window.entry("mnuabrir")->trigger();
    QCOMPARE(window.dialogs.asked.size(), std::size_t(2));
    QCOMPARE(window.dialogs.asked[0].text, kOpenMessage);
    QCOMPARE(window.dialogs.asked[0].title, QStringLiteral("Abrir Foto Original"));
    QCOMPARE(window.dialogs.asked[0].icon, MessageIcon::Information);
    QCOMPARE(window.dialogs.asked[1].kind, QStringLiteral("OpenFile"));
    QCOMPARE(window.dialogs.asked[1].text,
             QStringLiteral("Archivos JPG o BMP(*.bmp;*.jpg)|*.bmp;*.jpg"));
    QCOMPARE(window.dialogs.asked[1].title,
             QStringLiteral("Seleccione la Foto con el Pelo Alisado"));
    QCOMPARE(window.dialogs.asked[1].initialFolder,
             window.folder.path(QStringLiteral("\\clientes")));
    QVERIFY(window.eraser->editor().rutafoto.isEmpty());
    // Nothing open: saving asks no question.
    window.dialogs.asked.clear();
    window.entry("mnuguardar")->trigger();
    QCOMPARE(window.dialogs.asked.size(), std::size_t(1));
    QCOMPARE(window.dialogs.asked[0].buttons, MessageButtons::Ok);
}

void EliminarfondoTest::paintSaveAndReopen() {
    EraserWindow window;
    Eliminarfondo* eraser = window.open();
    const QString path = window.folder.path(QStringLiteral("\\clientes\\cliente1.jpg"));
    QFile photo(path);
    QVERIFY(photo.open(QIODevice::ReadOnly));
    const QByteArray original = photo.readAll();
    photo.close();
    window.openPhoto(path);
    QCOMPARE(eraser->editor().rutafoto, path);
    QCOMPARE(eraser->fprincipal()->pos(), QPoint(5, 5));

    window.paint(QPoint(40, 40));
    QVERIFY(window.entry("mnudesacer")->isEnabled());
    QCOMPARE(GetPixel(eraser->editor().fprincipal, 70, 70), kWhite);  // the disk's middle
    const QImage edited = eraser->editor().fprincipal.image().copy();

    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.entry("mnuguardar")->trigger();
    QCOMPARE(window.dialogs.messages().mid(1),
             (QStringList{"Seguro que quiere Guardar la Fotografía del Cliente/a",
                          "La Fotografía del cliente/a a sido Guardada satisfactoriamente"}));
    QCOMPARE(window.dialogs.asked[2].buttons, MessageButtons::YesNo);
    QCOMPARE(window.dialogs.asked[2].title, QStringLiteral("Guardar Fotografía Cliente/a"));
    QCOMPARE(loadPicture(path).picture, edited);
    QFile kept(window.folder.path(QStringLiteral("\\clientes\\originales\\cliente1.jpg")));
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), original);  // the photograph as it came is kept first

    // Another photo: the undo copy belongs to the previous one; its own undo brings it back.
    const QString second = window.folder.path(QStringLiteral("\\clientes\\cliente2.jpg"));
    window.openPhoto(second);
    QCOMPARE(eraser->editor().rutafoto, second);
    QVERIFY(!window.entry("mnudesacer")->isEnabled());
    window.paint(QPoint(20, 20));
    window.entry("mnudesacer")->trigger();
    QVERIFY(!window.entry("mnudesacer")->isEnabled());
    COMPARE_IMAGES(eraser->editor().fprincipal.image(), loadPicture(second).picture);
    window.openPhoto(path);  // reopening shows the edit
    COMPARE_IMAGES(eraser->editor().fprincipal.image(), edited);
}

void EliminarfondoTest::refusedAndBrokenFiles() {
    EraserWindow window;
    Eliminarfondo* eraser = window.open();
    window.folder.writePicture(QStringLiteral("\\clientes\\grande.bmp"),
                               solidPicture(431, 200, kBlack));
    window.folder.writeBytes(QStringLiteral("\\clientes\\roto.jpg"), "\xff\xd8\xff\xe0 roto");
    // A phone photo too large even to decode: the editor's own rule answers, not the loader's.
    window.folder.writeBytes(QStringLiteral("\\clientes\\movil.jpg"),
                             crinova::test::jpegClaimingSize(QSize(30000, 20000)));
    for (const char* name : {"\\clientes\\grande.bmp", "\\clientes\\movil.jpg"}) {
        window.openPhoto(window.folder.path(QString::fromUtf8(name)));
        QCOMPARE(window.dialogs.asked.back().title, QStringLiteral("Error Imagen Grande"));
        QCOMPARE(window.dialogs.asked.back().icon, MessageIcon::Critical);
        QVERIFY(window.dialogs.asked.back().text.startsWith(
            QStringLiteral("La Fotografía es demasiado Grande, intente Reducirla")));
    }
    window.openPhoto(window.folder.path(QStringLiteral("\\clientes\\roto.jpg")));
    QVERIFY(window.dialogs.asked.back().text.contains(QStringLiteral("roto.jpg")));
    QVERIFY(eraser->editor().rutafoto.isEmpty());
}

void EliminarfondoTest::closingHandsTheScreenBackToTheMainWindow() {
    Window window;
    QVERIFY(window.load());
    QAction* limpiar = window.find<QAction>(QStringLiteral("mnulimpiar"));
    limpiar->trigger();
    QVERIFY(PrincipalProbe::eliminarfondo(*window.principal));
    PrincipalProbe::eliminarfondo(*window.principal)->close();
    QVERIFY(!PrincipalProbe::eliminarfondo(*window.principal));
    QVERIFY(!PrincipalProbe::overlay(*window.principal)
                 .redibujar);  // no hair applied: the picture stays
    QVERIFY(!window.timer2().isActive());
    COMPARE_IMAGES(window.shown(), window.basePhoto());

    window.principal->Muestrapelos_Click(1);
    limpiar->trigger();
    PrincipalProbe::eliminarfondo(*window.principal)->close();
    QVERIFY(PrincipalProbe::overlay(*window.principal).redibujar);
    COMPARE_IMAGES(window.shown(), window.basePhoto());  // cleared until the redraw
    QVERIFY(window.timer2().isActive());
}

void EliminarfondoTest::photoIsNotSavedWhenItsOriginalCannotBeKept() {
    EraserWindow window;
    QVERIFY(window.open());
    const QString path = window.folder.path(QStringLiteral("\\clientes\\cliente2.jpg"));
    QFile photo(path);
    QVERIFY(photo.open(QIODevice::ReadOnly));
    const QByteArray original = photo.readAll();
    photo.close();
    window.folder.writeBytes(QStringLiteral("\\clientes\\originales"), "not a folder");
    window.openPhoto(path);
    window.paint(QPoint(30, 30));
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.entry("mnuguardar")->trigger();

    const test::ScriptedDialogs::Asked& told = window.dialogs.asked.back();
    QCOMPARE(told.icon, MessageIcon::Critical);
    QCOMPARE(told.title, QStringLiteral("Guardar Fotografía Cliente/a"));
    QVERIFY2(told.text.contains(QStringLiteral("no se ha guardado")), qPrintable(told.text));
    QVERIFY(!window.dialogs.messages().contains(
        QStringLiteral("La Fotografía del cliente/a a sido Guardada satisfactoriamente")));
    QVERIFY(photo.open(QIODevice::ReadOnly));
    QCOMPARE(photo.readAll(), original);
}

QTEST_MAIN(EliminarfondoTest)
#include "tst_eliminarfondo.moc"
