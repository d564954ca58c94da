#include <QtTest>

#include <QCamera>
#include <QLabel>
#include <QMediaCaptureSession>
#include <QPushButton>
#include <QVideoFrame>
#include <QVideoSink>

#include "clients/camara.h"
#include "image_compare.h"
#include "platform/qt_camera.h"
#include "scripted_dialogs.h"

using namespace crinova;

Q_DECLARE_METATYPE(crinova::CameraFault)

// The Qt camera on the machine the tests run on, which has no camera.
class TestQtCamera : public QObject {
    Q_OBJECT
  private slots:
    void noCameraIsSaid();
    void framesReachTheProgram();
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

void TestQtCamera::framesReachTheProgram() {
    QtCamera camera;
    QSignalSpy frames(&camera, &Camera::frame);
    // A frame handed to the sink, as the camera's driver hands them.
    QImage picture = test::numberedPicture(64, 48).convertToFormat(QImage::Format_ARGB32);
    QVideoFrame frame(QVideoFrameFormat(picture.size(), QVideoFrameFormat::Format_BGRA8888));
    QVERIFY(frame.map(QVideoFrame::WriteOnly));
    for (int y = 0; y < picture.height(); ++y) {
        std::memcpy(frame.bits(0) + y * frame.bytesPerLine(0), picture.constScanLine(y),
                    std::size_t(picture.width()) * 4);
    }
    frame.unmap();
    camera.videoSink()->setVideoFrame(frame);
    QCOMPARE(frames.size(), 1);
    COMPARE_IMAGES(frames[0][0].value<QImage>(), picture);

    // Qt's GStreamer back end feeds a camera of no device from its test pattern: the whole road
    // from GStreamer to the program, on a machine without a camera.
    QCamera pattern;
    QMediaCaptureSession session;
    session.setCamera(&pattern);
    session.setVideoSink(camera.videoSink());
    pattern.start();
    if (!QTest::qWaitFor([&] { return frames.size() > 2; }, 5000)) {
        QSKIP("this Qt gives no test pattern without a camera");
    }
    QVERIFY(!frames.last()[0].value<QImage>().isNull());
    pattern.stop();
}

QTEST_MAIN(TestQtCamera)
#include "tst_qt_camera.moc"
