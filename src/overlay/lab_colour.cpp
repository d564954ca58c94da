#include "overlay/lab_colour.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace crinova {
namespace {

constexpr double kPi = 3.14159265358979323846;
// D65 reference white.
constexpr double kXn = 0.95047;
constexpr double kYn = 1.0;
constexpr double kZn = 1.08883;
constexpr double kDelta = 6.0 / 29.0;

// The sRGB decoding curve for each 8-bit level, worked out once.
const std::array<double, 256>& linearLevels() {
    static const std::array<double, 256> levels = [] {
        std::array<double, 256> table{};
        for (int i = 0; i < 256; ++i) {
            const double c = i / 255.0;
            table[std::size_t(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        }
        return table;
    }();
    return levels;
}

double labF(double t) {
    return t > kDelta * kDelta * kDelta ? std::cbrt(t) : t / (3 * kDelta * kDelta) + 4.0 / 29.0;
}

double labFInverse(double t) {
    return t > kDelta ? t * t * t : 3 * kDelta * kDelta * (t - 4.0 / 29.0);
}

int encodeLevel(double linear) {
    const double c =
        linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
    return std::clamp(int(std::lround(c * 255.0)), 0, 255);
}

double degrees(double radians) {
    return radians * 180.0 / kPi;
}

double radians(double degrees) {
    return degrees * kPi / 180.0;
}

}  // namespace

Lab labFromRgb(QRgb pixel) {
    const auto& lin = linearLevels();
    const double r = lin[std::size_t(qRed(pixel))];
    const double g = lin[std::size_t(qGreen(pixel))];
    const double b = lin[std::size_t(qBlue(pixel))];
    const double x = 0.4124564 * r + 0.3575761 * g + 0.1804375 * b;
    const double y = 0.2126729 * r + 0.7151522 * g + 0.0721750 * b;
    const double z = 0.0193339 * r + 0.1191920 * g + 0.9503041 * b;
    const double fx = labF(x / kXn);
    const double fy = labF(y / kYn);
    const double fz = labF(z / kZn);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

QRgb rgbFromLab(const Lab& colour) {
    const double fy = (colour.L + 16) / 116;
    const double x = kXn * labFInverse(fy + colour.a / 500);
    const double y = kYn * labFInverse(fy);
    const double z = kZn * labFInverse(fy - colour.b / 200);
    const double r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
    const double g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z;
    const double b = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
    return qRgb(encodeLevel(r), encodeLevel(g), encodeLevel(b));
}

double deltaE2000(const Lab& first, const Lab& second) {
    const double c1 = std::hypot(first.a, first.b);
    const double c2 = std::hypot(second.a, second.b);
    const double cMean7 = std::pow((c1 + c2) / 2, 7);
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + std::pow(25.0, 7))));
    const double a1 = (1 + g) * first.a;
    const double a2 = (1 + g) * second.a;
    const double cp1 = std::hypot(a1, first.b);
    const double cp2 = std::hypot(a2, second.b);
    auto hue = [](double b, double a) {
        if (a == 0 && b == 0) {
            return 0.0;
        }
        const double h = degrees(std::atan2(b, a));
        return h < 0 ? h + 360 : h;
    };
    const double h1 = hue(first.b, a1);
    const double h2 = hue(second.b, a2);

    const double dL = second.L - first.L;
    const double dC = cp2 - cp1;
    double dh = 0;
    if (cp1 * cp2 != 0) {
        dh = h2 - h1;
        if (dh > 180) {
            dh -= 360;
        } else if (dh < -180) {
            dh += 360;
        }
    }
    const double dH = 2 * std::sqrt(cp1 * cp2) * std::sin(radians(dh / 2));

    const double lMean = (first.L + second.L) / 2;
    const double cpMean = (cp1 + cp2) / 2;
    double hMean = h1 + h2;
    if (cp1 * cp2 != 0) {
        if (std::abs(h1 - h2) <= 180) {
            hMean = (h1 + h2) / 2;
        } else if (h1 + h2 < 360) {
            hMean = (h1 + h2 + 360) / 2;
        } else {
            hMean = (h1 + h2 - 360) / 2;
        }
    }
    const double t = 1 - 0.17 * std::cos(radians(hMean - 30)) +
                     0.24 * std::cos(radians(2 * hMean)) + 0.32 * std::cos(radians(3 * hMean + 6)) -
                     0.20 * std::cos(radians(4 * hMean - 63));
    const double dTheta = 30 * std::exp(-std::pow((hMean - 275) / 25, 2));
    const double cpMean7 = std::pow(cpMean, 7);
    const double rC = 2 * std::sqrt(cpMean7 / (cpMean7 + std::pow(25.0, 7)));
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sL = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sC = 1 + 0.045 * cpMean;
    const double sH = 1 + 0.015 * cpMean * t;
    const double rT = -std::sin(radians(2 * dTheta)) * rC;
    const double l = dL / sL;
    const double c = dC / sC;
    const double h = dH / sH;
    return std::sqrt(l * l + c * c + h * h + rT * c * h);
}

}  // namespace crinova
