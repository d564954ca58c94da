#include <QtTest>

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>

#include "../face/debian_photo.h"
#include "overlay/blend.h"
#include "overlay/hair_colour.h"
#include "platform/pictures.h"
#include "program/folder_names.h"
#include "test_folder.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::Lab)
Q_DECLARE_METATYPE(crinova::Shade)

namespace {

const Reflejo kTested[] = {Reflejo::Natural, Reflejo::Cobrizo, Reflejo::Caoba, Reflejo::Ceniza};

HairColour plainColour(int level, Reflejo reflejo) {
    HairColour colour;
    colour.shade = {level, reflejo, {}};
    return colour;
}

// L*a*b* of a pixel, remembered: a recoloured hair has few distinct colours.
Lab labOf(QRgb pixel) {
    struct Known {
        QRgb pixel = 0;  // never an opaque pixel
        Lab lab;
    };
    static std::vector<Known> known(1 << 16);
    Known& slot = known[(pixel * 2654435761u) >> 16];
    if (slot.pixel != pixel) {
        slot = {pixel, labFromRgb(pixel)};
    }
    return slot.lab;
}

// The mean L*a*b* of the pixels whose weight (0 ... 255) is full.
Lab meanLab(const QImage& picture, const std::vector<std::uint8_t>& weight) {
    Lab sum;
    double count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (weight[std::size_t(y) * picture.width() + x] == 255) {
                const Lab lab = labOf(picture.pixel(x, y));
                sum = {sum.L + lab.L, sum.a + lab.a, sum.b + lab.b};
                ++count;
            }
        }
    }
    return {sum.L / count, sum.a / count, sum.b / count};
}

// Fine detail: a pixel's L* less the mean of its four neighbours, where all five are full hair.
std::vector<double> fineDetail(const QImage& picture, const std::vector<std::uint8_t>& weight) {
    const int w = picture.width();
    const int h = picture.height();
    std::vector<double> lightness(weight.size());
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            lightness[std::size_t(y) * w + x] = labOf(picture.pixel(x, y)).L;
        }
    }
    std::vector<double> detail(weight.size(), std::nan(""));
    for (int y = 1; y + 1 < h; ++y) {
        for (int x = 1; x + 1 < w; ++x) {
            const std::size_t i = std::size_t(y) * w + x;
            const std::size_t around[] = {i - 1, i + 1, i - std::size_t(w), i + std::size_t(w)};
            if (weight[i] == 255 && std::all_of(std::begin(around), std::end(around),
                                                [&](std::size_t j) { return weight[j] == 255; })) {
                double sum = 0;
                for (const std::size_t j : around) {
                    sum += lightness[j];
                }
                detail[i] = lightness[i] - sum / 4;
            }
        }
    }
    return detail;
}

double correlation(const std::vector<double>& first, const std::vector<double>& second) {
    double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0, n = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (!std::isnan(first[i])) {
            const double a = first[i];
            const double b = second[i];
            sa += a, sb += b, saa += a * a, sbb += b * b, sab += a * b, ++n;
        }
    }
    return (sab - sa * sb / n) / std::sqrt((saa - sa * sa / n) * (sbb - sb * sb / n));
}

