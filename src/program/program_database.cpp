#include "program/program_database.h"

#include <QDir>
#include <QFileInfo>

#include "platform/system_errors.h"
#include "program/database_upgrade.h"
#include "program/folder_names.h"
#include "program/full_backup.h"
#include "program/visit_table.h"

namespace crinova {

bool createTables(Database& database, QString* error) {
    return database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS cabellos ("
                                           "tpersona TEXT, largura TEXT, tipo TEXT, color TEXT, "
                                           "nombre TEXT)"),
                            {}, error) &&
           database.Execute(QStringLiteral("CREATE TABLE IF NOT EXISTS cliente ("
                                           "codigocliente TEXT PRIMARY KEY, nombrecliente TEXT, "
                                           "Fprograma TEXT)"),
                            {}, error);
}

QStringList missingTables(Database& database, QString* error) {
    QStringList missing;
    for (const QString& table : {QStringLiteral("cabellos"), QStringLiteral("cliente")}) {
        const RecordSet rows = database.OpenRecordset(
            QStringLiteral("Select name From sqlite_master where type='table' and name=?"), {table},
            error);
        if (rows.RecordCount() == 0) {
            missing << table;
        }
    }
    return missing;
}

bool openProgramDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    const QString path = folder.fullPath(kDatabase);
    // While a restore's swap is unfinished the live name may be empty for a moment: a database made
    // there would hide the salon's, set aside a folder away.
    if (QFileInfo::exists(folder.fullPath(kRestoreJournal))) {
        if (error) {
            *error = QStringLiteral(
                         "Hay una restauración de una copia de seguridad sin terminar (%1), y "
                         "Crinova no abre ni crea la base de datos hasta que se termine o se "
                         "deshaga. Cierre Crinova y vuelva a abrirlo para que lo haga.")
                         .arg(shortenedMiddle(
                             QDir::toNativeSeparators(folder.fullPath(kRestoreJournal))));
        }
        return false;
    }
    // Nothing is wrong with a file another program holds: the next command that needs it tries
    // again.
    const auto refuse = [&](const QString& reason) {
        const bool busy = database.busy();
        database.close();
        if (busy) {
            database.reopenWhenNeeded([&database, folder](QString* why) {
                return openProgramDatabase(database, folder, why);
            });
        }
        if (error) {
            *error = busy ? QStringLiteral(
                                "La base de datos %1 está ocupada por otro programa (otro Crinova "
                                "que hace una copia de seguridad, o una herramienta que la está "
                                "modificando). Espere a que termine: Crinova volverá a intentarlo "
                                "cuando la necesite.")
                                .arg(shortenedMiddle(QDir::toNativeSeparators(path)))
                          : reason;
        }
        return false;
    };
    QString reason;
    if (!database.open(path, true, &reason)) {
        return refuse(reason);
    }
    // A file with no table at all is new; one that lost a table is damaged, and an empty table in
    // its place would hide the loss (and a repair would then call it sound).
    const RecordSet all =
        database.OpenRecordset(QStringLiteral("Select name From sqlite_master"), {}, &reason);
    if (!all.isOpen()) {
        return refuse(reason);
    }
    const QStringList missing =
        all.RecordCount() == 0 ? QStringList() : missingTables(database, nullptr);
    if (!missing.isEmpty()) {
        return refuse(QStringLiteral("La base de datos %1 está dañada: le falta la tabla %2.\n\n"
                                     "Use «Reparar Base de Datos», en el menú «Base de Datos», "
                                     "para restaurar la copia de seguridad más reciente.")
                          .arg(path, missing.join(QStringLiteral(" y la tabla "))));
    }
    if (!createTables(database, &reason)) {
        return refuse(
            QStringLiteral("La base de datos no tiene las tablas que necesita el programa "
                           "y no se han podido crear:\n%1")
                .arg(reason));
    }
    // A database of an earlier version is brought up to this one whenever it is opened.
    if (!upgradeDatabase(database, folder, &reason)) {
        return refuse(reason);
    }
    finishVisitSaves(database, folder);
    return true;
}

}  // namespace crinova
