#include "hair_styles.h"

#include <QLineF>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace crinova::samples {

using namespace head;

namespace {

constexpr double kPi = std::numbers::pi;

double partingX(const HairStyle& style) {
    switch (style.parting) {
        case Parting::Left:
            return kCentreX - 18.0;
        case Parting::Right:
            return kCentreX + 18.0;
        case Parting::Centre:
            break;
    }
    return kCentreX;
}

QPointF pointAlong(const QPolygonF& line, double fraction) {
    double total = 0.0;
    for (int i = 1; i < line.size(); ++i) {
        total += QLineF(line[i - 1], line[i]).length();
    }
    double left = fraction * total;
    for (int i = 1; i < line.size(); ++i) {
        const double piece = QLineF(line[i - 1], line[i]).length();
        if (left <= piece && piece > 0.0) {
            return lerp(line[i - 1], line[i], left / piece);
        }
        left -= piece;
    }
    return line.last();
}

// Hair from the parting over one side of the head, then falling to its length.
Sweep sideSweep(const HairStyle& style, const HairProportions& pr, int side) {
    Sweep sweep;
    const double xp = partingX(style);
    const double fromAngle =
        std::acos(std::clamp((xp - kCentreX) / (kSkullRx + pr.growTop), -1.0, 1.0));
    const double toAngle = side > 0 ? 0.0 : kPi;
    const double templeX = kCentreX + side * 55.0;
    // Both sides start a little past the parting so they overlap there without a seam.
    const double overlap = side * 0.03;
    for (int k = 0; k <= 6; ++k) {
        // Keys crowd towards the temple, where the hairline bends sharply.
        const double a = 1.0 - (1.0 - k / 6.0) * (1.0 - k / 6.0);
        sweep.outer.push_back(
            skullPoint(lerp(fromAngle + overlap, toAngle, a), pr.growTop, pr.growSide));
        const double x = lerp(xp - side * 2.0, templeX, a);
        sweep.inner.push_back({x, hairlineY(x) + 2.0});
    }
    const int falls = pr.bottomY > 230.0 ? 3 : (pr.bottomY > 170.0 ? 2 : 1);
    const bool bob = pr.bottomY > 150.0 && pr.bottomY < 200.0;
    if (isCrop(style)) {
        // Short over the ears: the edge rises from the sideburn to above the ear.
        sweep.inner.push_back({kCentreX + side * 57.0, 150.0});
        sweep.outer.push_back({kCentreX + side * (kSkullRx + pr.growSide), 141.0});
        return sweep;
    }
    // Waves swing towards the face, so wavy hair starts a little further out.
    const double waveRoom = style.texture == Texture::Wavy ? 1.5 : 0.0;
    // A key just below the temple keeps the curve from overshooting round the corner.
    for (int j = 0; j <= falls; ++j) {
        const double f = double(j) / falls;
        const double y = j == 0 ? 142.0 : lerp(kSkullCentreY, pr.bottomY, f);
        const double innerDx =
            waveRoom + 56.0 - 4.0 * smoothstep(170.0, 205.0, y) - 2.0 * smoothstep(210.0, 270.0, y);
        double outerDx = kSkullRx + pr.growSide + pr.flare * smoothstep(200.0, 300.0, y);
        if (bob) {
            outerDx -= 6.0 * f * f;  // a bob turns under at the ends
        }
        sweep.inner.push_back({kCentreX + side * innerDx, y});
        sweep.outer.push_back({kCentreX + side * outerDx, y});
    }
    return sweep;
}

// Hair behind the neck, seen between the neck and the hair falling in front of the shoulders.
Sweep backSweep(const HairProportions& pr) {
    const double bottom = pr.bottomY - 6.0;
    const double middle = lerp(140.0, bottom, 0.5);
    // As wide as the head, so gaps between waving locks show hair behind, not the photo.
    const double half = kSkullRx + pr.growSide - 2.0;
    Sweep sweep;
    sweep.inner = {
        {kCentreX - half, 140}, {kCentreX - half, middle}, {kCentreX - half - 4, bottom}};
    sweep.outer = {
        {kCentreX + half, 140}, {kCentreX + half, middle}, {kCentreX + half + 4, bottom}};
    sweep.brightness = 0.6;
    return sweep;
}

// Combed forward from the crown over the forehead, swept away from the parting.
Sweep fringeSweep(const HairStyle& style, const HairProportions& pr) {
    const double toward =
        style.parting == Parting::Left ? 1.0 : (style.parting == Parting::Right ? -1.0 : 0.0);
    const double lift = style.texture == Texture::Curly ? 6.0 : 0.0;
    const double g = pr.growTop - 1.0;
    const double gs = pr.growSide - 1.0;
    const double crown =
        std::acos(std::clamp((partingX(style) - kCentreX) / (kSkullRx + g), -1.0, 1.0));
    Sweep sweep;
    // Both edges follow the outline of the head from the crown, then come down to the brows.
    sweep.inner = {skullPoint(crown + 0.02, g, gs),
                   skullPoint(lerp(crown, kPi * 0.72, 0.5), g, gs),
                   skullPoint(kPi * 0.72, g, gs),
                   {kCentreX - 55 + 10 * toward, 104 - lift},
                   {kCentreX - 52 + 12 * toward, 121 - lift - (toward > 0 ? 8 : 0)}};
    sweep.outer = {skullPoint(crown - 0.02, g, gs),
                   skullPoint(lerp(crown, kPi * 0.28, 0.5), g, gs),
                   skullPoint(kPi * 0.28, g, gs),
                   {kCentreX + 55 + 10 * toward, 104 - lift},
                   {kCentreX + 52 + 12 * toward, 123 - lift - (toward < 0 ? 8 : 0)}};
    sweep.brightness = 1.05;
    return sweep;
}

Sweep sideburnSweep(int side) {
    Sweep sweep;
    sweep.inner = {{kCentreX + side * 55.0, 138}, {kCentreX + side * 55.5, 160}};
    sweep.outer = {{kCentreX + side * 59.5, 136}, {kCentreX + side * 57.5, 158}};
    return sweep;
}

// Loose wavy strands left hanging in front of the ears.
Sweep tendrilSweep(int side) {
    Sweep sweep;
    sweep.inner = {{94, 124}, {91, 150}, {93, 174}, {90, 196}};
    sweep.outer = {{88, 124}, {85, 150}, {87, 174}, {84, 196}};
    if (side > 0) {
        std::transform(sweep.inner.begin(), sweep.inner.end(), sweep.inner.begin(), mirrorX);
        std::transform(sweep.outer.begin(), sweep.outer.end(), sweep.outer.begin(), mirrorX);
    }
    return sweep;
}

void addUpDo(std::vector<Lock>& locks, const HairStyle& style, const HairProportions& pr,
             const TextureLook& look, Rng& rng) {
    const double v = std::clamp(style.volume, 0.0, 1.0);
    const double scale = style.person == Person::Woman ? 1.0 : 0.7;
    const double g = pr.growTop;
    locks.push_back(bunLock(QPointF(kCentreX, kTopY - g - 10.0 * scale), (30.0 + 10.0 * v) * scale,
                            (21.0 + 6.0 * v) * scale, rng));

    // Hair pulled up from the hairline towards the bun.
    const double bottom = kCapBottomY + 6.0;
    QPolygonF roots;
    roots << QPointF(kCentreX - 57.0, bottom);
    for (double x = kCentreX - 56.0; x <= kCentreX + 56.01; x += 2.0) {
        roots << QPointF(x, hairlineY(x) + 2.0);
    }
    roots << QPointF(kCentreX + 57.0, bottom);
    QPolygonF outline = roots;
    const double low = std::asin((bottom - 8.0 - kSkullCentreY) / (kSkullRy + pr.growSide));
    for (int i = 0; i <= 40; ++i) {
        outline << skullPoint(lerp(-low, kPi + low, i / 40.0), g, pr.growSide);
    }
    QPainterPath region;
    region.addPolygon(outline);
    region.closeSubpath();
    std::vector<QPolygonF> strands;
    for (int k = 0; k < 240; ++k) {
        const QPointF root = pointAlong(roots, rng.uniform());
        const double angle = std::atan2(kSkullCentreY - root.y(), root.x() - kCentreX);
        const QPointF bend = skullPoint(lerp(angle, kPi / 2.0, 0.35), g, pr.growSide);
        const QPointF end(kCentreX + (root.x() - kCentreX) * 0.3, kTopY - g + 3.0);
        strands.push_back(quadCurve(root, bend, end, 30));
    }
    Lock pulled = strandsLock(region, strands, rng);
    for (int k = 0; k < look.streaks; ++k) {
        Strand streak;
        streak.points = strands[std::size_t(k * 13 % int(strands.size()))];
        streak.width = rng.range(2.0, 3.4);
        pulled.streaks.push_back(std::move(streak));
    }
    pulled.streakColour = look.streakColour;
    locks.push_back(std::move(pulled));

    TextureLook tendril;
    tendril.waveAmplitude = 3.0;
    tendril.waveLength = 24.0;
    tendril.waveStartY = 126.0;
    tendril.raggedTips = 4.0;
    tendril.strands = 24;
    for (int side : {-1, 1}) {
        locks.push_back(sweepLock(tendrilSweep(side), tendril, rng));
    }
}

std::vector<Lock> frontLocks(const HairStyle& style, Rng& rng) {
    const HairProportions pr = hairProportions(style);
    TextureLook look = textureLook(style);
    look.innerWaveStartY = 205.0;  // below the jaw, so waves never reach over the cheeks
    std::vector<Lock> locks;
    if (style.texture == Texture::UpDo) {
        addUpDo(locks, style, pr, look, rng);
    } else {
        if (pr.bottomY > 200.0) {
            Lock back = sweepLock(backSweep(pr), look, rng);
            back.region = back.region.subtracted(bodyPath());
            locks.push_back(std::move(back));
        }
        // The side away from the parting carries more hair, so it is painted last, on top.
        const int nearSide = partingX(style) < kCentreX ? -1 : 1;
        locks.push_back(sweepLock(sideSweep(style, pr, nearSide), look, rng));
        locks.push_back(sweepLock(sideSweep(style, pr, -nearSide), look, rng));
        if (isCrop(style)) {
            TextureLook burn = look;
            burn.shortStrokes = false;
            burn.tufts = 0.0;
            burn.strands = 40;
            burn.raggedTips = 3.0;
            for (int side : {-1, 1}) {
                locks.push_back(sweepLock(sideburnSweep(side), burn, rng));
            }
        }
    }
    if (style.fringe) {
        TextureLook fringe = look;
        fringe.waveStartY = 1000.0;
        fringe.raggedTips = 7.0;
        fringe.shortStrokes = false;
        fringe.tufts = 0.0;
        fringe.streaks = look.streaks / 3;
        locks.push_back(sweepLock(fringeSweep(style, pr), fringe, rng));
    }
    return locks;
}

}  // namespace

