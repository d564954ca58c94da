#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QString>

#include <optional>

#include "face/eye_finder.h"

namespace crinova {

// Where a new client's prepared photo puts the eyes: the main picture's size and, when known, the
// model's eyes on it (without them a photo is only scaled to fit).
struct EyeTarget {
    QSize picture{300, 320};
    std::optional<EyePair> eyes;
};

// The eyes the guide aims at on `target.picture`: the model's, or without them those of a portrait
// framed as the styles are drawn (eyes 0.1733 of the width apart, centred, 0.456 of the height
// down).
EyePair targetEyes(const EyeTarget& target);

// The share of the live picture's height (or width, when that is the tighter) that the main
// picture's frame takes in the guide. The rest is margin: a face a little small still fills the
// prepared photo.
inline constexpr double kGuideShare = 0.8;
// How far each eye may sit from its mark, as a share of the marks' distance.
inline constexpr double kMarkTolerance = 0.15;

// The framing guide over a live picture, in the live picture's own pixels as the camera sees it
// (the window shows it mirrored, guide and all). `area` is the main picture's frame scaled by
// kGuideShare to fit the live picture and centred; the marks are the target's eyes in it; the oval,
// where the face goes, is centred a little above the marks' midpoint (0.07 of their distance d),
// 2.6 d wide and 3.4 d high. `tolerance` is kMarkTolerance d.
struct FramingGuide {
    QRectF area;
    EyePair marks;
    QRectF oval;
    double tolerance = 0;
};

FramingGuide framingGuide(QSize live, const EyeTarget& target);

// The longer side, in pixels, of the reduced copy a live frame is read on.
inline constexpr int kGuideSide = 400;

enum class Exposure {
    Good,
    Dark,         // mean brightness below 45 of 255
    Overexposed,  // mean brightness above 215, or more than 30 % of the pixels at 250 or more
};

// What the guide reads on one live frame.
struct FrameReading {
    QSize size;  // of the frame read
    Exposure exposure = Exposure::Good;
    std::optional<EyePair> eyes;  // in the frame's pixels
    // Hair over the forehead, down to the brows: more than 45 % of the band just above them, from
    // 0.5 d to 0.35 d above the eyes (d their distance; from d/10 left of the left eye to d/10
    // right of the right one), is unlike the skin just below the eyes (0.3 d to 0.6 d below,
    // 0.6 d wide): darker than 0.7 of its brightness, or of another hue (red and green shares,
    // r/(r+g+b) and g/(r+g+b), 0.05 or more apart). A high fringe that leaves the band bare is
    // no matter: the styles cover it. Judged only when the eyes are found.
    bool foreheadCovered = false;
};

// Reads a live frame on a copy reduced to at most kGuideSide on its longer side: its exposure, the
// eyes (the eye finder's, without its search for a tilted head, faces of a sixth of the copy's
// shorter side and more, sizes 15 % apart) and the forehead. Any frame is accepted; a null one
// reads as dark with no eyes.
FrameReading readFrame(const QImage& frame, const FaceCascades& cascades = sharedCascades());

enum class FramingHint {
    Dark,
    Overexposed,
    LookAtCamera,  // no eyes found
    ComeCloser,    // the eyes are less than 0.8 of the marks' distance apart
    MoveBack,      // more than 1.2 of it
    OntoMarks,     // the right size, the wrong place
    HairBack,      // on the marks, with hair over the forehead
    Ready,
};

// Green when `onMarks`: each eye within the guide's tolerance of its mark. The hint speaks of the
// light first, then of finding the face, its size, its place, and the hair.
struct FramingVerdict {
    bool onMarks = false;
    FramingHint hint = FramingHint::LookAtCamera;
};

FramingVerdict judgeFraming(const FrameReading& reading, const FramingGuide& guide);

// The short Spanish sentence the window shows for a hint.
QString framingHintText(FramingHint hint);

}  // namespace crinova
