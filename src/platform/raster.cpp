#include "platform/raster.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace crinova {
namespace {

// For one axis: the destination coordinates that survive clipping, in increasing order from
// `first`, and the source coordinate each one takes. The mapping is monotonic, so destinations
// whose source lies outside the source picture can only sit at the two ends, and they are trimmed
// off.
struct AxisMap {
    std::int64_t first = 0;
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
    if (kEnd <= kFirst) {
        return map;
    }
    // j = floor(k * sourceCount / count), stepped without a division per entry.
    const std::int64_t wholeStep = sourceCount / count;
    const std::int64_t partStep = sourceCount % count;
    std::int64_t j = kFirst * sourceCount / count;
    std::int64_t part = kFirst * sourceCount % count;
    const std::int64_t sign = sourceExtent > 0 ? 1 : -1;
    const std::int64_t base = sourceExtent > 0 ? sourceStart : sourceStart - 1;
    std::vector<int>& source = map.source;
    source.resize(static_cast<std::size_t>(kEnd - kFirst));
    std::size_t inFirst = source.size();
    std::size_t inEnd = 0;
    for (std::size_t i = 0; i < source.size(); ++i) {
        const std::int64_t s = base + sign * j;
        if (s >= 0 && s < sourceSize) {
            inFirst = std::min(inFirst, i);
            inEnd = i + 1;
        }
        source[i] = static_cast<int>(s);
        j += wholeStep;
        part += partStep;
        if (part >= count) {
            part -= count;
            ++j;
        }
    }
    if (inEnd <= inFirst) {
        source.clear();
        return map;
    }
    source.erase(source.begin() + static_cast<std::ptrdiff_t>(inEnd), source.end());
    source.erase(source.begin(), source.begin() + static_cast<std::ptrdiff_t>(inFirst));
    kFirst += static_cast<std::int64_t>(inFirst);
    if (extent > 0) {
        map.first = start + kFirst;
    } else {
        // Runs backwards: the last entry kept is the leftmost destination.
        std::reverse(source.begin(), source.end());
        map.first = start - kFirst - static_cast<std::int64_t>(source.size());
    }
    return map;
}

// The three operations. The alpha byte of RGB32 pixels stays opaque: a copy takes the source's,
// which is always opaque, and the bitwise ones set it.
struct CopyOp {
    static QRgb apply(QRgb, QRgb source) { return source; }
};
struct AndOp {
    static QRgb apply(QRgb dest, QRgb source) { return (dest & source) | 0xFF000000u; }
};
struct XorOp {
    static QRgb apply(QRgb dest, QRgb source) { return (dest ^ source) | 0xFF000000u; }
};

// Pixels are taken in blocks of a fixed count, so the compiler turns each block into vector
// instructions even where it does not vectorise loops of unknown length; four AVX2 registers a
// block keep the loads ahead of the stores.
constexpr std::size_t kBlock = 32;

template <typename Op>
__attribute__((target_clones("avx2", "default"))) void combineRow(QRgb* __restrict to,
                                                                  const QRgb* __restrict from,
                                                                  std::size_t count) {
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        for (std::size_t b = 0; b < kBlock; ++b) {
            to[i + b] = Op::apply(to[i + b], from[i + b]);
        }
    }
    for (; i < count; ++i) {
        to[i] = Op::apply(to[i], from[i]);
    }
}

// `from` points at the source pixel of the first destination column; the row runs backwards.
template <typename Op>
void combineRowMirrored(QRgb* __restrict to, const QRgb* __restrict from, std::size_t count) {
    std::size_t i = 0;
    for (; i + kBlock <= count; i += kBlock) {
        for (std::size_t b = 0; b < kBlock; ++b) {
            to[i + b] = Op::apply(to[i + b], *(from - (i + b)));
        }
    }
    for (; i < count; ++i) {
        to[i] = Op::apply(to[i], *(from - i));
    }
}

// The source row as the destination columns take it, through the column table.
void stretchRow(QRgb* __restrict to, const QRgb* __restrict line, const int* columns,
                std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        to[i] = line[columns[i]];
    }
}

// The same for columns an equal step apart (a shrink by a whole factor), without the table.
void stretchRowStrided(QRgb* __restrict to, const QRgb* __restrict from, std::ptrdiff_t step,
                       std::size_t count) {
    for (std::size_t i = 0; i < count; ++i) {
        to[i] = from[std::ptrdiff_t(i) * step];
    }
}

enum class ColumnShape { Forward, Backward, Strided, Table };

// Steps of a nearest-neighbour mapping are all 0 or 1, or all one of two neighbouring whole
// numbers; when the total rise is the first step times the count of steps, every step is that one.
ColumnShape shapeOf(const std::vector<int>& columns, std::ptrdiff_t& step) {
    step = columns.size() > 1 ? std::ptrdiff_t(columns[1]) - columns[0] : 1;
    const auto span = static_cast<std::ptrdiff_t>(columns.size()) - 1;
    const std::ptrdiff_t rise = std::ptrdiff_t(columns.back()) - columns.front();
    if (rise != step * span) {
        return ColumnShape::Table;
    }
    if (step == 1) {
        return ColumnShape::Forward;
    }
    return step == -1 ? ColumnShape::Backward : ColumnShape::Strided;
}

