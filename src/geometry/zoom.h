#pragma once

#include "overlay/mouse_placement.h"
#include "overlay/overlay_state.h"

namespace crinova {

// What a zoom step changes: the width offset, the height offset, or both.
struct ZoomDimensions {
    bool ancho = true;
    bool alto = true;
};

enum class ZoomOutcome { Changed, NoDimension, OutOfRange };

// One zoom step on the offsets of the photo or of the hair: `step` pixels added (enlarge) or
// subtracted, in floating point and rounded half to even. A step that would take an offset
// outside the 16-bit range changes nothing and answers OutOfRange. Offsets that make a drawn size
// zero or negative are allowed (zero draws nothing, negative mirrors).
ZoomOutcome applyZoomStep(OverlayState& state, DragTarget target, ZoomDimensions dimensions,
                          double step, bool enlarge);

// The step typed in a step field: digits only; an empty field counts as 0.
int stepFromText(const QString& text);

}  // namespace crinova
