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
#include "platform/pointers.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;
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
    void stepFieldsTakeDigitsOnlyHoweverTheTextArrives_data();
    void stepFieldsTakeDigitsOnlyHoweverTheTextArrives();
    void zoomEnlargesThePhotoAndEmptiesTheBuffers();
    void zoomNeedsADimension();
    void zoomBeforeASampleOnlyChangesOffsets();
    void zoomOutOfRangeIsRefused();
    void menuEntryTogglesCheckAndPointer();
    void rotationRefusedForTheHair();
    void rotationAndRestore_data();
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

    PrincipalProbe::geometry(*window.principal).txtampliar_GotFocus();
    QCOMPARE(zoom->selectedText(), QStringLiteral("0"));
    QTest::keyClicks(zoom, QStringLiteral("a1-.2x34"));  // typing replaces the selection
    QCOMPARE(zoom->text(), QStringLiteral("123"));
    QTest::keyClick(zoom, Qt::Key_Backspace);
    QCOMPARE(zoom->text(), QStringLiteral("12"));

    QGuiApplication::clipboard()->setText(QStringLiteral("7"));
    zoom->selectAll();
    zoom->paste();
    QCOMPARE(zoom->text(), QStringLiteral("7"));

    turn->clear();
    QTest::keyClicks(turn, QStringLiteral("4+5 6"));
    QCOMPARE(turn->text(), QStringLiteral("45"));
}

void PrincipalGeometryTest::stepFieldsTakeDigitsOnlyHoweverTheTextArrives_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    for (const char* field : {"txtampliar", "txtgirar"}) {
        const QString name = QString::fromUtf8(field);
        QTest::addRow("%s: pasted letters", field) << name << "paste"
                                                   << "x9"
                                                   << "9";
        QTest::addRow("%s: pasted letters only", field) << name << "paste"
                                                        << "abc"
                                                        << "";
        QTest::addRow("%s: text set with letters", field) << name << "set"
                                                          << "a4b"
                                                          << "4";
        QTest::addRow("%s: text set with letters only", field) << name << "set"
                                                               << "xy"
                                                               << "";
        QTest::addRow("%s: letters from the input method", field) << name << "input method"
                                                                  << "q5"
                                                                  << "5";
        // A key that is not a digit changes nothing: the selected "0" stays, still selected.
        QTest::addRow("%s: a letter typed over the selection", field) << name << "typed"
                                                                      << "x"
                                                                      << "0";
    }
}

void PrincipalGeometryTest::stepFieldsTakeDigitsOnlyHoweverTheTextArrives() {
    QFETCH(QString, field);
    QFETCH(QString, way);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    Window window;
    QVERIFY(window.load());
    window.principal->show();
    auto* edit = window.find<QLineEdit>(field);
    edit->setFocus();
    edit->selectAll();
    if (way == QLatin1String("paste")) {
        QGuiApplication::clipboard()->setText(text);
        edit->paste();
    } else if (way == QLatin1String("set")) {
        edit->setText(text);
    } else if (way == QLatin1String("typed")) {
        QTest::keyClicks(edit, text);
        QCOMPARE(edit->selectedText(), expected);
    } else {
        QInputMethodEvent event;
        event.setCommitString(text);
        QCoreApplication::sendEvent(edit, &event);
    }
    QCOMPARE(edit->text(), expected);
    // Whatever came before, typed letters stay out and digits still go in.
    edit->end(false);
    QTest::keyClicks(edit, QStringLiteral("a-"));
    QCOMPARE(edit->text(), expected);
    QTest::keyClicks(edit, QStringLiteral("1"));
    QCOMPARE(edit->text(), expected + QStringLiteral("1"));
}

