#include <QtTest>

#include <cmath>

#include "composition_bench.h"
#include "geometry/rotation.h"
#include "image_compare.h"
#include "platform/rounding.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::numberedPicture;
using crinova::test::solidPicture;

namespace {

constexpr Colour kMarker = 0x00ABCDEF;

// The rotation exactly as defined, one platform call per pixel: the reference for the fast one.
void rotatePixelByPixel(const Surface& origen, Surface& destino, double giro) {
    const int cx = roundHalfEven(origen.ScaleWidth()) / 2;
    const int cy = roundHalfEven(origen.ScaleHeight()) / 2;
    const int R = std::max(cx, cy) - 1;
    for (int a = 0; a <= R; ++a) {
        for (int b = 0; b <= R; ++b) {
            float theta;
            if (a != 0) {
                theta = static_cast<float>(std::atan(static_cast<double>(b) / a));
            } else {
                theta = static_cast<float>(3.14159265359 / 2);
            }
            const std::int32_t sum = a * a + b * b;
            const std::int32_t r = roundHalfEven(std::sqrt(static_cast<double>(sum)));
            const std::int16_t u = roundHalfEven16(r * std::cos(theta + giro));
            const std::int16_t v = roundHalfEven16(r * std::sin(theta + giro));
            const Colour c1 = GetPixel(origen, cx + u, cy + v);
            const Colour c2 = GetPixel(origen, cx - u, cy - v);
            const Colour c3 = GetPixel(origen, cx + v, cy - u);
            const Colour c4 = GetPixel(origen, cx - v, cy + u);
            if (c1 != kClrInvalid) {
                SetPixelV(destino, cx + a, cy + b, c1);
            }
            if (c2 != kClrInvalid) {
                SetPixelV(destino, cx - a, cy - b, c2);
            }
            if (c3 != kClrInvalid) {
                SetPixelV(destino, cx + b, cy - a, c3);
            }
            if (c4 != kClrInvalid) {
                SetPixelV(destino, cx - b, cy + a, c4);
            }
        }
    }
}

Surface numberedSurface(int width, int height) {
    Surface surface(width, height);
    surface.SetPicture(numberedPicture(width, height));
    return surface;
}

// A rotation bench over a square 9 x 9 photo file with an invisible hair.
struct Rotation : test::CompositionBench {
    RotationState rotation;
    explicit Rotation(int width = 9, int height = 9) : CompositionBench(width, height) {
        write(kBasePhoto, numberedPicture(width, height));
        write(kDefaultMask, solidPicture(width, height, kWhite));
        write(kDefaultHair, solidPicture(width, height, kBlack));
    }
    bool step(int index, int degrees) {
        return rotateStep(index, degrees, state, rotation, buffers, services);
    }
};

}  // namespace

class RotationTest : public QObject {
    Q_OBJECT
  private slots:
    void roundingGoesHalfToEven_data();
    void roundingGoesHalfToEven();
    void stepAngleDividesBy180First_data();
    void stepAngleDividesBy180First();
    void quarterTurnMovesThePixelBelowTheCentre_data();
    void quarterTurnMovesThePixelBelowTheCentre();
    void fastRotationMatchesTheDefinition_data();
    void fastRotationMatchesTheDefinition();
    void portraitRowZeroIsNeverWritten();
    void progressStaysOnTheBar();
    void stepsAddUpToExactlyZero();
    void nothingToRotate();
    void restoreReloadsTheUnrotatedPhotoAndKeepsOffsets();
};

void RotationTest::roundingGoesHalfToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("2.5 to 2") << 2.5 << 2;
    QTest::newRow("3.5 to 4") << 3.5 << 4;
    QTest::newRow("-2.5 to -2") << -2.5 << -2;
    QTest::newRow("0.5 to 0") << 0.5 << 0;
    QTest::newRow("-0.5 to 0") << -0.5 << 0;
    QTest::newRow("1.5 to 2") << 1.5 << 2;
    QTest::newRow("2.4999 to 2") << 2.4999 << 2;
    QTest::newRow("2.5001 to 3") << 2.5001 << 3;
}

