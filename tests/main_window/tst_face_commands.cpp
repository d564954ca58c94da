#include <QtTest>

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>

#include <cmath>

#include "face/face_fit.h"
#include "face/model_eyes.h"
#include "geometry/rotation.h"
#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "portrait.h"
#include "principal_window.h"
#include "program/client_files.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;
using Window = crinova::test::PrincipalWindow;
namespace samples = crinova::samples;

namespace {

EyePair drawnEyes(const QTransform& frame) {
    const auto [left, right] = samples::pupilCentres(frame);
    return {left, right};
}

double distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// Where a point of the hair picture (drawn for the main picture's 300 x 320) shows on the screen
// with the overlay's size and position.
QPointF hairToScreen(const QPointF& point, const OverlayState& state) {
    return {state.posxpelo + point.x() * (300 + state.anchopelo) / 300.0,
            state.posypelo + point.y() * (320 + state.altopelo) / 320.0};
}

// A main window with sample 2 applied over the photo of an active client, "Ana".
struct FaceWindow : Window {
    bool start(const QImage& photo) {
        if (!load()) {
            return false;
        }
        principal->Muestrapelos_Click(1);
        folder.writePicture(QStringLiteral("\\clientes\\ana.bmp"), photo);
        const ClientRecord ana{QStringLiteral("0042"), QStringLiteral("Ana Ruiz"),
                               QStringLiteral("\\clientes\\ana.bmp")};
        return database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
                                {ana.codigo, ana.nombre, ana.fprograma}) &&
               PrincipalProbe::clients(*principal).activateClient(ana);
    }
    QAction* entry(const char* name) const { return find<QAction>(QString::fromUtf8(name)); }
    // The instruction shown beside the pointer; null when none shows.
    QString instruction() const {
        auto* label = picture()->findChild<QLabel*>(QStringLiteral("indicacionclic"));
        return label && label->isVisibleTo(picture()) ? label->text() : QString();
    }
    PictureBox* picture() const { return fprincipal(); }
    // A press and its release on the main picture at picture pixel `at`.
    void clickPicture(QPoint at) const {
        const QPoint widget = at + picture()->contentsRect().topLeft();
        QTest::mousePress(picture(), Qt::LeftButton, {}, widget);
        QTest::mouseRelease(picture(), Qt::LeftButton, {}, widget);
    }
    // The composition of the window's files with `state`, on buffers of the test's own.
    QImage composedWith(OverlayState state) {
        PictureCache pictures;
        test::ScriptedDialogs quiet;
        BlendCache blend;
        CompositionServices services{folder.folder(), pictures, database, quiet, &blend};
        PictureBuffers buffers;
        buffers.fprincipal.Resize(300, 320);
        buffers.sizeLikeVisible();
        crinova::DibujarPelo(state, buffers, services);
        return buffers.fprincipal.image().copy();
    }
};

// The mean difference of two pictures' channels, 0 to 255.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const Colour p = colourAt(a, x, y);
            const Colour q = colourAt(b, x, y);
            for (int shift : {0, 8, 16}) {
                sum += std::abs(int((p >> shift) & 0xff) - int((q >> shift) & 0xff));
            }
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

QImage clientPortrait(const QTransform& frame, QSize size = QSize(300, 320)) {
    return samples::drawPortrait(samples::modelLook(), std::nullopt, size, frame);
}

}  // namespace

class FaceCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void entriesFollowTheSaveEntry();
    void automaticFitPutsTheModelsEyesOnTheClients();
    void tiltedHeadIsLevelledByOneRotationStep();
    void noFaceThenTwoClicksFitWithoutDragging();
    void refusedClicksLeaveTheModeOn_data();
    void refusedClicksLeaveTheModeOn();
    void tiltedClicksTurnThePhotoFirst();
    void modelWithoutEyesUsesTheGeneratorsTable();
    void escapeOrAnotherCommandLeavesTheMode();
    void newClientsLargePhotoIsPrepared();
    void declinedPreparationStoresNothing();
};

