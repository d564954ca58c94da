#pragma once

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <functional>

#include "clients/camera_worker.h"
#include "face/framing_guide.h"
#include "platform/camera.h"
#include "platform/dialogs.h"
#include "platform/modeless_window.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace crinova {

class ImageControl;
class CameraView;

// "FOTO CON CÁMARA": the live picture, mirrored, with the framing guide; a still taken at the
// camera's full resolution, shown prepared to the main picture; the still handed over as the new
// client's photo. The camera is held only while the window is open: closing it (however), using a
// photo, or the program ending releases it.
class Camara : public QWidget {
    Q_OBJECT
  public:
    struct Host {
        Camera* camera;  // none: the window says there is no camera
        Dialogs& dialogs;
        EyeTarget target;  // where the prepared photo puts the eyes
        // Takes the still (not mirrored) as the client's photo; answers whether it was taken.
        std::function<bool(const QImage&)> use;
    };

    Camara(Host host, QWidget* parent);
    ~Camara() override;
    ModelessClose& modelessClose() { return *close_; }

    void btncapturar_Click();
    void btnusar_Click();
    void btnrepetir_Click();
    void cbcamara_Click(int index);

    // The guide as drawn now: green (the eyes on the marks) or amber.
    bool guideGreen() const;
    // Live frames handed to the guide's eye search so far.
    int framesRead() const { return framesRead_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    enum class Stage { Off, Live, Capturing, Preparing, Review };

    void startCamera();
    void releaseCamera();
    void camera_Frame(const QImage& frame);
    void camera_Still(const QImage& still);
    void camera_Fault(CameraFault fault);
    void camerasChanged();
    void frameRead(const FrameReading& reading);
    void stillPrepared(const PreparedPhoto& photo);
    void showFault(const QString& message);
    void setStage(Stage stage);

    Host host_;
    ModelessClose* close_ = nullptr;
    CameraWorker* worker_ = nullptr;
    CameraView* fcamara_ = nullptr;
    QLabel* lblcamara_ = nullptr;
    QLabel* lblaviso_ = nullptr;
    QComboBox* cbcamara_ = nullptr;
    ImageControl* fcaptura_ = nullptr;
    QPushButton* btncapturar_ = nullptr;
    QPushButton* btnusar_ = nullptr;
    QPushButton* btnrepetir_ = nullptr;
    Stage stage_ = Stage::Off;
    bool holding_ = false;  // this window has the camera open
    int frames_ = 0;
    int framesRead_ = 0;
    QImage still_;
};

}  // namespace crinova
