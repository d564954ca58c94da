#include "segmentation/own_hair.h"

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>

#include <algorithm>
#include <cmath>

#include "segmentation/picture_views.h"

namespace crinova {
namespace {

// Hair-coloured pixels this close to the selection join the region.
constexpr double kHairReach = 15.0;
// The region reaches this far beyond the hair.
constexpr int kGrowth = 4;
// The backdrop and the skin that a fill learns from lie this close to what it fills.
constexpr double kKnownReach = 45.0;
// Squared Mahalanobis distance to the hair's colours within which a pixel is hair-coloured.
constexpr double kHairColourReach = 9.0;
// Below this many eye distances under the eye line lies the body, never backdrop.
constexpr double kChin = 1.6;
// The skin a forehead continues lies above this many eye distances under the eye line.
constexpr double kUpperFace = 0.0;
// The texture's noise starts from the same seed every time.
constexpr std::uint64_t kTextureSeed = 0x9E3779B97F4A7C15ULL;
// The fill fades into the photo over the region's outermost pixels.
constexpr double kFeather = 2.5;

cv::Mat greyOf(const QImage& picture) {
    const QImage grey = picture.format() == QImage::Format_Grayscale8
                            ? picture
                            : picture.convertToFormat(QImage::Format_Grayscale8);
    return viewOf(grey, CV_8UC1) != 0;
}

cv::Mat bgrOf(const QImage& frame) {
    const QImage rgb =
        frame.format() == QImage::Format_RGB32 || frame.format() == QImage::Format_ARGB32
            ? frame
            : frame.convertToFormat(QImage::Format_RGB32);
    cv::Mat bgr;
    cv::cvtColor(viewOf(rgb, CV_8UC4), bgr, cv::COLOR_BGRA2BGR);
    return bgr;
}

cv::Mat labOf(const cv::Mat& bgr) {
    cv::Mat scaled;
    bgr.convertTo(scaled, CV_32FC3, 1.0 / 255);
    cv::Mat lab;
    cv::cvtColor(scaled, lab, cv::COLOR_BGR2Lab);
    return lab;
}

cv::Mat disc(int radius) {
    return cv::getStructuringElement(cv::MORPH_ELLIPSE, cv::Size(2 * radius + 1, 2 * radius + 1));
}

// Distance of every pixel to the nearest pixel of `mask` (0 on it).
cv::Mat distanceTo(const cv::Mat& mask) {
    cv::Mat distance;
    cv::distanceTransform(mask == 0, distance, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    return distance;
}

// The face's measures: the eye distance, the eye line's middle and its direction.
struct Frame {
    double d = 0;
    cv::Point2d mid;
    cv::Point2d along{1, 0};  // unit vector along the eye line
    cv::Point2d down{0, 1};   // unit vector across it, downwards

    explicit Frame(const EyePair& eyes) {
        const QPointF line = eyes.right - eyes.left;
        d = std::hypot(line.x(), line.y());
        mid =
            cv::Point2d((eyes.left.x() + eyes.right.x()) / 2, (eyes.left.y() + eyes.right.y()) / 2);
        if (d > 0) {
            along = cv::Point2d(line.x() / d, line.y() / d);
            down = cv::Point2d(-along.y, along.x);
        }
    }
    // How far below the eye line a point lies, in eye distances.
    double below(int x, int y) const { return ((x - mid.x) * down.x + (y - mid.y) * down.y) / d; }
};

// Where the photo covers the frame (255).
cv::Mat photoCover(const AlignedPhoto& photo) {
    const cv::Size size(photo.frame.width(), photo.frame.height());
    if (photo.photoArea.size() < 3) {
        return cv::Mat(size, CV_8UC1, cv::Scalar(255));
    }
    constexpr int kShift = 4;
    std::vector<cv::Point> corners;
    for (const QPointF& p : photo.photoArea) {
        corners.emplace_back(int(std::lround(p.x() * (1 << kShift))),
                             int(std::lround(p.y() * (1 << kShift))));
    }
    cv::Mat inside = cv::Mat::zeros(size, CV_8UC1);
    cv::fillPoly(inside, std::vector<std::vector<cv::Point>>{corners}, cv::Scalar(255), cv::LINE_8,
                 kShift);
    return inside;
}

cv::Mat ovalMask(const FaceOval& oval, cv::Size size) {
    cv::Mat mask(size, CV_8UC1);
    for (int y = 0; y < size.height; ++y) {
        uchar* row = mask.ptr<uchar>(y);
        for (int x = 0; x < size.width; ++x) {
            row[x] = oval.coverage(x, y) >= 0.5 ? 255 : 0;
        }
    }
    return mask;
}

// Pixels whose colour lies within the hair's: a Gaussian model of the hair's L*a*b*.
cv::Mat hairColoured(const cv::Mat& lab, const cv::Mat& hair) {
    cv::Mat core;
    cv::erode(hair, core, disc(2));
    if (cv::countNonZero(core) < 30) {
        core = hair;
    }
    cv::Mat samples;
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3f* row = lab.ptr<cv::Vec3f>(y);
        const uchar* in = core.ptr<uchar>(y);
        for (int x = 0; x < lab.cols; ++x) {
            if (in[x]) {
                samples.push_back(cv::Mat(cv::Matx13f(row[x][0], row[x][1], row[x][2])));
            }
        }
    }
    cv::Mat coloured = cv::Mat::zeros(lab.size(), CV_8UC1);
    if (samples.rows < 10) {
        return coloured;
    }
    cv::Mat covariance;
    cv::Mat mean;
    cv::calcCovarMatrix(samples, covariance, mean,
                        cv::COVAR_NORMAL | cv::COVAR_ROWS | cv::COVAR_SCALE, CV_64F);
    covariance += cv::Mat::eye(3, 3, CV_64F) * 1.0;
    const cv::Matx33d inverse = cv::Matx33d(cv::Mat(covariance.inv()));
    const cv::Vec3d centre(mean.at<double>(0), mean.at<double>(1), mean.at<double>(2));
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3f* row = lab.ptr<cv::Vec3f>(y);
        uchar* out = coloured.ptr<uchar>(y);
        for (int x = 0; x < lab.cols; ++x) {
            const cv::Vec3d v = cv::Vec3d(row[x][0], row[x][1], row[x][2]) - centre;
            out[x] = v.dot(inverse * v) < kHairColourReach ? 255 : 0;
        }
    }
    return coloured;
}

// Fills what `weight` (CV_32F, 0 unknown ... 1 known) leaves unknown from the known `values`
// (CV_32FC3), smoothly, from the edge of the known inwards: the known values are averaged down a
// pyramid until every pixel has some, then brought back up, each level keeping what it knows and
// taking the rest from the level above.
cv::Mat pushPull(const cv::Mat& values, const cv::Mat& weight) {
    std::vector<cv::Mat> sums;
    std::vector<cv::Mat> weights;
    cv::Mat weight3;
    cv::merge(std::vector<cv::Mat>{weight, weight, weight}, weight3);
    sums.push_back(values.mul(weight3));
    weights.push_back(weight.clone());
    while (sums.back().cols > 2 && sums.back().rows > 2) {
        double least = 0;
        cv::minMaxLoc(weights.back(), &least);
        if (least > 1e-4) {
            break;
        }
        cv::Mat sum;
        cv::Mat w;
        cv::pyrDown(sums.back(), sum);
        cv::pyrDown(weights.back(), w);
        sums.push_back(sum);
        weights.push_back(w);
    }
    const auto level = [](const cv::Mat& sum, const cv::Mat& w, const cv::Mat& above) {
        cv::Mat result(sum.size(), CV_32FC3);
        for (int y = 0; y < sum.rows; ++y) {
            const cv::Vec3f* s = sum.ptr<cv::Vec3f>(y);
            const float* k = w.ptr<float>(y);
            const cv::Vec3f* up = above.empty() ? nullptr : above.ptr<cv::Vec3f>(y);
            cv::Vec3f* out = result.ptr<cv::Vec3f>(y);
            for (int x = 0; x < sum.cols; ++x) {
                const cv::Vec3f known = k[x] > 1e-6f ? s[x] / k[x] : cv::Vec3f(0, 0, 0);
                const float share = up ? std::min(1.0f, 2.0f * k[x]) : 1.0f;
                out[x] = up ? known * share + up[x] * (1 - share) : known;
            }
        }
        return result;
    };
    cv::Mat result = level(sums.back(), weights.back(), cv::Mat());
    for (int i = int(sums.size()) - 2; i >= 0; --i) {
        cv::Mat up;
        cv::pyrUp(result, up, sums[std::size_t(i)].size());
        result = level(sums[std::size_t(i)], weights[std::size_t(i)], up);
    }
    // The pyramid leaves a blocky trace; a few sweeps of over-relaxation towards the membrane
    // (each unknown pixel the mean of its neighbours) smooth it, the known pixels held.
    constexpr int kSweeps = 40;
    constexpr float kOverRelaxation = 1.8f;
    for (int sweep = 0; sweep < kSweeps; ++sweep) {
        for (int y = 1; y + 1 < result.rows; ++y) {
            const float* k = weight.ptr<float>(y);
            cv::Vec3f* row = result.ptr<cv::Vec3f>(y);
            const cv::Vec3f* above = result.ptr<cv::Vec3f>(y - 1);
            const cv::Vec3f* below = result.ptr<cv::Vec3f>(y + 1);
            for (int x = 1; x + 1 < result.cols; ++x) {
                if (k[x] < 0.5f) {
                    const cv::Vec3f mean = (row[x - 1] + row[x + 1] + above[x] + below[x]) * 0.25f;
                    row[x] += (mean - row[x]) * kOverRelaxation;
                }
            }
        }
    }
    return result;
}

// The mean of `lab` over `mask`'s neighbourhood (a Gaussian of `sigma`), where the mask is.
cv::Mat maskedBlur(const cv::Mat& lab, const cv::Mat& known, double sigma) {
    cv::Mat weight;
    known.convertTo(weight, CV_32F, 1.0 / 255);
    cv::Mat weight3;
    cv::merge(std::vector<cv::Mat>{weight, weight, weight}, weight3);
    cv::Mat sum;
    cv::Mat total;
    cv::GaussianBlur(lab.mul(weight3), sum, cv::Size(), sigma);
    cv::GaussianBlur(weight, total, cv::Size(), sigma);
    cv::Mat result(lab.size(), CV_32FC3, cv::Scalar(0, 0, 0));
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3f* s = sum.ptr<cv::Vec3f>(y);
        const float* t = total.ptr<float>(y);
        cv::Vec3f* out = result.ptr<cv::Vec3f>(y);
        for (int x = 0; x < lab.cols; ++x) {
            if (t[x] > 1e-6f) {
                out[x] = s[x] / t[x];
            }
        }
    }
    return result;
}

