#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

namespace crinova {

// A control's caption colour (the platform's ForeColor).
inline void setTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::ButtonText, colour);
    control->setPalette(palette);
}

// Red marks a selected or available option; otherwise the system's button-text colour.
inline void setOptionColour(QWidget* control, bool red) {
    if (red) {
        setTextColour(control, QColor(Qt::red));
    } else {
        control->setPalette(QPalette());
    }
}

inline bool isRed(const QWidget* control) {
    return control->palette().color(QPalette::WindowText) == QColor(Qt::red);
}

}  // namespace crinova
