#include "paint_utils.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace crinova::samples {

double Rng::uniform() {
    // xorshift32: tiny and identical on every platform, unlike the standard distributions.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_ / 4294967296.0;
}

QPointF lerp(const QPointF& a, const QPointF& b, double t) {
    return a + (b - a) * t;
}

double lerp(double a, double b, double t) {
    return a + (b - a) * t;
}

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

QPointF unitVector(const QPointF& v) {
    const double length = std::hypot(v.x(), v.y());
    return length > 1e-9 ? v / length : QPointF(0.0, 0.0);
}

namespace {

QPointF catmullRom(const QPointF& p0, const QPointF& p1, const QPointF& p2, const QPointF& p3,
                   double u) {
    const double u2 = u * u;
    const double u3 = u2 * u;
    return 0.5 * (2.0 * p1 + (p2 - p0) * u + (2.0 * p0 - 5.0 * p1 + 4.0 * p2 - p3) * u2 +
                  (3.0 * p1 - p0 - 3.0 * p2 + p3) * u3);
}

QPointF keyAt(const std::vector<QPointF>& keys, int i, bool closed) {
    const int n = int(keys.size());
    return closed ? keys[std::size_t(((i % n) + n) % n)]
                  : keys[std::size_t(std::clamp(i, 0, n - 1))];
}

}  // namespace

QPolygonF smoothCurve(const std::vector<QPointF>& keys, int samplesPerSegment, bool closed) {
    QPolygonF curve;
    const int n = int(keys.size());
    if (n < 2) {
        for (const QPointF& key : keys) {
            curve << key;
        }
        return curve;
    }
    const int segments = closed ? n : n - 1;
    for (int i = 0; i < segments; ++i) {
        for (int s = 0; s < samplesPerSegment; ++s) {
            curve << catmullRom(keyAt(keys, i - 1, closed), keyAt(keys, i, closed),
                                keyAt(keys, i + 1, closed), keyAt(keys, i + 2, closed),
                                double(s) / samplesPerSegment);
        }
    }
    if (!closed) {
        curve << keys.back();
    }
    return curve;
}

QPainterPath smoothPath(const std::vector<QPointF>& keys, bool closed) {
    QPainterPath path;
    const int n = int(keys.size());
    if (n == 0) {
        return path;
    }
    path.moveTo(keys.front());
    const int segments = closed ? n : n - 1;
    for (int i = 0; i < segments; ++i) {
        const QPointF p0 = keyAt(keys, i - 1, closed);
        const QPointF p1 = keyAt(keys, i, closed);
        const QPointF p2 = keyAt(keys, i + 1, closed);
        const QPointF p3 = keyAt(keys, i + 2, closed);
        path.cubicTo(p1 + (p2 - p0) / 6.0, p2 - (p3 - p1) / 6.0, p2);
    }
    if (closed) {
        path.closeSubpath();
    }
    return path;
}

QPolygonF quadCurve(const QPointF& from, const QPointF& control, const QPointF& to, int samples) {
    QPolygonF curve;
    for (int i = 0; i <= samples; ++i) {
        const double t = double(i) / samples;
        curve << lerp(lerp(from, control, t), lerp(control, to, t), t);
    }
    return curve;
}

QPolygonF ellipsePolygon(const QPointF& centre, double rx, double ry, int samples) {
    QPolygonF polygon;
    for (int i = 0; i < samples; ++i) {
        const double a = 2.0 * std::numbers::pi * i / samples;
        polygon << centre + QPointF(rx * std::cos(a), ry * std::sin(a));
    }
    return polygon;
}

double signedArea(const QPolygonF& polygon) {
    double area = 0.0;
    for (int i = 0; i < polygon.size(); ++i) {
        const QPointF& a = polygon[i];
        const QPointF& b = polygon[(i + 1) % polygon.size()];
        area += a.x() * b.y() - b.x() * a.y();
    }
    return area / 2.0;
}

QColor mixColours(const QColor& a, const QColor& b, double t) {
    t = std::clamp(t, 0.0, 1.0);
    return QColor::fromRgbF(
        float(lerp(a.redF(), b.redF(), t)), float(lerp(a.greenF(), b.greenF(), t)),
        float(lerp(a.blueF(), b.blueF(), t)), float(lerp(a.alphaF(), b.alphaF(), t)));
}

QColor withAlpha(QColor colour, double alpha) {
    colour.setAlphaF(float(std::clamp(alpha, 0.0, 1.0)));
    return colour;
}

}  // namespace crinova::samples