// A plane a + b x + c y per channel, fitted to `lab` over `known` by least squares.
cv::Mat planarTrend(const cv::Mat& lab, const cv::Mat& known) {
    cv::Matx33d normal = cv::Matx33d::zeros();
    cv::Matx33d right = cv::Matx33d::zeros();  // one column per channel
    // Coordinates about the middle, in hundreds of pixels, keep the equations well scaled.
    const double cx = lab.cols / 2.0;
    const double cy = lab.rows / 2.0;
    int count = 0;
    for (int y = 0; y < lab.rows; ++y) {
        const cv::Vec3f* row = lab.ptr<cv::Vec3f>(y);
        const uchar* in = known.ptr<uchar>(y);
        for (int x = 0; x < lab.cols; ++x) {
            if (!in[x]) {
                continue;
            }
            const cv::Vec3d p(1, (x - cx) / 100, (y - cy) / 100);
            normal += p * p.t();
            for (int c = 0; c < 3; ++c) {
                for (int k = 0; k < 3; ++k) {
                    right(k, c) += p[k] * row[x][c];
                }
            }
            ++count;
        }
    }
    cv::Mat plane(lab.size(), CV_32FC3, cv::Scalar(0, 0, 0));
    if (count == 0) {
        return plane;
    }
    // A few pixels, or all in a line, give a flat plane: the slopes are held back gently.
    normal(1, 1) += 1;
    normal(2, 2) += 1;
    cv::Matx33d coefficients;
    cv::solve(cv::Mat(normal), cv::Mat(right), cv::Mat(coefficients), cv::DECOMP_SVD);
    for (int y = 0; y < lab.rows; ++y) {
        cv::Vec3f* out = plane.ptr<cv::Vec3f>(y);
        for (int x = 0; x < lab.cols; ++x) {
            const double u = (x - cx) / 100;
            const double v = (y - cy) / 100;
            for (int c = 0; c < 3; ++c) {
                out[x][c] =
                    float(coefficients(0, c) + coefficients(1, c) * u + coefficients(2, c) * v);
            }
        }
    }
    return plane;
}

