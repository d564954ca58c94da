#pragma once

#include <QString>

#include "program/server_settings.h"

namespace crinova {

// The standard PostgreSQL password file of the user's account, which PostgreSQL's own client
// library reads when a connection is made without a password: the file named by PGPASSFILE, or
// "~/.pgpass". One entry a line, "host:port:database:user:password"; a ":" or "\" inside a field
// is written after a "\"; a field that is just "*" matches anything.
//
// The program writes only its own entry (the server's exact host, port, database and user): once,
// first in the file so that no wider entry of the technician's shadows it, every other line kept
// as it was. The file is written whole or not at all, readable by its owner only (0600), without
// which the library ignores it.
QString passwordFilePath();

// A field as the file writes it.
QString escapePasswordField(const QString& field);

// Keeps the password for the server. A password with a line break cannot be kept.
bool rememberPassword(const QString& file, const ServerSettings& server, const QString& password,
                      QString* error);
// Removes the server's entry, if there is one.
bool forgetPassword(const QString& file, const ServerSettings& server, QString* error);
// Whether the file holds the program's entry for the server.
bool passwordRemembered(const QString& file, const ServerSettings& server);

}  // namespace crinova
