#include "face/eye_finder.h"

#include <QFileInfo>

#include <opencv2/core.hpp>
#include <opencv2/imgproc.hpp>
#include <opencv2/objdetect.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <vector>

namespace crinova {

struct FaceCascades::Detectors {
    cv::CascadeClassifier face;
    cv::CascadeClassifier eye;
};

FaceCascades::FaceCascades() : detectors_(std::make_unique<Detectors>()) {}
FaceCascades::~FaceCascades() = default;

bool FaceCascades::load(const QString& folder, QString* missingFile) {
    missing_.clear();
    for (const auto& [file, classifier] :
         {std::pair{kFaceCascadeFile, &detectors_->face}, {kEyeCascadeFile, &detectors_->eye}}) {
        const QString path = folder + QLatin1Char('/') + file;
        // OpenCV prints its own complaint for a missing file; asking first keeps the log quiet.
        bool read = false;
        try {
            read = QFileInfo(path).isFile() && classifier->load(path.toStdString());
        } catch (const cv::Exception&) {
            read = false;  // not a cascade at all: as good as missing
        }
        if (!read) {
            missing_ = path;
            *classifier = cv::CascadeClassifier();
            break;
        }
    }
    if (missingFile) {
        *missingFile = missing_;
    }
    return missing_.isEmpty();
}

bool FaceCascades::loaded() const {
    return !detectors_->face.empty() && !detectors_->eye.empty();
}

FaceCascades& sharedCascades() {
    static FaceCascades cascades;
    static const bool attempted = (cascades.load(kHaarCascadeFolder), true);
    (void)attempted;
    return cascades;
}

namespace {

// How far a tilted picture is turned back when no upright face is found, in degrees.
constexpr double kTiltRetry = 15.0;

QRect toQRect(const cv::Rect& r) {
    return {r.x, r.y, r.width, r.height};
}

// The darkest spot of an eye box: the pupil and iris, below the brow and inside the lids. The box
// is smoothed first, at about the iris's scale, so a single dark pixel of a lash does not win; the
// answer is the darkness-weighted centre of the spot around the minimum.
QPointF darkestSpot(const cv::Mat& gray, const cv::Rect& box) {
    const int left = box.x + box.width * 15 / 100;
    const int top = box.y + box.height * 25 / 100;
    const int right = box.x + box.width * 85 / 100;
    const int bottom = box.y + box.height * 85 / 100;
    const cv::Rect inner(left, top, std::max(1, right - left), std::max(1, bottom - top));
    cv::Mat smooth;
    const double sigma = std::max(1.0, box.width / 25.0);
    cv::GaussianBlur(gray(inner), smooth, cv::Size(), sigma);
    double darkest = 0;
    double brightest = 0;
    cv::Point at;
    cv::minMaxLoc(smooth, &darkest, &brightest, &at);
    const double threshold = darkest + 0.15 * (brightest - darkest);
    const int radius = std::max(2, box.width / 14);
    double sum = 0;
    double sx = 0;
    double sy = 0;
    for (int y = std::max(0, at.y - radius); y <= std::min(smooth.rows - 1, at.y + radius); ++y) {
        const std::uint8_t* row = smooth.ptr<std::uint8_t>(y);
        for (int x = std::max(0, at.x - radius); x <= std::min(smooth.cols - 1, at.x + radius);
             ++x) {
            const double below = threshold - row[x];
            const double weight = below * below;  // the pupil, darkest, counts most
            if (below > 0) {
                sum += weight;
                sx += weight * x;
                sy += weight * y;
            }
        }
    }
    const QPointF local = sum > 0 ? QPointF(sx / sum, sy / sum) : QPointF(at.x, at.y);
    return local + QPointF(inner.x, inner.y);
}

// The widest pair of eyes in the upper part of `face`, or nothing.
std::optional<EyePair> eyesInFace(const cv::Mat& gray, const cv::Rect& face,
                                  const FaceCascades& cascades) {
    // The upper half of the face, a little more so an eye box that reaches the middle is whole.
    const cv::Rect upper(face.x, face.y, face.width, face.height * 6 / 10);
    std::vector<cv::Rect> candidates;
    cv::Mat upperEqualised;
    cv::equalizeHist(gray(upper), upperEqualised);
    const int smallestEye = std::max(12, face.width / 9);
    cascades.detectors().eye.detectMultiScale(
        upperEqualised, candidates, 1.1, 3, cv::CASCADE_SCALE_IMAGE,
        cv::Size(smallestEye, smallestEye), cv::Size(face.width / 2, face.width / 2));
    // The detector's threads hand back candidates in any order; a fixed order keeps the choice
    // among equally wide pairs the same from run to run.
    std::sort(candidates.begin(), candidates.end(), [](const cv::Rect& a, const cv::Rect& b) {
        return std::tie(a.x, a.y, a.width, a.height) < std::tie(b.x, b.y, b.width, b.height);
    });
    const double maxSlope = std::tan(30.0 * 3.14159265358979 / 180.0);
    double widest = -1;
    cv::Rect first;
    cv::Rect second;
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        for (std::size_t j = i + 1; j < candidates.size(); ++j) {
            const cv::Rect& a = candidates[i];
            const cv::Rect& b = candidates[j];
            const double dx = std::abs((a.x + a.width / 2.0) - (b.x + b.width / 2.0));
            const double dy = std::abs((a.y + a.height / 2.0) - (b.y + b.height / 2.0));
            const bool sideBySide = dx >= 0.6 * (a.width + b.width) / 2.0 &&
                                    dx >= 0.2 * face.width && dx <= 0.8 * face.width;
            const bool similarSize = std::max(a.width, b.width) <= 2 * std::min(a.width, b.width);
            if (!sideBySide || !similarSize || dy > maxSlope * dx) {
                continue;
            }
            const double distance = std::hypot(dx, dy);
            if (distance > widest) {
                widest = distance;
                first = a;
                second = b;
            }
        }
    }
    if (widest < 0) {
        return std::nullopt;
    }
    const cv::Point offset(upper.x, upper.y);
    QPointF a = darkestSpot(gray, first + offset);
    QPointF b = darkestSpot(gray, second + offset);
    if (a.x() > b.x()) {
        std::swap(a, b);
    }
    return EyePair{a, b};
}

// One search on an upright picture: the largest face with a pair of eyes in its upper part (a
// larger false face, a patterned sleeve or a shadow, does not hide the real one), the widest pair.
EyeSearch searchUpright(const cv::Mat& gray, const FaceCascades& cascades, const FaceScan& scan) {
    EyeSearch search;
    std::vector<cv::Rect> faces;
    const int smallestFace = scan.smallestFace > 0
                                 ? scan.smallestFace
                                 : std::max(24, std::min(gray.cols, gray.rows) / 10);
    const cv::Size smallest(smallestFace, smallestFace);
    cascades.detectors().face.detectMultiScale(gray, faces, scan.step, 4, cv::CASCADE_SCALE_IMAGE,
                                               smallest);
    if (faces.empty()) {
        // A dark or flat photo: stretched to the whole range, a face may show. (Not always
        // first: on a photo that is mostly plain backdrop, stretching washes the face out.)
        cv::Mat equalised;
        cv::equalizeHist(gray, equalised);
        cascades.detectors().face.detectMultiScale(equalised, faces, scan.step, 4,
                                                   cv::CASCADE_SCALE_IMAGE, smallest);
    }
    if (faces.empty()) {
        return search;
    }
    // Largest first; among equals a fixed order, whatever order the detector's threads gave.
    std::sort(faces.begin(), faces.end(), [](const cv::Rect& a, const cv::Rect& b) {
        return std::tuple(-a.area(), a.x, a.y) < std::tuple(-b.area(), b.x, b.y);
    });
    search.face = toQRect(faces.front());
    search.fault = EyeFault::NoEyes;
    for (const cv::Rect& face : faces) {
        if (const std::optional<EyePair> eyes = eyesInFace(gray, face, cascades)) {
            search.face = toQRect(face);
            search.eyes = eyes;
            search.fault = EyeFault::None;
            break;
        }
    }
    return search;
}

// The search on the photo as it stands; `gray` keeps the grey copy searched.
EyeSearch searchPhoto(const QImage& photo, const FaceCascades& cascades, const FaceScan& scan,
                      QImage* gray) {
    EyeSearch search;
    if (!cascades.loaded()) {
        search.fault = EyeFault::CascadeMissing;
        return search;
    }
    if (photo.isNull() || photo.width() < 24 || photo.height() < 24) {
        return search;
    }
    *gray = photo.convertToFormat(QImage::Format_Grayscale8);
    const cv::Mat view(gray->height(), gray->width(), CV_8UC1, gray->bits(),
                       static_cast<std::size_t>(gray->bytesPerLine()));
    return searchUpright(view, cascades, scan);
}

}  // namespace

