#pragma once

#include <QImage>

namespace crinova::samples {

// The salon logo, 700 x 200: a scissors emblem, the name and a tagline.
QImage drawLogo();

// The program's icon: the logo's scissors emblem on a paper disc, `size` x `size`, transparent
// around the disc.
QImage drawIcon(int size);

// The sizes of the icon theme tree, in pixels.
inline constexpr int kIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

}  // namespace crinova::samples
