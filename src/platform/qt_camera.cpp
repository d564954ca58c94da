#include "platform/qt_camera.h"

#include <QCamera>
#include <QCameraDevice>
#include <QCameraFormat>
#include <QFileInfo>
#include <QMediaCaptureSession>
#include <QMediaDevices>
#include <QTimer>
#include <QVideoFrame>
#include <QVideoSink>

#include <optional>

#include <unistd.h>

#include "platform/camera_frames.h"

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

std::optional<FrameLayout> layoutOf(QVideoFrameFormat::PixelFormat format) {
    using F = QVideoFrameFormat;
    switch (format) {
        case F::Format_BGRA8888:
        case F::Format_BGRA8888_Premultiplied:
        case F::Format_BGRX8888:
            return FrameLayout::Bgra;
        case F::Format_RGBA8888:
        case F::Format_RGBX8888:
            return FrameLayout::Rgba;
        case F::Format_ARGB8888:
        case F::Format_ARGB8888_Premultiplied:
        case F::Format_XRGB8888:
            return FrameLayout::Argb;
        case F::Format_ABGR8888:
        case F::Format_XBGR8888:
            return FrameLayout::Abgr;
        case F::Format_YUYV:
            return FrameLayout::Yuyv;
        case F::Format_UYVY:
            return FrameLayout::Uyvy;
        case F::Format_NV12:
            return FrameLayout::Nv12;
        case F::Format_NV21:
            return FrameLayout::Nv21;
        case F::Format_YUV420P:
            return FrameLayout::I420;
        case F::Format_YV12:
            return FrameLayout::Yv12;
        case F::Format_Y8:
            return FrameLayout::Gray;
        default:
            return std::nullopt;
    }
}

// The frame's pixels converted here, on the processor. Qt's own conversion goes through the
// graphics card when the desktop has OpenGL, and with Mesa's software OpenGL it crashes.
QImage imageOf(const QVideoFrame& frame) {
    const std::optional<FrameLayout> layout = layoutOf(frame.pixelFormat());
    if (!layout) {
        return frame.toImage();  // a rare format: Qt's conversion
    }
    QVideoFrame mapped = frame;
    if (!mapped.map(QVideoFrame::ReadOnly)) {
        return {};
    }
    FramePlanes planes;
    for (int p = 0; p < std::min(3, mapped.planeCount()); ++p) {
        planes.data[p] = mapped.bits(p);
        planes.bytesPerLine[p] = mapped.bytesPerLine(p);
    }
    QImage image = frameToImage(*layout, mapped.size(), planes);
    mapped.unmap();
    return image;
}

}  // namespace

struct QtCamera::State {
    QMediaDevices devices;
    QMediaCaptureSession session;
    QVideoSink sink;
    std::unique_ptr<QCamera> camera;
    QCameraDevice device;
    QCameraFormat liveFormat;
    QCameraFormat stillFormat;
    // A still asked for: the next frame of this size (any size when empty) is the still.
    std::optional<QSize> stillSize;
    QTimer stillWatch;
};

QtCamera::QtCamera(QObject* parent) : Camera(parent) {}

QtCamera::~QtCamera() {
    close();
}

// Qt Multimedia starts GStreamer and the sound server's client when first asked: only once the
// stylist opens the camera window, never at the program's start.
QtCamera::State& QtCamera::state() {
    if (state_) {
        return *state_;
    }
    state_ = std::make_unique<State>();
    State& s = *state_;
    s.stillWatch.setSingleShot(true);
    s.stillWatch.setInterval(kStillTimeoutMs);
    connect(&s.stillWatch, &QTimer::timeout, this, [this] {
        backToLive();
        emit fault(CameraFault::StillFailed);
    });
    connect(&s.sink, &QVideoSink::videoFrameChanged, this, &QtCamera::videoFrame);
    connect(&s.devices, &QMediaDevices::videoInputsChanged, this, &QtCamera::inputsChanged);
    return s;
}

bool QtCamera::isOpen() const {
    return state_ && state_->camera;
}

QVideoSink* QtCamera::videoSink() {
    return &state().sink;
}

std::vector<CameraInfo> QtCamera::cameras() {
    state();
    std::vector<CameraInfo> cameras;
    for (const QCameraDevice& device : QMediaDevices::videoInputs()) {
        cameras.push_back({QString::fromUtf8(device.id()), device.description()});
    }
    return cameras;
}

void QtCamera::open(const QString& id) {
    close();
    State& s = state();
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
    s.session.setCamera(s.camera.get());
    s.session.setVideoSink(&s.sink);
    s.camera->start();
}

void QtCamera::close() {
    if (!state_) {
        return;
    }
    State& s = *state_;
    s.stillWatch.stop();
    s.stillSize.reset();
    if (s.camera) {
        s.camera->stop();
        s.session.setVideoSink(nullptr);
        s.session.setCamera(nullptr);
        s.camera.reset();
    }
    s.device = QCameraDevice();
}

// The GStreamer back end takes its stills from the live stream too: the still is simply the first
// frame at the camera's largest size, which the camera switches to for it.
void QtCamera::capture() {
    if (!isOpen() || state_->stillSize) {
        emit fault(CameraFault::StillFailed);
        return;
    }
    State& s = *state_;
    s.stillWatch.start();
    if (s.stillFormat.isNull() || s.camera->cameraFormat() == s.stillFormat) {
        s.stillSize = QSize();
        return;
    }
    s.stillSize = s.stillFormat.resolution();
    s.camera->setCameraFormat(s.stillFormat);
}

void QtCamera::videoFrame(const QVideoFrame& frame) {
    State& s = *state_;
    if (!frame.isValid()) {
        return;
    }
    const QImage image = imageOf(frame);
    if (image.isNull()) {
        return;
    }
    if (s.stillSize && (s.stillSize->isEmpty() || *s.stillSize == image.size())) {
        backToLive();
        emit still(image);
        return;
    }
    emit this->frame(image);
}

void QtCamera::backToLive() {
    State& s = *state_;
    s.stillWatch.stop();
    s.stillSize.reset();
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
