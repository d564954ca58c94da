#include <QtTest>

#include "image_compare.h"
#include "printing/print_layouts.h"

using namespace crinova;
using crinova::test::solidPicture;

namespace {

// A preview holding `count` stored photos.
PrintPreview previewWith(int count) {
    PrintPreview preview;
    for (int i = 0; i < count; ++i) {
        preview.fotos[static_cast<std::size_t>(i)].picture = solidPicture(3, 3, 0x00000011u * i);
        preview.fseleccion[static_cast<std::size_t>(i)] = solidPicture(3, 3, 0x00000011u * i);
    }
    preview.build(Arrangement::Una);
    return preview;
}

}  // namespace

namespace crinova {
// Names the rectangle when a comparison fails.
char* toString(const TwipsRect& rect) {
    return QTest::toString(QStringLiteral("(%1, %2, %3 x %4)")
                               .arg(rect.left)
                               .arg(rect.top)
                               .arg(rect.width)
                               .arg(rect.height));
}
}  // namespace crinova

Q_DECLARE_METATYPE(crinova::TwipsRect)

class PrintLayoutsTest : public QObject {
    Q_OBJECT
  private slots:
    void offeredArrangementsDivideTheCount_data();
    void offeredArrangementsDivideTheCount();
    void layoutsOfTheTable_data();
    void layoutsOfTheTable();
    void checkBoxesFollowTheArrangement();
    void distortionChangesTheShownImages();
    void reductionStopsAtFiftyTwips();
};

void PrintLayoutsTest::offeredArrangementsDivideTheCount_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("arrangements");
    QTest::newRow("1") << 1 << QList<int>{1};
    QTest::newRow("2") << 2 << QList<int>{1, 2};
    QTest::newRow("3") << 3 << QList<int>{1, 3};
    QTest::newRow("4: Dos and Cuatro, not Tres") << 4 << QList<int>{1, 2, 4};
    QTest::newRow("5") << 5 << QList<int>{1, 5};
    QTest::newRow("6") << 6 << QList<int>{1, 2, 3, 6};
}

void PrintLayoutsTest::offeredArrangementsDivideTheCount() {
    QFETCH(int, count);
    QFETCH(QList<int>, arrangements);
    QList<int> found;
    for (int n = 1; n <= 6; ++n) {
        if (offered(static_cast<Arrangement>(n), count)) {
            found << n;
        }
    }
    QCOMPARE(found, arrangements);
}

void PrintLayoutsTest::layoutsOfTheTable_data() {
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<int>("image");
    QTest::addColumn<TwipsRect>("rect");
    struct Row {
        const char* name;
        int arrangement, image;
        TwipsRect rect;
    };
    // The preview table, image by image: Left, Top, Width, Height in twips.
    const Row rows[] = {
        {"Una 0", 1, 0, {120, 1110, 5000, 5415}},    {"Dos 0", 2, 0, {1250, 1110, 2500, 2700}},
        {"Dos 1", 2, 1, {1250, 4000, 2500, 2700}},   {"Tres 0", 3, 0, {100, 1110, 2500, 2600}},
        {"Tres 1", 3, 1, {3000, 1110, 2500, 2600}},  {"Tres 2", 3, 2, {1500, 4000, 2500, 2600}},
        {"Cuatro 0", 4, 0, {100, 1110, 2500, 2600}}, {"Cuatro 1", 4, 1, {3000, 1110, 2500, 2600}},
        {"Cuatro 2", 4, 2, {100, 4000, 2500, 2600}}, {"Cuatro 3", 4, 3, {3000, 4000, 2500, 2600}},
        {"Cinco 0", 5, 0, {350, 1110, 1600, 1700}},  {"Cinco 1", 5, 1, {3000, 1110, 1600, 1700}},
        {"Cinco 2", 5, 2, {1650, 3000, 1600, 1700}}, {"Cinco 3", 5, 3, {350, 4900, 1600, 1700}},
        {"Cinco 4", 5, 4, {3000, 4900, 1600, 1700}}, {"Seis 0", 6, 0, {350, 1110, 1600, 1700}},
        {"Seis 1", 6, 1, {3000, 1110, 1600, 1700}},  {"Seis 2", 6, 2, {350, 3000, 1600, 1700}},
        {"Seis 3", 6, 3, {3000, 3000, 1600, 1700}},  {"Seis 4", 6, 4, {350, 4900, 1600, 1700}},
        {"Seis 5", 6, 5, {3000, 4900, 1600, 1700}},
    };
    for (const Row& row : rows) {
        QTest::newRow(row.name) << row.arrangement << row.image << row.rect;
    }
}