// Pixels whose weight is 0 are the same in both pictures.
bool sameOutside(const QImage& first, const QImage& second,
                 const std::vector<std::uint8_t>& weight) {
    for (int y = 0; y < first.height(); ++y) {
        for (int x = 0; x < first.width(); ++x) {
            if (weight[std::size_t(y) * first.width() + x] == 0 &&
                first.pixel(x, y) != second.pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

struct InstalledStyle {
    QImage hair;
    std::vector<std::uint8_t> coverage;
};

InstalledStyle installedStyle(int number) {
    const test::TestProgramFolder folder;
    const QImage hair = loadPicture(folder.path(sampleHairName(number))).picture;
    const QImage mask = loadPicture(folder.path(sampleMaskName(number))).picture;
    return {hair, maskCoverages(mask, hair.size())};
}

}  // namespace

class HairColourTest : public QObject {
    Q_OBJECT
  private slots:
    void colourDifference_data();
    void colourDifference();
    void shadeNames();
    void everyShadeOnEveryInstalledStyle_data();
    void everyShadeOnEveryInstalledStyle();
    void streaksFollowTheStrands_data();
    void streaksFollowTheStrands();
    void awkwardHairAndColours_data();
    void awkwardHairAndColours();
    void ownHairOnARealPhotograph();
};

void HairColourTest::colourDifference_data() {
    QTest::addColumn<Lab>("first");
    QTest::addColumn<Lab>("second");
    QTest::addColumn<double>("expected");
    // Published CIEDE2000 test pairs (Sharma, Wu and Dalal, 2005).
    QTest::newRow("pair 1") << Lab{50, 2.6772, -79.7751} << Lab{50, 0, -82.7485} << 2.0425;
    QTest::newRow("pair 7") << Lab{50, 0, 0} << Lab{50, -1, 2} << 2.3669;
    QTest::newRow("pair 17") << Lab{50, 2.5, 0} << Lab{73, 25, -18} << 27.1492;
    QTest::newRow("pair 20") << Lab{50, 2.5, 0} << Lab{58, 24, 15} << 19.4535;
    // sRGB white, red and the grey of L* 50 against their textbook L*a*b*.
    QTest::newRow("white") << labFromRgb(qRgb(255, 255, 255)) << Lab{100, 0, 0} << 0.0;
    QTest::newRow("red") << labFromRgb(qRgb(255, 0, 0)) << Lab{53.24, 80.09, 67.20} << 0.0;
    QTest::newRow("grey") << labFromRgb(qRgb(119, 119, 119)) << Lab{50.03, 0, 0} << 0.0;
    QTest::newRow("back to red") << labFromRgb(rgbFromLab({53.24, 80.09, 67.20}))
                                 << Lab{53.24, 80.09, 67.20} << 0.0;
}

void HairColourTest::colourDifference() {
    QFETCH(Lab, first);
    QFETCH(Lab, second);
    QFETCH(double, expected);
    QVERIFY2(std::abs(deltaE2000(first, second) - expected) < 0.02,
             qPrintable(QString::number(deltaE2000(first, second))));
}

void HairColourTest::shadeNames() {
    QCOMPARE((Shade{7, Reflejo::Cobrizo, {}}.name()), QStringLiteral("7.4 Rubio medio cobrizo"));
    QCOMPARE((Shade{5, Reflejo::Caoba, {}}.name()), QStringLiteral("5.5 Castaño claro caoba"));
    QCOMPARE((Shade{1, Reflejo::Natural, {}}.name()), QStringLiteral("1 Negro"));
    QCOMPARE((Shade{10, Reflejo::Ceniza, {}}.name()), QStringLiteral("10.1 Rubio platino ceniza"));
    QCOMPARE((Shade{4, Reflejo::Rojo, Lab{50, 60, 40}}.name()), QStringLiteral("Fantasía"));
    QCOMPARE(levelName(2), QStringLiteral("2 Castaño muy oscuro"));
    QCOMPARE(reflejoName(Reflejo::Irisado), QStringLiteral("Irisado"));
}

void HairColourTest::everyShadeOnEveryInstalledStyle_data() {
    QTest::addColumn<int>("number");
    for (int number = 1; number <= 6; ++number) {
        QTest::addRow("pelo%d", number) << number;
    }
}

void HairColourTest::everyShadeOnEveryInstalledStyle() {
    QFETCH(int, number);
    const InstalledStyle installed = installedStyle(number);
    const HairColourStyle style = prepareHairColour(installed.hair, installed.coverage);
    const std::vector<double> ownDetail = fineDetail(installed.hair, installed.coverage);
    for (const Reflejo reflejo : kTested) {
        double lastLightness = -1;
        for (int level = 1; level <= kLevelCount; ++level) {
            const QImage shown = recolourHair(installed.hair, style, plainColour(level, reflejo));
            const QString shade = Shade{level, reflejo, {}}.name();
            const Lab mean = meanLab(shown, installed.coverage);
            const double difference = deltaE2000(mean, shadeTarget(level, reflejo));
            QVERIFY2(difference <= 3, qPrintable(shade + QStringLiteral(": %1").arg(difference)));
            QVERIFY2(mean.L > lastLightness, qPrintable(shade));
            lastLightness = mean.L;
            const double detail = correlation(ownDetail, fineDetail(shown, installed.coverage));
            QVERIFY2(detail >= 0.75, qPrintable(shade + QStringLiteral(": %1").arg(detail)));
            QVERIFY2(sameOutside(installed.hair, shown, installed.coverage), qPrintable(shade));
        }
    }
}

void HairColourTest::streaksFollowTheStrands_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<bool>("clear");
    QTest::newRow("pelo1 long straight") << 1 << true;
    QTest::newRow("pelo2 medium wavy") << 2 << true;
    QTest::newRow("pelo3 short curls") << 3 << false;
    QTest::newRow("pelo4 long wavy") << 4 << true;
    QTest::newRow("pelo5 short straight") << 5 << true;
}

void HairColourTest::streaksFollowTheStrands() {
    QFETCH(int, number);
    QFETCH(bool, clear);
    const InstalledStyle installed = installedStyle(number);
    const HairColourStyle style = prepareHairColour(installed.hair, installed.coverage);
    QCOMPARE(style.clearDirection, clear);
    if (!clear) {
        return;
    }
    // Coverage: the share of the hair's colour that the streaks' shade takes, pixel by pixel the
    // way from the plain shade to the streaks' shade alone.
    HairColour streaked = plainColour(4, Reflejo::Natural);
    const QImage plain = recolourHair(installed.hair, style, streaked);
    const QImage light = recolourHair(installed.hair, style, plainColour(10, Reflejo::Dorado));
    streaked.highlights = Highlights::Mechas;
    streaked.second = {10, Reflejo::Dorado, {}};
    const QImage shown = recolourHair(installed.hair, style, streaked);
    double hair = 0;
    double streak = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            if (installed.coverage[std::size_t(y) * shown.width() + x] == 255) {
                const Lab from = labOf(plain.pixel(x, y));
                ++hair;
                streak += deltaE2000(from, labOf(shown.pixel(x, y))) /
                          deltaE2000(from, labOf(light.pixel(x, y)));
            }
        }
    }
    QVERIFY2(streak / hair >= 0.10 && streak / hair <= 0.40,
             qPrintable(QString::number(streak / hair)));
    QVERIFY(sameOutside(installed.hair, shown, installed.coverage));
}

