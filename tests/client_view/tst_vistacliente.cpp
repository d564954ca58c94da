#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>

#include "client_view/large_rendering.h"
#include "client_view/saved_looks.h"
#include "clients/client_records.h"
#include "clients/visits.h"
#include "principal_window.h"

using namespace crinova;
using Window = crinova::test::PrincipalWindow;

namespace {

double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y);
            const QRgb q = b.pixel(x, y);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
                   std::abs(qBlue(p) - qBlue(q));
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

// The main window with sample 2 applied and the client's view open.
struct ViewWindow : Window {
    bool open() {
        if (!load()) {
            return false;
        }
        principal->Muestrapelos_Click(1);
        find<QAction>(QStringLiteral("mnuvistacliente"))->trigger();
        settle();
        return view() != nullptr;
    }
    ClientViewCommands& commands() const { return PrincipalProbe::clientView(*principal); }
    Vistacliente* view() const { return commands().vistacliente(); }
    // The renderer done and its results delivered.
    void settle() const {
        commands().renderer().waitIdle();
        QCoreApplication::processEvents();
    }
    QString slot(int n) const { return folder.path(slotFileName(n)); }
};

enum Action { Sample, DragEnd, Zoom, Turn, Fit, Soft, NewShade };

}  // namespace

class VistaclienteTest : public QObject {
    Q_OBJECT
  private slots:
    void followsEveryRecomposition_data();
    void followsEveryRecomposition();
    void opensFullScreenFacingTheClientAndEscapeLeaves();
    void slotsKeepTheirLargeLook();
    void savedLooksRunAsASlideShow();
};

void VistaclienteTest::followsEveryRecomposition_data() {
    QTest::addColumn<int>("action");
    QTest::newRow("sample") << int(Sample);
    QTest::newRow("drag end") << int(DragEnd);
    QTest::newRow("zoom") << int(Zoom);
    QTest::newRow("rotation") << int(Turn);
    QTest::newRow("fit to the face") << int(Fit);
    QTest::newRow("soft edges") << int(Soft);
    QTest::newRow("colour") << int(NewShade);
}

void VistaclienteTest::followsEveryRecomposition() {
    QFETCH(int, action);
    ViewWindow window;
    QVERIFY(window.open());
    if (action == Fit) {  // the samples fit the model as drawn: enlarge the hair first
        PrincipalProbe::overlay(*window.principal).anchopelo = 40;
        window.principal->DibujarPelo();
        window.settle();
    }
    const QImage before = window.view()->rendering()->ahora;
    switch (action) {
        case Sample:
            window.principal->Muestrapelos_Click(4);
            break;
        case DragEnd:
            window.find<QRadioButton>(QStringLiteral("oppelo"))->setChecked(true);
            QTest::mousePress(window.fprincipal(), Qt::LeftButton, {}, QPoint(20, 10));
            QTest::mouseRelease(window.fprincipal(), Qt::LeftButton, {}, QPoint(20, 10));
            break;
        case Zoom:
            window.find<QLineEdit>(QStringLiteral("txtampliar"))->setText(QStringLiteral("30"));
            PrincipalProbe::geometry(*window.principal).btnampliar_Click(0);
            break;
        case Turn:
            window.find<QLineEdit>(QStringLiteral("txtgirar"))->setText(QStringLiteral("15"));
            PrincipalProbe::geometry(*window.principal).btngirar_Click(0);
            break;
        case Fit:
            PrincipalProbe::faceCommands(*window.principal)->mnuajustarcara_Click();
            break;
        case Soft:
            window.find<QAction>(QStringLiteral("mnudifuminar"))->trigger();
            break;
        case NewShade: {
            window.find<QAction>(QStringLiteral("mnucolorcabello"))->trigger();
            auto* level = window.find<QComboBox>(QStringLiteral("cbaltura"));
            level->setCurrentIndex(6);
            emit level->activated(6);
            break;
        }
    }
    window.settle();
    const std::optional<LargeRendering>& rendering = window.view()->rendering();
    QVERIFY(rendering);
    const QImage now = reducedTo(rendering->ahora, QSize(300, 320));
    QVERIFY(meanDifference(now, reducedTo(before, QSize(300, 320))) > 0.1);
    const double mean = meanDifference(now, window.shown());
    QVERIFY2(mean <= 6.0, qPrintable(QString::number(mean)));
    QVERIFY(window.dialogs.asked.empty());
}

