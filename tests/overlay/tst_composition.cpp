#include <QtTest>

#include "composition_bench.h"
#include "image_compare.h"
#include "program/program_database.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::numberedPicture;
using crinova::test::solidPicture;

namespace {

constexpr Colour kPhoto = 0x00C08040;
constexpr Colour kHairRed = 0x000000FF;

using Bench = crinova::test::CompositionBench;

}  // namespace

class CompositionTest : public QObject {
    Q_OBJECT
  private slots:
    void nothingHappensWithoutAHair();
    void pixelIsPhotoAndMaskXorHair();
    void hairAndMaskStretchTogether();
    void uncoveredStripDependsOnThePreviousDrawing();
    void rotatedPhotoIsNotReloaded();
    void hairOfAnySizeIsPlacedAtTheTopLeft_data();
    void hairOfAnySizeIsPlacedAtTheTopLeft();
    void missingFileStopsAtThatStep_data();
    void missingFileStopsAtThatStep();
    void clientPhotoIsReadWithBoundValues();
};

void CompositionTest::nothingHappensWithoutAHair() {
    Bench bench(4, 4);
    bench.state.pelocargado = false;
    bench.buffers.fprincipal.SetPicture(solidPicture(4, 4, kPhoto));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));  // no files exist at all
    QVERIFY(bench.dialogs.asked.empty());
    QVERIFY(bench.state.primeravez);
    QCOMPARE(bench.shown(3, 3), kPhoto);
}

void CompositionTest::pixelIsPhotoAndMaskXorHair() {
    Bench bench(4, 2);
    bench.write(kBasePhoto, solidPicture(4, 2, kPhoto));
    QImage mask = solidPicture(4, 2, kWhite);
    QImage hair = solidPicture(4, 2, kBlack);
    mask.setPixel(1, 0, toPixel(kBlack));  // inside the hair
    hair.setPixel(1, 0, toPixel(0x00123456));
    mask.setPixel(2, 1, toPixel(0x00808080));  // a grey edge pixel mixes bit by bit
    hair.setPixel(2, 1, toPixel(0x00010203));
    hair.setPixel(3, 1, toPixel(0x00000011));  // hair outside the mask's silhouette
    bench.write(kDefaultMask, mask);
    bench.write(kDefaultHair, hair);

    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(0, 0), kPhoto);              // C08040 & FFFFFF ^ 000000
    QCOMPARE(bench.shown(1, 0), Colour(0x00123456));  // C08040 & 000000 ^ 123456
    QCOMPARE(bench.shown(2, 1), Colour(0x00818203));  // C08040 & 808080 = 808000, ^ 010203
    QCOMPARE(bench.shown(3, 1), Colour(0x00C08051));  // C08040 ^ 000011
    QVERIFY(!bench.state.primeravez);
    QVERIFY(bench.dialogs.asked.empty());
    // temporal2 is cleared for the next composition; temporal1 ends holding the hair picture.
    COMPARE_IMAGES(bench.buffers.temporal2.image(), solidPicture(4, 2, kWindowBackground));
    COMPARE_IMAGES(bench.buffers.temporal1.image(), hair);
}

void CompositionTest::hairAndMaskStretchTogether() {
    // 40 x 30 pictures; the hair is drawn 60 x 20 (anchopelo 20, altopelo -10). Source column of
    // destination x is floor(x * 40 / 60), source row of y is floor(y * 30 / 20).
    Bench bench(40, 30);
    bench.write(kBasePhoto, solidPicture(40, 30, kPhoto));
    QImage mask = solidPicture(40, 30, kWhite);
    QImage hair = solidPicture(40, 30, kBlack);
    for (int y = 0; y < 30; ++y) {
        for (int x = 0; x < 20; ++x) {  // the left half is hair: red above row 15, blue below
            mask.setPixel(x, y, toPixel(kBlack));
            hair.setPixel(x, y, toPixel(y < 15 ? kHairRed : 0x00FF0000));
        }
    }
    bench.write(kDefaultMask, mask);
    bench.write(kDefaultHair, hair);
    bench.state.anchopelo = 20;
    bench.state.altopelo = -10;

    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(29, 0), kHairRed);            // source column 19
    QCOMPARE(bench.shown(30, 0), kPhoto);              // source column 20: outside the hair
    QCOMPARE(bench.shown(0, 9), kHairRed);             // source row 13
    QCOMPARE(bench.shown(0, 10), Colour(0x00FF0000));  // source row 15
    QCOMPARE(bench.shown(0, 19), Colour(0x00FF0000));  // last drawn row
    QCOMPARE(bench.shown(0, 20), kPhoto);              // below the reduced hair
}

