#include <QtTest>

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

#include "image_compare.h"
#include "platform/image_control.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "platform/raster.h"
#include "principal_window.h"

using namespace crinova;
using crinova::test::solidPicture;

using Window = crinova::test::PrincipalWindow;

class PrincipalTest : public QObject {
    Q_OBJECT
  private slots:
    void startUpPhotoControlsAndState();
    void missingStartUpPictureIsReported_data();
    void missingStartUpPictureIsReported();
    void compositionComesBackOneTickAfterARepaintOrADialog();
    void timerTickForAnActiveClientComposesInFull();
    void closingDeletesExactlyTheScratchFiles();
    void closingWithoutAClientsFolderIsSilent();
    void shutdownQuestion();
};

void PrincipalTest::startUpPhotoControlsAndState() {
    Window window;
    QVERIFY(window.load());
    window.principal->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.principal.get()));
    COMPARE_IMAGES(window.shown(), window.basePhoto());
    QCOMPARE(window.principal->windowTitle(), QStringLiteral("CRINOVA"));
    QVERIFY(window.find<ImageControl>(QStringLiteral("fotoinicial"))->hasPicture());
    QVERIFY(window.dialogs.asked.empty());
    // Nothing is composed at load, and the controls fit a 632 x 452 area.
    QCOMPARE(window.find<QWidget>(QStringLiteral("area"))->size(), QSize(632, 452));
    QCOMPARE(PrincipalProbe::buffers(*window.principal).fprincipal.ScaleWidth(), 300);
    QCOMPARE(PrincipalProbe::buffers(*window.principal).fprincipal.ScaleHeight(), 320);

    const QList<QPair<QString, QString>> frames = {{"Fotos", "Fotos Seleccionadas"},
                                                   {"Frame1", "Actua en:"},
                                                   {"opciones", "Opciones:"},
                                                   {"Frame4", "Ampliar, Reducir"},
                                                   {"Frame3", "Girar"}};
    for (const auto& [name, caption] : frames) {
        QGroupBox* frame = window.find<QGroupBox>(name);
        QVERIFY2(frame, qPrintable(name));
        QCOMPARE(frame->title(), caption);
    }
    const QList<QPair<QString, QString>> buttons = {
        {"opfoto", "Foto"},    {"oppelo", "Pelo"},    {"oppaletal", "Lateral"},
        {"opnuca", "Nuca"},    {"ancho", "Ancho"},    {"alto", "Alto"},
        {"btnampliar_0", "+"}, {"btnampliar_1", "-"}, {"btnrestauragirar", "&Restaurar"}};
    for (const auto& [name, caption] : buttons) {
        QAbstractButton* button = window.find<QAbstractButton>(name);
        QVERIFY2(button, qPrintable(name));
        QCOMPARE(button->text(), caption);
    }
    QCOMPARE(window.find<QLabel>(QStringLiteral("opvolver"))->text(),
             QStringLiteral("RESTAURAR FOTO"));
    QStringList images = {"fprincipal", "fotoinicial", "logotipo",      "btnpelos_0",
                          "btnpelos_1", "btngirar_0",  "btngirar_1",    "txtampliar",
                          "txtgirar",   "bprogreso",   "infobprogreso", "barra"};
    for (int i = 0; i < 6; ++i) {
        images << QStringLiteral("Muestrapelos_%1").arg(i)
               << QStringLiteral("Fotoseleccionada_%1").arg(i + 1);
    }
    for (const QString& name : images) {
        QVERIFY2(window.find<QWidget>(name), qPrintable(name));
    }
    // Slot thumbnails are 73 x 73 and slot 3 stands left of slot 2.
    auto* slot2 = window.find<QWidget>(QStringLiteral("Fotoseleccionada_2"));
    auto* slot3 = window.find<QWidget>(QStringLiteral("Fotoseleccionada_3"));
    QCOMPARE(slot2->size(), QSize(73, 73));
    QVERIFY(slot3->x() < slot2->x());

    Principal& principal = *window.principal;
    QCOMPARE(window.find<QLineEdit>(QStringLiteral("infobprogreso"))->text(),
             QStringLiteral("CRINOVA ACTIVO"));
    const OverlayState& state = PrincipalProbe::overlay(principal);
    QVERIFY(state.primeravez);
    QVERIFY(!state.pelocargado);
    QVERIFY(!state.redibujar);
    QCOMPARE(state.angulo, 0.0);
    QCOMPARE(state.ficheropelo, QStringLiteral("\\pelo2.jpg"));
    QCOMPARE(state.ficheromascara, QStringLiteral("\\mpelo2.jpg"));
    QCOMPARE(state.fotobase, window.folder.path(QStringLiteral("\\vexasinmo.jpg")));
    QVERIFY(!PrincipalProbe::printing(principal).flags().impresoraconfigurada);
    for (Surface* buffer : {&PrincipalProbe::buffers(principal).ftrabajo,
                            &PrincipalProbe::buffers(principal).temporal1,
                            &PrincipalProbe::buffers(principal).temporal2}) {
        QCOMPARE(buffer->ScaleWidth(), 300);
        QCOMPARE(buffer->ScaleHeight(), 320);
        QVERIFY(buffer->KeepsDrawing());
        QCOMPARE(buffer->BackColor(), kWhite);
    }
    QVERIFY(!PrincipalProbe::buffers(principal).fprincipal.KeepsDrawing());
    QVERIFY(!window.timer1().isActive());
    QVERIFY(!window.timer2().isActive());
    QCOMPARE(window.timer1().interval(), 5000);
    QCOMPARE(window.timer2().interval(), 1000);
    auto* opfoto = window.find<QRadioButton>(QStringLiteral("opfoto"));
    QVERIFY(opfoto->isChecked());
    QCOMPARE(opfoto->palette().color(QPalette::WindowText), QColor(Qt::red));
    QVERIFY(!window.find<QRadioButton>(QStringLiteral("oppaletal"))->isEnabled());
    QVERIFY(!window.find<QRadioButton>(QStringLiteral("opnuca"))->isEnabled());
    QVERIFY(window.find<QLabel>(QStringLiteral("opvolver"))->isHidden());
    QVERIFY(window.find<QCheckBox>(QStringLiteral("ancho"))->isChecked());
    QVERIFY(window.find<QCheckBox>(QStringLiteral("alto"))->isChecked());
}

