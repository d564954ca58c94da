#include <QtTest>

#include <sys/resource.h>

#include <csignal>

#include "platform/archive.h"
#include "program/backup_job.h"
#include "program/database_maintenance.h"
#include "program/folder_names.h"
#include "program/full_backup.h"
#include "program/program_database.h"
#include "read_only_folder.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::ReadOnlyFolder;
using crinova::test::TestProgramFolder;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file of the copies folder, hidden ones too, with its bytes.
std::map<QString, QByteArray> copies(const TestProgramFolder& folder) {
    std::map<QString, QByteArray> found;
    const QDir dir(folder.path(kBackupFolder));
    for (const QString& name : dir.entryList(QDir::Files | QDir::Hidden)) {
        found[name] = bytesOf(dir.filePath(name));
    }
    return found;
}

// Files larger than `bytes` cannot be written while this lives, as on a full disk (or a FAT
// drive's 4 GB limit): a write past it fails with EFBIG instead of raising SIGXFSZ.
class FileSizeLimit {
  public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previous_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  private:
    rlimit saved_{};
    void (*previous_)(int) = nullptr;
};

const QDateTime kFirst(QDate(2026, 12, 1), QTime(10, 0, 0));
const QDateTime kSecond(QDate(2026, 12, 2), QTime(11, 30, 0));

}  // namespace

class FullBackupTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void cleanup();
    void progressFollowsTheBytes();
    void aReadOnlyCopiesFolderKeepsTheEarlierBackups();
    void aFullDiskLeavesNoHalfArchive();
    void aJobRemovesItsDatabaseCopy();

  private:
    // A folder with a client, a visit of two photos (one of 3 MB) and a first backup.
    std::unique_ptr<TestProgramFolder> folder_;
    std::unique_ptr<Database> database_;
    QString firstBackup_;
};

void FullBackupTest::init() {
    folder_ = std::make_unique<TestProgramFolder>(TestProgramFolder::Empty);
    database_ = std::make_unique<Database>();
    QVERIFY(openProgramDatabase(*database_, folder_->folder(), nullptr));
    QVERIFY(database_->Execute(QStringLiteral("INSERT INTO cliente VALUES ('07', 'Ana', '')")));
    folder_->writeBytes("\\clientes\\07\\20261130-090000-foto1.bmp", QByteArray(3 << 20, 'a'));
    folder_->writeBytes("\\clientes\\07\\20261130-090000-foto2.bmp", "bb");
    QString error;
    std::unique_ptr<BackupJob> job = startFullBackup(*database_, folder_->folder(), kFirst, &error);
    QVERIFY2(job, qPrintable(error));
    job->wait();
    QVERIFY2(job->written(), qPrintable(job->error()));
    QCOMPARE(job->permille(), 1000);
    firstBackup_ = job->target();
    QCOMPARE(firstBackup_, folder_->path(fullBackupName(kFirst)));
}

void FullBackupTest::cleanup() {
    database_.reset();
    folder_.reset();
}

void FullBackupTest::progressFollowsTheBytes() {
    const QString snapshot = folder_->path(backupSnapshotName(kSecond));
    QVERIFY(backupDatabase(*database_, snapshot, nullptr));
    const qint64 files = QFileInfo(snapshot).size() + (3 << 20) + 2;
    std::vector<std::pair<qint64, qint64>> told;
    QVERIFY(writeFullBackup(
        folder_->folder(), snapshot, folder_->path(fullBackupName(kSecond)),
        [&](qint64 done, qint64 total) { told.emplace_back(done, total); }, nullptr));
    // The 3 MB photo goes in blocks of 1 MB, each told: the bar moves while a big file is read.
    QVERIFY(told.size() >= 4);
    for (std::size_t i = 1; i < told.size(); ++i) {
        QVERIFY(told[i].first >= told[i - 1].first);
        QCOMPARE(told[i].second, told[0].second);
    }
    // Everything written is counted: the database, the photos and the backup's own list.
    QVERIFY(told[0].second > files);
    QVERIFY(told[0].second < files + 100);
    QCOMPARE(told.back().first, told.back().second);
}

