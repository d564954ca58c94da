#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>

namespace crinova {

// The one path of every modeless window and dialog of the program. The window is made on first
// use, deletes itself on close (so the next opening starts from its design state) and tells
// `closed` exactly once, however it closes: its own buttons, the title bar, or Qt closing it again
// while it goes.
class ModelessClose : public QObject {
    Q_OBJECT
  public:
    // Becomes a child of `window` and makes it delete itself on close.
    explicit ModelessClose(QWidget* window);

    // The window's close step, called from its closeEvent: the first call runs `step` and then
    // emits `closed`; later calls do nothing.
    void closing(const std::function<void()>& step = {});

  signals:
    void closed();

  private:
    bool done_ = false;
};

// The window held in `window`, made by `make` when there is none. Its `closed` first releases
// `window` (the next opening makes a new one even before the old one is deleted), then runs
// `onClosed` in `receiver`'s thread. `Window` offers `ModelessClose& modelessClose()`.
template <typename Window, typename Make, typename OnClosed>
Window* modelessWindow(QPointer<Window>& window, Make make, QObject* receiver, OnClosed onClosed) {
    if (!window) {
        window = make();
        QObject::connect(&window->modelessClose(), &ModelessClose::closed, receiver,
                         [&window, onClosed] {
                             window = nullptr;
                             onClosed();
                         });
    }
    return window;
}

// Brings a modeless window up: shown, in front, active.
void showModeless(QWidget* window);

}  // namespace crinova