void FaceCommandsTest::entriesFollowTheSaveEntry() {
    Window window;
    QVERIFY(window.load());
    auto* menu = window.find<QMenu>(QStringLiteral("mnuefectos"));
    QStringList names;
    for (QAction* action : menu->actions()) {
        names << action->objectName();
    }
    const qsizetype blur = names.indexOf(QStringLiteral("mnudifuminar"));
    QCOMPARE(names.mid(blur, 3),
             (QStringList{"mnudifuminar", "mnuajustarcara", "mnuajustarclics"}));
    QAction* cara = window.find<QAction>(QStringLiteral("mnuajustarcara"));
    QAction* clics = window.find<QAction>(QStringLiteral("mnuajustarclics"));
    QCOMPARE(cara->text(), QStringLiteral("A&justar Cabello a la Cara"));
    QCOMPARE(clics->text(), QStringLiteral("Ajustar Cabello con &Clics"));
    QVERIFY(!cara->isEnabled());
    QVERIFY(!clics->isEnabled());

    window.principal->Muestrapelos_Click(1);
    QVERIFY(cara->isEnabled());
    QVERIFY(clics->isEnabled());
    // "&Guardar Foto" turns itself off when it finds no hair applied; so do both, and a click
    // mode under way ends.
    clics->trigger();
    QVERIFY(PrincipalProbe::faceCommands(*window.principal)->clickMode());
    PrincipalProbe::overlay(*window.principal).pelocargado = false;
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    QVERIFY(!window.find<QAction>(QStringLiteral("mnuguardar"))->isEnabled());
    QVERIFY(!cara->isEnabled());
    QVERIFY(!clics->isEnabled());
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QCOMPARE(window.fprincipal()->pointer(), int(kPointerMove));
}

void FaceCommandsTest::automaticFitPutsTheModelsEyesOnTheClients() {
    // Ana sits further right and lower than the model, and larger by a fifth.
    const QTransform frame = samples::placedFrame(QPointF(170, 175), 1.2);
    FaceWindow window;
    QVERIFY(window.start(clientPortrait(frame)));
    const EyePair client = drawnEyes(frame);
    window.entry("mnuajustarcara")->trigger();
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);

    // The model's eyes, drawn with the fitted hair, land on Ana's within the search's own
    // accuracy (each eye within 3 pixels of where the generator drew it).
    const EyePair model = drawnEyes(samples::fittedFrame(QSize(300, 320)));  // the base photo's
    QVERIFY2(distance(hairToScreen(model.left, state), client.left) <= 3.0,
             qPrintable(QStringLiteral("%1 %2 %3 %4")
                            .arg(state.anchopelo)
                            .arg(state.altopelo)
                            .arg(state.posxpelo)
                            .arg(state.posypelo)));
    QVERIFY(distance(hairToScreen(model.right, state), client.right) <= 3.0);
    // One scale for both sides: 300 s and 320 s from the same s, each rounded.
    const double s = (300 + state.anchopelo) / 300.0;
    QVERIFY(std::abs(320 * s - (320 + state.altopelo)) <= 0.5 + 320 / 300.0 * 0.5);
    QVERIFY(std::abs(s - 1.2) < 0.08);
    // Level eyes: no turn.
    QVERIFY(!PrincipalProbe::geometry(*window.principal).rotation().girado);
    QCOMPARE(state.angulo, 0.0);

    COMPARE_IMAGES(window.shown(), window.composedWith(state));
    QCOMPARE(window.mousePointer(), int(kPointerDefault));

    // The photo shown enlarged far past the screen: the found eyes lie thousands of pixels apart
    // and the hair would leave the 16-bit range. The fit is refused and nothing changes.
    PrincipalProbe::overlay(*window.principal).anchofoto = 32000;
    PrincipalProbe::overlay(*window.principal).altofoto = 32000;
    const OverlayState fitted = state;
    window.entry("mnuajustarcara")->trigger();
    QCOMPARE(window.dialogs.messages(), QStringList{fitRefusalMessage(FitRefusal::OutOfRange)});
    QCOMPARE(window.dialogs.asked.front().title, QStringLiteral("Ajustar Cabello a la Cara"));
    QCOMPARE(state.anchopelo, fitted.anchopelo);
    QCOMPARE(state.altopelo, fitted.altopelo);
    QCOMPARE(state.posxpelo, fitted.posxpelo);
    QCOMPARE(state.posypelo, fitted.posypelo);
    QVERIFY(!PrincipalProbe::geometry(*window.principal).rotation().girado);
}

