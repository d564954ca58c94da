#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

#include "image_compare.h"
#include "main_window/print_commands.h"
#include "platform/image_control.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::solidPicture;
using Window = crinova::test::PrincipalWindow;

namespace {

// The print command over a stand-in for the main window, which counts the times the dialog gave
// the screen back, with the given slots stored (slot N in colour N).
struct PrintWindow {
    test::TestProgramFolder folder;
    test::ScriptedDialogs dialogs;
    test::RecordingPrinter printer;
    int closings = 0;
    PrintCommands commands{
        folder.folder(), printer, dialogs,
        PrintCommands::Window{&mainWindow,
                              [this] { return loadPicture(folder.path(kLogo)).picture; },
                              [this] { ++closings; }},
        nullptr};
    QWidget mainWindow;  // destroyed before the commands, and the dialog with it

    bool open(std::initializer_list<int> storedSlots) {
        for (const int slot : storedSlots) {
            folder.writePicture(slotFileName(slot), solidPicture(30, 32, Colour(slot)));
        }
        commands.mnuImprimir_Click();
        return true;
    }
    Imprimir* dialog() const { return commands.imprimir(); }
    template <typename T>
    T* control(const QString& name) const {
        return dialog()->findChild<T*>(name);
    }
    QCheckBox* check(int index) const {
        return control<QCheckBox>(QStringLiteral("cseleccion_%1").arg(index));
    }
    void click(const char* name) const {
        QTest::mouseClick(control<QWidget>(QString::fromUtf8(name)), Qt::LeftButton);
    }
};

}  // namespace

class ImprimirTest : public QObject {
    Q_OBJECT
  private slots:
    void noStoredPhotoNoDialog();
    void dialogOffersTheDivisorsAndShowsTheSlots();
    void firstPrintAsksAboutThePrinter();
    void closingReleasesTheDialog();
    void closingHandsTheScreenBackToTheMainWindow();
    void comingBackFromTheMainWindowRebuildsUna();
};

void ImprimirTest::noStoredPhotoNoDialog() {
    PrintWindow window;
    QVERIFY(window.open({}));
    QVERIFY(!window.dialog());
    QCOMPARE(window.dialogs.messages(),
             QStringList{"Tiene que guardar al menos una Fotografía para poder Imrpimirla"});
    QCOMPARE(window.dialogs.asked.back().title,
             QStringLiteral("Error no existen Fotos Almacenadas"));
    QCOMPARE(window.dialogs.asked.back().icon, MessageIcon::Information);
}

void ImprimirTest::dialogOffersTheDivisorsAndShowsTheSlots() {
    PrintWindow window;
    QVERIFY(window.open({1, 3, 4}));
    QVERIFY(window.dialog() && window.dialog()->isVisible());
    QCOMPARE(window.commands.flags().numerofotos, 3);
    const QStringList options = {"opuna", "opdos", "optres", "opcuatro", "opcinco", "opseis"};
    QList<bool> enabled;
    for (const QString& name : options) {
        enabled << window.control<QRadioButton>(name)->isEnabled();
    }
    QCOMPARE(enabled, (QList<bool>{true, false, true, false, false, false}));
    QVERIFY(window.control<QRadioButton>(QStringLiteral("opuna"))->isChecked());
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(window.check(i)->isEnabled(), i < 3);
        QVERIFY(!window.check(i)->isChecked());
    }
    // "Foto 2" stands for slot 3, "Foto 3" for slot 4.
    auto* third = window.control<ImageControl>(QStringLiteral("fseleccion_2"));
    QCOMPARE(test::colourAt(third->picture(), 0, 0), Colour(4));
    auto* preview = window.control<ImageControl>(QStringLiteral("fotos_0"));
    QVERIFY(preview->isVisible());
    QCOMPARE(preview->geometry(), QRect(8, 74, 333, 361));  // 120, 1110, 5000 x 5415 twips
    QVERIFY(!window.control<ImageControl>(QStringLiteral("fotos_1"))->isVisible());

    window.check(1)->setChecked(true);
    window.click("optres");
    QVERIFY(!window.check(1)->isEnabled() && !window.check(1)->isChecked());
    window.click("opuna");
    QVERIFY(window.check(1)->isEnabled() && !window.check(1)->isChecked());

    QCOMPARE(window.dialog()->windowTitle(), QStringLiteral("IMPRIMIR FOTOS"));
    const QList<QPair<QString, QString>> frames = {{"Frame1", "PRESENTACIÓN PRELIMINAR"},
                                                   {"seleccion", "Selección:"},
                                                   {"Frame2", "Numero de Fotos por Página:"},
                                                   {"Frame3", "Distorsionar Fotos"}};
    for (const auto& [name, caption] : frames) {
        QCOMPARE(window.control<QGroupBox>(name)->title(), caption);
    }
    const QList<QPair<QString, QString>> buttons = {{"btnconfigurar", "&Configurar Impresora"},
                                                    {"btnimprimir", "&Imprimir"},
                                                    {"btnvolver", "&Volver"},
                                                    {"btnaumentar", "+"},
                                                    {"btnreducir", "-"},
                                                    {"opaltura", "Altura"},
                                                    {"opanchura", "Anchura"},
                                                    {"cseleccion_5", "Foto 6"}};
    for (const auto& [name, caption] : buttons) {
        QCOMPARE(window.control<QAbstractButton>(name)->text(), caption);
    }
    QVERIFY(window.control<QRadioButton>(QStringLiteral("opaltura"))->isChecked());
    QVERIFY(window.control<ImageControl>(QStringLiteral("logo"))->hasPicture());
}

