#include <QtTest>

#include <QLabel>
#include <QPushButton>
#include <QVideoFrame>
#include <QVideoSink>

#include "clients/camara.h"
#include "platform/qt_camera.h"
#include "scripted_dialogs.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::CameraFault)

// The Qt camera on the machine the tests run on, which has no camera.
class TestQtCamera : public QObject {
    Q_OBJECT
  private slots:
    void noCameraIsSaid();
    void framesInEveryLayout_data();
    void framesInEveryLayout();
};

void TestQtCamera::noCameraIsSaid() {
    QElapsedTimer clock;
    clock.start();
    QtCamera camera;
    if (!camera.cameras().empty()) {
        QSKIP("this machine has a camera");
    }
    QSignalSpy faults(&camera, &Camera::fault);
    camera.open(QStringLiteral("/dev/video0"));
    QCOMPARE(faults.size(), 1);
    QCOMPARE(faults[0][0].value<CameraFault>(), CameraFault::NoCamera);
    QVERIFY(!camera.isOpen());
    camera.capture();
    QCOMPARE(faults.size(), 2);
    QCOMPARE(faults[1][0].value<CameraFault>(), CameraFault::StillFailed);

    test::ScriptedDialogs dialogs;
    Camara window({&camera, dialogs, EyeTarget{}, {}}, nullptr);
    window.show();
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lblcamara"))->text(),
             QStringLiteral("No se ha encontrado ninguna cámara. Conecte una cámara o elija una "
                            "foto guardada."));
    QVERIFY(!window.findChild<QPushButton*>(QStringLiteral("btncapturar"))->isEnabled());
    window.close();
    QVERIFY2(clock.elapsed() < 10000, qPrintable(QString::number(clock.elapsed())));
}

void TestQtCamera::framesInEveryLayout_data() {
    using F = QVideoFrameFormat;
    QTest::addColumn<int>("format");
    QTest::addColumn<QByteArrayList>("planes");  // each plane filled with its bytes repeated
    QTest::addColumn<QColor>("colour");
    const QColor orange(200, 100, 50);
    QTest::newRow("BGRA") << int(F::Format_BGRA8888) << QByteArrayList{"\x32\x64\xc8\xff"}
                          << orange;
    QTest::newRow("ARGB") << int(F::Format_ARGB8888) << QByteArrayList{"\xff\xc8\x64\x32"}
                          << orange;
    QTest::newRow("ABGR") << int(F::Format_ABGR8888) << QByteArrayList{"\xff\x32\x64\xc8"}
                          << orange;
    QTest::newRow("RGBX") << int(F::Format_RGBX8888) << QByteArrayList{"\xc8\x64\x32\x01"}
                          << orange;
    // Y 81, U 90, V 240 is red: R = 1.164 (81 - 16) + 1.596 (240 - 128) = 254, G and B 0
    // (BT.601, studio range); U and V swapped would give another colour.
    const QColor red(254, 0, 0);
    QTest::newRow("YUYV") << int(F::Format_YUYV) << QByteArrayList{"\x51\x5a\x51\xf0"} << red;
    QTest::newRow("UYVY") << int(F::Format_UYVY) << QByteArrayList{"\x5a\x51\xf0\x51"} << red;
    QTest::newRow("NV12") << int(F::Format_NV12) << QByteArrayList{"\x51", "\x5a\xf0"} << red;
    QTest::newRow("NV21") << int(F::Format_NV21) << QByteArrayList{"\x51", "\xf0\x5a"} << red;
    QTest::newRow("I420") << int(F::Format_YUV420P) << QByteArrayList{"\x51", "\x5a", "\xf0"}
                          << red;
    QTest::newRow("YV12") << int(F::Format_YV12) << QByteArrayList{"\x51", "\xf0", "\x5a"} << red;
}

// A frame handed to the sink, as the camera's driver hands them, reaches the program converted.
void TestQtCamera::framesInEveryLayout() {
    QFETCH(int, format);
    QFETCH(QByteArrayList, planes);
    QFETCH(QColor, colour);
    QtCamera camera;
    QSignalSpy frames(&camera, &Camera::frame);
    QVideoFrame frame(QVideoFrameFormat(QSize(8, 4), QVideoFrameFormat::PixelFormat(format)));
    QVERIFY(frame.map(QVideoFrame::WriteOnly));
    QCOMPARE(frame.planeCount(), planes.size());
    for (int p = 0; p < frame.planeCount(); ++p) {
        for (int i = 0; i < frame.mappedBytes(p); ++i) {
            frame.bits(p)[i] = uchar(planes[p][i % planes[p].size()]);
        }
    }
    frame.unmap();
    camera.videoSink()->setVideoFrame(frame);
    QCOMPARE(frames.size(), 1);
    const QImage image = frames[0][0].value<QImage>();
    QCOMPARE(image.size(), QSize(8, 4));
    const QColor got = image.pixelColor(7, 3);
    QVERIFY2(std::abs(got.red() - colour.red()) <= 2 &&
                 std::abs(got.green() - colour.green()) <= 2 &&
                 std::abs(got.blue() - colour.blue()) <= 2 && got.alpha() == 255,
             qPrintable(got.name()));
}

QTEST_MAIN(TestQtCamera)
#include "tst_qt_camera.moc"
