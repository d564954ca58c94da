#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QRadioButton>
#include <QToolBar>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
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
    void menusCarryTheirCaptionsAndStartStates();
    void toolbarButtonsAndTheirStartStates();
    void clientCommandsAreGuardedUntilAHairIsApplied();
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
    void anyMouseButtonDragsTheHair();
};

void PrincipalCommandsTest::menusCarryTheirCaptionsAndStartStates() {
    Window window;
    QVERIFY(window.load());
    struct Entry {
        const char* name;
        const char* caption;
        bool enabled;
        bool visible;
    };
    const Entry entries[] = {
        {"mnunuevocliente", "&Nuevo Cliente", true, true},
        {"mnubuscarcliente", "&Buscar Cliente", true, true},
        {"mnuguardarcliente", "&Guardar Ficha Cliente", true, true},
        {"mnueliminar", "&Eliminar Ficha Cliente", true, true},
        {"mnubuscarcabello", "B&uscar Tipos de Cabello", true, true},
        {"mnueliminarpelos", "&Eliminar Cabellos", false, true},  // until a catalogue style
        {"mnuImprimir", "&Imprimir", true, true},
        {"mnupresentacion", "&Presentación", false, true},
        {"mnusalirwindows", "S&alir de Windows 95", false, true},
        {"mnusalir", "&Salir de Crinova", true, true},
        {"mnucastaño", "&Kaoba", true, true},
        {"mnurestaurar", "&Restaurar", true, true},
        {"mnurubio", "&Rubio", true, false},
        {"mnuverde", "&Verde", true, false},
        {"mnunegro", "&Negro", true, false},
        {"mnufantasia", "&Fantasia", true, false},
        {"mnulimpiar", "&Limpiar Fondo Fotografía", true, true},
        {"mnuguardar", "&Guardar Foto", false, true},
        {"mnudifuminar", "&Difuminar Cabello", true, true},
        {"mnuampliar", "&Ampliar Zona Cabello", true, false},
        {"mnucopiaseguridad", "&Realizar Copia de Seguridad", true, true},
        {"mnurestaurarbase", "R&estaurar Base de Datos", true, true},
        {"mnureparar", "Rep&arar Base de Datos", true, true},
    };
    for (const Entry& entry : entries) {
        auto* action = window.find<QAction>(QString::fromUtf8(entry.name));
        QVERIFY2(action, entry.name);
        QCOMPARE(action->text(), QString::fromUtf8(entry.caption));
        QCOMPARE(action->isVisible(), entry.visible);
        if (entry.visible) {  // a hidden action always reports itself disabled
            QCOMPARE(action->isEnabled(), entry.enabled);
        }
        QVERIFY(action->shortcut().isEmpty());
    }
    QVERIFY(!window.find<QAction>(QStringLiteral("separador4"))->isVisible());
    QVERIFY(window.find<QAction>(QStringLiteral("separador4"))->isSeparator());
    const QStringList titles = {"&Principal", "&Canvio de Color", "&Imagen", "&Base de Datos"};
    const QStringList names = {"mnuprincipal", "mnucanviocolor", "mnuefectos", "mnubase"};
    for (int i = 0; i < 4; ++i) {
        auto* menu = window.find<QMenu>(names[i]);
        QCOMPARE(menu->title(), titles[i]);
        QCOMPARE(menu->menuAction()->isVisible(), i != 1);  // the colour menu is never shown
    }
}

