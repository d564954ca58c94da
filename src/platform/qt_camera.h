#pragma once

#include <memory>

#include "platform/camera.h"

class QVideoFrame;
class QVideoSink;

namespace crinova {

// The system's cameras through Qt Multimedia (GStreamer on Linux), whose headers stay in the .cpp.
// The live picture runs at a modest size (up to 1280 wide, 15 frames a second or more); a still
// switches the camera to its largest picture for one frame and back. Frames are converted on the
// processor (platform/camera_frames.h), never through the graphics card.
class QtCamera : public Camera {
    Q_OBJECT
  public:
    explicit QtCamera(QObject* parent = nullptr);
    ~QtCamera() override;

    std::vector<CameraInfo> cameras() override;
    void open(const QString& id) override;
    void capture() override;
    void close() override;
    bool isOpen() const override;

    // The sink the live frames arrive through; what reaches it is told as `frame`.
    QVideoSink* videoSink();

  private:
    struct State;
    State& state();
    void videoFrame(const QVideoFrame& frame);
    void backToLive();
    void inputsChanged();

    std::unique_ptr<State> state_;
};

}  // namespace crinova
