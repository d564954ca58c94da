#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "principal_window.h"

using namespace crinova;
using Window = crinova::test::PrincipalWindow;

namespace {

void applySample(Window& window, int index) {
    QTest::mouseClick(window.find<ImageControl>(QStringLiteral("Muestrapelos_%1").arg(index)),
                      Qt::LeftButton);
}

void setStep(Window& window, const char* field, const QString& text) {
    window.find<QLineEdit>(QString::fromUtf8(field))->setText(text);
}

void click(Window& window, const QString& name) {
    QTest::mouseClick(window.find<QWidget>(name), Qt::LeftButton);
}

}  // namespace

class PrincipalGeometryTest : public QObject {
    Q_OBJECT
  private slots:
    void stepFieldsStartAndFilterKeys();
    void zoomEnlargesThePhotoAndEmptiesTheBuffers();
    void zoomNeedsADimension();
    void zoomBeforeASampleOnlyChangesOffsets();
    void zoomOutOfRangeIsRefused();
    void menuEntryTogglesCheckAndPointer();
    void rotationRefusedForTheHair();
    void rotationAndRestore();
};

void PrincipalGeometryTest::stepFieldsStartAndFilterKeys() {
    Window window;
    QVERIFY(window.load());
    window.principal->show();
    auto* zoom = window.find<QLineEdit>(QStringLiteral("txtampliar"));
    auto* turn = window.find<QLineEdit>(QStringLiteral("txtgirar"));
    QCOMPARE(zoom->text(), QStringLiteral("0"));
    QCOMPARE(turn->text(), QStringLiteral("0"));
    QCOMPARE(zoom->maxLength(), 3);
    QCOMPARE(turn->maxLength(), 2);

    window.principal->txtampliar_GotFocus();
    QCOMPARE(zoom->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(zoom, QStringLiteral("a1-.2x34"));  // typing replaces the selection
    QCOMPARE(zoom->text(), QStringLiteral("123"));
    QTest::keyClick(zoom, Qt::Key_Backspace);
    QCOMPARE(zoom->text(), QStringLiteral("12"));

    QGuiApplication::clipboard()->setText(QStringLiteral("x9"));
    zoom->selectAll();
    zoom->paste();
    QCOMPARE(zoom->text(), QStringLiteral("12"));  // a paste with anything but digits stays out
    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    zoom->selectAll();
    zoom->paste();
    QCOMPARE(zoom->text(), QStringLiteral("7"));

    turn->clear();
    QTest::keyClicks(turn, QStringLiteral("4+5 6"));
    QCOMPARE(turn->text(), QStringLiteral("45"));
}

void PrincipalGeometryTest::zoomEnlargesThePhotoAndEmptiesTheBuffers() {
    Window window;
    QVERIFY(window.load());
    applySample(window, 1);
    setStep(window, "txtampliar", QStringLiteral("10"));
    click(window, QStringLiteral("btnampliar_0"));
    const OverlayState& state = window.principal->overlay();
    QCOMPARE(state.anchofoto, 10);
    QCOMPARE(state.altofoto, 10);
    QVERIFY(!window.principal->buffers().temporal1.HasPicture());
    QCOMPARE(window.principal->mousePointer(), 0);

    window.find<QCheckBox>(QStringLiteral("ancho"))->setChecked(false);
    QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("oppelo")), Qt::LeftButton);
    setStep(window, "txtampliar", QStringLiteral("5"));
    click(window, QStringLiteral("btnampliar_1"));
    QCOMPARE(state.altopelo, -5);
    QCOMPARE(state.anchopelo, 0);

    // A step of 0 still recomposes.
    window.principal->buffers().fprincipal.RepaintFromStoredPicture();
    setStep(window, "txtampliar", QString());
    click(window, QStringLiteral("btnampliar_0"));
    QVERIFY(!test::firstDifference(window.shown(), window.basePhoto()).isEmpty());
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalGeometryTest::zoomNeedsADimension() {
    Window window;
    QVERIFY(window.load());
    window.find<QCheckBox>(QStringLiteral("ancho"))->setChecked(false);
    window.find<QCheckBox>(QStringLiteral("alto"))->setChecked(false);
    setStep(window, "txtampliar", QStringLiteral("10"));
    click(window, QStringLiteral("btnampliar_0"));
    QCOMPARE(window.dialogs.messages(),
             QStringList{"Para Ampliar o Reducir tiene que Seleccionar Ancho o Alto"});
    QCOMPARE(window.dialogs.asked.front().title, QStringLiteral("Error Faltan Datos"));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Information);
    QCOMPARE(window.principal->overlay().anchofoto, 0);
}

