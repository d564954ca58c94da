#pragma once

#include <QImage>
#include <QPointF>
#include <vector>

#include "segmentation/hair_selection.h"

namespace crinova {

// Hiding a client's own hair on her photo, so that a style tried on is not a wig on her hair: the
// hair (a selection on the aligned photo) and a margin around it become backdrop, or skin where
// they covered the forehead. Lengths are in eye distances d; pictures are the frame's size.

// The face oval, fixed to the eyes: centre 0.15 d below the middle of the eye line, half-axes
// 1.12 d along the eye line and 1.30 d across it, turned with the eye line. Hidden hair inside it
// becomes skin, outside it backdrop.
struct FaceOval {
    QPointF centre;
    double halfWidth = 0;
    double halfHeight = 0;
    double angle = 0;  // of the eye line, radians (y down)

    // How much of the pixel whose centre is (x, y) lies inside, 0 to 1 (one pixel of soft edge).
    double coverage(double x, double y) const;
};
FaceOval faceOval(const EyePair& eyes);

// Less hair than this, in squared eye distances, is no hair to hide (a bald client, a photo with
// the hair out of sight).
inline constexpr double kLeastHair = 0.15;
bool hairToHide(const AlignedPhoto& photo, const QImage& hair);

// The region to hide (Format_Grayscale8, 255 in, 0 out), from `hair` (the selection, Grayscale8,
// non-zero selected): the hair with its small holes closed; the pixels of the hair's colours
// within 15 pixels of it that lie in the head area and are not skin; all of it grown by 4 pixels;
// and, where that reaches the photo's edge, the pixels beyond the photo (photo.photoArea) that
// preparation made by repeating that edge.
QImage ownHairRegion(const AlignedPhoto& photo, const QImage& hair);

// The photo (RGB32) with `region` filled; no pixel outside the region changes. Outside the face
// oval the fill is the backdrop's: from the backdrop known within 45 pixels of the region (not
// skin, not the body below the chin, not the region, inside the photo) a planar colour trend,
// plus the remaining differences interpolated smoothly from the region's edge inwards, plus fine
// texture matched to the backdrop's at three scales. Inside the oval it is skin: the visible skin
// of the upper face interpolated smoothly, plus its fine grain. The texture comes from a fixed
// seed, so the same photo and region give the same pixels.
QImage fillOwnHair(const AlignedPhoto& photo, const QImage& region);

// A client's own hair, selected and hidden: the selection (with the stylist's strokes) and what
// follows from it. The selection is corrected from outside (the selection editor) and update()
// then hides again.
class OwnHair {
  public:
    // Selects the hair on `photo` (the automatic selection, then `strokes` replayed) and hides it.
    void start(const AlignedPhoto& photo, const std::vector<Stroke>& strokes = {});
    bool started() const { return selection_.started(); }
    // After the selection changed: the region and the fill again. Pixels under a "not hair"
    // stroke are never in the region.
    void update();

    HairSelection& selection() { return selection_; }
    const HairSelection& selection() const { return selection_; }
    // False when there is no hair to hide: hidden() is then the photo itself.
    bool hairFound() const { return hairFound_; }
    const QImage& region() const { return region_; }
    const QImage& hidden() const { return hidden_; }

  private:
    HairSelection selection_;
    bool hairFound_ = false;
    QImage region_;
    QImage hidden_;
};

}  // namespace crinova
