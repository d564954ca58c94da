#pragma once

#include <QPainterPath>
#include <QPointF>
#include <QSize>

namespace crinova::samples {

// Every front picture of the model (portraits and hair styles) uses this frame, so a hair style
// drawn on its own lands exactly on the head of the portrait.
inline constexpr int kFrameWidth = 300;
inline constexpr int kFrameHeight = 320;

inline QSize frameSize() {
    return {kFrameWidth, kFrameHeight};
}

namespace head {
inline constexpr double kCentreX = 150.0;
inline constexpr double kSkullCentreY = 128.0;  // the skull is an ellipse around this point
inline constexpr double kSkullRx = 66.0;
inline constexpr double kSkullRy = 70.0;
inline constexpr double kTopY = kSkullCentreY - kSkullRy;
inline constexpr double kChinY = 227.0;
inline constexpr double kHairlineY = 88.0;    // forehead hairline at the centre
inline constexpr double kTempleDx = 58.0;     // the hairline turns down at the temples here
inline constexpr double kCapBottomY = 136.0;  // the model's own smoothed-back hair stops here
inline constexpr double kBrowY = 132.0;
inline constexpr double kEyeY = 146.0;
inline constexpr double kEyeDx = 26.0;
inline constexpr double kNoseY = 180.0;
inline constexpr double kMouthY = 200.0;
inline constexpr double kFringeLimitY = 127.0;  // a fringe stops here, just above the brows
}  // namespace head

QPointF mirrorX(const QPointF& p);

// Point of the skull ellipse at `angle` (radians, 0 = right, pi/2 = top), pushed outwards by a
// hair thickness that blends from `growSide` at the temples to `growTop` at the crown.
QPointF skullPoint(double angle, double growTop, double growSide);

double hairlineY(double x);

QPainterPath headOutline(bool broadJaw = false);  // a man's jaw is a little wider
QPainterPath earPath(int side);                   // side: -1 left, +1 right, as seen in the picture
QPainterPath neckPath(bool broad = false);        // broad: a man's thicker neck
QPainterPath torsoPath();
QPainterPath bodyPath(bool broad = false);  // neck and torso as one skin area
QPainterPath necklineScoop();

// The model's own hair, combed tightly back: every hair style must cover it.
QPainterPath ownHairCap();

// Face, neck and chest that hair must never hide (eyes, nose and mouth included). A fringe may
// come down to just above the brows; `hairlineDrop` lets hair reach that far below the hairline.
QPainterPath bareFaceArea(bool fringe, double hairlineDrop = 0.0);

}  // namespace crinova::samples