void PrincipalGeometryTest::zoomEnlargesThePhotoAndEmptiesTheBuffers() {
    Window window;
    QVERIFY(window.load());
    applySample(window, 1);
    setStep(window, "txtampliar", QStringLiteral("10"));
    click(window, QStringLiteral("btnampliar_0"));
    const OverlayState& state = PrincipalProbe::overlay(*window.principal);
    QCOMPARE(state.anchofoto, 10);
    QCOMPARE(state.altofoto, 10);
    QCOMPARE(window.mousePointer(), kPointerDefault);

    // The photo drawn 310 x 330 from (0, 0): destination column x takes source column
    // x * 300 / 310 (rounded down), row y source row y * 320 / 330; then the mask (AND) and the
    // hair (XOR) at their natural size.
    const QImage photo = window.basePhoto();
    const QImage mask = loadPicture(window.folder.path(QStringLiteral("\\mpelo2.jpg"))).picture;
    const QImage hair = loadPicture(window.folder.path(QStringLiteral("\\pelo2.jpg"))).picture;
    QImage expected(300, 320, QImage::Format_RGB32);
    for (int y = 0; y < 320; ++y) {
        for (int x = 0; x < 300; ++x) {
            const Colour drawn = colourAt(photo, x * 300 / 310, y * 320 / 330);
            expected.setPixel(x, y, toPixel((drawn & colourAt(mask, x, y)) ^ colourAt(hair, x, y)));
        }
    }
    COMPARE_IMAGES(window.shown(), expected);
    // Both buffers emptied: no picture, nothing drawn, only their background.
    for (const Surface* buffer : {&PrincipalProbe::buffers(*window.principal).temporal1,
                                  &PrincipalProbe::buffers(*window.principal).temporal2}) {
        QVERIFY(!buffer->HasPicture());
        COMPARE_IMAGES(buffer->image(), solidPicture(300, 320, kWindowBackground));
    }

    window.find<QCheckBox>(QStringLiteral("ancho"))->setChecked(false);
    QTest::mouseClick(window.find<QRadioButton>(QStringLiteral("oppelo")), Qt::LeftButton);
    setStep(window, "txtampliar", QStringLiteral("5"));
    click(window, QStringLiteral("btnampliar_1"));
    QCOMPARE(state.altopelo, -5);
    QCOMPARE(state.anchopelo, 0);
    QCOMPARE(state.anchofoto, 10);
    QCOMPARE(state.altofoto, 10);

    // A step of 0 still recomposes.
    PrincipalProbe::buffers(*window.principal).fprincipal.RepaintFromStoredPicture();
    setStep(window, "txtampliar", QString());
    click(window, QStringLiteral("btnampliar_0"));
    QVERIFY(!test::firstDifference(window.shown(), window.basePhoto()).isEmpty());
    QCOMPARE(state.altopelo, -5);
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
    QCOMPARE(PrincipalProbe::overlay(*window.principal).anchofoto, 0);
}

void PrincipalGeometryTest::zoomBeforeASampleOnlyChangesOffsets() {
    Window window;
    QVERIFY(window.load());
    setStep(window, "txtampliar", QStringLiteral("10"));
    click(window, QStringLiteral("btnampliar_0"));
    QCOMPARE(PrincipalProbe::overlay(*window.principal).anchofoto, 10);
    COMPARE_IMAGES(window.shown(), window.basePhoto());
}

void PrincipalGeometryTest::zoomOutOfRangeIsRefused() {
    Window window;
    QVERIFY(window.load());
    PrincipalProbe::overlay(*window.principal).anchofoto = 32700;
    setStep(window, "txtampliar", QStringLiteral("100"));
    click(window, QStringLiteral("btnampliar_0"));
    QCOMPARE(window.dialogs.messages().size(), 1);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).anchofoto, 32700);
    QCOMPARE(PrincipalProbe::overlay(*window.principal).altofoto, 0);
    QCOMPARE(window.mousePointer(), kPointerDefault);
}

