// The print command and its dialog.
#include "main_window/print_commands.h"

#include <QAction>

#include "client_view/saved_looks.h"
#include "platform/modeless_window.h"
#include "platform/pictures.h"
#include "program/folder_names.h"

namespace crinova {

PrintCommands::PrintCommands(const ProgramFolder& folder, Printer& printer, Dialogs& dialogs,
                             Window window, QObject* parent)
    : QObject(parent),
      folder_(folder),
      printer_(printer),
      dialogs_(dialogs),
      window_(std::move(window)) {}

void PrintCommands::connectAction(QAction* mnuImprimir) {
    connect(mnuImprimir, &QAction::triggered, this, &PrintCommands::mnuImprimir_Click);
}

void PrintCommands::mnuImprimir_Click() {
    std::array<QImage, 6> photos;
    int count = 0;
    for (int slot = 1; slot <= 6; ++slot) {
        const QString path = folder_.fullPath(slotFileName(slot));
        if (fileExists(path)) {
            // The look's large companion when it has one; a slot file that cannot be read still
            // takes its place, with an empty picture.
            photos[static_cast<std::size_t>(count++)] = slotPrintPicture(folder_, slot);
        }
    }
    flags_.numerofotos = count;
    if (count == 0) {
        dialogs_.MsgBox(
            QStringLiteral("Tiene que guardar al menos una Fotografía para poder Imrpimirla"),
            MessageButtons::Ok, MessageIcon::Information,
            QStringLiteral("Error no existen Fotos Almacenadas"));
        return;
    }
    Imprimir* dialog = modelessWindow(
        imprimir_,
        [this] { return new Imprimir(flags_, printer_, dialogs_, window_.logo(), window_.parent); },
        this, [this] { window_.dialogClosed(); });
    dialog->loadPhotos(photos, count);
    showModeless(dialog);
    dialog->Form_Activate();
}

}  // namespace crinova