void PrincipalGeometryTest::zoomBeforeASampleOnlyChangesOffsets() {
    Window window;
    QVERIFY(window.load());
    setStep(window, "txtampliar", QStringLiteral("10"));
    click(window, QStringLiteral("btnampliar_0"));
    QCOMPARE(window.principal->overlay().anchofoto, 10);
    COMPARE_IMAGES(window.shown(), window.basePhoto());
}

void PrincipalGeometryTest::zoomOutOfRangeIsRefused() {
    Window window;
    QVERIFY(window.load());
    window.principal->overlay().anchofoto = 32700;
    setStep(window, "txtampliar", QStringLiteral("100"));
    click(window, QStringLiteral("btnampliar_0"));
    QCOMPARE(window.dialogs.messages().size(), 1);
    QCOMPARE(window.principal->overlay().anchofoto, 32700);
    QCOMPARE(window.principal->overlay().altofoto, 0);
    QCOMPARE(window.principal->mousePointer(), 0);
}

void PrincipalGeometryTest::menuEntryTogglesCheckAndPointer() {
    Window window;
    QVERIFY(window.load());
    QAction* entry = window.find<QAction>(QStringLiteral("mnuampliar"));
    QVERIFY(entry->isCheckable());
    QVERIFY(!entry->isChecked());
    window.principal->mnuampliar_Click();
    QVERIFY(entry->isChecked());
    QCOMPARE(window.principal->fprincipal()->pointer(), 2);
    window.principal->mnuampliar_Click();
    QVERIFY(!entry->isChecked());
    QCOMPARE(window.principal->fprincipal()->pointer(), 5);
}

void PrincipalGeometryTest::rotationRefusedForTheHair() {
    Window window;
    QVERIFY(window.load());
    applySample(window, 1);
    QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("oppelo")), Qt::LeftButton);
    setStep(window, "txtgirar", QStringLiteral("30"));
    click(window, QStringLiteral("btngirar_0"));
    QCOMPARE(window.dialogs.messages(),
             QStringList{"Solo se puede Girar la Fotografía del Cliente/a"});
    QCOMPARE(window.dialogs.asked.front().title, QStringLiteral("Error al Intentar Girar el Pelo"));
    QCOMPARE(window.principal->overlay().angulo, 0.0);
}

void PrincipalGeometryTest::rotationAndRestore() {
    Window window;
    QVERIFY(window.load());
    auto* restore = window.find<QPushButton>(QStringLiteral("btnrestauragirar"));
    QVERIFY(!restore->isEnabled());
    setStep(window, "txtgirar", QStringLiteral("30"));
    click(window, QStringLiteral("btngirar_0"));  // no sample yet: nothing
    QCOMPARE(window.principal->rotation().angulototal, 0.0);

    applySample(window, 1);
    setStep(window, "txtgirar", QStringLiteral("0"));
    click(window, QStringLiteral("btngirar_0"));
    QVERIFY(!restore->isEnabled());

    setStep(window, "txtgirar", QStringLiteral("30"));
    click(window, QStringLiteral("btngirar_1"));
    QCOMPARE(window.principal->rotation().angulototal, -stepAngle(30));
    QCOMPARE(window.principal->overlay().angulo, 1.0);
    QVERIFY(restore->isEnabled());
    QCOMPARE(window.find<QLineEdit>(QStringLiteral("infobprogreso"))->text(),
             QStringLiteral("CRINOVA ACTIVO"));
    QCOMPARE(window.find<QProgressBar>(QStringLiteral("bprogreso"))->value(), 0);
    QVERIFY(!test::firstDifference(window.principal->buffers().ftrabajo.image(), window.basePhoto())
                 .isEmpty());

    click(window, QStringLiteral("btnrestauragirar"));
    QVERIFY(!restore->isEnabled());
    QCOMPARE(window.principal->overlay().angulo, 0.0);
    COMPARE_IMAGES(window.principal->buffers().ftrabajo.image(), window.basePhoto());
    QVERIFY(window.dialogs.asked.empty());
}

QTEST_MAIN(PrincipalGeometryTest)
#include "tst_principal_geometry.moc"
