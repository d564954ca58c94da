#include <QtTest>

#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include "image_compare.h"
#include "platform/qt_printer.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::solidPicture;
using crinova::test::TestProgramFolder;

namespace {

int pageCount(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // Page objects, not the page tree ("/Type /Pages").
    return static_cast<int>(QString::fromLatin1(file.readAll())
                                .count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?!s)"))));
}

void printToPdf(QtPrinter& printer, const QString& path) {
    printer.device().setOutputFormat(QPrinter::PdfFormat);
    printer.device().setOutputFileName(path);
    printer.device().setPageSize(QPageSize(QPageSize::A4));
}

}  // namespace

class QtPrinterTest : public QObject {
    Q_OBJECT
  private slots:
    void eachDocumentIsAPdfOfItsOwnNamedAsChosenLast();
    void picturesLandWhereTheTwipsSay();
    void unwritableFileIsAnError();
};

void QtPrinterTest::eachDocumentIsAPdfOfItsOwnNamedAsChosenLast() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    QtPrinter printer;
    auto printPages = [&printer](int pages) {
        for (int page = 0; page < pages; ++page) {
            printer.PaintPicture(solidPicture(4, 4, 0x000000FF), 2000, 10, 7000, 2000);
            printer.PaintPicture(solidPicture(4, 4, 0x00FF0000), 100, 2200, 10830, 11500);
            QVERIFY2(printer.EndDoc(), qPrintable(printer.lastError()));
        }
    };
    printToPdf(printer, folder.path(QStringLiteral("\\primera.pdf")));
    printPages(3);
    // What the printer set-up does when the stylist names another file.
    printer.device().setOutputFileName(folder.path(QStringLiteral("\\segunda.pdf")));
    printPages(2);
    for (const char* name : {"\\primera.pdf", "\\primera-2.pdf", "\\primera-3.pdf", "\\segunda.pdf",
                             "\\segunda-2.pdf"}) {
        QVERIFY2(folder.exists(QString::fromLatin1(name)), name);
        QCOMPARE(pageCount(folder.path(QString::fromLatin1(name))), 1);
    }
    QVERIFY(!folder.exists(QStringLiteral("\\primera-4.pdf")));

    // Chosen again after a printing: its first document takes the name itself again.
    printer.device().setOutputFileName(folder.path(QStringLiteral("\\primera.pdf")));
    QVERIFY(QFile::remove(folder.path(QStringLiteral("\\primera.pdf"))));
    printPages(2);
    QVERIFY(folder.exists(QStringLiteral("\\primera.pdf")));
    QVERIFY(!folder.exists(QStringLiteral("\\segunda-3.pdf")));
}

void QtPrinterTest::picturesLandWhereTheTwipsSay() {
    if (QStandardPaths::findExecutable(QStringLiteral("pdftoppm")).isEmpty()) {
        QSKIP("pdftoppm (poppler-utils) is not installed");
    }
    TestProgramFolder folder(TestProgramFolder::Empty);
    QtPrinter printer;
    printToPdf(printer, folder.path(QStringLiteral("\\pagina.pdf")));
    printer.PaintPicture(solidPicture(8, 8, 0x000000FF), 2000, 10, 7000, 2000);     // red logo
    printer.PaintPicture(solidPicture(8, 8, 0x00FF0000), 100, 2200, 10830, 11500);  // blue photo
    QVERIFY(printer.EndDoc());

    // At 72 dots per inch a dot is 20 twips; the printable area starts at the page margins.
    QProcess render;
    render.start(QStringLiteral("pdftoppm"),
                 {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                  QStringLiteral("-singlefile"), folder.path(QStringLiteral("\\pagina.pdf")),
                  folder.path(QStringLiteral("\\pagina"))});
    QVERIFY(render.waitForFinished(30000));
    const QImage page(folder.path(QStringLiteral("\\pagina.png")));
    QVERIFY(!page.isNull());
    const QRectF printable = printer.device().pageRect(QPrinter::Point);
    auto at = [&](double xTwips, double yTwips) {
        return page.pixelColor(qRound(printable.left() + xTwips / 20),
                               qRound(printable.top() + yTwips / 20));
    };
    auto near = [](QColor actual, QColor expected) {
        return qAbs(actual.red() - expected.red()) < 40 &&
               qAbs(actual.green() - expected.green()) < 40 &&
               qAbs(actual.blue() - expected.blue()) < 40;
    };
    QVERIFY(near(at(5500, 1010), Qt::red));     // middle of the logo
    QVERIFY(near(at(2100, 100), Qt::red));      // just inside its top-left corner
    QVERIFY(near(at(1900, 100), Qt::white));    // just left of it
    QVERIFY(near(at(5515, 7950), Qt::blue));    // middle of the photo
    QVERIFY(near(at(10830, 13600), Qt::blue));  // near its bottom-right corner
    QVERIFY(near(at(11030, 7950), Qt::white));  // right of it
}

void QtPrinterTest::unwritableFileIsAnError() {
    TestProgramFolder folder(TestProgramFolder::Empty);
    QVERIFY(QDir().mkpath(folder.path(QStringLiteral("\\carpeta.pdf"))));
    QtPrinter printer;
    printToPdf(printer, folder.path(QStringLiteral("\\carpeta.pdf")));
    printer.PaintPicture(solidPicture(4, 4, 0x000000FF), 0, 0, 1440, 1440);
    QVERIFY(!printer.EndDoc());
    QVERIFY(printer.lastError().contains(QStringLiteral("carpeta.pdf")));
}

QTEST_MAIN(QtPrinterTest)
#include "tst_qt_printer.moc"
