#include <QtTest>

#include <cmath>

#include "client_view/large_rendering.h"
#include "composition_bench.h"
#include "face/face_fit.h"
#include "face/photo_preparation.h"
#include "geometry/rotation.h"
#include "image_compare.h"
#include "portrait.h"

using namespace crinova;
using crinova::test::CompositionBench;
using crinova::test::solidPicture;
namespace samples = crinova::samples;

namespace {

constexpr QSize kMain(300, 320);

// The mean absolute difference of two pictures of one size, per channel, over all pixels.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* q = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            sum += std::abs(qRed(p[x]) - qRed(q[x])) + std::abs(qGreen(p[x]) - qGreen(q[x])) +
                   std::abs(qBlue(p[x]) - qBlue(q[x]));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// A silhouette drawn dark on white: the box of its pixels darker than half, and in each row
// the first and the last such pixel (-1 in a row without any).
struct Silhouette {
    QRect box;
    std::vector<std::pair<int, int>> rows;
};
Silhouette silhouette(const QImage& picture) {
    Silhouette found;
    for (int y = 0; y < picture.height(); ++y) {
        std::pair<int, int> row(-1, -1);
        for (int x = 0; x < picture.width(); ++x) {
            if (qGreen(picture.pixel(x, y)) < 128) {
                found.box |= QRect(x, y, 1, 1);
                row = {row.first < 0 ? x : row.first, x};
            }
        }
        found.rows.push_back(row);
    }
    return found;
}

// How far apart two silhouettes' rows end, left and right, at the given fraction of the rows
// both reach (0.5: the median).
int rowEndsApart(const Silhouette& a, const Silhouette& b, double fraction) {
    std::vector<int> apart;
    for (std::size_t y = 0; y < a.rows.size(); ++y) {
        if (a.rows[y].first >= 0 && b.rows[y].first >= 0) {
            apart.push_back(std::abs(a.rows[y].first - b.rows[y].first));
            apart.push_back(std::abs(a.rows[y].second - b.rows[y].second));
        }
    }
    if (apart.empty()) {
        return 1000;
    }
    auto at = apart.begin() + std::ptrdiff_t(fraction * double(apart.size() - 1));
    std::nth_element(apart.begin(), at, apart.end());
    return *at;
}

// The energy of the differences between horizontal neighbours: blurring an edge lowers it.
double detail(const QImage& picture) {
    double sum = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 1; x < picture.width(); ++x) {
            const int d = qGreen(picture.pixel(x, y)) - qGreen(picture.pixel(x - 1, y));
            sum += d * d;
        }
    }
    return sum;
}

}  // namespace

class LargeRenderingTest : public QObject {
    Q_OBJECT
  private slots:
    void agreesWithTheScreen_data();
    void agreesWithTheScreen();
    void clientPhotoIsPreparedLargeFromItsOriginal();
    void companionCountsOnlyForItsOwnPicture();
    void pictureWithoutCompanionIsEnlargedAndTold();
    void ownHairChangesTakeOnlyWhereTheyAre();

  private:
    LargeSources sources_;  // shared, as the renderer's are: prepared hair is kept
};

void LargeRenderingTest::agreesWithTheScreen_data() {
    QTest::addColumn<int>("sample");
    QTest::addColumn<QList<int>>("hair");   // posxpelo, posypelo, anchopelo, altopelo
    QTest::addColumn<QList<int>>("photo");  // posxfoto, posyfoto, anchofoto, altofoto
    QTest::addColumn<int>("degrees");       // one turn of "Girar", counter-clockwise
    QTest::addColumn<bool>("fit");          // the hair fitted to eyes 20 % further apart
    QTest::addColumn<bool>("soft");
    QTest::addColumn<bool>("coloured");  // "7.4 Rubio medio cobrizo" with streaks
    QTest::addColumn<bool>("ownAlpha");  // a soft alpha beside the style, as a salon's own has
    const QList<int> none{0, 0, 0, 0};
    const QList<int> moved{5, 3, 10, 10};
    QTest::newRow("sample") << 2 << none << none << 0 << false << false << false << false;
    QTest::newRow("zoomed and dragged hair")
        << 4 << QList<int>{-17, 9, 37, -22} << none << 0 << false << false << false << false;
    QTest::newRow("zoomed and dragged photo")
        << 1 << none << QList<int>{21, -6, -40, 15} << 0 << false << false << false << false;
    QTest::newRow("turned photo") << 3 << none << none << 12 << false << false << false << false;
    QTest::newRow("fitted style") << 5 << none << none << 0 << true << false << false << false;
    QTest::newRow("soft edges") << 6 << moved << none << 0 << false << true << false << false;
    QTest::newRow("colour") << 2 << none << none << 0 << false << false << true << false;
    QTest::newRow("own soft alpha") << 6 << moved << none << 0 << false << true << false << true;
}

