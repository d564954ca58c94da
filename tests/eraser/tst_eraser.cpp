#include <QtTest>

#include "eraser/eraser_editor.h"
#include "image_compare.h"
#include "platform/raster.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::numberedPicture;
using crinova::test::solidPicture;
using crinova::test::TestProgramFolder;

namespace {

constexpr int kLeft = 1;
constexpr Colour kPhoto = 0x00406080;

// The footprints as rows of covered column ranges, written out from the brush drawings.
const QList<QList<int>> kFineRows = {{2, 6}, {1, 8}, {0, 8}, {0, 9}, {0, 9},
                                     {0, 9}, {0, 9}, {1, 8}, {1, 7}, {3, 6}};

bool diskCovers(int x, int y) {
    const QList<QList<int>> upper = {{},      {11, 17}, {8, 20}, {7, 21}, {5, 23},
                                     {4, 24}, {4, 24},  {3, 25}, {2, 26}, {2, 26},
                                     {2, 26}, {1, 27},  {1, 27}, {1, 27}, {1, 27}};
    const QList<int> span = upper[y <= 14 ? y : 28 - y];
    return !span.isEmpty() && x >= span[0] && x <= span[1];
}

bool fineCovers(int x, int y) {
    return x >= kFineRows[y][0] && x <= kFineRows[y][1];
}

EraserEditor editorWithPhoto(int width = 100, int height = 90) {
    EraserEditor editor;
    editor.open(QStringLiteral("/tmp/none.bmp"), solidPicture(width, height, kPhoto));
    return editor;
}

}  // namespace

class EraserTest : public QObject {
    Q_OBJECT
  private slots:
    void brushFootprints();
    void stampsAtThePointer_data();
    void stampsAtThePointer();
    void onlyTheLeftButtonPaintsAndOnlyWithABrush();
    void twoStrokesAndOneUndo();
    void brushColour();
    void photoSizeLimit_data();
    void photoSizeLimit();
    void failedSaveKeepsFileAndKeptCopy();
    void firstSaveKeepsTheOriginalOnce();
    void originalKeptEarlierIsNeverReplaced();
    void noSaveWhenTheOriginalCannotBeKept();
};

void EraserTest::brushFootprints() {
    Brushes brushes;
    for (int y = 0; y < 10; ++y) {
        for (int x = 0; x < 10; ++x) {
            const bool covered = fineCovers(x, y);
            QCOMPARE(GetPixel(brushes.pincel[0], x, y), covered ? kWhite : kBlack);
            QCOMPARE(GetPixel(brushes.mpincel[0], x, y), covered ? kBlack : kWhite);
        }
    }
    int coveredDisk = 0;
    for (int y = 0; y < 29; ++y) {
        for (int x = 0; x < 29; ++x) {
            const bool covered = diskCovers(x, y);
            coveredDisk += covered;
            QCOMPARE(GetPixel(brushes.pincel[1], x, y), covered ? kWhite : kBlack);
            QCOMPARE(GetPixel(brushes.mpincel[1], x, y), covered ? kBlack : kWhite);
        }
    }
    QCOMPARE(coveredDisk, 2 * (7 + 13 + 15 + 19 + 21 + 21 + 23 + 25 * 3) + 27 * 7);
}

void EraserTest::stampsAtThePointer_data() {
    QTest::addColumn<int>("brush");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("footprint");
    QTest::newRow("Fino: 10 x 10 enlarged to 11 x 11") << 0 << 11 << 10;
    QTest::newRow("Medio: 29 x 29 enlarged to 30 x 30") << 1 << 30 << 29;
    QTest::newRow("Grueso: 29 x 29 enlarged to 60 x 60") << 2 << 60 << 29;
}

void EraserTest::stampsAtThePointer() {
    QFETCH(int, brush);
    QFETCH(int, size);
    QFETCH(int, footprint);
    EraserEditor editor = editorWithPhoto();
    editor.setBrush(static_cast<EraserEditor::Brush>(brush));
    QCOMPARE(int(editor.anchopincel), size);
    QCOMPARE(int(editor.altopincel), size);
    editor.mouseDown(kLeft);
    editor.mouseMove(kLeft, 20.5, 13.4);  // rounds to (20, 13)
    for (int y = 0; y < 90; ++y) {
        for (int x = 0; x < 100; ++x) {
            const int k = x - 20;
            const int j = y - 13;
            const bool inStamp = k >= 0 && j >= 0 && k < size && j < size;
            // Nearest neighbour: stamp pixel k takes footprint pixel floor(k * footprint / size).
            const int fx = inStamp ? k * footprint / size : -1;
            const int fy = inStamp ? j * footprint / size : -1;
            const bool covered =
                inStamp && (footprint == 10 ? fineCovers(fx, fy) : diskCovers(fx, fy));
            QCOMPARE(GetPixel(editor.fprincipal, x, y), covered ? kWhite : kPhoto);
        }
    }
}

