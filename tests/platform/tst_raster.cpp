#include <QRandomGenerator>
#include <QtTest>

#include "image_compare.h"
#include "platform/raster.h"
#include "platform/surface.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;

namespace {

// Colours as 0x00BBGGRR.
constexpr Colour A = 0x00102030;
constexpr Colour B = 0x00405060;
constexpr Colour C = 0x00708090;
constexpr Colour D = 0x00A0B0C0;
constexpr Colour Bg = 0x00FFFFFF;

// A one-row picture of the given colours.
QImage row(std::initializer_list<Colour> colours) {
    QImage picture(static_cast<int>(colours.size()), 1, QImage::Format_RGB32);
    int x = 0;
    for (const Colour colour : colours) {
        picture.setPixel(x++, 0, toPixel(colour));
    }
    return picture;
}

QImage column(std::initializer_list<Colour> colours) {
    QImage picture(1, static_cast<int>(colours.size()), QImage::Format_RGB32);
    int y = 0;
    for (const Colour colour : colours) {
        picture.setPixel(0, y++, toPixel(colour));
    }
    return picture;
}

QList<Colour> rowColours(const QImage& picture, int y = 0) {
    QList<Colour> colours;
    for (int x = 0; x < picture.width(); ++x) {
        colours << colourAt(picture, x, y);
    }
    return colours;
}

// One transfer, pixel by pixel, straight from the definition of the mapping: for every k and l, the
// destination pixel and the source pixel it takes, both checked against their pictures.
void referenceTransfer(QImage& dest, int x, int y, int width, int height, const QImage& source,
                       int sx, int sy, int swidth, int sheight, RasterOp op) {
    const QImage original = source.copy();  // the source may be the destination
    const std::int64_t w = std::abs(width), h = std::abs(height);
    const std::int64_t sw = std::abs(swidth), sh = std::abs(sheight);
    for (std::int64_t l = 0; l < h; ++l) {
        const std::int64_t dy = height > 0 ? y + l : y - 1 - l;
        const std::int64_t j = l * sh / h;
        const std::int64_t fy = sheight > 0 ? sy + j : sy - 1 - j;
        for (std::int64_t k = 0; k < w; ++k) {
            const std::int64_t dx = width > 0 ? x + k : x - 1 - k;
            const std::int64_t i = k * sw / w;
            const std::int64_t fx = swidth > 0 ? sx + i : sx - 1 - i;
            if (dx < 0 || dy < 0 || dx >= dest.width() || dy >= dest.height() || fx < 0 || fy < 0 ||
                fx >= original.width() || fy >= original.height()) {
                continue;
            }
            const QRgb from = original.pixel(int(fx), int(fy));
            QRgb& to = reinterpret_cast<QRgb*>(dest.scanLine(int(dy)))[dx];
            switch (op) {
                case SRCCOPY:
                    to = from;
                    break;
                case SRCAND:
                    to = (to & from) | 0xFF000000u;
                    break;
                case SRCINVERT:
                    to = (to ^ from) | 0xFF000000u;
                    break;
            }
        }
    }
}

QImage noise(QRandomGenerator& random, int width, int height) {
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture.scanLine(y));
        for (int x = 0; x < width; ++x) {
            line[x] = random.generate() | 0xFF000000u;
        }
    }
    return picture;
}

// The first pixel, alpha included, where two pictures differ; empty when they are the same.
QString differenceWithAlpha(const QImage& actual, const QImage& expected) {
    for (int y = 0; y < expected.height(); ++y) {
        for (int x = 0; x < expected.width(); ++x) {
            if (actual.pixel(x, y) != expected.pixel(x, y)) {
                return QStringLiteral("(%1, %2): %3 instead of %4")
                    .arg(x)
                    .arg(y)
                    .arg(actual.pixel(x, y), 8, 16, QLatin1Char('0'))
                    .arg(expected.pixel(x, y), 8, 16, QLatin1Char('0'));
            }
        }
    }
    return {};
}

}  // namespace

