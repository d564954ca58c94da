#include <QtTest>

#include <clocale>
#include <optional>

#include "clients/client_records.h"
#include "clients/visits.h"
#include "file_size_limit.h"
#include "platform/archive.h"
#include "program/backup_job.h"
#include "program/database_maintenance.h"
#include "program/folder_names.h"
#include "program/full_backup.h"
#include "program/program_database.h"
#include "read_only_folder.h"
#include "test_folder.h"

using namespace crinova;
using crinova::test::FileSizeLimit;
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
    void aSwapCutShortIsMadeWholeAtStart_data();
    void aSwapCutShortIsMadeWholeAtStart();
    void aFailedUndoIsToldAndMadeWholeAtStart();
    void linksOutOfTheFolderAreNeverFollowed_data();
    void linksOutOfTheFolderAreNeverFollowed();
    void accentedNamesUnderAPlainLocale();

  private:
    // The clients' rows, and whether the visit photo added after the first backup is there.
    QStringList clients();
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
    QVERIFY2(job->result().done, qPrintable(job->result().error));
    QCOMPARE(job->permille(), 1000);
    firstBackup_ = job->result().file;
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
    {
        // A sound backup that does not fit on the disk is not called damaged.
        const FileSizeLimit full(1 << 20);
        bool unwritable = false;
        QVERIFY(!prepareFullRestore(folder_->folder(), firstBackup_, &error, {}, &unwritable));
        QVERIFY(unwritable);
        QVERIFY2(error.contains(QStringLiteral("demasiado grande")) &&
                     !error.contains(QStringLiteral("dañada")),
                 qPrintable(error));
    }
    QVERIFY(!QFileInfo::exists(folder_->path(kRestoreIncoming)));
    // A backup killed mid-way leaves its part, its database copy and the server's pictures it
    // fetched: the next start removes them.
    folder_->writeBytes("\\copias\\.crinova-20261202-113000.tar.part", QByteArray(1000, 'p'));
    folder_->writeBytes("\\copias\\.crinova-20261202-113000-servidor\\clientes\\07.jpg", "j");
    removeUnfinishedBackups(folder_->folder());
    // So do restores prepared and never swapped in: nothing to tell.
    folder_->writeBytes("\\restaurando\\crinova.db", "r");
    folder_->writeBytes("\\restaurando-descartado-1\\clientes\\x.bmp", "r");
    QCOMPARE(finishInterruptedRestore(folder_->folder()), QString());
    QCOMPARE(QDir(folder_->folder().path()).entryList({"restaurando*"}, QDir::AllEntries), {});
    QCOMPARE(QDir(folder_->path(kBackupFolder))
                 .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QFileInfo(firstBackup_).fileName()});
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
    QVERIFY(job->result().done);
    QStringList names;
    for (const auto& [name, bytes] : copies(*folder_)) {
        names << name;
    }
    QCOMPARE(names, (QStringList{QStringLiteral("crinova-20261201-100000.tar"),
                                 QStringLiteral("crinova-20261202-113000.tar")}));
}

QStringList FullBackupTest::clients() {
    Database database;
    if (!database.open(folder_->path(kDatabase), false, nullptr)) {
        return {QStringLiteral("no database")};
    }
    QStringList found;
    for (RecordSet rows = database.OpenRecordset(
             QStringLiteral("Select codigocliente From cliente order by codigocliente"));
         !rows.Eof(); rows.MoveNext()) {
        found << rows.Fields(QStringLiteral("codigocliente"));
    }
    if (folder_->exists(QStringLiteral("\\clientes\\08\\nueva.bmp"))) {
        found << QStringLiteral("nueva.bmp");
    }
    return found;
}

