#include "program/backup_job.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "platform/system_errors.h"
#include "program/database_maintenance.h"
#include "program/full_backup.h"
#include "program/server_backup.h"

namespace crinova {

BackupJob::BackupJob(Work work) : work_(std::move(work)) {}

BackupJob::~BackupJob() {
    wait();
}

void BackupJob::start() {
    worker_.reset(QThread::create([this] {
        result_ = work_([this](qint64 done, qint64 total) {
            done_ = done;
            total_ = total;
        });
    }));
    worker_->start(QThread::LowPriority);
}

void BackupJob::whenFinished(QObject* context, std::function<void()> call) {
    QObject::connect(worker_.get(), &QThread::finished, context, std::move(call));
}

void BackupJob::wait() {
    if (worker_) {
        worker_->wait();
    }
}

bool BackupJob::finished() const {
    return worker_ && worker_->isFinished();
}

int BackupJob::permille() const {
    if (finished()) {
        return 1000;
    }
    const qint64 total = total_;
    return total > 0 ? static_cast<int>(done_ * 1000 / total) : 0;
}

std::unique_ptr<BackupJob> startFullBackup(Database& database, const ProgramFolder& folder,
                                           const QDateTime& when, QString* error,
                                           const std::optional<ServerAccess>& server) {
    const QString snapshot = folder.fullPath(backupSnapshotName(when));
    const QString target = folder.fullPath(fullBackupName(when));
    const auto refuse = [error](const QString& reason) {
        if (error) {
            *error = reason;
        }
        return nullptr;
    };
    const QString refusal = linkLeadingOut(folder, target);
    if (!refusal.isEmpty()) {
        return refuse(refusal);
    }
    if (QFileInfo::exists(target)) {
        return refuse(QStringLiteral("Ya existe una copia llamada %1.")
                          .arg(shortenedMiddle(QDir::toNativeSeparators(target))));
    }
    QFile::remove(snapshot);
    // SQLite names a folder it cannot write to only as a file it cannot open: tried first, the
    // system's own reason is told.
    if (QDir().mkpath(QFileInfo(snapshot).path())) {
        QFile probe(snapshot);
        if (!probe.open(QIODevice::WriteOnly)) {
            return refuse(QStringLiteral("No se ha podido crear el archivo %1: %2")
                              .arg(shortenedMiddle(QDir::toNativeSeparators(snapshot)),
                                   spanishSystemError(probe.errorString())));
        }
        probe.close();
        probe.remove();
    }
    if (!backupDatabase(database, snapshot, error)) {
        QFile::remove(snapshot);
        return nullptr;
    }
    const QString pictures = server ? serverPicturesBeside(snapshot) : QString();
    auto job = std::make_unique<BackupJob>([folder, snapshot, target, pictures,
                                            server](const ArchiveProgress& progress) {
        JobResult result;
        result.file = target;
        // The server's data comes through a connection of the worker's own: thousands of
        // pictures take a while, and the window goes on meanwhile.
        if (server) {
            Database connection;
            const ServerOutcome reached = openServerForWork(connection, *server);
            result.error = reached.message;
            result.done = reached.ok() &&
                          takeServerData(connection, snapshot, pictures, &result.error, progress);
        }
        if (!server || result.done) {
            result.done = writeFullBackup(folder, snapshot, target, progress, &result.error,
                                          &result.notes, pictures);
        }
        QFile::remove(snapshot);
        if (server) {
            removeFolder(folder, pictures);
        }
        return result;
    });
    job->start();
    return job;
}

std::unique_ptr<BackupJob> startRestoreCheck(const ProgramFolder& folder, const QString& archive) {
    auto job = std::make_unique<BackupJob>([folder, archive](const ArchiveProgress& progress) {
        JobResult result;
        result.done =
            prepareFullRestore(folder, archive, &result.error, progress, &result.unwritable);
        result.file = result.done ? archive : QString();
        return result;
    });
    job->start();
    return job;
}

std::unique_ptr<BackupJob> startServerRestore(
    const ServerAccess& server, const QString& incoming, int station,
    std::function<QStringList(Database& copy)> stylePictures) {
    auto job = std::make_unique<BackupJob>(
        [server, incoming, station,
         stylePictures = std::move(stylePictures)](const ArchiveProgress& progress) {
            JobResult result;
            Database connection;
            const ServerOutcome reached = openServerForWork(connection, server);
            result.error = reached.message;
            result.done = reached.ok() && restoreIntoServer(connection, incoming, station,
                                                            stylePictures, &result.error, progress);
            return result;
        });
    job->start();
    return job;
}

std::unique_ptr<BackupJob> startSoundCopySearch(const ProgramFolder& folder) {
    auto job = std::make_unique<BackupJob>([folder](const ArchiveProgress& progress) {
        JobResult result;
        const QStringList copies = backupsNewestFirst(folder);
        for (qsizetype i = 0; i < copies.size() && !result.done; ++i) {
            // Each copy one share of the bar.
            const ArchiveProgress share = [&](qint64 done, qint64 total) {
                progress(i * 1000 + (total > 0 ? done * 1000 / total : 0), copies.size() * 1000);
            };
            QString reason;
            const bool archive = copies[i].endsWith(QLatin1String(".tar"), Qt::CaseInsensitive);
            result.done =
                archive ? prepareFullRestore(folder, copies[i], &reason, share, &result.unwritable)
                        : isSoundDatabase(copies[i], &reason);
            if (result.done) {
                result.file = copies[i];
                result.made = backupMadeAt(copies[i]);
            } else if (result.unwritable) {
                result.error = reason;  // the disk, not the copies: nothing more to try
                return result;
            } else {
                result.notes << QStringLiteral("%1: %2").arg(
                    shortenedMiddle(QFileInfo(copies[i]).fileName()), reason.simplified());
            }
        }
        if (!result.done) {
            result.error = copies.isEmpty()
                               ? QStringLiteral("No hay ninguna copia de seguridad.")
                               : QStringLiteral("Ninguna de las copias de seguridad está sana.");
        }
        return result;
    });
    job->start();
    return job;
}

}  // namespace crinova
