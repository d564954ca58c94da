#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <atomic>
#include <functional>
#include <memory>

#include "platform/files.h"
#include "platform/record_sets.h"

class QThread;

namespace crinova {

// A whole backup written on a worker thread and watched from the window's thread: the worker only
// reads the clients' files and a copy of the database, so the program stays usable meanwhile.
class BackupJob {
  public:
    // `snapshot`: the consistent copy of the database already made; `target`: the archive's full
    // path.
    BackupJob(ProgramFolder folder, QString snapshot, QString target);
    // Lets the worker end first: its state goes with the job.
    ~BackupJob();
    BackupJob(const BackupJob&) = delete;
    BackupJob& operator=(const BackupJob&) = delete;

    void start();
    // Calls `call` on `context`'s thread once the worker has ended.
    void whenFinished(QObject* context, std::function<void()> call);
    void wait();
    bool finished() const;
    // How far the worker has got, 0 to 1000.
    int permille() const;
    // Once finished: whether the archive was written, and why not. The database copy is removed
    // then.
    bool written() const { return written_; }
    const QString& error() const { return error_; }
    const QString& target() const { return target_; }

  private:
    ProgramFolder folder_;
    QString snapshot_;
    QString target_;
    std::unique_ptr<QThread> worker_;
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    bool written_ = false;  // set by the worker before it ends
    QString error_;         // likewise
};

// Starts a whole backup at `when`: the database is copied at once, consistent, for the worker to
// archive with the clients' folder. Answers the job, started, or nothing with the reason in
// `error` (a copy of that name already there, the database unreadable, the copies folder not
// writable).
std::unique_ptr<BackupJob> startFullBackup(Database& database, const ProgramFolder& folder,
                                           const QDateTime& when, QString* error);

}  // namespace crinova
