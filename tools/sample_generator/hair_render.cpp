#include "hair_render.h"

#include <QLineF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <map>
#include <numbers>

namespace crinova::samples {
namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kMaxLevel = 2.4;
constexpr int kSamplesPerKey = 12;

// Strokes grouped by tone and width: a few long paths draw far faster than thousands of tiny
// ones, and the picture looks the same.
class StrokeBatch {
  public:
    void addPolyline(const QPointF* points, int count, double level, double width) {
        QPainterPath& path = paths_[key(level, width)];
        path.moveTo(points[0]);
        for (int i = 1; i < count; ++i) {
            path.lineTo(points[i]);
        }
    }

    void addArc(const QRectF& box, double startDeg, double spanDeg, double level, double width) {
        QPainterPath& path = paths_[key(level, width)];
        path.arcMoveTo(box, startDeg);
        path.arcTo(box, startDeg, spanDeg);
    }

    void paint(QPainter& painter, const HairPalette& palette) const {
        for (const auto& [k, path] : paths_) {
            const double level = (k / kWidths + 0.5) * kMaxLevel / kTones;
            const double width = 0.5 + (k % kWidths) * 0.25;
            painter.strokePath(path, QPen(palette.shade(level), width, Qt::SolidLine, Qt::RoundCap,
                                          Qt::RoundJoin));
        }
    }

  private:
    static constexpr int kTones = 120;
    static constexpr int kWidths = 14;

    static int key(double level, double width) {
        const int tone = std::clamp(int(level / kMaxLevel * kTones), 0, kTones - 1);
        const int thickness = std::clamp(int(std::lround((width - 0.5) / 0.25)), 0, kWidths - 1);
        return tone * kWidths + thickness;
    }

    std::map<int, QPainterPath> paths_;
};

void addPolygon(QPainterPath& path, QPolygonF polygon, bool positive) {
    // Same orientation for every part, so the winding fill is their union.
    if ((signedArea(polygon) > 0.0) != positive) {
        std::reverse(polygon.begin(), polygon.end());
    }
    path.addPolygon(polygon);
    path.closeSubpath();
}

// Extra coverage (a tuft, a curl) belongs to the lock's region and to its filled body.
void addPart(Lock& lock, const QPolygonF& polygon, bool positive) {
    addPolygon(lock.region, polygon, positive);
    if (!lock.body.isEmpty()) {
        addPolygon(lock.body, polygon, positive);
    }
}

// The two guides of a sweep sampled row by row, with the waves applied: point(i, d) is row i
// (root to tip) at depth d (0 inner guide, 1 outer guide).
class SweepFrame {
  public:
    SweepFrame(const Sweep& sweep, const TextureLook& look, Rng& rng)
        : in_(smoothCurve(sweep.inner, kSamplesPerKey)),
          out_(smoothCurve(sweep.outer, kSamplesPerKey)),
          n_(int(std::min(in_.size(), out_.size()))),
          amplitude_(look.waveAmplitude) {
        const double phase = rng.range(0.0, 2.0 * kPi);
        const double innerStart =
            look.innerWaveStartY > 0.0 ? look.innerWaveStartY : look.waveStartY;
        QPointF previousMid = lerp(in_[0], out_[0], 0.5);
        double length = 0.0;
        for (int i = 0; i < n_; ++i) {
            // Waves shift whole rows sideways, so all strands of a lock wave together; next to
            // the face they may start lower, keeping the hair off the cheeks.
            const QPointF mid = lerp(in_[i], out_[i], 0.5);
            length += QLineF(previousMid, mid).length();
            previousMid = mid;
            rows_.push_back(
                {length, unitVector(out_[i] - in_[i]),
                 amplitude_ * smoothstep(look.waveStartY, look.waveStartY + 40.0, mid.y()),
                 0.5 + 0.5 * smoothstep(innerStart, innerStart + 30.0, mid.y()),
                 2.0 * kPi * length / look.waveLength + phase});
        }
        // Crests lie slanted across the lock and wide locks split into several waves.
        for (int i = n_ / 2; i < n_; ++i) {
            width_ += QLineF(in_[i], out_[i]).length() / (n_ - n_ / 2);
        }
        slant_ = 1.2 * std::max(1.0, width_ / 35.0);
        lockPhase_ = rng.range(0.0, 2.0 * kPi);
    }

