#include <QtTest>

#include "composition_bench.h"
#include "image_compare.h"
#include "overlay/mouse_placement.h"
#include "program/program_database.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::numberedPicture;
using crinova::test::solidPicture;

namespace {

constexpr Colour kHair = 0x000000FF;

// 40 x 30 pictures: a numbered photo and a 4 x 4 square of red hair at the top-left corner.
struct Placement : test::CompositionBench {
    DragState drag;
    QImage photo = numberedPicture(40, 30);

    Placement() : CompositionBench(40, 30) {
        QImage mask = solidPicture(40, 30, kWhite);
        QImage hair = solidPicture(40, 30, kBlack);
        for (int y = 0; y < 4; ++y) {
            for (int x = 0; x < 4; ++x) {
                mask.setPixel(x, y, toPixel(kBlack));
                hair.setPixel(x, y, toPixel(kHair));
            }
        }
        write(kBasePhoto, photo);
        write(kDefaultMask, mask);
        write(kDefaultHair, hair);
    }
    void press(DragTarget target, double x, double y) {
        beginDrag(target, x, y, state, drag, buffers, services);
    }
    void move(double x, double y) { dragTo(x, y, state, drag, buffers); }
    void release() { endDrag(state, drag, buffers, services); }
    Colour photoAt(int x, int y) const { return colourAt(photo, x, y); }
};

}  // namespace

class MousePlacementTest : public QObject {
    Q_OBJECT
  private slots:
    void nothingHappensBeforeASampleIsApplied();
    void clickWithoutMovingPlacesTheHairCorner();
    void clickOnThePhotoReloadsOnlyWhileUnrotated();
    void photoDragOfAnActiveClientShowsTheClientsPhoto();
    void previewIsAGhostWithoutMaskAndLeavesTheStrip();
    void movesReadNoFile();
    void positionsRoundHalfToEvenAndStayInSixteenBits_data();
    void positionsRoundHalfToEvenAndStayInSixteenBits();
    void unreadableHairAtThePressStartsNoDrag();
};

void MousePlacementTest::nothingHappensBeforeASampleIsApplied() {
    Placement bench;
    bench.state.pelocargado = false;
    bench.buffers.fprincipal.SetPicture(bench.photo);
    bench.press(DragTarget::Pelo, 10, 10);
    bench.move(20, 20);
    bench.release();
    QVERIFY(!bench.drag.moviendopelo);
    QCOMPARE(bench.state.posxpelo, 0);
    COMPARE_IMAGES(bench.buffers.fprincipal.image(), bench.photo);
    QVERIFY(bench.dialogs.asked.empty());
}

void MousePlacementTest::clickWithoutMovingPlacesTheHairCorner() {
    Placement bench;
    bench.press(DragTarget::Pelo, 10, 12);
    QVERIFY(bench.drag.moviendopelo);
    bench.release();
    QVERIFY(!bench.drag.moviendopelo);
    QCOMPARE(bench.state.posxpelo, 10);
    QCOMPARE(bench.state.posypelo, 12);
    QCOMPARE(bench.shown(10, 12), kHair);  // the hair's top-left corner
    QCOMPARE(bench.shown(13, 15), kHair);
    QCOMPARE(bench.shown(14, 12), bench.photoAt(14, 12));
    QCOMPARE(bench.shown(0, 0), bench.photoAt(0, 0));  // the old place shows the photo again
}

void MousePlacementTest::clickOnThePhotoReloadsOnlyWhileUnrotated() {
    Placement bench;
    bench.buffers.ftrabajo.SetPicture(solidPicture(40, 30, 0x00555555));
    bench.press(DragTarget::Foto, 5, 0);
    QVERIFY(bench.drag.moviendofoto);
    COMPARE_IMAGES(bench.buffers.ftrabajo.image(), bench.photo);
    bench.release();
    QCOMPARE(bench.state.posxfoto, 5);
    QCOMPARE(bench.shown(5, 10), bench.photoAt(0, 10));

    bench.state.angulo = 30;
    bench.buffers.ftrabajo.SetPicture(solidPicture(40, 30, 0x00555555));  // the rotated photo
    bench.press(DragTarget::Foto, 0, 0);
    bench.release();
    QCOMPARE(bench.shown(20, 20), Colour(0x00555555));
}

