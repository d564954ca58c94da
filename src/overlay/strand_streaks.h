#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

namespace crinova {

// Where the strands of a hair run, from the structure tensor of its luminance (gradients at
// sigma 1, the tensor smoothed at sigma 6): per pixel the strands' direction (a unit vector,
// across the luminance gradient) and how clearly they run that way, the coherence
// (l1 - l2) / (l1 + l2) of the tensor's eigenvalues, 0 (no direction) to 1 (parallel strands).
struct StrandField {
    int width = 0;
    int height = 0;
    std::vector<float> dx;
    std::vector<float> dy;
    std::vector<float> coherence;
    double meanCoherence = 0;  // over the hair's fully covered pixels
    double scale = 1;          // see strandField
};

// Strands with a mean coherence at or above this have a clear direction. Midway between the
// generator's curly styles (0.23 to 0.37, their strokes turn every few pixels) and its straight,
// wavy and gathered ones (0.64 to 0.95).
inline constexpr double kClearDirection = 0.5;

// The field of `picture` (RGB32) over the pixels that `coverage` (0 ... 255 per pixel, row by row)
// marks as fully hair; the edge of the hair against its background is left out.
// Lengths in pixels (the sigmas here, the streaks' spacing, width and fade) are those of the main
// picture (300 x 320) times `scale`: a picture drawn at four times that size takes 4, and shows
// the same streaks.
StrandField strandField(const QImage& picture, const std::vector<std::uint8_t>& coverage,
                        double scale = 1);

// Streaks along the strands: evenly spaced lines kStreakSpacing pixels apart (a gap of 5 between
// lines 2 pixels wide), traced along the field from seeds taken top to bottom, each stopping where
// it would come closer than half the spacing to another, leaves the hair or loses its direction.
// Answers the streaks' strength per pixel (0 ... 255; at most 90 % on a line, falling off softly
// beside it), faded in over the first pixels below the hair's top in each column (the roots).
inline constexpr int kStreakSpacing = 7;
std::vector<std::uint8_t> strandStreaks(const StrandField& field,
                                        const std::vector<std::uint8_t>& coverage);

// The balayage's strength per pixel (0 ... 255): none in the upper part of the hair, rising
// towards the ends (the hair's lowest rows), faded in below the roots like the streaks.
std::vector<std::uint8_t> lengthsTowardsEnds(const std::vector<std::uint8_t>& coverage, int width,
                                             int height, double scale = 1);

}  // namespace crinova
