#pragma once

#include <QImage>
#include <QSize>
#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "overlay/hair_shades.h"

namespace crinova {

// Recolouring a hair to a salon shade. Per style, once: which pixels are hair and how much
// (coverage), the distribution of the hair's luminance, the strands' directions and the streaks
// and balayage drawn along them. Per shade: a 256-entry colour ramp indexed by a pixel's luminance
// (77 R + 150 G + 29 B) / 256, running through a shadow, the shade and a highlight over the hair's
// own mean and spread, so that the strands' shading and texture survive any level. Pixels that
// are not hair (coverage 0) are never touched. Everything works at the picture's own size.

// The luminance that indexes the ramps.
inline int hairLuminance(QRgb pixel) {
    return (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel) + 128) >> 8;
}

// What colouring knows of one hair picture.
struct HairColourStyle {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;   // 0 not hair ... 255 all hair, row by row
    std::array<double, 256> histogram{};  // luminance of the fully covered pixels (see below)
    double mean = -1;                     // of that luminance; -1: no hair at all
    double spread = 0;                    // its standard deviation, at least kLeastSpread
    bool clearDirection = false;          // the strands run clearly one way: streaks may be drawn
    std::vector<std::uint8_t> streaks;    // strength of the streaks, 0 ... 255; empty when none
    std::vector<std::uint8_t> lengths;    // strength of the balayage, 0 ... 255

    bool empty() const { return mean < 0; }
};

// A washed-out hair is spread over at least this many luminance levels, so its few shades do not
// become the whole ramp.
inline constexpr double kLeastSpread = 6.0;

// Prepares `picture` with `coverage` (width x height values, row by row). The histogram holds the
// pixels fully covered; a hair with fewer than 16 of those counts every covered pixel by its
// coverage; with no covered pixel at all the style is empty() and colouring changes nothing.
// `scale` is the picture's size against the main picture's (strandField): 4 for a look drawn at
// four times the size.
HairColourStyle prepareHairColour(const QImage& picture, std::vector<std::uint8_t> coverage,
                                  double scale = 1);

// A style's coverage from its mask as the composition reads it (blend.h, maskCoverage): the mask
// at the top-left corner of a picture of `size`, no hair where the mask does not reach.
std::vector<std::uint8_t> maskCoverages(const QImage& mask, QSize size);

// The ramp of `target` over the style's luminance. A pixel of luminance Y at z = (Y - mean) /
// spread takes L* = target + d * tanh(z / 1.6), d the depth of the shadows (at most 26, and at
// most 0.65 of the target's L*) below the mean and the height of the highlights (at most 16, and
// at most 0.8 of what the target leaves to white) above it; a* and b* follow the target's, paler in
// deep shadow and in bright highlights. The whole ramp is then shifted so that the mean colour
// of the hair (the mean L*a*b* over the histogram) is the target's, within what sRGB can show.
using ColourRamp = std::array<QRgb, 256>;
ColourRamp shadeRamp(const HairColourStyle& style, const Lab& target);

// The hair picture in `colour`: each hair pixel takes its ramp colour (mixed with the second
// shade's by the streaks' or the balayage's strength), then mixed with its own colour by the
// intensity and by its coverage. With intensity 0, or an empty style, the picture is unchanged.
QImage recolourHair(const QImage& picture, const HairColourStyle& style, const HairColour& colour);

// The client's own hair recoloured in place on her photo: `alpha` (Grayscale8, the photo's size)
// says how much of each pixel is her hair; pixels with alpha 0 are left exactly as they are.
void recolourRegion(QImage& photo, const QImage& alpha, const HairColour& colour, double scale = 1);

// Keeps the prepared styles and the recoloured pictures of the last few styles and colours, so a
// drag, a zoom or a repaint in the same colour recolours nothing. Pictures are recognised by
// their identity (QImage::cacheKey): the picture cache gives the same picture while its file is
// unchanged.
class HairColourCache {
  public:
    std::shared_ptr<const HairColourStyle> style(const QImage& hair, const QImage& mask);
    QImage recoloured(const QImage& hair, const QImage& mask, const HairColour& colour);

  private:
    struct StyleEntry {
        qint64 hairKey;
        qint64 maskKey;
        std::shared_ptr<const HairColourStyle> style;
    };
    struct PictureEntry {
        qint64 hairKey;
        qint64 maskKey;
        HairColour colour;
        QImage picture;
    };
    std::list<StyleEntry> styles_;  // most recently used first
    std::list<PictureEntry> pictures_;
};

}  // namespace crinova
