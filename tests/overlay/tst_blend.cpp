#include <QtTest>

#include <algorithm>
#include <cmath>

#include "composition_bench.h"
#include "image_compare.h"
#include "overlay/blend.h"
#include "overlay/mouse_placement.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::numberedPicture;
using crinova::test::solidPicture;

namespace {

using Bench = crinova::test::CompositionBench;

constexpr Colour grey(int value) {
    return Colour(value) * 0x010101u;
}

constexpr int kPhotoGrey = 200;
constexpr int kHairGrey = 100;

// A blended composition over a photo of one grey, at the buffers' size.
struct BlendBench : Bench {
    BlendBench(int width, int height) : Bench(width, height) {
        state.difuminar = true;
        write(kBasePhoto, solidPicture(width, height, grey(kPhotoGrey)));
    }
    // Mask black and hair grey 100 left of column `edge`, white mask and black hair right of it.
    void verticalEdge(int width, int height, int edge) {
        QImage mask = solidPicture(width, height, kWhite);
        QImage hair = solidPicture(width, height, kBlack);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < edge; ++x) {
                mask.setPixel(x, y, toPixel(kBlack));
                hair.setPixel(x, y, toPixel(grey(kHairGrey)));
            }
        }
        write(kDefaultMask, mask);
        write(kDefaultHair, hair);
    }
    QList<Colour> row(int y) const {
        QList<Colour> colours;
        for (int x = 0; x < buffers.fprincipal.ScaleWidth(); ++x) {
            colours.append(shown(x, y));
        }
        return colours;
    }
};

QList<Colour> greys(std::initializer_list<int> values) {
    QList<Colour> colours;
    for (const int value : values) {
        colours.append(grey(value));
    }
    return colours;
}

// Luminance as a viewer weighs it (ITU-R BT.601), in the test's own terms.
double luminance(QRgb pixel) {
    return 0.299 * qRed(pixel) + 0.587 * qGreen(pixel) + 0.114 * qBlue(pixel);
}

}  // namespace

class BlendTest : public QObject {
    Q_OBJECT
  private slots:
    void blendRule_data();
    void blendRule();
    void roundingIsToTheNearestValue();
    void maskCoverageSnapsNearBlackAndNearWhite();
    void featherBand_data();
    void featherBand();
    void picturesOfAnotherSizeFollowTheBufferRules();
    void extentsAndPositionsAsTheExactComposition_data();
    void extentsAndPositionsAsTheExactComposition();
    void replacedHairFileIsPickedUp();
    void cachedAndFreshPreparationsAgree();
    void dragPreviewStaysAGhost();
    void samplesHaveNoDarkRim();
};

void BlendTest::blendRule_data() {
    QTest::addColumn<Colour>("mask");
    QTest::addColumn<Colour>("expected");
    QTest::newRow("black mask gives the hair") << kBlack << grey(kHairGrey);
    QTest::newRow("white mask gives the photo") << kWhite << grey(kPhotoGrey);
    // Grey 128 covers (243 - 128) * 255 / 231 = 126.95 -> 127 of 255:
    // (200 * 128 + 100 * 127) / 255 = 150.2 -> 150.
    QTest::newRow("mid-grey mask gives half of each") << grey(128) << grey(150);
    // Grey 64: (243 - 64) * 255 / 231 = 197.6 -> 198; (200 * 57 + 100 * 198) / 255 = 122.4.
    QTest::newRow("dark grey mask gives mostly hair") << grey(64) << grey(122);
    QTest::newRow("near-white counts as white") << grey(250) << grey(kPhotoGrey);
    QTest::newRow("near-black counts as black") << grey(6) << grey(kHairGrey);
}

void BlendTest::blendRule() {
    QFETCH(Colour, mask);
    QFETCH(Colour, expected);
    BlendBench bench(4, 4);
    bench.write(kDefaultMask, solidPicture(4, 4, mask));
    bench.write(kDefaultHair, solidPicture(4, 4, grey(kHairGrey)));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    COMPARE_IMAGES(bench.buffers.fprincipal.image(), solidPicture(4, 4, expected));
    QVERIFY(bench.dialogs.asked.empty());
    // temporal1 ends holding the hair picture, as after the exact composition.
    COMPARE_IMAGES(bench.buffers.temporal1.image(), solidPicture(4, 4, grey(kHairGrey)));
}

