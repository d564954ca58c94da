#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>

#include "platform/archive.h"
#include "platform/files.h"
#include "platform/record_sets.h"
#include "program/server_database.h"

class QThread;

namespace crinova {

// What a job's work answers once its worker has ended.
struct JobResult {
    bool done = false;  // the work did what it was asked
    QString error;      // why not, in Spanish
    QString file;       // the file it made or chose (the archive written, the copy found sound)
    QStringList notes;  // what the stylist hears besides (entries a backup left out, copies a
                        // repair passed over)
    bool unwritable = false;  // the failure was writing (a full disk), not what was read
    QDateTime made;           // when the copy in `file` was made, for a copy chosen
};

// Work done on a worker thread and watched from the window's thread: a whole backup, the check of
// a copy before it is restored. The work never touches the program's database connection or a
// widget, so the program stays usable meanwhile.
class BackupJob {
  public:
    // The work tells how far it has got through `progress` and answers its result.
    using Work = std::function<JobResult(const ArchiveProgress& progress)>;
    explicit BackupJob(Work work);
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
    // Once finished: what the work answered.
    const JobResult& result() const { return result_; }

  private:
    Work work_;
    std::unique_ptr<QThread> worker_;
    std::atomic<qint64> done_{0};
    std::atomic<qint64> total_{0};
    JobResult result_;  // set by the worker before it ends
};

// Starts a whole backup at `when`: the database is copied at once, consistent, for the worker to
// archive with the archived folders. Answers the job, started (its result names the archive, and
// what was left out), or nothing with the reason in `error` (a copy of that name already there,
// the database unreadable, the copies folder not writable or a link leading out). With `server`
// the backup holds the salon's server's records and pictures (`takeServerData`), read by the
// worker through a connection of its own.
std::unique_ptr<BackupJob> startFullBackup(Database& database, const ProgramFolder& folder,
                                           const QDateTime& when, QString* error,
                                           const std::optional<ServerAccess>& server = {});

// Starts the check of a whole backup before it is restored: extracted into the incoming folder and
// checked on the worker (`prepareFullRestore`). The result's `file` is the archive when it is
// sound.
std::unique_ptr<BackupJob> startRestoreCheck(const ProgramFolder& folder, const QString& archive);

// Starts putting a prepared restore into the salon's server (`restoreIntoServer`) through a
// connection of the worker's own. `station` is this station's connection to the server, not
// another station's.
std::unique_ptr<BackupJob> startServerRestore(
    const ServerAccess& server, const QString& incoming, int station,
    std::function<QStringList(Database& copy)> stylePictures);

// Starts the search for the copy a repair restores: the copies newest first, each checked in
// turn, until a sound one (a whole backup is extracted as for a restore). The result's `file` is
// the copy found; `notes` say which newer copies were passed over and why.
std::unique_ptr<BackupJob> startSoundCopySearch(const ProgramFolder& folder);

}  // namespace crinova
