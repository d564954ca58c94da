#include <QtTest>

#include "image_compare.h"
#include "printing/printed_page.h"
#include "recording_services.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::RecordingPrinter;
using crinova::test::solidPicture;

namespace {

// A job over `count` photos (photo j is the colour j + 1) with the undistorted sizes of the
// arrangement's preview.
PrintJob jobFor(Arrangement arrangement, int count) {
    PrintJob job;
    job.numerofotos = count;
    job.selected = arrangement;
    for (int j = 0; j < 6; ++j) {
        job.photos[static_cast<std::size_t>(j)] = solidPicture(2, 2, Colour(j + 1));
    }
    job.logo = solidPicture(2, 2, 0x00FFFFFF);
    const std::vector<TwipsRect> layout = previewLayout(arrangement);
    job.W0 = layout[0].width;
    job.H0 = layout[0].height;
    job.H1 = layout.size() > 1 ? layout[1].height : 0;
    return job;
}

// Per photo: photo index, x, y, width, height. The multiples of the preview sizes are worked out
// in floating point (2.3 x 2600 is 5979.999...), so twips are compared to a thousandth.
using Placed = QList<QList<double>>;

double thousandths(double twips) {
    return std::round(twips * 1000) / 1000;
}

Placed placed(const RecordingPrinter::Document& document) {
    Placed photos;
    for (std::size_t i = 1; i < document.drawings.size(); ++i) {  // drawing 0 is the logo
        const auto& drawing = document.drawings[i];
        photos << QList<double>{double(colourAt(drawing.picture, 0, 0)) - 1, thousandths(drawing.x),
                                thousandths(drawing.y), thousandths(drawing.width),
                                thousandths(drawing.height)};
    }
    return photos;
}

}  // namespace

class PrintedPageTest : public QObject {
    Q_OBJECT
  private slots:
    void undistortedPages_data();
    void undistortedPages();
    void pagesRepeatTheFirstPagesPositions();
    void unaPrintsTheTickedPhotos();
    void propertyIsSetBeforeThePages_data();
    void propertyIsSetBeforeThePages();
    void distortionReachesThePaper();
    void conditionsThatPrintNothing();
    void refusedDocumentStopsThePrinting();
};

void PrintedPageTest::undistortedPages_data() {
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<Placed>("page");
    // The table of printed sizes and positions worked out from the preview tables.
    QTest::newRow("Dos") << 2 << Placed{{0, 3000, 2200, 5400, 5750}, {1, 3000, 10000, 5400, 5750}};
    QTest::newRow("Tres") << 3
                          << Placed{{0, 100, 2200, 5200, 5750},
                                    {1, 5980, 2200, 5200, 5750},
                                    {2, 3000, 8750, 5200, 5750}};
    QTest::newRow("Cuatro") << 4
                            << Placed{{0, 100, 2200, 5200, 5750},
                                      {1, 5980, 2200, 5200, 5750},
                                      {2, 100, 8750, 5200, 5750},
                                      {3, 5980, 8750, 5200, 5750}};
    QTest::newRow("Cinco, photo 3 at 6.8 W0") << 5
                                              << Placed{{0, 1500, 2200, 3400, 3680},
                                                        {1, 6260, 2200, 3400, 3680},
                                                        {2, 4000, 6880, 3400, 3680},
                                                        {3, 1500, 10880, 3400, 3680},
                                                        {4, 6260, 11200, 3400, 3680}};
    QTest::newRow("Seis") << 6
                          << Placed{{0, 1500, 2200, 3400, 3680},  {1, 6260, 2200, 3400, 3680},
                                    {2, 1500, 6880, 3400, 3680},  {3, 6260, 6880, 3400, 3680},
                                    {4, 1500, 11200, 3400, 3680}, {5, 6260, 11200, 3400, 3680}};
}

void PrintedPageTest::undistortedPages() {
    QFETCH(int, arrangement);
    QFETCH(Placed, page);
    RecordingPrinter printer;
    QVERIFY(
        printPages(jobFor(static_cast<Arrangement>(arrangement), arrangement), printer, nullptr));
    QCOMPARE(printer.documents.size(), std::size_t(1));
    QCOMPARE(placed(printer.documents[0]), page);
    QCOMPARE(printer.documents[0].property, 0);
}