    int size() const { return n_; }
    double arc(int i) const { return row(i).arc; }
    double step() const { return rows_.back().arc / std::max(1, n_ - 1); }
    QPointF across(int i) const { return row(i).across; }
    QPointF tipDirection() const {
        return unitVector(lerp(in_[n_ - 1], out_[n_ - 1], 0.5) -
                          lerp(in_[n_ - 4], out_[n_ - 4], 0.5));
    }
    double tipWidth() const { return QLineF(in_[n_ - 1], out_[n_ - 1]).length(); }
    double rowWidth(int i) const { return QLineF(in_[i], out_[i]).length(); }

    QPointF point(int i, double d, double sideways = 0.0) const {
        return point(i, d, sideways, offset(d));
    }
    // With the phase offset of depth `d` computed once, for strands that keep their depth.
    QPointF point(int i, double d, double sideways, double phase) const {
        const Row& r = row(i);
        const double wave = r.ramp * lerp(r.innerRamp, 1.0, d) * std::sin(r.angle + phase);
        return lerp(in_[i], out_[i], d) + r.across * (wave + sideways);
    }

    // +1 where a strand is on the lit crest of a wave, -1 in the trough.
    double crest(int i, double phase) const {
        const Row& r = row(i);
        return amplitude_ > 0.0 ? r.ramp / amplitude_ * std::cos(r.angle + phase) : 0.0;
    }

    double offset(double d) const {
        return slant_ * d + 0.7 * std::sin(d * width_ / 9.0 + lockPhase_);
    }

    // Inner guide down to row `end`, across the tips (bulging by `reach`), outer guide back up.
    QPolygonF outline(int end, double reach) const {
        QPolygonF polygon;
        for (int i = 0; i <= end; ++i) {
            polygon << point(i, 0.0);
        }
        for (int j = 1; j < 8; ++j) {
            const double d = j / 8.0;
            polygon << point(end, d) + tipDirection() * (reach * std::sin(kPi * d));
        }
        for (int i = end; i >= 0; --i) {
            polygon << point(i, 1.0);
        }
        return polygon;
    }

  private:
    struct Row {
        double arc;      // length along the middle of the lock from the root
        QPointF across;  // unit vector from the inner to the outer guide
        double ramp;     // wave amplitude here
        double innerRamp;
        double angle;  // wave phase
    };

    const Row& row(int i) const { return rows_[std::size_t(i)]; }

