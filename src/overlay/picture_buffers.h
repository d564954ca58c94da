#pragma once

#include "platform/surface.h"

namespace crinova {

// The main window's four pictures, all the same pixel size: the visible result and the three hidden
// buffers of the composition.
struct PictureBuffers {
    Surface fprincipal{0, 0, kWindowBackground, false};  // visible; loses drawing on repaint
    Surface ftrabajo;   // working photo: the base photo as loaded, or as rotated
    Surface temporal1;  // the mask, then the hair picture, while each is drawn
    Surface temporal2;  // composition buffer

    // Gives the hidden buffers exactly the size of the visible picture.
    void sizeLikeVisible() {
        ftrabajo.Resize(fprincipal.ScaleWidth(), fprincipal.ScaleHeight());
        temporal1.Resize(fprincipal.ScaleWidth(), fprincipal.ScaleHeight());
        temporal2.Resize(fprincipal.ScaleWidth(), fprincipal.ScaleHeight());
    }
};

}  // namespace crinova