void CompositionTest::uncoveredStripDependsOnThePreviousDrawing() {
    const QImage photo = numberedPicture(40, 8);
    auto compose = [&](bool timerRepaintBetween) {
        auto bench = std::make_unique<Bench>(40, 8);
        bench->write(kBasePhoto, photo);
        bench->write(kDefaultMask, solidPicture(40, 8, kWhite));
        bench->write(kDefaultHair, solidPicture(40, 8, kBlack));
        DibujarPelo(bench->state, bench->buffers, bench->services);
        if (timerRepaintBetween) {
            RefrescarPelo(bench->state, bench->buffers, bench->services);
        }
        bench->state.posxfoto = 30;
        DibujarPelo(bench->state, bench->buffers, bench->services);
        return bench;
    };
    const auto afterDrawing = compose(false);
    const auto afterRepaint = compose(true);
    for (const int x : {0, 15, 29}) {
        QCOMPARE(afterDrawing->shown(x, 3), kWindowBackground);
        QCOMPARE(afterRepaint->shown(x, 3), colourAt(photo, x, 3));  // the earlier composition
    }
    QCOMPARE(afterDrawing->shown(30, 3), colourAt(photo, 0, 3));
    QCOMPARE(afterRepaint->shown(39, 3), colourAt(photo, 9, 3));
}

void CompositionTest::rotatedPhotoIsNotReloaded() {
    Bench bench(4, 4);
    bench.write(kBasePhoto, solidPicture(4, 4, kPhoto));
    bench.write(kDefaultMask, solidPicture(4, 4, kWhite));
    bench.write(kDefaultHair, solidPicture(4, 4, kBlack));
    bench.state.angulo = 15;
    bench.buffers.ftrabajo.SetPicture(solidPicture(4, 4, 0x00336699));  // the rotated photo
    QFile::remove(bench.folder.path(kBasePhoto));

    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(2, 2), Colour(0x00336699));
    QVERIFY(bench.dialogs.asked.empty());

    bench.write(kBasePhoto, solidPicture(4, 4, kPhoto));
    bench.state.angulo = 0;
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(2, 2), kPhoto);
}

void CompositionTest::hairOfAnySizeIsPlacedAtTheTopLeft_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("1 x 1") << QSize(1, 1);
    QTest::newRow("5000 x 5000") << QSize(5000, 5000);
}

void CompositionTest::hairOfAnySizeIsPlacedAtTheTopLeft() {
    QFETCH(QSize, size);
    Bench bench(30, 32);
    bench.write(kBasePhoto, solidPicture(30, 32, kPhoto));
    bench.write(kDefaultMask, solidPicture(size.width(), size.height(), kBlack));
    bench.write(kDefaultHair, solidPicture(size.width(), size.height(), kHairRed));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.buffers.temporal1.ScaleWidth(), 30);
    QCOMPARE(bench.shown(0, 0), kHairRed);
    // Where a small picture does not reach, the buffer's white background takes part: the mask
    // keeps the photo and the exclusive-or with white inverts it.
    const Colour corner = size.width() > 1 ? kHairRed : (kPhoto ^ kWhite);
    QCOMPARE(bench.shown(29, 31), corner);
}

void CompositionTest::missingFileStopsAtThatStep_data() {
    QTest::addColumn<QString>("broken");
    QTest::addColumn<QByteArray>("content");  // "missing" removes the file
    QTest::addColumn<Colour>("temporal2");    // what the composition left in its buffer
    QTest::newRow("missing base photo") << kBasePhoto << QByteArray("missing") << kWindowBackground;
    QTest::newRow("corrupt base photo") << kBasePhoto << QByteArray("BMxx") << kWindowBackground;
    QTest::newRow("missing mask") << kDefaultMask << QByteArray("missing") << kPhoto;
    QTest::newRow("empty mask") << kDefaultMask << QByteArray() << kPhoto;
    QTest::newRow("missing hair") << kDefaultHair << QByteArray("missing") << kBlack;
    QTest::newRow("truncated hair") << kDefaultHair << QByteArray("truncated") << kBlack;
}

