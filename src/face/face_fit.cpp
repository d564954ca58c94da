#include "face/face_fit.h"

#include <cmath>
#include <limits>

#include "platform/rounding.h"

namespace crinova {

namespace {

constexpr double kPi = 3.14159265358979323846;

QPointF midpoint(const EyePair& eyes) {
    return (eyes.left + eyes.right) / 2.0;
}

double distance(const EyePair& eyes) {
    return std::hypot(eyes.right.x() - eyes.left.x(), eyes.right.y() - eyes.left.y());
}

bool fits16(double value) {
    return std::isfinite(value) && value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

FitResult fitHair(const EyePair& model, const EyePair& client, QSize main) {
    FitResult result;
    const double modelDistance = distance(model);
    const double clientDistance = distance(client);
    if (!(modelDistance > 0) || !(clientDistance > 0)) {
        result.refusal = FitRefusal::SameEyes;
        return result;
    }
    const double s = clientDistance / modelDistance;
    const double w = main.width();
    const double h = main.height();
    // Work in 32 bits (and doubles) first, so a value past the 16-bit range is seen, not clamped.
    const double drawnWidth = roundHalfEven(w * s);
    const double drawnHeight = roundHalfEven(h * s);
    if (!fits16(drawnWidth - w) || !fits16(drawnHeight - h) || !fits16(drawnWidth) ||
        !fits16(drawnHeight)) {
        result.refusal = FitRefusal::OutOfRange;
        return result;
    }
    if (drawnWidth < kSmallestHair || drawnHeight < kSmallestHair) {
        result.refusal = FitRefusal::TooSmall;
        return result;
    }
    const QPointF from = midpoint(model);
    const QPointF to = midpoint(client);
    const double x = roundHalfEven(to.x() - from.x() * drawnWidth / w);
    const double y = roundHalfEven(to.y() - from.y() * drawnHeight / h);
    if (!fits16(x) || !fits16(y)) {
        result.refusal = FitRefusal::OutOfRange;
        return result;
    }
    HairFit fit;
    fit.anchopelo = static_cast<std::int16_t>(drawnWidth - w);
    fit.altopelo = static_cast<std::int16_t>(drawnHeight - h);
    fit.posxpelo = static_cast<std::int16_t>(x);
    fit.posypelo = static_cast<std::int16_t>(y);
    result.fit = fit;
    return result;
}

QString fitRefusalMessage(FitRefusal refusal) {
    switch (refusal) {
        case FitRefusal::None:
            return {};
        case FitRefusal::SameEyes:
            return QStringLiteral(
                "Los dos ojos están en el mismo punto: no se puede calcular el tamaño del "
                "cabello.");
        case FitRefusal::OutOfRange:
            return QStringLiteral(
                "Los ojos están tan separados que el cabello no cabe en la imagen. Acerque la "
                "foto o marque los ojos de nuevo.");
        case FitRefusal::TooSmall:
            return QStringLiteral(
                       "Los ojos están tan juntos que el cabello quedaría más pequeño de %1 "
                       "píxeles. "
                       "Amplíe la foto o marque los ojos de nuevo.")
                .arg(kSmallestHair);
    }
    return {};
}

void applyFit(const HairFit& fit, OverlayState& state) {
    state.anchopelo = fit.anchopelo;
    state.altopelo = fit.altopelo;
    state.posxpelo = fit.posxpelo;
    state.posypelo = fit.posypelo;
}

double eyeLineTilt(const EyePair& eyes) {
    return std::atan2(eyes.right.y() - eyes.left.y(), eyes.right.x() - eyes.left.x()) * 180.0 / kPi;
}

std::optional<TiltStep> levellingStep(const EyePair& eyes) {
    const double tilt = eyeLineTilt(eyes);
    if (!(std::abs(tilt) >= kLevelledTilt)) {
        return std::nullopt;
    }
    const int degrees = std::min(99, roundHalfEven(std::abs(tilt)));
    // A line turned clockwise (right eye lower) is levelled by a counter-clockwise turn, index 0.
    return TiltStep{tilt > 0 ? 0 : 1, degrees};
}

QPointF photoToScreen(const QPointF& point, QSize photo, const OverlayState& state) {
    const double sx = (photo.width() + state.anchofoto) / double(photo.width());
    const double sy = (photo.height() + state.altofoto) / double(photo.height());
    return {state.posxfoto + point.x() * sx, state.posyfoto + point.y() * sy};
}

QPointF screenToPhoto(const QPointF& point, QSize photo, const OverlayState& state) {
    const double sx = (photo.width() + state.anchofoto) / double(photo.width());
    const double sy = (photo.height() + state.altofoto) / double(photo.height());
    return {(point.x() - state.posxfoto) / sx, (point.y() - state.posyfoto) / sy};
}

EyePair photoToScreen(const EyePair& eyes, QSize photo, const OverlayState& state) {
    EyePair screen{photoToScreen(eyes.left, photo, state), photoToScreen(eyes.right, photo, state)};
    if (screen.left.x() > screen.right.x()) {
        std::swap(screen.left, screen.right);  // a mirrored photo swaps the sides
    }
    return screen;
}

QPointF turnedPoint(const QPointF& point, const QPointF& centre, double radians) {
    // RotarImagen gives the destination offset d the colour of the source at d turned by +phi
    // (y down), so a source offset lands at its turn by -phi.
    const double dx = point.x() - centre.x();
    const double dy = point.y() - centre.y();
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return {centre.x() + dx * c + dy * s, centre.y() - dx * s + dy * c};
}

bool clicksTooClose(const QPointF& first, const QPointF& second) {
    return std::hypot(second.x() - first.x(), second.y() - first.y()) < kClosestClicks;
}

bool clickedLineTooSteep(const EyePair& clicked) {
    return std::abs(eyeLineTilt(clicked)) > kSteepestClickedLine;
}

}  // namespace crinova
