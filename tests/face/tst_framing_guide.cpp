#include <QtTest>

#include "astronaut_frames.h"
#include "face/framing_guide.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::FramingHint)

namespace {

enum class Scene { Portrait, Dark, Bright, Nobody, Fringe };

// The sample model's eyes on the 300 x 320 main picture.
const EyeTarget kTarget{QSize(300, 320), EyePair{QPointF(124, 146), QPointF(176, 146)}};

}  // namespace

class TestFramingGuide : public QObject {
    Q_OBJECT
  private slots:
    void guideGeometry_data();
    void guideGeometry();
    void judgingTheAstronaut_data();
    void judgingTheAstronaut();
};

void TestFramingGuide::guideGeometry_data() {
    QTest::addColumn<QSize>("live");
    QTest::addColumn<bool>("modelKnown");
    QTest::addColumn<QRectF>("area");
    QTest::addColumn<QPointF>("left");
    QTest::addColumn<double>("d");
    // 640 x 480: k = 0.8 * min(640 / 300, 480 / 320) = 1.2; the frame 360 x 384 centred.
    QTest::newRow("landscape, model's eyes")
        << QSize(640, 480) << true << QRectF(140, 48, 360, 384) << QPointF(288.8, 223.2) << 62.4;
    // 480 x 640: k = 0.8 * min(1.6, 2) = 1.28; 384 x 409.6.
    QTest::newRow("portrait camera") << QSize(480, 640) << true << QRectF(48, 115.2, 384, 409.6)
                                     << QPointF(206.72, 302.08) << 66.56;
    // Unknown eyes: 0.1733 * 300 = 52 apart about the centre, 0.45625 * 320 = 146 down.
    QTest::newRow("model's eyes unknown")
        << QSize(640, 480) << false << QRectF(140, 48, 360, 384) << QPointF(288.8, 223.2) << 62.4;
}

void TestFramingGuide::guideGeometry() {
    QFETCH(QSize, live);
    QFETCH(bool, modelKnown);
    QFETCH(QRectF, area);
    QFETCH(QPointF, left);
    QFETCH(double, d);
    const FramingGuide guide =
        framingGuide(live, modelKnown ? kTarget : EyeTarget{QSize(300, 320), std::nullopt});
    QCOMPARE(guide.area, area);
    QVERIFY(std::abs(guide.marks.left.x() - left.x()) < 1e-9);
    QVERIFY(std::abs(guide.marks.left.y() - left.y()) < 1e-9);
    QVERIFY(std::abs(guide.marks.right.x() - (left.x() + d)) < 1e-9);
    QCOMPARE(guide.tolerance, 0.15 * d);
    QCOMPARE(guide.oval.center().x(), left.x() + d / 2);
    QVERIFY(std::abs(guide.oval.center().y() - (left.y() - 0.07 * d)) < 1e-9);
    QCOMPARE(guide.oval.size(), QSizeF(2.6 * d, 3.4 * d));
}

void TestFramingGuide::judgingTheAstronaut_data() {
    QTest::addColumn<double>("scale");  // her eyes' distance over the marks'
    QTest::addColumn<double>("shift");  // her eyes' midpoint right of the marks', in eye distances
    QTest::addColumn<int>("scene");
    QTest::addColumn<bool>("onMarks");
    QTest::addColumn<FramingHint>("hint");
    const int portrait = int(Scene::Portrait);
    QTest::newRow("eyes on the marks") << 1.0 << 0.0 << portrait << true << FramingHint::Ready;
    QTest::newRow("within the tolerance") << 1.0 << 0.07 << portrait << true << FramingHint::Ready;
    QTest::newRow("moved aside") << 1.0 << 0.35 << portrait << false << FramingHint::OntoMarks;
    QTest::newRow("too far") << 0.65 << 0.0 << portrait << false << FramingHint::ComeCloser;
    QTest::newRow("too near") << 1.5 << 0.0 << portrait << false << FramingHint::MoveBack;
    QTest::newRow("fringe") << 1.0 << 0.0 << int(Scene::Fringe) << true << FramingHint::HairBack;
    QTest::newRow("nobody") << 1.0 << 0.0 << int(Scene::Nobody) << false
                            << FramingHint::LookAtCamera;
    // The light is told first, even when the face is also out of place.
    QTest::newRow("dark") << 1.0 << 0.35 << int(Scene::Dark) << false << FramingHint::Dark;
    QTest::newRow("burnt") << 1.0 << 0.35 << int(Scene::Bright) << false
                           << FramingHint::Overexposed;
}

void TestFramingGuide::judgingTheAstronaut() {
    QFETCH(double, scale);
    QFETCH(double, shift);
    QFETCH(int, scene);
    QFETCH(bool, onMarks);
    QFETCH(FramingHint, hint);
    QImage portrait = test::astronaut();
    if (portrait.isNull()) {
        QSKIP("python3-skimage could not be downloaded");
    }
    portrait = portrait.convertToFormat(QImage::Format_RGB32);
    if (Scene(scene) == Scene::Fringe) {
        // Her own fringe combed down to the brows: the rows above her bare forehead, 11 lower.
        QPainter(&portrait).drawImage(QPoint(180, 61), portrait.copy(QRect(180, 50, 90, 27)));
    }
    const QSize live(640, 480);
    const FramingGuide guide = framingGuide(live, kTarget);
    const double d = guide.marks.right.x() - guide.marks.left.x();
    const QPointF mid = (guide.marks.left + guide.marks.right) / 2.0 + QPointF(shift * d, 0);
    QImage frame = Scene(scene) == Scene::Nobody
                       ? test::astronautFrame(portrait, live, {-900, 0}, d)
                       : test::astronautFrame(portrait, live, mid, scale * d);
    for (int y = 0; y < frame.height() && scene != int(Scene::Portrait); ++y) {
        auto* row = reinterpret_cast<QRgb*>(frame.scanLine(y));
        for (int x = 0; x < frame.width(); ++x) {
            auto level = [&](int v) {
                return Scene(scene) == Scene::Dark     ? v / 8
                       : Scene(scene) == Scene::Bright ? std::min(255, v + 170)
                                                       : v;
            };
            row[x] = qRgb(level(qRed(row[x])), level(qGreen(row[x])), level(qBlue(row[x])));
        }
    }
    const FrameReading reading = readFrame(frame);
    const FramingVerdict verdict = judgeFraming(reading, guide);
    const QString found = reading.eyes ? QStringLiteral("eyes (%1, %2) (%3, %4)")
                                             .arg(reading.eyes->left.x())
                                             .arg(reading.eyes->left.y())
                                             .arg(reading.eyes->right.x())
                                             .arg(reading.eyes->right.y())
                                       : QStringLiteral("no eyes");
    QVERIFY2(verdict.onMarks == onMarks, qPrintable(found));
    QCOMPARE(verdict.hint, hint);
}

QTEST_GUILESS_MAIN(TestFramingGuide)
#include "tst_framing_guide.moc"
