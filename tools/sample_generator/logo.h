#pragma once

#include <QImage>

namespace crinova::samples {

// The salon logo, 700 x 200: a scissors emblem, the name and a tagline.
QImage drawLogo();

}  // namespace crinova::samples