class RasterTest : public QObject {
    Q_OBJECT
  private slots:
    void operationsCombineBits_data();
    void operationsCombineBits();
    void unknownOperationDrawsNothing();
    void colourConversionsRoundTrip();
    void extentsPlaceAndMirror_data();
    void extentsPlaceAndMirror();
    void verticalMirror();
    void zeroExtentsDrawNothing();
    void clippingAtEveryEdge_data();
    void clippingAtEveryEdge();
    void sourceOutsideItsPictureIsSkipped();
    void copyOntoItselfReadsTheOriginal();
    void pixelsReadAndWritten();
    void surfaceShowsPictureOverBackground();
    void surfaceKeepsItsSizeForAnyPicture_data();
    void surfaceKeepsItsSizeForAnyPicture();
    void visiblePictureLosesDrawingOnRepaint();
    void transfersFollowTheMapping_data();
    void transfersFollowTheMapping();
};

void RasterTest::operationsCombineBits_data() {
    QTest::addColumn<quint32>("op");
    QTest::addColumn<quint32>("expected");
    // destination 0x00F0F0F0, source 0x003C5A0F, worked bit by bit per byte
    QTest::newRow("SRCCOPY takes the source") << quint32(SRCCOPY) << quint32(0x003C5A0F);
    QTest::newRow("SRCAND: F0&3C=30, F0&5A=50, F0&0F=00") << quint32(SRCAND) << quint32(0x00305000);
    QTest::newRow("SRCINVERT: F0^3C=CC, F0^5A=AA, F0^0F=FF")
        << quint32(SRCINVERT) << quint32(0x00CCAAFF);
}

void RasterTest::operationsCombineBits() {
    QFETCH(quint32, op);
    QFETCH(quint32, expected);
    QImage dest = solidPicture(1, 1, 0x00F0F0F0);
    const QImage source = solidPicture(1, 1, 0x003C5A0F);
    QVERIFY(BitBlt(dest, 0, 0, 1, 1, source, 0, 0, static_cast<RasterOp>(op)));
    QCOMPARE(colourAt(dest, 0, 0), expected);
    QCOMPARE(qAlpha(dest.pixel(0, 0)), 255);  // an exclusive-or never makes a pixel transparent
}

void RasterTest::unknownOperationDrawsNothing() {
    QImage dest = solidPicture(2, 2, Bg);
    QVERIFY(!StretchBlt(dest, 0, 0, 2, 2, solidPicture(2, 2, A), 0, 0, 2, 2,
                        static_cast<RasterOp>(0x00EE0086)));
    COMPARE_IMAGES(dest, solidPicture(2, 2, Bg));
}

void RasterTest::colourConversionsRoundTrip() {
    QCOMPARE(toPixel(0x000000FF), QRgb(0xFFFF0000));  // red is the low byte of a colour
    QCOMPARE(toColour(qRgb(0x12, 0x34, 0x56)), Colour(0x00563412));
    QCOMPARE(toColour(toPixel(D)), D);
}

void RasterTest::extentsPlaceAndMirror_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("sx");
    QTest::addColumn<int>("swidth");
    QTest::addColumn<QList<Colour>>("expected");
    // Source row A B C; destination five pixels wide on white.
    QTest::newRow("one to one at 1") << 1 << 3 << 0 << 3 << QList<Colour>{Bg, A, B, C, Bg};
    QTest::newRow("negative width mirrors leftwards from x")
        << 4 << -3 << 0 << 3 << QList<Colour>{Bg, C, B, A, Bg};
    QTest::newRow("negative source width mirrors")
        << 0 << 3 << 3 << -3 << QList<Colour>{C, B, A, Bg, Bg};
    QTest::newRow("both negative do not mirror")
        << 3 << -3 << 3 << -3 << QList<Colour>{A, B, C, Bg, Bg};
    QTest::newRow("two widened to five takes floor(k * 2 / 5)")
        << 0 << 5 << 0 << 2 << QList<Colour>{A, A, A, B, B};
    QTest::newRow("stretch by exactly two") << 1 << 4 << 1 << 2 << QList<Colour>{Bg, B, B, C, C};
    QTest::newRow("shrink by exactly three takes the first of each three")
        << 0 << 1 << 0 << 3 << QList<Colour>{A, Bg, Bg, Bg, Bg};
    QTest::newRow("mirrored stretch by two") << 4 << -4 << 0 << 2 << QList<Colour>{B, B, A, A, Bg};
}