// The spread of values that are mostly alike with a few far out (edges that crept in): the median
// absolute value, scaled so that a normal distribution's spread comes out.
double robustSpread(std::vector<float>& values) {
    if (values.empty()) {
        return 0;
    }
    for (float& v : values) {
        v = std::abs(v);
    }
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    return 1.4826 * values[values.size() / 2];
}

// Fine texture like that of `lab` over `known`, for the whole frame: white noise split into the
// same bands as the photo's lightness (the differences between Gaussian blurs of 0, 1, 2 and 4
// pixels; the first `bands` of them), each scaled to the band's spread over the known pixels; the
// colour follows the lightness as it does in the known pixels (lighter leaves are yellower).
cv::Mat matchedTexture(const cv::Mat& lab, const cv::Mat& known, const cv::Mat& noise, int bands) {
    cv::Mat texture(lab.size(), CV_32FC3, cv::Scalar(0, 0, 0));
    if (cv::countNonZero(known) < 20) {
        return texture;
    }
    const double sigmas[] = {0, 1, 2, 4};
    const auto blurred = [&](const cv::Mat& picture, double sigma) {
        if (sigma == 0) {
            return picture.clone();
        }
        cv::Mat out;
        cv::GaussianBlur(picture, out, cv::Size(), sigma, sigma, cv::BORDER_REFLECT);
        return out;
    };
    for (int band = 0; band < bands; ++band) {
        const cv::Mat photoBand = blurred(lab, sigmas[band]) - blurred(lab, sigmas[band + 1]);
        const cv::Mat noiseBand = blurred(noise, sigmas[band]) - blurred(noise, sigmas[band + 1]);
        // The spread of the band, and how the colour moves with the lightness in it.
        std::vector<float> lightness;
        double ll = 0, la = 0, lb = 0;
        for (int y = 0; y < lab.rows; ++y) {
            const cv::Vec3f* row = photoBand.ptr<cv::Vec3f>(y);
            const uchar* in = known.ptr<uchar>(y);
            for (int x = 0; x < lab.cols; ++x) {
                if (in[x]) {
                    lightness.push_back(row[x][0]);
                    ll += double(row[x][0]) * row[x][0];
                    la += double(row[x][0]) * row[x][1];
                    lb += double(row[x][0]) * row[x][2];
                }
            }
        }
        std::vector<float> noiseValues(noiseBand.begin<float>(), noiseBand.end<float>());
        const double noiseSpread = robustSpread(noiseValues);
        const double spread = robustSpread(lightness);
        if (ll <= 0 || noiseSpread <= 0) {
            continue;
        }
        const double gain = spread / noiseSpread;
        const double toA = la / ll;
        const double toB = lb / ll;
        for (int y = 0; y < lab.rows; ++y) {
            const float* n = noiseBand.ptr<float>(y);
            cv::Vec3f* out = texture.ptr<cv::Vec3f>(y);
            for (int x = 0; x < lab.cols; ++x) {
                const double l = gain * n[x];
                out[x] += cv::Vec3f(float(l), float(l * toA), float(l * toB));
            }
        }
    }
    return texture;
}

