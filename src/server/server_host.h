#pragma once

#include <QString>
#include <functional>

#include "program/server_database.h"
#include "program/server_settings.h"

namespace crinova {

// What the dialog "SERVIDOR DEL SALÓN" asks of the main window. The answers of `test` and
// `connect` come later, through `done`, on the window's thread: the dialog never waits for the
// network.
struct ServerHost {
    using Done = std::function<void(const ServerOutcome&)>;
    // The kept settings, and whether the password of those is remembered on this computer.
    std::function<ServerSettings()> settings;
    std::function<bool(const ServerSettings&)> passwordRemembered;
    // One line on where the station works now ("Conectado con el servidor «x».").
    std::function<QString()> stateText;
    std::function<void(const ServerSettings&, const QString& password, Done done)> test;
    // Connects, keeps the settings and, with `remember`, the password; without it, forgets it.
    std::function<void(const ServerSettings&, const QString& password, bool remember, Done done)>
        connect;
    // Back to this computer's own records.
    std::function<void()> workLocally;
    // Copies this computer's records to the server; answers what to tell the stylist.
    std::function<QString()> upload;
};

}  // namespace crinova