void RotationTest::roundingGoesHalfToEven() {
    QFETCH(double, value);
    QFETCH(int, expected);
    QCOMPARE(roundHalfEven(value), expected);
    QCOMPARE(int(roundHalfEven16(value)), expected);
}

void RotationTest::stepAngleDividesBy180First_data() {
    QTest::addColumn<int>("degrees");
    QTest::newRow("90") << 90;
    QTest::newRow("7") << 7;
    // For these two, multiplying first or dividing pi by 180 first gives another double.
    QTest::newRow("19") << 19;
    QTest::newRow("33") << 33;
}

void RotationTest::stepAngleDividesBy180First() {
    QFETCH(int, degrees);
    const double expected = 3.14159265359 / (180.0 / degrees);
    QVERIFY2(stepAngle(degrees) == expected,
             qPrintable(QString::number(stepAngle(degrees), 'g', 17)));
    QVERIFY(stepAngle(-degrees) == 3.14159265359 / (180.0 / -degrees));
}

void RotationTest::quarterTurnMovesThePixelBelowTheCentre_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QPoint>("landing");
    // On a 9 x 9 photo the centre is (4, 4); the pixel below it is (4, 5).
    QTest::newRow("index 0 turns counter-clockwise: to the right") << 0 << QPoint(5, 4);
    QTest::newRow("index 1 turns clockwise: to the left") << 1 << QPoint(3, 4);
}

void RotationTest::quarterTurnMovesThePixelBelowTheCentre() {
    QFETCH(int, index);
    QFETCH(QPoint, landing);
    Rotation bench;
    QImage photo = solidPicture(9, 9, kWhite);
    photo.setPixel(4, 5, toPixel(kRed));
    bench.write(kBasePhoto, photo);
    QVERIFY(bench.step(index, 90));
    QCOMPARE(bench.shown(landing.x(), landing.y()), kRed);
    QCOMPARE(bench.shown(4, 5), kWhite);
    QCOMPARE(bench.state.angulo, 1.0);
    QVERIFY(bench.rotation.girado);
}

void RotationTest::fastRotationMatchesTheDefinition_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<double>("angle");
    for (const QSize size :
         {QSize(1, 1), QSize(2, 3), QSize(9, 9), QSize(31, 17), QSize(40, 64), QSize(120, 128)}) {
        for (const double angle : {0.0, 0.3, -1.2, 3.14159265359 / 2, 3.5, 100.0}) {
            QTest::addRow("%dx%d at %g", size.width(), size.height(), angle) << size << angle;
        }
    }
}

void RotationTest::fastRotationMatchesTheDefinition() {
    QFETCH(QSize, size);
    QFETCH(double, angle);
    const Surface origen = numberedSurface(size.width(), size.height());
    Surface fast(size.width(), size.height(), kMarker);
    Surface reference(size.width(), size.height(), kMarker);
    double giro = angle;
    RotarImagen(origen, fast, giro);
    rotatePixelByPixel(origen, reference, angle);
    COMPARE_IMAGES(fast.image(), reference.image());
    QVERIFY(giro == angle);
}

void RotationTest::portraitRowZeroIsNeverWritten() {
    const Surface origen = numberedSurface(300, 400);
    Surface destino(300, 400, kMarker);
    double giro = 0;
    RotarImagen(origen, destino, giro);
    for (int x = 0; x < 300; ++x) {
        QCOMPARE(GetPixel(destino, x, 0), kMarker);
    }
    // With no turn every pixel of rows 1 to 399 is written with itself.
    QCOMPARE(GetPixel(destino, 0, 1), GetPixel(origen, 0, 1));
    QCOMPARE(GetPixel(destino, 299, 399), GetPixel(origen, 299, 399));
    QCOMPARE(GetPixel(destino, 150, 200), GetPixel(origen, 150, 200));
}

