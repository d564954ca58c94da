#pragma once

#include <QImage>
#include <QRect>

namespace crinova {

// The soft edge of a selection: where a hard selection's border runs through fine strands, each
// pixel is part strand and part background, I = a F + (1 - a) B. These functions estimate the
// coverage a (the alpha) near the border and the strands' own colour F, so that a selection laid
// on another photo keeps its strands and none of its old background.

// The half-width, in pixels, of the band around the hard border in which the alpha is estimated;
// inside the selection beyond it the alpha is 255, outside 0.
inline constexpr int kSoftBand = 3;

// The alpha (Format_Grayscale8) of the hard selection `hard` (Grayscale8, non-zero selected) on
// `frame` (RGB32, the same size), by information-flow matting on the band. When `previous` is given
// (an alpha of the same frame) only the part of the band within `changed` is estimated again and
// the rest is kept: what a stroke that changed the selection there needs.
QImage softAlpha(const QImage& frame, const QImage& hard, const QImage& previous = {},
                 const QRect& changed = {});

// The strands' own colour (RGB32) where the alpha is not 0, black elsewhere: the photo itself
// where the alpha is 255; in the band the colour that, mixed with the nearby background in the
// alpha's proportion, gives the photo, leaning on the nearby fully covered colours where the alpha
// is small.
QImage strandColour(const QImage& frame, const QImage& alpha);

// `colour` laid on `photo` (both RGB32, the same size) in the proportion of `alpha`: each channel
// photo (255 - a) / 255 + colour a / 255, rounded to the nearest.
QImage layOver(const QImage& photo, const QImage& colour, const QImage& alpha);

}  // namespace crinova
