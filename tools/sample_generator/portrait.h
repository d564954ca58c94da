#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSize>

#include <QPointF>
#include <QTransform>

#include <optional>
#include <utility>

#include "hair_styles.h"

namespace crinova::samples {

// Colours of one person in the sample photos.
struct PersonLook {
    Person person = Person::Woman;
    QColor skin{0xe6, 0xb4, 0x93};
    QColor eyes{0x5e, 0x7a, 0x4c};
    QColor lips{0xc4, 0x68, 0x70};
    QColor ownHair{0x3d, 0x2a, 0x20};  // brows and the smoothed-back hair
    QColor top{0x3f, 0x7f, 0x85};
    QColor background{0xe8, 0xe3, 0xdd};
};

enum class PortraitKind {
    Base,       // hair smoothed back, ready to try styles on
    Reference,  // the same model with her own hair, as she came in
};

PersonLook modelLook();
HairStyle modelOwnHairStyle();

QImage drawPortrait(PortraitKind kind);

// Any person, front view. `hair`, if given, is worn over the smoothed-back hair. The 300 x 320
// frame is scaled to fit `size`, keeping the shoulders on the bottom edge.
QImage drawPortrait(const PersonLook& look, const std::optional<HairStyle>& hair, QSize size);

// The same portrait with the 300 x 320 frame placed by `frame` on a picture of `size`: any size,
// position, scale or tilt, for client photos as they come from a camera.
QImage drawPortrait(const PersonLook& look, const std::optional<HairStyle>& hair, QSize size,
                    const QTransform& frame);

// The frame scaled to fit `size`, shoulders on the bottom edge: the sample folder's portraits.
QTransform fittedFrame(QSize size);

// The frame scaled by `scale` and turned by `tiltDegrees` (clockwise on screen when positive)
// about the midpoint of the eyes, which lands on `eyeMidpoint` of the picture.
QTransform placedFrame(QPointF eyeMidpoint, double scale, double tiltDegrees = 0);

// Where the pupils are drawn with `frame`, in the picture's pixels (pixel (i, j) is the point
// (i, j), its centre (i + 0.5, j + 0.5) in painter terms); the one further left on the picture
// first.
std::pair<QPointF, QPointF> pupilCentres(const QTransform& frame);

// Helpers shared with the side and nape views.
void paintBackdrop(QPainter& painter, const QRectF& area, const QColor& colour);
void fillSkin(QPainter& painter, const QPainterPath& area, const QColor& skin,
              const QPointF& litCentre, double radius);
void paintTop(QPainter& painter, const QPainterPath& top, const QColor& colour);

}  // namespace crinova::samples
