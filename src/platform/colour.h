#pragma once

#include <QRgb>
#include <cstdint>

namespace crinova {

// Colours cross the platform interface as 0x00BBGGRR values; pictures hold 0xAARRGGBB pixels.
// These two conversions are the only place where the byte orders meet.
using Colour = std::uint32_t;

inline constexpr Colour kClrInvalid = 0xFFFFFFFFu;  // what GetPixel answers outside a picture (-1)
inline constexpr Colour kWhite = 0x00FFFFFFu;
inline constexpr Colour kBlack = 0x00000000u;
inline constexpr Colour kRed = 0x000000FFu;

// The hidden buffers' background: white on every machine, whatever the widget style says.
inline constexpr Colour kWindowBackground = kWhite;

inline constexpr QRgb toPixel(Colour colour) {
    return 0xFF000000u | ((colour & 0xFFu) << 16) | (colour & 0xFF00u) | ((colour >> 16) & 0xFFu);
}

inline constexpr Colour toColour(QRgb pixel) {
    return ((pixel >> 16) & 0xFFu) | (pixel & 0xFF00u) | ((pixel & 0xFFu) << 16);
}

}  // namespace crinova
