#include "overlay/composition.h"

#include "overlay/working_photo.h"
#include "platform/raster.h"
#include "platform/rounding.h"
#include "program/client_files.h"
#include "program/folder_names.h"
#include "segmentation/own_hair_photos.h"

namespace crinova {
namespace {

inline const char* const kClientQuery =
    "Select Fprograma,codigocliente,nombrecliente From cliente"
    " where codigocliente=? and nombrecliente=?";

// The active client's photo, read from the client table.
bool loadClientPhoto(OverlayState& state, Surface& ftrabajo, CompositionServices& services,
                     QString& path) {
    state.consulta = QString::fromUtf8(kClientQuery);
    QString error;
    RecordSet rows = services.database.OpenRecordset(
        state.consulta, {state.codigocliente, state.nombrecliente}, &error);
    if (!rows.isOpen()) {
        services.dialogs.MsgBox(error, MessageButtons::Ok, MessageIcon::Critical,
                                QStringLiteral("Error en la Base de Datos"));
        return false;
    }
    if (rows.Eof()) {
        services.dialogs.MsgBox(
            QStringLiteral("No se encuentra la ficha del Cliente/a %1 (código %2).")
                .arg(state.nombrecliente, state.codigocliente),
            MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Error Faltan Datos"));
        return false;
    }
    state.fprograma = rows.Fields(QStringLiteral("Fprograma"));
    rows.Close();
    // A photo outside the clients' folder is never opened.
    const QString photo = clientPhotoPath(services.folder, state.fprograma);
    if (photo.isEmpty()) {
        services.dialogs.MsgBox(
            QStringLiteral("La foto del Cliente/a %1 («%2») no está en la carpeta de clientes: "
                           "no se abre.")
                .arg(state.nombrecliente, state.fprograma),
            MessageButtons::Ok, MessageIcon::Critical, QStringLiteral("Error Faltan Datos"));
    }
    const QString file =
        photo.isEmpty() ? QString() : workingPhotoFile(state, services.folder, photo);
    const bool loaded = !file.isEmpty() && loadPictureInto(ftrabajo, file, services);
    path = file;
    state.fprograma.clear();
    return loaded;
}

// Steps shared by both procedures: photo, mask and hair into temporal2, then temporal2 onto the
// visible picture. Extents are the buffers' sizes plus the deltas, rounded half to even.
bool composeOverlay(const OverlayState& state, PictureBuffers& buffers,
                    CompositionServices& services) {
    Surface& photo = buffers.ftrabajo;
    const double photoWidth = photo.ScaleWidth();
    const double photoHeight = photo.ScaleHeight();
    StretchBlt(buffers.temporal2, state.posxfoto, state.posyfoto,
               roundHalfEven(photoWidth + state.anchofoto),
               roundHalfEven(photoHeight + state.altofoto), photo, 0, 0, photo.ScaleWidth(),
               photo.ScaleHeight(), SRCCOPY);
    if (state.colorpelopropio && state.colorelegido && services.ownHair) {
        // A colour tried on her own hair: no cut drawn over it.
        BitBlt(buffers.fprincipal, 0, 0, buffers.temporal2.ScaleWidth(),
               buffers.temporal2.ScaleHeight(), buffers.temporal2, 0, 0, SRCCOPY);
        return true;
    }

    Surface& hair = buffers.temporal1;
    if (!loadPictureInto(hair, services.folder.fullPath(state.ficheromascara), services)) {
        return false;
    }
    const double hairWidth = hair.ScaleWidth();
    const double hairHeight = hair.ScaleHeight();
    const int width = roundHalfEven(hairWidth + state.anchopelo);
    const int height = roundHalfEven(hairHeight + state.altopelo);
    if (state.difuminar) {
        // A style made from a photograph lays its own soft edge instead of the mask's.
        const QString alphaPath = services.folder.fullPath(softAlphaName(state.ficheropelo));
        BlendCache once;
        BlendCache& cache = services.blend ? *services.blend : once;
        const QImage alpha = cache.softAlpha(alphaPath);
        const QImage loadedMask = hair.Picture();
        const QImage mask = alpha.isNull() ? loadedMask : alpha;
        if (!loadHairPicture(state, hair, services, loadedMask)) {
            return false;
        }
        StretchBlend(buffers.temporal2.image(), state.posxpelo, state.posypelo, width, height, mask,
                     hair.Picture(), QSize(hair.ScaleWidth(), hair.ScaleHeight()), hair.BackColor(),
                     cache);
        buffers.temporal2.notifyChanged();
    } else {
        StretchBlt(buffers.temporal2, state.posxpelo, state.posypelo, width, height, hair, 0, 0,
                   hair.ScaleWidth(), hair.ScaleHeight(), SRCAND);
        if (!loadHairPicture(state, hair, services, hair.Picture())) {
            return false;
        }
        StretchBlt(buffers.temporal2, state.posxpelo, state.posypelo, width, height, hair, 0, 0,
                   hair.ScaleWidth(), hair.ScaleHeight(), SRCINVERT);
    }

    BitBlt(buffers.fprincipal, 0, 0, buffers.temporal2.ScaleWidth(),
           buffers.temporal2.ScaleHeight(), buffers.temporal2, 0, 0, SRCCOPY);
    return true;
}

}  // namespace

bool loadPictureInto(Surface& surface, const QString& path, CompositionServices& services) {
    // The buffer shows the picture at its top-left corner: nothing beyond its size is read.
    const PictureLoad load =
        services.pictures.load(path, PictureShown::topLeft(surface.image().size()));
    if (!load.ok()) {
        services.dialogs.MsgBox(pictureFaultMessage(load), MessageButtons::Ok,
                                MessageIcon::Critical, QString::fromUtf8(kPictureFaultTitle));
        return false;
    }
    surface.SetPicture(load.picture);
    return true;
}

bool loadHairPicture(const OverlayState& state, Surface& surface, CompositionServices& services,
                     QImage mask) {
    if (!loadPictureInto(surface, services.folder.fullPath(state.ficheropelo), services)) {
        return false;
    }
    if (!state.colorelegido) {
        return true;
    }
    if (mask.isNull()) {
        const PictureLoad load =
            services.pictures.load(services.folder.fullPath(state.ficheromascara));
        if (!load.ok()) {
            services.dialogs.MsgBox(pictureFaultMessage(load), MessageButtons::Ok,
                                    MessageIcon::Critical, QString::fromUtf8(kPictureFaultTitle));
            return false;
        }
        mask = load.picture;
    }
    HairColourCache once;
    HairColourCache& cache = services.colour ? *services.colour : once;
    surface.SetPicture(cache.recoloured(surface.Picture(), mask, *state.colorelegido));
    return true;
}

bool loadWorkingPhoto(OverlayState& state, Surface& ftrabajo, CompositionServices& services) {
    QString path;
    bool loaded = false;
    if (state.usarfotocliente && state.clienteactivo) {
        loaded = loadClientPhoto(state, ftrabajo, services, path);
    } else {
        path = workingPhotoFile(state, services.folder, {});
        loaded = loadPictureInto(ftrabajo, path, services);
    }
    if (loaded && services.ownHair) {
        if (state.colorpelopropio && state.colorelegido) {
            ftrabajo.SetPicture(
                services.ownHair->recoloured(path, ftrabajo.Picture(), *state.colorelegido));
        } else if (state.ocultarpelo) {
            ftrabajo.SetPicture(services.ownHair->hidden(path, ftrabajo.Picture()));
        }
    }
    state.fotoactual = path;
    return loaded;
}

bool DibujarPelo(OverlayState& state, PictureBuffers& buffers, CompositionServices& services) {
    if (!state.pelocargado) {
        return true;
    }
    // A rotated photo lives only in ftrabajo: reloading would undo the rotation.
    if (state.angulo == 0 && !loadWorkingPhoto(state, buffers.ftrabajo, services)) {
        return false;
    }
    if (!composeOverlay(state, buffers, services)) {
        return false;
    }
    buffers.temporal2.Cls();
    state.primeravez = false;
    if (services.composed) {
        services.composed();
    }
    return true;
}

bool RefrescarPelo(const OverlayState& state, PictureBuffers& buffers,
                   CompositionServices& services) {
    buffers.temporal2.EmptyPicture();
    return composeOverlay(state, buffers, services);
}

}  // namespace crinova
