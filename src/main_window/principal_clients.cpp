// Client records and the catalogue clean-up of the main window.
#include <QAction>
#include <QDateTime>
#include <QFileInfo>
#include <QPushButton>

#include "clients/visits.h"
#include "main_window/principal.h"
#include "platform/image_control.h"
#include "platform/pointers.h"
#include "program/folder_names.h"

namespace crinova {

void Principal::mnunuevocliente_Click() {
    if (clientCommandAllowed()) {
        showModeless(windowOnce(
            nomcliente_,
            [this] {
                return new Nomcliente(services_.database, services_.folder, services_.dialogs,
                                      *this, this, [this](const QImage& photo) {
                                          return faceCommands_->prepareClientPhoto(photo);
                                      });
            },
            &Principal::nomclienteClosed));
    }
}

void Principal::mnubuscarcliente_Click() {
    if (clientCommandAllowed()) {
        showModeless(windowOnce(
            buscarcliente_,
            [this] {
                return new ClientSearch(ClientSearch::Purpose::Buscar, services_.database,
                                        services_.folder, services_.dialogs, *this, this);
            },
            &Principal::buscarclienteClosed));
    }
}

void Principal::mnueliminar_Click() {
    if (clientCommandAllowed()) {
        showModeless(windowOnce(
            eliminarclientes_,
            [this] {
                return new ClientSearch(ClientSearch::Purpose::Eliminar, services_.database,
                                        services_.folder, services_.dialogs, *this, this);
            },
            &Principal::eliminarclientesClosed));
    }
}

bool Principal::activateClient(const ClientRecord& client) {
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
    const PictureLoad load = pictures_.load(photo);
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
    rotation_ = RotationState{};
    btnrestauragirar_->setEnabled(false);
    DibujarPelo();
    return true;
}

void Principal::deactivateClient() {
    activeClient_.reset();
    overlay_.codigocliente.clear();
    overlay_.nombrecliente.clear();
    overlay_.clienteactivo = false;
    overlay_.usarfotocliente = false;
    overlay_.angulo = 0;
    rotation_ = RotationState{};
    btnrestauragirar_->setEnabled(false);
    DibujarPelo();
}

void Principal::clientDeleted(const QString& codigo) {
    if (activeClient_ && activeClient_->codigo == codigo) {
        deactivateClient();
    }
}

// A closed client dialog is released first; the next command opens a fresh one even before the
// old one is gone.
void Principal::nomclienteClosed() {
    dialogClosed(true);
}

void Principal::buscarclienteClosed() {
    if (overlay_.pelocargado) {
        dialogClosed(true);
    }
}

void Principal::eliminarclientesClosed() {
    if (overlay_.pelocargado) {
        dialogClosed(false);
    } else {
        activateWindow();
    }
}

void Principal::mnuguardarcliente_Click() {
    const QString title = QStringLiteral("Guardar Ficha Cliente");
    if (!activeClient_) {
        services_.dialogs.MsgBox(QStringLiteral("No se ha dado de alta ningun Cliente/a"),
                                 MessageButtons::Ok, MessageIcon::Information, title);
        return;
    }
    setMousePointer(kPointerBusy);
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
    setMousePointer(kPointerDefault);
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

void Principal::mnueliminarpelos_Click() {
    // The catalogue style last applied: "\fotos\<largura>\<nombre>.jpg".
    const std::optional<CatalogueStyleName> style = catalogueStyleOf(overlay_.ficheropelo);
    if (!style) {
        return;
    }
    const QString largura = style->largura;
    const QString nombre = style->nombre;
    const QString title = QStringLiteral("Eliminar Cabellos");
    if (services_.dialogs.MsgBox(
            QStringLiteral("¿Seguro que quiere quitar el Cabello %1 (%2) del catálogo?")
                .arg(nombre, largura),
            MessageButtons::YesNo, MessageIcon::Question, title) != MessageAnswer::Yes) {
        return;
    }
    QString error;
    const bool removed = services_.database.transaction(
        [&](QString* reason) {
            return services_.database.Execute(
                QStringLiteral("DELETE FROM cabellos WHERE largura=? AND nombre=?"),
                {largura, nombre}, reason);
        },
        &error);
    if (!removed) {
        services_.dialogs.MsgBox(QStringLiteral("El Cabello no se ha quitado.\n\n%1").arg(error),
                                 MessageButtons::Ok, MessageIcon::Critical, title);
        return;
    }
    action("mnueliminarpelos")->setEnabled(false);
    // The page shown held the removed style: it comes again without it, and the styles after it
    // move up instead of being skipped by the next page.
    setMousePointer(kPointerBusy);
    QString pageError;
    const PageOutcome outcome = reloadCataloguePage(
        catalogue_, overlay_.ficheropelo, services_.database, services_.folder, pictures_,
        [this](int thumbnail, const QImage& picture) {
            Muestrapelos_[static_cast<std::size_t>(thumbnail)]->setPicture(picture);
        },
        &pageError);
    setMousePointer(kPointerDefault);
    samples_.muestraaplicada = false;
    reportPage(outcome, pageError, false);
}

void Principal::forgetDatabaseState() {
    // The page, the client and the applied catalogue style may not exist in the database now: the
    // thumbnails show the installed samples again, any of them applies at a click, and no style is
    // there to remove. What is composed on the photo stays as the stylist left it.
    const CatalogueFilters filters = catalogue_.filters;
    catalogue_ = CatalogueState{};
    catalogue_.filters = filters;
    for (int i = 0; i < 6; ++i) {
        loadOptionalPicture(Muestrapelos_[static_cast<std::size_t>(i)], sampleHairName(i + 1));
    }
    samples_.muestraaplicada = false;
    action("mnueliminarpelos")->setEnabled(false);
    if (activeClient_) {
        deactivateClient();
    }
}

}  // namespace crinova
