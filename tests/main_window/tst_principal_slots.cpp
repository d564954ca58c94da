#include <QtTest>

#include <QAction>
#include <QPushButton>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "platform/raster.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::colourAt;
using crinova::test::solidPicture;
using Window = crinova::test::PrincipalWindow;

namespace {

// A window with sample 2 applied whose wipes take no time, and that counts the wipes' rows.
struct ShowWindow : Window {
    int wipedRows = 0;
    std::vector<int> dueRows;

    bool start() {
        if (!load()) {
            return false;
        }
        PrincipalProbe::photoSlots(*principal)
            .setWipePacing(
                {std::chrono::seconds(1), [this](auto) { dueRows.push_back(wipedRows); }});
        PrincipalProbe::photoSlots(*principal).setWipeRowObserver([this](int) { ++wipedRows; });
        principal->Muestrapelos_Click(1);
        return true;
    }
    void writeSlot(int slot, Colour colour) {
        folder.writePicture(slotFileName(slot), solidPicture(300, 320, colour));
    }
    // The colour the show has on screen, read below the top row.
    Colour onScreen() const {
        return GetPixel(PrincipalProbe::photoSlots(*principal).presentacion()->fpresentacion(), 150,
                        100);
    }
};

}  // namespace

class PrincipalSlotsTest : public QObject {
    Q_OBJECT
  private slots:
    void saveWritesWhatThePictureShows();
    void savesFillTheSlotsThenAsk();
    void saveBeforeAHairDisablesTheEntry();
    void unwritableSlotIsReportedAndTheNextSaveGoesOn_data();
    void unwritableSlotIsReportedAndTheNextSaveGoesOn();
    void showRunsThroughTheStoredSlots();
    void showWithASingleSlotRepeatsIt();
    void showGoesOnWhenFilesVanishOrBreak();
    void showWithoutSlotsOrReference();
    void leavingTheShowStopsTheTicks_data();
    void leavingTheShowStopsTheTicks();
    void showOfAnActiveClientComparesHerWithHerOwnPhoto();
    void leavingAShowStartedBeforeAnyHairKeepsTheBasePhoto();
};

void PrincipalSlotsTest::saveWritesWhatThePictureShows() {
    Window window;
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    const QImage shown = window.shown().copy();
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();

    const PictureLoad saved = loadPicture(window.folder.path(QStringLiteral("\\foto1.bmp")));
    QVERIFY(saved.ok());
    QCOMPARE(saved.picture.size(), QSize(300, 320));
    COMPARE_IMAGES(saved.picture, shown);
    // At chosen pixels, the composition worked out from the inputs: (photo AND mask) XOR hair.
    const QImage photo = loadPicture(window.folder.path(kBasePhoto)).picture;
    const QImage mask = loadPicture(window.folder.path(QStringLiteral("\\mpelo2.jpg"))).picture;
    const QImage hair = loadPicture(window.folder.path(QStringLiteral("\\pelo2.jpg"))).picture;
    for (const QPoint at : {QPoint(150, 40), QPoint(150, 200), QPoint(20, 300), QPoint(60, 150)}) {
        const Colour expected = (colourAt(photo, at.x(), at.y()) & colourAt(mask, at.x(), at.y())) ^
                                colourAt(hair, at.x(), at.y());
        QCOMPARE(colourAt(saved.picture, at.x(), at.y()), expected);
    }
    auto* thumbnail = window.find<ImageControl>(QStringLiteral("Fotoseleccionada_1"));
    COMPARE_IMAGES(thumbnail->picture(), shown);
    QVERIFY(window.find<QAction>(QStringLiteral("mnupresentacion"))->isEnabled());
    QVERIFY(window.find<QAction>(QStringLiteral("mnuImprimir"))->isEnabled());
    QVERIFY(window.find<QAction>(QStringLiteral("barra_10"))->isEnabled());
    QVERIFY(window.find<QAction>(QStringLiteral("barra_9"))->isEnabled());
    QVERIFY(window.dialogs.asked.empty());  // no message confirms a save
}