void LargeRenderingTest::agreesWithTheScreen() {
    QFETCH(int, sample);
    QFETCH(QList<int>, hair);
    QFETCH(QList<int>, photo);
    QFETCH(int, degrees);
    QFETCH(bool, fit);
    QFETCH(bool, soft);
    QFETCH(bool, coloured);
    QFETCH(bool, ownAlpha);
    CompositionBench bench(kMain.width(), kMain.height(), test::TestProgramFolder::Samples);
    OverlayState& state = bench.state;
    state.ficheropelo = sampleHairName(sample);
    state.ficheromascara = sampleMaskName(sample);
    state.posxpelo = std::int16_t(hair[0]);
    state.posypelo = std::int16_t(hair[1]);
    state.anchopelo = std::int16_t(hair[2]);
    state.altopelo = std::int16_t(hair[3]);
    state.posxfoto = std::int16_t(photo[0]);
    state.posyfoto = std::int16_t(photo[1]);
    state.anchofoto = std::int16_t(photo[2]);
    state.altofoto = std::int16_t(photo[3]);
    state.difuminar = soft;
    if (coloured) {
        state.colorelegido = HairColour{Shade{7, Reflejo::Cobrizo, {}}, 100, Highlights::Mechas};
    }
    QImage alpha;  // the upper half of the mask's hair: the screen draws no more with soft edges
    if (ownAlpha) {
        const QImage mask = loadPicture(bench.folder.path(state.ficheromascara))
                                .picture.convertToFormat(QImage::Format_Grayscale8);
        alpha = QImage(mask.size(), QImage::Format_Grayscale8);
        for (int y = 0; y < mask.height(); ++y) {
            for (int x = 0; x < mask.width(); ++x) {
                alpha.scanLine(y)[x] = y < mask.height() / 2 ? 255 - mask.constScanLine(y)[x] : 0;
            }
        }
        QVERIFY(alpha.save(bench.folder.path(softAlphaName(state.ficheropelo)), "PNG"));
    }
    if (fit) {
        const auto [left, right] = samples::pupilCentres(samples::fittedFrame(kMain));
        const QPointF mid = (left + right) / 2;
        const FitResult result =
            fitHair({left, right}, {mid + (left - mid) * 1.2, mid + (right - mid) * 1.2}, kMain);
        QVERIFY(result.fit);
        applyFit(*result.fit, state);
    }
    RotationState rotation;
    if (degrees != 0) {
        QVERIFY(rotateStep(0, degrees, state, rotation, bench.buffers, bench.services));
    } else {
        QVERIFY(DibujarPelo(state, bench.buffers, bench.services));
    }
    const QImage screen = bench.buffers.fprincipal.image().copy();

    const LargeLook look =
        largeLookOf(state, rotation.angulototal, kMain, QString(), bench.folder.folder());
    const LargeInputs inputs = defaultLargeInputs();
    const LargeRendering rendering = renderLarge(look, inputs, sources_);
    QCOMPARE(rendering.ahora.size(), kMain * 4);
    QVERIFY2(rendering.notes.isEmpty(), qPrintable(rendering.notes.join(' ')));
    const double mean = meanDifference(reducedTo(rendering.ahora, kMain), screen);
    QVERIFY2(mean <= 6.0, qPrintable(QString::number(mean)));

    // The silhouettes alone: the screen's mask stretched onto white, and the large rendering of
    // black hair over a white photo, through the same providers.
    Surface mask(kMain.width(), kMain.height());
    mask.SetPicture(loadPicture(bench.folder.path(state.ficheromascara)).picture);
    Surface drawn(kMain.width(), kMain.height());
    const int width = kMain.width() + state.anchopelo;
    const int height = kMain.height() + state.altopelo;
    if (soft) {
        BlendCache cache;
        StretchBlend(drawn.image(), state.posxpelo, state.posypelo, width, height,
                     alpha.isNull() ? mask.image() : alpha,
                     solidPicture(kMain.width(), kMain.height(), kBlack), kMain, kWindowBackground,
                     cache);
    } else {
        StretchBlt(drawn, state.posxpelo, state.posypelo, width, height, mask, 0, 0, kMain.width(),
                   kMain.height(), SRCCOPY);
    }
    LargeInputs shapes = inputs;
    shapes.workingPhoto = [](const LargeLook&, LargeSources&) {
        return solidPicture(1200, 1280, kWhite);
    };
    const QImage black = solidPicture(1200, 1280, kBlack);
    shapes.hair = [&](const LargeLook& l, LargeSources& s) {
        LargeHair shape = inputs.hair(l, s);
        shape.hair = black;
        return shape;
    };
    const Silhouette small = silhouette(drawn.image());
    const Silhouette large =
        silhouette(reducedTo(renderLarge(look, shapes, sources_).ahora, kMain));
    const QString where =
        QStringLiteral("screen %1,%2 %3x%4, large %5,%6 %7x%8, row ends apart %9 (median), %10")
            .arg(small.box.x())
            .arg(small.box.y())
            .arg(small.box.width())
            .arg(small.box.height())
            .arg(large.box.x())
            .arg(large.box.y())
            .arg(large.box.width())
            .arg(large.box.height())
            .arg(rowEndsApart(small, large, 0.5))
            .arg(rowEndsApart(small, large, 0.9));
    QVERIFY2(!small.box.isEmpty(), qPrintable(where));
    for (const auto& [a, b] : {std::pair(small.box.left(), large.box.left()),
                               std::pair(small.box.right(), large.box.right()),
                               std::pair(small.box.top(), large.box.top()),
                               std::pair(small.box.bottom(), large.box.bottom())}) {
        QVERIFY2(std::abs(a - b) <= 1, qPrintable(where));
    }
    QVERIFY2(rowEndsApart(small, large, 0.9) <= 1, qPrintable(where));
}

