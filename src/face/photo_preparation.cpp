#include "face/photo_preparation.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

#include "platform/rounding.h"

namespace crinova {

namespace {

// A view of an RGB32 picture's pixels (B, G, R, A in memory), without a copy.
cv::Mat viewOf(const QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC4,
                   const_cast<uchar*>(picture.constBits()),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

cv::Mat viewOf(QImage& picture) {
    return cv::Mat(picture.height(), picture.width(), CV_8UC4, picture.bits(),
                   static_cast<std::size_t>(picture.bytesPerLine()));
}

QImage asRgb32(const QImage& photo) {
    return photo.format() == QImage::Format_RGB32 || photo.format() == QImage::Format_ARGB32
               ? photo
               : photo.convertToFormat(QImage::Format_RGB32);
}

QImage whitePicture(QSize size) {
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(0xffffffffu);
    return picture;
}

// How far from the original's edge the continued edge is softened fully, and how much.
constexpr double kSofteningRamp = 40.0;
constexpr double kSofteningSigma = 30.0;

const cv::Scalar kWhite(255, 255, 255, 255);

// `out` holds the original warped with its edge pixels replicated outwards, which draws streaks
// where the original does not reach; there they are softened, more the further from the edge, so
// the photo's own edge fades on instead of a flat colour or a hard wedge. A copy `scale` times
// larger is softened over distances `scale` times longer, so that it looks as the copy does; its
// blur is worked out `scale` times smaller, which a blur that wide does not tell apart.
void continueEdges(cv::Mat& out, cv::Size source, const cv::Matx23d& inverse, int scale = 1) {
    cv::Mat inside;
    cv::warpAffine(cv::Mat(source, CV_8U, cv::Scalar(255)), inside, inverse, out.size(),
                   cv::INTER_LINEAR | cv::WARP_INVERSE_MAP, cv::BORDER_CONSTANT, cv::Scalar(0));
    const cv::Mat outside = inside < 255;
    if (cv::countNonZero(outside) == 0) {
        return;
    }
    cv::Mat distance;
    cv::distanceTransform(outside, distance, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    cv::Mat soft;
    if (scale == 1) {
        cv::GaussianBlur(out, soft, cv::Size(), kSofteningSigma, kSofteningSigma,
                         cv::BORDER_REPLICATE);
    } else {
        cv::Mat small;
        cv::resize(out, small,
                   cv::Size(std::max(1, out.cols / scale), std::max(1, out.rows / scale)), 0, 0,
                   cv::INTER_AREA);
        cv::GaussianBlur(small, small, cv::Size(), kSofteningSigma, kSofteningSigma,
                         cv::BORDER_REPLICATE);
        cv::resize(small, soft, out.size(), 0, 0, cv::INTER_LINEAR);
    }
    for (int y = 0; y < out.rows; ++y) {
        const uchar* in = inside.ptr<uchar>(y);
        const float* far = distance.ptr<float>(y);
        const cv::Vec4b* blurred = soft.ptr<cv::Vec4b>(y);
        cv::Vec4b* pixel = out.ptr<cv::Vec4b>(y);
        for (int x = 0; x < out.cols; ++x) {
            if (in[x] == 255) {
                continue;
            }
            const double w = std::min(1.0, far[x] / (kSofteningRamp * scale));
            for (int c = 0; c < 3; ++c) {
                pixel[x][c] = cv::saturate_cast<uchar>(pixel[x][c] * (1 - w) + blurred[x][c] * w);
            }
        }
    }
}

PreparedPhoto scaledToFit(const QImage& photo, QSize target) {
    PreparedPhoto prepared;
    prepared.picture = whitePicture(target);
    if (photo.isNull() || target.isEmpty()) {
        return prepared;
    }
    const double k =
        std::min(target.width() / double(photo.width()), target.height() / double(photo.height()));
    const int width = std::clamp(roundHalfEven(photo.width() * k), 1, target.width());
    const int height = std::clamp(roundHalfEven(photo.height() * k), 1, target.height());
    cv::Mat out = viewOf(prepared.picture);
    cv::Mat area =
        out(cv::Rect((target.width() - width) / 2, (target.height() - height) / 2, width, height));
    cv::resize(viewOf(photo), area, area.size(), 0, 0, k < 1 ? cv::INTER_AREA : cv::INTER_LINEAR);
    // Pixel centres correspond: p = (q - corner + 0.5) * photo / area - 0.5.
    const double sx = photo.width() / double(width);
    const double sy = photo.height() / double(height);
    prepared.toOriginal = QTransform(sx, 0, 0, sy, (0.5 - (target.width() - width) / 2) * sx - 0.5,
                                     (0.5 - (target.height() - height) / 2) * sy - 0.5);
    return prepared;
}

// A crop averaged down by `k` when that reduces it (else the crop itself), and the scale it
// really got along each axis (the size is rounded to whole pixels).
struct ReducedCrop {
    cv::Mat pixels;
    double kx = 1;
    double ky = 1;
};
ReducedCrop reducedCrop(const cv::Mat& crop, double k) {
    if (k >= 1) {
        return {crop, 1, 1};
    }
    const cv::Size size(std::max(1, roundHalfEven(crop.cols * k)),
                        std::max(1, roundHalfEven(crop.rows * k)));
    cv::Mat reduced;
    cv::resize(crop, reduced, size, 0, 0, cv::INTER_AREA);
    return {reduced, size.width / double(crop.cols), size.height / double(crop.rows)};
}

}  // namespace

EyeSearch findEyesReduced(const QImage& photo, const FaceCascades& cascades) {
    const int longest = std::max(photo.width(), photo.height());
    if (photo.isNull() || longest <= kDetectionSide) {
        return findEyes(photo, cascades);
    }
    const QImage source = asRgb32(photo);
    const double f = kDetectionSide / double(longest);
    const cv::Size size(std::max(1, roundHalfEven(source.width() * f)),
                        std::max(1, roundHalfEven(source.height() * f)));
    cv::Mat reducedColour;
    cv::resize(viewOf(source), reducedColour, size, 0, 0, cv::INTER_AREA);
    QImage reduced(size.width, size.height, QImage::Format_Grayscale8);
    cv::Mat gray(reduced.height(), reduced.width(), CV_8UC1, reduced.bits(),
                 static_cast<std::size_t>(reduced.bytesPerLine()));
    cv::cvtColor(reducedColour, gray, cv::COLOR_BGRA2GRAY);

    EyeSearch search = findEyes(reduced, cascades);
    const double fx = size.width / double(source.width());
    const double fy = size.height / double(source.height());
    // Pixel centres correspond: (p + 0.5) / f - 0.5.
    auto back = [&](const QPointF& p) {
        return QPointF((p.x() + 0.5) / fx - 0.5, (p.y() + 0.5) / fy - 0.5);
    };
    if (search.eyes) {
        search.eyes = EyePair{back(search.eyes->left), back(search.eyes->right)};
    }
    if (!search.face.isNull()) {
        search.face = QRect(
            roundHalfEven(search.face.x() / fx), roundHalfEven(search.face.y() / fy),
            roundHalfEven(search.face.width() / fx), roundHalfEven(search.face.height() / fy));
    }
    return search;
}

PreparedPhoto preparePhoto(const QImage& photo, const std::optional<EyePair>& model, QSize target,
                           const FaceCascades& cascades) {
    const QImage source = asRgb32(photo);
    const EyeSearch search = model ? findEyesReduced(source, cascades) : EyeSearch{};
    if (!search.eyes || target.isEmpty()) {
        return scaledToFit(source, target);
    }
    return preparePhotoAt(source, *search.eyes, *model, target);
}

PreparedPhoto preparePhotoAt(const QImage& photo, const EyePair& client, const EyePair& model,
                             QSize target) {
    const QImage source = asRgb32(photo);
    if (target.isEmpty()) {
        return scaledToFit(source, target);
    }
    const QPointF clientMid = (client.left + client.right) / 2.0;
    const QPointF modelMid = (model.left + model.right) / 2.0;
    const QPointF clientLine = client.right - client.left;
    const QPointF modelLine = model.right - model.left;
    const double clientDistance = std::hypot(clientLine.x(), clientLine.y());
    const double modelDistance = std::hypot(modelLine.x(), modelLine.y());
    if (!(clientDistance > 0) || !(modelDistance > 0)) {
        return scaledToFit(source, target);
    }
    const double k = modelDistance / clientDistance;
    const double turn =
        std::atan2(modelLine.y(), modelLine.x()) - std::atan2(clientLine.y(), clientLine.x());

    // From a pixel q of the copy back to the original: p = Mc + R(-turn) (q - Mm) / k.
    const double c = std::cos(turn) / k;
    const double s = std::sin(turn) / k;
    auto toSource = [&](double x, double y) {
        const double dx = x - modelMid.x();
        const double dy = y - modelMid.y();
        return QPointF(clientMid.x() + c * dx + s * dy, clientMid.y() - s * dx + c * dy);
    };

    // Only the part of the original that the copy shows is read, scaled down first by area
    // averaging (a 25-fold reduction must not alias), then turned and placed.
    double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
    for (const QPointF& corner :
         {toSource(-1, -1), toSource(target.width(), -1), toSource(-1, target.height()),
          toSource(target.width(), target.height())}) {
        left = std::min(left, corner.x());
        top = std::min(top, corner.y());
        right = std::max(right, corner.x());
        bottom = std::max(bottom, corner.y());
    }
    const int x0 = std::clamp(int(std::floor(left)) - 2, 0, source.width());
    const int y0 = std::clamp(int(std::floor(top)) - 2, 0, source.height());
    const int x1 = std::clamp(int(std::ceil(right)) + 3, 0, source.width());
    const int y1 = std::clamp(int(std::ceil(bottom)) + 3, 0, source.height());

    PreparedPhoto prepared;
    prepared.faceFound = true;
    prepared.eyes = client;
    prepared.picture = whitePicture(target);
    const QPointF o = toSource(0, 0);
    const QPointF ex = toSource(1, 0) - o;
    const QPointF ey = toSource(0, 1) - o;
    prepared.toOriginal = QTransform(ex.x(), ex.y(), ey.x(), ey.y(), o.x(), o.y());
    if (x1 <= x0 || y1 <= y0) {
        return prepared;
    }
    const cv::Mat crop = viewOf(source)(cv::Rect(x0, y0, x1 - x0, y1 - y0));
    const auto [reduced, kx, ky] = reducedCrop(crop, k);
    // q -> p (original) -> r = (p - crop origin + 0.5) * k - 0.5 in the reduced crop.
    const QPointF origin = toSource(0, 0);
    cv::Matx23d inverse(c * kx, s * kx, (origin.x() - x0 + 0.5) * kx - 0.5,  //
                        -s * ky, c * ky, (origin.y() - y0 + 0.5) * ky - 0.5);
    cv::Mat out = viewOf(prepared.picture);
    cv::warpAffine(reduced, out, inverse, out.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
    continueEdges(out, reduced.size(), inverse);
    return prepared;
}

QTransform eyeAlignment(const EyePair& client, const EyePair& model) {
    const QPointF clientLine = client.right - client.left;
    const QPointF modelLine = model.right - model.left;
    const double clientDistance = std::hypot(clientLine.x(), clientLine.y());
    const double modelDistance = std::hypot(modelLine.x(), modelLine.y());
    if (!(clientDistance > 0) || !(modelDistance > 0)) {
        return {};
    }
    const double k = modelDistance / clientDistance;
    const double turn =
        std::atan2(modelLine.y(), modelLine.x()) - std::atan2(clientLine.y(), clientLine.x());
    const QPointF clientMid = (client.left + client.right) / 2.0;
    const QPointF modelMid = (model.left + model.right) / 2.0;
    // q = Mm + k R(turn) (p - Mc), as the copy's inverse mapping undoes.
    const double c = std::cos(turn) * k;
    const double s = std::sin(turn) * k;
    return QTransform(c, s, -s, c, modelMid.x() - (c * clientMid.x() - s * clientMid.y()),
                      modelMid.y() - (s * clientMid.x() + c * clientMid.y()));
}

QPointF fittedToPhoto(const QPointF& point, QSize photo, QSize target) {
    if (photo.isEmpty() || target.isEmpty()) {
        return point;
    }
    // The placement scaledToFit uses; pixel centres correspond.
    const double k =
        std::min(target.width() / double(photo.width()), target.height() / double(photo.height()));
    const int width = std::clamp(roundHalfEven(photo.width() * k), 1, target.width());
    const int height = std::clamp(roundHalfEven(photo.height() * k), 1, target.height());
    const double x0 = (target.width() - width) / 2;
    const double y0 = (target.height() - height) / 2;
    return QPointF((point.x() - x0 + 0.5) * photo.width() / double(width) - 0.5,
                   (point.y() - y0 + 0.5) * photo.height() / double(height) - 0.5);
}

QImage preparePhotoLarger(const QImage& original, const PreparedPhoto& prepared, int factor) {
    const QSize target = prepared.picture.size() * factor;
    QImage large = whitePicture(target);
    if (original.isNull() || target.isEmpty() || factor < 1) {
        return large;
    }
    const QImage source = asRgb32(original);
    // Pixel Q of the large copy is pixel (Q + 0.5) / factor - 0.5 of the copy.
    const QTransform toCopy(1.0 / factor, 0, 0, 1.0 / factor, 0.5 / factor - 0.5,
                            0.5 / factor - 0.5);
    const QTransform map = toCopy * prepared.toOriginal;
    const QRectF reach = map.mapRect(QRectF(-1, -1, target.width() + 1, target.height() + 1));
    const int x0 = std::clamp(int(std::floor(reach.left())) - 2, 0, source.width());
    const int y0 = std::clamp(int(std::floor(reach.top())) - 2, 0, source.height());
    const int x1 = std::clamp(int(std::ceil(reach.right())) + 3, 0, source.width());
    const int y1 = std::clamp(int(std::ceil(reach.bottom())) + 3, 0, source.height());
    if (x1 <= x0 || y1 <= y0) {
        return large;
    }
    // Original pixels per large pixel: a reduction is averaged first, as the copy's was.
    const double k = 1.0 / std::sqrt(std::abs(map.determinant()));
    const cv::Mat crop = viewOf(source)(cv::Rect(x0, y0, x1 - x0, y1 - y0));
    const auto [reduced, kx, ky] = reducedCrop(crop, k);
    // Q -> p = map(Q) -> r = (p - crop origin + 0.5) * k - 0.5 in the reduced crop.
    cv::Matx23d inverse(map.m11() * kx, map.m21() * kx, (map.dx() - x0 + 0.5) * kx - 0.5,
                        map.m12() * ky, map.m22() * ky, (map.dy() - y0 + 0.5) * ky - 0.5);
    cv::Mat out = viewOf(large);
    if (!prepared.faceFound) {
        cv::warpAffine(reduced, out, inverse, out.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                       cv::BORDER_CONSTANT, kWhite);
        return large;
    }
    cv::warpAffine(reduced, out, inverse, out.size(), cv::INTER_LINEAR | cv::WARP_INVERSE_MAP,
                   cv::BORDER_REPLICATE);
    continueEdges(out, reduced.size(), inverse, factor);
    return large;
}

}  // namespace crinova