void RasterTest::extentsPlaceAndMirror() {
    QFETCH(int, x);
    QFETCH(int, width);
    QFETCH(int, sx);
    QFETCH(int, swidth);
    QFETCH(QList<Colour>, expected);
    QImage dest = solidPicture(5, 1, Bg);
    QVERIFY(StretchBlt(dest, x, 0, width, 1, row({A, B, C}), sx, 0, swidth, 1, SRCCOPY));
    QCOMPARE(rowColours(dest), expected);
}

void RasterTest::verticalMirror() {
    QImage dest = solidPicture(1, 4, Bg);
    StretchBlt(dest, 0, 3, 1, -3, column({A, B, C}), 0, 0, 1, 3, SRCCOPY);
    QCOMPARE(colourAt(dest, 0, 0), C);
    QCOMPARE(colourAt(dest, 0, 1), B);
    QCOMPARE(colourAt(dest, 0, 2), A);
    QCOMPARE(colourAt(dest, 0, 3), Bg);

    // Shrinking a 4-row column to 2 rows takes rows 0 and 2.
    QImage half = solidPicture(1, 2, Bg);
    StretchBlt(half, 0, 0, 1, 2, column({A, B, C, D}), 0, 0, 1, 4, SRCCOPY);
    QCOMPARE(colourAt(half, 0, 0), A);
    QCOMPARE(colourAt(half, 0, 1), C);
}

void RasterTest::zeroExtentsDrawNothing() {
    const QImage source = solidPicture(3, 3, A);
    for (const auto& extents : {std::array{0, 3, 3, 3}, std::array{3, 0, 3, 3},
                                std::array{3, 3, 0, 3}, std::array{3, 3, 3, 0}}) {
        QImage dest = solidPicture(3, 3, Bg);
        QVERIFY(StretchBlt(dest, 0, 0, extents[0], extents[1], source, 0, 0, extents[2], extents[3],
                           SRCCOPY));
        COMPARE_IMAGES(dest, solidPicture(3, 3, Bg));
    }
}

void RasterTest::clippingAtEveryEdge_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<QPoint>("destPixel");
    QTest::addColumn<QPoint>("sourcePixel");
    QTest::addColumn<int>("drawnCount");
    // A 3 x 3 source of distinct pixels onto a 4 x 4 destination.
    QTest::newRow("past the left and top") << -1 << -1 << QPoint(0, 0) << QPoint(1, 1) << 4;
    QTest::newRow("past the right and bottom") << 2 << 2 << QPoint(3, 3) << QPoint(1, 1) << 4;
    QTest::newRow("past the right only") << 3 << 0 << QPoint(3, 2) << QPoint(0, 2) << 3;
    QTest::newRow("past the bottom only") << 1 << 3 << QPoint(3, 3) << QPoint(2, 0) << 3;
    QTest::newRow("wholly outside") << 10 << -10 << QPoint(0, 0) << QPoint(-1, -1) << 0;
    QTest::newRow("far beyond 16 bits") << -70000 << 70000 << QPoint(0, 0) << QPoint(-1, -1) << 0;
}

void RasterTest::clippingAtEveryEdge() {
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(QPoint, destPixel);
    QFETCH(QPoint, sourcePixel);
    QFETCH(int, drawnCount);
    QImage source(3, 3, QImage::Format_RGB32);
    for (int sy = 0; sy < 3; ++sy) {
        for (int sx = 0; sx < 3; ++sx) {
            source.setPixel(sx, sy, toPixel(0x00000010u * (sy * 3 + sx + 1)));
        }
    }
    QImage dest = solidPicture(4, 4, Bg);
    QVERIFY(BitBlt(dest, x, y, 3, 3, source, 0, 0, SRCCOPY));
    int drawn = 0;
    for (int dy = 0; dy < 4; ++dy) {
        for (int dx = 0; dx < 4; ++dx) {
            drawn += colourAt(dest, dx, dy) != Bg;
        }
    }
    QCOMPARE(drawn, drawnCount);
    if (sourcePixel.x() >= 0) {
        QCOMPARE(colourAt(dest, destPixel.x(), destPixel.y()),
                 colourAt(source, sourcePixel.x(), sourcePixel.y()));
    }
}