// The known pixels that lie within kKnownReach of `target`; when there are too few, all known.
cv::Mat near(const cv::Mat& known, const cv::Mat& target) {
    const cv::Mat close = distanceTo(target) <= kKnownReach;
    cv::Mat result = known & close;
    return cv::countNonZero(result) >= 20 ? result : known;
}

}  // namespace

double FaceOval::coverage(double x, double y) const {
    if (!(halfWidth > 0) || !(halfHeight > 0)) {
        return 0;
    }
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double dx = x - centre.x();
    const double dy = y - centre.y();
    const double u = (c * dx + s * dy) / halfWidth;
    const double v = (-s * dx + c * dy) / halfHeight;
    const double rho = std::hypot(u, v);
    // The distance to the outline, in pixels, along the way out from the centre.
    const double outside = (rho - 1) * (rho > 0 ? std::hypot(u * halfWidth, v * halfHeight) / rho
                                                : std::min(halfWidth, halfHeight));
    return std::clamp(0.5 - outside, 0.0, 1.0);
}

FaceOval faceOval(const EyePair& eyes) {
    const Frame f(eyes);
    FaceOval oval;
    oval.centre = QPointF(f.mid.x + 0.15 * f.d * f.down.x, f.mid.y + 0.15 * f.d * f.down.y);
    oval.halfWidth = 1.12 * f.d;
    oval.halfHeight = 1.30 * f.d;
    oval.angle = std::atan2(f.along.y, f.along.x);
    return oval;
}