void PrintLayoutsTest::layoutsOfTheTable() {
    QFETCH(int, arrangement);
    QFETCH(int, image);
    QFETCH(TwipsRect, rect);
    const auto chosen = static_cast<Arrangement>(arrangement);
    const std::vector<TwipsRect> layout = previewLayout(chosen);
    QCOMPARE(layout.size(), std::size_t(arrangement));  // n images for n photos a page
    QCOMPARE(layout[static_cast<std::size_t>(image)], rect);
    // Building the arrangement places and shows the image there.
    PrintPreview preview = previewWith(6);
    preview.build(chosen);
    QCOMPARE(preview.fotos[static_cast<std::size_t>(image)].rect, rect);
    QVERIFY(preview.fotos[static_cast<std::size_t>(image)].visible);
    if (arrangement < 6) {
        QVERIFY(!preview.fotos[static_cast<std::size_t>(arrangement)].visible);
    }
}

void PrintLayoutsTest::checkBoxesFollowTheArrangement() {
    PrintPreview preview = previewWith(3);
    QVERIFY(preview.cseleccion[2].enabled);
    QVERIFY(!preview.cseleccion[3].enabled);  // no photo 4
    preview.cseleccion[1].ticked = true;
    preview.build(Arrangement::Tres);
    for (std::size_t i = 0; i < 3; ++i) {
        QVERIFY(!preview.cseleccion[i].enabled);
        QVERIFY(!preview.cseleccion[i].ticked);
    }
    QVERIFY(preview.fotos[2].visible);
    QVERIFY(!preview.fotos[3].visible);
    preview.build(Arrangement::Una);
    QVERIFY(preview.cseleccion[1].enabled);
    QVERIFY(!preview.cseleccion[1].ticked);
    QVERIFY(preview.fotos[0].visible);
    QVERIFY(!preview.fotos[1].visible);
}

void PrintLayoutsTest::distortionChangesTheShownImages() {
    PrintPreview preview = previewWith(6);
    preview.build(Arrangement::Tres);
    preview.altura = false;  // "Anchura"
    for (int click = 0; click < 3; ++click) {
        preview.distort(kDistortionStep);
    }
    for (std::size_t i = 0; i < 3; ++i) {
        QCOMPARE(preview.fotos[i].rect.width, 2650.0);
        QCOMPARE(preview.fotos[i].rect.height, 2600.0);
    }
    QCOMPARE(preview.fotos[1].rect.left, 3000.0);  // positions stay
    preview.build(Arrangement::Tres);
    QCOMPARE(preview.fotos[0].rect.width, 2500.0);

    preview.build(Arrangement::Una);
    preview.altura = true;
    preview.distort(kDistortionStep);
    QCOMPARE(preview.fotos[0].rect.height, 5465.0);
    QCOMPARE(preview.fotos[1].rect.height, 2600.0);  // hidden: untouched since "Tres"
}

void PrintLayoutsTest::reductionStopsAtFiftyTwips() {
    PrintPreview preview = previewWith(6);
    preview.build(Arrangement::Seis);
    for (int click = 0; click < 40; ++click) {
        preview.distort(-kDistortionStep);
    }
    for (const PrintPreview::Image& image : preview.fotos) {
        QCOMPARE(image.rect.height, 50.0);  // 1700 - 33 * 50 = 50, then no further
        QCOMPARE(image.rect.width, 1600.0);
    }
}

QTEST_GUILESS_MAIN(PrintLayoutsTest)
#include "tst_print_layouts.moc"
