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

}  // namespace crinova