void BlendTest::roundingIsToTheNearestValue() {
    for (int coverage = 0; coverage <= 255; ++coverage) {
        for (int photo = 0; photo <= 255; ++photo) {
            for (const int hair : {0, 1, 77, 128, 254, 255}) {
                const double exact = (photo * (255.0 - coverage) + hair * double(coverage)) / 255;
                const int nearest = static_cast<int>(std::floor(exact + 0.5));
                if (blendChannel(photo, hair, coverage) != nearest) {
                    QFAIL(qPrintable(QStringLiteral("photo %1 hair %2 coverage %3: %4, not %5")
                                         .arg(photo)
                                         .arg(hair)
                                         .arg(coverage)
                                         .arg(blendChannel(photo, hair, coverage))
                                         .arg(nearest)));
                }
            }
        }
    }
    // The drawing blends all three channels the same way: coverage along x, the photo's value
    // along y in every channel, the hair a fixed colour.
    DrawnHair hair;
    hair.width = 256;
    hair.height = 256;
    hair.window = QRect(0, 0, 256, 256);
    hair.coverage.resize(256 * 256);
    hair.colour.assign(256 * 256, qRgb(0, 255, 77));
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            hair.coverage[std::size_t(y) * 256 + x] = std::uint8_t(x);
        }
        hair.spanStart.push_back(0);
        hair.spanEnd.push_back(256);
    }
    QImage dest(256, 256, QImage::Format_RGB32);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            dest.setPixel(x, y, qRgb(y, y, y));
        }
    }
    drawBlendedHair(dest, 0, 0, hair);
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            auto expect = [&](int hairValue) {
                return static_cast<int>(std::floor((y * (255.0 - x) + hairValue * x) / 255 + 0.5));
            };
            const QRgb got = dest.pixel(x, y);
            if (qRed(got) != expect(0) || qGreen(got) != expect(255) || qBlue(got) != expect(77) ||
                qAlpha(got) != 255) {
                QFAIL(qPrintable(
                    QStringLiteral("photo %1 coverage %2: %3").arg(y).arg(x).arg(got, 8, 16)));
            }
        }
    }
}

void BlendTest::maskCoverageSnapsNearBlackAndNearWhite() {
    QCOMPARE(maskCoverage(qRgb(0, 0, 0)), 255);
    QCOMPARE(maskCoverage(qRgb(12, 12, 12)), 255);
    QCOMPARE(maskCoverage(qRgb(13, 13, 13)), 254);   // 230 * 255 / 231 = 253.9
    QCOMPARE(maskCoverage(qRgb(242, 242, 242)), 1);  // 255 / 231 = 1.1
    QCOMPARE(maskCoverage(qRgb(243, 243, 243)), 0);
    QCOMPARE(maskCoverage(qRgb(255, 255, 255)), 0);
    // Luminance (77 R + 150 G + 29 B + 128) / 256: pure red is 77, (243 - 77) * 255 / 231 = 183.2.
    QCOMPARE(maskCoverage(qRgb(255, 0, 0)), 183);
}

void BlendTest::featherBand_data() {
    QTest::addColumn<int>("posx");
    QTest::addColumn<int>("ancho");
    QTest::addColumn<QList<Colour>>("expected");
    // Columns 0..5 hair, 6..11 photo. The feather averages three columns: column 5 keeps
    // (255 + 255 + 0) / 3 = 170 of the hair, column 6 85. Column 6 lies outside the silhouette,
    // where the hair picture is black: it takes the hair's grey, not the black.
    // 170: (200 * 85 + 100 * 170) / 255 = 133.3; 85: (200 * 170 + 100 * 85) / 255 = 166.7.
    QTest::newRow("natural size") << 0 << 0
                                  << greys({100, 100, 100, 100, 100, 133, 167, 200, 200, 200, 200,
                                            200});
    // Drawn 24 wide from x -6: plane column k lands at k - 6 and samples natural column
    // k / 2 - 0.25, so the coverage ramps 255 (k 10), 191 (k 11: 0.75 of 255, weights in 1/256),
    // 64 (k 12), 0 (k 13). The feather box stays three columns at double size (radius
    // round(2 / 2) = 1): k 10: (255 + 255 + 191) / 3 = 233.7 -> 234, k 11: 510 / 3 = 170,
    // k 12: 255 / 3 = 85, k 13: 64 / 3 = 21.3 -> 21. A band of four, twice the natural two.
    // Blended: 234 -> 108.2, 170 -> 133.3, 85 -> 166.7, 21 -> 191.8.
    QTest::newRow("double size") << -6 << 12
                                 << greys({100, 100, 100, 100, 108, 133, 167, 192, 200, 200, 200,
                                           200});
    // Width 12 - 24 = -12 drawn from x 12: plane column k lands at 11 - k, so the hair sits at
    // the right and the feather at columns 6 and 5.
    QTest::newRow("negative width mirrors")
        << 12 << -24 << greys({200, 200, 200, 200, 200, 167, 133, 100, 100, 100, 100, 100});
}

