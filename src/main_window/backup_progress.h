#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "program/backup_job.h"

class QProgressBar;
class QTimer;

namespace crinova {

// "Copia de Seguridad": shows the progress of work on the backup's worker thread (a backup, or the
// check of a backup about to be restored); the program stays usable meanwhile. When the worker
// ends, `finished` is called once with its result on the window's thread and the window closes
// (released on close).
class BackupProgress : public QWidget {
    Q_OBJECT
  public:
    BackupProgress(std::unique_ptr<BackupJob> job, const QString& title, const QString& caption,
                   std::function<void(const JobResult&)> finished, QWidget* parent);
    ~BackupProgress() override;

    // Shows the window with the busy pointer and starts the progress timer.
    void start();
    // What the progress timer does (every 0.2 s): the bar follows the worker, and its end is
    // reported once.
    void tick();
    // Waits for the worker thread to end (tests; the window never blocks on it).
    void waitForWorker();
    bool running() const { return !finished_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void finish();

    std::unique_ptr<BackupJob> job_;
    std::function<void(const JobResult&)> finishedCall_;
    QTimer* timer_ = nullptr;
    QProgressBar* barraprogreso_ = nullptr;
    bool finished_ = false;
};

}  // namespace crinova
