#include "overlay/working_photo.h"

#include "program/folder_names.h"

namespace crinova {

QString workingPhotoFile(const OverlayState& state, const ProgramFolder& folder,
                         const QString& clientPhoto) {
    if (!state.usarfotocliente) {
        return folder.fullPath(kBasePhoto);
    }
    return state.clienteactivo ? clientPhoto : state.fotobase;
}

}  // namespace crinova
