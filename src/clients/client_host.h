#pragma once

#include <QString>

#include "clients/client_records.h"
#include "clients/visits.h"
#include "face/framing_guide.h"
#include "platform/camera.h"

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
    // Puts a visit's photos into the photo slots; answers whether the slots changed.
    virtual bool loadVisit(const Visit& visit) {
        (void)visit;
        return false;
    }
    // The camera for a new client's photo, or none.
    virtual Camera* camera() { return nullptr; }
    // Where a new client's prepared photo puts the eyes (the camera's framing guide aims there).
    virtual EyeTarget photoTarget() { return {}; }
};

}  // namespace crinova
