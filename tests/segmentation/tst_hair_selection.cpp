#include <QtTest>

#include <cmath>

#include "catalogue/own_styles.h"
#include "debian_photo.h"
#include "face/photo_preparation.h"
#include "hair_styles.h"
#include "portrait.h"
#include "real_hair.h"
#include "segmentation/hair_selection.h"

using namespace crinova;
using namespace crinova::test;
namespace samples = crinova::samples;

Q_DECLARE_METATYPE(crinova::Stroke)
Q_DECLARE_METATYPE(std::vector<QPointF>)

namespace {

bool on(const QImage& mask, int x, int y) {
    return mask.constScanLine(y)[x] > 127;
}

double overlap(const QImage& a, const QImage& b) {
    int both = 0;
    int either = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            both += on(a, x, y) && on(b, x, y);
            either += on(a, x, y) || on(b, x, y);
        }
    }
    return either ? double(both) / either : 0;
}

// A stylist's correction as a test makes it: a stroke of radius 2 on the largest region the
// selection has wrong, through its deepest pixel along the region's long axis.
Stroke strokeOnLargestError(const QImage& selection, const QImage& truth) {
    const int w = selection.width();
    const int h = selection.height();
    std::vector<int> region(std::size_t(w * h), -1);
    std::vector<std::vector<QPoint>> regions;
    for (int start = 0; start < w * h; ++start) {
        const int sx = start % w;
        const int sy = start / w;
        if (region[start] >= 0 || on(selection, sx, sy) == on(truth, sx, sy)) {
            continue;
        }
        std::vector<QPoint> pixels{{sx, sy}};
        region[start] = int(regions.size());
        for (std::size_t i = 0; i < pixels.size(); ++i) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int x = pixels[i].x() + dx;
                    const int y = pixels[i].y() + dy;
                    if (x >= 0 && y >= 0 && x < w && y < h && region[y * w + x] < 0 &&
                        on(selection, x, y) != on(truth, x, y)) {
                        region[y * w + x] = int(regions.size());
                        pixels.emplace_back(x, y);
                    }
                }
            }
        }
        regions.push_back(std::move(pixels));
    }
    Stroke stroke;
    stroke.radius = 2;
    if (regions.empty()) {
        return stroke;
    }
    const auto largest =
        std::max_element(regions.begin(), regions.end(),
                         [](const auto& a, const auto& b) { return a.size() < b.size(); });
    const int id = int(largest - regions.begin());
    auto inside = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < w && y < h && region[y * w + x] == id;
    };
    double mx = 0, my = 0, sxx = 0, syy = 0, sxy = 0;
    for (const QPoint& p : *largest) {
        mx += p.x();
        my += p.y();
    }
    mx /= largest->size();
    my /= largest->size();
    QPoint deepest = largest->front();
    int depth = -1;
    for (const QPoint& p : *largest) {
        sxx += (p.x() - mx) * (p.x() - mx);
        syy += (p.y() - my) * (p.y() - my);
        sxy += (p.x() - mx) * (p.y() - my);
        int d = 0;
        while (inside(p.x() + d, p.y()) && inside(p.x() - d, p.y()) && inside(p.x(), p.y() + d) &&
               inside(p.x(), p.y() - d)) {
            ++d;
        }
        if (d > depth) {
            depth = d;
            deepest = p;
        }
    }
    const double angle = 0.5 * std::atan2(2 * sxy, sxx - syy);
    stroke.selected = on(truth, deepest.x(), deepest.y());
    for (const int direction : {-1, 1}) {
        std::vector<QPoint> half;
        for (int k = direction < 0 ? 1 : 0;; ++k) {
            const QPoint p(int(std::lround(deepest.x() + direction * k * std::cos(angle))),
                           int(std::lround(deepest.y() + direction * k * std::sin(angle))));
            if (!inside(p.x(), p.y())) {
                break;
            }
            half.push_back(p);
        }
        if (direction < 0) {
            stroke.points.assign(half.rbegin(), half.rend());
        } else {
            stroke.points.insert(stroke.points.end(), half.begin(), half.end());
        }
    }
    return stroke;
}