void BlendTest::featherBand() {
    QFETCH(int, posx);
    QFETCH(int, ancho);
    QFETCH(QList<Colour>, expected);
    BlendBench bench(12, 4);
    bench.verticalEdge(12, 4, 6);
    bench.state.posxpelo = std::int16_t(posx);
    bench.state.anchopelo = std::int16_t(ancho);
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    for (int y = 0; y < 4; ++y) {
        QCOMPARE(bench.row(y), expected);
    }
    // The timer's repaint blends too.
    bench.buffers.fprincipal.RepaintFromStoredPicture();
    QVERIFY(RefrescarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.row(0), expected);
}

void BlendTest::picturesOfAnotherSizeFollowTheBufferRules() {
    // A 4 x 4 black mask and hair in an 8 x 8 buffer: the buffer's white shows beyond them, so
    // the hair covers the top-left corner only. A picture larger than the buffer is cut off.
    BlendBench bench(8, 8);
    bench.write(kDefaultMask, solidPicture(4, 4, kBlack));
    bench.write(kDefaultHair, solidPicture(16, 16, grey(kHairGrey)));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(0, 0), grey(kHairGrey));
    QCOMPARE(bench.shown(3, 0), grey(133));  // feathered: 170 of 255
    QCOMPARE(bench.shown(4, 0), grey(167));  // 85
    QCOMPARE(bench.shown(7, 7), grey(kPhotoGrey));
    QCOMPARE(bench.shown(7, 0), grey(kPhotoGrey));
}

void BlendTest::extentsAndPositionsAsTheExactComposition_data() {
    QTest::addColumn<int>("posx");
    QTest::addColumn<int>("ancho");
    QTest::addColumn<int>("shown");  // the grey every pixel shows
    QTest::newRow("zero width draws nothing") << 0 << -8 << kPhotoGrey;
    QTest::newRow("far right draws nothing") << 30000 << 0 << kPhotoGrey;
    QTest::newRow("far left draws nothing") << -30000 << 0 << kPhotoGrey;
    QTest::newRow("mirrored beyond the left edge draws nothing") << -1 << -16 << kPhotoGrey;
    // 32000 pixels wide and high: far too big to prepare whole; what shows is still the hair.
    QTest::newRow("enormous hair, prepared only where it shows") << -16000 << 32000 << kHairGrey;
}

void BlendTest::extentsAndPositionsAsTheExactComposition() {
    QFETCH(int, posx);
    QFETCH(int, ancho);
    QFETCH(int, shown);
    BlendBench bench(8, 8);
    bench.write(kDefaultMask, solidPicture(8, 8, kBlack));
    bench.write(kDefaultHair, solidPicture(8, 8, grey(kHairGrey)));
    bench.state.posxpelo = std::int16_t(posx);
    bench.state.anchopelo = std::int16_t(ancho);
    if (shown == kHairGrey) {
        bench.state.altopelo = 32000;
        bench.state.posypelo = -100;
    }
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    COMPARE_IMAGES(bench.buffers.fprincipal.image(), solidPicture(8, 8, grey(shown)));
}

