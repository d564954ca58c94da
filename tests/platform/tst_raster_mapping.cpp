#include <QRandomGenerator>
#include <QtTest>

#include "platform/raster.h"

using namespace crinova;

namespace {

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
QString firstDifference(const QImage& actual, const QImage& expected) {
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

class RasterMappingTest : public QObject {
    Q_OBJECT
  private slots:
    void transfersFollowTheMapping_data();
    void transfersFollowTheMapping();
};

void RasterMappingTest::transfersFollowTheMapping_data() {
    QTest::addColumn<int>("scale");
    // Extents in the ratios taken on their own paths, and any other ratio.
    QTest::newRow("one to one") << 1;
    QTest::newRow("doubled") << 2;
    QTest::newRow("halved") << -2;
    QTest::newRow("any ratio") << 0;
}

void RasterMappingTest::transfersFollowTheMapping() {
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
        const QString difference = firstDifference(dest, expected);
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

QTEST_GUILESS_MAIN(RasterMappingTest)
#include "tst_raster_mapping.moc"