void PrincipalSlotsTest::savesFillTheSlotsThenAsk() {
    Window window;
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    for (int slot = 1; slot <= 6; ++slot) {
        window.find<QAction>(QStringLiteral("barra_8"))->trigger();
        QVERIFY(window.folder.exists(slotFileName(slot)));
        QVERIFY(window.find<ImageControl>(QStringLiteral("Fotoseleccionada_%1").arg(slot))
                    ->hasPicture());
    }
    QVERIFY(window.dialogs.asked.empty());
    QFile::remove(window.folder.path(slotFileName(2)));
    window.dialogs.textAnswers = {QStringLiteral("2")};
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    QCOMPARE(window.dialogs.asked.size(), std::size_t(1));
    QVERIFY(window.folder.exists(slotFileName(2)));
    QCOMPARE(PrincipalProbe::photoSlots(*window.principal).slotState().posicionfoto,
             QStringLiteral("2"));
}

void PrincipalSlotsTest::saveBeforeAHairDisablesTheEntry() {
    Window window;
    QVERIFY(window.load());
    QAction* entry = window.find<QAction>(QStringLiteral("mnuguardar"));
    entry->setEnabled(true);
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    QVERIFY(!entry->isEnabled());
    QVERIFY(!window.folder.exists(slotFileName(1)));
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalSlotsTest::unwritableSlotIsReportedAndTheNextSaveGoesOn_data() {
    QTest::addColumn<int>("blocked");
    QTest::addColumn<QString>("answer");  // empty: the next save asks nothing
    QTest::addColumn<int>("next");
    QTest::newRow("slot 1 fails: the next save goes to slot 2") << 1 << QString() << 2;
    QTest::newRow("slot 4 fails: the next save goes to slot 5") << 4 << QString() << 5;
    QTest::newRow("slot 6 fails: the next save asks") << 6 << QStringLiteral("3") << 3;
}

void PrincipalSlotsTest::unwritableSlotIsReportedAndTheNextSaveGoesOn() {
    QFETCH(int, blocked);
    QFETCH(QString, answer);
    QFETCH(int, next);
    Window window;
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    // A folder where the slot file should go: it cannot be replaced, even by root, as a read-only
    // file left by an earlier run cannot.
    QVERIFY(QDir().mkpath(window.folder.path(slotFileName(blocked))));
    for (int slot = 1; slot < blocked; ++slot) {
        PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
        QVERIFY(window.folder.exists(slotFileName(slot)));
    }
    QVERIFY(window.dialogs.asked.empty());
    window.dialogs.messageAnswers = {MessageAnswer::Ok};
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    QCOMPARE(window.dialogs.messages().size(), 1);
    const QString message = window.dialogs.messages().first();
    QVERIFY2(message.contains(QDir::toNativeSeparators(window.folder.path(slotFileName(blocked)))),
             qPrintable(message));
    QVERIFY2(message.contains(QStringLiteral("No se puede reemplazar el archivo")),
             qPrintable(message));
    QVERIFY2(!message.contains(QStringLiteral("escribir en esa carpeta")), qPrintable(message));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Critical);
    QVERIFY(!window.find<ImageControl>(QStringLiteral("Fotoseleccionada_%1").arg(blocked))
                 ->hasPicture());
    QCOMPARE(window.mousePointer(), kPointerDefault);

    // The failed slot does not hold the next save back.
    if (!answer.isEmpty()) {
        window.dialogs.textAnswers = {answer};
    }
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    QCOMPARE(window.dialogs.asked.size(), std::size_t(answer.isEmpty() ? 1 : 2));
    QCOMPARE(window.dialogs.unanswered, 0);
    QVERIFY(window.folder.exists(slotFileName(next)));
    QVERIFY(
        window.find<ImageControl>(QStringLiteral("Fotoseleccionada_%1").arg(next))->hasPicture());
    QCOMPARE(PrincipalProbe::photoSlots(*window.principal).slotState().posicionfoto,
             QString::number(next));
    QVERIFY(window.find<QAction>(QStringLiteral("mnupresentacion"))->isEnabled());
}

