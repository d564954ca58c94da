#include <QtTest>

#include <cmath>

#include "face/model_eyes.h"
#include "face/photo_preparation.h"
#include "image_compare.h"
#include "portrait.h"
#include "program/folder_names.h"
#include "program/program_database.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::TestProgramFolder;
namespace samples = crinova::samples;

namespace {

double distance(const QPointF& a, const QPointF& b) {
    return std::hypot(a.x() - b.x(), a.y() - b.y());
}

// The model's eyes as the generator drew them on the 300 x 320 base photo.
EyePair drawnModelEyes() {
    const auto [left, right] = samples::pupilCentres(samples::fittedFrame(QSize(300, 320)));
    return {left, right};
}

QString pointText(const QPointF& p) {
    return QStringLiteral("(%1, %2)").arg(p.x()).arg(p.y());
}

}  // namespace

class TestPhotoPreparation : public QObject {
    Q_OBJECT

  private slots:
    void largePhotoLandsOnTheModelsEyes_data();
    void largePhotoLandsOnTheModelsEyes();
    void noFaceIsScaledToFit_data();
    void noFaceIsScaledToFit();
    void modelEyesTableFromTheGenerator();
    void modelEyesFoundOrFromTable();
};

void TestPhotoPreparation::largePhotoLandsOnTheModelsEyes_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QPointF>("eyeMidpoint");
    QTest::addColumn<double>("scale");
    QTest::addColumn<double>("tilt");
    QTest::newRow("4000 x 3000, face off-centre")
        << QSize(4000, 3000) << QPointF(2900, 1100) << 6.0 << 0.0;
    QTest::newRow("4000 x 3000, tilted 9 degrees")
        << QSize(4000, 3000) << QPointF(1300, 1500) << 5.0 << 9.0;
    QTest::newRow("small photo, enlarged") << QSize(260, 240) << QPointF(130, 110) << 0.7 << 0.0;
    // The top of the head beyond the photo's top edge: the copy reaches past it.
    QTest::newRow("head cut by the top edge")
        << QSize(4000, 3000) << QPointF(2000, 330) << 6.0 << 0.0;
}

void TestPhotoPreparation::largePhotoLandsOnTheModelsEyes() {
    QFETCH(QSize, size);
    QFETCH(QPointF, eyeMidpoint);
    QFETCH(double, scale);
    QFETCH(double, tilt);
    const QImage photo = samples::drawPortrait(samples::modelLook(), std::nullopt, size,
                                               samples::placedFrame(eyeMidpoint, scale, tilt));
    const QImage untouched = photo.copy();
    const EyePair model = drawnModelEyes();

    const PreparedPhoto prepared = preparePhoto(photo, model, QSize(300, 320));
    if (!prepared.faceFound) {
        const EyeSearch search = findEyesReduced(photo);
        QFAIL(qPrintable(QStringLiteral("no eyes: fault %1, face %2,%3 %4x%5")
                             .arg(int(search.fault))
                             .arg(search.face.x())
                             .arg(search.face.y())
                             .arg(search.face.width())
                             .arg(search.face.height())));
    }
    QCOMPARE(prepared.picture.size(), QSize(300, 320));
    COMPARE_IMAGES(photo, untouched);

    // On the copy the client's eyes sit on the model's (and the tilted head is level).
    const EyeSearch found = findEyes(prepared.picture);
    QVERIFY(found.eyes.has_value());
    const QString where = pointText(found.eyes->left) + pointText(found.eyes->right);
    QVERIFY2(distance(found.eyes->left, model.left) <= 3.0, qPrintable(where));
    QVERIFY2(distance(found.eyes->right, model.right) <= 3.0, qPrintable(where));

    // Above the row the photo's top edge lands on (level eyes: the midpoint's height less its
    // distance from the edge, scaled) the photo's own edge goes on, softened: never white, and
    // next to the edge like the photo just inside it.
    if (tilt != 0) {
        return;
    }
    const double k =
        distance(model.left, model.right) / distance(prepared.eyes->left, prepared.eyes->right);
    const int edge = int(std::floor((model.left.y() + model.right.y()) / 2 -
                                    (prepared.eyes->left.y() + prepared.eyes->right.y()) / 2 * k));
    const QImage& copy = prepared.picture;
    for (int y = 0; y < edge - 1; ++y) {
        for (int x = 0; x < copy.width(); ++x) {
            QVERIFY2(colourAt(copy, x, y) != Colour(0xFFFFFF),
                     qPrintable(QStringLiteral("white at %1, %2").arg(x).arg(y)));
        }
    }
    if (edge > 2) {
        double difference = 0;
        for (int x = 0; x < copy.width(); ++x) {
            const Colour outside = colourAt(copy, x, edge - 2);
            const Colour inside = colourAt(copy, x, edge + 1);
            for (int shift : {0, 8, 16}) {
                difference +=
                    std::abs(int((outside >> shift) & 0xff) - int((inside >> shift) & 0xff));
            }
        }
        QVERIFY2(difference / (3.0 * copy.width()) < 12, qPrintable(QString::number(difference)));
    }
}

void TestPhotoPreparation::noFaceIsScaledToFit_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QRect>("covered");
    // 600 x 300 into 300 x 320: k = min(0.5, 1.07) = 0.5, 300 x 150, centred at y = (320-150)/2.
    QTest::newRow("wide") << QSize(600, 300) << QRect(0, 85, 300, 150);
    // 4000 x 8000: k = min(0.075, 0.04) = 0.04, 160 x 320 at x = 70.
    QTest::newRow("tall") << QSize(4000, 8000) << QRect(70, 0, 160, 320);
    // 100 x 100 grows: k = min(3, 3.2) = 3, 300 x 300 at y = 10.
    QTest::newRow("small") << QSize(100, 100) << QRect(0, 10, 300, 300);
}

