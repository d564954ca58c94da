#pragma once

#include <QImage>
#include <QPolygonF>
#include <memory>
#include <vector>

#include "face/eye_finder.h"
#include "segmentation/strokes.h"

namespace crinova {

// A photo prepared to the model's eyes: the frame a selection works on.
struct AlignedPhoto {
    QImage frame;         // RGB32
    EyePair eyes;         // where the eyes are on the frame; the eye line is level
    QPolygonF photoArea;  // the part of the frame the photo covers (frame pixels); empty: all
    // The photo's fine detail (Grayscale8, the frame's size, kDetailGain grey levels for one of
    // the photo's), measured before the photo was reduced to the frame, where strands still show
    // as strands; null: measured on the frame itself.
    QImage detail;
};
inline constexpr int kDetailGain = 16;

// A photo prepared for a selection: the frame as preparePhotoAt makes it for `eyes` (the photo's
// own pixels) and `model` (the frame's), where the photo covers it, and its fine detail: the
// difference between the photo's lightness and its slight blur, at a scale where the eyes lie at
// most four frame eye distances apart, carried to the frame the same way.
AlignedPhoto alignPhoto(const QImage& photo, const EyePair& eyes, const EyePair& model, QSize size);

// The starting labels (Format_Grayscale8, PixelLabel values) for the hair around a face. All
// lengths are in eye distances d, so any photo size behaves alike; m is the eyes' midpoint.
//   - probably hair: an ellipse centred 0.25 d above m, half-axes 2.0 d across and 2.4 d down;
//   - probably background: everything else; skin-coloured pixels (a colour model of the cheeks,
//     0.35 d to 0.85 d below the eyes) connected to the face; a neck column 1.4 d wide below
//     1.7 d under the eyes; smooth pixels (a fine-detail energy under a quarter of the crown's,
//     as an out-of-focus background is);
//   - certainly background: bands 0.15 d wide along the top and the upper sides; whatever lies
//     outside the photo; an inner-face box from 0.22 d outside each eye, 0.25 d above the eyes
//     to 1.7 d below;
//   - certainly hair: the crown, a box 0.9 d wide from 1.8 d to 1.3 d above m, without its skin
//     and its smooth pixels (under half the crown's median detail).
QImage hairSeeds(const AlignedPhoto& photo);

// The face's skin (Format_Grayscale8, 255 skin, 0 not): the pixels of the cheeks' colours that are
// connected to the inner face, as the seeds take it.
QImage faceSkin(const AlignedPhoto& photo);

// A selection on an aligned photo: GrabCut over the labels, recomputed after every stroke, with
// the soft edge and the strands' colour. Plain data in, pictures out: the windows that select
// hair (a new style, a client's own hair) and the eraser share it.
//
// The cut looks at lightness, at the colour along the axis that parts the certain hair from the
// certain background, and at fine detail (strands have it, a blurred background does not). After
// each cut only the pieces holding a certainly selected pixel stay, and holes smaller than 0.1 d²
// without a certainly unselected pixel are filled.
class HairSelection {
  public:
    HairSelection();
    ~HairSelection();
    HairSelection(const HairSelection&) = delete;
    HairSelection& operator=(const HairSelection&) = delete;

    // Starts over on `photo` from `seeds` (labels of the frame's size): the models are learnt from
    // the seeds, then cut three times. Strokes are dropped.
    void start(const AlignedPhoto& photo, const QImage& seeds);
    // The same from hairSeeds(photo).
    void start(const AlignedPhoto& photo);
    bool started() const;

    // A stroke becomes certain labels; the cut runs twice more from the current state.
    void addStroke(const Stroke& stroke);
    // Takes back the last stroke: the selection is again what it was before it. False when there
    // is none.
    bool undo();
    // Drops every stroke: the selection is again the automatic one.
    void reset();
    const std::vector<Stroke>& strokes() const;

    const AlignedPhoto& photo() const;
    // The current labels (Grayscale8 PixelLabel values, after the last cut).
    QImage labels() const;
    // The selection: Grayscale8, 255 selected, 0 not.
    QImage hardMask() const;
    // Its soft edge (softAlpha) and the strands' colour (strandColour).
    QImage alpha() const;
    QImage colour() const;

  private:
    struct State;
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace crinova
