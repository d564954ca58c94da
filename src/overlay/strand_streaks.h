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
};

// Strands with a mean coherence at or above this have a clear direction; tight curls, whose
// strokes turn every few pixels, stay well below it.
inline constexpr double kClearDirection = 0.38;

// The field of `picture` (RGB32) over the pixels that `coverage` (0 ... 255 per pixel, row by row)
// marks as fully hair; the edge of the hair against its background is left out.
StrandField strandField(const QImage& picture, const std::vector<std::uint8_t>& coverage);

// Streaks along the strands: evenly spaced lines kStreakSpacing pixels apart (a gap of 5 between
// lines 2 pixels wide), traced along the field from seeds taken top to bottom, each stopping where
// it would come closer than half the spacing to another, leaves the hair or loses its direction.
// Answers the streaks' strength per pixel (0 ... 255), faded in over the first pixels below the
// hair's top in each column (the roots).
inline constexpr int kStreakSpacing = 7;
std::vector<std::uint8_t> strandStreaks(const StrandField& field,
                                        const std::vector<std::uint8_t>& coverage);

// The balayage's strength per pixel (0 ... 255): none in the upper part of the hair, rising
// towards the ends (the hair's lowest rows), faded in below the roots like the streaks.
std::vector<std::uint8_t> lengthsTowardsEnds(const std::vector<std::uint8_t>& coverage, int width,
                                             int height);

}  // namespace crinova
