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

class PrintLayoutsTest : public QObject {
    Q_OBJECT
  private slots:
    void offeredArrangementsDivideTheCount_data();
    void offeredArrangementsDivideTheCount();
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

void PrintLayoutsTest::layoutsOfTheTable() {
    QCOMPARE(previewLayout(Arrangement::Una), (std::vector<TwipsRect>{{120, 1110, 5000, 5415}}));
    QCOMPARE(previewLayout(Arrangement::Dos),
             (std::vector<TwipsRect>{{1250, 1110, 2500, 2700}, {1250, 4000, 2500, 2700}}));
    QCOMPARE(previewLayout(Arrangement::Tres)[2], (TwipsRect{1500, 4000, 2500, 2600}));
    QCOMPARE(previewLayout(Arrangement::Cuatro)[3], (TwipsRect{3000, 4000, 2500, 2600}));
    QCOMPARE(previewLayout(Arrangement::Cinco)[2], (TwipsRect{1650, 3000, 1600, 1700}));
    QCOMPARE(previewLayout(Arrangement::Seis).size(), std::size_t(6));
    QCOMPARE(previewLayout(Arrangement::Seis)[5], (TwipsRect{3000, 4900, 1600, 1700}));
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
