#pragma once

#include <QDateTime>
#include <QString>

#include "platform/archive.h"
#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// A backup of everything a salon would lose: one tar archive "\copias\crinova-<stamp>.tar"
// holding "crinova.db", the "clientes/" folder and the "fotos/" folder (the catalogue's pictures
// with the salon's own styles; older backups lack it and restore without touching it). One file
// per backup, so a backup is either whole or absent; the older copies of the database alone
// ("crinova-<stamp>.db") still restore.
QString fullBackupName(const QDateTime& when);
// Where the consistent copy of the database is made before it goes into the archive.
QString backupSnapshotName(const QDateTime& when);

// Writes the archive from the database copy `snapshot` and the clients' folder as it is now.
// Needs no database connection and no widget, so it runs on a worker thread.
bool writeFullBackup(const ProgramFolder& folder, const QString& snapshot, const QString& target,
                     const ArchiveProgress& progress, QString* error);

// The folders a restore works in, beside the live files in the program folder.
inline const QString kRestoreIncoming = QStringLiteral("\\restaurando");
inline const QString kRestoreAside = QStringLiteral("\\apartado");

// Extracts a backup archive into the incoming folder and checks it completely: every entry
// readable, the entries the backup's own list names, and a sound database. Nothing live changes;
// a refused archive leaves no incoming folder behind.
bool prepareFullRestore(const ProgramFolder& folder, const QString& archive, QString* error);

// Swaps the prepared backup in: the live database and clients' folder are set aside, the new ones
// renamed in, and only then is the aside removed, except the previous database, which is kept at
// `previousDatabase`, and the previous clients' folder, kept beside it (previousClientsFolder):
// photos taken after the backup was made must not be lost with it. Any failure puts the aside
// back. The database is opened again (and upgraded) in every case.
bool swapInFullRestore(Database& database, const ProgramFolder& folder,
                       const QString& previousDatabase, QString* error);

// Where a restore keeps the clients' folder it replaced: "<previous database>-clientes", without
// the ".db".
QString previousClientsFolder(const QString& previousDatabase);
// And the catalogue's pictures it replaced: "<previous database>-fotos".
QString previousCatalogueFolder(const QString& previousDatabase);

// Removes what a prepared restore left (the stylist said No, or a restore was cut short).
void discardFullRestore(const ProgramFolder& folder);

}  // namespace crinova
