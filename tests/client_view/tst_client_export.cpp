#include <QtTest>

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include "client_view/client_export.h"
#include "client_view/view_pictures.h"
#include "image_compare.h"
#include "read_only_folder.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;

namespace {

constexpr Colour kLogo = 0x000000C0;  // dark red
const Colour kLooks[] = {0x00C00000, 0x0000A000, 0x00A0A000};

ClientExport threeLooks(const QString& folder) {
    ClientExport job;
    job.folder = folder;
    job.clientName = QStringLiteral("Ana/María: \"la de las 5\"");
    job.date = QDate(2025, 3, 7);
    job.logo = solidPicture(350, 100, kLogo);
    for (int i = 0; i < 3; ++i) {
        job.looks.push_back({i + 1, solidPicture(1200, 1280, kLooks[i]), true,
                             QStringLiteral("Estilo %1").arg(i + 1), QStringLiteral("rubio")});
    }
    return job;
}

bool near(Colour a, Colour b) {
    for (int shift : {0, 8, 16}) {
        if (std::abs(int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF)) > 12) {
            return false;
        }
    }
    return true;
}

}  // namespace

class ClientExportTest : public QObject {
    Q_OBJECT
  private slots:
    void writesOnePageAndEachLook();
    void unwritableFolderIsRefusedAndLeavesNothing();
    void placement_data();
    void placement();
    void wipeSteps();
};

void ClientExportTest::writesOnePageAndEachLook() {
    QTemporaryDir usb;
    QString error;
    const QString written = exportForClient(threeLooks(usb.path()), &error);
    QVERIFY2(!written.isEmpty(), qPrintable(error));
    // The name cleaned for the folder; a second export the same day does not overwrite it.
    QCOMPARE(QFileInfo(written).fileName(), QStringLiteral("Ana_María_ _la de las 5_ 2025-03-07"));
    QCOMPARE(QFileInfo(exportForClient(threeLooks(usb.path()), &error)).fileName(),
             QStringLiteral("Ana_María_ _la de las 5_ 2025-03-07 (2)"));
    QCOMPARE(QDir(written).entryList(QDir::Files),
             QStringList({"Peinado 1.jpg", "Peinado 2.jpg", "Peinado 3.jpg", "Peinados.pdf"}));
    const QImage second(QDir(written).filePath(QStringLiteral("Peinado 2.jpg")));
    QCOMPARE(second.size(), QSize(1200, 1280));
    QVERIFY(near(colourAt(second, 600, 640), kLooks[1]));

    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) {
        QSKIP("pdftoppm (poppler-utils) is not installed");
    }
    // 72 dots an inch: a pixel is 20 twips.
    QProcess render;
    render.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("72"), QStringLiteral("-png"),
                            QDir(written).filePath(QStringLiteral("Peinados.pdf")),
                            usb.filePath(QStringLiteral("page"))});
    QVERIFY(render.waitForFinished(60000));
    QCOMPARE(render.exitCode(), 0);
    const QStringList pages = QDir(usb.path()).entryList({QStringLiteral("page*.png")});
    QCOMPARE(pages.size(), 1);
    const QImage page(usb.filePath(pages.first()));
    QCOMPARE(page.size(), QSize(595, 842));  // A4
    auto at = [&](const TwipsRect& r, double fx, double fy) {
        return colourAt(page, int((r.left + fx * r.width) / 20), int((r.top + fy * r.height) / 20));
    };
    const ExportLayout layout = exportLayout(3);
    QVERIFY(near(at(layout.logo, 0.5, 0.5), kLogo));
    for (int i = 0; i < 3; ++i) {
        const TwipsRect& look = layout.looks[static_cast<std::size_t>(i)];
        for (const auto& [fx, fy] :
             {std::pair(0.05, 0.05), std::pair(0.5, 0.5), std::pair(0.95, 0.95)}) {
            QVERIFY2(near(at(look, fx, fy), kLooks[i]), qPrintable(QString::number(i)));
        }
    }
    // Two looks to a row, as large as the cell allows: 15 wide for 16 high.
    QCOMPARE(layout.looks[1].top, layout.looks[0].top);
    QVERIFY(layout.looks[2].top > layout.looks[0].top + layout.looks[0].height);
    QVERIFY(std::abs(layout.looks[0].width * 16 - layout.looks[0].height * 15) < 1e-6);
}

