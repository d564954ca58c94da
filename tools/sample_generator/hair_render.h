#pragma once

#include <QColor>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>
#include <QSize>
#include <QTransform>

#include <vector>

#include "paint_utils.h"

namespace crinova::samples {

// Tones of one hair colour; strands pick between them by a brightness level.
struct HairPalette {
    QColor dark;
    QColor base;
    QColor light;

    static HairPalette fromBase(const QColor& base);
    QColor shade(double level) const;  // 0 = dark, 1 = base, 2 = light
};

// Glossy hair shines in a band around the crown; modelled as a ring around `centre`.
struct HairLight {
    QPointF centre;
    double radius = 60.0;
    double width = 9.0;
    double strength = 0.7;
    double lowestY = 112.0;  // the band fades out below this line

    double at(const QPointF& p) const;
};

struct Strand {
    QPolygonF points;           // root first
    std::vector<float> levels;  // brightness per point, see HairPalette::shade
    double width = 1.0;
};

struct Curl {
    QPointF centre;
    double radius = 3.0;
    double startDeg = 0.0;
    double spanDeg = 270.0;
    double level = 1.0;
    double width = 1.3;
};

// One lock of hair; everything drawn for it stays inside `region`. The base colour fills only
// `body` (the whole region when empty), so strand tips beyond it end in loose, feathered ends.
struct Lock {
    QPainterPath region;
    QPainterPath body;
    std::vector<Strand> strands;
    std::vector<Curl> curls;
    std::vector<Strand> streaks;  // painted in streakColour over the strands
    QColor streakColour;
    double brightness = 1.0;
};

// How a texture bends the strands that run between two guide curves.
struct TextureLook {
    double waveAmplitude = 0.0;
    double waveLength = 40.0;
    double waveStartY = 150.0;     // hair lies flat on the skull and waves below this line
    double innerWaveStartY = 0.0;  // the edge next to the face starts waving here (0: same)
    double kink = 0.0;             // fine zigzag of coiled hair
    double curlRadius = 0.0;       // > 0: bumpy outline and curl strokes
    double raggedTips = 6.0;
    int strands = 140;
    bool shortStrokes = false;  // cropped hair: many short strokes instead of long strands
    double tufts = 0.0;         // > 0: small tufts standing up along the top of the outline
    int streaks = 0;
    QColor streakColour;
};

// Strands run from root to tip between an inner and an outer guide; both guides have the same
// number of keys and key i of one faces key i of the other.
struct Sweep {
    std::vector<QPointF> inner;
    std::vector<QPointF> outer;
    double brightness = 1.0;
};

Lock sweepLock(const Sweep& sweep, const TextureLook& look, Rng& rng);

// Lock from ready-made strand paths (e.g. hair pulled back towards a bun).
Lock strandsLock(const QPainterPath& region, const std::vector<QPolygonF>& paths, Rng& rng,
                 double brightness = 1.0);

Lock bunLock(const QPointF& centre, double rx, double ry, Rng& rng);

// Accumulates locks on a transparent layer (premultiplied ARGB).
class HairCanvas {
  public:
    HairCanvas(QSize size, const QTransform& transform, const HairPalette& palette,
               const HairLight& light);

    void paint(const Lock& lock);
    void keepBare(const QPainterPath& area);  // erases hair from `area`
    const QImage& image() const { return layer_; }

  private:
    QImage layer_;
    QTransform transform_;
    HairPalette palette_;
    HairLight light_;
};

}  // namespace crinova::samples