void ImprimirTest::firstPrintAsksAboutThePrinter() {
    PrintWindow window;
    QVERIFY(window.open({1, 2}));
    window.check(0)->setChecked(true);
    window.dialogs.messageAnswers = {MessageAnswer::No};
    window.click("btnimprimir");
    QCOMPARE(window.dialogs.messages(),
             QStringList{"No ha Configurado la Impresora, ¿desea Configurarla ahora?"});
    QCOMPARE(window.dialogs.asked[0].title, QStringLiteral("Falta Configurar la Impresora"));
    QCOMPARE(window.dialogs.asked[0].buttons, MessageButtons::YesNo);
    QCOMPARE(window.printer.documents.size(), std::size_t(1));  // printed on the current printer

    // Two clicks of "+" with "Altura" reach the paper: 2 x 5515 twips wide.
    window.click("btnaumentar");
    window.click("btnaumentar");
    window.dialogs.messageAnswers = {MessageAnswer::No};
    window.click("btnimprimir");
    QCOMPARE(window.printer.documents.size(), std::size_t(2));
    QCOMPARE(window.printer.documents[1].drawings[1].width, 11030.0);

    // Answered Yes: the set-up, and nothing printed.
    window.dialogs.asked.clear();
    window.dialogs.messageAnswers = {MessageAnswer::Yes};
    window.dialogs.printerAnswers = {true};
    window.click("btnimprimir");
    QCOMPARE(window.dialogs.asked.back().kind, QStringLiteral("PrinterSetup"));
    QCOMPARE(window.printer.documents.size(), std::size_t(2));
    QVERIFY(window.commands.flags().impresoraconfigurada);
    window.click("btnimprimir");  // set up: no question now
    QCOMPARE(window.dialogs.asked.size(), std::size_t(2));
    QCOMPARE(window.printer.documents.size(), std::size_t(3));

    window.dialogs.printerAnswers = {false};  // cancelling the set-up still counts as set up
    window.click("btnconfigurar");
    QVERIFY(window.commands.flags().impresoraconfigurada);
}

void ImprimirTest::closingReleasesTheDialog() {
    PrintWindow window;
    QVERIFY(window.open({1, 2, 3, 4}));
    window.click("opcuatro");
    window.click("opanchura");
    const QPointer<Imprimir> closing = window.dialog();
    window.click("btnvolver");
    QVERIFY(closing && closing->isHidden());
    // Its pictures are emptied, and the main window takes the screen back, once.
    for (int i = 0; i < 6; ++i) {
        for (const QString& name : {QStringLiteral("fotos_%1"), QStringLiteral("fseleccion_%1")}) {
            QVERIFY(!closing->findChild<ImageControl*>(name.arg(i))->hasPicture());
        }
    }
    QCOMPARE(window.closings, 1);
    QVERIFY(!window.dialog());
    QTRY_VERIFY(!closing);  // released
    QCOMPARE(window.closings, 1);
    window.commands.mnuImprimir_Click();
    QVERIFY(window.control<QRadioButton>(QStringLiteral("opuna"))->isChecked());
    QVERIFY(window.control<QRadioButton>(QStringLiteral("opaltura"))->isChecked());
    QVERIFY(window.control<QRadioButton>(QStringLiteral("opcuatro"))->isEnabled());
    QVERIFY(!window.control<QRadioButton>(QStringLiteral("optres"))->isEnabled());
}

void ImprimirTest::closingHandsTheScreenBackToTheMainWindow() {
    Window window;
    QVERIFY(window.load());
    window.principal->Muestrapelos_Click(1);
    window.folder.writePicture(slotFileName(1), solidPicture(30, 32, Colour(1)));
    window.find<QAction>(QStringLiteral("mnuImprimir"))->trigger();
    const QImage composed = window.shown().copy();
    QVERIFY(PrincipalProbe::printing(*window.principal).imprimir());
    PrincipalProbe::printing(*window.principal).imprimir()->close();
    // The redraw is due, and the composition stays on the photo until then.
    QVERIFY(PrincipalProbe::overlay(*window.principal).redibujar);
    QVERIFY(window.timer2().isActive());
    COMPARE_IMAGES(window.shown(), composed);
}

void ImprimirTest::comingBackFromTheMainWindowRebuildsUna() {
    PrintWindow window;
    QVERIFY(window.open({1, 2}));
    window.mainWindow.show();
    Imprimir* dialog = window.dialog();
    dialog->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog));
    window.click("opdos");
    QVERIFY(window.control<ImageControl>(QStringLiteral("fotos_1"))->isVisible());
    window.click("btnaumentar");
    QCOMPARE(dialog->preview().fotos[0].rect.height, 2750.0);
    window.mainWindow.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window.mainWindow));
    // Back: "Una" is rebuilt undistorted, and the option chosen stays.
    dialog->activateWindow();
    QTRY_COMPARE(dialog->preview().fotos[0].rect.height, 5415.0);
    QCOMPARE(dialog->preview().fotos[0].rect.width, 5000.0);
    QVERIFY(window.control<QRadioButton>(QStringLiteral("opdos"))->isChecked());
    QVERIFY(!window.control<ImageControl>(QStringLiteral("fotos_1"))->isVisible());
}

QTEST_MAIN(ImprimirTest)
#include "tst_imprimir.moc"
