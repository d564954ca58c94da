#include "views.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

#include "face_geometry.h"
#include "hair_render.h"
#include "paint_utils.h"

namespace crinova::samples {

namespace {

constexpr double kPi = std::numbers::pi;
const QColor kShadow(40, 20, 12);

int fallCount(double bottomY) {
    return bottomY > 230.0 ? 3 : 2;
}

QPainterPath closedPolygon(const QPolygonF& polygon) {
    QPainterPath path;
    path.addPolygon(polygon);
    path.closeSubpath();
    return path;
}

// Strands from each root towards `end`, bowing out over the skull around `centre`.
std::vector<QPolygonF> pulledStrands(const QPolygonF& roots, const QPointF& centre, double radius,
                                     const QPointF& end, double endSpread, int count, Rng& rng) {
    std::vector<QPolygonF> strands;
    for (int k = 0; k < count; ++k) {
        const QPointF root = roots[int(rng.uniform() * roots.size())];
        const QPointF target =
            end + QPointF(rng.range(-endSpread, endSpread), rng.range(-endSpread, endSpread) * 0.6);
        const QPointF bend = centre + unitVector(lerp(root, target, 0.5) - centre) * radius;
        strands.push_back(quadCurve(root, bend, target, 30));
    }
    return strands;
}

HairCanvas makeCanvas(const HairStyle& style, const QPointF& crown, double radius) {
    return HairCanvas(frameSize(), QTransform(), hairPalette(style),
                      hairLight(style, crown, radius));
}

// ---- Side view: the head in profile, looking left ----

constexpr QPointF kSkull(160.0, 126.0);
constexpr double kSkullRadius = 70.0;

QPointF profilePoint(double angleDeg, double grow) {
    const double a = angleDeg * kPi / 180.0;
    return kSkull + QPointF(std::cos(a), -std::sin(a)) * (kSkullRadius + grow);
}

QPainterPath profileHead() {
    std::vector<QPointF> keys;
    for (int angle : {90, 60, 30, 0, -30}) {
        keys.push_back(profilePoint(angle, 0.0));
    }
    const std::vector<QPointF> face = {{206, 196}, {180, 214}, {150, 228}, {124, 237}, {108, 234},
                                       {99, 225},  {102, 215}, {97, 207},  {100, 201}, {96, 195},
                                       {99, 189},  {97, 184},  {86, 180},  {82, 174},  {92, 158},
                                       {100, 140}, {96, 126},  {97, 108},  {100, 90},  {125, 65}};
    keys.insert(keys.end(), face.begin(), face.end());
    return smoothPath(keys, true);
}

QPainterPath profileBody() {
    QPainterPath neck;
    neck.moveTo(134, 226);
    neck.lineTo(204, 192);
    neck.cubicTo(206, 230, 210, 262, 218, 282);
    neck.lineTo(124, 300);
    neck.cubicTo(130, 280, 132, 250, 134, 226);
    neck.closeSubpath();
    QPainterPath torso;
    torso.moveTo(128, 286);
    torso.cubicTo(112, 294, 96, 304, 88, 326);
    torso.lineTo(264, 326);
    torso.cubicTo(258, 302, 240, 284, 212, 274);
    torso.closeSubpath();
    return neck.united(torso);
}

QPainterPath profileEar() {
    return smoothPath({{170, 132},
                       {182, 128},
                       {190, 136},
                       {191, 154},
                       {185, 170},
                       {176, 176},
                       {170, 168},
                       {172, 150}},
                      true);
}

void paintProfileFace(QPainter& p, const PersonLook& look) {
    // Eye, brow, nostril and lips, all near the front of the face.
    QRadialGradient socket(QPointF(112, 143), 13);
    socket.setColorAt(0.0, withAlpha(kShadow, 0.15));
    socket.setColorAt(1.0, withAlpha(kShadow, 0.0));
    p.setPen(Qt::NoPen);
    p.setBrush(socket);
    p.drawEllipse(QPointF(112, 143), 13, 13);

    QPainterPath eye;
    eye.moveTo(102, 145);
    eye.quadTo(108, 140, 114, 142);
    eye.lineTo(113.5, 149);
    eye.quadTo(108, 150, 102, 146);
    eye.closeSubpath();
    p.fillPath(eye, QColor(0xf1, 0xec, 0xe8));
    p.save();
    p.setClipPath(eye);
    p.setBrush(look.eyes.darker(140));
    p.drawEllipse(QPointF(105.2, 145.6), 2.3, 3.7);
    p.restore();
    QPainterPath lid;
    lid.moveTo(101.5, 145);
    lid.quadTo(107, 139.5, 115, 141.5);
    const QColor liner(0x2a, 0x1c, 0x16);
    p.strokePath(lid, QPen(liner, 1.6, Qt::SolidLine, Qt::RoundCap));
    if (look.person != Person::Man) {
        QPainterPath lashes;
        lashes.moveTo(102, 144.5);
        lashes.lineTo(98.5, 142.5);
        lashes.moveTo(103.5, 143);
        lashes.lineTo(100.5, 140);
        lashes.moveTo(105.5, 142);
        lashes.lineTo(103.5, 138.8);
        p.strokePath(lashes, QPen(liner, 0.9, Qt::SolidLine, Qt::RoundCap));
    }
    QPainterPath crease;
    crease.moveTo(104, 139);
    crease.quadTo(110, 136, 116, 137.5);
    p.strokePath(crease, QPen(withAlpha(look.skin.darker(150), 0.5), 1.0));

    QPainterPath brow;
    brow.moveTo(99, 131);
    brow.quadTo(110, 126.5, 124, 130);
    p.strokePath(brow, QPen(withAlpha(look.ownHair, 0.85), look.person == Person::Man ? 3.6 : 2.6,
                            Qt::SolidLine, Qt::RoundCap));

    QPainterPath nostril;
    nostril.moveTo(90, 180);
    nostril.quadTo(95, 183.5, 99, 181);
    p.strokePath(nostril,
                 QPen(withAlpha(look.skin.darker(170), 0.7), 1.3, Qt::SolidLine, Qt::RoundCap));

    const QColor lip =
        look.person == Person::Man ? mixColours(look.skin.darker(110), look.lips, 0.35) : look.lips;
    QPainterPath lips;
    lips.moveTo(99, 190);
    lips.cubicTo(96, 192, 95.5, 195, 97, 197);
    lips.quadTo(99, 200, 101, 201);
    lips.quadTo(98, 203, 97, 207);
    lips.cubicTo(98, 209.5, 100.5, 210.5, 103, 210);
    lips.quadTo(104, 205, 103.5, 201.5);
    lips.quadTo(104, 195, 101.5, 190.5);
    lips.closeSubpath();
    p.save();
    p.setClipPath(profileHead());
    p.fillPath(lips, withAlpha(lip, 0.75));
    p.restore();
    QPainterPath mouth;
    mouth.moveTo(100, 201);
    mouth.lineTo(108, 201.5);
    p.strokePath(mouth, QPen(withAlpha(lip.darker(200), 0.8), 1.0, Qt::SolidLine, Qt::RoundCap));

    QRadialGradient cheek(QPointF(128, 178), 18);
    cheek.setColorAt(0.0, withAlpha(look.lips, look.person == Person::Man ? 0.05 : 0.14));
    cheek.setColorAt(1.0, withAlpha(look.lips, 0.0));
    p.fillPath(profileHead(), cheek);

    // The jaw line casts a shadow on the neck.
    QPainterPath jaw;
    jaw.moveTo(112, 235);
    jaw.quadTo(150, 232, 186, 208);
    p.strokePath(jaw, QPen(withAlpha(kShadow, 0.12), 6.0, Qt::SolidLine, Qt::RoundCap));

    const QPainterPath ear = profileEar();
    fillSkin(p, ear, look.skin.darker(106), QPointF(180, 145), 30);
    QPainterPath fold;
    fold.moveTo(181, 136);
    fold.quadTo(188, 150, 180, 165);
    p.strokePath(fold,
                 QPen(withAlpha(look.skin.darker(150), 0.6), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(withAlpha(look.skin.darker(170), 0.7));
    p.drawEllipse(QPointF(175, 153), 2.2, 3.0);
}

std::vector<Lock> sideLocks(const HairStyle& style, Rng& rng) {
    const HairProportions pr = hairProportions(style);
    const TextureLook look = textureLook(style);
    const double gt = pr.growTop;
    const double gs = pr.growSide;
    std::vector<Lock> locks;

    if (style.texture == Texture::UpDo) {
        const double scale = style.person == Person::Woman ? 1.0 : 0.7;
        const QPointF bun = profilePoint(40, gt + 16.0 * scale);
        QPolygonF roots =
            smoothCurve({{106, 86}, {122, 112}, {150, 126}, {176, 127}, {194, 146}, {207, 194}}, 8);
        QPolygonF outline = roots;
        outline << smoothCurve({{214, 198},
                                profilePoint(-30, gs),
                                profilePoint(0, gs),
                                profilePoint(40, gt),
                                profilePoint(90, gt),
                                profilePoint(140, gt)},
                               8);
        locks.push_back(
            strandsLock(closedPolygon(outline),
                        pulledStrands(roots, kSkull, kSkullRadius + gt, bun, 8.0, 240, rng), rng));
        locks.push_back(bunLock(bun, 25.0 * scale, 22.0 * scale, rng));
        return locks;
    }

    Sweep sweep;
    // Rooted along the hairline; the front keys nearly meet, so the hair rounds over the brow.
    sweep.inner = {{108, 88}, {122, 112}, {148, 126}};
    sweep.outer = {{103, 84}, profilePoint(100, gt), profilePoint(25, (gt + gs) / 2.0)};
    if (isCrop(style)) {
        sweep.inner.insert(sweep.inner.end(), {{178, 126}, {196, 150}, {206, 192}});
        sweep.outer.insert(sweep.outer.end(),
                           {profilePoint(0, gs), profilePoint(-30, gs), {214, 197}});
    } else if (pr.bottomY < 200.0) {
        const double y1 = lerp(126.0, pr.bottomY, 0.5);
        sweep.inner.insert(sweep.inner.end(), {{150, y1}, {156, pr.bottomY}});
        sweep.outer.insert(sweep.outer.end(), {{kSkull.x() + kSkullRadius + gs, y1},
                                               {kSkull.x() + kSkullRadius + gs - 6.0, pr.bottomY}});
    } else {
        const int falls = fallCount(pr.bottomY);
        for (int j = 1; j <= falls; ++j) {
            const double y = lerp(126.0, pr.bottomY, double(j) / falls);
            sweep.inner.push_back({152.0 + (y - 126.0) * 0.22, y});
            sweep.outer.push_back(
                {kSkull.x() + kSkullRadius + gs + pr.flare * smoothstep(200.0, 300.0, y), y});
        }
    }
    locks.push_back(sweepLock(sweep, look, rng));
    if (isCrop(style)) {
        Sweep burn;
        burn.inner = {{150, 124}, {155, 150}};
        burn.outer = {{160, 124}, {162, 148}};
        TextureLook plain = look;
        plain.shortStrokes = false;
        plain.tufts = 0.0;
        plain.strands = 30;
        locks.push_back(sweepLock(burn, plain, rng));
    }
    if (style.fringe) {
        Sweep fringe;
        fringe.inner = {{116, 68}, {99, 90}, {96, 114}};
        fringe.outer = {{132, 64}, {110, 94}, {104, 118}};
        TextureLook plain = look;
        plain.waveStartY = 1000.0;
        plain.shortStrokes = false;
        plain.tufts = 0.0;
        plain.strands = 60;
        locks.push_back(sweepLock(fringe, plain, rng));
    }
    return locks;
}

// ---- Nape view: the head from behind ----

QPainterPath backHead() {
    std::vector<QPointF> keys;
    for (int i = 0; i <= 12; ++i) {
        keys.push_back(skullPoint(kPi * i / 12.0, 0.0, 0.0));
    }
    const std::vector<QPointF> nape = {{86, 160},  {96, 184},  {116, 200}, {150, 206},
                                       {184, 200}, {204, 184}, {214, 160}};
    keys.insert(keys.end(), nape.begin(), nape.end());
    return smoothPath(keys, true);
}

QPainterPath backNeck() {
    QPainterPath path;
    path.moveTo(124, 180);
    path.lineTo(176, 180);
    path.cubicTo(177, 215, 179, 240, 188, 262);
    path.lineTo(112, 262);
    path.cubicTo(121, 240, 123, 215, 124, 180);
    path.closeSubpath();
    return path;
}

std::vector<Lock> napeLocks(const HairStyle& style, Rng& rng) {
    using namespace head;
    const HairProportions pr = hairProportions(style);
    TextureLook look = textureLook(style);
    const double gt = pr.growTop;
    const double gs = pr.growSide;
    std::vector<Lock> locks;

    if (style.texture == Texture::UpDo) {
        const double scale = style.person == Person::Woman ? 1.0 : 0.7;
        const QPointF bun(kCentreX, 112.0);
        const QPolygonF hairline = smoothCurve({{86, 136},
                                                {92, 160},
                                                {104, 184},
                                                {124, 198},
                                                {150, 202},
                                                {176, 198},
                                                {196, 184},
                                                {208, 160},
                                                {214, 136}},
                                               6);
        QPolygonF outline = hairline;
        QPolygonF crown;
        for (int i = 0; i <= 40; ++i) {
            const QPointF p = skullPoint(lerp(-0.12, kPi + 0.12, i / 40.0), gt, gs);
            outline << p;
            if (i > 4 && i < 36) {
                crown << p;
            }
        }
        const QPointF centre(kCentreX, kSkullCentreY);
        std::vector<QPolygonF> strands =
            pulledStrands(hairline, centre, kSkullRx * 0.9, bun, 10.0, 200, rng);
        const std::vector<QPolygonF> over =
            pulledStrands(crown, centre, kSkullRx * 0.9, bun, 10.0, 120, rng);
        strands.insert(strands.end(), over.begin(), over.end());
        locks.push_back(strandsLock(closedPolygon(outline), strands, rng));
        locks.push_back(bunLock(bun, 34.0 * scale, 28.0 * scale, rng));
        return locks;
    }

    // One sweep from the crown, between the left and the right outline of the hair.
    Sweep sweep;
    sweep.inner = {
        {kCentreX - 3.0, kTopY - gt}, skullPoint(kPi * 0.75, gt, gs), skullPoint(kPi, gt, gs)};
    if (isCrop(style)) {
        sweep.inner.insert(sweep.inner.end(), {{96, 166}, {118, 198}});
    } else if (pr.bottomY < 200.0) {
        sweep.inner.insert(sweep.inner.end(),
                           {{86.0 - gs, 160}, {92.0 - gs * 0.5, std::max(pr.bottomY, 196.0)}});
    } else {
        const int falls = fallCount(pr.bottomY);
        for (int j = 1; j <= falls; ++j) {
            const double y = lerp(kSkullCentreY, pr.bottomY, double(j) / falls);
            sweep.inner.push_back(
                {kCentreX - kSkullRx - gs - pr.flare * smoothstep(200.0, 300.0, y), y});
        }
    }
    for (const QPointF& p : sweep.inner) {
        sweep.outer.push_back(mirrorX(p));
    }
    if (look.curlRadius > 0.0) {
        look.waveStartY = 40.0;  // curls all round the outline, the crown included
    }
    locks.push_back(sweepLock(sweep, look, rng));
    return locks;
}

void paintEarsBehind(QPainter& p, const PersonLook& look) {
    for (int side : {-1, 1}) {
        fillSkin(p, earPath(side), look.skin.darker(112), QPointF(150 + side * 70, 150), 30);
    }
}

}  // namespace

QImage drawSideView(const HairStyle& style, Facing facing, const PersonLook& look) {
    QImage image(frameSize(), QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintBackdrop(p, QRectF(image.rect()), look.background);

    QPainterPath skin = profileHead().united(profileBody());
    fillSkin(p, skin, look.skin, QPointF(120, 140), 150);
    QPainterPath topEdge;
    topEdge.moveTo(60, 308);
    topEdge.cubicTo(120, 300, 170, 294, 280, 278);
    topEdge.lineTo(280, 330);
    topEdge.lineTo(60, 330);
    topEdge.closeSubpath();
    paintTop(p, profileBody().intersected(topEdge), look.top);
    paintProfileFace(p, look);

    HairCanvas canvas = makeCanvas(style, kSkull, kSkullRadius + hairProportions(style).growTop);
    Rng rng(style.seed * 2246822519u + 3u);
    for (const Lock& lock : sideLocks(style, rng)) {
        canvas.paint(lock);
    }
    p.drawImage(0, 0, canvas.image());
    p.end();
    return facing == Facing::Left ? image : image.mirrored(true, false);
}

QImage drawNapeView(const HairStyle& style, const PersonLook& look) {
    QImage image(frameSize(), QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    paintBackdrop(p, QRectF(image.rect()), look.background);

    paintEarsBehind(p, look);
    const QPainterPath skin = backHead().united(backNeck()).united(torsoPath());
    fillSkin(p, skin, look.skin.darker(104), QPointF(150, 170), 160);
    QPainterPath scoop;
    scoop.addEllipse(QPointF(head::kCentreX, 248), 36, 16);
    paintTop(p, torsoPath().subtracted(scoop), look.top);

    const HairProportions pr = hairProportions(style);
    HairCanvas canvas = makeCanvas(style, QPointF(head::kCentreX, head::kSkullCentreY),
                                   head::kSkullRy + pr.growTop);
    Rng rng(style.seed * 3266489917u + 5u);
    for (const Lock& lock : napeLocks(style, rng)) {
        canvas.paint(lock);
    }
    p.drawImage(0, 0, canvas.image());
    if (isCrop(style) || style.texture == Texture::UpDo) {
        paintEarsBehind(p, look);  // short hair leaves the ears in front of it
    }
    return image;
}

}  // namespace crinova::samples