void HairColourTest::awkwardHairAndColours_data() {
    QTest::addColumn<QRgb>("hairColour");
    QTest::addColumn<int>("hairPixels");
    QTest::addColumn<Shade>("shade");
    QTest::addColumn<double>("lightest");  // the mean L* of the hair at most
    QTest::addColumn<double>("darkest");   // and at least
    const Shade castano{5, Reflejo::Natural, {}};
    QTest::newRow("nearly black hair") << qRgb(3, 2, 2) << 4000 << castano << 43.0 << 37.0;
    QTest::newRow("washed-out hair") << qRgb(200, 198, 196) << 4000 << castano << 43.0 << 37.0;
    QTest::newRow("almost no hair") << qRgb(90, 60, 40) << 3 << castano << 43.0 << 37.0;
    QTest::newRow("no hair") << qRgb(90, 60, 40) << 0 << castano << 0.0 << 0.0;
    QTest::newRow("fantasy black")
        << qRgb(90, 60, 40) << 4000 << Shade{1, {}, Lab{0, 0, 0}} << 3.0 << 0.0;
    QTest::newRow("fantasy white")
        << qRgb(90, 60, 40) << 4000 << Shade{1, {}, Lab{100, 0, 0}} << 100.01 << 90.0;
}

void HairColourTest::awkwardHairAndColours() {
    QFETCH(QRgb, hairColour);
    QFETCH(int, hairPixels);
    QFETCH(Shade, shade);
    QFETCH(double, lightest);
    QFETCH(double, darkest);
    // A flat hair with a little noise, pure black beside it.
    QImage hair(100, 80, QImage::Format_RGB32);
    hair.fill(Qt::black);
    std::vector<std::uint8_t> coverage(100 * 80, 0);
    for (int i = 0; i < hairPixels; ++i) {
        const int noise = (i * 7) % 5;
        hair.setPixel(i % 100, i / 100,
                      qRgb(qRed(hairColour) + noise, qGreen(hairColour), qBlue(hairColour)));
        coverage[std::size_t(i)] = 255;
    }
    const HairColourStyle style = prepareHairColour(hair, coverage);
    HairColour colour;
    colour.shade = shade;
    // Streaks of the same shade: their tracing runs and changes nothing.
    colour.highlights = Highlights::Mechas;
    colour.second = shade;
    const QImage shown = recolourHair(hair, style, colour);
    QVERIFY(sameOutside(hair, shown, coverage));
    if (hairPixels == 0) {
        QCOMPARE(shown, hair);
        return;
    }
    const double lightness = meanLab(shown, coverage).L;
    QVERIFY2(lightness <= lightest && lightness >= darkest, qPrintable(QString::number(lightness)));
}

void HairColourTest::ownHairOnARealPhotograph() {
    const QString file = test::debianPackageFile(
        QStringLiteral(CRINOVA_DEBIAN_PHOTOS), QStringLiteral("python3-skimage"),
        QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png"));
    if (file.isEmpty()) {
        QSKIP("python3-skimage cannot be downloaded here");
    }
    const QImage photo = QImage(file).convertToFormat(QImage::Format_RGB32);
    QCOMPARE(photo.size(), QSize(512, 512));
    // Her hair, drawn by hand inside its outline, clear of the forehead and the cheeks.
    const QPolygonF outline({{160, 75},
                             {167, 50},
                             {190, 30},
                             {230, 20},
                             {266, 28},
                             {288, 50},
                             {293, 75},
                             {290, 103},
                             {280, 113},
                             {273, 95},
                             {268, 70},
                             {230, 64},
                             {195, 67},
                             {180, 80},
                             {174, 103},
                             {163, 98}});
    QImage alpha(photo.size(), QImage::Format_Grayscale8);
    alpha.fill(0);
    QPainter painter(&alpha);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawPolygon(outline);
    painter.end();
    std::vector<std::uint8_t> weight;
    for (int y = 0; y < alpha.height(); ++y) {
        weight.insert(weight.end(), alpha.constScanLine(y), alpha.constScanLine(y) + alpha.width());
    }

    QImage recoloured = photo;
    recolourRegion(recoloured, alpha, plainColour(5, Reflejo::Caoba));
    const double difference =
        deltaE2000(meanLab(recoloured, weight), shadeTarget(5, Reflejo::Caoba));
    QVERIFY2(difference <= 4, qPrintable(QString::number(difference)));
    QVERIFY(sameOutside(photo, recoloured, weight));
}

QTEST_GUILESS_MAIN(HairColourTest)
#include "tst_hair_colour.moc"
