#include <QtTest>

#include "image_compare.h"
#include "overlay/sample_views.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;
using crinova::test::TestProgramFolder;

namespace {

constexpr Colour kFront = 0x00101010;
constexpr Colour kSide4 = 0x00000044;
constexpr Colour kNape4 = 0x00004400;
constexpr Colour kNape3 = 0x00003300;

// Sample 4 has both views, sample 3 only the nape, sample 5 none.
struct Views {
    TestProgramFolder folder{TestProgramFolder::Empty};
    PictureCache pictures;
    ViewOptions options;
    ViewStores stores;

    Views() {
        folder.writePicture(QStringLiteral("\\pelo4l.jpg"), solidPicture(3, 3, kSide4));
        folder.writePicture(QStringLiteral("\\pelo4n.jpg"), solidPicture(3, 3, kNape4));
        folder.writePicture(QStringLiteral("\\pelo3n.jpg"), solidPicture(3, 3, kNape3));
    }
    void apply(int sample, Colour shown = kFront) {
        CargarVistasPelo(QStringLiteral("\\pelo%1.jpg").arg(sample), solidPicture(3, 3, shown),
                         options, stores, folder.folder(), pictures);
    }
};

}  // namespace

class SampleViewsTest : public QObject {
    Q_OBJECT
  private slots:
    void baseNameStopsAtTheFirstDot();
    void napeOnlyThenNoViews();
    void twoViewsThenAnotherSampleResetsBoth();
    void frontStoreIsFilledOncePerLife();
    void unreadableViewCountsAsMissing();
};

void SampleViewsTest::baseNameStopsAtTheFirstDot() {
    QCOMPARE(viewBaseName(QStringLiteral("\\pelo4.jpg")), QStringLiteral("\\pelo4"));
    QCOMPARE(viewBaseName(QStringLiteral("\\fotos\\largo\\l1.v2.jpg")),
             QStringLiteral("\\fotos\\largo\\l1"));
    QCOMPARE(viewBaseName(QStringLiteral("\\sinpunto")), QStringLiteral("\\sinpunto"));
}

void SampleViewsTest::napeOnlyThenNoViews() {
    Views views;
    views.apply(3);
    QVERIFY(views.options.nuca.enabled);
    QVERIFY(views.options.nuca.red);
    QVERIFY(!views.options.lateral.enabled);
    QVERIFY(!views.options.lateral.red);
    QCOMPARE(colourAt(views.stores.fotonuca, 0, 0), kNape3);

    views.options.nuca.selected = true;  // the stylist looks at the nape
    views.options.restaurarVisible = true;
    views.apply(5);
    QVERIFY(!views.options.nuca.enabled);
    QVERIFY(views.options.nuca.red);                          // only disabled: colour,
    QVERIFY(views.options.nuca.selected);                     // selection,
    QVERIFY(views.options.restaurarVisible);                  // label
    QCOMPARE(colourAt(views.stores.fotonuca, 0, 0), kNape3);  // and store stay
}

void SampleViewsTest::twoViewsThenAnotherSampleResetsBoth() {
    Views views;
    views.apply(4);
    QVERIFY(views.options.nuca.enabled && views.options.lateral.enabled);
    views.options.lateral.selected = true;
    views.options.restaurarVisible = true;

    views.apply(5);  // no views: everything back to normal, stores emptied
    QCOMPARE(views.options.lateral.enabled || views.options.lateral.red ||
                 views.options.lateral.selected,
             false);
    QCOMPARE(views.options.nuca.enabled || views.options.nuca.red, false);
    QVERIFY(!views.options.restaurarVisible);
    QVERIFY(views.stores.fotolateral.isNull());
    QVERIFY(views.stores.fotonuca.isNull());

    views.apply(4);
    views.apply(3);  // reset, then the nape of sample 3 comes back
    QVERIFY(views.options.nuca.enabled && views.options.nuca.red);
    QVERIFY(!views.options.lateral.enabled && !views.options.lateral.red);
    QVERIFY(views.stores.fotolateral.isNull());
    QCOMPARE(colourAt(views.stores.fotonuca, 0, 0), kNape3);
}

void SampleViewsTest::frontStoreIsFilledOncePerLife() {
    Views views;
    views.apply(5, 0x00777777);
    QVERIFY(views.stores.fotoinicio.isNull());  // no view found: nothing kept
    views.apply(4, kFront);
    QCOMPARE(colourAt(views.stores.fotoinicio, 0, 0), kFront);
    views.apply(3, kSide4);  // the side view is on screen now; the front store keeps the front
    QCOMPARE(colourAt(views.stores.fotoinicio, 0, 0), kFront);
    views.stores.clear();  // the hair-type dialog closed
    views.apply(3, kSide4);
    QCOMPARE(colourAt(views.stores.fotoinicio, 0, 0), kSide4);
}

void SampleViewsTest::unreadableViewCountsAsMissing() {
    Views views;
    views.folder.writeBytes(QStringLiteral("\\pelo5l.jpg"), "no es una imagen");
    views.folder.writeBytes(QStringLiteral("\\pelo5n.jpg"), QByteArray());
    views.apply(5);
    QVERIFY(!views.options.lateral.enabled);
    QVERIFY(!views.options.nuca.enabled);
    QVERIFY(views.stores.fotoinicio.isNull());
}

QTEST_GUILESS_MAIN(SampleViewsTest)
#include "tst_sample_views.moc"