EyeSearch findEyesUpright(const QImage& photo, const FaceCascades& cascades, FaceScan scan) {
    QImage gray;
    return searchPhoto(photo, cascades, scan, &gray);
}

EyeSearch findEyes(const QImage& photo, const FaceCascades& cascades) {
    QImage grayImage;
    EyeSearch search = searchPhoto(photo, cascades, FaceScan(), &grayImage);
    if (search.fault != EyeFault::NoFace || grayImage.isNull()) {
        return search;
    }
    const cv::Mat gray(grayImage.height(), grayImage.width(), CV_8UC1,
                       const_cast<uchar*>(grayImage.constBits()),
                       static_cast<std::size_t>(grayImage.bytesPerLine()));
    // The face cascade knows upright faces, give or take ten degrees: a head tilted further is
    // looked for again on the picture turned back both ways, and the eyes are turned with it.
    const cv::Point2f centre(gray.cols / 2.0f, gray.rows / 2.0f);
    for (const double degrees : {kTiltRetry, -kTiltRetry}) {
        const cv::Mat turn = cv::getRotationMatrix2D(centre, degrees, 1.0);
        cv::Mat turnedGray;
        cv::warpAffine(gray, turnedGray, turn, gray.size(), cv::INTER_LINEAR, cv::BORDER_REPLICATE);
        EyeSearch turned = searchUpright(turnedGray, cascades, FaceScan());
        if (turned.fault == EyeFault::NoFace) {
            continue;
        }
        cv::Mat back;
        cv::invertAffineTransform(turn, back);
        auto untilt = [&](const QPointF& p) {
            return QPointF(back.at<double>(0, 0) * p.x() + back.at<double>(0, 1) * p.y() +
                               back.at<double>(0, 2),
                           back.at<double>(1, 0) * p.x() + back.at<double>(1, 1) * p.y() +
                               back.at<double>(1, 2));
        };
        if (turned.eyes) {
            EyePair eyes{untilt(turned.eyes->left), untilt(turned.eyes->right)};
            if (eyes.left.x() > eyes.right.x()) {
                std::swap(eyes.left, eyes.right);
            }
            turned.eyes = eyes;
        }
        // The face's box, turned back: the box around its centre, of the same size.
        const QPointF middle = untilt(QPointF(turned.face.center()));
        turned.face.moveCenter(middle.toPoint());
        return turned;
    }
    return search;
}

}  // namespace crinova