void PrintedPageTest::pagesRepeatTheFirstPagesPositions() {
    RecordingPrinter tres;
    printPages(jobFor(Arrangement::Tres, 6), tres, nullptr);
    QCOMPARE(tres.documents.size(), std::size_t(2));
    QCOMPARE(placed(tres.documents[1]), (Placed{{3, 100, 2200, 5200, 5750},
                                                {4, 5980, 2200, 5200, 5750},
                                                {5, 3000, 8750, 5200, 5750}}));
    RecordingPrinter dos;
    printPages(jobFor(Arrangement::Dos, 6), dos, nullptr);
    QCOMPARE(dos.documents.size(), std::size_t(3));
    QCOMPARE(placed(dos.documents[2]),
             (Placed{{4, 3000, 2200, 5400, 5750}, {5, 3000, 10000, 5400, 5750}}));
    for (const auto& document : dos.documents) {  // every page starts with the logo
        const auto& logo = document.drawings.front();
        QCOMPARE(colourAt(logo.picture, 0, 0), Colour(0x00FFFFFF));
        QCOMPARE((QList<double>{logo.x, logo.y, logo.width, logo.height}),
                 (QList<double>{2000, 10, 7000, 2000}));
    }
}

void PrintedPageTest::unaPrintsTheTickedPhotos() {
    PrintJob job = jobFor(Arrangement::Una, 4);
    job.ticked = {true, false, true, false, false, true};  // photo 6 does not exist: k is 4
    RecordingPrinter printer;
    QVERIFY(printPages(job, printer, nullptr));
    QCOMPARE(printer.documents.size(), std::size_t(2));
    QCOMPARE(placed(printer.documents[0]), (Placed{{0, 100, 2200, 10830, 11500}}));
    QCOMPARE(placed(printer.documents[1]), (Placed{{2, 100, 2200, 10830, 11500}}));
}

void PrintedPageTest::propertyIsSetBeforeThePages_data() {
    QTest::addColumn<int>("arrangement");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("properties");  // per document; -1: not set in that document
    QTest::newRow("Una: before every page") << 1 << 3 << QList<int>{0, 0, 0};
    QTest::newRow("Dos: once, before the first page") << 2 << 6 << QList<int>{0, -1, -1};
    QTest::newRow("Tres: once, before the first page") << 3 << 6 << QList<int>{0, -1};
}

void PrintedPageTest::propertyIsSetBeforeThePages() {
    QFETCH(int, arrangement);
    QFETCH(int, count);
    QFETCH(QList<int>, properties);
    PrintJob job = jobFor(static_cast<Arrangement>(arrangement), count);
    job.ticked.fill(true);
    RecordingPrinter printer;
    printer.property = 7;  // a value left from an earlier printing
    QVERIFY(printPages(job, printer, nullptr));
    QList<int> found;
    for (const auto& document : printer.documents) {
        found << document.property;
    }
    QCOMPARE(found, properties);
}

void PrintedPageTest::distortionReachesThePaper() {
    PrintJob job = jobFor(Arrangement::Una, 1);
    job.ticked[0] = true;
    job.H0 = 5415 + 2 * 50;  // "Altura" twice: the printed width
    RecordingPrinter taller;
    printPages(job, taller, nullptr);
    QCOMPARE(taller.documents[0].drawings[1].width, 11030.0);
    QCOMPARE(taller.documents[0].drawings[1].height, 11500.0);

    job.H0 = 5415;
    job.W0 = 5000 + 2 * 50;  // "Anchura" twice: the printed height
    RecordingPrinter wider;
    printPages(job, wider, nullptr);
    QCOMPARE(thousandths(wider.documents[0].drawings[1].height), 11730.0);

    PrintJob tres = jobFor(Arrangement::Tres, 3);
    tres.H0 = tres.H1 = 2700;  // taller previews move the second photo to the right
    RecordingPrinter moved;
    printPages(tres, moved, nullptr);
    QCOMPARE(thousandths(moved.documents[0].drawings[2].x), 6210.0);
}

void PrintedPageTest::conditionsThatPrintNothing() {
    RecordingPrinter printer;
    QVERIFY(printPages(jobFor(Arrangement::Una, 3), printer, nullptr));  // nothing ticked
    QVERIFY(printPages(jobFor(Arrangement::Dos, 3), printer, nullptr));
    QVERIFY(printPages(jobFor(Arrangement::Tres, 4), printer, nullptr));
    QVERIFY(printer.documents.empty());
    QVERIFY(printer.current.drawings.empty());
    QCOMPARE(printer.property, -1);
}

void PrintedPageTest::refusedDocumentStopsThePrinting() {
    RecordingPrinter printer;
    printer.failNextEndDoc = true;
    QString error;
    QVERIFY(!printPages(jobFor(Arrangement::Dos, 4), printer, &error));
    QVERIFY(printer.documents.empty());  // the second page was not sent
    QCOMPARE(error, QStringLiteral("La impresora no responde."));
}

QTEST_GUILESS_MAIN(PrintedPageTest)
#include "tst_printed_page.moc"
