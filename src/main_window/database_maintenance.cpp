#include "main_window/database_maintenance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include "main_window/folder_names.h"
#include "main_window/program_database.h"

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

}  // namespace

QString backupName(const QDateTime& when) {
    return kBackupFolder + QStringLiteral("\\crinova-") +
           when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral(".db");
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

bool isSoundDatabase(const QString& path, QString* error) {
    Database copy;
    if (!copy.open(path, false, error)) {
        return false;
    }
    if (!integrityOk(copy, error)) {
        return false;
    }
    for (const char* table : {"cabellos", "cliente"}) {
        const RecordSet rows = copy.OpenRecordset(
            QStringLiteral("Select name From sqlite_master where type='table' and name=?"),
            {QString::fromLatin1(table)}, error);
        if (rows.RecordCount() == 0) {
            return fail(
                error,
                QStringLiteral("El archivo no tiene la tabla %1.").arg(QString::fromLatin1(table)));
        }
    }
    return true;
}

bool restoreDatabase(Database& database, const ProgramFolder& folder, const QString& copy,
                     const QString& aside, QString* error) {
    if (!isSoundDatabase(copy, error)) {
        return false;
    }
    const QString live = folder.fullPath(kDatabase);
    const QString incoming = live + QStringLiteral(".restaurando");
    QFile::remove(incoming);
    if (!QDir().mkpath(QFileInfo(aside).path()) || !QFile::copy(copy, incoming)) {
        QFile::remove(incoming);
        return fail(error, QStringLiteral("No se ha podido copiar %1.").arg(copy));
    }
    database.close();
    bool done = true;
    if (QFileInfo::exists(live) && !QFile::rename(live, aside)) {
        done = fail(error, QStringLiteral("No se ha podido apartar la base de datos actual."));
    } else if (!QFile::rename(incoming, live)) {
        QFile::rename(aside, live);  // put the current one back
        done = fail(error, QStringLiteral("No se ha podido poner la copia en su sitio."));
    }
    QFile::remove(incoming);
    QString reopenError;
    if (!openProgramDatabase(database, folder, &reopenError)) {
        return fail(error, reopenError);
    }
    return done;
}

RepairOutcome repairDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    database.close();  // read the file afresh, not pages kept in memory
    if (!database.open(folder.fullPath(kDatabase), false, error)) {
        return RepairOutcome::Damaged;
    }
    if (!integrityOk(database, error)) {
        return RepairOutcome::Damaged;
    }
    if (!database.Execute(QStringLiteral("REINDEX"), {}, error) ||
        !database.Execute(QStringLiteral("VACUUM"), {}, error)) {
        return RepairOutcome::Failed;
    }
    return RepairOutcome::Repaired;
}

QString newestBackup(const ProgramFolder& folder) {
    const QFileInfoList copies =
        QDir(folder.fullPath(kBackupFolder))
            .entryInfoList({QStringLiteral("crinova-*.db")}, QDir::Files, QDir::Name);
    return copies.isEmpty() ? QString() : copies.last().absoluteFilePath();
}

}  // namespace crinova