double lightness(QRgb pixel) {
    auto linear = [](int c) {
        const double v = c / 255.0;
        return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    const double y = 0.2126 * linear(qRed(pixel)) + 0.7152 * linear(qGreen(pixel)) +
                     0.0722 * linear(qBlue(pixel));
    return y > 216.0 / 24389 ? 116 * std::cbrt(y) - 16 : y * 24389.0 / 27;
}

// The mean L* of the soft edge's colour (0.05 < alpha < 0.95) and that of the wholly covered hair
// (alpha >= 0.95) within 6 pixels of it.
std::pair<double, double> edgeAndHairLightness(const QImage& alpha, const QImage& colour) {
    double edge = 0, hair = 0;
    int edges = 0, hairs = 0;
    const auto a = [&](int x, int y) { return alpha.constScanLine(y)[x] / 255.0; };
    for (int y = 0; y < alpha.height(); ++y) {
        for (int x = 0; x < alpha.width(); ++x) {
            if (a(x, y) <= 0.05 || a(x, y) >= 0.95) {
                continue;
            }
            edge += lightness(colour.pixel(x, y));
            ++edges;
            for (int dy = -6; dy <= 6; ++dy) {
                for (int dx = -6; dx <= 6; ++dx) {
                    const int u = x + dx;
                    const int v = y + dy;
                    if (dx * dx + dy * dy <= 36 && u >= 0 && v >= 0 && u < alpha.width() &&
                        v < alpha.height() && a(u, v) >= 0.95) {
                        hair += lightness(colour.pixel(u, v));
                        ++hairs;
                    }
                }
            }
        }
    }
    return {edges ? edge / edges : 0, hairs ? hair / hairs : 0};
}

// The astronaut as a camera would give her: 3000 x 3000, 1.5 EV darker, turned by 5 degrees;
// `toPhoto` maps the original's pixels onto it.
QString cameraSizedAstronaut(const QString& original, const QString& folder, QTransform* toPhoto) {
    QImage big = QImage(original)
                     .convertToFormat(QImage::Format_RGB32)
                     .scaled(3000, 3000, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    int darker[256];
    for (int i = 0; i < 256; ++i) {
        const double v = i / 255.0;
        const double linear =
            (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4)) * std::pow(2.0, -1.5);
        const double back =
            linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
        darker[i] = int(std::lround(back * 255));
    }
    for (int y = 0; y < big.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(big.scanLine(y));
        for (int x = 0; x < big.width(); ++x) {
            line[x] = qRgb(darker[qRed(line[x])], darker[qGreen(line[x])], darker[qBlue(line[x])]);
        }
    }
    QTransform turn;
    turn.rotate(5);
    *toPhoto = QTransform::fromScale(3000 / 512.0, 3000 / 512.0) *
               QImage::trueMatrix(turn, big.width(), big.height());
    const QString path = folder + QStringLiteral("/camara.jpg");
    big.transformed(turn, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_RGB32)
        .save(path, "jpg", 90);
    return path;
}

}  // namespace

class TestHairSelection : public QObject {
    Q_OBJECT

  private slots:
    void strokeFootprint_data();
    void strokeFootprint();
    void strokesAsData();
    void undoAndStartOver();
    void realPhotographs_data();
    void realPhotographs();
};

void TestHairSelection::strokeFootprint_data() {
    QTest::addColumn<Stroke>("stroke");
    QTest::addColumn<QList<QPoint>>("covered");
    QList<QPoint> disc;  // radius 2 around (5, 5): the 13 pixels with dx^2 + dy^2 <= 4
    for (int dy = -2; dy <= 2; ++dy) {
        for (int dx = -2; dx <= 2; ++dx) {
            if (dx * dx + dy * dy <= 4) {
                disc << QPoint(5 + dx, 5 + dy);
            }
        }
    }
    QTest::newRow("a point stamps a disc") << Stroke{true, 2, {{5, 5}}} << disc;
    QList<QPoint> segment;  // radius 1 along (2, 3)-(6, 3): ends rounded
    for (int x = 1; x <= 7; ++x) {
        segment << QPoint(x, 3);
    }
    for (int x = 2; x <= 6; ++x) {
        segment << QPoint(x, 2) << QPoint(x, 4);
    }
    QTest::newRow("a segment with round ends") << Stroke{false, 1, {{2, 3}, {6, 3}}} << segment;
    QTest::newRow("beyond the picture")
        << Stroke{true, 1, {{0, 0}}} << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}};
}

void TestHairSelection::strokeFootprint() {
    QFETCH(Stroke, stroke);
    QFETCH(QList<QPoint>, covered);
    QImage labels(10, 10, QImage::Format_Grayscale8);
    labels.fill(uchar(PixelLabel::ProbablySelected));
    stampStroke(labels, stroke);
    const uchar mark = uchar(stroke.selected ? PixelLabel::Selected : PixelLabel::Background);
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const uchar expected =
                covered.contains(QPoint(x, y)) ? mark : uchar(PixelLabel::ProbablySelected);
            QVERIFY2(labels.constScanLine(y)[x] == expected,
                     qPrintable(QStringLiteral("(%1, %2)").arg(x).arg(y)));
        }
    }
}

void TestHairSelection::strokesAsData() {
    const std::vector<Stroke> strokes{{true, 2, {{1, 2}, {3, 4}}}, {false, 8, {{300, 0}}}};
    QVERIFY(strokesFromJson(strokesToJson(strokes)) == std::optional(strokes));
    QVERIFY(!strokesFromJson(
        QJsonDocument::fromJson(R"([{"pelo": true, "radio": 4, "puntos": [[1]]}])").array()));
    QVERIFY(!strokesFromJson(
        QJsonDocument::fromJson(R"([{"pelo": 1, "radio": 4, "puntos": []}])").array()));
}

