#include "clients/camera_worker.h"

#include <memory>

namespace crinova {

class CameraWorker::Engine : public QObject {
  public:
    const FaceCascades& cascades() {
        if (!cascades_) {
            cascades_ = std::make_unique<FaceCascades>();
            cascades_->load(kHaarCascadeFolder);
        }
        return *cascades_;
    }

  private:
    std::unique_ptr<FaceCascades> cascades_;
};

CameraWorker::CameraWorker(EyeTarget target, QObject* parent)
    : QObject(parent), target_(std::move(target)), engine_(new Engine) {
    engine_->moveToThread(&thread_);
    thread_.setObjectName(QStringLiteral("camera worker"));
    thread_.start();
}

CameraWorker::~CameraWorker() {
    thread_.quit();
    thread_.wait();
    delete engine_;
}

bool CameraWorker::read(const QImage& frame) {
    if (busy()) {
        return false;
    }
    ++pending_;
    QMetaObject::invokeMethod(
        engine_,
        [this, frame] {
            const FrameReading reading = readFrame(frame, engine_->cascades());
            QMetaObject::invokeMethod(
                this,
                [this, reading] {
                    --pending_;
                    emit frameRead(reading);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
    return true;
}

void CameraWorker::prepare(const QImage& still) {
    ++pending_;
    QMetaObject::invokeMethod(
        engine_,
        [this, still] {
            const PreparedPhoto photo =
                preparePhoto(still, target_.eyes, target_.picture, engine_->cascades());
            QMetaObject::invokeMethod(
                this,
                [this, photo] {
                    --pending_;
                    emit stillPrepared(photo);
                },
                Qt::QueuedConnection);
        },
        Qt::QueuedConnection);
}

}  // namespace crinova
