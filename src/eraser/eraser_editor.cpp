#include "eraser/eraser_editor.h"

#include "eraser/kept_original.h"
#include "platform/raster.h"
#include "platform/rounding.h"

namespace crinova {
namespace {

constexpr int kLeftButtonAlone = 1;

void copyWhole(Surface& dest, const Surface& source) {
    BitBlt(dest, 0, 0, source.ScaleWidth(), source.ScaleHeight(), source, 0, 0, SRCCOPY);
}

}  // namespace

void EraserEditor::setBrush(Brush brush) {
    switch (brush) {
        case Brush::Fino:
            anchopincel = altopincel = 11;
            tipopincel = 0;
            break;
        case Brush::Medio:
            anchopincel = altopincel = 30;
            tipopincel = 1;
            break;
        case Brush::Grueso:
            anchopincel = altopincel = 60;
            tipopincel = 1;
            break;
    }
}

bool EraserEditor::open(const QString& path, const QImage& photo) {
    if (photo.isNull() || photo.width() > kLargestEraserPhoto ||
        photo.height() > kLargestEraserPhoto) {
        return false;
    }
    rutafoto = path;
    // The undo copy holds the previous photo's pixels: it cannot be brought back over this one.
    undoEnabled = false;
    temporal.Resize(photo.width(), photo.height());
    temporal.SetPicture(photo);
    fprincipal.Resize(photo.width(), photo.height());
    temporal2.Resize(photo.width(), photo.height());
    temporal3.Resize(photo.width(), photo.height());
    StretchBlt(fprincipal, 0, 0, temporal.ScaleWidth(), temporal.ScaleHeight(), temporal, 0, 0,
               temporal.ScaleWidth(), temporal.ScaleHeight(), SRCCOPY);
    return true;
}

void EraserEditor::mouseDown(int buttons) {
    if (buttons != kLeftButtonAlone) {
        return;
    }
    undoEnabled = true;
    if (temporal3.ScaleWidth() != fprincipal.ScaleWidth() ||
        temporal3.ScaleHeight() != fprincipal.ScaleHeight()) {
        temporal3.Resize(fprincipal.ScaleWidth(), fprincipal.ScaleHeight());
    }
    copyWhole(temporal3, fprincipal);
}

void EraserEditor::mouseMove(int buttons, double x, double y) {
    if (buttons != kLeftButtonAlone) {
        return;
    }
    if (temporal2.ScaleWidth() != fprincipal.ScaleWidth() ||
        temporal2.ScaleHeight() != fprincipal.ScaleHeight()) {
        temporal2.Resize(fprincipal.ScaleWidth(), fprincipal.ScaleHeight());
    }
    const int left = roundHalfEven16(x);
    const int top = roundHalfEven16(y);
    const auto brush = static_cast<std::size_t>(tipopincel);
    const Surface& mask = brushes.mpincel[brush];
    const Surface& colour = brushes.pincel[brush];
    copyWhole(temporal2, fprincipal);
    StretchBlt(temporal2, left, top, anchopincel, altopincel, mask, 0, 0, colour.ScaleWidth(),
               colour.ScaleHeight(), SRCAND);
    StretchBlt(temporal2, left, top, anchopincel, altopincel, colour, 0, 0, colour.ScaleWidth(),
               colour.ScaleHeight(), SRCINVERT);
    copyWhole(fprincipal, temporal2);
}

void EraserEditor::undo() {
    BitBlt(fprincipal, 0, 0, fprincipal.ScaleWidth(), fprincipal.ScaleHeight(), temporal3, 0, 0,
           SRCCOPY);
    undoEnabled = false;
}

void EraserEditor::revert() {
    const int width = temporal.ScaleWidth();
    const int height = temporal.ScaleHeight();
    StretchBlt(fprincipal, 0, 0, width, height, temporal, 0, 0, width, height, SRCCOPY);
    StretchBlt(temporal2, 0, 0, width, height, temporal, 0, 0, width, height, SRCCOPY);
}

bool EraserEditor::save(QString* error) {
    // The photograph as it came is kept before anything is written over it; without that copy
    // nothing is written.
    if (!keepOriginal(rutafoto, error)) {
        return false;
    }
    const QImage before = temporal.image().copy();
    copyWhole(temporal, fprincipal);
    if (!savePictureBmp(temporal.image(), rutafoto, error)) {
        temporal.image() = before;  // the kept copy stays what the file still holds
        return false;
    }
    return true;
}

}  // namespace crinova
