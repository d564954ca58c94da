// Saving the composed photo into a slot, the slide show of the stored slots, and a visit's photos
// put back into the slots.
#include "main_window/slot_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QTimer>
#include <thread>

#include "platform/image_control.h"
#include "platform/modeless_window.h"
#include "platform/picture_box.h"
#include "platform/pointers.h"
#include "platform/raster.h"
#include "program/folder_names.h"

namespace crinova {

SlotCommands::SlotCommands(OverlayState& overlay, PictureBuffers& buffers, Services services,
                           Controls controls, Window window, QObject* parent)
    : QObject(parent),
      overlay_(overlay),
      buffers_(buffers),
      services_(services),
      controls_(controls),
      window_(std::move(window)) {
    wipePacing_.waitUntil = [](std::chrono::steady_clock::time_point due) {
        std::this_thread::sleep_until(due);
    };
    connect(controls_.mnuguardar, &QAction::triggered, this, &SlotCommands::mnuguardar_Click);
    connect(controls_.mnupresentacion, &QAction::triggered, this,
            &SlotCommands::mnupresentacion_Click);
}

void SlotCommands::mnuguardar_Click() {
    if (!overlay_.pelocargado) {
        controls_.mnuguardar->setEnabled(false);
        return;
    }
    const std::optional<SlotChoice> choice = chooseSlot(slotState_, services_.dialogs);
    if (!choice) {
        return;
    }
    window_.setMousePointer(kPointerBusy);
    // The snapshot of what the visible picture shows, through temporal1.
    Surface& snapshot = buffers_.temporal1;
    snapshot.Resize(buffers_.fprincipal.ScaleWidth(), buffers_.fprincipal.ScaleHeight());
    BitBlt(snapshot, 0, 0, buffers_.fprincipal.ScaleWidth(), buffers_.fprincipal.ScaleHeight(),
           buffers_.fprincipal, 0, 0, SRCCOPY);
    // The counters move on whether or not the file can be written, so a slot that cannot be
    // written never holds the next save back: that one goes to the following slot, or asks.
    slotState_ = choice->after;
    QString error;
    if (!savePictureBmp(snapshot.image(), services_.folder.fullPath(slotFileName(choice->slot)),
                        &error)) {
        snapshot.EmptyPicture();
        window_.setMousePointer(kPointerDefault);
        services_.dialogs.MsgBox(
            QStringLiteral("La foto no se ha guardado en la posición %1.\n\n%2")
                .arg(choice->slot)
                .arg(error),
            MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Error al Guardar la Foto"));
        return;
    }
    owners_.saved(choice->slot, overlay_.clienteactivo ? overlay_.codigocliente : QString(), false);
    // The thumbnail shows the file's pixels; they are the snapshot's, so no need to read it back.
    controls_.Fotoseleccionada[static_cast<std::size_t>(choice->slot)]->setPicture(
        snapshot.image().copy());
    snapshot.EmptyPicture();
    if (window_.slotSaved) {
        window_.slotSaved(choice->slot);
    }
    CompositionServices services = window_.compositionServices();
    DibujarPelo(overlay_, buffers_, services);
    window_.setMousePointer(kPointerDefault);
    enableStoredPhotoCommands();
}

void SlotCommands::mnupresentacion_Click() {
    if (wiping_) {
        return;
    }
    modelessWindow(
        presentacion_, [this] { return new Presentacion(window_.parent); }, this,
        [this] { presentacionClosed(); });
    presentacion_->placePictures(buffers_.fprincipal.ScaleWidth(),
                                 buffers_.fprincipal.ScaleHeight());
    if (overlay_.usarfotocliente && overlay_.clienteactivo) {
        // The client is compared with her own photo, laid out as the composition lays it out.
        Surface original(buffers_.fprincipal.ScaleWidth(), buffers_.fprincipal.ScaleHeight());
        CompositionServices services = window_.compositionServices();
        if (!loadWorkingPhoto(overlay_, original, services)) {
            return;
        }
        presentacion_->Fotooriginal()->setPicture(original.image());
    } else {
        const QString reference = services_.folder.fullPath(kReferencePhoto);
        if (!fileExists(reference)) {
            services_.dialogs.MsgBox(QStringLiteral("No existe la Fotografía Original"),
                                     MessageButtons::Ok, MessageIcon::Critical,
                                     QStringLiteral("Error Faltan Datos"));
            return;
        }
        presentacion_->Fotooriginal()->setPicture(services_.pictures.load(reference).picture);
    }
    presentacion_->logotipo()->setPicture(controls_.logotipo->picture());

    fotoactual_ = static_cast<std::int16_t>(firstStoredSlot(services_.folder));
    if (fotoactual_ == 0) {
        services_.dialogs.MsgBox(QStringLiteral("No existe ninguna Foto del Cliente/a Almacenada"),
                                 MessageButtons::Ok, MessageIcon::Information,
                                 QStringLiteral("Error no existen Fotos"));
        controls_.mnupresentacion->setEnabled(false);
        return;
    }
    controls_.timer1->stop();  // a show started over begins again from its first photo
    buffers_.temporal2.EmptyPicture();
    const PictureLoad first =
        loadShownPicture(services_.folder.fullPath(slotFileName(fotoactual_)),
                         PictureShown::topLeft(buffers_.temporal2.image().size()));
    if (first.ok()) {
        buffers_.temporal2.SetPicture(first.picture);
    }
    showModeless(presentacion_);
    // Paint the window once before the wipe; no input is taken meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    runWipe();
    if (presentacion_) {
        controls_.timer1->start();
    }
}

void SlotCommands::PresentacionPreliminar() {
    if (!presentacion_ || !presentacion_->isVisible() || wiping_) {
        return;
    }
    const int next = nextStoredSlot(fotoactual_, services_.folder);
    if (next != 0) {
        fotoactual_ = static_cast<std::int16_t>(next);
        // A slot file that cannot be read is passed over: the photo on screen is wiped in again.
        const PictureLoad photo =
            loadShownPicture(services_.folder.fullPath(slotFileName(next)),
                             PictureShown::topLeft(buffers_.temporal2.image().size()));
        if (photo.ok()) {
            buffers_.temporal2.SetPicture(photo.picture);
        }
    }
    runWipe();
}

void SlotCommands::runWipe() {
    // The wipe blocks the window: no input, no timer tick and no other wipe until it ends.
    wiping_ = true;
    PictureBox* box = presentacion_->fpresentacionBox();
    Wipe(presentacion_->fpresentacion(), buffers_.temporal2, buffers_.fprincipal.ScaleWidth(),
         buffers_.fprincipal.ScaleHeight(), wipePacing_, [this, box](int y) {
             box->repaint();
             if (wipeRowObserver_) {
                 wipeRowObserver_(y);
             }
         });
    wiping_ = false;
}

void SlotCommands::presentacionClosed() {
    controls_.timer1->stop();
    buffers_.temporal1.EmptyPicture();
    buffers_.temporal2.EmptyPicture();
    window_.presentacionClosed();
}

bool SlotCommands::loadVisit(const QString& codigo, const Visit& visit, bool askFirst) {
    const QString title = QStringLiteral("Cargar Visita");
    if (askFirst && firstStoredSlot(services_.folder) != 0 &&
        services_.dialogs.MsgBox(
            QStringLiteral("Ya hay fotos guardadas. ¿Quiere sustituirlas por las fotos de la "
                           "visita del %1?")
                .arg(visitDateShown(visit.fecha)),
            MessageButtons::YesNo, MessageIcon::Question, title) != MessageAnswer::Yes) {
        return false;
    }
    window_.setMousePointer(kPointerBusy);
    QStringList missing;
    QString error;
    const std::vector<QImage> placed = placeVisitInSlots(
        services_.folder, visit, buffers_.fprincipal.image().size(), &missing, &error);
    for (int slot = 1; slot <= 6; ++slot) {
        const std::size_t index = static_cast<std::size_t>(slot);
        controls_.Fotoseleccionada[index]->setPicture(index <= placed.size() ? placed[index - 1]
                                                                             : QImage());
        owners_.saved(slot, index <= placed.size() ? codigo : QString(), true);
    }
    // The next save goes after the visit's photos, as if the stylist had just saved them.
    slotState_.posicionfoto = placed.empty() ? QString() : QString::number(placed.size());
    window_.setMousePointer(kPointerDefault);
    if (!placed.empty()) {
        enableStoredPhotoCommands();
    }
    if (!error.isEmpty()) {
        services_.dialogs.MsgBox(
            QStringLiteral("La visita no se ha cargado entera.\n\n%1").arg(error),
            MessageButtons::Ok, MessageIcon::Critical, title);
    } else if (!missing.isEmpty()) {
        services_.dialogs.MsgBox(
            QStringLiteral("Estas fotos de la visita ya no están o no se pueden leer, y se han "
                           "saltado:\n%1")
                .arg(missing.join(QLatin1Char('\n'))),
            MessageButtons::Ok, MessageIcon::Exclamation, title);
    }
    return true;
}

void SlotCommands::enableStoredPhotoCommands() {
    controls_.mnupresentacion->setEnabled(true);
    controls_.mnuImprimir->setEnabled(true);
    controls_.printButton->setEnabled(true);
    controls_.zoomPlaceholder->setEnabled(true);
}

}  // namespace crinova
