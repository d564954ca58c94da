#include "program/server_settings.h"

namespace crinova {

bool serverTableMissing(Database& database, QString* error, bool* failed) {
    return !database.hasTable(QStringLiteral("servidor"), error, failed) && !*failed;
}

bool addServerTable(Database& database, const ProgramFolder& folder, QString* error) {
    (void)folder;
    return database.Execute(QStringLiteral("CREATE TABLE servidor (fila INTEGER PRIMARY KEY "
                                           "CHECK (fila = 1), servidor TEXT, puerto INTEGER, "
                                           "basedatos TEXT, usuario TEXT, cifrado INTEGER, "
                                           "activo INTEGER)"),
                            {}, error);
}

ServerSettings loadServerSettings(Database& database) {
    ServerSettings settings;
    const RecordSet row = database.OpenRecordset(
        QStringLiteral("Select servidor, puerto, basedatos, usuario, cifrado, activo From "
                       "servidor where fila=1"));
    if (row.RecordCount() == 0) {
        return settings;
    }
    settings.servidor = row.Fields(QStringLiteral("servidor"));
    settings.puerto = row.Fields(QStringLiteral("puerto")).toInt();
    settings.basedatos = row.Fields(QStringLiteral("basedatos"));
    settings.usuario = row.Fields(QStringLiteral("usuario"));
    settings.cifrado = row.Fields(QStringLiteral("cifrado")) == QLatin1String("1");
    settings.activo = row.Fields(QStringLiteral("activo")) == QLatin1String("1");
    return settings;
}

bool saveServerSettings(Database& database, const ServerSettings& settings, QString* error) {
    return database.transaction(
        [&](QString* reason) {
            return database.Execute(QStringLiteral("DELETE FROM servidor"), {}, reason) &&
                   database.Execute(
                       QStringLiteral("INSERT INTO servidor (fila, servidor, puerto, basedatos, "
                                      "usuario, cifrado, activo) VALUES (1, ?, ?, ?, ?, ?, ?)"),
                       {settings.servidor, settings.puerto, settings.basedatos, settings.usuario,
                        settings.cifrado ? 1 : 0, settings.activo ? 1 : 0},
                       reason);
        },
        error);
}

}  // namespace crinova