void BlendTest::replacedHairFileIsPickedUp() {
    BlendBench bench(4, 4);
    bench.write(kDefaultMask, solidPicture(4, 4, kBlack));
    bench.write(kDefaultHair, solidPicture(4, 4, grey(kHairGrey)));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(2, 2), grey(kHairGrey));
    bench.write(kDefaultHair, solidPicture(4, 4, grey(40)));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(2, 2), grey(40));
    bench.write(kDefaultMask, solidPicture(4, 4, kWhite));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(2, 2), grey(kPhotoGrey));
}

void BlendTest::cachedAndFreshPreparationsAgree() {
    // The sample hair at a few sizes and places, each drawn twice through the cache (the second
    // time from it) and once with nothing kept.
    Bench bench(300, 320, test::TestProgramFolder::Samples);
    bench.state.difuminar = true;
    bench.state.ficheropelo = QStringLiteral("\\pelo3.jpg");
    bench.state.ficheromascara = QStringLiteral("\\mpelo3.jpg");
    const struct {
        int posx, posy, ancho, alto;
    } cases[] = {{0, 0, 0, 0}, {-20, 15, 300, 0}, {40, -10, -150, 33}, {5, 5, -600, -640}};
    for (const auto& c : cases) {
        bench.state.posxpelo = std::int16_t(c.posx);
        bench.state.posypelo = std::int16_t(c.posy);
        bench.state.anchopelo = std::int16_t(c.ancho);
        bench.state.altopelo = std::int16_t(c.alto);
        QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
        QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
        const QImage cached = bench.buffers.fprincipal.image().copy();
        bench.services.blend = nullptr;
        QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
        bench.services.blend = &bench.blend;
        COMPARE_IMAGES(bench.buffers.fprincipal.image(), cached);
    }
}

void BlendTest::dragPreviewStaysAGhost() {
    BlendBench bench(12, 4);
    bench.verticalEdge(12, 4, 6);
    const QImage photo = numberedPicture(12, 4);
    bench.write(kBasePhoto, photo);
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    DragState drag;
    beginDrag(DragTarget::Pelo, 0, 0, bench.state, drag, bench.buffers, bench.services);
    dragTo(1, 0, bench.state, drag, bench.buffers);
    // The ghost: photo XOR hair, the hair one column to the right.
    QCOMPARE(bench.shown(3, 1), colourAt(photo, 3, 1) ^ grey(kHairGrey));
    QCOMPARE(bench.shown(9, 1), colourAt(photo, 9, 1));
    endDrag(bench.state, drag, bench.buffers, bench.services);
    QCOMPARE(bench.shown(3, 1), grey(kHairGrey));
}

