#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolBar>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "platform/text_colour.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::colourAt;
using Window = crinova::test::PrincipalWindow;

namespace {

const QString kGuardMessage =
    QStringLiteral("Antes de Comenzar con un Nuevo Cliente/a, Seleccione algún Cabello");

void clickThumbnail(Window& window, int index) {
    QTest::mouseClick(window.find<ImageControl>(QStringLiteral("Muestrapelos_%1").arg(index)),
                      Qt::LeftButton);
}

// The window's actions with their enabled and checked states, in a fixed order.
QStringList actionStates(const Window& window) {
    QStringList states;
    for (QAction* action : window.principal->findChildren<QAction*>()) {
        states << QStringLiteral("%1 %2 %3")
                      .arg(action->objectName())
                      .arg(action->isEnabled())
                      .arg(action->isChecked());
    }
    return states;
}

QStringList filesIn(const Window& window) {
    return QDir(window.folder.folder().path())
        .entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
}

bool differsFromBasePhoto(const Window& window) {
    return !test::firstDifference(window.shown(), window.basePhoto()).isEmpty();
}

}  // namespace

class PrincipalCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void menuEntriesCarryTheirCaptionsAndStartStates_data();
    void menuEntriesCarryTheirCaptionsAndStartStates();
    void menusCarryTheirTitles_data();
    void menusCarryTheirTitles();
    void toolbarButtonsCarryTheirTooltips_data();
    void toolbarButtonsCarryTheirTooltips();
    void toolbarButtonsAndTheirStartStates();
    void clientCommandsAreGuardedUntilAHairIsApplied_data();
    void clientCommandsAreGuardedUntilAHairIsApplied();
    void gapsAndButtonThirteenRunNothing_data();
    void gapsAndButtonThirteenRunNothing();
    void ampliarEntryTogglesThroughItsAction();
    void difuminarEntryBlendsAndBringsTheExactPicturesBack();
    void blendedCompositionIsWhatASlotHolds();
    void clickingAThumbnailAppliesItsSample();
    void sameThumbnailComposesOnce();
    void emptyThumbnailIsIgnored();
    void missingSampleFileIsReportedAndTheNextOneWorks();
    void sideViewStaysOnScreenAfterTheNextSample();
    void frontViewComesBack();
    void dragTargetIsMarkedInRed();
    void anyMouseButtonDragsTheHair_data();
    void anyMouseButtonDragsTheHair();
};

