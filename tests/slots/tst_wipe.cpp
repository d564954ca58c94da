#include <QtTest>

#include "image_compare.h"
#include "platform/raster.h"
#include "slots/wipe.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::numberedPicture;

class WipeTest : public QObject {
    Q_OBJECT
  private slots:
    void rowsRiseFromTheBottom();
    void everyRowIsDueAtItsMoment();
};

void WipeTest::rowsRiseFromTheBottom() {
    // Source rows are numbered 0x00YYXX40; the target starts white.
    Surface source(4, 6);
    source.SetPicture(numberedPicture(4, 6));
    Surface target(4, 6);
    QImage middle;
    std::vector<int> shown;
    Wipe(target, source, 4, 6, WipePacing{std::chrono::seconds(1), nullptr}, [&](int y) {
        shown.push_back(y);
        if (y == 3) {
            middle = target.image().copy();
        }
    });
    QCOMPARE(shown, (std::vector<int>{6, 5, 4, 3, 2, 1, 0}));
    // After step y = 3: rows 0 to 2 hold source row 3 (the streak), rows 3 and 4 hold source rows
    // 4 and 5. Row 5 is written only by step y = 6, whose source row lies outside: it stays white.
    for (int row = 0; row < 3; ++row) {
        QCOMPARE(colourAt(middle, 1, row), colourAt(numberedPicture(4, 6), 1, 3));
    }
    QCOMPARE(colourAt(middle, 2, 3), colourAt(numberedPicture(4, 6), 2, 4));
    QCOMPARE(colourAt(middle, 2, 4), colourAt(numberedPicture(4, 6), 2, 5));
    QCOMPARE(colourAt(middle, 0, 5), kWindowBackground);
    // At the end every row k holds source row k + 1; the last row keeps what it had.
    for (int row = 0; row < 5; ++row) {
        QCOMPARE(GetPixel(target, 3, row), colourAt(numberedPicture(4, 6), 3, row + 1));
    }
    QCOMPARE(GetPixel(target, 3, 5), kWindowBackground);
}

void WipeTest::everyRowIsDueAtItsMoment() {
    Surface source(2, 3);
    Surface target(2, 3);
    std::vector<std::chrono::steady_clock::time_point> due;
    const auto before = std::chrono::steady_clock::now();
    Wipe(target, source, 2, 3,
         WipePacing{std::chrono::milliseconds(400),
                    [&](std::chrono::steady_clock::time_point when) { due.push_back(when); }},
         nullptr);
    QCOMPARE(due.size(), std::size_t(4));  // H + 1 rows
    const auto start = due[0] - std::chrono::milliseconds(100);
    QVERIFY(start >= before);
    for (std::size_t i = 0; i < due.size(); ++i) {
        QCOMPARE(
            (due[i] - start).count(),
            std::chrono::steady_clock::duration(std::chrono::milliseconds(100 * (i + 1))).count());
    }
}

QTEST_GUILESS_MAIN(WipeTest)
#include "tst_wipe.moc"