void PrincipalTest::missingStartUpPictureIsReported_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("corrupt");
    QTest::newRow("missing base photo") << kBasePhoto << false;
    QTest::newRow("missing reference photo") << kReferencePhoto << false;
    QTest::newRow("corrupt base photo") << kBasePhoto << true;
}

void PrincipalTest::missingStartUpPictureIsReported() {
    QFETCH(QString, name);
    QFETCH(bool, corrupt);
    Window window;
    if (corrupt) {
        window.folder.writeBytes(name, "\xff\xd8\xff garbage");
    } else {
        QVERIFY(QFile::remove(window.folder.path(name)));
    }
    QVERIFY(!window.load());
    QCOMPARE(window.dialogs.messages().size(), 1);
    QVERIFY(window.dialogs.messages().first().contains(window.folder.path(name)));
    QCOMPARE(window.dialogs.asked.front().icon, MessageIcon::Critical);
}

void PrincipalTest::compositionComesBackOneTickAfterARepaintOrADialog() {
    Window window;
    QVERIFY(window.load());
    Principal& principal = *window.principal;
    // No redraw is scheduled before the first composition.
    principal.Form_Resize();
    principal.Form_GotFocus();
    principal.Form_Activate();
    QVERIFY(!window.timer2().isActive());
    PrincipalProbe::overlay(principal).pelocargado = true;
    QVERIFY(principal.DibujarPelo());
    const QImage composed = window.shown();
    QVERIFY(!test::firstDifference(composed, window.basePhoto()).isEmpty());
    QVERIFY(!PrincipalProbe::overlay(principal).primeravez);

    // The window repaints (back from the task bar): the plain photo shows until the tick.
    PrincipalProbe::buffers(principal).fprincipal.RepaintFromStoredPicture();
    COMPARE_IMAGES(window.shown(), window.basePhoto());
    principal.Form_Resize();
    QVERIFY(window.timer2().isActive());
    QCOMPARE(window.mousePointer(), kPointerDefault);
    principal.Timer2_Timer();
    QVERIFY(!window.timer2().isActive());
    COMPARE_IMAGES(window.shown(), composed);
    QCOMPARE(window.fprincipal()->pointer(), kPointerMove);

    principal.Form_GotFocus();
    QVERIFY(window.timer2().isActive());
    principal.Timer2_Timer();

    // A dialog closed: without clearing, the composition stays.
    principal.dialogClosed(false);
    COMPARE_IMAGES(window.shown(), composed);
    QVERIFY(PrincipalProbe::overlay(principal).redibujar);

    principal.dialogClosed();
    COMPARE_IMAGES(window.shown(), window.basePhoto());
    QVERIFY(PrincipalProbe::overlay(principal).redibujar);
    QVERIFY(window.timer2().isActive());
    QCOMPARE(window.mousePointer(), kPointerBusy);
    QCOMPARE(window.fprincipal()->pointer(), kPointerBusy);

    principal.Timer2_Timer();
    COMPARE_IMAGES(window.shown(), composed);
    QVERIFY(!window.timer2().isActive());
    QCOMPARE(window.mousePointer(), kPointerDefault);
    QCOMPARE(window.fprincipal()->pointer(), kPointerMove);
    QVERIFY(PrincipalProbe::overlay(principal).redibujar);  // only the client branch clears it

    principal.Form_Activate();  // every later activation recomposes again
    QVERIFY(window.timer2().isActive());
}

