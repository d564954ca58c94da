#include <QtTest>

#include <sys/stat.h>

#include <QAction>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>

#include "clients/visit_list.h"

#include "clients/visits.h"
#include "image_compare.h"
#include "platform/image_control.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::solidPicture;
using Window = crinova::test::PrincipalWindow;

namespace {

// A main window with a hair applied and the client "07" (Ana) active, her photo in one colour.
struct VisitWindow : Window {
    bool start() {
        if (!load()) {
            return false;
        }
        principal->Muestrapelos_Click(1);
        folder.writePicture(QStringLiteral("\\clientes\\ana.bmp"),
                            solidPicture(300, 320, 0x00336699));
        const ClientRecord ana{"07", "Ana", "\\clientes\\ana.bmp"};
        return addClient(database, ana, nullptr) == ClientWrite::Done &&
               PrincipalProbe::clients(*principal).activateClient(ana);
    }
    // "&Guardar Ficha Cliente" after saving `photos` slots.
    void saveVisit(int photos) {
        for (int i = 0; i < photos; ++i) {
            PrincipalProbe::photoSlots(*principal).mnuguardar_Click();
        }
        PrincipalProbe::clients(*principal).mnuguardarcliente_Click();
    }
    // "BUSQUEDA DE CLIENTE" with Ana chosen.
    ClientSearch* searchAna() {
        PrincipalProbe::clients(*principal).mnubuscarcliente_Click();
        ClientSearch* search = PrincipalProbe::clients(*principal).buscarcliente();
        search->findChild<QListWidget*>(QStringLiteral("listabusqueda"))->setCurrentRow(0);
        return search;
    }
    QListWidget* visitList(ClientSearch* search) const {
        return search->findChild<QListWidget*>(QStringLiteral("listavisitas"));
    }
    void loadVisit(ClientSearch* search, int row) {
        visitList(search)->setCurrentRow(row);
        QTest::mouseClick(search->findChild<QPushButton*>(QStringLiteral("btncargarvisita")),
                          Qt::LeftButton);
    }
    QImage slotThumbnail(int slot) const {
        return find<ImageControl>(QStringLiteral("Fotoseleccionada_%1").arg(slot))->picture();
    }
    QByteArray bytes(const QString& relativeName) const {
        QFile file(folder.path(relativeName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

}  // namespace

class VisitDialogsTest : public QObject {
    Q_OBJECT
  private slots:
    void twoSavesAreListedNewestFirst();
    void loadingAVisitFillsTheSlots();
    void storedSlotsAreReplacedOnlyOnYes();
    void aMissingVisitFileIsNamed();
    void deletingTellsHowManyVisits();
    void thumbnailsAreReadAsTheListScrolls();
    void stripPhotosAreReadAtTheirShownSize_data();
    void stripPhotosAreReadAtTheirShownSize();
};

void VisitDialogsTest::twoSavesAreListedNewestFirst() {
    VisitWindow window;
    QVERIFY(window.start());
    window.saveVisit(3);
    window.saveVisit(1);  // slot 4, in the same second or the next one
    std::vector<Visit> visits;
    QVERIFY(loadVisits(window.database, QStringLiteral("07"), visits, nullptr));
    QCOMPARE(visits.size(), std::size_t{2});
    QVERIFY(visits[0].fecha > visits[1].fecha);
    QCOMPARE(visits[1].photos.size(), std::size_t{3});
    QCOMPARE(visits[0].photos.size(), std::size_t{4});  // slots 1 to 3 are still stored

    ClientSearch* search = window.searchAna();
    QListWidget* list = window.visitList(search);
    QVERIFY(list);
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->currentRow(), 0);
    QCOMPARE(list->item(0)->text(),
             visits[0].fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
    QVERIFY(!list->item(0)->icon().isNull());
    // Four thumbnails side by side, two pixels apart.
    QCOMPARE(list->iconSize(), QSize(4 * 40 + 3 * 2, 30));
}

void VisitDialogsTest::loadingAVisitFillsTheSlots() {
    VisitWindow window;
    QVERIFY(window.start());
    window.saveVisit(2);
    std::vector<Visit> visits;
    QVERIFY(loadVisits(window.database, QStringLiteral("07"), visits, nullptr));
    const QByteArray first = window.bytes(visits[0].photos[0].fichero);
    // The slots emptied as a new client would find them; the commands that need them go off.
    for (int slot = 1; slot <= 6; ++slot) {
        deleteFile(window.folder.path(slotFileName(slot)));
    }
    PrincipalProbe::photoSlots(*window.principal)
        .mnupresentacion_Click();  // "no photo stored": it switches itself off
    QVERIFY(!window.find<QAction>(QStringLiteral("mnupresentacion"))->isEnabled());

    ClientSearch* search = window.searchAna();
    window.dialogs.asked.clear();
    window.loadVisit(search, 0);
    QCOMPARE(window.dialogs.messages().size(), 0);  // nothing stored: nothing to ask
    QCOMPARE(window.bytes(slotFileName(1)), first);
    QVERIFY(window.folder.exists(slotFileName(2)));
    QVERIFY(!window.folder.exists(slotFileName(3)));
    const QImage photo = loadPicture(window.folder.path(slotFileName(1))).picture;
    COMPARE_IMAGES(window.slotThumbnail(1), photo);
    QVERIFY(window.slotThumbnail(3).isNull());
    QVERIFY(window.find<QAction>(QStringLiteral("mnupresentacion"))->isEnabled());
    QVERIFY(window.find<QAction>(QStringLiteral("mnuImprimir"))->isEnabled());
}

void VisitDialogsTest::storedSlotsAreReplacedOnlyOnYes() {
    VisitWindow window;
    QVERIFY(window.start());
    window.saveVisit(1);
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    PrincipalProbe::photoSlots(*window.principal)
        .mnuguardar_Click();  // slots 1 to 3 stored, the visit has slot 1 only
    const QByteArray third = window.bytes(slotFileName(3));
    QVERIFY(!third.isEmpty());

    // Her looks that are in no visit yet are offered first: Cancelar changes nothing.
    ClientSearch* search = window.searchAna();
    window.dialogs.asked.clear();
    window.dialogs.messageAnswers = {MessageAnswer::Cancel};
    window.loadVisit(search, 0);
    QCOMPARE(window.dialogs.messages(),
             QStringList{"Las fotos guardadas son de Ana. ¿Guardarlas en su ficha antes de "
                         "continuar?"});
    QCOMPARE(window.bytes(slotFileName(3)), third);
    // Once they are in her record, only the slots themselves are at stake.
    PrincipalProbe::clients(*window.principal).mnuguardarcliente_Click();
    window.dialogs.asked.clear();
    window.dialogs.messageAnswers = {MessageAnswer::No};
    window.loadVisit(search, 0);
    QCOMPARE(window.dialogs.asked.back().buttons, MessageButtons::YesNo);
    QVERIFY(window.dialogs.messages().last().contains(QStringLiteral("¿Quiere sustituirlas")));
    QCOMPARE(window.bytes(slotFileName(3)), third);  // No: nothing changed
    QVERIFY(!window.slotThumbnail(3).isNull());

    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    window.loadVisit(search, 0);
    QVERIFY(window.folder.exists(slotFileName(1)));
    QVERIFY(!window.folder.exists(slotFileName(2)));
    QVERIFY(!window.folder.exists(slotFileName(3)));
    QVERIFY(window.slotThumbnail(2).isNull());
    QVERIFY(window.slotThumbnail(3).isNull());
    // The next save goes to slot 2, after the visit's photo.
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    QVERIFY(window.folder.exists(slotFileName(2)));
}

void VisitDialogsTest::aMissingVisitFileIsNamed() {
    VisitWindow window;
    QVERIFY(window.start());
    window.saveVisit(3);
    std::vector<Visit> visits;
    QVERIFY(loadVisits(window.database, QStringLiteral("07"), visits, nullptr));
    const QString gone = visits[0].photos[1].fichero;
    const QByteArray third = window.bytes(visits[0].photos[2].fichero);
    QVERIFY(QFile::remove(window.folder.path(gone)));

    ClientSearch* search = window.searchAna();
    window.dialogs.messageAnswers = {MessageAnswer::Yes, MessageAnswer::Ok};
    window.dialogs.asked.clear();
    window.loadVisit(search, 0);
    QCOMPARE(window.dialogs.messages().size(), 2);  // the replace question, then the gone file
    QVERIFY(window.dialogs.messages().last().contains(window.folder.path(gone)));
    // The photos that are there move up: the visit's third photo is in slot 2.
    QCOMPARE(window.bytes(slotFileName(2)), third);
    QVERIFY(!window.folder.exists(slotFileName(3)));
}

void VisitDialogsTest::deletingTellsHowManyVisits() {
    VisitWindow window;
    QVERIFY(window.start());
    window.saveVisit(1);
    window.saveVisit(0);
    PrincipalProbe::clients(*window.principal).mnueliminar_Click();
    ClientSearch* dialog = PrincipalProbe::clients(*window.principal).eliminarclientes();
    dialog->findChild<QListWidget*>(QStringLiteral("listabusqueda"))->setCurrentRow(0);
    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    dialog->btnaceptar_Click();
    const QStringList messages = window.dialogs.messages();
    QVERIFY2(
        messages[messages.size() - 1].contains(QStringLiteral("Tiene 2 visitas guardadas")) ||
            messages[messages.size() - 2].contains(QStringLiteral("Tiene 2 visitas guardadas")),
        qPrintable(messages.join('\n')));
    QCOMPARE(countVisits(window.database, QStringLiteral("07")), 0);
    QCOMPARE(QDir(window.folder.path(QStringLiteral("\\clientes\\07")))
                 .entryList({QStringLiteral("*.bmp")}, QDir::Files)
                 .size(),
             2);  // the files of both visits (slot 1 each) stay
}

void VisitDialogsTest::thumbnailsAreReadAsTheListScrolls() {
    VisitWindow window;
    QVERIFY(window.start());
    window.folder.writePicture(QStringLiteral("\\clientes\\07\\v.bmp"),
                               solidPicture(30, 32, 0x000000FF));  // red: colours are 0x00BBGGRR
    for (int day = 1; day <= kVisitRowsRead + 2; ++day) {
        QVERIFY(saveClientVisit(window.database, "07", "Ana", "\\clientes\\ana.bmp",
                                QDateTime(QDate(2026, 11, day), QTime(10, 0)),
                                {{1, "\\clientes\\07\\v.bmp"}}, nullptr));
    }
    ClientSearch* search = window.searchAna();
    QListWidget* list = window.visitList(search);
    QCOMPARE(list->count(), kVisitRowsRead + 2);
    QVERIFY(!list->item(kVisitRowsRead - 1)->icon().isNull());
    QVERIFY(list->item(kVisitRowsRead + 1)->icon().isNull());
    list->resize(list->width(), 60);  // a short list, so that it can scroll
    list->doItemsLayout();
    QCoreApplication::processEvents();
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    QVERIFY(list->verticalScrollBar()->value() > 2);
    QVERIFY(!list->item(kVisitRowsRead + 1)->icon().isNull());
    // The strip is the photo scaled into 40 x 30 (kept in proportion: 28 x 30) on black.
    const QImage strip = list->item(kVisitRowsRead + 1)->icon().pixmap(40, 30).toImage();
    QCOMPARE(QColor(strip.pixel(20, 15)), QColor(Qt::red));
    QCOMPARE(QColor(strip.pixel(0, 15)), QColor(Qt::black));
}

void VisitDialogsTest::stripPhotosAreReadAtTheirShownSize_data() {
    QTest::addColumn<QString>("photo");  // "pipe", "jpg" or "rle"
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("shown");
    QTest::newRow("jpeg, reduced while it is decoded") << "jpg" << QSize(2000, 1500) << true;
    QTest::newRow("small bitmap") << "rle" << QSize(400, 300) << true;
    // Decoded whole at a byte a pixel it would take 61 MB for a 40 x 30 thumbnail.
    QTest::newRow("bitmap past the thumbnails' memory") << "rle" << QSize(8000, 8000) << false;
    QTest::newRow("named pipe, never opened") << "pipe" << QSize() << false;
}

void VisitDialogsTest::stripPhotosAreReadAtTheirShownSize() {
    QFETCH(QString, photo);
    QFETCH(QSize, size);
    QFETCH(bool, shown);
    test::TestProgramFolder folder(test::TestProgramFolder::Empty);
    const QString name = QStringLiteral("\\clientes\\07\\v.bmp");
    constexpr Colour kRed = 0x000000FF;
    if (photo == QLatin1String("pipe")) {
        QVERIFY(QDir().mkpath(folder.path(QStringLiteral("\\clientes\\07"))));
        QVERIFY(::mkfifo(QFile::encodeName(folder.path(name)), 0600) == 0);
    } else if (photo == QLatin1String("rle")) {
        folder.writeBytes(name, test::runLengthBitmap(size, kRed));
    } else {
        folder.writePicture(name, solidPicture(size.width(), size.height(), kRed), "jpg");
    }
    const QImage strip = visitStrip(folder.folder(), Visit{{}, {{1, name}}}, QSize(40, 30));
    QCOMPARE(strip.size(), QSize(40, 30));
    const QColor middle(strip.pixel(20, 15));  // red within a JPEG's rounding, or black
    QVERIFY2(shown ? middle.red() > 240 && middle.green() < 16 && middle.blue() < 16
                   : middle == QColor(Qt::black),
             qPrintable(middle.name()));
}

QTEST_MAIN(VisitDialogsTest)
#include "tst_visit_dialogs.moc"