void TestPhotoPreparation::noFaceIsScaledToFit() {
    QFETCH(QSize, size);
    QFETCH(QRect, covered);
    // Left half red, right half blue: no face, and the halves show where the photo went.
    QImage photo(size, QImage::Format_RGB32);
    photo.fill(qRgb(255, 0, 0));
    for (int y = 0; y < size.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(photo.scanLine(y));
        std::fill(row + size.width() / 2, row + size.width(), qRgb(0, 0, 255));
    }
    const PreparedPhoto prepared = preparePhoto(photo, drawnModelEyes(), QSize(300, 320));
    QVERIFY(!prepared.faceFound);
    QCOMPARE(prepared.picture.size(), QSize(300, 320));
    const int middle = covered.center().y();
    QCOMPARE(colourAt(prepared.picture, covered.left() + 2, middle), Colour(0x0000FF));
    QCOMPARE(colourAt(prepared.picture, covered.right() - 2, middle), Colour(0xFF0000));
    QCOMPARE(colourAt(prepared.picture, covered.left() + 2, covered.top() + 1), Colour(0x0000FF));
    QCOMPARE(colourAt(prepared.picture, covered.right() - 2, covered.bottom() - 1),
             Colour(0xFF0000));
    // Outside the photo: white.
    if (covered.top() > 0) {
        QCOMPARE(colourAt(prepared.picture, 150, covered.top() - 1), Colour(0xFFFFFF));
        QCOMPARE(colourAt(prepared.picture, 150, covered.bottom() + 1), Colour(0xFFFFFF));
    }
    if (covered.left() > 0) {
        QCOMPARE(colourAt(prepared.picture, covered.left() - 1, 160), Colour(0xFFFFFF));
        QCOMPARE(colourAt(prepared.picture, covered.right() + 1, 160), Colour(0xFFFFFF));
    }
    // Without the model's eyes nothing is looked for: the photo is scaled to fit too.
    QVERIFY(!preparePhoto(samples::drawPortrait(samples::PortraitKind::Base), std::nullopt,
                          QSize(300, 320))
                 .faceFound);
}

void TestPhotoPreparation::modelEyesTableFromTheGenerator() {
    const TestProgramFolder folder;
    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    const qint64 length = QFileInfo(folder.path(kBasePhoto)).size();
    const std::optional<EyePair> eyes = readModelEyes(database, kBasePhoto, length);
    QVERIFY(eyes.has_value());
    // Where the generator drew them: 150 -+ (26 + 0.3) - 0.5 and 146 + 0.4 - 0.5.
    QCOMPARE(eyes->left, QPointF(123.2, 145.9));
    QCOMPARE(eyes->right, QPointF(175.8, 145.9));
    // A photo of another length is another photo: the row does not answer for it.
    QVERIFY(!readModelEyes(database, kBasePhoto, length + 1).has_value());
    QVERIFY(!readModelEyes(database, QStringLiteral("\\otra.jpg"), length).has_value());
}

void TestPhotoPreparation::modelEyesFoundOrFromTable() {
    const TestProgramFolder folder;
    Database database;
    QVERIFY(openProgramDatabase(database, folder.folder(), nullptr));
    const QString path = folder.path(kBasePhoto);
    const EyePair drawn = drawnModelEyes();

    ModelEyes model;
    ModelEyes::Answer answer = model.eyes(path, kBasePhoto, database);
    QCOMPARE(answer.source, ModelEyes::Source::Found);
    QVERIFY(distance(answer.eyes->left, drawn.left) <= 3.0);
    QVERIFY(distance(answer.eyes->right, drawn.right) <= 3.0);

    // Without cascades the photo gives nothing, and the generator's table answers.
    QTemporaryDir empty;
    FaceCascades none;
    none.load(empty.path());
    ModelEyes fresh;
    answer = fresh.eyes(path, kBasePhoto, database, none);
    QCOMPARE(answer.source, ModelEyes::Source::Table);
    QCOMPARE(answer.eyes->left, QPointF(123.2, 145.9));

    // The photo replaced by one without a face: found again (not remembered), and the table's
    // row belongs to the old file, so the eyes are unknown.
    QImage blank(300, 320, QImage::Format_RGB32);
    blank.fill(Qt::gray);
    QVERIFY(QFile::remove(path));
    folder.writePicture(kBasePhoto, blank, "jpg");
    answer = model.eyes(path, kBasePhoto, database);
    QCOMPARE(answer.source, ModelEyes::Source::None);
    QVERIFY(!answer.eyes.has_value());
    QCOMPARE(answer.fault, EyeFault::NoFace);
    QVERIFY(modelEyesMissingMessage(kBasePhoto).contains(QStringLiteral("\"\\vexasinmo.jpg\"")));

    // Its own row in the table makes it known.
    QVERIFY(storeModelEyes(database, kBasePhoto, QFileInfo(path).size(),
                           EyePair{{100, 150}, {200, 150}}));
    model.forget();
    answer = model.eyes(path, kBasePhoto, database);
    QCOMPARE(answer.source, ModelEyes::Source::Table);
    QCOMPARE(answer.eyes->right, QPointF(200, 150));
}

QTEST_MAIN(TestPhotoPreparation)
#include "tst_photo_preparation.moc"