void PrincipalCommandsTest::toolbarButtonsAndTheirStartStates() {
    Window window;
    QVERIFY(window.load());
    const QStringList tooltips = {"Nuevo Cliente",
                                  "Guardar Ficha Cliente",
                                  "Eliminar Ficha Cliente",
                                  "",
                                  "Buscar Ficha Cliente",
                                  "Buscar Tipos de Cabello",
                                  "",
                                  "Guardar Foto",
                                  "",
                                  "Imprimir",
                                  "Presentación",
                                  "",
                                  "Realizar Copia de Seguridad",
                                  "Restaurar Base de Datos",
                                  ""};
    QSet<qint64> icons;
    for (int index = 1; index <= 15; ++index) {
        auto* button = window.find<QAction>(QStringLiteral("barra_%1").arg(index));
        QVERIFY(button);
        const bool separator = index == 4 || index == 7 || index == 12;
        QCOMPARE(button->isSeparator(), separator);
        if (!tooltips[index - 1].isEmpty()) {
            QCOMPARE(button->toolTip(), tooltips[index - 1]);
            QVERIFY(!button->icon().isNull());
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

void PrincipalCommandsTest::clientCommandsAreGuardedUntilAHairIsApplied() {
    Window window;
    QVERIFY(window.load());
    for (const int button : {1, 3, 5}) {
        window.find<QAction>(QStringLiteral("barra_%1").arg(button))->trigger();
    }
    for (const char* entry : {"mnunuevocliente", "mnubuscarcliente", "mnueliminar"}) {
        window.find<QAction>(QString::fromUtf8(entry))->trigger();
    }
    QCOMPARE(window.dialogs.messages(), QStringList(6, kGuardMessage));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Information);
    QCOMPARE(window.dialogs.asked.front().buttons, MessageButtons::Ok);

    clickThumbnail(window, 1);
    window.dialogs.asked.clear();
    for (const int button : {1, 3, 5}) {
        window.find<QAction>(QStringLiteral("barra_%1").arg(button))->trigger();
    }
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalCommandsTest::gapsAndButtonThirteenRunNothing() {
    Window window;
    QVERIFY(window.load());
    const QImage before = window.shown().copy();
    const QStringList statesBefore = actionStates(window);
    const int pointerBefore = window.principal->fprincipal()->pointer();
    const QStringList filesBefore = filesIn(window);
    for (const int index : {4, 7, 9, 12, 13, 15, 0, 16}) {
        window.principal->barra_ButtonClick(index);
    }
    window.find<QAction>(QStringLiteral("barra_13"))->trigger();
    QVERIFY(window.dialogs.asked.empty());
    COMPARE_IMAGES(window.shown(), before);
    // No window opened, no command changed a state, and button 13 made no backup.
    QVERIFY(!window.principal->tipocabello() && !window.principal->imprimir() &&
            !window.principal->presentacion() && !window.principal->eliminarfondo() &&
            !window.principal->nomcliente() && !window.principal->buscarcliente() &&
            !window.principal->eliminarclientes());
    QCOMPARE(actionStates(window), statesBefore);
    QCOMPARE(window.principal->fprincipal()->pointer(), pointerBefore);
    QCOMPARE(filesIn(window), filesBefore);
    QVERIFY(!window.principal->overlay().pelocargado);
    QCOMPARE(window.principal->mousePointer(), 0);
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
    QCOMPARE(window.principal->fprincipal()->pointer(), 2);  // cross-hair
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QCOMPARE(window.principal->fprincipal()->pointer(), 5);  // size-all arrow
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
    QVERIFY(window.principal->overlay().difuminar);
    const QImage blended = window.shown().copy();
    QVERIFY(!crinova::test::firstDifference(blended, exact).isEmpty());
    // Outside the hair the photo is untouched either way.
    QCOMPARE(colourAt(blended, 2, 318), colourAt(photo, 2, 318));

    // Unchecking brings today's pixels back exactly.
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QVERIFY(!window.principal->overlay().difuminar);
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
    const OverlayState& state = window.principal->overlay();
    QVERIFY(state.pelocargado);
    QCOMPARE(state.ficheropelo, QStringLiteral("\\pelo4.jpg"));
    QCOMPARE(state.ficheromascara, QStringLiteral("\\mpelo4.jpg"));
    QCOMPARE(window.principal->samples().ficherovistas, QStringLiteral("\\pelo4.jpg"));
    QCOMPARE(window.principal->samples().muestraactual, 3);
    QVERIFY(differsFromBasePhoto(window));
    QVERIFY(window.find<QAction>(QStringLiteral("mnuguardar"))->isEnabled());
    QVERIFY(window.find<QAction>(QStringLiteral("barra_8"))->isEnabled());
    QCOMPARE(window.principal->mousePointer(), 0);
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalCommandsTest::sameThumbnailComposesOnce() {
    Window window;
    QVERIFY(window.load());
    Surface& shown = window.principal->buffers().fprincipal;
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
    QVERIFY(!window.principal->overlay().pelocargado);
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
    QVERIFY(window.principal->overlay().pelocargado);
    QCOMPARE(window.principal->mousePointer(), 0);
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
    const QImage side = window.principal->viewStores().fotolateral;
    QCOMPARE(reference->picture(), side);

    clickThumbnail(window, 2);             // sample 3: nape only
    QCOMPARE(reference->picture(), side);  // the old side view stays on screen
    QVERIFY(volver->isHidden());
    QVERIFY(!lateral->isEnabled() && !lateral->isChecked() && !isRed(lateral));
    QVERIFY(nuca->isEnabled() && isRed(nuca));
    QCOMPARE(window.principal->viewStores().fotoinicio, front);

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
    QCOMPARE(reference->picture(), window.principal->viewStores().fotonuca);
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

void PrincipalCommandsTest::anyMouseButtonDragsTheHair() {
    for (const Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton}) {
        Window window;
        QVERIFY(window.load());
        clickThumbnail(window, 4);
        QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("oppelo")), Qt::LeftButton);
        PictureBox* picture = window.principal->fprincipal();
        const QPoint origin = picture->contentsRect().topLeft();
        QTest::mousePress(picture, button, {}, origin + QPoint(10, 20));
        QTest::mouseMove(picture, origin + QPoint(30, 40));
        QTest::mouseRelease(picture, button, {}, origin + QPoint(90, 90));
        const OverlayState& state = window.principal->overlay();
        QCOMPARE(state.posxpelo, 30);  // the last move decides, not the release
        QCOMPARE(state.posypelo, 40);
        QCOMPARE(state.posxfoto, 0);
    }
}

QTEST_MAIN(PrincipalCommandsTest)
#include "tst_principal_commands.moc"
