#pragma once

#include <array>

#include "platform/colour.h"
#include "platform/surface.h"

namespace crinova {

// The eraser's two round brushes: index 0 is 10 x 10, index 1 a 29 x 29 disk with an empty border.
// Each has a colour picture (the brush colour where it covers, black elsewhere; white at first) and
// a mask (black where it covers, white elsewhere).
struct Brushes {
    std::array<Surface, 2> pincel;
    std::array<Surface, 2> mpincel;

    Brushes();

    // Recolours every non-black pixel of both colour pictures, scanning 10 pixels past their edges
    // as the brushes always have; the masks keep their shape. Once the brush is black it stays
    // black.
    void recolour(Colour colour);
};

// Whether the brush of `index` covers the pixel (x, y) of its picture.
bool brushCovers(int index, int x, int y);

}  // namespace crinova
