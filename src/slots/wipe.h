#pragma once

#include <chrono>
#include <functional>

#include "platform/surface.h"

namespace crinova {

// How a wipe keeps time: the whole wipe lasts `duration`, each row waiting for its own moment
// through `waitUntil` (a real sleep in the program; tests record instead of waiting).
struct WipePacing {
    std::chrono::steady_clock::duration duration = std::chrono::seconds(1);
    std::function<void(std::chrono::steady_clock::time_point)> waitUntil;
};

// The roll-up wipe: for y = height down to 0, destination rows 0 .. y - 1 take source row y
// stretched over them (SRCCOPY), so the picture rises from the bottom with the row at its edge
// streaked above it; at the end each row k holds source row k + 1. After each row `rowShown(y)`
// puts it on screen, then the pacing waits for the row's moment: row i of the height + 1 rows is
// due at start + (i + 1) * duration / (height + 1).
void Wipe(Surface& target, const Surface& source, int width, int height, const WipePacing& pacing,
          const std::function<void(int y)>& rowShown);

}  // namespace crinova