void PrincipalCommandsTest::menuEntriesCarryTheirCaptionsAndStartStates_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<bool>("visible");
    QTest::newRow("mnunuevocliente")
        << "mnunuevocliente" << QString::fromUtf8("&Nuevo Cliente") << true << true;
    QTest::newRow("mnubuscarcliente")
        << "mnubuscarcliente" << QString::fromUtf8("&Buscar Cliente") << true << true;
    QTest::newRow("mnuguardarcliente")
        << "mnuguardarcliente" << QString::fromUtf8("&Guardar Ficha Cliente") << true << true;
    QTest::newRow("mnueliminar") << "mnueliminar" << QString::fromUtf8("&Eliminar Ficha Cliente")
                                 << true << true;
    QTest::newRow("mnubuscarcabello")
        << "mnubuscarcabello" << QString::fromUtf8("B&uscar Tipos de Cabello") << true << true;
    QTest::newRow("mnueliminarpelos")
        << "mnueliminarpelos" << QString::fromUtf8("&Eliminar Cabellos") << false
        << true;  // until a catalogue style
    QTest::newRow("mnuImprimir") << "mnuImprimir" << QString::fromUtf8("&Imprimir") << true << true;
    QTest::newRow("mnupresentacion")
        << "mnupresentacion" << QString::fromUtf8("&Presentación") << false << true;
    QTest::newRow("mnusalirwindows")
        << "mnusalirwindows" << QString::fromUtf8("S&alir de Windows 95") << false << true;
    QTest::newRow("mnusalir") << "mnusalir" << QString::fromUtf8("&Salir de Crinova") << true
                              << true;
    QTest::newRow("mnucastaño") << "mnucastaño" << QString::fromUtf8("&Kaoba") << true << true;
    QTest::newRow("mnurestaurar") << "mnurestaurar" << QString::fromUtf8("&Restaurar") << true
                                  << true;
    QTest::newRow("mnurubio") << "mnurubio" << QString::fromUtf8("&Rubio") << true << false;
    QTest::newRow("mnuverde") << "mnuverde" << QString::fromUtf8("&Verde") << true << false;
    QTest::newRow("mnunegro") << "mnunegro" << QString::fromUtf8("&Negro") << true << false;
    QTest::newRow("mnufantasia") << "mnufantasia" << QString::fromUtf8("&Fantasia") << true
                                 << false;
    QTest::newRow("mnulimpiar") << "mnulimpiar" << QString::fromUtf8("&Limpiar Fondo Fotografía")
                                << true << true;
    QTest::newRow("mnuguardar") << "mnuguardar" << QString::fromUtf8("&Guardar Foto") << false
                                << true;
    QTest::newRow("mnudifuminar") << "mnudifuminar" << QString::fromUtf8("&Difuminar Cabello")
                                  << true << true;
    QTest::newRow("mnuampliar") << "mnuampliar" << QString::fromUtf8("&Ampliar Zona Cabello")
                                << true << false;
    QTest::newRow("mnucopiaseguridad")
        << "mnucopiaseguridad" << QString::fromUtf8("&Realizar Copia de Seguridad") << true << true;
    QTest::newRow("mnurestaurarbase")
        << "mnurestaurarbase" << QString::fromUtf8("R&estaurar Base de Datos") << true << true;
    QTest::newRow("mnureparar") << "mnureparar" << QString::fromUtf8("Rep&arar Base de Datos")
                                << true << true;
    QTest::newRow("mnuservidor") << "mnuservidor" << QString::fromUtf8("&Servidor del Salón...")
                                 << true << true;
}

void PrincipalCommandsTest::menuEntriesCarryTheirCaptionsAndStartStates() {
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, enabled);
    QFETCH(bool, visible);
    Window window;
    QVERIFY(window.load());
    auto* action = window.find<QAction>(name);
    QVERIFY2(action, qPrintable(name));
    QCOMPARE(action->text(), caption);
    QCOMPARE(action->isVisible(), visible);
    if (visible) {  // a hidden action always reports itself disabled
        QCOMPARE(action->isEnabled(), enabled);
    }
    QVERIFY(action->shortcut().isEmpty());
    QVERIFY(!window.find<QAction>(QStringLiteral("separador4"))->isVisible());
    QVERIFY(window.find<QAction>(QStringLiteral("separador4"))->isSeparator());
}

void PrincipalCommandsTest::menusCarryTheirTitles_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("shown");
    QTest::newRow("mnuprincipal") << "mnuprincipal"
                                  << "&Principal" << true;
    QTest::newRow("mnucanviocolor never shown") << "mnucanviocolor"
                                                << "&Canvio de Color" << false;
    QTest::newRow("mnuefectos") << "mnuefectos"
                                << "&Imagen" << true;
    QTest::newRow("mnubase") << "mnubase"
                             << "&Base de Datos" << true;
}

void PrincipalCommandsTest::menusCarryTheirTitles() {
    QFETCH(QString, name);
    QFETCH(QString, title);
    QFETCH(bool, shown);
    Window window;
    QVERIFY(window.load());
    auto* menu = window.find<QMenu>(name);
    QCOMPARE(menu->title(), title);
    QCOMPARE(menu->menuAction()->isVisible(), shown);
}

void PrincipalCommandsTest::toolbarButtonsCarryTheirTooltips_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("separator");
    QTest::addColumn<QString>("tooltip");  // empty: a separator or a gap with no face
    const auto row = [](int index, const char* tooltip, bool separator = false) {
        QTest::addRow("barra_%d", index) << index << separator << QString::fromUtf8(tooltip);
    };
    row(1, "Nuevo Cliente");
    row(2, "Guardar Ficha Cliente");
    row(3, "Eliminar Ficha Cliente");
    row(4, "", true);
    row(5, "Buscar Ficha Cliente");
    row(6, "Buscar Tipos de Cabello");
    row(7, "", true);
    row(8, "Guardar Foto");
    row(9, "");
    row(10, "Imprimir");
    row(11, "Presentación");
    row(12, "", true);
    row(13, "Realizar Copia de Seguridad");
    row(14, "Restaurar Base de Datos");
    row(15, "");
}