void FaceCommandsTest::tiltedHeadIsLevelledByOneRotationStep() {
    // The head turned 8 degrees clockwise: levelled by 8 degrees counter-clockwise, index 0, even
    // with the drag target on the hair.
    const QTransform frame = samples::placedFrame(QPointF(150, 160), 1.0, 8.0);
    FaceWindow window;
    QVERIFY(window.start(clientPortrait(frame)));
    QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("oppelo")), Qt::LeftButton);
    window.entry("mnuajustarcara")->trigger();
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    const RotationState& rotation = PrincipalProbe::geometry(*window.principal).rotation();
    QVERIFY(rotation.girado);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).angulo, 1.0);
    // The found line may be off by a degree from the drawn one; the direction may not.
    const double turned = rotation.angulototal;
    QVERIFY2(std::abs(turned - stepAngle(8)) <= stepAngle(1) + 1e-9,
             qPrintable(QString::number(turned)));
    QVERIFY(window.find<QPushButton>(QStringLiteral("btnrestauragirar"))->isEnabled());
    // The hair is fitted to the turned photo: its size follows the unchanged eye distance.
    const double s = (300 + PrincipalProbe::overlay(*window.principal).anchopelo) / 300.0;
    QVERIFY(std::abs(s - 1.0) < 0.08);

    // "&Restaurar" undoes the levelling turn.
    QTest::mouseClick(window.find<QPushButton>(QStringLiteral("btnrestauragirar")), Qt::LeftButton);
    QVERIFY(!rotation.girado);
    QVERIFY(rotation.angulototal == 0.0);
}

void FaceCommandsTest::noFaceThenTwoClicksFitWithoutDragging() {
    FaceWindow window;
    QVERIFY(window.start(solidPicture(300, 320, 0x00808080)));
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    const std::int16_t photoX = state.posxfoto;
    const std::int16_t photoY = state.posyfoto;
    const std::int16_t width = state.anchopelo;
    // No face found: the message, and the click mode takes over.
    window.entry("mnuajustarcara")->trigger();
    QCOMPARE(window.dialogs.messages(),
             QStringList{"No se han encontrado los ojos en la foto. Haga clic en el centro del ojo "
                         "izquierdo y después en el del derecho."});
    QCOMPARE(window.dialogs.asked.front().title, QStringLiteral("Ajustar Cabello a la Cara"));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Information);
    QCOMPARE(state.anchopelo, width);
    QCOMPARE(window.mousePointer(), int(kPointerDefault));
    window.dialogs.asked.clear();
    QVERIFY(PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QCOMPARE(window.picture()->pointer(), int(kPointerCross));
    // What to click next is said beside the pointer, on the picture.
    QCOMPARE(window.instruction(), QStringLiteral("Haga clic en el centro del ojo izquierdo"));

    // The right eye clicked first: the eyes are named by their side on the screen.
    window.clickPicture(QPoint(200, 150));
    QVERIFY(PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QCOMPARE(window.instruction(), QStringLiteral("Haga clic en el centro del ojo derecho"));
    window.clickPicture(QPoint(110, 150));
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QCOMPARE(window.picture()->pointer(), int(kPointerMove));
    QVERIFY(window.instruction().isNull());
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    // Neither press dragged the photo to where it was made.
    QCOMPARE(state.posxfoto, photoX);
    QCOMPARE(state.posyfoto, photoY);

    // The model's eyes, found on the base photo, put on the two points.
    const EyeSearch model = findEyes(window.basePhoto());
    QVERIFY(model.eyes);
    const FitResult expected =
        fitHair(*model.eyes, EyePair{QPointF(110, 150), QPointF(200, 150)}, QSize(300, 320));
    QVERIFY(expected.fit);
    QCOMPARE(state.anchopelo, expected.fit->anchopelo);
    QCOMPARE(state.altopelo, expected.fit->altopelo);
    QCOMPARE(state.posxpelo, expected.fit->posxpelo);
    QCOMPARE(state.posypelo, expected.fit->posypelo);
    QVERIFY(!PrincipalProbe::geometry(*window.principal).rotation().girado);
    COMPARE_IMAGES(window.shown(), window.composedWith(state));

    // Out of the mode a press drags again: the photo's corner goes to the pointer.
    QTest::mousePress(window.picture(), Qt::LeftButton, {},
                      QPoint(40, 50) + window.picture()->contentsRect().topLeft());
    QTest::mouseMove(window.picture(), QPoint(40, 50) + window.picture()->contentsRect().topLeft());
    QTest::mouseRelease(window.picture(), Qt::LeftButton, {},
                        QPoint(40, 50) + window.picture()->contentsRect().topLeft());
    QCOMPARE(state.posxfoto, std::int16_t(40));
    QCOMPARE(state.posyfoto, std::int16_t(50));
}

void FaceCommandsTest::refusedClicksLeaveTheModeOn_data() {
    QTest::addColumn<QPoint>("second");  // the first click is at (100, 150)
    QTest::addColumn<QString>("message");
    QTest::newRow("4.24 pixels away") << QPoint(103, 153)
                                      << QStringLiteral(
                                             "Los dos clics están demasiado juntos. Haga clic en "
                                             "el centro del ojo izquierdo y después en el del "
                                             "derecho.");
    const QString steep = QStringLiteral(
        "La línea entre los dos clics está girada más de 30 grados: no son los dos ojos. Haga "
        "clic en el centro del ojo izquierdo y después en el del derecho.");
    // The top of the head, then the chin.
    QTest::newRow("turned 90 degrees") << QPoint(100, 260) << steep;
    QTest::newRow("turned atan(58 / 100) = 30.1 degrees") << QPoint(200, 208) << steep;
    QTest::newRow("turned the other way") << QPoint(0, 208) << steep;
}

void FaceCommandsTest::refusedClicksLeaveTheModeOn() {
    QFETCH(QPoint, second);
    QFETCH(QString, message);
    FaceWindow window;
    QVERIFY(window.start(solidPicture(300, 320, 0x00808080)));
    const OverlayState before = PrincipalProbe::overlay(*window.principal);
    window.entry("mnuajustarclics")->trigger();
    window.clickPicture(QPoint(100, 150));
    window.clickPicture(second);
    QCOMPARE(window.dialogs.messages(), QStringList{message});
    QVERIFY(PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QVERIFY(!PrincipalProbe::geometry(*window.principal).rotation().girado);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).anchopelo, before.anchopelo);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).posxpelo, before.posxpelo);
    // The mode starts again from the first eye.
    QCOMPARE(window.instruction(), QStringLiteral("Haga clic en el centro del ojo izquierdo"));
    window.clickPicture(QPoint(100, 150));
    window.clickPicture(QPoint(105, 150));  // 5 pixels: allowed
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QVERIFY(PrincipalProbe::overlay(*window.principal).anchopelo < 0);
}