void LargeRenderingTest::clientPhotoIsPreparedLargeFromItsOriginal() {
    // A client photographed 4.5 times the model's size, tilted: prepared, her eyes land on the
    // model's, so the large copy from the original is the model's portrait drawn at four times.
    const QImage original =
        samples::drawPortrait(samples::modelLook(), std::nullopt, QSize(1800, 1600),
                              samples::placedFrame(QPointF(900, 700), 4.5, 7.0));
    const auto [left, right] = samples::pupilCentres(samples::fittedFrame(kMain));
    const PreparedPhoto prepared = preparePhoto(original, EyePair{left, right}, kMain);
    QVERIFY(prepared.faceFound);
    // The kept transform takes the copy's eyes (the model's) to the client's on the original.
    QVERIFY(std::hypot(prepared.toOriginal.map(left).x() - prepared.eyes->left.x(),
                       prepared.toOriginal.map(left).y() - prepared.eyes->left.y()) < 0.01);

    const QImage large = preparePhotoLarger(original, prepared, 4);
    QCOMPARE(large.size(), kMain * 4);
    const QImage drawn = samples::drawPortrait(samples::modelLook(), std::nullopt, kMain * 4);
    const double mean = meanDifference(large, drawn);
    QVERIFY2(mean <= 6.0, qPrintable(QString::number(mean)));
    QVERIFY(meanDifference(reducedTo(large, kMain), prepared.picture) <= 6.0);
    // The original's own detail, not the copy enlarged.
    const double sharp = detail(large);
    const double enlarged = detail(enlargedSmoothly(prepared.picture, 4));
    QVERIFY2(sharp > 1.5 * enlarged, qPrintable(QStringLiteral("%1 %2").arg(sharp).arg(enlarged)));
}