void MousePlacementTest::photoDragOfAnActiveClientShowsTheClientsPhoto() {
    Placement bench;
    QVERIFY(openProgramDatabase(bench.database, bench.folder.folder(), nullptr));
    constexpr Colour kClient = 0x00224466;
    bench.write(QStringLiteral("\\clientes\\ana.bmp"), solidPicture(40, 30, kClient));
    QVERIFY(bench.database.Execute(
        QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
        {QStringLiteral("07"), QStringLiteral("Ana"), QStringLiteral("\\clientes\\ana.bmp")}));
    bench.state.usarfotocliente = true;
    bench.state.clienteactivo = true;
    bench.state.codigocliente = QStringLiteral("07");
    bench.state.nombrecliente = QStringLiteral("Ana");

    bench.press(DragTarget::Foto, 0, 0);
    QVERIFY(bench.drag.moviendofoto);
    COMPARE_IMAGES(bench.buffers.ftrabajo.image(), solidPicture(40, 30, kClient));
    bench.move(5, 0);
    // The preview moves the client's photo, not the base photo of the model.
    QCOMPARE(bench.shown(20, 20), kClient);
    QCOMPARE(bench.shown(39, 29), kClient);
    bench.release();
    QCOMPARE(bench.shown(20, 20), kClient);
    QVERIFY2(bench.dialogs.asked.empty(), qPrintable(bench.dialogs.messages().join('\n')));
}

void MousePlacementTest::previewIsAGhostWithoutMaskAndLeavesTheStrip() {
    Placement bench;
    DibujarPelo(bench.state, bench.buffers, bench.services);
    const QImage before = bench.buffers.fprincipal.image().copy();

    bench.press(DragTarget::Foto, 0, 0);
    bench.move(30, 0);
    // Left strip: what was on screen before; photo moved by 30; hair by exclusive-or, no mask.
    QCOMPARE(bench.shown(10, 10), colourAt(before, 10, 10));
    QCOMPARE(bench.shown(35, 10), bench.photoAt(5, 10));
    QCOMPARE(bench.shown(1, 1), colourAt(before, 1, 1) ^ kHair);
    bench.move(31, 0);
    QCOMPARE(bench.shown(30, 10), bench.photoAt(0, 10));  // the old column stays, uncleared
    QCOMPARE(bench.shown(31, 10), bench.photoAt(0, 10));

    bench.release();
    // The composition: the strip is the buffer's background, the hair cut in with its mask.
    QCOMPARE(bench.shown(10, 10), kWindowBackground);
    QCOMPARE(bench.shown(1, 1), kHair);
    QCOMPARE(bench.shown(35, 10), bench.photoAt(4, 10));
}

void MousePlacementTest::movesReadNoFile() {
    Placement bench;
    bench.press(DragTarget::Pelo, 0, 0);
    for (const QString& name : {kBasePhoto, kDefaultHair, kDefaultMask}) {
        QVERIFY(QFile::remove(bench.folder.path(name)));
    }
    bench.move(20, 20);
    bench.move(21, 22);
    QVERIFY(bench.dialogs.asked.empty());
    QCOMPARE(bench.shown(21, 22), colourAt(bench.buffers.ftrabajo.image(), 21, 22) ^ kHair);
}

void MousePlacementTest::positionsRoundHalfToEvenAndStayInSixteenBits_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to 2") << 2.5 << 2;
    QTest::newRow("3.5 to 4") << 3.5 << 4;
    QTest::newRow("-2.5 to -2") << -2.5 << -2;
    QTest::newRow("2.6 to 3") << 2.6 << 3;
    QTest::newRow("far left stops at -32768") << -70000.0 << -32768;
    QTest::newRow("32767.5 stops at 32767") << 32767.5 << 32767;
    QTest::newRow("far right stops at 32767") << 100000.0 << 32767;
}

void MousePlacementTest::positionsRoundHalfToEvenAndStayInSixteenBits() {
    QFETCH(double, x);
    QFETCH(int, expected);
    Placement bench;
    bench.press(DragTarget::Pelo, 0, 0);
    bench.move(x, 1.5);
    QCOMPARE(int(bench.state.posxpelo), expected);
    QCOMPARE(int(bench.state.posypelo), 2);
    bench.release();
    QVERIFY(bench.dialogs.asked.empty());
}

void MousePlacementTest::unreadableHairAtThePressStartsNoDrag() {
    Placement bench;
    QFile::remove(bench.folder.path(kDefaultHair));
    bench.press(DragTarget::Pelo, 5, 5);
    QVERIFY(!bench.drag.moviendopelo);
    QCOMPARE(bench.dialogs.messages().size(), 1);
    QVERIFY(bench.dialogs.messages().first().contains(bench.folder.path(kDefaultHair)));
}

QTEST_GUILESS_MAIN(MousePlacementTest)
#include "tst_mouse_placement.moc"
