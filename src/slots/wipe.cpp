#include "slots/wipe.h"

#include "platform/raster.h"

namespace crinova {

void Wipe(Surface& target, const Surface& source, int width, int height, const WipePacing& pacing,
          const std::function<void(int y)>& rowShown) {
    const auto start = std::chrono::steady_clock::now();
    const auto rows = static_cast<long long>(height) + 1;
    for (int y = height; y >= 0; --y) {
        StretchBlt(target, 0, 0, width, y, source, 0, y, width, 1, SRCCOPY);
        if (rowShown) {
            rowShown(y);
        }
        if (pacing.waitUntil) {
            const long long done = height - y + 1;
            pacing.waitUntil(start + pacing.duration * done / rows);
        }
    }
}

}  // namespace crinova
