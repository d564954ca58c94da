// Hiding the client's own hair under the style.
#include "main_window/own_hair_commands.h"

#include <QAction>
#include <QWidget>

#include "platform/pointers.h"

namespace crinova {
namespace {

const char* const kTitle = "Ocultar Pelo Propio";

}  // namespace

OwnHairCommands::OwnHairCommands(Dialogs& dialogs, OwnHairPhotos& photos, Window window,
                                 QObject* parent)
    : QObject(parent), dialogs_(dialogs), photos_(photos), window_(std::move(window)) {}

void OwnHairCommands::connectActions(QAction* mnuocultarpelo, QAction* mnuguardar) {
    mnuocultarpelo_ = mnuocultarpelo;
    mnuocultarpelo->setCheckable(true);
    mnuocultarpelo->setChecked(false);
    connect(mnuocultarpelo, &QAction::triggered, this, &OwnHairCommands::mnuocultarpelo_Click);
    mnuocultarpelo->setEnabled(mnuguardar->isEnabled());
    connect(mnuguardar, &QAction::enabledChanged, mnuocultarpelo, &QAction::setEnabled);
}

void OwnHairCommands::mnuocultarpelo_Click() {
    if (!window_.overlay.pelocargado) {
        mnuocultarpelo_->setChecked(window_.overlay.ocultarpelo);
        return;
    }
    window_.overlay.ocultarpelo = mnuocultarpelo_->isChecked();
    // Selecting and hiding the hair the first time takes a moment.
    window_.setPointer(kPointerBusy);
    if (window_.overlay.angulo != 0) {
        window_.turnAgain();
    } else {
        window_.compose();
    }
    window_.setPointer(kPointerDefault);
    if (window_.overlay.ocultarpelo && !tellOutcome()) {
        // Nothing hidden: the entry goes back off and the photo is shown as it is.
        window_.overlay.ocultarpelo = false;
        mnuocultarpelo_->setChecked(false);
        if (window_.overlay.angulo != 0) {
            window_.turnAgain();
        } else {
            window_.compose();
        }
    }
}

bool OwnHairCommands::tellOutcome() {
    OwnHairPhotos::Photo* photo = photos_.find(window_.overlay.fotoactual);
    if (!photo) {
        return false;
    }
    if (!photo->faceFound) {
        dialogs_.MsgBox(QStringLiteral("No se encuentra la cara en la foto, así que no se sabe "
                                       "dónde está su pelo: no se oculta nada."),
                        MessageButtons::Ok, MessageIcon::Exclamation, QString::fromUtf8(kTitle));
        return false;
    }
    if (!photo->hairFound) {
        dialogs_.MsgBox(QStringLiteral("No se ve pelo propio en la foto: no hay nada que ocultar."),
                        MessageButtons::Ok, MessageIcon::Information, QString::fromUtf8(kTitle));
        return false;
    }
    if (!photo->storeError.isEmpty() && !photo->storeErrorTold) {
        photo->storeErrorTold = true;
        dialogs_.MsgBox(QStringLiteral("La foto con el pelo oculto no se ha podido guardar junto a "
                                       "la foto del cliente; se usará mientras Crinova siga "
                                       "abierto y se hará de nuevo la próxima vez.\n\n%1")
                            .arg(photo->storeError),
                        MessageButtons::Ok, MessageIcon::Exclamation, QString::fromUtf8(kTitle));
    }
    return true;
}

}  // namespace crinova
