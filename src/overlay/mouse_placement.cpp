#include "overlay/mouse_placement.h"

#include "platform/raster.h"
#include "platform/rounding.h"

namespace crinova {

void beginDrag(DragTarget target, double x, double y, OverlayState& state, DragState& drag,
               PictureBuffers& buffers, CompositionServices& services) {
    if (!state.pelocargado) {
        return;
    }
    if (target == DragTarget::Foto) {
        state.posxfoto = roundHalfEven16(x);
        state.posyfoto = roundHalfEven16(y);
        // A rotated photo lives only in ftrabajo: reloading would undo the rotation. The photo is
        // read as the composition reads it, so an active client's drag moves the client's photo.
        const bool photoReady =
            state.angulo != 0 || loadWorkingPhoto(state, buffers.ftrabajo, services);
        drag.moviendofoto = photoReady && loadHairPicture(state, buffers.temporal1, services);
    } else {
        if (!loadHairPicture(state, buffers.temporal1, services)) {
            return;
        }
        state.posxpelo = roundHalfEven16(x);
        state.posypelo = roundHalfEven16(y);
        drag.moviendopelo = true;
    }
}

namespace {

// The ghost preview: the photo copied opaquely at its place, then the hair by exclusive-or.
void drawPreview(const OverlayState& state, PictureBuffers& buffers) {
    const Surface& photo = buffers.ftrabajo;
    StretchBlt(buffers.fprincipal, state.posxfoto, state.posyfoto,
               roundHalfEven(double(photo.ScaleWidth()) + state.anchofoto),
               roundHalfEven(double(photo.ScaleHeight()) + state.altofoto), photo, 0, 0,
               photo.ScaleWidth(), photo.ScaleHeight(), SRCCOPY);
    const int width = buffers.fprincipal.ScaleWidth();
    const int height = buffers.fprincipal.ScaleHeight();
    StretchBlt(buffers.fprincipal, state.posxpelo, state.posypelo,
               roundHalfEven(double(width) + state.anchopelo),
               roundHalfEven(double(height) + state.altopelo), buffers.temporal1, 0, 0, width,
               height, SRCINVERT);
}

}  // namespace

void dragTo(double x, double y, OverlayState& state, const DragState& drag,
            PictureBuffers& buffers) {
    if (!state.pelocargado) {
        return;
    }
    if (drag.moviendofoto) {
        state.posxfoto = roundHalfEven16(x);
        state.posyfoto = roundHalfEven16(y);
        drawPreview(state, buffers);
    }
    if (drag.moviendopelo) {
        state.posxpelo = roundHalfEven16(x);
        state.posypelo = roundHalfEven16(y);
        drawPreview(state, buffers);
    }
}

void endDrag(OverlayState& state, DragState& drag, PictureBuffers& buffers,
             CompositionServices& services) {
    if (!state.pelocargado) {
        return;
    }
    drag = DragState{};
    DibujarPelo(state, buffers, services);
}

}  // namespace crinova
