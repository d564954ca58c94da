#include "eraser/brushes.h"

#include "platform/raster.h"

namespace crinova {
namespace {

struct Span {
    int first;
    int last;  // inclusive; first > last: an empty row
};

// Covered columns of each row, from the top.
constexpr Span kFine[10] = {{2, 6}, {1, 8}, {0, 8}, {0, 9}, {0, 9},
                            {0, 9}, {0, 9}, {1, 8}, {1, 7}, {3, 6}};

constexpr Span diskRow(int row) {
    const int r = row <= 14 ? row : 28 - row;  // the disk is symmetric about row 14
    constexpr Span kUpperHalf[15] = {{1, 0},  {11, 17}, {8, 20}, {7, 21}, {5, 23},
                                     {4, 24}, {4, 24},  {3, 25}, {2, 26}, {2, 26},
                                     {2, 26}, {1, 27},  {1, 27}, {1, 27}, {1, 27}};
    return kUpperHalf[r];
}

}  // namespace

bool brushCovers(int index, int x, int y) {
    const int size = index == 0 ? 10 : 29;
    if (x < 0 || y < 0 || x >= size || y >= size) {
        return false;
    }
    const Span span = index == 0 ? kFine[y] : diskRow(y);
    return x >= span.first && x <= span.last;
}

Brushes::Brushes() {
    for (int index = 0; index < 2; ++index) {
        const int size = index == 0 ? 10 : 29;
        Surface& colour = pincel[static_cast<std::size_t>(index)];
        Surface& mask = mpincel[static_cast<std::size_t>(index)];
        colour = Surface(size, size, kBlack);
        mask = Surface(size, size, kWhite);
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                if (brushCovers(index, x, y)) {
                    SetPixelV(colour, x, y, kWhite);
                    SetPixelV(mask, x, y, kBlack);
                }
            }
        }
    }
}

void Brushes::recolour(Colour colour) {
    for (Surface& picture : pincel) {
        for (int x = 0; x <= picture.ScaleWidth() + 10; ++x) {
            for (int y = 0; y <= picture.ScaleHeight() + 10; ++y) {
                const Colour found = GetPixel(picture, x, y);
                // Outside the picture there is no colour; black is not recoloured.
                if (found != kClrInvalid && found > 0) {
                    SetPixelV(picture, x, y, colour);
                }
            }
        }
    }
}

}  // namespace crinova
