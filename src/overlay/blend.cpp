#include "overlay/blend.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <array>
#include <cstdlib>

#include "platform/rounding.h"

namespace crinova {
namespace {

// Beyond this many pixels a drawn hair is prepared only where it shows, so that an enormous zoom
// never asks for gigabytes: about 10 MB a plane.
constexpr std::int64_t kWholePlaneLimit = std::int64_t(1) << 21;
constexpr std::size_t kNaturalEntries = 2;
constexpr std::size_t kDrawnEntries = 4;

// Within this distance of a seed, the nearest one is found exactly; farther out (where only a
// grey, unusual mask reaches) a close one is good enough.
constexpr int kExactReach = 5;

int luminance(QRgb pixel) {
    return (77 * qRed(pixel) + 150 * qGreen(pixel) + 29 * qBlue(pixel) + 128) >> 8;
}

QImage asRgb32(const QImage& picture) {
    return picture.format() == QImage::Format_RGB32 ? picture
                                                    : picture.convertToFormat(QImage::Format_RGB32);
}

// A picture as it stands in a buffer: row y of the buffer, `width` pixels.
void bufferRow(const QImage& picture, int y, int width, QRgb background, QRgb* out) {
    int from = 0;
    if (y < picture.height()) {
        from = std::min(width, picture.width());
        const QRgb* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
        std::copy(line, line + from, out);
    }
    std::fill(out + from, out + width, background);
}

struct Offset {
    int dx;
    int dy;
    int distance;  // squared
};

// Every offset within kExactReach, nearest first (ties in a fixed order: top to bottom, left to
// right).
const std::vector<Offset>& offsetsByDistance() {
    static const std::vector<Offset> offsets = [] {
        std::vector<Offset> all;
        for (int dy = -kExactReach; dy <= kExactReach; ++dy) {
            for (int dx = -kExactReach; dx <= kExactReach; ++dx) {
                const int d = dx * dx + dy * dy;
                if (d <= kExactReach * kExactReach) {
                    all.push_back({dx, dy, d});
                }
            }
        }
        std::stable_sort(all.begin(), all.end(),
                         [](const Offset& a, const Offset& b) { return a.distance < b.distance; });
        return all;
    }();
    return offsets;
}

// For every pixel, the index of the nearest pixel marked in `seeds` (-1 when there is none): a
// two-pass propagation of nearest seeds, exact where a seed is close, a close one farther out.
std::vector<int> nearestSeed(const std::vector<std::uint8_t>& seeds, int width, int height) {
    struct Seed {
        int x = -1;  // -1: none yet
        int y = -1;
    };
    const std::size_t count = std::size_t(width) * std::size_t(height);
    std::vector<Seed> seed(count);
    auto offer = [&](int x, int y, int fromX, int fromY) {
        const Seed candidate = seed[std::size_t(fromY) * width + fromX];
        if (candidate.x < 0) {
            return;
        }
        Seed& mine = seed[std::size_t(y) * width + x];
        const int cx = x - candidate.x;
        const int cy = y - candidate.y;
        const int mx = x - mine.x;
        const int my = y - mine.y;
        if (mine.x < 0 || cx * cx + cy * cy < mx * mx + my * my) {
            mine = candidate;
        }
    };
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (seeds[std::size_t(y) * width + x]) {
                seed[std::size_t(y) * width + x] = {x, y};
            }
        }
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (x > 0)
                offer(x, y, x - 1, y);
            if (y > 0) {
                if (x > 0)
                    offer(x, y, x - 1, y - 1);
                offer(x, y, x, y - 1);
                if (x + 1 < width)
                    offer(x, y, x + 1, y - 1);
            }
        }
        for (int x = width - 2; x >= 0; --x) {
            offer(x, y, x + 1, y);
        }
    }
    for (int y = height - 1; y >= 0; --y) {
        for (int x = width - 1; x >= 0; --x) {
            if (x + 1 < width)
                offer(x, y, x + 1, y);
            if (y + 1 < height) {
                if (x + 1 < width)
                    offer(x, y, x + 1, y + 1);
                offer(x, y, x, y + 1);
                if (x > 0)
                    offer(x, y, x - 1, y + 1);
            }
        }
        for (int x = 1; x < width; ++x) {
            offer(x, y, x - 1, y);
        }
    }
    const std::vector<Offset>& offsets = offsetsByDistance();
    std::vector<int> nearest(count, -1);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Seed found = seed[std::size_t(y) * width + x];
            if (found.x < 0) {
                continue;
            }
            const int dx = x - found.x;
            const int dy = y - found.y;
            const int d = dx * dx + dy * dy;
            if (d > 0 && d <= kExactReach * kExactReach) {
                for (const Offset& offset : offsets) {
                    const int cx = x + offset.dx;
                    const int cy = y + offset.dy;
                    if (cx >= 0 && cy >= 0 && cx < width && cy < height &&
                        seeds[std::size_t(cy) * width + cx]) {
                        found = {cx, cy};
                        break;
                    }
                }
            }
            nearest[std::size_t(y) * width + x] = found.y * width + found.x;
        }
    }
    return nearest;
}

