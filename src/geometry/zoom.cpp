#include "geometry/zoom.h"

#include <limits>

#include "platform/rounding.h"

namespace crinova {

ZoomOutcome applyZoomStep(OverlayState& state, DragTarget target, ZoomDimensions dimensions,
                          double step, bool enlarge) {
    if (!dimensions.ancho && !dimensions.alto) {
        return ZoomOutcome::NoDimension;
    }
    std::int16_t& width = target == DragTarget::Foto ? state.anchofoto : state.anchopelo;
    std::int16_t& height = target == DragTarget::Foto ? state.altofoto : state.altopelo;
    const double delta = enlarge ? step : -step;
    auto fits = [](double value) {
        const double rounded = roundHalfEven(value);
        return rounded >= std::numeric_limits<std::int16_t>::min() &&
               rounded <= std::numeric_limits<std::int16_t>::max();
    };
    if ((dimensions.ancho && !fits(width + delta)) || (dimensions.alto && !fits(height + delta))) {
        return ZoomOutcome::OutOfRange;
    }
    if (dimensions.ancho) {
        width = roundHalfEven16(width + delta);
    }
    if (dimensions.alto) {
        height = roundHalfEven16(height + delta);
    }
    return ZoomOutcome::Changed;
}

int stepFromText(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 0 ? value : 0;
}

}  // namespace crinova
