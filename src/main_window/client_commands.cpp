// The client commands: the client dialogs, the active client and saving the client's record.
#include "main_window/client_commands.h"

#include <QAction>
#include <QDateTime>
#include <QWidget>

#include "clients/visits.h"
#include "platform/modeless_window.h"
#include "platform/pointers.h"
#include "program/client_files.h"
#include "program/large_companions.h"
#include "program/picture_store.h"

namespace crinova {
namespace {

// Asked when another client becomes active, or a visit replaces the slots, while the active
// client's looks are in no visit yet.
const char* const kLooksQuestion =
    "Las fotos guardadas son de %1. ¿Guardarlas en su ficha antes de continuar?";

}  // namespace

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
    const QString photo = clientPhotoPath(services_.folder, client.fprograma);
    if (photo.isEmpty()) {
        services_.dialogs.MsgBox(
            QStringLiteral("No se puede usar la foto del Cliente/a %1: «%2» no está en la carpeta "
                           "de clientes.")
                .arg(client.nombre, client.fprograma),
            MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Error Faltan Datos"));
        return false;
    }
    syncWithServer({client.fprograma}, QStringLiteral("Error Faltan Datos"));
    const PictureLoad load = services_.pictures.load(photo);
    if (!load.ok()) {
        services_.dialogs.MsgBox(QStringLiteral("No se puede usar la foto del Cliente/a %1.\n\n%2")
                                     .arg(client.nombre, pictureFaultMessage(load)),
                                 MessageButtons::Ok, MessageIcon::Critical,
                                 QStringLiteral("Error Faltan Datos"));
        return false;
    }
    if (!settleLooks(client.codigo)) {
        return false;
    }
    activeClient_ = client;
    showActiveClient();
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
    if (activeClient_) {
        window_.looks.disown(activeClient_->codigo);
    }
    activeClient_.reset();
    showActiveClient();
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
    if (keepLooks(title)) {
        services_.dialogs.MsgBox(QStringLiteral("La Ficha del Cliente/a: ") +
                                     activeClient_->nombre +
                                     QStringLiteral(" ha sido guardada Satisfactoriamente"),
                                 MessageButtons::Ok, MessageIcon::Information, title);
    }
}

bool ClientCommands::keepLooks(const QString& title) {
    window_.setMousePointer(kPointerBusy);
    QString error;
    // Only her own looks: those saved while she was active, or from her visits.
    const QDateTime now = QDateTime::currentDateTime();
    const bool kept =
        saveVisit(services_.database, services_.folder, *activeClient_,
                  window_.looks.slotsOf(activeClient_->codigo, services_.folder), now, &error);
    window_.setMousePointer(kPointerDefault);
    if (services_.database.dialect() == Dialect::PostgreSQL) {
        // The visit just written is the latest from `now` on (a busy second moves it later).
        std::vector<Visit> visits;
        loadVisits(services_.database, activeClient_->codigo, visits, nullptr);
        QStringList photos;
        for (const Visit& visit : visits) {
            if (visit.fecha >= now.addSecs(-1)) {
                for (const VisitPhoto& photo : visit.photos) {
                    photos << photo.fichero;
                }
            }
        }
        syncWithServer(photos, title);
    }
    if (!kept) {
        services_.dialogs.MsgBox(
            QStringLiteral("La Ficha del Cliente/a: %1 no se ha guardado entera.\n\n%2")
                .arg(activeClient_->nombre, error),
            MessageButtons::Ok, MessageIcon::Critical, title);
        return false;
    }
    window_.looks.keptInVisit(activeClient_->codigo);
    return true;
}

std::optional<bool> ClientCommands::askAboutLooks(const QString& question, const QString& title) {
    if (!activeClient_ || !window_.looks.waiting(activeClient_->codigo, services_.folder)) {
        return std::nullopt;
    }
    switch (services_.dialogs.MsgBox(question.arg(activeClient_->nombre),
                                     MessageButtons::YesNoCancel, MessageIcon::Question, title)) {
        case MessageAnswer::Yes:
            return keepLooks(title);
        case MessageAnswer::No:
            window_.looks.disown(activeClient_->codigo);
            return true;
        default:
            return false;
    }
}

bool ClientCommands::settleLooks(const QString& codigo) {
    if (activeClient_ && activeClient_->codigo == codigo) {
        return true;  // she stays active
    }
    return askAboutLooks(QString::fromUtf8(kLooksQuestion), QStringLiteral("Guardar Ficha Cliente"))
        .value_or(true);
}

bool ClientCommands::settleLooksBeforeClosing() {
    return askAboutLooks(QStringLiteral("¿Guardar las fotos de %1 en su ficha antes de salir?"),
                         QStringLiteral("Salir de Crinova"))
        .value_or(true);
}

bool ClientCommands::loadVisit(const ClientRecord& client, const Visit& visit) {
    // Her slots are about to be replaced, whoever's visit comes in.
    const std::optional<bool> asked =
        askAboutLooks(QString::fromUtf8(kLooksQuestion), QStringLiteral("Cargar Visita"));
    if (asked == false) {
        return false;
    }
    QStringList photos;
    for (const VisitPhoto& photo : visit.photos) {
        photos << photo.fichero;
    }
    syncWithServer(photos, QStringLiteral("Cargar Visita"));
    return window_.loadVisit(client.codigo, visit, !asked.has_value());
}

void ClientCommands::syncWithServer(const QStringList& pictures, const QString& title) {
    if (services_.database.dialect() != Dialect::PostgreSQL || pictures.isEmpty()) {
        return;
    }
    QStringList names;
    for (const QString& picture : pictures) {
        names << picture;
        for (const QString& companion :
             largeCompanionCandidates(services_.folder.fullPath(picture))) {
            names << services_.folder.relativeName(companion);
        }
    }
    window_.setMousePointer(kPointerBusy);
    QString error;
    const bool agreed = syncPictures(services_.database, services_.folder, names, &error);
    window_.setMousePointer(kPointerDefault);
    if (!agreed) {
        services_.dialogs.MsgBox(
            QStringLiteral("Las fotos de la ficha no se han podido traer del servidor del salón "
                           "o guardar en él; se usan las de este ordenador.\n\n%1")
                .arg(error),
            MessageButtons::Ok, MessageIcon::Exclamation, title);
    }
}

void ClientCommands::showActiveClient() {
    if (window_.activeClientChanged) {
        window_.activeClientChanged();
    }
}

}  // namespace crinova
