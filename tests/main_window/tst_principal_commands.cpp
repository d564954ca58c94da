#include <QtTest>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
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

ImageControl* thumbnail(Window& window, int index) {
    return window.find<ImageControl>(QStringLiteral("Muestrapelos_%1").arg(index));
}

void clickThumbnail(Window& window, int index) {
    QTest::mouseClick(thumbnail(window, index), Qt::LeftButton);
}

// The first catalogue page of long straight blond styles for women (lm01, lm02, ...).
bool loadBlondPage(Window& window) {
    PrincipalProbe::catalogue(*window.principal).state().filters = {
        QStringLiteral("mujer"), QStringLiteral("largo"), QStringLiteral("liso"),
        QStringLiteral("dorado")};
    return PrincipalProbe::catalogue(*window.principal).loadFirstCataloguePage();
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
    void menusEntriesAndButtonsCarryTheirCaptions();
    void clientCommandsAreGuardedUntilAHairIsApplied_data();
    void clientCommandsAreGuardedUntilAHairIsApplied();
    void gapsRunNothing_data();
    void gapsRunNothing();
    void ampliarEntryTogglesThroughItsAction();
    void difuminarEntryBlendsAndBringsTheExactPicturesBack();
    void clickingAThumbnailAppliesItsSample();
    void sameThumbnailComposesOnce();
    void missingSampleFileIsReportedAndTheNextOneWorks();
    void sideViewStaysOnScreenAfterTheNextSample();
    void anyMouseButtonDragsTheHair_data();
    void anyMouseButtonDragsTheHair();
    void pictureButtonsTakeOnlyTheLeftButton_data();
    void pictureButtonsTakeOnlyTheLeftButton();
    void damagedSampleHairIsNamedAtTheClick();
    void catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair_data();
    void catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair();
};

