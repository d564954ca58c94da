#pragma once

#include <QWidget>
#include <functional>
#include <vector>

#include "client_view/saved_looks.h"

namespace crinova {

// What the client's view asks of the main window.
struct ClientViewHost {
    QWidget* mainWindow;  // the view opens beside it, or on another screen
    // The current look rendered large again (with the photo "before" when asked); it arrives
    // through Vistacliente::showRendering.
    std::function<void(bool withBefore)> wantLook;
    // The looks stored in the slots, large.
    std::function<std::vector<SavedLook>()> savedLooks;
};

}  // namespace crinova
