#pragma once

#include <QImage>
#include <QRect>
#include <QSize>
#include <chrono>
#include <vector>

namespace crinova {

// Where the client's view opens: full screen on a screen other than the main window's (the one
// facing the client) when there is one; otherwise, at `preferred` size (made to fit the screen),
// beside the main window on its screen: to its right when there is room, else to its left, else
// narrower in the wider of the two gaps when that is at least kNarrowestBeside wide, else
// against the screen's right edge.
inline constexpr int kNarrowestBeside = 480;
struct ViewPlacement {
    int screen = 0;  // index into the screens given
    bool fullScreen = false;
    QRect geometry;  // the window's frame in virtual desktop coordinates
};
ViewPlacement placeClientView(const std::vector<QRect>& screens, int mainScreen,
                              const QRect& mainFrame, QSize preferred);

// `picture` at `size` for the screen: bilinear, averaged when reduced to less than half.
QImage scaledForView(const QImage& picture, QSize size);

// A picture of `picture` size shown as large as `area` allows, keeping its proportions, centred.
QRect fittedRect(QSize picture, const QRect& area);

// The slide show's wipe at the size shown: for step y (height down to 0) row k of the frame shows
// the picture's row max(y, k + 1), the last row standing in for the one below the picture, as the
// slide show's roll-up draws it. `frame` and `picture` have the same size.
void drawWipeStep(QImage& frame, const QImage& picture, int y);

// The step y of a wipe of `height` rows that lasts `duration`, `elapsed` after it began: the
// height + 1 steps come at even intervals, step i (y = height - i) at i * duration / (height + 1).
// Never below 0.
int wipeStepAt(std::chrono::steady_clock::duration elapsed,
               std::chrono::steady_clock::duration duration, int height);

// "Before" and "after" in one picture of their size: columns left of `divider` (0 to 1 of the
// width) from `before`, the rest from `after`.
QImage dividedPicture(const QImage& before, const QImage& after, double divider);

}  // namespace crinova