void PrincipalCommandsTest::menusEntriesAndButtonsCarryTheirCaptions() {
    Window window;
    QVERIFY(window.load());
    // name, caption, enabled, visible
    const QList<std::tuple<const char*, const char*, bool, bool>> entries = {
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
        {"mnuservidor", "&Servidor del Salón...", true, true}};
    for (const auto& [name, caption, enabled, visible] : entries) {
        auto* action = window.find<QAction>(QString::fromUtf8(name));
        QVERIFY2(action, name);
        QCOMPARE(action->text(), QString::fromUtf8(caption));
        QCOMPARE(action->isVisible(), visible);
        if (visible) {  // a hidden action always reports itself disabled
            QVERIFY2(action->isEnabled() == enabled, name);
        }
        QVERIFY(action->shortcut().isEmpty());
    }
    QVERIFY(!window.find<QAction>(QStringLiteral("separador4"))->isVisible());
    QVERIFY(window.find<QAction>(QStringLiteral("separador4"))->isSeparator());

    const QList<std::tuple<const char*, const char*, bool>> menus = {
        {"mnuprincipal", "&Principal", true},
        {"mnucanviocolor", "&Canvio de Color", false},  // never shown
        {"mnuefectos", "&Imagen", true},
        {"mnubase", "&Base de Datos", true}};
    for (const auto& [name, title, shown] : menus) {
        auto* menu = window.find<QMenu>(QString::fromUtf8(name));
        QCOMPARE(menu->title(), QString::fromUtf8(title));
        QCOMPARE(menu->menuAction()->isVisible(), shown);
    }

    // The toolbar's places; no tooltip: a separator or a gap with no face.
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
    for (int index = 1; index <= 15; ++index) {
        auto* button = window.find<QAction>(QStringLiteral("barra_%1").arg(index));
        QVERIFY(button);
        QCOMPARE(button->isSeparator(), index == 4 || index == 7 || index == 12);
        if (!tooltips[index - 1].isEmpty()) {
            QCOMPARE(button->toolTip(), tooltips[index - 1]);
            QVERIFY(!button->icon().isNull());
        }
    }
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

void PrincipalCommandsTest::gapsRunNothing_data() {
    QTest::addColumn<int>("index");  // the place on the bar the click reports
    QTest::newRow("separator 4") << 4;
    QTest::newRow("separator 7") << 7;
    QTest::newRow("Ampliar Zona Cabello gap 9") << 9;
    QTest::newRow("separator 12") << 12;
    QTest::newRow("end gap 15") << 15;
    QTest::newRow("before the bar 0") << 0;
    QTest::newRow("after the bar 16") << 16;
}

void PrincipalCommandsTest::gapsRunNothing() {
    QFETCH(int, index);
    Window window;
    QVERIFY(window.load());
    const QImage before = window.shown().copy();
    const QStringList statesBefore = actionStates(window);
    const int pointerBefore = window.fprincipal()->pointer();
    const QStringList filesBefore = filesIn(window);
    window.principal->barra_ButtonClick(index);
    QVERIFY(window.dialogs.asked.empty());
    COMPARE_IMAGES(window.shown(), before);
    // No window opened and no command changed a state.
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
    QVERIFY(entry->isCheckable());
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
    // The blended picture is what a slot holds.
    window.find<QAction>(QStringLiteral("mnuguardar"))->trigger();
    const PictureLoad saved = loadPicture(window.folder.path(QStringLiteral("\\foto1.bmp")));
    QVERIFY(saved.ok());
    COMPARE_IMAGES(saved.picture, blended);

    // Unchecking brings today's pixels back exactly.
    entry->trigger();
    QVERIFY(!entry->isChecked());
    QVERIFY(!PrincipalProbe::overlay(*window.principal).difuminar);
    COMPARE_IMAGES(window.shown(), exact);
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalCommandsTest::clickingAThumbnailAppliesItsSample() {
    Window window;
    QVERIFY(window.load());
    // An empty thumbnail is ignored.
    window.find<ImageControl>(QStringLiteral("Muestrapelos_4"))->clearPicture();
    clickThumbnail(window, 4);
    QVERIFY(!PrincipalProbe::overlay(*window.principal).pelocargado);
    QVERIFY(!differsFromBasePhoto(window));
    QVERIFY(!window.find<QAction>(QStringLiteral("mnuguardar"))->isEnabled());

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
    // The nape view, then "volver" brings the front view back.
    QTest::mouseClick(nuca, Qt::LeftButton);
    QCOMPARE(reference->picture(), PrincipalProbe::viewStores(*window.principal).fotonuca);
    QTest::mouseClick(volver, Qt::LeftButton);
    QCOMPARE(reference->picture(), front);
    QVERIFY(volver->isHidden());
    QVERIFY(!nuca->isChecked());

    clickThumbnail(window, 1);  // sample 2: no views; "Nuca" only disabled, still red
    QVERIFY(!nuca->isEnabled());
    QVERIFY(isRed(nuca));
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
    auto* foto = window.find<QRadioButton>(QStringLiteral("opfoto"));
    auto* pelo = window.find<QRadioButton>(QStringLiteral("oppelo"));
    QTest::mouseClick(pelo, Qt::LeftButton);
    QVERIFY(pelo->isChecked());
    QVERIFY(isRed(pelo) && !isRed(foto));  // the drag target is marked in red
    PictureBox* picture = window.fprincipal();
    const QPoint origin = picture->contentsRect().topLeft();
    QTest::mousePress(picture, button, {}, origin + QPoint(10, 20));
    QTest::mouseMove(picture, origin + QPoint(30, 40));
    QTest::mouseRelease(picture, button, {}, origin + QPoint(90, 90));
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QCOMPARE(state.posxpelo, 30);  // the last move decides, not the release
    QCOMPARE(state.posypelo, 40);
    QCOMPARE(state.posxfoto, 0);
    QTest::mouseClick(foto, Qt::LeftButton);
    QVERIFY(isRed(foto) && !isRed(pelo));
}

void PrincipalCommandsTest::pictureButtonsTakeOnlyTheLeftButton_data() {
    QTest::addColumn<QString>("control");
    QTest::addColumn<Qt::MouseButton>("button");
    for (const char* control : {"Muestrapelos_3", "btnpelos_0", "btngirar_0", "btngirar_1"}) {
        QTest::addRow("%s, right button", control) << QString::fromUtf8(control) << Qt::RightButton;
        QTest::addRow("%s, middle button", control)
            << QString::fromUtf8(control) << Qt::MiddleButton;
    }
}

// Each picture button is pressed with another button first (nothing may happen), then with the
// left one (its command runs), so the test sees the control answer at all.
void PrincipalCommandsTest::pictureButtonsTakeOnlyTheLeftButton() {
    QFETCH(QString, control);
    QFETCH(Qt::MouseButton, button);
    const bool paging = control.startsWith(QLatin1String("btnpelos"));
    Window window(paging ? test::TestProgramFolder::SamplesWithCatalogue
                         : test::TestProgramFolder::Samples);
    QVERIFY(window.load());
    Principal& principal = *window.principal;
    std::function<bool()> ran;
    if (control.startsWith(QLatin1String("Muestrapelos"))) {
        ran = [&] { return PrincipalProbe::overlay(principal).pelocargado; };
    } else if (paging) {
        QVERIFY(loadBlondPage(window));
        thumbnail(window, 0)->clearPicture();  // the first page command fills it again
        ran = [&] { return thumbnail(window, 0)->hasPicture(); };
    } else {
        principal.Muestrapelos_Click(1);
        window.find<QLineEdit>(QStringLiteral("txtgirar"))->setText(QStringLiteral("90"));
        ran = [&] { return PrincipalProbe::geometry(principal).rotation().angulototal != 0.0; };
    }
    auto* picture = window.find<ImageControl>(control);
    QTest::mouseClick(picture, button);
    QVERIFY(!ran());
    QTest::mouseClick(picture, Qt::LeftButton);
    QVERIFY(ran());
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalCommandsTest::damagedSampleHairIsNamedAtTheClick() {
    Window window;
    window.folder.writeBytes(QStringLiteral("\\pelo4.jpg"), "\xff\xd8\xff\xe0 dañado");
    QVERIFY(window.load());
    QVERIFY(!thumbnail(window, 3)->hasPicture());
    QTest::mouseClick(thumbnail(window, 3), Qt::LeftButton);
    QCOMPARE(window.dialogs.messages().size(), 1);
    const QString message = window.dialogs.messages().first();
    QVERIFY2(message.contains(
                 QDir::toNativeSeparators(window.folder.path(QStringLiteral("\\pelo4.jpg")))),
             qPrintable(message));
    QVERIFY(message.contains(QStringLiteral("dañado")));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Critical);
    QVERIFY(!PrincipalProbe::overlay(*window.principal).pelocargado);  // nothing applied
    COMPARE_IMAGES(window.shown(), window.basePhoto());
}

void PrincipalCommandsTest::catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair_data() {
    QTest::addColumn<QByteArray>("thumbnailBytes");  // empty: no thumbnail file
    QTest::newRow("damaged thumbnail") << QByteArray("\xff\xd8\xff\xe0 roto");
    QTest::newRow("empty thumbnail file") << QByteArray("");
    QTest::newRow("no thumbnail file") << QByteArray();
}

void PrincipalCommandsTest::catalogueStyleWithAnUnreadableThumbnailShowsAndAppliesItsHair() {
    QFETCH(QByteArray, thumbnailBytes);
    Window window(test::TestProgramFolder::SamplesWithCatalogue);
    const QString thumbnailFile = QStringLiteral("\\fotos\\visualizacion\\largo\\lm02.jpg");
    if (thumbnailBytes.isNull()) {
        QVERIFY(QFile::remove(window.folder.path(thumbnailFile)));
    } else {
        window.folder.writeBytes(thumbnailFile, thumbnailBytes);
    }
    QVERIFY(window.load());
    QVERIFY(loadBlondPage(window));
    const QString hair = QStringLiteral("\\fotos\\largo\\lm02.jpg");
    COMPARE_IMAGES(thumbnail(window, 1)->picture(), loadPicture(window.folder.path(hair)).picture);

    QTest::mouseClick(thumbnail(window, 1), Qt::LeftButton);
    QVERIFY(PrincipalProbe::overlay(*window.principal).pelocargado);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheropelo, hair);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).ficheromascara,
             QStringLiteral("\\fotos\\largo\\lm02m.jpg"));
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    QVERIFY(test::firstDifference(window.shown(), window.basePhoto()) != QString());
}

QTEST_MAIN(PrincipalCommandsTest)
#include "tst_principal_commands.moc"