// Bilinear sampling along one axis: plane coordinate -> two natural coordinates and the weight
// of the second, in 1/256.
struct Tap {
    int first;
    int second;
    int weight;
};

std::vector<Tap> taps(int natural, int drawn, int from, int to) {
    std::vector<Tap> result;
    result.reserve(static_cast<std::size_t>(to - from));
    const double ratio = double(natural) / double(drawn);
    for (int k = from; k < to; ++k) {
        const double u = std::clamp((k + 0.5) * ratio - 0.5, 0.0, double(natural - 1));
        const int first = static_cast<int>(u);
        const int second = std::min(first + 1, natural - 1);
        result.push_back({first, second, roundHalfEven((u - first) * 256)});
    }
    return result;
}

// Box average over 2 * radius + 1 values, the plane's ends repeated. `values` holds plane
// positions valuesFrom .. valuesFrom + size - 1; answers positions from .. to - 1.
void boxAverage(const std::uint32_t* values, int stride, int valuesFrom, int planeSize, int radius,
                int from, int to, std::uint32_t* out, int outStride) {
    const std::uint32_t n = static_cast<std::uint32_t>(2 * radius + 1);
    for (int k = from; k < to; ++k) {
        std::uint32_t sum = 0;
        for (int j = k - radius; j <= k + radius; ++j) {
            const int at = std::clamp(j, 0, planeSize - 1) - valuesFrom;
            sum += values[at * stride];
        }
        out[(k - from) * outStride] = (sum + n / 2) / n;
    }
}

}  // namespace

int maskCoverage(QRgb maskPixel) {
    const int lum = luminance(maskPixel);
    if (lum >= 255 - kMaskSnap) {
        return 0;
    }
    if (lum <= kMaskSnap) {
        return 255;
    }
    constexpr int span = 255 - 2 * kMaskSnap;
    return ((255 - kMaskSnap - lum) * 255 + span / 2) / span;
}

void maskCoverageRow(const QRgb* mask, std::uint8_t* coverage, int count) {
    static const std::array<std::uint8_t, 256> table = [] {
        std::array<std::uint8_t, 256> levels{};
        for (int level = 0; level < 256; ++level) {
            levels[std::size_t(level)] =
                static_cast<std::uint8_t>(maskCoverage(qRgb(level, level, level)));
        }
        return levels;
    }();
    for (int x = 0; x < count; ++x) {
        coverage[x] = table[std::size_t(luminance(mask[x]))];
    }
}

int featherRadius(int natural, int drawn) {
    if (natural <= 0) {
        return 1;
    }
    return std::max(1, roundHalfEven(std::abs(double(drawn)) / natural / 2));
}

