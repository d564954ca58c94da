#pragma once

#include <QString>

#include "platform/files.h"
#include "platform/record_sets.h"

namespace crinova {

// Where the salon's server is: what the station keeps in the table `servidor` of its own
// "\crinova.db" (one row). The password is never kept there: only in the password file of the
// user's account (password_file.h), when the stylist asks for it to be remembered.
struct ServerSettings {
    QString servidor;  // host name or address
    int puerto = 5432;
    QString basedatos = QStringLiteral("crinova");
    QString usuario = QStringLiteral("crinova");
    bool cifrado = false;  // refuse a connection that is not encrypted (TLS)
    bool activo = false;   // the station works on the server; false: on its own file

    bool operator==(const ServerSettings& other) const = default;
};

// Whether the station's file still lacks `servidor` (`failed` when that cannot be read).
bool serverTableMissing(Database& database, QString* error, bool* failed);
// Creates `servidor`; an upgrade step of the station's own file.
bool addServerTable(Database& database, const ProgramFolder& folder, QString* error);

// The kept settings, or the defaults when none were kept (or the table cannot be read).
ServerSettings loadServerSettings(Database& database);
// Keeps the settings in one transaction, replacing what was kept.
bool saveServerSettings(Database& database, const ServerSettings& settings, QString* error);

}  // namespace crinova
