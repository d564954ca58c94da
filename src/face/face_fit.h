#pragma once

#include <QPointF>
#include <QSize>
#include <QString>

#include <cstdint>
#include <optional>

#include "face/eye_finder.h"
#include "overlay/overlay_state.h"

namespace crinova {

inline const char* const kFitTitle = "Ajustar Cabello a la Cara";
inline const char* const kEyesNotFoundMessage =
    "No se han encontrado los ojos en la foto. Haga clic en el centro del ojo izquierdo y "
    "después en el del derecho.";

// The hair's size deltas and position that put the model's eyes on the client's.
struct HairFit {
    std::int16_t anchopelo = 0;
    std::int16_t altopelo = 0;
    std::int16_t posxpelo = 0;
    std::int16_t posypelo = 0;
};

enum class FitRefusal {
    None,
    SameEyes,    // the two eyes are one point (no distance to scale by)
    OutOfRange,  // a size or a position would leave the 16-bit range
    TooSmall,    // the hair would be drawn smaller than kSmallestHair pixels
};

// The smallest width or height the fitted hair may be drawn at.
inline constexpr int kSmallestHair = 8;

struct FitResult {
    std::optional<HairFit> fit;  // set exactly when `refusal` is None
    FitRefusal refusal = FitRefusal::None;
};

// The fit in screen coordinates for a hair picture of `main` (W x H, the main picture's size)
// drawn for `model`'s eyes: s = client eye distance / model eye distance; anchopelo =
// round(W s) - W and altopelo = round(H s) - H (one scale, so the style keeps its proportions);
// then the position that puts the midpoint of the model's eyes, scaled as the hair is drawn
// ((W + anchopelo) / W across, (H + altopelo) / H down), on the midpoint of the client's eyes.
// Every rounding is half to even.
FitResult fitHair(const EyePair& model, const EyePair& client, QSize main);

// The Spanish sentence for a refused fit.
QString fitRefusalMessage(FitRefusal refusal);

// Puts a fit into the overlay state; nothing else changes.
void applyFit(const HairFit& fit, OverlayState& state);

// One rotation step that levels a tilted eye line, as btngirar takes it: index 0 turns the photo
// counter-clockwise on screen, index 1 clockwise, by `degrees` (a whole number, 1 to 99).
struct TiltStep {
    int index = 0;
    int degrees = 0;
};

// The smallest tilt, in degrees, that is levelled.
inline constexpr double kLevelledTilt = 1.5;

// The angle of the eye line from `left` to `right` on the screen (y down), in degrees: positive
// when the right eye sits lower, i.e. the line is turned clockwise.
double eyeLineTilt(const EyePair& eyes);

// The step that levels `eyes` when their line is turned by kLevelledTilt degrees or more: the
// nearest whole number of degrees (half to even), counter-clockwise for a line turned clockwise.
std::optional<TiltStep> levellingStep(const EyePair& eyes);

// Where a point of the working photo (pixels of ftrabajo, natural size `photo`) shows on the
// screen, and back, through posxfoto, posyfoto, anchofoto and altofoto.
QPointF photoToScreen(const QPointF& point, QSize photo, const OverlayState& state);
QPointF screenToPhoto(const QPointF& point, QSize photo, const OverlayState& state);
EyePair photoToScreen(const EyePair& eyes, QSize photo, const OverlayState& state);

// Where a point of a picture lands when the picture is turned by `radians` about `centre`, the way
// RotarImagen turns it (a positive angle is counter-clockwise on screen).
QPointF turnedPoint(const QPointF& point, const QPointF& centre, double radians);

// Two clicked eyes closer than this many pixels are refused.
inline constexpr double kClosestClicks = 5.0;
inline const char* const kClicksTooCloseMessage =
    "Los dos clics están demasiado juntos. Haga clic en el centro del ojo izquierdo y después en "
    "el del derecho.";
bool clicksTooClose(const QPointF& first, const QPointF& second);

// Two clicked eyes whose line is turned more than this many degrees are refused: they are not a
// pair of eyes (the top of the head and the chin, say), and levelling them would turn the photo on
// its side.
inline constexpr double kSteepestClickedLine = 30.0;
inline const char* const kClicksTooSteepMessage =
    "La línea entre los dos clics está girada más de 30 grados: no son los dos ojos. Haga clic en "
    "el centro del ojo izquierdo y después en el del derecho.";
bool clickedLineTooSteep(const EyePair& clicked);

// What the stylist is asked to click next in the two-click mode.
inline const char* const kClickLeftEye = "Haga clic en el centro del ojo izquierdo";
inline const char* const kClickRightEye = "Haga clic en el centro del ojo derecho";

}  // namespace crinova
