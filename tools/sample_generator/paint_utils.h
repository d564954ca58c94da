#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>

#include <cstdint>
#include <vector>

namespace crinova::samples {

// Deterministic, so every run of the generator writes identical pictures.
class Rng {
  public:
    explicit Rng(std::uint32_t seed) : state_(seed == 0 ? 0x9e3779b9u : seed) {}
    double uniform();  // in [0, 1)
    double range(double low, double high) { return low + (high - low) * uniform(); }

  private:
    std::uint32_t state_;
};

QPointF lerp(const QPointF& a, const QPointF& b, double t);
double lerp(double a, double b, double t);
double smoothstep(double edge0, double edge1, double x);
QPointF unitVector(const QPointF& v);

// Catmull-Rom through hand-placed keys, so a few points give a smooth organic outline.
QPolygonF smoothCurve(const std::vector<QPointF>& keys, int samplesPerSegment, bool closed = false);
QPainterPath smoothPath(const std::vector<QPointF>& keys, bool closed = true);
QPolygonF quadCurve(const QPointF& from, const QPointF& control, const QPointF& to, int samples);
QPolygonF ellipsePolygon(const QPointF& centre, double rx, double ry, int samples);
double signedArea(const QPolygonF& polygon);

QColor mixColours(const QColor& a, const QColor& b, double t);
QColor withAlpha(QColor colour, double alpha);

}  // namespace crinova::samples
