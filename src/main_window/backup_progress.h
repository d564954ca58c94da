#pragma once

#include <QString>
#include <QWidget>
#include <atomic>

#include "platform/dialogs.h"
#include "platform/files.h"

class QLabel;
class QProgressBar;
class QThread;
class QTimer;

namespace crinova {

// "Copia de Seguridad": writes a backup archive on a worker thread while this small window shows
// its progress; the program stays usable meanwhile. When the worker ends, the database copy it
// read is removed, the stylist is told how it went and the window closes (released on close).
class BackupProgress : public QWidget {
    Q_OBJECT
  public:
    // `snapshot`: the consistent copy of the database already made; `target`: the archive's full
    // path.
    BackupProgress(const ProgramFolder& folder, QString snapshot, QString target, Dialogs& dialogs,
                   QWidget* parent);
    ~BackupProgress() override;

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

    ProgramFolder folder_;
    QString snapshot_;
    QString target_;
    Dialogs& dialogs_;
    QThread* worker_ = nullptr;
    QTimer* timer_ = nullptr;
    QProgressBar* barraprogreso_ = nullptr;
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    bool written_ = false;  // set by the worker before it ends
    QString error_;         // likewise
    bool finished_ = false;
};

}  // namespace crinova