void TestHairSelection::undoAndStartOver() {
    // A drawn model wearing a drawn style: her eyes are the frame's.
    samples::HairStyle style;
    style.length = samples::Length::Medium;
    style.texture = samples::Texture::Wavy;
    style.colour = QColor(0x6a, 0x40, 0x24);
    const QImage portrait = samples::drawPortrait(samples::modelLook(), style, kStyleSize);
    HairSelection selection;
    selection.start(AlignedPhoto{portrait, modelEyes(), {}, {}});
    QVERIFY(selection.started());
    const QImage automatic = selection.hardMask();
    const Stroke away{false, 8, {{150, 60}, {150, 90}}};
    selection.addStroke(away);
    QCOMPARE(selection.strokes().size(), std::size_t(1));
    QCOMPARE(qGray(selection.hardMask().pixel(150, 75)), 0);
    selection.addStroke(Stroke{true, 4, {{40, 300}}});
    const QImage twoStrokes = selection.hardMask();
    QVERIFY(selection.undo());
    selection.addStroke(Stroke{true, 4, {{40, 300}}});
    QCOMPARE(selection.hardMask(), twoStrokes);  // replayed, the same
    selection.reset();
    QVERIFY(selection.strokes().empty());
    QCOMPARE(selection.hardMask(), automatic);
    QVERIFY(!selection.undo());
}

void TestHairSelection::realPhotographs_data() {
    QTest::addColumn<QString>("package");
    QTest::addColumn<QString>("file");
    QTest::addColumn<std::vector<QPointF>>("outline");
    QTest::addColumn<bool>("camera");
    QTest::addColumn<double>("automatic");  // the overlap the automatic selection reaches
    QTest::addColumn<int>("strokes");       // how many strokes may bring it to 0.90
    const QString astronaut =
        QStringLiteral("/usr/lib/python3/dist-packages/skimage/data/astronaut.png");
    QTest::newRow("astronaut, with her flag")
        << QStringLiteral("python3-skimage") << astronaut << kAstronautHair << false << 0.90 << 0;
    QTest::newRow("man with short dark hair before foliage")
        << QStringLiteral("opencv-doc")
        << QStringLiteral("/usr/share/doc/opencv-doc/opencv4/html/230501201_1.jpg") << kManHair
        << false << 0.75 << 8;
    QTest::newRow("astronaut, camera-sized, darker, turned")
        << QStringLiteral("python3-skimage") << astronaut << kAstronautHair << true << 0.90 << 0;
}

void TestHairSelection::realPhotographs() {
    QFETCH(QString, package);
    QFETCH(QString, file);
    QFETCH(std::vector<QPointF>, outline);
    QFETCH(bool, camera);
    QFETCH(double, automatic);
    QFETCH(int, strokes);
    QString path = test::debianPackageFile(QStringLiteral(CRINOVA_DEBIAN_PHOTOS), package, file);
    if (path.isEmpty()) {
        QSKIP("the package could not be downloaded");
    }
    QTemporaryDir folder;
    QTransform toPhoto;
    if (camera) {
        path = cameraSizedAstronaut(path, folder.path(), &toPhoto);
    }
    const SourcePhoto photo = loadSourcePhoto(path);
    QVERIFY2(!photo.picture.isNull(), qPrintable(photo.error));
    const EyeSearch search = findEyesReduced(photo.picture);
    QVERIFY(search.eyes.has_value());
    HairSelection selection;
    selection.start(alignPhoto(photo.picture, *search.eyes, modelEyes(), kStyleSize));
    const QImage truth =
        outlineOnFrame(outline, toPhoto * QTransform::fromScale(photo.scale, photo.scale) *
                                    eyeAlignment(*search.eyes, modelEyes()));
    const double first = overlap(selection.hardMask(), truth);
    QVERIFY2(first >= automatic, qPrintable(QString::number(first)));

    // No halo: the strands at the edge are no lighter than the hair beside them.
    const auto [edge, hair] = edgeAndHairLightness(selection.alpha(), selection.colour());
    QVERIFY2(edge <= hair + 6, qPrintable(QStringLiteral("%1 %2").arg(edge).arg(hair)));

    double reached = first;
    for (int i = 0; i < strokes && reached < 0.90; ++i) {
        selection.addStroke(strokeOnLargestError(selection.hardMask(), truth));
        reached = overlap(selection.hardMask(), truth);
    }
    QVERIFY2(reached >= 0.90, qPrintable(QString::number(reached)));
}

QTEST_MAIN(TestHairSelection)
#include "tst_hair_selection.moc"
