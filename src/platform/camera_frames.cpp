#include "platform/camera_frames.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <cstring>

namespace crinova {
namespace {

cv::Mat plane(const FramePlanes& planes, int index, int rows, int cols, int type) {
    return cv::Mat(rows, cols, type, const_cast<uchar*>(planes.data[index]),
                   std::size_t(planes.bytesPerLine[index]));
}

// Y, U and V planes copied into the one block OpenCV's 4:2:0 conversions read.
cv::Mat contiguousPlanar(const FramePlanes& planes, int width, int height) {
    const int half = (width + 1) / 2;
    const int halfRows = (height + 1) / 2;
    cv::Mat block(height + halfRows, width, CV_8UC1);
    plane(planes, 0, height, width, CV_8UC1).copyTo(block(cv::Rect(0, 0, width, height)));
    // The two chroma planes follow, each half a row wide, two of their rows to a block row.
    uchar* out = block.ptr(height);
    for (int p = 1; p <= 2; ++p) {
        for (int y = 0; y < halfRows; ++y) {
            std::memcpy(out, planes.data[p] + std::size_t(y) * planes.bytesPerLine[p],
                        std::size_t(half));
            out += half;
        }
    }
    return block;
}

}  // namespace

QImage frameToImage(FrameLayout layout, QSize size, const FramePlanes& planes) {
    const int w = size.width();
    const int h = size.height();
    if (size.isEmpty() || !planes.data[0]) {
        return {};
    }
    QImage image(size, QImage::Format_RGB32);
    cv::Mat out(h, w, CV_8UC4, image.bits(), std::size_t(image.bytesPerLine()));
    switch (layout) {
        case FrameLayout::Bgra:
            plane(planes, 0, h, w, CV_8UC4).copyTo(out);
            break;
        case FrameLayout::Rgba:
            cv::cvtColor(plane(planes, 0, h, w, CV_8UC4), out, cv::COLOR_RGBA2BGRA);
            break;
        case FrameLayout::Argb:
        case FrameLayout::Abgr: {
            // B, G, R taken from their places after the leading A.
            const int argb[] = {3, 0, 2, 1, 1, 2};
            const int abgr[] = {1, 0, 2, 1, 3, 2};
            const cv::Mat in = plane(planes, 0, h, w, CV_8UC4);
            cv::mixChannels(&in, 1, &out, 1, layout == FrameLayout::Argb ? argb : abgr, 3);
            break;
        }
        case FrameLayout::Yuyv:
        case FrameLayout::Uyvy:
            cv::cvtColor(
                plane(planes, 0, h, w, CV_8UC2), out,
                layout == FrameLayout::Yuyv ? cv::COLOR_YUV2BGRA_YUY2 : cv::COLOR_YUV2BGRA_UYVY);
            break;
        case FrameLayout::Nv12:
        case FrameLayout::Nv21:
            if (!planes.data[1]) {
                return {};
            }
            cv::cvtColorTwoPlane(
                plane(planes, 0, h, w, CV_8UC1),
                plane(planes, 1, (h + 1) / 2, (w + 1) / 2, CV_8UC2), out,
                layout == FrameLayout::Nv12 ? cv::COLOR_YUV2BGRA_NV12 : cv::COLOR_YUV2BGRA_NV21);
            break;
        case FrameLayout::I420:
        case FrameLayout::Yv12:
            if (!planes.data[1] || !planes.data[2] || w % 2 || h % 2) {
                return {};
            }
            cv::cvtColor(
                contiguousPlanar(planes, w, h), out,
                layout == FrameLayout::I420 ? cv::COLOR_YUV2BGRA_I420 : cv::COLOR_YUV2BGRA_YV12);
            break;
        case FrameLayout::Gray:
            cv::cvtColor(plane(planes, 0, h, w, CV_8UC1), out, cv::COLOR_GRAY2BGRA);
            break;
    }
    // RGB32 keeps its fourth byte at 0xff; the conversions from YUV and grey set it already.
    const bool keptFourthByte = layout == FrameLayout::Bgra || layout == FrameLayout::Rgba ||
                                layout == FrameLayout::Argb || layout == FrameLayout::Abgr;
    for (int y = 0; keptFourthByte && y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < w; ++x) {
            row[x] |= 0xff000000u;
        }
    }
    return image;
}

}  // namespace crinova
