#include "program/database_maintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <filesystem>
#include <vector>

#include "platform/system_errors.h"
#include "program/database_upgrade.h"
#include "program/folder_names.h"
#include "program/full_backup.h"
#include "program/program_database.h"

namespace crinova {
namespace {

bool fail(QString* error, const QString& reason) {
    if (error) {
        *error = reason;
    }
    return false;
}

bool integrityOk(Database& database, QString* error) {
    const RecordSet check =
        database.OpenRecordset(QStringLiteral("PRAGMA integrity_check"), {}, error);
    if (!check.isOpen()) {
        return false;
    }
    const QString result = check.Fields(QStringLiteral("integrity_check"));
    if (result != QLatin1String("ok")) {
        return fail(error, QStringLiteral("La base de datos está dañada (%1).").arg(result));
    }
    return true;
}

// Keeps the current file under a second name while it stays in place: a hard link where the
// copies folder is on the same disk, a copy otherwise.
bool keepAside(const QString& live, const QString& aside) {
    if (!QDir().mkpath(QFileInfo(aside).path())) {
        return false;
    }
    std::error_code linkFailure;
    std::filesystem::create_hard_link(QFile::encodeName(live).constData(),
                                      QFile::encodeName(aside).constData(), linkFailure);
    return !linkFailure || QFile::copy(live, aside);
}

QString copyName(const QString& prefix, const QDateTime& when) {
    return kBackupFolder + QLatin1Char('\\') + prefix +
           when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".db");
}

}  // namespace

QString backupName(const QDateTime& when) {
    return copyName(QStringLiteral("crinova-"), when);
}

QString beforeRestoreName(const QDateTime& when) {
    return copyName(QStringLiteral("antes-de-restaurar-"), when);
}

QString damagedCopyName(const QDateTime& when) {
    return copyName(QStringLiteral("danada-"), when);
}

bool backupDatabase(Database& database, const QString& target, QString* error) {
    if (QFileInfo::exists(target)) {
        return fail(error, QStringLiteral("Ya existe una copia llamada %1.").arg(target));
    }
    if (!QDir().mkpath(QFileInfo(target).path())) {
        return fail(
            error,
            QStringLiteral("No se ha podido crear la carpeta %1.").arg(QFileInfo(target).path()));
    }
    return database.Execute(QStringLiteral("VACUUM INTO ?"), {target}, error);
}

DatabaseFileState checkDatabaseFile(const QString& path, QString* error) {
    Database copy;
    const auto state = [&copy] {
        return copy.busy() ? DatabaseFileState::Busy : DatabaseFileState::Damaged;
    };
    if (!copy.open(path, false, error) || !integrityOk(copy, error)) {
        return state();
    }
    const QStringList missing = missingTables(copy, error);
    if (copy.busy()) {
        return DatabaseFileState::Busy;
    }
    if (!missing.isEmpty()) {
        fail(error, QStringLiteral("El archivo no tiene la tabla %1.")
                        .arg(missing.join(QStringLiteral(" ni la tabla "))));
        return DatabaseFileState::Damaged;
    }
    if (!tablesHaveKnownColumns(copy, error)) {
        return state();
    }
    return DatabaseFileState::Sound;
}

bool isSoundDatabase(const QString& path, QString* error) {
    return checkDatabaseFile(path, error) == DatabaseFileState::Sound;
}

bool restoreDatabase(Database& database, const ProgramFolder& folder, const QString& copy,
                     const QString& aside, QString* error,
                     const std::function<void()>& afterEachStep) {
    const auto step = [&afterEachStep] {
        if (afterEachStep) {
            afterEachStep();
        }
    };
    if (!isSoundDatabase(copy, error)) {
        return false;
    }
    const QString live = folder.fullPath(kDatabase);
    // Neither the live name nor the copies folder may lead the writes out of the program folder.
    for (const QString& path : {live, aside}) {
        const QString refusal = linkLeadingOut(folder, path);
        if (!refusal.isEmpty()) {
            return fail(error, refusal);
        }
    }
    // The copy is written beside the live file under a name of its own, and one rename puts it in
    // place: whenever the program stops, the live name holds a whole database, the old or the new.
    QSaveFile incoming(live);
    QFile source(copy);
    if (!source.open(QIODevice::ReadOnly) || !incoming.open(QIODevice::WriteOnly)) {
        return fail(error, QStringLiteral("No se ha podido copiar %1.").arg(copy));
    }
    while (!source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        if (chunk.isEmpty() || incoming.write(chunk) != chunk.size()) {
            incoming.cancelWriting();
            return fail(error, QStringLiteral("No se ha podido copiar %1.").arg(copy));
        }
    }
    step();
    if (QFileInfo::exists(live) && !keepAside(live, aside)) {
        incoming.cancelWriting();
        return fail(error, QStringLiteral("No se ha podido apartar la base de datos actual."));
    }
    step();
    database.close();
    bool done = incoming.commit();
    if (!done) {
        fail(error, QStringLiteral("No se ha podido poner la copia en su sitio. %1")
                        .arg(spanishSystemError(incoming.errorString())));
    }
    step();
    QString reopenError;
    if (!openProgramDatabase(database, folder, &reopenError)) {
        return fail(error, reopenError);
    }
    return done;
}

RepairOutcome repairDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    // The file is checked through a connection of its own, read afresh from the disk; the
    // program's connection stays as it is, so a damaged file leaves the stylist no worse off.
    switch (checkDatabaseFile(folder.fullPath(kDatabase), error)) {
        case DatabaseFileState::Sound:
            break;
        case DatabaseFileState::Busy:
            return RepairOutcome::Busy;
        case DatabaseFileState::Damaged:
            return RepairOutcome::Damaged;
    }
    if (!database.isOpen() && !openProgramDatabase(database, folder, error)) {
        return RepairOutcome::Failed;
    }
    if (!database.Execute(QStringLiteral("REINDEX"), {}, error) ||
        !database.Execute(QStringLiteral("VACUUM"), {}, error)) {
        return RepairOutcome::Failed;
    }
    return RepairOutcome::Repaired;
}

QStringList backupCopies(const ProgramFolder& folder) {
    QStringList copies;
    for (const QFileInfo& copy :
         QDir(folder.fullPath(kBackupFolder))
             .entryInfoList({QStringLiteral("crinova-*.db"), QStringLiteral("crinova-*.tar")},
                            QDir::Files, QDir::Name)) {
        copies << copy.absoluteFilePath();
    }
    return copies;
}

QStringList backupsNewestFirst(const ProgramFolder& folder) {
    std::vector<std::pair<QDateTime, QString>> made;
    for (const QString& copy : backupCopies(folder)) {
        made.emplace_back(backupMadeAt(copy), copy);
    }
    std::stable_sort(made.begin(), made.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    QStringList newestFirst;
    for (const auto& [when, path] : made) {
        newestFirst << path;
    }
    return newestFirst;
}

QString newestBackup(const ProgramFolder& folder) {
    return backupsNewestFirst(folder).value(0);
}

}  // namespace crinova