void FullBackupTest::aReadOnlyCopiesFolderKeepsTheEarlierBackups() {
    const std::map<QString, QByteArray> before = copies(*folder_);
    QCOMPARE(before.size(), std::size_t{1});
    QString error;
    {
        ReadOnlyFolder readOnly(folder_->path(kBackupFolder));
        QVERIFY(!startFullBackup(*database_, folder_->folder(), kSecond, &error));
        const QString denied =
            QStringLiteral("No tiene permiso para usar el archivo o la carpeta.");
        QCOMPARE(error, QStringLiteral("No se ha podido crear el archivo %1: %2")
                            .arg(folder_->path(backupSnapshotName(kSecond)), denied));
        // The database copy made elsewhere: the archive itself cannot be started either.
        const QString snapshot = folder_->path("\\instantanea.db");
        QVERIFY(backupDatabase(*database_, snapshot, nullptr));
        const QString target = folder_->path(fullBackupName(kSecond));
        QVERIFY(!writeFullBackup(folder_->folder(), snapshot, target, {}, &error));
        QVERIFY2(error.startsWith(QStringLiteral("No se ha podido crear el archivo")),
                 qPrintable(error));
        QVERIFY2(error.endsWith(denied), qPrintable(error));
    }
    QVERIFY(copies(*folder_) == before);
    QVERIFY(prepareFullRestore(folder_->folder(), firstBackup_, &error));
    discardFullRestore(folder_->folder());
}

void FullBackupTest::aFullDiskLeavesNoHalfArchive() {
    const QString snapshot = folder_->path(backupSnapshotName(kSecond));
    QVERIFY(backupDatabase(*database_, snapshot, nullptr));
    const QString target = folder_->path(fullBackupName(kSecond));
    QString error;
    {
        // Room for the database and a part of the big photo.
        const FileSizeLimit full(1 << 20);
        QVERIFY(!writeFullBackup(folder_->folder(), snapshot, target, {}, &error));
    }
    QVERIFY2(error.startsWith(QStringLiteral("No se ha podido escribir en la copia")),
             qPrintable(error));
    QVERIFY2(error.contains(QStringLiteral("demasiado grande")), qPrintable(error));
    // Only the earlier backup and the database copy: no archive, whole or partial, of this one.
    QStringList names;
    for (const auto& [name, bytes] : copies(*folder_)) {
        names << name;
    }
    QCOMPARE(names,
             (QStringList{QFileInfo(snapshot).fileName(), QFileInfo(firstBackup_).fileName()}));
    QVERIFY(prepareFullRestore(folder_->folder(), firstBackup_, &error));
    discardFullRestore(folder_->folder());
}

void FullBackupTest::aJobRemovesItsDatabaseCopy() {
    QString error;
    // A second backup in the same second would overwrite the first: refused, nothing written.
    QVERIFY(!startFullBackup(*database_, folder_->folder(), kFirst, &error));
    QCOMPARE(error, QStringLiteral("Ya existe una copia llamada %1.").arg(firstBackup_));
    std::unique_ptr<BackupJob> job =
        startFullBackup(*database_, folder_->folder(), kSecond, &error);
    QVERIFY(job);
    job->wait();
    QVERIFY(job->finished());
    QVERIFY(job->written());
    QStringList names;
    for (const auto& [name, bytes] : copies(*folder_)) {
        names << name;
    }
    QCOMPARE(names, (QStringList{QStringLiteral("crinova-20261201-100000.tar"),
                                 QStringLiteral("crinova-20261202-113000.tar")}));
}

QTEST_GUILESS_MAIN(FullBackupTest)
#include "tst_full_backup.moc"