void BlendTest::samplesHaveNoDarkRim() {
    // Each sample style over the base photo at natural size. Near the mask's silhouette, a pixel
    // must not be more than 16 darker than both the photo there and the nearest hair pixel that
    // the mask covers fully: a darker one is the cut-out's rim. The same against the nearest
    // inner hair pixel, since the hair picture's outermost pixels are darkened by its black
    // background even where the mask is pure black.
    Bench bench(300, 320, test::TestProgramFolder::Samples);
    const QImage photo = loadPicture(bench.folder.path(kBasePhoto)).picture;
    QVERIFY(!photo.isNull());
    QStringList counts;
    std::ptrdiff_t blendedTotal = 0;
    std::ptrdiff_t exactTotal = 0;
    for (int style = 1; style <= 6; ++style) {
        bench.state.ficheropelo = QStringLiteral("\\pelo%1.jpg").arg(style);
        bench.state.ficheromascara = QStringLiteral("\\mpelo%1.jpg").arg(style);
        const QImage mask = loadPicture(bench.folder.path(bench.state.ficheromascara)).picture;
        const QImage hair = loadPicture(bench.folder.path(bench.state.ficheropelo)).picture;
        QVERIFY(!mask.isNull() && !hair.isNull());
        QCOMPARE(mask.size(), QSize(300, 320));
        const int width = 300;
        const int height = 320;
        auto maskLum = [&](int x, int y) { return luminance(mask.pixel(x, y)); };
        auto inside = [&](int x, int y) { return maskLum(x, y) < 128; };
        // Silhouette: inside pixels with an outside 4-neighbour.
        std::vector<QPoint> edge;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (!inside(x, y)) {
                    continue;
                }
                const bool border =
                    (x > 0 && !inside(x - 1, y)) || (x + 1 < width && !inside(x + 1, y)) ||
                    (y > 0 && !inside(x, y - 1)) || (y + 1 < height && !inside(x, y + 1));
                if (border) {
                    edge.push_back({x, y});
                }
            }
        }
        QVERIFY(!edge.empty());
        std::vector<char> nearEdge(std::size_t(width) * height, 0);
        for (const QPoint& p : edge) {
            for (int dy = -3; dy <= 3; ++dy) {
                for (int dx = -3; dx <= 3; ++dx) {
                    const int x = p.x() + dx;
                    const int y = p.y() + dy;
                    if (dx * dx + dy * dy <= 9 && x >= 0 && y >= 0 && x < width && y < height) {
                        nearEdge[std::size_t(y) * width + x] = 1;
                    }
                }
            }
        }
        // The luminance of the nearest hair pixel that passes `covered` (searched outward ring by
        // ring; among equally near ones, the darkest).
        auto nearestHair = [&](int x, int y, auto covered) {
            for (int r = 0; r < 40; ++r) {
                double best = -1;
                int bestDistance = 0;
                for (int dy = -r; dy <= r; ++dy) {
                    for (int dx = -r; dx <= r; ++dx) {
                        const int d = dx * dx + dy * dy;
                        const int cx = x + dx;
                        const int cy = y + dy;
                        if (d > r * r || (r > 0 && d <= (r - 1) * (r - 1)) || cx < 0 || cy < 0 ||
                            cx >= width || cy >= height || !covered(cx, cy)) {
                            continue;
                        }
                        const double lum = luminance(hair.pixel(cx, cy));
                        if (best < 0 || d < bestDistance || (d == bestDistance && lum < best)) {
                            best = lum;
                            bestDistance = d;
                        }
                    }
                }
                if (best >= 0) {
                    return best;
                }
            }
            return 0.0;
        };
        // Fully covered: the mask black within the snap. Inner: so are all eight neighbours, so
        // the hair picture's colour there is not mixed with its black background.
        auto full = [&](int x, int y) {
            return x < 0 || y < 0 || x >= width || y >= height || maskLum(x, y) <= kMaskSnap;
        };
        auto inner = [&](int x, int y) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    if (!full(x + dx, y + dy)) {
                        return false;
                    }
                }
            }
            return true;
        };
        struct Floor {
            QPoint at;
            double full;   // against the nearest fully covered hair pixel
            double inner;  // against the nearest inner hair pixel
        };
        std::vector<Floor> floors;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                if (nearEdge[std::size_t(y) * width + x]) {
                    const double lum = luminance(photo.pixel(x, y));
                    floors.push_back({{x, y},
                                      std::min(lum, nearestHair(x, y, full)) - 16,
                                      std::min(lum, nearestHair(x, y, inner)) - 16});
                }
            }
        }
        auto rimPixels = [&](const QImage& shown, double Floor::*against) {
            return std::count_if(floors.begin(), floors.end(), [&](const Floor& f) {
                return luminance(shown.pixel(f.at)) < f.*against;
            });
        };
        bench.state.difuminar = false;
        QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
        const QImage exact = bench.buffers.fprincipal.image().copy();
        bench.state.difuminar = true;
        QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
        const QImage& blended = bench.buffers.fprincipal.image();
        const auto exactFull = rimPixels(exact, &Floor::full);
        const auto exactInner = rimPixels(exact, &Floor::inner);
        const auto blendedFull = rimPixels(blended, &Floor::full);
        const auto blendedInner = rimPixels(blended, &Floor::inner);
        counts << QStringLiteral("pelo%1: AND/XOR %2 / %3, blended %4 / %5")
                      .arg(style)
                      .arg(exactFull)
                      .arg(exactInner)
                      .arg(blendedFull)
                      .arg(blendedInner);
        blendedTotal += blendedFull + blendedInner;
        exactTotal += exactInner;
    }
    // Against the nearest fully covered pixel / against the nearest inner pixel.
    qInfo("rim pixels: %s", qPrintable(counts.join(QStringLiteral("; "))));
    QCOMPARE(blendedTotal, 0);
    // The measure does see the cut-out's rim: the hair picture's own outline is dark.
    QVERIFY(exactTotal > 0);
}

QTEST_GUILESS_MAIN(BlendTest)
#include "tst_blend.moc"
