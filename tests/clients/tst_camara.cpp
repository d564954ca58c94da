#include <QtTest>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "../face/astronaut_frames.h"
#include "clients/camara.h"
#include "image_compare.h"
#include "platform/image_control.h"
#include "principal_window.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::CameraFault)

namespace {

const EyeTarget kTarget{QSize(300, 320), EyePair{QPointF(124, 146), QPointF(176, 146)}};

template <typename T>
T* in(QWidget* window, const char* name) {
    return window->findChild<T*>(QString::fromUtf8(name));
}

QString text(QWidget* window, const char* label) {
    return in<QLabel>(window, label)->text();
}

// The astronaut with her eyes on the guide's marks of a frame of `size`, `scale` times their
// distance apart.
QImage framed(const QImage& portrait, QSize size, double scale = 1.0) {
    const FramingGuide guide = framingGuide(size, kTarget);
    return test::astronautFrame(portrait, size, (guide.marks.left + guide.marks.right) / 2.0,
                                scale * (guide.marks.right.x() - guide.marks.left.x()));
}

// The camera window over a scripted camera; the stills handed over are kept.
struct CameraBench {
    test::ScriptedCamera camera;
    test::ScriptedDialogs dialogs;
    std::vector<QImage> used;
    QObject context;
    QPointer<Camara> window;

    ~CameraBench() { delete window; }
    Camara* open() {
        showModeless(modelessWindow(
            window,
            [this] {
                return new Camara({&camera, dialogs, kTarget,
                                   [this](const QImage& still) {
                                       used.push_back(still);
                                       return true;
                                   }},
                                  nullptr);
            },
            &context, [] {}));
        return window;
    }
    // Two frames, so that one is read, and the guide's answer.
    QString show(const QImage& frame) {
        camera.deliver(frame);
        camera.deliver(frame);
        return QTest::qWaitFor([this] { return !text(window, "lblaviso").isEmpty(); })
                   ? text(window, "lblaviso")
                   : QString();
    }
};

}  // namespace

class TestCamara : public QObject {
    Q_OBJECT
  private slots:
    void liveIsMirrored();
    void guideFollowsTheFrames();
    void captureRepeatAndUse();
    void faults_data();
    void faults();
    void newClientFromTheCamera();
};

void TestCamara::liveIsMirrored() {
    CameraBench bench;
    Camara* window = bench.open();
    QImage frame(640, 480, QImage::Format_RGB32);
    frame.fill(Qt::blue);
    QPainter(&frame).fillRect(0, 0, 320, 480, Qt::red);  // the camera's left half
    bench.camera.deliver(frame);
    const QImage shown = in<QWidget>(window, "fcamara")->grab().toImage();
    QCOMPARE(shown.pixelColor(20, shown.height() / 2), QColor(Qt::blue));
    QCOMPARE(shown.pixelColor(shown.width() - 20, shown.height() / 2), QColor(Qt::red));
}

void TestCamara::guideFollowsTheFrames() {
    const QImage portrait = test::astronaut();
    if (portrait.isNull()) {
        QSKIP("python3-skimage could not be downloaded");
    }
    CameraBench bench;
    Camara* window = bench.open();
    QCOMPARE(window->windowTitle(), QStringLiteral("FOTO CON CÁMARA"));
    QVERIFY(bench.camera.isOpen());
    QVERIFY(!in<QWidget>(window, "cbcamara")->isVisible());  // one camera: no chooser
    const QImage onMarks = framed(portrait, QSize(640, 480));
    bench.camera.deliver(onMarks);
    QCOMPARE(window->framesRead(), 0);  // every other frame only
    bench.camera.deliver(onMarks);
    QCOMPARE(window->framesRead(), 1);
    QVERIFY(text(window, "lblaviso").isEmpty());  // the search runs on another thread
    QTRY_COMPARE(text(window, "lblaviso"), QStringLiteral("Bien: pulse «Capturar»"));
    QVERIFY(window->guideGreen());
    in<QLabel>(window, "lblaviso")->clear();
    QCOMPARE(bench.show(framed(portrait, QSize(640, 480), 0.65)), QStringLiteral("Acérquese"));
    QVERIFY(!window->guideGreen());
    // While a search runs, frames are shown but not searched.
    for (int i = 0; i < 4; ++i) {
        bench.camera.deliver(onMarks);
    }
    QCOMPARE(window->framesRead(), 3);
}

