#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <functional>

#include "platform/archive.h"
#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// A backup of everything a salon would lose: one tar archive "\copias\crinova-<stamp>.tar"
// holding "crinova.db" and the folders of `archivedFolders()`. One file per backup, so a backup is
// either whole or absent; the older copies of the database alone ("crinova-<stamp>.db") still
// restore.
QString fullBackupName(const QDateTime& when);
// Where the consistent copy of the database is made before it goes into the archive.
QString backupSnapshotName(const QDateTime& when);

// The folders of the program folder a whole backup holds beside the database, by their entry
// names ("clientes"). A restore puts back each one the backup has; one it lacks (a backup made
// before that folder was added) is left as it is.
const QStringList& archivedFolders();

// Writes the archive from the database copy `snapshot` and the archived folders as they are now.
// Needs no database connection and no widget, so it runs on a worker thread. Links and anything
// that is not a plain file or folder are left out, and named in `skipped` ("clientes/07: un
// enlace a /tmp/x"). The archive's list records when the backup was made (the snapshot's time)
// as its own modification time. With `serverPictures` (the salon's server's pictures, fetched for
// the backup) the clients' folder is the server's, and the server's styles lie over this station's
// catalogue folder.
bool writeFullBackup(const ProgramFolder& folder, const QString& snapshot, const QString& target,
                     const ArchiveProgress& progress, QString* error,
                     QStringList* skipped = nullptr, const QString& serverPictures = {});

// When a copy (a whole backup or a database alone) was made: what a whole backup's list records,
// otherwise the file's modification time.
QDateTime backupMadeAt(const QString& copy);

// Removes what backups cut short left in the copies folder: the archive under its temporary name
// (".crinova-<stamp>.tar.part"), the database copy made for it (".crinova-<stamp>.db") and the
// server's pictures fetched for it. For the start, when no backup can be running.
void removeUnfinishedBackups(const ProgramFolder& folder);

// The folders a restore works in, beside the live files in the program folder, and the journal
// of a swap in progress.
inline const QString kRestoreIncoming = QStringLiteral("\\restaurando");
inline const QString kRestoreAside = QStringLiteral("\\apartado");
inline const QString kRestoreJournal = QStringLiteral("\\restauracion-en-curso.txt");

// Extracts a backup archive into the incoming folder and checks it completely: every entry
// readable, the entries the backup's own list names, archived folders that are folders, and a
// sound database with known columns. Nothing live changes; a refused archive leaves no incoming
// folder behind. `progress` follows the archive's bytes; `unwritable` tells a failure to write
// (a full disk) from an archive that is not sound.
bool prepareFullRestore(const ProgramFolder& folder, const QString& archive, QString* error,
                        const ArchiveProgress& progress = {}, bool* unwritable = nullptr);

// Swaps the prepared backup in. A journal is written first; then the live database and the
// folders the backup has are set aside, the new ones renamed in, the previous database is kept at
// `previousDatabase` and each previous folder beside it (`previousFolder`): photos taken after
// the backup was made must not be lost with it. Any failure puts the aside back; the journal goes
// only once everything is whole, so a swap cut short is finished or undone at the next start
// (`finishInterruptedRestore`). The database is opened again (and upgraded) when the files are
// whole. `afterEachStep` is called after each change to the files (tests stop there).
bool swapInFullRestore(Database& database, const ProgramFolder& folder,
                       const QString& previousDatabase, QString* error,
                       const std::function<void()>& afterEachStep = {});

// Where a restore keeps a folder it replaced: "<previous database>-<folder>", without the ".db".
QString previousFolder(const QString& previousDatabase, const QString& name);
inline QString previousClientsFolder(const QString& previousDatabase) {
    return previousFolder(previousDatabase, QStringLiteral("clientes"));
}

// Removes what a prepared restore left (the stylist said No, or a restore was cut short).
void discardFullRestore(const ProgramFolder& folder);
// The same in two halves, for the window's thread: thousands of extracted files take seconds to
// remove, so the incoming folder is renamed out of the way at once ("restaurando-descartado-…")
// and the answer, the folder to remove, is left to a worker (`removeFolder`). Empty when there was
// nothing to set apart, or it could only be removed at once. The start removes any left.
QString setPreparedRestoreApart(const ProgramFolder& folder);

// At start, before the database is opened: a swap cut short (its journal is there) is finished
// when the backup's database was already in place, and undone otherwise, so the database and the
// folders are whole, old or new; the journal, the incoming and the aside folders go. A prepared
// restore that never began its swap is removed. Answers what the stylist should be told once, or
// an empty text when there was nothing to do. When neither can be done the journal stays (the
// database is then neither opened nor created) and the text says where the files are.
QString finishInterruptedRestore(const ProgramFolder& folder);

}  // namespace crinova