bool hairToHide(const AlignedPhoto& photo, const QImage& hair) {
    const Frame f(photo.eyes);
    if (hair.isNull() || !(f.d > 0)) {
        return false;
    }
    return cv::countNonZero(greyOf(hair)) >= kLeastHair * f.d * f.d;
}

QImage ownHairRegion(const AlignedPhoto& photo, const QImage& hair) {
    const cv::Size size(photo.frame.width(), photo.frame.height());
    if (photo.frame.isNull() || hair.size() != photo.frame.size()) {
        return {};
    }
    const Frame f(photo.eyes);
    cv::Mat region = greyOf(hair);
    // Small holes closed.
    cv::morphologyEx(region, region, cv::MORPH_CLOSE, disc(2));
    const cv::Mat lab = labOf(bgrOf(photo.frame));
    const cv::Mat cover = photoCover(photo);
    if (f.d > 0 && cv::countNonZero(region) > 0) {
        // Strands the selection left out: hair-coloured, close, in the head and not skin.
        cv::Mat head = cv::Mat::zeros(size, CV_8UC1);
        cv::ellipse(
            head, cv::Point2d(f.mid.x - 0.25 * f.d * f.down.x, f.mid.y - 0.25 * f.d * f.down.y),
            cv::Size2d(2.3 * f.d, 2.7 * f.d), std::atan2(f.along.y, f.along.x) * 180 / CV_PI, 0,
            360, cv::Scalar(255), cv::FILLED);
        const cv::Mat skin = greyOf(faceSkin(photo));
        const cv::Mat close = distanceTo(region) <= kHairReach;
        region |= hairColoured(lab, region) & close & head & (skin == 0) & cover;
    }
    cv::dilate(region, region, disc(kGrowth));
    // Beyond the photo, preparation repeated the photo's edge: what repeats the region goes too.
    if (cv::countNonZero(cover == 0) > 0 && cv::countNonZero(cover) > 0) {
        // Each photo pixel has a label of its own, and each pixel beyond the photo that of the
        // photo pixel nearest to it.
        cv::Mat distance;
        cv::Mat photoLabels;
        cv::distanceTransform(cover == 0, distance, photoLabels, cv::DIST_L2, cv::DIST_MASK_5,
                              cv::DIST_LABEL_PIXEL);
        std::vector<uchar> labelled(std::size_t(size.area()) + 1, 0);
        for (int y = 0; y < size.height; ++y) {
            const uchar* in = cover.ptr<uchar>(y);
            const uchar* r = region.ptr<uchar>(y);
            const int* label = photoLabels.ptr<int>(y);
            for (int x = 0; x < size.width; ++x) {
                if (in[x] && r[x]) {
                    labelled[std::size_t(label[x])] = 1;
                }
            }
        }
        for (int y = 0; y < size.height; ++y) {
            const uchar* in = cover.ptr<uchar>(y);
            const int* label = photoLabels.ptr<int>(y);
            uchar* r = region.ptr<uchar>(y);
            for (int x = 0; x < size.width; ++x) {
                if (!in[x] && labelled[std::size_t(label[x])]) {
                    r[x] = 255;
                }
            }
        }
    }
    return greyPicture(region);
}

