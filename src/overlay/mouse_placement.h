#pragma once

#include "overlay/composition.h"

namespace crinova {

// A drag on the visible picture in progress.
struct DragState {
    bool moviendofoto = false;
    bool moviendopelo = false;
};

// What a drag moves, read from the "Actua en:" options at the press.
enum class DragTarget { Foto, Pelo };

// Mouse handlers of the visible picture. Any button drags; x and y are picture pixels, rounded half
// to even and kept inside the 16-bit range. All three do nothing while no hair is applied.
//
// The press puts the moved item's top-left corner at the pointer (no grab offset) and reads the
// files once: the working photo while the photo is unrotated (photo drags only; the base photo or
// the active client's, as the composition loads it) and the hair picture.
// Each move repaints a ghost preview straight onto the visible picture: the photo copied at its
// place, then the hair combined by exclusive-or, no mask and no file access. The release runs the
// full composition. A picture that cannot be read at the press is reported and the drag does not
// start.
void beginDrag(DragTarget target, double x, double y, OverlayState& state, DragState& drag,
               PictureBuffers& buffers, CompositionServices& services);
void dragTo(double x, double y, OverlayState& state, const DragState& drag,
            PictureBuffers& buffers);
void endDrag(OverlayState& state, DragState& drag, PictureBuffers& buffers,
             CompositionServices& services);

}  // namespace crinova