void PrincipalCommandsTest::toolbarButtonsCarryTheirTooltips() {
    QFETCH(int, index);
    QFETCH(bool, separator);
    QFETCH(QString, tooltip);
    Window window;
    QVERIFY(window.load());
    auto* button = window.find<QAction>(QStringLiteral("barra_%1").arg(index));
    QVERIFY(button);
    QCOMPARE(button->isSeparator(), separator);
    if (!tooltip.isEmpty()) {
        QCOMPARE(button->toolTip(), tooltip);
        QVERIFY(!button->icon().isNull());
    }
}

void PrincipalCommandsTest::toolbarButtonsAndTheirStartStates() {
    Window window;
    QVERIFY(window.load());
    QSet<qint64> icons;
    for (QAction* button : window.find<QToolBar>(QStringLiteral("barra"))->actions()) {
        if (!button->toolTip().isEmpty() && !button->icon().isNull()) {
            icons.insert(button->icon().cacheKey());
        }
    }
    QCOMPARE(icons.size(), 10);  // every ordinary button has an icon of its own
    // Presentación: disabled in the menu, enabled on the bar; Imprimir the other way round.
    QVERIFY(window.find<QAction>(QStringLiteral("barra_11"))->isEnabled());
    QVERIFY(!window.find<QAction>(QStringLiteral("mnupresentacion"))->isEnabled());
    QVERIFY(!window.find<QAction>(QStringLiteral("barra_10"))->isEnabled());
    QVERIFY(window.find<QAction>(QStringLiteral("mnuImprimir"))->isEnabled());
    QVERIFY(!window.find<QAction>(QStringLiteral("barra_8"))->isEnabled());
    QVERIFY(!window.find<QAction>(QStringLiteral("barra_9"))->isEnabled());
}

void PrincipalCommandsTest::clientCommandsAreGuardedUntilAHairIsApplied_data() {
    QTest::addColumn<QString>("command");  // the action's objectName
    QTest::addColumn<bool>("button");      // a toolbar button, which opens its dialog once allowed
    QTest::newRow("Nuevo Cliente button") << "barra_1" << true;
    QTest::newRow("Eliminar Ficha Cliente button") << "barra_3" << true;
    QTest::newRow("Buscar Ficha Cliente button") << "barra_5" << true;
    QTest::newRow("mnunuevocliente") << "mnunuevocliente" << false;
    QTest::newRow("mnubuscarcliente") << "mnubuscarcliente" << false;
    QTest::newRow("mnueliminar") << "mnueliminar" << false;
}

void PrincipalCommandsTest::clientCommandsAreGuardedUntilAHairIsApplied() {
    QFETCH(QString, command);
    QFETCH(bool, button);
    Window window;
    QVERIFY(window.load());
    window.find<QAction>(command)->trigger();
    QCOMPARE(window.dialogs.messages(), QStringList{kGuardMessage});
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Information);
    QCOMPARE(window.dialogs.asked.front().buttons, MessageButtons::Ok);

    if (button) {
        clickThumbnail(window, 1);
        window.dialogs.asked.clear();
        window.find<QAction>(command)->trigger();
        QVERIFY(window.dialogs.asked.empty());
    }
}

void PrincipalCommandsTest::gapsAndButtonThirteenRunNothing_data() {
    QTest::addColumn<int>("index");  // the place on the bar the click reports
    QTest::newRow("separator 4") << 4;
    QTest::newRow("separator 7") << 7;
    QTest::newRow("Ampliar Zona Cabello gap 9") << 9;
    QTest::newRow("separator 12") << 12;
    QTest::newRow("Realizar Copia de Seguridad button 13") << 13;
    QTest::newRow("end gap 15") << 15;
    QTest::newRow("before the bar 0") << 0;
    QTest::newRow("after the bar 16") << 16;
}

