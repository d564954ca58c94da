#include "portrait.h"

#include <QLinearGradient>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "face_geometry.h"
#include "hair_render.h"
#include "paint_utils.h"

namespace crinova::samples {

using namespace head;

namespace {

const QColor kShadow(40, 20, 12);

// The iris (and pupil) sits this far from the eye's centre, outwards and down.
constexpr double kIrisDx = 0.3;
constexpr double kIrisDy = 0.4;

void paintBody(QPainter& p, const PersonLook& look) {
    QLinearGradient skin(0, 185, 0, 320);
    skin.setColorAt(0.0, look.skin.darker(108));
    skin.setColorAt(0.5, look.skin.darker(101));
    skin.setColorAt(1.0, look.skin.darker(106));
    const bool broad = look.person == Person::Man;
    p.fillPath(bodyPath(broad), skin);

    // The neck is round: darker at its sides and in the shadow of the jaw.
    QLinearGradient sides(116, 0, 184, 0);
    sides.setColorAt(0.0, withAlpha(kShadow, 0.3));
    sides.setColorAt(0.28, withAlpha(kShadow, 0.0));
    sides.setColorAt(0.72, withAlpha(kShadow, 0.0));
    sides.setColorAt(1.0, withAlpha(kShadow, 0.3));
    p.fillPath(neckPath(broad), sides);
    QRadialGradient jaw(QPointF(kCentreX, 208), 46);
    jaw.setColorAt(0.0, withAlpha(kShadow, 0.5));
    jaw.setColorAt(0.55, withAlpha(kShadow, 0.22));
    jaw.setColorAt(1.0, withAlpha(kShadow, 0.0));
    p.fillPath(neckPath(broad), jaw);

    QPainterPath bones;
    bones.moveTo(132, 266);
    bones.cubicTo(114, 270, 96, 267, 76, 272);
    bones.moveTo(168, 266);
    bones.cubicTo(186, 270, 204, 267, 224, 272);
    p.strokePath(bones, QPen(withAlpha(kShadow, 0.16), 2.5, Qt::SolidLine, Qt::RoundCap));

    paintTop(p, torsoPath().subtracted(necklineScoop()), look.top);
}

void paintEars(QPainter& p, const PersonLook& look) {
    for (int side : {-1, 1}) {
        const double x = kCentreX + side * 72.0;
        QLinearGradient shade(kCentreX + side * 56.0, 0, x, 0);
        shade.setColorAt(0.0, look.skin.darker(125));
        shade.setColorAt(0.6, look.skin.darker(104));
        shade.setColorAt(1.0, look.skin.darker(114));
        p.fillPath(earPath(side), shade);
        QPainterPath fold;
        fold.moveTo(kCentreX + side * 64.0, 142);
        fold.cubicTo(kCentreX + side * 71.0, 140, kCentreX + side * 72.0, 152,
                     kCentreX + side * 68.0, 160);
        fold.cubicTo(kCentreX + side * 65.0, 166, kCentreX + side * 67.0, 172,
                     kCentreX + side * 63.0, 176);
        p.strokePath(fold,
                     QPen(withAlpha(look.skin.darker(150), 0.6), 1.4, Qt::SolidLine, Qt::RoundCap));
    }
}

void paintFace(QPainter& p, const PersonLook& look) {
    const bool man = look.person == Person::Man;
    const QPainterPath face = headOutline(man);
    fillSkin(p, face, look.skin, QPointF(143, 128), 108);
    for (int side : {-1, 1}) {
        QRadialGradient cheek(QPointF(kCentreX + side * 31.0, 178), 21);
        const double blush = look.person == Person::Man ? 0.06 : 0.16;
        cheek.setColorAt(0.0, withAlpha(look.lips, blush));
        cheek.setColorAt(1.0, withAlpha(look.lips, 0.0));
        p.fillPath(face, cheek);
    }
    // Soft shadow down the jaw line gives the face its roundness.
    QRadialGradient jaw(QPointF(kCentreX, 150), 86);
    jaw.setColorAt(0.7, withAlpha(kShadow, 0.0));
    jaw.setColorAt(1.0, withAlpha(kShadow, 0.16));
    p.fillPath(face, jaw);
    if (man) {
        // A shaved beard leaves a faint shadow on the chin, jaw and upper lip.
        QRadialGradient beard(QPointF(kCentreX, 236), 60);
        beard.setColorAt(0.0, withAlpha(look.ownHair, 0.24));
        beard.setColorAt(0.55, withAlpha(look.ownHair, 0.17));
        beard.setColorAt(1.0, withAlpha(look.ownHair, 0.0));
        p.fillPath(face, beard);
        QRadialGradient moustache(QPointF(kCentreX, 190), 18);
        moustache.setColorAt(0.0, withAlpha(look.ownHair, 0.14));
        moustache.setColorAt(1.0, withAlpha(look.ownHair, 0.0));
        p.setPen(Qt::NoPen);
        p.setBrush(moustache);
        p.drawEllipse(QPointF(kCentreX, 190), 18, 7);
    }
}

void paintBrow(QPainter& p, const PersonLook& look, int side) {
    const bool man = look.person == Person::Man;
    const double cx = kCentreX + side * kEyeDx;
    // A man's brows sit lower and straighter.
    const double drop = man ? 2.0 : 0.0;
    const QPolygonF line = quadCurve({cx - side * 14.0, kBrowY + 3.0 + drop},
                                     {cx + side * 5.0, kBrowY - (man ? 3.0 : 6.5)},
                                     {cx + side * 17.0, kBrowY + 1.0 + drop}, 20);
    QPolygonF shape;
    QPolygonF underside;
    for (int i = 0; i < line.size(); ++i) {
        const double u = double(i) / (line.size() - 1);
        const QPointF along =
            unitVector(line[std::min(i + 1, int(line.size()) - 1)] - line[std::max(i - 1, 0)]);
        const QPointF normal(-along.y(), along.x());
        const double half = lerp(man ? 2.8 : 2.2, man ? 1.3 : 0.6, std::pow(u, 1.3));
        shape << line[i] - normal * half;
        underside.prepend(line[i] + normal * half);
    }
    shape << underside;
    QPainterPath brow;
    brow.addPolygon(shape);
    brow.closeSubpath();
    p.fillPath(brow, withAlpha(look.ownHair, 0.8));
    Rng rng(side > 0 ? 11u : 23u);
    QPainterPath hairs;
    for (int k = 0; k < 28; ++k) {
        const QPointF at = line[int(rng.uniform() * (line.size() - 1))];
        hairs.moveTo(at + QPointF(-side * 1.5, 1.2));
        hairs.lineTo(at + QPointF(side * 2.0, -1.2) + QPointF(0, rng.range(-0.8, 0.8)));
    }
    p.strokePath(hairs, QPen(withAlpha(look.ownHair.darker(130), 0.6), 0.8));
}

void paintEye(QPainter& p, const PersonLook& look, int side) {
    const QPointF c(kCentreX + side * kEyeDx, kEyeY);
    const QPointF outer = c + QPointF(side * 13.0, -1.5);
    const QPointF inner = c + QPointF(-side * 12.0, 0.8);
    QPainterPath upper;
    upper.moveTo(inner);
    upper.cubicTo(inner + QPointF(side * 5.0, -8.0), outer + QPointF(-side * 8.0, -8.5), outer);
    QPainterPath almond = upper;
    almond.cubicTo(outer + QPointF(-side * 6.0, 5.5), inner + QPointF(side * 6.0, 5.5), inner);
    almond.closeSubpath();

    QRadialGradient socket(c + QPointF(0, -4), 22);
    socket.setColorAt(0.0, withAlpha(kShadow, 0.16));
    socket.setColorAt(1.0, withAlpha(kShadow, 0.0));
    p.setBrush(socket);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c + QPointF(0, -4), 22, 22);

