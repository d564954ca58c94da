// Opening the background eraser and taking the screen back when it closes.
#include "main_window/principal.h"

namespace crinova {

void Principal::mnulimpiar_Click() {
    showWindow(eliminarfondo_, [this] {
        return new Eliminarfondo(services_.folder, services_.dialogs, *this, this);
    });
}

void Principal::eliminarfondoClosed() {
    eliminarfondo_ = nullptr;  // released: the next opening starts afresh
    if (overlay_.pelocargado) {
        dialogClosed(true);
    }
}

}  // namespace crinova
