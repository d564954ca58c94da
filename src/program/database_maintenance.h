#pragma once

#include <QDateTime>
#include <QString>
#include <functional>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// Copies of the database live in "\copias", named "crinova-<yyyyMMdd-HHmmss>.db".
inline const QString kBackupFolder = QStringLiteral("\\copias");
QString backupName(const QDateTime& when);
// Where a restore keeps the database it replaces ("antes-de-restaurar-<stamp>.db") and where a
// repair that falls back on the newest copy keeps the damaged file ("danada-<stamp>.db").
QString beforeRestoreName(const QDateTime& when);
QString damagedCopyName(const QDateTime& when);

// A consistent copy of the open database (VACUUM INTO) at `target`, which must not exist yet.
bool backupDatabase(Database& database, const QString& target, QString* error);

// What a look at a database file found: sound (it opens, passes the integrity check, holds the
// program's tables, each with columns the upgrade steps know), damaged, or busy (another program
// holds it, and nothing can be said about it yet).
enum class DatabaseFileState { Sound, Damaged, Busy };
DatabaseFileState checkDatabaseFile(const QString& path, QString* error);

// Whether a file is a sound copy of the program's database. `error` says what is wrong.
bool isSoundDatabase(const QString& path, QString* error);

// Replaces the program's database by a sound copy: the copy is written beside the current file,
// the current file is kept aside in the copies folder (`aside`) while it stays in place, one rename
// puts the copy in its place and the database is opened again. Nothing changes when the copy is not
// sound or a step fails. `afterEachStep` is called after each change to the files (tests look at
// the folder where a crash could leave it).
bool restoreDatabase(Database& database, const ProgramFolder& folder, const QString& copy,
                     const QString& aside, QString* error,
                     const std::function<void()>& afterEachStep = {});

enum class RepairOutcome { Repaired, Damaged, Busy, Failed };

// Checks the database file (a missing table is damage); a sound one is reindexed and compacted,
// and opened when it was not. A damaged one is left as it is for a restore, and so is the
// program's connection to it. A file another program holds is `Busy`: it may well be sound.
RepairOutcome repairDatabase(Database& database, const ProgramFolder& folder, QString* error);

// The copies in the copies folder (of the database alone, or whole backup archives), by name;
// the same, the most recently made first (`backupMadeAt`, which reads each archive's list: for a
// worker thread); the newest of them, or an empty text.
QStringList backupCopies(const ProgramFolder& folder);
QStringList backupsNewestFirst(const ProgramFolder& folder);
QString newestBackup(const ProgramFolder& folder);

}  // namespace crinova
