#pragma once

#include <QImage>
#include <QObject>
#include <QThread>

#include "face/framing_guide.h"
#include "face/photo_preparation.h"

namespace crinova {

// The camera window's picture work, on a thread of its own so that the live picture never waits:
// the guide's reading of a live frame, and the preparation of a still to the main picture (as
// preparePhoto makes any new client's photo). One job at a time, in order; the thread has its own
// face detectors (a detector must not search two pictures at once), loaded at its first job.
// Results come back as signals on the thread that owns the worker.
class CameraWorker : public QObject {
    Q_OBJECT
  public:
    explicit CameraWorker(EyeTarget target, QObject* parent = nullptr);
    // Waits for the job that runs; jobs not begun are dropped.
    ~CameraWorker() override;

    // Whether a job runs or waits.
    bool busy() const { return pending_ > 0; }
    // Starts reading `frame` unless the worker is busy; answers whether it did.
    bool read(const QImage& frame);
    // Prepares `still` after the jobs before it.
    void prepare(const QImage& still);

  signals:
    void frameRead(const crinova::FrameReading& reading);
    void stillPrepared(const crinova::PreparedPhoto& photo);

  private:
    class Engine;
    EyeTarget target_;
    QThread thread_;
    Engine* engine_ = nullptr;  // lives on thread_
    int pending_ = 0;
};

}  // namespace crinova
