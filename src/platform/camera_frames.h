#pragma once

#include <QImage>
#include <QSize>

namespace crinova {

// How a camera frame's pixels lie in memory, by bytes (B, G, R, A = blue first).
enum class FrameLayout {
    Bgra,  // one plane, 4 bytes a pixel; the fourth byte is ignored
    Rgba,
    Argb,
    Abgr,
    Yuyv,  // one plane, Y0 U Y1 V for two pixels
    Uyvy,  // one plane, U Y0 V Y1
    Nv12,  // a Y plane, then one of interleaved U V at half size
    Nv21,  // the same with V U
    I420,  // Y, U, V planes, U and V at half size
    Yv12,  // Y, V, U planes
    Gray,  // one plane, 1 byte a pixel
};

// A frame's planes as the camera hands them over: up to three, each with its own line length.
struct FramePlanes {
    const uchar* data[3] = {nullptr, nullptr, nullptr};
    int bytesPerLine[3] = {0, 0, 0};
};

// The frame as an RGB32 picture, converted on the processor (YUV with the BT.601 coefficients
// OpenCV uses for cameras). `size` is in pixels; sizes of the half-size planes round up.
QImage frameToImage(FrameLayout layout, QSize size, const FramePlanes& planes);

}  // namespace crinova
