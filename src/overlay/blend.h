#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "platform/colour.h"

namespace crinova {

// The blended hair: instead of cutting the silhouette out with AND and painting the hair in with
// XOR, each pixel becomes photo * (1 - a) + hair * a, with the coverage a taken from the mask
// (black covers, white leaves the photo, grey covers in part), the silhouette's edge feathered,
// the hair's colours spread outward under the feather so that its black background never shows,
// and hair and mask resampled bilinearly when drawn at another size.

// Mask values within this distance of pure black or pure white count as black or white: JPEG
// noise in the background must not tint the photo, nor speckle the inside of the hair.
inline constexpr int kMaskSnap = 12;

// The coverage of one mask pixel, 0 (white) to 255 (black), from its luminance
// (77 R + 150 G + 29 B) / 256; between the snapped ends it falls linearly, rounded to nearest:
// round((255 - kMaskSnap - lum) * 255 / (255 - 2 * kMaskSnap)).
int maskCoverage(QRgb maskPixel);
// maskCoverage over `count` pixels of a row, through a table of the 256 luminances.
void maskCoverageRow(const QRgb* mask, std::uint8_t* coverage, int count);

// One channel of the blend, photo * (255 - coverage) / 255 + hair * coverage / 255, rounded to
// the nearest integer (an exact half never occurs: 255 is odd).
inline int blendChannel(int photo, int hair, int coverage) {
    const int t = photo * (255 - coverage) + hair * coverage + 128;
    return (t + (t >> 8)) >> 8;
}

// The feather's reach, in drawn pixels, along an axis whose natural extent `natural` is drawn as
// `drawn` pixels: a box of 2r + 1 pixels, r = max(1, round(|drawn| / natural / 2)). Together with
// the bilinear ramp of an enlargement the feathered band is about 2 pixels at the natural size
// and grows with the drawn size (4 at double size).
int featherRadius(int natural, int drawn);

// The hair at its natural size: coverage per pixel (maskCoverage) and the colour to paint. Inner
// pixels (fully covered, and so are their eight neighbours) keep the hair's own colour; the
// silhouette's outermost fully covered pixels, where the hair picture mixes with its black
// background, are painted no darker than the nearest inner pixel; pixels covered in part or not
// at all take the lighter of the colour so found of the nearest fully covered pixel and that of
// the nearest inner pixel (the hair's, never its background's). With no inner pixel, fully covered
// pixels stand in for them; with none of those, the hair's own colours are kept.
struct NaturalHair {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> coverage;
    std::vector<QRgb> colour;
};

// `mask` and `hair` as they stand in a buffer of `buffer` size: each picture at the top-left
// corner, the buffer's background where a picture does not reach, anything beyond the buffer cut
// off (the same rules as the exact composition's). A style's soft alpha may stand in for the mask:
// an 8-bit grey picture (Format_Grayscale8) gives the coverage as it is, 0 where it does not
// reach.
NaturalHair prepareNaturalHair(const QImage& mask, const QImage& hair, QSize buffer,
                               Colour background);

// Part of the hair resampled to a drawn size and feathered. Plane coordinates (k, l) run over
// 0 .. |width| - 1 and 0 .. |height| - 1 in the order of the drawn extents: drawn at (x, y) with a
// positive width, column k lands at x + k; with a negative width at x - 1 - k (mirrored), and the
// same for rows. `window` is the part of the plane held.
struct DrawnHair {
    int width = 0;  // the drawn extents, signed
    int height = 0;
    QRect window;
    std::vector<std::uint8_t> coverage;  // window.width() x window.height(), row by row
    std::vector<QRgb> colour;
    std::vector<int> spanStart;  // per window row: first and one past the last column (window
    std::vector<int> spanEnd;    // coordinates) whose coverage is not 0
};

// Resamples `natural` to |width| x |height| (bilinear, pixel centres aligned: plane column k
// samples natural column (k + 0.5) * natural / |width| - 0.5, clamped to the picture), feathers
// the coverage with a box of featherRadius on each axis (the plane's edge repeated) and keeps the
// part inside `window` (plane coordinates, clipped to the plane).
DrawnHair prepareDrawnHair(const NaturalHair& natural, int width, int height, QRect window);

// Blends the prepared hair into `dest` drawn at (x, y) with extents hair.width x hair.height;
// pixels outside `dest` or outside the window are left alone.
void drawBlendedHair(QImage& dest, int x, int y, const DrawnHair& hair);

// Keeps the prepared hair of the last few pictures and drawn sizes, so that compositions of the
// same hair at the same size (a drag's end, a repaint, a saved slot) only blend. A decoded
// picture is recognised by its identity (QImage::cacheKey): the picture cache decodes a file again
// whenever its bytes change, which is a surer sign than a modification time.
class BlendCache {
  public:
    // The hair prepared for drawing at (x, y) with extents width x height onto a picture of
    // `dest` size: the whole plane when it is of a reasonable size, otherwise only the visible
    // part. Null when nothing of it can show.
    const DrawnHair* prepare(const QImage& mask, const QImage& hair, QSize buffer,
                             Colour background, int x, int y, int width, int height, QSize dest);
    void clear();

    // The soft alpha file at `path` as an 8-bit grey picture, decoded again only when its bytes
    // change (so the hair prepared from it is found again); null when there is no such file or it
    // is not an 8-bit grey PNG.
    QImage softAlpha(const QString& path);

  private:
    struct AlphaEntry {
        QString path;
        QByteArray bytes;
        QImage picture;
    };
    std::list<AlphaEntry> alphas_;  // most recently used first
    struct NaturalEntry {
        qint64 maskKey;
        qint64 hairKey;
        QSize buffer;
        Colour background;
        std::shared_ptr<const NaturalHair> hair;
    };
    struct DrawnEntry {
        std::shared_ptr<const NaturalHair> natural;
        DrawnHair drawn;
    };
    std::list<NaturalEntry> natural_;  // most recently used first
    std::list<DrawnEntry> drawn_;
};

// The blended counterpart of the mask's SRCAND and the hair's SRCINVERT stretch-copies: the
// whole of `mask` and `hair` (as they stand in a buffer of `buffer` size) drawn onto `dest` at
// (x, y) with extents width x height. Zero extents draw nothing; negative ones mirror.
void StretchBlend(QImage& dest, int x, int y, int width, int height, const QImage& mask,
                  const QImage& hair, QSize buffer, Colour background, BlendCache& cache);

}  // namespace crinova
