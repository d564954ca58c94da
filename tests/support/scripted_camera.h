#pragma once

#include <QImage>
#include <optional>

#include "platform/camera.h"

namespace crinova::test {

// A camera as a test tells it to be: the cameras it offers, faults on demand, frames delivered
// when the test says, stills from `stillPicture`. Counts opens and closes.
class ScriptedCamera : public Camera {
  public:
    std::vector<CameraInfo> devices{{QStringLiteral("cam0"), QStringLiteral("Cámara del salón")}};
    std::optional<CameraFault> openFault;  // the next open fails so
    bool failNextStill = false;
    QImage stillPicture;
    QString openId;  // the camera open now, or empty
    int opens = 0;
    int closes = 0;
    int captures = 0;

    std::vector<CameraInfo> cameras() override { return devices; }
    void open(const QString& id) override;
    void capture() override;
    void close() override;
    bool isOpen() const override { return !openId.isEmpty(); }

    // Delivers a live frame from the open camera (none when closed).
    void deliver(const QImage& frame);
    // The open camera goes: it leaves `devices` and the fault is told.
    void unplug();
};

}  // namespace crinova::test
