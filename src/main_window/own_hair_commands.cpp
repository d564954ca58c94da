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

void OwnHairCommands::connectActions(QAction* mnuocultarpelo, QAction* mnucorregirpelo,
                                     QAction* mnuguardar) {
    mnuocultarpelo_ = mnuocultarpelo;
    mnuocultarpelo->setCheckable(true);
    mnuocultarpelo->setChecked(false);
    connect(mnuocultarpelo, &QAction::triggered, this, &OwnHairCommands::mnuocultarpelo_Click);
    mnuocultarpelo->setEnabled(mnuguardar->isEnabled());
    connect(mnuguardar, &QAction::enabledChanged, mnuocultarpelo, &QAction::setEnabled);
    connect(mnucorregirpelo, &QAction::triggered, this, &OwnHairCommands::mnucorregirpelo_Click);
    mnucorregirpelo->setEnabled(mnuguardar->isEnabled());
    connect(mnuguardar, &QAction::enabledChanged, mnucorregirpelo, &QAction::setEnabled);
}

void OwnHairCommands::mnuocultarpelo_Click() {
    if (!window_.overlay.pelocargado) {
        mnuocultarpelo_->setChecked(window_.overlay.ocultarpelo);
        return;
    }
    window_.overlay.ocultarpelo = mnuocultarpelo_->isChecked();
    // Selecting and hiding the hair the first time takes a moment.
    window_.setPointer(kPointerBusy);
    recompose();
    window_.setPointer(kPointerDefault);
    const auto hideAfterClicks = [this] {
        if (window_.overlay.pelocargado && !window_.overlay.ocultarpelo) {
            mnuocultarpelo_->setChecked(true);
            mnuocultarpelo_Click();
        }
    };
    if (window_.overlay.ocultarpelo && !tellOutcome(hideAfterClicks)) {
        // Nothing hidden: the entry goes back off and the photo is shown as it is.
        window_.overlay.ocultarpelo = false;
        mnuocultarpelo_->setChecked(false);
        recompose();
    }
}

void OwnHairCommands::mnucorregirpelo_Click() {
    if (!window_.overlay.pelocargado) {
        return;
    }
    // Correcting the hair is hiding it: the entry goes on first.
    if (!window_.overlay.ocultarpelo) {
        mnuocultarpelo_->setChecked(true);
        mnuocultarpelo_Click();
        if (!window_.overlay.ocultarpelo) {
            return;
        }
    }
    const QString path = window_.overlay.fotoactual;
    window_.setPointer(kPointerBusy);
    HairSelection* selection = nullptr;
    if (OwnHair* own = photos_.selection(path, window_.workingPhoto())) {
        selection = &own->selection();
    }
    window_.setPointer(kPointerDefault);
    Pelopropio* window = modelessWindow(
        pelopropio_,
        [this, path] {
            return new Pelopropio({[this, path] { corrected(path); },
                                   [this, path] {
                                       const OwnHairPhotos::Photo* photo = photos_.find(path);
                                       return photo ? photo->hidden : QImage();
                                   }},
                                  window_.window);
        },
        this, [] {});
    window->setSelection(selection);
    if (!window->isVisible()) {
        // Beside the main window, so the style on the photo stays in sight.
        window->adjustSize();
        window->move(window_.window->frameGeometry().topRight() + QPoint(8, 0));
    }
    showModeless(window);
}

bool OwnHairCommands::ownHairSelected() {
    const OwnHairPhotos::Photo* photo = photos_.find(window_.overlay.fotoactual);
    return photo && photo->hairFound;
}

bool OwnHairCommands::selectOwnHair() {
    window_.setPointer(kPointerBusy);
    photos_.hidden(window_.overlay.fotoactual, window_.workingPhoto());
    window_.setPointer(kPointerDefault);
    return tellOutcome([this] {
        if (tellOutcome()) {
            dialogs_.MsgBox(QStringLiteral("Ya se sabe dónde está su pelo: vuelva a marcar "
                                           "«Aplicar a su propio pelo»."),
                            MessageButtons::Ok, MessageIcon::Information,
                            QString::fromUtf8(kTitle));
        }
    });
}

void OwnHairCommands::corrected(const QString& path) {
    photos_.corrected(path);
    if (window_.overlay.ocultarpelo && window_.overlay.fotoactual == path) {
        recompose();
    }
    tellOutcome();
}

void OwnHairCommands::recompose() {
    if (window_.overlay.angulo != 0) {
        window_.turnAgain();
    } else {
        window_.compose();
    }
}

bool OwnHairCommands::tellOutcome(std::function<void()> afterClicks) {
    OwnHairPhotos::Photo* photo = photos_.find(window_.overlay.fotoactual);
    if (!photo) {
        return false;
    }
    if (!photo->faceFound) {
        dialogs_.MsgBox(QStringLiteral("No se encuentra la cara en la foto, así que no se sabe "
                                       "dónde está su pelo. Haga clic en el centro de cada ojo "
                                       "sobre la foto."),
                        MessageButtons::Ok, MessageIcon::Information, QString::fromUtf8(kTitle));
        const QString path = window_.overlay.fotoactual;
        window_.clickEyes([this, path, afterClicks](const EyePair& eyes) {
            if (window_.overlay.fotoactual != path) {
                return;
            }
            window_.setPointer(kPointerBusy);
            photos_.hideWithEyes(path, window_.workingPhoto(), eyes);
            window_.setPointer(kPointerDefault);
            if (afterClicks) {
                afterClicks();
            } else {
                tellOutcome();
            }
        });
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