void EraserTest::onlyTheLeftButtonPaintsAndOnlyWithABrush() {
    EraserEditor editor = editorWithPhoto();
    editor.setBrush(EraserEditor::Brush::Grueso);
    for (const int buttons : {2, 3, 4, 0}) {
        editor.mouseDown(buttons);
        editor.mouseMove(buttons, 10, 10);
    }
    QVERIFY(!editor.undoEnabled);
    COMPARE_IMAGES(editor.fprincipal.image(), solidPicture(100, 90, kPhoto));
    // Before a brush size is chosen, no mark either.
    EraserEditor unsized = editorWithPhoto();
    unsized.mouseDown(kLeft);
    unsized.mouseMove(kLeft, 10, 10);
    COMPARE_IMAGES(unsized.fprincipal.image(), solidPicture(100, 90, kPhoto));
    EraserEditor empty;  // no photo at all: nothing breaks
    empty.setBrush(EraserEditor::Brush::Medio);
    empty.mouseDown(kLeft);
    empty.mouseMove(kLeft, 3, 3);
    QCOMPARE(GetPixel(empty.fprincipal, 15, 15), kWhite);
}

void EraserTest::twoStrokesAndOneUndo() {
    EraserEditor editor = editorWithPhoto();
    editor.setBrush(EraserEditor::Brush::Fino);
    editor.mouseDown(kLeft);
    editor.mouseMove(kLeft, 0, 0);
    const QImage afterFirst = editor.fprincipal.image().copy();
    editor.mouseDown(kLeft);
    editor.mouseMove(kLeft, 50, 50);
    editor.mouseMove(kLeft, 70, 50);
    QCOMPARE(GetPixel(editor.fprincipal, 75, 55), kWhite);
    editor.undo();
    QVERIFY(!editor.undoEnabled);
    COMPARE_IMAGES(editor.fprincipal.image(), afterFirst);
    QCOMPARE(GetPixel(editor.fprincipal, 5, 5), kWhite);  // the first stroke stays

    // The undo copy belongs to the previous photo: it cannot be brought back over another one.
    editor.mouseDown(kLeft);
    QVERIFY(editor.undoEnabled);
    QVERIFY(editor.open(QStringLiteral("/b.bmp"), solidPicture(60, 50, 0x00000011)));
    QVERIFY(!editor.undoEnabled);
    editor.mouseDown(kLeft);
    editor.mouseMove(kLeft, 0, 0);
    editor.undo();
    COMPARE_IMAGES(editor.fprincipal.image(), solidPicture(60, 50, 0x00000011));
}

void EraserTest::brushColour() {
    EraserEditor editor = editorWithPhoto();
    editor.setBrush(EraserEditor::Brush::Medio);
    editor.brushes.recolour(0x000000FF);
    editor.brushes.recolour(0x00FF0000);
    editor.mouseDown(kLeft);
    editor.mouseMove(kLeft, 0, 0);
    QCOMPARE(GetPixel(editor.fprincipal, 15, 15), Colour(0x00FF0000));  // blue
    QCOMPARE(GetPixel(editor.fprincipal, 0, 0), kPhoto);                // outside the disk
    QCOMPARE(GetPixel(editor.brushes.mpincel[1], 15, 15), kBlack);      // masks keep their shape

    editor.brushes.recolour(kBlack);
    editor.brushes.recolour(0x000000FF);
    editor.mouseMove(kLeft, 40, 40);
    QCOMPARE(GetPixel(editor.fprincipal, 55, 55), kBlack);  // black stays black
}

void EraserTest::photoSizeLimit_data() {
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("430 x 430") << QSize(430, 430) << true;
    QTest::newRow("431 x 200") << QSize(431, 200) << false;
    QTest::newRow("200 x 431") << QSize(200, 431) << false;
}

void EraserTest::photoSizeLimit() {
    QFETCH(QSize, size);
    QFETCH(bool, accepted);
    EraserEditor editor;
    QVERIFY(editor.open(QStringLiteral("/a.bmp"), solidPicture(120, 80, kPhoto)));
    const bool opened = editor.open(QStringLiteral("/b.bmp"),
                                    solidPicture(size.width(), size.height(), 0x00000011));
    QCOMPARE(opened, accepted);
    QCOMPARE(editor.rutafoto, accepted ? QStringLiteral("/b.bmp") : QStringLiteral("/a.bmp"));
    QCOMPARE(editor.fprincipal.ScaleWidth(), accepted ? size.width() : 120);
    QCOMPARE(editor.temporal.ScaleHeight(), accepted ? size.height() : 80);
    QCOMPARE(GetPixel(editor.temporal, 5, 5), accepted ? Colour(0x00000011) : kPhoto);
}

