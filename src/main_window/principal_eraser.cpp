// Opening the background eraser and taking the screen back when it closes.
#include "main_window/principal.h"

namespace crinova {

void Principal::mnulimpiar_Click() {
    showModeless(windowOnce(
        eliminarfondo_,
        [this] { return new Eliminarfondo(services_.folder, services_.dialogs, this); },
        &Principal::eliminarfondoClosed));
}

void Principal::eliminarfondoClosed() {
    if (overlay_.pelocargado) {
        dialogClosed(true);
    }
}

}  // namespace crinova
