// The print command of the main window and the print dialog handing the screen back.
#include "main_window/principal.h"
#include "platform/image_control.h"
#include "program/folder_names.h"

namespace crinova {

void Principal::mnuImprimir_Click() {
    std::array<QImage, 6> photos;
    int count = 0;
    for (int slot = 1; slot <= 6; ++slot) {
        const QString path = services_.folder.fullPath(slotFileName(slot));
        if (fileExists(path)) {
            // A slot file that cannot be read still takes its place, with an empty picture.
            photos[static_cast<std::size_t>(count++)] = loadPicture(path).picture;
        }
    }
    printFlags_.numerofotos = count;
    if (count == 0) {
        services_.dialogs.MsgBox(
            QStringLiteral("Tiene que guardar al menos una Fotografía para poder Imrpimirla"),
            MessageButtons::Ok, MessageIcon::Information,
            QStringLiteral("Error no existen Fotos Almacenadas"));
        return;
    }
    Imprimir* dialog = windowOnce(
        imprimir_,
        [this] {
            return new Imprimir(printFlags_, services_.printer, services_.dialogs,
                                logotipo_->picture(), this);
        },
        &Principal::imprimirClosed);
    dialog->loadPhotos(photos, count);
    showModeless(dialog);
    dialog->Form_Activate();
}

void Principal::imprimirClosed() {
    if (overlay_.pelocargado) {
        dialogClosed(false);
    }
}

}  // namespace crinova
