#pragma once

#include <QImage>

namespace crinova {

// The toolbar's icons (the image list), one per ordinary button, drawn by the program itself at
// 24 x 24. `button` is the button's index on the bar (1, 2, 3, 5, 6, 8, 10, 11, 13, 14); any other
// index gives an empty picture.
QImage toolbarIcon(int button);

}  // namespace crinova
