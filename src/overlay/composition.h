#pragma once

#include <functional>

#include "overlay/blend.h"
#include "overlay/hair_colour.h"
#include "overlay/overlay_state.h"
#include "overlay/picture_buffers.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/pictures.h"
#include "platform/record_sets.h"

namespace crinova {

class OwnHairPhotos;

// What the composition needs besides the state and the pictures.
struct CompositionServices {
    const ProgramFolder& folder;
    PictureCache& pictures;
    Database& database;
    Dialogs& dialogs;
    BlendCache* blend = nullptr;        // prepared blended hair; none: prepared again at each call
    HairColourCache* colour = nullptr;  // recoloured hair; none: recoloured again at each call
    OwnHairPhotos* ownHair = nullptr;   // photos with the own hair hidden; none: never hidden
    std::function<void()> composed = {};  // told after each full composition (DibujarPelo)
};

// Loads a picture file into a buffer; a file that cannot be read is reported to the stylist (the
// message names the file) and the answer is false, the buffer unchanged.
bool loadPictureInto(Surface& surface, const QString& path, CompositionServices& services);

// Loads the style's hair picture into a buffer. While a colour is chosen the buffer gets the hair
// recoloured instead (the mask tells which pixels are hair; pass it when it is at hand, otherwise
// it is read). Failures are reported as loadPictureInto's.
bool loadHairPicture(const OverlayState& state, Surface& surface, CompositionServices& services,
                     QImage mask = {});

// Loads the working photo into ftrabajo as the composition does while the photo is unrotated: the
// base photo, or the active client's photo (read from the client table with bound values), or
// `fotobase` while the client-photo switch is on without a client. While `ocultarpelo` is set the
// buffer gets that photo with the client's own hair hidden instead, and while `colorpelopropio`
// is set with a colour chosen, with her own hair in that colour. Failures are reported.
bool loadWorkingPhoto(OverlayState& state, Surface& ftrabajo, CompositionServices& services);

// The full composition: (re)load the working photo while the photo is unrotated, then into
// temporal2 the photo stretched to its position and size (SRCCOPY), the mask (SRCAND) and the hair
// (SRCINVERT) stretched to the hair's position and size, copy temporal2 to fprincipal and clear
// temporal2. Does nothing while no hair is applied. While `difuminar` is set, the mask and the
// hair are blended in instead of the AND and XOR steps (StretchBlend); the photo and the buffers
// are handled the same way, and temporal1 still ends holding the hair picture.
//
// A picture or client record that cannot be read is reported to the stylist and the composition
// stops at that step, keeping what was already drawn; the answer is then false.
bool DibujarPelo(OverlayState& state, PictureBuffers& buffers, CompositionServices& services);

// The lighter repaint after window events: empties temporal2, then photo, mask and hair over it and
// the copy to fprincipal, without reloading the working photo and without clearing temporal2 after.
bool RefrescarPelo(const OverlayState& state, PictureBuffers& buffers,
                   CompositionServices& services);

}  // namespace crinova
