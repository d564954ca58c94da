#pragma once

#include <QImage>
#include <cstdint>

#include "platform/colour.h"
#include "platform/surface.h"

namespace crinova {

// Raster operations of the bitmap transfers, by their platform codes.
enum RasterOp : std::uint32_t {
    SRCCOPY = 0x00CC0020u,    // destination = source
    SRCAND = 0x008800C6u,     // destination = destination AND source
    SRCINVERT = 0x00660046u,  // destination = destination XOR source
};

// Copies the source rectangle (sx, sy, swidth, sheight) onto the destination rectangle
// (x, y, width, height), combining each pixel's red, green and blue bits with `op`.
//
// Geometry, per axis (shown for x): the k-th destination column, k = 0 .. |width| - 1, is x + k
// when width > 0 and x - 1 - k when width < 0; it takes source column j = floor(k * |swidth| /
// |width|) (nearest neighbour, exact for whole ratios), found at sx + j when swidth > 0 and sx - 1
// - j when swidth < 0. So extents of opposite signs mirror the picture, a zero extent draws
// nothing, and stretching by 2 repeats each source pixel twice while shrinking by 2 takes every
// other one (columns 0, 2, 4, ...). Destination pixels outside the destination image are clipped;
// pixels whose source lies outside the source image are left untouched.
//
// Returns false, drawing nothing, for an unknown operation. The source may be the destination.
bool StretchBlt(QImage& dest, int x, int y, int width, int height, const QImage& source, int sx,
                int sy, int swidth, int sheight, RasterOp op);
bool StretchBlt(Surface& dest, int x, int y, int width, int height, const Surface& source, int sx,
                int sy, int swidth, int sheight, RasterOp op);

// One-to-one copy: StretchBlt with the source extents equal to the destination's.
bool BitBlt(QImage& dest, int x, int y, int width, int height, const QImage& source, int sx, int sy,
            RasterOp op);
bool BitBlt(Surface& dest, int x, int y, int width, int height, const Surface& source, int sx,
            int sy, RasterOp op);

// The colour at (x, y) as 0x00BBGGRR, or kClrInvalid outside the picture.
Colour GetPixel(const QImage& picture, int x, int y);
Colour GetPixel(const Surface& surface, int x, int y);

// Sets the pixel; SetPixel answers the colour set (kClrInvalid outside), SetPixelV whether it was
// set.
Colour SetPixel(Surface& surface, int x, int y, Colour colour);
bool SetPixelV(Surface& surface, int x, int y, Colour colour);

}  // namespace crinova