void FaceCommandsTest::tiltedClicksTurnThePhotoFirst() {
    FaceWindow window;
    QVERIFY(window.start(solidPicture(300, 320, 0x00808080)));
    window.entry("mnuajustarclics")->trigger();
    // The line from (100, 150) to (200, 165) is turned atan(15 / 100) = 8.53 degrees clockwise:
    // 9 degrees counter-clockwise level it.
    window.clickPicture(QPoint(100, 150));
    window.clickPicture(QPoint(200, 165));
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    const RotationState& rotation = PrincipalProbe::geometry(*window.principal).rotation();
    QVERIFY(rotation.girado);
    QVERIFY(rotation.angulototal == stepAngle(9));
    // The clicked points turn with the photo about its centre (150, 160), then the fit.
    const QPointF centre(150, 160);
    const EyePair turned{turnedPoint(QPointF(100, 150), centre, stepAngle(9)),
                         turnedPoint(QPointF(200, 165), centre, stepAngle(9))};
    const EyeSearch model = findEyes(window.basePhoto());
    QVERIFY(model.eyes);
    const FitResult expected = fitHair(*model.eyes, turned, QSize(300, 320));
    QVERIFY(expected.fit);
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QCOMPARE(state.anchopelo, expected.fit->anchopelo);
    QCOMPARE(state.altopelo, expected.fit->altopelo);
    QCOMPARE(state.posxpelo, expected.fit->posxpelo);
    QCOMPARE(state.posypelo, expected.fit->posypelo);
}