void PrincipalTest::timerTickForAnActiveClientComposesInFull() {
    Window window;
    QVERIFY(window.load());
    window.folder.writePicture(QStringLiteral("\\clientes\\ana.bmp"),
                               solidPicture(300, 320, 0x00406080));
    QVERIFY(window.database.Execute(
        QStringLiteral("INSERT INTO cliente VALUES (?, ?, ?)"),
        {QStringLiteral("1"), QStringLiteral("Ana"), QStringLiteral("\\clientes\\ana.bmp")}));
    Principal& principal = *window.principal;
    OverlayState& state = PrincipalProbe::overlay(principal);
    state.pelocargado = true;
    state.usarfotocliente = state.clienteactivo = true;
    state.codigocliente = QStringLiteral("1");
    state.nombrecliente = QStringLiteral("Ana");
    state.redibujar = true;
    state.primeravez = true;
    principal.Form_Activate();
    principal.Timer2_Timer();
    QVERIFY(!state.redibujar);
    QVERIFY(!state.primeravez);
    QVERIFY(!window.timer2().isActive());
    QCOMPARE(GetPixel(PrincipalProbe::buffers(principal).fprincipal, 299, 319), Colour(0x00406080));
    QCOMPARE(window.mousePointer(), kPointerDefault);
    QCOMPARE(window.fprincipal()->pointer(), kPointerMove);
}

void PrincipalTest::closingDeletesExactlyTheScratchFiles() {
    Window window;
    QVERIFY(window.load());
    QStringList scratch;
    for (int n = 0; n <= 10; ++n) {
        scratch << slotFileName(n) << clientPhotoCopyName(n);
    }
    const QStringList kept = {"\\foto11.bmp", "\\foto1.jpg", "\\fotos.bmp",
                              "\\clientes\\foto11.bmp", "\\clientes\\cliente1.jpg"};
    for (const QString& name : scratch + kept) {
        if (!window.folder.exists(name)) {
            window.folder.writeBytes(name, "x");
        }
    }
    window.principal->show();
    window.principal->mnusalir_Click();
    QVERIFY(!window.principal->isVisible());
    for (const QString& name : scratch) {
        QVERIFY2(!window.folder.exists(name), qPrintable(name));
    }
    for (const QString& name : kept) {
        QVERIFY2(window.folder.exists(name), qPrintable(name));
    }
    QVERIFY(window.folder.exists(kBasePhoto));
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalTest::closingWithoutAClientsFolderIsSilent() {
    Window window;
    QVERIFY(QDir(window.folder.path(kClientsFolder)).removeRecursively());
    QVERIFY(window.load());
    window.folder.writeBytes(QStringLiteral("\\foto4.bmp"), "x");
    window.principal->show();
    window.principal->close();
    QVERIFY(!window.folder.exists(QStringLiteral("\\foto4.bmp")));
    QVERIFY(window.dialogs.asked.empty());
}

void PrincipalTest::shutdownQuestion() {
    Window window;
    QVERIFY(window.load());
    window.folder.writeBytes(QStringLiteral("\\foto1.bmp"), "x");
    window.principal->show();
    window.dialogs.messageAnswers.push_back(MessageAnswer::No);
    window.principal->mnusalirwindows_Click();
    QCOMPARE(window.dialogs.asked.size(), std::size_t(1));
    const auto& question = window.dialogs.asked.front();
    QCOMPARE(question.text, QStringLiteral("Esta Seguro que quiere Salir de Windows 95?"));
    QCOMPARE(question.title, QStringLiteral("Apagar el Equipo"));
    QCOMPARE(question.buttons, MessageButtons::YesNo);
    QCOMPARE(question.icon, MessageIcon::None);
    QCOMPARE(window.system.shutdownRequests, 0);
    QVERIFY(window.principal->isVisible());
    QVERIFY(window.folder.exists(QStringLiteral("\\foto1.bmp")));

    window.dialogs.messageAnswers.push_back(MessageAnswer::Yes);
    window.principal->mnusalirwindows_Click();
    QCOMPARE(window.system.shutdownRequests, 1);
    QVERIFY(PrincipalProbe::shutdownRequested(*window.principal));
    QVERIFY(!window.principal->isVisible());
    QVERIFY(window.folder.exists(QStringLiteral("\\foto1.bmp")));  // the unload steps did not run
}

QTEST_MAIN(PrincipalTest)
#include "tst_principal.moc"