QImage fillOwnHair(const AlignedPhoto& photo, const QImage& regionPicture) {
    const QImage original = photo.frame.convertToFormat(QImage::Format_RGB32);
    if (original.isNull() || regionPicture.size() != original.size()) {
        return original;
    }
    const cv::Mat region = greyOf(regionPicture);
    if (cv::countNonZero(region) == 0) {
        return original;
    }
    const cv::Size size = region.size();
    const Frame f(photo.eyes);
    const cv::Mat bgr = bgrOf(original);
    const cv::Mat lab = labOf(bgr);
    const cv::Mat cover = photoCover(photo);
    cv::Mat skin = f.d > 0 ? greyOf(faceSkin(photo)) : cv::Mat::zeros(size, CV_8UC1);
    const FaceOval oval = faceOval(photo.eyes);
    const cv::Mat inOval = f.d > 0 ? ovalMask(oval, size) : cv::Mat::zeros(size, CV_8UC1);
    cv::Mat body = cv::Mat::zeros(size, CV_8UC1);
    cv::Mat upper = cv::Mat::zeros(size, CV_8UC1);
    if (f.d > 0) {
        for (int y = 0; y < size.height; ++y) {
            for (int x = 0; x < size.width; ++x) {
                const double below = f.below(x, y);
                body.at<uchar>(y, x) = below > kChin ? 255 : 0;
                upper.at<uchar>(y, x) = below < kUpperFace ? 255 : 0;
            }
        }
    }
    const cv::Mat outsideRegion = (region == 0) & cover;
    cv::Mat ovalMargin;
    cv::dilate(inOval, ovalMargin, disc(3));

    // The backdrop: known pixels near the region outside the face.
    const cv::Mat backdropPart = region & (inOval == 0);
    cv::Mat knownBackdrop = outsideRegion & (ovalMargin == 0) & (skin == 0) & (body == 0);
    if (cv::countNonZero(knownBackdrop) < 20) {
        knownBackdrop = outsideRegion & (ovalMargin == 0);
    }
    knownBackdrop = near(knownBackdrop, cv::countNonZero(backdropPart) ? backdropPart : region);
    // Hair the region left out would be carried in: the hair's own colours stay out. When they
    // take most of the backdrop, the region holds backdrop too and its colours say nothing.
    const cv::Mat hairLike = hairColoured(lab, region & cover) & knownBackdrop;
    if (cv::countNonZero(hairLike) * 2 < cv::countNonZero(knownBackdrop)) {
        knownBackdrop &= hairLike == 0;
    }

    cv::Mat noise(size, CV_32F);
    cv::RNG random(kTextureSeed);
    random.fill(noise, cv::RNG::NORMAL, 0, 1);

    const cv::Mat plane = planarTrend(lab, knownBackdrop);
    // Texture is measured away from the region, whose blur would mix hair in.
    const cv::Mat farFromRegion = distanceTo(region) > 10.0;
    cv::Mat textureKnown = knownBackdrop & farFromRegion;
    if (cv::countNonZero(textureKnown) < 20) {
        textureKnown = knownBackdrop;
    }
    cv::Mat knownWeight;
    knownBackdrop.convertTo(knownWeight, CV_32F, 1.0 / 255);
    const cv::Mat backdrop = plane +
                             pushPull(maskedBlur(lab - plane, knownBackdrop, 2.0), knownWeight) +
                             matchedTexture(lab, textureKnown, noise, 3);

    // The skin: the visible upper face near the region, continued.
    const cv::Mat skinPart = region & inOval;
    cv::Mat skinFill;
    if (cv::countNonZero(skinPart) > 0) {
        cv::Mat knownSkin = outsideRegion & inOval & skin & upper;
        if (cv::countNonZero(knownSkin) < 20) {
            knownSkin = outsideRegion & skin;
        }
        if (cv::countNonZero(knownSkin) >= 20) {
            knownSkin = near(knownSkin, skinPart);
            cv::Mat skinWeight;
            knownSkin.convertTo(skinWeight, CV_32F, 1.0 / 255);
            cv::Mat inner;
            cv::erode(knownSkin, inner, disc(2));
            skinFill =
                pushPull(maskedBlur(lab, knownSkin, 2.0), skinWeight) +
                matchedTexture(lab, cv::countNonZero(inner) >= 20 ? inner : knownSkin, noise, 1);
        }
    }

    cv::Mat filledLab = backdrop;
    if (!skinFill.empty()) {
        for (int y = 0; y < size.height; ++y) {
            const uchar* in = region.ptr<uchar>(y);
            const cv::Vec3f* s = skinFill.ptr<cv::Vec3f>(y);
            cv::Vec3f* out = filledLab.ptr<cv::Vec3f>(y);
            for (int x = 0; x < size.width; ++x) {
                if (in[x]) {
                    const float share = float(oval.coverage(x, y));
                    out[x] = s[x] * share + out[x] * (1 - share);
                }
            }
        }
    }
    cv::Mat filledBgr;
    cv::cvtColor(filledLab, filledBgr, cv::COLOR_Lab2BGR);

    // Only the region changes; its outermost pixels fade from the photo into the fill.
    cv::Mat depth;
    cv::distanceTransform(region, depth, cv::DIST_L2, cv::DIST_MASK_PRECISE);
    QImage result = original.copy();
    for (int y = 0; y < size.height; ++y) {
        const uchar* in = region.ptr<uchar>(y);
        const float* deep = depth.ptr<float>(y);
        const cv::Vec3f* fill = filledBgr.ptr<cv::Vec3f>(y);
        QRgb* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < size.width; ++x) {
            if (!in[x]) {
                continue;
            }
            const double share = std::min(1.0, deep[x] / kFeather);
            const auto channel = [&](int own, float filled) {
                return std::clamp(int(std::lround(own * (1 - share) + filled * 255 * share)), 0,
                                  255);
            };
            out[x] = qRgb(channel(qRed(out[x]), fill[x][2]), channel(qGreen(out[x]), fill[x][1]),
                          channel(qBlue(out[x]), fill[x][0]));
        }
    }
    return result;
}

