#include <QtTest>

#include <cmath>

#include "debian_photo.h"
#include "face/eye_finder.h"
#include "face_geometry.h"
#include "portrait.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::TestProgramFolder;
namespace samples = crinova::samples;

Q_DECLARE_METATYPE(crinova::samples::PersonLook)

namespace {

double distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

QString describe(const EyeSearch& search, const std::pair<QPointF, QPointF>& expected) {
    QString text = QStringLiteral("fault %1, face (%2,%3 %4x%5)")
                       .arg(int(search.fault))
                       .arg(search.face.x())
                       .arg(search.face.y())
                       .arg(search.face.width())
                       .arg(search.face.height());
    if (search.eyes) {
        text += QStringLiteral(", found (%1,%2) (%3,%4)")
                    .arg(search.eyes->left.x())
                    .arg(search.eyes->left.y())
                    .arg(search.eyes->right.x())
                    .arg(search.eyes->right.y());
    }
    return text + QStringLiteral(", drawn (%1,%2) (%3,%4)")
                      .arg(expected.first.x())
                      .arg(expected.first.y())
                      .arg(expected.second.x())
                      .arg(expected.second.y());
}

#define VERIFY_EYES(search, expected, tolerance)                                       \
    do {                                                                               \
        const QString what = describe(search, expected);                               \
        QVERIFY2((search).eyes.has_value(), qPrintable(what));                         \
        QVERIFY2(distance((search).eyes->left, (expected).first) <= (tolerance) &&     \
                     distance((search).eyes->right, (expected).second) <= (tolerance), \
                 qPrintable(what));                                                    \
    } while (false)

samples::PersonLook darkLook() {
    samples::PersonLook look;
    look.skin = QColor(0x8d, 0x5b, 0x3f);
    look.eyes = QColor(0x3b, 0x26, 0x18);
    look.lips = QColor(0x9a, 0x4b, 0x50);
    look.ownHair = QColor(0x1b, 0x14, 0x12);
    look.background = QColor(0xd4, 0xdd, 0xe3);
    return look;
}

samples::PersonLook manLook() {
    samples::PersonLook look;
    look.person = samples::Person::Man;
    look.skin = QColor(0xef, 0xca, 0xae);
    look.eyes = QColor(0x5b, 0x82, 0xaa);
    look.ownHair = QColor(0x6a, 0x4a, 0x30);
    return look;
}

}  // namespace

class TestEyeFinder : public QObject {
    Q_OBJECT

  private slots:
    void cascadesLoadOnce();
    void missingCascadeIsNamed();
    void modelPortraits_data();
    void modelPortraits();
    void sampleClientPhotos_data();
    void sampleClientPhotos();
    void placedPortraits_data();
    void placedPortraits();
    void noFace_data();
    void noFace();
    void realPhotograph();
};

void TestEyeFinder::cascadesLoadOnce() {
    FaceCascades& first = sharedCascades();
    QVERIFY2(first.loaded(), qPrintable(first.missingFile()));
    QCOMPARE(&sharedCascades(), &first);
}