void CompositionTest::missingFileStopsAtThatStep() {
    QFETCH(QString, broken);
    QFETCH(QByteArray, content);
    QFETCH(Colour, temporal2);
    Bench bench(4, 4);
    bench.buffers.fprincipal.SetPicture(solidPicture(4, 4, 0x00010101));
    bench.write(kBasePhoto, solidPicture(4, 4, kPhoto));
    bench.write(kDefaultMask, solidPicture(4, 4, kBlack));
    bench.write(kDefaultHair, solidPicture(4, 4, kHairRed));
    if (content == "missing") {
        QFile::remove(bench.folder.path(broken));
    } else if (content == "truncated") {
        QFile file(bench.folder.path(broken));
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.resize(40));
    } else {
        bench.folder.writeBytes(broken, content);
    }

    QVERIFY(!DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.dialogs.messages().size(), 1);
    QVERIFY(bench.dialogs.messages().first().contains(bench.folder.path(broken)));
    QCOMPARE(bench.dialogs.asked.front().icon, MessageIcon::Critical);
    QCOMPARE(bench.shown(1, 1), Colour(0x00010101));  // the visible photo is untouched
    QCOMPARE(GetPixel(bench.buffers.temporal2, 1, 1), temporal2);
    QVERIFY(bench.state.primeravez);

    // Once the file is good again the next composition works.
    bench.write(broken, broken == kBasePhoto     ? solidPicture(4, 4, kPhoto)
                        : broken == kDefaultMask ? solidPicture(4, 4, kBlack)
                                                 : solidPicture(4, 4, kHairRed));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(1, 1), kHairRed);
}

void CompositionTest::clientPhotoIsReadWithBoundValues() {
    Bench bench(4, 4);
    QVERIFY(openProgramDatabase(bench.database, bench.folder.folder(), nullptr));
    bench.write(QStringLiteral("\\clientes\\oneill.bmp"), solidPicture(4, 4, 0x00224466));
    bench.write(kDefaultMask, solidPicture(4, 4, kWhite));
    bench.write(kDefaultHair, solidPicture(4, 4, kBlack));
    QVERIFY(bench.database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
                                   {QStringLiteral("07"), QStringLiteral("Sinéad O'Neill"),
                                    QStringLiteral("\\clientes\\oneill.bmp")}));
    bench.state.usarfotocliente = true;
    bench.state.clienteactivo = true;
    bench.state.codigocliente = QStringLiteral("07");
    bench.state.nombrecliente = QStringLiteral("Sinéad O'Neill");

    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QVERIFY2(bench.dialogs.asked.empty(), qPrintable(bench.dialogs.messages().join('\n')));
    QCOMPARE(bench.shown(0, 0), Colour(0x00224466));
    QVERIFY(bench.state.fprograma.isEmpty());
    QVERIFY(bench.state.consulta.startsWith(
        QStringLiteral("Select Fprograma,codigocliente,nombrecliente From cliente")));
    QVERIFY(!bench.state.consulta.contains(QStringLiteral("O'Neill")));

    // An unknown client is reported.
    bench.state.codigocliente = QStringLiteral("99");
    bench.state.nombrecliente = QStringLiteral("Nadie");
    QVERIFY(!DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.dialogs.messages().size(), 1);
    QVERIFY(bench.dialogs.messages().first().contains(QStringLiteral("Nadie")));

    // The client photo switch without an active client takes the base photo.
    bench.write(QStringLiteral("\\otra.bmp"), solidPicture(4, 4, 0x00445566));
    bench.state.clienteactivo = false;
    bench.state.fotobase = bench.folder.path(QStringLiteral("\\otra.bmp"));
    QVERIFY(DibujarPelo(bench.state, bench.buffers, bench.services));
    QCOMPARE(bench.shown(3, 3), Colour(0x00445566));
}

QTEST_GUILESS_MAIN(CompositionTest)
#include "tst_composition.moc"