void FaceCommandsTest::modelWithoutEyesUsesTheGeneratorsTable() {
    // A salon's own model photo where no eyes can be found, and no row for it in the table.
    Window window;
    window.folder.writePicture(kBasePhoto, solidPicture(300, 320, 0x00c0c0c0), "jpg");
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    window.find<QAction>(QStringLiteral("mnuajustarclics"))->trigger();
    QCOMPARE(window.dialogs.messages(), QStringList{modelEyesMissingMessage(kBasePhoto)});
    QVERIFY(window.dialogs.messages().front().contains(QStringLiteral("\\vexasinmo.jpg")));
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());

    // Once the table knows where the eyes of this very file are, the clicks fit to them.
    const EyePair model{QPointF(120, 140), QPointF(180, 140)};
    QVERIFY(storeModelEyes(window.database, kBasePhoto,
                           QFileInfo(window.folder.path(kBasePhoto)).size(), model));
    window.dialogs.asked.clear();
    window.find<QAction>(QStringLiteral("mnuajustarclics"))->trigger();
    QVERIFY(PrincipalProbe::faceCommands(*window.principal)->clickMode());
    auto* picture = window.fprincipal();
    for (const QPoint at : {QPoint(100, 150), QPoint(190, 150)}) {
        QTest::mouseClick(picture, Qt::LeftButton, {}, at + picture->contentsRect().topLeft());
    }
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    // s = 90 / 60 = 1.5: 450 - 300, 480 - 320; 145 - 150 * 1.5, 150 - 140 * 1.5.
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QCOMPARE(state.anchopelo, std::int16_t(150));
    QCOMPARE(state.altopelo, std::int16_t(160));
    QCOMPARE(state.posxpelo, std::int16_t(-80));
    QCOMPARE(state.posypelo, std::int16_t(-60));
}

void FaceCommandsTest::escapeOrAnotherCommandLeavesTheMode() {
    FaceWindow window;
    QVERIFY(window.start(solidPicture(300, 320, 0x00808080)));
    window.principal->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.principal.get()));
    const OverlayState before = PrincipalProbe::overlay(*window.principal);
    const QImage shown = window.shown().copy();

    window.entry("mnuajustarclics")->trigger();
    window.clickPicture(QPoint(100, 150));
    QTest::keyClick(window.principal.get(), Qt::Key_Escape);
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QCOMPARE(window.picture()->pointer(), int(kPointerMove));
    // A press after it is an ordinary press again (a drag), never the second eye.
    window.clickPicture(QPoint(200, 150));
    QCOMPARE(PrincipalProbe::overlay(*window.principal).anchopelo, before.anchopelo);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).posxpelo, before.posxpelo);

    // Escape wherever the keyboard is in the window: on the picture itself too.
    window.entry("mnuajustarclics")->trigger();
    QTest::keyClick(window.picture(), Qt::Key_Escape);
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());

    // Another command leaves it too: a menu entry, or a press on another control.
    window.entry("mnuajustarclics")->trigger();
    QVERIFY(PrincipalProbe::faceCommands(*window.principal)->clickMode());
    window.entry("mnurestaurar")->trigger();
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QCOMPARE(window.picture()->pointer(), int(kPointerMove));
    window.entry("mnuajustarclics")->trigger();
    window.clickPicture(QPoint(100, 150));
    QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("oppelo")), Qt::LeftButton);
    QVERIFY(!PrincipalProbe::faceCommands(*window.principal)->clickMode());
    QCOMPARE(PrincipalProbe::overlay(*window.principal).anchopelo, before.anchopelo);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).altopelo, before.altopelo);
    QVERIFY(window.dialogs.asked.empty());
}

namespace {

// Registers "Eva" through "&Nuevo Cliente" with the photo at `photo`, answering the question on
// the prepared photo with `answer`.
QPointer<Nomcliente> newClient(Window& window, const QString& photo, MessageAnswer answer) {
    PrincipalProbe::clients(*window.principal).mnunuevocliente_Click();
    QPointer<Nomcliente> dialog = PrincipalProbe::clients(*window.principal).nomcliente();
    dialog->findChild<QLineEdit*>(QStringLiteral("txtnombrecliente"))->setText("Eva Gil");
    dialog->findChild<QLineEdit*>(QStringLiteral("txtcodigo"))->setText("77");
    window.dialogs.textAnswers.push_back(photo);
    window.dialogs.messageAnswers.push_back(answer);
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnaceptar")),
                      Qt::LeftButton);
    return dialog;
}

QString storedPhoto(Window& window, const QString& codigo) {
    RecordSet rows = window.database.OpenRecordset(
        QStringLiteral("Select Fprograma From cliente where codigocliente=?"), {codigo});
    return rows.RecordCount() == 0 ? QString() : rows.Fields(QStringLiteral("Fprograma"));
}

}  // namespace

