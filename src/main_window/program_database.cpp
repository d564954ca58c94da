#include "main_window/program_database.h"

#include "main_window/folder_names.h"

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

bool openProgramDatabase(Database& database, const ProgramFolder& folder, QString* error) {
    if (!database.open(folder.fullPath(kDatabase), true, error)) {
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
    return true;
}

}  // namespace crinova