void PrincipalGeometryTest::menuEntryTogglesCheckAndPointer() {
    Window window;
    QVERIFY(window.load());
    QAction* entry = window.find<QAction>(QStringLiteral("mnuampliar"));
    QVERIFY(entry->isCheckable());
    QVERIFY(!entry->isChecked());
    PrincipalProbe::geometry(*window.principal).mnuampliar_Click();
    QVERIFY(entry->isChecked());
    QCOMPARE(window.fprincipal()->pointer(), kPointerCross);
    PrincipalProbe::geometry(*window.principal).mnuampliar_Click();
    QVERIFY(!entry->isChecked());
    QCOMPARE(window.fprincipal()->pointer(), kPointerMove);
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
    QCOMPARE(PrincipalProbe::overlay(*window.principal).angulo, 0.0);
}

void PrincipalGeometryTest::rotationAndRestore_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<double>("total");
    QTest::newRow("index 0 turns counter-clockwise") << 0 << stepAngle(90);
    QTest::newRow("index 1 turns clockwise") << 1 << -stepAngle(90);
}

void PrincipalGeometryTest::rotationAndRestore() {
    QFETCH(int, index);
    QFETCH(double, total);
    Window window;
    QVERIFY(window.load());
    auto* restore = window.find<QPushButton>(QStringLiteral("btnrestauragirar"));
    QVERIFY(!restore->isEnabled());
    setStep(window, "txtgirar", QStringLiteral("30"));
    click(window, QStringLiteral("btngirar_0"));  // no sample yet: nothing
    QVERIFY(PrincipalProbe::geometry(*window.principal).rotation().angulototal == 0.0);

    applySample(window, 1);
    setStep(window, "txtgirar", QStringLiteral("0"));
    click(window, QStringLiteral("btngirar_0"));
    QVERIFY(!restore->isEnabled());

    setStep(window, "txtgirar", QStringLiteral("90"));
    click(window, QStringLiteral("btngirar_%1").arg(index));
    QVERIFY(PrincipalProbe::geometry(*window.principal).rotation().angulototal == total);
    QVERIFY(PrincipalProbe::overlay(*window.principal).angulo == 1.0);
    QVERIFY(restore->isEnabled());
    QCOMPARE(window.find<QLineEdit>(QStringLiteral("infobprogreso"))->text(),
             QStringLiteral("CRINOVA ACTIVO"));
    QCOMPARE(window.find<QProgressBar>(QStringLiteral("bprogreso"))->value(), 0);

    // A quarter turn about the centre (150, 160), read on the axes where the polar angle is
    // exact: counter-clockwise the point d below the centre goes d to the right, the point d to
    // the right goes d up; clockwise the other way round.
    const QImage photo = window.basePhoto();
    const QImage turned = PrincipalProbe::buffers(*window.principal).ftrabajo.image();
    const int sign = index == 0 ? 1 : -1;
    int moved = 0;
    for (const int d : {1, 40, 100, 149}) {
        QCOMPARE(colourAt(turned, 150 + sign * d, 160), colourAt(photo, 150, 160 + d));
        QCOMPARE(colourAt(turned, 150 - sign * d, 160), colourAt(photo, 150, 160 - d));
        QCOMPARE(colourAt(turned, 150, 160 - sign * d), colourAt(photo, 150 + d, 160));
        QCOMPARE(colourAt(turned, 150, 160 + sign * d), colourAt(photo, 150 - d, 160));
        moved += colourAt(photo, 150, 160 + d) != colourAt(photo, 150 + sign * d, 160);
    }
    QVERIFY(moved > 0);  // the photo differs there, so the turn shows
    QCOMPARE(colourAt(turned, 150, 160), colourAt(photo, 150, 160));

    click(window, QStringLiteral("btnrestauragirar"));
    QVERIFY(!restore->isEnabled());
    QVERIFY(PrincipalProbe::overlay(*window.principal).angulo == 0.0);
    QVERIFY(PrincipalProbe::geometry(*window.principal).rotation().angulototal == 0.0);
    COMPARE_IMAGES(PrincipalProbe::buffers(*window.principal).ftrabajo.image(), window.basePhoto());
    QVERIFY(window.dialogs.asked.empty());
}

QTEST_MAIN(PrincipalGeometryTest)
#include "tst_principal_geometry.moc"
