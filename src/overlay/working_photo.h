#pragma once

#include <QString>

#include "overlay/overlay_state.h"
#include "platform/files.h"

namespace crinova {

// The file the composition takes its unrotated working photo from: the base photo, the active
// client's photo (`clientPhoto`, the full path her record names; empty when it cannot be opened)
// or `fotobase` while the client-photo switch is on without a client. The main picture and the
// client's large view both ask here, so that they always work from the same photo.
QString workingPhotoFile(const OverlayState& state, const ProgramFolder& folder,
                         const QString& clientPhoto);

}  // namespace crinova
