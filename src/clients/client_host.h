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
    // Puts the visit of `client` into the photo slots; answers whether the slots changed.
    virtual bool loadVisit(const ClientRecord& client, const Visit& visit) {
        (void)client;
        (void)visit;
        return false;
    }
    // Before another client (`codigo`) becomes active: the active client's looks that are in no
    // visit yet are offered for her record, once. False when the stylist cancels; nothing has
    // changed then.
    virtual bool settleLooks(const QString& codigo) {
        (void)codigo;
        return true;
    }
    // The camera for a new client's photo, or none.
    virtual Camera* camera() { return nullptr; }
    // Where a new client's prepared photo puts the eyes (the camera's framing guide aims there).
    virtual EyeTarget photoTarget() { return {}; }
};

}  // namespace crinova
