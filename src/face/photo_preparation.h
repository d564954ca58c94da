#pragma once

#include <QImage>
#include <QSize>
#include <QTransform>

#include <optional>

#include "face/eye_finder.h"

namespace crinova {

// The longest side of the reduced copy that a large photo's face is looked for on.
inline constexpr int kDetectionSide = 800;

struct PreparedPhoto {
    QImage picture;               // `target` in size, RGB32
    bool faceFound = false;       // false: the whole photo scaled to fit, centred
    std::optional<EyePair> eyes;  // where the client's eyes were found, in the original's pixels
    // How the copy was cut from the original: pixel q of the copy shows the original at
    // toOriginal.map(q) (both in pixel indices, a pixel's centre at its integer coordinates). Kept
    // so that the same copy can be made again, at another size, from the same original.
    QTransform toOriginal;
};

// A working copy of a client's photo at the main picture's size. When the eyes are found (on a
// copy reduced to kDetectionSide, mapped back to the original), the photo is scaled, turned and
// cut from the original so that the client's eyes land on `model`'s eyes: the same eye distance,
// the same midpoint, the same slope, so a tilted head comes out level. Parts of the copy that the
// photo does not reach continue the photo's own edge, softened further from it. Without a face (or
// without `model`), the whole photo is scaled to fit inside `target`, centred, on white. The
// original is never changed.
PreparedPhoto preparePhoto(const QImage& photo, const std::optional<EyePair>& model, QSize target,
                           const FaceCascades& cascades = sharedCascades());

// The same copy for eyes already known (found, or clicked by the stylist), in the photo's pixels.
PreparedPhoto preparePhotoAt(const QImage& photo, const EyePair& client, const EyePair& model,
                             QSize target);

// Where a point of the photo lands on the copy that preparePhotoAt makes for these eyes: the
// similarity that puts `client` on `model` (same eye distance, midpoint and slope).
QTransform eyeAlignment(const EyePair& client, const EyePair& model);

// A point of the copy that shows the whole photo scaled to fit inside `target` (a photo whose
// face was not found), back in the photo's own pixels.
QPointF fittedToPhoto(const QPointF& point, QSize photo, QSize target);

// The same copy `factor` times larger in each direction, from the original through the kept
// transform: the original's own detail, never an enlargement of the copy. Parts the original does
// not reach are filled as in the copy: its edge continued and softened (over `factor` times the
// distance) when the face was found, white around a photo scaled to fit.
QImage preparePhotoLarger(const QImage& original, const PreparedPhoto& prepared, int factor);

// The eyes of a photo of any size: on the photo itself up to kDetectionSide, otherwise on a reduced
// copy, with the positions given in the photo's own pixels.
EyeSearch findEyesReduced(const QImage& photo, const FaceCascades& cascades = sharedCascades());

}  // namespace crinova
