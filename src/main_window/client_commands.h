#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

#include "clients/client_host.h"
#include "clients/client_search.h"
#include "clients/nomcliente.h"
#include "overlay/overlay_state.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "platform/record_sets.h"

class QAction;
class QWidget;

namespace crinova {

// The client commands: "&Nuevo Cliente", "&Buscar Cliente" and "&Eliminar Ficha Cliente" open
// their dialogs once a hair is applied; "&Guardar Ficha Cliente" writes the active client's record
// with a visit of the stored photos. Holds the active client, whose photo the composition uses.
class ClientCommands : public QObject, public ClientHost {
    Q_OBJECT
  public:
    struct Services {
        Database& database;
        const ProgramFolder& folder;
        PictureCache& pictures;
        Dialogs& dialogs;
        Camera& camera;
    };
    // What the commands ask of the main window.
    struct Window {
        QWidget* parent;  // the dialogs' parent window
        std::function<void(int)> setMousePointer;
        std::function<void()> DibujarPelo;
        // A dialog closed: the main window takes the screen back (clearing the photo or not).
        std::function<void(bool clearPhoto)> dialogClosed;
        // A new photo starts unrotated.
        std::function<void()> forgetRotation;
        // The photo slots take a visit's photos.
        std::function<bool(const Visit&)> loadVisit;
        // A new client's photo made ready for the composition.
        PhotoPreparer prepareClientPhoto;
        // Where that photo puts the eyes.
        std::function<EyeTarget()> clientPhotoTarget;
    };

    ClientCommands(OverlayState& overlay, Services services, Window window, QObject* parent);

    // The menu entries that run the commands.
    void connectActions(QAction* mnunuevocliente, QAction* mnubuscarcliente, QAction* mnueliminar,
                        QAction* mnuguardarcliente);

    void mnunuevocliente_Click();
    void mnubuscarcliente_Click();
    void mnueliminar_Click();
    void mnuguardarcliente_Click();

    bool activateClient(const ClientRecord& client) override;
    void clientDeleted(const QString& codigo) override;
    bool loadVisit(const Visit& visit) override { return window_.loadVisit(visit); }
    Camera* camera() override { return &services_.camera; }
    EyeTarget photoTarget() override { return window_.clientPhotoTarget(); }
    // Back to the default base photo, unrotated, with no client active.
    void deactivateClient();

    const std::optional<ClientRecord>& activeClient() const { return activeClient_; }
    Nomcliente* nomcliente() const { return nomcliente_; }
    ClientSearch* buscarcliente() const { return buscarcliente_; }
    ClientSearch* eliminarclientes() const { return eliminarclientes_; }

  private:
    // The three dialog commands open their dialogs only once a hair is applied.
    bool clientCommandAllowed();

    OverlayState& overlay_;
    Services services_;
    Window window_;
    std::optional<ClientRecord> activeClient_;
    QPointer<Nomcliente> nomcliente_;
    QPointer<ClientSearch> buscarcliente_;
    QPointer<ClientSearch> eliminarclientes_;
};

}  // namespace crinova