void EraserTest::failedSaveKeepsFileAndKeptCopy() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    EraserEditor editor;
    QVERIFY(editor.open(folder.path(QStringLiteral("\\no\\existe\\foto.bmp")),
                        solidPicture(20, 20, kPhoto)));
    QVERIFY(QDir().mkpath(folder.path(QStringLiteral("\\no"))));
    folder.writeBytes(QStringLiteral("\\no\\existe"), "a file where the folder should be");
    editor.setBrush(EraserEditor::Brush::Fino);
    editor.mouseDown(kLeft);
    editor.mouseMove(kLeft, 0, 0);
    QString error;
    QVERIFY(!editor.save(&error));
    QVERIFY(error.contains(QStringLiteral("No se ha podido guardar")));
    editor.revert();  // the kept copy is still the photo as opened
    COMPARE_IMAGES(editor.fprincipal.image(), solidPicture(20, 20, kPhoto));
}

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A client photo saved as JPEG data under the clients folder, open in an editor with a fine brush.
struct OpenPhoto {
    TestProgramFolder folder{TestProgramFolder::Empty};
    QString path = folder.path(QStringLiteral("\\clientes\\ana.jpg"));
    QString kept = folder.path(QStringLiteral("\\clientes\\originales\\ana.jpg"));
    QByteArray original;
    EraserEditor editor;

    OpenPhoto() {
        folder.writePicture(QStringLiteral("\\clientes\\ana.jpg"), numberedPicture(40, 30), "jpg");
        original = bytesOf(path);
        editor.open(path, loadPicture(path).picture);
        editor.setBrush(EraserEditor::Brush::Fino);
    }
    void paint(int x, int y) {
        editor.mouseDown(kLeft);
        editor.mouseMove(kLeft, x, y);
    }
};

}  // namespace

void EraserTest::firstSaveKeepsTheOriginalOnce() {
    OpenPhoto photo;
    QVERIFY(!photo.original.isEmpty());
    photo.paint(10, 10);
    QString error;
    QVERIFY2(photo.editor.save(&error), qPrintable(error));
    QCOMPARE(bytesOf(photo.kept), photo.original);  // the photograph as it came, byte for byte
    QCOMPARE(bytesOf(photo.path).left(2), QByteArray("BM"));

    photo.paint(20, 5);
    const QImage second = photo.editor.fprincipal.image().copy();
    QVERIFY2(photo.editor.save(&error), qPrintable(error));
    COMPARE_IMAGES(loadPicture(photo.path).picture, second);
    QCOMPARE(bytesOf(photo.kept), photo.original);  // a later save leaves it alone
    photo.paint(25, 15);  // more painting, then revert: back to what was saved
    photo.editor.revert();
    COMPARE_IMAGES(photo.editor.fprincipal.image(), second);

    // Another editor on the saved photo: the first original stays kept.
    EraserEditor again;
    QVERIFY(again.open(photo.path, loadPicture(photo.path).picture));
    QVERIFY(again.save(&error));
    QCOMPARE(bytesOf(photo.kept), photo.original);
    const QStringList kept = QDir(photo.folder.path(QStringLiteral("\\clientes\\originales")))
                                 .entryList(QDir::Files | QDir::Hidden);
    QCOMPARE(kept, QStringList{"ana.jpg"});
}

void EraserTest::originalKeptEarlierIsNeverReplaced() {
    OpenPhoto photo;
    photo.folder.writeBytes(QStringLiteral("\\clientes\\originales\\ana.jpg"), "kept before");
    photo.paint(10, 10);
    QVERIFY(photo.editor.save(nullptr));
    QCOMPARE(bytesOf(photo.kept), QByteArray("kept before"));
    QCOMPARE(bytesOf(photo.path).left(2), QByteArray("BM"));
}

void EraserTest::noSaveWhenTheOriginalCannotBeKept() {
    OpenPhoto photo;
    // A file where the folder of originals should be: the copy cannot be made.
    photo.folder.writeBytes(QStringLiteral("\\clientes\\originales"), "not a folder");
    photo.paint(10, 10);
    QString error;
    QVERIFY(!photo.editor.save(&error));
    QVERIFY2(error.contains(QDir::toNativeSeparators(photo.kept)), qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("no se ha guardado")), qPrintable(error));
    QCOMPARE(bytesOf(photo.path), photo.original);  // the photograph is untouched
    photo.editor.revert();  // and the kept copy is still the photo as opened
    COMPARE_IMAGES(photo.editor.fprincipal.image(), loadPicture(photo.path).picture);
}

QTEST_GUILESS_MAIN(EraserTest)
#include "tst_eraser.moc"