void RasterTest::sourceOutsideItsPictureIsSkipped() {
    QImage dest = solidPicture(3, 1, Bg);
    StretchBlt(dest, 0, 0, 3, 1, row({A, B}), -1, 0, 3, 1, SRCCOPY);
    QCOMPARE(rowColours(dest), (QList<Colour>{Bg, A, B}));
}

void RasterTest::copyOntoItselfReadsTheOriginal() {
    Surface surface(3, 1);
    surface.SetPicture(row({A, B, C}));
    BitBlt(surface, 1, 0, 2, 1, surface, 0, 0, SRCCOPY);
    QCOMPARE(rowColours(surface.image()), (QList<Colour>{A, A, B}));
}

void RasterTest::pixelsReadAndWritten() {
    Surface surface(2, 2, 0x00C0C0C0);
    QCOMPARE(GetPixel(surface, 1, 1), Colour(0x00C0C0C0));
    QCOMPARE(GetPixel(surface, 2, 0), kClrInvalid);
    QCOMPARE(GetPixel(surface, 0, -1), kClrInvalid);
    QCOMPARE(SetPixel(surface, 0, 1, 0x000000FF), Colour(0x000000FF));
    QCOMPARE(GetPixel(surface, 0, 1), Colour(0x000000FF));
    QCOMPARE(surface.image().pixel(0, 1), QRgb(0xFFFF0000));
    QCOMPARE(SetPixel(surface, 5, 5, 0x000000FF), kClrInvalid);
    QVERIFY(SetPixelV(surface, 1, 0, 0x00FF0000));
    QCOMPARE(GetPixel(surface, 1, 0), Colour(0x00FF0000));
    QVERIFY(!SetPixelV(surface, -1, 0, 0x00FF0000));
}

void RasterTest::surfaceShowsPictureOverBackground() {
    Surface surface(3, 2);
    QCOMPARE(GetPixel(surface, 2, 1), kWindowBackground);
    surface.SetPicture(solidPicture(2, 1, A));
    QCOMPARE(GetPixel(surface, 1, 0), A);
    QCOMPARE(GetPixel(surface, 2, 0), kWindowBackground);
    QCOMPARE(GetPixel(surface, 0, 1), kWindowBackground);
    SetPixel(surface, 0, 1, B);
    surface.Cls();  // drawing goes, the stored picture stays
    QCOMPARE(GetPixel(surface, 0, 1), kWindowBackground);
    QCOMPARE(GetPixel(surface, 0, 0), A);
    surface.EmptyPicture();
    QVERIFY(!surface.HasPicture());
    QCOMPARE(GetPixel(surface, 0, 0), kWindowBackground);
}

void RasterTest::surfaceKeepsItsSizeForAnyPicture_data() {
    QTest::addColumn<QSize>("pictureSize");
    QTest::newRow("1 x 1") << QSize(1, 1);
    QTest::newRow("5000 x 5000") << QSize(5000, 5000);
    QTest::newRow("wider, lower") << QSize(400, 10);
}

void RasterTest::surfaceKeepsItsSizeForAnyPicture() {
    QFETCH(QSize, pictureSize);
    Surface surface(300, 320);
    surface.SetPicture(solidPicture(pictureSize.width(), pictureSize.height(), A));
    QCOMPARE(surface.ScaleWidth(), 300);
    QCOMPARE(surface.ScaleHeight(), 320);
    QCOMPARE(GetPixel(surface, 0, 0), A);
    const bool covered = pictureSize.width() >= 300 && pictureSize.height() >= 320;
    QCOMPARE(GetPixel(surface, 299, 319), covered ? A : kWindowBackground);
}