void VistaclienteTest::opensFullScreenFacingTheClientAndEscapeLeaves() {
    ViewWindow window;
    // Without its companion the photo is enlarged, and the status line says so.
    QVERIFY(QFile::remove(window.folder.path(QStringLiteral("\\vexasinmo-grande.jpg"))));
    QVERIFY(window.open());
    Vistacliente* view = window.view();
    QCOMPARE(view->statusText(), enlargedNote(QStringLiteral("vexasinmo.jpg")));
    QCOMPARE(view->windowTitle(), QStringLiteral("Vista para el Cliente"));
    QCOMPARE(view->findChild<QTabWidget*>(QStringLiteral("tabvista"))->tabText(1),
             QStringLiteral("Antes y Después"));
    // Two screens (tests/client_view/two_screens.json): the view takes the one the main window
    // is not on.
    QCOMPARE(QGuiApplication::screens().size(), 2);
    QVERIFY(view->isFullScreen());
    QVERIFY(view->screen() != window.principal->screen());
    QCOMPARE(view->geometry(), view->screen()->geometry());

    QTest::keyClick(view, Qt::Key_F11);
    QVERIFY(!view->isFullScreen());
    QTest::mouseDClick(view, Qt::LeftButton);
    QVERIFY(view->isFullScreen());
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(!view->isFullScreen());
    QVERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Escape);
    QVERIFY(!window.view());
    // Opened again, it is a new one.
    window.find<QAction>(QStringLiteral("mnuvistacliente"))->trigger();
    QVERIFY(window.view() && window.view() != view);
}

