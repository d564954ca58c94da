#pragma once

#include <QEvent>
#include <QObject>
#include <functional>

namespace crinova {

// Runs a procedure when a control receives an event of one type (a label's click, a text box's
// focus), for controls that have no signal for it. The hook lives as long as the control.
class EventHook : public QObject {
  public:
    EventHook(QObject* control, QEvent::Type type, std::function<void()> procedure)
        : QObject(control), type_(type), procedure_(std::move(procedure)) {
        control->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == type_) {
            procedure_();
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    QEvent::Type type_;
    std::function<void()> procedure_;
};

}  // namespace crinova