    QPolygonF in_;
    QPolygonF out_;
    int n_;
    double amplitude_;
    std::vector<Row> rows_;
    double width_ = 0.0;
    double slant_ = 1.2;
    double lockPhase_ = 0.0;
};

void addStrands(Lock& lock, const SweepFrame& frame, const TextureLook& look, int bodyEnd,
                Rng& rng) {
    const int n = frame.size();
    const double phaseA = rng.range(0.0, 2.0 * kPi);
    const double phaseB = rng.range(0.0, 2.0 * kPi);
    // Neighbouring strands share a tone, so the hair shows locks rather than noise.
    auto lockTone = [&](double d) {
        return 0.13 * std::sin(d * 19.0 + phaseA) + 0.08 * std::sin(d * 47.0 + phaseB);
    };
    const int count = look.shortStrokes ? look.strands * 3 : look.strands;
    for (int k = 0; k < count; ++k) {
        Strand strand;
        const double d = look.shortStrokes ? rng.range(-0.03, 1.03) : (k + rng.uniform()) / count;
        const double tone = rng.range(-0.1, 0.1) + lockTone(d);
        strand.width = rng.range(0.7, 1.4);
        int first = 0;
        int last = n - 1;
        double slope = 0.0;
        if (look.shortStrokes) {
            const int span = std::max(3, int(n * rng.range(0.06, 0.14)));
            first = int(rng.uniform() * (n - span));
            last = std::min(n - 1, first + span);
            slope = rng.range(-0.35, 0.35);  // cropped hair points every which way
        } else {
            last = bodyEnd + int((n - 1 - bodyEnd) * (0.15 + 0.85 * std::pow(rng.uniform(), 0.8)));
        }
        const double phase1 = rng.range(0.0, 2.0 * kPi);
        const double phase2 = rng.range(0.0, 2.0 * kPi);
        const double kinkPhase = rng.range(0.0, 2.0 * kPi);
        // Per-strand constants, hoisted: this loop dominates the time spent drawing hair.
        const double phase = frame.offset(d);
        const double rounding = 0.32 * std::sin(kPi * std::clamp(d, 0.0, 1.0));
        for (int i = first; i <= last; ++i) {
            const double s = frame.arc(i);
            // Strands leave the root together, then drift a little apart.
            const double jitter = smoothstep(0.0, 18.0, s) * (1.1 * std::sin(s / 21.0 + phase1) +
                                                              0.5 * std::sin(s / 8.0 + phase2));
            const double kink = look.kink != 0.0 ? look.kink * std::sin(s / 2.6 + kinkPhase) : 0.0;
            const double t = double(i) / (n - 1);
            strand.points << frame.point(i, d, jitter + kink + (s - frame.arc(first)) * slope,
                                         phase);
            strand.levels.push_back(
                float(0.7 + rounding + tone + 0.22 * frame.crest(i, phase) - 0.15 * t));
        }
        lock.strands.push_back(std::move(strand));
    }
}

// Little pointed tufts break the outline of cropped hair over the crown.
void addTufts(Lock& lock, const SweepFrame& frame, double height, bool positive, Rng& rng) {
    const int n = frame.size();
    double topY = frame.point(0, 1.0).y();
    for (int i = 0; i < n; ++i) {
        topY = std::min(topY, frame.point(i, 1.0).y());
    }
    for (int i = 2; i < n - 3; i += 1 + int(rng.uniform() * 3.0)) {
        const QPointF base = frame.point(i, 1.0);
        if (base.y() > topY + 45.0) {
            continue;
        }
        // Tufts lean the way the hair is combed.
        const QPointF along = unitVector(frame.point(i + 2, 1.0) - frame.point(i - 2, 1.0));
        const QPointF outward = frame.across(i);
        const double h = height * rng.range(0.3, 1.0);
        const double half = rng.range(2.0, 3.5);
        QPolygonF tuft;
        tuft << base - along * half - outward * 2.0
             << base + outward * (h * 0.6) + along * (h * 0.2)
             << base + outward * h + along * (h * 0.9) << base + along * half - outward * 2.0;
        addPart(lock, tuft, positive);
    }
}

// Bumpy outline of round curls along both edges and the tips, and curl strokes all over.
void addCurls(Lock& lock, const SweepFrame& frame, double r, bool positive, Rng& rng) {
    const int n = frame.size();
    auto addBump = [&](const QPointF& centre, double radius) {
        addPart(lock, ellipsePolygon(centre, radius, radius, 16), positive);
        lock.curls.push_back(Curl{centre, radius * 0.7, rng.range(0.0, 360.0),
                                  rng.range(150.0, 250.0), 1.05 + rng.range(-0.1, 0.25),
                                  rng.range(1.1, 1.8)});
    };
    const double length = frame.arc(n - 1);
    for (double s = 0.0; s < length; s += r * 1.25) {
        const int i = std::min(n - 1, int(s / frame.step()));
        addBump(frame.point(i, 1.0, -r * 0.2), r * rng.range(0.85, 1.25));
        addBump(frame.point(i, 0.0, r * 0.4), r * rng.range(0.7, 1.0));
    }
    const double tipWidth = frame.tipWidth();
    for (double s = 0.0; s <= tipWidth; s += r * 1.3) {
        addBump(frame.point(n - 1, s / std::max(1.0, tipWidth)) - frame.tipDirection() * (r * 0.3),
                r * rng.range(0.85, 1.2));
    }
    double area = 0.0;
    for (int i = 1; i < n; ++i) {
        area += frame.rowWidth(i) * frame.step();
    }
    const int curls = int(area / (r * r * 0.8));
    for (int c = 0; c < curls; ++c) {
        const int i = int(rng.uniform() * (n - 1));
        const double d = rng.range(-0.05, 1.08);
        lock.curls.push_back(
            Curl{frame.point(i, d), r * rng.range(0.35, 0.85), rng.range(0.0, 360.0),
                 rng.range(150.0, 260.0),
                 0.9 + 0.35 * std::sin(kPi * std::clamp(d, 0.0, 1.0)) + rng.range(-0.2, 0.25),
                 rng.range(1.0, 1.8)});
    }
}

void addStreaks(Lock& lock, const SweepFrame& frame, const TextureLook& look, Rng& rng) {
    const int n = frame.size();
    for (int k = 0; k < look.streaks; ++k) {
        Strand streak;
        const double d = rng.range(0.08, 0.92);
        streak.width = rng.range(2.0, 3.6);
        const double phase = rng.range(0.0, 2.0 * kPi);
        const int last =
            std::max(2, n - 1 - int(rng.range(0.5, 2.0) * look.raggedTips / frame.step()));
        for (int i = n / 12; i <= last; ++i) {
            streak.points << frame.point(i, d, 1.5 * std::sin(frame.arc(i) / 25.0 + phase));
        }
        lock.streaks.push_back(std::move(streak));
    }
}

}  // namespace

