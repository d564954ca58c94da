#include "platform/raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace crinova {
namespace {

// For one axis: the destination coordinates that survive clipping and the source coordinate each
// one takes. The mapping is monotonic, so destinations whose source lies outside the source picture
// can only sit at the two ends, and they are trimmed off.
struct AxisMap {
    std::int64_t firstDest = 0;  // destination coordinate of the first entry
    int step = 1;                // +1, or -1 for a destination extent that runs backwards
    bool contiguous = false;     // step +1 and source coordinates consecutive upwards
    std::vector<int> source;
};

AxisMap mapAxis(std::int64_t start, std::int64_t extent, std::int64_t destSize,
                std::int64_t sourceStart, std::int64_t sourceExtent, std::int64_t sourceSize) {
    AxisMap map;
    const std::int64_t count = extent < 0 ? -extent : extent;
    const std::int64_t sourceCount = sourceExtent < 0 ? -sourceExtent : sourceExtent;
    // Range of k whose destination coordinate lies in [0, destSize).
    std::int64_t kFirst = 0;
    std::int64_t kEnd = count;
    if (extent > 0) {
        kFirst = std::max<std::int64_t>(kFirst, -start);
        kEnd = std::min<std::int64_t>(kEnd, destSize - start);
    } else {
        kFirst = std::max<std::int64_t>(kFirst, start - destSize);
        kEnd = std::min<std::int64_t>(kEnd, start);
    }
    auto sourceOf = [&](std::int64_t k) {
        const std::int64_t j = k * sourceCount / count;
        return sourceExtent > 0 ? sourceStart + j : sourceStart - 1 - j;
    };
    auto inSource = [&](std::int64_t k) {
        const std::int64_t s = sourceOf(k);
        return s >= 0 && s < sourceSize;
    };
    while (kFirst < kEnd && !inSource(kFirst)) {
        ++kFirst;
    }
    while (kEnd > kFirst && !inSource(kEnd - 1)) {
        --kEnd;
    }
    map.step = extent > 0 ? 1 : -1;
    map.firstDest = extent > 0 ? start + kFirst : start - 1 - kFirst;
    if (kEnd <= kFirst) {
        return map;
    }
    map.source.reserve(static_cast<std::size_t>(kEnd - kFirst));
    for (std::int64_t k = kFirst; k < kEnd; ++k) {
        map.source.push_back(static_cast<int>(sourceOf(k)));
    }
    map.contiguous = map.step == 1 && map.source.back() - map.source.front() ==
                                          static_cast<int>(map.source.size()) - 1;
    return map;
}

// RGB32 pixels always carry an opaque alpha byte, so a copy needs no masking.
struct CopySource {
    QRgb operator()(QRgb, QRgb source) const { return source; }
};

template <typename Combine>
void blitRows(QImage& dest, const QImage& source, const AxisMap& columns, const AxisMap& rows,
              Combine combine) {
    auto* destBits = dest.bits();
    const auto* sourceBits = source.constBits();
    const qsizetype destStride = dest.bytesPerLine();
    const qsizetype sourceStride = source.bytesPerLine();
    const std::size_t width = columns.source.size();
    const int* sourceColumns = columns.source.data();
    std::int64_t dy = rows.firstDest;
    for (const int sy : rows.source) {
        QRgb* destLine = reinterpret_cast<QRgb*>(destBits + dy * destStride);
        const QRgb* sourceLine = reinterpret_cast<const QRgb*>(sourceBits + sy * sourceStride);
        if (columns.contiguous) {
            // One to one along the row: a plain loop the compiler can vectorise, or a block copy.
            QRgb* to = destLine + columns.firstDest;
            const QRgb* from = sourceLine + sourceColumns[0];
            if constexpr (std::is_same_v<Combine, CopySource>) {
                std::memcpy(to, from, width * sizeof(QRgb));
            } else {
                for (std::size_t i = 0; i < width; ++i) {
                    to[i] = combine(to[i], from[i]);
                }
            }
        } else {
            std::int64_t dx = columns.firstDest;
            for (std::size_t i = 0; i < width; ++i, dx += columns.step) {
                destLine[dx] = combine(destLine[dx], sourceLine[sourceColumns[i]]);
            }
        }
        dy += rows.step;
    }
}

void ensureRgb32(QImage& picture) {
    if (picture.format() != QImage::Format_RGB32) {
        picture = picture.convertToFormat(QImage::Format_RGB32);
    }
}

}  // namespace

bool StretchBlt(QImage& dest, int x, int y, int width, int height, const QImage& source, int sx,
                int sy, int swidth, int sheight, RasterOp op) {
    if (op != SRCCOPY && op != SRCAND && op != SRCINVERT) {
        return false;
    }
    if (width == 0 || height == 0 || swidth == 0 || sheight == 0 || dest.isNull() ||
        source.isNull()) {
        return true;
    }
    ensureRgb32(dest);
    // A shallow copy keeps the source intact when it is the destination itself: writing to the
    // destination then detaches it first.
    QImage from = source;
    ensureRgb32(from);
    const AxisMap columns = mapAxis(x, width, dest.width(), sx, swidth, from.width());
    const AxisMap rows = mapAxis(y, height, dest.height(), sy, sheight, from.height());
    if (columns.source.empty() || rows.source.empty()) {
        return true;
    }
    switch (op) {
        case SRCCOPY:
            blitRows(dest, from, columns, rows, CopySource{});
            break;
        case SRCAND:
            blitRows(dest, from, columns, rows,
                     [](QRgb d, QRgb s) { return (d & s) | 0xFF000000u; });
            break;
        case SRCINVERT:
            blitRows(dest, from, columns, rows,
                     [](QRgb d, QRgb s) { return (d ^ s) | 0xFF000000u; });
            break;
    }
    return true;
}

bool StretchBlt(Surface& dest, int x, int y, int width, int height, const Surface& source, int sx,
                int sy, int swidth, int sheight, RasterOp op) {
    const bool done =
        StretchBlt(dest.image(), x, y, width, height, source.image(), sx, sy, swidth, sheight, op);
    dest.notifyChanged();
    return done;
}

bool BitBlt(QImage& dest, int x, int y, int width, int height, const QImage& source, int sx, int sy,
            RasterOp op) {
    return StretchBlt(dest, x, y, width, height, source, sx, sy, width, height, op);
}

bool BitBlt(Surface& dest, int x, int y, int width, int height, const Surface& source, int sx,
            int sy, RasterOp op) {
    return StretchBlt(dest, x, y, width, height, source, sx, sy, width, height, op);
}

Colour GetPixel(const QImage& picture, int x, int y) {
    if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height()) {
        return kClrInvalid;
    }
    return toColour(picture.pixel(x, y));
}

Colour GetPixel(const Surface& surface, int x, int y) {
    return GetPixel(surface.image(), x, y);
}

Colour SetPixel(Surface& surface, int x, int y, Colour colour) {
    return SetPixelV(surface, x, y, colour) ? (colour & 0x00FFFFFFu) : kClrInvalid;
}

bool SetPixelV(Surface& surface, int x, int y, Colour colour) {
    QImage& image = surface.image();
    if (x < 0 || y < 0 || x >= image.width() || y >= image.height()) {
        return false;
    }
    reinterpret_cast<QRgb*>(image.scanLine(y))[x] = toPixel(colour);
    surface.notifyChanged();
    return true;
}

}  // namespace crinova