    QPainterPath crease;
    crease.moveTo(inner + QPointF(side * 2.0, -6.0));
    crease.cubicTo(c + QPointF(-side * 4.0, -15.0), c + QPointF(side * 9.0, -14.0),
                   outer + QPointF(-side * 1.0, -5.5));
    p.strokePath(crease,
                 QPen(withAlpha(look.skin.darker(150), 0.5), 1.1, Qt::SolidLine, Qt::RoundCap));

    QLinearGradient white(0, c.y() - 8, 0, c.y() + 5);
    white.setColorAt(0.0, QColor(0xd4, 0xcb, 0xc6));
    white.setColorAt(1.0, QColor(0xf6, 0xf2, 0xef));
    p.fillPath(almond, white);

    p.save();
    p.setClipPath(almond);
    const QPointF irisCentre = c + QPointF(side * kIrisDx, kIrisDy);
    QRadialGradient iris(irisCentre, 6.6);
    iris.setColorAt(0.0, look.eyes.lighter(150));
    iris.setColorAt(0.55, look.eyes);
    iris.setColorAt(1.0, look.eyes.darker(180));
    p.setBrush(iris);
    p.drawEllipse(irisCentre, 6.6, 6.6);
    p.setBrush(QColor(0x18, 0x12, 0x12));
    p.drawEllipse(irisCentre, 2.7, 2.7);
    QLinearGradient lid(0, c.y() - 8, 0, c.y() - 1);
    lid.setColorAt(0.0, withAlpha(kShadow, 0.5));
    lid.setColorAt(1.0, withAlpha(kShadow, 0.0));
    p.fillPath(almond, lid);
    p.restore();