HairPalette HairPalette::fromBase(const QColor& base) {
    float h = 0.0f;
    float s = 0.0f;
    float l = 0.0f;
    float a = 0.0f;
    base.toHsl().getHslF(&h, &s, &l, &a);
    h = std::max(h, 0.0f);
    HairPalette palette;
    palette.base = base;
    palette.dark = QColor::fromHslF(h, std::min(1.0f, s * 1.05f), l * 0.42f);
    palette.light = QColor::fromHslF(h, s * 0.85f, l + (1.0f - l) * 0.4f);
    return palette;
}

QColor HairPalette::shade(double level) const {
    return level < 1.0 ? mixColours(dark, base, level) : mixColours(base, light, level - 1.0);
}

double HairLight::at(const QPointF& p) const {
    const double ring = (QLineF(centre, p).length() - radius) / width;
    return strength * std::exp(-ring * ring) * smoothstep(lowestY + 20.0, lowestY - 20.0, p.y());
}

Lock sweepLock(const Sweep& sweep, const TextureLook& look, Rng& rng) {
    const SweepFrame frame(sweep, look, rng);
    const int n = frame.size();
    // The base colour stops short of the tips; strands carry on to different lengths.
    const int bodyEnd =
        std::clamp(n - 1 - int(std::ceil(look.raggedTips / frame.step())), n / 2, n - 1);

    Lock lock;
    lock.brightness = sweep.brightness;
    lock.streakColour = look.streakColour;
    const QPolygonF outline = frame.outline(n - 1, 4.0 + 0.3 * look.raggedTips);
    const bool positive = signedArea(outline) > 0.0;
    lock.region.setFillRule(Qt::WindingFill);
    addPolygon(lock.region, outline, positive);
    if (bodyEnd < n - 1) {
        lock.body.setFillRule(Qt::WindingFill);
        addPolygon(lock.body, frame.outline(bodyEnd, 0.3 * look.raggedTips), positive);
    }

    addStrands(lock, frame, look, bodyEnd, rng);
    if (look.tufts > 0.0) {
        addTufts(lock, frame, look.tufts, positive, rng);
    }
    if (look.curlRadius > 0.0) {
        addCurls(lock, frame, look.curlRadius, positive, rng);
    }
    addStreaks(lock, frame, look, rng);
    return lock;
}

Lock strandsLock(const QPainterPath& region, const std::vector<QPolygonF>& paths, Rng& rng,
                 double brightness) {
    Lock lock;
    lock.region = region;
    lock.brightness = brightness;
    const double phase1 = rng.range(0.0, 2.0 * kPi);
    const double phase2 = rng.range(0.0, 2.0 * kPi);
    for (const QPolygonF& path : paths) {
        Strand strand;
        strand.points = path;
        strand.width = rng.range(0.7, 1.4);
        // Neighbouring roots share a tone, so the hair shows locks rather than stripes.
        const double x = path.isEmpty() ? 0.0 : path.first().x() + path.first().y();
        const double tone = rng.range(-0.08, 0.08) + 0.13 * std::sin(x * 0.3 + phase1) +
                            0.07 * std::sin(x * 0.8 + phase2);
        for (int i = 0; i < path.size(); ++i) {
            const double t = double(i) / std::max(1, int(path.size()) - 1);
            strand.levels.push_back(float(0.78 + tone + 0.22 * std::sin(kPi * t)));
        }
        lock.strands.push_back(std::move(strand));
    }
    return lock;
}

Lock bunLock(const QPointF& centre, double rx, double ry, Rng& rng) {
    Lock lock;
    lock.region.addPolygon(ellipsePolygon(centre, rx, ry, 48));
    lock.region.closeSubpath();
    // Hair wound round and round: arcs spiralling outwards, lit from above.
    for (int k = 0; k < 130; ++k) {
        Strand strand;
        strand.width = rng.range(0.8, 1.5);
        const double f0 = rng.range(0.1, 0.95);
        const double a0 = rng.range(0.0, 2.0 * kPi);
        const double span = rng.range(1.2, 3.2) * (rng.uniform() < 0.3 ? -1.0 : 1.0);
        const double tone = rng.range(-0.12, 0.12);
        // Each strand winds round its own slightly shifted centre, so the bun looks twisted.
        const QPointF middle =
            centre + QPointF(rng.range(-0.15, 0.15) * rx, rng.range(-0.15, 0.15) * ry);
        for (int i = 0; i <= 24; ++i) {
            const double u = i / 24.0;
            const double a = a0 + span * u;
            const double f = std::min(1.0, f0 + 0.15 * u);
            strand.points << middle + QPointF(rx * f * std::cos(a), ry * f * std::sin(a));
            strand.levels.push_back(float(0.9 - 0.4 * std::sin(a) * f - 0.2 * f + tone));
        }
        lock.strands.push_back(std::move(strand));
    }
    return lock;
}