void TestEyeFinder::missingCascadeIsNamed() {
    QTemporaryDir empty;
    FaceCascades cascades;
    QString missing;
    QVERIFY(!cascades.load(empty.path(), &missing));
    QCOMPARE(missing, empty.path() + QStringLiteral("/haarcascade_frontalface_default.xml"));
    QVERIFY(!cascades.loaded());
    const EyeSearch search = findEyes(samples::drawPortrait(samples::PortraitKind::Base), cascades);
    QCOMPARE(search.fault, EyeFault::CascadeMissing);
    QVERIFY(!search.eyes.has_value());

    // Only the eye cascade missing: that one is named.
    QFile::copy(kHaarCascadeFolder + QStringLiteral("/haarcascade_frontalface_default.xml"),
                empty.path() + QStringLiteral("/haarcascade_frontalface_default.xml"));
    QVERIFY(!cascades.load(empty.path(), &missing));
    QCOMPARE(missing, empty.path() + QStringLiteral("/haarcascade_eye.xml"));

    // A file that is no cascade is as good as missing.
    QFile broken(empty.path() + QStringLiteral("/haarcascade_eye.xml"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("<opencv_storage></opencv_storage>\n");
    broken.close();
    QVERIFY(!cascades.load(empty.path(), &missing));
    QCOMPARE(missing, empty.path() + QStringLiteral("/haarcascade_eye.xml"));
}

void TestEyeFinder::modelPortraits_data() {
    QTest::addColumn<int>("kind");
    QTest::newRow("base photo") << int(samples::PortraitKind::Base);
    QTest::newRow("reference photo, own hair") << int(samples::PortraitKind::Reference);
}

void TestEyeFinder::modelPortraits() {
    QFETCH(int, kind);
    const QImage portrait = samples::drawPortrait(samples::PortraitKind(kind));
    const auto drawn = samples::pupilCentres(samples::fittedFrame(portrait.size()));
    // Drawn at (150 -+ 26.3, 146.4) in painter terms: pixels (123.2, 145.9) and (175.8, 145.9).
    QCOMPARE(drawn.first, QPointF(123.2, 145.9));
    QCOMPARE(drawn.second, QPointF(175.8, 145.9));
    const EyeSearch search = findEyes(portrait);
    VERIFY_EYES(search, drawn, 3.0);
}

void TestEyeFinder::sampleClientPhotos_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("cliente1, 300 x 320") << QStringLiteral("/clientes/cliente1.jpg");
    QTest::newRow("cliente2, 400 x 420") << QStringLiteral("/clientes/cliente2.jpg");
    QTest::newRow("vexasinmo, as written") << QStringLiteral("/vexasinmo.jpg");
}

void TestEyeFinder::sampleClientPhotos() {
    QFETCH(QString, name);
    const TestProgramFolder folder;
    const QImage photo(folder.folder().path() + name);
    QVERIFY(!photo.isNull());
    const auto drawn = samples::pupilCentres(samples::fittedFrame(photo.size()));
    VERIFY_EYES(findEyes(photo), drawn, 3.0);
}

void TestEyeFinder::placedPortraits_data() {
    QTest::addColumn<samples::PersonLook>("look");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("eyeMidpoint");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("tilt");
    QTest::newRow("430 x 430, small, off to the left")
        << samples::modelLook() << QSize(430, 430) << QPointF(150, 180) << 0.9 << 0.0;
    QTest::newRow("640 x 480, larger, low right")
        << darkLook() << QSize(640, 480) << QPointF(400, 300) << 1.3 << 0.0;
    QTest::newRow("man, 500 x 400")
        << manLook() << QSize(500, 400) << QPointF(260, 170) << 1.2 << 0.0;
    QTest::newRow("tilted 10 degrees clockwise")
        << samples::modelLook() << QSize(400, 420) << QPointF(200, 190) << 1.1 << 10.0;
    QTest::newRow("tilted 8 degrees counter-clockwise")
        << darkLook() << QSize(430, 430) << QPointF(215, 200) << 1.2 << -8.0;
}

void TestEyeFinder::placedPortraits() {
    QFETCH(samples::PersonLook, look);
    QFETCH(QSize, size);
    QFETCH(QPointF, eyeMidpoint);
    QFETCH(double, scale);
    QFETCH(double, tilt);
    const QTransform frame = samples::placedFrame(eyeMidpoint, scale, tilt);
    const QImage portrait = samples::drawPortrait(look, std::nullopt, size, frame);
    const auto drawn = samples::pupilCentres(frame);
    VERIFY_EYES(findEyes(portrait), drawn, 3.0);
}

void TestEyeFinder::noFace_data() {
    QTest::addColumn<QImage>("photo");
    QImage black(300, 320, QImage::Format_RGB32);
    black.fill(Qt::black);
    QImage grey(430, 430, QImage::Format_RGB32);
    grey.fill(QColor(0x80, 0x80, 0x80));
    QImage gradient(300, 320, QImage::Format_RGB32);
    for (int y = 0; y < gradient.height(); ++y) {
        for (int x = 0; x < gradient.width(); ++x) {
            gradient.setPixel(x, y, qRgb(x * 255 / 300, y * 255 / 320, 128));
        }
    }
    QImage dark = samples::drawPortrait(samples::PortraitKind::Base);
    dark.fill(QColor(2, 2, 2));
    QTest::newRow("black") << black;
    QTest::newRow("plain grey") << grey;
    QTest::newRow("gradient") << gradient;
    QTest::newRow("nearly black") << dark;
    QTest::newRow("tiny") << samples::drawPortrait(samples::PortraitKind::Base).scaled(20, 21);
    QTest::newRow("null") << QImage();
}

void TestEyeFinder::noFace() {
    QFETCH(QImage, photo);
    const EyeSearch search = findEyes(photo);
    QCOMPARE(search.fault, EyeFault::NoFace);
    QVERIFY(!search.eyes.has_value());
}

void TestEyeFinder::realPhotograph() {
    // Astronaut Eileen Collins, the NASA portrait that scikit-image ships as sample data. Her eyes,
    // marked by hand on the 512 x 512 picture: the iris centres at (203, 101) and (247, 104).
    const QString file = test::debianPackageFile(
        QStringLiteral(CRINOVA_DEBIAN_PHOTOS), QStringLiteral("python3-skimage"),
        QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png"));
    if (file.isEmpty()) {
        QSKIP("python3-skimage could not be downloaded");
    }
    const QImage photo(file);
    QCOMPARE(photo.size(), QSize(512, 512));
    const std::pair<QPointF, QPointF> marked{QPointF(203, 101), QPointF(247, 104)};
    VERIFY_EYES(findEyes(photo), marked, 4.0);
}

QTEST_MAIN(TestEyeFinder)
#include "tst_eye_finder.moc"
