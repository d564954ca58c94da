#include "program/program_database.h"

#include "program/database_upgrade.h"
#include "program/folder_names.h"
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
    if (!database.open(path, true, error)) {
        return false;
    }
    // A file with no table at all is new; one that lost a table is damaged, and an empty table in
    // its place would hide the loss (and a repair would then call it sound).
    const bool empty =
        database.OpenRecordset(QStringLiteral("Select name From sqlite_master")).RecordCount() == 0;
    const QStringList missing = empty ? QStringList() : missingTables(database, nullptr);
    if (!missing.isEmpty()) {
        if (error) {
            *error = QStringLiteral(
                         "La base de datos %1 está dañada: le falta la tabla %2.\n\n"
                         "Use «Reparar Base de Datos», en el menú «Base de Datos», "
                         "para restaurar la copia de seguridad más reciente.")
                         .arg(path, missing.join(QStringLiteral(" y la tabla ")));
        }
        database.close();
        return false;
    }
    QString reason;
    if (!createTables(database, &reason)) {
        if (error) {
            *error = QStringLiteral(
                         "La base de datos no tiene las tablas que necesita el programa "
                         "y no se han podido crear:\n%1")
                         .arg(reason);
        }
        database.close();
        return false;
    }
    // A database of an earlier version is brought up to this one whenever it is opened.
    if (!upgradeDatabase(database, folder, error)) {
        database.close();
        return false;
    }
    finishVisitSaves(database, folder);
    return true;
}

}  // namespace crinova