void PrincipalSlotsTest::showRunsThroughTheStoredSlots() {
    ShowWindow window;
    QVERIFY(window.start());
    window.writeSlot(5, 0x00000055);
    window.writeSlot(2, 0x00000022);  // left by an earlier run: found by the show
    window.find<QAction>(QStringLiteral("barra_11"))->trigger();
    Presentacion* show = PrincipalProbe::photoSlots(*window.principal).presentacion();
    QVERIFY(show && show->isVisible());
    QCOMPARE(show->windowTitle(), QStringLiteral("Form1"));
    QCOMPARE(show->findChild<QPushButton*>(QStringLiteral("btnvolver"))->text(),
             QStringLiteral("&Volver al Programa"));
    QCOMPARE(show->fpresentacionBox()->pos(), QPoint(25, 70));
    QCOMPARE(show->Fotooriginal()->pos(), QPoint(340, 70));
    QVERIFY(show->Fotooriginal()->hasPicture());
    QCOMPARE(PrincipalProbe::photoSlots(*window.principal).fotoactual(), 2);
    QCOMPARE(window.onScreen(), Colour(0x00000022));
    QCOMPARE(window.wipedRows, 321);  // rows 320 down to 0, each shown
    QCOMPARE(window.dueRows.size(), std::size_t(321));
    QVERIFY(window.timer1().isActive());

    QList<int> order;
    for (int tick = 0; tick < 3; ++tick) {
        window.principal->Timer1_Timer();
        order << PrincipalProbe::photoSlots(*window.principal).fotoactual();
    }
    QCOMPARE(order, (QList<int>{5, 2, 5}));
    QCOMPARE(window.onScreen(), Colour(0x00000055));
    show->close();
}

void PrincipalSlotsTest::showWithASingleSlotRepeatsIt() {
    ShowWindow window;
    QVERIFY(window.start());
    window.writeSlot(4, 0x00000044);
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    window.principal->Timer1_Timer();
    window.principal->Timer1_Timer();
    QCOMPARE(PrincipalProbe::photoSlots(*window.principal).fotoactual(), 4);
    QCOMPARE(window.wipedRows, 3 * 321);
    PrincipalProbe::photoSlots(*window.principal).presentacion()->close();
}

void PrincipalSlotsTest::showGoesOnWhenFilesVanishOrBreak() {
    ShowWindow window;
    QVERIFY(window.start());
    window.writeSlot(1, 0x00000011);
    window.writeSlot(3, 0x00000033);
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    window.folder.writeBytes(slotFileName(3), "roto");  // broken: skipped, the photo stays
    window.principal->Timer1_Timer();
    QCOMPARE(window.onScreen(), Colour(0x00000011));
    QFile::remove(window.folder.path(slotFileName(1)));
    QFile::remove(window.folder.path(slotFileName(3)));
    window.principal->Timer1_Timer();  // all gone: the same photo is wiped in again
    QCOMPARE(window.onScreen(), Colour(0x00000011));
    QCOMPARE(window.wipedRows, 3 * 321);
    QVERIFY(window.dialogs.asked.empty());
    PrincipalProbe::photoSlots(*window.principal).presentacion()->close();
}

void PrincipalSlotsTest::showWithoutSlotsOrReference() {
    ShowWindow window;
    QVERIFY(window.start());
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    QCOMPARE(window.dialogs.messages(),
             QStringList{"No existe ninguna Foto del Cliente/a Almacenada"});
    QCOMPARE(window.dialogs.asked.back().title, QStringLiteral("Error no existen Fotos"));
    QCOMPARE(window.dialogs.asked.back().icon, MessageIcon::Information);
    QVERIFY(!window.find<QAction>(QStringLiteral("mnupresentacion"))->isEnabled());
    QVERIFY(!window.timer1().isActive());
    PrincipalProbe::photoSlots(*window.principal).mnuguardar_Click();
    QVERIFY(window.find<QAction>(QStringLiteral("mnupresentacion"))->isEnabled());

    QFile::remove(window.folder.path(kReferencePhoto));
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    QCOMPARE(window.dialogs.messages().last(), QStringLiteral("No existe la Fotografía Original"));
    QCOMPARE(window.dialogs.asked.back().title, QStringLiteral("Error Faltan Datos"));
    QCOMPARE(window.dialogs.asked.back().icon, MessageIcon::Critical);
    QCOMPARE(window.wipedRows, 0);
}

void PrincipalSlotsTest::leavingTheShowStopsTheTicks_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("\"&Volver al Programa\"") << false;
    QTest::newRow("Escape") << true;
}

