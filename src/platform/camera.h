#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <vector>

namespace crinova {

// A camera the system offers: `id` names it to open(), `description` to the stylist.
struct CameraInfo {
    QString id;
    QString description;
};

enum class CameraFault {
    NoCamera,      // none connected, or the one asked for is not there
    InUse,         // another program holds it
    AccessDenied,  // the system refuses it to this user
    Unplugged,     // it went while it was open
    StillFailed,   // a still was asked for and none came; the live picture goes on
    Failed,        // anything else that stopped it
};

// The Spanish sentence the stylist reads for a fault.
QString cameraFaultMessage(CameraFault fault);

// The salon's cameras as the program uses them: one open at a time, live frames, a still on
// demand. Frames, stills and faults are told through the signals on the thread that owns the
// object; after close() nothing more is told until the next open(). Frames and stills are as the
// camera sees them (not mirrored), stills at the camera's full resolution.
class Camera : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;

    // The cameras connected now (the first call may start the system's media services).
    virtual std::vector<CameraInfo> cameras() = 0;
    // Starts the camera `id` (closing one that is open): frames follow, or a fault.
    virtual void open(const QString& id) = 0;
    // Asks for a still of the open camera: `still` follows, or the fault StillFailed.
    virtual void capture() = 0;
    // Releases the camera. Harmless when none is open.
    virtual void close() = 0;
    virtual bool isOpen() const = 0;

  signals:
    void frame(const QImage& frame);
    void still(const QImage& still);
    void fault(crinova::CameraFault fault);
    // A camera was connected or disconnected.
    void camerasChanged();
};

}  // namespace crinova
