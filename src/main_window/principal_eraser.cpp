// Opening the background eraser and taking the screen back when it closes.
#include "main_window/principal.h"
#include "platform/modeless_window.h"

namespace crinova {

void Principal::mnulimpiar_Click() {
    showModeless(modelessWindow(
        eliminarfondo_,
        [this] { return new Eliminarfondo(services_.folder, services_.dialogs, this); }, this,
        [this] { eliminarfondoClosed(); }));
}

void Principal::eliminarfondoClosed() {
    if (overlay_.pelocargado) {
        dialogClosed(true);
    }
}

}  // namespace crinova
