#include "face_geometry.h"

#include <QPolygonF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "paint_utils.h"

namespace crinova::samples {

using namespace head;

QPointF mirrorX(const QPointF& p) {
    return {2.0 * kCentreX - p.x(), p.y()};
}

QPointF skullPoint(double angle, double growTop, double growSide) {
    const double s = std::sin(angle);
    const double grow = lerp(growSide, growTop, s * s);
    return {kCentreX + (kSkullRx + grow) * std::cos(angle), kSkullCentreY - (kSkullRy + grow) * s};
}

double hairlineY(double x) {
    const double d = std::min(std::abs(x - kCentreX) / kTempleDx, 1.0);
    return kHairlineY + 42.0 * d * d * d;
}

QPainterPath headOutline(bool broadJaw) {
    std::vector<QPointF> keys;
    for (int i = 0; i <= 12; ++i) {
        keys.push_back(skullPoint(std::numbers::pi * i / 12.0, 0.0, 0.0));
    }
    // Jaw from the left cheek round the chin to the right cheek.
    const double w = broadJaw ? 3.0 : 0.0;
    const std::vector<QPointF> jaw = {
        {86 - w * 0.3, 160},  {96 - w, 192},        {112 - w, 212},
        {131 - w * 0.5, 224}, {150, 227 + w * 0.4}, {169 + w * 0.5, 224},
        {188 + w, 212},       {204 + w, 192},       {214 + w * 0.3, 160}};
    keys.insert(keys.end(), jaw.begin(), jaw.end());
    return smoothPath(keys, true);
}

QPainterPath earPath(int side) {
    std::vector<QPointF> keys = {{208, 140}, {215, 134}, {222, 136}, {225, 146},
                                 {223, 162}, {217, 176}, {209, 181}, {205, 162}};
    if (side < 0) {
        std::transform(keys.begin(), keys.end(), keys.begin(), mirrorX);
    }
    return smoothPath(keys, true);
}

QPainterPath neckPath(bool broad) {
    const double w = broad ? 5.0 : 0.0;
    QPainterPath path;
    path.moveTo(127 - w, 185);
    path.lineTo(173 + w, 185);
    path.cubicTo(173 + w, 215, 175 + w, 240, 184 + w, 262);
    path.lineTo(116 - w, 262);
    path.cubicTo(125 - w, 240, 127 - w, 215, 127 - w, 185);
    path.closeSubpath();
    return path;
}

QPainterPath torsoPath() {
    QPainterPath path;
    path.moveTo(124, 246);
    path.cubicTo(118, 262, 92, 267, 60, 274);
    path.cubicTo(32, 280, 14, 294, 8, 324);
    path.lineTo(292, 324);
    path.cubicTo(286, 294, 268, 280, 240, 274);
    path.cubicTo(208, 267, 182, 262, 176, 246);
    path.closeSubpath();
    return path;
}

QPainterPath bodyPath(bool broad) {
    return neckPath(broad).united(torsoPath());
}

QPainterPath necklineScoop() {
    QPainterPath path;
    path.addEllipse(QPointF(kCentreX, 244), 52, 58);
    return path;
}

QPainterPath ownHairCap() {
    QPolygonF polygon;
    polygon << QPointF(kCentreX - kTempleDx - 2.0, kCapBottomY);
    for (double x = kCentreX - kTempleDx; x <= kCentreX + kTempleDx + 0.01; x += 2.0) {
        polygon << QPointF(x, hairlineY(x));
    }
    polygon << QPointF(kCentreX + kTempleDx + 2.0, kCapBottomY);
    // Back over the crown, a little outside the skull: the hair has some thickness. Over the
    // ears the edge rises, as hair combed back does.
    const double low = std::asin((kCapBottomY - 5.0 - kSkullCentreY) / (kSkullRy + 3.0));
    for (int i = 0; i <= 40; ++i) {
        polygon << skullPoint(lerp(-low, std::numbers::pi + low, i / 40.0), 3.0, 3.0);
    }
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

QPainterPath bareFaceArea(bool fringe, double hairlineDrop) {
    QPolygonF polygon;
    const double side = 53.0;
    for (double x = kCentreX - side; x <= kCentreX + side + 0.01; x += 2.0) {
        const double y = hairlineY(x) + 2.0 + hairlineDrop;
        polygon << QPointF(x, fringe ? std::max(y, kFringeLimitY) : y);
    }
    const std::vector<QPointF> cheeksAndChin = {{kCentreX + side, polygon.last().y()},
                                                {204.5, 150},
                                                {204, 172},
                                                {198, 194},
                                                {185, 212},
                                                {166, 225},
                                                {150, 229},
                                                {134, 225},
                                                {115, 212},
                                                {102, 194},
                                                {96, 172},
                                                {95.5, 150},
                                                {kCentreX - side, polygon.first().y()}};
    polygon << smoothCurve(cheeksAndChin, 6);
    QPainterPath face;
    face.addPolygon(polygon);
    face.closeSubpath();

    // Neck and the opening of the top: hair may fall beside them, not over them.
    QPainterPath neck;
    neck.addPolygon(
        QPolygonF({QPointF(127, 200), QPointF(173, 200), QPointF(175, 240), QPointF(180, 258),
                   QPointF(190, 330), QPointF(110, 330), QPointF(120, 258), QPointF(125, 240)}));
    neck.closeSubpath();
    return face.united(neck);
}

}  // namespace crinova::samples
