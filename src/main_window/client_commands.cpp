// The client commands: the client dialogs, the active client and saving the client's record.
#include "main_window/client_commands.h"

#include <QAction>
#include <QDateTime>
#include <QWidget>

#include "clients/visits.h"
#include "platform/modeless_window.h"
#include "platform/pointers.h"

namespace crinova {

ClientCommands::ClientCommands(OverlayState& overlay, Services services, Window window,
                               QObject* parent)
    : QObject(parent), overlay_(overlay), services_(services), window_(std::move(window)) {}

void ClientCommands::connectActions(QAction* mnunuevocliente, QAction* mnubuscarcliente,
                                    QAction* mnueliminar, QAction* mnuguardarcliente) {
    connect(mnunuevocliente, &QAction::triggered, this, &ClientCommands::mnunuevocliente_Click);
    connect(mnubuscarcliente, &QAction::triggered, this, &ClientCommands::mnubuscarcliente_Click);
    connect(mnueliminar, &QAction::triggered, this, &ClientCommands::mnueliminar_Click);
    connect(mnuguardarcliente, &QAction::triggered, this, &ClientCommands::mnuguardarcliente_Click);
}

bool ClientCommands::clientCommandAllowed() {
    if (!overlay_.pelocargado) {
        services_.dialogs.MsgBox(
            QStringLiteral("Antes de Comenzar con un Nuevo Cliente/a, Seleccione algún Cabello"),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("CRINOVA"));
        return false;
    }
    return true;
}

// A closed client dialog is released first; the next command opens a fresh one even before the
// old one is gone.
void ClientCommands::mnunuevocliente_Click() {
    if (!clientCommandAllowed()) {
        return;
    }
    showModeless(modelessWindow(
        nomcliente_,
        [this] {
            return new Nomcliente(services_.database, services_.folder, services_.dialogs, *this,
                                  window_.parent, window_.prepareClientPhoto);
        },
        this, [this] { window_.dialogClosed(true); }));
}

void ClientCommands::mnubuscarcliente_Click() {
    if (!clientCommandAllowed()) {
        return;
    }
    showModeless(modelessWindow(
        buscarcliente_,
        [this] {
            return new ClientSearch(ClientSearch::Purpose::Buscar, services_.database,
                                    services_.folder, services_.dialogs, *this, window_.parent);
        },
        this,
        [this] {
            if (overlay_.pelocargado) {
                window_.dialogClosed(true);
            }
        }));
}

void ClientCommands::mnueliminar_Click() {
    if (!clientCommandAllowed()) {
        return;
    }
    showModeless(modelessWindow(
        eliminarclientes_,
        [this] {
            return new ClientSearch(ClientSearch::Purpose::Eliminar, services_.database,
                                    services_.folder, services_.dialogs, *this, window_.parent);
        },
        this,
        [this] {
            if (overlay_.pelocargado) {
                window_.dialogClosed(false);
            } else {
                window_.parent->activateWindow();
            }
        }));
}

bool ClientCommands::activateClient(const ClientRecord& client) {
    if (client.damaged()) {
        // Its photo is found by code and name, which a NULL never matches.
        services_.dialogs.MsgBox(
            QStringLiteral("No se puede usar la ficha %1. Elimínela con «Eliminar "
                           "Ficha Cliente» y dé de alta al Cliente/a de nuevo.")
                .arg(damagedClientName(client)),
            MessageButtons::Ok, MessageIcon::Information, QStringLiteral("Error Faltan Datos"));
        return false;
    }
    const QString photo = services_.folder.resolve(client.fprograma);
    const PictureLoad load = services_.pictures.load(photo);
    if (!load.ok()) {
        services_.dialogs.MsgBox(QStringLiteral("No se puede usar la foto del Cliente/a %1.\n\n%2")
                                     .arg(client.nombre, pictureFaultMessage(load)),
                                 MessageButtons::Ok, MessageIcon::Critical,
                                 QStringLiteral("Error Faltan Datos"));
        return false;
    }
    activeClient_ = client;
    overlay_.codigocliente = client.codigo;
    overlay_.nombrecliente = client.nombre;
    overlay_.clienteactivo = true;
    overlay_.usarfotocliente = true;
    // A new photo starts unrotated.
    overlay_.angulo = 0;
    window_.forgetRotation();
    window_.DibujarPelo();
    return true;
}

void ClientCommands::deactivateClient() {
    activeClient_.reset();
    overlay_.codigocliente.clear();
    overlay_.nombrecliente.clear();
    overlay_.clienteactivo = false;
    overlay_.usarfotocliente = false;
    overlay_.angulo = 0;
    window_.forgetRotation();
    window_.DibujarPelo();
}

void ClientCommands::clientDeleted(const QString& codigo) {
    if (activeClient_ && activeClient_->codigo == codigo) {
        deactivateClient();
    }
}

void ClientCommands::mnuguardarcliente_Click() {
    const QString title = QStringLiteral("Guardar Ficha Cliente");
    if (!activeClient_) {
        services_.dialogs.MsgBox(QStringLiteral("No se ha dado de alta ningun Cliente/a"),
                                 MessageButtons::Ok, MessageIcon::Information, title);
        return;
    }
    window_.setMousePointer(kPointerBusy);
    QString error;
    // The photos are kept first, then the record and its visit are written in one transaction.
    const QDateTime when = freeVisitTime(services_.database, services_.folder,
                                         activeClient_->codigo, QDateTime::currentDateTime());
    const QStringList kept = keepVisitPhotos(services_.folder, activeClient_->codigo, when, &error);
    std::vector<VisitPhoto> photos;
    for (const QString& name : kept) {
        // "...-foto<N>.bmp": N is the slot.
        photos.push_back(VisitPhoto{name.at(name.size() - 5).digitValue(), name});
    }
    QString saveError;
    if (!saveClientVisit(services_.database, activeClient_->codigo, activeClient_->nombre,
                         activeClient_->fprograma, when, photos, &saveError)) {
        error = error.isEmpty() ? saveError : error + QStringLiteral("\n") + saveError;
    }
    window_.setMousePointer(kPointerDefault);
    if (!error.isEmpty()) {
        services_.dialogs.MsgBox(
            QStringLiteral("La Ficha del Cliente/a: %1 no se ha guardado entera.\n\n%2")
                .arg(activeClient_->nombre, error),
            MessageButtons::Ok, MessageIcon::Critical, title);
        return;
    }
    services_.dialogs.MsgBox(QStringLiteral("La Ficha del Cliente/a: ") + activeClient_->nombre +
                                 QStringLiteral(" ha sido guardada Satisfactoriamente"),
                             MessageButtons::Ok, MessageIcon::Information, title);
}

}  // namespace crinova