HairProportions hairProportions(const HairStyle& style) {
    static constexpr double kBottom[3][3] = {
        {192.0, 262.0, 312.0},  // woman: bob, shoulders, chest
        {142.0, 205.0, 268.0},  // man: crop above the ears, jaw, shoulders
        {168.0, 236.0, 288.0},  // child
    };
    const double v = std::clamp(style.volume, 0.0, 1.0);
    HairProportions pr;
    pr.bottomY = kBottom[int(style.person)][int(style.length)];
    pr.growTop = 6.0 + 10.0 * v;
    pr.growSide = 4.0 + 8.0 * v;
    pr.flare = 6.0 + 14.0 * v;
    if (style.person == Person::Man) {
        pr.growSide *= 0.6;
        pr.flare *= 0.6;
        pr.growTop += 3.0;
    } else if (style.person == Person::Child) {
        pr.growTop *= 0.85;
        pr.growSide *= 0.85;
    }
    switch (style.texture) {
        case Texture::Wavy:
            pr.growSide += 4.0;
            pr.flare += 10.0;
            break;
        case Texture::Curly:
            pr.growTop += 8.0;
            pr.growSide += 10.0;
            pr.flare += 16.0;
            break;
        case Texture::UpDo:
            pr.growTop = 3.0 + 3.0 * v;
            pr.growSide = 3.0 + 2.0 * v;
            pr.flare = 0.0;
            pr.bottomY = kCapBottomY + 6.0;
            break;
        case Texture::Straight:
        case Texture::Highlights:
            break;
    }
    return pr;
}