void RotationTest::progressStaysOnTheBar() {
    QStringList statuses;
    QList<int> values;
    const RotationProgress observer{[&](const QString& text) { statuses << text; },
                                    [&](int value) { values << value; }};
    const Surface wide = numberedSurface(500, 100);  // a * 150 / 99 passes 100
    Surface destino(500, 100);
    double giro = 0.5;
    RotarImagen(wide, destino, giro, observer);
    QCOMPARE(statuses, (QStringList{"ROTANDO IMAGEN", "CRINOVA ACTIVO"}));
    QCOMPARE(values.size(), 250 + 1);  // once per a (R = 249), then back to 0
    QCOMPARE(values.last(), 0);
    QCOMPARE(values[33], 50);  // 33 * 150 / 99
    QCOMPARE(*std::max_element(values.begin(), values.end()), 100);
    QVERIFY(*std::min_element(values.begin(), values.end()) >= 0);
}

void RotationTest::stepsAddUpToExactlyZero() {
    Rotation bench;
    QVERIFY(bench.step(0, 45));
    QVERIFY(bench.step(0, 45));
    QVERIFY(bench.rotation.angulototal == stepAngle(45) + stepAngle(45));
    QVERIFY(bench.rotation.angulototal == stepAngle(90));
    QVERIFY(bench.step(1, 90));
    QVERIFY2(bench.rotation.angulototal == 0.0,
             qPrintable(QString::number(bench.rotation.angulototal, 'g', 17)));
    QCOMPARE(bench.state.angulo, 1.0);
    QVERIFY(bench.rotation.girado);
    // Re-sampled at angle 0 from the file: the photo as it was inside the rotated square
    // (centre 4, R 3: columns and rows 1 to 7); outside it the cleared target's background.
    const QImage photo = numberedPicture(9, 9);
    COMPARE_IMAGES(bench.buffers.ftrabajo.image().copy(1, 1, 7, 7), photo.copy(1, 1, 7, 7));
    QCOMPARE(GetPixel(bench.buffers.ftrabajo, 0, 0), kWindowBackground);
    QCOMPARE(GetPixel(bench.buffers.ftrabajo, 8, 4), kWindowBackground);
}

void RotationTest::nothingToRotate() {
    Rotation bench;
    QVERIFY(!bench.step(0, 0));
    bench.state.pelocargado = false;
    QVERIFY(!bench.step(0, 30));
    QVERIFY(bench.rotation.angulototal == 0.0);
    QVERIFY(bench.state.angulo == 0.0);
    QVERIFY(!restoreRotation(bench.state, bench.rotation, bench.buffers, bench.services));
    QVERIFY(bench.dialogs.asked.empty());
}

void RotationTest::restoreReloadsTheUnrotatedPhotoAndKeepsOffsets() {
    Rotation bench(20, 20);
    bench.state.anchofoto = -4;
    bench.state.posxfoto = 2;
    bench.state.posxpelo = 3;
    QVERIFY(bench.step(0, 30));
    QVERIFY(test::firstDifference(bench.buffers.ftrabajo.image(), numberedPicture(20, 20)) !=
            QString());
    QCOMPARE(bench.state.anchofoto, -4);
    QVERIFY(restoreRotation(bench.state, bench.rotation, bench.buffers, bench.services));
    QVERIFY(bench.state.angulo == 0.0);
    QVERIFY(bench.rotation.angulototal == 0.0);
    QVERIFY(!bench.rotation.girado);
    COMPARE_IMAGES(bench.buffers.ftrabajo.image(), numberedPicture(20, 20));
    QCOMPARE(bench.state.anchofoto, -4);
    QCOMPARE(bench.state.posxfoto, 2);
    QCOMPARE(bench.state.posxpelo, 3);
    // The photo drawn 16 wide from x = 2: destination 2 takes source 0.
    QCOMPARE(bench.shown(2, 5), colourAt(numberedPicture(20, 20), 0, 5));
}

QTEST_GUILESS_MAIN(RotationTest)
#include "tst_rotation.moc"