template <typename Op>
void blitRows(QImage& dest, const QImage& source, const AxisMap& columns, const AxisMap& rows) {
    auto* destBits = dest.bits();
    const auto* sourceBits = source.constBits();
    const qsizetype destStride = dest.bytesPerLine();
    const qsizetype sourceStride = source.bytesPerLine();
    const std::size_t width = columns.source.size();
    std::ptrdiff_t step = 1;
    const ColumnShape shape = shapeOf(columns.source, step);
    const std::vector<int>& sourceRows = rows.source;

    const bool direct = shape == ColumnShape::Forward || shape == ColumnShape::Backward;
    std::vector<QRgb> stretched(direct ? 0 : width);
    std::size_t r = 0;
    while (r < sourceRows.size()) {
        // Destination rows taking the same source row share its stretched pixels.
        std::size_t runEnd = r + 1;
        while (runEnd < sourceRows.size() && sourceRows[runEnd] == sourceRows[r]) {
            ++runEnd;
        }
        const QRgb* line = reinterpret_cast<const QRgb*>(sourceBits + sourceRows[r] * sourceStride);
        const QRgb* from = line + columns.source.front();
        if (shape == ColumnShape::Strided) {
            stretchRowStrided(stretched.data(), from, step, width);
            from = stretched.data();
        } else if (shape == ColumnShape::Table) {
            stretchRow(stretched.data(), line, columns.source.data(), width);
            from = stretched.data();
        }
        const QRgb* firstOfRun = nullptr;
        for (; r < runEnd; ++r) {
            QRgb* to =
                reinterpret_cast<QRgb*>(destBits + (rows.first + std::int64_t(r)) * destStride) +
                columns.first;
            if constexpr (std::is_same_v<Op, CopyOp>) {
                // A copy depends on the source only: the run's first row is copied to the rest.
                if (firstOfRun != nullptr) {
                    std::memcpy(to, firstOfRun, width * sizeof(QRgb));
                } else if (shape == ColumnShape::Backward) {
                    combineRowMirrored<Op>(to, from, width);
                } else {
                    std::memcpy(to, from, width * sizeof(QRgb));
                }
                firstOfRun = to;
            } else if (shape == ColumnShape::Backward) {
                combineRowMirrored<Op>(to, from, width);
            } else {
                combineRow<Op>(to, from, width);
            }
        }
    }
}

// The clipped range of one axis of a one-to-one transfer with positive extents, without a table:
// destination start + k takes source start + k.
struct DirectSpan {
    std::int64_t dest = 0;
    std::int64_t source = 0;
    std::int64_t count = 0;
};

DirectSpan directSpan(std::int64_t start, std::int64_t extent, std::int64_t destSize,
                      std::int64_t sourceStart, std::int64_t sourceSize) {
    const std::int64_t kFirst = std::max<std::int64_t>({0, -start, -sourceStart});
    const std::int64_t kEnd =
        std::min<std::int64_t>({extent, destSize - start, sourceSize - sourceStart});
    return {start + kFirst, sourceStart + kFirst, std::max<std::int64_t>(0, kEnd - kFirst)};
}

// Most of the composition's transfers: pictures drawn at their own size, unmirrored.
template <typename Op>
void blitDirect(QImage& dest, const QImage& source, const DirectSpan& columns,
                const DirectSpan& rows) {
    const qsizetype destStride = dest.bytesPerLine();
    const qsizetype sourceStride = source.bytesPerLine();
    auto* destBits = dest.bits() + rows.dest * destStride;
    const auto* sourceBits = source.constBits() + rows.source * sourceStride;
    auto width = std::size_t(columns.count);
    auto height = std::size_t(rows.count);
    // Whole rows of pictures of one width: one pass over all the pixels at once.
    if (width == std::size_t(dest.width()) && width == std::size_t(source.width()) &&
        destStride == qsizetype(width * sizeof(QRgb)) && sourceStride == destStride) {
        width *= height;
        height = 1;
    }
    for (std::size_t r = 0; r < height; ++r) {
        QRgb* to = reinterpret_cast<QRgb*>(destBits + qsizetype(r) * destStride) + columns.dest;
        const QRgb* from = reinterpret_cast<const QRgb*>(sourceBits + qsizetype(r) * sourceStride) +
                           columns.source;
        if constexpr (std::is_same_v<Op, CopyOp>) {
            std::memcpy(to, from, width * sizeof(QRgb));
        } else {
            combineRow<Op>(to, from, width);
        }
    }
}

template <typename Op>
void transfer(QImage& dest, int x, int y, int width, int height, const QImage& source, int sx,
              int sy, int swidth, int sheight) {
    if (width == swidth && height == sheight) {
        // Equal extents: k maps to k whatever the signs, so both running backwards is the same
        // transfer running forwards from the other end.
        if (width < 0) {
            x += width;
            sx += swidth;
            width = swidth = -width;
        }
        if (height < 0) {
            y += height;
            sy += sheight;
            height = sheight = -height;
        }
        const DirectSpan columns = directSpan(x, width, dest.width(), sx, source.width());
        const DirectSpan rows = directSpan(y, height, dest.height(), sy, source.height());
        if (columns.count > 0 && rows.count > 0) {
            blitDirect<Op>(dest, source, columns, rows);
        }
        return;
    }
    const AxisMap columns = mapAxis(x, width, dest.width(), sx, swidth, source.width());
    const AxisMap rows = mapAxis(y, height, dest.height(), sy, sheight, source.height());
    if (!columns.source.empty() && !rows.source.empty()) {
        blitRows<Op>(dest, source, columns, rows);
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
    switch (op) {
        case SRCCOPY:
            transfer<CopyOp>(dest, x, y, width, height, from, sx, sy, swidth, sheight);
            break;
        case SRCAND:
            transfer<AndOp>(dest, x, y, width, height, from, sx, sy, swidth, sheight);
            break;
        case SRCINVERT:
            transfer<XorOp>(dest, x, y, width, height, from, sx, sy, swidth, sheight);
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
