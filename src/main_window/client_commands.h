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
#include "slots/photo_slots.h"

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
        // The photo slots take the visit of a client, asking first when `askFirst`.
        std::function<bool(const QString& codigo, const Visit&, bool askFirst)> loadVisit;
        // Whose each slot is.
        SlotOwners& looks;
        // A new client's photo made ready for the composition.
        PhotoPreparer prepareClientPhoto;
        // Where that photo puts the eyes.
        std::function<EyeTarget()> clientPhotoTarget;
        // Another client, or none, is active: the window's title names her.
        std::function<void()> activeClientChanged;
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
    bool loadVisit(const ClientRecord& client, const Visit& visit) override;
    bool settleLooks(const QString& codigo) override;
    // Before the program closes: the active client's looks that are in no visit yet are offered
    // for her record. False when the stylist cancels (the program stays open).
    bool settleLooksBeforeClosing();
    Camera* camera() override { return &services_.camera; }
    EyeTarget photoTarget() override { return window_.clientPhotoTarget(); }
    // Back to the default base photo, unrotated, with no client active; her looks belong to
    // nobody from now on.
    void deactivateClient();

    const std::optional<ClientRecord>& activeClient() const { return activeClient_; }
    Nomcliente* nomcliente() const { return nomcliente_; }
    ClientSearch* buscarcliente() const { return buscarcliente_; }
    ClientSearch* eliminarclientes() const { return eliminarclientes_; }

  private:
    // The three dialog commands open their dialogs only once a hair is applied.
    bool clientCommandAllowed();
    // Asks `question` about the active client's looks that are in no visit yet, if she has any:
    // Sí keeps them as her visit, No lets them go to nobody. Answers nothing when there was
    // nothing to ask, else whether to go on (false on Cancelar or when they could not be kept).
    std::optional<bool> askAboutLooks(const QString& question, const QString& title);
    // Writes the active client's record with a visit of her own looks; a failure is told.
    bool keepLooks(const QString& title);
    void showActiveClient();
    // With the records on the salon's server, the pictures they name (and their large
    // companions) are brought here, or taken there when this station made them. A failure is
    // told; what this computer has is used meanwhile.
    void syncWithServer(const QStringList& pictures, const QString& title);

    OverlayState& overlay_;
    Services services_;
    Window window_;
    std::optional<ClientRecord> activeClient_;
    QPointer<Nomcliente> nomcliente_;
    QPointer<ClientSearch> buscarcliente_;
    QPointer<ClientSearch> eliminarclientes_;
};

}  // namespace crinova