TextureLook textureLook(const HairStyle& style) {
    const double v = std::clamp(style.volume, 0.0, 1.0);
    TextureLook look;
    look.strands = 150;
    switch (style.texture) {
        case Texture::Straight:
            look.raggedTips = style.length == Length::Long ? 12.0 : 7.0;
            break;
        case Texture::Wavy:
            look.waveAmplitude = 4.0 + 4.0 * v;
            look.waveLength = 44.0;
            look.raggedTips = 10.0;
            break;
        case Texture::Curly:
            look.kink = 1.4;
            look.curlRadius = 5.5 + 2.0 * v;
            look.waveAmplitude = 2.5;
            look.waveLength = 18.0;
            look.raggedTips = 2.0;
            break;
        case Texture::Highlights:
            look.raggedTips = 9.0;
            look.streaks = 16;
            break;
        case Texture::UpDo:
            look.raggedTips = 4.0;
            break;
    }
    look.shortStrokes = style.length == Length::Short && style.person != Person::Woman &&
                        style.texture != Texture::Curly && style.texture != Texture::UpDo;
    if (look.shortStrokes) {
        look.tufts = 2.5 + 3.0 * v;
        look.raggedTips = 3.0;  // cropped ends stay solid, the hair must hide what is under it
    }
    if (style.highlight.isValid()) {
        look.streaks = std::max(look.streaks, 10);
        look.streakColour = style.highlight;
    } else {
        look.streakColour = mixColours(style.colour, QColor(255, 240, 205), 0.6);
    }
    return look;
}

