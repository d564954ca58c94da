#include <QtTest>

#include <cmath>

#include "face/face_fit.h"
#include "geometry/rotation.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::EyePair)
Q_DECLARE_METATYPE(crinova::FitRefusal)

class TestFaceFit : public QObject {
    Q_OBJECT

  private slots:
    void fitWorkedByHand_data();
    void fitWorkedByHand();
    void refusals_data();
    void refusals();
    void levellingStep_data();
    void levellingStep();
    void levellingStepLevelsTheEyes();
    void turnedPointFollowsTheRotation();
    void photoAndScreen();
};

void TestFaceFit::fitWorkedByHand_data() {
    QTest::addColumn<EyePair>("model");
    QTest::addColumn<EyePair>("client");
    QTest::addColumn<int>("anchopelo");
    QTest::addColumn<int>("altopelo");
    QTest::addColumn<int>("posxpelo");
    QTest::addColumn<int>("posypelo");
    // s = 90 / 60 = 1.5: 450 - 300, 480 - 320; 145 - 150 * 1.5, 150 - 140 * 1.5.
    QTest::newRow("half as large again")
        << EyePair{{120, 140}, {180, 140}} << EyePair{{100, 150}, {190, 150}} << 150 << 160 << -80
        << -60;
    // s = 1: the hair stays as drawn, shifted by the midpoints' difference (145 - 150, 150 - 140).
    QTest::newRow("same size, moved")
        << EyePair{{120, 140}, {180, 140}} << EyePair{{115, 150}, {175, 150}} << 0 << 0 << -5 << 10;
    // s = 30 / 60: 150 - 300, 160 - 320; 150 - 150 * 0.5, 140 - 140 * 0.5.
    QTest::newRow("half the size") << EyePair{{120, 140}, {180, 140}}
                                   << EyePair{{135, 140}, {165, 140}} << -150 << -160 << 75 << 70;
    // s = 601 / 600: 300 * s = 300.5 goes to the even 300, 320 * s = 320.53 to 321; the
    // position uses the drawn scale: 150 - 150 * 300 / 300 = 0 and 10 - 0 * 321 / 320 = 10.
    QTest::newRow("half to even") << EyePair{{-150, 0}, {450, 0}}
                                  << EyePair{{-150.5, 10}, {450.5, 10}} << 0 << 1 << 0 << 10;
    // A tilted pair scales by its true distance: (0,0)-(36,48) is 60 long, s = 1.
    QTest::newRow("tilted pair, its length")
        << EyePair{{120, 140}, {180, 140}} << EyePair{{100, 100}, {136, 148}} << 0 << 0 << -32
        << -16;
    // The height binds the 16-bit range: 320 * 32767 / 320 = 32767 is still allowed; the
    // width 300 * 32767 / 320 = 30719.06 gives 30719; x = 0 - 160 * 30719 / 300 = -16383.47.
    QTest::newRow("largest allowed")
        << EyePair{{0, 0}, {320, 0}} << EyePair{{-16383.5, 0}, {16383.5, 0}} << 30419 << 32447
        << -16383 << 0;
    // The smallest allowed: 300 * 8 / 300 = 8 wide, 320 * 8 / 300 = 8.53 gives 9 high; the
    // midpoint (150, 0) drawn at 8 / 300 is (4, 0), on the client's (4, 0).
    QTest::newRow("smallest allowed")
        << EyePair{{0, 0}, {300, 0}} << EyePair{{0, 0}, {8, 0}} << -292 << -311 << 0 << 0;
}

void TestFaceFit::fitWorkedByHand() {
    QFETCH(EyePair, model);
    QFETCH(EyePair, client);
    const FitResult result = fitHair(model, client, QSize(300, 320));
    QCOMPARE(result.refusal, FitRefusal::None);
    QVERIFY(result.fit.has_value());
    QTEST(int(result.fit->anchopelo), "anchopelo");
    QTEST(int(result.fit->altopelo), "altopelo");
    QTEST(int(result.fit->posxpelo), "posxpelo");
    QTEST(int(result.fit->posypelo), "posypelo");
}

void TestFaceFit::refusals_data() {
    QTest::addColumn<EyePair>("model");
    QTest::addColumn<EyePair>("client");
    QTest::addColumn<FitRefusal>("refusal");
    const EyePair model{{120, 140}, {180, 140}};
    QTest::newRow("client's eyes one point")
        << model << EyePair{{50, 50}, {50, 50}} << FitRefusal::SameEyes;
    QTest::newRow("model's eyes one point")
        << EyePair{{150, 140}, {150, 140}} << model << FitRefusal::SameEyes;
    // 320 * 32768 / 320 = 32768: one past the 16-bit range.
    QTest::newRow("height past 16 bits")
        << EyePair{{0, 0}, {320, 0}} << EyePair{{-16384, 0}, {16384, 0}} << FitRefusal::OutOfRange;
    QTest::newRow("far too far apart")
        << model << EyePair{{0, 0}, {60000, 0}} << FitRefusal::OutOfRange;
    // s = 1, x = -32700 - 150 = -32850: the position leaves the range.
    QTest::newRow("position past 16 bits")
        << model << EyePair{{-32730, 140}, {-32670, 140}} << FitRefusal::OutOfRange;
    // 300 * 7.4 / 300 = 7.4 gives 7 pixels: smaller than 8.
    QTest::newRow("smaller than 8 pixels")
        << EyePair{{0, 0}, {300, 0}} << EyePair{{0, 0}, {7.4, 0}} << FitRefusal::TooSmall;
    QTest::newRow("one pixel apart")
        << model << EyePair{{100, 100}, {101, 100}} << FitRefusal::TooSmall;
}