NaturalHair prepareNaturalHair(const QImage& mask, const QImage& hair, QSize buffer,
                               Colour background) {
    NaturalHair result;
    if (buffer.isEmpty()) {
        return result;
    }
    result.width = buffer.width();
    result.height = buffer.height();
    const std::size_t count = std::size_t(result.width) * std::size_t(result.height);
    result.coverage.resize(count);
    result.colour.resize(count);
    const bool soft = mask.format() == QImage::Format_Grayscale8;
    const QImage maskPixels = soft ? mask : asRgb32(mask);
    const QImage hairPixels = asRgb32(hair);
    const QRgb fill = toPixel(background);
    std::vector<QRgb> row(static_cast<std::size_t>(result.width));
    for (int y = 0; y < result.height; ++y) {
        std::uint8_t* coverage = result.coverage.data() + std::size_t(y) * result.width;
        if (soft) {
            const int reach =
                y < maskPixels.height() ? std::min(result.width, maskPixels.width()) : 0;
            if (reach > 0) {
                std::copy(maskPixels.constScanLine(y), maskPixels.constScanLine(y) + reach,
                          coverage);
            }
            std::fill(coverage + reach, coverage + result.width, std::uint8_t(0));
        } else {
            bufferRow(maskPixels, y, result.width, fill, row.data());
            maskCoverageRow(row.data(), coverage, result.width);
        }
        bufferRow(hairPixels, y, result.width, fill,
                  result.colour.data() + std::size_t(y) * result.width);
    }
    // The hair picture's outermost pixels mix its colour with the black around it: the hair's
    // colour is read one pixel further in. Inner pixels keep their own colour; rim pixels become
    // no darker than the nearest inner one; pixels the mask covers in part or not at all take the
    // colour of the nearest fully covered pixel, so corrected, or the nearest inner one's when
    // that is lighter.
    const int width = result.width;
    const int height = result.height;
    auto full = [&](int x, int y) {
        return x < 0 || y < 0 || x >= width || y >= height ||
               result.coverage[std::size_t(y) * width + x] == 255;
    };
    std::vector<std::uint8_t> inner(count, 0);
    bool anyInner = false;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bool all = true;
            for (int dy = -1; dy <= 1 && all; ++dy) {
                for (int dx = -1; dx <= 1 && all; ++dx) {
                    all = full(x + dx, y + dy);
                }
            }
            inner[std::size_t(y) * width + x] = all ? 1 : 0;
            anyInner = anyInner || all;
        }
    }
    if (!anyInner) {
        // Nothing but thin strands: every fully covered pixel is its own colour's source.
        for (std::size_t i = 0; i < count; ++i) {
            inner[i] = result.coverage[i] == 255 ? 1 : 0;
        }
    }
    const std::vector<int> innerSeed = nearestSeed(inner, width, height);
    const std::vector<QRgb> own = result.colour;
    std::vector<std::uint8_t> covered(count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        covered[i] = result.coverage[i] == 255 ? 1 : 0;
        if (covered[i] && !inner[i] && innerSeed[i] >= 0) {
            const QRgb from = own[static_cast<std::size_t>(innerSeed[i])];
            result.colour[i] = luminance(own[i]) >= luminance(from) ? own[i] : from;
        }
    }
    const std::vector<int> coveredSeed = nearestSeed(covered, width, height);
    for (std::size_t i = 0; i < count; ++i) {
        if (covered[i] || coveredSeed[i] < 0) {
            continue;
        }
        result.colour[i] = result.colour[static_cast<std::size_t>(coveredSeed[i])];
        if (innerSeed[i] >= 0) {
            const QRgb from = own[static_cast<std::size_t>(innerSeed[i])];
            if (luminance(from) > luminance(result.colour[i])) {
                result.colour[i] = from;
            }
        }
    }
    return result;
}

