#include "platform/qt_camera.h"

#include <QCamera>
#include <QCameraDevice>
#include <QCameraFormat>
#include <QFileInfo>
#include <QImageCapture>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>

#include <unistd.h>

namespace crinova {
namespace {

// How long a still may take, the switch of resolution included, before it counts as failed.
constexpr int kStillTimeoutMs = 8000;

qint64 area(const QCameraFormat& format) {
    return qint64(format.resolution().width()) * format.resolution().height();
}

// The largest picture up to 1280 wide that comes at 15 frames a second or more; without one, the
// fastest format.
QCameraFormat liveFormatOf(const QCameraDevice& device) {
    QCameraFormat best;
    QCameraFormat fastest;
    for (const QCameraFormat& format : device.videoFormats()) {
        if (fastest.isNull() || format.maxFrameRate() > fastest.maxFrameRate()) {
            fastest = format;
        }
        if (format.maxFrameRate() >= 15 && format.resolution().width() <= 1280 &&
            (best.isNull() || area(format) > area(best))) {
            best = format;
        }
    }
    return best.isNull() ? fastest : best;
}

// The largest picture the camera makes, the faster of two of the same size.
QCameraFormat stillFormatOf(const QCameraDevice& device) {
    QCameraFormat best;
    for (const QCameraFormat& format : device.videoFormats()) {
        if (best.isNull() || area(format) > area(best) ||
            (area(format) == area(best) && format.maxFrameRate() > best.maxFrameRate())) {
            best = format;
        }
    }
    return best;
}

// GStreamer's reasons are English and technical; these are the ones the stylist can act on.
CameraFault faultOf(const QString& text) {
    if (text.contains(QStringLiteral("busy"), Qt::CaseInsensitive)) {
        return CameraFault::InUse;
    }
    if (text.contains(QStringLiteral("permission"), Qt::CaseInsensitive)) {
        return CameraFault::AccessDenied;
    }
    if (text.contains(QStringLiteral("no such device"), Qt::CaseInsensitive)) {
        return CameraFault::Unplugged;
    }
    return CameraFault::Failed;
}

}  // namespace

struct QtCamera::State {
    QMediaDevices devices;
    QMediaCaptureSession session;
    QVideoSink sink;
    std::unique_ptr<QCamera> camera;
    std::unique_ptr<QImageCapture> imageCapture;
    QCameraDevice device;
    QCameraFormat liveFormat;
    QCameraFormat stillFormat;
    enum class Still { None, WaitingForSize, Taking } still = Still::None;
    QTimer stillWatch;
};

QtCamera::QtCamera(QObject* parent) : Camera(parent), state_(std::make_unique<State>()) {
    State& s = *state_;
    s.stillWatch.setSingleShot(true);
    s.stillWatch.setInterval(kStillTimeoutMs);
    connect(&s.stillWatch, &QTimer::timeout, this, &QtCamera::stillFailed);
    connect(&s.sink, &QVideoSink::videoFrameChanged, this, [this](const QVideoFrame& frame) {
        State& s = *state_;
        if (!frame.isValid()) {
            return;
        }
        if (s.still == State::Still::WaitingForSize && frame.size() == s.stillFormat.resolution()) {
            s.still = State::Still::Taking;
            s.imageCapture->capture();
        }
        const QImage image = frame.toImage();
        if (!image.isNull()) {
            emit this->frame(image);
        }
    });
    connect(&s.devices, &QMediaDevices::videoInputsChanged, this, &QtCamera::inputsChanged);
}

QtCamera::~QtCamera() {
    close();
}

bool QtCamera::isOpen() const {
    return state_->camera != nullptr;
}

QVideoSink* QtCamera::videoSink() {
    return &state_->sink;
}

std::vector<CameraInfo> QtCamera::cameras() const {
    std::vector<CameraInfo> cameras;
    for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
        cameras.push_back({QString::fromUtf8(device.id()), device.description()});
    }
    return cameras;
}

void QtCamera::open(const QString& id) {
    close();
    State& s = *state_;
    for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
        if (QString::fromUtf8(device.id()) == id) {
            s.device = device;
        }
    }
    if (s.device.isNull()) {
        emit fault(CameraFault::NoCamera);
        return;
    }
    // A device node the user may not open is told before GStreamer tries it.
    const QString node = QString::fromUtf8(s.device.id());
    if (node.startsWith(QStringLiteral("/dev/")) && QFileInfo::exists(node) &&
        ::access(node.toLocal8Bit().constData(), R_OK | W_OK) != 0) {
        s.device = QCameraDevice();
        emit fault(CameraFault::AccessDenied);
        return;
    }
    s.camera = std::make_unique<QCamera>(s.device);
    s.imageCapture = std::make_unique<QImageCapture>();
    s.liveFormat = liveFormatOf(s.device);
    s.stillFormat = stillFormatOf(s.device);
    if (!s.liveFormat.isNull()) {
        s.camera->setCameraFormat(s.liveFormat);
    }
    connect(s.camera.get(), &QCamera::errorOccurred, this,
            [this](QCamera::Error error, const QString& text) {
                if (error == QCamera::NoError || !isOpen()) {
                    return;
                }
                close();
                emit fault(faultOf(text));
            });
    connect(s.imageCapture.get(), &QImageCapture::imageCaptured, this,
            [this](int, const QImage& image) {
                if (state_->still != State::Still::Taking) {
                    return;
                }
                backToLive();
                emit still(image);
            });
    connect(s.imageCapture.get(), &QImageCapture::errorOccurred, this, &QtCamera::stillFailed);
    s.session.setCamera(s.camera.get());
    s.session.setImageCapture(s.imageCapture.get());
    s.session.setVideoSink(&s.sink);
    s.camera->start();
}

void QtCamera::close() {
    State& s = *state_;
    s.stillWatch.stop();
    s.still = State::Still::None;
    if (s.camera) {
        s.camera->stop();
        s.session.setVideoSink(nullptr);
        s.session.setImageCapture(nullptr);
        s.session.setCamera(nullptr);
        s.imageCapture.reset();
        s.camera.reset();
    }
    s.device = QCameraDevice();
}

void QtCamera::capture() {
    State& s = *state_;
    if (!s.camera || s.still != State::Still::None) {
        emit fault(CameraFault::StillFailed);
        return;
    }
    s.stillWatch.start();
    if (s.stillFormat.isNull() || s.camera->cameraFormat() == s.stillFormat) {
        s.still = State::Still::Taking;
        s.imageCapture->capture();
        return;
    }
    // The still is taken from the first frame at the largest size.
    s.still = State::Still::WaitingForSize;
    s.camera->setCameraFormat(s.stillFormat);
}

void QtCamera::stillFailed() {
    if (state_->still == State::Still::None) {
        return;
    }
    backToLive();
    emit fault(CameraFault::StillFailed);
}

void QtCamera::backToLive() {
    State& s = *state_;
    s.stillWatch.stop();
    s.still = State::Still::None;
    if (s.camera && !s.liveFormat.isNull() && s.camera->cameraFormat() != s.liveFormat) {
        s.camera->setCameraFormat(s.liveFormat);
    }
}

void QtCamera::inputsChanged() {
    State& s = *state_;
    if (s.camera) {
        bool present = false;
        for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
            present = present || device.id() == s.device.id();
        }
        if (!present) {
            close();
            emit fault(CameraFault::Unplugged);
        }
    }
    emit camerasChanged();
}

}  // namespace crinova