void TestCamara::captureRepeatAndUse() {
    const QImage portrait = test::astronaut();
    if (portrait.isNull()) {
        QSKIP("python3-skimage could not be downloaded");
    }
    CameraBench bench;
    Camara* window = bench.open();
    bench.show(framed(portrait, QSize(640, 480)));
    bench.camera.stillPicture = framed(portrait, QSize(1600, 1200));
    auto* btnusar = in<QPushButton>(window, "btnusar");
    auto* fcaptura = in<ImageControl>(window, "fcaptura");
    QVERIFY(!btnusar->isEnabled());
    QTest::mouseClick(in<QPushButton>(window, "btncapturar"), Qt::LeftButton);
    QTRY_VERIFY(btnusar->isEnabled());
    QCOMPARE(fcaptura->picture().size(), QSize(300, 320));
    QVERIFY(!in<QPushButton>(window, "btncapturar")->isEnabled());
    QTest::mouseClick(in<QPushButton>(window, "btnrepetir"), Qt::LeftButton);
    QVERIFY(!fcaptura->hasPicture() && !btnusar->isEnabled());
    QVERIFY(QTest::qWaitForWindowActive(window));
    QTest::keyClick(window, Qt::Key_Space);  // the space bar takes it too
    QCOMPARE(bench.camera.captures, 2);
    QTRY_VERIFY(btnusar->isEnabled());
    QTest::mouseClick(btnusar, Qt::LeftButton);
    QCOMPARE(bench.used.size(), std::size_t(1));
    QVERIFY(bench.used[0] == bench.camera.stillPicture);  // as the camera took it, not mirrored
    QTRY_VERIFY(bench.window.isNull());
    QVERIFY(!bench.camera.isOpen());
}

void TestCamara::faults_data() {
    QTest::addColumn<bool>("noDevices");
    QTest::addColumn<int>("openFault");  // -1: opens
    QTest::addColumn<CameraFault>("fault");
    QTest::newRow("no camera") << true << -1 << CameraFault::NoCamera;
    QTest::newRow("in use") << false << int(CameraFault::InUse) << CameraFault::InUse;
    QTest::newRow("access refused")
        << false << int(CameraFault::AccessDenied) << CameraFault::AccessDenied;
    QTest::newRow("unplugged") << false << -1 << CameraFault::Unplugged;
    QTest::newRow("still fails") << false << -1 << CameraFault::StillFailed;
}

void TestCamara::faults() {
    QFETCH(bool, noDevices);
    QFETCH(int, openFault);
    QFETCH(CameraFault, fault);
    CameraBench bench;
    if (noDevices) {
        bench.camera.devices.clear();
    }
    if (openFault >= 0) {
        bench.camera.openFault = CameraFault(openFault);
    }
    Camara* window = bench.open();
    auto* btncapturar = in<QPushButton>(window, "btncapturar");
    if (fault == CameraFault::Unplugged) {
        QVERIFY(bench.camera.isOpen());
        bench.camera.unplug();
    } else if (fault == CameraFault::StillFailed) {
        bench.camera.failNextStill = true;
        QTest::mouseClick(btncapturar, Qt::LeftButton);
        QCOMPARE(bench.dialogs.messages(), QStringList{cameraFaultMessage(fault)});
        QVERIFY(btncapturar->isEnabled() && bench.camera.isOpen());  // live again
        QVERIFY(bench.used.empty());
        return;
    }
    QVERIFY(in<QLabel>(window, "lblcamara")->isVisible());
    QCOMPARE(text(window, "lblcamara"), cameraFaultMessage(fault));
    QVERIFY(!bench.camera.isOpen());
    QVERIFY(!btncapturar->isEnabled() && !in<QPushButton>(window, "btnusar")->isEnabled());
    QVERIFY(bench.dialogs.asked.empty());
    if (fault == CameraFault::NoCamera) {
        QCOMPARE(text(window, "lblcamara"),
                 QStringLiteral("No se ha encontrado ninguna cámara. Conecte una cámara o elija "
                                "una foto guardada."));
    }
    // Connected again, the camera comes back by itself.
    bench.camera.devices = {{QStringLiteral("cam0"), QStringLiteral("Cámara")},
                            {QStringLiteral("cam1"), QStringLiteral("Otra cámara")}};
    emit bench.camera.camerasChanged();
    QCOMPARE(bench.camera.openId, QStringLiteral("cam0"));
    QVERIFY(!in<QLabel>(window, "lblcamara")->isVisible() && btncapturar->isEnabled());
    QVERIFY(in<QWidget>(window, "cbcamara")->isVisible());
}