bool isCrop(const HairStyle& style) {
    return style.person == Person::Man && style.length == Length::Short;
}

HairLight hairLight(const HairStyle& style, const QPointF& centre, double radius) {
    HairLight light;
    light.centre = centre;
    light.radius = radius * 0.8;
    light.lowestY = 112.0;
    if (style.texture == Texture::Curly) {
        light.strength = 0.3;  // curls scatter the light instead of shining
    }
    return light;
}

HairPalette hairPalette(const HairStyle& style) {
    return HairPalette::fromBase(style.colour);
}

QImage drawHairLayer(const HairStyle& style, QSize size, const QTransform& transform) {
    const HairProportions pr = hairProportions(style);
    const HairLight light =
        hairLight(style, QPointF(kCentreX, kSkullCentreY), kSkullRy + pr.growTop);
    HairCanvas canvas(size, transform, hairPalette(style), light);
    Rng rng(style.seed * 2654435761u + 17u);
    for (const Lock& lock : frontLocks(style, rng)) {
        canvas.paint(lock);
    }
    // Curls may spill a little over the hairline.
    canvas.keepBare(bareFaceArea(style.fringe, style.texture == Texture::Curly ? 4.0 : 0.0));
    return canvas.image();
}

HairPictures splitHairLayer(const QImage& layer) {
    constexpr int kEdgeFloor = 72;  // coverage (0..255) below this counts as no hair
    constexpr int kEdgeRamp = 72;   // coverage above floor + ramp shows the full colour
    const QImage premultiplied = layer.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    HairPictures pictures{QImage(layer.size(), QImage::Format_RGB32),
                          QImage(layer.size(), QImage::Format_RGB32)};
    for (int y = 0; y < layer.height(); ++y) {
        const auto* source = reinterpret_cast<const QRgb*>(premultiplied.constScanLine(y));
        auto* hair = reinterpret_cast<QRgb*>(pictures.hair.scanLine(y));
        auto* mask = reinterpret_cast<QRgb*>(pictures.mask.scanLine(y));
        for (int x = 0; x < layer.width(); ++x) {
            const QRgb p = source[x];
            const int alpha = qAlpha(p);
            // The faintest edge pixels are dropped and the rest fade to black over a shorter
            // ramp: the full ramp would draw a dotted dark outline round the hair once composed
            // over the photo.
            const int level = std::clamp((alpha - kEdgeFloor) * 256 / kEdgeRamp, 0, 256);
            const int gain = level == 0 ? 0 : level * 255 / alpha;
            hair[x] =
                qRgb(std::min(255, qRed(p) * gain / 256), std::min(255, qGreen(p) * gain / 256),
                     std::min(255, qBlue(p) * gain / 256));
            mask[x] = level > 0 ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        }
    }
    return pictures;
}

HairPictures drawHairStyle(const HairStyle& style) {
    return splitHairLayer(drawHairLayer(style));
}

}  // namespace crinova::samples