    p.setBrush(withAlpha(Qt::white, 0.9));
    p.drawEllipse(c + QPointF(-1.6, -2.0), 1.3, 1.3);
    p.setBrush(withAlpha(Qt::white, 0.45));
    p.drawEllipse(c + QPointF(2.2, 1.8), 0.6, 0.6);

    const QColor liner(0x2a, 0x1c, 0x16);
    p.strokePath(upper, QPen(liner, 1.7, Qt::SolidLine, Qt::RoundCap));
    QPainterPath lower;
    lower.moveTo(outer);
    lower.cubicTo(outer + QPointF(-side * 6.0, 5.5), inner + QPointF(side * 6.0, 5.5), inner);
    p.strokePath(lower, QPen(withAlpha(look.skin.darker(160), 0.45), 0.8));
    if (look.person != Person::Man) {
        QPainterPath lashes;
        lashes.moveTo(outer);
        lashes.lineTo(outer + QPointF(side * 3.0, -2.0));
        for (int k = 0; k < 7; ++k) {
            const double u = 0.4 + 0.6 * k / 6.0;
            const QPointF at = upper.pointAtPercent(u);
            lashes.moveTo(at);
            lashes.quadTo(at + QPointF(side * 0.8, -2.2),
                          at + QPointF(side * (1.2 + 2.2 * u), -3.0));
        }
        p.strokePath(lashes, QPen(liner, 0.9, Qt::SolidLine, Qt::RoundCap));
    }
}

void paintNose(QPainter& p, const PersonLook& look) {
    const QColor shade = look.skin.darker(140);
    for (int side : {-1, 1}) {
        QPainterPath bridge;
        bridge.moveTo(kCentreX + side * 8.0, 142);
        bridge.cubicTo(kCentreX + side * 9.0, 155, kCentreX + side * 11.0, 166,
                       kCentreX + side * 11.0, 173);
        const double strength = side < 0 ? 0.16 : 0.07;  // light comes from the right
        p.strokePath(bridge, QPen(withAlpha(shade, strength), 5.0, Qt::SolidLine, Qt::RoundCap));
        p.strokePath(bridge, QPen(withAlpha(shade, strength), 1.8, Qt::SolidLine, Qt::RoundCap));

        QPainterPath wing;
        wing.moveTo(kCentreX + side * 8.5, 171);
        wing.cubicTo(kCentreX + side * 15.0, 174, kCentreX + side * 15.0, 181,
                     kCentreX + side * 9.0, 183);
        p.strokePath(wing,
                     QPen(withAlpha(shade.darker(110), 0.5), 1.3, Qt::SolidLine, Qt::RoundCap));
        p.setPen(Qt::NoPen);
        p.setBrush(withAlpha(look.skin.darker(230), 0.65));
        p.drawEllipse(QPointF(kCentreX + side * 4.5, 181.5), 3.2, 1.5);
    }
    QRadialGradient under(QPointF(kCentreX, 181), 10);
    under.setColorAt(0.0, withAlpha(kShadow, 0.12));
    under.setColorAt(1.0, withAlpha(kShadow, 0.0));
    p.setBrush(under);
    p.drawEllipse(QPointF(kCentreX, 181), 10, 10);
    QRadialGradient tip(QPointF(kCentreX + 1, 171), 7);
    tip.setColorAt(0.0, withAlpha(Qt::white, 0.3));
    tip.setColorAt(1.0, withAlpha(Qt::white, 0.0));
    p.setBrush(tip);
    p.drawEllipse(QPointF(kCentreX + 1, 171), 7, 7);
    QPainterPath ridge;
    ridge.moveTo(kCentreX + 1, 142);
    ridge.lineTo(kCentreX + 1.5, 166);
    p.strokePath(ridge, QPen(withAlpha(Qt::white, 0.12), 3.0, Qt::SolidLine, Qt::RoundCap));
}

void paintMouth(QPainter& p, const PersonLook& look) {
    const double y = kMouthY;
    p.save();
    if (look.person == Person::Man) {
        // Thinner, slightly narrower lips.
        p.translate(kCentreX, y);
        p.scale(0.94, 0.72);
        p.translate(-kCentreX, -y);
    }
    const QColor lip =
        look.person == Person::Man ? mixColours(look.skin.darker(110), look.lips, 0.35) : look.lips;
    const QPointF left(128, y);
    const QPointF right(172, y);

    QPainterPath philtrum;
    philtrum.moveTo(147.5, 184);
    philtrum.lineTo(146, y - 7);
    philtrum.moveTo(152.5, 184);
    philtrum.lineTo(154, y - 7);
    p.strokePath(philtrum, QPen(withAlpha(kShadow, 0.08), 1.6, Qt::SolidLine, Qt::RoundCap));

    QPainterPath upper;
    upper.moveTo(left);
    upper.cubicTo(134, y - 2.5, 139, y - 7.5, 144, y - 7.5);
    upper.quadTo(147.5, y - 7.5, 150, y - 5.2);
    upper.quadTo(152.5, y - 7.5, 156, y - 7.5);
    upper.cubicTo(161, y - 7.5, 166, y - 2.5, right.x(), right.y());
    upper.cubicTo(160, y + 1.5, 140, y + 1.5, left.x(), left.y());
    upper.closeSubpath();
    QLinearGradient upperFill(0, y - 8, 0, y + 1);
    upperFill.setColorAt(0.0, lip.darker(108));
    upperFill.setColorAt(1.0, lip.darker(128));
    p.fillPath(upper, upperFill);

    QPainterPath lower;
    lower.moveTo(left);
    lower.cubicTo(140, y + 1.5, 160, y + 1.5, right.x(), right.y());
    lower.cubicTo(166, y + 6, 159, y + 10, 150, y + 10);
    lower.cubicTo(141, y + 10, 134, y + 6, left.x(), left.y());
    lower.closeSubpath();
    QLinearGradient lowerFill(0, y, 0, y + 10);
    lowerFill.setColorAt(0.0, lip.darker(112));
    lowerFill.setColorAt(0.4, lip);
    lowerFill.setColorAt(1.0, lip.darker(115));
    p.fillPath(lower, lowerFill);
    QRadialGradient shine(QPointF(151, y + 4.5), 8);
    shine.setColorAt(0.0, withAlpha(Qt::white, 0.32));
    shine.setColorAt(1.0, withAlpha(Qt::white, 0.0));
    p.fillPath(lower, shine);

    QPainterPath line;
    line.moveTo(left + QPointF(-1.0, -0.6));
    line.cubicTo(140, y + 1.6, 160, y + 1.6, right.x() + 1.0, right.y() - 0.6);
    p.strokePath(line, QPen(withAlpha(lip.darker(230), 0.8), 1.1, Qt::SolidLine, Qt::RoundCap));
    p.restore();

    QRadialGradient chin(QPointF(kCentreX, y + 15), 11);
    chin.setColorAt(0.0, withAlpha(kShadow, 0.1));
    chin.setColorAt(1.0, withAlpha(kShadow, 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(chin);
    p.drawEllipse(QPointF(kCentreX, y + 15), 11, 11);
}

// The person's own hair combed tightly back, painted like any other hair.
QImage slickedHairLayer(const PersonLook& look, QSize size, const QTransform& frame) {
    HairLight light;
    light.centre = QPointF(kCentreX, kSkullCentreY);
    light.radius = kSkullRy * 0.86;
    light.width = 7.0;
    light.strength = 0.55;
    light.lowestY = 105.0;
    HairCanvas canvas(size, frame, HairPalette::fromBase(look.ownHair), light);
    Rng rng(7u);
    std::vector<QPolygonF> strands;
    for (int k = 0; k < 200; ++k) {
        const double x = lerp(kCentreX - kTempleDx, kCentreX + kTempleDx, rng.uniform());
        const QPointF root(x, hairlineY(x) + 1.0);
        const double angle = std::atan2(kSkullCentreY - root.y(), root.x() - kCentreX);
        const QPointF bend = skullPoint(lerp(angle, std::numbers::pi / 2.0, 0.4), 2.0, 2.0);
        const QPointF end(kCentreX + (root.x() - kCentreX) * 0.4, kTopY - 8.0);
        strands.push_back(quadCurve(root, bend, end, 24));
    }
    canvas.paint(strandsLock(ownHairCap(), strands, rng, 0.9));
    return canvas.image();
}

}  // namespace

PersonLook modelLook() {
    return PersonLook{};
}

HairStyle modelOwnHairStyle() {
    HairStyle style;
    style.length = Length::Medium;
    style.texture = Texture::Straight;
    style.colour = QColor(0x4a, 0x31, 0x24);
    style.parting = Parting::Right;
    style.volume = 0.3;
    style.seed = 101;
    return style;
}

QImage drawPortrait(PortraitKind kind) {
    return drawPortrait(
        modelLook(),
        kind == PortraitKind::Reference ? std::optional(modelOwnHairStyle()) : std::nullopt,
        frameSize());
}

QTransform fittedFrame(QSize size) {
    const double scale =
        std::min(size.width() / double(kFrameWidth), size.height() / double(kFrameHeight));
    QTransform transform;
    transform.translate((size.width() - kFrameWidth * scale) / 2.0,
                        size.height() - kFrameHeight * scale);
    transform.scale(scale, scale);
    return transform;
}

QTransform placedFrame(QPointF eyeMidpoint, double scale, double tiltDegrees) {
    QTransform transform;
    transform.translate(eyeMidpoint.x(), eyeMidpoint.y());
    transform.rotate(tiltDegrees);  // y points down: a positive angle turns clockwise on screen
    transform.scale(scale, scale);
    transform.translate(-kCentreX, -(kEyeY + kIrisDy));
    return transform;
}

std::pair<QPointF, QPointF> pupilCentres(const QTransform& frame) {
    const QPointF half(0.5, 0.5);
    QPointF a = frame.map(QPointF(kCentreX - kEyeDx - kIrisDx, kEyeY + kIrisDy)) - half;
    QPointF b = frame.map(QPointF(kCentreX + kEyeDx + kIrisDx, kEyeY + kIrisDy)) - half;
    if (a.x() > b.x()) {
        std::swap(a, b);
    }
    return {a, b};
}

QImage drawPortrait(const PersonLook& look, const std::optional<HairStyle>& hair, QSize size) {
    return drawPortrait(look, hair, size, fittedFrame(size));
}

QImage drawPortrait(const PersonLook& look, const std::optional<HairStyle>& hair, QSize size,
                    const QTransform& frame) {
    QImage image(size, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintBackdrop(p, QRectF(QPointF(0, 0), QSizeF(size)), look.background);

    p.setTransform(frame);
    // A faint shadow of the head and shoulders on the backdrop, as in a studio photo.
    QRadialGradient cast(QPointF(162, 190), 150);
    cast.setColorAt(0.0, withAlpha(kShadow, 0.14));
    cast.setColorAt(1.0, withAlpha(kShadow, 0.0));
    p.fillRect(QRectF(-100, 0, 500, 340), cast);

    paintBody(p, look);
    paintEars(p, look);
    paintFace(p, look);
    for (int side : {-1, 1}) {
        paintBrow(p, look, side);
        paintEye(p, look, side);
    }
    paintNose(p, look);
    paintMouth(p, look);

    p.resetTransform();
    p.drawImage(0, 0, slickedHairLayer(look, size, frame));
    if (hair) {
        p.drawImage(0, 0, drawHairLayer(*hair, size, frame));
    }
    return image;
}

void paintBackdrop(QPainter& painter, const QRectF& area, const QColor& colour) {
    QRadialGradient light(area.center() - QPointF(0, area.height() * 0.18), area.width() * 0.8);
    light.setColorAt(0.0, colour.lighter(107));
    light.setColorAt(0.6, colour);
    light.setColorAt(1.0, colour.darker(113));
    painter.fillRect(area, light);
}

void fillSkin(QPainter& painter, const QPainterPath& area, const QColor& skin,
              const QPointF& litCentre, double radius) {
    QRadialGradient shade(litCentre + QPointF(7, 22), radius, litCentre);
    shade.setColorAt(0.0, skin.lighter(109));
    shade.setColorAt(0.55, skin);
    shade.setColorAt(0.9, skin.darker(110));
    shade.setColorAt(1.0, skin.darker(120));
    painter.fillPath(area, shade);
}

void paintTop(QPainter& painter, const QPainterPath& top, const QColor& colour) {
    const QRectF box = top.boundingRect();
    QLinearGradient cloth(0, box.top(), 0, box.bottom());
    cloth.setColorAt(0.0, colour.lighter(112));
    cloth.setColorAt(1.0, colour.darker(112));
    painter.fillPath(top, cloth);
    QLinearGradient sides(box.left(), 0, box.right(), 0);
    sides.setColorAt(0.0, withAlpha(kShadow, 0.32));
    sides.setColorAt(0.22, withAlpha(kShadow, 0.0));
    sides.setColorAt(0.78, withAlpha(kShadow, 0.0));
    sides.setColorAt(1.0, withAlpha(kShadow, 0.32));
    painter.fillPath(top, sides);
    // A hem along the top edge of the garment.
    painter.save();
    painter.setClipPath(top);
    painter.strokePath(top, QPen(colour.darker(125), 4.0));
    painter.strokePath(top, QPen(withAlpha(colour.lighter(130), 0.5), 1.0));
    painter.restore();
}

}  // namespace crinova::samples