void PrincipalCommandsTest::gapsAndButtonThirteenRunNothing() {
    QFETCH(int, index);
    Window window;
    QVERIFY(window.load());
    const QImage before = window.shown().copy();
    const QStringList statesBefore = actionStates(window);
    const int pointerBefore = window.fprincipal()->pointer();
    const QStringList filesBefore = filesIn(window);
    window.principal->barra_ButtonClick(index);
    if (index == 13) {
        window.find<QAction>(QStringLiteral("barra_13"))->trigger();
    }
    QVERIFY(window.dialogs.asked.empty());
    COMPARE_IMAGES(window.shown(), before);
    // No window opened, no command changed a state, and button 13 made no backup.
    QVERIFY(!PrincipalProbe::catalogue(*window.principal).tipocabello() &&
            !PrincipalProbe::printing(*window.principal).imprimir() &&
            !PrincipalProbe::photoSlots(*window.principal).presentacion() &&
            !PrincipalProbe::eliminarfondo(*window.principal) &&
            !PrincipalProbe::clients(*window.principal).nomcliente() &&
            !PrincipalProbe::clients(*window.principal).buscarcliente() &&
            !PrincipalProbe::clients(*window.principal).eliminarclientes());
    QCOMPARE(actionStates(window), statesBefore);
    QCOMPARE(window.fprincipal()->pointer(), pointerBefore);
    QCOMPARE(filesIn(window), filesBefore);
    QVERIFY(!PrincipalProbe::overlay(*window.principal).pelocargado);
    QCOMPARE(window.mousePointer(), kPointerDefault);
    QCOMPARE(window.system.shutdownRequests, 0);
}

void PrincipalCommandsTest::ampliarEntryTogglesThroughItsAction() {
    Window window;
    QVERIFY(window.load());
    QAction* entry = window.find<QAction>(QStringLiteral("mnuampliar"));
    QVERIFY(!entry->isChecked());
    // As the menu does it: Qt's own trigger of the checkable entry.
    entry->trigger();
    QVERIFY(entry->isChecked());
    QCOMPARE(window.fprincipal()->pointer(), kPointerCross);
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QCOMPARE(window.fprincipal()->pointer(), kPointerMove);
}