void TestFaceFit::refusals() {
    QFETCH(EyePair, model);
    QFETCH(EyePair, client);
    QFETCH(FitRefusal, refusal);
    const FitResult result = fitHair(model, client, QSize(300, 320));
    QCOMPARE(result.refusal, refusal);
    QVERIFY(!result.fit.has_value());
    QVERIFY(!fitRefusalMessage(refusal).isEmpty());
}

void TestFaceFit::levellingStep_data() {
    QTest::addColumn<EyePair>("eyes");
    QTest::addColumn<bool>("turns");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("degrees");
    // atan(10 / 100) = 5.71 degrees, right eye lower: turned clockwise, so counter-clockwise (0).
    QTest::newRow("right eye lower") << EyePair{{100, 100}, {200, 110}} << true << 0 << 6;
    QTest::newRow("left eye lower") << EyePair{{100, 110}, {200, 100}} << true << 1 << 6;
    // atan(2.793 / 100) = 1.6 degrees: levelled by 2.
    QTest::newRow("just past the threshold")
        << EyePair{{100, 100}, {200, 102.793}} << true << 0 << 2;
    // atan(2 / 100) = 1.15 degrees: left as it is.
    QTest::newRow("nearly level") << EyePair{{100, 100}, {200, 102}} << false << 0 << 0;
    QTest::newRow("level") << EyePair{{100, 100}, {200, 100}} << false << 0 << 0;
    // atan(100 / 100) = 45 degrees.
    QTest::newRow("steep") << EyePair{{100, 100}, {200, 0}} << true << 1 << 45;
}

void TestFaceFit::levellingStep() {
    QFETCH(EyePair, eyes);
    QFETCH(bool, turns);
    const std::optional<TiltStep> step = crinova::levellingStep(eyes);
    QCOMPARE(step.has_value(), turns);
    if (turns) {
        QTEST(step->index, "index");
        QTEST(step->degrees, "degrees");
    }
}

void TestFaceFit::levellingStepLevelsTheEyes() {
    // The step, applied as a rotation step applies it, leaves the eye line within a degree's
    // rounding of level (0.3 degrees here: 5.71 was rounded to 6).
    for (const EyePair& eyes : {EyePair{{100, 100}, {200, 110}}, EyePair{{90, 170}, {210, 150}}}) {
        const std::optional<TiltStep> step = crinova::levellingStep(eyes);
        QVERIFY(step.has_value());
        const double angle = (step->index == 0 ? 1 : -1) * stepAngle(step->degrees);
        const QPointF centre(150, 160);
        const EyePair turned{turnedPoint(eyes.left, centre, angle),
                             turnedPoint(eyes.right, centre, angle)};
        QVERIFY2(std::abs(eyeLineTilt(turned)) < 0.5,
                 qPrintable(QString::number(eyeLineTilt(turned))));
    }
}

void TestFaceFit::turnedPointFollowsTheRotation() {
    // A quarter turn counter-clockwise: the point just below the centre goes just right of it.
    const QPointF below = turnedPoint(QPointF(150, 161), QPointF(150, 160), stepAngle(90));
    QVERIFY(std::abs(below.x() - 151) < 1e-6 && std::abs(below.y() - 160) < 1e-6);
    // Clockwise: just left.
    const QPointF left = turnedPoint(QPointF(150, 161), QPointF(150, 160), -stepAngle(90));
    QVERIFY(std::abs(left.x() - 149) < 1e-6 && std::abs(left.y() - 160) < 1e-6);
}

void TestFaceFit::photoAndScreen() {
    OverlayState state;
    state.posxfoto = 10;
    state.posyfoto = -20;
    state.anchofoto = 300;  // twice as wide
    state.altofoto = -160;  // half as high
    const QSize photo(300, 320);
    // (100, 50) -> (10 + 200, -20 + 25).
    QCOMPARE(photoToScreen(QPointF(100, 50), photo, state), QPointF(210, 5));
    QCOMPARE(screenToPhoto(QPointF(210, 5), photo, state), QPointF(100, 50));
    // A mirrored photo (a negative drawn width) swaps the eyes' sides on the screen.
    state.posxfoto = 300;
    state.anchofoto = -600;
    const EyePair screen = photoToScreen(EyePair{{100, 50}, {200, 50}}, photo, state);
    QCOMPARE(screen.left, QPointF(100, 5));
    QCOMPARE(screen.right, QPointF(200, 5));
}

QTEST_GUILESS_MAIN(TestFaceFit)
#include "tst_face_fit.moc"
