#include "segmentation/soft_edge.h"

#include <opencv2/core.hpp>
// The matting header needs the core's declarations first.
#include <opencv2/alphamat.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>

#include "segmentation/picture_views.h"

namespace crinova {
namespace {

QImage grey(QSize size, uchar fill) {
    QImage picture(size, QImage::Format_Grayscale8);
    picture.fill(fill);
    return picture;
}

QImage asRgb32(const QImage& picture) {
    return picture.format() == QImage::Format_RGB32 ? picture
                                                    : picture.convertToFormat(QImage::Format_RGB32);
}

QImage asGrey(const QImage& picture) {
    return picture.format() == QImage::Format_Grayscale8
               ? picture
               : picture.convertToFormat(QImage::Format_Grayscale8);
}

// Information-flow matting of `trimap` (0, 128, 255) over `image` (8-bit BGR). Where the method
// cannot run (no known pixel of either kind: a selection thinner than the band) the band keeps
// the hard selection `inside`.
cv::Mat matte(const cv::Mat& image, const cv::Mat& trimap, const cv::Mat& inside) {
    cv::Mat result = trimap.clone();
    const cv::Mat band = trimap == 128;
    if (cv::countNonZero(band) > 0 && cv::countNonZero(trimap == 255) > 0 &&
        cv::countNonZero(trimap == 0) > 0) {
        try {
            cv::Mat alpha;
            cv::alphamat::infoFlow(image.clone(), trimap.clone(), alpha);
            alpha.copyTo(result, band);
            return result;
        } catch (const cv::Exception&) {
        }
    }
    inside.copyTo(result, band);
    return result;
}

}  // namespace

QImage softAlpha(const QImage& frame, const QImage& hard, const QImage& previous,
                 const QRect& changed) {
    const QSize size = frame.size();
    if (size.isEmpty() || hard.size() != size) {
        return grey(size, 0);
    }
    const QImage colour = asRgb32(frame);
    const QImage selection = asGrey(hard);
    cv::Mat bgr;
    cv::cvtColor(viewOf(colour, CV_8UC4), bgr, cv::COLOR_BGRA2BGR);
    const cv::Mat inside = viewOf(selection, CV_8UC1) != 0;

    const cv::Mat disc = cv::getStructuringElement(cv::MORPH_ELLIPSE,
                                                   cv::Size(2 * kSoftBand + 1, 2 * kSoftBand + 1));
    cv::Mat sure;
    cv::Mat reach;
    cv::erode(inside, sure, disc, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::Scalar(255));
    cv::dilate(inside, reach, disc, cv::Point(-1, -1), 1, cv::BORDER_CONSTANT, cv::Scalar(0));
    cv::Mat trimap(bgr.size(), CV_8UC1, cv::Scalar(128));
    trimap.setTo(255, sure);
    trimap.setTo(0, reach == 0);

    const bool partial = previous.size() == size && !changed.isNull();
    QImage result = partial ? asGrey(previous).copy() : grey(size, 0);
    cv::Mat out = viewOf(result, CV_8UC1);
    cv::Mat band = trimap == 128;
    cv::Rect area = cv::boundingRect(band);
    if (partial) {
        const cv::Rect wanted(changed.x() - kSoftBand, changed.y() - kSoftBand,
                              changed.width() + 2 * kSoftBand, changed.height() + 2 * kSoftBand);
        area &= wanted;
        // Outside the band the alpha follows the hard selection at once.
        cv::Mat region = out(wanted & cv::Rect(0, 0, out.cols, out.rows));
        trimap(wanted & cv::Rect(0, 0, out.cols, out.rows)).copyTo(region);
        region.setTo(0, region == 128);
    } else {
        trimap.copyTo(out);
        out.setTo(0, band);
    }
    if (area.empty()) {
        return result;
    }
    // The matting sees a margin of known pixels around the part it estimates.
    constexpr int kMargin = 2 * kSoftBand + 2;
    const cv::Rect crop = cv::Rect(area.x - kMargin, area.y - kMargin, area.width + 2 * kMargin,
                                   area.height + 2 * kMargin) &
                          cv::Rect(0, 0, bgr.cols, bgr.rows);
    const cv::Mat estimated = matte(bgr(crop), trimap(crop), inside(crop));
    const cv::Rect inCrop(area.x - crop.x, area.y - crop.y, area.width, area.height);
    estimated(inCrop).copyTo(out(area), band(area));
    return result;
}

QImage strandColour(const QImage& frame, const QImage& alpha) {
    const QSize size = frame.size();
    QImage result(size, QImage::Format_RGB32);
    result.fill(0xff000000u);
    if (size.isEmpty() || alpha.size() != size) {
        return result;
    }
    const QImage colour = asRgb32(frame);
    const QImage coverage = asGrey(alpha);
    cv::Mat image;
    cv::cvtColor(viewOf(colour, CV_8UC4), image, cv::COLOR_BGRA2BGR);
    image.convertTo(image, CV_32FC3);
    cv::Mat a;
    viewOf(coverage, CV_8UC1).convertTo(a, CV_32F, 1.0 / 255);

    // Nearby colours of the wholly covered pixels (the strands) and of the uncovered ones (the
    // background), each a weighted average over a few pixels around.
    constexpr double kSpread = 4.0;
    auto nearbyMean = [&](const cv::Mat& weight) {
        cv::Mat w3;
        cv::Mat channels[] = {weight, weight, weight};
        cv::merge(channels, 3, w3);
        cv::Mat sum;
        cv::Mat total;
        cv::GaussianBlur(image.mul(w3), sum, cv::Size(), kSpread);
        cv::GaussianBlur(w3, total, cv::Size(), kSpread);
        cv::Mat mean;
        cv::divide(sum, cv::max(total, 1e-6), mean);
        return mean;
    };
    cv::Mat full;
    cv::Mat none;
    cv::Mat(viewOf(coverage, CV_8UC1) == 255).convertTo(full, CV_32F, 1.0 / 255);
    cv::Mat(viewOf(coverage, CV_8UC1) == 0).convertTo(none, CV_32F, 1.0 / 255);
    const cv::Mat strands = nearbyMean(full);
    const cv::Mat background = nearbyMean(none);

    // The colour closest to the nearby strands' that explains the photo: minimises
    // (I - a F - (1 - a) B)^2 + lambda (F - S)^2, so F = S + a (I - a S - (1 - a) B) / (a^2 +
    // lambda).
    constexpr float kLean = 0.05f;
    for (int y = 0; y < size.height(); ++y) {
        const float* as = a.ptr<float>(y);
        const cv::Vec3f* is = image.ptr<cv::Vec3f>(y);
        const cv::Vec3f* ss = strands.ptr<cv::Vec3f>(y);
        const cv::Vec3f* bs = background.ptr<cv::Vec3f>(y);
        QRgb* line = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const float k = as[x];
            if (k <= 0) {
                continue;
            }
            cv::Vec3f f = is[x];
            if (k < 1) {
                const cv::Vec3f residual = is[x] - k * ss[x] - (1 - k) * bs[x];
                f = ss[x] + residual * (k / (k * k + kLean));
            }
            auto channel = [&](int i) { return int(std::clamp(f[i] + 0.5f, 0.0f, 255.0f)); };
            line[x] = qRgb(channel(2), channel(1), channel(0));
        }
    }
    return result;
}

QImage layOver(const QImage& photo, const QImage& colour, const QImage& alpha) {
    QImage result = asRgb32(photo).copy();
    if (colour.size() != result.size() || alpha.size() != result.size()) {
        return result;
    }
    const QImage hair = asRgb32(colour);
    const QImage coverage = asGrey(alpha);
    for (int y = 0; y < result.height(); ++y) {
        QRgb* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        const QRgb* in = reinterpret_cast<const QRgb*>(hair.constScanLine(y));
        const uchar* as = coverage.constScanLine(y);
        for (int x = 0; x < result.width(); ++x) {
            const int k = as[x];
            if (k == 0) {
                continue;
            }
            auto mix = [&](int p, int h) { return (p * (255 - k) + h * k + 127) / 255; };
            out[x] = qRgb(mix(qRed(out[x]), qRed(in[x])), mix(qGreen(out[x]), qGreen(in[x])),
                          mix(qBlue(out[x]), qBlue(in[x])));
        }
    }
    return result;
}

}  // namespace crinova
