#include "program/backup_job.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "platform/system_errors.h"
#include "program/database_maintenance.h"
#include "program/full_backup.h"

namespace crinova {

BackupJob::BackupJob(ProgramFolder folder, QString snapshot, QString target)
    : folder_(std::move(folder)), snapshot_(std::move(snapshot)), target_(std::move(target)) {}

BackupJob::~BackupJob() {
    wait();
}

void BackupJob::start() {
    worker_.reset(QThread::create([this] {
        written_ = writeFullBackup(
            folder_, snapshot_, target_,
            [this](qint64 done, qint64 total) {
                done_ = done;
                total_ = total;
            },
            &error_);
        QFile::remove(snapshot_);
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
    if (finished() && written_) {
        return 1000;
    }
    const qint64 total = total_;
    return total > 0 ? static_cast<int>(done_ * 1000 / total) : 0;
}

std::unique_ptr<BackupJob> startFullBackup(Database& database, const ProgramFolder& folder,
                                           const QDateTime& when, QString* error) {
    const QString snapshot = folder.fullPath(backupSnapshotName(when));
    const QString target = folder.fullPath(fullBackupName(when));
    if (QFileInfo::exists(target)) {
        if (error) {
            *error = QStringLiteral("Ya existe una copia llamada %1.").arg(target);
        }
        return nullptr;
    }
    QFile::remove(snapshot);
    // SQLite names a folder it cannot write to only as a file it cannot open: tried first, the
    // system's own reason is told.
    if (QDir().mkpath(QFileInfo(snapshot).path())) {
        QFile probe(snapshot);
        if (!probe.open(QIODevice::WriteOnly)) {
            if (error) {
                *error = QStringLiteral("No se ha podido crear el archivo %1: %2")
                             .arg(snapshot, spanishSystemError(probe.errorString()));
            }
            return nullptr;
        }
        probe.close();
        probe.remove();
    }
    if (!backupDatabase(database, snapshot, error)) {
        QFile::remove(snapshot);
        return nullptr;
    }
    auto job = std::make_unique<BackupJob>(folder, snapshot, target);
    job->start();
    return job;
}

}  // namespace crinova