void FullBackupTest::aSwapCutShortIsMadeWholeAtStart_data() {
    QTest::addColumn<int>("killedAfter");
    // The backup's database in place is the point of no return: from there the start finishes
    // the restore, before it the start undoes it.
    QTest::addColumn<bool>("finished");
    QTest::newRow("journal written") << 1 << false;
    QTest::newRow("database set aside") << 2 << false;
    QTest::newRow("clients' folder set aside") << 3 << false;
    QTest::newRow("the backup's database in") << 4 << true;
    QTest::newRow("the backup's clients' folder in") << 5 << true;
    QTest::newRow("the previous files kept") << 6 << true;
}

void FullBackupTest::aSwapCutShortIsMadeWholeAtStart() {
    QFETCH(int, killedAfter);
    QFETCH(bool, finished);
    // After the backup: another client, with a photo of her own.
    QVERIFY(database_->Execute(QStringLiteral("INSERT INTO cliente VALUES ('08', 'Eva', '')")));
    folder_->writeBytes("\\clientes\\08\\nueva.bmp", "n");
    const QStringList before = clients();
    QVERIFY(prepareFullRestore(folder_->folder(), firstBackup_, nullptr));
    database_->close();
    const QString previous = folder_->path(beforeRestoreName(kSecond));
    QProcess child;
    child.start(QStringLiteral(CRINOVA_RESTORE_CHILD),
                {folder_->folder().path(), QString::number(killedAfter), previous});
    QVERIFY(child.waitForFinished(60000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);

    // Until the start has made it whole, no database is opened, and none is made up.
    const bool hadDatabase = folder_->exists(kDatabase);
    QVERIFY(!openProgramDatabase(*database_, folder_->folder(), nullptr));
    QCOMPARE(folder_->exists(kDatabase), hadDatabase);
    const QString told = finishInterruptedRestore(folder_->folder());
    QVERIFY2(told.contains(finished ? QStringLiteral("se ha terminado")
                                    : QStringLiteral("Se ha deshecho")),
             qPrintable(told));
    QCOMPARE(clients(), finished ? QStringList{QStringLiteral("07")} : before);
    QCOMPARE(bytesOf(folder_->path("\\clientes\\07\\20261130-090000-foto2.bmp")), QByteArray("bb"));
    if (finished) {
        Database kept;
        QVERIFY(kept.open(previous, false, nullptr));
        QCOMPARE(kept.OpenRecordset(QStringLiteral("Select * From cliente")).RecordCount(), 2);
        QVERIFY(QFileInfo::exists(previousClientsFolder(previous) + "/08/nueva.bmp"));
    }
    for (const QString& gone : {kRestoreIncoming, kRestoreAside, kRestoreJournal}) {
        QVERIFY2(!folder_->exists(gone), qPrintable(gone));
    }
    QVERIFY(openProgramDatabase(*database_, folder_->folder(), nullptr));
    QCOMPARE(finishInterruptedRestore(folder_->folder()), QString());  // told once
}

void FullBackupTest::aFailedUndoIsToldAndMadeWholeAtStart() {
    QVERIFY(prepareFullRestore(folder_->folder(), firstBackup_, nullptr));
    std::optional<ReadOnlyFolder> incoming;
    std::optional<ReadOnlyFolder> aside;
    int step = 0;
    QString error;
    // Once the backup's database is in, neither its clients' folder can follow nor can the
    // folder set aside go back.
    QVERIFY(!swapInFullRestore(*database_, folder_->folder(),
                               folder_->path(beforeRestoreName(kSecond)), &error, [&] {
                                   if (++step == 4) {
                                       incoming.emplace(folder_->path(kRestoreIncoming));
                                       aside.emplace(folder_->path(kRestoreAside));
                                   }
                               }));
    aside.reset();
    incoming.reset();
    QVERIFY2(error.contains(QStringLiteral("ni tampoco devolverlo todo")) &&
                 error.contains(folder_->path(kRestoreAside)) &&
                 !error.contains(QStringLiteral("siguen como estaban")),
             qPrintable(error));
    QVERIFY(!database_->isOpen());
    QVERIFY(
        finishInterruptedRestore(folder_->folder()).contains(QStringLiteral("se ha terminado")));
    QVERIFY(openProgramDatabase(*database_, folder_->folder(), nullptr));
    QCOMPARE(bytesOf(folder_->path("\\clientes\\07\\20261130-090000-foto2.bmp")), QByteArray("bb"));
}

void FullBackupTest::linksOutOfTheFolderAreNeverFollowed_data() {
    QTest::addColumn<QString>("link");  // planted in the program folder, leading outside
    QTest::newRow("the incoming folder of a restore") << kRestoreIncoming;
    QTest::newRow("the aside folder of a restore") << kRestoreAside;
    QTest::newRow("the copies folder") << kBackupFolder;
    QTest::newRow("a client's folder") << QStringLiteral("\\clientes\\07");
}

void FullBackupTest::linksOutOfTheFolderAreNeverFollowed() {
    QFETCH(QString, link);
    QTemporaryDir outside;
    const QString other = outside.filePath(QStringLiteral("ajeno.txt"));
    QFile(other).open(QIODevice::WriteOnly);
    const QString planted = folder_->path(link);
    const QString copy = folder_->path(QStringLiteral("\\copia.tar"));
    QVERIFY(QFile::rename(firstBackup_, copy));
    QVERIFY(QDir(planted).removeRecursively());
    QVERIFY(QFile::link(outside.path(), planted));
    QString error;
    if (link == kRestoreIncoming) {
        QVERIFY(!prepareFullRestore(folder_->folder(), copy, &error));
    } else if (link == kRestoreAside) {
        QVERIFY(prepareFullRestore(folder_->folder(), copy, &error));
        QVERIFY(!swapInFullRestore(*database_, folder_->folder(),
                                   folder_->path(beforeRestoreName(kSecond)), &error));
    } else if (link == kBackupFolder) {
        QVERIFY(!startFullBackup(*database_, folder_->folder(), kSecond, &error));
    } else {
        folder_->writeBytes(slotFileName(1), "foto");
        const std::vector<VisitPhoto> staged =
            stageVisitPhotos(folder_->folder(), QStringLiteral("07"), kSecond, {1}, &error);
        QCOMPARE(staged.size(), std::size_t{1});
        QVERIFY(!placeStagedPhotos(folder_->folder(), staged, &error));
        discardStagedPhotos(folder_->folder(), staged);
        // A backup leaves the link out, and says so.
        std::unique_ptr<BackupJob> job =
            startFullBackup(*database_, folder_->folder(), kSecond, nullptr);
        job->wait();
        QVERIFY(job->result().done);
        QCOMPARE(job->result().notes,
                 QStringList{QStringLiteral("clientes/07: un enlace a %1").arg(outside.path())});
    }
    QVERIFY2(error.contains(planted) && error.contains(outside.path()), qPrintable(error));
    QCOMPARE(QDir(outside.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("ajeno.txt")});
    QCOMPARE(clients(), QStringList{QStringLiteral("07")});
}

void FullBackupTest::accentedNamesUnderAPlainLocale() {
    // A machine without the Spanish locale: the C library's character type is plain "C".
    const QByteArray saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    folder_->writeBytes("\\clientes\\Muñoz\\20261130-090000-foto1.bmp", "m");
    QString error;
    std::unique_ptr<BackupJob> job =
        startFullBackup(*database_, folder_->folder(), kSecond, &error);
    QVERIFY(job);
    job->wait();
    const bool restored = prepareFullRestore(folder_->folder(), job->result().file, &error);
    std::setlocale(LC_ALL, saved.constData());
    QVERIFY2(job->result().done, qPrintable(job->result().error));
    QVERIFY2(restored, qPrintable(error));
    QCOMPARE(
        bytesOf(folder_->path(kRestoreIncoming + "\\clientes\\Muñoz\\20261130-090000-foto1.bmp")),
        QByteArray("m"));
}

QTEST_GUILESS_MAIN(FullBackupTest)
#include "tst_full_backup.moc"
