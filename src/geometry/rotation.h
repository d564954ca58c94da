#pragma once

#include <QString>
#include <functional>

#include "overlay/composition.h"
#include "platform/surface.h"

namespace crinova {

// The rotation of the working photo: the total angle turned since the last restore.
struct RotationState {
    double angulototal = 0;  // radians
    bool girado = false;     // a rotation was made since the last restore
};

// Where a rotation shows its progress: the status line and the progress bar (0 to 100).
struct RotationProgress {
    std::function<void(const QString&)> status;
    std::function<void(int)> progress;
};

// The step angle in radians for `degrees`: 3.14159265359 / (180 / degrees), dividing 180 first.
double stepAngle(int degrees);

// Rotates `origen` into `destino` (the same size) by `giro` radians about the centre
// (W \ 2, H \ 2), counter-clockwise on screen for a positive angle. For every point (a, b) of one
// quadrant, a and b from 0 to R = max(cx, cy) - 1, the polar angle (single precision) and the
// rounded radius give the source offsets u, v (16-bit, half to even); the four symmetric points
// (a, b), (-a, -b), (b, -a), (-b, a) take the colours of (u, v), (-u, -v), (v, -u), (-v, u), each
// written only when its source lies inside the picture, in that order. Pixels of `destino` that
// receive nothing keep what they held. Works on the scanlines directly.
void RotarImagen(const Surface& origen, Surface& destino, double& giro,
                 const RotationProgress& observer = {});

// One rotation step: reloads the unrotated photo, adds (index 0) or subtracts (index 1) the step
// angle, rotates through temporal2, marks the photo rotated (angulo = 1) and recomposes. Answers
// false when nothing was rotated (no hair applied, a step of 0, a photo that cannot be read).
bool rotateStep(int index, int degrees, OverlayState& state, RotationState& rotation,
                PictureBuffers& buffers, CompositionServices& services,
                const RotationProgress& observer = {});
// The photo loaded again and turned by the whole angle so far, as after the last step (after the
// photo itself changed, its own hair hidden or shown). False when it is not turned.
bool rotateAgain(OverlayState& state, RotationState& rotation, PictureBuffers& buffers,
                 CompositionServices& services);

// Back to the unrotated photo; answers false when there was no rotation to undo.
bool restoreRotation(OverlayState& state, RotationState& rotation, PictureBuffers& buffers,
                     CompositionServices& services);

}  // namespace crinova