void LargeRenderingTest::companionCountsOnlyForItsOwnPicture() {
    test::TestProgramFolder folder(test::TestProgramFolder::Empty);
    const QString small = folder.path(QStringLiteral("\\a.bmp"));
    folder.writePicture(QStringLiteral("\\a.bmp"), solidPicture(3, 2, 0x00102030));
    const QString companion = largeCompanionPath(small, QStringLiteral("png"));
    QVERIFY(writeLargeCompanion(solidPicture(12, 8, 0x00405060), companion, small,
                                {{QStringLiteral("estilo"), QStringLiteral("Melena")}}));
    QMap<QString, QString> texts;
    COMPARE_IMAGES(loadLargeCompanion(small, &texts), solidPicture(12, 8, 0x00405060));
    QCOMPARE(texts.value(QStringLiteral("estilo")), QStringLiteral("Melena"));

    // The picture written over: its old companion is not used.
    folder.writePicture(QStringLiteral("\\a.bmp"), solidPicture(3, 2, 0x00102031));
    QVERIFY(loadLargeCompanion(small).isNull());
    // Stamped for the new picture but not four times its size.
    QVERIFY(writeLargeCompanion(solidPicture(12, 9, 0), companion, small));
    QVERIFY(loadLargeCompanion(small).isNull());
    QVERIFY(deleteLargeCompanions(small));
    QVERIFY(!QFile::exists(companion));
}

void LargeRenderingTest::pictureWithoutCompanionIsEnlargedAndTold() {
    test::TestProgramFolder folder(test::TestProgramFolder::Empty);
    // Columns 0 and 1 black, 2 and 3 white: enlarged smoothly, the edge ramps instead of
    // stepping.
    QImage picture = solidPicture(4, 2, kWhite);
    for (int y = 0; y < 2; ++y) {
        picture.setPixel(0, y, toPixel(kBlack));
        picture.setPixel(1, y, toPixel(kBlack));
    }
    folder.writePicture(QStringLiteral("\\b.bmp"), picture);
    LargeSources sources;
    const QImage large = sources.large(folder.path(QStringLiteral("\\b.bmp")), QSize(4, 2));
    QCOMPARE(large.size(), QSize(16, 8));
    QCOMPARE(qGreen(large.pixel(0, 4)), 0);
    QCOMPARE(qGreen(large.pixel(15, 4)), 255);
    QVERIFY(qGreen(large.pixel(8, 4)) > 0 && qGreen(large.pixel(7, 4)) < 255);
    QCOMPARE(sources.takeNotes(), QStringList{enlargedNote(QStringLiteral("b.bmp"))});
    // A picture that cannot be read gives nothing, and says so.
    QVERIFY(sources.large(folder.path(QStringLiteral("\\none.jpg")), QSize(4, 2)).isNull());
    QCOMPARE(sources.takeNotes().size(), 1);
}

// The own hair hidden at the small size: the large photo takes the changed pixels, enlarged, and
// stays exactly as sharp everywhere else.
void LargeRenderingTest::ownHairChangesTakeOnlyWhereTheyAre() {
    QImage plain(6, 6, QImage::Format_RGB32);
    plain.fill(qRgb(128, 128, 128));
    QImage changed = plain;
    changed.setPixel(0, 0, qRgb(255, 0, 0));
    QImage large(24, 24, QImage::Format_RGB32);
    large.fill(qRgb(0, 0, 255));
    const QImage result = withSmallChanges(large, plain, changed);
    // The centre of the changed small pixel, four times larger: wholly the change.
    QCOMPARE(result.pixel(1, 1), qRgb(255, 0, 0));
    // Beyond the changed pixel and its one-pixel margin: the sharp photo, untouched.
    for (const QPoint at : {QPoint(12, 0), QPoint(0, 12), QPoint(23, 23)}) {
        QCOMPARE(result.pixel(at), qRgb(0, 0, 255));
    }
    QCOMPARE(withSmallChanges(large, plain, plain), large);
}

QTEST_MAIN(LargeRenderingTest)
#include "tst_large_rendering.moc"