void FaceCommandsTest::newClientsLargePhotoIsPrepared() {
    // A camera's 4000 x 3000 photo with the face off-centre, drawn at a quarter and enlarged (a
    // full-size drawing would take gigabytes of hair layers).
    const QImage quarter =
        clientPortrait(samples::placedFrame(QPointF(700, 300), 1.5), QSize(1000, 750));
    Window window;
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    window.folder.writePicture(QStringLiteral("\\clientes\\camara.jpg"), quarter.scaled(4000, 3000),
                               "jpg");
    QFile original(window.folder.path(QStringLiteral("\\clientes\\camara.jpg")));
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray bytes = original.readAll();
    original.close();

    // While the question is asked the dialog shows the prepared photo whole, and the question
    // is to stand clear of it.
    QImage shownInDialog;
    QRect photoOnScreen;
    window.dialogs.onMessage = [&](const test::ScriptedDialogs::Asked&) {
        Nomcliente* asking = PrincipalProbe::clients(*window.principal).nomcliente();
        ImageControl* preview = asking->fotopreparada();
        if (preview->isVisible() && asking->rect().contains(preview->geometry())) {
            shownInDialog = preview->picture();
            photoOnScreen = QRect(preview->mapToGlobal(QPoint(0, 0)), preview->size());
        }
    };
    const QPointer<Nomcliente> dialog = newClient(
        window, window.folder.path(QStringLiteral("\\clientes\\camara.jpg")), MessageAnswer::Yes);
    QCOMPARE(window.dialogs.asked.size(), std::size_t(2));  // the file chooser, the question
    QCOMPARE(window.dialogs.asked[1].buttons, MessageButtons::YesNo);
    QCOMPARE(window.dialogs.asked[1].title, QStringLiteral("Nuevo Cliente"));
    QCOMPARE(window.dialogs.keptVisible, std::vector<QRect>{photoOnScreen});
    QCOMPARE(photoOnScreen.size(), QSize(300, 320));
    QVERIFY(window.dialogs.asked[1].text.startsWith(QStringLiteral("La foto se ha preparado")));

    QCOMPARE(storedPhoto(window, QStringLiteral("77")), QStringLiteral("\\clientes\\77.jpg"));
    const PictureLoad prepared =
        loadPicture(window.folder.path(QStringLiteral("\\clientes\\77.jpg")));
    QVERIFY(prepared.ok());
    QCOMPARE(prepared.picture.size(), QSize(300, 320));
    QCOMPARE(preparedFaceFound(window.folder.path(QStringLiteral("\\clientes\\77.jpg"))), true);
    QCOMPARE(shownInDialog.size(), QSize(300, 320));
    // The file is a JPEG of what was shown: alike up to its compression.
    QVERIFY(meanDifference(shownInDialog, prepared.picture) < 2.0);
    // The chosen file is as it was.
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), bytes);
    // Eva is the active client, over her prepared photo.
    QVERIFY(PrincipalProbe::clients(*window.principal).activeClient());
    QCOMPARE(PrincipalProbe::clients(*window.principal).activeClient()->codigo,
             QStringLiteral("77"));
    QVERIFY(dialog.isNull() || dialog->isHidden());
}

void FaceCommandsTest::declinedPreparationStoresNothing() {
    Window window;
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    window.folder.writePicture(QStringLiteral("\\clientes\\pared.bmp"),
                               solidPicture(640, 480, 0x00405060));
    const QPointer<Nomcliente> dialog = newClient(
        window, window.folder.path(QStringLiteral("\\clientes\\pared.bmp")), MessageAnswer::No);
    QVERIFY(window.dialogs.asked[1].text.startsWith(QStringLiteral("No se ha encontrado la cara")));
    QVERIFY(storedPhoto(window, "77").isEmpty());
    QVERIFY(!window.folder.exists(QStringLiteral("\\clientes\\77.jpg")));
    QVERIFY(!PrincipalProbe::clients(*window.principal).activeClient());
    // The dialog stays for another photo; the declined one is no longer shown.
    QVERIFY(dialog && dialog->isVisible());
    QVERIFY(!dialog->fotopreparada()->isVisible());

    // A photo of the main picture's size is taken as it is, without a question.
    window.folder.writePicture(QStringLiteral("\\clientes\\justa.bmp"),
                               solidPicture(300, 320, 0x00405060));
    window.dialogs.asked.clear();
    window.dialogs.textAnswers.push_back(
        window.folder.path(QStringLiteral("\\clientes\\justa.bmp")));
    QTest::mouseClick(dialog->findChild<QPushButton*>(QStringLiteral("btnaceptar")),
                      Qt::LeftButton);
    QCOMPARE(window.dialogs.asked.size(), std::size_t(1));
    QCOMPARE(storedPhoto(window, "77"), QStringLiteral("\\clientes\\justa.bmp"));
}

QTEST_MAIN(FaceCommandsTest)
#include "tst_face_commands.moc"