void VistaclienteTest::slotsKeepTheirLargeLook() {
    ViewWindow window;
    QVERIFY(window.open());
    SlotCommands& saving = PrincipalProbe::photoSlots(*window.principal);
    saving.mnuguardar_Click();
    window.principal->Muestrapelos_Click(3);
    saving.mnuguardar_Click();
    window.settle();
    // Written beside the slot file, large, with the style's name, and the same look.
    QMap<QString, QString> texts;
    const QImage large = loadLargeCompanion(window.slot(1), &texts);
    QCOMPARE(large.size(), QSize(1200, 1280));
    QCOMPARE(texts.value(QStringLiteral("estilo")), QStringLiteral("Muestra 2"));
    QVERIFY(meanDifference(reducedTo(large, QSize(300, 320)),
                           loadPicture(window.slot(1)).picture) <= 6.0);

    // Kept with a visit (waiting under "\guardando\" until its rows are written), back into the
    // slots with it, and deleted with the client's photos.
    const ClientRecord client{QStringLiteral("c.1"), QStringLiteral("Ana"), {}};
    QString error;
    QVERIFY(saveVisit(window.database, window.folder.folder(), client, {1, 2},
                      QDateTime(QDate(2025, 3, 7), QTime(10, 0)), &error));
    std::vector<Visit> visits;
    QVERIFY(loadVisits(window.database, client.codigo, visits, nullptr));
    const QString kept = window.folder.path(visits.at(0).photos.at(1).fichero);
    QVERIFY(kept.contains(QStringLiteral("/clientes/c_002e1/")));
    QVERIFY(!loadLargeCompanion(kept).isNull());
    QVERIFY(!QFileInfo::exists(window.folder.path(kVisitStaging)));
    QVERIFY(deleteLargeCompanions(window.slot(1)) && deleteLargeCompanions(window.slot(2)));
    Visit second{visits[0].fecha, {visits[0].photos[1]}};
    placeVisitInSlots(window.folder.folder(), second, QSize(300, 320), nullptr, &error);
    QMap<QString, QString> back;
    QVERIFY(!loadLargeCompanion(window.slot(1), &back).isNull());
    QCOMPARE(back.value(QStringLiteral("estilo")), QStringLiteral("Muestra 4"));
    QVERIFY(!fileExists(window.slot(2)));
    const QStringList files = clientFiles(window.database, window.folder.folder(), client);
    QVERIFY(deleteClientFiles(window.folder.folder(), client, files).isEmpty());
    QVERIFY(!QFileInfo::exists(QFileInfo(kept).path()));

    // Printed: the large picture at the same twips.
    window.find<QAction>(QStringLiteral("mnuImprimir"))->trigger();
    Imprimir* dialog = PrincipalProbe::printing(*window.principal).imprimir();
    dialog->findChild<QCheckBox*>(QStringLiteral("cseleccion_0"))->setChecked(true);
    window.dialogs.messageAnswers = {MessageAnswer::No};
    dialog->btnimprimir_Click();
    QCOMPARE(window.printer.documents.size(), std::size_t(1));
    QCOMPARE(window.printer.documents[0].drawings[1].picture.width(), 1200);
    QCOMPARE(window.printer.documents[0].drawings[1].width, 10830.0);
    dialog->close();

    // Exported, named as the stylist says (no client is active), into the folder chosen.
    QTemporaryDir usb;
    QVERIFY(window.find<QAction>(QStringLiteral("mnuexportar"))->isEnabled());
    window.dialogs.textAnswers = {QStringLiteral("Lucía"), usb.path()};
    PrincipalProbe::clientView(*window.principal).mnuexportar_Click();
    const QStringList written = QDir(usb.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    QCOMPARE(written.size(), 1);
    QVERIFY(written[0].startsWith(QStringLiteral("Lucía ")));
    QCOMPARE(QDir(usb.filePath(written[0])).entryList(QDir::Files),
             QStringList({"Peinado 1.jpg", "Peinados.pdf"}));

    // The program closes: the companions go with the slots.
    window.principal->close();
    QVERIFY(!fileExists(largeCompanionPath(window.slot(1), QStringLiteral("png"))));
}

void VistaclienteTest::savedLooksRunAsASlideShow() {
    ViewWindow window;
    QVERIFY(window.open());
    SlotCommands& saving = PrincipalProbe::photoSlots(*window.principal);
    saving.mnuguardar_Click();
    window.principal->Muestrapelos_Click(5);
    saving.mnuguardar_Click();
    window.settle();
    Vistacliente* view = window.view();
    auto now = std::chrono::steady_clock::time_point();
    view->setClock([&now] { return now; });
    view->findChild<QTabWidget*>(QStringLiteral("tabvista"))->setCurrentIndex(2);
    QVERIFY(view->findChild<QWidget*>(QStringLiteral("fguardada_2"))->isVisibleTo(view));
    QVERIFY(!view->findChild<QWidget*>(QStringLiteral("fguardada_3"))->isVisibleTo(view));

    QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("btnpasar")), Qt::LeftButton);
    QTimer* next = view->findChild<QTimer*>(QStringLiteral("tmrpasar"));
    QTimer* wipe = view->findChild<QTimer*>(QStringLiteral("tmrcortinilla"));
    QLabel* caption = view->findChild<QLabel*>(QStringLiteral("lblguardada"));
    QVERIFY(next->isActive() && wipe->isActive());
    QCOMPARE(next->interval(), 5000);
    QCOMPARE(caption->text(), QStringLiteral("Peinado 1: Muestra 2"));
    // The wipe lasts as long as the slide show's: done after one second.
    now += std::chrono::milliseconds(500);
    view->tmrcortinilla_Timer();
    QVERIFY(wipe->isActive());
    now += std::chrono::milliseconds(500);
    view->tmrcortinilla_Timer();
    QVERIFY(!wipe->isActive());
    view->tmrpasar_Timer();
    QCOMPARE(caption->text(), QStringLiteral("Peinado 2: Muestra 6"));
    view->tmrpasar_Timer();
    QCOMPARE(caption->text(), QStringLiteral("Peinado 1: Muestra 2"));
    // Leaving the page stops the show.
    view->findChild<QTabWidget*>(QStringLiteral("tabvista"))->setCurrentIndex(0);
    QVERIFY(!next->isActive() && !wipe->isActive());
}

QTEST_MAIN(VistaclienteTest)
#include "tst_vistacliente.moc"