void PrincipalCommandsTest::difuminarEntryBlendsAndBringsTheExactPicturesBack() {
    Window window;
    QVERIFY(window.load());
    QAction* entry = window.find<QAction>(QStringLiteral("mnudifuminar"));
    QVERIFY(entry->isCheckable());
    QVERIFY(!entry->isChecked());
    clickThumbnail(window, 1);
    const QImage exact = window.shown().copy();
    // (photo AND mask) XOR hair, worked out at a pixel inside the hair.
    const QImage photo = window.basePhoto();
    const QImage mask = loadPicture(window.folder.path(QStringLiteral("\\mpelo2.jpg"))).picture;
    const QImage hair = loadPicture(window.folder.path(QStringLiteral("\\pelo2.jpg"))).picture;
    const QPoint inside(150, 40);
    QCOMPARE(colourAt(exact, inside.x(), inside.y()),
             (colourAt(photo, inside.x(), inside.y()) & colourAt(mask, inside.x(), inside.y())) ^
                 colourAt(hair, inside.x(), inside.y()));

    // Checking the entry composes again at once, blended.
    entry->trigger();
    QVERIFY(entry->isChecked());
    QVERIFY(PrincipalProbe::overlay(*window.principal).difuminar);
    const QImage blended = window.shown().copy();
    QVERIFY(!crinova::test::firstDifference(blended, exact).isEmpty());
    // Outside the hair the photo is untouched either way.
    QCOMPARE(colourAt(blended, 2, 318), colourAt(photo, 2, 318));

    // Unchecking brings today's pixels back exactly.
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QVERIFY(!PrincipalProbe::overlay(*window.principal).difuminar);
    COMPARE_IMAGES(window.shown(), exact);
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalCommandsTest::blendedCompositionIsWhatASlotHolds() {
    Window window;
    QVERIFY(window.load());
    window.find<QAction>(QStringLiteral("mnudifuminar"))->trigger();
    clickThumbnail(window, 2);
    const QImage shown = window.shown().copy();
    window.find<QAction>(QStringLiteral("mnuguardar"))->trigger();
    const PictureLoad saved = loadPicture(window.folder.path(QStringLiteral("\\foto1.bmp")));
    QVERIFY(saved.ok());
    COMPARE_IMAGES(saved.picture, shown);
    // And it is the blended picture: at the hair's pixels the exact composition differs.
    window.find<QAction>(QStringLiteral("mnudifuminar"))->trigger();
    QVERIFY(!crinova::test::firstDifference(window.shown(), saved.picture).isEmpty());
}

void PrincipalCommandsTest::clickingAThumbnailAppliesItsSample() {
    Window window;
    QVERIFY(window.load());
    clickThumbnail(window, 3);
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QVERIFY(state.pelocargado);
    QCOMPARE(state.ficheropelo, QStringLiteral("\\pelo4.jpg"));
    QCOMPARE(state.ficheromascara, QStringLiteral("\\mpelo4.jpg"));
    QCOMPARE(PrincipalProbe::samples(*window.principal).ficherovistas,
             QStringLiteral("\\pelo4.jpg"));
    QCOMPARE(PrincipalProbe::samples(*window.principal).muestraactual, 3);
    QVERIFY(differsFromBasePhoto(window));
    QVERIFY(window.find<QAction>(QStringLiteral("mnuguardar"))->isEnabled());
    QVERIFY(window.find<QAction>(QStringLiteral("barra_8"))->isEnabled());
    QCOMPARE(window.mousePointer(), kPointerDefault);
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalCommandsTest::sameThumbnailComposesOnce() {
    Window window;
    QVERIFY(window.load());
    Surface& shown = PrincipalProbe::buffers(*window.principal).fprincipal;
    clickThumbnail(window, 2);
    QVERIFY(differsFromBasePhoto(window));
    shown.RepaintFromStoredPicture();  // so that a new composition would show
    clickThumbnail(window, 2);
    QVERIFY(!differsFromBasePhoto(window));  // nothing composed the second time

    clickThumbnail(window, 3);
    shown.RepaintFromStoredPicture();
    clickThumbnail(window, 2);
    QVERIFY(differsFromBasePhoto(window));
}

void PrincipalCommandsTest::emptyThumbnailIsIgnored() {
    Window window;
    QVERIFY(window.load());
    window.find<ImageControl>(QStringLiteral("Muestrapelos_4"))->clearPicture();
    clickThumbnail(window, 4);
    QVERIFY(!PrincipalProbe::overlay(*window.principal).pelocargado);
    QVERIFY(!differsFromBasePhoto(window));
    QVERIFY(!window.find<QAction>(QStringLiteral("mnuguardar"))->isEnabled());
}

void PrincipalCommandsTest::missingSampleFileIsReportedAndTheNextOneWorks() {
    Window window;
    QVERIFY(window.load());
    QVERIFY(QFile::remove(window.folder.path(QStringLiteral("\\mpelo5.jpg"))));
    clickThumbnail(window, 4);
    QCOMPARE(window.dialogs.messages().size(), 1);
    QVERIFY(window.dialogs.messages().first().contains(
        window.folder.path(QStringLiteral("\\mpelo5.jpg"))));
    QVERIFY(PrincipalProbe::overlay(*window.principal).pelocargado);
    QCOMPARE(window.mousePointer(), kPointerDefault);
    QVERIFY(!differsFromBasePhoto(window));

    clickThumbnail(window, 0);
    QCOMPARE(window.dialogs.messages().size(), 1);
    QVERIFY(differsFromBasePhoto(window));
}

void PrincipalCommandsTest::sideViewStaysOnScreenAfterTheNextSample() {
    Window window;
    QVERIFY(window.load());
    auto* lateral = window.find<QRadioButton>(QStringLiteral("oppaletal"));
    auto* nuca = window.find<QRadioButton>(QStringLiteral("opnuca"));
    auto* volver = window.find<QLabel>(QStringLiteral("opvolver"));
    auto* reference = window.find<ImageControl>(QStringLiteral("fotoinicial"));
    const QImage front = reference->picture();

    clickThumbnail(window, 0);  // sample 1 has both views
    QVERIFY(lateral->isEnabled() && nuca->isEnabled());
    QVERIFY(isRed(lateral) && isRed(nuca));
    window.principal->show();
    QTest::mouseClick(lateral, Qt::LeftButton);
    QVERIFY(lateral->isChecked());
    QVERIFY(volver->isVisible());
    const QImage side = PrincipalProbe::viewStores(*window.principal).fotolateral;
    QCOMPARE(reference->picture(), side);

    clickThumbnail(window, 2);             // sample 3: nape only
    QCOMPARE(reference->picture(), side);  // the old side view stays on screen
    QVERIFY(volver->isHidden());
    QVERIFY(!lateral->isEnabled() && !lateral->isChecked() && !isRed(lateral));
    QVERIFY(nuca->isEnabled() && isRed(nuca));
    QCOMPARE(PrincipalProbe::viewStores(*window.principal).fotoinicio, front);

    clickThumbnail(window, 1);  // sample 2: no views; "Nuca" only disabled, still red
    QVERIFY(!nuca->isEnabled());
    QVERIFY(isRed(nuca));
}

void PrincipalCommandsTest::frontViewComesBack() {
    Window window;
    QVERIFY(window.load());
    auto* reference = window.find<ImageControl>(QStringLiteral("fotoinicial"));
    const QImage front = reference->picture();
    clickThumbnail(window, 2);
    QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("opnuca")), Qt::LeftButton);
    QCOMPARE(reference->picture(), PrincipalProbe::viewStores(*window.principal).fotonuca);
    QTest::mouseClick(window.find<QLabel>(QStringLiteral("opvolver")), Qt::LeftButton);
    QCOMPARE(reference->picture(), front);
    QVERIFY(window.find<QLabel>(QStringLiteral("opvolver"))->isHidden());
    QVERIFY(!window.find<QRadioButton>(QStringLiteral("opnuca"))->isChecked());
}