void RasterTest::visiblePictureLosesDrawingOnRepaint() {
    Surface visible(2, 1, kWindowBackground, false);
    Surface hidden(2, 1);
    visible.SetPicture(solidPicture(2, 1, A));
    hidden.SetPicture(solidPicture(2, 1, A));
    int changes = 0;
    visible.setChangedCallback([&] { ++changes; });
    BitBlt(visible, 0, 0, 1, 1, Surface(1, 1, C), 0, 0, SRCCOPY);
    BitBlt(hidden, 0, 0, 1, 1, Surface(1, 1, C), 0, 0, SRCCOPY);
    QCOMPARE(changes, 1);
    visible.RepaintFromStoredPicture();
    hidden.RepaintFromStoredPicture();
    QCOMPARE(GetPixel(visible, 0, 0), A);
    QCOMPARE(GetPixel(hidden, 0, 0), C);
}

void RasterTest::transfersFollowTheMapping_data() {
    QTest::addColumn<int>("scale");
    // Extents in the ratios taken on their own paths, and any other ratio.
    QTest::newRow("one to one") << 1;
    QTest::newRow("doubled") << 2;
    QTest::newRow("halved") << -2;
    QTest::newRow("any ratio") << 0;
}

void RasterTest::transfersFollowTheMapping() {
    QFETCH(int, scale);
    QRandomGenerator random(quint32(1000 + scale));
    const RasterOp ops[] = {SRCCOPY, SRCAND, SRCINVERT};
    auto between = [&](int low, int high) { return random.bounded(low, high + 1); };
    auto signOf = [&] { return random.bounded(2) == 0 ? 1 : -1; };
    for (int trial = 0; trial < 1500; ++trial) {
        const bool ontoItself = trial % 10 == 0;
        QImage dest = noise(random, between(1, 40), between(1, 40));
        // Now and then whole rows of two pictures of one width, as the composition copies them.
        const bool wholeRows = scale == 1 && trial % 10 == 1;
        const QImage other =
            noise(random, wholeRows ? dest.width() : between(1, 40), between(1, 40));
        const QImage& source = ontoItself ? dest : other;
        const int sourceWidth = source.width(), sourceHeight = source.height();
        // Source extents around the source's size, destination extents by the scale.
        const int swidth = signOf() * (wholeRows ? sourceWidth : between(1, sourceWidth + 4));
        const int sheight = signOf() * between(1, sourceHeight + 4);
        auto scaled = [&](int extent) {
            const int size = std::abs(extent);
            switch (scale) {
                case 1:
                    return size;
                case 2:
                    return 2 * size;
                case -2:
                    return std::max(1, size / 2);
                default:
                    return between(1, 80);
            }
        };
        const int width = signOf() * scaled(swidth);
        const int height = signOf() * scaled(sheight);
        int x = between(-50, 50), sx = between(-8, sourceWidth + 8);
        const int y = between(-50, 50), sy = between(-8, sourceHeight + 8);
        if (wholeRows) {
            x = width > 0 ? 0 : dest.width();
            sx = swidth > 0 ? 0 : sourceWidth;
        }
        const RasterOp op = ops[random.bounded(3)];

        QImage expected = dest.copy();
        referenceTransfer(expected, x, y, width, height, source, sx, sy, swidth, sheight, op);
        QVERIFY(StretchBlt(dest, x, y, width, height, source, sx, sy, swidth, sheight, op));
        const QString difference = differenceWithAlpha(dest, expected);
        QVERIFY2(difference.isEmpty(),
                 qPrintable(QStringLiteral("trial %1, op %2, dest (%3, %4, %5, %6) source (%7, "
                                           "%8, %9, %10) of %11 x %12: %13")
                                .arg(trial)
                                .arg(op, 0, 16)
                                .arg(x)
                                .arg(y)
                                .arg(width)
                                .arg(height)
                                .arg(sx)
                                .arg(sy)
                                .arg(swidth)
                                .arg(sheight)
                                .arg(sourceWidth)
                                .arg(sourceHeight)
                                .arg(difference)));
    }
}

QTEST_GUILESS_MAIN(RasterTest)
#include "tst_raster.moc"