void OwnHair::start(const AlignedPhoto& photo, const std::vector<Stroke>& strokes) {
    selection_.start(photo);
    for (const Stroke& stroke : strokes) {
        selection_.addStroke(stroke);
    }
    update();
}

void OwnHair::update() {
    const AlignedPhoto& photo = selection_.photo();
    const QImage hair = selection_.hardMask();
    hairFound_ = selection_.started() && hairToHide(photo, hair);
    if (!hairFound_) {
        region_ = QImage();
        hidden_ = photo.frame.convertToFormat(QImage::Format_RGB32);
        return;
    }
    region_ = ownHairRegion(photo, hair);
    // What the stylist marked "not hair" stays out, margins and hair-coloured neighbours too.
    QImage marked(region_.size(), QImage::Format_Grayscale8);
    marked.fill(uchar(PixelLabel::ProbablySelected));
    for (const Stroke& stroke : selection_.strokes()) {
        if (!stroke.selected) {
            stampStroke(marked, stroke);
        }
    }
    for (int y = 0; y < region_.height(); ++y) {
        const uchar* label = marked.constScanLine(y);
        uchar* in = region_.scanLine(y);
        for (int x = 0; x < region_.width(); ++x) {
            if (label[x] == uchar(PixelLabel::Background)) {
                in[x] = 0;
            }
        }
    }
    hidden_ = fillOwnHair(photo, region_);
}

}  // namespace crinova