DrawnHair prepareDrawnHair(const NaturalHair& natural, int width, int height, QRect window) {
    DrawnHair result;
    result.width = width;
    result.height = height;
    const int columns = std::abs(width);
    const int rows = std::abs(height);
    if (columns == 0 || rows == 0 || natural.width == 0 || natural.height == 0) {
        return result;
    }
    result.window = window & QRect(0, 0, columns, rows);
    const QRect& win = result.window;
    if (win.isEmpty()) {
        return result;
    }
    const int rx = featherRadius(natural.width, width);
    const int ry = featherRadius(natural.height, height);
    const QRect ext = win.adjusted(-rx, -ry, rx, ry) & QRect(0, 0, columns, rows);

    // Coverage resampled over the window and the feather's margin.
    const std::vector<Tap> cols = taps(natural.width, columns, ext.left(), ext.right() + 1);
    const std::vector<Tap> lines = taps(natural.height, rows, ext.top(), ext.bottom() + 1);
    const int ew = ext.width();
    const int eh = ext.height();
    std::vector<std::uint32_t> sampled(std::size_t(ew) * std::size_t(eh));
    for (int l = 0; l < eh; ++l) {
        const Tap& row = lines[std::size_t(l)];
        const std::uint8_t* top = natural.coverage.data() + std::size_t(row.first) * natural.width;
        const std::uint8_t* bottom =
            natural.coverage.data() + std::size_t(row.second) * natural.width;
        std::uint32_t* out = sampled.data() + std::size_t(l) * ew;
        for (int k = 0; k < ew; ++k) {
            const Tap& col = cols[std::size_t(k)];
            const std::uint32_t upper = top[col.first] * std::uint32_t(256 - col.weight) +
                                        top[col.second] * std::uint32_t(col.weight);
            const std::uint32_t lower = bottom[col.first] * std::uint32_t(256 - col.weight) +
                                        bottom[col.second] * std::uint32_t(col.weight);
            out[k] = (upper * std::uint32_t(256 - row.weight) + lower * std::uint32_t(row.weight) +
                      32768) >>
                     16;
        }
    }

    // The feather: a box along the rows, then along the columns.
    const int ww = win.width();
    const int wh = win.height();
    std::vector<std::uint32_t> across(std::size_t(ww) * std::size_t(eh));
    for (int l = 0; l < eh; ++l) {
        boxAverage(sampled.data() + std::size_t(l) * ew, 1, ext.left(), columns, rx, win.left(),
                   win.right() + 1, across.data() + std::size_t(l) * ww, 1);
    }
    std::vector<std::uint32_t> feathered(std::size_t(ww) * std::size_t(wh));
    for (int k = 0; k < ww; ++k) {
        boxAverage(across.data() + k, ww, ext.top(), rows, ry, win.top(), win.bottom() + 1,
                   feathered.data() + k, ww);
    }
    result.coverage.assign(feathered.begin(), feathered.end());

    // Colours resampled over the window.
    result.colour.resize(std::size_t(ww) * std::size_t(wh));
    const int dx = win.left() - ext.left();
    const int dy = win.top() - ext.top();
    for (int l = 0; l < wh; ++l) {
        const Tap& row = lines[std::size_t(l + dy)];
        const QRgb* top = natural.colour.data() + std::size_t(row.first) * natural.width;
        const QRgb* bottom = natural.colour.data() + std::size_t(row.second) * natural.width;
        QRgb* out = result.colour.data() + std::size_t(l) * ww;
        const std::uint32_t wy = std::uint32_t(row.weight);
        for (int k = 0; k < ww; ++k) {
            const Tap& col = cols[std::size_t(k + dx)];
            const std::uint32_t wx = std::uint32_t(col.weight);
            const QRgb p[4] = {top[col.first], top[col.second], bottom[col.first],
                               bottom[col.second]};
            if (p[0] == p[1] && p[0] == p[2] && p[0] == p[3]) {
                out[k] = p[0];
                continue;
            }
            auto channel = [&](int shift) {
                auto c = [&](int i) { return (p[i] >> shift) & 0xFFu; };
                const std::uint32_t upper = c(0) * (256 - wx) + c(1) * wx;
                const std::uint32_t lower = c(2) * (256 - wx) + c(3) * wx;
                return ((upper * (256 - wy) + lower * wy + 32768) >> 16) << shift;
            };
            out[k] = 0xFF000000u | channel(16) | channel(8) | channel(0);
        }
    }

    result.spanStart.resize(std::size_t(wh));
    result.spanEnd.resize(std::size_t(wh));
    for (int l = 0; l < wh; ++l) {
        const std::uint8_t* coverage = result.coverage.data() + std::size_t(l) * ww;
        int first = 0;
        while (first < ww && coverage[first] == 0) {
            ++first;
        }
        int last = ww;
        while (last > first && coverage[last - 1] == 0) {
            --last;
        }
        result.spanStart[std::size_t(l)] = first;
        result.spanEnd[std::size_t(l)] = last;
    }
    return result;
}

