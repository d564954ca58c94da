#pragma once

#include <QString>

#include "clients/client_records.h"

namespace crinova {

// What the client dialogs ask of the main window.
class ClientHost {
  public:
    virtual ~ClientHost() = default;
    // Makes the client active and composes over the client's photo; answers false, after telling
    // the stylist, when the photo cannot be read (the program stays on the photo it had).
    virtual bool activateClient(const ClientRecord& client) = 0;
    // A client's row was deleted; if it was the active client the default photo comes back.
    virtual void clientDeleted(const QString& codigo) = 0;
};

}  // namespace crinova
