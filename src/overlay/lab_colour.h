#pragma once

#include <QRgb>

namespace crinova {

// A colour in CIE L*a*b* under the D65 white of sRGB: L* 0 (black) to 100 (white); a* green (-) to
// red (+), b* blue (-) to yellow (+).
struct Lab {
    double L = 0;
    double a = 0;
    double b = 0;

    bool operator==(const Lab&) const = default;
};

// An 8-bit sRGB pixel (IEC 61966-2-1 transfer curve, D65) in L*a*b*, and back. Colours outside
// the sRGB gamut are clipped channel by channel; channels are rounded to the nearest level.
Lab labFromRgb(QRgb pixel);
QRgb rgbFromLab(const Lab& colour);

// The CIEDE2000 colour difference (kL = kC = kH = 1). About 1 is the smallest difference a
// trained eye sees side by side; 3 is hard to tell apart on hair.
double deltaE2000(const Lab& first, const Lab& second);

}  // namespace crinova
