#pragma once

#include <QDateTime>
#include <QString>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// Copies of the database live in "\copias", named "crinova-<yyyyMMdd-HHmmss>.db".
inline const QString kBackupFolder = QStringLiteral("\\copias");
QString backupName(const QDateTime& when);

// A consistent copy of the open database (VACUUM INTO) at `target`, which must not exist yet.
bool backupDatabase(Database& database, const QString& target, QString* error);

// Whether a file is a sound copy of the program's database: it opens, passes the integrity check
// and holds both tables. `error` says what is wrong.
bool isSoundDatabase(const QString& path, QString* error);

// Replaces the program's database by a sound copy: the current file is first kept aside in the
// copies folder (`aside`), then the copy takes its place and the database is opened again. Nothing
// changes when the copy is not sound or a step fails.
bool restoreDatabase(Database& database, const ProgramFolder& folder, const QString& copy,
                     const QString& aside, QString* error);

enum class RepairOutcome { Repaired, Damaged, Failed };

// Reopens the database and checks it; a sound one is reindexed and compacted. A damaged one is
// left as it is for a restore.
RepairOutcome repairDatabase(Database& database, const ProgramFolder& folder, QString* error);

// The newest copy in the copies folder, or an empty text.
QString newestBackup(const ProgramFolder& folder);

}  // namespace crinova