// "&Cámara..." in "&Nuevo Cliente": the still becomes the client's photo as a chosen file would,
// and the camera is let go however the window goes.
void TestCamara::newClientFromTheCamera() {
    const QImage portrait = test::astronaut();
    if (portrait.isNull()) {
        QSKIP("python3-skimage could not be downloaded");
    }
    test::PrincipalWindow main;
    QVERIFY(main.load());
    main.principal->Muestrapelos_Click(1);
    ClientCommands& clients = PrincipalProbe::clients(*main.principal);
    auto openCamera = [&] {
        clients.mnunuevocliente_Click();
        QTest::mouseClick(in<QPushButton>(clients.nomcliente(), "btncamara"), Qt::LeftButton);
        return clients.nomcliente()->camara();
    };
    openCamera()->close();
    QVERIFY(!main.camera.isOpen());
    openCamera();
    QVERIFY(main.camera.isOpen());
    QTest::mouseClick(in<QPushButton>(clients.nomcliente(), "btncancelar"), Qt::LeftButton);
    QVERIFY(!main.camera.isOpen());

    const QString taken = QStringLiteral("\\clientes\\7-original.jpg");
    main.folder.writePicture(taken, test::solidPicture(20, 20, 0x00FF0000), "jpg");
    const QImage before = loadPicture(main.folder.path(taken)).picture;
    QPointer<Camara> camara = openCamera();
    in<QLineEdit>(clients.nomcliente(), "txtnombrecliente")->setText(QStringLiteral("Ana"));
    in<QLineEdit>(clients.nomcliente(), "txtcodigo")->setText(QStringLiteral("7"));
    main.camera.stillPicture = framed(portrait, QSize(1600, 1200));
    main.camera.deliver(framed(portrait, QSize(640, 480)));
    QTest::mouseClick(in<QPushButton>(camara, "btncapturar"), Qt::LeftButton);
    auto* btnusar = in<QPushButton>(camara, "btnusar");
    QTRY_VERIFY(btnusar->isEnabled());
    // Declined at the question: nothing is left behind, the still waits in the window.
    main.dialogs.messageAnswers = {MessageAnswer::No};
    QTest::mouseClick(btnusar, Qt::LeftButton);
    QVERIFY(main.dialogs.messages().last().contains(QStringLiteral("¿Dar de alta")));
    QVERIFY(!main.folder.exists(QStringLiteral("\\clientes\\7-original-2.jpg")));
    QVERIFY(btnusar->isEnabled() && main.camera.isOpen());
    main.dialogs.messageAnswers = {MessageAnswer::Yes};
    QTest::mouseClick(btnusar, Qt::LeftButton);
    QTRY_VERIFY(camara.isNull() && !clients.nomcliente());
    QVERIFY(!main.camera.isOpen());
    RecordSet row = main.database.OpenRecordset(QStringLiteral("Select * from cliente"));
    QCOMPARE(row.Fields(QStringLiteral("Fprograma")), QStringLiteral("\\clientes\\7.jpg"));
    QCOMPARE(loadPicture(main.folder.path(QStringLiteral("\\clientes\\7.jpg"))).picture.size(),
             QSize(300, 320));
    COMPARE_IMAGES(loadPicture(main.folder.path(taken)).picture, before);  // never overwritten
    // The original whole and as the camera saw it: nearer the still than its mirror image.
    const QImage original =
        loadPicture(main.folder.path(QStringLiteral("\\clientes\\7-original-2.jpg"))).picture;
    QCOMPARE(original.size(), QSize(1600, 1200));
    const QImage mirror = main.camera.stillPicture.mirrored(true, false);
    int nearer = 0;
    for (int x = 50; x < 1600; x += 100) {
        const int y = 300 + x / 4;
        const QRgb o = original.pixel(x, y);
        const QRgb s = main.camera.stillPicture.pixel(x, y);
        const QRgb m = mirror.pixel(x, y);
        nearer += std::abs(qGreen(o) - qGreen(s)) <= std::abs(qGreen(o) - qGreen(m)) ? 1 : 0;
    }
    QCOMPARE(nearer, 16);

    // The program ending lets the camera go too.
    openCamera();
    QVERIFY(main.camera.isOpen());
    main.principal.reset();
    QVERIFY(!main.camera.isOpen());
}

QTEST_MAIN(TestCamara)
#include "tst_camara.moc"