void PrincipalCommandsTest::dragTargetIsMarkedInRed() {
    Window window;
    QVERIFY(window.load());
    auto* foto = window.find<QRadioButton>(QStringLiteral("opfoto"));
    auto* pelo = window.find<QRadioButton>(QStringLiteral("oppelo"));
    QTest::mouseClick(pelo, Qt::LeftButton);
    QVERIFY(pelo->isChecked());
    QVERIFY(isRed(pelo) && !isRed(foto));
    QTest::mouseClick(foto, Qt::LeftButton);
    QVERIFY(isRed(foto) && !isRed(pelo));
}

void PrincipalCommandsTest::anyMouseButtonDragsTheHair_data() {
    QTest::addColumn<Qt::MouseButton>("button");
    QTest::newRow("left") << Qt::LeftButton;
    QTest::newRow("right") << Qt::RightButton;
    QTest::newRow("middle") << Qt::MiddleButton;
}

void PrincipalCommandsTest::anyMouseButtonDragsTheHair() {
    QFETCH(Qt::MouseButton, button);
    Window window;
    QVERIFY(window.load());
    clickThumbnail(window, 4);
    QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("oppelo")), Qt::LeftButton);
    PictureBox* picture = window.fprincipal();
    const QPoint origin = picture->contentsRect().topLeft();
    QTest::mousePress(picture, button, {}, origin + QPoint(10, 20));
    QTest::mouseMove(picture, origin + QPoint(30, 40));
    QTest::mouseRelease(picture, button, {}, origin + QPoint(90, 90));
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QCOMPARE(state.posxpelo, 30);  // the last move decides, not the release
    QCOMPARE(state.posypelo, 40);
    QCOMPARE(state.posxfoto, 0);
}

QTEST_MAIN(PrincipalCommandsTest)
#include "tst_principal_commands.moc"