void ClientExportTest::unwritableFolderIsRefusedAndLeavesNothing() {
    QTemporaryDir usb;
    QString error;
    {
        test::ReadOnlyFolder locked(usb.path());
        QVERIFY(exportForClient(threeLooks(usb.path()), &error).isEmpty());
    }
    QVERIFY(error.contains(QStringLiteral("No se ha podido escribir")));
    QVERIFY(QDir(usb.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
    QVERIFY(exportForClient(threeLooks(usb.filePath(QStringLiteral("gone"))), &error).isEmpty());
    QVERIFY(error.contains(QStringLiteral("no existe")));
}

void ClientExportTest::placement_data() {
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("mainFrame");
    QTest::addColumn<int>("screen");
    QTest::addColumn<bool>("fullScreen");
    QTest::addColumn<QRect>("geometry");
    const QRect left(0, 0, 1920, 1080);
    const QRect right(1920, 0, 1280, 1024);
    QTest::newRow("second screen, full screen")
        << QList<QRect>{left, right} << QRect(100, 50, 640, 500) << 1 << true << right;
    QTest::newRow("main window on the second screen: the first")
        << QList<QRect>{left, right} << QRect(2000, 50, 640, 500) << 0 << true << left;
    QTest::newRow("one screen, room on the right")
        << QList<QRect>{left} << QRect(100, 50, 640, 500) << 0 << false << QRect(740, 50, 960, 900);
    QTest::newRow("one screen, room on the left only")
        << QList<QRect>{left} << QRect(1000, 100, 640, 500) << 0 << false
        << QRect(40, 100, 960, 900);
    QTest::newRow("one screen, a narrower gap on the right")
        << QList<QRect>{QRect(0, 0, 1280, 1024)} << QRect(0, 0, 632, 505) << 0 << false
        << QRect(632, 0, 648, 900);
    QTest::newRow("small screen: against its right edge, made to fit")
        << QList<QRect>{QRect(0, 0, 1024, 768)} << QRect(10, 10, 640, 500) << 0 << false
        << QRect(64, 0, 960, 768);
}

void ClientExportTest::placement() {
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, mainFrame);
    QFETCH(int, screen);
    QFETCH(bool, fullScreen);
    QFETCH(QRect, geometry);
    const int mainScreen = mainFrame.x() >= 1920 ? 1 : 0;
    const ViewPlacement placement = placeClientView(
        std::vector<QRect>(screens.begin(), screens.end()), mainScreen, mainFrame, {960, 900});
    QCOMPARE(placement.screen, screen);
    QCOMPARE(placement.fullScreen, fullScreen);
    QCOMPARE(placement.geometry, geometry);
}

void ClientExportTest::wipeSteps() {
    // The wipe of a 4-row picture (rows 10, 20, 30, 40) lasting 1 s: five steps, a fifth of a
    // second apart; at step y row k shows row max(y, k + 1), the last row standing below.
    QImage picture(2, 4, QImage::Format_RGB32);
    for (int k = 0; k < 4; ++k) {
        picture.setPixel(0, k, qRgb(10 * (k + 1), 0, 0));
        picture.setPixel(1, k, qRgb(10 * (k + 1), 0, 0));
    }
    using std::chrono::milliseconds;
    QCOMPARE(wipeStepAt(milliseconds(0), milliseconds(1000), 4), 4);
    QCOMPARE(wipeStepAt(milliseconds(399), milliseconds(1000), 4), 3);
    QCOMPARE(wipeStepAt(milliseconds(400), milliseconds(1000), 4), 2);
    QCOMPARE(wipeStepAt(milliseconds(5000), milliseconds(1000), 4), 0);
    QImage frame(2, 4, QImage::Format_RGB32);
    drawWipeStep(frame, picture, 2);
    QCOMPARE(qRed(frame.pixel(0, 0)), 30);  // row 2
    QCOMPARE(qRed(frame.pixel(1, 1)), 30);
    QCOMPARE(qRed(frame.pixel(0, 2)), 40);  // row 3
    QCOMPARE(qRed(frame.pixel(0, 3)), 40);  // the row below: the last one
}

QTEST_MAIN(ClientExportTest)
#include "tst_client_export.moc"
