#include "platform/modeless_window.h"

namespace crinova {

ModelessClose::ModelessClose(QWidget* window) : QObject(window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
}

void ModelessClose::closing(const std::function<void()>& step) {
    if (done_) {
        return;
    }
    done_ = true;
    if (step) {
        step();
    }
    emit closed();
}

void showModeless(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

}  // namespace crinova
