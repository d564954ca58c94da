#pragma once

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace crinova {

// Tells a window's activations that come from another window of the program apart from those that
// only end a modal box (a message, a file chooser) it opened, which do not count as activating it.
class ActivationWatch {
public:
    // Whether `event` activates `window` after the stylist was in another window.
    bool activated(const QWidget* window, const QEvent* event) {
        if (event->type() != QEvent::ActivationChange) {
            return false;
        }
        if (!window->isActiveWindow()) {
            leftForModal_ = QApplication::activeModalWidget() != nullptr;
            return false;
        }
        const bool fromAnotherWindow = !leftForModal_;
        leftForModal_ = false;
        return fromAnotherWindow;
    }

private:
    bool leftForModal_ = false;
};

}  // namespace crinova
