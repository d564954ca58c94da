#pragma once

#include <QString>

#include "platform/files.h"
#include "platform/record_sets.h"
#include "program/server_settings.h"

namespace crinova {

// What went wrong reaching the salon's server.
enum class ServerFault {
    None,
    HostNotFound,    // the name does not lead to any address
    Refused,         // nothing listens on that port
    Timeout,         // no answer within kServerWaitSeconds
    NoTls,           // encryption required and the server does not offer it
    PasswordNeeded,  // no password given, and none remembered for this server
    WrongPassword,   // the server refused the user with that password
    NoDatabase,      // the server has no database of that name
    NotAllowed,      // the server does not take connections from this computer
    NewerSchema,     // made by a later version of the program
    Other,
};

struct ServerOutcome {
    ServerFault fault = ServerFault::None;
    QString message;  // Spanish, naming the server; empty when it worked

    bool ok() const { return fault == ServerFault::None; }
};

// How long a connection attempt may take before the server is taken as not answering.
constexpr int kServerWaitSeconds = 5;

// How the server is named to the stylist: «salon.local» (with the port when it is not 5432).
QString serverName(const ServerSettings& server);

// The driver's connection options: TLS when the server offers it ("prefer"), or only TLS
// ("require") with `cifrado`; a bounded wait, and a connection that finds out it was cut. The
// server knows the connection by `application` (a station's is "crinova").
QString serverConnectOptions(const ServerSettings& server,
                             const QString& application = QStringLiteral("crinova"));

// Whether the server can be reached at all, without logging in: the name resolves, the port
// takes a connection within the wait, and with `cifrado` the server offers TLS. No widget, no
// connection of the program's; safe on any thread.
ServerOutcome reachServer(const ServerSettings& server);

// The Spanish message for what the driver said when it could not connect.
ServerOutcome connectionFault(const ServerSettings& server, const QString& driverText);

// Tries the server as the program would connect: reaches it, logs in, reads its schema's
// version, and lets go. Safe on any thread (the connection is its own).
ServerOutcome probeServer(const ServerSettings& server, const QString& password);

// What a worker needs to reach the server the station works on.
struct ServerAccess {
    ServerSettings settings;
    QString password;  // empty: the account's password file
};

// A connection of its own for work on a worker thread (a backup of the server's data): logs in
// and leaves the schema to the station's connection. The server knows it as "crinova-trabajo",
// so it is never taken for another station.
ServerOutcome openServerForWork(Database& database, const ServerAccess& access);

// Connects `database` to the server and creates or upgrades its schema (upgradeDatabase). On
// failure `database` is left closed.
ServerOutcome openServerDatabase(Database& database, const ProgramFolder& folder,
                                 const ServerSettings& server, const QString& password);

}  // namespace crinova