void PrincipalSlotsTest::leavingTheShowStopsTheTicks() {
    QFETCH(bool, escape);
    ShowWindow window;
    QVERIFY(window.start());
    window.principal->show();
    window.writeSlot(1, 0x00000011);
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    const QPointer<Presentacion> show =
        PrincipalProbe::photoSlots(*window.principal).presentacion();
    auto* btnvolver = show->findChild<QPushButton*>(QStringLiteral("btnvolver"));
    if (escape) {
        QTest::keyClick(btnvolver, Qt::Key_Escape);  // the button has the focus and passes it on
    } else {
        QTest::mouseClick(btnvolver, Qt::LeftButton);
    }
    QVERIFY(!window.timer1().isActive());
    QVERIFY(PrincipalProbe::overlay(*window.principal).redibujar);
    QVERIFY(window.timer2().isActive());  // the main window recomposes a second later
    QVERIFY(!PrincipalProbe::buffers(*window.principal).temporal2.HasPicture());
    const int rows = window.wipedRows;
    window.principal->Timer1_Timer();
    QCOMPARE(window.wipedRows, rows);  // no tick draws any more
    QVERIFY(!PrincipalProbe::photoSlots(*window.principal)
                 .presentacion());  // the next start makes a new one
    QTRY_VERIFY(!show);             // and this one is released
}

void PrincipalSlotsTest::showOfAnActiveClientComparesHerWithHerOwnPhoto() {
    ShowWindow window;
    QVERIFY(window.start());
    constexpr Colour kClient = 0x00336699;
    window.folder.writePicture(QStringLiteral("\\clientes\\ana.bmp"),
                               solidPicture(200, 250, kClient));
    const ClientRecord ana{QStringLiteral("0042"), QStringLiteral("Ana Ruiz"),
                           QStringLiteral("\\clientes\\ana.bmp")};
    QVERIFY(window.database.Execute(QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
                                    {ana.codigo, ana.nombre, ana.fprograma}));
    QVERIFY(PrincipalProbe::clients(*window.principal).activateClient(ana));
    window.writeSlot(1, 0x00000011);
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    Presentacion* show = PrincipalProbe::photoSlots(*window.principal).presentacion();
    QVERIFY(show && show->isVisible());
    // Her photo as the composition lays it out: at the top-left of the main picture's size, the
    // buffers' white where it does not reach.
    const QImage original = show->Fotooriginal()->picture();
    QCOMPARE(original.size(), QSize(300, 320));
    QCOMPARE(colourAt(original, 0, 0), kClient);
    QCOMPARE(colourAt(original, 199, 249), kClient);
    QCOMPARE(colourAt(original, 250, 100), kWindowBackground);
    QCOMPARE(colourAt(original, 100, 300), kWindowBackground);
    QVERIFY2(window.dialogs.asked.empty(), qPrintable(window.dialogs.messages().join('\n')));
    show->close();

    // Without a client the model's front photo comes back.
    PrincipalProbe::clients(*window.principal).clientDeleted(ana.codigo);
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    COMPARE_IMAGES(
        PrincipalProbe::photoSlots(*window.principal).presentacion()->Fotooriginal()->picture(),
        loadPicture(window.folder.path(kReferencePhoto)).picture);
    PrincipalProbe::photoSlots(*window.principal).presentacion()->close();
}

void PrincipalSlotsTest::leavingAShowStartedBeforeAnyHairKeepsTheBasePhoto() {
    Window window;
    QVERIFY(window.load());
    PrincipalProbe::photoSlots(*window.principal).setWipePacing({std::chrono::seconds(1), [](auto) {
                                                                 }});
    // Left by an earlier run that did not end through the main window: the show finds it.
    window.folder.writePicture(slotFileName(3), solidPicture(300, 320, 0x00000033));
    PrincipalProbe::photoSlots(*window.principal).mnupresentacion_Click();
    QVERIFY(PrincipalProbe::photoSlots(*window.principal).presentacion());
    PrincipalProbe::photoSlots(*window.principal).presentacion()->close();
    QVERIFY(window.timer2().isActive());
    window.principal->Timer2_Timer();  // the deferred redraw, a second later
    QVERIFY(!window.timer2().isActive());
    COMPARE_IMAGES(window.shown(), window.basePhoto());
    QVERIFY(!PrincipalProbe::overlay(*window.principal).pelocargado);
    QVERIFY(window.dialogs.asked.empty());
}

QTEST_MAIN(PrincipalSlotsTest)
#include "tst_principal_slots.moc"