void drawBlendedHair(QImage& dest, int x, int y, const DrawnHair& hair) {
    const QRect& win = hair.window;
    if (win.isEmpty() || dest.isNull()) {
        return;
    }
    if (dest.format() != QImage::Format_RGB32) {
        dest = dest.convertToFormat(QImage::Format_RGB32);
    }
    const int destWidth = dest.width();
    const int destHeight = dest.height();
    const int ww = win.width();
    const bool forward = hair.width > 0;
    // Window column i lands at origin + step * i.
    const std::int64_t origin =
        forward ? std::int64_t(x) + win.left() : std::int64_t(x) - 1 - win.left();
    const int step = forward ? 1 : -1;
    std::int64_t firstVisible = 0;
    std::int64_t endVisible = ww;
    if (forward) {
        firstVisible = std::max<std::int64_t>(0, -origin);
        endVisible = std::min<std::int64_t>(ww, destWidth - origin);
    } else {
        firstVisible = std::max<std::int64_t>(0, origin - destWidth + 1);
        endVisible = std::min<std::int64_t>(ww, origin + 1);
    }
    for (int l = 0; l < win.height(); ++l) {
        const std::int64_t planeRow = std::int64_t(win.top()) + l;
        const std::int64_t dy = hair.height > 0 ? y + planeRow : y - 1 - planeRow;
        if (dy < 0 || dy >= destHeight) {
            continue;
        }
        const int from =
            static_cast<int>(std::max<std::int64_t>(hair.spanStart[std::size_t(l)], firstVisible));
        const int to =
            static_cast<int>(std::min<std::int64_t>(hair.spanEnd[std::size_t(l)], endVisible));
        if (from >= to) {
            continue;
        }
        const std::uint8_t* coverage = hair.coverage.data() + std::size_t(l) * ww;
        const QRgb* colour = hair.colour.data() + std::size_t(l) * ww;
        QRgb* line = reinterpret_cast<QRgb*>(dest.scanLine(static_cast<int>(dy)));
        for (int i = from; i < to; ++i) {
            const std::uint32_t a = coverage[i];
            if (a == 0) {
                continue;
            }
            QRgb& pixel = line[origin + std::int64_t(step) * i];
            if (a == 255) {
                pixel = colour[i] | 0xFF000000u;
                continue;
            }
            // Red and blue, then alpha and green, two channels to a word: each product sum
            // stays below 65536, so the lanes never meet. Opaque alpha blends to opaque.
            const std::uint32_t photo = pixel | 0xFF000000u;
            const std::uint32_t hairPixel = colour[i] | 0xFF000000u;
            const std::uint32_t keep = 255 - a;
            std::uint32_t rb =
                (photo & 0x00FF00FFu) * keep + (hairPixel & 0x00FF00FFu) * a + 0x00800080u;
            rb = ((rb + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
            std::uint32_t ag = ((photo >> 8) & 0x00FF00FFu) * keep +
                               ((hairPixel >> 8) & 0x00FF00FFu) * a + 0x00800080u;
            ag = (ag + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
            pixel = ag | rb;
        }
    }
}

const DrawnHair* BlendCache::prepare(const QImage& mask, const QImage& hair, QSize buffer,
                                     Colour background, int x, int y, int width, int height,
                                     QSize dest) {
    const int columns = std::abs(width);
    const int rows = std::abs(height);
    if (columns == 0 || rows == 0 || buffer.isEmpty() || dest.isEmpty()) {
        return nullptr;
    }
    // The part of the plane that lands inside the destination, per axis.
    auto visible = [](std::int64_t at, int extent, int size, int count) {
        std::int64_t first = 0;
        std::int64_t end = count;
        if (extent > 0) {
            first = std::max<std::int64_t>(first, -at);
            end = std::min<std::int64_t>(end, size - at);
        } else {
            first = std::max<std::int64_t>(first, at - size);
            end = std::min<std::int64_t>(end, at);
        }
        return std::pair<int, int>(static_cast<int>(first), static_cast<int>(std::max(first, end)));
    };
    const auto [k0, k1] = visible(x, width, dest.width(), columns);
    const auto [l0, l1] = visible(y, height, dest.height(), rows);
    if (k0 >= k1 || l0 >= l1) {
        return nullptr;
    }
    const QRect needed(k0, l0, k1 - k0, l1 - l0);

    const qint64 maskKey = mask.cacheKey();
    const qint64 hairKey = hair.cacheKey();
    auto natural = std::find_if(natural_.begin(), natural_.end(), [&](const NaturalEntry& e) {
        return e.maskKey == maskKey && e.hairKey == hairKey && e.buffer == buffer &&
               e.background == background;
    });
    if (natural == natural_.end()) {
        natural_.push_front({maskKey, hairKey, buffer, background,
                             std::make_shared<const NaturalHair>(
                                 prepareNaturalHair(mask, hair, buffer, background))});
        if (natural_.size() > kNaturalEntries) {
            natural_.pop_back();
        }
    } else {
        natural_.splice(natural_.begin(), natural_, natural);
    }
    const std::shared_ptr<const NaturalHair>& prepared = natural_.front().hair;

    auto drawn = std::find_if(drawn_.begin(), drawn_.end(), [&](const DrawnEntry& e) {
        return e.natural == prepared && e.drawn.width == width && e.drawn.height == height &&
               e.drawn.window.contains(needed);
    });
    if (drawn == drawn_.end()) {
        const bool whole = std::int64_t(columns) * rows <= kWholePlaneLimit;
        const QRect window = whole ? QRect(0, 0, columns, rows) : needed;
        drawn_.push_front({prepared, prepareDrawnHair(*prepared, width, height, window)});
        if (drawn_.size() > kDrawnEntries) {
            drawn_.pop_back();
        }
    } else {
        drawn_.splice(drawn_.begin(), drawn_, drawn);
    }
    return &drawn_.front().drawn;
}

void BlendCache::clear() {
    natural_.clear();
    drawn_.clear();
    alphas_.clear();
}

QImage BlendCache::softAlpha(const QString& path) {
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray bytes = file.readAll();
    for (auto it = alphas_.begin(); it != alphas_.end(); ++it) {
        if (it->path == path && it->bytes == bytes) {
            alphas_.splice(alphas_.begin(), alphas_, it);
            return it->picture;
        }
    }
    QImage picture;
    if (!picture.loadFromData(bytes, "png") || picture.format() != QImage::Format_Grayscale8) {
        return {};
    }
    alphas_.push_front({path, bytes, picture});
    if (alphas_.size() > kNaturalEntries) {
        alphas_.pop_back();
    }
    return picture;
}

void StretchBlend(QImage& dest, int x, int y, int width, int height, const QImage& mask,
                  const QImage& hair, QSize buffer, Colour background, BlendCache& cache) {
    const DrawnHair* prepared =
        cache.prepare(mask, hair, buffer, background, x, y, width, height, dest.size());
    if (prepared) {
        drawBlendedHair(dest, x, y, *prepared);
    }
}

}  // namespace crinova