HairCanvas::HairCanvas(QSize size, const QTransform& transform, const HairPalette& palette,
                       const HairLight& light)
    : layer_(size, QImage::Format_ARGB32_Premultiplied),
      transform_(transform),
      palette_(palette),
      light_(light) {
    layer_.fill(Qt::transparent);
}

void HairCanvas::paint(const Lock& lock) {
    QImage piece(layer_.size(), QImage::Format_ARGB32_Premultiplied);
    piece.fill(Qt::transparent);
    QPainter painter(&piece);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(transform_);

    const QPainterPath& body = lock.body.isEmpty() ? lock.region : lock.body;
    const QRectF box = body.boundingRect();
    QLinearGradient fill(box.topLeft(), box.bottomLeft());
    fill.setColorAt(0.0, palette_.shade(0.8 * lock.brightness));
    fill.setColorAt(1.0, palette_.shade(0.45 * lock.brightness));
    painter.fillPath(body, fill);

    StrokeBatch batch;
    for (const Curl& curl : lock.curls) {
        // Shadow under each curl first, then its lit side.
        const QRectF ring(curl.centre - QPointF(curl.radius, curl.radius) + QPointF(0.6, 0.9),
                          QSizeF(2.0 * curl.radius, 2.0 * curl.radius));
        batch.addArc(ring, curl.startDeg, curl.spanDeg, 0.2 * lock.brightness, curl.width + 0.4);
    }
    Rng dither(std::uint32_t(lock.strands.size()) * 7919u + 1u);
    for (const Strand& strand : lock.strands) {
        const int n = int(strand.points.size());
        // Pieces start at a random offset so tone steps do not line up across strands.
        int i = 0;
        int end = std::min(n - 1, 1 + int(dither.uniform() * 3.0));
        while (i < n - 1) {
            const int mid = (i + end) / 2;
            const double level = lock.brightness * (strand.levels[std::size_t(mid)] +
                                                    light_.at(strand.points[mid])) +
                                 dither.range(-0.03, 0.03);
            // Strands thin out towards their tips.
            const double taper = 1.0 - 0.5 * smoothstep(n * 0.8, n - 1.0, mid);
            batch.addPolyline(strand.points.constData() + i, end - i + 1, level,
                              strand.width * taper);
            i = end;
            end = std::min(n - 1, i + 3);
        }
    }
    for (const Curl& curl : lock.curls) {
        const QRectF ring(curl.centre - QPointF(curl.radius, curl.radius),
                          QSizeF(2.0 * curl.radius, 2.0 * curl.radius));
        const double level = lock.brightness * (curl.level + light_.at(curl.centre));
        batch.addArc(ring, curl.startDeg, curl.spanDeg, level, curl.width);
    }
    batch.paint(painter, palette_);

    for (const Strand& streak : lock.streaks) {
        QPainterPath path;
        path.addPolygon(streak.points);
        painter.strokePath(path, QPen(withAlpha(lock.streakColour, 0.35), streak.width,
                                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.strokePath(path, QPen(withAlpha(lock.streakColour, 0.65), streak.width * 0.4,
                                      Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    }

    // Keep the lock inside its region with an antialiased edge.
    QImage shape(layer_.size(), QImage::Format_ARGB32_Premultiplied);
    shape.fill(Qt::transparent);
    {
        QPainter shapePainter(&shape);
        shapePainter.setRenderHint(QPainter::Antialiasing);
        shapePainter.setTransform(transform_);
        shapePainter.fillPath(lock.region, Qt::black);
    }
    painter.resetTransform();
    painter.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    painter.drawImage(0, 0, shape);
    painter.end();

    QPainter(&layer_).drawImage(0, 0, piece);
}

void HairCanvas::keepBare(const QPainterPath& area) {
    QPainter painter(&layer_);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setTransform(transform_);
    painter.setCompositionMode(QPainter::CompositionMode_DestinationOut);
    painter.fillPath(area, Qt::black);
}

}  // namespace crinova::samples
