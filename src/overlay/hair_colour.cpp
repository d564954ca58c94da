#include "overlay/hair_colour.h"

#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

#include "overlay/blend.h"
#include "overlay/strand_streaks.h"

namespace crinova {
namespace {

constexpr std::size_t kStyleEntries = 2;
constexpr std::size_t kPictureEntries = 4;
// Below this many fully covered pixels a hair is all edge: every covered pixel counts.
constexpr double kFewPixels = 16;
constexpr int kRampRounds = 4;
// The ramp's reach in L* below and above the shade, and how soon it gets there (in spreads).
constexpr double kShadowDepth = 26;
constexpr double kHighlightHeight = 16;
constexpr double kRampSoftness = 1.6;

QImage asRgb32(const QImage& picture) {
    return picture.format() == QImage::Format_RGB32 ? picture
                                                    : picture.convertToFormat(QImage::Format_RGB32);
}

std::array<Lab, 256> rampLightness(const HairColourStyle& style, const Lab& target) {
    const double shadows = std::max(0.0, std::min(kShadowDepth, 0.65 * target.L));
    const double highlights = std::max(0.0, std::min(kHighlightHeight, 0.8 * (100.0 - target.L)));
    std::array<Lab, 256> ramp{};
    for (int y = 0; y < 256; ++y) {
        const double z = (y - style.mean) / style.spread;
        const double lightness =
            target.L + (z < 0 ? shadows : highlights) * std::tanh(z / kRampSoftness);
        // Hue fades in deep shadow and towards white, as on real hair.
        double chroma = 1.0;
        if (lightness < target.L && target.L > 0) {
            chroma = std::sqrt(std::max(0.0, lightness) / target.L);
        } else if (lightness > target.L) {
            chroma = 1.0 - 0.4 * (lightness - target.L) / std::max(1.0, 100.0 - target.L);
        }
        ramp[std::size_t(y)] = {lightness, target.a * chroma, target.b * chroma};
    }
    return ramp;
}

// Mixes `to` into `from` by weight / scale, per channel, rounded to nearest: weight 0 keeps
// `from` exactly, weight `scale` gives `to` exactly.
inline QRgb mix(QRgb from, QRgb to, int weight, int scale) {
    const int keep = scale - weight;
    const int half = scale / 2;
    return qRgb((qRed(from) * keep + qRed(to) * weight + half) / scale,
                (qGreen(from) * keep + qGreen(to) * weight + half) / scale,
                (qBlue(from) * keep + qBlue(to) * weight + half) / scale);
}

}  // namespace

std::vector<std::uint8_t> maskCoverages(const QImage& mask, QSize size) {
    std::vector<std::uint8_t> coverage(std::size_t(size.width()) * std::size_t(size.height()), 0);
    const QImage pixels = asRgb32(mask);
    const int width = std::min(size.width(), pixels.width());
    const int height = std::min(size.height(), pixels.height());
    for (int y = 0; y < height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        maskCoverageRow(row, coverage.data() + std::size_t(y) * size.width(), width);
    }
    return coverage;
}

HairColourStyle prepareHairColour(const QImage& picture, std::vector<std::uint8_t> coverage,
                                  double scale) {
    HairColourStyle style;
    const QImage pixels = asRgb32(picture);
    style.width = pixels.width();
    style.height = pixels.height();
    style.coverage = std::move(coverage);
    style.coverage.resize(std::size_t(style.width) * std::size_t(style.height), 0);

    std::array<double, 256> full{};
    std::array<double, 256> partial{};
    double fullCount = 0;
    for (int y = 0; y < style.height; ++y) {
        const QRgb* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        const std::uint8_t* cover = style.coverage.data() + std::size_t(y) * style.width;
        for (int x = 0; x < style.width; ++x) {
            if (cover[x] == 0) {
                continue;
            }
            const int lum = hairLuminance(row[x]);
            partial[std::size_t(lum)] += cover[x] / 255.0;
            if (cover[x] == 255) {
                full[std::size_t(lum)] += 1;
                fullCount += 1;
            }
        }
    }
    style.histogram = fullCount >= kFewPixels ? full : partial;
    double total = 0;
    double sum = 0;
    for (int i = 0; i < 256; ++i) {
        total += style.histogram[std::size_t(i)];
        sum += i * style.histogram[std::size_t(i)];
    }
    if (total <= 0) {
        return style;  // no hair: empty
    }
    style.mean = sum / total;
    double squares = 0;
    for (int i = 0; i < 256; ++i) {
        squares += (i - style.mean) * (i - style.mean) * style.histogram[std::size_t(i)];
    }
    style.spread = std::max(kLeastSpread, std::sqrt(squares / total));

    if (scale >= 4) {
        // A look drawn four times larger has its strands traced at half its size and the streaks
        // enlarged: the same lines, as wide against the hair, at a quarter of the work.
        const cv::Size half(style.width / 2, style.height / 2);
        const cv::Mat fullPixels(style.height, style.width, CV_8UC4,
                                 const_cast<uchar*>(pixels.constBits()),
                                 std::size_t(pixels.bytesPerLine()));
        const cv::Mat fullCoverage(style.height, style.width, CV_8U, style.coverage.data());
        cv::Mat halfPixels;
        cv::Mat halfCoverage;
        cv::resize(fullPixels, halfPixels, half, 0, 0, cv::INTER_AREA);
        cv::resize(fullCoverage, halfCoverage, half, 0, 0, cv::INTER_AREA);
        const QImage reduced(halfPixels.data, half.width, half.height, int(halfPixels.step),
                             QImage::Format_RGB32);
        // A resize's result is continuous: its bytes are the rows, one after another.
        const std::vector<std::uint8_t> reducedCoverage(halfCoverage.datastart,
                                                        halfCoverage.dataend);
        const StrandField field = strandField(reduced, reducedCoverage, scale / 2);
        style.clearDirection = field.meanCoherence >= kClearDirection;
        if (style.clearDirection) {
            const std::vector<std::uint8_t> streaks = strandStreaks(field, reducedCoverage);
            cv::Mat enlarged;
            cv::resize(cv::Mat(half, CV_8U, const_cast<std::uint8_t*>(streaks.data())), enlarged,
                       fullCoverage.size(), 0, 0, cv::INTER_LINEAR);
            style.streaks.assign(enlarged.datastart, enlarged.dataend);
        }
    } else {
        const StrandField field = strandField(pixels, style.coverage, scale);
        style.clearDirection = field.meanCoherence >= kClearDirection;
        if (style.clearDirection) {
            style.streaks = strandStreaks(field, style.coverage);
        }
    }
    style.lengths = lengthsTowardsEnds(style.coverage, style.width, style.height, scale);
    return style;
}

ColourRamp shadeRamp(const HairColourStyle& style, const Lab& target) {
    ColourRamp ramp{};
    if (style.empty()) {
        ramp.fill(rgbFromLab(target));
        return ramp;
    }
    const std::array<Lab, 256> planned = rampLightness(style, target);
    Lab shift;
    for (int round = 0; round < kRampRounds; ++round) {
        Lab mean;
        double total = 0;
        for (int y = 0; y < 256; ++y) {
            const Lab& lab = planned[std::size_t(y)];
            ramp[std::size_t(y)] = rgbFromLab({lab.L + shift.L, lab.a + shift.a, lab.b + shift.b});
            const double weight = style.histogram[std::size_t(y)];
            if (weight > 0) {
                const Lab shown = labFromRgb(ramp[std::size_t(y)]);
                mean.L += weight * shown.L;
                mean.a += weight * shown.a;
                mean.b += weight * shown.b;
                total += weight;
            }
        }
        if (round + 1 == kRampRounds) {
            break;
        }
        shift.L += target.L - mean.L / total;
        shift.a += target.a - mean.a / total;
        shift.b += target.b - mean.b / total;
    }
    return ramp;
}

QImage recolourHair(const QImage& picture, const HairColourStyle& style, const HairColour& colour) {
    QImage result = asRgb32(picture);
    const int intensity = std::clamp(colour.intensity, 0, 100);
    if (style.empty() || intensity == 0 || result.width() != style.width ||
        result.height() != style.height) {
        return result;
    }
    const ColourRamp ramp = shadeRamp(style, colour.shade.target());
    const std::vector<std::uint8_t>* streaks = nullptr;
    if (colour.highlights == Highlights::Mechas && !style.streaks.empty()) {
        streaks = &style.streaks;
    } else if (colour.highlights == Highlights::Balayage) {
        streaks = &style.lengths;
    }
    ColourRamp second{};
    if (streaks) {
        second = shadeRamp(style, colour.second.target());
    }
    constexpr int kFull = 100 * 255;
    for (int y = 0; y < style.height; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(result.scanLine(y));
        const std::size_t start = std::size_t(y) * style.width;
        const std::uint8_t* cover = style.coverage.data() + start;
        for (int x = 0; x < style.width; ++x) {
            if (cover[x] == 0) {
                continue;
            }
            const int lum = hairLuminance(row[x]);
            QRgb shaded = ramp[std::size_t(lum)];
            if (streaks) {
                const int strength = (*streaks)[start + std::size_t(x)];
                if (strength != 0) {
                    shaded = mix(shaded, second[std::size_t(lum)], strength, 255);
                }
            }
            row[x] = mix(row[x], shaded, intensity * cover[x], kFull);
        }
    }
    return result;
}

void recolourRegion(QImage& photo, const QImage& alpha, const HairColour& colour, double scale) {
    if (photo.isNull() || alpha.size() != photo.size()) {
        return;
    }
    const QImage grey = alpha.format() == QImage::Format_Grayscale8
                            ? alpha
                            : alpha.convertToFormat(QImage::Format_Grayscale8);
    std::vector<std::uint8_t> coverage(std::size_t(photo.width()) * std::size_t(photo.height()));
    for (int y = 0; y < photo.height(); ++y) {
        std::copy_n(grey.constScanLine(y), photo.width(),
                    coverage.begin() + std::ptrdiff_t(y) * photo.width());
    }
    const HairColourStyle style = prepareHairColour(photo, std::move(coverage), scale);
    photo = recolourHair(photo, style, colour);
}

std::shared_ptr<const HairColourStyle> HairColourCache::style(const QImage& hair,
                                                              const QImage& mask) {
    const qint64 hairKey = hair.cacheKey();
    const qint64 maskKey = mask.cacheKey();
    for (auto it = styles_.begin(); it != styles_.end(); ++it) {
        if (it->hairKey == hairKey && it->maskKey == maskKey) {
            styles_.splice(styles_.begin(), styles_, it);
            return styles_.front().style;
        }
    }
    auto prepared = std::make_shared<const HairColourStyle>(
        prepareHairColour(hair, maskCoverages(mask, hair.size())));
    styles_.push_front({hairKey, maskKey, prepared});
    if (styles_.size() > kStyleEntries) {
        styles_.pop_back();
    }
    return prepared;
}

QImage HairColourCache::recoloured(const QImage& hair, const QImage& mask,
                                   const HairColour& colour) {
    const qint64 hairKey = hair.cacheKey();
    const qint64 maskKey = mask.cacheKey();
    for (auto it = pictures_.begin(); it != pictures_.end(); ++it) {
        if (it->hairKey == hairKey && it->maskKey == maskKey && it->colour == colour) {
            pictures_.splice(pictures_.begin(), pictures_, it);
            return pictures_.front().picture;
        }
    }
    QImage picture = recolourHair(hair, *style(hair, mask), colour);
    pictures_.push_front({hairKey, maskKey, colour, picture});
    if (pictures_.size() > kPictureEntries) {
        pictures_.pop_back();
    }
    return picture;
}

}  // namespace crinova
